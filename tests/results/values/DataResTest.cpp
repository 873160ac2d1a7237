// Result cards: the record's bytes, the slot mapping, typed and stored shots
// on the event's own Res%d.bvd, sub-event totals over linked events, the
// figures of a result row and the shot-order check.
#include "tests/results/ResultsFixture.h"
#include "results/data/DataFileOpen.h"
#include "results/values/DataRes.h"
#include "results/values/ValueSystems.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using namespace results;

TEST(ResultRecordBytes, OffsetsAndANewCard)
{
    ResultRecord card = EmptyCard(3, 17);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&card);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 17);
    EXPECT_EQ(bytes[3], 0);
    for (size_t i = 4; i < sizeof card; ++i)
        ASSERT_EQ(bytes[i], 0xFF) << i;
    card.value[0] = 1;
    card.series[0] = 2;
    card.x[0] = 0x0403;
    card.y[0] = 0x0605;
    card.time[249] = 0x0807;
    card.targetId = 9;
    card.targetIdDef = 10;
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[254], 2);
    EXPECT_EQ(bytes[504], 3);
    EXPECT_EQ(bytes[505], 4);
    EXPECT_EQ(bytes[1004], 5);
    EXPECT_EQ(bytes[1005], 6);
    EXPECT_EQ(bytes[1504 + 2 * 249], 7);
    EXPECT_EQ(bytes[2003], 8);
    EXPECT_EQ(bytes[2004], 9);
    EXPECT_EQ(bytes[2005], 10);
    EXPECT_EQ(bytes[2006], 0xFF);
    EXPECT_EQ(sizeof card, 2008u);

    ShotEntry e{1, 2, 3, 0x0504, 0x0706, 0x0908};
    const auto* eb = reinterpret_cast<const unsigned char*>(&e);
    const unsigned char expected[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(std::string(eb, eb + 9), std::string(expected, expected + 9));
}

class CardTest : public restest::CompetitionTest {
protected:
    // Event n with the series given as {shots, type}, its card object defined.
    CDataEvent& Define(int n, const std::vector<std::pair<int, int>>& series, bool final = false)
    {
        CDataEvent& event = Event(n, 2);
        ::WriteItem(comp.Comp(), CompItems::EventSeries(n), static_cast<int>(series.size()));
        ::WriteItem(event.Settings(), EventItems::Final(n), final ? 1 : 0);
        for (size_t s = 0; s < series.size(); ++s) {
            ::WriteItem(event.Settings(), EventItems::SeriesShots(static_cast<int>(s) + 1), series[s].first);
            ::WriteItem(event.Settings(), EventItems::SeriesType(static_cast<int>(s) + 1), series[s].second);
        }
        event.Card().LoadEvent(n);
        return event;
    }

    static void Put(ResultRecord& card, int slot, int series, int value)
    {
        card.series[slot] = static_cast<uint8_t>(series);
        card.value[slot] = static_cast<uint8_t>(value);
    }
};

TEST_F(CardTest, LoadCardMapsSlotsInAnyOrder)
{
    CDataEvent& event = Define(1, {{10, 3}, {10, 3}});
    ResultRecord card = EmptyCard(1, 5);
    Put(card, 40, 2, 91);
    Put(card, 7, 1, 100);
    Put(card, 3, 2, 95);
    for (int i = 0; i < 11; ++i)  // eleven slots of series 1: the eleventh is ignored
        Put(card, 100 + i, 1, 80 + i);
    Put(card, 200, 3, 99);  // a series the event no longer has
    ASSERT_EQ(event.ResultFile().WriteRecKey(&card), 0);

    CDataRes& res = event.Card();
    ASSERT_EQ(res.LoadCard(1, 5), 0);
    EXPECT_EQ(res.GetShotValue(2, 1), 95);
    EXPECT_EQ(res.GetShotValue(2, 2), 91);
    EXPECT_EQ(res.GetShotValue(1, 1), 100);
    EXPECT_EQ(res.GetShotValue(1, 10), 88);
    EXPECT_EQ(res.SlotOf(1, 10), 108);
    EXPECT_EQ(res.GetShotValue(2, 3), 255);
    EXPECT_EQ(res.LastUsedSlot(), 108);
    ShotEntry e;
    EXPECT_EQ(res.GetShot(3, 1, e), -1);
    EXPECT_EQ(int{e.value}, 255);
    EXPECT_EQ(res.GetShot(0, 1, e), -1);
    EXPECT_EQ(res.GetShot(1, 11, e), -1);

    // Not in the file: an empty card with the key.
    EXPECT_NE(res.LoadCard(2, 5), 0);
    EXPECT_EQ(int{res.Record().relay}, 2);
    EXPECT_EQ(int{res.Record().target}, 5);
    EXPECT_EQ(int{res.Record().targetId}, 255);
}

TEST_F(CardTest, TypedShotsAreStoredInTheirSlots)
{
    CDataEvent& event = Define(1, {{10, 3}, {3, 9}, {10, 0}, {10, 4}, {10, 5}, {10, 7}});
    CDataRes& res = event.Card();
    const struct {
        int series, shot;
        const char* text;
        int result, value;
    } cases[] = {
        {1, 1, "X.9", 0, 109},      {1, 2, "*", 0, 110},   {1, 3, "10*5", 0, 115},
        {1, 4, "12", -512, 0},      {1, 5, "x9", -512, 0}, {1, 6, ".", 0, 255},
        {1, 7, "_", 0, 255},        {3, 1, "9.7", 0, 90},  {3, 2, "", 0, 250},
        {4, 1, "6", -1280, 0},      {5, 1, "7", -1280, 0}, {5, 2, "5.9", 0, 59},
        {6, 1, "7", -1280, 0},      {6, 2, "4", 0, 4},     {1, 11, "9", CDataRes::kBadShot, 255},
        {7, 1, "9", CDataRes::kBadShot, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "series " << c.series << " shot " << c.shot << " '" << c.text << "'");
        EXPECT_EQ(res.SetShot(1, 4, c.series, c.shot, c.text), c.result);
        EXPECT_EQ(res.GetShotValue(c.series, c.shot), c.value);
    }
    // A time as three shots.
    EXPECT_EQ(res.SetShot(1, 4, 2, 1, "12.34"), 0);
    EXPECT_EQ(res.GetShotValue(2, 1), 12);
    EXPECT_EQ(res.GetShotValue(2, 2), 0);
    EXPECT_EQ(res.GetShotValue(2, 3), 34);
    EXPECT_EQ(res.SeriesSumText(2, 0), "12.34");

    // Shot 3 first: shots 1 and 2 get slots of their own as no shot, in order.
    EXPECT_EQ(res.SetShot(2, 4, 1, 3, "9.5"), 0);
    EXPECT_EQ(res.GetShotValue(1, 1), 255);
    EXPECT_EQ(res.GetShotValue(1, 2), 255);
    EXPECT_EQ(res.GetShotValue(1, 3), 95);
    EXPECT_LT(res.SlotOf(1, 1), res.SlotOf(1, 2));
    EXPECT_LT(res.SlotOf(1, 2), res.SlotOf(1, 3));

    // What was written is what a fresh object reads.
    CDataRes fresh(nullptr);
    fresh.SetFile(&event.ResultFile(), 1);
    fresh.SetSeries(1, 10, 3, 0, "");
    ASSERT_EQ(fresh.LoadCard(1, 4), 0);
    EXPECT_EQ(fresh.GetShotValue(1, 3), 115);
}

TEST_F(CardTest, AFullCardRefusesANewShotAndKeepsItsLast)
{
    CDataEvent& event = Define(1, {{10, 3}, {10, 3}});
    ResultRecord card = EmptyCard(1, 1);
    for (int i = 1; i < 250; ++i)
        Put(card, i, 1 + i % 2, 77);  // more than ten a series: all slots taken
    card.series[249] = 50;            // slot 249 belongs to a series beyond the event's
    Put(card, 249, 1, 66);
    ASSERT_EQ(event.ResultFile().WriteRecKey(&card), 0);
    CDataRes& res = event.Card();
    ASSERT_EQ(res.LoadCard(1, 1), 0);
    // Series 1 holds ten shots in slots 2, 4, ..; shot 10 exists, an 11th cannot.
    EXPECT_EQ(res.SetShot(1, 1, 1, 10, "9"), 0);
    ResultRecord full = EmptyCard(1, 2);
    for (int i = 0; i < 250; ++i)
        Put(full, i, 1, 60);
    full.series[249] = 2;
    ASSERT_EQ(event.ResultFile().WriteRecKey(&full), 0);
    ASSERT_EQ(res.LoadCard(1, 2), 0);
    EXPECT_EQ(res.LastUsedSlot(), 249);
    EXPECT_EQ(res.SetShot(1, 2, 2, 2, "9"), CDataRes::kCardFull);
    const ShotEntry two[2] = {{2, 1, 90, 0, 0, 0}, {2, 2, 80, 0, 0, 0}};
    EXPECT_EQ(res.StoreSeries(1, 2, 2, two, 2), CDataRes::kCardFull);
    ASSERT_EQ(res.LoadCard(1, 2), 0);
    EXPECT_EQ(res.GetShotValue(2, 1), 60);  // slot 249 kept its shot
    EXPECT_EQ(res.GetShotValue(2, 2), 255);
}

TEST_F(CardTest, StoredSeriesSumsAndFigures)
{
    CDataEvent& event = Define(1, {{10, 3}, {3, 7}});
    CDataRes& res = event.Card();
    res.LoadCard(1, 3);
    ShotEntry rings[10];
    const int values[10] = {95, 104, 117, 80, 255, 255, 255, 255, 255, 255};
    for (int k = 0; k < 10; ++k)
        rings[k] = {1, static_cast<uint8_t>(k + 1), static_cast<uint8_t>(values[k]), int16_t(k), int16_t(-k), 30};
    ASSERT_EQ(res.StoreSeries(1, 3, 1, rings, 10), 0);
    const ShotEntry hits[3] = {{2, 1, 4, 0, 0, 0}, {2, 2, 0, 0, 0, 0}, {2, 3, 2, 0, 0, 0}};
    ASSERT_EQ(res.StoreSeries(1, 3, 2, hits, 3), 0);
    EXPECT_EQ(res.SeriesSum(1), 90 + 100 + 100 + 80);
    EXPECT_EQ(res.SeriesSumText(1, 0), " 37");
    EXPECT_EQ(res.CountShots(1), 4);
    EXPECT_EQ(res.CountShots(0), 7);
    EXPECT_EQ(res.SeriesSum(2), 4002);
    EXPECT_EQ(res.SeriesSumText(2, 6), "16");
    EXPECT_EQ(res.SeriesSumText(2, 7), "6");
    EXPECT_EQ(res.ShotText(1, 2, 0), "X");
    EXPECT_EQ(res.ShotText(1, 5, 0), "");
    ShotEntry e;
    res.GetShot(1, 4, e);
    EXPECT_EQ(int{e.x}, 3);  // packed fields are read by value
    EXPECT_EQ(int{e.y}, -3);
    EXPECT_EQ(int{e.time}, 30);

    RowFigures R(13, 0), V;
    R.push_back(0);
    R.push_back(0);
    EXPECT_EQ(res.AddSeriesStats(1, &R, &V, 4, 0, 1), 370);
    EXPECT_EQ(R[0], 1);   // inner tens
    EXPECT_EQ(R[1], 370);
    EXPECT_EQ(R[2], 2);   // tens and better
    EXPECT_EQ(R[3], 1);   // nines
    EXPECT_EQ(R[4], 1);   // eights
    EXPECT_EQ(R[13], 1);  // the series' own inner tens
    EXPECT_EQ(res.AddSeriesStats(2, &R, &V, 4, 0, 1), 4);
    ASSERT_EQ(V.size(), 6u);
    EXPECT_EQ(V[4], 4);
    EXPECT_EQ(V[5], 2);
    EXPECT_EQ(V[1], 4);
    EXPECT_EQ(V[0], 2);
    V.assign(6, 0);
    res.AddSeriesStats(2, nullptr, &V, 4, 1, 1);  // linked: inner hits not summed
    EXPECT_EQ(V[0], 0);
}

TEST_F(CardTest, ShotOrderUnderBothRules)
{
    CDataEvent& event = Define(1, {{10, 0}});
    CDataRes& res = event.Card();
    res.SetShot(1, 1, 1, 1, "9");
    EXPECT_EQ(res.CheckShotOrder(1, 1, 1), 0);  // the shots after it are still empty
    EXPECT_EQ(res.CheckShotOrder(1, 1, 0), 0);
    res.SetShot(1, 1, 1, 2, "10");
    res.SetShot(1, 1, 1, 3, "8");
    EXPECT_EQ(res.CheckShotOrder(1, 3, 1), 1);
    EXPECT_EQ(res.CheckShotOrder(1, 3, 2), 1);
    CDataRes& other = Define(2, {{3, 0}, {3, 0}}).Card();
    other.SetShot(1, 1, 2, 1, "5");
    other.SetShot(1, 1, 2, 2, "6");
    other.SetShot(1, 1, 2, 3, "7");
    EXPECT_EQ(other.CheckShotOrder(2, 3, 1), 0);
    EXPECT_EQ(other.CheckShotOrder(2, 3, 2), 2);
}

class SubTotalTest : public CardTest {
protected:
    void Sub(CDataEvent& event, int k, const std::string& codes)
    {
        ::WriteItem(event.Settings(), EventItems::SubSeries(k), codes);
        ::WriteItem(comp.Comp(), CompItems::EventSubEvents(event.Number()), k);
    }
    void Enter(CDataEvent& event, int relay, int target, int32_t startNr)
    {
        RegRecord entry{};
        entry.relay = static_cast<int16_t>(relay);
        entry.target = static_cast<int16_t>(target);
        entry.startNr = startNr;
        ASSERT_EQ(event.Entries().File().WriteRecKey(&entry), 0);
    }
};

TEST_F(SubTotalTest, SeriesAndStartScore)
{
    CDataEvent& event = Define(1, {{10, 0}, {10, 0}});
    Sub(event, 1, "\x01\x02\xFF");
    Enter(event, 1, 1, 100);
    CDataRes& res = event.Card();
    res.LoadCard(1, 1);
    EXPECT_EQ(res.SubTotal(100, 1, 1), -1);
    EXPECT_EQ(res.SubTotalText(100, 1, 0), "");
    EXPECT_EQ(res.IsSubTotalComplete(100, 1, 1), 0);
    res.SetShot(1, 1, 1, 1, "9");
    res.SetShot(1, 1, 1, 2, "10");
    EXPECT_EQ(res.SubTotal(100, 1, 1), 190);
    EXPECT_EQ(res.SubTotalText(100, 1, 0), "19");
    EXPECT_EQ(res.IsSubTotalComplete(100, 1, 1), 0);
    res.SetShot(1, 1, 2, 1, "8");
    EXPECT_EQ(res.IsSubTotalComplete(100, 1, 1), 1);
    RowFigures R, V;
    EXPECT_EQ(res.SubTotal(100, 1, 1, nullptr, &R, &V, 4), 270);
    ASSERT_EQ(R.size(), 13u + 6u);
    EXPECT_EQ(R[1], 270);
    EXPECT_EQ(R[14], 190);  // series 1's pair
    EXPECT_EQ(R[16], 80);
}

TEST_F(SubTotalTest, LinkedEventsAreVisitedOnce)
{
    CDataEvent& one = Define(1, {{3, 7}});
    CDataEvent& two = Define(2, {{3, 7}});
    Sub(one, 1, std::string("\x01\x81\x02", 3));  // own series 1 and sub-event 1 of event 2
    Sub(two, 1, std::string("\x01\x81\x01", 3));  // and event 2 links back
    Enter(one, 1, 1, 7);
    Enter(two, 2, 3, 7);
    const ShotEntry a[3] = {{1, 1, 4, 0, 0, 0}, {1, 2, 0, 0, 0, 0}, {1, 3, 2, 0, 0, 0}};
    const ShotEntry b[3] = {{1, 1, 3, 0, 0, 0}, {1, 2, 0, 0, 0, 0}, {1, 3, 1, 0, 0, 0}};
    one.Card().LoadCard(1, 1);
    one.Card().StoreSeries(1, 1, 1, a, 3);
    two.Card().LoadCard(2, 3);
    two.Card().StoreSeries(2, 3, 1, b, 3);

    CDataRes& res = one.Card();
    res.LoadCard(1, 1);
    // 4/2 of its own, 3 hits of the linked event (its inner hit dropped), once.
    EXPECT_EQ(res.SubTotal(7, 1, 1), 7002);
    EXPECT_EQ(res.SubTotalText(7, 1, 0), "7/2");
    EXPECT_EQ(res.IsSubTotalComplete(7, 1, 1), 1);
    EXPECT_EQ(res.SubTotal(0, 1, 1), 4002);  // no start number: no links
    EXPECT_EQ(res.IsSubTotalComplete(8, 1, 1), 0);  // not entered in event 2
}

// Two programs on one card at once: one stores series 1..12, the other types
// series 13..24; every shot of both is on the card afterwards.
TEST_F(CardTest, TwoProcessesOnOneCardLoseNoShot)
{
    std::vector<std::pair<int, int>> series(24, {10, 0});
    CDataEvent& event = Define(1, series);
    const std::string path = comp.Folder() + "Res1.bvd";
    auto child = [&](bool storing) {
        pid_t pid = fork();
        if (pid != 0)
            return pid;
        CBVFileEx file;
        if (OpenDataFile(file, path, {CDataEvent::kResultRecordSize, CDataEvent::kResultVersion, true, false}) != OpenOutcome::Opened)
            _exit(2);
        CDataRes res(nullptr);
        res.SetFile(&file, 1);
        for (int s = 1; s <= 24; ++s)
            res.SetSeries(s, 10, 3, 0, "");
        res.LoadCard(1, 9);
        int failures = 0;
        for (int s = storing ? 1 : 13; s <= (storing ? 12 : 24); ++s) {
            if (storing) {
                ShotEntry shots[10];
                for (int k = 0; k < 10; ++k)
                    shots[k] = {static_cast<uint8_t>(s), static_cast<uint8_t>(k + 1), static_cast<uint8_t>(50 + s), 0, 0, 0};
                res.LoadCard(1, 9);
                failures += res.StoreSeries(1, 9, s, shots, 10) != 0;
            } else {
                for (int k = 1; k <= 10; ++k)
                    failures += res.SetShot(1, 9, s, k, std::to_string(s % 10 + 1)) != 0;
            }
        }
        _exit(failures == 0 ? 0 : 1);
    };
    pid_t a = child(true), b = child(false);
    int sa = 0, sb = 0;
    waitpid(a, &sa, 0);
    waitpid(b, &sb, 0);
    ASSERT_TRUE(WIFEXITED(sa) && WEXITSTATUS(sa) == 0);
    ASSERT_TRUE(WIFEXITED(sb) && WEXITSTATUS(sb) == 0);
    event.ResultFile().CacheVerify(1);
    CDataRes& res = event.Card();
    ASSERT_EQ(res.LoadCard(1, 9), 0);
    for (int s = 1; s <= 24; ++s)
        for (int k = 1; k <= 10; ++k)
            ASSERT_EQ(res.GetShotValue(s, k), s <= 12 ? 50 + s : (s % 10 + 1) * 10) << s << " " << k;
    EXPECT_EQ(res.CountAllShots(), 240);
}

}  // namespace
