#include "platform/ui/controls/SpinAdapter.h"

#include "platform/ui/ControlWidgets.h"
#include "platform/ui/KitWindow.h"

#include <QLineEdit>

namespace platform {

std::unique_ptr<ControlAdapter> SpinAdapter::Build(const ControlTemplate& t, ControlBuild& build)
{
    auto* spin = new SpinCtrl(build.parent);
    spin->SetRange(t.min, t.max);
    spin->SetWrap((t.style & CS_WRAP) != 0);
    return std::make_unique<SpinAdapter>(spin, t.id, t.buddy);
}

SpinAdapter::SpinAdapter(SpinCtrl* spin, int id, int buddy) : ControlAdapter(spin, id), m_spin(spin), m_buddy(buddy) {}

void SpinAdapter::Bind(const KitWindow& window)
{
    // The buddy may come after the spin in the template; a buddy that is no
    // one-line edit leaves the arrows without effect.
    if (Control buddy = window.item(m_buddy))
        m_spin->SetBuddy(dynamic_cast<QLineEdit*>(buddy.widget()));
}

void SpinAdapter::SetRange(int lower, int upper)
{
    m_spin->SetRange(lower, upper);
}

int SpinAdapter::Pos() const
{
    return m_spin->Pos();
}

void SpinAdapter::SetPos(int pos)
{
    m_spin->SetPos(pos);
}

}  // namespace platform
