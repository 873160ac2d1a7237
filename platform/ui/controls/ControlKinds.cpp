#include "platform/ui/controls/ControlKinds.h"

#include "platform/ui/TabCtrl.h"
#include "platform/ui/controls/ButtonAdapter.h"
#include "platform/ui/controls/ComboAdapter.h"
#include "platform/ui/controls/DateTimeAdapter.h"
#include "platform/ui/controls/EditAdapter.h"
#include "platform/ui/controls/GroupAdapter.h"
#include "platform/ui/controls/ListBoxAdapter.h"
#include "platform/ui/controls/ListViewAdapter.h"
#include "platform/ui/controls/ProgressAdapter.h"
#include "platform/ui/controls/SpinAdapter.h"
#include "platform/ui/controls/StaticAdapter.h"
#include "platform/ui/controls/TabAdapter.h"
#include "platform/ui/controls/TreeAdapter.h"

#include <QWidget>

#include <iterator>

namespace platform {
namespace {

// A place the screen fills with a widget of its own later (SetCustomControl).
std::unique_ptr<ControlAdapter> BuildCustom(const ControlTemplate& t, ControlBuild& build)
{
    return std::make_unique<ControlAdapter>(new QWidget(build.parent), t.id);
}

using K = ControlKind;

constexpr ControlKindRow kKinds[] = {
    {K::Static, &StaticAdapter::Build},
    {K::Edit, &EditAdapter::Build},
    {K::ComboList, &ComboAdapter::Build},
    {K::ComboEdit, &ComboAdapter::Build},
    {K::ListBox, &ListBoxAdapter::Build},
    {K::Check, &ButtonAdapter::BuildCheck},
    {K::Radio, &RadioAdapter::Build},
    {K::Group, &GroupAdapter::Build},
    {K::Button, &ButtonAdapter::BuildButton},
    {K::Spin, &SpinAdapter::Build},
    {K::Progress, &ProgressAdapter::Build},
    {K::ListView, &ListViewAdapter::Build},
    {K::Tree, &TreeAdapter::Build},
    {K::Tab, &TabAdapter::Build},
    {K::Date, &DateTimeAdapter::BuildDate},
    {K::Time, &DateTimeAdapter::BuildTime},
    {K::Custom, &BuildCustom},
};

// Every kind has its row, at the kind's own place: a kind added to the enum
// without a row does not compile.
constexpr bool InKindOrder()
{
    for (size_t i = 0; i < std::size(kKinds); ++i)
        if (static_cast<size_t>(kKinds[i].kind) != i)
            return false;
    return std::size(kKinds) == static_cast<size_t>(K::Custom) + 1;
}
static_assert(InKindOrder(), "kKinds needs one row per ControlKind, in the enum's order");

}  // namespace

std::span<const ControlKindRow> ControlKinds()
{
    return kKinds;
}

std::unique_ptr<ControlAdapter> BuildControl(const ControlTemplate& t, ControlBuild& build)
{
    return kKinds[static_cast<size_t>(t.kind)].build(t, build);
}

std::unique_ptr<ControlAdapter> AdoptControl(QWidget* widget, int id)
{
    if (auto* tabs = dynamic_cast<TabCtrl*>(widget))
        return std::make_unique<TabAdapter>(tabs, id);
    return std::make_unique<ControlAdapter>(widget, id);
}

}  // namespace platform
