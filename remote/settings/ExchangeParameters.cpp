#include "remote/settings/ExchangeParameters.h"

#include "remote/settings/RemoteSettings.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"

#include <vector>

namespace {

std::string ReadFolder(CBVConfig& range)
{
    char buffer[9 * 30 + 1] = {};
    range.ReadLong(1, 1, RangeItems::kExchangeFolderKey, buffer, sizeof buffer);
    return buffer;
}

}  // namespace

ExchangeParameters ExchangeParameters::Load(const std::string& rangeFolder, int comp)
{
    ExchangeParameters p;
    std::string folder = WithBackslash(rangeFolder);
    if (comp <= 0 || !platform::FileExists(CompSettings::FileOf(folder, comp)))
        return p;
    CBVConfig compStore, range;
    compStore.Open(CompSettings::FileOf(folder, comp), 0);
    if (!compStore.IsOpen())
        return p;
    range.Open(folder + "BVLeder.BVC", 0);
    p.officeFolder = ReadFolder(range);
    p.resultsProgram = ReadItem(range, RangeItems::kResultsProgram);
    p.prefix = ReadItem(compStore, CompSettings::kPrefix);
    p.startScoreMode = ReadItem(compStore, CompSettings::kStartScore);
    return p;
}

std::string ExchangeParameters::BVResFolder(std::string folder)
{
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    if (folder.size() < 3 || folder.compare(folder.size() - 3, 3, "BV\\") != 0)
        folder += "BV\\";
    return folder;
}

ExchangeParameters::Written ExchangeParameters::Save(const std::string& rangeFolder, int comp) const
{
    Written written;
    std::string folder = WithBackslash(rangeFolder);
    // A competition that is not there is not made here.
    if (comp <= 0 || !platform::FileExists(CompSettings::FileOf(folder, comp)))
        return written;
    CBVConfig compStore, range;
    compStore.Open(CompSettings::FileOf(folder, comp), 1);
    range.Open(folder + "BVLeder.BVC", 1);
    if (!compStore.IsOpen() || !range.IsOpen())
        return written;

    bool compChanged = prefix != ReadItem(compStore, CompSettings::kPrefix) ||
                       (startScoreMode >= 0 && startScoreMode != ReadItem(compStore, CompSettings::kStartScore));
    bool programChanged = resultsProgram >= 0 && resultsProgram != ReadItem(range, RangeItems::kResultsProgram);
    if (officeFolder != ReadFolder(range) || programChanged) {
        if (resultsProgram >= 0)
            WriteItem(range, RangeItems::kResultsProgram, resultsProgram);
        std::string office = officeFolder;
        if (ReadItem(range, RangeItems::kResultsProgram) == 0)
            office = BVResFolder(office);
        office = office.substr(0, kMaxFolder);
        for (int k = 8; k >= 0; --k) {
            size_t at = static_cast<size_t>(k) * 30;
            std::string piece = at < office.size() ? office.substr(at, 30) : std::string();
            range.WriteString(1, 1, RangeItems::kExchangeFolderKey + k, piece.c_str());
        }
        written.range = true;
    }
    if (compChanged) {
        if (startScoreMode >= 0)
            WriteItem(compStore, CompSettings::kStartScore, startScoreMode);
        WriteItem(compStore, CompSettings::kPrefix, prefix);
        written.competition = true;
    }
    return written;
}
