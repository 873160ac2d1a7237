#include "range/setup/PortSearch.h"

#include "line/BVSerCom.h"
#include "platform/system/Clock.h"

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr int kLookMs = 10;

std::string Format(const char* format, int a, const std::string& text)
{
    char line[160];
    std::snprintf(line, sizeof line, format, a, text.c_str());
    return line;
}

}  // namespace

PortSearch::PortSearch(Texts texts, Options options) : m_texts(std::move(texts)), m_options(options) {}

PortSearch::~PortSearch()
{
    Cancel();
    Join();
}

int PortSearch::Start()
{
    m_running.store(true);
    int rc = m_thread.Start("PortSearch", platform::ThreadPriority::AboveNormal, false, [this] { Run(); });
    if (rc != 0)
        m_running.store(false);
    return rc;
}

void PortSearch::Join()
{
    if (m_thread.Joinable())
        m_thread.Join();
}

std::vector<PortSearch::Step> PortSearch::TakeSteps()
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<Step> steps;
    steps.swap(m_steps);
    return steps;
}

PortSearch::Result PortSearch::GetResult() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_result;
}

void PortSearch::Emit(Step::Kind kind, std::string text, int value)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_steps.push_back({kind, std::move(text), value});
    }
    if (onSteps)
        onSteps();
}

bool PortSearch::WaitFirstPoll(CBVSerCom& line, int lane)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_options.firstPollMs);
    // A lane the line never polls (the line stalled) is taken as silent.
    while (std::chrono::steady_clock::now() < until) {
        if (CancelRequested())
            return false;
        LaneSlot* slot = line.GetLaneSlot(lane);
        if (!slot || slot->okPoll.load() + slot->failedPoll.load() != 0)
            return true;
        platform::SleepMs(kLookMs);
    }
    BV_LOG(m_log, 70, "Port search: lane %d not polled on Com%d", lane, line.PortNumber());
    return true;
}

void PortSearch::Run()
{
    m_running.store(true);
    SearchChannels();
    for (int waited = 0; waited < m_options.endPauseMs && !CancelRequested(); waited += kLookMs)
        platform::SleepMs(kLookMs);
    m_running.store(false);
    if (onDone)
        onDone();
}

void PortSearch::SearchChannels()
{
    Emit(Step::Caption, m_texts.caption);
    std::array<bool, 10> available;
    available.fill(true);
    for (int k = 0; k < kChannels; ++k) {
        std::unique_ptr<CBVSerCom> line;
        int port = 0;
        for (int j = 1; j <= m_options.ports && j < static_cast<int>(available.size()) && !CancelRequested(); ++j) {
            if (!available[static_cast<size_t>(j)])
                continue;
            char trying[96];
            std::snprintf(trying, sizeof trying, m_texts.trying.c_str(), j);
            Emit(Step::Caption, trying);
            Emit(Step::AddLine, trying);
            line = std::make_unique<CBVSerCom>();
            if (line->PortOpen(j, m_options.mode, k) == 1) {
                port = j;
                break;
            }
            if (line->PortNumber() != 0)
                line->PortClose();
            line.reset();
        }
        // Nothing more to find: a channel without a port ends the search.
        if (CancelRequested() || port == 0) {
            if (line)
                line->PortClose();
            return;
        }
        available[static_cast<size_t>(port)] = false;
        Emit(Step::ReplaceLastLine, Format("Com%d %s", port, m_texts.available));
        Emit(Step::AddLine, Format("Com%d: %s", port, m_texts.all));
        for (int b = 1; b <= m_options.lanes; ++b)
            line->AddLane(b);
        for (int b = 1; b <= m_options.lanes; ++b) {
            if (!WaitFirstPoll(*line, b)) {
                line->PortClose();
                return;
            }
            char text[160];
            std::snprintf(text, sizeof text, "Com%d: %s %d", port, m_texts.one.c_str(), b);
            Emit(Step::ReplaceLastLine, text);
            Emit(Step::Progress, {}, (100 * port - 100) / 9 + (100 * b) / 450);
        }
        int first = 0;
        int last = 0;
        for (int b = 1; b <= m_options.lanes; ++b) {
            LaneSlot* slot = line->GetLaneSlot(b);
            if (slot && slot->targetAddress.load() == b && slot->okPoll.load() != 0) {
                if (first == 0)
                    first = b;
                last = b;
            }
        }
        std::string entry;
        if (first == 0) {
            Emit(Step::ReplaceLastLine, Format("Com%d: %s", port, m_texts.none));
        } else {
            char text[200];
            std::snprintf(text, sizeof text, "Com%d: %s %d-%d %s", port, m_texts.lanes.c_str(), first, last,
                          m_texts.reply.c_str());
            Emit(Step::ReplaceLastLine, text);
            entry = {static_cast<char>(port), static_cast<char>(first), static_cast<char>(last)};
        }
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_result[static_cast<size_t>(k)] = entry;
        }
        line->PortClose();
    }
}
