// BVLeder's window headless: its texts in the chosen language and again
// after a change, the splitters' layout, the stored rectangle, the list views
// by key and tab, the help by where it is asked, and what the panel's buttons
// and the list's clicks call.
#include "WindowRange.h"

#include "foundation/settings/ProgramStore.h"
#include "foundation/ui/grid/GridList.h"
#include "foundation/ui/windows/FormTabCtrl.h"
#include "foundation/ui/windows/LockSplitter.h"
#include "platform/ui/Help.h"
#include "platform/ui/UiText.h"
#include "range/views/LaneColumns.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

namespace main_window_test {

using bvtest::RangeFolderSetup;

class RecordingHelp : public platform::HelpService {
public:
    std::vector<std::pair<uint32_t, int>> asked;
    void ShowHelp(uint32_t topic, int command) override { asked.emplace_back(topic, command); }
};

class MainWindowTest : public bvtest::WindowRangeTest {
protected:
    void TearDown() override
    {
        platform::SetHelpService(nullptr);
        WindowRangeTest::TearDown();
    }
    // Lanes 1 to 4 on COM1 without units, competition 1.
    void Range(RangeFolderSetup setup = {})
    {
        setup.com = 0;
        bvtest::MakeRangeFolder(setup);
        // Lanes without a line: they need a channel, not a port.
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        ASSERT_EQ(CRangeSettings::WriteChannel(range, 0, {1, setup.firstLane, setup.lastLane}), 0);
        platform::SetComDevice(1, folder.File("no-such-port"));
    }
    std::string MenuText(int id) { return platform::FromQt(Main().Window()->MenuAction(id)->text()); }
    std::string PopupTitle(std::initializer_list<int> path)
    {
        return platform::FromQt(Main().Window()->Popup(path)->title());
    }
    std::string T(const char* key) { return objects->language.GetText(key); }
    std::vector<std::string> TabTexts()
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Tabs().Tabs()->GetItemCount(); ++i)
            texts.push_back(Tabs().Tabs()->GetItemText(i));
        return texts;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers)
    {
        // Keys of the frame work in its window while it is the active one.
        QWidget* window = Main().Window();
        QApplication::setActiveWindow(window);
        window->activateWindow();
        QCoreApplication::processEvents();
        QTest::keyClick(window, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }
};

// Menu, popups, tabs, panel and list in Norwegian, then in German once the
// language changed; the tabs stay six.
TEST_F(MainWindowTest, TextsInTheLanguageAndAgainAfterAChange)
{
    Range();
    profile.WriteString("Context", "Language", "NO");
    StartProgram();
    struct Check {
        std::function<std::string()> shown;
        const char* key;
    };
    std::vector<Check> checks = {
        {[&] { return MenuText(32808); }, "ID_RESULTATER_UTSKRIFTAVSKYTEKORT"},
        {[&] { return MenuText(32792); }, "IDC_VK_A1"},
        {[&] { return MenuText(57665); }, "ID_APP_EXIT"},
        {[&] { return PopupTitle({0}); }, "MENU_0"},
        {[&] { return PopupTitle({5}); }, "MENU_5"},
        {[&] { return PopupTitle({1, 4}); }, "MENU_1_4"},
        {[&] { return PopupTitle({2, 0}); }, "MENU_2_0"},
        {[&] { return PopupTitle({2, 5}); }, "MENU_2_5"},
        {[&] { return Tabs().Tabs()->GetItemText(2); }, "IDS_TAB_STRING3"},
        {[&] { return Panel().item(CFormPanel::IDC_SHOOT).text(); }, "IDS_PANEL_SHOOT"},
        {[&] { return Panel().item(CFormPanel::IDC_MARKGROUP).text(); }, "IDS_PANEL_S_MARK"},
        {[&] { return std::string(List().Grid().GetColumnHeader(0)); }, "IDS_LIST_H0"},
        {[&] { return platform::FromQt(Main().Window()->MenuAction(32823)->toolTip()); }, "IDS_TOOL_REFRESH"},
    };
    for (const Check& c : checks)
        EXPECT_EQ(c.shown(), T(c.key)) << c.key;
    EXPECT_EQ(T("MENU_0"), "Fil");
    EXPECT_EQ(TabTexts().size(), 6u);

    ASSERT_GE(objects->language.Load(".\\BVRange.bvt", "DE"), 0);
    Frame().Views().SetMenuTexts(false);
    EXPECT_EQ(T("MENU_0"), "Datei");
    for (const Check& c : checks)
        EXPECT_EQ(c.shown(), T(c.key)) << c.key;
    EXPECT_EQ(TabTexts(), (std::vector<std::string>{T("IDS_TAB_STRING1"), T("IDS_TAB_STRING2"), T("IDS_TAB_STRING3"),
                                                    T("IDS_TAB_STRING4"), T("IDS_TAB_STRING5"),
                                                    T("IDS_TAB_STRING6")}));
    EXPECT_EQ(Frame().Window()->Caption(), T("IDR_MAINFRAME") + " - Test 1");
}

// The panel keeps its width; the tab strip has its height or none at all.
TEST_F(MainWindowTest, SplittersFollowTheWindowAndTheTabStrip)
{
    Range();
    StartProgram();
    for (int tabOn : {1, 0}) {
        SCOPED_TRACE(tabOn);
        objects->settings.profile.tabOn = tabOn;
        Frame().Window()->resize(760, 500);
        Frame().Views().LayoutClient();
        QCoreApplication::processEvents();
        int current = 0, minimum = 0;
        Frame().Views().OuterSplitter()->GetColumnInfo(0, current, minimum);
        EXPECT_EQ(current, 760 - Panel().PanelWidth() - 21);
        EXPECT_EQ(minimum, 20);
        Frame().Views().InnerSplitter()->GetRowInfo(0, current, minimum);
        EXPECT_EQ(current, tabOn ? Frame().Views().TabStripHeight() : 0);
        EXPECT_GE(Frame().Views().TabStripHeight(), FrameViews::kTabHeight);
        // Its pane shrinks to nothing.
        EXPECT_EQ(Tabs().parentWidget()->height() > 0, tabOn == 1);
        // Without the strip the list starts at the top of the left column.
        QPoint listTop = List().mapTo(Frame().Views().OuterSplitter(), QPoint(0, 0));
        if (tabOn)
            EXPECT_GE(listTop.y(), Frame().Views().TabStripHeight());
        else
            EXPECT_LE(listTop.y(), 12);
    }
    // A narrow window leaves the list its 50 pixels.
    Frame().Window()->resize(200, 400);
    Frame().Views().LayoutClient();
    int current = 0, minimum = 0;
    Frame().Views().OuterSplitter()->GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 50);
}

TEST_F(MainWindowTest, TheWindowsRectangleGoesIntoTheProfile)
{
    Range();
    StartProgram();
    Frame().Window()->setGeometry(30, 40, 700, 450);
    QCoreApplication::processEvents();
    const CRangeSettings::Profile& p = objects->settings.profile;
    QRect r = Frame().Window()->geometry();
    EXPECT_EQ((std::vector<int>{p.windowX0, p.windowY0, p.windowX1, p.windowY1}),
              (std::vector<int>{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}));
    EXPECT_EQ(p.windowX1 - p.windowX0, 700);
}

TEST_F(MainWindowTest, ListViewsByKeyAndTab)
{
    Range();
    profile.WriteInt("Context", "Tab", 9);  // beyond the views: the last one
    StartProgram();
    EXPECT_EQ(List().View(), 6);
    EXPECT_EQ(Tabs().Tabs()->GetCurSel(), 5);
    int builds = List().builds;
    Key(Qt::Key_2, Qt::AltModifier);
    Key(Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(List().builds, builds + 1);
    EXPECT_EQ(List().View(), 2);
    EXPECT_EQ(Tabs().Tabs()->GetCurSel(), 1);
    EXPECT_EQ(objects->settings.profile.tab, 2);
    EXPECT_EQ(List().Codes(), LaneColumns::ViewCodes(2, 0));
    // Views 7 to 9 do not exist: a beep and nothing else.
    for (int key : {Qt::Key_7, Qt::Key_8, Qt::Key_9})
        Key(key, Qt::AltModifier);
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{"Beep 2", "Beep 2", "Beep 2"}));
    EXPECT_EQ(List().View(), 2);
    // A tab chosen by the officer; the one already shown changes nothing.
    Tabs().item(CFormTab::IDC_TABS).choose(3);
    EXPECT_EQ(List().View(), 4);
    builds = List().builds;
    Tabs().item(CFormTab::IDC_TABS).choose(3);
    EXPECT_EQ(List().builds, builds);
    // The custom view keeps position 4 of the sums view.
    Tabs().item(CFormTab::IDC_TABS).choose(5);
    EXPECT_EQ(List().Codes().back(), LaneColumns::kName);
    // One row per lane that takes part.
    EXPECT_EQ(List().Grid().GetItemCount(), 4);
    EXPECT_EQ(List().LaneOfRow(3), 4);
}

TEST_F(MainWindowTest, HelpByWhereItIsAsked)
{
    Range();
    StartProgram();
    RecordingHelp help;
    platform::SetHelpService(&help);
    Frame().Views().SelectPage(3);
    const uint32_t page = static_cast<uint32_t>(FrameViews::PageTopic(3));
    // A control of the panel answers with the list view's page.
    Panel().OnHelpInfo(CFormPanel::IDC_SHOOT);
    Panel().OnHelpInfo(CFormPanel::IDC_SERIES1);
    // The list with its grid's topic, the tab strip with its own.
    List().OnHelpInfo(CFormList::IDC_LIST);
    Tabs().OnHelpInfo(CFormTab::IDC_TABS);
    // F1 in a view: its template; the frame's commands 2 to 4.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    Panel().PreTranslateKey(&f1);
    Frame().Views().WinHelp(136, platform::HELP_WINDOW_TOPIC);
    Frame().Views().WinHelp(1300, platform::HELP_CONTROL_TOPIC);
    Frame().Views().WinHelp(0, 4);
    Frame().Window()->RouteCommand(57667);
    using Asked = std::vector<std::pair<uint32_t, int>>;
    EXPECT_EQ(help.asked, (Asked{{page, 1}, {page, 1}, {1204, 1}, {1001, 1}, {103, 2}, {136, 2}, {1300, 3},
                                 {page, 4}, {0, 2}}));
}

// What the panel's buttons and keys call.
TEST_F(MainWindowTest, PanelButtonsCallTheFrame)
{
    Range();
    StartNoting();
    // The card button goes through the window's card command.
    noting->noteCommands = true;
    Panel().item(CFormPanel::IDC_SERIES1 + 1).click();  // series 2
    Panel().item(CFormPanel::IDC_MARK2).click();        // blocked
    for (int id : {CFormPanel::IDC_SHOOT, CFormPanel::IDC_MARKALL, CFormPanel::IDC_SHOOTER, CFormPanel::IDC_CLOCK,
                   CFormPanel::IDC_CARD})
        Panel().item(id).click();
    EXPECT_EQ(noting->calls, (std::vector<std::string>{"shoot 2 1 0", "mark 2 1 0", "shooter", "clock 0"}));
    EXPECT_EQ(noting->commands, (std::vector<std::string>{"OpenCardDialog"}));
    EXPECT_TRUE(objects->clock.IsRunning());
    EXPECT_EQ(Panel().item(CFormPanel::IDC_CLOCK).text(), T("IDS_PANEL_TIME_STOP"));
    EXPECT_EQ(ReadItem(objects->comp.CompConfig(), CompSettings::kCurrentSeries), 2);
    EXPECT_EQ(ReadItem(objects->comp.CompConfig(), CompSettings::kMarkKind), 3);
    // The twin lane's button is there only with a twin lane.
    EXPECT_FALSE(Panel().item(CFormPanel::IDC_MARKTWIN).visible());
    WriteItem(objects->comp.CompConfig(), CompSettings::kTwinLane, 6);
    Panel().Refresh();
    ASSERT_TRUE(Panel().item(CFormPanel::IDC_MARKTWIN).visible());
    Panel().item(CFormPanel::IDC_MARKTWIN).click();
    EXPECT_EQ(noting->calls.back(), "twin 2 1");
    EXPECT_EQ(Panel().item(CFormPanel::IDC_MARKALL).text(), T("IDS_PANEL_MARKALL1"));
    QRect all = Panel().item(CFormPanel::IDC_MARKALL).widget()->geometry();
    QRect twin = Panel().item(CFormPanel::IDC_MARKTWIN).widget()->geometry();
    EXPECT_EQ(twin.left() - (all.right() + 1), 2);
}

// Programs of 0, 2 and 24 series: as many buttons, stacked in the program
// group; the keys step through the first 20 only.
TEST_F(MainWindowTest, PanelShowsTheProgramsSeries)
{
    Range();
    StartNoting();
    for (int count : {0, 2, 24}) {
        SCOPED_TRACE(count);
        CBVConfig programs;
        programs.Open(".\\Program.BVC", 1);
        programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeySerieCount, count);
        programs.WriteString(ProgramItems::kProgramSection, 1, ProgramItems::kKeyName,
                             ("Prog " + std::to_string(count)).c_str());
        objects->programs.Refresh();
        Panel().Refresh();
        int visible = 0;
        for (int n = 0; n < 28; ++n)
            visible += Panel().item(CFormPanel::IDC_SERIES1 + n).visible();
        EXPECT_EQ(visible, count);
        EXPECT_EQ(Panel().item(CFormPanel::IDC_PROGRAMGROUP).text(), "Prog " + std::to_string(count));
        QWidget* group = Panel().item(CFormPanel::IDC_PROGRAMGROUP).widget();
        int h = Panel().item(CFormPanel::IDC_SERIES1).widget()->height();
        EXPECT_EQ(group->height(), (h + 1) * (count + 1) + 10);
        if (count > 0) {
            QRect last = Panel().item(CFormPanel::IDC_SERIES1 + count - 1).widget()->geometry();
            EXPECT_EQ(last.top(), h + 3 + (count - 1) * (h + 1));
        }
        if (count == 0)
            EXPECT_EQ(Panel().SeriesIndex(), -1);
    }
    // Next series stops at the twentieth.
    Panel().SelectSeries(18);
    Panel().NextSeries();
    Panel().NextSeries();
    EXPECT_EQ(Panel().SeriesIndex(), 19);
    Panel().PreviousSeries();
    EXPECT_EQ(Panel().SeriesIndex(), 18);
    // Choosing series 21 with the mouse works; the shoot command refuses it.
    Panel().item(CFormPanel::IDC_SERIES1 + 20).click();
    Panel().item(CFormPanel::IDC_SHOOT).click();
    EXPECT_EQ(noting->calls.back(), "shoot 0 20 0");  // series 21 is not marked
}

TEST_F(MainWindowTest, TheClockOverItsButton)
{
    Range();
    StartNoting();
    struct Case {
        int period;
        const char* text;
        int points;
    } cases[] = {{65, "1:05", 24}, {725, "12:05", 24}, {3600, "1:00:00", 18}};
    for (const Case& c : cases) {
        objects->clock.Stop();
        objects->clock.Set(c.period, 0, 1);
        objects->clock.Start();
        Panel().DrawClock();
        EXPECT_EQ(Panel().ClockText(), c.text);
        EXPECT_EQ(Panel().ClockPointSize(), c.points) << c.text;
    }
    // The tick draws only what changed: the stored text is the drawn one.
    EXPECT_STREQ(objects->clock.GetStoredText(), "1:00:00");
}

TEST_F(MainWindowTest, ThePracticeCompetitionLeavesThePanelIdle)
{
    RangeFolderSetup setup;
    setup.competition = 0;
    Range(setup);
    StartNoting();
    for (int id : {CFormPanel::IDC_SHOOT, CFormPanel::IDC_SHOOTER, CFormPanel::IDC_MARKALL, CFormPanel::IDC_CLOCK})
        EXPECT_FALSE(Panel().item(id).enabled()) << id;
    EXPECT_TRUE(Panel().item(CFormPanel::IDC_CARD).enabled());
    EXPECT_EQ(Panel().ClockText(), "");
    EXPECT_EQ(Panel().item(CFormPanel::IDC_TIMES).text(), "");
}

// Clicks on the first columns open the simulation; on the shots view with
// the super final on, a click marks a shot and a header click the lowest
// shot of its column, unless it is shared; on the lift view they lift.
TEST_F(MainWindowTest, ClicksOnTheList)
{
    Range();
    StartNoting();
    WriteItem(objects->comp.CompConfig(), CompSettings::kSuperFinal, 2);
    auto click = [&](int row, int column) {
        QTest::mouseClick(List().Grid().viewport(), Qt::LeftButton, Qt::NoModifier,
                          List().Grid().CellRect(row, column).center());
    };
    auto header = [&](int column) {
        auto* h = List().Grid().findChild<QHeaderView*>();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2));
    };
    click(1, 0);
    click(2, 3);
    header(2);
    EXPECT_EQ(noting->calls, (std::vector<std::string>{"simulate 2", "simulate 3", "simulate 0"}));

    // Lanes 1 to 3 with a first shot each, lanes 2 and 3 sharing the lowest.
    const int values[] = {0, 1000, 870, 870};
    for (int lane = 1; lane <= 3; ++lane) {
        LaneBlock& b = Lane(lane);
        CDataComp::ClearCard(b.card);
        b.card.relay = 1;
        b.card.lane = static_cast<int16_t>(lane);
        ASSERT_GE(objects->comp.GetCard(b.card, 1), 0);
        ShotRecord shot{};
        shot.state = CDataComp::kSlotShot;
        shot.flags = 1;
        shot.value = static_cast<int16_t>(values[lane]);
        shot.series = 1;
        shot.shotNumber = 1;
        ASSERT_GT(objects->comp.AddShot(1, lane, shot, &b.shots, 10, 0), 0);
        b.active.relay = 1;
        b.active.seriesState = 1;
        noting->Range().cards.RecomputeLane(lane);
    }
    auto marked = [&](int lane) { return (Lane(lane).shots.shots[0].flags & CDataComp::kFlagFlagged) != 0; };
    noting->Views().SelectPage(3);
    const int firstShot = 4;  // column of shot 1
    header(firstShot);
    EXPECT_FALSE(marked(1) || marked(2) || marked(3));
    // Lane 3 gets a better shot: lane 2's is the lowest now.
    Lane(3).displayValues[0] = 990;
    header(firstShot);
    EXPECT_TRUE(marked(2));
    EXPECT_FALSE(marked(3));
    click(0, firstShot);
    click(0, firstShot);
    click(0, firstShot);
    EXPECT_TRUE(marked(1));
    EXPECT_EQ(noting->calls.size(), 3u);

    // The lift view: the lift of a lane, or of all by the header. This range
    // has no lifts, which the officer is told.
    noting->Views().SelectPage(5);
    prompter.Clear();
    click(0, 7);
    header(8);
    ASSERT_EQ(prompter.Questions().size(), 2u);
    EXPECT_EQ(prompter.Questions()[0].text, T("IDS_LIFT_NOLIFT"));
}

}  // namespace
