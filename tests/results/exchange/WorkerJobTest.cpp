// The worker's job, pass by pass: who becomes the exchange reader and when,
// ExchReadNow, the exchange switched off, and the frame's busy gate; then
// the worker on its thread, started and stopped with the competition.
#include "tests/results/ExchangeFixture.h"
#include "results/exchange/BusyGate.h"
#include "results/exchange/WorkerHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using namespace results;

class WorkerJobTest : public restest::ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        ExchangeEvent(1, 1, "H1", {{3, 3}});
        ::WriteItem(comp.Exch(), ExchItems::kOn, 1);
    }

    // A computer taking part in the exchange, with its own id.
    std::unique_ptr<CBVResThread> Computer(const std::string& id, CBusyGate* busy = nullptr)
    {
        auto worker = std::make_unique<CBVResThread>(1, nullptr, busy);
        worker->OpenFiles();
        worker->takePart = 1;
        worker->readerId = id;
        worker->onJobPass = [this](const JobReport& r) { last = r; };
        return worker;
    }

    std::string IdInFile()
    {
        comp.Exch().Refresh();
        return ::ReadItem(comp.Exch(), ExchItems::kReaderId);
    }

    JobReport last;
};

TEST_F(WorkerJobTest, TakesOverAfterTheQuietPassesAndTwoMore)
{
    const struct {
        int interval;
        int quiet;  // passes before the claim
    } cases[] = {{2, 8}, {15, 30}, {5, 10}, {0, 8}};
    int id = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        ::WriteItem(comp.Exch(), ExchItems::kInterval, c.interval);
        ::WriteItem(comp.Exch(), ExchItems::kReadNow, 1);
        RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "90 91 92"}});
        auto worker = Computer("9 PC" + std::to_string(++id));
        for (int pass = 1; pass < c.quiet; ++pass) {
            worker->Job();
            ASSERT_EQ(last.role, ExchangeRole::Passive) << pass;
            ASSERT_EQ(last.quiet, pass);
            ASSERT_FALSE(worker->IsClaiming());
        }
        worker->Job();  // the limit: the id goes in
        EXPECT_TRUE(worker->IsClaiming());
        EXPECT_EQ(IdInFile(), worker->readerId);
        worker->Job();
        EXPECT_EQ(last.role, ExchangeRole::Passive);
        EXPECT_EQ(last.imported, 0);
        worker->Job();  // still there two passes later: reader, and it imports at once
        EXPECT_EQ(last.role, ExchangeRole::Reader);
        EXPECT_EQ(last.imported, 1);
        comp.Exch().Refresh();
        EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kReadNow), 0);
        EXPECT_EQ(worker->PassesSinceImport(), 0);
    }
}

TEST_F(WorkerJobTest, AChangeOfTheFileStartsTheCountAgain)
{
    ::WriteItem(comp.Exch(), ExchItems::kInterval, 2);
    auto worker = Computer("1 A");
    for (int pass = 1; pass <= 7; ++pass)
        worker->Job();
    EXPECT_EQ(worker->QuietPasses(), 7);
    ::WriteItem(comp.Exch(), ExchItems::kHeartbeat, 2);  // another computer's run
    worker->Job();
    EXPECT_EQ(worker->QuietPasses(), 0);
    worker->Job();
    EXPECT_EQ(worker->QuietPasses(), 1);
}

TEST_F(WorkerJobTest, TwoComputersOneReader)
{
    ::WriteItem(comp.Exch(), ExchItems::kInterval, 2);
    auto a = Computer("1 A");
    auto b = Computer("2 B");
    a->Job();  // A started a pass earlier
    int readerPassesA = 0, readerPassesB = 0;
    for (int pass = 0; pass < 60; ++pass) {
        b->Job();
        a->Job();
        readerPassesA += a->IsReader();
        readerPassesB += b->IsReader();
        ASSERT_FALSE(a->IsReader() && b->IsReader()) << pass;
    }
    EXPECT_GT(readerPassesA, 40);
    EXPECT_EQ(readerPassesB, 0);
    EXPECT_EQ(IdInFile(), "1 A");
    // A's runs keep the file changing: B never counts its limit.
    EXPECT_LT(b->QuietPasses(), 8);
}

TEST_F(WorkerJobTest, AClaimOverwrittenByAnotherGivesWay)
{
    ::WriteItem(comp.Exch(), ExchItems::kInterval, 2);
    auto a = Computer("1 A");
    for (int pass = 1; pass <= 8; ++pass)
        a->Job();
    ASSERT_TRUE(a->IsClaiming());
    // B claimed in the same moment, and its id landed last.
    ::WriteItem(comp.Exch(), ExchItems::kReaderId, "2 B");
    a->Job();
    EXPECT_FALSE(a->IsClaiming());
    EXPECT_EQ(last.role, ExchangeRole::Passive);
    EXPECT_EQ(a->QuietPasses(), 0);
    a->Job();
    a->Job();
    EXPECT_FALSE(a->IsReader());
}

TEST_F(WorkerJobTest, AReaderThatFindsAnotherIdStepsDown)
{
    ::WriteItem(comp.Exch(), ExchItems::kInterval, 2);
    auto a = Computer("1 A");
    for (int pass = 1; pass <= 10; ++pass)
        a->Job();
    ASSERT_TRUE(a->IsReader());
    ::WriteItem(comp.Exch(), ExchItems::kReaderId, "2 B");
    a->Job();
    EXPECT_FALSE(a->IsReader());
    EXPECT_EQ(a->QuietPasses(), 0);
    EXPECT_EQ(a->PassesSinceImport(), 0);
    EXPECT_EQ(last.role, ExchangeRole::Passive);
}

TEST_F(WorkerJobTest, ReadNowImportsOnTheNextPassAndIsCleared)
{
    auto a = Computer("1 A");
    for (int pass = 1; pass <= 32; ++pass)
        a->Job();
    ASSERT_TRUE(a->IsReader());
    RangeWrites("H1R00102.TXT", {{"Res", "Ser1", "90"}});
    a->Job();
    EXPECT_EQ(last.imported, 0);  // 15 passes between imports
    ::WriteItem(comp.Exch(), ExchItems::kReadNow, 1);
    a->Job();
    EXPECT_EQ(last.imported, 1);
    comp.Exch().Refresh();
    EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kReadNow), 0);
    a->Job();
    EXPECT_EQ(a->PassesSinceImport(), 1);
}

TEST_F(WorkerJobTest, ExchangeOffHereOrInTheCompetition)
{
    ::WriteItem(comp.Exch(), ExchItems::kInterval, 2);
    for (const bool offHere : {true, false}) {
        SCOPED_TRACE(offHere);
        ::WriteItem(comp.Exch(), ExchItems::kOn, 1);
        auto a = Computer(offHere ? "1 A" : "2 B");
        for (int pass = 1; pass <= 10; ++pass)
            a->Job();
        ASSERT_TRUE(a->IsReader());
        if (offHere)
            a->takePart = 0;
        else
            ::WriteItem(comp.Exch(), ExchItems::kOn, 0);
        a->Job();
        EXPECT_EQ(last.role, ExchangeRole::Off);
        EXPECT_FALSE(a->IsReader());
        EXPECT_EQ(a->QuietPasses(), 0);
        EXPECT_EQ(a->PassesSinceImport(), 0);
    }
}

TEST_F(WorkerJobTest, ABusyFrameSkipsWholePasses)
{
    CBusyGate gate;
    auto a = Computer("1 A", &gate);
    a->Job();
    a->Job();
    EXPECT_EQ(a->QuietPasses(), 2);
    {
        CBusyGate::Hold hold(gate);
        EXPECT_TRUE(gate.IsBusy());
        a->Job();
        EXPECT_TRUE(last.skipped);
        EXPECT_EQ(a->QuietPasses(), 2);
    }
    EXPECT_FALSE(gate.IsBusy());
    a->Job();
    EXPECT_FALSE(last.skipped);
    EXPECT_EQ(a->QuietPasses(), 3);
}

// Waits up to 10 s for a condition.
template <typename Condition>
bool WaitFor(Condition condition)
{
    for (int i = 0; i < 1000 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

class WorkerThreadTest : public restest::ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        host.configure = [](CBVResThread& w) { w.passMs = 1; };
    }
    CBusyGate gate;
    CWorkerHost host{&gate};
};

TEST_F(WorkerThreadTest, FollowsTheCompetitionAndStartsOnce)
{
    {
        CCompetition other;
        other.SetProfile(&profile);
        host.Attach(other);
        ASSERT_EQ(other.Open(), 0);
        ASSERT_NE(host.Worker(), nullptr);
        EXPECT_EQ(host.Worker()->Folder(), ".\\Comp1\\");
        CBVResThread* first = host.Worker();
        ASSERT_TRUE(WaitFor([&] { return first->JobPasses() >= 2; }));
        EXPECT_EQ(first->ThreadProc(), 2);  // a second start leaves the running one alone
        EXPECT_EQ(first->running.load(), 1);

        other.ChangeCompetition(3);
        ASSERT_NE(host.Worker(), nullptr);
        EXPECT_EQ(host.Worker()->Folder(), ".\\Comp3\\");
        EXPECT_EQ(host.Worker()->takePart.load(), 0);  // ExchangeOff of the profile
    }
    // The competition object went: its worker with it.
    EXPECT_EQ(host.Worker(), nullptr);
}

TEST_F(WorkerThreadTest, TheFramesBusyWorkWaitsForAPassAndBlocksTheNext)
{
    std::mutex m;
    std::condition_variable cv;
    bool inPass = false, release = false;
    std::atomic<int> skipped{0};
    host.configure = [&](CBVResThread& w) {
        w.passMs = 1;
        w.webStep = [&](CBVResThread&) {
            std::unique_lock lock(m);
            inPass = true;
            cv.notify_all();
            cv.wait(lock, [&] { return release; });
        };
        w.onJobPass = [&](const JobReport& r) { skipped += r.skipped; };
    };
    // However the test ends, the pass is let go before the host stops it.
    struct Release {
        std::function<void()> go;
        ~Release() { go(); }
    } letGo{[&] {
        {
            std::lock_guard lock(m);
            release = true;
        }
        cv.notify_all();
    }};
    ASSERT_EQ(host.Start(comp), 0);
    {
        std::unique_lock lock(m);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return inPass; }));
    }
    std::atomic<bool> entered{false};
    std::thread frame([&] {
        gate.Enter();
        entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered.load());  // the pass still runs
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    frame.join();
    EXPECT_TRUE(entered.load());
    EXPECT_TRUE(WaitFor([&] { return skipped.load() >= 2; }));
    gate.Leave();
    EXPECT_TRUE(host.Stop());
}

TEST_F(WorkerThreadTest, AWorkerThatDoesNotStopInTimeIsLeftRunning)
{
    std::atomic<bool> release{false}, inPass{false};
    struct Release {
        std::atomic<bool>& flag;
        CWorkerHost& host;
        ~Release()
        {
            flag = true;
            host.Stop();
        }
    } letGo{release, host};
    host.configure = [&](CBVResThread& w) {
        w.passMs = 1;
        w.webStep = [&](CBVResThread&) {
            inPass = true;
            while (!release.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        };
    };
    ASSERT_EQ(host.Start(comp), 0);
    CBVResThread* worker = host.Worker();
    ASSERT_TRUE(WaitFor([&] { return inPass.load(); }));
    EXPECT_FALSE(host.Stop(100));
    EXPECT_EQ(host.Worker(), nullptr);
    EXPECT_EQ(worker->running.load(), 1);  // alive, and still ours to read
    EXPECT_NE(Read("BVLog.txt").find("did not stop within 100 ms"), std::string::npos);
    release = true;
    EXPECT_TRUE(WaitFor([&] { return worker->running.load() == 0; }));
}

}  // namespace
