// The outside range system read on the tick, against our stand-in of its
// library: its lanes' contact, its shots valued and stored, at most six
// events a tick; and the value rule by itself.
#include "RangeOnFolder.h"

#include "line/outside/CVI9001.h"
#include "platform/system/Clock.h"

#include <cstdio>

#include <dlfcn.h>
#include <unistd.h>

namespace {

const std::string kStandIn = std::string(BV_BINARY_DIR) + "/standin/libRCI2000.so";

void Command(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvRci2000Command")) : nullptr;
    }();
    ASSERT_NE(command, nullptr) << dlerror();
    command(line.c_str());
}

TEST(OutsideShotValue, FromRingAndScore)
{
    struct Case { const char* what; int r, d; uint16_t a; bool remote; int own, value; };
    const Case cases[] = {
        {"d = 96 above the ring", 9, 96, 0, false, 0, 1150},
        {"d = 95", 9, 95, 0, false, 0, 1040},
        {"d = 1", 0, 1, 0, false, 0, 100},
        {"d = 0", 0, 0, 0, false, 0, 0},
        {"ring 9, own value in the same ring", 9, 50, 0, false, 955, 955},
        {"ring 9, own value in another ring", 9, 50, 0, false, 850, 900},
        {"inner ten under remote control", 10, 0, 0x200, true, 0, 1100},
        {"inner ten bit without remote control", 10, 0, 0x200, false, 0, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutsidePoll::ShotValue(c.r, c.d, c.a, c.remote, c.own), c.value) << c.what;
}

class OutsidePollTest : public bvtest::RangeOnFolder {
protected:
    void SetUp() override
    {
        RangeOnFolder::SetUp();
        Command("reset");
        Command("log " + folder.File("rci.log"));
        ASSERT_EQ(symlink(kStandIn.c_str(), folder.File("libRCI2000.so").c_str()), 0);
        bvtest::TempFolder::Write(folder.File("RCI.INI"), "[RCI_MarkII]\r\nName=Range\r\n[BVLeder]\r\nChTo=3\r\nLane1=1\r\n");
    }
    void TearDown() override
    {
        RangeOnFolder::TearDown();
        Command("reset");
    }
    int StoredCount(int lane)
    {
        ShotListRecord list = Stored(1, lane);
        int n = 0;
        for (const ShotRecord& s : list.shots)
            n += s.state != 0;
        return n;
    }
};

TEST_F(OutsidePollTest, ShotsAreReadSixATickAndStoredWithTheirValues)
{
    Command("channels 4");
    Command("message 0 80 03 00 02");  // channel 0 serves lane 2
    Command("message 0 80 04 00");
    bvtest::RangeFolderSetup setup;
    setup.com = 10;
    Open(setup);
    CVI9001* vi = range->channels.OutsideSystem();
    ASSERT_NE(vi, nullptr);
    EXPECT_EQ(objects->ports[0].state, PortState::Open);

    range->outside.PollOutsideSystem();
    EXPECT_EQ(vi->LaneOfChannel(0), 2);
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kOutside);

    Command("shot 0 1 4529678 0.0 0.0 9 96 0000");
    Command("shot 0 2 4529679 -1.5 2.0 9 50 0000");
    for (int n = 3; n <= 7; ++n)
        Command("shot 0 " + std::to_string(n) + " 4529700 3.0 4.0 9 96 0000");
    range->outside.PollOutsideSystem();
    EXPECT_EQ(StoredCount(2), 6);
    range->outside.PollOutsideSystem();
    EXPECT_EQ(StoredCount(2), 7);

    ShotListRecord list = Stored(1, 2);
    const ShotRecord& first = list.shots[0];
    EXPECT_EQ(+first.value, 1150);
    EXPECT_EQ(+first.hour, 12);
    EXPECT_EQ(+first.minute, 34);
    EXPECT_EQ(+first.second, 56);
    EXPECT_EQ(+first.hundredths, 78);
    EXPECT_EQ(+first.data41, 2);
    EXPECT_EQ(+first.sensorB, 255);
    const ShotRecord& second = list.shots[1];
    EXPECT_EQ(+second.x, -1500);
    EXPECT_EQ(+second.y, 2000);
    EXPECT_EQ(+second.radius, 2500);
    int type = range->simulation.EffectiveTargetType(2);
    int own = objects->targetTypes.ScoreRing(std::floor(std::sqrt(1500.0 * 1500 + 2000.0 * 2000)) * 0.001, type,
                                             objects->targetTypes.GetBulletRadius(type));
    EXPECT_EQ(+second.value, own / 100 == 9 ? own : 900);

}

// Every channel is asked for its lane at the opening; lane 1, which the file
// check enabled on channel 1, goes remote (year, lane, control mode, demo
// mode, range type) and back to local when the channels close.
TEST_F(OutsidePollTest, EnabledLanesGoRemoteAndBackToLocal)
{
    Command("channels 4");
    bvtest::RangeFolderSetup setup;
    setup.com = 10;
    Open(setup);
    CVI9001* vi = range->channels.OutsideSystem();
    ASSERT_NE(vi, nullptr);
    EXPECT_FALSE(vi->IsRemote(1));
    range->channels.UpdateOutsideControl();
    EXPECT_TRUE(vi->IsRemote(1));
    range->channels.ClosePorts();

    const int year = platform::Now().year;
    char yearBytes[8];
    std::snprintf(yearBytes, sizeof yearBytes, "%02X %02X", year >> 8, year & 0xFF);
    std::string expected;
    for (int c = 0; c < 4; ++c)
        expected += "Ch" + std::to_string(c) + " created\n";
    for (int c = 0; c < 4; ++c)
        expected += "Ch" + std::to_string(c) + " > 40 03\nCh" + std::to_string(c) + " > 40 04\n";
    expected += std::string("Ch1 > 00 3A ") + yearBytes + "\n"
                "Ch1 > 40 03\n"
                "Ch1 > 00 04 01\n"
                "Ch1 > 00 0E 00\n"
                "Ch1 > 00 0D 00 04\n"
                "Ch1 > 00 04 00\n";
    for (int c = 0; c < 4; ++c)
        expected += "Ch" + std::to_string(c) + " deleted\n";
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("rci.log")), expected);
}

TEST_F(OutsidePollTest, WithoutItsLibraryTheOtherLanesRunOn)
{
    ::unlink(folder.File("libRCI2000.so").c_str());
    prompter.AnswerMessage(platform::IDOK);
    bvtest::RangeFolderSetup setup;
    setup.com = 10;
    Open(setup);
    EXPECT_EQ(range->channels.OutsideSystem(), nullptr);
    EXPECT_EQ(objects->ports[0].state, PortState::Failed);
    range->outside.PollOutsideSystem();  // nothing to read, nothing breaks
    EXPECT_EQ(Lane(2).lineStatus, LineStatus::kNoContact);
}

}  // namespace
