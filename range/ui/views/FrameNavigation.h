#pragma once
// What the frame's views ask of the frame around them: another list view,
// help by where it was asked, a command of the window's menu. The frame's
// client (FrameViews) answers.
namespace platform {
class KitWindow;
}

class FrameNavigation {
public:
    virtual ~FrameNavigation() = default;

    // List view 1..6 (the tabs, Alt+1..6); others only beep.
    virtual void SelectPage(int page) = 0;
    virtual int Page() const = 0;
    // A help request on a view's control, answered by where the control lies.
    virtual void HelpAt(platform::KitWindow* view, int controlId) = 0;
    // A command of the window, as if chosen in its menu.
    virtual void RouteCommand(int id) = 0;
};
