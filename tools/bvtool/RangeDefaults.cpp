#include "tools/bvtool/RangeDefaults.h"

#include "foundation/exchange/BVExch.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"

namespace {

struct Layout {
    const char* name;
    int16_t size;
    int16_t version;
    int16_t oldestConverted;  // the oldest version opening for writing converts; 0 none
};

// The fault of one record file, or an empty text.
std::string RecordFileFault(const std::string& path, const Layout& layout, bool writing)
{
    if (!platform::FileExists(path))
        return "missing";
    CBVFileEx file;
    int rc = file.Open(path, layout.size, layout.version, 0, CBVFileEx::kUpdated);
    if (rc == 0)
        return {};
    if (rc == -8)
        return "truncated (no whole header)";
    if (rc != -99)
        return "unreadable";
    const RecordFileHeader& h = file.Header();
    if (h.version > layout.version)
        return "newer version " + std::to_string(h.version);
    if (h.version < layout.version) {
        if (writing && layout.oldestConverted > 0 && h.version >= layout.oldestConverted)
            return {};
        return "older version " + std::to_string(h.version);
    }
    return "wrong record size " + std::to_string(h.recordSize);
}

}  // namespace

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

std::string CompetitionFault(const std::string& rangeFolder, int comp, bool writing)
{
    const std::string folder = CompSettings::FolderOf(CBVExch::NormalizeFolder(rangeFolder), comp) + "\\";
    const Layout layouts[] = {
        {"Comp.BVC", CBVConfig::kRecordSize, CBVConfig::kVersion, 0},
        {"Card.BVD", CDataComp::kCardSize, CDataComp::kCardVersion, 1},
        {"Name.BVD", CDataComp::kNameSize, CDataComp::kNameVersion, 0},
        {"Shot.BVD", CDataComp::kShotSize, CDataComp::kShotVersion, 1},
        {"Active.BVD", CDataComp::kActiveSize, CDataComp::kActiveVersion, 0},
    };
    for (const Layout& layout : layouts) {
        // The range control makes the lanes' file anew when it is missing.
        if (std::string(layout.name) == "Active.BVD" && !platform::FileExists(folder + layout.name))
            continue;
        if (std::string fault = RecordFileFault(folder + layout.name, layout, writing); !fault.empty())
            return std::string(layout.name) + ": " + fault;
    }
    return {};
}

}  // namespace bvtool
