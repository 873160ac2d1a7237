#include "platform/ui/controls/GroupAdapter.h"

#include "platform/ui/UiText.h"

#include <QGridLayout>
#include <QGroupBox>

namespace platform {

std::unique_ptr<ControlAdapter> GroupAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    return std::make_unique<GroupAdapter>(new QGroupBox(build.parent), t.id);
}

GroupAdapter::GroupAdapter(QGroupBox* box, int id) : ControlAdapter(box, id), m_box(box), m_grid(new QGridLayout(box))
{
}

void GroupAdapter::SetText(std::string_view text)
{
    m_box->setTitle(ToQt(text));
}

std::string GroupAdapter::Text() const
{
    return FromQt(m_box->title());
}

}  // namespace platform
