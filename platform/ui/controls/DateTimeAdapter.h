#pragma once
// Date and time pickers: a LocalTime in and out; the user's change tells the
// window as a selection change.
#include "platform/ui/controls/ControlAdapter.h"

class QDateTimeEdit;

namespace platform {

class DateTimeAdapter : public ControlAdapter {
public:
    // A date picker (day.month.year, with a calendar) or a time picker.
    static std::unique_ptr<ControlAdapter> BuildDate(const ControlTemplate& t, ControlBuild& build);
    static std::unique_ptr<ControlAdapter> BuildTime(const ControlTemplate& t, ControlBuild& build);
    DateTimeAdapter(QDateTimeEdit* edit, int id);
    void Wire(KitWindow& window, QObject* context) override;
    void SetTime(const LocalTime& time) override;
    LocalTime Time() const override;

private:
    QDateTimeEdit* m_edit;
};

}  // namespace platform
