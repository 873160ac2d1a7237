#include "results/exchange/WebStep.h"

#include "foundation/files/BVLog.h"
#include "results/data/CompetitionItems.h"

namespace results {

CWebStep::CWebStep(std::unique_ptr<WebPageMaker> pages) : m_pages(std::move(pages)) {}

CWebStep::~CWebStep() = default;

WebRole CWebStep::Role() const
{
    if (m_writer)
        return WebRole::Writer;
    return m_on ? WebRole::Passive : WebRole::Off;
}

int CWebStep::Countdown(int event) const
{
    if (event < 0 || event >= static_cast<int>(m_countdowns.size()))
        return 0;
    const int32_t n = m_countdowns[static_cast<size_t>(event)];
    return n < 0 || n > 99 ? 0 : n;
}

int32_t& CWebStep::CountdownOf(int event)
{
    // Events made while the worker runs get their count when first seen.
    if (event >= static_cast<int>(m_countdowns.size()))
        m_countdowns.resize(static_cast<size_t>(event) + 1, 0);
    int32_t& n = m_countdowns[static_cast<size_t>(event)];
    if (n < 0 || n > 99)
        n = 0;
    return n;
}

void CWebStep::StepDown()
{
    m_writer = 0;
    m_passCount = 0;
    m_claimPasses = -1;
}

bool CWebStep::Elect(CBVResThread& worker)
{
    CBVConfig& web = worker.WebSettings();
    // A file that cannot be looked at counts as changed: nobody takes over
    // from a writer because the file went out of sight.
    const bool changed = web.Refresh() != 0;
    const std::string idInFile = ::ReadItem(web, WebItems::kWriterId);
    if (m_writer) {
        if (idInFile == worker.readerId)
            return true;
        BV_LOG(ProgramLog(), 30, "Web passive: %s writes now", idInFile.c_str());
        StepDown();
        return false;
    }
    if (m_claimPasses >= 0) {
        // Another computer's id written since ours: it claimed later and keeps it.
        if (idInFile != worker.readerId) {
            m_claimPasses = -1;
            m_passCount = 0;
            return false;
        }
        if (++m_claimPasses < kClaimPasses)
            return false;
        m_claimPasses = -1;
        m_passCount = 0;
        m_writer = 1;
        BV_LOG(ProgramLog(), 30, "Web activ");
        return true;
    }
    // As for the exchange reader, the passes must be quiet in a row: a
    // writer busy with a long page run still writes between its pages.
    if (changed)
        m_passCount = 0;
    else
        ++m_passCount;
    if (m_passCount >= kPassesBeforeClaim) {
        ::WriteItem(web, WebItems::kWriterId, worker.readerId);
        m_claimPasses = 0;
    }
    return false;
}

void CWebStep::MakeEvent(CBVResThread& worker, int number, bool framePages, bool index)
{
    CBVConfig& web = worker.WebSettings();
    // The others must not find the file quiet while the pages are made.
    ::WriteItem(web, WebItems::kHeartbeat, m_heartbeat++);
    m_pages->ResetSelection();
    if (::ReadItem(web, WebItems::kAWebOn)) {
        if (framePages)
            m_pages->MakeFramePages(::ReadItem(web, WebItems::kAWebPageCount));
        m_pages->MakeWebPages(number, 1, 0);
    }
    if (::ReadItem(web, WebItems::kPWebOn)) {
        m_pages->MakeWebPages(number, 0, 0);
        if (index)
            m_pages->MakeWebIndex();
    }
    worker.webPass.events.push_back(number);
}

void CWebStep::Run(CBVResThread& worker)
{
    CBVConfig& comp = worker.CompSettings();
    CBVConfig& web = worker.WebSettings();
    m_on = ::ReadItem(comp, CompItems::kWebOn) != 0 && worker.webTakePart.load() != 0;
    if (!m_on) {
        StepDown();
        worker.webPass.role = WebRole::Off;
        return;
    }
    if (!Elect(worker)) {
        worker.webPass.role = Role();
        return;
    }
    worker.webPass.role = WebRole::Writer;
    ::WriteItem(web, WebItems::kHeartbeat, m_heartbeat++);
    m_pages->BeginPass(worker);

    const bool first = worker.firstPass != 0;
    m_pagesMade = 0;
    const int events = EventCount(comp);
    for (int i = 1; i <= events; ++i) {
        if (worker.StopRequested())
            return;
        if (::ReadItem(comp, CompItems::EventExcluded(i)) == 1 || ::ReadItem(comp, CompItems::EventInUse(i)) == 0)
            continue;
        if (::ReadItem(web, WebItems::EventDirty(i)) == 0 && !first)
            continue;
        int32_t& count = CountdownOf(i);
        ++count;
        if (count < kCountdown && !first)
            continue;
        ::WriteItem(web, WebItems::EventDirty(i), 0);
        MakeEvent(worker, i, ::ReadItem(web, WebItems::kCommonDirty) != 0 || first,
                  ::ReadItem(web, WebItems::kIndexDirty) != 0 || first);
        count = 0;
        m_pagesMade = 1;
    }

    worker.TeamSettings().Refresh();
    const int teams = ::ReadItem(worker.TeamSettings(), TeamItems::kCount);
    if (m_pagesMade)
        for (int t = 1; t <= teams; ++t)
            ::WriteItem(web, WebItems::EventDirty(t | kTeamBit), 1);
    for (int t = 1; t <= teams; ++t) {
        if (worker.StopRequested())
            return;
        if (::ReadItem(worker.TeamSettings(), TeamItems::Name(t)).empty())
            continue;
        const int e = t | kTeamBit;
        if (::ReadItem(web, WebItems::EventDirty(e)) == 0 && !first)
            continue;
        ::WriteItem(web, WebItems::EventDirty(e), 0);
        MakeEvent(worker, e, ::ReadItem(web, WebItems::kCommonDirty) != 0,
                  ::ReadItem(web, WebItems::kIndexDirty) != 0);
    }
    worker.firstPass = 0;
}

}  // namespace results
