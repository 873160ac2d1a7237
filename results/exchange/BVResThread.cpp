#include "results/exchange/BVResThread.h"

#include "foundation/files/BVLog.h"
#include "platform/system/SystemInfo.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataFileOpen.h"
#include "results/data/RelayWebFlags.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace results {
namespace {

constexpr int kPassesPerJob = 20;   // a job on every 21st pass
constexpr int kMinQuietPasses = 8;  // the least a computer waits before it takes over
constexpr int kClaimPasses = 2;     // its id must stay that long in Exch.bvc
constexpr int kImportAtOnce = 9999;

std::string CompFolder(int competition)
{
    char folder[32];
    std::snprintf(folder, sizeof folder, ".\\Comp%d\\", competition);
    return folder;
}

}  // namespace

CBVResThread::CBVResThread(int competition, RelayWebFlags* webFlags, CBusyGate* busy)
    : m_competition(competition), m_folder(CompFolder(competition)), m_webFlags(webFlags), m_busy(busy)
{
    char id[64];
    std::snprintf(id, sizeof id, "%d %s", platform::ProcessId(), platform::ComputerName().c_str());
    readerId = std::string(id).substr(0, CBVConfig::kValueSize - 1);
}

CBVResThread::~CBVResThread() = default;

void CBVResThread::OpenFiles()
{
    if (!m_webCfg.IsOpen())
        OpenSettingsFile(m_webCfg, m_folder + "WEB.bvc");
    if (!m_compCfg.IsOpen())
        OpenSettingsFile(m_compCfg, m_folder + "Comp.bvc");
    if (!m_exchCfg.IsOpen())
        OpenSettingsFile(m_exchCfg, m_folder + "Exch.bvc");
    if (!m_teamCfg.IsOpen())
        OpenSettingsFile(m_teamCfg, m_folder + "Team.bvc");
}

bool CBVResThread::SettingsReadable()
{
    OpenFiles();
    return m_compCfg.IsOpen() && m_exchCfg.IsOpen() && m_webCfg.IsOpen();
}

int CBVResThread::ThreadProc()
{
    if (running.exchange(1) != 0)
        return 2;
    OpenFiles();
    firstPass = 1;
    int count = 0;
    while (!StopRequested()) {
        if (count >= kPassesPerJob) {
            Job();
            count = 0;
        } else {
            ++count;
        }
        Sleep();
    }
    running = 0;
    return 1;
}

void CBVResThread::Sleep()
{
    std::unique_lock lock(m_sleepMutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(passMs), [this] { return StopRequested(); });
}

void CBVResThread::RequestStop()
{
    {
        std::lock_guard lock(m_sleepMutex);
        stopRequest = 1;
    }
    m_wake.notify_all();
}

ExchangeRole CBVResThread::Role() const
{
    if (m_reader)
        return ExchangeRole::Reader;
    return takePart.load() != 0 && m_exchOnSeen ? ExchangeRole::Passive : ExchangeRole::Off;
}

void CBVResThread::Job()
{
    m_compCfg.Refresh();
    JobReport report;
    report.pass = ++m_jobPasses;
    // The frame's busy work and a pass never overlap; a pass the frame
    // blocks is skipped whole, and nothing is counted.
    if (m_busy && !m_busy->TryPass()) {
        report.skipped = true;
        report.role = Role();
        report.quiet = m_quietPasses;
        if (onJobPass)
            onJobPass(report);
        return;
    }
    int imported = 0;
    ExchangeStep(imported);
    webPass = WebPass{};
    if (webStep && SettingsReadable())
        webStep(*this);
    report.webRole = webPass.role;
    report.webEvents = webPass.events;
    if (m_busy)
        m_busy->EndPass();
    report.role = Role();
    report.quiet = m_quietPasses;
    report.imported = imported;
    if (onJobPass)
        onJobPass(report);
}

std::string CBVResThread::ReaderIdInFile() { return ::ReadItem(m_exchCfg, ExchItems::kReaderId); }

void CBVResThread::StepDown()
{
    m_reader = 0;
    m_quietPasses = 0;
    m_passesSinceImport = 0;
    m_claimPasses = -1;
}

bool CBVResThread::StillReader()
{
    if (!m_elected)
        return true;
    m_exchCfg.Refresh();
    if (ReaderIdInFile() == readerId)
        return true;
    BV_LOG(ProgramLog(), 30, "Read passive: %s reads now", ReaderIdInFile().c_str());
    StepDown();
    m_elected = false;
    return false;
}

void CBVResThread::ExchangeStep(int& imported)
{
    if (!SettingsReadable()) {
        StepDown();
        m_elected = false;
        m_exchOnSeen = false;
        return;
    }
    // A file that cannot be looked at counts as changed: nobody takes over
    // from a reader because the file went out of sight.
    m_exchChanged = m_exchCfg.Refresh() != 0;
    m_exchOnSeen = ::ReadItem(m_exchCfg, ExchItems::kOn) != 0;
    if (takePart.load() == 0 || !m_exchOnSeen) {
        StepDown();
        m_elected = false;
        return;
    }
    if (!m_reader) {
        if (m_claimPasses >= 0) {
            // Our id went in; another computer's id written since means it
            // claimed too, and the later one keeps the file.
            if (ReaderIdInFile() != readerId) {
                m_claimPasses = -1;
                m_quietPasses = 0;
                return;
            }
            if (++m_claimPasses < kClaimPasses)
                return;
            m_claimPasses = -1;
            m_reader = 1;
            m_elected = true;
            m_readAll = true;
            ::WriteItem(m_exchCfg, ExchItems::kReadNow, 0);
            m_passesSinceImport = kImportAtOnce;
            BV_LOG(ProgramLog(), 30, "Read activ");
        } else {
            // The file was refreshed above: a change by anyone restarts the count.
            if (m_exchChanged)
                m_quietPasses = 0;
            else
                ++m_quietPasses;
            const int limit = std::max(kMinQuietPasses, 2 * ::ReadItem(m_exchCfg, ExchItems::kInterval));
            if (m_quietPasses >= limit) {
                ::WriteItem(m_exchCfg, ExchItems::kReaderId, readerId);
                m_claimPasses = 0;
            }
            return;
        }
    }
    if (m_elected && ReaderIdInFile() != readerId) {
        BV_LOG(ProgramLog(), 30, "Read passive: %s reads now", ReaderIdInFile().c_str());
        StepDown();
        m_elected = false;
        return;
    }
    m_exchangeInterval = ::ReadItem(m_exchCfg, ExchItems::kInterval);
    const bool readNow = ::ReadItem(m_exchCfg, ExchItems::kReadNow) != 0;
    if (++m_passesSinceImport >= m_exchangeInterval || readNow) {
        for (const ExchangeEventReport& r : ResProc())
            imported += r.read;
        m_passesSinceImport = 0;
        if (readNow && m_reader)
            ::WriteItem(m_exchCfg, ExchItems::kReadNow, 0);
    }
}

void CBVResThread::FlagRelayForWeb(int event, int relay)
{
    if (m_webFlags)
        m_webFlags->Set(event, relay);
    if (relay > 0 && relay <= 999 && ::ReadItem(m_webCfg, WebItems::RelayChanged(event, relay)) != 1)
        ::WriteItem(m_webCfg, WebItems::RelayChanged(event, relay), 1);
}

void CBVResThread::WriteLog(int messageId, int event, int a, int b)
{
    uint8_t kind = kExchLogCount;
    const std::string text = ExchLogText(messageId, a, b, kind);
    // Open only for the one entry, so the exchange screen can list and
    // empty the log between entries.
    m_log.Open(m_folder + "Exch.bvd");
    m_log.Append(kind, event, text);
    m_log.Close();
}

}  // namespace results
