#include "range/run/SeriesCommands.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "platform/system/Clock.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/base/TickCounters.h"
#include "range/lanes/Commands.h"
#include "range/run/RangeControl.h"

#include <algorithm>

namespace {

constexpr int kTurningMode = 188;  // 0xBC
constexpr int kClockMode = 122;    // 0x7A
constexpr int kShootMode = 48;
constexpr uint8_t kClockRunningFlags = 0xC0;
constexpr int kMostPendingModes = 5;

const char* const kKindKeys[] = {"IDS_PANEL_MARK0", "IDS_PANEL_MARK1", "IDS_PANEL_MARK2"};

}  // namespace

SeriesCommands::SeriesCommands(RangeObjects& objects, FrameServices& services, RangeControl& range,
                               TickCounters& tick, SeriesHost& host)
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

bool SeriesCommands::ShooterClock() { return m_obj.Options().IsOn(CompOptions::ShooterClock); }

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
    m_tick.resendCountdown = TickCounters::kModeRepeatTicks;
}

bool SeriesCommands::AddressSeries(const char* titleKey, int series, bool askLane, std::vector<int>& lanes)
{
    if (!AddressedLanes(titleKey, askLane, lanes))
        return false;
    if (m_obj.CompInt(CompSettings::kTwinLane) != 0) {
        m_range.sums.ClearSums(m_obj.lanes.NextActiveLane(0), series);
        m_tick.sumsCountdown = 0;
    }
    return true;
}

LineMessage SeriesCommands::MarkMessage(MarkCmd::Form form, int series, int markKind, bool shooterClock)
{
    MarkCmd c;
    c.form = form;
    c.series = series;
    c.seriesMarking = markKind >= 1;
    c.tempo = m_obj.CompInt(CompSettings::kMarkingTempo);
    c.zoomMode = m_obj.CompInt(CompSettings::kZoomMode);
    c.shooterClock = shooterClock;
    LineMessage m;
    c.Build(m);
    return m;
}

void SeriesCommands::SendToLanes(const std::vector<int>& lanes, const LineMessage& m, int series, int markKind,
                                 bool mark)
{
    OutsideLanes(lanes, series, markKind >= 1, mark);
    for (int lane : lanes)
        m_range.commands.SendCommand(lane, m, Cmd::kMarkLanes);
}

void SeriesCommands::ShootSeries(int markKind, int seriesIndex, bool askLane)
{
    const int series = seriesIndex + 1;
    if (!SeriesAccepted(series))
        return;
    // The officer answers first: a cancelled command sends nothing at all.
    std::vector<int> lanes;
    if (!AddressSeries("IDS_LANESEL_TITLE_SHOOT", series, askLane, lanes))
        return;

    int oldShots = 0;
    for (int lane : lanes)
        oldShots += m_obj.lanes[lane].shotsPerSeries[series];
    ShowSeriesStatus("IDS_INFO_SHOOT1", markKind, series);

    const LineMessage m = MarkMessage(MarkCmd::kShoot, series, markKind, false);
    SendToLanes(lanes, m, series, markKind, false);
    if (const int twin = m_obj.CompInt(CompSettings::kTwinLane); twin != 0)
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
    m_range.commands.SendShootToAll(bandTargets ? 1 : 2);

    m_range.records.WriteActive(0, 0);
    m_range.ReadFilesAgain(true, true);
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
    std::vector<int> lanes;
    if (!AddressSeries("IDS_LANESEL_TITLE_MARK", series, askLane, lanes))
        return;

    const LineMessage m = MarkMessage(MarkCmd::kMark, series, markKind, ShooterClock());
    SendToLanes(lanes, m, series, markKind, true);
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

    const LineMessage m = MarkMessage(MarkCmd::kTwinMark, series, markKind, ShooterClock());
    const int last = m_range.commands.SendCommand(lane, m, Cmd::kMarkLanes);
    m_obj.lanes[lane].printFlag = 0;
    SetSeries(lane, series);

    LineMessage p;
    TwinMarkCmd{series, m_obj.CompInt(CompSettings::kZoomMode)}.Build(p);
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
