// Shot intake: a shot from a target unit's message onto the shooting card
// and into the shot file, the gaps asked for again, the card summary by which
// the lane's monitor compares its card with ours, the lane text when a series
// is complete, and the sums the twin lane's monitor shows shot by shot.
#include "range/shots/ShotIntake.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/system/Clock.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/base/TickCounters.h"
#include "range/exchange/ResultsExchange.h"
#include "range/lanes/Commands.h"
#include "range/lanes/FileChecks.h"
#include "range/lanes/LaneCards.h"
#include "range/lanes/LaneCommands.h"
#include "range/lanes/LaneRecords.h"
#include "range/shots/ShotMessage.h"
#include "range/shots/ShotRequests.h"

ShotIntake::ShotIntake(RangeObjects& objects, FrameServices& services, TickCounters& tick, const Links& parts)
    : m_obj(objects), m_services(services), m_tick(tick), m_links(parts)
{
}

bool ShotIntake::OnShotMsg(const LineMessage& m)
{
    const uint8_t* d = m.data;
    int lane = d[4];
    if (!LaneTable::IsLane(lane)) {
        // The twin lane's monitor echoes what it shows; that is no shot.
        if (lane != m_obj.CompInt(CompSettings::kTwinLane))
            m_services.ShowStatusFor("IDS_WRN_ILLEGAL_LANE", kWarningTicks);
        return true;
    }
    LaneBlock& b = m_obj.lanes[lane];
    ShotMessage s = ShotMessage::Parse(d);
    b.targetRelay = static_cast<int16_t>(s.relay);
    b.targetCompetition = static_cast<int16_t>(s.competition);

    if (s.kind == ShotMessage::kRepeated && b.fetchRunning)
        return false;
    int competition = m_obj.CompetitionNumber();
    if (s.competition != competition) {
        // Not stored and not confirmed beyond the line's own acknowledgement:
        // the unit keeps the shot.
        BV_LOG(m_log, 80, "Illegal Competition at Lane=%d Msg=%d BVLeder=%d", lane, s.competition, competition);
        m_services.ShowStatusFor("IDS_WRN_ILLEGAL_COMP", kWarningTicks);
        return true;
    }
    if (s.relay != b.active.relay) {
        if (competition != 0) {
            BV_LOG(m_log, 80, "Illegal relay at Lane=%d Msg=%d BVLeder=%d", lane, s.relay, b.active.relay);
            m_services.ShowStatusFor("IDS_WRN_ILLEGAL_RELAY", kWarningTicks);
            return true;
        }
        // In the practice competition the lane follows its shooter's relay.
        CDataComp::ClearCard(b.card);
        b.card.relay = static_cast<int16_t>(s.relay);
        b.card.lane = static_cast<int16_t>(lane);
        m_links.cards.TakeLaneSettings(lane);
        m_links.cards.StoreLaneSettings(lane);
        m_obj.comp.GetCard(b.card, 1);
        m_obj.comp.ReadActive(lane, b.active);
    }
    b.active.seriesState = static_cast<uint8_t>(s.currentSeries);

    if (!s.IsShot()) {
        m_links.records.ReloadShotRecord(s.relay, lane, s.cardCount);
        m_links.records.WriteActive(lane, b.active.seriesState);
        m_services.RedrawRow(lane);
        SendLaneText(lane, 0, true);
        RequestMissingShots(lane);
        return true;
    }

    b.cardCountdown = kCardSummaryTicks;
    if (s.series < 1 || s.series > CDataComp::kMaxSeries || s.shotNumber < 1 || s.shotNumber > CDataComp::kSlots) {
        m_services.ShowStatusFor("IDS_WRN_ILLEGAL_SHOT", kWarningTicks);
        return true;
    }
    // The shot arrived: it is not asked for again.
    b.shotTimers[s.shotNumber - 1] = 0;
    if (s.kind == ShotMessage::kRepeated)
        m_services.ShowStatusFor("IDS_WRN_FETCH_SHOT", kWarningTicks);

    ShotRecord shot = ShotMessage::ToShotRecord(d, platform::Now());
    // A shot from a unit holds its numbered place on the card whatever state
    // byte the unit sent. A free or skipped state would leave a hole that is
    // asked for again without end and overwritten by the next shot; any other
    // state takes a slot the store does not count, so the gap behind it could
    // never be filled and would be asked for about three times a second.
    shot.state = CDataComp::kSlotShot;
    b.shotWarning = (shot.flags & 0x200) && m_obj.RangeInt(RangeItems::kMotor) != 0;
    if (competition == 0) {
        b.active.seriesState = static_cast<uint8_t>(s.series);
        b.targetRelay = static_cast<int16_t>(s.relay);
        b.targetCompetition = static_cast<int16_t>(s.competition);
    }
    StoreShot(s.relay, lane, shot);
    m_links.records.ReloadShotRecord(s.relay, lane, s.cardCount);
    RequestMissingShots(lane);
    m_links.records.WriteActive(lane, b.active.seriesState);
    return true;
}

void ShotIntake::StoreShot(int relay, int lane, ShotRecord& shot)
{
    if (!LaneTable::IsLane(lane))
        return;
    CDataComp& comp = m_obj.comp;
    LaneBlock& b = m_obj.lanes[lane];
    CompOptions options = comp.CompConfig().IsOpen() ? CompSettings::ReadOptions(comp.CompConfig()) : CompOptions();
    bool frameShot = options.IsOn(CompOptions::RemoveFrameShots) && (shot.flags & CDataComp::kFlagFrame);

    shot.displayPos = 0;
    shot.countingSeries = 0;
    shot.series &= 0x7F;
    if (m_obj.CompInt(CompSettings::kMarkKind) <= 2)
        shot.flags |= CDataComp::kFlagShown;

    if (b.active.relay != 0) {
        int limit = m_obj.programs.GetSerieShots(shot.series, 0);
        bool hadList = b.card.shotRec != 0;
        int32_t counter = comp.AddShot(relay, lane, shot, &b.shots, limit, frameShot ? 1 : 0);
        if (counter > 0)
            b.cardCounter = counter;
        if (!hadList) {
            // The card got its shot list with this shot.
            m_links.cards.TakeLaneSettings(lane);
            CardRecord card;
            CDataComp::ClearCard(card);
            card.relay = b.active.relay;
            card.lane = static_cast<int16_t>(comp.StartNumberMode() ? 0 : lane);
            if (comp.CardFile().ReadRecKey(&card) == 0) {
                b.card = card;
                m_links.cards.StoreLaneSettings(lane);
            }
        }
        b.rowMark = 1;
        m_links.files.ReloadShots(false);
        m_links.files.RefreshChangedRows();
    } else {
        // A lane without a relay has no card to take the shot.
        m_services.ShowStatusFor("IDS_WRN_THROWSHOT", kLostShotTicks);
    }
    SendLaneText(lane, 0, false);
    // A burst of shots raises the shared change counters once.
    m_tick.fileTouchCountdown = TickCounters::kShotTouchTicks;
    if (m_obj.RangeInt(RangeItems::kResultsProgram) == 0 && options.IsOn(CompOptions::SendResultsAutomatically))
        m_links.exchange.SendResults(relay, relay, lane, 1);
}

void ShotIntake::RequestMissingShots(int lane)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    uint8_t states[CDataComp::kSlots];
    int32_t* timers = b.fetchRunning ? b.fetchTimers : b.shotTimers;
    for (int i = 0; i < CDataComp::kSlots; ++i)
        states[i] = b.fetchRunning ? static_cast<uint8_t>(b.fetchStates[i]) : b.shots.shots[i].state;
    ShotRequest r = ShotRequests::Plan(states, timers);
    if (r.first == 0)
        return;
    b.cardCountdown = kCardSummaryTicks;
    ShotRequestCmd c;
    c.lane = lane;
    c.first = r.first;
    c.last = r.last;
    c.fetching = b.fetchRunning != 0;
    LineMessage m;
    c.Build(m);
    // The request names its lane inside; every open line carries it.
    m_links.commands.SendCommand(0, m, Cmd::kEveryLine);
}

void ShotIntake::SendCardSummary(int lane)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    b.cardCountdown = 0;
    CardSummaryCmd c;
    c.lane = lane;
    if (b.fetchRunning) {
        c.kind = 1;
        c.fetching = true;
        c.relay = b.printRelay;
        c.printSeries = b.printSeries;
    } else if (b.cardCheckRequested) {
        CardCheck check = CardCheck::Of(b.shots);
        c.kind = 7;
        c.relay = b.active.relay;
        c.competition = m_obj.CompetitionNumber();
        c.shots = check.shots;
        c.shotsSum = b.shotsSum;
        c.checks = check.checks;
        b.cardCountdown = kCardSummaryTicks;
    } else {
        c.kind = 1;
    }
    LineMessage m;
    c.Build(m);
    m_links.commands.SendCommand(lane, m, Cmd::kEveryLine);
}

std::string ShotIntake::LaneText()
{
    if (!m_obj.comp.IsOpen() || !m_obj.comp.CompConfig().IsOpen())
        return {};
    std::string text = ReadItem(m_obj.comp.CompConfig(), CompSettings::kLaneText);
    if (text.size() > 31)
        text.resize(31);
    return text;
}

void ShotIntake::SendLaneText(int lane, int series, bool force)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    if (series == 0)
        series = b.active.seriesState & 0x7F;
    std::string text = LaneText();
    if (text.empty())
        return;
    // The text shows only once the series is complete.
    int shots = series >= 1 && series <= CDataComp::kMaxSeries ? m_obj.programs.GetSerieShots(series, 0) : 0;
    if (shots == 0 || b.shotsPerSeries[series] < shots)
        text.clear();
    if (!force && text == b.lastText)
        return;
    m_links.commands.SendText(lane, text);
}

void ShotIntake::LaneWork()
{
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        int32_t* timers = b.fetchRunning ? b.fetchTimers : b.shotTimers;
        for (int i = 0; i < CDataComp::kSlots; ++i)
            if (timers[i] != 0)
                --timers[i];
        RequestMissingShots(lane);
        if (b.cardCountdown != 0 && --b.cardCountdown == 0)
            SendCardSummary(lane);
    }
}
