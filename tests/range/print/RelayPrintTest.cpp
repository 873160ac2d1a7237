// New relays and printing without a window: the relays the new-shooters
// dialog proposes, the card a lane's monitor asks to print as it is fetched
// shot by shot, and the range's cards made ready for the printer.
#include "tests/range/RangeOnFolder.h"
#include "tests/range/UnitMessage.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "range/print/CardPrintJob.h"
#include "range/print/MonitorPrint.h"
#include "range/print/RangeCardPrint.h"
#include "range/run/RelayChange.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using bvtest::UnitMessage;

class RelayPrintTest : public bvtest::RangeOnFolder {
protected:
    void SetUp() override
    {
        RangeOnFolder::SetUp();
        Open();
    }
    void Options(bool allLanes, bool startNumbers)
    {
        CompOptions options;
        options.Set(CompOptions::RelayChangeAllLanes, allLanes);
        options.Set(CompOptions::StartNumbers, startNumbers);
        CompSettings::WriteOptions(objects->comp.CompConfig(), options);
        objects->comp.Close();
        ASSERT_EQ(objects->comp.Open(1, 1), 0);
    }
};

TEST_F(RelayPrintTest, TheProposedRelays)
{
    const int relays[] = {0, 3, 5, 5, 2};
    for (int lane = 1; lane <= 4; ++lane)
        Lane(lane).active.relay = static_cast<int16_t>(relays[lane]);
    // Lane 9 takes no part; its relay still counts for the highest.
    Lane(9).active.relay = 7;
    struct Case {
        const char* what;
        RelayRequest request;
        bool allLanesOption, startNumbers;
        bool allLanes;
        int relay;
        std::array<int, 5> lanes;  // lanes 1..4
    } cases[] = {
        {"as they are", {}, true, false, true, 7, {0, 3, 5, 5, 2}},
        {"next relay", {.nextRelay = true}, true, false, true, 8, {0, 8, 8, 8, 8}},
        {"reset", {.reset = true}, true, false, true, 1, {0, 1, 1, 1, 1}},
        {"one by one", {.nextRelay = true, .noAllLanes = true}, true, false, false, 8, {0, 3, 5, 5, 2}},
        {"option off", {.nextRelay = true}, false, false, false, 8, {0, 3, 5, 5, 2}},
        {"start numbers", {.nextRelay = true}, true, true, false, 8, {0, 3, 5, 5, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Options(c.allLanesOption, c.startNumbers);
        RelayChoice choice = ProposedRelays(*objects, c.request);
        EXPECT_EQ(choice.allLanes, c.allLanes);
        EXPECT_EQ(choice.relay, c.relay);
        for (int lane = 1; lane <= 4; ++lane)
            EXPECT_EQ(choice.laneRelay[static_cast<size_t>(lane)], c.lanes[static_cast<size_t>(lane)]) << lane;
        EXPECT_EQ(choice.laneRelay[9], 0);
    }
    // On OK every lane takes the relay for all.
    Options(true, false);
    ProposedRelayChooser chooser(*objects);
    RelayChoice choice;
    ASSERT_TRUE(chooser.Choose({}, choice));
    for (int lane = 1; lane <= 4; ++lane)
        EXPECT_EQ(choice.RelayOf(lane), 7);
}

class MonitorPrintTest : public RelayPrintTest {
protected:
    void SetUp() override
    {
        RelayPrintTest::SetUp();
        print = std::make_unique<MonitorPrint>(*objects, *services, range->commands, range->intake);
    }
    void TearDown() override
    {
        print.reset();
        RelayPrintTest::TearDown();
    }

    // 'Y': relay, series, target code, series byte, request, values, mode, marks.
    static LineMessage Request(int lane, int request, int mode = 0, int targetCode = 0)
    {
        std::vector<uint8_t> p(25, 0);
        auto at = [&](int position) -> uint8_t& { return p[static_cast<size_t>(position - 5)]; };
        at(5) = 0x01;
        at(6) = 0x02;  // relay 258
        at(7) = 2;
        at(8) = static_cast<uint8_t>(targetCode);
        at(9) = 6;
        at(10) = static_cast<uint8_t>(request);
        at(11) = 0x12;
        at(12) = 0x34;
        at(13) = 0x00;
        at(14) = 0x07;
        at(15) = static_cast<uint8_t>(mode);
        at(16) = 0x12;  // series 1: mark 1, series 2: mark 2
        at(17) = 0x9C;  // series 3: mark 9, series 4: mark 12
        at(29) = 0x55;
        return UnitMessage('Y', 29, lane, p);
    }
    // A shot sent again while the card is fetched.
    static LineMessage Shot(int lane, int series, int number, int count, int value, int run = 0, int flags = 0)
    {
        std::vector<uint8_t> p(45, 0);
        auto at = [&](int position) -> uint8_t& { return p[static_cast<size_t>(position - 5)]; };
        at(5) = 0x21;
        at(9) = static_cast<uint8_t>(series);
        at(10) = static_cast<uint8_t>(number);
        at(11) = static_cast<uint8_t>(count);
        at(17) = static_cast<uint8_t>(value);
        at(18) = static_cast<uint8_t>(value >> 8);
        at(28) = 0xE8;
        at(29) = 0x03;  // X 1000 um
        at(31) = 0x18;
        at(32) = 0xFC;
        at(33) = 0xFF;  // Y -1000 um
        at(42) = 100;   // shot at 1 s
        at(46) = static_cast<uint8_t>(run);
        at(49) = static_cast<uint8_t>(flags);
        return UnitMessage('C', 49, lane, p);
    }

    std::unique_ptr<MonitorPrint> print;
};

TEST_F(MonitorPrintTest, ARequestFillsTheBufferAndStartsTheFetch)
{
    LaneBlock& b = Lane(3);
    b.fetchStates[7] = 128;
    print->OnMonitorPrintMsg(Request(3, 1, 1));
    const FetchedCard* card = print->Buffer(3);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->relay, 258);
    EXPECT_EQ(card->series, 2);
    EXPECT_EQ(card->seriesByte, 6);
    EXPECT_EQ(card->value1, 0x1234);
    EXPECT_EQ(card->value2, 7);
    EXPECT_EQ(card->lastMarks, 0x55);
    // Mode 1: mark 1 reads 13 and mark 2 reads 7; marks with bit 3 are listed.
    EXPECT_EQ((std::vector<int>(card->marks.begin(), card->marks.begin() + 4)), (std::vector<int>{13, 7, 9, 12}));
    EXPECT_EQ(card->markedSeries[0], 0x80 | 0x20 | 0x10);
    EXPECT_EQ(b.fetchRunning, 1);
    EXPECT_EQ(b.printRelay, 258);
    EXPECT_EQ(b.fetchStates[7], 0);
    EXPECT_EQ(services->info, objects->Text("IDS_INFO_DUPRINT") + " 3");
}

TEST_F(MonitorPrintTest, ShotsAreFetchedUntilNoneIsMissingThenPrinted)
{
    LaneBlock& b = Lane(2);
    print->OnMonitorPrintMsg(Request(2, 1));
    // Shot 1 tells that the card holds three: 2 and 3 are missing.
    print->OnFetchShot(Shot(2, 1, 1, 3, 1000));
    EXPECT_EQ(b.fetchStates[0], MonitorPrint::kFetched);
    EXPECT_EQ(b.fetchStates[1], MonitorPrint::kMissing);
    EXPECT_EQ(b.fetchStates[2], MonitorPrint::kMissing);
    EXPECT_EQ(b.fetchStates[3], 0);
    // The missing ones are asked for.
    EXPECT_NE(b.fetchTimers[1], 0);
    print->OnFetchShot(Shot(2, 2, 3, 3, 950));
    EXPECT_TRUE(services->printed.empty());
    print->OnFetchShot(Shot(2, 1, 2, 3, 870));
    // Everything there: printed once, the buffer freed, the fetch over.
    ASSERT_EQ(services->printed.size(), 1u);
    EXPECT_EQ(print->Buffer(2), nullptr);
    EXPECT_EQ(b.fetchRunning, 0);
    const CardPrintJob& job = services->printed[0];
    ASSERT_EQ(job.cards.size(), 1u);
    const PrintCard& card = job.cards[0];
    EXPECT_STREQ(card.name, objects->Text("IDS_PRINT_FROMDU").c_str());
    EXPECT_EQ(card.lane, 2);
    EXPECT_EQ(card.relay, 258);
    EXPECT_EQ(job.settings.documentName, objects->Text("IDS_PRINT_DUDOC") + " 2");
    EXPECT_EQ(job.settings.headerB, objects->Text("IDS_PRINT_COMPNR") + " 1");
    EXPECT_EQ(job.settings.seriesPerSheet, 8);
    // Series 1 holds shots 1 and 2, numbered within it; series 2 shot 3.
    EXPECT_EQ(card.shotCount[1], 2);
    EXPECT_EQ(card.shotCount[2], 1);
    EXPECT_EQ(card.seriesSum[1], 1870);
    EXPECT_EQ(card.totalSum, 2820);
    EXPECT_EQ(card.shots[0].number, 1);
    EXPECT_EQ(card.shots[1].number, 2);
    EXPECT_EQ(card.shots[2].series, 2);
    EXPECT_EQ(card.shots[2].number, 1);
    EXPECT_DOUBLE_EQ(card.shots[0].x, 1.0);
    EXPECT_DOUBLE_EQ(card.shots[0].y, -1.0);
    EXPECT_EQ(card.shots[0].time, 100);
}

// Whatever count the monitor sends, a card holds at most 250 shots.
TEST_F(MonitorPrintTest, TheMonitorsCountStopsAt250)
{
    LaneBlock& b = Lane(1);
    print->OnMonitorPrintMsg(Request(1, 1));
    print->OnFetchShot(Shot(1, 1, 1, 255, 1000));
    EXPECT_EQ(b.fetchStates[249], MonitorPrint::kMissing);
    EXPECT_EQ(b.fetchRunning, 1);
    // A shot number beyond the card is no shot of it.
    print->OnFetchShot(Shot(1, 1, 0, 1, 1000));
    print->OnFetchShot(Shot(1, 1, 251, 1, 1000));
    EXPECT_EQ(print->Buffer(1)->fetched, 1);
}

TEST_F(MonitorPrintTest, RunNumbersAndTheCombinedFace)
{
    print->OnMonitorPrintMsg(Request(4, 1, 2, 0));
    // Runs 5, 6 and 7 of a series whose first shot was turned away (bit 7).
    print->OnFetchShot(Shot(4, 1, 1, 3, 1000, 5, 0x04));
    print->OnFetchShot(Shot(4, 1, 2, 3, 1000, 6));
    print->OnFetchShot(Shot(4, 1, 3, 3, 1000, 7));
    ASSERT_EQ(services->printed.size(), 1u);
    const PrintCard& card = services->printed[0].cards[0];
    EXPECT_EQ(card.shots[0].number, 2);
    EXPECT_EQ(card.shots[1].number, 3);
    EXPECT_EQ(card.shots[2].number, 4);

    // The combined face by the series' marks: 3 to 7 the duel face, the
    // others the precision face; the request's byte 29 picks the pair.
    FetchedCard fetched;
    fetched.targetType = 29;
    fetched.marks = {1, 3, 7, 8};
    fetched.lastMarks = 0;
    CardPrintJob job;
    print->MakeJob(4, fetched, job);
    EXPECT_EQ((std::vector<int>(job.cards[0].seriesTarget + 1, job.cards[0].seriesTarget + 5)),
              (std::vector<int>{20, 22, 22, 20}));
    fetched.lastMarks = 1;
    CardPrintJob other;
    print->MakeJob(4, fetched, other);
    EXPECT_EQ((std::vector<int>(other.cards[0].seriesTarget + 1, other.cards[0].seriesTarget + 5)),
              (std::vector<int>{19, 21, 21, 19}));
}

TEST_F(MonitorPrintTest, AnAbortFreesTheBufferEvenWithoutAShot)
{
    LaneBlock& b = Lane(2);
    struct Case {
        bool check;
        int countdown;
    } cases[] = {{false, 0}, {true, MonitorPrint::kCardSummaryTicks}};
    for (const Case& c : cases) {
        b.cardCheckRequested = c.check ? 1 : 0;
        print->OnMonitorPrintMsg(Request(2, 1));
        ASSERT_NE(print->Buffer(2), nullptr);
        print->OnMonitorPrintMsg(Request(2, 2));
        EXPECT_EQ(print->Buffer(2), nullptr);
        EXPECT_EQ(b.fetchRunning, 0);
        EXPECT_EQ(b.cardCountdown, c.countdown);
        EXPECT_EQ(services->info, objects->Text("IDS_INFO_DUPRINTABORT") + " 2");
    }
    EXPECT_TRUE(services->printed.empty());
    // A shot after the abort is nobody's.
    print->OnFetchShot(Shot(2, 1, 1, 1, 1000));
    EXPECT_TRUE(services->printed.empty());
}

TEST_F(RelayPrintTest, TheRangesCardsForThePrinter)
{
    // Cards of relays 1 and 2 on lanes 1 to 3, a name on lane 2 of relay 1.
    for (int relay = 1; relay <= 2; ++relay)
        for (int lane = 1; lane <= 3; ++lane) {
            CardRecord card;
            CDataComp::ClearCard(card);
            card.relay = static_cast<int16_t>(relay);
            card.lane = static_cast<int16_t>(lane);
            ASSERT_GE(objects->comp.GetCard(card, 1), 0);
            ShotRecord shot{};
            shot.state = CDataComp::kSlotShot;
            shot.flags = 1;
            shot.value = static_cast<int16_t>(900 + lane);
            shot.series = 1;
            shot.shotNumber = 1;
            ASSERT_GT(objects->comp.AddShot(relay, lane, shot, nullptr, 10, 0), 0);
        }
    NameRecord name;
    CDataComp::ClearName(name);
    std::strcpy(name.name, "Kari Nordmann");
    ASSERT_EQ(objects->comp.StoreName(1, 2, name), 0);
    Lane(1).active.relay = 2;
    Lane(2).active.relay = 1;
    Lane(3).active.relay = 0;  // no relay on the lane: no card
    Lane(4).active.relay = 0;

    struct Case {
        const char* what;
        RangeCardPrint::Selection selection;
        std::vector<std::pair<int, int>> cards;  // relay, lane
        int perSheet;
    } cases[] = {
        {"each lane's relay", {0, 0, 1, 100, false}, {{2, 1}, {1, 2}}, 6},
        // Lane 4 got its card of relay 1, without shots, when the range opened.
        {"relays 1 to 2, lanes 2 to 100", {1, 2, 2, 100, true}, {{1, 2}, {1, 3}, {1, 4}, {2, 2}, {2, 3}}, 8},
        {"a relay without cards", {3, 3, 1, 100, true}, {}, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CardPrintJob job;
        EXPECT_EQ(RangeCardPrint::Fill(*objects, c.selection, job), static_cast<int>(c.cards.size()));
        ASSERT_EQ(job.cards.size(), c.cards.size());
        for (size_t i = 0; i < c.cards.size(); ++i) {
            EXPECT_EQ(job.cards[i].relay, c.cards[i].first) << i;
            EXPECT_EQ(job.cards[i].lane, c.cards[i].second) << i;
            const PrintCard& card = job.cards[i];
            if (c.cards[i].second == 4)
                EXPECT_EQ(card.shotEntries, 0);
            else
                EXPECT_EQ(card.shots[0].value, 900 + c.cards[i].second) << i;
        }
        EXPECT_EQ(job.settings.seriesPerSheet, c.perSheet);
        EXPECT_EQ(job.settings.headerB, "Test 1");
        EXPECT_EQ(job.settings.captions[CardPrintSettings::kLane], objects->Text("IDS_PRINT_LANE"));
    }
    CardPrintJob named;
    RangeCardPrint::Fill(*objects, {1, 1, 2, 2, true}, named);
    ASSERT_EQ(named.cards.size(), 1u);
    EXPECT_STREQ(named.cards[0].name, "Kari Nordmann");
}

}  // namespace
