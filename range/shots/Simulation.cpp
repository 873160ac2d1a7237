// Simulated shots: with the range set to simulation no line is opened, and
// the officer makes shots for lanes to try out a competition without targets.
#include "range/ui/MainFrm.h"

#include "foundation/settings/CompSettings.h"
#include "platform/system/Clock.h"
#include "platform/ui/Prompter.h"

int CMainFrame::EffectiveTargetType(int lane)
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

void CMainFrame::SimulateShots(int lane, int kind)
{
    if (CompetitionNumber() == 0) {
        platform::MessageBox(m_obj.language.GetText("IDS_WRN_NOSIMTRAIN"));
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
        if (!m_simulation) {
            if (lane != 0) {
                platform::MessageBox(m_obj.language.GetText("IDS_WRN_NOSIM"));
                return;
            }
            continue;
        }
        m_tick.counterA = 0;
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
        in.distance = CompInt(ConfigIntItem{2, 1, 5, own});
        in.simulatedDistance = CompInt(ConfigIntItem{2, 1, 6, own});
        ShotRecord shot = m_simulator.MakeShot(in, m_obj.targetTypes, platform::Now());
        StoreShot(b.active.relay, l, shot);
        b.active.seriesState &= 0x7F;
        WriteActive(l, b.active.seriesState);
    }
}
