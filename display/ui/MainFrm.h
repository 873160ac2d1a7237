#pragma once
// The display's main frame: its window (tool bar, keys of the audience
// screen, full screen), the display loop that its timer drives every
// 100 ms, the two views it swaps (pictures, HTML pages), the select dialog
// it returns to, the help, and the clock links to the range controls.
//
// The frame serves the loop's DisplayPort; everything runs on the
// user-interface thread.
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "display/loop/DisplayLoop.h"
#include "display/model/VisData.h"
#include "display/ui/ClockLinks.h"
#include "foundation/files/BVLog.h"
#include "platform/system/Geometry.h"

class CBVSocket;
class QWidget;
class CBVVisView;
class CDlgSelect;
class CFormHtml;
class CHtmlHelp;

namespace platform {
class FrameWnd;
}

class CMainFrame : public DisplayPort {
public:
    static constexpr int kTimerId = 1;
    // The tool bar's buttons and the frame's commands besides the loop's.
    static constexpr int kSelectCommand = DisplayLoop::kSelectButton;  // 32788
    static constexpr int kAboutCommand = 57664;

    CMainFrame();
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The window with its tool bar, keys and the picture view; made once.
    platform::FrameWnd* CreateWindowFrame();
    platform::FrameWnd* Window() const;
    CVisData& Data() { return m_data; }
    DisplayLoop& Loop() { return m_loop; }

    // The first time the window gets the focus: the intervals of
    // .\BVVis.ini and the first tick at once.
    void OnFirstFocus();
    // Timer 1: one display tick.
    void OnTimer();
    // A command of the keys, the tool bar or the view; false when it is none of the frame's.
    bool OnCommand(int id);
    // The window moved or changed size.
    void OnMoveOrSize();
    // The window closed (the program ends).
    void OnClosed();
    // A stop asked from outside: the select dialog ends as by its exit
    // button, else the frame closes.
    void Stop();
    bool Closed() const { return m_closed; }
    // Help as the display's windows ask it: (data, command) to a topic of
    // the help folder of the profile's language.
    void WinHelp(uint32_t data, int command);
    std::string HelpFolder() const;
    CHtmlHelp* Help() const { return m_help.get(); }
    void ShowAbout();

    // The views. A view is made when the frame switches to it and goes when
    // it switches away.
    CBVVisView* PictureView() const;
    CFormHtml* HtmlView() const;
    int ViewKind() const { return m_viewKind; }
    // The select dialog while it runs.
    CDlgSelect* SelectDialog() const { return m_select; }

    // ---- Clock links, one per event
    void UpdateClockLinks(CVisTarget& first)
    {
        if (m_clock)
            m_clock->Update(first);
    }
    intptr_t OnClockMessage(intptr_t socket, intptr_t event) { return m_clock->OnClockMessage(socket, event); }
    void CloseClockLinks()
    {
        if (m_clock)
            m_clock->Close();
    }
    CBVSocket* ClockLink(int event) const { return m_clock->Link(event); }
    ClockLinks& Clock() { return *m_clock; }

    // ---- Seams for the windows of later work and for tests
    // The settings dialog (the select dialog's buttons 1097 and 1143).
    std::function<void(QWidget* owner, int profile, int page)> settingsDialog;
    // The select dialog's second; tests make it shorter.
    int selectSecondMs = 1000;
    // Told when the select dialog is up, before it runs.
    std::function<void(CDlgSelect& dialog)> onSelectDialog;

    // The window rectangle: from the profile at the start, followed while the
    // window is moved or sized in a window, written to the profile at the end.
    platform::Rect windowRect{-1, -1, -1, -1};

    // ---- DisplayPort
    SelectResult RunSelectDialog(bool autoStart, CBVConfig& settings, CBVConfig& profiles) override;
    void ShowError(const std::string& key) override;
    void SetTitle(const std::string& title) override;
    void SetFullScreen(bool on) override;
    void Minimise() override;
    void CloseFrame() override;
    void RestoreWindow() override;
    void StartTimer(int periodMs) override;
    void StopTimer() override;
    View ActiveView() override;
    bool ShowPictureView() override;
    bool ShowHtmlPage(const std::string& file) override;
    void SetViewStarted(bool started) override;
    void ExportNettcast() override;
    void LayoutPicture() override;
    void RedrawAll() override;
    void DrawHeader() override;
    void DrawClockLine() override;
    void LayoutPanel(CVisTarget& target) override;
    void DrawPanel(CVisTarget& target) override;
    void DrawMessageScreen() override;
    void HideCursorTick() override;

private:
    class FrameWindow;
    bool SwitchView(View kind);
    CBVVisView* MakePictureView();
    // Shows the window full screen or in its window, as the display is.
    void ShowFrame();
    void WriteWindowRect();

    CVisData m_data;
    DisplayLoop m_loop;
    CBVLog m_log;
    std::unique_ptr<FrameWindow> m_window;
    std::unique_ptr<CHtmlHelp> m_help;
    QPointer<CBVVisView> m_view;
    QPointer<CFormHtml> m_html;
    int m_viewKind = -1;
    CDlgSelect* m_select = nullptr;
    bool m_firstFocus = true;
    bool m_closed = false;
    bool m_switchingScreen = false;
    std::unique_ptr<ClockLinks> m_clock;
};
