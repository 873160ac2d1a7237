// Any bytes as one of BVRes's data files, opened through the routine every
// data file opens with. The first byte chooses the file; the rest is the
// file. Whatever the bytes: a newer file is reported and left as it was; an
// opened file counts its records by its length; a converted file holds the
// old records padded with zeros in the current layout and opens next time;
// and the classes' searches run over whatever opened.
#include "fuzz/FuzzScratch.h"
#include "platform/files/FileSystem.h"
#include "results/data/DataEvent.h"
#include "results/data/DataFileOpen.h"
#include "results/data/DataRank.h"
#include "results/data/DataReg.h"
#include "results/data/DataShooter.h"
#include "results/data/DataTeam.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace results;
using fuzz::Check;

std::string g_path;
int g_told = 0;

struct Kind {
    DataFileLayout layout;
    bool shooter;
};

const Kind kKinds[] = {
    {{CDataReg::kRecordSize, CDataReg::kVersion, true, true}, false},
    {{CDataRank::kRecordSize, CDataRank::kVersion, true, false}, false},
    {{CDataTeam::kRecordSize, CDataTeam::kVersion, false, false}, false},
    {{CDataShooter::kRecordSize, CDataShooter::kVersion, true, false}, true},
    {{CDataEvent::kResultRecordSize, CDataEvent::kResultVersion, true, false}, false},
};

std::string Contents()
{
    std::string bytes;
    platform::ReadWholeFile(g_path, bytes);
    return bytes;
}

// The searches of each class over the file as it now is.
void Search(size_t kind)
{
    switch (kind) {
    case 0: {
        CDataReg reg;
        reg.Open(g_path);
        int relay = 0, target = 0, classNr = 0;
        for (int steps = 0; steps < 64 && reg.NextEntry(1, relay, target, classNr) == 0; ++steps) {
        }
        reg.GetStartScore(1);
        break;
    }
    case 1: {
        CDataRank rank;
        rank.Open(g_path);
        RankRecord out;
        rank.Find(10, 1, 1, 1, out);
        Check(out.startNr == 1 || rank.IsOpen());
        break;
    }
    case 2: {
        CDataTeam team;
        team.Open(g_path);
        int state = team.FillState(1, 1);
        Check(state >= 1 && state <= 5);
        break;
    }
    case 3: {
        CDataShooter shooters;
        shooters.Open(g_path);
        std::vector<int32_t> found;
        shooters.Search("a", found);
        std::vector<uint32_t> sorted;
        shooters.SortedNumbers(sorted);
        for (size_t i = 1; i < sorted.size(); ++i)
            Check(sorted[i - 1] <= sorted[i]);
        Check(shooters.GetBibNr(1).size() <= CDataShooter::kMaxBib);
        break;
    }
    default:
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const fuzz::ScratchFolder folder("fuzz-resdata");
    g_path = folder.File("f.bvd");
    SetNewerVersionHandler([](const std::string&) { ++g_told; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t kind = data[0] % std::size(kKinds);
    const Kind& k = kKinds[kind];
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    // Conversions keep the old file in .\Common of the working folder.
    std::filesystem::create_directory("Common");
    unlink("BVLog.txt");
    if (!fuzz::WriteWholeFile(g_path, file.data(), file.size()))
        return 0;
    RecordFileHeader header{};
    if (file.size() >= sizeof header)
        std::memcpy(&header, file.data(), sizeof header);

    g_told = 0;
    CBVFileEx f;
    OpenOutcome outcome =
        OpenDataFile(f, g_path, k.layout, k.shooter ? std::function<void(CBVFileEx&)>(&CDataShooter::Convert) : nullptr);
    const int64_t size8 = static_cast<int64_t>(file.size()) - 8;
    switch (outcome) {
    case OpenOutcome::Newer:
        Check(g_told == 1);
        Check(Contents() == file);
        Check(!f.IsOpen());
        Check(header.version >= k.layout.version || !k.layout.convertsOlder);
        break;
    case OpenOutcome::Opened: {
        Check(g_told == 0);
        Check(f.IsOpen());
        const int64_t count = file.size() >= 8 ? size8 / k.layout.recordSize : 0;
        Check(f.GetRecCount() == count);
        break;
    }
    case OpenOutcome::Converted: {
        Check(g_told == 0);
        Check(!f.IsOpen());
        Check(header.version < k.layout.version && header.recordSize > 0 && header.recordSize <= k.layout.recordSize);
        const int64_t count = size8 / header.recordSize;
        std::string now = Contents();
        Check(static_cast<int64_t>(now.size()) == 8 + count * k.layout.recordSize);
        for (int64_t n = 0; n < count && n < 16; ++n) {
            size_t at = 8 + static_cast<size_t>(n) * k.layout.recordSize;
            // The shooter's fix-up empties the bib number, past the old record.
            size_t kept = k.shooter ? std::min<size_t>(header.recordSize, offsetof(ShooterRecord, bib))
                                    : static_cast<size_t>(header.recordSize);
            Check(now.compare(at, kept, file, 8 + static_cast<size_t>(n) * header.recordSize, kept) == 0);
            Check(now.find_first_not_of('\0', at + header.recordSize) >= at + k.layout.recordSize);
        }
        Check(OpenDataFile(f, g_path, k.layout) == OpenOutcome::Opened);
        f.Close();
        break;
    }
    case OpenOutcome::Failed:
        Check(g_told == 0);
        Check(!f.IsOpen());
        break;
    }
    f.Close();
    if (outcome != OpenOutcome::Newer)
        Search(kind);
    std::error_code ec;
    std::filesystem::remove_all("Common", ec);
    return 0;
}
