// The competition settings dialog on a competition of a range folder: what
// OK writes (read back with bvtool), what it refuses, the limits, the reload
// flag, the Default button, the programs of an organisation, help and the
// picture of the screen.
#include "tests/range/setup/SetupFixture.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "range/ui/setup/DlgDefComp.h"

#include <QTest>

namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;
using D = CDlgDefComp;

class DlgDefCompTest : public bvtest::SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        bvtest::MakeRangeFolder({});  // competition 1, lanes 1 to 4 active
        {
            CBVConfig programs;
            programs.Open(".\\Program.BVC", 1);
            programs.WriteInt(29, 1, 530, 3);
            programs.WriteInt(29, 1, 690, 2);
            programs.WriteString(29, 2, 500, "NSF field");
            programs.WriteInt(29, 2, 690, 2);
            programs.WriteString(29, 3, 500, "NJFF hunt");
            programs.WriteInt(29, 3, 690, 3);
            CBVConfig own;
            own.Open(".\\Program2.BVC", 1);
            own.WriteInt(29, 1, 530, 1);
            own.WriteString(29, 1, 500, "Club night");
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", 1), 1);
            WriteItem(comp, CompSettings::kOrganisation, 2);
        }
        // The range's line channels serve lanes 1 to 6.
        for (int lane = 1; lane <= 6; ++lane)
            objects->lanes[lane].channelType = 1;
    }

    // Runs the dialog on competition 1 with the officer's doings.
    int Run(const std::function<void(D&)>& officer, int competition = 1)
    {
        dlg = std::make_unique<D>(nullptr, *objects, competition);
        QTimer::singleShot(0, dlg.get(), [this, officer] { officer(*dlg); });
        return dlg->DoModal();
    }
    static void Type(D& d, int id, const std::string& text) { d.item(id).setText(text); }
    static int LaneRow(D& d, int lane) { return d.item(D::IDC_LANES).findItemData(lane); }
    static std::vector<std::string> Programs(D& d)
    {
        std::vector<std::string> out;
        for (int i = 0; i < d.item(D::IDC_PROGRAM).count(); ++i)
            out.push_back(d.item(D::IDC_PROGRAM).itemText(i));
        return out;
    }

    std::unique_ptr<D> dlg;
};

TEST_F(DlgDefCompTest, OKWritesEveryItem)
{
    prompter.AnswerMessage(IDYES);  // sending automatically, once more
    ASSERT_EQ(Run([](D& d) {
                  EXPECT_EQ(d.Caption(), "Competition settings");
                  EXPECT_EQ(d.item(D::IDC_NAME).text(), "Test 1");
                  EXPECT_EQ(d.item(D::IDC_LANES).count(), 6);
                  Type(d, D::IDC_NAME, "Spring cup");
                  Type(d, D::IDC_DATE, "12.05.2024");
                  Type(d, D::IDC_DESCRIPTION, "Forty-five characters of description, and mor");
                  Type(d, D::IDC_PREFIX, "B2");
                  d.item(D::IDC_PROGRAM).choose(d.item(D::IDC_PROGRAM).findItemData(2));
                  Type(d, D::IDC_DISTANCE, "300");
                  Type(d, D::IDC_SIMULATED, "100");
                  d.item(D::IDC_SUPERFINAL).click();
                  Type(d, D::IDC_SUPERFINAL_NUMBER, "2");
                  Type(d, D::IDC_LANE_TEXT, "STOP");
                  d.item(D::IDC_ZOOM0 + 2).click();
                  Type(d, D::IDC_ZOOM_LEVEL, "7");
                  d.item(D::IDC_STARTSUM0 + 1).click();
                  d.item(D::IDC_MEASURE3).click();
                  Type(d, D::IDC_DECIMALS, "2");
                  Type(d, D::IDC_TEMPO, "4");
                  d.item(1109).click();  // display energy off
                  d.item(1110).click();  // remove frame shots on
                  d.item(1139).click();  // the last-10 button on
                  d.item(D::IDC_AUTOSEND).click();
                  d.item(D::IDC_AUTOSEND).click();  // off and on again: asks
                  platform::Control lanes = d.item(D::IDC_LANES);
                  lanes.setItemCheck(LaneRow(d, 3), false);
                  lanes.setItemCheck(LaneRow(d, 6), true);
                  d.item(D::IDC_OK).click();
              }),
              IDOK);
    EXPECT_TRUE(dlg->ReloadFlag());  // lane 6 joined
    struct Expected {
        Item item;
        const char* value;
    };
    const Expected expected[] = {
        {{2, 1, 7}, "0"},
        {{2, 1, 500}, "Spring cup"},
        {{2, 1, 510}, "12.05.2024"},
        {{630, 1, 620}, "B2"},
        {{2, 1, 620}, "Forty-five characters of descr"},
        {{2, 1, 621}, "iption, and mor"},
        {{1, 1, 530}, "1"}, {{1, 3, 530}, "0"}, {{1, 5, 530}, kNoItem}, {{1, 6, 530}, "1"},
        {{2, 1, 10}, "7"},
        {{2, 1, 2}, "4"},
        {{2, 1, 5}, "300"},
        {{2, 1, 6}, "100"},
        {{2, 1, 18}, "2"},
        {{2, 1, 8}, "2"},
        {{2, 1, 9}, "0"},
        {{2, 1, 13}, "1"},
        {{2, 1, 4}, "3"},
        {{2, 1, 20}, "STOP"},
        {{2, 1, 19}, "3"},
        {{2, 1, 1}, "001111110000011100000000000000"},
        {{2, 1, 15}, "2"},
        {{2, 1, 16}, "2"},
    };
    std::vector<Item> items;
    for (const Expected& e : expected)
        items.push_back(e.item);
    std::vector<std::string> values = CfgItems("Comp1/Comp.BVC", items);
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(values[i], expected[i].value) << items[i].section << "," << items[i].index << "," << items[i].key;
    EXPECT_EQ(prompter.Log(),
              (std::vector<std::string>{"Message Exclamation YesNo default 0 [] The results go to the results "
                                        "program after every shot. Switch on? -> 6"}));
}

TEST_F(DlgDefCompTest, PrefixesAndTwinScreensThatAreRefused)
{
    struct Case {
        const char* name;
        const char* prefix;
        std::vector<int> ticked;  // of lanes 1 to 6
        int twin;                 // 0: box clear
        const char* message;      // null: accepted
    };
    const char* prefixText = "Message Stop Ok default 0 [] The file prefix must be a letter and a digit 1 to 9 -> 1";
    const char* twinText = "Message Stop Ok default 0 [] Twin screen needs exactly one lane in use and another lane "
                           "on a line -> 1";
    const Case cases[] = {
        {"a1 as typed", "a1", {1, 2}, 0, nullptr},
        {"A0", "A0", {1, 2}, 0, prefixText},
        {"1A", "1A", {1, 2}, 0, prefixText},
        {"ABC", "ABC", {1, 2}, 0, prefixText},
        {"two lanes and a twin", "H1", {1, 2}, 5, twinText},
        {"the twin is the lane", "H1", {2}, 2, twinText},
        {"a twin without a line", "H1", {2}, 7, twinText},
        {"one lane and its twin", "H1", {2}, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        prompter.AnswerMessage(IDOK);
        int result = Run([&c](D& d) {
            Type(d, D::IDC_PREFIX, c.prefix);
            for (int lane = 1; lane <= 6; ++lane)
                d.item(D::IDC_LANES).setItemCheck(LaneRow(d, lane),
                                                  std::find(c.ticked.begin(), c.ticked.end(), lane) != c.ticked.end());
            if (c.twin != 0) {
                d.item(D::IDC_TWIN).setCheck(1);
                Type(d, D::IDC_TWIN_LANE, std::to_string(c.twin));
            }
            d.item(D::IDC_OK).click();
            // A refusal leaves the dialog open and the file as it was.
            if (d.isVisible()) {
                CBVConfig comp;
                comp.Open(CompSettings::FileOf(".\\", 1), 0);
                EXPECT_EQ(ReadItem(comp, CompSettings::kPrefix), "H1");
                d.item(D::IDC_CANCEL).click();
            }
        });
        if (c.message) {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(prompter.Log(), (std::vector<std::string>{c.message}));
        } else {
            EXPECT_TRUE(prompter.Questions().empty());
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(CfgItems("Comp1/Comp.BVC", {{630, 1, 620}, {2, 1, 7}}),
                      (std::vector<std::string>{c.prefix, std::to_string(c.twin)}));
            // Back to the range's prefix for the next case.
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", 1), 1);
            WriteItem(comp, CompSettings::kPrefix, "H1");
        }
    }
}

TEST_F(DlgDefCompTest, NumbersTypedBeyondTheirRangeAreHeldToIt)
{
    ASSERT_EQ(Run([](D& d) {
                  Type(d, D::IDC_ZOOM_LEVEL, "15");
                  Type(d, D::IDC_DISTANCE, "0");
                  Type(d, D::IDC_SIMULATED, "5000");
                  d.item(D::IDC_SUPERFINAL).setCheck(1);
                  Type(d, D::IDC_SUPERFINAL_NUMBER, "0");
                  d.item(D::IDC_OK).click();
              }),
              IDOK);
    EXPECT_EQ(CfgItems("Comp1/Comp.BVC", {{2, 1, 10}, {2, 1, 5}, {2, 1, 6}, {2, 1, 19}}),
              (std::vector<std::string>{"10", "1", "999", "1"}));
}

TEST_F(DlgDefCompTest, ReloadOnlyForANewLaneOrAChangedStartNumberBox)
{
    struct Case {
        const char* name;
        std::function<void(D&)> change;
        bool reload;
    };
    const Case cases[] = {
        {"nothing", [](D&) {}, false},
        {"lane 4 unticked", [](D& d) { d.item(D::IDC_LANES).setItemCheck(LaneRow(d, 4), false); }, false},
        {"lane 5 ticked", [](D& d) { d.item(D::IDC_LANES).setItemCheck(LaneRow(d, 5), true); }, true},
        {"start numbers", [](D& d) { d.item(D::IDC_STARTNR).click(); }, true},
        {"start numbers back", [](D& d) { d.item(D::IDC_STARTNR).click(); }, true},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Run([&c](D& d) {
                      c.change(d);
                      d.item(D::IDC_OK).click();
                  }),
                  IDOK);
        EXPECT_EQ(dlg->ReloadFlag(), c.reload) << c.name;
    }
}

TEST_F(DlgDefCompTest, DefaultByOrganisation)
{
    struct Case {
        int organisation;
        const char* laneText;
        int serie, userSelect, relayChange, startNumbers;
    };
    const Case cases[] = {
        {2, "FERDIG", 0, 1, 0, 0},
        {3, "", 1, 0, 1, 1},
        {5, "FINISHED", 0, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.organisation);
        Run([&c](D& d) {
            int autoSend = d.item(D::IDC_AUTOSEND).check();
            d.item(D::IDC_ORGANISATION).choose(c.organisation);
            Type(d, D::IDC_LANE_TEXT, "old");
            Type(d, D::IDC_DECIMALS, "3");
            d.item(D::IDC_DEFAULT).click();
            EXPECT_EQ(d.item(D::IDC_LANE_TEXT).text(), c.laneText);
            EXPECT_EQ(d.item(D::IDC_DECIMALS).text(), "1");
            EXPECT_EQ(d.item(1126).check(), c.serie);
            EXPECT_EQ(d.item(1136).check(), c.userSelect);
            EXPECT_EQ(d.item(1137).check(), c.relayChange);
            EXPECT_EQ(d.item(D::IDC_STARTNR).check(), c.startNumbers);
            EXPECT_EQ(d.item(1112).check(), 1);  // black aiming mark
            EXPECT_EQ(d.item(D::IDC_AUTOSEND).check(), autoSend);
            d.item(D::IDC_CANCEL).click();
        });
    }
    // Cancel wrote nothing.
    EXPECT_EQ(Cfg("Comp1/Comp.BVC", 2, 1, 20), kNoItem);
}

TEST_F(DlgDefCompTest, EachOrganisationListsItsPrograms)
{
    Run([](D& d) {
        EXPECT_EQ(Programs(d), (std::vector<std::string>{"Test", "NSF field"}));
        EXPECT_EQ(d.item(D::IDC_PROGRAM).itemText(d.item(D::IDC_PROGRAM).selection()), "Test");
        d.item(D::IDC_ORGANISATION).choose(0);
        EXPECT_EQ(Programs(d), (std::vector<std::string>{"Club night"}));
        EXPECT_EQ(d.item(D::IDC_PROGRAM).selection(), 0);  // the first, as the program is not there
        d.item(D::IDC_ORGANISATION).choose(3);
        EXPECT_EQ(Programs(d), (std::vector<std::string>{"NJFF hunt"}));
        d.item(D::IDC_OK).click();
    });
    EXPECT_EQ(CfgItems("Comp1/Comp.BVC", {{2, 1, 16}, {2, 1, 15}}), (std::vector<std::string>{"3", "3"}));
}

// A program its organisation's list does not offer shows no selection; OK
// without a choice keeps the program and the organisation as they were.
TEST_F(DlgDefCompTest, OKKeepsAProgramTheListCannotShow)
{
    {
        CBVConfig comp;
        comp.Open(CompSettings::FileOf(".\\", 1), 1);
        WriteItem(comp, CompSettings::kOrganisation, 0);  // Private: only the range's own programs
        WriteItem(comp, CompSettings::kProgram, 1);
    }
    Run([](D& d) {
        EXPECT_EQ(Programs(d), (std::vector<std::string>{"Club night"}));
        EXPECT_EQ(d.item(D::IDC_PROGRAM).selection(), -1);
        d.item(D::IDC_OK).click();
    });
    EXPECT_EQ(CfgItems("Comp1/Comp.BVC", {{2, 1, 16}, {2, 1, 15}}), (std::vector<std::string>{"0", "1"}));
}

// With no competition open (a start-up that makes a new one) the dialog
// still shows the competition's own values, and OK keeps them.
TEST_F(DlgDefCompTest, EditsItsOwnCompetitionWhileNoneIsOpen)
{
    ASSERT_FALSE(objects->comp.IsOpen());
    ASSERT_EQ(Run([](D& d) {
                  EXPECT_EQ(d.item(D::IDC_NAME).text(), "Test 1");
                  EXPECT_EQ(d.item(D::IDC_ZOOM_LEVEL).text(), "8");
                  EXPECT_EQ(d.item(D::IDC_LANES).itemCheck(LaneRow(d, 2)), true);
                  d.item(D::IDC_OK).click();
              }),
              IDOK);
    EXPECT_EQ(CfgItems("Comp1/Comp.BVC", {{2, 1, 500}, {630, 1, 620}, {2, 1, 5}, {1, 2, 530}}),
              (std::vector<std::string>{"Test 1", "H1", "100", "1"}));
    EXPECT_FALSE(dlg->ReloadFlag());
}

TEST_F(DlgDefCompTest, F1AsksForTheDialogsTopicAndShowsTheScreen)
{
    bvtest::HelpInUse help;
    Run([](D& d) {
        QTest::keyClick(&d, Qt::Key_F1);
        d.item(D::IDC_LANES).setSelection(1);
        SaveScreen(d, "comp-settings.png");
        d.item(D::IDC_CANCEL).click();
    });
    EXPECT_EQ(help.requests, (std::vector<std::pair<uint32_t, int>>{{134, 2}}));
}

}  // namespace
