// What the panels show about the shots, worked out from a range folder
// written as the range control writes it.
#include <gtest/gtest.h>

#include "DisplayFixture.h"

namespace bvtest {
namespace {

class ShotSumsTest : public InTempFolder {
protected:
    void SetUp() override
    {
        range = std::make_unique<RangeFolder>("R1");
        DisplayFiles::Event(1, "Bane 1", "R1");
    }
    // One picture with the lanes given, places on, in a fresh display.
    Display& Show(const std::vector<Slot>& slots, int estimateMode = 0)
    {
        DisplayFiles::Picture(1, "Skive", slots, {{VisItems::kShowPlace, 1}, {VisItems::kEstimateMode, estimateMode}});
        DisplayFiles::Profile({{1, 60}});
        display = std::make_unique<Display>();
        display->Tick(2);
        return *display;
    }
    std::unique_ptr<RangeFolder> range;
    std::unique_ptr<Display> display;
};

TEST_F(ShotSumsTest, EarlierSeriesCountUpToTheirPlannedShots)
{
    range->Program(1, {3, 5}, 10);
    range->Card(1, 3);
    for (int v : {1000, 900, 800, 700})  // the fourth shot of series 1 is one too many
        range->Shot(1, 3, 1, v);
    range->Series(3, 2);
    range->Shot(1, 3, 2, 1000);
    range->Shot(1, 3, 2, 500, 0, 0);  // stored without a counting series
    CVisTarget& t = Show({{3}}).Target(0);
    EXPECT_EQ(t.values[CVisTarget::kValPreviousTotal].number, 2700);
    EXPECT_EQ(t.values[CVisTarget::kValTotal].number, 3700);
    EXPECT_EQ(t.values[CVisTarget::kValSeriesSum].number, 1500) << "a shot without counting series is in the series sum";
    EXPECT_EQ(t.values[CVisTarget::kValShotCount].number, 2);
    EXPECT_EQ(t.seriesShots, 5);
    EXPECT_EQ(t.seriesSums[1][0], 4);
    EXPECT_EQ(t.seriesSums[1][1], 2700);
    EXPECT_EQ(t.seriesSums[1][2], -1);
    EXPECT_EQ(t.seriesSums[2][1], 1000) << "only shots with a counting series go into the lines";
    EXPECT_EQ(t.seriesSums[3][1], -1) << "a series without shots";
    EXPECT_EQ(t.values[CVisTarget::kValLane].number, 3);
    EXPECT_STREQ(t.values[CVisTarget::kValEventName].text, "Bane 1");
}

TEST_F(ShotSumsTest, ShotsPerLineAndTheListPage)
{
    struct Case {
        int planned, perLine, shots;
        int expectedLine, firstShot;
    } cases[] = {
        {60, 10, 23, 10, 21},
        {60, 10, 10, 10, 1},
        {100, 5, 23, 10, 21},   // a hundred shots by fives would need twenty lines
        {10, 0, 3, 10, 1},      // an empty cell is the default ten
        {4, 10, 9, 10, 9},      // shots past the planned ones page by the series
    };
    for (const Case& c : cases) {
        range->Program(1, {c.planned}, c.perLine);
        range->Card(1, 4);
        range->data.DeleteShots(1, 4);
        for (int k = 0; k < c.shots; ++k)
            range->Shot(1, 4, 1, 1000, 0, 100);
        range->Series(4, 1);
        CVisTarget& t = Show({{4}}).Target(0);
        EXPECT_EQ(t.event->shotsPerLine, c.expectedLine) << c.planned << "/" << c.perLine;
        EXPECT_EQ(t.firstListShot, c.firstShot) << c.planned << "/" << c.perLine;
        EXPECT_EQ(t.values[CVisTarget::kValShotCount].number, c.shots);
    }
}

TEST_F(ShotSumsTest, SubSumsAreEstimatedOnlyWhileUnderWay)
{
    // Sub-sum 1 takes the ten shots of series 1.
    range->Program(1, {10}, 10, {std::string(1, static_cast<char>(32 + 10))});
    range->Card(1, 3);
    range->Series(3, 1);
    struct Case {
        int mode, shots, value, kind;
    } cases[] = {
        {1, 4, 0, 1},          // four at the best value: nothing lost
        {2, 4, 1000, 2},       // average x 100 of tenths
        {3, 4, 10000, 3},      // projected
        {0, 4, 4000, 0},
        {1, 10, 10000, 0},     // complete: the plain sum
        {3, 0, 0, 0},          // not begun
    };
    for (const Case& c : cases) {
        range->data.DeleteShots(1, 3);
        for (int k = 0; k < c.shots; ++k)
            range->Shot(1, 3, 1, 1000);
        CVisTarget& t = Show({{3}}, c.mode).Target(0);
        EXPECT_EQ(t.subSums[1], c.value) << c.mode << " " << c.shots;
        EXPECT_EQ(t.subKinds[1], c.kind) << c.mode << " " << c.shots;
    }
}

TEST_F(ShotSumsTest, EqualTotalsShareAPlaceAndLanesOffThePictureTakePart)
{
    range->Program(1, {10}, 10);
    struct Lane {
        int lane, total;
    } lanes[] = {{1, 900}, {2, 1000}, {3, 900}, {4, 800}, {7, 1000}};
    for (const Lane& l : lanes) {
        range->Card(1, l.lane);
        range->Series(l.lane, 1);
        range->Shot(1, l.lane, 1, l.total);
    }
    // Lane 7 is not shown but shoots on the range: it shares the first place.
    Display& d = Show({{1}, {2}, {3}, {4}});
    std::vector<int> places;
    for (int k = 0; k < 4; ++k)
        places.push_back(d.Target(k).values[CVisTarget::kValPlace].number);
    EXPECT_EQ(places, (std::vector<int>{3, 1, 3, 5}));

    // Lane 7 inactive in the competition: 1, 2, 2, 4.
    WriteItem(range->data.CompConfig(), CompSettings::LaneActive(7), 0);
    Display& again = Show({{1}, {2}, {3}, {4}});
    places.clear();
    for (int k = 0; k < 4; ++k)
        places.push_back(again.Target(k).values[CVisTarget::kValPlace].number);
    EXPECT_EQ(places, (std::vector<int>{2, 1, 2, 4}));

    // Off the line channel's lanes it takes no part either.
    WriteItem(range->data.CompConfig(), CompSettings::LaneActive(7), 1);
    CBVConfig rs;
    rs.Open("R1\\BVLeder.bvc", 1);
    rs.WriteString(1, 1, 530, std::string("\x01\x01\x05").c_str());
    Display& third = Show({{1}, {2}, {3}, {4}});
    EXPECT_EQ(third.Target(3).values[CVisTarget::kValPlace].number, 4);
}

TEST_F(ShotSumsTest, RankTotalCountsAsThePanelTotal)
{
    range->Program(1, {2, 3}, 10);
    range->Card(1, 3);
    range->Series(3, 2);
    for (int v : {1000, 900, 800})
        range->Shot(1, 3, 1, v);
    range->Shot(1, 3, 2, 700);
    range->Shot(1, 3, 2, 600, 0, 0);           // no counting series
    range->Shot(1, 3, 3, 500);                 // a later series
    range->Shot(1, 3, 2, 1000, CDataComp::kFlagMarked);
    CVisTarget& t = Show({{3}}).Target(0);
    int count = 0;
    int total = DisplayLoop::RankTotal(*t.event, t.shots, 2, t.card.valueSystem, count);
    EXPECT_EQ(total, t.values[CVisTarget::kValTotal].number);
    EXPECT_EQ(total, 1000 + 900 + 700 + 1000);
    EXPECT_EQ(count, 4);
}

}  // namespace
}  // namespace bvtest
