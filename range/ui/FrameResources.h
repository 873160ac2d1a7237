#pragma once
// The main frame's menu, accelerator table and tool bar (resource 128) as
// constant tables, and the small pictures of the tool buttons. Every menu
// text is a placeholder for its language key; the frame renames them.
#include "platform/ui/FrameWnd.h"

#include <QIcon>

#include <span>

namespace FrameResources {

// Commands of the window itself.
enum : int {
    ID_PAGE_FIRST = 32792,   // list views 1..6 (Alt+1..6)
    ID_PAGE_LAST = 32800,    // views 7..9 do not exist (Alt+7..9)
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
};

std::span<const platform::MenuItem> Menu();
std::span<const platform::Accelerator> Accelerators();
std::span<const platform::ToolButton> ToolBar();

// The language key of a tool button's tip; null for none.
const char* ToolTipKey(int id);
// The picture of a tool button (16 x 15 pixels); an empty icon for an
// unknown command.
QIcon ToolIcon(int id);

}  // namespace FrameResources
