// The small asking dialogs of a running series: the text input, the lane
// selection and the lift. Each is driven by id; what it gives back, what it
// refuses and what it hides are checked against its caller's needs.
#include "tests/range/ui/DialogFixture.h"

#include "range/ui/dialogs/DlgInput.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/dialogs/DlgLift.h"

#include <QTimer>

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::IDCANCEL;
using platform::IDOK;

class InputDialogsTest : public bvtest::RangeDialogTest {};

TEST_F(InputDialogsTest, TextOnlyInputHidesTheLaneAndGivesBackTheText)
{
    using I = CDlgInput;
    CDlgInput d;
    d.m_title = "Password";
    ASSERT_TRUE(d.Create());
    EXPECT_EQ(d.Caption(), "Password");
    EXPECT_EQ(d.item(I::IDC_PROMPT).text(), "<>");
    for (int id : {I::IDC_LANE_LABEL, I::IDC_LANE, I::IDC_LANE_SPIN, I::IDC_ALL})
        EXPECT_FALSE(d.item(id).visible()) << id;
    EXPECT_TRUE(d.item(I::IDC_TEXT).visible());
    EXPECT_EQ(d.item(I::IDC_OK).text(), "OK");
    EXPECT_EQ(d.item(I::IDC_CANCEL).text(), "Cancel");
    Retype(d.item(I::IDC_TEXT).widget(), "Juniors \xC6\xD8\xC5");
    d.item(I::IDC_OK).click();
    EXPECT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_text, "Juniors \xC6\xD8\xC5");
    EXPECT_EQ(d.m_prompt, "<>");

    // Cancel, by Escape in a modal run, keeps the caller's values.
    CDlgInput cancelled;
    cancelled.m_prompt = "Name of the class";
    cancelled.m_text = "Seniors";
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(cancelled.item(I::IDC_PROMPT).text(), "Name of the class");
        cancelled.item(I::IDC_TEXT).setText("Veterans");
        QTest::keyClick(&cancelled, Qt::Key_Escape);
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_text, "Seniors");
    EXPECT_TRUE(prompter.Questions().empty());
    EXPECT_TRUE(FolderEmpty());
}

TEST_F(InputDialogsTest, LaneInputKeepsTheLaneWithinTheRange)
{
    using I = CDlgInput;
    struct Case {
        const char* typed;
        int all;
        int lane;
    };
    const Case cases[] = {{"7", 0, 7}, {"0", 0, 1}, {"", 0, 1}, {"100", 0, 100}, {"150", 0, 100}, {"12", 1, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CDlgInput d;
        d.m_textOnly = false;
        d.m_lane = 3;
        ASSERT_TRUE(d.Create());
        EXPECT_TRUE(d.item(I::IDC_LANE).visible());
        EXPECT_EQ(d.item(I::IDC_LANE_LABEL).text(), "Lane");
        EXPECT_EQ(d.item(I::IDC_ALL).text(), "All targets");
        EXPECT_EQ(d.item(I::IDC_LANE).text(), "3");
        d.item(I::IDC_LANE).setText(c.typed);
        if (c.all) {
            d.item(I::IDC_ALL).click();
            // Every lane: the lane field is left as it stands.
            EXPECT_FALSE(d.item(I::IDC_LANE_SPIN).enabled());
        }
        d.item(I::IDC_TEXT).setText("Stop firing");
        d.item(I::IDC_OK).click();
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_lane, c.lane);
        EXPECT_EQ(d.m_allTargets, c.all);
        EXPECT_EQ(d.m_text, "Stop firing");
    }
}

using L = CDlgLaneSel;

TEST_F(InputDialogsTest, LaneSelectionClampsTheLaneAndRefusesARelayAboveTheMaximum)
{
    struct Case {
        const char* lane;
        const char* relay;
        int all;
        int expectLane;
        int expectRelay;
    };
    const Case cases[] = {
        {"7", "3", 0, 7, 3}, {"0", "1", 0, 1, 1}, {"150", "2", 0, 100, 2}, {"100", "1", 0, 100, 1},
        {"", "", 0, 1, 0},   {"5", "4", 1, 5, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lane) + "/" + c.relay);
        CDlgLaneSel d;
        d.m_title = "Shoot series";
        d.m_lane = 2;
        d.m_relay = 1;
        ASSERT_TRUE(d.Create());
        EXPECT_EQ(d.Caption(), "Shoot series");
        EXPECT_EQ(d.item(L::IDC_LANE).text(), "2");
        EXPECT_EQ(d.item(L::IDC_RELAY_LABEL).text(), "Relay");
        EXPECT_FALSE(d.item(L::IDC_ALL_CARDS).visible());
        EXPECT_FALSE(d.item(L::IDC_EXTRA).visible());
        EXPECT_TRUE(d.item(L::IDC_OK).visible());
        d.item(L::IDC_LANE).setText(c.lane);
        d.item(L::IDC_RELAY).setText(c.relay);
        if (c.all) {
            d.item(L::IDC_ALL).click();
            EXPECT_FALSE(d.item(L::IDC_LANE_SPIN).enabled());
        }
        d.item(L::IDC_OK).click();
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_lane, c.expectLane);
        EXPECT_EQ(d.m_relay, c.expectRelay);
        EXPECT_EQ(d.m_allTargets, c.all);
    }
    EXPECT_TRUE(prompter.Questions().empty());

    // The final marking's form: a relay above the maximum beeps, shows 1 and
    // waits for the officer.
    CDlgLaneSel d;
    d.m_relayMax = 12;
    d.m_hideAll = true;
    d.m_lane = 4;
    d.m_relay = 2;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    EXPECT_FALSE(d.item(L::IDC_ALL).visible());
    d.item(L::IDC_RELAY).setText("13");
    d.item(L::IDC_OK).click();
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].kind, platform::QuestionKind::Beep);
    EXPECT_EQ(prompter.Questions()[0].beep, platform::BeepKind::Stop);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.item(L::IDC_RELAY).text(), "1");
    d.item(L::IDC_RELAY).setText("12");
    d.item(L::IDC_OK).click();
    EXPECT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_relay, 12);
    EXPECT_EQ(d.m_lane, 4);
}

TEST_F(InputDialogsTest, LaneSelectionCancelGivesBackTheFieldsAndHidesWhatItIsTold)
{
    CDlgLaneSel d;
    d.m_hideRelay = true;
    d.m_hideAllCards = false;
    d.m_lane = 3;
    QTimer::singleShot(0, [&] {
        for (int id : {L::IDC_RELAY, L::IDC_RELAY_SPIN, L::IDC_RELAY_LABEL})
            EXPECT_FALSE(d.item(id).visible()) << id;
        EXPECT_TRUE(d.item(L::IDC_ALL_CARDS).visible());
        EXPECT_EQ(d.item(L::IDC_ALL_CARDS).text(), "All cards");
        d.item(L::IDC_LANE).setText("9");
        d.item(L::IDC_CANCEL).click();
    });
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    // Cancel reads the fields as they stand; the caller knows not to use them.
    EXPECT_EQ(d.m_lane, 9);
}

TEST_F(InputDialogsTest, MotorFormAdvancesAsOftenAsPressedAndStaysOpen)
{
    std::vector<std::pair<int, int>> advances;
    CDlgLaneSel d;
    d.m_title = "Advance target band";
    d.m_relayLabel = "Advances";
    d.m_relayMax = 10;
    d.m_relay = 1;
    d.m_lane = 5;
    d.m_form = L::kMotor;
    d.m_extraButtonKey = "IDS_LANESEL_ADVANCEBUTTON";
    d.onAdvance = [&](int lane, int count) { advances.emplace_back(lane, count); };
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    EXPECT_FALSE(d.item(L::IDC_OK).visible());
    EXPECT_TRUE(d.item(L::IDC_EXTRA).visible());
    EXPECT_EQ(d.item(L::IDC_EXTRA).text(), "Advance");
    EXPECT_EQ(d.item(L::IDC_RELAY_LABEL).text(), "Advances");
    d.item(L::IDC_EXTRA).click();
    d.item(L::IDC_RELAY).setText("3");
    d.item(L::IDC_EXTRA).click();
    d.item(L::IDC_ALL).click();
    d.item(L::IDC_EXTRA).click();
    EXPECT_TRUE(d.isVisible());
    d.item(L::IDC_CANCEL).click();
    EXPECT_EQ(d.Result(), IDCANCEL);
    EXPECT_EQ(advances, (std::vector<std::pair<int, int>>{{5, 1}, {5, 3}, {0, 3}}));
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(InputDialogsTest, LiftSendsThePositionsCodeAndNothingWithoutOne)
{
    using F = CDlgLift;
    std::vector<std::pair<int, int>> sent;
    CDlgLift d;
    d.onLift = [&](int lane, int code) { sent.emplace_back(lane, code); };
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    EXPECT_EQ(d.Caption(), "Target lift");
    EXPECT_EQ(d.item(F::IDC_LANE).text(), "1");
    EXPECT_EQ(d.item(F::IDC_PARK).selection(), -1);
    d.item(F::IDC_ACTIVATE).click();  // no position yet
    EXPECT_TRUE(sent.empty());

    const std::pair<int, int> positions[] = {
        {F::IDC_PARK, '6'}, {F::IDC_STAND, '5'}, {F::IDC_KNEE, '4'}, {F::IDC_PRONE, '3'}};
    d.item(F::IDC_LANE).setText("100");
    for (auto [id, code] : positions) {
        d.item(id).click();
        d.item(F::IDC_ACTIVATE).click();
    }
    d.item(F::IDC_LANE).setText("0");
    d.item(F::IDC_ACTIVATE).click();
    d.item(F::IDC_ALL).click();
    EXPECT_FALSE(d.item(F::IDC_LANE_SPIN).enabled());
    d.item(F::IDC_ACTIVATE).click();
    EXPECT_TRUE(d.isVisible());
    d.item(F::IDC_CLOSE).click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{100, '6'}, {100, '5'}, {100, '4'}, {100, '3'}, {1, '3'}, {0, '3'}}));
}

TEST_F(InputDialogsTest, HelpAsksForTheTemplate)
{
    CDlgInput input;
    ASSERT_TRUE(input.Create());
    PressHelp(&input, input.item(CDlgInput::IDC_TEXT).widget());
    CDlgLaneSel lanes;
    ASSERT_TRUE(lanes.Create());
    PressHelp(&lanes, lanes.item(L::IDC_LANE).widget());
    CDlgLift lift;
    ASSERT_TRUE(lift.Create());
    PressHelp(&lift, lift.item(CDlgLift::IDC_LANE).widget());
    EXPECT_EQ(help.requests, (bvtest::HelpLog{{152, 2},
                                              {CDlgInput::IDC_TEXT, 3},
                                              {143, 2},
                                              {L::IDC_LANE, 3},
                                              {151, 2},
                                              {CDlgLift::IDC_LANE, 3}}));
}

TEST_F(InputDialogsTest, Screenshots)
{
    CDlgInput input;
    input.m_title = "Message to the monitors";
    input.m_prompt = "Text shown on the monitor of the lane";
    input.m_textOnly = false;
    input.m_lane = 4;
    ASSERT_TRUE(input.Create());
    SaveScreen(input, "range-input.png");
    CDlgLaneSel lanes;
    lanes.m_title = texts.GetText("IDS_LANESEL_TITLE_MOTOR");
    lanes.m_relayLabel = texts.GetText("IDS_LANESEL_ADVANCECOUNT");
    lanes.m_form = L::kMotor;
    lanes.m_extraButtonKey = "IDS_LANESEL_ADVANCEBUTTON";
    lanes.m_lane = 1;
    lanes.m_relay = 1;
    lanes.m_relayMax = 10;
    ASSERT_TRUE(lanes.Create());
    SaveScreen(lanes, "range-lane-select.png");
    CDlgLift lift;
    lift.m_position = CDlgLift::kKnee;
    ASSERT_TRUE(lift.Create());
    SaveScreen(lift, "range-lift.png");
}

}  // namespace
