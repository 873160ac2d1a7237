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

std::string RangeExchangeFolder(CBVConfig& range, const std::string& rangeFolder)
{
    std::string folder = CRangeSettings::ReadExchangeFolder(range);
    const bool absolute = (!folder.empty() && (folder[0] == '\\' || folder[0] == '/')) ||
                          (folder.size() >= 2 && folder[1] == ':');
    if (absolute)
        return CBVExch::NormalizeFolder(folder);
    while (folder.size() >= 2 && folder[0] == '.' && (folder[1] == '\\' || folder[1] == '/'))
        folder.erase(0, 2);
    if (folder == ".")
        folder.clear();
    std::string base = CBVExch::NormalizeFolder(rangeFolder);
    return folder.empty() ? base : CBVExch::NormalizeFolder(base + folder);
}

}  // namespace bvtool
