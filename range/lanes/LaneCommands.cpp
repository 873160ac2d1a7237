#include "range/lanes/LaneCommands.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/BVSerCom.h"
#include "platform/system/Clock.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/CommandRouting.h"
#include "range/lanes/Commands.h"
#include "range/lanes/LineChannels.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The target address and broadcast flag that make a copy a message to all.
constexpr uint8_t kBroadcastSlot = 60;

}  // namespace

LaneCommands::LaneCommands(RangeObjects& objects, FrameServices& services, LineChannels& channels)
    : m_obj(objects), m_services(services), m_channels(channels)
{
}

int LaneCommands::SendCommand(int lane, const LineMessage& message, uint8_t flags)
{
    if (lane < 0 || lane > LaneTable::kLastLane)
        return 0;
    LaneTable& lanes = m_obj.lanes;
    if (flags & Cmd::kMarkLanes) {
        // Lanes of the outside range system report through their own events.
        if (flags & Cmd::kEveryLane) {
            for (int l = m_obj.lanes.NextActiveLane(0); l != 0; l = m_obj.lanes.NextActiveLane(l))
                if (lanes[l].channelType != PortRecord::kOutsideSystem)
                    m_channels.MarkLane(l, 128);
        } else if (lane != 0 && lanes[lane].channelType != PortRecord::kOutsideSystem) {
            m_channels.MarkLane(lane, 128);
        }
    }
    if (m_channels.Simulation())
        return 0;

    Routing routing = RouteCommand(lane, flags, lanes, m_obj.ports);
    // A lane of a channel that did not open: every attempt is noted.
    for (size_t i = 0; i < routing.noLine.size(); ++i)
        BV_LOG(m_log, 90, "No pointer to com port");
    for (const Delivery& d : routing.deliveries) {
        auto copy = std::make_unique<LineMessage>(message);
        copy->portIndex = static_cast<uint8_t>(d.channel);
        copy->data[2] = 0x40;
        if (d.lane == 0) {
            copy->targetAddress = kBroadcastSlot;
            copy->broadcast = 1;
            copy->answerFromLane = 0;
        } else {
            // One unit answers: the message carries its lane and waits for it.
            copy->targetAddress = static_cast<uint8_t>(d.lane);
            copy->data[4] = static_cast<uint8_t>(d.lane);
            copy->broadcast = 0;
            copy->answerFromLane = 1;
        }
        m_obj.ports[d.channel].line->SendMsg(std::move(copy));
    }
    return routing.result;
}

void LaneCommands::SendMode(int mode, int lane, uint8_t flags)
{
    ModeCmd c;
    c.lane = lane;
    c.mode = mode;
    c.shooterClock = m_obj.Options().IsOn(CompOptions::ShooterClock);
    platform::LocalTime now = platform::Now();
    c.hour = now.hour;
    c.minute = now.minute;
    c.second = now.second;
    c.builtTick = platform::TickCount();
    c.clockStartTick = clockStartTick;
    const CShotClock& clock = m_obj.clock;
    c.clockRunning = clock.IsRunning();
    c.clockMode = clock.GetRunningMode();
    c.periodSeconds = clock.GetSetPeriod();
    c.extraSeconds = clock.GetSetExtra();
    CProgramStore::SerieTiming timing;
    m_obj.programs.GetSerieTiming(timing, m_obj.CompInt(CompSettings::kCurrentSeries), 0);
    c.delay = timing.delay;
    c.green = timing.green;
    c.red = timing.red;
    c.rep = timing.rep;
    LineMessage m;
    c.Build(m);
    SendCommand(lane, m, static_cast<uint8_t>(flags | Cmd::kEveryLine));
}

void LaneCommands::SendLaneSetup(int lane, uint8_t flags)
{
    int twin = m_obj.CompInt(CompSettings::kTwinLane);
    if (lane == 0)
        lane = m_obj.lanes.NextActiveLane(0);
    if (!LaneTable::IsLane(lane))
        return;
    const LaneBlock& b = m_obj.lanes[lane];
    const CardRecord& card = b.card;
    int competition = m_obj.CompetitionNumber();
    LaneSetupCmd c;
    c.lane = lane;
    c.flags = flags;
    // The twin lane shows another lane's shots and takes part with it.
    c.takingPart = (b.enabled || lane == twin) && competition != 0;
    c.sensitivity = card.sensitivity;
    c.bandLength = card.band2;
    c.bandFrequency = card.band1;
    c.relay = card.relay;
    c.markKind = m_obj.CompInt(CompSettings::kMarkKind);
    c.zoomMode = m_obj.CompInt(CompSettings::kZoomMode);
    c.competition = competition;
    platform::LocalTime now = platform::Now();
    c.day = now.day;
    c.month = now.month;
    c.year = now.year;
    c.targetCode = CTargetTypes::ToTargetCode(card.targetType);
    c.bulletRadius200 = static_cast<int>(std::lround(m_obj.targetTypes.GetBulletRadius(card.targetType) * 200));
    c.distance = m_obj.CompInt(CompSettings::kDistance);
    c.simulatedDistance = m_obj.CompInt(CompSettings::kSimulatedDistance);
    c.seriesMeasure = m_obj.CompInt(CompSettings::kSeriesMeasure);
    c.tempo = m_obj.CompInt(CompSettings::kMarkingTempo);
    c.externalEquipment = m_obj.RangeInt(RangeItems::kExternalEquipment);
    c.programEquipment = m_obj.programs.GetEquipment(0);
    c.zoomLevel = m_obj.CompInt(CompSettings::kZoomLevel);
    c.decimals = m_obj.CompInt(CompSettings::kDecimals);
    c.options = m_obj.Options().Text();
    c.valueSystem = card.valueSystem;
    c.practice = competition == 0;
    c.series = b.active.seriesState;
    LineMessage m;
    c.Build(m);
    SendCommand(lane, m, Cmd::kMarkLanes | Cmd::kEvenDisabled);
    SendProgram(lane, Cmd::kMarkLanes | Cmd::kEvenDisabled);
}

void LaneCommands::SendProgram(int lane, uint8_t flags)
{
    if (!LaneTable::IsLane(lane))
        return;
    const LaneBlock& b = m_obj.lanes[lane];
    CProgramStore& programs = m_obj.programs;
    int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
    int equipment = programs.GetEquipment(0);
    std::string className(b.name.cls, strnlen(b.name.cls, sizeof b.name.cls));
    int cls = programs.FindClass(className, 0);
    ProgramCmd c;
    c.lane = lane;
    c.practice = m_obj.CompetitionNumber() == 0;
    for (int s = 1; s <= CProgramStore::kMaxSeries; ++s) {
        c.shots[s] = programs.GetSerieShots(s, 0);
        c.bits[s] = ProgramCmd::SeriesBits(external, equipment, programs.GetSerieTarget(s, 0),
                                           programs.GetClassFlag(cls, s, 0));
    }
    LineMessage m;
    c.Build(m);
    SendCommand(lane, m, flags);
}

void LaneCommands::ResetAllLanes()
{
    LineMessage m;
    LaneResetCmd().Build(m);
    SendCommand(0, m, Cmd::kEveryLine);
    // The start-up question waits for the lane-state message of every
    // active lane; 1 means "not heard yet".
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        m_obj.lanes[lane].startupDifference = m_obj.lanes.IsActive(lane) ? 1 : 0;
}

void LaneCommands::SendText(int lane, const std::string& text)
{
    auto sendTo = [&](int l) {
        m_obj.lanes[l].lastText = text;
        LineMessage m;
        TextCmd{l, text}.Build(m);
        SendCommand(l, m, Cmd::kEvenDisabled);
    };
    if (lane == 0) {
        for (int l = m_obj.lanes.NextActiveLane(0); l != 0; l = m_obj.lanes.NextActiveLane(l))
            sendTo(l);
    } else if (LaneTable::IsLane(lane)) {
        sendTo(lane);
    }
}

void LaneCommands::OnToggleStop()
{
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane))
        SendText(lane, m_obj.lanes[lane].lastText.empty() ? "STOP" : "");
}

void LaneCommands::DeleteMonitorCard(int lane)
{
    LineMessage m;
    LaneValueCmd::DeleteMonitorCard(lane).Build(m);
    SendCommand(lane, m, Cmd::kMarkLanes);
}

void LaneCommands::SendZoom(int lane, int level)
{
    ZoomCmd c;
    c.lane = lane;
    c.series = m_obj.CompInt(CompSettings::kCurrentSeries);
    c.tempo = m_obj.CompInt(CompSettings::kMarkingTempo);
    c.level = level;
    LineMessage m;
    c.Build(m);
    if (lane != 0)
        SendCommand(lane, m, Cmd::kMarkLanes);
    else
        SendCommand(0, m, Cmd::kEveryLine);
    static const char* const kKeys[] = {"IDS_INFO_ZOOM0", "IDS_INFO_ZOOM1", "IDS_INFO_ZOOM2"};
    if (level >= 0 && level <= 2)
        m_services.ShowStatusKeys(kKeys[level], nullptr, nullptr);
}

void LaneCommands::SendMotor(int lane, int value)
{
    LineMessage m;
    LaneValueCmd::Motor(lane, value).Build(m);
    if (lane != 0) {
        SendCommand(lane, m, 0);
        char number[16];
        std::snprintf(number, sizeof number, "%d", lane);
        m_services.ShowStatusKeys("IDS_INFO_MOTOR_ONE", nullptr, number);
    } else {
        SendCommand(0, m, Cmd::kEveryLine);
        m_services.ShowStatusKeys("IDS_INFO_MOTOR_ALL", nullptr, nullptr);
    }
}

void LaneCommands::SendStatusQuery()
{
    LineMessage m;
    LaneValueCmd::StatusQuery().Build(m);
    SendCommand(0, m, Cmd::kEveryLine);
}

void LaneCommands::SendLight(int lane, const int intensity[3])
{
    // The lamps listen on every line; the lane travels inside the message.
    auto sendFor = [&](int l) {
        LightCmd c;
        c.lane = l;
        for (int i = 0; i < 3; ++i)
            c.intensity[i] = intensity[i];
        LineMessage m;
        c.Build(m);
        SendCommand(0, m, Cmd::kEveryLine);
    };
    if (lane == 0) {
        for (int l = m_obj.lanes.NextActiveLane(0); l != 0; l = m_obj.lanes.NextActiveLane(l))
            sendFor(l);
    } else if (LaneTable::IsLane(lane)) {
        sendFor(lane);
    }
}

void LaneCommands::SendShootToAll(int value)
{
    LineMessage m;
    LaneValueCmd::Shoot(0, value).Build(m);
    SendCommand(0, m, Cmd::kEveryLine);
}

void LaneCommands::SendLift(int lane, int position)
{
    int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
    if (external != 3 && external != 4 && m_obj.programs.GetEquipment(0) != 131) {
        m_services.Message(m_obj.Text("IDS_LIFT_NOLIFT"));
        return;
    }
    int code = LaneValueCmd::LiftCode(position);
    auto sendFor = [&](int l) {
        m_obj.lanes[l].liftPosition = static_cast<int16_t>(position);
        LineMessage m;
        LaneValueCmd::Lift(l, code).Build(m);
        SendCommand(0, m, Cmd::kEveryLine);
        m_services.RedrawRow(l);
    };
    if (lane < 1) {
        for (int l = m_obj.lanes.NextActiveLane(0); l != 0; l = m_obj.lanes.NextActiveLane(l))
            sendFor(l);
    } else if (LaneTable::IsLane(lane)) {
        sendFor(lane);
    }
}

bool LaneCommands::RepeatModes()
{
    // Turning targets take their own mode.
    int equipment = m_obj.programs.GetEquipment(0);
    bool turning = m_obj.RangeInt(RangeItems::kExternalEquipment) != 0 && (equipment == 1 || equipment == 129);
    bool sent = false;
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        if (b.pendingMode == 0)
            continue;
        --b.pendingMode;
        SendMode(turning ? 140 : 72, lane, 0x80);
        sent = true;
    }
    return sent;
}
