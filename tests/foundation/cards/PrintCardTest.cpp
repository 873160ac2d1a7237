// One shooting card as every program hands it to the card printer: its
// cleared form, its bounds (250 shots, series 1..39, a comment field without
// terminator), and the results program's edge in tenths.
#include "foundation/cards/PrintCard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(PrintCardTest, AClearedCardHasNoShotsNoScaleAndTheCardsOwnFaceInEverySeries)
{
    PrintCard card;
    card.lane = 7;
    card.scaleNumerator = 100;
    card.seriesTarget[3] = 21;
    card.AddShot(3, 1, 1050, 1, 2, 3);
    card.SetComment("x");
    PrintCard other;
    card.next = &other;

    card.Clear();
    EXPECT_EQ(card.lane, 0);
    EXPECT_EQ(card.scaleNumerator, -1);
    EXPECT_EQ(card.scaleDenominator, -1);
    EXPECT_EQ(card.Ratio(), 1.0);
    for (int s = 0; s < PrintCard::kSeriesSlots; ++s)
        EXPECT_EQ(card.seriesTarget[s], -1) << s;
    for (const PrintShot& shot : card.shots) {
        EXPECT_EQ(shot.series, 0);
        EXPECT_EQ(shot.value, 255);
    }
    EXPECT_EQ(card.shotEntries, 0);
    EXPECT_EQ(card.Comment(), "");
    // The link belongs to the printer's list, not to what the card says.
    EXPECT_EQ(card.next, &other);
}

TEST(PrintCardTest, ACardNeverTakesMoreThan250ShotsNorShotsOutsideSeries1To39)
{
    PrintCard card;
    for (int i = 0; i < PrintCard::kShots; ++i)
        ASSERT_EQ(card.AddShot(1 + i % 39, i % 10 + 1, 900, 0, 0, 0), i);
    EXPECT_EQ(card.AddShot(1, 1, 1000, 0, 0, 0), -1);
    EXPECT_EQ(card.shotEntries, PrintCard::kShots);

    PrintCard slots;
    for (int slot : {0, 40, 255, -1})
        EXPECT_EQ(slots.AddShot(slot, 1, 1000, 0, 0, 0), -1) << slot;
    EXPECT_EQ(slots.shotEntries, 0);
}

TEST(PrintCardTest, TheCommentIsReadOnlyAsFarAsItsField)
{
    PrintCard card;
    std::memset(card.comment, 'A', sizeof card.comment);  // no terminator at all
    card.reserved2 = 0x4242;                             // what follows the field
    EXPECT_EQ(card.Comment(), std::string(PrintCard::kCommentSize, 'A'));

    card.SetComment(std::string(400, 'B'));
    EXPECT_EQ(card.Comment(), std::string(PrintCard::kCommentSize - 1, 'B'));
}

TEST(PrintCardTest, SeriesTypeAndRatioFollowTheCardUnlessTheSeriesHasItsOwn)
{
    PrintCard card;
    card.targetType = 18;
    card.seriesTarget[2] = 21;
    EXPECT_EQ(card.SeriesTargetType(1), 18);
    EXPECT_EQ(card.SeriesTargetType(2), 21);
    EXPECT_EQ(card.SeriesTargetType(99), 18);

    struct Case {
        int numerator, denominator;
        double ratio;
    };
    for (const Case& c : {Case{200, 100, 2.0}, Case{100, 100, 1.0}, Case{0, 100, 1.0}, Case{100, -1, 1.0}}) {
        card.scaleNumerator = c.numerator;
        card.scaleDenominator = c.denominator;
        EXPECT_DOUBLE_EQ(card.Ratio(), c.ratio) << c.numerator << ":" << c.denominator;
    }
}

// The results program counts in tenths; the card holds hundredths.
TEST(PrintCardTest, TheResultsProgramsTenthsBecomeHundredthsAtTheEdge)
{
    struct Case {
        int valueByte;
        int16_t value;
        uint8_t series;  // 0: only the value is stored
    };
    const Case cases[] = {
        {105, 1050, 4}, {0, 0, 4},         // ordinary values
        {115, 1150, 4},                    // inner ten with its tenths
        {125, 1250, 4},                    // starred zero
        {130, PrintCard::kNoValue, 0},     // no shot: kept out of every series
        {255, 2550, 0},                    // the stored no-shot value
        {-3, PrintCard::kNoValue, 0},
    };
    for (const Case& c : cases) {
        PrintCard card;
        ASSERT_TRUE(card.SetShotTenths(9, c.valueByte, 4, 2, 1.5, -2.5, 1234)) << c.valueByte;
        const PrintShot& shot = card.shots[8];
        EXPECT_EQ(shot.value, c.value) << c.valueByte;
        EXPECT_EQ(shot.series, c.series) << c.valueByte;
        EXPECT_EQ(card.shotEntries, 9);
        EXPECT_EQ(card.Counts(shot, 4), c.series == 4) << c.valueByte;
    }

    PrintCard card;
    EXPECT_FALSE(card.SetShotTenths(0, 100, 1, 1, 0, 0, 0));
    EXPECT_FALSE(card.SetShotTenths(251, 100, 1, 1, 0, 0, 0));
    // The results program numbers its slots up to 40; the card prints 1 to 39.
    EXPECT_FALSE(card.SetSeriesTenths(40, 1, 500));
    EXPECT_FALSE(card.SetSeriesTenths(0, 1, 500));

    card.SetStartScoreTenths(123);
    ASSERT_TRUE(card.SetSeriesTenths(1, 1, 985));
    ASSERT_TRUE(card.SetSeriesTenths(2, 6, 1000));
    card.shotCount[1] = 10;
    card.shotCount[2] = 10;
    card.SumUp();
    EXPECT_EQ(card.startScore, 1230);
    EXPECT_EQ(card.seriesSum[1], 9850);
    EXPECT_EQ(card.runningTotal[1], 1230 + 9850);
    EXPECT_EQ(card.runningTotal[2], 1230 + 9850 + 10000);
    // Slots past the last series repeat the last running total.
    EXPECT_EQ(card.runningTotal[39], card.runningTotal[2]);
    EXPECT_EQ(card.totalSum, 19850);
    EXPECT_EQ(card.totalShots, 20);
    EXPECT_EQ(card.valueSystem[1], 1);
    EXPECT_EQ(card.valueSystem[2], 3);
}

TEST(PrintCardTest, TheResultsProgramsValueSystemsPrintAsTheRangesOnes)
{
    // Only its "1-11" system counts an inner ten as 11, like the range's "11"
    // system; all others print one decimal and star the inner ten.
    for (int system = 0; system <= 11; ++system)
        EXPECT_EQ(PrintCard::ValueSystemOfResults(system), system == 6 ? 3 : 1) << system;
}

}  // namespace
