#pragma once
// The frame window of a program: menu, tool bar, status bar, accelerators and
// a client area (usually splitters holding the views). Commands from the
// menu, the tool bar and the accelerators go to the active view first and to
// the frame when the view does not handle them; before a menu opens, and on
// UpdateCommandUI, each command's state is asked the same way. A command that
// nobody handles is shown disabled.
#include "platform/ui/KitWindow.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <span>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QShortcut;
class QTimer;
class QToolBar;

namespace platform {

// One line of a menu template. Depth 0 is a popup of the menu bar; items of
// depth n belong to the last popup of depth n - 1. An entry with id 0 and a
// text is a popup, without a text a separator. '&' marks the mnemonic.
struct MenuItem {
    int depth = 0;
    int id = 0;
    const char* text = nullptr;
    const char* key = nullptr;  // text key; replaces text on SetMenuTexts
};

struct Accelerator {
    const char* keys;  // "Ctrl+N", "Alt+Up", "F5"
    int id;
};

struct ToolButton {
    int id;  // 0: separator
    const char* text;
};

class FrameWnd : public QMainWindow, public KitWindow {
public:
    explicit FrameWnd(QWidget* parent = nullptr);
    ~FrameWnd() override;

    void LoadMenu(std::span<const MenuItem> items);
    QAction* MenuAction(int id) const;
    void SetMenuText(int id, std::string_view text);
    // The popup at a path of positions: {0} the first popup of the bar,
    // {1, 4} the fifth entry of the second popup.
    QMenu* Popup(std::initializer_list<int> path) const;
    void SetPopupText(std::initializer_list<int> path, std::string_view text);
    // Every menu text that has a key, from the text table.
    void SetMenuTexts();

    void LoadAccelerators(std::span<const Accelerator> table);
    void LoadToolBar(std::span<const ToolButton> buttons);
    QToolBar* ToolBar() const { return m_toolBar; }
    void ShowToolBar(bool show);
    // Status bar panes: pane 0 stretches, the others take the widths given
    // (in characters of the status bar's font).
    void SetStatusPanes(std::span<const int> widths);
    void SetPaneText(int pane, std::string_view text);
    std::string PaneText(int pane) const;
    void ShowStatusBar(bool show);

    // The client area below the tool bar.
    void SetClient(QWidget* client);

    // The view that gets commands first; a view becomes active when it or
    // one of its controls takes the focus.
    void SetActiveView(KitWindow* view);
    KitWindow* ActiveView() const;

    // Runs a command as the menu would: false when it is disabled or nobody
    // handles it.
    bool RouteCommand(int id);
    // The active view's table, then the frame's.
    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(CommandUI& ui) override;
    // Asks the state of every menu item and tool button.
    void UpdateCommandUI();
    CommandUI QueryCommand(int id);

    // Menu, bars and frame give way to the client on the whole screen.
    void SetFullScreen(bool on);
    bool FullScreen() const { return m_fullScreen; }

private:
    QAction* ActionFor(int id, const QString& text);
    bool IsInside(QWidget* widget) const;

    std::map<int, QAction*> m_actions;
    std::vector<std::pair<QAction*, const char*>> m_keyedActions;
    std::vector<std::pair<QMenu*, const char*>> m_keyedPopups;
    std::vector<QShortcut*> m_shortcuts;
    QToolBar* m_toolBar = nullptr;
    std::vector<QLabel*> m_panes;
    QPointer<QWidget> m_activeView;
    bool m_fullScreen = false;
    bool m_toolBarWasShown = true;
    bool m_statusWasShown = true;
    bool m_menuWasShown = true;
    QMetaObject::Connection m_focusWatch;
    QTimer* m_idle = nullptr;
};

}  // namespace platform
