// The lane list without its window: the columns of the six views, each
// cell's text and colours from small lane fixtures, the places by total,
// and the super-final marks set from the list.
#include "tests/range/RangeOnFolder.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "range/lanes/ShotFlags.h"
#include "range/views/LaneCells.h"
#include "range/views/LaneColumns.h"
#include "range/views/LaneRanking.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace LaneColumns;
using LaneCells::Colour;
using LaneCells::Colours;
using Codes = std::vector<uint8_t>;

TEST(LaneColumnsTest, EveryViewHasTheFixedFourAndItsOwn)
{
    struct Case {
        int view;
        uint8_t previous;
        Codes further;
    } cases[] = {
        {1, 0, {20, 21, 22, 23, 31, 55}},
        {2, 0, {22, 23, 40, 42, 41, 43}},
        {3, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 30, 31}},
        {4, 0, {20, 30, 31, 32}},
        {5, 0, {30, 31, 22, 51, 52, 53}},
        // The custom view keeps position 4 of the view shown before it.
        {6, 1, {1}},
        {6, 0, {}},
        // No such view: the fixed columns only.
        {7, 20, {}},
    };
    for (const Case& c : cases) {
        Codes expected = {kLane, kRelay, kSeriesName, kShots};
        expected.insert(expected.end(), c.further.begin(), c.further.end());
        EXPECT_EQ(ViewCodes(c.view, c.previous), expected) << c.view;
    }
    EXPECT_TRUE(ShowsPlace(ViewCodes(4, 0)));
    EXPECT_FALSE(ShowsPlace(ViewCodes(3, 0)));
    // A place code among the fixed columns does not count.
    EXPECT_FALSE(ShowsPlace({kPlace, kRelay, kSeriesName, kShots}));
}

TEST(LaneColumnsTest, WidthsFromTheHeaderAndTheSample)
{
    // Seven pixels a character.
    auto width = [](std::string_view text) { return 7 * static_cast<int>(text.size()); };
    struct Case {
        Column column;
        int width;
    } cases[] = {
        {{kTotal, "Total", "1444.44", true}, 7 * 7 + 3},   // the sample is wider
        {{kPlace, "Platz", "44", true}, 5 * 7 + 12},       // the header is
        {{kBand, "", "", false}, 0},                      // no header, no column
        {{kLane, "", "X 44", true}, kLaneWidth},
        {{kLane, "Scheibe Nr.", "X 44", true}, kLaneWidth},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnWidth(c.column, width), c.width) << static_cast<int>(c.column.code);
}

class LaneListTest : public bvtest::RangeOnFolder {
protected:
    void SetUp() override
    {
        RangeOnFolder::SetUp();
        Open();
        objects->comp.decimalSeparator = ",";
    }

    // A lane showing n shots of its current series 1, each with a value.
    void Shots(int lane, const std::vector<int>& values)
    {
        LaneBlock& b = Lane(lane);
        b.active.seriesState = 1;
        b.currentSeriesCount = static_cast<uint8_t>(values.size());
        for (size_t i = 0; i < values.size() && i < 100; ++i) {
            b.displayValues[i] = static_cast<int16_t>(values[i]);
            b.displaySlots[i] = static_cast<uint8_t>(i);
            ShotRecord& shot = b.shots.shots[i];
            shot.state = CDataComp::kSlotShot;
            shot.value = static_cast<int16_t>(values[i]);
            shot.series = 1;
            shot.countingSeries = 1;
        }
    }
    std::string Text(int lane, uint8_t code) { return LaneCells::Text(*objects, lane, code); }
    Colours ColoursOf(int lane, uint8_t code) { return LaneCells::ColoursOf(*objects, lane, code); }
    void Comp(const ConfigIntItem& item, int value) { WriteItem(objects->comp.CompConfig(), item, value); }
};

TEST_F(LaneListTest, RowsForTheLanesThatTakePart)
{
    EXPECT_EQ(LaneCells::ListedLanes(*objects), (std::vector<int>{1, 2, 3, 4}));
    Lane(3).enabled = 0;
    Lane(9).enabled = 1;  // no channel serves it
    EXPECT_EQ(LaneCells::ListedLanes(*objects), (std::vector<int>{1, 2, 4}));
    objects->comp.Close();
    EXPECT_TRUE(LaneCells::ListedLanes(*objects).empty());
}

TEST_F(LaneListTest, TextsByColumnCode)
{
    LaneBlock& b = Lane(2);
    Shots(2, {1047, 950});
    b.card.valueSystem = 2;  // tenths
    std::strcpy(b.name.name, "Kari Nordmann");
    std::memcpy(b.name.club, "Elverum Skytterlag Elverum Skytt", 32);  // no NUL in the field
    std::strcpy(b.name.cls, "Senior");
    std::strcpy(b.name.category, "A");
    b.seriesSum = 1997;
    b.total = 12345;
    b.place = 3;
    b.card.band1 = 7;
    b.card.band2 = 20;
    b.sensitivity = 3;
    b.liftPosition = '4';
    b.lastText = std::string(40, 'x');
    b.active.relay = 5;
    b.targetRelay = -1;
    b.targetCompetition = 1;
    struct Case {
        uint8_t code;
        std::string text;
    } cases[] = {
        {kLane, "2"},
        {kRelay, "( 5)"},
        {kSeriesName, "Serie 1"},
        {kShots, "2"},
        {1, "10,4"},
        {2, "9,5"},
        {3, ""},
        {kName, "Kari Nordmann"},
        {kClub, "Elverum Skytterlag Elverum Skytt"},
        {kClass, "Senior"},
        {kCategory, "A"},
        {kPlace, "3"},
        {kBand, "20/7"},
        {kSensitivity, objects->Text("IDS_SENSITIVITY3")},
        {kLiftProne, ""},
        {kLiftKneel, objects->Text("IDS_LIFT_KNEE")},
        {kStatusText, std::string(30, 'x')},
        {kProgram, "Test"},
        {kTargetType, objects->targetTypes.GetName(b.card.targetType)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(2, c.code), c.text) << static_cast<int>(c.code);

    b.targetRelay = 5;
    EXPECT_EQ(Text(2, kRelay), " 5");
    b.place = 0;
    EXPECT_EQ(Text(2, kPlace), "");
    b.active.seriesState = 0x81;
    EXPECT_EQ(Text(2, kSeriesName), objects->Text("IDS_LIST_SERIENONE"));
    // The outside system keeps the sensitivity to itself.
    b.channelType = PortRecord::kOutsideSystem;
    EXPECT_EQ(Text(2, kSensitivity), "");
}

// Sums in the language's decimal sign (English: a point).
TEST_F(LaneListTest, SumsByValueSystem)
{
    struct Case {
        int system;
        int sum;
        const char* text;
    } cases[] = {
        {0, 10475, "104"},
        {2, 10475, "104.7"},
        {6, 10475, "104.75"},
        {6, 10405, "104.05"},
    };
    for (const Case& c : cases) {
        Lane(1).card.valueSystem = static_cast<uint8_t>(c.system);
        Lane(1).total = c.sum;
        EXPECT_EQ(Text(1, kTotal), c.text) << c.system;
        EXPECT_EQ(LaneCells::SumText(c.sum, c.system, "."), c.text) << c.system;
    }
    EXPECT_EQ(LaneCells::SumText(10475, 6, ","), "104,75");
}

// With 23 shots in the series the cells show the third row of ten.
TEST_F(LaneListTest, TheLastRowOfTenIsShown)
{
    std::vector<int> values;
    for (int n = 1; n <= 23; ++n)
        values.push_back(n < 21 ? 500 : 1000 + n);
    Shots(1, values);
    Lane(1).card.valueSystem = 6;  // hundredths
    EXPECT_EQ(Text(1, 1), "10,21");
    EXPECT_EQ(Text(1, 2), "10,22");
    EXPECT_EQ(Text(1, 3), "10,23");
    for (int cell = 4; cell <= 10; ++cell)
        EXPECT_EQ(Text(1, static_cast<uint8_t>(cell)), "") << cell;
    // No shot: row 0, every cell empty.
    Shots(2, {});
    EXPECT_EQ(LaneCells::ShotIndex(Lane(2), 1), 0);
    EXPECT_EQ(Text(2, 1), "");
}

TEST_F(LaneListTest, ColoursThatCallForAttention)
{
    const Colours plain;
    const Colours redText{Colour::Window, Colour::Red};
    const Colours blueText{Colour::Window, Colour::Blue};
    LaneBlock& b = Lane(1);
    b.active.relay = 1;

    // The relay: red while the target is on another competition or relay.
    b.targetCompetition = 1;
    b.targetRelay = 1;
    EXPECT_EQ(ColoursOf(1, kRelay), plain);
    b.targetRelay = 2;
    EXPECT_EQ(ColoursOf(1, kRelay), redText);
    b.targetRelay = 1;
    b.targetCompetition = 2;
    EXPECT_EQ(ColoursOf(1, kRelay), redText);

    // The shot count against the program's two shots of series 1.
    Shots(1, {1000});
    EXPECT_EQ(ColoursOf(1, kShots), blueText);
    Shots(1, {1000, 900});
    EXPECT_EQ(ColoursOf(1, kShots), plain);
    Shots(1, {1000, 900, 800});
    EXPECT_EQ(ColoursOf(1, kShots), redText);
    // Marked shots colour its background once the super final is on.
    Comp(CompSettings::kSuperFinal, 2);
    b.card.flaggedShots = 1;
    EXPECT_EQ(ColoursOf(1, kShots), (Colours{Colour::Yellow, Colour::Red}));
    b.card.flaggedShots = 2;
    EXPECT_EQ(ColoursOf(1, kShots), (Colours{Colour::Red, Colour::Red}));

    // Shot cells: the mark, no coordinates, no counting series, the rating.
    struct Case {
        const char* what;
        uint16_t flags;
        uint8_t countingSeries;
        uint8_t rating;
        Colours colours;
    } cases[] = {
        {"plain", 0x0001, 1, 0, plain},
        {"marked", 0x0401, 1, 0, {Colour::Yellow, Colour::WindowText}},
        {"no coordinates", 0x0003, 1, 0, {Colour::LightCyan, Colour::WindowText}},
        {"not counted", 0x0001, 0, 0, {Colour::LightYellow, Colour::WindowText}},
        {"rated 25", 0x0001, 1, 25, {Colour::Window, Colour::Green}},
        {"rated 50", 0x0001, 1, 50, {Colour::Window, Colour::Blue}},
        {"rated 75", 0x0001, 1, 75, redText},
        {"turned away", 0x0001, 1, 0x80, redText},
        {"flag 0x20 keeps the text", 0x0021, 1, 75, plain},
    };
    for (const Case& c : cases) {
        Shots(1, {950});
        b.shots.shots[0].flags = c.flags;
        b.shots.shots[0].countingSeries = c.countingSeries;
        b.displayMarks[0] = c.rating;
        EXPECT_EQ(ColoursOf(1, 1), c.colours) << c.what;
    }
    // The marked shot is plain while the super final is off.
    Comp(CompSettings::kSuperFinal, 0);
    b.shots.shots[0].flags = 0x0401;
    b.displayMarks[0] = 0;
    EXPECT_EQ(ColoursOf(1, 1), plain);
    // An empty cell is plain.
    EXPECT_EQ(ColoursOf(1, 2), plain);
}

TEST_F(LaneListTest, FaceAndSensitivityColours)
{
    LaneBlock& b = Lane(1);
    b.card.targetType = 0;  // a 300 m face
    struct Case {
        int distance, simulated;
        Colours colours;
    } cases[] = {
        {300, 300, {}},
        {100, 300, {Colour::Window, Colour::Blue}},   // shot at another distance
        {300, 100, {Colour::Window, Colour::Red}},    // the face is for another distance
    };
    for (const Case& c : cases) {
        Comp(CompSettings::kDistance, c.distance);
        Comp(CompSettings::kSimulatedDistance, c.simulated);
        EXPECT_EQ(ColoursOf(1, kTargetType), c.colours) << c.distance << " " << c.simulated;
    }
    b.card.sensitivity = 2;
    b.sensitivity = 2;
    EXPECT_EQ(ColoursOf(1, kSensitivity), Colours{});
    b.sensitivity = 3;
    EXPECT_EQ(ColoursOf(1, kSensitivity), (Colours{Colour::Window, Colour::Red}));
}

TEST_F(LaneListTest, StatusPictures)
{
    LaneBlock& b = Lane(1);
    struct Case {
        uint8_t status;
        int16_t state, field16;
        int image;
    } cases[] = {
        {LineStatus::kNoContact, 1, 0, LineStatus::kNoContact},
        {LineStatus::kPending, 0, 5, LineStatus::kPending},
        {LineStatus::kAnswers, 1, 0, 1},
        {LineStatus::kAnswers, 0, 0, 8},   // the target is idle
        {LineStatus::kAnswers, 1, 3, 9},   // the target reports a fault
    };
    for (const Case& c : cases) {
        b.lineStatus = c.status;
        b.targetState = c.state;
        b.targetField16 = c.field16;
        EXPECT_EQ(LaneCells::StatusImage(*objects, 1), c.image) << int(c.status);
    }
}

TEST(LaneRankingTest, EqualTotalsShareAPlaceAndTheNextSkips)
{
    LaneTable lanes;
    const int totals[] = {0, 9000, 9500, 9500, 0, 8000, 9900};
    for (int lane = 1; lane <= 6; ++lane) {
        lanes[lane].channelType = 1;
        lanes[lane].enabled = 1;
        lanes[lane].total = totals[lane];
    }
    // Lane 7 scores highest but takes no part.
    lanes[7].channelType = 1;
    lanes[7].total = 10000;
    lanes[1].place = 4;  // already right
    lanes[4].place = 3;  // a total of 0 has no place
    EXPECT_EQ(LaneRanking::RankLanes(lanes), 5);
    const int places[] = {0, 4, 2, 2, 0, 5, 1, 0};
    for (int lane = 1; lane <= 7; ++lane)
        EXPECT_EQ(lanes[lane].place, places[lane]) << lane;
    // Only changed places are marked.
    EXPECT_EQ(lanes[1].rowMark, 0);
    EXPECT_EQ(lanes[4].rowMark, 1);
    EXPECT_EQ(lanes[6].rowMark, 1);
    EXPECT_EQ(LaneRanking::RankLanes(lanes), 0);
}

TEST(ShotFlagIndexTest, TheDisplayIndexOfAShotColumn)
{
    struct Case {
        int position, count, index;
    } cases[] = {{0, 0, 0}, {3, 1, 3}, {9, 10, 9}, {0, 11, 10}, {2, 23, 22}, {5, 30, 25}};
    for (const Case& c : cases)
        EXPECT_EQ(ShotFlags::DisplayIndex(c.position, c.count), c.index) << c.position << " " << c.count;
}

class ShotFlagsTest : public LaneListTest {
protected:
    // Stores a lane's shots as a card of relay 1.
    void Card(int lane, const std::vector<int>& values)
    {
        LaneBlock& b = Lane(lane);
        CDataComp::ClearCard(b.card);
        b.card.relay = 1;
        b.card.lane = static_cast<int16_t>(lane);
        ASSERT_GE(objects->comp.GetCard(b.card, 1), 0);
        ASSERT_EQ(objects->comp.ReadActive(lane, b.active), 0);
        for (size_t i = 0; i < values.size(); ++i) {
            ShotRecord shot{};
            shot.state = CDataComp::kSlotShot;
            shot.flags = 1;
            shot.value = static_cast<int16_t>(values[i]);
            shot.shotNumber = static_cast<uint8_t>(i + 1);
            shot.series = 1;
            ASSERT_GT(objects->comp.AddShot(1, lane, shot, &b.shots, 10, 0), 0);
        }
        b.active.seriesState = 1;
        range->cards.RecomputeLane(lane);
    }
    bool Marked(int lane, int slot) { return (Stored(1, lane).shots[slot].flags & CDataComp::kFlagFlagged) != 0; }
    ShotFlags Flags() { return ShotFlags(*objects, *services, range->records, range->cards); }
};

TEST_F(ShotFlagsTest, SetClearAndToggleAreWrittenToTheCard)
{
    Card(1, {1000, 950, 1300});
    ShotFlags flags = Flags();
    struct Step {
        int position, mode;
        bool marked;
    } steps[] = {
        {1, ShotFlags::kSet, true},
        {1, ShotFlags::kSet, true},
        {1, ShotFlags::kToggle, false},
        {1, ShotFlags::kClear, false},
        {1, ShotFlags::kToggle, true},
    };
    for (const Step& s : steps) {
        flags.ToggleShotFlag(1, s.position, s.mode);
        EXPECT_EQ(Marked(1, 1), s.marked) << s.mode;
    }
    EXPECT_EQ(Lane(1).card.flaggedShots, 1);
    // A shot without a value, and a cell without a shot, are left alone.
    flags.ToggleShotFlag(1, 2, ShotFlags::kSet);
    flags.ToggleShotFlag(1, 5, ShotFlags::kSet);
    EXPECT_FALSE(Marked(1, 2));
}

TEST_F(ShotFlagsTest, TheLowestShotOfAColumn)
{
    Card(1, {1000, 950});
    Card(2, {1000, 870});
    Card(3, {1000, 870});
    Card(4, {1000, 905});
    ShotFlags flags = Flags();
    // Lanes 2 and 3 share the lowest second shot: nobody is chosen.
    EXPECT_EQ(flags.LowestShotLane({1, 2, 3, 4}, 1), 0);
    EXPECT_EQ(flags.LowestShotLane({1, 2, 4}, 1), 2);
    // The first shots are all alike; an empty column chooses nobody either.
    EXPECT_EQ(flags.LowestShotLane({1, 2, 3, 4}, 0), 0);
    EXPECT_EQ(flags.LowestShotLane({1, 2, 3, 4}, 5), 0);
    EXPECT_EQ(flags.LowestShotLane({}, 1), 0);
}

}  // namespace
