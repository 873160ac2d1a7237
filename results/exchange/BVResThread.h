#pragma once
// BVRes's background worker: one per open competition, on a thread of its
// own. About once a second it runs a job: the exchange with the range
// control (results in, names and start lists out, a trace in the exchange
// log) and the web step.
//
// Several computers may open the same competition folder; the exchange is
// done by one of them, the reader, elected without messages through
// Exch.bvc: a computer that sees the file unchanged for max(8, 2 x
// ExchInterval) job passes writes its id into ExchReaderId and becomes the
// reader only when the id is still there two passes later; a reader that
// finds another id steps down. The reader's runs keep the file changing
// (ExchHeartbeat), so the others stay passive while it works.
//
// The worker uses only objects of its own: its settings files, its event
// objects (WorkerEvents), shooter file, club register and exchange log.
// Between the threads it shares the stop request, the running flag, the
// frame's busy gate and the relay web flags; with other programs and
// computers, the files and their locks.
#include "foundation/files/BVConfig.h"
#include "results/data/DataShooter.h"
#include "results/exchange/BusyGate.h"
#include "results/exchange/ExchLog.h"
#include "results/exchange/WorkerEvents.h"
#include "results/registers/DataClub.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace results {

class RelayWebFlags;

enum class ExchangeRole { Off, Passive, Reader };
// The web step's part: off (not here or not in this competition), passive
// (waiting, or claiming), writer (makes the pages).
enum class WebRole { Off, Passive, Writer };

// What one exchange run did for one event.
struct ExchangeEventReport {
    int event = 0;
    int read = 0;     // shooters read in
    int written = 0;  // names written out
};

// What one job pass did, for whoever watches the worker.
struct JobReport {
    int pass = 0;  // job passes from 1
    ExchangeRole role = ExchangeRole::Off;
    int quiet = 0;     // quiet passes counted
    int imported = 0;  // shooters read in by this pass's run
    bool skipped = false;  // the frame was busy
    WebRole webRole = WebRole::Off;
    // Events whose pages the web step made, team competitions as t + 128.
    std::vector<int> webEvents;
};

class CBVResThread {
public:
    // competition: the number of .\Comp<n>; webFlags: the program's relay
    // web flags (none in tools); busy: the frame's gate (none in tools).
    explicit CBVResThread(int competition, RelayWebFlags* webFlags = nullptr, CBusyGate* busy = nullptr);
    virtual ~CBVResThread();
    CBVResThread(const CBVResThread&) = delete;
    CBVResThread& operator=(const CBVResThread&) = delete;

    // The thread's body: 2 at once when the worker already runs, 1 when it
    // ends on request.
    int ThreadProc();
    // Opens the worker's Comp.bvc, Exch.bvc and WEB.bvc (ThreadProc does it
    // first; tests and tools that call Job or ResProc themselves call it).
    void OpenFiles();
    // One job pass: the exchange step, then the web step.
    void Job();
    // One exchange run: for every event with an exchange, import, then export.
    std::vector<ExchangeEventReport> ResProc();
    // Appends an entry to the exchange log (messages of ExchLog.h).
    void WriteLog(int messageId, int event, int a, int b);
    // The results of relay number r of event n changed: for the web pages of
    // this computer (the relay web flags) and of whichever makes them (WEB.bvc).
    void FlagRelayForWeb(int event, int relay);

    // Asks the thread to end; it does within one sleep or one relay of a run.
    void RequestStop();

    // --- Shared with the frame ---
    std::atomic<int> stopRequest{0};
    std::atomic<int> running{0};
    // ExchangeOff of the profile's section Context: nonzero, this computer
    // takes part in the exchange.
    std::atomic<int> takePart{0};
    // WebExchange of the same section: nonzero, this computer may make the
    // competition's web pages and takes part in electing who does.
    std::atomic<int> webTakePart{0};

    // --- Set before the thread starts ---
    int passMs = 50;  // sleep between passes; a job runs every 21st pass
    // This worker's id in ExchReaderId: "pid computer", at most 31 characters.
    std::string readerId;
    // The web step (the list layer's InstallWebStep sets it); it tells the
    // pass's report what it did through webPass.
    std::function<void(CBVResThread&)> webStep;
    struct WebPass {
        WebRole role = WebRole::Off;
        std::vector<int> events;
    } webPass;
    // Called on the worker's thread after every job pass.
    std::function<void(const JobReport&)> onJobPass;
    // Called when a line file has been taken under the worker's own name,
    // before it is read (the path it had): its writer may go on writing
    // under that name. Empty in the program.
    std::function<void(const std::string& path)> onFileTaken;
    // Called after a card was written by the import (relay number, target).
    // Empty in the program.
    std::function<void(int relay, int target)> onCardStored;

    // --- State, for the frame's status and the tests ---
    ExchangeRole Role() const;
    bool IsReader() const { return m_reader != 0; }
    bool IsClaiming() const { return m_claimPasses >= 0; }
    int QuietPasses() const { return m_quietPasses; }
    int PassesSinceImport() const { return m_passesSinceImport; }
    int ExchangeInterval() const { return m_exchangeInterval; }
    int JobPasses() const { return m_jobPasses; }
    // Makes this worker the reader without an election (bvtool res exchange).
    void MakeReader() { m_reader = 1; }
    uint8_t firstPass = 0;  // set when the thread starts; the web step clears it

    CBVConfig& CompSettings() { return m_compCfg; }
    CBVConfig& ExchSettings() { return m_exchCfg; }
    CBVConfig& WebSettings() { return m_webCfg; }
    CBVConfig& TeamSettings() { return m_teamCfg; }
    WorkerEvents& Events() { return m_events; }
    RelayWebFlags* WebFlags() { return m_webFlags; }
    int CompetitionNumber() const { return m_competition; }
    bool StopRequested() const { return stopRequest.load() != 0; }
    const std::string& Folder() const { return m_folder; }

private:
    struct RunState;
    class EventRun;

    // Opens the settings files; whether Comp.bvc, Exch.bvc and WEB.bvc are
    // open. One that cannot be read (logged with its fault) keeps this
    // computer out of the exchange: nothing is decided or written from it.
    bool SettingsReadable();
    // The election, one pass at a time.
    void ExchangeStep(int& imported);
    void StepDown();
    std::string ReaderIdInFile();
    bool StillReader();
    void Sleep();

    // The run's parts (ExchangeRun.h: ExchangeRun.cpp, ExchangeRunLines.cpp,
    // ExchangeRunExport.cpp).
    bool RunEvent(int n, RunState& run, ExchangeEventReport& report);
    // Once per worker, at its first run: the atomic writer's temporary files
    // that writers killed mid-write left in the exchange and competition folders.
    void SweepWriterTemps();

    int m_competition;
    std::string m_folder;  // ".\Comp<n>\"
    RelayWebFlags* m_webFlags;
    CBusyGate* m_busy;

    int m_exchangeInterval = 15;
    int m_passesSinceImport = 0;
    int m_reader = 0;
    int m_quietPasses = 0;
    int m_claimPasses = -1;  // passes since this worker wrote its id; -1 not claiming
    int m_jobPasses = 0;
    bool m_exchOnSeen = false;  // ExchOn as the last pass read it
    bool m_exchChanged = false;  // Exch.bvc changed since the pass before
    bool m_elected = false;     // reader by election: its id stands in Exch.bvc
    bool m_readAll = false;     // reader anew: the next run reads every file
    bool m_tempsSwept = false;

    CBVConfig m_exchCfg;
    CBVConfig m_webCfg;
    CBVConfig m_compCfg;
    CBVConfig m_teamCfg;
    WorkerEvents m_events{m_compCfg, m_folder};
    CDataShooter m_shooters;
    CDataClub m_clubs;
    CExchLog m_log;

    std::mutex m_sleepMutex;
    std::condition_variable m_wake;
};

}  // namespace results
