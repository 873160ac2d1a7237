#include "range/ui/BVLederApp.h"

#include "foundation/files/BVLog.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "platform/ui/FrameWnd.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdlib>

CBVLederApp::CBVLederApp(RangeObjects& objects) : m_obj(objects)
{
    CBVSocket::Startup();
}

CBVLederApp::~CBVLederApp()
{
    m_frame.reset();
    platform::SetTextTable(nullptr);
    CBVSocket::Cleanup();
}

int CBVLederApp::InitInstance(const std::string& commandLine)
{
    platform::SetProgramName("BVLeder");
    m_frame = std::make_unique<CMainFrame>(m_obj);
    m_frame->commandLine = commandLine;
    m_frame->m_clockPort = kClockPort;
    if (const char* port = std::getenv("BV_CLOCK_PORT"); port && *port)
        m_frame->m_clockPort = std::atoi(port);

    CRangeSettings& settings = m_obj.settings;
    settings.LoadProfile();
    std::string language = settings.profile.language.empty() ? "EN" : settings.profile.language;
    LoadRangeLanguage(m_obj.language, language);
    platform::SetTextTable(&m_obj.language);

    platform::FrameWnd* window = m_frame->CreateWindowFrame();
    platform::SetMainWindow(window);
    window->SetCaption(m_obj.language.GetText("IDR_MAINFRAME"));
    // The stored place of the window, kept on the screen.
    const CRangeSettings::Profile& p = settings.profile;
    int width = p.windowX1 - p.windowX0;
    int height = p.windowY1 - p.windowY0;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        width = std::min(width, screen->size().width() - 2);
        height = std::min(height, screen->size().height() - 2);
    }
    window->setGeometry(p.windowX0, p.windowY0, std::max(width, 200), std::max(height, 150));
    window->show();
    // The frame may not be told of its focus on a screen without one.
    m_frame->OnSetFocus();
    return 1;
}

void LoadRangeLanguage(CLanguageTable& table, const std::string& code)
{
    const char* kLanguageFile = CBVLederApp::kLanguageFile;
    if (table.Load(kLanguageFile, code) >= 0 && table.GetCount() > 0)
        return;
    // Without its texts every box and menu would be blank.
    std::string fault = CLanguageTable::ColumnOf(code) < 0      ? "no language " + code
                        : !platform::FileExists(kLanguageFile) ? "missing"
                                                               : "unreadable";
    BV_LOG(ProgramLog(), 90, "BVRange.bvt: %s, built-in English texts used", fault.c_str());
    table.LoadBuiltIn(BuiltInRangeTexts());
}
