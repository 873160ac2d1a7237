#include "range/run/RelayChange.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/Commands.h"
#include "range/run/RangeControl.h"

#include <algorithm>

namespace {

// The line set-up a lane gets with its new card.
constexpr uint8_t kNewCardSetup = 0x5A;
// The mode that starts the targets over.
constexpr int kStartMode = 48;
// A new active record's series: series 1, still to be confirmed by the target.
constexpr uint8_t kNewSeries = 129;

CVI9001* OutsideOf(RangeObjects& objects, int lane)
{
    const LaneBlock& b = objects.lanes[lane];
    if (b.channelType != PortRecord::kOutsideSystem || b.channel >= objects.ports.size())
        return nullptr;
    return objects.ports[b.channel].outside;
}

}  // namespace

RelayChoice ProposedRelays(RangeObjects& objects, const RelayRequest& request)
{
    RelayChoice c;
    bool startNumbers = objects.Options().IsOn(CompOptions::StartNumbers);
    c.allLanes = !startNumbers && objects.Options().IsOn(CompOptions::RelayChangeAllLanes) && !request.noAllLanes;
    if (request.reset) {
        c.relay = 1;
        for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
            if (objects.lanes.IsActive(lane))
                c.laneRelay[static_cast<size_t>(lane)] = 1;
        return c;
    }
    // The highest relay on any lane, or the one after it.
    c.relay = 1;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        int relay = objects.lanes[lane].active.relay;
        if (relay >= c.relay)
            c.relay = request.nextRelay ? relay + 1 : relay;
    }
    bool everyLaneNext = c.allLanes && request.nextRelay && !startNumbers;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (objects.lanes.IsActive(lane))
            c.laneRelay[static_cast<size_t>(lane)] = everyLaneNext ? c.relay : objects.lanes[lane].active.relay;
    return c;
}

bool ProposedRelayChooser::Choose(const RelayRequest& request, RelayChoice& choice)
{
    choice = ProposedRelays(m_obj, request);
    // On OK every active lane takes the relay for all.
    if (choice.allLanes)
        for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
            if (m_obj.lanes.IsActive(lane))
                choice.laneRelay[static_cast<size_t>(lane)] = choice.relay;
    return true;
}

RelayChange::RelayChange(RangeObjects& objects, FrameServices& services, RangeControl& range)
    : m_obj(objects), m_services(services), m_range(range)
{
}

int RelayChange::NewRelay(const RelayRequest& request, RelayChooser& chooser,
                          const std::function<void(int lane)>& welcome)
{
    RelayChoice choice;
    if (!chooser.Choose(request, choice))
        return kCancel;

    BusyScope busy(m_services);
    CDataComp& comp = m_obj.comp;
    const int competition = m_obj.CompetitionNumber();
    // The twin lane's monitor shows nobody's sums any more.
    if (m_obj.CompInt(CompSettings::kTwinLane) != 0)
        m_range.sums.ClearSums(m_obj.lanes.NextActiveLane(0), 1);

    const int firstMark = std::clamp(m_obj.programs.GetSerieMark(1, 0), 0, 2);
    std::array<bool, LaneTable::kLastLane + 1> relayChanged{};
    bool renewed = false;
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        int relay = choice.RelayOf(lane);
        if (!request.force && relay == b.card.relay && relay == b.targetRelay && b.targetCompetition == competition)
            continue;
        relayChanged[static_cast<size_t>(lane)] = relay != b.card.relay;
        b.card.relay = static_cast<int16_t>(relay);
        // Keyed by lane 0 in start-number mode; GetCard sees to that.
        b.card.lane = static_cast<int16_t>(lane);
        b.card.shotRec = 0;
        b.card.nameRec = 0;
        b.card.resultState = 0;
        comp.GetCard(b.card, 1);
        b.card.lane = static_cast<int16_t>(lane);
        CVI9001* outside = OutsideOf(m_obj, lane);
        if (outside) {
            b.targetCompetition = b.card.targetComp;
            b.targetRelay = b.card.relay;
            b.sensitivity = b.card.sensitivity;
            b.lineStatus = LineStatus::kOutside;
            b.targetState = 1;
            outside->NewRelay(lane);
            BV_LOG(m_log, 90, "Call to SA_NewRelay(%d)", lane);
        } else {
            b.lineStatus = LineStatus::kPending;
            b.targetCompetition = -1;
            b.targetRelay = -1;
        }

        renewed = true;
        b.rowMark = 1;
        ActiveRecord active;
        if (comp.ReadActive(lane, active) != 0) {
            CDataComp::ClearActive(active);
            active.lane = lane;
        }
        active.relay = b.card.relay;
        active.seriesState = outside ? 1 : kNewSeries;
        ++active.changeCounter;
        if (comp.ActiveFile().WriteRecKey(&active) != 0)
            BV_LOG(m_log, 80, "Failed to write active record of lane %d", lane);
        b.active = active;
    }

    // The new relay starts at series 1 with the program's mark kind for it.
    if (renewed && comp.IsOpen() && comp.CompConfig().IsOpen()) {
        WriteItem(comp.CompConfig(), CompSettings::kCurrentSeries, 1);
        WriteItem(comp.CompConfig(), CompSettings::kMarkKind, firstMark + 1);
    }
    m_range.records.WriteActive(0, 0);
    m_range.commands.SendMode(kStartMode, 0, 0);
    m_range.files.CheckFiles(true);
    m_range.files.ReloadShots(true);
    m_services.RefreshPanel();
    m_range.files.RefreshChangedRows();
    int equipment = m_obj.programs.GetEquipment(0);
    int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
    if ((equipment == 3 || equipment == 131) && (external == 3 || external == 4))
        m_range.exchange.ImportNames(0);

    const bool autoWelcome = m_obj.Options().IsOn(CompOptions::AutoWelcomeText);
    const int seriesShots = m_obj.programs.GetSerieShots(1, 0);
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        if (CVI9001* outside = OutsideOf(m_obj, lane)) {
            if (b.enabled) {
                int fire = seriesShots == 0 ? 1 : firstMark == 1 ? 3 : 2;
                outside->StartSerie(lane, 1, fire);
                if (outside->State() > 1)
                    b.lineStatus = LineStatus::kPending;
            }
            continue;
        }
        m_range.commands.SendLaneSetup(lane, kNewCardSetup);
        if (autoWelcome && !choice.allLanes && relayChanged[static_cast<size_t>(lane)] && welcome)
            welcome(lane);
    }
    if (autoWelcome && choice.allLanes && welcome)
        welcome(0);

    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0; lane = m_obj.lanes.NextActiveLane(lane))
        m_services.RedrawRow(lane);
    m_services.ShowStatusKey("IDS_INFO_NEWCARD");
    return kOk;
}
