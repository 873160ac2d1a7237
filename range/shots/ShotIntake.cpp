// Shot intake: a shot from a target unit's message onto the shooting card
// and into the shot file, the gaps asked for again, the card summary by which
// the lane's monitor compares its card with ours, the lane text when a series
// is complete, and the sums the twin lane's monitor shows shot by shot.
#include "range/ui/MainFrm.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/system/Clock.h"
#include "range/lanes/Commands.h"
#include "range/shots/ShotMessage.h"
#include "range/shots/ShotRequests.h"

#include <algorithm>
#include <vector>

namespace {

// Whether a shot's warning bit shows in the lane's line status.
constexpr ConfigIntItem kShowShotWarning{1, 1, 2, 1};

// Ticks: a warning stays in the status bar for 30 s, a lost shot's for 5 s;
// a lane's card summary follows 20 s after its last shot or request.
constexpr int kWarningTicks = 150;
constexpr int kLostShotTicks = 25;
constexpr int kCardSummaryTicks = 100;

}  // namespace

void CMainFrame::OnShotMsg(const LineMessage& m)
{
    const uint8_t* d = m.data;
    int lane = d[4];
    if (!LaneTable::IsLane(lane)) {
        // The twin lane's monitor echoes what it shows; that is no shot.
        if (lane != CompInt(CompSettings::kTwinLane))
            ShowStatusFor("IDS_WRN_ILLEGAL_LANE", kWarningTicks);
        return;
    }
    LaneBlock& b = m_obj.lanes[lane];
    ShotMessage s = ShotMessage::Parse(d);
    b.targetRelay = static_cast<int16_t>(s.relay);
    b.targetCompetition = static_cast<int16_t>(s.competition);

    if (s.kind == ShotMessage::kRepeated && b.fetchRunning) {
        OnFetchShot(m);
        return;
    }
    int competition = CompetitionNumber();
    if (s.competition != competition) {
        // Not stored and not confirmed beyond the line's own acknowledgement:
        // the unit keeps the shot.
        BV_LOG(m_log, 80, "Illegal Competition at Lane=%d Msg=%d BVLeder=%d", lane, s.competition, competition);
        ShowStatusFor("IDS_WRN_ILLEGAL_COMP", kWarningTicks);
        return;
    }
    if (s.relay != b.active.relay) {
        if (competition != 0) {
            BV_LOG(m_log, 80, "Illegal relay at Lane=%d Msg=%d BVLeder=%d", lane, s.relay, b.active.relay);
            ShowStatusFor("IDS_WRN_ILLEGAL_RELAY", kWarningTicks);
            return;
        }
        // In the practice competition the lane follows its shooter's relay.
        CDataComp::ClearCard(b.card);
        b.card.relay = static_cast<int16_t>(s.relay);
        b.card.lane = static_cast<int16_t>(lane);
        TakeLaneSettings(lane);
        StoreLaneSettings(lane);
        m_obj.comp.GetCard(b.card, 1);
        m_obj.comp.ReadActive(lane, b.active);
    }
    b.active.seriesState = static_cast<uint8_t>(s.currentSeries);

    if (!s.IsShot()) {
        ReloadShotRecord(s.relay, lane, s.cardCount);
        WriteActive(lane, b.active.seriesState);
        RedrawRow(lane);
        SendLaneText(lane, 0, true);
        RequestMissingShots(lane);
        return;
    }

    b.cardCountdown = kCardSummaryTicks;
    if (s.series < 1 || s.series > CDataComp::kMaxSeries || s.shotNumber < 1 || s.shotNumber > CDataComp::kSlots) {
        ShowStatusFor("IDS_WRN_ILLEGAL_SHOT", kWarningTicks);
        return;
    }
    // The shot arrived: it is not asked for again.
    b.shotTimers[s.shotNumber - 1] = 0;
    if (s.kind == ShotMessage::kRepeated)
        ShowStatusFor("IDS_WRN_FETCH_SHOT", kWarningTicks);

    ShotRecord shot = ShotMessage::ToShotRecord(d, platform::Now());
    // A unit that reports its shot as a free or skipped slot must not leave
    // a hole in the card: the shot would be asked for again without end and
    // overwritten by the next one.
    if (shot.state == CDataComp::kSlotFree || shot.state == CDataComp::kSlotSkipped)
        shot.state = CDataComp::kSlotShot;
    b.shotWarning = (shot.flags & 0x200) && RangeInt(kShowShotWarning) != 0;
    if (competition == 0) {
        b.active.seriesState = static_cast<uint8_t>(s.series);
        b.targetRelay = static_cast<int16_t>(s.relay);
        b.targetCompetition = static_cast<int16_t>(s.competition);
    }
    StoreShot(s.relay, lane, shot);
    ReloadShotRecord(s.relay, lane, s.cardCount);
    RequestMissingShots(lane);
    WriteActive(lane, b.active.seriesState);
}

void CMainFrame::StoreShot(int relay, int lane, ShotRecord& shot)
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
    if (CompInt(CompSettings::kMarkKind) <= 2)
        shot.flags |= 0x80;

    if (b.active.relay != 0) {
        int limit = m_obj.programs.GetSerieShots(shot.series, 0);
        bool hadList = b.card.shotRec != 0;
        int32_t counter = comp.AddShot(relay, lane, shot, &b.shots, limit, frameShot ? 1 : 0);
        if (counter > 0)
            b.cardCounter = counter;
        if (!hadList) {
            // The card got its shot list with this shot.
            TakeLaneSettings(lane);
            CardRecord card;
            CDataComp::ClearCard(card);
            card.relay = b.active.relay;
            card.lane = static_cast<int16_t>(comp.StartNumberMode() ? 0 : lane);
            if (comp.CardFile().ReadRecKey(&card) == 0) {
                b.card = card;
                StoreLaneSettings(lane);
            }
        }
        b.rowMark = 1;
        ReloadShots(false);
        RefreshChangedRows();
    } else {
        // A lane without a relay has no card to take the shot.
        ShowStatusFor("IDS_WRN_THROWSHOT", kLostShotTicks);
    }
    SendLaneText(lane, 0, false);
    // A burst of shots raises the shared change counters once.
    m_tick.fileTouchCountdown = TickSchedule::kShotTouchTicks;
    if (RangeInt(RangeItems::kResultsProgram) == 0 && options.IsOn(CompOptions::SendResultsAutomatically))
        SendResults(relay, relay, lane, 1);
}

void CMainFrame::RequestMissingShots(int lane)
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
    SendCommand(0, m, Cmd::kEveryLine);
}

void CMainFrame::SendCardSummary(int lane)
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
        c.competition = CompetitionNumber();
        c.shots = check.shots;
        c.shotsSum = b.shotsSum;
        c.checks = check.checks;
        b.cardCountdown = kCardSummaryTicks;
    } else {
        c.kind = 1;
    }
    LineMessage m;
    c.Build(m);
    SendCommand(lane, m, Cmd::kEveryLine);
}

std::string CMainFrame::LaneText()
{
    if (!m_obj.comp.IsOpen() || !m_obj.comp.CompConfig().IsOpen())
        return {};
    std::string text = ReadItem(m_obj.comp.CompConfig(), CompSettings::kLaneText);
    if (text.size() > 31)
        text.resize(31);
    return text;
}

void CMainFrame::SendLaneText(int lane, int series, bool force)
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
    SendText(lane, text);
}

void CMainFrame::StartSums(int lane, int series)
{
    m_sumsLane = lane;
    m_sumsSeries = series;
    m_sumsIndex = 0;
    SendSums();
}

void CMainFrame::SendSums()
{
    int twin = CompInt(CompSettings::kTwinLane);
    SumsCmd c;
    c.zoomMode = CompInt(CompSettings::kZoomMode);
    c.laneShown = m_sumsLane;
    c.seriesShown = m_sumsSeries;
    bool show = m_sumsIndex >= 0 && LaneTable::IsLane(m_sumsLane) && m_sumsSeries >= 1 &&
                m_sumsSeries <= CDataComp::kMaxSeries && m_obj.lanes[m_sumsLane].shotsPerSeries[m_sumsSeries] > 0;
    if (show) {
        const LaneBlock& b = m_obj.lanes[m_sumsLane];
        int system = b.card.valueSystem;
        int external = RangeInt(RangeItems::kExternalEquipment);
        int earlier = 0;
        for (const ShotRecord& r : b.shots.shots)
            if (r.state == CDataComp::kSlotShot && r.countingSeries >= 1 && r.countingSeries < m_sumsSeries)
                earlier += CDataComp::CountedValue(r.value, system);
        // The shots of the series shown, in the order the card shows them.
        uint8_t order[CDataComp::kSlots];
        bool resort = external == 1 && m_obj.programs.GetEquipment(0) == 129;
        CDataComp::BuildShotOrder(b.shots, order, resort);
        std::vector<int> shown;
        for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i)
            if (b.shots.shots[order[i]].countingSeries == m_sumsSeries)
                shown.push_back(order[i]);
        if (m_sumsIndex < static_cast<int>(shown.size())) {
            int running = 0;
            for (int i = 0; i <= m_sumsIndex; ++i)
                running += CDataComp::CountedValue(b.shots.shots[shown[static_cast<size_t>(i)]].value, system);
            const ShotRecord& shot = b.shots.shots[shown[static_cast<size_t>(m_sumsIndex)]];
            const ShotRecord& first = b.shots.shots[shown.front()];
            c.kind = SumsCmd::kShot;
            c.seriesTenths = running / 10;
            c.totalTenths = (earlier + running) / 10;
            c.shotIndex = m_sumsIndex;
            c.valueTenths = CDataComp::CountedValue(shot.value, system) / 10;
            c.runByte = SumsCmd::RunByte(external, shot.data44, first.data44, m_sumsIndex + 1);
            c.xMicrometres = shot.x;
            c.yMicrometres = shot.y;
            LineMessage m;
            c.Build(m);
            SendCommand(twin, m, Cmd::kEvenDisabled);
            ++m_sumsIndex;
            if (m_sumsIndex < static_cast<int>(shown.size()))
                m_tick.sumsCountdown = CompInt(CompSettings::kMarkingTempo) * 1000 / TickSchedule::kTickMs;
            return;
        }
    }
    c.kind = SumsCmd::kClear;
    LineMessage m;
    c.Build(m);
    SendCommand(twin, m, Cmd::kEvenDisabled);
}
