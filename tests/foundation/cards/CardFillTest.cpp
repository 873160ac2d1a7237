// A competition's card put on a PrintCard: series slots from the shooting
// program, practice, sums and running totals, turning and running targets,
// and the card's bounds.
#include "foundation/cards/CardFill.h"
#include "foundation/settings/ProgramStore.h"

#include "ShotLogFixture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace ProgramItems;

namespace {

using bvtest::TargetShot;

class CardFillTest : public bvtest::InTempFolder {
protected:
    CardFillTest()
    {
        // Program 1: series 1 a practice series (no shots), series 2 and 3
        // of 25 shots, 10 to a printed line.
        {
            CBVConfig file;
            file.Open(".\\Program.BVC", 1);
            file.WriteInt(kProgramSection, 1, kKeySerieCount, 3);
            file.WriteInt(kProgramSection, 1, kKeySize, 10);
            file.WriteInt(kSerieShots, 1, 3, 25);
            file.WriteInt(kSerieShots, 1, 4, 25);
            file.WriteString(kSerieName, 1, 2, "Prove");
            file.WriteString(kSerieName, 1, 3, "Grunnlag");
            file.WriteString(kSerieName, 1, 4, "Finale");
        }
        programs.SetBasePath(".\\");
        options.program = 1;
        card = bvtest::LogCard();
        card.valueSystem = 1;
        CDataComp::ClearShots(shots);
        CDataComp::ClearName(name);
        std::strcpy(name.name, "Kari Nordmann");
        std::strcpy(name.cls, "V55");
        name.startScore = 2550;
    }

    void Put(int slot, int series, int counting, int value)
    {
        shots.shots[slot] = TargetShot(slot + 1, series, value, 1000 * slot, -2000);
        shots.shots[slot].countingSeries = static_cast<uint8_t>(counting);
    }

    CProgramStore programs;
    CTargetTypes types;
    CardFill::Options options;
    CardRecord card;
    NameRecord name;
    ShotListRecord shots;
    PrintCard out;
};

TEST_F(CardFillTest, SeriesOfTheProgramFillSlotsOfTenWithRunningTotals)
{
    for (int i = 0; i < 25; ++i)
        Put(i, 2, 2, 1000);
    Put(25, 3, 3, 1150);  // an inner ten counts 10 in the integer system
    Put(26, 3, 3, 980);
    options.startScore = true;
    EXPECT_EQ(CardFill::Fill(card, &name, shots, programs, types, options, out), 27);

    EXPECT_STREQ(out.name, "Kari Nordmann");
    EXPECT_STREQ(out.cls, "V55");
    EXPECT_EQ(out.startScore, 2550);
    // Series 2 takes slots 1 to 3 (10, 10 and 5 shots), series 3 slot 4.
    const int counts[] = {0, 10, 10, 5, 2, 0};
    for (int s = 1; s <= 5; ++s)
        EXPECT_EQ(out.shotCount[s], counts[s]) << s;
    EXPECT_STREQ(out.seriesName[3], "Grunnlag");
    EXPECT_STREQ(out.seriesName[4], "Finale");
    EXPECT_EQ(out.seriesSum[1], 10000);
    EXPECT_EQ(out.runningTotal[1], 2550 + 10000);
    EXPECT_EQ(out.runningTotal[3], 2550 + 25000);
    EXPECT_EQ(out.seriesSum[4], 1000 + 900);
    EXPECT_EQ(out.runningTotal[4], 2550 + 25000 + 1900);
    EXPECT_EQ(out.totalShots, 27);
    // Numbers count on through a series' slots; the value is kept as it was shot.
    EXPECT_EQ(out.shots[14].series, 2);
    EXPECT_EQ(out.shots[14].number, 15);
    EXPECT_EQ(out.shots[25].value, 1150);
    EXPECT_DOUBLE_EQ(out.shots[25].x, 25.0);
    EXPECT_DOUBLE_EQ(out.shots[25].y, -2.0);
    EXPECT_EQ(out.matchSeries[1], 1);

    PrintCard noStart;
    options.startScore = false;
    CardFill::Fill(card, nullptr, shots, programs, types, options, noStart);
    EXPECT_EQ(noStart.runningTotal[4], 25000 + 1900);
    EXPECT_STREQ(noStart.name, "");
}

TEST_F(CardFillTest, PracticeIsPrintedFromTheSeriesItWasFiredInAndCountsNothing)
{
    Put(0, 1, 0, 1000);
    Put(1, 1, 0, 900);
    Put(2, 2, 2, 800);
    CardFill::Fill(card, nullptr, shots, programs, types, options, out);
    EXPECT_EQ(out.shotCount[1], 2);
    EXPECT_STREQ(out.seriesName[1], "Prove");
    EXPECT_EQ(out.matchSeries[1], 0);  // its picture gets the grey corner
    EXPECT_EQ(out.seriesSum[1], 1900);
    EXPECT_EQ(out.runningTotal[1], 0);
    EXPECT_EQ(out.runningTotal[2], 800);

    PrintCard matchOnly;
    options.practice = false;
    CardFill::Fill(card, nullptr, shots, programs, types, options, matchOnly);
    EXPECT_EQ(matchOnly.shotCount[1], 1);
    EXPECT_EQ(matchOnly.seriesSum[1], 800);
}

TEST_F(CardFillTest, TurningAndRunningTargetsAndOneToOne)
{
    Put(0, 2, 2, 1000);
    Put(1, 2, 2, 900);
    shots.shots[1].flags |= CDataComp::kFlagMarked;  // turned away
    shots.shots[0].data44 = 0x80 | 5;
    shots.shots[1].data44 = 7;
    options.equipment = 1;
    CardFill::Fill(card, nullptr, shots, programs, types, options, out);
    EXPECT_EQ(out.shots[1].value, 0);
    EXPECT_EQ(out.seriesSum[1], 1000);

    PrintCard running;
    options.equipment = 2;
    CardFill::Fill(card, nullptr, shots, programs, types, options, running);
    EXPECT_EQ(running.shots[0].number, 2);  // runs counted from the first shot's
    EXPECT_EQ(running.shots[1].number, 4);
    EXPECT_EQ(running.shots[1].value, 900);

    for (int i = 0; i < 25; ++i)
        Put(i, 2, 2, 1000);
    PrintCard oneToOne;
    options.trueSize = true;
    options.gauge = 3;
    CardFill::Fill(card, nullptr, shots, programs, types, options, oneToOne);
    EXPECT_EQ(oneToOne.shotCount[1], 25);  // one slot holds up to 99
    EXPECT_DOUBLE_EQ(oneToOne.bulletRadius, 3.25);
}

TEST_F(CardFillTest, DistancesNeverDivideByNothing)
{
    // 50 m face; distances missing or damaged are the face's own.
    EXPECT_EQ(CardFill::Distance(0, 18, types), 50);
    EXPECT_EQ(CardFill::Distance(-3, 18, types), 50);
    EXPECT_EQ(CardFill::Distance(25, 18, types), 25);
    options.actualDistance = 0;
    options.simulatedDistance = 100;
    CardFill::Fill(card, nullptr, shots, programs, types, options, out);
    EXPECT_EQ(out.scaleDenominator, 50);
    EXPECT_EQ(out.scaleNumerator, 100);
    EXPECT_DOUBLE_EQ(out.Ratio(), 2.0);
}

TEST_F(CardFillTest, ACardNeverHoldsMoreThan250ShotsOr39Slots)
{
    // 28 series of 25 shots in slots of one shot each: more than 39 slots,
    // and the whole list is 250 shots.
    {
        CBVConfig file;
        file.Open(".\\Program.BVC", 1);
        file.WriteInt(kProgramSection, 1, kKeySerieCount, 28);
        file.WriteInt(kProgramSection, 1, kKeySize, 1);
        for (int s = 1; s <= 28; ++s)
            file.WriteInt(kSerieShots, 1, s + 1, 25);
    }
    CProgramStore many;
    many.SetBasePath(".\\");
    for (int i = 0; i < CDataComp::kSlots; ++i)
        Put(i, 1 + i / 9, 1 + i / 9, 1000);
    EXPECT_EQ(CardFill::Fill(card, nullptr, shots, many, types, options, out), 39);
    EXPECT_EQ(out.shotCount[39], 1);
    EXPECT_EQ(out.shotEntries, 39);

    {
        CBVConfig file;
        file.Open(".\\Program.BVC", 1);
        file.WriteInt(kProgramSection, 1, kKeySize, 99);
    }
    CProgramStore big;
    big.SetBasePath(".\\");
    PrintCard full;
    EXPECT_EQ(CardFill::Fill(card, nullptr, shots, big, types, options, full), 250);
    EXPECT_EQ(full.shotEntries, PrintCard::kShots);
}

}  // namespace
