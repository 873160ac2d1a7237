#pragma once
// The table of control kinds: for each kind of a template, the function that
// builds its widget and its adapter. KitWindow builds every control through it.
#include "platform/ui/controls/ControlAdapter.h"

namespace platform {

using BuildControlFn = std::unique_ptr<ControlAdapter> (*)(const ControlTemplate& t, ControlBuild& build);

struct ControlKindRow {
    ControlKind kind;
    BuildControlFn build;
};

// One row per kind, in the order of ControlKind.
std::span<const ControlKindRow> ControlKinds();

// The widget and adapter of one template entry, in build.parent.
std::unique_ptr<ControlAdapter> BuildControl(const ControlTemplate& t, ControlBuild& build);

// The adapter for a widget that a screen puts in a control's place: a tab
// strip of the screen's own kind works as a tab strip, anything else (a grid)
// as a custom control.
std::unique_ptr<ControlAdapter> AdoptControl(QWidget* widget, int id);

}  // namespace platform
