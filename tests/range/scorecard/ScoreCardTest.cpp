// The score card without its window: the columns of each detail level, the
// text and colour of every cell, the match-shot choice, the sums, the shots
// made by hand or pasted, the comment's field and the shot log's lines.
#include "tests/range/ScoreCardFixture.h"
#include "TempFolder.h"

#include "foundation/comp/RunNumber.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Codepage.h"
#include "range/scorecard/CardColumns.h"
#include "range/scorecard/ScoreCard.h"
#include "range/scorecard/ShotLogFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using bvtest::KnownCard;
using bvtest::KnownShots;
using Colour = CardColour;

// Language texts in these tests are the keys' own ends: "IDS_CARD_OUT" is "OUT".
std::string KeyText(const char* key)
{
    std::string k = key;
    return k.rfind("IDS_CARD_", 0) == 0 ? k.substr(9) : k;
}

ScoreCard Listed(const ShotListRecord& shots = KnownShots())
{
    ScoreCard card;
    card.card = KnownCard();
    card.shots = shots;
    card.List(false, false);
    return card;
}

class ScoreCardCells : public testing::Test {
protected:
    ScoreCardCells() : cells(values, KeyText)
    {
        values.decimalSeparator = ",";
        cells.settings.separator = ",";
        cells.settings.selectedSeries = 1;
        cells.settings.seriesNames[0] = "Prone";
        cells.settings.seriesNames[1] = "Standing";
    }
    CDataComp values;
    CardCells cells;
    ScoreCard card = Listed();
};

TEST(ScoreCardColumns, KindsByDetailLevelAndMotor)
{
    struct Case {
        int detail;
        bool motor;
        std::vector<int> kinds;
    } cases[] = {
        {0, true, {14, 1, 2, 3, 13}},
        {0, false, {14, 1, 2, 3, 13}},
        {1, true, {14, 1, 2, 3, 4, 9, 10, 11, 13}},
        {1, false, {14, 1, 2, 3, 4, 10, 11, 13}},
        {2, true, {14, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {2, false, {14, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardColumnKinds(c.detail, c.motor), c.kinds) << c.detail << " " << c.motor;

    // Left-aligned: the check box, the series, the counting series, the
    // sensors and the status; the time column's header follows the range.
    for (int kind = 1; kind <= 14; ++kind)
        EXPECT_EQ(CardColumnOf(kind, 0).leftAligned, kind == 1 || kind == 2 || kind == 4 || kind == 13 || kind == 14)
            << kind;
    EXPECT_EQ(CardColumnOf(kCardCheck, 0).headerKey, nullptr);
    EXPECT_STREQ(CardColumnOf(kCardTime, 0).headerKey, "IDS_CARD_H8");
    EXPECT_STREQ(CardColumnOf(kCardTime, 1).headerKey, "IDS_CARD_H8Vende");
    EXPECT_STREQ(CardColumnOf(kCardTime, 2).headerKey, "IDS_CARD_H8Sprang");
    EXPECT_STREQ(CardColumnOf(kCardTime, 2).sample, "444");
    EXPECT_EQ(CardColumnOf(kCardTemperature, 0).sample, platform::Ansi("44 °C"));
}

TEST_F(ScoreCardCells, EveryCellOfTheKnownCard)
{
    const std::string degrees = platform::Ansi("°C");
    // Rows: slots 0, 1, 2 (series 1), 3, 4, 6 (series 2); slot 5 is not listed.
    ASSERT_EQ(card.RowCount(), 6);
    EXPECT_EQ((std::vector<int>{card.Slot(0), card.Slot(1), card.Slot(2), card.Slot(3), card.Slot(4), card.Slot(5)}),
              (std::vector<int>{0, 1, 2, 3, 4, 6}));
    const char* date = "2026.12.10 - 14:05:0";
    const std::vector<int> kinds = CardColumnKinds(2, true);
    const std::vector<std::vector<std::string>> expected = {
        {"1", " 1: Prone", " 1: Prone", "10,5", " 30: 31: 12: 31", "21" + degrees, "1,234", "-2,345", "2,650", " 120",
         "3:07", "12,34", date + std::string("1,07"), "ERRENERGY1 "},
        {"1", " 2: Prone", " 2: Prone", "*0,0", "", "", "0,000", "0,000", "0,000", " 120", "3:07", "12,34",
         date + std::string("2,07"), ""},
        {"1", " 3: Prone", " 3: Prone", "9,8", " 30: 31: 95: 31", "81" + degrees, "-0,500", "0,020", "0,500", ">77",
         "3:07", "12,34", date + std::string("3,07"), "HIDE ERRADVANCE ERR_ENERGY3 ERRTEMP "},
        // Entered by hand: value, series and status only.
        {"0", " 1: Standing", "     UNDEF", "9,0", "", "", "", "", "", "", "", "", date + std::string("4,07"),
         "MANUALSHOT "},
        {"0", " 2: Standing", "     OUT", "10,1", " 30: 31:  2: 31", "21" + degrees, "0,000", "0,000", "0,000", " 120",
         "3:07", "12,34", date + std::string("5,07"), "COPYSHOT (5) ERRENERGY2 "},
        {"0", " 3: Standing", " 1: Standing", "10,0", " 30", "-21" + degrees, "0,000", "0,000", "0,000", " 120", "3:07",
         "12,34", date + std::string("7,07"), "SUPER ERRENERGY2 ERRTEMP "},
    };
    for (int row = 0; row < card.RowCount(); ++row)
        for (size_t c = 0; c < kinds.size(); ++c)
            EXPECT_EQ(cells.Text(card, row, kinds[c]), expected[row][c]) << "row " << row << " kind " << kinds[c];

    // Only the red, blue and green cells; every other is the window's text colour.
    const std::map<std::pair<int, int>, Colour> coloured = {
        {{0, kCardSensors}, Colour::Green},     {{2, kCardSensors}, Colour::Red}, {{2, kCardTemperature}, Colour::Red},
        {{2, kCardBand}, Colour::Red},          {{3, kCardCounting}, Colour::Blue}, {{4, kCardSeries}, Colour::Red},
        {{4, kCardCounting}, Colour::Red},      {{4, kCardSensors}, Colour::Blue},
        {{5, kCardTemperature}, Colour::Red},   {{5, kCardSensors}, Colour::Blue},
    };
    for (int row = 0; row < card.RowCount(); ++row)
        for (int kind : kinds) {
            auto it = coloured.find({row, kind});
            EXPECT_EQ(cells.Colour(card, row, kind), it == coloured.end() ? Colour::WindowText : it->second)
                << "row " << row << " kind " << kind;
        }
    EXPECT_EQ(CardColourRgb(Colour::Green), 0x00C400u);

    // The check box follows the selected series; the listed shots are not changed by being shown.
    cells.settings.selectedSeries = 2;
    EXPECT_EQ(cells.Text(card, 5, kCardCheck), "1");
    EXPECT_EQ(cells.Text(card, 0, kCardCheck), "0");
    const ShotListRecord known = KnownShots();
    EXPECT_EQ(std::memcmp(&card.shots, &known, sizeof card.shots), 0);
}

TEST_F(ScoreCardCells, ShownWithTheDistanceScale)
{
    cells.settings.distanceScale = 2.0;
    EXPECT_EQ(cells.Text(card, 0, kCardX), "2,468");
    EXPECT_EQ(cells.Text(card, 0, kCardY), "-4,690");
    EXPECT_EQ(cells.Text(card, 0, kCardRadius), "5,300");
}

TEST_F(ScoreCardCells, TurningAndRunningTargets)
{
    ShotListRecord shots = KnownShots();
    shots.shots[0].flags |= CDataComp::kFlagMarked;
    shots.shots[0].shotAt = -1234;
    shots.shots[0].data41 = 7;
    shots.shots[1].data44 = 3;
    shots.shots[0].data44 = 130;  // the series' first run, a run later than its counter
    shots.shots[2].data44 = 1;  // the counter wrapped
    card = Listed(shots);
    struct Case {
        int equipment, programEquipment, row, kind;
        std::string text;
        Colour colour;
    } cases[] = {
        // Turning targets: a marked shot counts 0, is turned, and its time is red.
        {1, 0, 0, kCardValue, "0,0", Colour::WindowText},
        {1, 0, 0, kCardTime, "-12,34", Colour::Red},
        {1, 129, 0, kCardTime, "07: -12,34", Colour::Red},
        {1, 0, 0, kCardStatus, "ERRTURN ERRENERGY1 ", Colour::WindowText},
        {1, 0, 1, kCardTime, "12,34", Colour::WindowText},
        // Running targets: runs counted from the series' first delivered shot.
        {2, 0, 0, kCardTime, "2", Colour::WindowText},
        {2, 0, 1, kCardTime, "3", Colour::WindowText},
        {2, 0, 2, kCardTime, "129", Colour::WindowText},
        {2, 0, 0, kCardValue, "10,5", Colour::WindowText},
        {2, 0, 0, kCardStatus, "ERRENERGY1 ", Colour::WindowText},
        // Other ranges: the sign and the time.
        {0, 0, 0, kCardTime, "-12,34", Colour::WindowText},
    };
    for (const Case& c : cases) {
        cells.settings.equipment = c.equipment;
        cells.settings.programEquipment = c.programEquipment;
        EXPECT_EQ(cells.Text(card, c.row, c.kind), c.text) << c.equipment << "/" << c.programEquipment << " kind " << c.kind;
        EXPECT_EQ(cells.Colour(card, c.row, c.kind), c.colour) << c.equipment << " kind " << c.kind;
    }
}

TEST(ScoreCardRuns, RunNumber)
{
    EXPECT_EQ(RunNumber(5, 3), 3);
    EXPECT_EQ(RunNumber(2, 5), 126);
    EXPECT_EQ(RunNumber(3, 131), 2);
    EXPECT_EQ(RunNumber(130, 3), 128);
}

// ---- Match shots

// Series 1 of a card: values by row, all fired and counting in series 1.
ScoreCard SeriesOf(std::vector<int> values)
{
    ShotListRecord shots;
    CDataComp::ClearShots(shots);
    for (size_t k = 0; k < values.size(); ++k)
        shots.shots[k] = bvtest::CardShot(1, values[k], 1, 0x0081);
    // One shot of series 2, which no choice in series 1 touches.
    shots.shots[values.size()] = bvtest::CardShot(2, 1000, 2, 0x0081);
    return Listed(shots);
}

std::string Counting(const ScoreCard& card)
{
    std::string s;
    for (int row = 0; row < card.RowCount(); ++row)
        s += (row ? " " : "") + std::to_string(card.Working(row));
    return s;
}

TEST(ScoreCardMatches, TheFiveButtonsWithFewerAsManyAndMoreShots)
{
    using P = ScoreCard::Pick;
    // Values 9.0, *0 (a starred zero: counts 0), 10.4, 9.0, 10.1; the last
    // row is series 2's.
    const std::vector<int> values = {900, 1204, 1040, 900, 1010};
    struct Case {
        P pick;
        int count;
        const char* counting;
    } cases[] = {
        {P::First, 2, "1 1 128 128 128 2"},
        {P::First, 5, "1 1 1 1 1 2"},
        {P::First, 8, "1 1 1 1 1 2"},  // more than fired: every fired shot
        {P::Last, 2, "128 128 128 1 1 2"},
        {P::Last, 8, "1 1 1 1 1 2"},
        {P::Best, 2, "128 128 1 128 1 2"},
        // The tie of 9.0 goes to the earlier row; the starred zero is the lowest.
        {P::Best, 3, "1 128 1 128 1 2"},
        {P::Best, 5, "1 1 1 1 1 2"},
        {P::Best, 7, "1 1 1 1 1 2"},
        {P::Lowest, 1, "128 1 128 128 128 2"},
        {P::Lowest, 2, "1 1 128 128 128 2"},
        {P::Lowest, 3, "1 1 128 1 128 2"},
        {P::None, 5, "128 128 128 128 128 2"},
    };
    for (const Case& c : cases) {
        ScoreCard card = SeriesOf(values);
        card.PickMatchShots(c.pick, 1, c.count, false);
        EXPECT_EQ(Counting(card), c.counting) << static_cast<int>(c.pick) << " " << c.count;
        EXPECT_TRUE(card.matchChanged);
    }
    // On turning targets a turned shot counts 0 and ranks so.
    ShotListRecord shots = SeriesOf(values).shots;
    shots.shots[2].flags |= CDataComp::kFlagMarked;
    ScoreCard turned = Listed(shots);
    turned.PickMatchShots(P::Best, 1, 1, true);
    EXPECT_EQ(Counting(turned), "128 128 128 128 1 2");
}

TEST(ScoreCardMatches, CheckBoxesAndTheQuestionBeforeWorkIsLost)
{
    ScoreCard card = Listed();
    EXPECT_FALSE(card.Dirty());
    card.ToggleRow(0, 1);  // counted in 1: out
    card.ToggleRow(4, 1);  // out: into 1
    card.ToggleRow(9, 1);  // no such row
    EXPECT_EQ(Counting(card), "128 1 1 0 1 2");
    EXPECT_EQ(card.RowsCountingIn(1), (std::vector<int>{1, 2, 4}));
    card.ReviseMatchChanged();
    EXPECT_TRUE(card.Dirty());
    // Back as read: nothing to lose.
    card.ToggleRow(0, 1);
    card.ToggleRow(4, 2);
    card.ToggleRow(4, 2);
    EXPECT_EQ(Counting(card), "1 1 1 0 128 2");
    card.ReviseMatchChanged();
    EXPECT_FALSE(card.Dirty());
}

TEST(ScoreCardMatches, AListingForNewShotsKeepsTheOfficersWork)
{
    ScoreCard card = Listed();
    card.ToggleRow(1, 1);  // slot 1 out
    ShotListRecord more = KnownShots();
    more.shots[7] = bvtest::CardShot(1, 1000, 1, 0x0081);
    more.updateCounter = 12;
    card.shots = more;
    card.List(false, true);
    ASSERT_EQ(card.RowCount(), 7);
    EXPECT_EQ(Counting(card), "1 128 1 1 0 128 2");  // slot 7 listed after slot 2
    EXPECT_EQ(card.shownCounter, 12);
    card.ReviseMatchChanged();
    EXPECT_TRUE(card.matchChanged);
    // Listed afresh, the work goes.
    card.List(false, false);
    EXPECT_EQ(Counting(card), "1 1 1 1 0 128 2");
}

// ---- Sums

TEST(ScoreCardSums, ByValueSystemAndStartScore)
{
    // Two series of 5 match shots; the out and undefined shots never count.
    auto seriesShots = [](int series) { return series <= 2 ? 5 : 0; };
    ScoreCard card = Listed();
    struct Case {
        int system;
        bool startScore;
        int series;
        CardSums sums;
        const char* seriesText;
        const char* totalText;
    } cases[] = {
        // Counted in value system 6: 10.50 + *0 (0) + 9.80 and 10.00.
        {6, false, 1, {3, 2030, 4, 3030}, "20,30", "30,30"},
        {6, false, 2, {1, 1000, 4, 3030}, "10,00", "30,30"},
        // A decimal system with the start score 98.5 on top of the total.
        {2, true, 1, {3, 2030, 4, 3030 + 9850}, "20,3", "128,8"},
        // Whole values: system 1 counts 10, 0, 9 and 10.
        {1, false, 1, {3, 1900, 4, 2900}, "19", "29"},
        // The out entry sums the shots that count nowhere.
        {1, false, 128, {1, 1000, 4, 2900}, "10", "29"},
    };
    card.name.startScore = 9850;
    for (const Case& c : cases) {
        card.card.valueSystem = static_cast<uint8_t>(c.system);
        CardSums sums = card.Sums(c.series, seriesShots, c.startScore, false);
        EXPECT_EQ(sums.seriesCount, c.sums.seriesCount) << c.system << "/" << c.series;
        EXPECT_EQ(sums.seriesSum, c.sums.seriesSum) << c.system << "/" << c.series;
        EXPECT_EQ(sums.totalCount, c.sums.totalCount) << c.system << "/" << c.series;
        EXPECT_EQ(sums.totalSum, c.sums.totalSum) << c.system << "/" << c.series;
        EXPECT_EQ(SumText(sums.seriesSum, c.system, ","), c.seriesText);
        EXPECT_EQ(SumText(sums.totalSum, c.system, ","), c.totalText);
    }
    // Series without match shots in the program are left out of the total.
    card.card.valueSystem = 1;
    CardSums sums = card.Sums(2, [](int series) { return series == 1 ? 5 : 0; }, false, false);
    EXPECT_EQ(sums.totalCount, 3);
    EXPECT_EQ(sums.seriesCount, 1);
    // An empty card sums to its start score.
    ScoreCard empty;
    empty.name.startScore = 9850;
    EXPECT_EQ(empty.Sums(1, seriesShots, true, false).totalSum, 9850);
    EXPECT_EQ(empty.Sums(1, seriesShots, false, false).totalSum, 0);
}

// ---- Shots made here

TEST(ScoreCardShots, AShotEnteredByHand)
{
    platform::LocalTime now{2026, 5, 17, 9, 8, 7, 654, 0};
    for (int markKind : {-1, 2, 3}) {
        ShotRecord s = ManualShot(950, 2, 4, 7, markKind, now);
        EXPECT_EQ(+s.state, 64);
        EXPECT_EQ(+s.flags, markKind <= 2 ? 0x0082 : 0x0002) << markKind;
        EXPECT_EQ(+s.x, -1500000);
        EXPECT_EQ(+s.y, -1500000);
        EXPECT_EQ(+s.radius, 2121320);
        EXPECT_EQ(+s.value, 950);
        EXPECT_EQ(+s.temperature, 2000);
        EXPECT_EQ(+s.shotNumber, 0);
        EXPECT_EQ(+s.displayPos, 4);
        EXPECT_EQ(+s.series, 2);
        EXPECT_EQ(+s.countingSeries, 0);
        EXPECT_EQ((std::vector<int>{s.century, s.year, s.month, s.day, s.hour, s.minute, s.second, s.hundredths}),
                  (std::vector<int>{20, 26, 5, 17, 9, 8, 7, 65}));
        EXPECT_EQ((std::vector<int>{s.sensorA, s.sensorB, s.sensorC, s.sensorD}), (std::vector<int>{32, 32, 32, 255}));
        EXPECT_EQ(+s.data41, 7);
        EXPECT_EQ(+s.data17 + s.data43 + s.data45 + s.shotAt + s.orderOffset + s.data42 + s.data44, 0);
    }
}

TEST(ScoreCardShots, PastedAndCorrectedShots)
{
    ShotRecord copied = PastedShot(KnownShots().shots[0]);
    EXPECT_EQ(+copied.flags, 0x0881);
    EXPECT_EQ(+copied.state, 64);
    EXPECT_EQ(copied.shotNumber + copied.displayPos + copied.countingSeries, 0);
    EXPECT_EQ(+copied.value, 1050);
    EXPECT_EQ(+copied.x, 1234);

    struct Case {
        const char* name;
        int slot;
        ShotEntry entered;
        int markKind;
        bool changed;
        int value, series, position, counting, flags;
    } cases[] = {
        {"manual: new value", 3, {950, 2, 0}, 3, true, 950, 2, 0, 0, 0x0082},
        {"manual: nothing new", 3, {900, 2, 0}, 2, false, 900, 2, 0, 0, 0x0082},
        {"copied: keeps its value", 4, {500, 2, 0}, 2, false, 1010, 2, 0, 128, 0x0881},
        {"copied: new position", 4, {500, 2, 3}, 2, true, 1010, 2, 3, 128, 0x0881},
        // Moved to another series, it counts nowhere until decided again.
        {"copied: new series", 4, {1010, 1, 0}, 3, true, 1010, 1, 0, 0, 0x0881},
    };
    for (const Case& c : cases) {
        ShotRecord shot = KnownShots().shots[c.slot];
        ShotRecord before = shot;
        EXPECT_EQ(CorrectShot(shot, c.entered, c.markKind), c.changed) << c.name;
        if (!c.changed) {
            EXPECT_EQ(std::memcmp(&shot, &before, sizeof shot), 0) << c.name;
            continue;
        }
        EXPECT_EQ(+shot.value, c.value) << c.name;
        EXPECT_EQ(+shot.series, c.series) << c.name;
        EXPECT_EQ(+shot.displayPos, c.position) << c.name;
        EXPECT_EQ(+shot.countingSeries, c.counting) << c.name;
        EXPECT_EQ(+shot.flags, c.flags) << c.name;
        EXPECT_EQ(+shot.shotNumber, 0) << c.name;
        EXPECT_EQ(+shot.state, 64) << c.name;
    }
}

TEST(ScoreCardShots, TheCommentBetweenEditAndField)
{
    EXPECT_EQ(CommentForField("Skiftet skive\netter serie 1"), "Skiftet skive\r\netter serie 1");
    EXPECT_EQ(CommentForField("a\r\nb"), "a\r\nb");
    EXPECT_EQ(CommentForEdit(KnownShots()), "Skiftet skive\netter serie 1");
    // At most 247 bytes, never ending in half a line end.
    EXPECT_EQ(CommentForField(std::string(300, 'x')), std::string(247, 'x'));
    EXPECT_EQ(CommentForField(std::string(246, 'x') + "\ny"), std::string(246, 'x'));
    EXPECT_EQ(CommentForField(std::string(245, 'x') + "\ny"), std::string(245, 'x') + "\r\n");
}

// ---- The shot log's lines

TEST(ScoreCardLog, ColumnsInTheirWidths)
{
    struct Case {
        std::vector<ShotLogCell> cells;
        std::string line;
    } cases[] = {
        {{{1, " 1: Prone"}, {2, "     OUT"}, {3, "10,5"}, {13, "HIDE "}},
         " 1: Prone       \t     OUT        \t10,5\tHIDE \r\n"},
        // Sixteen characters get one blank; longer ones sixteen; every text stops at 30.
        {{{1, std::string(16, 'a')}, {2, std::string(17, 'b')}, {3, std::string(40, 'c')}},
         std::string(16, 'a') + " \t" + std::string(17, 'b') + std::string(16, ' ') + "\t" + std::string(30, 'c') + "\r\n"},
        // The time column: right-aligned in 12, with a blank at least before it.
        {{{1, "x"}, {2, "y"}, {11, "12,34"}, {11, std::string(12, '9')}, {11, std::string(13, '8')}},
         "x" + std::string(15, ' ') + "\ty" + std::string(15, ' ') + "\t       12,34\t " + std::string(12, '9') +
             "\t" + std::string(12, ' ') + std::string(13, '8') + "\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShotLogLine(c.cells), c.line);
}

// ---- Reading and storing through the competition data

class ScoreCardFiles : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        ASSERT_EQ(platform::CreateFolders("Comp1"), 0);
        ASSERT_EQ(dc.Open(1, 1), 0);
        CardRecord card = KnownCard();
        ASSERT_EQ(dc.GetCard(card, 1), 1);
        ASSERT_GT(dc.ChangeShots(1, 2, [](ShotListRecord& l) { l = KnownShots(); }), 0);
    }
    CDataComp dc;
};

TEST_F(ScoreCardFiles, StoresTheOfficersWorkOnTheListAsStoredNow)
{
    ScoreCard card;
    card.relay = 1;
    card.lane = 2;
    card.Read(dc);
    EXPECT_EQ(+card.card.targetType, 3);
    card.List(false, false);
    ASSERT_EQ(card.RowCount(), 6);
    card.PickMatchShots(ScoreCard::Pick::Best, 2, 1, false);  // slot 4 (10.1) in, slots 3 and 6 out
    // Meanwhile the range stores a shot in the next free slot.
    ShotRecord late = bvtest::CardShot(1, 1000, 0, 0x0081);
    ASSERT_GT(dc.AddShot(1, 2, late, nullptr, 10, 0), 0);
    EXPECT_GT(card.StoreShots(dc, "ok"), 0);

    ShotListRecord stored;
    ASSERT_EQ(dc.ReadShots(1, 2, stored), 0);
    EXPECT_EQ((std::vector<int>{stored.shots[3].countingSeries, stored.shots[4].countingSeries,
                                stored.shots[6].countingSeries}),
              (std::vector<int>{128, 2, 128}));
    EXPECT_EQ(+stored.shots[7].value, 1000);  // the late shot stays
    EXPECT_EQ(+stored.shots[5].countingSeries, 1);  // the unlisted slot is not touched
    EXPECT_STREQ(stored.comment, "ok");
    card.ReviseMatchChanged();
    EXPECT_FALSE(card.matchChanged);

    EXPECT_EQ(card.StoreState(dc, 3), 0);
    ScoreCard again;
    again.relay = 1;
    again.lane = 2;
    again.Read(dc);
    EXPECT_EQ(+again.card.resultState, 3);

    // A card that is not there reads empty, with its key.
    ScoreCard none;
    none.relay = 7;
    none.lane = 2;
    none.Read(dc);
    none.List(false, false);
    EXPECT_EQ(none.RowCount(), 0);
    EXPECT_EQ(+none.card.relay, 7);
    EXPECT_EQ(+none.card.shotRec, 0);
}

TEST_F(ScoreCardFiles, PasteStoresCopiedShotsAndEmptiesTheClipboard)
{
    ScoreCard from = Listed();
    CardClipboard clipboard;
    EXPECT_TRUE(clipboard.Empty());
    clipboard.Copy(from, {0, 4, 99});
    EXPECT_EQ(clipboard.Count(), 2);
    CardRecord other = KnownCard();
    other.lane = 3;
    ASSERT_EQ(dc.GetCard(other, 1), 1);
    EXPECT_EQ(clipboard.Paste(dc, 1, 3), 2);
    EXPECT_TRUE(clipboard.Empty());
    ShotListRecord stored;
    ASSERT_EQ(dc.ReadShots(1, 3, stored), 0);
    EXPECT_EQ(+stored.shots[0].value, 1050);
    EXPECT_EQ(+stored.shots[0].flags, 0x0881);
    EXPECT_EQ(+stored.shots[1].value, 1010);
    EXPECT_EQ(+stored.shots[1].countingSeries, 0);
    EXPECT_EQ(+stored.shots[2].state, CDataComp::kSlotFree);
    EXPECT_EQ(clipboard.Paste(dc, 1, 3), 0);
}

}  // namespace
