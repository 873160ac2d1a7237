// The worker's web step pass by pass, with a page maker that only records
// what it was asked for: who becomes the web writer and when, the ten-pass
// countdown of a dirty event, team pages after events, the first pass, the
// excluded event and a computer without WebExchange.
#include "tests/results/ResultsFixture.h"

#include "results/data/CompetitionItems.h"
#include "results/exchange/WebStep.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace results;

// What the step asked the pages for, one text per call.
class RecordingMaker : public WebPageMaker {
public:
    explicit RecordingMaker(std::vector<std::string>& calls) : m_calls(calls) {}
    void BeginPass(CBVResThread&) override {}
    void ResetSelection() override {}
    void MakeFramePages(int count) override { m_calls.push_back("frames " + std::to_string(count)); }
    void MakeWebPages(int number, int aweb, int prize) override
    {
        m_calls.push_back("pages " + std::to_string(number) + " " + std::to_string(aweb) + " " + std::to_string(prize));
    }
    void MakeWebIndex() override { m_calls.push_back("index"); }

private:
    std::vector<std::string>& m_calls;
};

class WebStepTest : public restest::CompetitionTest {
protected:
    void SetUp() override
    {
        CompetitionTest::SetUp();
        for (int n = 1; n <= 3; ++n)
            Event(n);
        ::WriteItem(comp.Comp(), CompItems::kWebOn, 1);
        ::WriteItem(comp.Web(), WebItems::kPWebOn, 1);
        ::WriteItem(comp.Team(), TeamItems::kCount, 2);
        ::WriteItem(comp.Team(), TeamItems::Name(1), std::string("Lag A"));
        ::WriteItem(comp.Team(), TeamItems::Name(2), std::string(""));  // a free slot
    }

    struct Computer {
        std::unique_ptr<CBVResThread> worker;
        std::unique_ptr<CWebStep> step;
        std::vector<std::string> calls;
        JobReport last;

        void Pass()
        {
            calls.clear();
            worker->Job();
        }
    };

    std::unique_ptr<Computer> MakeComputer(const std::string& id, bool webExchange = true)
    {
        auto c = std::make_unique<Computer>();
        c->worker = std::make_unique<CBVResThread>(1);
        c->worker->OpenFiles();
        c->worker->readerId = id;
        c->worker->webTakePart = webExchange ? 1 : 0;
        c->worker->firstPass = 1;
        c->step = std::make_unique<CWebStep>(std::make_unique<RecordingMaker>(c->calls));
        Computer* raw = c.get();
        c->worker->webStep = [raw](CBVResThread& w) { raw->step->Run(w); };
        c->worker->onJobPass = [raw](const JobReport& r) { raw->last = r; };
        return c;
    }

    // Passes until the computer writes; the passes it took.
    int UntilWriter(Computer& c)
    {
        for (int pass = 1; pass <= 40; ++pass) {
            c.Pass();
            if (c.last.webRole == WebRole::Writer)
                return pass;
        }
        return -1;
    }

    int Dirty(int n)
    {
        comp.Web().Refresh();
        return ::ReadItem(comp.Web(), WebItems::EventDirty(n));
    }
};

TEST_F(WebStepTest, TakesOverAfterFifteenPassesAndTwoMoreThenRemakesEverything)
{
    auto c = MakeComputer("7 PC");
    for (int pass = 1; pass < 15; ++pass) {
        c->Pass();
        ASSERT_EQ(c->last.webRole, WebRole::Passive) << pass;
    }
    c->Pass();  // the fifteenth: the id goes in
    comp.Web().Refresh();
    EXPECT_EQ(::ReadItem(comp.Web(), WebItems::kWriterId), "7 PC");
    c->Pass();
    EXPECT_EQ(c->last.webRole, WebRole::Passive);
    EXPECT_TRUE(c->calls.empty());
    c->Pass();  // still there two passes later: writer, and its first pass remakes all
    EXPECT_EQ(c->last.webRole, WebRole::Writer);
    EXPECT_EQ(c->calls, (std::vector<std::string>{"pages 1 0 0", "index", "pages 2 0 0", "index", "pages 3 0 0",
                                                  "index", "pages 129 0 0"}));
    EXPECT_EQ(c->last.webEvents, (std::vector<int>{1, 2, 3, 129}));
    // Nothing dirty afterwards: nothing made.
    c->Pass();
    EXPECT_TRUE(c->calls.empty());
    EXPECT_EQ(c->last.webRole, WebRole::Writer);
}

TEST_F(WebStepTest, DirtyEventsWaitTenPassesAndTheTeamsFollowOnTheSamePass)
{
    ::WriteItem(comp.Comp(), CompItems::EventExcluded(3), 1);
    ::WriteItem(comp.Web(), WebItems::kAWebOn, 1);
    ::WriteItem(comp.Web(), WebItems::kAWebPageCount, 4);
    auto c = MakeComputer("1 A");
    ASSERT_GT(UntilWriter(*c), 0);
    // The excluded event is left out even of the first pass.
    for (const std::string& call : c->calls)
        EXPECT_EQ(call.find("pages 3 "), std::string::npos) << call;
    EXPECT_EQ(c->calls.front(), "frames 4");

    ::WriteItem(comp.Web(), WebItems::EventDirty(1), 1);
    ::WriteItem(comp.Web(), WebItems::EventDirty(2), 1);
    ::WriteItem(comp.Web(), WebItems::EventDirty(3), 1);
    for (int pass = 1; pass < 10; ++pass) {
        c->Pass();
        ASSERT_TRUE(c->calls.empty()) << pass;
        ASSERT_EQ(c->step->Countdown(1), pass);
    }
    c->Pass();
    EXPECT_EQ(c->calls, (std::vector<std::string>{"pages 1 1 0", "pages 1 0 0", "pages 2 1 0", "pages 2 0 0",
                                                  "pages 129 1 0", "pages 129 0 0"}));
    EXPECT_EQ(Dirty(1), 0);
    EXPECT_EQ(Dirty(2), 0);
    EXPECT_EQ(Dirty(3), 1);  // never made, never cleared
    EXPECT_EQ(Dirty(129), 0);
    EXPECT_EQ(Dirty(130), 1);  // the free slot is marked but has no pages
    EXPECT_EQ(c->step->Countdown(1), 0);
}

TEST_F(WebStepTest, AnEventMadeWhileTheWorkerRunsGetsItsCountdown)
{
    auto c = MakeComputer("1 A");
    ASSERT_GT(UntilWriter(*c), 0);
    Event(40);
    ::WriteItem(comp.Web(), WebItems::EventDirty(40), 1);
    for (int pass = 1; pass < 10; ++pass)
        c->Pass();
    EXPECT_EQ(c->step->Countdown(40), 9);
    c->Pass();
    EXPECT_EQ(c->last.webEvents, (std::vector<int>{40, 129}));
}

TEST_F(WebStepTest, WithoutWebExchangeOrCompWebOnNothingIsWritten)
{
    auto off = MakeComputer("1 A", false);
    for (int pass = 1; pass <= 30; ++pass) {
        off->Pass();
        ASSERT_EQ(off->last.webRole, WebRole::Off);
        ASSERT_TRUE(off->calls.empty());
    }
    comp.Web().Refresh();
    EXPECT_EQ(::ReadItem(comp.Web(), WebItems::kWriterId), "");

    auto on = MakeComputer("2 B");
    ASSERT_GT(UntilWriter(*on), 0);
    ::WriteItem(comp.Comp(), CompItems::kWebOn, 0);
    on->worker->CompSettings().Refresh();
    on->Pass();
    EXPECT_EQ(on->last.webRole, WebRole::Off);
    EXPECT_FALSE(on->step->IsWriter());
}

TEST_F(WebStepTest, TwoComputersOneWriterAndAWriterFindingAnotherIdStepsDown)
{
    auto a = MakeComputer("1 A");
    auto b = MakeComputer("2 B");
    // A starts first; B counts along but never sees the file quiet again.
    for (int pass = 0; pass < 3; ++pass)
        a->Pass();
    int writers = 0;
    for (int pass = 0; pass < 60; ++pass) {
        a->Pass();
        b->Pass();
        writers = (a->last.webRole == WebRole::Writer) + (b->last.webRole == WebRole::Writer);
        ASSERT_LE(writers, 1) << pass;
    }
    EXPECT_EQ(writers, 1);
    Computer& writer = a->step->IsWriter() ? *a : *b;
    Computer& other = a->step->IsWriter() ? *b : *a;
    EXPECT_EQ(other.last.webRole, WebRole::Passive);

    // Another id in the file: the writer gives way at once.
    ::WriteItem(comp.Web(), WebItems::kWriterId, std::string("9 Z"));
    writer.Pass();
    EXPECT_EQ(writer.last.webRole, WebRole::Passive);
    EXPECT_TRUE(writer.calls.empty());
}

}  // namespace
