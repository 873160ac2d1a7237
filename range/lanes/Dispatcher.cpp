#include "range/lanes/Dispatcher.h"

#include "line/BVSerCom.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/base/TickCounters.h"
#include "range/lanes/LineChannels.h"
#include "range/lanes/TargetMessages.h"

#include <cstdio>
#include <cstring>

Dispatcher::Dispatcher(RangeObjects& objects, FrameServices& services, TickCounters& tick, LineChannels& channels,
                       DispatchReceivers& receivers)
    : m_obj(objects), m_services(services), m_tick(tick), m_channels(channels), m_receivers(receivers)
{
}

void Dispatcher::DispatchMessages()
{
    int sweepsWithMessages = 0;
    // One message per channel and sweep, so a busy channel cannot starve the
    // others, and a bounded number of sweeps keeps the tick short.
    for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
        bool found = false;
        for (int k = 0; k < static_cast<int>(m_obj.ports.size()); ++k) {
            PortRecord& p = m_obj.ports[k];
            if (p.type == PortRecord::kOutsideSystem || p.state != PortState::Open || !p.line)
                continue;
            std::unique_ptr<LineMessage> m = p.line->GetMsg();
            if (!m)
                continue;
            if (PortRecord::IsUsb(p.type))
                p.line->CountReceived();
            m_tick.MessageCame();
            m->portIndex = static_cast<uint8_t>(k);
            found = true;
            Dispatch(k, *m);
        }
        if (!found)
            break;
        ++sweepsWithMessages;
    }
    // Rating the lines costs a pass over every lane; under load it waits.
    if (sweepsWithMessages <= 1)
        m_channels.UpdateLineStatus();
}

void Dispatcher::Dispatch(int channel, const LineMessage& m)
{
    const PortRecord& p = m_obj.ports[channel];
    ChannelView view{channel, p.type, p.firstLane, p.lastLane};
    int lane = LaneOf(m);
    int laneType = LaneTable::IsLane(lane) ? m_obj.lanes[lane].channelType : 0;
    switch (CheckOrigin(m, view, laneType)) {
    case Origin::Accepted:
        break;
    case Origin::NotForUs:
        return;
    case Origin::IllegalLane:
        BV_LOG(m_log, 90, "Illegal Lane");
        return;
    case Origin::InactiveLane:
        BV_LOG(m_log, 90, "Inactive Lane for this port");
        return;
    case Origin::ForeignChannel:
        BV_LOG(m_log, 90, "Illegal Com port %d vs %d", p.type, laneType);
        return;
    }

    LaneBlock& b = m_obj.lanes[lane];
    if (b.lineStatus != LineStatus::kAnswers) {
        m_services.RedrawRow(lane);
        b.lineStatus = LineStatus::kAnswers;
    }
    int command = CommandOf(m);
    if (!IsLongEnough(m)) {
        m_services.ShowStatusKey("IDS_WRN_ILLEGAL_MSG");
        BV_LOG(m_log, 90, "Msg(%02X) too short (%d) at lane %d", command, m.data[0], lane);
        return;
    }

    switch (command) {
    case Msg::kShot:
        m_receivers.OnShotMsg(m);
        break;
    case Msg::kLiftState:
        // The lift reports '6' to '8'; the lane keeps the position it stands for.
        switch (m.data[5]) {
        case '6': b.liftPosition = '3'; break;
        case '7': b.liftPosition = '4'; break;
        case '8': b.liftPosition = '5'; break;
        default: b.liftPosition = 0; break;
        }
        break;
    case Msg::kLight:
        b.pendingMode = 0;
        m_services.OnLightMsg(m);
        break;
    case Msg::kMonitorPrint:
        m_receivers.OnMonitorPrintMsg(m);
        break;
    case Msg::kUnitVersion:
    case Msg::kUnitStatus:
        m_services.OnUnitMsg(m);
        break;
    case Msg::kSensitivity:
        b.sensitivity = static_cast<int16_t>(m.data[6] + 1);
        break;
    case Msg::kLaneNotice:
    case Msg::kLaneNotice2: {
        char text[40];
        std::snprintf(text, sizeof text, "Lane=%d Msg=%02X ", lane, command);
        m_services.ShowStatusText(text);
        break;
    }
    case Msg::kSeriesChange:
        m_receivers.SendLaneText(lane, m.data[6], false);
        break;
    case Msg::kLaneRefresh:
        m_receivers.RecomputeLane(lane);
        m_services.RedrawRow(lane);
        break;
    case Msg::kModeAck:
        // The target has its mode: no more repeats for this lane.
        b.pendingMode = 0;
        break;
    case Msg::kLaneState:
        OnLaneState(lane, m);
        break;
    case Msg::kShotFile:
        OnShotFile(lane, m);
        break;
    default:
        // 'P', 0x90 and 0x94 only tell that the lane is there.
        break;
    }
    m_services.RefreshPanel();
    m_services.RedrawRow(lane);
}

void Dispatcher::OnLaneState(int lane, const LineMessage& m)
{
    LaneBlock& b = m_obj.lanes[lane];
    LaneStateMsg s = LaneStateMsg::Parse(m);
    b.targetRelay = static_cast<int16_t>(s.relay);
    m_receivers.WriteActive(lane, static_cast<uint8_t>(s.series));
    b.targetState = static_cast<int16_t>(s.state);
    b.targetCompetition = static_cast<int16_t>(s.competition);
    b.targetField16 = static_cast<int16_t>(s.field16);

    int competition = m_obj.CompetitionNumber();
    CDataComp& comp = m_obj.comp;
    // In the practice competition, and on a lane outside the competition, the
    // target's own card is the lane's card.
    if ((competition == 0 || !b.enabled) && comp.IsOpen()) {
        b.card.relay = static_cast<int16_t>(s.relay);
        b.card.lane = static_cast<int16_t>(lane);
        if (comp.GetCard(b.card, 1) >= 0) {
            b.card.targetType = static_cast<uint8_t>(CTargetTypes::FromTargetCode(s.targetCode));
            if (s.extended) {
                b.card.valueSystem = static_cast<uint8_t>(s.valueSystem);
                b.card.cardValue2 = s.cardValue2;
                b.card.cardValue = s.cardValue;
                b.card.targetComp = static_cast<uint8_t>(s.competition);
                std::memcpy(b.card.cardData, s.cardData, sizeof b.card.cardData);
                b.card.sensitivity = static_cast<uint8_t>(s.sensitivity);
            }
            CardRecord stored = b.card;
            if (comp.StartNumberMode())
                stored.lane = 0;
            if (comp.CardFile().WriteRecKey(&stored) != 0)
                BV_LOG(m_log, 80, "Failed to write card %d:%d", stored.relay, lane);
        }
    }

    // While the start-up question or the exit countdown waits for the
    // targets, each lane tells whether it fits the competition.
    QuestionBox& question = m_services.Questions();
    AskState asking = question.Asking();
    if (asking == AskState::Startup || asking == AskState::ExitCountdown) {
        b.startupDifference = StartupDifference(b.startupDifference, competition == 0, b.enabled != 0, s.state,
                                                s.relay, b.active.relay, s.competition, competition);
        FollowLaneAnswers(m_obj.lanes, question, m_tick, true);
    }
    if (s.sendOverview)
        m_receivers.SendCardOverview(lane);
}

void Dispatcher::OnShotFile(int lane, const LineMessage& m)
{
    int relay = (m.data[6] << 8) | m.data[7];
    int count = m.data[9];
    // The target's count belongs to the card of its relay; on another card
    // it would mark gaps where that card has none.
    if (relay != m_obj.lanes[lane].card.relay) {
        BV_LOG(m_log, 80, "Shot file of relay %d ignored at lane %d with relay %d", relay, lane,
               m_obj.lanes[lane].card.relay);
        return;
    }
    m_receivers.ReloadShotRecord(relay, lane, count);
    m_receivers.RequestMissingShots(lane);
}
