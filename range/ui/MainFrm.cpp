// The main frame: its window, the status bar and the rest of what the
// range's logic asks of the window.
#include "range/ui/MainFrm.h"

#include "foundation/ui/net/BVSocket.h"
#include "foundation/ui/windows/HtmlHelp.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/DlgAsk.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>

#include <array>
#include <cstdio>

// The frame's window: it passes the frame's own window messages, its timer
// and its closing on to the frame.
class CMainFrame::FrameWindow : public platform::FrameWnd {
public:
    explicit FrameWindow(CMainFrame& frame) : m_frame(frame) {}

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_DISPATCH) {
            m_frame.DispatchMessages();
            return 0;
        }
        if (message == WM_SOCKET_NOTIFY) {
            m_frame.OnSocketMessage(wParam, lParam);
            return 0;
        }
        if (message == CDlgAsk::WM_ASK_ANSWER) {
            m_frame.OnAskAnswer(static_cast<int>(wParam));
            return 0;
        }
        return FrameWnd::OnMessage(message, wParam, lParam);
    }

    void OnTimer(int id) override
    {
        if (id == CMainFrame::kTickTimer)
            m_frame.OnTick();
        else
            BV_LOG(m_frame.m_log, 80, "Unknown timer event");
    }

    void WinHelp(uint32_t data, int command) override { m_frame.WinHelp(data, command); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        FrameWnd::resizeEvent(event);
        m_frame.OnSizing(geometry());
        m_frame.LayoutClient();
    }
    void moveEvent(QMoveEvent* event) override
    {
        FrameWnd::moveEvent(event);
        m_frame.OnSizing(geometry());
    }

    void changeEvent(QEvent* event) override
    {
        FrameWnd::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            m_frame.OnSetFocus();
    }

    // The close box asks the frame, which may ask the officer first.
    void closeEvent(QCloseEvent* event) override
    {
        if (m_frame.m_closing) {
            event->accept();
            return;
        }
        event->ignore();
        m_frame.CloseFrame(false);
    }

private:
    CMainFrame& m_frame;
};

CMainFrame::CMainFrame(RangeObjects& objects) : m_obj(objects), m_range(objects, *this, m_tick) {}

CMainFrame::~CMainFrame()
{
    if (m_help && platform::CurrentHelpService() == m_help.get())
        platform::SetHelpService(nullptr);
    ClosePorts();
    m_socket.reset();
    CloseLightDialog();
    CloseStatusDialog();
    CloseCardDialog();
    delete m_askBox.data();
}

platform::FrameWnd* CMainFrame::CreateWindowFrame()
{
    if (!m_window) {
        m_window = std::make_unique<FrameWindow>(*this);
        // Pane 0 stretches; panes 1 (warnings) and 2 (information) hold texts.
        static const std::array<int, 3> kPanes = {150, 50, 40};
        m_window->SetStatusPanes(kPanes);
        OnCreateClient();
    }
    return m_window.get();
}

platform::FrameWnd* CMainFrame::Window() const { return m_window.get(); }

void CMainFrame::ShowStatusKey(const char* key)
{
    if (!m_window)
        return;
    std::string text = m_obj.language.GetText(key);
    if (text.size() > 50)
        text.resize(50);
    m_window->SetPaneText(kWarningPane, text);
    m_tick.statusCountdown = 0;
}

void CMainFrame::ShowStatusFor(const char* key, int ticks)
{
    ShowStatusKey(key);
    m_tick.statusCountdown = ticks;
}

void CMainFrame::ClearStatusText()
{
    if (m_window)
        m_window->SetPaneText(kWarningPane, "");
}

void CMainFrame::ShowStatusText(const std::string& text)
{
    if (!m_window)
        return;
    m_window->SetPaneText(kInfoPane, "");
    m_window->SetPaneText(kWarningPane, text);
    m_tick.statusCountdown = 0;
}

void CMainFrame::ShowStatusKeys(const char* key1, const char* key2, const char* text)
{
    if (!m_window)
        return;
    std::string line = m_obj.language.GetText(key1);
    if (key2 && *key2)
        line += " " + m_obj.language.GetText(key2);
    if (text)
        line += std::string(" ") + text;
    m_window->SetPaneText(kInfoPane, line);
    m_window->SetPaneText(kWarningPane, "");
}

void CMainFrame::Message(const std::string& text) { platform::MessageBox(text); }

void CMainFrame::Beep(bool information)
{
    platform::CurrentPrompter().Beep(information ? platform::BeepKind::Information : platform::BeepKind::Exclamation);
}

void CMainFrame::Busy(bool on)
{
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

// Work that the logic hands on to the dialogs. Each does here the least
// that keeps the range running; the windows that own them fill them in.

