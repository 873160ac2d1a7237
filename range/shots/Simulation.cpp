#include "range/shots/Simulation.h"

#include "foundation/settings/CompSettings.h"
#include "platform/system/Clock.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/base/TickCounters.h"
#include "range/lanes/LaneRecords.h"
#include "range/lanes/LineChannels.h"
#include "range/shots/ShotIntake.h"

Simulation::Simulation(RangeObjects& objects, FrameServices& services, TickCounters& tick, LineChannels& channels,
                       LaneRecords& records, ShotIntake& intake)
    : m_obj(objects), m_services(services), m_tick(tick), m_channels(channels), m_records(records), m_intake(intake)
{
}

int Simulation::EffectiveTargetType(int lane)
{
    if (!LaneTable::IsLane(lane))
        return 0;
    const LaneBlock& b = m_obj.lanes[lane];
    int type = b.card.targetType;
    if (type != 29)
        return type;
    // The mixed target: each series says which face it uses.
    int series = b.active.seriesState & 0x7F;
    type = m_obj.programs.GetSerieTarget(series, 0) == 2 ? 21 : 19;
    if (b.card.sensitivity == 1)
        type += 1;
    return type;
}

void Simulation::SimulateShots(int lane, int kind)
{
    if (m_obj.CompetitionNumber() == 0) {
        m_services.Message(m_obj.Text("IDS_WRN_NOSIMTRAIN"));
        return;
    }
    int first = lane != 0 ? lane : LaneTable::kFirstLane;
    int last = lane != 0 ? lane : LaneTable::kLastLane;
    if (!LaneTable::IsLane(first) || !LaneTable::IsLane(last))
        return;
    for (int l = first; l <= last; ++l) {
        LaneBlock& b = m_obj.lanes[l];
        if (b.channelType == 0 || !b.enabled)
            continue;
        if (!m_channels.Simulation()) {
            if (lane != 0) {
                m_services.Message(m_obj.Text("IDS_WRN_NOSIM"));
                return;
            }
            continue;
        }
        m_tick.MessageCame();
        int type = EffectiveTargetType(l);
        if (kind == 0) {
            m_simulator.NextSeries(l);
            continue;
        }
        ShotSimulator::ShotInput in;
        in.kind = kind;
        in.lane = l;
        in.targetType = type;
        in.valueSystem = b.card.valueSystem;
        in.bandFrequency = b.card.band1;
        in.bandLength = b.card.band2;
        in.series = b.active.seriesState & 0x7F;
        // Without the distances set, the target's own distance.
        int own = m_obj.targetTypes.GetDistance(type);
        in.distance = m_obj.CompInt(ConfigIntItem{2, 1, 5, own});
        in.simulatedDistance = m_obj.CompInt(ConfigIntItem{2, 1, 6, own});
        ShotRecord shot = m_simulator.MakeShot(in, m_obj.targetTypes, platform::Now());
        m_intake.StoreShot(b.active.relay, l, shot);
        b.active.seriesState &= 0x7F;
        m_records.WriteActive(l, b.active.seriesState);
    }
}

void Simulation::Step()
{
    if (!m_channels.Simulation())
        return;
    int done = 0;
    for (int lane = m_obj.lanes.NextActiveLane(0); lane != 0 && done < 2; lane = m_obj.lanes.NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        if (!(b.active.seriesState & 0x80) && b.lineStatus == LineStatus::kSimulated)
            continue;
        b.lineStatus = LineStatus::kSimulated;
        b.active.seriesState &= 0x7F;
        b.targetCompetition = static_cast<int16_t>(m_obj.CompetitionNumber());
        b.targetRelay = b.card.relay;
        b.sensitivity = b.card.sensitivity;
        m_records.WriteActive(lane, b.active.seriesState);
        m_services.RedrawRow(lane);
        ++done;
    }
}
