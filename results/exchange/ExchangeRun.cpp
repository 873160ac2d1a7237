// The exchange run and the import of the range control's result files: one
// ini file per target, marked "unread" by the range control's writer and
// taken in only when marked (or every file with ExchReadNow and for an
// event the worker meets for the first time).
#include "foundation/exchange/ExchangeIniFile.h"
#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "platform/files/ArchiveFlag.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/RelayWebFlags.h"
#include "results/exchange/ExchangeRun.h"
#include "results/exchange/SeriesLists.h"
#include "results/values/ValueSystems.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace results {
namespace {

std::string Format(const char* format, const std::string& prefix, int a, int b)
{
    char name[64];
    std::snprintf(name, sizeof name, format, prefix.c_str(), a, b);
    return name;
}

// A byte of the card from a text number; anything outside is "unknown".
int CardByte(int value) { return value >= 0 && value <= 255 ? value : 255; }

}  // namespace

std::vector<ExchangeEventReport> CBVResThread::ResProc()
{
    BV_LOG(ProgramLog(), 30, "ResProc Start");
    std::vector<ExchangeEventReport> reports;
    if (!SettingsReadable())
        return reports;
    m_events.NewPass();
    m_compCfg.Refresh();
    m_exchCfg.Refresh();
    m_webCfg.Refresh();
    SweepWriterTemps();
    RunState run;
    // A worker that has just become the reader again takes every file as
    // new: while another one read, its own picture of what was handled went
    // stale, and a reader killed mid-run may have left files half taken in.
    run.readNow = ::ReadItem(m_exchCfg, ExchItems::kReadNow) != 0 || m_readAll;
    run.orgType = ::ReadItem(m_compCfg, CompItems::kOrgType);
    run.listing.Load(kExchangeFolder, "*");
    if (m_shooters.Open(m_folder + "Shooter.bvd") != 0)
        m_shooters.Open(m_folder + "Shooter.bvd");  // after a conversion
    m_clubs.LoadClubs(run.orgType);
    run.namesReadable = m_shooters.IsOpen() && m_clubs.ClubsOpen();

    const int events = EventCount(m_compCfg);
    for (int n = 1; n <= events; ++n) {
        if (StopRequested() || !StillReader())
            return reports;
        ExchangeEventReport report;
        if (RunEvent(n, run, report))
            reports.push_back(report);
        if (run.stopped)
            return reports;
    }
    m_readAll = false;
    // Other computers watch the file change: a run that wrote nothing for
    // an event still says it ran.
    if (!run.heartbeat) {
        m_exchCfg.Refresh();
        m_exchangeInterval = ::ReadItem(m_exchCfg, ExchItems::kInterval);
        ::WriteItem(m_exchCfg, ExchItems::kHeartbeat, m_exchangeInterval);
    }

    // The KME systems' result files taken in this run are done with. The
    // marker goes only when no new result file came meanwhile; else it
    // stays, and the next run reads the new one.
    for (auto& [native, taken] : run.kme) {
        if (taken.files.empty())
            continue;
        for (const std::string& file : taken.files)
            if (int rc = platform::RemoveFile(file); rc != 0 && rc != ENOENT)
                BV_LOG(ProgramLog(), 80, "F3 Error = %d", rc);
        const std::string marker = platform::JoinSystemPath(taken.folder, "kmo.upd");
        if (!platform::FileExists(platform::JoinSystemPath(taken.folder, "kmonew.txt")))
            if (int rc = platform::RemoveFile(marker); rc != 0 && rc != ENOENT)
                BV_LOG(ProgramLog(), 80, "F2 Error = %d", rc);
    }
    BV_LOG(ProgramLog(), 10, "ResProc End");
    return reports;
}

void CBVResThread::SweepWriterTemps()
{
    // A writer killed mid-write leaves its temporary file, and only the next
    // write into the same folder would clear it away; this worker may write
    // nothing there for a long time.
    if (m_tempsSwept)
        return;
    m_tempsSwept = true;
    for (const std::string& folder : {std::string(kExchangeFolder), m_folder})
        if (const int removed = platform::RemoveAbandonedWriterTemps(folder); removed > 0)
            BV_LOG(ProgramLog(), 80, "%d temporary file(s) of a writer that died removed from %s", removed,
                   folder.c_str());
}

bool CBVResThread::RunEvent(int n, RunState& run, ExchangeEventReport& report)
{
    const int type = ::ReadItem(m_exchCfg, ExchItems::EventType(n));
    if (type == 0)
        return false;
    WorkerEvent* event = m_events.Get(n);
    if (!event || !event->readable)
        return false;
    const std::string prefix = ::ReadItem(m_exchCfg, ExchItems::EventPrefix(n));
    if (prefix.empty())
        return false;

    EventRun er(*this, run, *event, type, prefix);
    report.event = n;
    if (!er.Import()) {
        run.stopped = true;
        report.read = er.read.count;
        return true;
    }
    if (er.read.count > 0) {
        WriteLog(kLogReadSeveral, n, er.read.count, er.read.LogRelay());
        ::WriteItem(m_webCfg, WebItems::EventDirty(n), 1);
    }
    // Only news is written: each write is a flush of Exch.bvc.
    if (er.highestRelay > 0 && ::ReadItem(m_exchCfg, ExchItems::kLastEvent) != n)
        ::WriteItem(m_exchCfg, ExchItems::kLastEvent, n);
    if (er.highestRelay > 0 && ::ReadItem(m_exchCfg, ExchItems::kLastRelay) != er.highestRelay)
        ::WriteItem(m_exchCfg, ExchItems::kLastRelay, er.highestRelay);
    // Without the shooters' names (or their clubs) an export would send
    // them empty and the range would clear its cards; the entries keep
    // their changed flags, and the event counts as new until they went out.
    if (run.namesReadable && !er.Export()) {
        run.stopped = true;
        report.read = er.read.count;
        report.written = er.written.count;
        return true;
    }
    if (er.written.count > 0)
        WriteLog(kLogWrittenSeveral, n, er.written.count, er.written.LogRelay());
    er.WriteSponsorTexts();
    event->handled = run.namesReadable;

    m_exchCfg.Refresh();
    m_exchangeInterval = ::ReadItem(m_exchCfg, ExchItems::kInterval);
    ::WriteItem(m_exchCfg, ExchItems::kHeartbeat, m_exchangeInterval);
    run.heartbeat = true;
    report.read = er.read.count;
    report.written = er.written.count;
    return true;
}

CBVResThread::EventRun::EventRun(CBVResThread& worker, RunState& run, WorkerEvent& event, int type,
                                 const std::string& prefix)
    : m_worker(worker), m_run(run), m_event(event), m_card(event.card), m_n(event.number), m_type(type),
      m_prefix(prefix), m_listing(run.listing)
{
    CBVConfig& exch = worker.m_exchCfg;
    CBVConfig& comp = worker.m_compCfg;
    m_all = run.readNow || !event.handled;
    if (type == 4) {
        m_kmeFolder = ReadItem(exch, ExchItems::EventFolder(m_n));
        m_kmeFinal = ::ReadItem(exch, ExchItems::KmeFinal(m_n)) != 0;
    } else {
        m_kmeFinal = false;
    }
    m_first = std::clamp(::ReadItem(comp, CompItems::EventFirstTarget(m_n)), 0, kLastIndex + 1);
    m_last = std::min(::ReadItem(comp, CompItems::EventLastTarget(m_n)), kLastIndex);
    m_relays = std::min(::ReadItem(comp, CompItems::EventRelays(m_n)), kLastIndex);
    m_entriesChanged = worker.m_events.Refresh(event);
    m_card.LoadEvent(m_n);
}

bool CBVResThread::EventRun::Import()
{
    for (int k = 1; k <= m_relays; ++k) {
        if (m_worker.StopRequested())
            return false;
        const int relay = ::ReadItem(m_event.settings, EventItems::RelayNumber(k));
        if (relay == 0 || (::ReadItem(m_event.settings, EventItems::RelayFlags(k)) & RelayFlag::kResultsLocked))
            continue;
        if (m_type == 4) {
            // One file holds every relay of the event.
            ImportKme();
            return true;
        }
        const bool received = m_type == 2 ? ImportQnet(k, relay) : ImportResultFiles(k, relay);
        if (received)
            MarkReceived(k);
    }
    return true;
}

bool CBVResThread::EventRun::RelayLocked(int k)
{
    m_event.settings.Refresh();
    return (::ReadItem(m_event.settings, EventItems::RelayFlags(k)) & RelayFlag::kResultsLocked) != 0;
}

void CBVResThread::EventRun::MarkReceived(int k)
{
    // Under the file's lock on the flags as they are now: a lock of the
    // results set meanwhile stays, and the relay's flags are left alone.
    CBVConfig& settings = m_event.settings;
    if (settings.Lock() != 0) {
        BV_LOG(ProgramLog(), 80, "Relay %d of event %d: flags not written (no lock)", k, m_n);
        return;
    }
    const int flags = ::ReadItem(settings, EventItems::RelayFlags(k));
    const int marked = (flags & 0xCF) | RelayFlag::kHasResults;
    if (!(flags & RelayFlag::kResultsLocked) && marked != flags)
        ::WriteItem(settings, EventItems::RelayFlags(k), marked);
    settings.Unlock();
}

int CBVResThread::EventRun::RelayIndex(int relay)
{
    for (int k = 1; k <= m_relays; ++k)
        if (::ReadItem(m_event.settings, EventItems::RelayNumber(k)) == relay)
            return k;
    return 0;
}

void CBVResThread::EventRun::StoreEntryState(int k, int target, int state, const std::string& comments)
{
    // A read-modify-write of the entry as the file holds it now: the entry
    // screen may be writing the same record.
    CBVFileEx& file = m_event.entries.File();
    if (!m_event.entries.IsOpen() || file.CheckOpen() != 0)
        return;
    if (file.Lock() != 0) {
        file.CheckClose(0);
        return;
    }
    file.CacheVerify(0);
    RegRecord entry{};
    entry.relay = static_cast<int16_t>(k);
    entry.target = static_cast<int16_t>(target);
    if (file.ReadRecKey(&entry) == 0) {
        RegRecord updated = entry;
        updated.state = entry.state | (1 << (state - 1));
        SetFieldText(updated.comments, sizeof updated.comments, comments);
        if (std::memcmp(&updated, &entry, sizeof entry) != 0 && file.WriteRecKey(&updated) != 0)
            BV_LOG(ProgramLog(), 80, "Entry %d:%d of event %d not written", k, target, m_n);
    }
    file.CheckClose(0);
}

void CBVResThread::EventRun::LogFaults(const std::string& file, int series, const SeriesFromLists& lists)
{
    for (const ListFault& f : lists.faults) {
        if (f.list == 'S')
            BV_LOG(ProgramLog(), 80, "%s: Ser%d shot %d '%s' is no shot value; no shot stored", file.c_str(), series,
                   f.shot, f.token.c_str());
        else
            BV_LOG(ProgramLog(), 80, "%s: %c%d shot %d '%s' is no 16-bit number; 0 stored", file.c_str(), f.list,
                   series, f.shot, f.token.c_str());
    }
}

void CBVResThread::EventRun::ClearMark(const std::string& native, const CBVIniFile& read)
{
    // No flush: a mark that a crash brings back only means one more read.
    if (int rc = platform::ClearArchiveFlagOf(native, read.Identity()); rc != 0 && rc != ENOENT)
        BV_LOG(ProgramLog(), 80, "%s: mark not cleared (%d); read again next run", native.c_str(), rc);
}

bool CBVResThread::EventRun::ImportResultFiles(int k, int relay)
{
    bool received = false;
    for (int t = m_first; t <= m_last; ++t) {
        const std::string name = Format("%sR%03d%02d.TXT", m_prefix, relay, t);
        const std::string path = m_listing.Find(name);
        if (path.empty())
            continue;
        const std::string native = m_listing.NativeFind(name);
        if (!m_all && !platform::HasArchiveFlagResolved(native))
            continue;
        CExchangeIniFile ini;
        if (ini.Open(path) != 0) {
            // Logged by the open. One too large to read stays as it is until
            // it is rewritten; any other trouble may pass, and the mark
            // brings the file back next run.
            if (ini.OpenError() == EFBIG)
                ClearMark(native, ini);
            continue;
        }
        const int state = ini.GetInt("Notes", "State", 0);
        if (state >= 1 && state <= 4)
            StoreEntryState(k, t, state, ini.GetString("Notes", "Comments", ""));

        m_card.LoadCard(k, t);
        const int targetId = CardByte(ini.GetInt("Def", "TargetID", 255));
        const int targetIdDef = CardByte(ini.GetInt("Def", "TargetIDDef", 255));
        std::vector<ShotEntry> shots;
        bool changed = false, removed = false;
        int seriesRead = 0;
        for (int s = 1; s <= m_card.GetSeriesCount(); ++s) {
            char key[16];
            std::snprintf(key, sizeof key, "Ser%d", s);
            const std::string ser = ini.GetString("Res", key, "#");
            if (ser == "#")
                continue;
            ++seriesRead;
            std::snprintf(key, sizeof key, "X%d", s);
            const std::string x = ini.GetString("Res", key, "");
            std::snprintf(key, sizeof key, "Y%d", s);
            const std::string y = ini.GetString("Res", key, "");
            std::snprintf(key, sizeof key, "T%d", s);
            const std::string time = ini.GetString("Res", key, "");
            SeriesFromLists lists = ReadSeriesLists(s, m_card.GetSeriesShots(s), ser, x, y, time);
            LogFaults(std::string(platform::BaseName(path)), s, lists);
            for (const ShotEntry& e : lists.shots) {
                ShotEntry held;
                const bool holds = m_card.GetShot(s, e.shot, held) == 0 && held.value != values::kNoShot;
                if (e.shot <= lists.given)
                    changed |= holds && held.value != e.value;
                else
                    removed |= holds;
                shots.push_back(e);
            }
        }
        if (seriesRead == 0) {
            ClearMark(native, ini);
            continue;
        }
        if (RelayLocked(k))
            return received;
        // The mark goes only once the card holds the file's shots: a run
        // that dies before (killed, the power cut) leaves the file marked,
        // and whoever reads next takes it in again.
        if (const int rc = m_card.StoreShots(k, t, shots, targetId, targetIdDef); rc == 0 || rc == CDataRes::kCardFull)
            ClearMark(native, ini);
        if (m_worker.onCardStored)
            m_worker.onCardStored(relay, t);
        if (changed)
            m_worker.WriteLog(kLogValuesChanged, m_n, relay, t);
        if (removed)
            m_worker.WriteLog(kLogShotsRemoved, m_n, relay, t);
        read.Add(relay);
        highestRelay = std::max(highestRelay, relay);
        received = true;
        m_worker.FlagRelayForWeb(m_n, relay);
    }
    return received;
}

}  // namespace results
