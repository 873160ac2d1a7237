// The receive dispatcher on messages made by hand, without a window: what
// each command byte does to its lane, what is refused and how it is reported.
#include "range/base/RangeObjects.h"

#include "tests/range/DispatchRig.h"
#include "tests/range/UnitMessage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using bvtest::UnitMessage;

namespace {

// A language file of the few texts the dispatcher shows.
void WriteLanguageFile(const std::string& path)
{
    std::string text = "BVRange\r\n"
                       "IDS_WRN_ILLEGAL_MSG;;;;Ugyldig;Ugyldig;Ogiltigt;Illegal message;Falsch\r\n"
                       "IDS_INFO_MOTOR_ONE;;;;M;M;M;Band advance, lane;B\r\n"
                       "IDS_INFO_MOTOR_ALL;;;;M;M;M;Band advance, all lanes;B\r\n"
                       "IDS_INFO_ZOOM2;;;;Z;Z;Z;Zoom: best;Z\r\n";
    for (char& c : text)
        c = static_cast<char>(c ^ CLanguageTable::kScrambleKey);
    bvtest::TempFolder::Write(path, text);
}

class DispatcherTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        WriteLanguageFile("BVRange.bvt");
        objects = std::make_unique<RangeObjects>();
        ASSERT_EQ(objects->language.Load(".\\BVRange.bvt", "EN"), 3);
        rig = std::make_unique<bvtest::DispatchRig>(*objects);
        PortTable& ports = objects->ports;
        ports[0].type = 1;
        ports[0].firstLane = 1;
        ports[0].lastLane = 50;
        ports[1].type = 2;
        ports[1].firstLane = 51;
        ports[1].lastLane = 100;
        objects->lanes.AssignChannels(ports);
    }


    LaneBlock& Lane(int lane) { return objects->lanes[lane]; }
    const std::string& Warning() const { return rig->services.warning; }
    const std::string& Info() const { return rig->services.info; }
    static std::string Log() { return bvtest::TempFolder::Read("BVLog.txt"); }

    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<bvtest::DispatchRig> rig;
};

}  // namespace

TEST_F(DispatcherTest, LaneFieldsFromTheTargets)
{
    Lane(5).pendingMode = 3;
    Lane(6).pendingMode = 3;
    rig->Dispatch(0, UnitMessage('L', 5, 3, {'6'}));
    rig->Dispatch(0, UnitMessage('L', 5, 4, {'8'}));
    rig->Dispatch(0, UnitMessage('L', 5, 7, {'7'}));
    Lane(8).liftPosition = '5';
    rig->Dispatch(0, UnitMessage('L', 5, 8, {'9'}));
    rig->Dispatch(0, UnitMessage(0x88, 10, 9, {0, 2}));
    rig->Dispatch(0, UnitMessage(0xB2, 5, 5));
    rig->Dispatch(0, UnitMessage('N', 16, 6));
    rig->Dispatch(1, UnitMessage(0x88, 10, 100, {0, 3}));

    EXPECT_EQ(Lane(3).liftPosition, '3');
    EXPECT_EQ(Lane(4).liftPosition, '5');
    EXPECT_EQ(Lane(7).liftPosition, '4');
    EXPECT_EQ(Lane(8).liftPosition, 0);
    EXPECT_EQ(Lane(9).sensitivity, 3);
    EXPECT_EQ(Lane(5).pendingMode, 0);
    EXPECT_EQ(Lane(6).pendingMode, 0);
    EXPECT_EQ(Lane(100).sensitivity, 4);
    for (int lane : {3, 4, 5, 6, 7, 8, 9, 100})
        EXPECT_EQ(Lane(lane).lineStatus, LineStatus::kAnswers) << lane;
    EXPECT_EQ(Lane(10).lineStatus, LineStatus::kNoContact);
    EXPECT_EQ(rig->calls(), (std::vector<std::string>{"light 6"}));
}

TEST_F(DispatcherTest, LaneStateOfTheTarget)
{
    LineMessage m = UnitMessage(0xB3, 15, 12, {0x80, 2, 0x01, 0x02, 5, 0, 3, 0x21});
    m.data[16] = 77;  // not part of a 15-byte message
    rig->Dispatch(0, m);
    EXPECT_EQ(Lane(12).targetRelay, 0x0102);
    EXPECT_EQ(Lane(12).targetState, 2);
    EXPECT_EQ(Lane(12).targetCompetition, 3);
    EXPECT_EQ(Lane(12).targetField16, 0);
    EXPECT_EQ(rig->calls(), (std::vector<std::string>{"overview 12"}));

    m.data[0] = 16;
    m.data[5] = 0;
    rig->Dispatch(0, m);
    EXPECT_EQ(Lane(12).targetField16, 77);
    EXPECT_EQ(rig->calls().size(), 1u);
}

TEST_F(DispatcherTest, HandedOnToTheirOwners)
{
    LineMessage shot = UnitMessage('C', 50, 2, {0x20});
    rig->Dispatch(0, shot);
    rig->Dispatch(0, UnitMessage('Y', 24, 3));
    rig->Dispatch(0, UnitMessage(0x86, 10, 4));
    rig->Dispatch(0, UnitMessage(0x87, 26, 4));
    rig->Dispatch(0, UnitMessage(0xA1, 6, 5, {0, 4}));
    rig->Dispatch(0, UnitMessage(0xA2, 10, 6));
    Lane(100).card.relay = 300;
    rig->Dispatch(1, UnitMessage(0xB4, 12, 100, {0, 0x01, 0x2C, 0, 17}));
    rig->Dispatch(0, UnitMessage('P', 5, 7));
    rig->Dispatch(0, UnitMessage(0x90, 4, 7));
    rig->Dispatch(0, UnitMessage(0x94, 6, 7));
    EXPECT_EQ(rig->calls(), (std::vector<std::string>{"shot 2", "print 3", "unit 134", "unit 135", "text 5 4 0",
                                                      "recompute 6", "reload 300 100 17", "missing 100"}));
    EXPECT_EQ(Lane(7).lineStatus, LineStatus::kAnswers);
}

TEST_F(DispatcherTest, LaneNoticeInTheStatusBar)
{
    rig->Dispatch(0, UnitMessage(0x93, 8, 5));
    EXPECT_EQ(Warning(), "Lane=5 Msg=93 ");
}

TEST_F(DispatcherTest, RefusedMessagesLeaveTheLanesAlone)
{
    struct Case {
        const char* what;
        int channel;
        LineMessage m;
        const char* log;
    };
    const Case cases[] = {
        {"lane 101", 1, UnitMessage(0x88, 10, 101, {0, 1}), "Illegal Lane"},
        {"lane 0", 0, UnitMessage(0x88, 10, 0, {0, 1}), "Illegal Lane"},
        {"lane of the other channel", 0, UnitMessage(0x88, 10, 60, {0, 1}), "Inactive Lane for this port"},
    };
    for (const Case& k : cases) {
        rig->Dispatch(k.channel, k.m);
        EXPECT_NE(Log().find(k.log), std::string::npos) << k.what;
    }
    // A lane that the channel's range holds but another type of channel serves.
    objects->ports[0].lastLane = 60;
    rig->Dispatch(0, UnitMessage(0x88, 10, 60, {0, 1}));
    EXPECT_NE(Log().find("Illegal Com port 1 vs 2"), std::string::npos);
    for (int lane : {1, 60, 100}) {
        EXPECT_EQ(Lane(lane).sensitivity, 0) << lane;
        EXPECT_EQ(Lane(lane).lineStatus, LineStatus::kNoContact) << lane;
    }
    EXPECT_TRUE(rig->calls().empty());
}

TEST_F(DispatcherTest, OurOwnCommandsReadBackAreDroppedQuietly)
{
    LineMessage mode = UnitMessage('r', 27, 0);
    mode.data[1] = 0xBC;
    rig->Dispatch(0, mode);
    LineMessage state = UnitMessage(0xB3, 15, 5);
    state.data[1] = 0xBC;
    rig->Dispatch(0, state);
    EXPECT_EQ(Log().find("Illegal"), std::string::npos);
    EXPECT_EQ(Lane(5).lineStatus, LineStatus::kNoContact);

    // A shot sent to all still reaches its lane.
    LineMessage shot = UnitMessage('C', 16, 5);
    shot.data[1] = 0xBC;
    rig->Dispatch(0, shot);
    EXPECT_EQ(rig->calls(), (std::vector<std::string>{"shot 5"}));
}

TEST_F(DispatcherTest, TooShortIsShownAndLogged)
{
    rig->Dispatch(0, UnitMessage(0x88, 9, 5, {0, 1}));
    EXPECT_EQ(Lane(5).sensitivity, 0);
    // The lane did answer.
    EXPECT_EQ(Lane(5).lineStatus, LineStatus::kAnswers);
    EXPECT_EQ(Warning(), "Illegal message");
    EXPECT_NE(Log().find("Msg(88) too short (9) at lane 5"), std::string::npos);

    rig->Dispatch(0, UnitMessage(0x55, 200, 6));
    EXPECT_NE(Log().find("Msg(55) too short (200) at lane 6"), std::string::npos);

    // A shot with its data needs all of it.
    rig->Dispatch(0, UnitMessage('C', 16, 7, {0x20}));
    EXPECT_NE(Log().find("Msg(43) too short (16) at lane 7"), std::string::npos);
    EXPECT_TRUE(rig->calls().empty());
}

TEST_F(DispatcherTest, StopTextTogglesOnEveryActiveLane)
{
    for (int lane : {3, 4, 100})
        Lane(lane).enabled = 1;
    Lane(4).lastText = "10.9";
    Lane(5).lastText = "";  // not active
    rig->range.commands.OnToggleStop();
    EXPECT_EQ(Lane(3).lastText, "STOP");
    EXPECT_EQ(Lane(4).lastText, "");
    EXPECT_EQ(Lane(100).lastText, "STOP");
    EXPECT_EQ(Lane(5).lastText, "");
    rig->range.commands.OnToggleStop();
    EXPECT_EQ(Lane(3).lastText, "");
    EXPECT_EQ(Lane(4).lastText, "STOP");
}

TEST_F(DispatcherTest, CommandsTellTheOfficerInTheStatusBar)
{
    rig->range.commands.SendMotor(5, 1);
    EXPECT_EQ(Info(), "Band advance, lane 5");
    rig->range.commands.SendMotor(0, 1);
    EXPECT_EQ(Info(), "Band advance, all lanes");
    rig->range.commands.SendZoom(0, 2);
    EXPECT_EQ(Info(), "Zoom: best");
}
