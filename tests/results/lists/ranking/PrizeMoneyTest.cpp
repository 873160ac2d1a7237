// Stake prize money on sorted rows: the share of winners, the weights by
// score margins, the prize table's shares and what both pay out; and the
// prize table itself.
#include "results/lists/ranking/PrizeMoney.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/ranking/StakePrizeTable.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace results;

class NameLookup : public RankingLookup {
public:
    std::map<int, std::string> names;
    std::string_view Name(int row) override { return names[row]; }
    int SeriesPoints(int, int) override { return 0; }
    std::array<int, 12> RingCounts(int, int) override { return {}; }
};

// Rows of the given totals (tenths), sorted and placed under kind; shoot-off
// values by position when given.
std::vector<ResultRow> Ranked(const std::vector<int>& totals, int kind = kRankTotal,
                              const std::vector<std::string>& names = {}, const std::vector<int16_t>& shootOffs = {})
{
    NameLookup lookup;
    std::vector<ResultRow> rows;
    for (size_t i = 0; i < totals.size(); ++i) {
        ResultRow row;
        row.ranking[1] = static_cast<uint16_t>(totals[i]);
        row.shooterRow = static_cast<int16_t>(i);
        if (i < shootOffs.size())
            row.shootOff = shootOffs[i];
        if (i < names.size())
            lookup.names[static_cast<int>(i)] = names[i];
        rows.push_back(row);
    }
    RowRanking(RankingRules{}, lookup).Sort(rows, kind);
    return rows;
}

std::vector<int> Amounts(const std::vector<ResultRow>& rows, int winners)
{
    std::vector<int> amounts;
    for (int i = 0; i < winners; ++i)
        amounts.push_back(rows[static_cast<size_t>(i)].prizeAmount);
    return amounts;
}

int64_t Paid(const std::vector<ResultRow>& rows)
{
    int64_t paid = 0;
    for (const ResultRow& row : rows)
        paid += row.prizeAmount;
    return paid;
}

TEST(PrizeMoneyTest, ShareTexts)
{
    struct Case {
        const char* text;
        int share, per;
    };
    for (const Case& c : {Case{"1/3", 1, 3}, Case{"0", 0, 0}, Case{"", 0, 0}, Case{"5", 5, 0}, Case{"x/4", 0, 4},
                          Case{" 2/ 7", 2, 7}, Case{"1/3/5", 1, 3}, Case{"-1/2", -1, 2}}) {
        const PrizeShare share = ParseShare(c.text);
        EXPECT_EQ(share.share, c.share) << c.text;
        EXPECT_EQ(share.per, c.per) << c.text;
    }
}

TEST(PrizeMoneyTest, WinnersOfAShare)
{
    const std::vector<int> ten = {1000, 990, 980, 970, 960, 950, 940, 930, 920, 910};
    const std::vector<int> fourthAndFifthTied = {1000, 990, 980, 970, 970, 950, 940, 930, 920, 910};
    struct Case {
        const char* what;
        std::vector<int> totals;
        int share, per, winners;
    };
    const Case cases[] = {
        {"1/3 of ten", ten, 1, 3, 4},
        {"1/3 of ten, fourth and fifth tied", fourthAndFifthTied, 1, 3, 5},
        {"1/4 of ten", ten, 1, 4, 3},
        {"without per: that many", ten, 6, 0, 6},
        {"never more than the rows", ten, 12, 0, 10},
        {"share 0", ten, 0, 0, 0},
        {"a negative share gives none", ten, -1, 0, 0},
        {"a negative share of per gives none", ten, -2, 3, 0},
        {"no rows", {}, 1, 3, 0},
    };
    for (const Case& c : cases) {
        std::vector<ResultRow> rows = Ranked(c.totals);
        EXPECT_EQ(PrizeWinners(rows, c.share, c.per), c.winners) << c.what;
        EXPECT_EQ(DistributePrizes(rows, c.share, c.per, 5000, false), c.winners) << c.what;
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].prizeFlag, i < static_cast<size_t>(c.winners) ? 1 : 0) << c.what << " row " << i;
    }
}

TEST(PrizeMoneyTest, SharedByScoreMargins)
{
    struct Case {
        const char* what;
        std::vector<int> totals;
        int kind;
        std::vector<std::string> names;
        int share, per, stake;
        std::vector<int> weights, amounts;
    };
    const Case cases[] = {
        // 50.00 stakes of ten; the winner clear of second by more than the
        // rounding takes what is left.
        {"margins of one ring", {1000, 990, 980, 970, 960, 950, 940, 930, 920, 910}, kRankTotal, {}, 1, 3, 5000,
         {12, 8, 5, 3}, {17900, 13600, 10300, 8200}},
        // Nothing beyond the stakes: everybody gets the stake back.
        {"four sharing first place", {950, 950, 950, 950}, kRankTotal, {}, 1, 3, 5000, {2, 2, 2, 2},
         {5000, 5000, 5000, 5000}},
        // By name, Bjørn (95.0) is below Anne (80.0): a margin never counts
        // against a row, so nothing goes negative.
        {"in name order", {800, 950, 900, 990}, kRankName, {"Anne", "Bj\xF8rn", "Cato", "Dag"}, 1, 2, 5000, {3, 3},
         {10000, 10000}},
    };
    for (const Case& c : cases) {
        std::vector<ResultRow> rows = Ranked(c.totals, c.kind, c.names);
        std::vector<int> weights;
        const int winners = DistributePrizes(rows, c.share, c.per, c.stake, false, &weights);
        EXPECT_EQ(weights, c.weights) << c.what;
        EXPECT_EQ(Amounts(rows, winners), c.amounts) << c.what;
    }
}

// Rounded up by 40 hundredths each, these five would be paid 69.00 of a
// pool of 67.50; without the rounding they stay within it.
TEST(PrizeMoneyTest, NeverPaysOutMoreThanThePool)
{
    std::vector<ResultRow> rows = Ranked({983, 975, 969, 940, 913, 903, 903, 902, 901});
    const int winners = DistributePrizes(rows, 1, 2, 750, false);
    EXPECT_EQ(winners, 5);
    // The winner, clear of second place, takes the 2.50 left.
    EXPECT_EQ(Amounts(rows, winners), (std::vector<int>{2050, 1500, 1300, 1100, 800}));
    EXPECT_EQ(Paid(rows), 9 * 750);
}

TEST(PrizeMoneyTest, TimesLowerFirstAddToTheWeight)
{
    // Kind 8 rows: series figure 1 seconds, 0 hundredths; the faster row
    // weighs more by its margin.
    NameLookup lookup;
    std::vector<ResultRow> rows(3);
    const int seconds[] = {70, 60, 80};
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].series = {0, static_cast<uint16_t>(seconds[i])};
        rows[i].shooterRow = static_cast<int16_t>(i);
    }
    RowRanking(RankingRules{}, lookup).Sort(rows, kRankTime);
    std::vector<int> weights;
    ASSERT_EQ(DistributePrizes(rows, 2, 0, 1000, true, &weights), 2);
    // Last winner 3 / 2 + 1 = 2; the winner adds (0 + 5) / 10 + 1 = 1, the
    // ten seconds plus 1, and 2 for first place.
    EXPECT_EQ(weights, (std::vector<int>{16, 2}));
    EXPECT_EQ(rows[0].shooterRow, 1);
}

TEST(PrizeMoneyTest, SharedAfterThePrizeTable)
{
    struct Case {
        const char* what;
        std::vector<int> totals;
        int share, per, stake;
        std::vector<int> amounts;
    };
    const Case cases[] = {
        {"four rows", {950, 940, 930, 920}, 1, 3, 5000, {15000, 5000}},
        // The first two hold places 1 and 2 together: (360 + 240) / 2 each.
        {"seven, the first two tied", {950, 950, 930, 920, 910, 900, 890}, 1, 3, 5000, {15000, 15000, 5000}},
        // Three tied for the last prize place share what places 3, 4 and 5
        // pay (160, and 0 for the two beyond the row) of a stake of 25.00;
        // the hundredth left over goes to the winner.
        {"nine, three tied at third", {950, 940, 930, 930, 930, 900, 890, 880, 870}, 1, 3, 2500,
         {10501, 8000, 1333, 1333, 1333}},
        {"share 0", {950, 940, 930}, 0, 0, 5000, {}},
    };
    for (const Case& c : cases) {
        std::vector<ResultRow> rows = Ranked(c.totals);
        const int winners = PrizeWinners(rows, c.share, c.per);
        DistributeTablePrizes(rows, c.share, c.per, c.stake);
        EXPECT_EQ(Amounts(rows, winners), c.amounts) << c.what;
        EXPECT_LE(Paid(rows), static_cast<int64_t>(rows.size()) * c.stake) << c.what;
    }
}

// Random rows of few distinct totals (many ties) and random shoot-offs,
// ranked by total or by name, shared by either function.
TEST(PrizeMoneyTest, RandomRowsKeepTheRules)
{
    std::mt19937 random(20260517);
    for (int round = 0; round < 400; ++round) {
        const int n = std::uniform_int_distribution<int>(1, 40)(random);
        std::vector<int> totals;
        std::vector<std::string> names;
        std::vector<int16_t> shootOffs;
        for (int i = 0; i < n; ++i) {
            totals.push_back(900 + 5 * std::uniform_int_distribution<int>(0, 8)(random));
            names.push_back(std::string(1, static_cast<char>('A' + std::uniform_int_distribution<int>(0, 25)(random))));
            shootOffs.push_back(static_cast<int16_t>(std::uniform_int_distribution<int>(0, 5)(random) < 4
                                                         ? 0
                                                         : std::uniform_int_distribution<int>(1, 3)(random)));
        }
        const int kind = round % 3 == 0 ? kRankName : kRankDfs;
        std::vector<ResultRow> rows = Ranked(totals, kind, names, shootOffs);
        const int stake = std::uniform_int_distribution<int>(0, 100)(random) * 50;
        const int share = std::uniform_int_distribution<int>(0, 2)(random);
        const int per = std::uniform_int_distribution<int>(0, 5)(random);
        const bool table = round % 2 == 1;
        if (table)
            DistributeTablePrizes(rows, share, per, stake);
        else
            DistributePrizes(rows, share, per, stake, false);

        const std::string what = "round " + std::to_string(round);
        for (size_t i = 0; i < rows.size(); ++i) {
            const ResultRow& row = rows[i];
            EXPECT_GE(row.prizeAmount, 0) << what;
            if (i == 0) {
                EXPECT_EQ(row.place, 1) << what;
                EXPECT_EQ(row.sharedPlace, 0) << what;
                continue;
            }
            const ResultRow& before = rows[i - 1];
            EXPECT_GE(row.place, before.place) << what;
            EXPECT_GE(row.finalPlace, before.finalPlace) << what;
            EXPECT_EQ(row.sharedPlace != 0, row.place == before.place && row.shootOff == before.shootOff)
                << what << " row " << i;
            if (row.sharedPlace != 0) {
                EXPECT_EQ(row.prizeAmount, before.prizeAmount) << what << " row " << i;
                EXPECT_EQ(row.prizeFlag, before.prizeFlag) << what << " row " << i;
            }
        }
        EXPECT_LE(Paid(rows), static_cast<int64_t>(n) * stake) << what;
    }
}

TEST(StakePrizeTableTest, ThePrintedRowsAsTheyStand)
{
    const std::map<int, std::vector<int>> printed = {
        {1, {100}},
        {2, {200}},
        {3, {300}},
        {4, {300, 100}},
        {5, {350, 150}},
        {6, {360, 240}},
        {7, {360, 240, 100}},
        {8, {400, 270, 130}},
        {9, {420, 320, 160}},
        {10, {420, 320, 160, 100}},
        {11, {440, 350, 185, 125}},
        {20, {560, 475, 305, 235, 185, 130, 110}},
        {50, {850, 750, 530, 445, 373, 285, 255, 225, 185, 175, 165, 155, 143, 128, 120, 112, 104}},
        {100, {1180, 968, 731, 617, 535, 442, 408, 370, 330, 318, 297, 283, 267, 251, 229, 214, 205,
               195,  187, 181, 169, 159, 151, 143, 137, 131, 127, 123, 119, 115, 109, 106, 103, 100}},
        {209, {1675, 1309, 1066, 945, 858, 762, 716, 647, 578, 535, 480, 463, 441, 419, 375, 350, 338, 326,
               314,  290,  269,  258, 250, 242, 235, 228, 224, 218, 213, 206, 193, 190, 186, 182, 180, 176,
               173,  170,  167,  165, 163, 161, 157, 155, 151, 149, 146, 144, 142, 140, 138, 136, 134, 132,
               130,  128,  126,  124, 122, 120, 118, 116, 114, 112, 110, 108, 106, 104, 102, 100}},
    };
    for (const auto& [n, shares] : printed) {
        EXPECT_EQ(StakePrizeRow(n), shares) << n;
        for (size_t i = 0; i < shares.size(); ++i)
            EXPECT_EQ(StakePrizeShare(n, static_cast<int>(i) + 1), shares[i]) << n;
    }
}

// Every row pays out its pool in ceil(n / 3) shares, none above the one
// before it, none below one; beyond the row's shares a place gets nothing.
TEST(StakePrizeTableTest, EveryRowKeepsTheRules)
{
    std::vector<int> ns;
    for (int n = 0; n <= 210; ++n)
        ns.push_back(n);
    for (int n : {211, 300, 1000, 5000})
        ns.push_back(n);
    for (int n : ns) {
        const std::vector<int> row = StakePrizeRow(n);
        ASSERT_EQ(row.size(), static_cast<size_t>((n + 2) / 3)) << n;
        EXPECT_EQ(std::accumulate(row.begin(), row.end(), int64_t{0}), int64_t{n} * 100) << n;
        for (size_t i = 0; i < row.size(); ++i) {
            EXPECT_GE(row[i], 1) << n << " place " << i + 1;
            if (i > 0)
                EXPECT_LE(row[i], row[i - 1]) << n << " place " << i + 1;
            EXPECT_EQ(StakePrizeShare(n, static_cast<int>(i) + 1), row[i]) << n;
        }
        EXPECT_EQ(StakePrizeShare(n, static_cast<int>(row.size()) + 1), 0) << n;
        EXPECT_EQ(StakePrizeShare(n, 0), 0) << n;
    }
    EXPECT_TRUE(StakePrizeRow(-1).empty());
}

}  // namespace
