// The export half of an exchange run: what the range control (and the KME
// system) must know of an event's shooters goes into the exchange folder:
// a name file per start number, the start number into each target's result
// file, a fixed-column name file per Q-NET relay, a KME start list with its
// marker, and the sponsor text per lane.
//
// An entry's changed flag is the only memory of what went out: it is
// cleared after its file or line is written, and only when the entry still
// holds what was sent, so a write that fails or an edit made meanwhile goes
// out next run.
#include "foundation/exchange/ExchangeIniFile.h"
#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/exchange/ExchangeRun.h"
#include "results/exchange/LineFormats.h"
#include "results/exchange/NameLines.h"
#include "results/registers/RegisterRecords.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace results {
namespace {

constexpr int kStartScoreOfEntry = 99;
constexpr const char* kKmeStartList = "kminew.txt";
constexpr const char* kKmeStartListTaken = "kmi.upd";  // present until the KME system took the list
constexpr int kNameColumnTargets = 99;  // the name column file has two digits for the target

// The entry as it was sent and as it is now are the same, the flag aside.
bool SameButChanged(const RegRecord& a, const RegRecord& b)
{
    RegRecord x = a, y = b;
    x.changed = y.changed = 0;
    return std::memcmp(&x, &y, sizeof x) == 0;
}

std::string Trimmed(const std::string& text)
{
    size_t a = text.find_first_not_of(" \t");
    if (a == std::string::npos)
        return {};
    size_t b = text.find_last_not_of(" \t");
    return text.substr(a, b - a + 1);
}

}  // namespace

bool CBVResThread::EventRun::Export()
{
    // Entries changed since the worker last looked: before this event's
    // import, or by another program while it ran.
    const bool changed = m_entriesChanged || (m_event.entries.IsOpen() && m_event.entries.File().CacheVerify(1) == 1);
    if (!changed && !m_all)
        return true;
    if (m_type == 4 && m_event.kmeMarkerPending) {
        if (!CreateKmeMarker())
            return true;  // the list written waits for its marker
        m_event.kmeMarkerPending = false;
    }
    for (int k = 1; k <= m_relays; ++k) {
        if (m_worker.StopRequested())
            return false;
        const int relay = ::ReadItem(m_event.settings, EventItems::RelayNumber(k));
        if (relay == 0)
            continue;
        if (m_type == 4)
            ExportKmeRelay(k, relay, m_all);
        else
            ExportRelay(k, relay, m_all);
    }
    if (m_type == 4 && m_kmeListNoted && !CreateKmeMarker())
        m_event.kmeMarkerPending = true;
    return true;
}

int CBVResThread::EventRun::StartScore(const RegRecord& entry)
{
    const int source = ::ReadItem(m_worker.m_exchCfg, ExchItems::StartScore(m_n));
    if (source == kStartScoreOfEntry)
        return entry.startScore;
    if (source == 0)
        return 0;
    m_card.LoadCard(entry.relay, entry.target);
    const int total = m_card.SubTotal(entry.startNr, m_n, source);
    return total < 0 ? 0 : total;
}

std::string CBVResThread::EventRun::ClubName(int32_t startNr)
{
    const int club = m_worker.m_shooters.GetClub(startNr);
    ClubRecord record{};
    if (club == 0 || m_worker.m_clubs.Get(&record, club, CDataClub::kClubByKey) != 0)
        return {};
    return FieldText(record.name, sizeof record.name);
}

bool CBVResThread::EventRun::ClearChanged(const RegRecord& sent)
{
    CBVFileEx& file = m_event.entries.File();
    if (file.CheckOpen() != 0)
        return false;
    if (file.Lock() != 0) {
        file.CheckClose(0);
        return false;
    }
    file.CacheVerify(0);
    RegRecord now{};
    now.relay = sent.relay;
    now.target = sent.target;
    bool cleared = false;
    if (file.ReadRecKey(&now) == 0 && now.changed && SameButChanged(now, sent)) {
        now.changed = 0;
        cleared = file.WriteRecKey(&now) == 0;
    }
    file.CheckClose(0);
    return cleared;
}

bool CBVResThread::EventRun::WriteNameFile(const RegRecord& entry, int startScore)
{
    const std::string className =
        entry.classNr ? ::ReadItem(m_worker.m_compCfg, CompItems::ClassName(entry.classNr)) : std::string();
    const std::string category = FieldText(entry.category, sizeof entry.category);
    const std::string values[][3] = {
        {"Shooter", "Club", ClubName(entry.startNr)},
        {"Shooter", "Name", m_worker.m_shooters.GetName(entry.startNr)},
        {"Shooter", "Class", className},
        {"Shooter", "Cat", category},
        {m_prefix, "Class", className},
        {m_prefix, "Cat", category},
        {m_prefix, "Start", StartScoreText(startScore)},
    };
    char name[32];
    std::snprintf(name, sizeof name, "N%05d.TXT", entry.startNr);
    const std::string found = m_listing.Find(name);
    // A file that says all this already is left as it is: a worker new to
    // the event sends every name, and most are out already.
    if (!found.empty()) {
        CExchangeIniFile now;
        now.Open(found);
        bool same = true;
        std::string value;
        for (const auto& v : values)
            same = same && now.Lookup(v[0], v[1], &value) && value == Trimmed(ExchangeValue(v[2]));
        if (same)
            return true;
    }
    CExchangeIniFile ini;
    for (const auto& v : values)
        ini.PutString(v[0], v[1], ExchangeValue(v[2]));
    const std::string path = found.empty() ? m_listing.PathOf(name) : found;
    if (ini.Write(path) != 0) {
        BV_LOG(ProgramLog(), 80, "%s not written; sent again next run", path.c_str());
        return false;
    }
    if (found.empty())
        m_listing.Add(name);
    return true;
}

void CBVResThread::EventRun::WriteStartNumber(int relay, const RegRecord& entry)
{
    char name[48];
    std::snprintf(name, sizeof name, "%sR%03d%02d.TXT", m_prefix.c_str(), relay, entry.target);
    const std::string found = m_listing.Find(name);
    int inFile = -1;
    if (!found.empty()) {
        CExchangeIniFile ini;
        ini.Open(found);
        if (ini.OpenError() == EFBIG)
            return;  // logged by the open; no range control wrote that
        inFile = ini.GetInt("Def", "StartNr", -1);
    }
    if (inFile == entry.startNr)
        return;
    // The range control's file keeps its "unread" mark as it was: our start
    // number is no news for this program's import.
    CExchangeIniFile ini;
    ini.PutInt("Def", "StartNr", entry.startNr);
    if (ini.Write(found.empty() ? m_listing.PathOf(name) : found, false, CBVIniFile::ArchiveMark::Keep) != 0)
        BV_LOG(ProgramLog(), 80, "StartNr %d not written into %s", entry.startNr, name);
    else if (found.empty())
        m_listing.Add(name);
}

void CBVResThread::EventRun::ExportRelay(int k, int relay, bool all)
{
    if (m_type == 2)
        WriteNameColumnFile(k, relay, all);
    for (int t = m_first; t <= m_last; ++t) {
        RegRecord entry;
        if (!m_event.entries.Read(k, t, entry))
            continue;
        if (entry.startNr > 0 && (entry.changed || all)) {
            if (WriteNameFile(entry, StartScore(entry))) {
                if (entry.changed)
                    ClearChanged(entry);
                written.Add(relay);
            }
        }
        WriteStartNumber(relay, entry);
    }
}

void CBVResThread::EventRun::WriteNameColumnFile(int k, int relay, bool all)
{
    bool wanted = false;
    for (int t = m_first; t <= m_last && !wanted; ++t) {
        RegRecord entry;
        wanted = m_event.entries.Read(k, t, entry) && (entry.changed || all);
    }
    if (!wanted)
        return;
    std::string text;
    std::vector<RegRecord> freed;  // targets whose shooter left, now sent
    for (int t = m_first; t <= m_last; ++t) {
        RegRecord entry;
        if (!m_event.entries.Read(k, t, entry))
            continue;
        if (entry.startNr == 0) {
            if (entry.changed)
                freed.push_back(entry);
            continue;
        }
        if (t > kNameColumnTargets) {
            BV_LOG(ProgramLog(), 80, "Target %d has no place in the name column file of relay %d", t, relay);
            continue;
        }
        const std::string className = ::ReadItem(m_worker.m_compCfg, CompItems::ClassName(entry.classNr));
        text += NameColumnLine(t, entry.classNr ? className : std::string(), m_worker.m_shooters.GetName(entry.startNr),
                               ClubName(entry.startNr), StartScore(entry));
    }
    char name[48];
    std::snprintf(name, sizeof name, "%s-XX-S.%03d", m_prefix.c_str(), relay);
    const std::string path = m_listing.PathOf(name);
    if (int rc = platform::WriteFileAtomically(path, text); rc != 0) {
        BV_LOG(ProgramLog(), 80, "%s not written (%d); sent again next run", path.c_str(), rc);
        return;
    }
    m_listing.Add(platform::BaseName(path));
    for (const RegRecord& entry : freed)
        ClearChanged(entry);
}

void CBVResThread::EventRun::ExportKmeRelay(int k, int relay, bool all)
{
    if (m_kmeFolder.empty())
        return;
    // The KME system has not taken the last list yet.
    if (platform::FileExists(platform::JoinSystemPath(m_kmeFolder, kKmeStartListTaken)))
        return;
    const int kmeRelay = relay + (m_kmeFinal ? kKmeFinalRelays : 0);
    std::string text;
    std::vector<RegRecord> sent;
    int lines = 0;
    for (int t = m_first; t <= m_last; ++t) {
        RegRecord entry;
        if (!m_event.entries.Read(k, t, entry) || !(entry.changed || all))
            continue;
        if (entry.startNr == 0) {
            text += KmeFreeLine(m_prefix, kmeRelay, t);
        } else {
            const std::string className = ::ReadItem(m_worker.m_compCfg, CompItems::ClassName(entry.classNr));
            text += KmeShooterLine(m_prefix, kmeRelay, t, m_worker.m_shooters.GetName(entry.startNr),
                                   ClubName(entry.startNr), entry.classNr ? className : std::string(),
                                   StartScore(entry), entry.startNr);
        }
        sent.push_back(entry);
        ++lines;
    }
    const std::string path = platform::JoinSystemPath(m_kmeFolder, kKmeStartList);
    if (text.empty()) {
        // Nothing to send: a list the KME system has taken is not sent twice.
        if (!m_kmeListNoted)
            if (int rc = platform::RemoveFile(path); rc != 0 && rc != ENOENT)
                BV_LOG(ProgramLog(), 80, "%s not removed (%d)", path.c_str(), rc);
        return;
    }
    platform::NativeFile file;
    int rc = file.OpenOrCreate(path);
    if (rc == 0) {
        const int64_t end = file.Size();
        if (end < 0 || file.WriteAt(text.data(), text.size(), end) != static_cast<long>(text.size()))
            rc = errno ? errno : EIO;
        else
            rc = file.Sync();
    }
    if (rc != 0) {
        BV_LOG(ProgramLog(), 80, "%s not written (%d); sent again next run", path.c_str(), rc);
        return;
    }
    m_kmeListNoted = true;
    for (const RegRecord& entry : sent)
        if (entry.changed)
            ClearChanged(entry);
    written.Add(relay, lines);
}

bool CBVResThread::EventRun::CreateKmeMarker()
{
    const std::string path = platform::JoinSystemPath(m_kmeFolder, kKmeStartListTaken);
    if (int rc = platform::WriteFileAtomically(path, std::string("k\0", 2)); rc != 0) {
        BV_LOG(ProgramLog(), 80, "%s not made (%d); the start list waits for it", path.c_str(), rc);
        return false;
    }
    m_kmeListNoted = false;
    return true;
}

void CBVResThread::EventRun::WriteSponsorTexts()
{
    if (m_first > m_last)
        return;
    const std::string text = Trimmed(ExchangeValue(ReadItem(m_worker.m_exchCfg, ExchItems::EventText(m_n))));
    const std::string path = platform::JoinSystemPath(kExchangeFolder, "Sponsor.TXT");
    // Written only when it says something new: every run would otherwise
    // rewrite the file the range control reads.
    CExchangeIniFile now;
    now.Open(path);
    bool same = true;
    std::string value;
    char key[16];
    for (int t = m_first; t <= m_last && same; ++t) {
        std::snprintf(key, sizeof key, "Lane%d", t);
        same = now.Lookup(m_prefix, key, &value) && value == text;
    }
    if (same)
        return;
    CExchangeIniFile ini;
    for (int t = m_first; t <= m_last; ++t) {
        std::snprintf(key, sizeof key, "Lane%d", t);
        ini.PutString(m_prefix, key, text);
    }
    if (ini.Write(path) != 0)
        BV_LOG(ProgramLog(), 80, "%s not written", path.c_str());
}

}  // namespace results
