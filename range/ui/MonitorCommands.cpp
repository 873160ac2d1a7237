#include "range/ui/MonitorCommands.h"

#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/FrameModal.h"
#include "range/ui/MainFrm.h"

namespace {

// f(lane) for the lane chosen when it takes part, or for every lane that does.
template <typename F>
void ForChosenLanes(const LaneTable& lanes, const LaneQuestion& q, F f)
{
    if (q.allTargets) {
        for (int lane = lanes.NextActiveLane(0); lane != 0; lane = lanes.NextActiveLane(lane))
            f(lane);
    } else if (LaneTable::IsLane(q.lane) && lanes.IsActive(q.lane)) {
        f(q.lane);
    }
}

}  // namespace

void MonitorCommands::OnMessageToMonitors()
{
    RangeObjects& obj = m_frame.Objects();
    InputQuestion q;
    q.titleKey = "IDS_INPUT_MSG_TITLE";
    q.promptKey = "IDS_INPUT_MSG_PROMPT";
    q.withLane = true;
    q.lane = obj.lanes.NextActiveLane(0);
    if (!FrameModal::AskInput(m_frame.Window(), obj, q))
        return;
    m_frame.Range().commands.SendText(q.allTargets ? 0 : q.lane, q.text);
}

void MonitorCommands::OnUpdateMonitors()
{
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_UPDATEDU";
    if (!FrameModal::AskLane(m_frame.Window(), m_frame.Objects(), q))
        return;
    m_frame.Range().records.SendCardOverview(q.allTargets ? 0 : q.lane);
}

void MonitorCommands::OnFetchFromMonitors()
{
    RangeObjects& obj = m_frame.Objects();
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_FETCH";
    if (!FrameModal::AskLane(m_frame.Window(), obj, q))
        return;
    ForChosenLanes(obj.lanes, q, [this, &obj](int lane) {
        obj.lanes[lane].fetchRunning = 1;
        m_frame.Range().intake.SendCardSummary(lane);
    });
}

void MonitorCommands::OnDeleteMonitorCards()
{
    RangeObjects& obj = m_frame.Objects();
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_DELDU";
    q.showAllCards = true;
    if (!FrameModal::AskLane(m_frame.Window(), obj, q))
        return;
    if (q.allCards && platform::MessageBox(obj.Text("IDS_WRN_DELCARDS"), {}, platform::MessageIcon::None,
                                           platform::MessageButtons::YesNo) != platform::IDYES)
        return;
    LaneCommands& commands = m_frame.Range().commands;
    ForChosenLanes(obj.lanes, q, [&commands, &q](int lane) {
        if (q.allCards)
            commands.DeleteMonitorCard(lane);
        commands.SendLaneSetup(lane, 11);
    });
}

void MonitorCommands::OnDeleteCards()
{
    RangeObjects& obj = m_frame.Objects();
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_DELPC";
    if (FrameModal::AskLane(m_frame.Window(), obj, q)) {
        ForChosenLanes(obj.lanes, q, [&obj](int lane) {
            LaneBlock& b = obj.lanes[lane];
            obj.comp.DeleteShots(b.active.relay, lane);
            b.rowMark = 1;
        });
    }
    // The views follow the files, whatever the officer answered.
    m_frame.Range().ReadFilesAgain(false, false);
}

void MonitorCommands::OnDeleteNames()
{
    RangeObjects& obj = m_frame.Objects();
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_DELNAME";
    if (!FrameModal::AskLane(m_frame.Window(), obj, q))
        return;
    ForChosenLanes(obj.lanes, q, [&obj](int lane) {
        LaneBlock& b = obj.lanes[lane];
        obj.comp.DeleteName(b.active.relay, lane);
        b.rowMark = 1;
    });
    m_frame.Range().ReadFilesAgain(true, true);
}
