// The shot store: slots, repeated and changed shots, counting limits, the
// counters the other programs watch; and the value, order and rating rules.
#include "foundation/comp/DataComp.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "RangeFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using bvtest::MakeCard;
using bvtest::MakeShot;

class ShotStoreTest : public bvtest::RangeTest {
protected:
    void SetUp() override
    {
        RangeTest::SetUp();
        OpenComp(dc);
        CardRecord card = MakeCard(1, 3);
        ASSERT_EQ(dc.GetCard(card, 1), 1);
    }

    ShotListRecord Read()
    {
        ShotListRecord list;
        EXPECT_EQ(dc.ReadShots(1, 3, list), 0);
        return list;
    }

    // The list's update counter as the file holds it.
    int32_t FileCounter() { return Read().updateCounter; }

    CDataComp dc;
};

TEST_F(ShotStoreTest, NumberedShotsTakeTheirPositionsAndSkipTheGaps)
{
    ShotRecord fifth = MakeShot(1, 900, 100, 200, 5);
    EXPECT_EQ(dc.AddShot(1, 3, fifth, nullptr, 10, 0), 1);
    ShotListRecord list = Read();
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(+list.shots[s].state, CDataComp::kSlotSkipped) << s;
    EXPECT_EQ(+list.shots[4].value, 900);
    EXPECT_EQ(+list.shots[5].state, CDataComp::kSlotFree);

    ShotRecord third = MakeShot(1, 800, 300, 400, 3);
    EXPECT_EQ(dc.AddShot(1, 3, third, nullptr, 10, 0), 3);
    ShotRecord next = MakeShot(1, 700, 500, 600);
    EXPECT_EQ(dc.AddShot(1, 3, next, nullptr, 10, 0), 5);
    list = Read();
    EXPECT_EQ(+list.shots[2].value, 800);
    EXPECT_EQ(+list.shots[5].value, 700);  // an unnumbered shot takes the first free slot
    EXPECT_EQ(+list.shots[0].state, CDataComp::kSlotSkipped);
}

TEST_F(ShotStoreTest, ARepeatedShotIsStoredOnceAndAChangedOneIsRefused)
{
    ShotRecord shot = MakeShot(2, 1034, -1500, 2500, 1);
    ShotListRecord copy;
    const int32_t c = dc.AddShot(1, 3, shot, &copy, 10, 0);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(FileCounter(), c + 1);  // one ahead of the caller's, so it reads again
    EXPECT_EQ(+copy.updateCounter, c);
    EXPECT_EQ(+copy.shots[0].value, 1034);

    ShotRecord again = shot;
    EXPECT_EQ(dc.AddShot(1, 3, again, nullptr, 10, 0), 0);
    EXPECT_EQ(FileCounter(), c + 1);  // nothing written

    ShotRecord changed = MakeShot(2, 950, -1500, 2500, 1);
    changed.flags = 0;
    EXPECT_EQ(dc.AddShot(1, 3, changed, nullptr, 10, 0), 0);
    EXPECT_EQ(FileCounter(), c + 1);
    EXPECT_EQ(+Read().shots[0].value, 1034);  // the stored shot stays
    EXPECT_EQ(+changed.countingSeries, 2);    // and the caller learns what it holds
    EXPECT_EQ(+changed.flags, CDataComp::kFlagFromTarget);
}

TEST_F(ShotStoreTest, ShotsBeyondTheSeriesCountCountInNoSeries)
{
    for (int k = 0; k < 10; ++k) {
        ShotRecord shot = MakeShot(2, 1000, k, k);
        ASSERT_GT(dc.AddShot(1, 3, shot, nullptr, 10, 0), 0);
    }
    ShotRecord practice = MakeShot(1, 800, 0, 0);
    ASSERT_GT(dc.AddShot(1, 3, practice, nullptr, 10, 0), 0);  // another series does not count against it
    ShotRecord eleventh = MakeShot(2, 1000, 99, 99);
    ASSERT_GT(dc.AddShot(1, 3, eleventh, nullptr, 10, 0), 0);
    ShotRecord frame = MakeShot(1, 500, 98, 98);
    ASSERT_GT(dc.AddShot(1, 3, frame, nullptr, 10, 1), 0);  // a frame shot left uncounted
    ShotListRecord list = Read();
    EXPECT_EQ(+list.shots[9].countingSeries, 2);
    EXPECT_EQ(+list.shots[10].countingSeries, 1);
    EXPECT_EQ(+list.shots[11].countingSeries, 0);
    EXPECT_EQ(+list.shots[12].countingSeries, 0);
}

TEST_F(ShotStoreTest, StoringFailsClearly)
{
    ShotRecord shot = MakeShot(1, 1000, 0, 0);
    EXPECT_EQ(dc.AddShot(9, 3, shot, nullptr, 10, 0), 0);    // no card
    EXPECT_EQ(dc.AddShot(1, 101, shot, nullptr, 10, 0), 0);  // no lane
    EXPECT_EQ(dc.AddShot(1, 0, shot, nullptr, 10, 0), 0);
    for (int k = 0; k < CDataComp::kSlots; ++k) {
        ShotRecord s = MakeShot(1, 1000, k, 0);
        ASSERT_GT(dc.AddShot(1, 3, s, nullptr, 10, 0), 0) << k;
    }
    ShotRecord extra = MakeShot(1, 1000, -1, 0);
    EXPECT_EQ(dc.AddShot(1, 3, extra, nullptr, 10, 0), 0);  // full
    ShotRecord beyond = MakeShot(1, 1000, -1, 0, 251);
    EXPECT_EQ(dc.AddShot(1, 3, beyond, nullptr, 10, 0), 0);
}

TEST_F(ShotStoreTest, ReplacingAndDeletingShotsMoveTheLanesCounter)
{
    auto laneCounter = [&] {
        ActiveRecord a;
        EXPECT_EQ(dc.ReadActive(3, a), 0);
        return static_cast<int>(a.changeCounter);
    };
    EXPECT_EQ(dc.DeleteShots(1, 3), 1);  // no shots yet
    ShotListRecord empty;
    CDataComp::ClearShots(empty);
    EXPECT_EQ(dc.WriteShots(1, 3, empty), 0);  // no list to replace
    for (int k = 0; k < 4; ++k) {
        ShotRecord s = MakeShot(1, 1000 - k, k, 0);
        ASSERT_GT(dc.AddShot(1, 3, s, nullptr, 10, 0), 0);
    }
    const int before = laneCounter();
    ShotRecord single = MakeShot(1, 900, 50, 0);
    ASSERT_GT(dc.AddShot(1, 3, single, nullptr, 10, 0), 0);
    EXPECT_EQ(laneCounter(), before);  // one more shot does not move it

    // The card dialog edits slot 1 and hands back a list whose first free
    // slot is 2: the stored slots after it stay.
    ShotListRecord edited = Read();
    edited.shots[1].value = 555;
    edited.shots[2].state = CDataComp::kSlotFree;
    std::strcpy(edited.comment, "rettet");
    const int32_t c = dc.WriteShots(1, 3, edited);
    EXPECT_GT(c, 0);
    EXPECT_EQ(laneCounter(), before + 1);
    ShotListRecord list = Read();
    EXPECT_EQ(+list.updateCounter, c);
    EXPECT_EQ(+list.shots[1].value, 555);
    EXPECT_EQ(+list.shots[2].state, CDataComp::kSlotFree);
    EXPECT_EQ(+list.shots[3].value, 997);
    EXPECT_STREQ(list.comment, "rettet");

    EXPECT_EQ(dc.DeleteShots(1, 3), c + 1);
    EXPECT_EQ(laneCounter(), before + 2);
    list = Read();
    for (int s = 0; s < CDataComp::kSlots; ++s)
        ASSERT_EQ(+list.shots[s].state, CDataComp::kSlotFree);
    EXPECT_STREQ(list.comment, "");
}

TEST_F(ShotStoreTest, ChangingShotsWorksOnTheListAsStoredNow)
{
    auto laneCounter = [&] {
        ActiveRecord a;
        EXPECT_EQ(dc.ReadActive(3, a), 0);
        return static_cast<int>(a.changeCounter);
    };
    for (int k = 0; k < 2; ++k) {
        ShotRecord s = MakeShot(1, 1000 - k, k, 0);
        ASSERT_GT(dc.AddShot(1, 3, s, nullptr, 10, 0), 0);
    }
    // A window has shown the two shots for a while; meanwhile another
    // program stores a third in the slot the window saw free.
    ShotListRecord shown = Read();
    {
        CDataComp other;
        OpenComp(other);
        ShotRecord third = MakeShot(1, 800, 2, 0);
        ASSERT_GT(other.AddShot(1, 3, third, nullptr, 10, 0), 0);
    }
    const int before = laneCounter();
    const int32_t c = dc.ChangeShots(1, 3, [&](ShotListRecord& list) {
        EXPECT_EQ(+list.shots[2].value, 800);  // read afresh
        list.shots[0].countingSeries = 128;
        std::strcpy(list.comment, "sjekket");
    });
    EXPECT_GT(c, shown.updateCounter);
    EXPECT_EQ(laneCounter(), before + 1);
    ShotListRecord list = Read();
    EXPECT_EQ(list.updateCounter, c);
    EXPECT_EQ(+list.shots[0].countingSeries, 128);
    EXPECT_EQ(+list.shots[1].countingSeries, 1);
    EXPECT_EQ(+list.shots[2].value, 800);
    EXPECT_STREQ(list.comment, "sjekket");

    // A card without a list gets one; no card, nothing.
    CardRecord bare = MakeCard(2, 3);
    ASSERT_EQ(dc.GetCard(bare, 1), 1);
    EXPECT_GT(dc.ChangeShots(2, 3, [](ShotListRecord& l) { std::strcpy(l.comment, "DNS"); }), 0);
    ShotListRecord made;
    ASSERT_EQ(dc.ReadShots(2, 3, made), 0);
    EXPECT_STREQ(made.comment, "DNS");
    EXPECT_EQ(+made.shots[0].state, CDataComp::kSlotFree);
    bool called = false;
    EXPECT_EQ(dc.ChangeShots(9, 3, [&](ShotListRecord&) { called = true; }), 0);
    EXPECT_FALSE(called);
}

TEST_F(ShotStoreTest, TheResultStateIsStoredAloneOnTheCardAsStoredNow)
{
    CardRecord mine = MakeCard(1, 3);
    ASSERT_EQ(dc.GetCard(mine, 0), 0);
    // Another program gives the card its shot list after this one read it.
    {
        CDataComp other;
        OpenComp(other);
        ShotRecord s = MakeShot(1, 1000, 0, 0);
        ASSERT_GT(other.AddShot(1, 3, s, nullptr, 10, 0), 0);
    }
    EXPECT_EQ(+mine.shotRec, 0);
    EXPECT_EQ(dc.StoreResultState(1, 3, 2), 0);
    CardRecord stored = MakeCard(1, 3);
    ASSERT_EQ(dc.GetCard(stored, 0), 0);
    EXPECT_EQ(+stored.resultState, 2);
    EXPECT_EQ(+stored.shotRec, 1);  // not put back to the older copy's 0
    EXPECT_EQ(dc.StoreResultState(9, 3, 2), -1);
    EXPECT_EQ(dc.StoreResultState(1, 0, 2), -1);  // lane 0 is no card's without start numbers
}

TEST_F(ShotStoreTest, AStartNumbersCardIsReachedWithLaneZero)
{
    CompOptions options;
    options.Set(CompOptions::StartNumbers, true);
    ASSERT_EQ(CompSettings::WriteOptions(dc.CompConfig(), options), 0);
    ASSERT_EQ(dc.Open(1, 1), 0);
    // Start number 17 is shown on lanes 4 and 6.
    CardRecord card = MakeCard(17, 4);
    ASSERT_EQ(dc.GetCard(card, 1), 1);
    card = MakeCard(17, 6);
    ASSERT_EQ(dc.GetCard(card, 1), 0);
    auto laneCounter = [&](int lane) {
        ActiveRecord a;
        EXPECT_EQ(dc.ReadActive(lane, a), 0);
        return static_cast<int>(a.changeCounter);
    };

    ShotRecord shot = MakeShot(1, 1000, 0, 0);
    EXPECT_GT(dc.AddShot(17, 0, shot, nullptr, 10, 0), 0);
    EXPECT_EQ(dc.StoreResultState(17, 0, 3), 0);
    EXPECT_GT(dc.ChangeShots(17, 0, [](ShotListRecord& l) { l.shots[0].countingSeries = 128; }), 0);
    ShotListRecord list;
    ASSERT_EQ(dc.ReadShots(17, 0, list), 0);
    EXPECT_EQ(+list.shots[0].countingSeries, 128);
    // The lanes that show the card see it changed; lane 3 (another card) does not.
    EXPECT_EQ(laneCounter(4), 1);
    EXPECT_EQ(laneCounter(6), 1);
    EXPECT_EQ(laneCounter(3), 0);
    EXPECT_GT(dc.WriteShots(17, 0, list), 0);
    EXPECT_EQ(laneCounter(4), 2);
}

TEST_F(ShotStoreTest, TheUpdateCounterSkipsZero)
{
    // 0 means "nothing stored" to the callers, so after -1 comes 1.
    ShotRecord first = MakeShot(1, 1000, 0, 0);
    ASSERT_EQ(dc.AddShot(1, 3, first, nullptr, 10, 0), 1);
    CardRecord card = MakeCard(1, 3);
    ASSERT_EQ(dc.GetCard(card, 0), 0);
    const int32_t minusOne = -1;
    ASSERT_EQ(dc.ShotFile().WriteField(card.shotRec, 0, 4, &minusOne), 0);
    ShotRecord second = MakeShot(1, 900, 1, 0);
    EXPECT_EQ(dc.AddShot(1, 3, second, nullptr, 10, 0), 1);
    EXPECT_EQ(FileCounter(), 2);
    ASSERT_EQ(dc.ShotFile().WriteField(card.shotRec, 0, 4, &minusOne), 0);
    EXPECT_EQ(dc.DeleteShots(1, 3), 1);
}

TEST_F(ShotStoreTest, MarkSkipped)
{
    ShotListRecord list;
    CDataComp::ClearShots(list);
    EXPECT_EQ(dc.MarkSkipped(list, 0), 0);
    list.shots[1].state = CDataComp::kSlotShot;
    EXPECT_EQ(dc.MarkSkipped(list, 3), 1);
    EXPECT_EQ(+list.shots[0].state, CDataComp::kSlotSkipped);
    EXPECT_EQ(+list.shots[2].state, CDataComp::kSlotSkipped);
    EXPECT_EQ(+list.shots[3].state, CDataComp::kSlotFree);
    EXPECT_EQ(dc.MarkSkipped(list, 3), 0);  // nothing left to mark
}

TEST(ShotValues, CountedValue)
{
    struct Case {
        int value, system, counted;
    } cases[] = {
        {1150, 0, 1000}, {1150, 1, 1000}, {1150, 3, 1100}, {1250, 0, 0},  {1250, 6, 0},   {750, 4, 500},
        {450, 4, 400},   {1055, 2, 1050}, {1155, 2, 1050}, {1099, 0, 1000}, {250, 5, 100}, {50, 5, 0},
        {1155, 6, 1055}, {1034, 6, 1034}, {987, 7, 987},   {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDataComp::CountedValue(c.value, c.system), c.counted) << c.value << "/" << c.system;
}

TEST(ShotValues, ValueText)
{
    CDataComp dc;
    struct Case {
        int value, system;
        const char* text;
    } cases[] = {
        {1034, 0, "X,3"},  {950, 0, "9,5"},   {1150, 0, "*,5"},  {1234, 0, "*0,3"}, {1150, 1, "*10,5"},
        {1150, 2, "*10,5"}, {1250, 2, "*0,5"}, {1150, 3, "11,5"}, {640, 4, "*5,4"},  {540, 4, "5,4"},
        {1100, 4, "*5,0"},  {50, 5, "0"},      {150, 5, "1"},     {1150, 5, "*1"},   {1234, 6, "*0,34"},
        {1155, 6, "*10,55"}, {907, 6, "9,07"}, {1300, 0, ""},     {1399, 6, ""},
    };
    for (const Case& c : cases) {
        std::string text = "old";
        dc.ValueText(c.value, c.system, text);
        EXPECT_EQ(text, c.text) << c.value << "/" << c.system;
    }
    std::string text = "kept";
    EXPECT_EQ(dc.ValueText(950, 9, text), 950);
    EXPECT_EQ(text, "kept");
    dc.decimalSeparator = ".";
    EXPECT_EQ(dc.ValueText(1034, 0, text), 1000);
    EXPECT_EQ(text, "X.3");
    EXPECT_TRUE(CDataComp::HasDecimals(2));
    EXPECT_TRUE(CDataComp::HasDecimals(6));
    EXPECT_FALSE(CDataComp::HasDecimals(1));
    EXPECT_FALSE(CDataComp::HasDecimals(5));
}

TEST(ShotValues, ShortValueText)
{
    struct Case {
        int tenths, system;
        const char* text;
    } cases[] = {
        {255, 99, "?"},   {125, 99, "#"},   {115, 99, "*"},  {105, 99, "X"},  {95, 99, "9"},   {5, 99, "0"},
        {95, 0, " 90 "},  {255, 0, "  0 "}, {125, 1, "  0* "}, {115, 0, "100 "}, {105, 1, "100 "}, {5, 0, "  0 "},
        {115, 2, "105 "}, {95, 2, " 95 "},  {115, 3, "110 "}, {75, 4, " 50 "}, {55, 4, " 50 "}, {45, 4, " 40 "},
        {105, 4, " 50 "}, {255, 5, " 0"},   {125, 5, "0*"},  {115, 5, " *"},  {15, 5, " 1"},  {5, 5, " 0"},
        {95, 6, ""},
    };
    for (const Case& c : cases) {
        std::string text = "old";
        EXPECT_EQ(CDataComp::ShortValueText(c.tenths, text, c.system), c.text) << c.tenths << "/" << c.system;
    }
}

TEST(ShotValues, GetIntLE)
{
    const uint8_t bytes[] = {0x34, 0x12, 0xFE, 0xFF};
    EXPECT_EQ(CDataComp::GetIntLE(bytes, 1), 0x34);
    EXPECT_EQ(CDataComp::GetIntLE(bytes, 2), 0x1234);
    EXPECT_EQ(CDataComp::GetIntLE(bytes, 3), static_cast<int32_t>(0xFFFE1234));  // sign-extended
    EXPECT_EQ(CDataComp::GetIntLE(bytes, 4), static_cast<int32_t>(0xFFFE1234));
    const uint8_t negative[] = {0xFF};
    EXPECT_EQ(CDataComp::GetIntLE(negative, 1), -1);
}

// Display order: series by series; display positions placed first.
TEST(ShotOrder, SeriesPositionsAndResorting)
{
    ShotListRecord list;
    CDataComp::ClearShots(list);
    auto put = [&](int slot, int series, int pos, int offset = 0) {
        list.shots[slot] = MakeShot(series, 1000, slot, 0);
        list.shots[slot].displayPos = static_cast<uint8_t>(pos);
        list.shots[slot].orderOffset = static_cast<uint8_t>(offset);
        list.shots[slot].countingSeries = static_cast<uint8_t>(series & 0x7F);
    };
    put(0, 2, 0);
    put(1, 1, 0);
    put(2, 1, 1);      // placed first in series 1
    put(3, 0x82, 0);   // series 2 with the marker bit
    put(4, 29, 0);     // beyond the series: not shown
    put(5, 1, 0, 3);   // moves three places earlier when re-sorting
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(list, order, false);
    EXPECT_EQ(std::vector<int>(order, order + 6), (std::vector<int>{2, 1, 5, 0, 3, 255}));
    CDataComp::BuildShotOrder(list, order, true);
    // Re-sorted: slot 5 goes before slot 1 in the shown list; slot 2 keeps
    // its display position.
    EXPECT_EQ(std::vector<int>(order, order + 6), (std::vector<int>{2, 5, 1, 0, 3, 255}));

    CDataComp::BuildShotOrder(list, order, false);
    EXPECT_EQ(CDataComp::FindSeriesShot(list, 1, 1, order), 2);
    EXPECT_EQ(CDataComp::FindSeriesShot(list, 1, 3, order), 5);
    EXPECT_EQ(CDataComp::FindSeriesShot(list, 1, 4, order), -1);
    EXPECT_EQ(CDataComp::FindSeriesShot(list, 2, 1, order), 0);
    EXPECT_EQ(CDataComp::FindSeriesShot(list, 2, 2, order), 3);  // fired in series 2 with the marker bit
    EXPECT_EQ(CDataComp::FindSeriesShot(list, 3, 1, order), -1);
}

TEST(ShotOrder, EveryShotOnceWhateverItsPosition)
{
    // 250 shots of one series, all asking for the last position, and some
    // with positions no writer sets: each still appears exactly once.
    ShotListRecord list;
    CDataComp::ClearShots(list);
    for (int s = 0; s < CDataComp::kSlots; ++s) {
        list.shots[s] = MakeShot(1, 1000, s, 0);
        list.shots[s].displayPos = static_cast<uint8_t>(s % 3 == 0 ? 99 : s % 3 == 1 ? 0 : 200);
    }
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(list, order, false);
    std::vector<int> seen(CDataComp::kSlots, 0);
    for (uint8_t e : order) {
        ASSERT_LT(e, CDataComp::kSlots);
        ++seen[e];
    }
    EXPECT_EQ(seen, std::vector<int>(CDataComp::kSlots, 1));
}

// The four sensor levels of a shot.
ShotRecord Sensed(int a, int b, int c, int d, int set = 1)
{
    ShotRecord s = MakeShot(1, 1000, 0, 0);
    s.sensorA = static_cast<uint8_t>(a);
    s.sensorB = static_cast<uint8_t>(b);
    s.sensorC = static_cast<uint8_t>(c);
    s.sensorD = static_cast<uint8_t>(d);
    s.sensorSet = static_cast<uint8_t>(set);
    return s;
}

TEST(SensorRating, RatesAgainstTheSetsThresholds)
{
    CDataComp dc;
    const int rifle = 3;  // a 300 m type; sensor set 1 given by the shots
    struct Case {
        const char* name;
        std::vector<ShotRecord> shots;
        int last;
        int rating;
    } cases[] = {
        {"good levels", {Sensed(30, 31, 32, 31), Sensed(31, 30, 31, 32)}, -1, 0},
        // One sensor weak: its level is at the lowest bound of rating 25.
        {"one weak sensor", {Sensed(30, 31, 12, 31)}, 0, 25},
        {"very weak", {Sensed(30, 31, 2, 31)}, 0, 50},
        {"one sensor overloaded", {Sensed(30, 31, 95, 31)}, 0, 75},
        // The mean out of its window: rating by window and deviation.
        {"all low", {Sensed(20, 20, 20, 20)}, 0, 50},
        // One channel apart from the others: seen only over five shots.
        {"channel apart, four shots",
         {Sensed(30, 30, 30, 38), Sensed(30, 30, 30, 38), Sensed(30, 30, 30, 38), Sensed(30, 30, 30, 38)}, -1, 0},
        {"channel apart, five shots",
         {Sensed(30, 30, 30, 38), Sensed(30, 30, 30, 38), Sensed(30, 30, 30, 38), Sensed(30, 30, 30, 38),
          Sensed(30, 30, 30, 38)},
         -1, 25},
        {"no fourth sensor", {Sensed(30, 31, 32, 255)}, 0, 0},
        {"no shots at all", {}, -1, 0},
    };
    for (const Case& c : cases) {
        ShotListRecord list;
        CDataComp::ClearShots(list);
        for (size_t k = 0; k < c.shots.size(); ++k)
            list.shots[k] = c.shots[k];
        EXPECT_EQ(dc.RateSensors(list, c.last, rifle, 1), c.rating) << c.name;
    }
}

// The thresholds of one row of the rating table, for ratings 25, 50, 75.
struct Thresholds {
    int low[3], high[3], min[3], max[3], dev[3];
    int lo, hi, lo2;
};

// The rating of n equal shots, each with these levels (255 absent), the last
// one rated, worked out by hand from the rating rules: the oracle the
// program's table is held against.
int ExpectedRating(const int (&levels)[4], int n, const Thresholds& t)
{
    const bool hasD = levels[3] != 255;
    const int m = hasD ? ((levels[0] + levels[1] + levels[2] + levels[3] + 2) * 10) / 4
                       : ((levels[0] + levels[1] + levels[2]) * 10 + 15) / 3;
    const int e = m / 10;
    int lowest = 255, highest = 0, dev = 0;
    for (int l : levels) {
        if (l == 255)
            continue;
        lowest = std::min(lowest, l);
        highest = std::max(highest, l);
        dev += std::abs(l - e);
    }
    int spread = 0;
    if (n >= 5) {
        int clampedSum = 0, mean[4] = {};
        for (int ch = 0; ch < 4; ++ch) {
            if (levels[ch] == 255)
                continue;
            clampedSum += n * std::clamp(levels[ch], t.lo, t.hi);
            mean[ch] = std::clamp(levels[ch], t.lo2, t.high[1]);
        }
        const int overall = clampedSum / n / (hasD ? 4 : 3);
        if (!hasD)
            mean[3] = overall;
        for (int ch = 0; ch < 4; ++ch)
            spread = std::max(spread, std::abs(mean[ch] - overall));
    }
    int rating = 0;
    for (int i = 0; i < 3; ++i)
        if (t.min[i] >= lowest || highest >= t.max[i] || spread >= (i == 0 ? 6 : i == 1 ? 9 : 12) ||
            !(t.low[i] < e && e < t.high[i] && dev < t.dev[i]))
            rating = 25 * (i + 1);
    return rating;
}

// The first target type at this distance.
int TypeAt(int metres)
{
    CTargetTypes types;
    for (int code = 0; code <= 102; ++code)
        if (CTargetTypes::IsKnownCode(code) && types.GetDistance(code) == metres)
            return code;
    return -1;
}

// Every row of the table, reached by the sensor set a target sends or, when
// it sends none, by the distance of the lane's target type; each row probed
// at and around each of its thresholds, so that a threshold moved, swapped
// with another or taken from another row changes a rating.
TEST(SensorRating, EveryRowOfTheTableAtEachThreshold)
{
    const Thresholds set0{{26, 22, 19}, {37, 40, 45}, {10, 3, 0}, {70, 80, 90}, {20, 30, 60}, 26, 37, 22};
    const Thresholds set1{{26, 22, 19}, {37, 40, 45}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, 26, 37, 22};
    const Thresholds set3{{25, 21, 18}, {40, 46, 52}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, 25, 40, 21};
    const Thresholds set47{{23, 22, 18}, {41, 45, 50}, {22, 20, 10}, {45, 60, 70}, {18, 30, 50}, 23, 41, 22};
    const Thresholds set5{{25, 23, 18}, {41, 45, 50}, {23, 20, 10}, {45, 60, 70}, {18, 30, 50}, 25, 41, 23};
    const Thresholds air457{{22, 19, 15}, {30, 37, 40}, {21, 16, 10}, {36, 41, 55}, {20, 30, 60}, 22, 30, 19};
    const Thresholds air6{{18, 15, 10}, {40, 50, 60}, {11, 7, 3}, {55, 65, 75}, {30, 45, 60}, 18, 40, 15};
    const Thresholds small6{{22, 19, 15}, {40, 50, 60}, {11, 7, 3}, {55, 65, 75}, {30, 45, 60}, 22, 40, 19};
    const Thresholds other6{{24, 20, 15}, {45, 50, 60}, {11, 7, 3}, {55, 65, 75}, {30, 45, 60}, 24, 45, 20};
    const Thresholds small2{{21, 19, 17}, {33, 35, 39}, {19, 17, 0}, {35, 45, 60}, {12, 20, 40}, 21, 33, 19};
    const Thresholds near2{{25, 22, 19}, {38, 42, 48}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, 25, 38, 22};
    const Thresholds far2{{25, 21, 18}, {40, 46, 52}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, 25, 40, 21};

    const int at300 = TypeAt(300), at100 = TypeAt(100), at200 = TypeAt(200), at50 = TypeAt(50), at25 = TypeAt(25);
    ASSERT_GE(at300, 0);
    ASSERT_GE(at100, 0);
    ASSERT_GE(at200, 0);
    ASSERT_GE(at50, 0);
    ASSERT_GE(at25, 0);
    struct Row {
        const char* name;
        int set;  // as the shots carry it; 0 none
        int cls;  // the lane's sensitivity class
        int type;
        const Thresholds& t;
    };
    const Row rows[] = {
        {"set 0 in the low bits", 0x10, 1, at300, set0},
        {"set 12", 12, 2, at100, set0},
        {"set 15", 15, 3, at25, set0},
        {"set 1", 1, 3, at25, set1},
        {"set 3", 3, 1, at50, set3},
        {"set 4", 4, 1, at300, set47},
        {"set 7, small bore", 7, 2, at25, set47},
        {"set 5", 5, 1, at100, set5},
        {"set 4, air", 4, 3, at300, air457},
        {"set 5, air", 5, 3, at300, air457},
        {"set 7, air", 0x27, 3, at300, air457},
        {"set 6, air", 6, 3, at300, air6},
        {"set 6, small bore", 6, 2, at300, small6},
        {"set 6, coarse", 6, 1, at300, other6},
        {"set 2, small bore", 2, 2, at300, small2},
        {"set 11, small bore", 11, 2, at25, small2},
        {"set 8 below 200 m", 8, 1, at100, near2},
        {"set 9 at 200 m", 9, 3, at200, far2},
        {"set 10 at 300 m", 10, 1, at300, far2},
        // Targets that send no set: the distance chooses it.
        {"no set, 300 m", 0, 1, at300, set1},
        {"no set, 200 m", 0, 1, at200, far2},
        {"no set, 100 m", 0, 3, at100, near2},
        {"no set, 100 m, small bore", 0, 2, at100, small2},
        {"no set, 50 m", 0, 1, at50, set5},
        {"no set, 50 m, air", 0, 3, at50, air457},
        {"no set, 25 m, small bore", 0, 2, at25, small6},
        {"no set, 25 m, air", 0, 3, at25, air6},
    };
    CDataComp dc;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int good = (row.t.low[0] + row.t.high[0]) / 2;
        // Levels that walk over every threshold: all sensors alike, one sensor
        // alone, sensors pulled apart around the mean, the fourth absent,
        // and one channel apart over five shots.
        std::vector<std::array<int, 4>> probes;
        for (int l = 0; l <= 100; ++l) {
            probes.push_back({l, l, l, l});
            probes.push_back({good, good, l, good});
            probes.push_back({l, good, good, 255});
        }
        for (int k = 0; k <= 16; ++k)
            probes.push_back({good + k, good - k, good + k, good - k});
        for (const auto& p : probes) {
            for (int n : {1, 5}) {
                ShotListRecord list;
                CDataComp::ClearShots(list);
                for (int s = 0; s < n; ++s)
                    list.shots[s] = Sensed(p[0], p[1], p[2], p[3], row.set);
                const int levels[4] = {p[0], p[1], p[2], p[3]};
                ASSERT_EQ(dc.RateSensors(list, n - 1, row.type, row.cls), ExpectedRating(levels, n, row.t))
                    << "levels " << p[0] << " " << p[1] << " " << p[2] << " " << p[3] << ", " << n << " shots";
            }
        }
        // Channel D apart from the others by j over five shots: the spread.
        for (int j = 0; j <= 20; ++j) {
            ShotListRecord list;
            CDataComp::ClearShots(list);
            for (int s = 0; s < 5; ++s)
                list.shots[s] = Sensed(good, good, good, good + j, row.set);
            const int levels[4] = {good, good, good, good + j};
            ASSERT_EQ(dc.RateSensors(list, 4, row.type, row.cls), ExpectedRating(levels, 5, row.t)) << "D apart by " << j;
        }
    }
}

// A shot without its A, B or C level gives no mean to rate: it is left out
// of the level statistics rather than read as a sensor at level 255.
TEST(SensorRating, AShotWithoutAMainSensorIsLeftOutOfTheLevels)
{
    CDataComp dc;
    ShotListRecord list;
    CDataComp::ClearShots(list);
    list.shots[0] = Sensed(30, 31, 255, 31);  // as a level, 255 would rate 75
    EXPECT_EQ(dc.RateSensors(list, 0, 3, 1), 0);
    list.shots[0] = Sensed(255, 31, 30, 31);
    EXPECT_EQ(dc.RateSensors(list, 0, 3, 1), 0);
}

TEST(SensorRating, OnlySlotsHoldingAShotCount)
{
    // Two good shots on a card of 250 slots: the empty slots (levels 0) are
    // not taken as shots with dead sensors.
    CDataComp dc;
    ShotListRecord list;
    CDataComp::ClearShots(list);
    list.shots[0] = Sensed(30, 31, 32, 31);
    list.shots[1] = Sensed(31, 30, 31, 32);
    list.shots[2].state = CDataComp::kSlotSkipped;
    EXPECT_EQ(dc.RateSensors(list, -1, 3, 1), 0);
    EXPECT_EQ(dc.RateSensors(list, 1, 3, 1), 0);
    // A shot entered by hand carries no levels: nothing to rate on it.
    list.shots[3] = MakeShot(1, 1000, 0, 0);
    EXPECT_EQ(dc.RateSensors(list, -1, 3, 1), 0);
    EXPECT_EQ(dc.RateSensors(list, 3, 3, 1), 0);
}

}  // namespace
