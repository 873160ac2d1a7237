// The range control's start-up on the first tick, its questions and its close.
#include "tests/range/FrameFixture.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/ui/net/BVSocket.h"
#include "line/BVSerCom.h"
#include "line/ui/BVSWLoad.h"
#include "platform/files/FileSystem.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/FrameWnd.h"
#include "range/ui/DlgAsk.h"
#include "range/ui/DlgLineSpy.h"
#include "range/ui/RangeStartup.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgInterface.h"
#include "platform/ports/SerialPort.h"
#include "tools/bvsim/lib/Bus.h"

#include "ModalDriver.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <cstring>
#include <filesystem>

namespace {

using bvtest::RangeFolderSetup;

class StartupTest : public bvtest::RangeFrameTest {
protected:
    // A simulated range with its line on a channel: the start-up question
    // comes at the first tick.
    static void MakeSimulatedRange(int competition = 1)
    {
        RangeFolderSetup setup;
        setup.competition = competition;
        setup.com = 0;
        setup.simulation = true;
        bvtest::MakeRangeFolder(setup);
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        CRangeSettings::WriteChannel(range, 0, {1, 1, 4});
    }
};

TEST(StartupWord, WorkshopModeByTheWordAfterTheName)
{
    struct Case {
        const char* line;
        bool production;
    };
    const Case cases[] = {
        {"BVLeder", false},
        {"BVLeder VERKSTEDER", true},
        {"BVLeder verksteder", true},       // compared in capitals
        {"BVLeder VerkSteder more", true},  // only the first word counts
        {"BVLeder other", false},
        {"BVLeder VERKSTEDERX", false},
        {"BVLeder ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RangeStartup::IsProductionMode(c.line), c.production) << c.line;
}

// Each start-up that cannot open a competition tells why, and the program
// closes on the first tick.
TEST_F(StartupTest, WithoutACompetitionTheProgramCloses)
{
    struct Case {
        const char* name;
        RangeFolderSetup setup;
        bool removeFolder;
        const char* log;
        const char* message;
    };
    RangeFolderSetup none;
    none.competition = -1;
    const Case cases[] = {
        {"no competition", none, false, "No valid competition selected!", "No valid competition selected"},
        {"competition folder missing", {}, true, "Comp1: missing", "Cannot read the file\nComp1: missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        bvtest::MakeRangeFolder(c.setup);
        if (c.removeFolder)
            std::filesystem::remove_all("Comp1");
        prompter.Clear();
        // The officer is offered the competition choice first, and cancels it.
        bvtest::ModalDriver dialogs;
        dialogs.Cancel(CDlgComp::IDD);
        Start();
        Ticks(1);
        EXPECT_TRUE(dialogs.Done());
        EXPECT_TRUE(Frame().Closed());
        EXPECT_NE(Log().find(c.log), std::string::npos);
        ASSERT_EQ(prompter.Questions().size(), 1u);
        EXPECT_EQ(prompter.Questions()[0].text, c.message);
        EXPECT_EQ(Frame().Objects().CompetitionNumber(), -1);
        app.reset();
    }
}

// The workshop sees only the software loader, in Norwegian, whatever the
// range's language; closing it closes the program.
TEST_F(StartupTest, WorkshopModeShowsOnlyTheLoaderAndClosesWithIt)
{
    bvtest::MakeRangeFolder({});
    setenv("BV_FTD2XX", BV_BINARY_DIR "/standin/libftd2xx.so", 1);
    CLanguageTable norwegian;
    ASSERT_EQ(norwegian.Load("BVRange.bvt", "NO"), 0);
    Start("BVLeder verksteder");
    ASSERT_NE(objects->language.GetText("C_BVSWLOAD_STRING_CAPTION"), norwegian.GetText("C_BVSWLOAD_STRING_CAPTION"));
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* loader = dynamic_cast<CBVSWLoad*>(QApplication::activeModalWidget());
        ASSERT_NE(loader, nullptr);
        seen = true;
        EXPECT_EQ(loader->Caption(), norwegian.GetText("C_BVSWLOAD_STRING_CAPTION"));
        EXPECT_EQ(loader->item(CBVSWLoad::IDC_EXIT).text(), "Avslutt");
        EXPECT_TRUE(Frame().Window()->isMinimized());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != loader && w->isVisible())
                EXPECT_TRUE(w->isMinimized()) << w->metaObject()->className();
        // Competitions, lines and clock link stay closed.
        EXPECT_FALSE(objects->comp.IsOpen());
        loader->item(CBVSWLoad::IDC_EXIT).click();
    });
    Ticks(1);
    unsetenv("BV_FTD2XX");
    EXPECT_TRUE(seen);
    EXPECT_EQ(Frame().m_tick.startState, TickSchedule::StartState::Running);
    EXPECT_TRUE(Frame().Closed());
    EXPECT_TRUE(prompter.Questions().empty());
    EXPECT_TRUE(platform::FileExists(".\\Admin.ini"));
}

// A language file that is missing or unreadable is logged once, and the
// program shows the English texts built into it, the same as the file's.
TEST_F(StartupTest, WithoutItsLanguageFileTheProgramShowsBuiltInEnglish)
{
    CLanguageTable english;
    ASSERT_GT(english.Load(std::string(BV_BINARY_DIR) + "/lang/BVRange.bvt", "EN"), 0);
    ASSERT_EQ(static_cast<int>(BuiltInRangeTexts().size()), english.GetCount());
    struct Case {
        const char* name;
        const char* bytes;  // of BVRange.bvt; none: missing
        const char* logged;
    };
    const Case cases[] = {
        {"Missing", nullptr, "BVRange.bvt: missing"},
        {"Garbage", "xxxxxxxxxxxxxxxxxxxx", "BVRange.bvt: unreadable"},
        {"Empty", "", "BVRange.bvt: unreadable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;
        bvtest::MakeRangeFolder({});
        std::filesystem::remove("BVRange.bvt");
        if (c.bytes)
            bvtest::TempFolder::Write("BVRange.bvt", c.bytes);
        Start();
        std::string log = Log();
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        EXPECT_EQ(log.find("BVRange.bvt"), log.rfind("BVRange.bvt")) << log;
        for (const CLanguageTable::Entry& e : BuiltInRangeTexts())
            EXPECT_EQ(objects->language.GetText(e.key), english.GetText(e.key)) << e.key;
        EXPECT_EQ(platform::TextOfKey("IDR_MAINFRAME"), english.GetText("IDR_MAINFRAME"));
        app.reset();
        objects.reset();
    }
}

TEST_F(StartupTest, FirstTickOpensCompetitionLinesAndClockLink)
{
    RangeFolderSetup setup;
    setup.firstLane = 2;
    setup.lastLane = 5;
    bvtest::MakeRangeFolder(setup);
    // The line of channel 1 cannot open.
    platform::SetComDevice(1, folder.File("no-such-port"));
    Start();
    // The first focus arms the tick; nothing is opened before it runs.
    EXPECT_EQ(Frame().m_tick.startState, TickSchedule::StartState::FirstFocus);
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), -1);
    Ticks(1);

    EXPECT_FALSE(Frame().Closed());
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), 1);
    EXPECT_EQ(Frame().Objects().ports[0].state, PortState::Failed);
    EXPECT_NE(Log().find("Failed to open Com1"), std::string::npos);
    // The displays still get their clock link.
    ASSERT_TRUE(Frame().m_socket);
    EXPECT_TRUE(Frame().m_socket->IsOpen());
    EXPECT_GT(Frame().m_socket->LocalPort(), 0);
    EXPECT_EQ(RangeText(RangeItems::kComputerName), platform::ComputerName());

    // Every lane of the competition got its card for relay 1.
    CDataComp& comp = objects->comp;
    for (int lane = 1; lane <= 6; ++lane) {
        SCOPED_TRACE(lane);
        bool active = lane >= 2 && lane <= 5;
        EXPECT_EQ(Lane(lane).enabled, active ? 1 : 0);
        ActiveRecord a;
        EXPECT_EQ(comp.ReadActive(lane, a), active ? 0 : -1);
        if (active) {
            EXPECT_EQ(a.relay, 1);
            EXPECT_NE(a.cardRec, 0);
            EXPECT_EQ(Lane(lane).card.relay, 1);
            EXPECT_EQ(Lane(lane).card.lane, lane);
        }
    }
    // The final marking's record, cleared.
    ActiveRecord zero;
    EXPECT_EQ(comp.ReadActive(0, zero), 0);
    EXPECT_EQ(zero.seriesState, 129);
    EXPECT_EQ(Frame().Window()->Caption(), "BVLeder - Test 1");
}

// The start-up question waits 15 ticks for the targets; a lane whose target
// never told its state turns it into a question.
TEST_F(StartupTest, StartupQuestion)
{
    struct Case {
        const char* name;
        int competition;
        bool question;
    };
    const Case cases[] = {
        {"a lane not heard in a competition", 1, true},
        // In the practice competition a lane not heard is no difference.
        {"practice competition", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        MakeSimulatedRange(c.competition);
        Start();
        Ticks(1);
        ASSERT_FALSE(Frame().Closed());
        CDlgAsk* box = Frame().Questions().AskBox();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->IsOpen());
        EXPECT_EQ(Frame().Questions().Asking(), AskState::Startup);
        EXPECT_EQ(box->Caption(), "Start-up");
        EXPECT_FALSE(box->item(CDlgAsk::IDC_BUTTON1).visible());
        // The first tick counted one; the bar fills towards the end.
        Ticks(13);
        EXPECT_EQ(Frame().Questions().Asking(), AskState::Startup);
        EXPECT_TRUE(box->item(CDlgAsk::IDC_PROGRESS).visible());
        EXPECT_EQ(box->item(CDlgAsk::IDC_PROGRESS).pos(), 94);
        Ticks(1);
        if (c.question) {
            EXPECT_EQ(Frame().Questions().Asking(), AskState::Startup);
            EXPECT_TRUE(box->IsOpen());
            EXPECT_EQ(box->Line(0), "The targets are set to another competition or relay");
            EXPECT_EQ(box->item(CDlgAsk::IDC_BUTTON1).text(), "Choose competition");
            EXPECT_EQ(box->item(CDlgAsk::IDC_BUTTON2).text(), "Practice");
            EXPECT_FALSE(box->item(CDlgAsk::IDC_PROGRESS).visible());
            // Cancel leaves everything as it is.
            box->item(CDlgAsk::IDC_BUTTON4).click();
            EXPECT_FALSE(box->IsOpen());
            EXPECT_EQ(Frame().Objects().CompetitionNumber(), 1);
        } else {
            EXPECT_FALSE(box->IsOpen());
        }
        EXPECT_EQ(Frame().Questions().Asking(), AskState::None);
        app.reset();
    }
}

// Fifty units on one bus need longer than the fixed wait to report their
// lane states after the reset: the question waits for them, and with every
// unit on the range's competition and relay it closes without asking.
TEST_F(StartupTest, TheStartupQuestionWaitsForEveryUnitOfABusyLine)
{
    RangeFolderSetup setup;
    setup.lastLane = 50;
    bvtest::MakeRangeFolder(setup);
    platform::PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    auto master = std::make_unique<platform::SerialPort>();
    ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
    bvsim::Bus bus(std::move(master));
    for (int lane = 1; lane <= 50; ++lane)
        ASSERT_TRUE(bus.AddUnit(lane));
    bus.SetTarget(0, 1, 1, 1, 1);
    ASSERT_EQ(bus.Start(), 0);
    platform::SetComDevice(1, pty.SlavePath());
    Start();
    ASSERT_TRUE(RunUntil([&] { return Frame().Questions().Asking() == AskState::Startup; }, 10000));
    QPointer<CDlgAsk> box = Frame().Questions().AskBox();
    ASSERT_NE(box, nullptr);
    EXPECT_GT(Frame().m_tick.askCountdown, 15);
    bool asked = false;
    EXPECT_TRUE(RunUntil([&] {
        asked |= box && box->Line(0) == "The targets are set to another competition or relay";
        return Frame().Questions().Asking() == AskState::None;
    }, 60000));
    EXPECT_FALSE(asked);
    for (int lane = 1; lane <= 50; ++lane)
        EXPECT_EQ(Frame().Objects().lanes[lane].startupDifference, 0) << lane;
    app.reset();
    bus.Stop();
    platform::SetComDevice(1, "");
}

TEST_F(StartupTest, StartupAnswerPracticeSwitchesTheRange)
{
    MakeSimulatedRange();
    Start();
    Ticks(16);
    CDlgAsk* box = Frame().Questions().AskBox();
    ASSERT_TRUE(box && box->IsOpen());
    box->item(CDlgAsk::IDC_BUTTON2).click();
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), 0);
    EXPECT_EQ(RangeText({1, 1, 680, ""}), "0");
    // The practice folder was made, and named.
    CBVConfig practice;
    practice.Open(CompSettings::FileOf(".\\", 0), 0);
    EXPECT_EQ(ReadItem(practice, CompSettings::kName), "Practice");
    EXPECT_FALSE(box->IsOpen());
    EXPECT_EQ(Frame().Questions().Asking(), AskState::None);
}

// Closing while the range control talks to targets asks first.
TEST_F(StartupTest, ExitQuestion)
{
    struct Case {
        const char* name;
        int competition;
        bool simulation;
        int button;       // 0: no question expected
        bool closed;      // right after the answer
        int ticksToClose; // then
    };
    const Case cases[] = {
        {"no: closes at once", 1, true, CDlgAsk::IDC_BUTTON2, true, 0},
        {"cancel: goes on", 1, true, CDlgAsk::IDC_BUTTON4, false, -1},
        // Yes: the targets go to practice, and the program closes when the
        // exit countdown has run out.
        {"yes: closes after the countdown", 1, true, CDlgAsk::IDC_BUTTON1, false, 30},
        {"practice competition: no question", 0, true, 0, true, 0},
        {"no line and no simulation: no question", 1, false, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        RangeFolderSetup setup;
        setup.competition = c.competition;
        setup.com = 0;
        setup.simulation = c.simulation;
        bvtest::MakeRangeFolder(setup);
        // A range without channels offers its interface first.
        bvtest::ModalDriver dialogs;
        dialogs.Cancel(CDlgInterface::IDD);
        Start();
        Ticks(1);
        EXPECT_TRUE(dialogs.Done());
        ASSERT_FALSE(Frame().Closed());
        ASSERT_EQ(RangeText(RangeItems::kComputerName), platform::ComputerName());
        Frame().Window()->close();
        if (c.button != 0) {
            EXPECT_FALSE(Frame().Closed());
            EXPECT_EQ(Frame().Questions().Asking(), AskState::Exit);
            CDlgAsk* box = Frame().Questions().AskBox();
            ASSERT_TRUE(box && box->IsOpen());
            EXPECT_EQ(box->Line(0), "Set the targets to practice before closing?");
            box->item(c.button).click();
        }
        EXPECT_EQ(Frame().Closed(), c.closed);
        if (c.ticksToClose > 0) {
            EXPECT_EQ(Frame().Objects().CompetitionNumber(), 0);
            EXPECT_EQ(Frame().Questions().Asking(), AskState::ExitCountdown);
            Ticks(c.ticksToClose - 1);
            EXPECT_FALSE(Frame().Closed());
            Ticks(1);
            EXPECT_TRUE(Frame().Closed());
        }
        if (Frame().Closed()) {
            // The displays no longer find this computer, and the window
            // layout is kept for the next start.
            EXPECT_EQ(RangeText(RangeItems::kComputerName), "");
            EXPECT_FALSE(Frame().m_socket);
            EXPECT_EQ(profile.GetInt("Context", "StatusOn", -1), 1);
        }
        app.reset();
    }
}

// The frame's own timer: first tick 100 ms after the focus, then every 200 ms.
TEST_F(StartupTest, TheTimerRunsTheTick)
{
    bvtest::MakeRangeFolder({});
    platform::SetComDevice(1, folder.File("no-such-port"));
    Start();
    ASSERT_TRUE(RunUntil([&] { return Frame().m_tick.startState == TickSchedule::StartState::Running; }, 5000));
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), 1);
    // The file touch runs every 25 ticks (5 s): other programs see the
    // change counter of Active.BVD move.
    auto counter = [] { return bvtest::TempFolder::Read("Comp1/Active.BVD").substr(0, 4); };
    std::string before = counter();
    ASSERT_EQ(before.size(), 4u);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(RunUntil([&] { return counter() != before; }, 10000));
    EXPECT_GT(t.elapsed(), 3000);
}

}  // namespace

namespace {

// The line monitor is the frame's: one at a time, fed by the tick, closed
// with the program.
TEST_F(StartupTest, TheLineMonitorIsOneAtATimeAndClosesWithTheProgram)
{
    bvtest::MakeRangeFolder({});
    platform::PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    platform::SetComDevice(1, pty.SlavePath());
    Start();
    Ticks(1);
    ASSERT_FALSE(Frame().Closed());
    Frame().Dialogs().OpenLineMonitor();
    QPointer<CDlgLineSpy> first = Frame().Dialogs().LineMonitor();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    Frame().Dialogs().OpenLineMonitor();
    QPointer<CDlgLineSpy> second = Frame().Dialogs().LineMonitor();
    ASSERT_NE(second.data(), first.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);

    // A frame the line copies for the monitor reaches its list on the tick.
    CBVSerCom* line = Frame().Objects().ports[0].line.get();
    ASSERT_NE(line, nullptr);
    LineMessage copy{};
    const uint8_t frame[] = {0x82, 0x40, 0x57, 0x02, 0x30, 0x0D};
    std::memcpy(copy.data + 1, frame, sizeof frame);
    copy.data[0] = sizeof frame;
    copy.copyDirection = 1;
    copy.slot = 2;
    // Copies go to a monitor that reads them: offered until it has. The
    // line's own polls may come first, so the frame is looked for in any row.
    const std::string shown = "  M02 40 57 02 30 0D ";
    auto listed = [&] {
        const platform::Control list = second->item(CDlgLineSpy::IDC_LIST);
        for (int row = 0; row < list.count(); ++row)
            if (list.itemText(row, 2) == shown)
                return true;
        return false;
    };
    ASSERT_TRUE(RunUntil(
        [&] {
            if (listed())
                return true;
            line->QueueCopy(copy);
            return false;
        },
        10000));
    EXPECT_TRUE(second->LogOpen());

    Frame().CloseFrame(true);
    EXPECT_EQ(Frame().Dialogs().LineMonitor(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(second);
    EXPECT_NE(bvtest::TempFolder::Read("BVLederMessage.TXT").find("  M02 40"), std::string::npos);
}

}  // namespace

namespace {

// The system's stop signal may come while the program starts, before its
// first tick: the frame closes, and no start-up question keeps the program
// alive behind the closed window.
TEST_F(StartupTest, AStopBeforeTheFirstTickLeavesNoQuestionOpen)
{
    MakeSimulatedRange();
    Start();
    Frame().CloseFrame(true);
    ASSERT_TRUE(Frame().Closed());
    for (int tick = 0; tick < 3; ++tick)
        Frame().OnTick();
    EXPECT_EQ(Frame().Questions().AskBox(), nullptr);
    EXPECT_NE(Frame().m_tick.startState, TickSchedule::StartState::Running);
}

}  // namespace
