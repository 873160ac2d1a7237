#include "platform/ui/controls/StaticAdapter.h"

#include "platform/ui/UiText.h"

#include <QLabel>

namespace platform {

std::unique_ptr<ControlAdapter> StaticAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* label = new QLabel(build.parent);
    if (t.style & CS_RIGHT)
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (!(t.style & CS_NOBORDER) && (t.style & CS_READONLY))
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return std::make_unique<StaticAdapter>(label, t.id);
}

StaticAdapter::StaticAdapter(QLabel* label, int id) : ControlAdapter(label, id), m_label(label) {}

void StaticAdapter::SetText(std::string_view text)
{
    m_label->setText(ToQt(text));
}

std::string StaticAdapter::Text() const
{
    return FromQt(m_label->text());
}

}  // namespace platform
