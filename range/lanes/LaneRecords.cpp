#include "range/lanes/LaneRecords.h"

#include "foundation/settings/RangeSettings.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/Commands.h"
#include "range/lanes/LaneCommands.h"

#include <cstddef>

LaneRecords::LaneRecords(RangeObjects& objects, LaneCommands& commands) : m_obj(objects), m_commands(commands) {}

void LaneRecords::WriteActive(int lane, uint8_t series)
{
    CDataComp& comp = m_obj.comp;
    CBVFileEx& file = comp.ActiveFile();
    if (lane == 0) {
        // The final marking's record, cleared.
        ActiveRecord cleared;
        CDataComp::ClearActive(cleared);
        if (comp.IsOpen())
            file.WriteRecKey(&cleared);
        return;
    }
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    b.active.seriesState = series;
    b.active.lane = lane;
    ActiveRecord stored;
    if (!comp.IsOpen() || comp.ReadActive(lane, stored) != 0)
        return;
    int n = file.LastKeyHit();
    file.WriteField(n, offsetof(ActiveRecord, seriesState), 1, &series);
    // Other programs see by the counter that the lane changed.
    file.IncrementField(n, offsetof(ActiveRecord, changeCounter), 2);
}

void LaneRecords::ReloadShotRecord(int relay, int lane, int count)
{
    if (!LaneTable::IsLane(lane))
        return;
    CDataComp& comp = m_obj.comp;
    LaneBlock& b = m_obj.lanes[lane];
    if (comp.MarkSkipped(b.shots, count) == 0)
        return;
    // The gaps are marked on the list as stored now, under the shot file's
    // lock, so shots another program stored meanwhile are kept.
    CBVFileEx& file = comp.ShotFile();
    if (file.CheckOpen() != 0)
        return;
    if (file.Lock() != 0) {
        file.CheckClose(0);
        return;
    }
    if (comp.ReadShots(b.card.relay, lane, b.shots) != 0) {
        BV_LOG(m_log, 80, "Failed to read shotfile %d:%d %d", relay, lane, count);
        file.CheckClose(0);
        return;
    }
    comp.MarkSkipped(b.shots, count);
    comp.WriteShots(b.card.relay, lane, b.shots);
    file.CheckClose(0);
}

void LaneRecords::SendCardOverview(int lane)
{
    int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
    bool resort = external == 1 && m_obj.programs.GetEquipment(0) == 129;
    auto sendTo = [&](int l) {
        LaneBlock& b = m_obj.lanes[l];
        CardOverviewCmd c;
        c.lane = l;
        c.startScore = b.startScore;
        for (int s = 1; s <= CDataComp::kMaxSeries; ++s)
            c.seriesShots[s] = m_obj.programs.GetSerieShots(s, 0);
        uint8_t order[CDataComp::kSlots];
        CDataComp::BuildShotOrder(b.shots, order, resort);
        for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i) {
            const ShotRecord& r = b.shots.shots[order[i]];
            CardOverviewCmd::Shot shot;
            shot.flags = r.flags;
            shot.series = r.series;
            shot.countingSeries = r.countingSeries;
            shot.position = r.orderOffset;
            // A shot turned away on a turning-target range counts nothing.
            bool turnedAway = (r.flags & CDataComp::kFlagMarked) && external == 1;
            shot.countedValue = turnedAway ? 0 : CDataComp::CountedValue(r.value, b.card.valueSystem);
            c.shots.push_back(shot);
        }
        for (const LineMessage& part : c.Build())
            m_commands.SendCommand(l, part, Cmd::kEvenDisabled);
    };
    if (lane == 0) {
        for (int l = m_obj.lanes.NextActiveLane(0); l != 0; l = m_obj.lanes.NextActiveLane(l))
            sendTo(l);
    } else if (LaneTable::IsLane(lane) && m_obj.lanes[lane].enabled) {
        sendTo(lane);
    }
}
