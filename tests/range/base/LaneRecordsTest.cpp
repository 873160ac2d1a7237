// What the dispatcher writes into the competition's files: the lanes'
// active records, the target's own card, and the gaps of a lane's shots.
#include "foundation/settings/CompSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/files/FileSystem.h"
#include "range/base/RangeObjects.h"

#include "tests/range/DispatchRig.h"
#include "tests/range/UnitMessage.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using bvtest::UnitMessage;

namespace {

class LaneRecordsTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { objects = std::make_unique<RangeObjects>(); }

    void Open(int competition)
    {
        ASSERT_EQ(platform::CreateFolders(comp().FolderOf(competition)), 0);
        ASSERT_EQ(comp().Open(competition, 1), 0);
        rig = std::make_unique<bvtest::DispatchRig>(*objects);
        PortTable& ports = objects->ports;
        ports[0].type = 1;
        ports[0].firstLane = 1;
        ports[0].lastLane = 100;
        objects->lanes.AssignChannels(ports);
    }

    CDataComp& comp() { return objects->comp; }
    LaneBlock& Lane(int lane) { return objects->lanes[lane]; }

    // A card of (relay, lane) as the lane shows it.
    void Card(int relay, int lane)
    {
        CardRecord& card = Lane(lane).card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(lane);
        ASSERT_GE(comp().GetCard(card, 1), 0);
        ASSERT_EQ(comp().ReadActive(lane, Lane(lane).active), 0);
    }

    ActiveRecord Active(int lane)
    {
        ActiveRecord a;
        comp().ReadActive(lane, a);
        return a;
    }


    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<bvtest::DispatchRig> rig;
};

}  // namespace

TEST_F(LaneRecordsTest, SeriesOfALaneInItsActiveRecord)
{
    Open(1);
    Card(2, 5);
    Card(3, 100);
    int16_t before = Active(5).changeCounter;

    rig->range.records.WriteActive(5, 0x83);
    EXPECT_EQ(Active(5).seriesState, 0x83);
    EXPECT_EQ(Active(5).changeCounter, before + 1);
    EXPECT_EQ(Active(5).relay, 2);
    EXPECT_EQ(Lane(5).active.seriesState, 0x83);

    rig->range.records.WriteActive(100, 4);
    EXPECT_EQ(Active(100).seriesState, 4);
    EXPECT_EQ(Active(100).changeCounter, 1);

    // A lane without a record keeps its series in memory only.
    rig->range.records.WriteActive(7, 2);
    EXPECT_EQ(Lane(7).active.seriesState, 2);
    ActiveRecord none;
    EXPECT_EQ(comp().ReadActive(7, none), -1);
    rig->range.records.WriteActive(101, 2);

    // Lane 0 is the final marking's record, written cleared.
    ActiveRecord marking{};
    marking.lane = 0;
    marking.relay = 9;
    marking.seriesState = 3;
    ASSERT_EQ(comp().ActiveFile().WriteRecKey(&marking), 0);
    rig->range.records.WriteActive(0, 0);
    ActiveRecord cleared = Active(0);
    EXPECT_EQ(cleared.relay, 0);
    EXPECT_EQ(cleared.seriesState, 129);
}

TEST_F(LaneRecordsTest, PracticeLaneTakesTheTargetsCard)
{
    Open(0);
    int unitCode = CTargetTypes::ToTargetCode(1);
    std::vector<uint8_t> payload(33, 0);
    payload[0] = 0x01;                      // [5] extended part
    payload[1] = 1;                         // [6] shooting
    payload[2] = 0;                         // [7, 8] relay 4
    payload[3] = 4;
    payload[4] = 2;                         // [9] series
    payload[6] = 0;                         // [11] competition
    payload[7] = static_cast<uint8_t>(unitCode);
    payload[12] = 5;                        // [17] value system
    payload[13] = 0xFF;                     // [18, 19] -2
    payload[14] = 0xFE;
    payload[15] = 0x01;                     // [20, 21] 300
    payload[16] = 0x2C;
    for (int i = 0; i < 14; ++i)
        payload[18 + i] = static_cast<uint8_t>(i + 1);  // [23..36]
    payload[32] = 3;                        // [37] sensitivity
    rig->Dispatch(0, UnitMessage(0xB3, 37, 3, payload));

    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = 4;
    card.lane = 3;
    ASSERT_EQ(comp().GetCard(card, 0), 0);
    EXPECT_EQ(card.targetType, 1);
    EXPECT_EQ(card.valueSystem, 5);
    EXPECT_EQ(card.cardValue2, -2);
    EXPECT_EQ(card.cardValue, 300);
    EXPECT_EQ(card.targetComp, 0);
    EXPECT_EQ(card.cardData[0], 1);
    EXPECT_EQ(card.cardData[13], 14);
    EXPECT_EQ(card.sensitivity, 3);
    EXPECT_EQ(Active(3).relay, 4);
    EXPECT_EQ(Lane(3).active.seriesState, 2);

    // A short lane state changes the type but never the card's target values.
    payload[7] = static_cast<uint8_t>(CTargetTypes::ToTargetCode(2));
    rig->Dispatch(0, UnitMessage(0xB3, 15, 3, payload));
    ASSERT_EQ(comp().GetCard(card, 0), 0);
    EXPECT_EQ(card.targetType, 2);
    EXPECT_EQ(card.valueSystem, 5);
    EXPECT_EQ(card.cardValue, 300);
}

TEST_F(LaneRecordsTest, CompetitionLaneKeepsItsOwnCard)
{
    Open(1);
    Lane(3).enabled = 1;
    std::vector<uint8_t> payload = {0, 1, 0, 4, 2, 0, 1, static_cast<uint8_t>(CTargetTypes::ToTargetCode(2)), 0, 0, 0};
    rig->Dispatch(0, UnitMessage(0xB3, 15, 3, payload));
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = 4;
    card.lane = 3;
    EXPECT_EQ(comp().GetCard(card, 0), -1);
    EXPECT_EQ(Lane(3).targetRelay, 4);
}

TEST_F(LaneRecordsTest, ShotFileMarksGapsOnTheLanesOwnCardOnly)
{
    Open(1);
    Card(2, 6);
    ShotRecord shot{};
    shot.state = CDataComp::kSlotShot;
    shot.shotNumber = 1;
    shot.series = 1;
    shot.value = 1000;
    shot.flags = CDataComp::kFlagFromTarget;
    ASSERT_GT(comp().AddShot(2, 6, shot, &Lane(6).shots, 10, 0), 0);
    ASSERT_EQ(comp().GetCard(Lane(6).card, 0), 0);
    Lane(6).card.lane = 6;
    std::string before = bvtest::TempFolder::Read("Comp1/Shot.BVD");

    // The target speaks of relay 3: not this card.
    rig->Dispatch(0, UnitMessage(0xB4, 12, 6, {0, 0, 3, 0, 4, 0, 0, 0}));
    EXPECT_EQ(bvtest::TempFolder::Read("Comp1/Shot.BVD"), before);
    EXPECT_EQ(Lane(6).shots.shots[1].state, CDataComp::kSlotFree);
    EXPECT_TRUE(rig->calls().empty());

    // Its own relay: shots 2 to 4 are missing and will be asked for.
    rig->Dispatch(0, UnitMessage(0xB4, 12, 6, {0, 0, 2, 0, 4, 0, 0, 0}));
    ShotListRecord stored;
    ASSERT_EQ(comp().ReadShots(2, 6, stored), 0);
    EXPECT_EQ(stored.shots[0].state, CDataComp::kSlotShot);
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(stored.shots[s].state, CDataComp::kSlotSkipped) << s;
        EXPECT_EQ(Lane(6).shots.shots[s].state, CDataComp::kSlotSkipped) << s;
    }
    EXPECT_EQ(stored.shots[4].state, CDataComp::kSlotFree);
    EXPECT_EQ(rig->calls(), (std::vector<std::string>{"reload 2 6 4", "missing 6"}));
}

TEST_F(LaneRecordsTest, StartupQuestionWaitsForEveryActiveLane)
{
    struct Case {
        const char* what;
        AskState asking;
        int state3, state4;       // lane states the two targets report
        int relay4;               // relay the target of lane 4 reports (the lanes have 5)
        const char* boxCall;      // what the question box is told once both are heard
        int countdownAfter;
    };
    // The box closes when every target fits, but its question stays until its
    // countdown ends: the exit countdown's end is what closes the program.
    const Case cases[] = {
        {"both fit", AskState::Startup, 2, 2, 5, "close ask", 7},
        {"lane 3 idle while it takes part", AskState::Startup, 0, 2, 5, "ask countdown", 0},
        {"lane 4 shoots another relay", AskState::Startup, 2, 2, 6, "ask countdown", 0},
        {"exit countdown, all heard", AskState::ExitCountdown, 2, 0, 5, "close ask", 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        bvtest::TempFolder caseFolder;  // each case on a competition of its own
        Open(1);
        for (int lane : {3, 4}) {
            Lane(lane).enabled = 1;
            Lane(lane).active.relay = 5;
        }
        rig->range.commands.ResetAllLanes();
        rig->services.asking = k.asking;
        rig->tick.askCountdown = 7;
        rig->Dispatch(0, UnitMessage(0xB3, 15, 3, {0, static_cast<uint8_t>(k.state3), 0, 5, 1, 0, 1, 0, 0, 0, 0}));
        // One lane not heard yet: the question waits.
        EXPECT_TRUE(rig->calls().empty());
        EXPECT_EQ(rig->tick.askCountdown, 7);
        rig->Dispatch(0, UnitMessage(0xB3, 15, 4,
                                     {0, static_cast<uint8_t>(k.state4), 0, static_cast<uint8_t>(k.relay4), 1, 0, 1, 0, 0, 0, 0}));
        EXPECT_EQ(rig->calls(), (std::vector<std::string>{k.boxCall}));
        EXPECT_EQ(rig->tick.askCountdown, k.countdownAfter);
        rig.reset();
        comp().Close();
    }
}
