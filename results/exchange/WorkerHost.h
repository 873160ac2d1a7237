#pragma once
// Starts and stops the background worker with the competition, as the main
// frame does: a worker on a thread of its own at above-normal priority when
// a competition opens, stopped when it is left. Attach hooks the host to the
// competition object; the host must outlive that object.
//
// Stopping asks the worker to end and waits for it, at most a limit (10 s):
// a worker caught in a file that does not answer is logged and left running
// on its own, never deleted under its feet.
#include "results/exchange/BVResThread.h"
#include "results/exchange/BusyGate.h"

#include <atomic>
#include <functional>
#include <memory>

namespace platform {
class Thread;
}

namespace results {

class CCompetition;

class CWorkerHost {
public:
    explicit CWorkerHost(CBusyGate* busy = nullptr);
    virtual ~CWorkerHost();
    CWorkerHost(const CWorkerHost&) = delete;
    CWorkerHost& operator=(const CWorkerHost&) = delete;

    // Sets the competition's startWorker and stopWorker hooks.
    void Attach(CCompetition& comp);

    // A worker for the open competition, started on its thread; 0, or the
    // system error when no thread could be made. A worker still running is
    // stopped first.
    int Start(CCompetition& comp);
    // Asks the worker to end and waits up to limitMs for it. true when it
    // ended (the worker is gone); false when it did not in time (logged; the
    // worker keeps running on its own).
    bool Stop(int limitMs = kStopLimitMs);

    CBVResThread* Worker() { return m_worker.get(); }
    // The result of the worker's ThreadProc once it ended; 0 before.
    int ThreadResult() const { return m_result->load(); }

    // Runs on each new worker before its thread starts: the frame's (or a
    // tool's) settings, such as the pass length and the observer of passes.
    std::function<void(CBVResThread&)> configure;

    static constexpr int kStopLimitMs = 10000;

private:
    CBusyGate* m_busy;
    std::unique_ptr<CBVResThread> m_worker;
    std::unique_ptr<platform::Thread> m_thread;
    std::shared_ptr<std::atomic<int>> m_result = std::make_shared<std::atomic<int>>(0);
};

}  // namespace results
