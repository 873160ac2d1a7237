// Simulated shots made on the range, and the tick's simulation step.
#include "RangeOnFolder.h"

namespace {

class SimulationTest : public bvtest::RangeOnFolder {};

TEST_F(SimulationTest, ShotsForOneLaneOrAll)
{
    bvtest::RangeFolderSetup setup;
    setup.simulation = true;
    Open(setup);
    ASSERT_TRUE(range->channels.Simulation());
    range->simulation.SimulateShots(2, 1);
    ShotListRecord two = Stored(1, 2);
    EXPECT_EQ(two.shots[0].state, CDataComp::kSlotNoPosition);
    EXPECT_EQ(two.shots[0].data41, 2);
    EXPECT_EQ(two.shots[0].countingSeries, 1);
    EXPECT_EQ(Stored(1, 3).shots[0].state, CDataComp::kSlotFree);

    range->simulation.SimulateShots(0, 3);
    for (int lane = 1; lane <= 4; ++lane)
        EXPECT_NE(Stored(1, lane).shots[lane == 2 ? 1 : 0].state, CDataComp::kSlotFree) << lane;

    // Kind 0 moves the lane's band on.
    range->simulation.SimulateShots(2, 0);
    EXPECT_EQ(range->simulation.Simulator().LaneState(2).band, 0x81);
    for (const platform::Question& q : prompter.Questions())
        EXPECT_NE(q.kind, platform::QuestionKind::Message) << q.text;
}

TEST_F(SimulationTest, StepPlaysTheTargetsAtMostTwoLanesATick)
{
    bvtest::RangeFolderSetup setup;
    setup.simulation = true;
    Open(setup);
    for (int lane = 1; lane <= 4; ++lane)
        ASSERT_EQ(Lane(lane).lineStatus, LineStatus::kNoContact);
    range->simulation.Step();
    EXPECT_EQ(Lane(1).lineStatus, LineStatus::kSimulated);
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kSimulated);
    EXPECT_EQ(Lane(3).lineStatus, LineStatus::kNoContact);
    range->simulation.Step();
    EXPECT_EQ(Lane(4).lineStatus, LineStatus::kSimulated);
    EXPECT_EQ(static_cast<int>(Lane(4).targetCompetition), 1);
    EXPECT_EQ(static_cast<int>(Lane(4).targetRelay), 1);
}

TEST_F(SimulationTest, Refusals)
{
    struct Case {
        const char* name;
        int competition;
        bool simulation;
        int lane;
        const char* message;
    };
    const Case cases[] = {
        {"one lane without simulation", 1, false, 2, "Simulation is not switched on"},
        {"all lanes without simulation", 1, false, 0, nullptr},
        {"practice competition", 0, true, 2, "Simulation is not possible in the practice competition"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        bvtest::RangeFolderSetup setup;
        setup.competition = c.competition;
        setup.simulation = c.simulation;
        Open(setup);
        prompter.Clear();
        range->simulation.SimulateShots(c.lane, 1);
        if (c.message) {
            ASSERT_EQ(prompter.Questions().size(), 1u);
            EXPECT_EQ(prompter.Questions()[0].text, c.message);
        } else {
            EXPECT_TRUE(prompter.Questions().empty());
        }
        EXPECT_EQ(Stored(1, 2).shots[0].state, CDataComp::kSlotFree);
        Close();
    }
}

}  // namespace
