#include "tools/bvtool/RangeDefaults.h"

#include "foundation/exchange/BVExch.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"

namespace bvtool {

CardRecord NewLaneCard(CBVConfig& range, int relay, int lane)
{
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = static_cast<int16_t>(relay);
    card.lane = static_cast<int16_t>(lane);
    card.targetType = static_cast<uint8_t>(ReadItem(range, RangeItems::kNewLaneTargetType));
    card.valueSystem = static_cast<uint8_t>(ReadItem(range, RangeItems::kNewLaneValueSystem));
    card.sensitivity = static_cast<uint8_t>(ReadItem(range, RangeItems::kNewLaneSensitivity));
    card.band1 = static_cast<uint8_t>(ReadItem(range, RangeItems::kNewLaneBandFrequency));
    card.band2 = static_cast<uint8_t>(ReadItem(range, RangeItems::kNewLaneBandLength));
    return card;
}
}  // namespace bvtool
