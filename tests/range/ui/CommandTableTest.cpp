// BVLeder's command table: every menu item, tool button and key reaches the
// handler it belongs to or stays disabled; the practice competition refuses
// what it cannot do; and the commands that work on lanes chosen in the lane
// dialog touch the lanes chosen and no other.
#include "WindowRange.h"

#include "range/ui/FrameResources.h"

#include <QAction>
#include <QKeySequence>
#include <QTest>

#include <map>
#include <set>

namespace {

using bvtest::RangeFolderSetup;

// The handler of every command of the menu, the tool bar and the keys; a
// command without one stays disabled.
const std::map<int, std::string>& Handlers()
{
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> t = {
            {32875, "OnLanguage"}, {32841, "OnLanguage"},
            {32779, "OnInterface"},
            {32806, "OnCompetitionChoice"}, {32825, "OnCompetitionChoice"},
            {32814, "OnProgramEditor"},
            {32832, "OpenStatusDialog"}, {32836, "OpenStatusDialog"},
            {32778, "OnSystemAdministration"},
            {32828, "OpenLineMonitor"}, {32837, "OpenLineMonitor"},
            {57665, "CloseFrame"},
            {59392, "OnViewToolBar"}, {59393, "OnViewStatusBar"}, {32780, "OnViewTabs"},
            {32809, "OnZoom"}, {32810, "OnZoom"}, {32811, "OnZoom"},
            {32774, "OnMotor"}, {32857, "OnMotor"},
            {32812, "OnLift"},
            {32839, "OnLightCommand"},
            {32845, "ShootSeries"}, {32846, "MarkSeries"},
            {32849, "NewRelay"}, {32775, "NewRelay"}, {32850, "NewRelay"},
            {32860, "OnWelcomeOne"},
            {32785, "OnSendToOffice"}, {32855, "OnSendToOffice"},
            {32861, "OnMedia"},
            {32808, "OnPrintCards"}, {57607, "OnPrintCards"}, {32824, "OnPrintCards"},
            {32788, "OpenCardDialog"}, {32854, "OpenCardDialog"},
            {32862, "OnNames"},
            {32786, "OnWelcomeCommand"}, {32856, "OnWelcomeCommand"}, {32821, "OnWelcomeCommand"},
            {32868, "OnMessageToMonitors"}, {32867, "OnUpdateMonitors"}, {32784, "OnFetchFromMonitors"},
            {32833, "OnDeleteMonitorCards"}, {32834, "OnDeleteCards"}, {32847, "OnDeleteNames"},
            {32835, "OnFinalMarking"}, {32840, "OnFinalMarking"},
            {32803, "OnCompetitionSettings"}, {32804, "OnLaneSettings"},
            {57667, "WinHelp"}, {57669, "OnContextHelp"}, {57664, "OnAppAbout"},
            {32816, "OnClockStart"}, {32817, "OnClockStop"},
            {32818, "RefreshAll"}, {32823, "RefreshAll"},
            {32853, "OnMarkAllButton"}, {32851, "OnShootButton"},
            {32859, "PreviousSeries"}, {32858, "NextSeries"},
            {32822, "OnSendAll"},
            {32831, "Nothing"},
            {32866, "OnToggleStop"},
            {57680, "OnNextPane"}, {57681, "OnNextPane"},
            // No handler: disabled.
            {32801, ""}, {32829, ""}, {32842, ""}, {32863, ""}, {32864, ""},
            // The edit commands belong to the control that has the focus.
            {57634, ""}, {57635, ""}, {57637, ""}, {57643, ""},
        };
        for (int id = 32792; id <= 32800; ++id)
            t[id] = "SelectPage";
        return t;
    }();
    return table;
}

// The refused in the practice competition.
const std::set<int> kPracticeRefused = {32809, 32810, 32811, 32774, 32857, 32835, 32840, 32803,
                                        32804, 32862, 32786, 32856, 32821, 32860};

class CommandTableTest : public bvtest::WindowRangeTest {
protected:
    // Lanes 1 to 4 on COM1 without units.
    void Range(RangeFolderSetup setup = {})
    {
        setup.com = 0;
        bvtest::MakeRangeFolder(setup);
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        ASSERT_EQ(CRangeSettings::WriteChannel(range, 0, {1, setup.firstLane, setup.lastLane}), 0);
        platform::SetComDevice(1, folder.File("no-such-port"));
    }

    std::vector<int> AllIds()
    {
        std::set<int> ids;
        for (const platform::MenuItem& m : FrameResources::Menu())
            if (m.id != 0)
                ids.insert(m.id);
        for (const platform::ToolButton& b : FrameResources::ToolBar())
            if (b.id != 0)
                ids.insert(b.id);
        for (const platform::Accelerator& a : FrameResources::Accelerators())
            ids.insert(a.id);
        return {ids.begin(), ids.end()};
    }
};

TEST_F(CommandTableTest, EveryMenuItemToolButtonAndKeyReachesItsHandler)
{
    Range();
    StartNoting();
    noting->noteCommands = true;
    platform::FrameWnd& w = *Main().Window();
    for (int id : AllIds()) {
        SCOPED_TRACE(id);
        auto expected = Handlers().find(id);
        // The help command of F1 is the views' own; the table names the rest.
        if (id == FrameResources::ID_HELP)
            continue;
        ASSERT_NE(expected, Handlers().end()) << "a command the table does not name";
        noting->commands.clear();
        const bool enabled = !expected->second.empty();
        EXPECT_EQ(w.QueryCommand(id).enabled, enabled);
        EXPECT_EQ(w.RouteCommand(id), enabled);
        EXPECT_EQ(noting->commands,
                  enabled ? std::vector<std::string>{expected->second} : std::vector<std::string>{});
    }
    EXPECT_TRUE(prompter.Log().empty());
}

TEST_F(CommandTableTest, EveryKeyPressedOnTheWindow)
{
    Range();
    StartNoting();
    noting->noteCommands = true;
    for (const platform::Accelerator& a : FrameResources::Accelerators()) {
        if (a.id == FrameResources::ID_HELP || a.id == FrameResources::ID_CONTEXT_HELP)
            continue;  // the views answer F1 and Shift+F1 themselves
        SCOPED_TRACE(a.keys);
        noting->commands.clear();
        Press(a.keys);
        const std::string& handler = Handlers().at(a.id);
        EXPECT_EQ(noting->commands, handler.empty() ? std::vector<std::string>{} : std::vector<std::string>{handler});
    }
    // Keys without a handler do nothing at all.
    noting->noteCommands = false;
    for (const char* keys : {"Ctrl+T", "F12", "Ctrl+F7", "Shift+3"}) {
        noting->calls.clear();
        Press(keys);
        EXPECT_TRUE(noting->calls.empty()) << keys;
    }
    EXPECT_TRUE(prompter.Log().empty());
    EXPECT_FALSE(Main().Closed());
}

TEST_F(CommandTableTest, ThePracticeCompetitionRefusesWithItsMessageOnly)
{
    RangeFolderSetup practice;
    practice.competition = 0;
    Range(practice);
    StartNoting();
    ASSERT_EQ(Main().Objects().CompetitionNumber(), 0);
    noting->noteCommands = true;
    platform::FrameWnd& w = *Main().Window();
    const std::string refusal = "] " + objects->language.GetText("IDS_WRN_COMPTRAIN") + " -> ";
    for (int id : AllIds()) {
        if (!kPracticeRefused.count(id))
            continue;
        SCOPED_TRACE(id);
        prompter.Clear();
        noting->commands.clear();
        EXPECT_TRUE(w.RouteCommand(id));
        EXPECT_TRUE(noting->commands.empty());
        std::vector<std::string> log = prompter.Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("Message ", 0), 0u) << log[0];
        EXPECT_NE(log[0].find(refusal), std::string::npos) << log[0];
    }
}

}  // namespace
