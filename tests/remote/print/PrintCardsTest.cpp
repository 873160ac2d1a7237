// What the print page puts on the cards: the cards of the chosen ranges in
// order, their series slots, sums and running totals, start numbers, lists
// and a second competition in front; and that reading a range folder makes
// nothing in it.
#include "remote/print/PrintOptions.h"
#include "remote/print/RangeCards.h"

#include "tests/remote/RemoteRangeFixture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

namespace {

using Keys = std::vector<std::pair<int, int>>;

class PrintCardsTest : public bvtest::InTempFolder {
protected:
    // Fills the cards into a list of our own, as the printer's AddCard would.
    Keys Fill(int comp, const PrintOptions& options, const SecondCompetition& second = {})
    {
        RangeCards cards;
        EXPECT_TRUE(cards.Open(range.Folder(), comp));
        printed.clear();
        return cards.FillCards(options, second, [this] {
            printed.push_back(std::make_unique<PrintCard>());
            return printed.back().get();
        });
    }
    bvtest::RemoteRange range{"range"};
    std::vector<std::unique_ptr<PrintCard>> printed;
};

TEST(PrintKeysTest, RelayByRelayThenLaneByLane)
{
    struct Case {
        bool startNumbers;
        int firstRelay, lastRelay, firstLane, lastLane;
        Keys keys;
    };
    const Case cases[] = {
        {false, 1, 2, 1, 3, {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}}},
        {true, 5, 7, 1, 10, {{5, 0}, {6, 0}, {7, 0}}},
        {false, 2, 1, 1, 3, {}},
        {false, 0, 0, 1, 3, {}},          // relay 0 to 0 names no card
        {false, 1, 1, 99, 250, {{1, 99}, {1, 100}}},  // lanes stop at 100
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintKeys(c.startNumbers, c.firstRelay, c.lastRelay, c.firstLane, c.lastLane), c.keys);
}

TEST(PrintOptionsTest, ClampedBeforePrinting)
{
    PrintOptions o;
    o.seriesPerPage = 0;
    o.margin = 250;
    o.firstLane = -4;
    o.lastLane = 400;
    PrintOptions c = o.Clamped();
    EXPECT_EQ(c.seriesPerPage, 1);
    EXPECT_EQ(c.margin, 99);
    EXPECT_EQ(c.firstLane, 1);
    EXPECT_EQ(c.lastLane, 100);
    o.seriesPerPage = 35;
    EXPECT_EQ(o.Clamped().seriesPerPage, 20);
}

TEST_F(PrintCardsTest, StoredOptionsPerEventAndTheFlagsKeepTheirTwelfthCharacter)
{
    RemoteSettings settings;
    ASSERT_TRUE(settings.Open(RemoteSettings::kFileName));
    PrintOptions defaults = PrintOptions::Read(settings, 1);
    EXPECT_EQ(defaults.margin, 15);
    EXPECT_EQ(defaults.seriesPerPage, 12);
    EXPECT_EQ(defaults.lastLane, 10);
    settings.Store().WriteString(32, 1, 700, "11111111111X");
    PrintOptions o = PrintOptions::Read(settings, 1);
    o.SetFlag(0, false);
    o.SetFlag(10, false);
    o.kind = PrintOptions::kList;
    o.Store(settings, 1, PrintItems::kFlags);
    o.Store(settings, 1, PrintItems::kKind);
    EXPECT_STREQ(settings.Store().ReadString(32, 1, 700, ""), "01111111110X");
    EXPECT_EQ(PrintOptions::Read(settings, 1).kind, PrintOptions::kList);
    EXPECT_EQ(PrintOptions::Read(settings, 2).kind, PrintOptions::kCards);  // another event keeps its own
}

TEST_F(PrintCardsTest, CardsInOrderWithNamesSlotsAndRunningTotals)
{
    range.MakeComp(1, false);
    range.MakeCard(1, 2, 1, "Per", 2, 25, 900, 0, 1550);
    range.MakeCard(1, 1, 2, "Kari", 2, 3, 1000);
    range.MakeCard(1, 1, 1, "Ola", 2, 25, 1000, 2, 1550);
    PrintOptions options;
    options.firstRelay = 1;
    options.lastRelay = 2;
    options.firstLane = 1;
    options.lastLane = 3;
    EXPECT_EQ(Fill(1, options), (Keys{{1, 1}, {1, 2}, {2, 1}}));
    ASSERT_EQ(printed.size(), 3u);
    const PrintCard& ola = *printed[0];
    EXPECT_STREQ(ola.name, "Ola");
    EXPECT_STREQ(ola.club, "Klubben");
    // Practice first, in its own slot; then 25 shots in slots of 10, 10, 5.
    const int counts[] = {0, 2, 10, 10, 5, 0};
    for (int s = 1; s <= 5; ++s)
        EXPECT_EQ(ola.shotCount[s], counts[s]) << s;
    EXPECT_STREQ(ola.seriesName[1], "Prove");
    EXPECT_STREQ(ola.seriesName[2], "Grunnlag");
    EXPECT_EQ(ola.startScore, 1550);
    EXPECT_EQ(ola.runningTotal[1], 1550);  // practice counts nothing
    EXPECT_EQ(ola.runningTotal[2], 1550 + 10000);
    EXPECT_EQ(ola.runningTotal[4], 1550 + 25000);
    EXPECT_EQ(ola.seriesSum[4], 5000);
    EXPECT_STREQ(printed[2]->name, "Per");

    // Start score mode 0: the total starts at 0 although the option is on.
    range.MakeComp(2, false, 0);
    range.MakeCard(2, 1, 1, "Ola", 2, 25, 1000, 0, 1550);
    Fill(2, options);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0]->startScore, 0);
    EXPECT_EQ(printed[0]->runningTotal[3], 25000);

    // A list leaves the practice out; 1:1 keeps a series in one slot.
    options.kind = PrintOptions::kList;
    Fill(1, options);
    EXPECT_EQ(printed[0]->shotCount[1], 10);
    EXPECT_STREQ(printed[0]->seriesName[1], "Grunnlag");
    options.kind = PrintOptions::kCards;
    options.oneToOne = true;
    range.MakeCard(1, 3, 1, "Lang", 3, 60, 1000);
    options.firstRelay = options.lastRelay = 3;
    Fill(1, options);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0]->shotCount[1], 60);
    EXPECT_EQ(printed[0]->shotCount[2], 0);
}

TEST_F(PrintCardsTest, StartNumbersGiveOneCardEachAndTheSecondCompetitionComesFirst)
{
    range.MakeComp(1, true);
    for (int n = 4; n <= 8; ++n)
        range.MakeCard(1, n, 1, "Nr " + std::to_string(n), 2, 5, 1000);
    PrintOptions options;
    options.firstRelay = 5;
    options.lastRelay = 7;
    options.firstLane = 1;
    options.lastLane = 10;
    EXPECT_EQ(Fill(1, options), (Keys{{5, 0}, {6, 0}, {7, 0}}));

    // The qualification in another folder, also with start numbers.
    bvtest::RemoteRange other("other");
    other.MakeComp(3, true);
    other.MakeCard(3, 6, 1, "Nr 6", 2, 12, 800);
    SecondCompetition second{"other\\", 3};
    Fill(1, options, second);
    ASSERT_EQ(printed.size(), 3u);
    const PrintCard& six = *printed[1];
    // Twelve qualification shots at most ten a slot, then the card's own five.
    EXPECT_EQ(six.shotCount[1], 10);
    EXPECT_EQ(six.shotCount[2], 2);
    EXPECT_EQ(six.shotCount[3], 5);
    EXPECT_EQ(six.runningTotal[2], 12 * 800);
    EXPECT_EQ(six.runningTotal[3], 12 * 800 + 5000);
    EXPECT_EQ(six.totalShots, 17);
    EXPECT_EQ(printed[0]->shotCount[2], 0);  // no qualification card for 5

    // A full card stops at 250 entries.
    other.MakeCard(3, 7, 1, "Nr 7", 3, 240, 800);
    range.MakeCard(1, 7, 1, "Nr 7", 2, 25, 1000);
    Fill(1, options, second);
    EXPECT_EQ(printed[2]->totalShots, 250);
}

TEST_F(PrintCardsTest, ReadingMakesNothingInTheRangeFolder)
{
    range.MakeComp(1, false);
    range.MakeCard(1, 1, 1, "Ola", 2, 5, 1000);
    std::filesystem::remove(range.Win("Program.BVC").replace(5, 1, "/"));
    std::filesystem::remove("range/BVLeder.BVC");
    auto listing = [] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator("range"))
            names.insert(entry.path().string() + ":" +
                         (entry.is_regular_file() ? std::to_string(std::filesystem::file_size(entry)) : "d"));
        return names;
    };
    std::set<std::string> before = listing();
    PrintOptions options;
    options.lastRelay = 3;
    Fill(1, options);
    EXPECT_EQ(printed.size(), 1u);
    RangeCards missing;
    EXPECT_FALSE(missing.Open(range.Folder(), 7));
    EXPECT_EQ(listing(), before);
}

}  // namespace
