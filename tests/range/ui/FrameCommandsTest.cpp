// What the window's commands do on a range with units simulated by bvsim:
// the lane commands touch only lanes that take part, the views follow a
// deletion however it was answered, the competition choice leaves the lanes
// running, the language renames the whole menu at once, the system
// administration asks its password and hands the line to the loader, and a
// first start asks for what the range lacks in its order.
#include "GridDriver.h"
#include "ModalDriver.h"
#include "RunCommand.h"
#include "WindowRange.h"

#include "foundation/settings/RangeSettings.h"
#include "line/ui/BVSWLoad.h"
#include "platform/ui/UiText.h"
#include "range/ui/FrameResources.h"
#include "range/ui/dialogs/DlgInput.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/dialogs/DlgRelay.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgDefLane.h"
#include "range/ui/setup/DlgInterface.h"
#include "range/ui/setup/DlgLanguage.h"

#include <QAction>

namespace {

using bvtest::ModalDriver;
using bvtest::RangeFolderSetup;
using platform::IDNO;
using platform::IDYES;

class FrameCommandsTest : public bvtest::WindowRangeTest {
protected:
    // Lanes 1 to 6 on COM1 with units, lanes 1 to 4 taking part in
    // competition 1.
    void StartRange()
    {
        RangeFolderSetup setup;
        setup.autoSend = false;
        bvtest::MakeRangeFolder(setup);
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        ASSERT_EQ(CRangeSettings::WriteChannel(range, 0, {1, 1, 6}), 0);
        StartUnits(1, 6);
        StartProgram();
        // The start-up question closes by itself.
        ASSERT_TRUE(RunUntil([&] { return Frame().Questions().Asking() == AskState::None; }, 20000));
    }

    // Runs a command as the menu does, from the event loop, until every
    // dialog queued was answered and none is left open.
    void Command(int id, ModalDriver& dialogs)
    {
        QMetaObject::invokeMethod(
            Frame().Window(), [this, id] { Frame().Window()->RouteCommand(id); }, Qt::QueuedConnection);
        ASSERT_TRUE(RunUntil([&] { return dialogs.Done() && !QApplication::activeModalWidget(); }, 20000));
        QCoreApplication::processEvents();
    }

    static ModalDriver::Action LaneDialog(int lane, bool all = false)
    {
        return [lane, all](platform::Dialog& d) {
            d.item(CDlgLaneSel::IDC_ALL).setCheck(all ? 1 : 0);
            d.item(CDlgLaneSel::IDC_LANE).setText(std::to_string(lane));
            d.item(CDlgLaneSel::IDC_OK).click();
        };
    }

    // Everything a unit heard, addressed to it or to all, as bvsim counts it.
    int HeardBy(int lane)
    {
        bvsim::UnitStats stats;
        return bus->Stats(lane, stats) ? stats.commands + stats.broadcasts : -1;
    }
};

// Fetching and deleting the monitors' cards: a lane that takes no part is
// sent nothing; one that does is.
TEST_F(FrameCommandsTest, ALaneCommandOnALaneOutsideTheCompetitionSendsNothing)
{
    StartRange();
    for (int id : {32784, 32833}) {
        SCOPED_TRACE(id);
        const int before = HeardBy(5);
        ModalDriver dialogs;
        dialogs.Next(CDlgLaneSel::IDD, LaneDialog(5));
        Command(id, dialogs);
        RunUntil([] { return false; }, 500);
        EXPECT_EQ(HeardBy(5), before);
        EXPECT_EQ(Lane(5).fetchRunning, 0);
        const int before2 = HeardBy(2);
        dialogs.Next(CDlgLaneSel::IDD, LaneDialog(2));
        Command(id, dialogs);
        EXPECT_TRUE(RunUntil([&] { return HeardBy(2) > before2; }, 10000));
    }
    EXPECT_EQ(Lane(2).fetchRunning, 1);
    EXPECT_TRUE(prompter.Log().empty()) << testing::PrintToString(prompter.Log());
}

TEST_F(FrameCommandsTest, DeletingCardsInTheRangeControlRefreshesTheViewsAlsoAfterCancel)
{
    StartRange();
    ASSERT_TRUE(bus->QueueShot(3, 1, 1000, 0, 0));
    ASSERT_TRUE(RunUntil([&] { return StoredShots(1, 3) == 1; }, 20000));
    for (bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        const int builds = List().builds;
        ModalDriver dialogs;
        if (cancel)
            dialogs.Cancel(CDlgLaneSel::IDD);
        else
            dialogs.Next(CDlgLaneSel::IDD, LaneDialog(3));
        Command(32834, dialogs);
        EXPECT_GT(List().builds, builds);
        EXPECT_EQ(StoredShots(1, 3), cancel ? 1 : 0);
    }
}

// The lanes' periodic work is not left paused by a choice that changed
// nothing: a shot fired afterwards reaches its card.
TEST_F(FrameCommandsTest, CompetitionChoiceAnsweredNoOrSettingsCancelledLeavesTheLanesRunning)
{
    StartRange();
    struct Case {
        const char* name;
        std::vector<std::pair<int, ModalDriver::Action>> dialogs;
        std::vector<int> answers;
    };
    auto choose = [](platform::Dialog& d) {
        platform::Control list = d.item(CDlgComp::IDC_LIST);
        list.choose(list.findText(">Comp01"));
        d.item(CDlgComp::IDC_SELECT).click();
    };
    auto newOne = [](platform::Dialog& d) { d.item(CDlgComp::IDC_NEW).click(); };
    auto cancel = [](platform::Dialog& d) { d.OnCancel(); };
    const Case cases[] = {
        {"answered No", {{CDlgComp::IDD, choose}}, {IDNO}},
        {"settings cancelled", {{CDlgComp::IDD, newOne}, {134, cancel}}, {}},
    };
    int shots = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        for (int a : c.answers)
            prompter.AnswerMessage(a);
        ModalDriver dialogs;
        for (const auto& [id, action] : c.dialogs)
            dialogs.Next(id, action);
        Command(32806, dialogs);
        EXPECT_FALSE(Frame().m_tick.pause);
        EXPECT_EQ(Frame().Objects().CompetitionNumber(), 1);
        ++shots;
        ASSERT_TRUE(bus->QueueShot(2, shots, 1000, 100 * shots, 0));
        EXPECT_TRUE(RunUntil([&] { return StoredShots(1, 2) == shots; }, 20000));
    }
}

TEST_F(FrameCommandsTest, TheLanguageCommandRenamesEveryMenuItemAtOnce)
{
    StartRange();
    CLanguageTable german;
    ASSERT_GT(german.Load(".\\BVRange.bvt", "DE"), 0);
    ModalDriver dialogs;
    dialogs.Next(CDlgLanguage::IDD, [](platform::Dialog& d) {
        d.item(CDlgLanguage::IDC_ENGLISH + 4).click();
        d.item(CDlgLanguage::IDC_OK).click();
    });
    Command(32875, dialogs);
    platform::FrameWnd& w = *Frame().Window();
    int items = 0;
    for (const platform::MenuItem& m : FrameResources::Menu()) {
        if (m.id == 0 || !m.key)
            continue;
        ++items;
        EXPECT_EQ(platform::FromQt(w.MenuAction(m.id)->text()), german.GetText(m.key)) << m.key;
    }
    EXPECT_GT(items, 40);
    EXPECT_EQ(objects->settings.profile.language, "DE");
    EXPECT_EQ(profile.GetString("Context", "Language", ""), "DE");
    EXPECT_EQ(w.Caption().rfind(german.GetText("IDR_MAINFRAME"), 0), 0u);
}

TEST_F(FrameCommandsTest, SystemAdministrationAsksThePasswordThenLendsTheLineToTheLoader)
{
    StartRange();
    auto password = [](const char* text) {
        return [text](platform::Dialog& d) {
            d.item(CDlgInput::IDC_TEXT).setText(text);
            d.item(CDlgInput::IDC_OK).click();
        };
    };
    // A wrong password: its message and nothing else.
    {
        ModalDriver dialogs;
        dialogs.Next(CDlgInput::IDD, password("wrong"));
        Command(32778, dialogs);
        std::vector<std::string> log = prompter.Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find(objects->language.GetText("IDS_WRN_ADM_PASS")), std::string::npos) << log[0];
        EXPECT_TRUE(Frame().Objects().ports[0].line != nullptr);
    }
    // The right one: the loader opens on COM1 while the lines are closed;
    // once it closes the units are polled again.
    prompter.Clear();
    int loaderPort = -1;
    bool linesClosed = false;
    ModalDriver dialogs;
    dialogs.Next(CDlgInput::IDD, password("9"));
    dialogs.Next(CBVSWLoad::IDD, [&](platform::Dialog& d) {
        loaderPort = static_cast<CBVSWLoad&>(d).m_port;
        linesClosed = Frame().Objects().ports[0].line == nullptr;
        d.OnCancel();
    });
    Command(32778, dialogs);
    EXPECT_EQ(loaderPort, 1);
    EXPECT_TRUE(linesClosed);
    bvsim::UnitStats before;
    ASSERT_TRUE(bus->Stats(3, before));
    EXPECT_TRUE(RunUntil(
        [&] {
            bvsim::UnitStats now;
            return bus->Stats(3, now) && now.polls > before.polls + 2;
        },
        20000));
}

// The lane settings reach the stored cards: the results go out with the
// lane's target, and a new relay on the same cards keeps it.
TEST_F(FrameCommandsTest, LaneSettingsAreStoredOnTheCards)
{
    StartRange();
    ModalDriver dialogs;
    dialogs.Next(CDlgDefLane::IDD, [](platform::Dialog& dialog) {
        auto& d = static_cast<CDlgDefLane&>(dialog);
        d.resize(640, 360);
        QApplication::setActiveWindow(&d);
        QCoreApplication::processEvents();
        bvtest::ChooseInGrid(d.Grid(), 1, CDlgDefLane::kColType, 23);  // lane 2
        d.item(CDlgDefLane::IDC_OK).click();
    });
    Command(32804, dialogs);
    auto types = [&] {
        bvtest::ToolRun cards = bvtest::RunTool("cards " + folder.Path() + " 1");
        EXPECT_EQ(cards.status, 0) << cards.err;
        return cards.out;
    };
    const std::string stored = types();
    EXPECT_NE(stored.find("    1    2   23 "), std::string::npos) << stored;
    EXPECT_NE(stored.find("    1    3    0 "), std::string::npos) << stored;
    // The officer keeps relay 1 for everyone: the cards are read again.
    dialogs.Next(CDlgRelay::IDD, [](platform::Dialog& d) {
        d.item(CDlgRelay::IDC_RELAY).setText("1");
        d.item(CDlgRelay::IDC_OK).click();
    });
    Command(32775, dialogs);
    EXPECT_EQ(Lane(2).card.targetType, 23);
    EXPECT_EQ(Lane(3).card.targetType, 0);
    EXPECT_EQ(types(), stored);
}

// A folder with only the language file: the language, the interface and
// the competition are asked in this order; without a competition the
// program says so and closes.
TEST_F(FrameCommandsTest, AFirstStartAsksLanguageInterfaceAndCompetition)
{
    bvtest::CopyLanguageFile();
    profile.WriteString("Context", "Language", "");
    ModalDriver dialogs;
    dialogs.Next(CDlgLanguage::IDD, [](platform::Dialog& d) {
        d.item(CDlgLanguage::IDC_ENGLISH + 1).click();
        d.item(CDlgLanguage::IDC_OK).click();
    });
    dialogs.Cancel(CDlgInterface::IDD);
    dialogs.Cancel(CDlgComp::IDD);
    Start();
    Ticks(1);
    EXPECT_TRUE(dialogs.Done());
    EXPECT_EQ(dialogs.Seen(), (std::vector<int>{CDlgLanguage::IDD, CDlgInterface::IDD, CDlgComp::IDD}));
    EXPECT_TRUE(Frame().Closed());
    std::vector<std::string> log = prompter.Log();
    ASSERT_EQ(log.size(), 1u);
    CLanguageTable norwegian;
    ASSERT_GE(norwegian.Load(".\\BVRange.bvt", "NO"), 0);
    ASSERT_FALSE(norwegian.GetText("IDS_WRN_NOCOMP").empty());
    EXPECT_NE(log[0].find(norwegian.GetText("IDS_WRN_NOCOMP")), std::string::npos) << log[0];
    EXPECT_EQ(profile.GetString("Context", "Language", ""), "NO");
}

}  // namespace
