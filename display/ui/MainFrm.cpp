// The main frame: its window, timer, keys, full screen, views, the select
// dialog, errors, help and the window's place.
#include "display/ui/MainFrm.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QToolBar>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "display/ui/BVVisView.h"
#include "display/ui/DisplayText.h"
#include "display/ui/DlgSelect.h"
#include "display/ui/FormHtml.h"
#include "display/ui/VisAboutDlg.h"
#include "foundation/ui/net/BVSocket.h"
#include "foundation/ui/windows/HtmlHelp.h"
#include "platform/system/TextTable.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"

namespace {

const platform::ToolButton kToolBar[] = {
    {CMainFrame::kSelectCommand, "Select"},
    {0, nullptr},
    {CMainFrame::kAboutCommand, "About"},
};

// The keys of the audience screen (accelerator table 128).
const platform::Accelerator kKeys[] = {
    {"Alt+C", DisplayLoop::kSelectAltC},   {"Esc", DisplayLoop::kSelectEsc},
    {"Alt+M", DisplayLoop::kFullScreenOn}, {"Alt+N", DisplayLoop::kFullScreenOff},
    {"F11", DisplayLoop::kToggleFullScreen}, {"Right", DisplayLoop::kNext},
    {"PgDown", DisplayLoop::kNextPage},    {"Left", DisplayLoop::kPrevious},
    {"PgUp", DisplayLoop::kPreviousPage},  {"Home", DisplayLoop::kFirst},
    {"End", DisplayLoop::kLast},           {"Pause", DisplayLoop::kPause},
    {"F5", DisplayLoop::kRefresh},
};

const char* const kHelpLanguages[] = {"NO", "DK", "SE", "EN", "DE"};

// The tool bar's two small pictures, drawn here: a list of profiles for the
// select dialog and a question mark for the About box.
QIcon ToolIcon(int command)
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (command == CMainFrame::kSelectCommand) {
        p.fillRect(1, 1, 14, 13, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(1, 1, 13, 12);
        for (int y = 4; y <= 10; y += 3) {
            p.fillRect(3, y, 2, 2, QColor(0, 0, 160));
            p.drawLine(6, y, 12, y);
        }
    } else {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0, 0, 160));
        p.setPen(Qt::NoPen);
        p.drawEllipse(0, 0, 15, 15);
        QFont font = p.font();
        font.setPixelSize(12);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, QStringLiteral("?"));
    }
    return QIcon(pixmap);
}

}  // namespace

// The frame's window: its timer, messages, help, moves and closing go to
// the frame.
class CMainFrame::FrameWindow : public platform::FrameWnd {
public:
    explicit FrameWindow(CMainFrame& frame) : m_frame(frame) {}

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_SOCKET_NOTIFY)
            return m_frame.OnClockMessage(wParam, lParam);
        return FrameWnd::OnMessage(message, wParam, lParam);
    }
    void OnTimer(int id) override
    {
        if (id == kTimerId)
            m_frame.OnTimer();
    }
    void WinHelp(uint32_t data, int command) override { m_frame.WinHelp(data, command); }

protected:
    void changeEvent(QEvent* event) override
    {
        FrameWnd::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            m_frame.OnFirstFocus();
    }
    void moveEvent(QMoveEvent* event) override
    {
        FrameWnd::moveEvent(event);
        m_frame.OnMoveOrSize();
    }
    void resizeEvent(QResizeEvent* event) override
    {
        FrameWnd::resizeEvent(event);
        m_frame.OnMoveOrSize();
    }
    void closeEvent(QCloseEvent* event) override
    {
        m_frame.OnClosed();
        event->accept();
    }

private:
    CMainFrame& m_frame;
};

CMainFrame::CMainFrame() : m_loop(m_data, *this)
{
    CBVSocket::Startup();
    platform::ProfileStore& profile = DisplayText::Profile();
    windowRect = {profile.GetInt("Context", "WindowX0", -1), profile.GetInt("Context", "WindowY0", -1),
                  profile.GetInt("Context", "WindowX1", -1), profile.GetInt("Context", "WindowY1", -1)};
    DisplayText::Load(m_data);
    m_loop.updateClockLinks = [this](CVisTarget& first) { UpdateClockLinks(first); };
    m_loop.closeClockLinks = [this] { CloseClockLinks(); };
}

CMainFrame::~CMainFrame()
{
    m_clock.reset();
    WriteWindowRect();
    m_window.reset();
    m_help.reset();
    m_data.current = nullptr;
    m_data.RemoveAllEvents();
    m_data.RemoveAllPictures();
    CBVSocket::Cleanup();
}

platform::FrameWnd* CMainFrame::CreateWindowFrame()
{
    if (m_window)
        return m_window.get();
    m_window = std::make_unique<FrameWindow>(*this);
    m_clock = std::make_unique<ClockLinks>(m_data, m_window.get());
    // No menu and no status bar: the pictures take the window.
    m_window->menuBar()->hide();
    m_window->ShowStatusBar(false);
    m_window->LoadToolBar(kToolBar);
    m_window->ToolBar()->setIconSize(QSize(16, 15));
    m_window->ToolBar()->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int command : {kSelectCommand, kAboutCommand})
        if (QAction* action = m_window->MenuAction(command))
            action->setIcon(ToolIcon(command));
    m_window->LoadAccelerators(kKeys);
    for (const platform::Accelerator& key : kKeys)
        m_window->OnCommand(key.id, [this, id = key.id] { OnCommand(id); });
    m_window->OnCommand(kSelectCommand, [this] { OnCommand(kSelectCommand); });
    m_window->OnCommand(kAboutCommand, [this] { ShowAbout(); });
    m_help = std::make_unique<CHtmlHelp>(HelpFolder());

    CBVVisView* view = MakePictureView();
    m_window->SetClient(view);
    m_window->SetActiveView(view);
    view->InitialUpdate();
    m_view = view;
    return m_window.get();
}

platform::FrameWnd* CMainFrame::Window() const { return m_window.get(); }

CBVVisView* CMainFrame::PictureView() const { return m_view.data(); }

CFormHtml* CMainFrame::HtmlView() const { return m_html.data(); }

CBVVisView* CMainFrame::MakePictureView()
{
    auto* view = new CBVVisView(m_data);
    view->frameCommand = [this](int command) { OnCommand(command); };
    return view;
}

void CMainFrame::OnFirstFocus()
{
    if (!m_firstFocus)
        return;
    m_firstFocus = false;
    m_loop.OnFirstFocus(LoopIntervals::Read(".\\BVVis.ini"));
}

void CMainFrame::OnTimer()
{
    if (!m_closed)
        m_loop.DisplayTick();
}

bool CMainFrame::OnCommand(int id)
{
    if (id == kAboutCommand) {
        ShowAbout();
        return true;
    }
    if ((id < DisplayLoop::kFullScreenOn || id > DisplayLoop::kNextPage) || m_closed)
        return false;
    m_loop.OnCommand(id);
    return true;
}

void CMainFrame::OnMoveOrSize()
{
    // Only a window the operator placed: not full screen, not before the
    // start, not while the display waits to go full screen, not while it is
    // minimised for the select dialog.
    if (!m_window || m_switchingScreen || m_data.fullScreen || !m_loop.started || m_loop.pending)
        return;
    if (!m_window->isVisible() ||
        (m_window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect g = m_window->geometry();
    windowRect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CMainFrame::WriteWindowRect()
{
    if (m_data.fullScreen || m_loop.pending)
        return;
    platform::ProfileStore& profile = DisplayText::Profile();
    profile.WriteInt("Context", "WindowX0", windowRect.left);
    profile.WriteInt("Context", "WindowY0", windowRect.top);
    profile.WriteInt("Context", "WindowX1", windowRect.right);
    profile.WriteInt("Context", "WindowY1", windowRect.bottom);
}

void CMainFrame::OnClosed()
{
    m_closed = true;
    if (m_window)
        m_window->KillTimer(kTimerId);
    // A stop while the select dialog runs ends it; the frame goes with it.
    if (m_select)
        m_select->OnExit();
}

void CMainFrame::Stop()
{
    if (m_select)
        m_select->OnExit();
    else
        CloseFrame();
}

void CMainFrame::CloseFrame()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_window) {
        m_window->KillTimer(kTimerId);
        m_window->close();
    }
}

std::string CMainFrame::HelpFolder() const
{
    const std::string code = DisplayText::LanguageCode();
    for (const char* known : kHelpLanguages)
        if (code == known)
            return ".\\Help\\BVVis" + code;
    return {};
}

void CMainFrame::WinHelp(uint32_t data, int command)
{
    const std::string folder = HelpFolder();
    if (folder.empty() || !m_help) {
        BV_LOG(m_log, 80, "Help %u (%d): no help in language %s", data, command, DisplayText::LanguageCode().c_str());
        return;
    }
    uint32_t topic = 0;
    if (command == platform::HELP_WINDOW_TOPIC || command == platform::HELP_CONTROL_TOPIC)
        topic = data;
    else if (command == 4)
        topic = 1;
    m_help->SetFolder(folder);
    m_help->ShowHelp(topic, command);
}

void CMainFrame::ShowAbout()
{
    CVisAboutDlg about(m_window.get());
    about.DoModal();
}

// ---- DisplayPort

DisplayPort::SelectResult CMainFrame::RunSelectDialog(bool autoStart, CBVConfig& settings, CBVConfig& profiles)
{
    // A window of its own: the frame is minimised meanwhile.
    CDlgSelect dialog(profiles, settings, nullptr);
    dialog.autoStart = autoStart;
    dialog.secondMs = selectSecondMs;
    dialog.settingsDialog = settingsDialog;
    m_select = &dialog;
    if (onSelectDialog)
        onSelectDialog(dialog);
    if (!m_closed)
        dialog.DoModal();
    else
        dialog.exitRequest = true;
    m_select = nullptr;
    SelectResult r{dialog.profile, dialog.exitRequest, dialog.startedByCountdown};
    if (!r.exit)
        ShowFrame();
    return r;
}

void CMainFrame::ShowError(const std::string& key)
{
    platform::MessageBox(platform::TextOfKey(key), {}, platform::MessageIcon::Stop);
}

void CMainFrame::SetTitle(const std::string& title)
{
    if (m_window)
        m_window->SetCaption(title);
}

void CMainFrame::SetFullScreen(bool on)
{
    if (ActiveView() == kNoView) {
        BV_LOG(m_log, 90, "No active View!");
        return;
    }
    if (!m_window)
        return;
    m_switchingScreen = true;
    m_window->SetFullScreen(on);
    if (!on && m_window->isMinimized())
        m_window->showNormal();
    m_switchingScreen = false;
}

void CMainFrame::ShowFrame()
{
    if (!m_window || m_closed)
        return;
    m_switchingScreen = true;
    if (m_data.fullScreen) {
        if (!m_window->FullScreen())
            m_window->SetFullScreen(true);
        else if (!m_window->isFullScreen())
            m_window->showFullScreen();
    } else if (m_window->isMinimized() || !m_window->isVisible()) {
        m_window->showNormal();
    }
    m_switchingScreen = false;
}

void CMainFrame::Minimise()
{
    if (m_window)
        m_window->showMinimized();
}

void CMainFrame::RestoreWindow()
{
    if (!m_window)
        return;
    platform::ProfileStore& profile = DisplayText::Profile();
    const int x0 = profile.GetInt("Context", "WindowX0", -1), y0 = profile.GetInt("Context", "WindowY0", -1);
    const int x1 = profile.GetInt("Context", "WindowX1", -1), y1 = profile.GetInt("Context", "WindowY1", -1);
    if (x0 > 0 && y0 > 0 && x1 > x0 && y1 > y0)
        m_window->setGeometry(x0, y0, x1 - x0, y1 - y0);
}

void CMainFrame::StartTimer(int periodMs)
{
    if (m_window && !m_closed)
        m_window->SetTimer(kTimerId, periodMs);
}

void CMainFrame::StopTimer()
{
    if (m_window)
        m_window->KillTimer(kTimerId);
}

DisplayPort::View CMainFrame::ActiveView()
{
    if (m_view)
        return kPictureView;
    if (m_html)
        return kHtmlView;
    return kNoView;
}

bool CMainFrame::SwitchView(View kind)
{
    const View active = ActiveView();
    if (active == kNoView || !m_window) {
        BV_LOG(m_log, 90, "No active View!");
        return false;
    }
    if (active == kind)
        return true;
    platform::FormView* view = nullptr;
    if (kind == kPictureView) {
        CBVVisView* pictures = MakePictureView();
        m_view = pictures;
        view = pictures;
    } else {
        auto* html = new CFormHtml;
        m_html = html;
        view = html;
    }
    // The window takes the new view; the old one goes with that.
    m_window->SetClient(view);
    if (kind == kPictureView)
        m_html = nullptr;
    else
        m_view = nullptr;
    m_window->SetActiveView(view);
    ShowFrame();
    // The view gets its size now, so the picture is laid out on it.
    if (QLayout* layout = m_window->layout())
        layout->activate();
    view->InitialUpdate();
    return true;
}

bool CMainFrame::ShowHtmlPage(const std::string& file)
{
    if (m_viewKind != kHtmlView) {
        if (!SwitchView(kHtmlView))
            return false;
        m_viewKind = kHtmlView;
    }
    if (m_html)
        m_html->Navigate(file);
    return m_html != nullptr;
}

bool CMainFrame::ShowPictureView()
{
    if (m_viewKind != kPictureView) {
        if (!SwitchView(kPictureView))
            return false;
        m_viewKind = kPictureView;
    }
    return m_view != nullptr;
}

void CMainFrame::SetViewStarted(bool started)
{
    if (m_view)
        m_view->SetStarted(started);
}

void CMainFrame::ExportNettcast()
{
    if (m_view)
        m_view->ExportNettcast();
}

void CMainFrame::LayoutPicture()
{
    if (m_view)
        m_view->Painter().LayoutPicture(true);
}

void CMainFrame::RedrawAll()
{
    if (m_view)
        m_view->Painter().RedrawAll();
}

void CMainFrame::DrawHeader()
{
    if (m_view)
        m_view->Painter().DrawHeader(true);
}

void CMainFrame::DrawClockLine()
{
    if (m_view)
        m_view->Painter().DrawClockLine(true);
}

void CMainFrame::LayoutPanel(CVisTarget& target)
{
    if (m_view)
        m_view->Painter().LayoutPanel(target, true);
}

void CMainFrame::DrawPanel(CVisTarget& target)
{
    if (m_view)
        m_view->Painter().DrawPanel(target, true);
}

void CMainFrame::DrawMessageScreen()
{
    if (m_view)
        m_view->Painter().DrawMessageScreen();
}

void CMainFrame::HideCursorTick()
{
    if (m_view)
        m_view->HideCursorTick();
}
