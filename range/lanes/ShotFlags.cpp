#include "range/lanes/ShotFlags.h"

#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/lanes/LaneCards.h"
#include "range/lanes/LaneRecords.h"

namespace {

// Values from here on are codes that show no value.
constexpr int kNoValue = 1300;
constexpr int kNoShot = 10000;

}  // namespace

ShotFlags::ShotFlags(RangeObjects& objects, FrameServices& services, LaneRecords& records, LaneCards& cards)
    : m_obj(objects), m_services(services), m_records(records), m_cards(cards)
{
}

int ShotFlags::DisplayIndex(int position, int count)
{
    // (count - 1) / 10 truncates toward zero: row 0 also for no shot.
    return position + 10 * ((count - 1) / 10);
}

void ShotFlags::ToggleShotFlag(int lane, int position, int mode)
{
    if (!LaneTable::IsLane(lane) || position < 0 || position > 9)
        return;
    LaneBlock& b = m_obj.lanes[lane];
    int index = DisplayIndex(position, b.currentSeriesCount);
    if (index < 0 || index >= 100 || b.displayValues[index] >= kNoValue)
        return;
    int slot = b.displaySlots[index];
    if (slot >= CDataComp::kSlots)
        return;
    // The record is packed: its flags are read and written by value.
    uint16_t flags = b.shots.shots[slot].flags;
    bool on = (flags & CDataComp::kFlagFlagged) != 0;
    bool want = mode == kSet ? true : mode == kClear ? false : !on;
    if (want == on)
        return;
    b.shots.shots[slot].flags =
        static_cast<uint16_t>(want ? flags | CDataComp::kFlagFlagged : flags & ~CDataComp::kFlagFlagged);
    if (m_obj.comp.WriteShots(b.card.relay, lane, b.shots) == 0)
        return;
    m_records.WriteActive(lane, b.active.seriesState);
    // The card's count of marked shots colours the row.
    m_cards.RecomputeLane(lane);
    m_services.RedrawRow(lane);
}

int ShotFlags::LowestShotLane(const std::vector<int>& lanes, int position)
{
    int lowest = 0;
    int lowestValue = 0;
    bool shared = false;
    for (int lane : lanes) {
        if (!LaneTable::IsLane(lane))
            continue;
        const LaneBlock& b = m_obj.lanes[lane];
        int index = DisplayIndex(position, b.currentSeriesCount);
        int value = kNoShot;
        if (index >= 0 && index < 100 && b.displayValues[index] < kNoValue)
            value = CDataComp::CountedValue(b.displayValues[index], b.card.valueSystem);
        if (lowest == 0 || value < lowestValue) {
            lowest = lane;
            lowestValue = value;
            shared = false;
        } else if (value == lowestValue) {
            shared = true;
        }
    }
    return shared ? 0 : lowest;
}
