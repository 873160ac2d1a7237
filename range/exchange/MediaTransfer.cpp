#include "range/exchange/MediaTransfer.h"

#include "foundation/exchange/BVExch.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"

#include <filesystem>
#include <system_error>

namespace MediaTransfer {

bool KnownResultsProgram(int resultsProgram) { return resultsProgram >= 0 && resultsProgram <= 7; }

std::vector<std::string> NamePatterns(int resultsProgram, const std::string& prefix)
{
    if (resultsProgram >= 3 && resultsProgram <= 5)
        return {prefix + "-XX-s.???", prefix + "-~?.???"};
    return {prefix + "R?????.TXT", "N?????.TXT", "Sponsor.TXT"};
}

std::vector<std::string> DeletePatterns(const std::string& prefix) { return {prefix + "R?????.TXT", "N?????.TXT"}; }

std::vector<std::string> CopyNames(const std::string& medium, const std::string& exchange, int resultsProgram,
                                   const std::string& prefix)
{
    const std::string from = CBVExch::NormalizeFolder(medium);
    const std::string to = CBVExch::NormalizeFolder(exchange);
    std::vector<std::string> copied;
    // The medium is the exchange folder itself: every file is where it goes.
    if (SameFolder(from, to))
        return copied;
    for (const std::string& pattern : NamePatterns(resultsProgram, prefix)) {
        for (const std::string& name : platform::FindFiles(from, pattern)) {
            std::string bytes;
            if (!platform::ReadWholeFile(from + name, bytes))
                continue;
            // The results side reads these files: it sees the old one or the new.
            if (platform::WriteFileAtomically(to + name, bytes) == 0)
                copied.push_back(name);
        }
    }
    return copied;
}

std::vector<std::string> DeleteFiles(const std::string& medium, const std::string& prefix)
{
    const std::string folder = CBVExch::NormalizeFolder(medium);
    std::vector<std::string> deleted;
    for (const std::string& pattern : DeletePatterns(prefix))
        for (const std::string& name : platform::FindFiles(folder, pattern))
            if (platform::RemoveFile(folder + name) == 0)
                deleted.push_back(name);
    return deleted;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    bool same = std::filesystem::equivalent(platform::NativePath(CBVExch::NormalizeFolder(a)),
                                            platform::NativePath(CBVExch::NormalizeFolder(b)), ec);
    return !ec && same;
}

}  // namespace MediaTransfer
