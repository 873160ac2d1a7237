#include "platform/ui/controls/DateTimeAdapter.h"

#include "platform/ui/KitWindow.h"

#include <QDateEdit>
#include <QSignalBlocker>
#include <QTimeEdit>

namespace platform {

std::unique_ptr<ControlAdapter> DateTimeAdapter::BuildDate(const ControlTemplate& t, ControlBuild& build)
{
    auto* date = new QDateEdit(build.parent);
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return std::make_unique<DateTimeAdapter>(date, t.id);
}

std::unique_ptr<ControlAdapter> DateTimeAdapter::BuildTime(const ControlTemplate& t, ControlBuild& build)
{
    auto* time = new QTimeEdit(build.parent);
    time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return std::make_unique<DateTimeAdapter>(time, t.id);
}

DateTimeAdapter::DateTimeAdapter(QDateTimeEdit* edit, int id) : ControlAdapter(edit, id), m_edit(edit) {}

void DateTimeAdapter::Wire(KitWindow& window, QObject* context)
{
    QObject::connect(m_edit, &QDateTimeEdit::dateTimeChanged, context,
                     [w = &window, id = Id()] { w->SendNotify(id, Notify::SelChange); });
}

void DateTimeAdapter::SetTime(const LocalTime& t)
{
    QSignalBlocker quiet(m_edit);
    m_edit->setDateTime(QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second)));
}

LocalTime DateTimeAdapter::Time() const
{
    QDateTime dt = m_edit->dateTime();
    LocalTime t;
    t.year = dt.date().year();
    t.month = dt.date().month();
    t.day = dt.date().day();
    t.dayOfWeek = dt.date().dayOfWeek() % 7;
    t.hour = dt.time().hour();
    t.minute = dt.time().minute();
    t.second = dt.time().second();
    return t;
}

}  // namespace platform
