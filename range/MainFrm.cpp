#include "range/MainFrm.h"

#include "foundation/BVConfig.h"
#include "foundation/CompSettings.h"
#include "platform/ui/FrameWnd.h"

#include <array>
#include <cstdio>

// The frame's window: it passes the frame's own window messages on.
class CMainFrame::FrameWindow : public platform::FrameWnd {
public:
    explicit FrameWindow(CMainFrame& frame) : m_frame(frame) {}

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_DISPATCH) {
            m_frame.DispatchMessages();
            return 0;
        }
        return FrameWnd::OnMessage(message, wParam, lParam);
    }

private:
    CMainFrame& m_frame;
};

CMainFrame::CMainFrame(RangeObjects& objects) : m_obj(objects)
{
    m_obj.lanes.ResetAll();
}

CMainFrame::~CMainFrame()
{
    ClosePorts();
}

platform::FrameWnd* CMainFrame::CreateWindowFrame()
{
    if (!m_window) {
        m_window = std::make_unique<FrameWindow>(*this);
        // Pane 0 stretches; panes 1 (warnings) and 2 (information) hold texts.
        static const std::array<int, 3> kPanes = {150, 50, 40};
        m_window->SetStatusPanes(kPanes);
    }
    return m_window.get();
}

platform::FrameWnd* CMainFrame::Window() const { return m_window.get(); }

void CMainFrame::SetCompetition(int number, CBVConfig* settings)
{
    m_competition = number;
    m_compSettings = settings;
}

int CMainFrame::CompInt(const ConfigIntItem& item) const
{
    if (!m_compSettings || !m_compSettings->IsOpen())
        return item.defaultValue;
    return ReadItem(*m_compSettings, item);
}

CompOptions CMainFrame::Options() const
{
    if (!m_compSettings || !m_compSettings->IsOpen())
        return CompOptions();
    return CompSettings::ReadOptions(*m_compSettings);
}

int CMainFrame::RangeInt(const ConfigIntItem& item)
{
    CBVConfig& config = m_obj.settings.Config();
    if (!config.IsOpen())
        return item.defaultValue;
    return ReadItem(config, item);
}

void CMainFrame::ShowStatusKey(const char* key)
{
    if (!m_window)
        return;
    std::string text = m_obj.language.GetText(key);
    if (text.size() > 50)
        text.resize(50);
    m_window->SetPaneText(kWarningPane, text);
    m_statusCountdown = 0;
}

void CMainFrame::ShowStatusText(const std::string& text)
{
    if (!m_window)
        return;
    m_window->SetPaneText(kInfoPane, "");
    m_window->SetPaneText(kWarningPane, text);
    m_statusCountdown = 0;
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
