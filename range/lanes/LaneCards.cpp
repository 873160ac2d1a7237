#include "range/lanes/LaneCards.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"

#include <algorithm>

namespace {

// The five card bytes a lane carries over: target type, value system,
// sensitivity and the two band-advance values.
struct LaneSettings {
    uint8_t bytes[5];
};

LaneSettings FromCard(const CardRecord& card)
{
    return {{card.targetType, card.valueSystem, card.sensitivity, card.band1, card.band2}};
}

}  // namespace

LaneCards::LaneCards(RangeObjects& objects, FrameServices& services) : m_obj(objects), m_services(services) {}

void LaneCards::TakeLaneSettings(int lane)
{
    if (!LaneTable::IsLane(lane))
        return;
    auto usable = [this](int l) {
        const LaneBlock& b = m_obj.lanes[l];
        return b.channelType != 0 && b.enabled && b.settingsTaken;
    };
    const LaneBlock& own = m_obj.lanes[lane];
    LaneSettings s{};
    if (own.settingsTaken) {
        s = FromCard(own.card);
    } else {
        // A new lane takes after its nearest configured neighbour, above first.
        int from = 0;
        for (int l = lane + 1; l <= LaneTable::kLastLane && from == 0; ++l)
            if (usable(l))
                from = l;
        for (int l = lane - 1; l >= LaneTable::kFirstLane && from == 0; --l)
            if (usable(l))
                from = l;
        if (from != 0) {
            s = FromCard(m_obj.lanes[from].card);
        } else {
            s.bytes[0] = static_cast<uint8_t>(m_obj.RangeInt(RangeItems::kNewLaneTargetType));
            s.bytes[1] = static_cast<uint8_t>(m_obj.RangeInt(RangeItems::kNewLaneValueSystem));
            s.bytes[2] = static_cast<uint8_t>(m_obj.RangeInt(RangeItems::kNewLaneSensitivity));
            s.bytes[3] = static_cast<uint8_t>(m_obj.RangeInt(RangeItems::kNewLaneBandFrequency));
            s.bytes[4] = static_cast<uint8_t>(m_obj.RangeInt(RangeItems::kNewLaneBandLength));
        }
    }
    std::copy(std::begin(s.bytes), std::end(s.bytes), m_laneSettings);
}

void LaneCards::StoreLaneSettings(int lane)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    b.card.targetType = m_laneSettings[0];
    b.card.valueSystem = m_laneSettings[1];
    b.card.sensitivity = m_laneSettings[2];
    b.card.band1 = m_laneSettings[3];
    b.card.band2 = m_laneSettings[4];
    b.settingsTaken = 1;
}

bool LaneCards::WriteCardSettings(int lane)
{
    if (!LaneTable::IsLane(lane) || !m_obj.comp.IsOpen())
        return false;
    const CardRecord& image = m_obj.lanes[lane].card;
    CardRecord stored;
    CDataComp::ClearCard(stored);
    stored.relay = image.relay;
    // Keyed by start number alone when the competition goes by them.
    stored.lane = static_cast<int16_t>(m_obj.comp.StartNumberMode() ? 0 : lane);
    CBVFileEx& cards = m_obj.comp.CardFile();
    if (cards.ReadRecKey(&stored) != 0)
        return false;
    stored.targetType = image.targetType;
    stored.valueSystem = image.valueSystem;
    stored.sensitivity = image.sensitivity;
    stored.band1 = image.band1;
    stored.band2 = image.band2;
    return cards.WriteRecKey(&stored) == 0;
}

void LaneCards::RecomputeLane(int lane)
{
    if (!LaneTable::IsLane(lane))
        return;
    LaneBlock& b = m_obj.lanes[lane];
    const int32_t before = b.seriesSum;
    b.seriesSum = 0;
    b.shotsSum = 0;
    b.currentSeriesCount = 0;
    std::fill(std::begin(b.shotsPerSeries), std::end(b.shotsPerSeries), 0);
    b.startScore = m_obj.CompInt(CompSettings::kStartScore) != 0 ? b.name.startScore : 0;
    b.total = b.startScore;

    CompOptions options = m_obj.Options();
    std::fill(std::begin(b.displayValues), std::end(b.displayValues), 32767);
    std::fill(std::begin(b.displaySlots), std::end(b.displaySlots), 255);
    std::fill(std::begin(b.displayMarks), std::end(b.displayMarks), 0);
    b.card.flaggedShots = 0;

    int external = m_obj.RangeInt(RangeItems::kExternalEquipment);
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(b.shots, order, external == 1 && m_obj.programs.GetEquipment(0) == 129);
    const int current = b.active.seriesState & 0x7F;
    for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i) {
        const int slot = order[i];
        const ShotRecord& r = b.shots.shots[slot];
        // A shot turned away on a turning-target range counts nothing.
        bool turnedAway = external == 1 && (r.flags & CDataComp::kFlagMarked);
        int counted = CDataComp::CountedValue(r.value, b.card.valueSystem);
        if (turnedAway || r.countingSeries == 0)
            counted = 0;
        if (r.countingSeries <= CDataComp::kMaxSeries && m_obj.programs.GetSerieShots(r.countingSeries, 0) != 0) {
            if (r.flags & CDataComp::kFlagFlagged)
                ++b.card.flaggedShots;
            b.total += counted;
            if (r.countingSeries == current)
                b.seriesSum += counted;
        }
        int series = r.countingSeries != 0 ? r.countingSeries : (r.series & 0x7F);
        if (series == current && current >= 1 && current <= CDataComp::kMaxSeries) {
            if (b.currentSeriesCount < 100) {
                int pos = b.currentSeriesCount;
                b.displayValues[pos] = static_cast<int16_t>(std::max<int>(r.value, 0));
                b.displaySlots[pos] = static_cast<uint8_t>(slot);
                int mark = m_obj.comp.RateSensors(b.shots, slot, b.card.targetType, b.card.sensitivity);
                if (turnedAway || (options.IsOn(CompOptions::RemoveFrameShots) && (r.flags & CDataComp::kFlagFrame)))
                    mark |= 0x80;
                b.displayMarks[pos] = static_cast<uint8_t>(mark);
                ++b.currentSeriesCount;
            }
            ++b.shotsPerSeries[current];
        } else if (r.countingSeries != 0 && r.countingSeries <= CDataComp::kMaxSeries) {
            ++b.shotsPerSeries[r.countingSeries];
        }
        b.shotsSum += r.value;
    }
    if (b.seriesSum != before)
        m_services.RankLanes();
}
