#pragma once
// The inside of one exchange run (the worker's own; nothing outside
// results/exchange includes this): what the run carries from event to event,
// and the work on one event, split over ExchangeRun.cpp (CBVResThread::ResProc,
// the run, and the range control's result files), ExchangeRunLines.cpp (Q-NET
// and KME results) and ExchangeRunExport.cpp (names, start lists and sponsor
// texts out).
#include "foundation/files/BVIniFile.h"
#include "results/data/DataReg.h"
#include "results/exchange/BVResThread.h"
#include "results/exchange/ExchangeListing.h"
#include "results/exchange/LineFormats.h"
#include "results/exchange/SeriesLists.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace results {

// The exchange folder of the program.
inline constexpr const char* kExchangeFolder = ".\\BV";
// Events, relays and targets are indexes of settings items: a count beyond
// them, read from a damaged file, names nothing to look at.
inline constexpr int kLastIndex = CBVConfig::kLastIndex;

struct CBVResThread::RunState {
    bool readNow = false;
    bool heartbeat = false;  // an event wrote ExchHeartbeat
    bool stopped = false;    // a stop request or another reader ended the run
    bool namesReadable = false;  // Shooter.bvd and the club register are open: names may go out
    int orgType = 0;
    ExchangeListing listing;  // the exchange folder, listed once
    // KME folders whose result files this run took: the files, to be
    // deleted at the end, and their lines.
    struct KmeTaken {
        std::string folder;
        std::vector<std::string> files;
        std::vector<std::vector<std::string>> lines;
    };
    std::map<std::string, KmeTaken> kme;  // by the folder's native path
};

// Event numbers of the shooters one step counted: one relay, or several.
class RelayCount {
public:
    void Add(int relay, int shooters = 1)
    {
        count += shooters;
        m_relay = m_relay == 0 ? relay : m_relay == relay ? relay : -1;
    }
    // The relay number for the log when all came from one relay, else -1.
    int LogRelay() const { return m_relay > 0 ? m_relay : -1; }
    int count = 0;

private:
    int m_relay = 0;
};

class CBVResThread::EventRun {
public:
    EventRun(CBVResThread& worker, RunState& run, WorkerEvent& event, int type, const std::string& prefix);

    // Import for every relay; false when the run was stopped.
    bool Import();
    // Export for every relay; false when the run was stopped.
    bool Export();
    void WriteSponsorTexts();

    RelayCount read;
    RelayCount written;
    int highestRelay = 0;  // highest relay number with data

private:
    // Import (ExchangeRun.cpp, ExchangeRunLines.cpp).
    bool ImportResultFiles(int k, int relay);
    void ClearMark(const std::string& native, const CBVIniFile& read);
    bool ImportQnet(int k, int relay);
    enum class LineFileRead { Stored, Locked, Unread };
    LineFileRead ReadTakenLineFile(int k, int relay, const std::string& taking, const QnetLayout& layout,
                                   bool& received);
    void ImportKme();
    const RunState::KmeTaken& TakeKmeFiles();
    bool RelayLocked(int k);
    void MarkReceived(int k);
    void StoreEntryState(int k, int target, int state, const std::string& comments);
    int RelayIndex(int relay);
    void LogFaults(const std::string& file, int series, const SeriesFromLists& lists);

    // Export (ExchangeRunExport.cpp).
    void ExportRelay(int k, int relay, bool all);
    void ExportKmeRelay(int k, int relay, bool all);
    void WriteNameColumnFile(int k, int relay, bool all);
    bool WriteNameFile(const RegRecord& entry, int startScore);
    void WriteStartNumber(int relay, const RegRecord& entry);
    int StartScore(const RegRecord& entry);
    std::string ClubName(int32_t startNr);
    bool ClearChanged(const RegRecord& sent);
    bool CreateKmeMarker();

    CBVResThread& m_worker;
    RunState& m_run;
    WorkerEvent& m_event;
    CDataRes& m_card;
    int m_n;
    int m_type;
    std::string m_prefix;
    bool m_all;  // every file read, every name written: ExchReadNow or a new event
    int m_first;
    int m_last;
    int m_relays;
    std::string m_kmeFolder;
    bool m_kmeFinal;
    bool m_kmeListNoted = false;
    bool m_entriesChanged = false;  // by another program since the worker's last look
    ExchangeListing& m_listing;     // the run's listing of the exchange folder
};

}  // namespace results
