#include "foundation/comp/FileFaults.h"

#include "foundation/comp/DataComp.h"
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"

std::string RecordFileFault(const std::string& path, const RecordLayout& layout, bool writing)
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

std::string ConfigFileFault(const std::string& path)
{
    return RecordFileFault(path, {"", CBVConfig::kRecordSize, CBVConfig::kVersion, 0}, false);
}

std::string CompetitionFault(const std::string& rangeFolder, int comp, bool writing, bool madeWhenMissing)
{
    const std::string folder = CompSettings::FolderOf(platform::FolderWithSeparator(rangeFolder), comp) + "\\";
    const RecordLayout layouts[] = {
        {"Comp.BVC", CBVConfig::kRecordSize, CBVConfig::kVersion, 0},
        {"Card.BVD", CDataComp::kCardSize, CDataComp::kCardVersion, 1},
        {"Name.BVD", CDataComp::kNameSize, CDataComp::kNameVersion, 0},
        {"Shot.BVD", CDataComp::kShotSize, CDataComp::kShotVersion, 1},
        {"Active.BVD", CDataComp::kActiveSize, CDataComp::kActiveVersion, 0},
    };
    for (const RecordLayout& layout : layouts) {
        // The range control makes the lanes' file anew when it is missing.
        if ((madeWhenMissing || std::string(layout.name) == "Active.BVD") && !platform::FileExists(folder + layout.name))
            continue;
        if (std::string fault = RecordFileFault(folder + layout.name, layout, writing); !fault.empty())
            return std::string(layout.name) + ": " + fault;
    }
    return {};
}
