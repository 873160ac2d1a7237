// The control panel without its window: the series times, the clock set for
// a series, the stacking of the series buttons, and what the panel reads of
// and writes into the competition.
#include "tests/range/RangeOnFolder.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "range/views/PanelModel.h"

#include <gtest/gtest.h>

namespace {

using platform::Rect;
using Timing = CProgramStore::SerieTiming;

TEST(PanelModelTest, TimesOfASeries)
{
    Timing turning;
    turning.delay = 70;
    turning.green = 35;
    turning.red = 105;
    turning.rep = 5;
    turning.noTimer = true;
    Timing timed;
    timed.timer = 300;
    struct Case {
        Timing timing;
        int equipment;
        int programTenths;
        const char* comma;
        const char* text;
        PanelModel::ClockSetting clock;
    } cases[] = {
        {turning, 1, 1500, ",", "7 + 3,5-10,5 x 5", {150, 0, 2}},
        {turning, 129, 1500, ".", "7 + 3.5-10.5 x 5", {150, 0, 2}},
        {timed, 0, 6000, ",", "10:00 + 0:30", {600, 30, 2}},
        {Timing{}, 0, 36000, ",", "1:00:00 + 0:00", {3600, 0, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PanelModel::TimesText(c.timing, c.equipment, c.programTenths, c.comma), c.text) << c.text;
        EXPECT_EQ(PanelModel::ClockFor(c.timing, c.equipment, c.programTenths), c.clock) << c.text;
    }
}

TEST(PanelModelTest, SeriesButtonsStackInTheProgramGroup)
{
    const Rect mark{4, 200, 120, 274};
    const Rect program{4, 280, 180, 0};
    const int h = 16;
    for (int shown : {0, 2, 24}) {
        SCOPED_TRACE(shown);
        PanelModel::Layout l = PanelModel::StackSeries(mark, program, h, shown);
        // The marking group keeps its place and height and reaches the program group's right edge.
        EXPECT_EQ(l.markGroup, (Rect{4, 200, 180, 274}));
        EXPECT_EQ(l.programGroup, (Rect{4, 280, 180, 280 + (h + 1) * (shown + 1) + 10}));
        ASSERT_EQ(l.buttons.size(), 28u);
        for (int i = 0; i < 28; ++i) {
            int row = std::min(i, shown);
            EXPECT_EQ(l.buttons[static_cast<size_t>(i)], (Rect{7, 280 + h + 3 + row * (h + 1), 178,
                                                               280 + h + 3 + row * (h + 1) + h}))
                << i;
        }
    }
}

TEST(PanelModelTest, MarkButtonsShareTheRowWithATwinLane)
{
    Rect markAll{10, 5, 60, 29}, twin{60, 5, 110, 29};
    PanelModel::SplitMarkButtons(markAll, twin, true);
    EXPECT_EQ(markAll, (Rect{10, 5, 59, 29}));
    EXPECT_EQ(twin, (Rect{61, 5, 110, 29}));
    Rect alone{10, 5, 60, 29}, hidden{60, 5, 110, 29};
    PanelModel::SplitMarkButtons(alone, hidden, false);
    EXPECT_EQ(alone, (Rect{10, 5, 110, 29}));
}

TEST(PanelModelTest, ClockDigitsSize)
{
    struct Case {
        const char* text;
        int points;
    } cases[] = {{"1:05", 24}, {"12:05", 24}, {"1:00:00", 18}, {"", 24}};
    for (const Case& c : cases)
        EXPECT_EQ(PanelModel::ClockPoints(c.text), c.points) << c.text;
}

class PanelReadTest : public bvtest::RangeOnFolder {
protected:
    void SetUp() override
    {
        RangeOnFolder::SetUp();
        Open();
    }
    CBVConfig& Comp() { return objects->comp.CompConfig(); }
    void Series(int count)
    {
        CBVConfig programs;
        programs.Open(".\\Program.BVC", 1);
        programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeySerieCount, count);
        for (int s = 1; s <= count; ++s) {
            programs.WriteInt(ProgramItems::kSerieShots, 1, s + 1, 10);
            programs.WriteInt(ProgramItems::kSerieMark, 1, s + 1, s % 3);
        }
        objects->programs.Refresh();
    }
};

TEST_F(PanelReadTest, TheSelectedSeriesIsCutToTheProgram)
{
    struct Case {
        int series;     // of the program
        int stored;     // (2,1,710) before
        int selected;   // read back and stored
        int steps;      // series the keys reach
    } cases[] = {{2, 30, 2, 2}, {2, -3, 0, 2}, {24, 22, 22, 20}, {0, 1, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.series);
        Series(c.series);
        WriteItem(Comp(), CompSettings::kCurrentSeries, c.stored);
        PanelModel::State s = PanelModel::Read(*objects);
        EXPECT_EQ(s.series, c.selected);
        EXPECT_EQ(ReadItem(Comp(), CompSettings::kCurrentSeries), c.selected);
        EXPECT_EQ(s.stepCount, c.steps);
        EXPECT_EQ(static_cast<int>(s.seriesNames.size()), c.series);
        EXPECT_TRUE(s.running);
    }
}

TEST_F(PanelReadTest, MarkKindStoredOrTheProgramsForTheSeries)
{
    Series(4);
    WriteItem(Comp(), CompSettings::kCurrentSeries, 2);
    // Stored kind + 1 wins.
    WriteItem(Comp(), CompSettings::kMarkKind, 3);
    EXPECT_EQ(PanelModel::Read(*objects).markKind, 2);
    // None stored: the program's mark of series 2, then stored.
    WriteItem(Comp(), CompSettings::kMarkKind, 0);
    EXPECT_EQ(PanelModel::Read(*objects).markKind, 2);
    EXPECT_EQ(ReadItem(Comp(), CompSettings::kMarkKind), 3);
    // Choosing series 4 takes its mark (1) and keeps both in the competition.
    PanelModel::State s = PanelModel::SelectSeries(*objects, 3);
    EXPECT_EQ(s.series, 4);
    EXPECT_EQ(s.markKind, 1);
    EXPECT_EQ(ReadItem(Comp(), CompSettings::kCurrentSeries), 4);
    EXPECT_EQ(ReadItem(Comp(), CompSettings::kMarkKind), 2);
    PanelModel::SetMarkKind(*objects, 0);
    EXPECT_EQ(ReadItem(Comp(), CompSettings::kMarkKind), 1);
}

TEST_F(PanelReadTest, TwinLaneAndNewShooterTexts)
{
    PanelModel::State s = PanelModel::Read(*objects);
    EXPECT_FALSE(s.twinLane);
    EXPECT_STREQ(s.markAllKey, "IDS_PANEL_MARKALL");
    WriteItem(Comp(), CompSettings::kTwinLane, 5);
    CompOptions options;
    options.Set(CompOptions::RelayChangeAllLanes, true);
    CompSettings::WriteOptions(Comp(), options);
    objects->comp.Close();
    ASSERT_EQ(objects->comp.Open(1, 1), 0);
    s = PanelModel::Read(*objects);
    EXPECT_TRUE(s.twinLane);
    EXPECT_STREQ(s.markAllKey, "IDS_PANEL_MARKALL1");
    EXPECT_STREQ(s.shooterKey, "IDS_PANEL_SHOOTER_ALL");
}

}  // namespace
