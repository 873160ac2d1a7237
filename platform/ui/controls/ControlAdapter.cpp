#include "platform/ui/controls/ControlAdapter.h"

#include "platform/ui/UiText.h"

#include <QAbstractItemView>
#include <QWidget>

namespace platform {

void ControlAdapter::SetText(std::string_view text)
{
    if (m_widget)
        m_widget->setWindowTitle(ToQt(text));
}

std::string ControlAdapter::Text() const
{
    return m_widget ? FromQt(m_widget->windowTitle()) : std::string();
}

void ControlAdapter::LimitText(int chars)
{
    // Kept for widgets that cut their text themselves (a multi-line edit).
    if (m_widget)
        m_widget->setProperty("bvLimit", chars);
}

void ControlAdapter::SetSelected(int index, bool on)
{
    if (on)
        SetSelection(index);
}

ControlAdapter& ControlAdapter::None()
{
    static ControlAdapter none(nullptr, 0);
    return none;
}

int ControlAdapter::SortedPlace(std::string_view text, int count, const std::function<QString(int)>& textAt)
{
    QString t = ToQt(text);
    int at = 0;
    while (at < count && QString::compare(textAt(at), t, Qt::CaseInsensitive) <= 0)
        ++at;
    return at;
}

void ControlAdapter::SetSelectionMode(QAbstractItemView* view, uint32_t style)
{
    view->setSelectionMode((style & CS_MULTISEL) ? QAbstractItemView::ExtendedSelection
                                                 : QAbstractItemView::SingleSelection);
}

}  // namespace platform
