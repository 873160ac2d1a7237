#include "display/ui/BVVisApp.h"

#include "display/ui/VisAboutDlg.h"
#include "display/ui/config/DlgConfig.h"

#include "platform/files/ProfileStore.h"
#include "platform/ui/FrameWnd.h"

CBVVisApp::CBVVisApp() = default;

CBVVisApp::~CBVVisApp()
{
    m_frame.reset();
    platform::SetMainWindow(nullptr);
}

bool CBVVisApp::InitInstance(bool countdownInWindow)
{
    platform::SetProgramName("BVVis");
    m_frame = std::make_unique<CMainFrame>();
    m_frame->Loop().countdownInWindow = countdownInWindow;
    // The select dialog's settings and language buttons open the settings
    // dialog on the page asked for; its About button shows the program's box.
    m_frame->settingsDialog = [](QWidget* owner, int profile, int page) {
        CDlgConfig::Run(owner, profile, page);
    };
    CDlgConfig::SetAboutBox([](QWidget* owner) {
        CVisAboutDlg about(owner);
        about.DoModal();
    });
    platform::FrameWnd* window = m_frame->CreateWindowFrame();
    if (!window)
        return false;
    platform::SetMainWindow(window);
    window->SetCaption("BVVis");
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    window->resize(800, 600);
    window->show();
    // A screen without focus (the off-screen platform) may never tell.
    m_frame->OnFirstFocus();
    return true;
}
