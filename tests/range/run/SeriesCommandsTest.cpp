// The shoot, mark and clock commands of a series on the lanes' blocks and
// the competition's files, without a line: which lanes they address, what
// they write and arm, and what they refuse.
#include "tests/range/RangeOnFolder.h"

#include "foundation/files/BVConfig.h"
#include "range/run/SeriesCommands.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// The window's side: the lane dialog answers as the test says.
class ScriptedHost : public SeriesHost {
public:
    bool ChooseLane(LaneChoice& choice) override
    {
        asked.push_back(choice);
        if (!answer)
            return false;
        choice.lane = lane;
        choice.allTargets = all;
        return true;
    }
    void SendClock() override { ++clocks; }
    void RedrawClock() override {}

    bool answer = true;
    int lane = 0;
    bool all = false;
    std::vector<LaneChoice> asked;
    int clocks = 0;
};

class SeriesCommandsTest : public bvtest::RangeOnFolder {
protected:
    void Start(int lastLane = 4)
    {
        bvtest::RangeFolderSetup setup;
        setup.lastLane = lastLane;
        Open(setup);
        series = std::make_unique<SeriesCommands>(*objects, *services, *range, tick, host);
    }
    void TearDown() override
    {
        series.reset();
        RangeOnFolder::TearDown();
    }
    // Competition settings changed by the officer while the range runs.
    void SetOptions(const std::string& text)
    {
        ASSERT_EQ(CompSettings::WriteOptions(objects->comp.CompConfig(), CompOptions(text.c_str())), 0);
        ASSERT_EQ(objects->comp.Open(1, 1), 0);
    }
    int StoredSeriesByte(int lane)
    {
        ActiveRecord a{};
        EXPECT_EQ(objects->comp.ReadActive(lane, a), 0) << lane;
        return a.seriesState;
    }
    std::vector<std::string> Messages()
    {
        std::vector<std::string> out;
        for (const platform::Question& q : prompter.Questions())
            out.push_back(q.text);
        return out;
    }

    ScriptedHost host;
    std::unique_ptr<SeriesCommands> series;
};

TEST(SeriesTimingTest, CardCountdownsAndPendingModes)
{
    const std::pair<int, int> countdowns[] = {{1, 105}, {15, 132}, {99, 194}, {10, 105}, {100, 150}};
    for (auto [lane, ticks] : countdowns)
        EXPECT_EQ(SeriesCommands::CardCountdown(lane), ticks) << lane;
    const std::pair<int, int> pending[] = {{15, 5}, {6, 2}, {2, 0}, {600, 5}};
    for (auto [period, count] : pending)
        EXPECT_EQ(SeriesCommands::PendingModes(period), count) << period;
}

TEST_F(SeriesCommandsTest, ShootArmsTheCardCountdownsAndKeepsOneRunning)
{
    Start(99);
    Lane(2).cardCountdown = 7;
    series->ShootSeries(1, 1, false);
    EXPECT_TRUE(host.asked.empty());  // the options send to every lane without asking
    EXPECT_EQ(Lane(1).cardCountdown, 105);
    EXPECT_EQ(Lane(2).cardCountdown, 7);
    EXPECT_EQ(Lane(15).cardCountdown, 132);
    EXPECT_EQ(Lane(99).cardCountdown, 194);
    for (int lane : {1, 2, 50, 99}) {
        EXPECT_EQ(Lane(lane).active.seriesState, 0x82) << lane;
        EXPECT_EQ(StoredSeriesByte(lane), 0x82) << lane;
        EXPECT_EQ(Lane(lane).printFlag, 1) << lane;
    }
    EXPECT_EQ(services->info, "Shoot: Series Serie 2");  // the program's default series name
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SeriesCommandsTest, ClockModeArmsTheRepeatsByThePeriod)
{
    Start();
    for (auto [period, count] : {std::pair{15, 5}, std::pair{6, 2}}) {
        objects->clock.Set(period, 0, 1);
        tick.resendCountdown = 0;
        series->SendClockMode(0);
        for (int lane = 1; lane <= 4; ++lane)
            EXPECT_EQ(Lane(lane).pendingMode, count) << period;
        EXPECT_EQ(Lane(5).pendingMode, 0);
        EXPECT_EQ(tick.resendCountdown, 15);
    }
    EXPECT_EQ(host.clocks, 2);
}

TEST_F(SeriesCommandsTest, SeriesOutsideOneToTwentyIsRefused)
{
    Start();
    for (int index : {20, -1}) {
        prompter.Clear();
        series->ShootSeries(0, index, false);
        series->MarkSeries(0, index, false);
        series->MarkTwinLane(0, index);
        EXPECT_EQ(Messages(), std::vector<std::string>(3, objects->Text("IDS_WRN_ILLEGAL_SERIE"))) << index;
    }
    // The clock mode checks the competition's current series.
    WriteItem(objects->comp.CompConfig(), CompSettings::kCurrentSeries, 21);
    prompter.Clear();
    series->SendClockMode(0);
    EXPECT_EQ(Messages(), std::vector<std::string>{objects->Text("IDS_WRN_ILLEGAL_SERIE")});
    EXPECT_EQ(host.clocks, 0);
    EXPECT_EQ(tick.resendCountdown, 0);
    for (int lane = 1; lane <= 4; ++lane) {
        EXPECT_EQ(Lane(lane).active.seriesState, 129) << lane;
        EXPECT_EQ(Lane(lane).cardCountdown, 0) << lane;
    }
}

TEST_F(SeriesCommandsTest, ShootOnLanesHoldingShotsWarnsAfterwards)
{
    Start();
    Lane(3).shotsPerSeries[1] = 2;
    series->ShootSeries(0, 0, false);
    EXPECT_EQ(Messages(), std::vector<std::string>{objects->Text("IDS_WRN_OLDSHOTS")});
    EXPECT_EQ(Lane(3).active.seriesState, 0x81);
    // Series 2 has no shots yet: no warning.
    prompter.Clear();
    series->ShootSeries(0, 1, false);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SeriesCommandsTest, TheLaneDialogDecidesTheLanes)
{
    Start();
    // The officer chooses the series himself: every shoot asks.
    SetOptions("011011110000110000000000000000");
    host.lane = 3;
    series->ShootSeries(0, 1, false);
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_STREQ(host.asked[0].titleKey, "IDS_LANESEL_TITLE_SHOOT");
    EXPECT_EQ(host.asked[0].lane, 1);
    EXPECT_EQ(Lane(3).active.seriesState, 0x82);
    EXPECT_EQ(Lane(1).active.seriesState, 129);
    EXPECT_EQ(Lane(1).cardCountdown, 0);

    // Cancel: nothing changes.
    host.answer = false;
    series->MarkSeries(1, 0, true);
    EXPECT_STREQ(host.asked.back().titleKey, "IDS_LANESEL_TITLE_MARK");
    EXPECT_EQ(Lane(3).active.seriesState, 0x82);
    EXPECT_EQ(Lane(3).printFlag, 1);

    // All targets ticked: every active lane.
    host.answer = true;
    host.all = true;
    objects->clock.Set(60, 0, 1);
    objects->clock.Start();
    series->MarkSeries(1, 0, true);
    for (int lane = 1; lane <= 4; ++lane) {
        EXPECT_EQ(StoredSeriesByte(lane), 0x81) << lane;
        EXPECT_EQ(Lane(lane).printFlag, 0) << lane;
    }
    EXPECT_FALSE(objects->clock.IsRunning());
}

TEST_F(SeriesCommandsTest, OutsideSystemLanesGetNoChangeBit)
{
    Start();
    Lane(2).channelType = PortRecord::kOutsideSystem;
    series->ShootSeries(0, 0, false);
    EXPECT_EQ(StoredSeriesByte(1), 0x81);
    EXPECT_EQ(StoredSeriesByte(2), 0x01);
    series->MarkSeries(0, 1, false);
    EXPECT_EQ(StoredSeriesByte(2), 0x02);
    EXPECT_EQ(StoredSeriesByte(4), 0x82);
}

}  // namespace
