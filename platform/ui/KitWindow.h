#pragma once
// What every window of the kit has, whether a dialog, a form view or a frame:
// controls by id, notifications to handler methods, exchange of member values
// with the controls, a command table, messages posted to it, timers and help.
#include "platform/ui/Controls.h"
#include "platform/ui/DialogTemplate.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QKeyEvent;
class QTimer;
class QWidget;

namespace platform {

class ControlAdapter;
class DataExchange;
class KitWindow;

// What a control tells its window.
enum class Notify {
    Click,        // button, check box, radio button, list view or tree row
    DoubleClick,  // list box, list view, tree
    SelChange,    // combo, list box, list view, tree, tab strip, date and time
    SelChanging,  // tab strip, before the change
    Change,       // text of an edit or of a combo's edit; a spin step shows here on its buddy
    KillFocus,    // the control lost the keyboard focus
};

// The state a command's menu item and tool button take; the update handlers
// of the view and the frame fill it in.
struct CommandUI {
    int id = 0;
    bool enabled = true;
    int checked = -1;  // -1 untouched, 0 clear, 1 ticked
    bool handled = false;
    void Enable(bool on = true) { enabled = on; handled = true; }
    void SetCheck(int state) { checked = state; handled = true; }
};

// Window messages between the windows of a program: a view tells the frame
// it changed data, the grid asks its owner before an edit, a worker reports
// its end. Numbers from WM_APP up are the program's own.
constexpr int WM_APP = 0x8000;

// Queues a message for the window that target belongs to; it arrives through
// OnMessage once the event loop runs. Nothing happens when target is gone.
void PostMessage(QWidget* target, int message, intptr_t wParam = 0, intptr_t lParam = 0);
// Delivers it at once and returns the answer (0 when target is no kit window).
intptr_t SendMessage(QWidget* target, int message, intptr_t wParam = 0, intptr_t lParam = 0);

// Commands of help asked through WinHelp by the kit: F1 asks for the window's
// topic, a help request on a control for the control's topic.
constexpr int HELP_WINDOW_TOPIC = 2;
constexpr int HELP_CONTROL_TOPIC = 3;

// The program's main window (frame or main dialog); help requests of the
// other windows go there.
KitWindow* MainWindow();
void SetMainWindow(KitWindow* window);

// The window size that a template's dialog units give with the widget's font.
QSize DialogUnitsToPixels(const QWidget* widget, int cx, int cy);

namespace detail {
class KitHub;
}

class KitWindow {
public:
    explicit KitWindow(QWidget* host);
    virtual ~KitWindow();
    KitWindow(const KitWindow&) = delete;
    KitWindow& operator=(const KitWindow&) = delete;

    QWidget* Host() const { return m_host; }
    // The kit window a widget belongs to: the widget itself or its nearest ancestor.
    static KitWindow* Of(QWidget* widget);

    // The control with this id; an empty handle when there is none.
    Control item(int id) const;
    bool HasControl(int id) const { return m_controls.count(id) != 0; }
    // Puts a widget of the screen's own (a grid, a tab strip of its own kind)
    // in the place of a control; the old widget is deleted. A tab strip works
    // as a tab strip, any other widget as a custom control.
    void SetCustomControl(int id, QWidget* widget);
    // Sets the caption and every control text that has a key again from the
    // text table, after the language changed.
    void Relabel();
    void SetCaption(std::string_view text);
    std::string Caption() const;
    int TemplateId() const { return m_templateId; }

    // Handlers of notifications by control id.
    void OnNotify(Notify code, int id, std::function<void()> handler);
    void OnClick(int id, std::function<void()> handler) { OnNotify(Notify::Click, id, std::move(handler)); }
    void OnSelChange(int id, std::function<void()> handler) { OnNotify(Notify::SelChange, id, std::move(handler)); }
    void OnChange(int id, std::function<void()> handler) { OnNotify(Notify::Change, id, std::move(handler)); }
    void OnKillFocus(int id, std::function<void()> handler) { OnNotify(Notify::KillFocus, id, std::move(handler)); }
    // A tab strip's question before it changes: return true to refuse.
    void OnSelChanging(int id, std::function<bool()> handler);
    // Delivers a notification as the control would; true when a handler took it.
    bool SendNotify(int id, Notify code);
    virtual void OnSize(int cx, int cy) {}

    // Data exchange: DoDataExchange lists the members and their controls.
    // UpdateData(false) shows the members; UpdateData(true) takes them back
    // and checks them, and is false when a check failed (its message shown,
    // the focus on the control).
    virtual void DoDataExchange(DataExchange& dx) {}
    bool UpdateData(bool saveAndValidate = true);

    // The window's command table.
    void OnCommand(int id, std::function<void()> handler);
    void OnCommandRange(int first, int last, std::function<void(int)> handler);
    void OnUpdateCommand(int id, std::function<void(CommandUI&)> handler);
    void OnUpdateCommandRange(int first, int last, std::function<void(CommandUI&)> handler);
    // Runs the command from this window's table; false when it has none.
    virtual bool OnCmdMsg(int id);
    // Fills in the command's state from this window's table; false when it has none.
    virtual bool OnUpdateCmdUI(CommandUI& ui);

    virtual intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) { return 0; }

    // Timers run on the event loop, so they also keep running while a modal
    // dialog or message box of the program is open.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    virtual void OnTimer(int id) {}

    // Help: the default passes the request to the main window, which passes
    // it to the help service (platform/ui/Help.h).
    virtual void WinHelp(uint32_t data, int command);
    // F1 asks for this topic: the template number unless a screen says otherwise.
    virtual int HelpTopic() const { return m_templateId; }
    // A help request on a control (Shift+F1 on the focused control).
    virtual bool OnHelpInfo(int controlId);
    // Every key pressed in the window comes here first; true consumes it.
    // The default gives F1 to help.
    virtual bool PreTranslateKey(QKeyEvent* event);

protected:
    // Builds the controls of the template into the host's grid, each by the
    // table of control kinds (platform/ui/controls/ControlKinds.h).
    void BuildControls(const DialogTemplate& tmpl);
    // Called for a notification that no handler took.
    virtual bool OnUnhandledNotify(int id, Notify code) { return false; }

private:
    friend class detail::KitHub;
    struct NotifyEntry {
        Notify code;
        int id;
        std::function<void()> handler;
    };
    struct CommandEntry {
        int first;
        int last;
        std::function<void(int)> handler;
        std::function<void(CommandUI&)> update;
    };
    // Keeps the control and watches its widget's keys and focus.
    void RegisterControl(std::unique_ptr<ControlAdapter> control);
    int ControlIdOf(const QWidget* widget) const;

    QWidget* m_host;
    detail::KitHub* m_hub;
    int m_templateId = 0;
    const char* m_captionKey = nullptr;
    std::map<int, std::unique_ptr<ControlAdapter>> m_controls;
    std::map<int, const ControlTemplate*> m_templates;
    std::vector<NotifyEntry> m_notify;
    std::map<int, std::function<bool()>> m_selChanging;
    std::vector<CommandEntry> m_commands;
    std::map<int, QTimer*> m_timers;
};

// The members of a screen and their controls, in both directions. After the
// first failed check every further exchange of the same pass is skipped.
class DataExchange {
public:
    DataExchange(KitWindow& window, bool saveAndValidate) : m_window(window), m_save(saveAndValidate) {}
    bool Saving() const { return m_save; }
    bool Failed() const { return m_failed; }

    void Text(int id, std::string& value);
    // A whole number; a text that is none is refused.
    void Text(int id, int& value);
    void Text(int id, unsigned& value);
    // Checks after Text: the range message and the length message.
    void MinMax(int id, int value, int lower, int upper);
    void MaxChars(int id, const std::string& value, int most);
    void Check(int id, int& value);
    // The index of the ticked radio button of the group that starts at id; -1 for none.
    void Radio(int id, int& index);
    void ComboIndex(int id, int& index);
    void ComboText(int id, std::string& value);
    void ListIndex(int id, int& index);
    void Time(int id, LocalTime& value);
    // Marks the pass as failed after the screen's own message; the focus goes to id.
    void Fail(int id);

private:
    bool Skip() const { return m_failed; }
    template <typename T, typename Get, typename Set>
    void Exchange(int id, T& value, Get get, Set set);
    // Shows the check's message and fails the pass at the control.
    void Refuse(int id, const char* message);
    KitWindow& m_window;
    bool m_save;
    bool m_failed = false;
};

}  // namespace platform
