#pragma once
// The worker's web step: on every job pass, one computer of those sharing
// the competition keeps its web pages current.
//
// The writer is elected as the exchange reader is, through WEB.bvc: a
// computer with WebExchange set that finds the file quiet for 15 passes in
// a row writes its id into WebWriterId, and writes pages only when the id
// is still there two passes later; a writer that finds another id steps
// down. The writer's heartbeat, on every pass and before every event's
// pages, keeps the file changing, so the others stay passive while it lives.
//
// An event found dirty is remade ten passes later, so the shots of several
// targets go into one page run; its pages then make every team competition
// dirty, and those follow on the same pass. The first pass as writer remakes
// everything.
//
// The pages themselves are made above this layer, by a list object of the
// worker's own, behind WebPageMaker.
#include "results/exchange/BVResThread.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace results {

class WebPageMaker {
public:
    virtual ~WebPageMaker() = default;
    // Before a writer's pass: the maker brings its settings up to date.
    virtual void BeginPass(CBVResThread& worker) = 0;
    virtual void ResetSelection() = 0;
    virtual void MakeFramePages(int pageCount) = 0;
    virtual void MakeWebPages(int number, int aweb, int prize) = 0;
    virtual void MakeWebIndex() = 0;
};

class CWebStep {
public:
    static constexpr int kPassesBeforeClaim = 15;
    static constexpr int kClaimPasses = 2;
    static constexpr int kCountdown = 10;
    static constexpr int kTeamBit = 0x80;

    explicit CWebStep(std::unique_ptr<WebPageMaker> pages);
    virtual ~CWebStep();

    // One pass; fills the worker's webPass.
    void Run(CBVResThread& worker);

    WebRole Role() const;
    bool IsWriter() const { return m_writer != 0; }
    int PassCount() const { return m_passCount; }
    int Countdown(int event) const;

private:
    bool Elect(CBVResThread& worker);
    void StepDown();
    void MakeEvent(CBVResThread& worker, int number, bool framePages, bool index);
    int32_t& CountdownOf(int event);

    std::unique_ptr<WebPageMaker> m_pages;
    int m_passCount = 0;
    int m_claimPasses = -1;  // passes since this worker wrote its id; -1 not claiming
    uint8_t m_writer = 0;
    uint8_t m_pagesMade = 0;
    uint8_t m_heartbeat = 0;
    bool m_on = false;  // CompWebOn and WebExchange, as the last pass saw them
    std::vector<int32_t> m_countdowns;
};

}  // namespace results
