#include "results/exchange/WorkerHost.h"

#include "foundation/files/BVLog.h"
#include "platform/system/Thread.h"
#include "results/data/Competition.h"

#include <chrono>
#include <thread>
#include <vector>

namespace results {
namespace {

// Workers that did not end in time, with their threads: kept for the rest
// of the program's life, since their threads still use them.
struct Stragglers {
    std::vector<std::unique_ptr<CBVResThread>> workers;
    std::vector<std::unique_ptr<platform::Thread>> threads;
};

Stragglers& Abandoned()
{
    static Stragglers* stragglers = new Stragglers;  // never freed: see above
    return *stragglers;
}

constexpr auto kStopStep = std::chrono::milliseconds(10);

}  // namespace

CWorkerHost::CWorkerHost(CBusyGate* busy) : m_busy(busy) {}

CWorkerHost::~CWorkerHost() { Stop(); }

void CWorkerHost::Attach(CCompetition& comp)
{
    comp.startWorker = [this](CCompetition& opened) { Start(opened); };
    comp.stopWorker = [this](CCompetition&) { Stop(); };
}

int CWorkerHost::Start(CCompetition& comp)
{
    Stop();
    m_worker = std::make_unique<CBVResThread>(comp.competition, &comp.WebFlags(), m_busy);
    m_worker->takePart = comp.context[kCtxExchangeOff] != 0 ? 1 : 0;
    m_worker->webTakePart = comp.context[kCtxWebExchange] != 0 ? 1 : 0;
    if (configure)
        configure(*m_worker);
    m_result = std::make_shared<std::atomic<int>>(0);
    m_thread = std::make_unique<platform::Thread>();
    CBVResThread* worker = m_worker.get();
    auto result = m_result;
    int rc = m_thread->Start("BVResWorker", platform::ThreadPriority::AboveNormal, false,
                             [worker, result] { *result = worker->ThreadProc(); });
    if (rc != 0) {
        BV_LOG(ProgramLog(), 90, "The worker's thread did not start (%d)", rc);
        m_thread.reset();
        m_worker.reset();
    }
    return rc;
}

bool CWorkerHost::Stop(int limitMs)
{
    if (!m_worker)
        return true;
    m_worker->RequestStop();
    // The thread may not have come as far as its loop: its result says it ended.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (m_result->load() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(kStopStep);
    if (m_result->load() == 0) {
        BV_LOG(ProgramLog(), 90, "The worker did not stop within %d ms; it is left running", limitMs);
        m_thread->Detach();
        Abandoned().workers.push_back(std::move(m_worker));
        Abandoned().threads.push_back(std::move(m_thread));
        return false;
    }
    m_thread->Join();
    m_thread.reset();
    m_worker.reset();
    return true;
}

}  // namespace results
