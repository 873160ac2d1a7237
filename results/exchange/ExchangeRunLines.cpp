// The import of results that come as lines: the Q-NET line files of a relay
// in the exchange folder, and the KME system's result file in the event's
// own folder. Both files are taken away under a name of our own before they
// are read, so that what their writers add meanwhile goes into a new file
// and is read next time.
#include "foundation/exchange/ExchangeIniFile.h"
#include "foundation/files/BVLog.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "results/data/EventItems.h"
#include "results/data/RelayWebFlags.h"
#include "results/exchange/ExchangeRun.h"
#include "results/exchange/LineFormats.h"
#include "results/values/ValueSystems.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace results {
namespace {

constexpr int kQnetLanes = 20;
constexpr int kQnetParts = 5;   // parts 0..5
constexpr int kTimeType = 9;    // a time takes shots 1 to 3 of its series
constexpr const char* kKmeResults = "kmonew.txt";
constexpr const char* kKmeResultsReady = "kmo.upd";
constexpr const char* kKmeTakenPrefix = "$kmo";  // our name for a result file taken: "$kmoXXXX.TMP"

// The shots of a line's texts in the value systems of their series, as the
// result screen enters typed shots.
std::vector<ShotEntry> Entered(const std::vector<QnetShot>& shots, const QnetLayout& layout, int orgType)
{
    std::vector<ShotEntry> out;
    for (const QnetShot& q : shots) {
        const int type = layout.types[static_cast<size_t>(q.series) - 1];
        const values::Entry e = values::EnterShot(q.text, type, orgType);
        const auto s = static_cast<uint8_t>(q.series);
        if (type == kTimeType) {
            out.push_back({s, 1, static_cast<uint8_t>(e.value), 0, 0, 0});
            out.push_back({s, 2, 0, 0, 0, 0});
            out.push_back({s, 3, static_cast<uint8_t>(e.hundredths), 0, 0, 0});
        } else {
            out.push_back({s, static_cast<uint8_t>(q.shot), static_cast<uint8_t>(e.value), 0, 0, 0});
        }
    }
    return out;
}

// A line file taken by a reader but not yet stored goes by this prefix.
constexpr char kTakingPrefix[] = "$$";

// A taken line file, whole; false, logged, when it cannot be read or is
// larger than any line file of a range system.
bool ReadLineFile(const std::string& path, std::string& bytes, int64_t* sizeOut = nullptr)
{
    int64_t size = 0;
    const int rc = platform::ReadFileUpTo(path, bytes, kExchangeFileMaxBytes, &size);
    if (sizeOut)
        *sizeOut = size;
    if (rc == EFBIG)
        BV_LOG(ProgramLog(), 80, "%s: %lld bytes, more than %lld; not read", path.c_str(), static_cast<long long>(size),
               static_cast<long long>(kExchangeFileMaxBytes));
    else if (rc != 0)
        BV_LOG(ProgramLog(), 80, "%s not read (%d)", path.c_str(), rc);
    return rc == 0;
}

}  // namespace

bool CBVResThread::EventRun::ImportQnet(int k, int relay)
{
    QnetLayout layout;
    layout.hitSeries = ::ReadItem(m_event.settings, EventItems::ResultType(m_n)) == 7;
    for (int s = 1; s <= m_card.GetSeriesCount(); ++s) {
        layout.shots.push_back(m_card.GetSeriesShots(s));
        layout.types.push_back(m_card.GetSeriesType(s));
    }
    bool received = false;
    for (int lane = 1; lane <= kQnetLanes; ++lane) {
        for (int part = 0; part <= kQnetParts; ++part) {
            char name[48];
            std::snprintf(name, sizeof name, "%s-%02d-%d.%03d", m_prefix.c_str(), lane, part, relay);
            // A file a reader took and died on before its lines were stored
            // is read first: a file read twice is harmless.
            if (const std::string left = m_listing.Find(kTakingPrefix + std::string(name)); !left.empty()) {
                if (ReadTakenLineFile(k, relay, left, layout, received) == LineFileRead::Locked)
                    return received;
            }
            const std::string path = m_listing.Find(name);
            if (path.empty())
                continue;
            // Renamed first, read after: a line file the range control
            // writes meanwhile is a new file, read next time.
            const std::string taking =
                platform::JoinSystemPath(kExchangeFolder, kTakingPrefix + std::string(platform::BaseName(path)));
            if (int rc = platform::ReplaceFile(path, taking); rc != 0) {
                BV_LOG(ProgramLog(), 80, "%s not taken (%d)", path.c_str(), rc);
                continue;
            }
            m_listing.Remove(name);
            if (m_worker.onFileTaken)
                m_worker.onFileTaken(path);
            if (ReadTakenLineFile(k, relay, taking, layout, received) == LineFileRead::Locked)
                return received;
        }
    }
    return received;
}

// Reads a line file taken under its "$$" name into the cards; once every
// line is stored it goes by its "$" name, where the files read before lie.
CBVResThread::EventRun::LineFileRead CBVResThread::EventRun::ReadTakenLineFile(int k, int relay,
                                                                               const std::string& taking,
                                                                               const QnetLayout& layout,
                                                                               bool& received)
{
    const std::string base(platform::BaseName(taking));
    const std::string taken = platform::JoinSystemPath(kExchangeFolder, base.substr(1));
    std::string bytes;
    int64_t size = 0;
    if (!ReadLineFile(taking, bytes, &size)) {
        // A file too big for a line file never reads: it is put aside as
        // read, not looked at again every run.
        if (size > kExchangeFileMaxBytes)
            platform::ReplaceFile(taking, taken);
        return LineFileRead::Unread;
    }
    for (std::string_view text : SplitQnetLines(bytes)) {
        QnetLine line;
        if (!ReadQnetLine(text, layout, line) || line.target < m_first || line.target > m_last)
            continue;
        highestRelay = std::max(highestRelay, relay);
        if (line.seriesRead == 0)
            continue;
        if (RelayLocked(k))
            return LineFileRead::Locked;  // read again, whole, once the relay is open
        m_card.LoadCard(k, line.target);
        m_card.StoreShots(k, line.target, Entered(line.shots, layout, m_run.orgType));
        if (m_worker.onCardStored)
            m_worker.onCardStored(relay, line.target);
        read.Add(relay);
        received = true;
        m_worker.FlagRelayForWeb(m_n, relay);
    }
    if (int rc = platform::ReplaceFile(taking, taken); rc != 0)
        BV_LOG(ProgramLog(), 80, "%s not put aside (%d)", taking.c_str(), rc);
    return LineFileRead::Stored;
}

const CBVResThread::RunState::KmeTaken& CBVResThread::EventRun::TakeKmeFiles()
{
    // Two events may share a KME folder; the files are taken once a run.
    const std::string native = platform::NativePath(m_kmeFolder);
    auto found = m_run.kme.find(native);
    if (found != m_run.kme.end())
        return found->second;
    RunState::KmeTaken& taken = m_run.kme[native];
    taken.folder = m_kmeFolder;

    // Files taken by a run that never ended come first; then the new one,
    // when the KME system says it is ready.
    std::vector<std::string> files;
    for (const std::string& name : platform::FindFiles(m_kmeFolder, std::string(kKmeTakenPrefix) + "*.TMP"))
        files.push_back(platform::JoinSystemPath(m_kmeFolder, name));
    const std::string results = platform::JoinSystemPath(m_kmeFolder, kKmeResults);
    if (platform::FileExists(platform::JoinSystemPath(m_kmeFolder, kKmeResultsReady)) && platform::FileExists(results)) {
        const std::string ours = platform::MakeTempFile(m_kmeFolder, kKmeTakenPrefix);
        if (ours.empty()) {
            BV_LOG(ProgramLog(), 80, "%s not taken: no file can be made in the folder", results.c_str());
        } else if (int rc = platform::ReplaceFile(results, ours); rc != 0) {
            BV_LOG(ProgramLog(), 80, "%s not taken (%d)", results.c_str(), rc);
            platform::RemoveFile(ours);
        } else {
            files.push_back(ours);
            if (m_worker.onFileTaken)
                m_worker.onFileTaken(results);
        }
    }
    for (const std::string& file : files) {
        std::string bytes;
        if (!ReadLineFile(file, bytes))
            continue;  // not deleted: looked at again next run
        bool unfinished = false;
        for (auto& line : SplitKmeLines(bytes, &unfinished))
            taken.lines.push_back(std::move(line));
        if (unfinished)
            BV_LOG(ProgramLog(), 80, "%s: the last line has no end and is not read", file.c_str());
        taken.files.push_back(file);
    }
    return taken;
}

void CBVResThread::EventRun::ImportKme()
{
    if (m_kmeFolder.empty()) {
        BV_LOG(ProgramLog(), 80, "KME %s: event %d has no KME folder", m_prefix.c_str(), m_n);
        return;
    }
    const RunState::KmeTaken& taken = TakeKmeFiles();
    std::vector<int> received;
    for (const std::vector<std::string>& fields : taken.lines) {
        if (fields.size() <= static_cast<size_t>(kKmeTarget) || fields[kKmeId] != m_prefix)
            continue;
        long relayField, target;
        if (!KmeNumber(fields[kKmeRelay], relayField) || !KmeNumber(fields[kKmeTarget], target)) {
            BV_LOG(ProgramLog(), 80, "KME %s: relay '%s' target '%s' are no numbers", m_prefix.c_str(),
                   fields[kKmeRelay].c_str(), fields[kKmeTarget].c_str());
            continue;
        }
        long relay = relayField;
        if (m_kmeFinal)
            relay -= kKmeFinalRelays;
        else if (relayField > kKmeFinalRelays)
            continue;  // a final's line; this event is no final
        const int k = relay > 0 ? RelayIndex(static_cast<int>(relay)) : 0;
        if (k == 0) {
            BV_LOG(ProgramLog(), 80, "KME %s: relay %ld of the line is no relay of event %d", m_prefix.c_str(),
                   relayField, m_n);
            continue;
        }
        if (::ReadItem(m_event.settings, EventItems::RelayFlags(k)) & RelayFlag::kResultsLocked)
            continue;
        if (target < m_first || target > m_last) {
            BV_LOG(ProgramLog(), 80, "KME %s: target %ld is outside event %d", m_prefix.c_str(), target, m_n);
            continue;
        }
        std::vector<ShotEntry> shots;
        int stored = 0;
        for (int s = 1; s <= m_card.GetSeriesCount(); ++s) {
            const size_t at = static_cast<size_t>(kKmeFirstSeries + s - 1);
            if (at >= fields.size())
                break;
            const std::string& field = fields[at];
            if (field.empty())
                continue;
            ++stored;
            for (int m = 1; m <= m_card.GetSeriesShots(s); ++m) {
                const int value = m <= static_cast<int>(field.size())
                                      ? KmeShotValue(field[static_cast<size_t>(m) - 1])
                                      : values::kNoShot;
                shots.push_back({static_cast<uint8_t>(s), static_cast<uint8_t>(m), static_cast<uint8_t>(value), 0, 0, 0});
            }
        }
        if (stored == 0)
            continue;
        if (RelayLocked(k))
            continue;
        m_card.LoadCard(k, static_cast<int>(target));
        m_card.StoreShots(k, static_cast<int>(target), shots);
        if (m_worker.onCardStored)
            m_worker.onCardStored(static_cast<int>(relay), static_cast<int>(target));
        read.Add(static_cast<int>(relay));
        highestRelay = std::max(highestRelay, static_cast<int>(relay));
        if (std::find(received.begin(), received.end(), k) == received.end())
            received.push_back(k);
        m_worker.FlagRelayForWeb(m_n, static_cast<int>(relay));
    }
    for (int k : received)
        MarkReceived(k);
}

}  // namespace results
