#include "range/run/SeriesCommands.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "platform/system/Clock.h"
#include "range/lanes/Commands.h"
#include "range/run/FrameServices.h"
#include "range/run/RangeControl.h"
#include "range/run/RangeObjects.h"
#include "range/run/TickSchedule.h"

#include <algorithm>

namespace {

constexpr int kTurningMode = 188;  // 0xBC
constexpr int kClockMode = 122;    // 0x7A
constexpr int kShootMode = 48;
constexpr uint8_t kClockRunningFlags = 0xC0;
constexpr int kModeRepeatTicks = 15;
constexpr int kMostPendingModes = 5;

const char* const kKindKeys[] = {"IDS_PANEL_MARK0", "IDS_PANEL_MARK1", "IDS_PANEL_MARK2"};

}  // namespace

SeriesCommands::SeriesCommands(RangeObjects& objects, FrameServices& services, RangeControl& range,
                               TickSchedule& tick, SeriesHost& host)
    : m_obj(objects), m_services(services), m_range(range), m_tick(tick), m_host(host)
{
}

int SeriesCommands::CardCountdown(int lane) { return (lane + 10 * (lane % 10)) * 100 / 200 + 100; }

int SeriesCommands::PendingModes(int periodSeconds)
{
    return std::clamp(periodSeconds * 1000 / 3000, 0, kMostPendingModes);
}

bool SeriesCommands::SeriesAccepted(int series)
{
    if (series >= kFirstSeries && series <= kLastSeries)
        return true;
    m_services.Message(m_obj.Text("IDS_WRN_ILLEGAL_SERIE"));
    return false;
}

bool SeriesCommands::TurningTargets()
{
    int equipment = m_obj.programs.GetEquipment(0);
    return equipment == 1 || equipment == 129;
}

void SeriesCommands::ShowSeriesStatus(const char* key, int markKind, int series)
{
    const char* kindKey = markKind >= 0 && markKind <= 2 ? kKindKeys[markKind] : nullptr;
    m_services.ShowStatusKeys(key, kindKey, m_obj.programs.GetSerieName(series, nullptr, 0));
}

void SeriesCommands::RedrawRows(int first, int last)
{
    for (int lane = std::max(first, 1); lane <= std::min(last, LaneTable::kLastLane); ++lane)
        m_services.RedrawRow(lane);
}

bool SeriesCommands::AddressedLanes(const char* titleKey, bool askLane, std::vector<int>& lanes)
{
    const CompOptions options = m_obj.Options();
    const bool ask = !options.IsOn(CompOptions::RelayChangeAllLanes) ||
                     options.IsOn(CompOptions::ShooterSelectsSeries) || askLane;
    const int first = m_obj.lanes.NextActiveLane(0);
    if (ask) {
        LaneChoice choice;
        choice.titleKey = titleKey;
        choice.lane = first;
        choice.relay = LaneTable::IsLane(first) ? m_obj.lanes[first].card.relay : 0;
        if (!m_host.ChooseLane(choice))
            return false;
        if (!choice.allTargets) {
            lanes = {std::clamp(choice.lane, LaneTable::kFirstLane, LaneTable::kLastLane)};
            return true;
        }
    }
    lanes.clear();
    for (int lane = first; lane != 0; lane = m_obj.lanes.NextActiveLane(lane))
        lanes.push_back(lane);
    return true;
}

void SeriesCommands::OutsideLanes(const std::vector<int>& lanes, int series, bool seriesMarking, bool mark)
{
    const int fireKind = m_obj.programs.GetSerieShots(series, 0) == 0 ? 1 : seriesMarking ? 3 : 2;
    for (int lane : lanes) {
        const LaneBlock& b = m_obj.lanes[lane];
        if (b.channelType != PortRecord::kOutsideSystem || !b.enabled)
            continue;
        CVI9001* outside = m_obj.ports[b.channel].outside;
        if (!outside)
            continue;
        if (mark)
            outside->Mark(lane, series, fireKind);
        else
            outside->StartSerie(lane, series, fireKind);
        if (outside->State() > CVI9001::kMark1)
            m_range.channels.MarkLane(lane, 4);
    }
}

void SeriesCommands::SetSeries(int lane, int series)
{
    LaneBlock& b = m_obj.lanes[lane];
    uint8_t byte = static_cast<uint8_t>(series);
    if (b.channelType != PortRecord::kOutsideSystem)
        byte |= 0x80;
    m_range.records.WriteActive(lane, byte);
    b.active.seriesState = byte;
}

void SeriesCommands::SendClockMode(int lane)
{
    if (!SeriesAccepted(m_obj.CompInt(CompSettings::kCurrentSeries)))
        return;
    if (lane == 0)
        m_range.commands.clockStartTick = platform::TickCount();
    if (TurningTargets()) {
        m_range.commands.SendMode(kTurningMode, lane, m_obj.clock.IsRunning() ? kClockRunningFlags : 0);
        RedrawRows(m_obj.lanes.NextActiveLane(0), 99);
    } else {
        m_range.commands.SendMode(kClockMode, lane, 0);
    }
    m_host.SendClock();
    const int pending = PendingModes(m_obj.clock.GetSetPeriod());
    for (int l = m_obj.lanes.NextActiveLane(0); l != 0; l = m_obj.lanes.NextActiveLane(l))
        m_obj.lanes[l].pendingMode = pending;
    m_tick.resendCountdown = kModeRepeatTicks;
}

void SeriesCommands::ShootSeries(int markKind, int seriesIndex, bool askLane)
{
    const int series = seriesIndex + 1;
    if (!SeriesAccepted(series))
        return;
    const int zoomMode = m_obj.CompInt(CompSettings::kZoomMode);
    const int twin = m_obj.CompInt(CompSettings::kTwinLane);
    // The officer answers first: a cancelled command sends nothing at all.
    std::vector<int> lanes;
    if (!AddressedLanes("IDS_LANESEL_TITLE_SHOOT", askLane, lanes))
        return;
    if (twin != 0) {
        m_range.sums.ClearSums(m_obj.lanes.NextActiveLane(0), series);
        m_tick.sumsCountdown = 0;
    }

    int oldShots = 0;
    for (int lane : lanes)
        oldShots += m_obj.lanes[lane].shotsPerSeries[series];
    ShowSeriesStatus("IDS_INFO_SHOOT1", markKind, series);

    MarkCmd c;
    c.form = MarkCmd::kShoot;
    c.series = series;
    c.seriesMarking = markKind >= 1;
    c.tempo = m_obj.CompInt(CompSettings::kMarkingTempo);
    c.zoomMode = zoomMode;
    LineMessage m;
    c.Build(m);
    OutsideLanes(lanes, series, c.seriesMarking, false);
    for (int lane : lanes)
        m_range.commands.SendCommand(lane, m, Cmd::kMarkLanes);
    if (twin != 0)
        m_range.commands.SendCommand(twin, m, Cmd::kEvenDisabled);

    for (int lane : lanes) {
        LaneBlock& b = m_obj.lanes[lane];
        b.rowMark = 1;
        SetSeries(lane, series);
        b.printFlag = 1;
        if (b.cardCountdown == 0)
            b.cardCountdown = CardCountdown(lane);
    }
    m_range.commands.SendMode(kShootMode, 0, 0);
    const bool bandTargets =
        m_obj.programs.GetEquipment(0) == 129 && m_obj.RangeInt(RangeItems::kExternalEquipment) == 1;
    m_range.commands.SendShoot(0, bandTargets ? 1 : 2);

    m_range.records.WriteActive(0, 0);
    m_range.files.CheckFiles(true);
    m_range.files.ReloadShots(true);
    m_host.RefreshViews();
    m_range.files.RefreshChangedRows();
    if (!lanes.empty())
        RedrawRows(lanes.front(), lanes.back());
    m_tick.sumsCountdown = 0;
    if (oldShots > 0)
        m_services.Message(m_obj.Text("IDS_WRN_OLDSHOTS"));
}

void SeriesCommands::MarkSeries(int markKind, int seriesIndex, bool askLane)
{
    const int series = seriesIndex + 1;
    if (!SeriesAccepted(series))
        return;
    ShowSeriesStatus("IDS_INFO_MARK", markKind, series);
    const int twin = m_obj.CompInt(CompSettings::kTwinLane);
    const int zoomMode = m_obj.CompInt(CompSettings::kZoomMode);
    std::vector<int> lanes;
    if (!AddressedLanes("IDS_LANESEL_TITLE_MARK", askLane, lanes))
        return;
    if (twin != 0) {
        m_range.sums.ClearSums(m_obj.lanes.NextActiveLane(0), series);
        m_tick.sumsCountdown = 0;
    }

    MarkCmd c;
    c.form = MarkCmd::kMark;
    c.series = series;
    c.seriesMarking = markKind >= 1;
    c.tempo = m_obj.CompInt(CompSettings::kMarkingTempo);
    c.zoomMode = zoomMode;
    c.shooterClock = m_obj.Options().IsOn(CompOptions::ShooterClock);
    LineMessage m;
    c.Build(m);
    OutsideLanes(lanes, series, c.seriesMarking, true);
    for (int lane : lanes)
        m_range.commands.SendCommand(lane, m, Cmd::kMarkLanes);
    for (int lane : lanes) {
        m_obj.lanes[lane].printFlag = 0;
        SetSeries(lane, series);
    }

    m_obj.clock.Stop();
    m_host.RedrawClock();
    m_host.SendClock();
    if (m_obj.RangeInt(RangeItems::kExternalEquipment) != 0 && TurningTargets()) {
        // Turning targets turn away on a clock of their own.
        m_obj.clock.Set(0, 0, 1);
        m_obj.clock.Start();
        m_host.RedrawClock();
        m_range.commands.SendMode(kShootMode, 0, 0);
    }
    m_range.records.WriteActive(0, 0);
    m_range.files.ReloadShots(true);
    m_range.files.RefreshChangedRows();
    if (!lanes.empty())
        RedrawRows(lanes.front(), lanes.back());
}

void SeriesCommands::MarkTwinLane(int markKind, int seriesIndex)
{
    const int series = seriesIndex + 1;
    if (!SeriesAccepted(series))
        return;
    const int twin = m_obj.CompInt(CompSettings::kTwinLane);
    const int lane = m_obj.lanes.NextActiveLane(0);
    if (twin == 0 || lane == 0)
        return;
    ShowSeriesStatus("IDS_INFO_MARK2", markKind, series);
    const int zoomMode = m_obj.CompInt(CompSettings::kZoomMode);

    MarkCmd c;
    c.form = MarkCmd::kTwinMark;
    c.series = series;
    c.seriesMarking = markKind >= 1;
    c.tempo = m_obj.CompInt(CompSettings::kMarkingTempo);
    c.zoomMode = zoomMode;
    c.shooterClock = m_obj.Options().IsOn(CompOptions::ShooterClock);
    LineMessage m;
    c.Build(m);
    const int last = m_range.commands.SendCommand(lane, m, Cmd::kMarkLanes);
    m_obj.lanes[lane].printFlag = 0;
    SetSeries(lane, series);

    LineMessage p;
    TwinMarkCmd{series, zoomMode}.Build(p);
    m_range.commands.SendCommand(twin, p, Cmd::kEvenDisabled);
    m_range.sums.StartSums(lane, series);
    m_obj.clock.Stop();
    m_host.SendClock();
    m_host.RedrawClock();

    m_range.records.WriteActive(0, 0);
    m_range.files.ReloadShots(true);
    m_range.files.RefreshChangedRows();
    RedrawRows(lane, std::max(lane, last));
}
