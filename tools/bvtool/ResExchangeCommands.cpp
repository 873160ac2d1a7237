// bvtool res exchange|worker|log: BVRes's exchange with the range control
// from the command line: exchange runs by a worker made the reader, the
// background worker on its thread with its election, and the exchange log.
// Fields are separated by one tab.
#include "ResCommands.h"

#include "results/data/CompetitionItems.h"
#include "results/exchange/BVResThread.h"
#include "results/exchange/ExchLog.h"
#include "results/exchange/WorkerHost.h"
#include "results/lists/web/WorkerWebPages.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>

#include <pthread.h>

namespace bvtool::res {

using namespace results;

namespace {

// Opens the competition of --comp N, or User.bvc's, as BVRes opens it.
bool OpenNumbered(CCompetition& comp, const Options& o, std::string& error)
{
    long n = 0;
    if (o.Has("--comp") && !Number(o.Get("--comp"), 1, 999, n, "a competition", error))
        return false;
    if (comp.Open(static_cast<int>(n)) != 0) {
        error = "cannot make the folder Common";
        return false;
    }
    if (!comp.Comp().IsOpen()) {
        error = "cannot open competition " + std::to_string(comp.competition);
        return false;
    }
    return true;
}

const char* RoleName(ExchangeRole role)
{
    switch (role) {
    case ExchangeRole::Reader: return "reader";
    case ExchangeRole::Passive: return "passive";
    default: return "off";
    }
}

const char* WebRoleName(WebRole role)
{
    switch (role) {
    case WebRole::Writer: return "writer";
    case WebRole::Passive: return "passive";
    default: return "off";
    }
}

int RunExchangeRuns(const Args& args)
{
    std::string error;
    Options o;
    long runs = 1;
    if (args.size() < 2)
        return Fail("usage: bvtool res exchange DIR [--comp N] [--runs N] [--read-now]");
    if (!ParseOptions(args, 2, {"--comp", "--runs"}, {"--read-now"}, o, error) ||
        (o.Has("--runs") && !Number(o.Get("--runs"), 1, 1000000, runs, "--runs", error)) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    std::atomic<int> damaged{0};
    KeepGoingOnDamagedFiles(damaged);
    CCompetition comp;
    if (!OpenNumbered(comp, o, error))
        return Fail(error);
    // The reader by fiat: no election, whatever ExchOn and ExchangeOff say.
    CBVResThread worker(comp.competition, &comp.WebFlags());
    worker.OpenFiles();
    worker.MakeReader();
    CBVConfig& exch = worker.ExchSettings();
    if (!exch.IsOpen())
        return Fail("cannot open Exch.bvc of competition " + std::to_string(comp.competition));
    if (o.Has("--read-now") && ::WriteItem(exch, ExchItems::kReadNow, 1) != 0)
        return Fail("cannot write ExchReadNow into Exch.bvc");
    // An event without an electronic system takes nothing from the exchange
    // folder: a run that imports nothing says why.
    const int events = EventCount(comp.Comp());
    for (int e = 1; e <= events; ++e)
        if (::ReadItem(comp.Comp(), CompItems::EventInUse(e)) != 0 && ::ReadItem(exch, ExchItems::EventType(e)) == 0)
            std::fprintf(stderr,
                         "bvtool: event %d has exchange type 0 (none) and imports nothing; "
                         "'bvtool res event DIR %d --exch 1' makes it this range system's\n",
                         e, e);
    for (long k = 1; k <= runs; ++k) {
        exch.Refresh();
        const bool readNow = ::ReadItem(exch, ExchItems::kReadNow) != 0;
        for (const ExchangeEventReport& r : worker.ResProc())
            std::printf("run\t%ld\t%d\t%d\t%d\n", k, r.event, r.read, r.written);
        // As the reader does after its run.
        if (readNow)
            ::WriteItem(exch, ExchItems::kReadNow, 0);
    }
    return damaged.load() > 0 ? 1 : 0;
}

int RunWorker(const Args& args)
{
    std::string error;
    Options o;
    long passes = 0, passMs = 50;
    if (args.size() < 2)
        return Fail("usage: bvtool res worker DIR [--comp N] [--passes N] [--pass-ms MS] [--take-part] [--web]");
    if (!ParseOptions(args, 2, {"--comp", "--passes", "--pass-ms"}, {"--take-part", "--web"}, o, error) ||
        (o.Has("--passes") && !Number(o.Get("--passes"), 0, 100000000, passes, "--passes", error)) ||
        (o.Has("--pass-ms") && !Number(o.Get("--pass-ms"), 1, 60000, passMs, "--pass-ms", error)) ||
        !EnterFolder(args[1], error))
        return Fail(error);

    // SIGINT and SIGTERM are taken by this thread alone (the worker's
    // thread inherits the mask), and end the worker as the frame ends it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::atomic<int> damaged{0};
    KeepGoingOnDamagedFiles(damaged);

    if (o.Has("--web"))
        StartQt();
    std::atomic<bool> done{false};
    const bool takePart = o.Has("--take-part");
    const bool web = o.Has("--web");
    CWorkerHost host;  // outlives the competition, which stops the worker when it ends
    host.configure = [&](CBVResThread& worker) {
        worker.passMs = static_cast<int>(passMs);
        if (takePart)
            worker.takePart = 1;
        if (web)
            worker.webTakePart = 1;
        InstallWebStep(worker);
        worker.onJobPass = [&done, passes, web](const JobReport& r) {
            if (done.load())
                return;
            std::printf("pass\t%d\t%s\t%d\t%d\n", r.pass, RoleName(r.role), r.quiet, r.imported);
            if (web) {
                std::string events;
                for (int e : r.webEvents)
                    events += (events.empty() ? "" : ",") + std::to_string(e);
                std::printf("web\t%d\t%s\t%s\n", r.pass, WebRoleName(r.webRole), events.empty() ? "-" : events.c_str());
            }
            std::fflush(stdout);
            if (passes > 0 && r.pass >= passes)
                done = true;
        };
    };
    CCompetition comp;
    host.Attach(comp);
    if (!OpenNumbered(comp, o, error))
        return Fail(error);
    if (!host.Worker())
        return Fail("the worker's thread did not start");
    const timespec step{0, 50 * 1000 * 1000};
    while (!done.load()) {
        if (sigtimedwait(&stopSignals, nullptr, &step) > 0)
            break;
    }
    if (!host.Stop())
        return Fail("the worker did not stop within 10 s");
    return damaged.load() > 0 ? 1 : 0;
}

int RunLog(const Args& args)
{
    std::string error;
    Options o;
    if (args.size() < 2)
        return Fail("usage: bvtool res log DIR [--comp N] [--clear]");
    if (!ParseOptions(args, 2, {"--comp"}, {"--clear"}, o, error) || !EnterFolder(args[1], error))
        return Fail(error);
    CCompetition comp;
    if (!OpenNumbered(comp, o, error))
        return Fail(error);
    CExchLog log;
    const std::string path = comp.Folder() + "Exch.bvd";
    if (log.Open(path) != -1)
        return Fail("cannot open Exch.bvd of competition " + std::to_string(comp.competition));
    if (o.Has("--clear")) {
        if (log.Clear() != 0)
            return Fail("cannot empty Exch.bvd of competition " + std::to_string(comp.competition));
        return 0;
    }
    const int count = log.Count();
    for (int n = 1; n <= count; ++n) {
        ExchLogRecord r;
        if (!log.Read(n, r))
            return Fail("cannot read record " + std::to_string(n) + " of Exch.bvd");
        std::printf("%d\t%d\t%s\t%04d-%02d-%02d %02d:%02d:%02d\n", r.kind, r.event,
                    ToScreen(std::string(r.text, strnlen(r.text, sizeof r.text))).c_str(), r.century * 100 + r.year,
                    r.month, r.day, r.hour, r.minute, r.second);
    }
    return 0;
}

}  // namespace

int RunExchange(const Args& args)
{
    if (args[0] == "worker")
        return RunWorker(args);
    if (args[0] == "log")
        return RunLog(args);
    return RunExchangeRuns(args);
}

}  // namespace bvtool::res
