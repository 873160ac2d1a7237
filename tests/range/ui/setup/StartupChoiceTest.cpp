// The range control's own window runs the set-up dialogs: a range without
// channels is set up before it opens a competition, a competition that is
// not there is chosen anew, and the competition choice switches the range.
#include "tests/range/FrameFixture.h"

#include "ModalDriver.h"

#include "foundation/settings/CompSettings.h"
#include "platform/ui/FrameWnd.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgDefComp.h"
#include "range/ui/setup/DlgInterface.h"
#include "range/ui/dialogs/DlgRelay.h"

#include <QTest>

#include <filesystem>

namespace {

using bvtest::RangeFolderSetup;
using platform::IDNO;
using platform::IDYES;

class StartupChoiceTest : public bvtest::RangeFrameTest {
protected:
    void SetUp() override
    {
        RangeFrameTest::SetUp();
        platform::SetComDevice(1, folder.File("no-port"));
    }
    static std::function<void(platform::Dialog&)> Choose(const std::string& folder)
    {
        return [folder](platform::Dialog& d) {
            platform::Control list = d.item(CDlgComp::IDC_LIST);
            list.choose(list.findText(folder));
            d.item(CDlgComp::IDC_SELECT).click();
        };
    }
    static void Click(platform::Dialog& d, int id) { d.item(id).click(); }
    int StoredCompetition() { return std::stoi(RangeText({1, 1, 680, "-1"})); }
};

TEST_F(StartupChoiceTest, ARangeWithoutChannelsIsSetUpBeforeItsCompetitionOpens)
{
    RangeFolderSetup setup;
    setup.com = 0;
    bvtest::MakeRangeFolder(setup);
    bvtest::ModalDriver dialogs;
    dialogs.Next(CDlgInterface::IDD, [this](platform::Dialog& d) {
        // Nothing is open yet.
        EXPECT_EQ(Frame().Objects().CompetitionNumber(), -1);
        d.item(CDlgInterface::IDC_DEVICE1).choose(1);
        d.item(CDlgInterface::IDC_FIRST1).setText("1");
        d.item(CDlgInterface::IDC_LAST1).setText("4");
        Click(d, CDlgInterface::IDC_OK);
    });
    Start();
    Ticks(1);
    EXPECT_TRUE(dialogs.Done());
    EXPECT_EQ(dialogs.Seen(), (std::vector<int>{CDlgInterface::IDD}));
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), 1);
    // The lines opened on what was set up.
    EXPECT_EQ(Frame().Objects().ports[0].type, 1);
    EXPECT_EQ(Frame().Objects().ports[0].lastLane, 4);
    EXPECT_EQ(Lane(3).channelType, 1);
}

// A range whose competition is not there (or none) offers the choice; the
// competition chosen opens.
TEST_F(StartupChoiceTest, AMissingCompetitionOffersTheChoice)
{
    bvtest::MakeRangeFolder({});
    {
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        WriteItem(range, RangeItems::kCurrentCompetition, 7);
    }
    prompter.AnswerMessage(IDYES);
    bvtest::ModalDriver dialogs;
    dialogs.Next(CDlgComp::IDD, [](platform::Dialog& d) {
        // No competition is open, so none is marked.
        EXPECT_EQ(d.item(CDlgComp::IDC_LIST).itemText(0), "Comp01");
        Choose("Comp01")(d);
    });
    Start();
    Ticks(1);
    EXPECT_TRUE(dialogs.Done());
    EXPECT_FALSE(Frame().Closed());
    EXPECT_EQ(Frame().Objects().CompetitionNumber(), 1);
    EXPECT_EQ(StoredCompetition(), 1);
    EXPECT_EQ(Frame().Window()->Caption(), "BVLeder - Test 1");
    EXPECT_EQ(prompter.Log(),
              (std::vector<std::string>{"Message None YesNo default 0 [] Switch to the chosen competition? -> 6"}));
}

TEST_F(StartupChoiceTest, TheChoiceSwitchesTheRange)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::function<void(platform::Dialog&)>>> dialogs;
        std::vector<int> answers;
        int competition;  // open afterwards
    };
    auto newOne = [](platform::Dialog& d) { Click(d, CDlgComp::IDC_NEW); };
    auto named = [](platform::Dialog& d) {
        d.item(CDlgDefComp::IDC_NAME).setText("Autumn");
        Click(d, CDlgDefComp::IDC_OK);
    };
    auto cancel = [](platform::Dialog& d) { d.OnCancel(); };
    auto practice = [](platform::Dialog& d) { Click(d, CDlgComp::IDC_PRACTICE); };
    const Case cases[] = {
        // The running range then takes new shooters for the competition.
        {"a new competition, its settings, then the switch",
         {{CDlgComp::IDD, newOne}, {CDlgDefComp::IDD, named}, {CDlgRelay::IDD, [](platform::Dialog& d) {
               Click(d, CDlgRelay::IDC_OK);
           }}},
         {IDYES}, 3},
        {"a new competition whose settings are cancelled", {{CDlgComp::IDD, newOne}, {CDlgDefComp::IDD, cancel}},
         {}, 1},
        {"another competition, No", {{CDlgComp::IDD, Choose("Comp02")}}, {IDNO}, 1},
        {"the practice competition", {{CDlgComp::IDD, practice}}, {IDYES}, 0},
        {"cancelled", {{CDlgComp::IDD, cancel}}, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;
        bvtest::MakeRangeFolder({});
        std::filesystem::create_directory("Comp2");
        Start();
        Ticks(1);
        ASSERT_EQ(Frame().Objects().CompetitionNumber(), 1);
        prompter.Clear();
        for (int answer : c.answers)
            prompter.AnswerMessage(answer);
        bvtest::ModalDriver dialogs;
        for (const auto& [id, action] : c.dialogs)
            dialogs.Next(id, action);
        QMetaObject::invokeMethod(Frame().Window(), [this] { Frame().Competitions().OnCompetitionChoice(); }, Qt::QueuedConnection);
        ASSERT_TRUE(RunUntil([&] { return dialogs.Done() && !QApplication::activeModalWidget(); }, 20000));
        EXPECT_EQ(prompter.Unanswered(), 0) << testing::PrintToString(prompter.Log());
        EXPECT_EQ(Frame().Objects().CompetitionNumber(), c.competition);
        EXPECT_EQ(StoredCompetition(), c.competition);
        EXPECT_FALSE(Frame().m_tick.pause);
        if (c.competition == 3)
            EXPECT_EQ(Frame().Window()->Caption(), "BVLeder - Autumn");
        app.reset();
        objects.reset();
    }
}

}  // namespace
