// The port search against simulated target units on pseudo-terminals. Every
// COMn is mapped: the simulated buses' ports to their terminals, the others
// to paths that do not exist, so no real port of the machine is touched.
#include "SetupFixture.h"

#include "foundation/settings/RangeSettings.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "range/setup/PortSearch.h"
#include "range/ui/setup/DlgBusy.h"
#include "range/ui/setup/DlgInterface.h"
#include "tools/bvsim/lib/Bus.h"

#include <QTest>

#include <atomic>
#include <string>

namespace {

// A bus of simulated units on COM n.
struct SimBus {
    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    int com = 0;

    void Start(int n, int firstLane, int lastLane)
    {
        com = n;
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        ASSERT_EQ(bus->Start(), 0);
        for (int lane = firstLane; lane <= lastLane; ++lane)
            ASSERT_TRUE(bus->AddUnit(lane));
        platform::SetComDevice(n, pty.SlavePath());
    }
    ~SimBus()
    {
        if (bus)
            bus->Stop();
    }
};

PortSearch::Texts Texts()
{
    PortSearch::Texts t;
    t.caption = "Searching";
    t.trying = "Trying COM%d";
    t.available = "is free";
    t.all = "asking every lane";
    t.one = "asked lane";
    t.none = "no lane answered";
    t.lanes = "lanes";
    t.reply = "answered";
    return t;
}

// The busy box's job list and caption as the steps make them.
struct Shown {
    std::string caption;
    std::vector<std::string> lines;
    int progress = 0;
    void Apply(const std::vector<PortSearch::Step>& steps)
    {
        for (const PortSearch::Step& s : steps) {
            switch (s.kind) {
            case PortSearch::Step::Caption: caption = s.text; break;
            case PortSearch::Step::AddLine: lines.push_back(s.text); break;
            case PortSearch::Step::ReplaceLastLine:
                if (!lines.empty())
                    lines.pop_back();
                lines.push_back(s.text);
                break;
            case PortSearch::Step::Progress: progress = s.value; break;
            }
        }
    }
};

class PortSearchTest : public bvtest::SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        for (int n = 1; n <= 9; ++n)
            platform::SetComDevice(n, folder.File("no-port-" + std::to_string(n)));
    }
    void TearDown() override
    {
        for (int n = 1; n <= 9; ++n)
            platform::SetComDevice(n, "");
        SetupTest::TearDown();
    }

    PortSearch::Options Quick()
    {
        PortSearch::Options o;
        o.firstPollMs = 5000;
        o.endPauseMs = 0;
        return o;
    }
};

TEST_F(PortSearchTest, FindsThePortAndTheLanesThatAnswer)
{
    SimBus com3;
    com3.Start(3, 3, 12);
    // A loaded machine may hold a simulated unit's answer past its poll, and
    // a lane whose first poll fails counts as silent: the search is run again
    // then. A lane that truly does not answer fails every run.
    PortSearch::Result result;
    Shown shown;
    for (int run = 1; run <= 3; ++run) {
        PortSearch search(Texts(), Quick());
        std::atomic<int> done{0};
        search.onDone = [&] { done.fetch_add(1); };
        ASSERT_EQ(search.Start(), 0);
        search.Join();
        EXPECT_EQ(done.load(), 1);
        EXPECT_FALSE(search.Running());
        result = search.GetResult();
        shown = Shown{};
        shown.Apply(search.TakeSteps());
        if (result[0] == std::string("\x03\x03\x0C", 3))
            break;
    }
    EXPECT_EQ(result[0], std::string("\x03\x03\x0C", 3));
    EXPECT_EQ(result[1], "");
    // Channel 1 finds COM3; channel 2 finds no port (COM3 is not tried
    // again), which ends the search.
    const std::vector<std::string> expected = {
        "Trying COM1", "Trying COM2", "Com3 is free", "Com3: lanes 3-12 answered",
        "Trying COM1", "Trying COM2", "Trying COM4", "Trying COM5", "Trying COM6",
        "Trying COM7", "Trying COM8", "Trying COM9",
    };
    EXPECT_EQ(shown.lines, expected);
    EXPECT_EQ(shown.caption, "Trying COM9");
    EXPECT_EQ(shown.progress, (100 * 3 - 100) / 9 + (100 * 50) / 450);
}

TEST_F(PortSearchTest, APortWithoutUnitsFindsNoLane)
{
    // A terminal nobody answers on: every poll fails.
    platform::PseudoTerminal silent;
    ASSERT_EQ(silent.Open(), 0);
    platform::SetComDevice(2, silent.SlavePath());
    PortSearch::Options options = Quick();
    options.lanes = 3;
    PortSearch search(Texts(), options);
    search.Run();
    Shown shown;
    shown.Apply(search.TakeSteps());
    ASSERT_GE(shown.lines.size(), 3u);
    EXPECT_EQ(shown.lines[2], "Com2: no lane answered");
    EXPECT_EQ(search.GetResult()[0], "");
}

TEST_F(PortSearchTest, CancelWhileProbingEndsBeforeTheNextPort)
{
    SimBus com3;
    com3.Start(3, 3, 12);
    PortSearch search(Texts(), Quick());
    // The officer cancels while the first port is being tried (its caption
    // and its line are the second and third steps).
    int steps = 0;
    search.onSteps = [&] {
        if (++steps == 3)
            search.Cancel();
    };
    std::atomic<int> done{0};
    search.onDone = [&] { done.fetch_add(1); };
    ASSERT_EQ(search.Start(), 0);
    search.Join();
    EXPECT_EQ(done.load(), 1);
    Shown shown;
    shown.Apply(search.TakeSteps());
    EXPECT_EQ(shown.lines, (std::vector<std::string>{"Trying COM1"}));
    EXPECT_EQ(search.GetResult(), PortSearch::Result{});
}

// The search as the interface dialog runs it: the busy box, the question at
// the end, the frame's lines closed while it looks and opened afterwards.
class SearchDialogTest : public PortSearchTest {
protected:
    void SetUp() override
    {
        PortSearchTest::SetUp();
        CRangeSettings::WriteChannel(Range(), 0, {1, 1, 4});
        com3.Start(3, 3, 12);
        hooks.closePorts = [this] { frame.push_back("close"); };
        hooks.openPorts = [this] { frame.push_back("open"); };
        dlg = std::make_unique<CDlgInterface>(nullptr, *objects, hooks);
        dlg->searchOptions = Quick();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(true);
    }
    void TearDown() override
    {
        dlg.reset();
        PortSearchTest::TearDown();
    }
    bool Asked() const { return !prompter.Questions().empty(); }
    // Lets the event loop run a while: a late message would arrive now.
    static void Linger() { RunUntil([] { return false; }, 300); }

    SimBus com3;
    CDlgInterface::FrameHooks hooks;
    std::vector<std::string> frame;
    std::unique_ptr<CDlgInterface> dlg;
};

TEST_F(SearchDialogTest, YesStoresThePortsFoundWithTheirLanes)
{
    prompter.AnswerMessage(platform::IDYES);
    dlg->item(CDlgInterface::IDC_SEARCH).click();
    EXPECT_EQ(frame, (std::vector<std::string>{"close"}));
    ASSERT_TRUE(dlg->BusyBox());
    EXPECT_TRUE(dlg->BusyBox()->isVisible());
    // The busy box while the search polls the lanes of COM3.
    ASSERT_TRUE(RunUntil([&] {
        auto lines = dlg->BusyBox() ? dlg->BusyBox()->Lines() : std::vector<std::string>{};
        return !lines.empty() && lines.back() == "Com3: asked lane 30";
    }));
    EXPECT_EQ(dlg->BusyBox()->Caption(), platform::Ansi("Prøver COM3"));
    EXPECT_EQ(dlg->BusyBox()->item(CDlgBusy::IDC_CANCEL).text(), "Cancel");
    SaveScreen(*dlg->BusyBox(), "port-search.png");
    {
        bvtest::HelpInUse help;
        QTest::keyClick(dlg->BusyBox()->item(CDlgBusy::IDC_JOBS).widget(), Qt::Key_F1);
        EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{{133, 2}}));
    }

    ASSERT_TRUE(RunUntil([&] { return !dlg->Searching(); }));
    EXPECT_EQ(dlg->BusyBox(), nullptr);
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{"Message None YesNo default 0 [] Store the ports and lanes "
                                                        "found as the channels' settings? -> 6"}));
    EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 530), "3 3 12");
    EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 531), "");
    // The dialog shows the port found with its lanes, so OK keeps both.
    EXPECT_EQ(dlg->item(CDlgInterface::IDC_DEVICE1).selection(), 3);
    EXPECT_EQ(dlg->item(CDlgInterface::IDC_FIRST1).text(), "3");
    EXPECT_EQ(dlg->item(CDlgInterface::IDC_LAST1).text(), "12");
    EXPECT_EQ(frame, (std::vector<std::string>{"close", "open"}));
    dlg->item(CDlgInterface::IDC_OK).click();
    EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 530), "3 3 12");
}

TEST_F(SearchDialogTest, NoStoresNothingAndTheLinesOpenAgain)
{
    prompter.AnswerMessage(platform::IDNO);
    dlg->item(CDlgInterface::IDC_SEARCH).click();
    ASSERT_TRUE(RunUntil([&] { return Asked() && !dlg->Searching(); }));
    EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 530), "1 1 4");
    EXPECT_EQ(dlg->item(CDlgInterface::IDC_DEVICE1).selection(), 1);
    EXPECT_EQ(frame, (std::vector<std::string>{"close", "open"}));
}

// Stopping the search from its busy box (its Cancel, Enter or Escape) still
// brings the question.
TEST_F(SearchDialogTest, StoppedFromTheBusyBoxItStillAsks)
{
    struct Case {
        const char* name;
        std::function<void(CDlgBusy&)> stop;
    };
    const Case cases[] = {
        {"Cancel", [](CDlgBusy& b) { b.item(CDlgBusy::IDC_CANCEL).click(); }},
        {"Enter", [](CDlgBusy& b) { QTest::keyClick(&b, Qt::Key_Return); }},
        {"Escape", [](CDlgBusy& b) { QTest::keyClick(&b, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        frame.clear();
        prompter.AnswerMessage(platform::IDNO);
        dlg->item(CDlgInterface::IDC_SEARCH).click();
        ASSERT_TRUE(dlg->BusyBox());
        c.stop(*dlg->BusyBox());
        EXPECT_TRUE(dlg->BusyBox()->CancelRequested());
        EXPECT_FALSE(dlg->BusyBox()->isVisible());
        ASSERT_TRUE(RunUntil([&] { return Asked(); }));
        EXPECT_FALSE(dlg->Searching());
        EXPECT_EQ(dlg->BusyBox(), nullptr);
        Linger();
        EXPECT_EQ(prompter.Questions().size(), 1u);
        EXPECT_EQ(frame, (std::vector<std::string>{"close", "open"}));
        EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 530), "1 1 4");
    }
}

// Ending the interface dialog mid-search stops the search and waits for it;
// its end no longer reaches the dialog, and the lines open again.
TEST_F(SearchDialogTest, OKOrCancelMidSearchEndsItWithoutTheQuestion)
{
    struct Case {
        const char* name;
        int button;
        const char* written;
    };
    const Case cases[] = {
        {"OK", CDlgInterface::IDC_OK, "1 1 4"},
        {"Cancel", CDlgInterface::IDC_CANCEL, "1 1 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.clear();
        dlg->ShowWindow(true);
        dlg->item(CDlgInterface::IDC_SEARCH).click();
        ASSERT_TRUE(RunUntil([&] {
            auto lines = dlg->BusyBox() ? dlg->BusyBox()->Lines() : std::vector<std::string>{};
            return !lines.empty() && lines.back().rfind("Com3: asked lane", 0) == 0;
        }));
        dlg->item(c.button).click();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_FALSE(dlg->Searching());
        EXPECT_EQ(dlg->BusyBox(), nullptr);
        Linger();
        EXPECT_TRUE(prompter.Questions().empty());
        EXPECT_EQ(frame, (std::vector<std::string>{"close", "open"}));
        EXPECT_EQ(CfgBytes("BVLeder.bvc", 1, 1, 530), c.written);
    }
}

}  // namespace
