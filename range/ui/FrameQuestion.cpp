#include "range/ui/FrameQuestion.h"

#include "platform/ui/FrameWnd.h"
#include "range/ui/DlgAsk.h"
#include "range/ui/MainFrm.h"

#include <string>

namespace {

// Ticks of the countdowns; an outside range system answers more slowly. The
// start-up question's follows the lines' load (StartupWaitTicks).
constexpr int kExitTicks = 30;
constexpr int kExitTicksOutside = 75;

}  // namespace

FrameQuestion::~FrameQuestion() { delete m_box.data(); }

CDlgAsk* FrameQuestion::AskBox() const { return m_box; }

void FrameQuestion::Ask(AskState type)
{
    if (m_frame.Closed())
        return;
    if (m_box && type != AskState::ExitCountdown) {
        m_box->Close();
        m_box->deleteLater();
        m_box = nullptr;
    }
    if (!m_box) {
        m_box = new CDlgAsk(m_frame.Window());
        m_box->Create();
    }
    m_type = type;
    RangeObjects& obj = m_frame.Objects();
    TickSchedule& tick = m_frame.m_tick;
    const bool outside = m_frame.Range().channels.OutsideSystemOpen();
    const std::string noMessage;
    switch (type) {
    case AskState::Startup:
        m_box->SetContent(obj.language.GetText("IDS_ASK_INIT_TITLE"), noMessage, {0, 0, 0, CDlgAsk::kCancel},
                          {nullptr, nullptr, nullptr, "IDS_CANCEL"});
        tick.askCountdown = StartupWaitTicks(obj.ports, obj.lanes, outside);
        break;
    case AskState::Exit:
        m_box->SetContent(obj.language.GetText("IDS_ASK_EXIT_TITLE"), obj.language.GetText("IDS_ASK_EXIT"),
                          {CDlgAsk::kYes, CDlgAsk::kNo, 0, CDlgAsk::kCancel},
                          {"IDS_YES", "IDS_NO", nullptr, "IDS_CANCEL"});
        tick.askCountdown = 0;
        m_box->AnswerWhenUnseen();
        break;
    case AskState::ExitCountdown:
        m_box->SetContent(obj.language.GetText("IDS_ASK_EXIT_TITLE"), noMessage, {0, 0, 0, CDlgAsk::kCancel},
                          {nullptr, nullptr, nullptr, "IDS_CANCEL"});
        tick.askCountdown = outside ? kExitTicksOutside : kExitTicks;
        break;
    default:
        break;
    }
    m_box->ShowWindow(true);
}

void FrameQuestion::AskProgress()
{
    if (!m_box)
        return;
    // The bar fills over the last 15 ticks (45 with an outside system).
    int span = m_frame.Range().channels.OutsideSystemOpen() ? 9000 : 3000;
    int position = 100 - m_frame.m_tick.askCountdown * 20000 / span;
    m_box->SetProgress(position < 0 ? 0 : position);
}

bool FrameQuestion::AskCountdownEnd()
{
    if (!m_box)
        return true;
    OnAskCountdown();
    return !m_frame.Closed();
}

void FrameQuestion::CloseAsk()
{
    if (m_box)
        m_box->Close();
}

void FrameQuestion::OnAskCountdown()
{
    RangeObjects& obj = m_frame.Objects();
    switch (m_type) {
    case AskState::Startup: {
        bool practice = obj.CompetitionNumber() == 0;
        for (int lane = obj.lanes.NextActiveLane(0); lane != 0; lane = obj.lanes.NextActiveLane(lane)) {
            uint8_t flags = obj.lanes[lane].startupDifference;
            if (practice)
                flags &= static_cast<uint8_t>(~1);
            if (flags == 0)
                continue;
            // A target does not fit the competition: ask what to do.
            if (m_box) {
                m_box->SetContent(obj.language.GetText("IDS_ASK_INIT_TITLE"), obj.language.GetText("IDS_ASK_INIT_DIFF"),
                                  {CDlgAsk::kNewCompetition, CDlgAsk::kPractice, 0, CDlgAsk::kCancel},
                                  {"IDS_ASK_INIT_NEW", "IDS_ASK_INIT_TRAIN", nullptr, "IDS_CANCEL"});
                m_box->SetProgress(0);
                m_box->ShowWindow(true);
                m_box->AnswerWhenUnseen();
            }
            return;
        }
        CloseAsk();
        m_type = AskState::None;
        break;
    }
    case AskState::ExitCountdown:
        m_type = AskState::None;
        CloseAsk();
        m_frame.CloseFrame(true);
        break;
    default:
        m_type = AskState::None;
        break;
    }
}

void FrameQuestion::OnAnswer(int value)
{
    AskState type = m_type;
    if (type == AskState::Startup && value == CDlgAsk::kNewCompetition) {
        CloseAsk();
        m_type = AskState::None;
        m_frame.Competitions().OnCompetitionChoice();
    } else if (type == AskState::Startup && value == CDlgAsk::kPractice) {
        m_frame.Competitions().SwitchToPractice();
        CloseAsk();
        m_type = AskState::None;
    } else if (type == AskState::Exit && value == CDlgAsk::kYes) {
        m_frame.Competitions().SwitchToPractice();
        m_type = AskState::None;
        Ask(AskState::ExitCountdown);
    } else if (type == AskState::Exit && value == CDlgAsk::kNo) {
        m_type = AskState::None;
        m_frame.CloseFrame(true);
    } else {
        CloseAsk();
        m_type = AskState::None;
    }
}
