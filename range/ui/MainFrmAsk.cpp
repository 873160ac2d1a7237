// The frame's two questions in the question box: at start-up, whether to
// choose another competition or go to the practice competition when the
// targets do not fit the one opened; at exit, whether the targets go to the
// practice competition before the program closes.
#include "range/ui/MainFrm.h"

#include "platform/ui/FrameWnd.h"
#include "range/ui/DlgAsk.h"

#include <array>

namespace {

// Ticks of the countdowns; an outside range system answers more slowly.
constexpr int kStartupTicks = 15;
constexpr int kStartupTicksOutside = 45;
constexpr int kExitTicks = 30;
constexpr int kExitTicksOutside = 75;

}  // namespace

void CMainFrame::Ask(AskState type)
{
    if (m_closed)
        return;
    if (m_askBox && type != AskState::ExitCountdown) {
        m_askBox->Close();
        m_askBox->deleteLater();
        m_askBox = nullptr;
    }
    if (!m_askBox) {
        m_askBox = new CDlgAsk(Window());
        m_askBox->Create();
    }
    m_askType = type;
    const std::string noMessage;
    switch (type) {
    case AskState::Startup:
        m_askBox->SetContent(m_obj.language.GetText("IDS_ASK_INIT_TITLE"), noMessage,
                             {0, 0, 0, CDlgAsk::kCancel}, {nullptr, nullptr, nullptr, "IDS_CANCEL"});
        m_tick.askCountdown = OutsideSystemOpen() ? kStartupTicksOutside : kStartupTicks;
        break;
    case AskState::Exit:
        m_askBox->SetContent(m_obj.language.GetText("IDS_ASK_EXIT_TITLE"), m_obj.language.GetText("IDS_ASK_EXIT"),
                             {CDlgAsk::kYes, CDlgAsk::kNo, 0, CDlgAsk::kCancel},
                             {"IDS_YES", "IDS_NO", nullptr, "IDS_CANCEL"});
        m_tick.askCountdown = 0;
        m_askBox->AnswerWhenUnseen();
        break;
    case AskState::ExitCountdown:
        m_askBox->SetContent(m_obj.language.GetText("IDS_ASK_EXIT_TITLE"), noMessage,
                             {0, 0, 0, CDlgAsk::kCancel}, {nullptr, nullptr, nullptr, "IDS_CANCEL"});
        m_tick.askCountdown = OutsideSystemOpen() ? kExitTicksOutside : kExitTicks;
        break;
    default:
        break;
    }
    m_askBox->ShowWindow(true);
}

void CMainFrame::AskStartup() { Ask(AskState::Startup); }

void CMainFrame::AskProgress()
{
    if (!m_askBox)
        return;
    // The bar fills over the last 15 ticks (45 with an outside system).
    int span = OutsideSystemOpen() ? 9000 : 3000;
    int position = 100 - m_tick.askCountdown * 20000 / span;
    m_askBox->SetProgress(position < 0 ? 0 : position);
}

bool CMainFrame::AskCountdownEnd()
{
    if (!m_askBox)
        return true;
    OnAskCountdown();
    return !m_closed;
}

void CMainFrame::CloseAsk()
{
    if (m_askBox)
        m_askBox->Close();
}

void CMainFrame::OnAskCountdown()
{
    switch (m_askType) {
    case AskState::Startup: {
        bool practice = CompetitionNumber() == 0;
        for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane)) {
            uint8_t flags = m_obj.lanes[lane].startupDifference;
            if (practice)
                flags &= static_cast<uint8_t>(~1);
            if (flags == 0)
                continue;
            // A target does not fit the competition: ask what to do.
            if (m_askBox) {
                m_askBox->SetContent(m_obj.language.GetText("IDS_ASK_INIT_TITLE"),
                                     m_obj.language.GetText("IDS_ASK_INIT_DIFF"),
                                     {CDlgAsk::kNewCompetition, CDlgAsk::kPractice, 0, CDlgAsk::kCancel},
                                     {"IDS_ASK_INIT_NEW", "IDS_ASK_INIT_TRAIN", nullptr, "IDS_CANCEL"});
                m_askBox->SetProgress(0);
                m_askBox->ShowWindow(true);
                m_askBox->AnswerWhenUnseen();
            }
            return;
        }
        CloseAsk();
        m_askType = AskState::None;
        break;
    }
    case AskState::ExitCountdown:
        m_askType = AskState::None;
        CloseAsk();
        CloseFrame(true);
        break;
    default:
        m_askType = AskState::None;
        break;
    }
}

void CMainFrame::OnAskAnswer(int value)
{
    AskState type = m_askType;
    if (type == AskState::Startup && value == CDlgAsk::kNewCompetition) {
        CloseAsk();
        m_askType = AskState::None;
        OnCompetitionChoice();
    } else if (type == AskState::Startup && value == CDlgAsk::kPractice) {
        SwitchToPractice();
        CloseAsk();
        m_askType = AskState::None;
    } else if (type == AskState::Exit && value == CDlgAsk::kYes) {
        SwitchToPractice();
        m_askType = AskState::None;
        Ask(AskState::ExitCountdown);
    } else if (type == AskState::Exit && value == CDlgAsk::kNo) {
        m_askType = AskState::None;
        CloseFrame(true);
    } else {
        CloseAsk();
        m_askType = AskState::None;
    }
}
