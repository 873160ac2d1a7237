// The comparison of result rows under every ranking kind, the sort with
// its shared places and shoot-offs, and the place text, on rows built here
// and a lookup that answers for names and cards.
#include "results/lists/ranking/RowRanking.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace row_ranking_test {

using namespace results;

// Names, points of a series and count-backs of a series, by shooter row.
class FakeLookup : public RankingLookup {
public:
    std::map<int, std::string> names;
    std::map<std::pair<int, int>, int> points;
    std::map<std::pair<int, int>, std::array<int, 12>> rings;

    std::string_view Name(int row) override { return names[row]; }
    int SeriesPoints(int row, int series) override { return points[{row, series}]; }
    std::array<int, 12> RingCounts(int row, int series) override { return rings[{row, series}]; }
};

// Ranking figures: inner tens, total, counts of tens down to ones (from
// index 2), below one, then (inner tens, sum) per series.
struct Figures {
    int inner = 0;
    int total = 0;
    std::vector<int> counts;
    int below = 0;
    std::vector<std::pair<int, int>> series;
};

ResultRow Row(const Figures& f, RowFigures seriesFigures = {}, int shooterRow = 0)
{
    ResultRow row;
    row.ranking.assign(13, 0);
    row.ranking[0] = f.inner;
    row.ranking[1] = f.total;
    for (size_t i = 0; i < f.counts.size(); ++i)
        row.ranking[2 + i] = f.counts[i];
    row.ranking[12] = f.below;
    for (auto [inner, sum] : f.series) {
        row.ranking.push_back(inner);
        row.ranking.push_back(sum);
    }
    row.series = std::move(seriesFigures);
    row.shooterRow = static_cast<int16_t>(shooterRow);
    return row;
}

int Sign(int v) { return (v > 0) - (v < 0); }

struct CompareCase {
    const char* what;
    int kind;
    ResultRow a, b;
    int expected;  // +1 a first, -1 b first, 0 equal
    RankingRules rules = {};
    int place = 1;
    bool symmetric = true;  // the reverse pair gives the opposite
};

// Points series last: series 1 a hit series, series 2 and 3 points.
RankingRules PointsLast()
{
    RankingRules rules;
    rules.seriesTypes = {0, kHitSeriesType, kPointsSeriesType, kPointsSeriesType};
    return rules;
}

RankingRules FiguresRule(int rule)
{
    RankingRules rules;
    rules.figuresRule = rule;
    return rules;
}

TEST(RowRankingTest, EveryKindAsItsRuleOrders)
{
    FakeLookup lookup;
    lookup.names = {{0, "Anne"}, {1, "Bjørn"}, {2, "Anne Berg"}, {3, "anne"}, {4, "\xC6r\xF8"}, {5, "Zed"}};
    // Kinds 9 and 10: the points of series 2 and 3 on each card.
    lookup.points = {{{0, 3}, 7}, {{1, 3}, 5}, {{0, 2}, 4}, {{1, 2}, 6}};

    const CompareCase cases[] = {
        // 0: the total only.
        {"kind 0 by total", 0, Row({.total = 951}), Row({.total = 950}), 1},
        {"kind 0 ignores inner tens", 0, Row({.inner = 3, .total = 950}), Row({.total = 950}), 0},
        // 1: names in byte order, whatever case or locale.
        {"kind 1 Anne before Bjørn", 1, Row({}, {}, 0), Row({}, {}, 1), 1},
        {"kind 1 a name's beginning first", 1, Row({}, {}, 2), Row({}, {}, 0), -1},
        {"kind 1 upper case before lower", 1, Row({}, {}, 3), Row({}, {}, 1), -1},
        {"kind 1 bytes above 127 last", 1, Row({}, {}, 4), Row({}, {}, 5), -1},
        {"kind 1 ignores totals", 1, Row({.total = 10}, {}, 0), Row({.total = 990}, {}, 0), 0},
        // 2: the final total, or under a figures rule the series figures.
        {"kind 2 by total", 2, Row({.total = 940}, {3, 20}), Row({.total = 950}, {0, 30}), -1},
        {"kind 2 no tie-breaks", 2, Row({.inner = 5, .total = 950}), Row({.total = 950}), 0},
        {"kind 2 figures: hits", 2, Row({.total = 10}, {0, 21}), Row({.total = 90}, {9, 20}), 1, FiguresRule(1)},
        {"kind 2 figures 1: inner hits not looked at", 2, Row({}, {9, 20}), Row({}, {1, 20}), 0, FiguresRule(1)},
        {"kind 2 figures 2: inner hits next", 2, Row({}, {9, 20}), Row({}, {1, 20}), 1, FiguresRule(2)},
        {"kind 2 figures: with figures first", 2, Row({}), Row({}, {0, 0}), -1, FiguresRule(2)},
        {"kind 2 figures: none on both is equal", 2, Row({.total = 990}), Row({.total = 10}), 0, FiguresRule(2)},
        // 3: inner tens, then tens, nines, ... ones.
        {"kind 3 total first", 3, Row({.inner = 9, .total = 949}), Row({.total = 950}), -1},
        {"kind 3 inner tens before tens", 3, Row({.inner = 2, .total = 950, .counts = {3}}),
         Row({.inner = 1, .total = 950, .counts = {6}}), 1},
        {"kind 3 then tens", 3, Row({.total = 950, .counts = {4, 3}}), Row({.total = 950, .counts = {5, 1}}), -1},
        {"kind 3 then the ones", 3, Row({.total = 950, .counts = {5, 0, 0, 0, 0, 0, 0, 0, 0, 1}}),
         Row({.total = 950, .counts = {5}}), 1},
        {"kind 3 every count equal", 3, Row({.inner = 1, .total = 950, .counts = {5, 4}}),
         Row({.inner = 1, .total = 950, .counts = {5, 4}}), 0},
        // 4: series sums from the last, below one, the counts, inner tens last.
        {"kind 4 last series before tens", 4, Row({.total = 950, .counts = {0}, .series = {{0, 450}, {0, 500}}}),
         Row({.total = 950, .counts = {9}, .series = {{0, 500}, {0, 450}}}), 1},
        {"kind 4 shots below one before counts", 4, Row({.total = 950, .counts = {9}, .below = 0, .series = {{0, 950}}}),
         Row({.total = 950, .counts = {0}, .below = 1, .series = {{0, 950}}}), -1},
        {"kind 4 counts when the sums are equal", 4, Row({.inner = 0, .total = 950, .counts = {6}, .series = {{0, 950}}}),
         Row({.inner = 5, .total = 950, .counts = {5}, .series = {{0, 950}}}), 1},
        {"kind 4 inner tens last", 4, Row({.inner = 1, .total = 950, .counts = {5}, .series = {{1, 950}}}),
         Row({.total = 950, .counts = {5}, .series = {{0, 950}}}), 1},
        {"kind 4 series of the shorter row only", 4,
         Row({.total = 950, .series = {{0, 500}, {0, 450}, {0, 999}}}),
         Row({.total = 950, .series = {{0, 450}, {0, 500}}}), -1},
        // 5: pairs of series sums from the last; never pairs two shot counts.
        {"kind 5 two series: their sum, then counts", 5, Row({.total = 190, .counts = {2}, .series = {{0, 95}, {0, 95}}}),
         Row({.total = 190, .counts = {3}, .series = {{0, 90}, {0, 100}}}), -1},
        {"kind 5 three series: the last two first", 5,
         Row({.total = 280, .counts = {0}, .series = {{0, 90}, {0, 95}, {0, 95}}}),
         Row({.total = 280, .counts = {5}, .series = {{0, 100}, {0, 90}, {0, 90}}}), 1},
        {"kind 5 four series: equal pairs are equal", 5,
         Row({.total = 380, .series = {{0, 80}, {0, 100}, {0, 100}, {0, 100}}}),
         Row({.total = 380, .series = {{0, 90}, {0, 90}, {0, 100}, {0, 100}}}), 0},
        {"kind 5 six series: the last two, then the two before them", 5,
         Row({.total = 590, .series = {{0, 100}, {0, 100}, {0, 90}, {0, 100}, {0, 100}, {0, 100}}}),
         Row({.total = 590, .series = {{0, 95}, {0, 95}, {0, 100}, {0, 100}, {0, 100}, {0, 100}}}), -1},
        {"kind 5 four series: counts, not below one with twos", 5,
         Row({.total = 380, .counts = {3}, .series = {{0, 90}, {0, 90}, {0, 100}, {0, 100}}}),
         Row({.total = 380, .counts = {2, 0, 0, 0, 0, 0, 0, 0, 9}, .below = 1,
              .series = {{0, 90}, {0, 90}, {0, 100}, {0, 100}}}),
         1},
        {"kind 5 inner tens last", 5, Row({.inner = 0, .total = 190, .series = {{0, 95}, {0, 95}}}),
         Row({.inner = 2, .total = 190, .series = {{1, 95}, {1, 95}}}), -1},
        // 6: inner tens, then every figure from the last down to below one.
        {"kind 6 inner tens first", 6, Row({.inner = 1, .total = 950, .series = {{1, 450}, {0, 500}}}),
         Row({.total = 950, .series = {{0, 500}, {0, 450}}}), 1},
        {"kind 6 last series sum, then its inner tens", 6, Row({.total = 950, .series = {{0, 500}, {1, 450}}}),
         Row({.total = 950, .series = {{1, 450}, {0, 500}}}), -1},
        {"kind 6 a's figures, b's beyond its array read 0", 6, Row({.total = 950, .series = {{0, 950}, {0, 1}}}),
         Row({.total = 950, .series = {{0, 950}}}), 1, {}, 1, false},
        // 7: hits, inner hits; then hits per series from the last, inner hits from the last.
        {"kind 7 with figures first", 7, Row({.total = 0}), Row({.total = 0}, {0, 0}), -1},
        {"kind 7 hits", 7, Row({}, {0, 20, 10, 0, 10, 0}), Row({}, {9, 19, 9, 4, 10, 5}), 1},
        {"kind 7 inner hits", 7, Row({}, {5, 20, 10, 2, 10, 3}), Row({}, {4, 20, 10, 4, 10, 0}), 1},
        {"kind 7 last series' hits first", 7, Row({}, {5, 20, 11, 2, 9, 3}), Row({}, {5, 20, 9, 2, 11, 3}), -1},
        {"kind 7 then the last series' inner hits", 7, Row({}, {5, 20, 10, 3, 10, 2}), Row({}, {5, 20, 10, 2, 10, 3}),
         -1},
        {"kind 7 equal", 7, Row({}, {5, 20, 10, 3, 10, 2}), Row({}, {5, 20, 10, 3, 10, 2}), 0},
        // 8: the smaller time first; without a time last.
        {"kind 8 smaller seconds", 8, Row({}, {99, 61}), Row({}, {0, 62}), 1},
        {"kind 8 then hundredths", 8, Row({}, {45, 61}), Row({}, {44, 61}), -1},
        {"kind 8 without a time last", 8, Row({.total = 999}), Row({}, {0, 300}), -1},
        {"kind 8 two without are equal", 8, Row({.total = 999}), Row({.total = 1}), 0},
        // 9: 3 x hits + 2 x inner hits, per series from the last, then the last series' points.
        {"kind 9 weighs hits and inner hits", 9, Row({}, {3, 10}), Row({}, {0, 11}), 1},
        {"kind 9 per series from the last", 9, Row({}, {2, 10, 5, 1, 5, 1}), Row({}, {2, 10, 4, 1, 6, 1}), -1},
        {"kind 9 the last series' points", 9, Row({}, {2, 10, 10, 2}, 0), Row({}, {2, 10, 10, 2}, 1), 1, PointsLast()},
        {"kind 9 no points series", 9, Row({}, {2, 10, 10, 2}, 0), Row({}, {2, 10, 10, 2}, 1), 0},
        // 10: hits + inner hits, per series, then the points series after them from the last.
        {"kind 10 hits plus inner hits", 10, Row({}, {3, 10}), Row({}, {0, 12}), 1},
        {"kind 10 per series from the last", 10, Row({}, {2, 10, 7, 0, 3, 2}), Row({}, {2, 10, 5, 0, 5, 2}), -1},
        {"kind 10 points: series 3, then 2", 10, Row({}, {2, 10, 10, 2}, 0), Row({}, {2, 10, 10, 2}, 1), 1,
         PointsLast()},
        // A row with fewer figures than 13 reads 0 beyond them.
        {"short array reads 0", 3, [] { ResultRow r; r.ranking = {0, 950}; return r; }(),
         Row({.total = 950, .counts = {1}}), -1},
    };
    for (const CompareCase& c : cases) {
        RowRanking ranking(c.rules, lookup);
        EXPECT_EQ(Sign(ranking.Compare(c.a, c.b, c.kind, c.place)), c.expected) << c.what;
        if (!c.symmetric)
            continue;
        // The reverse is the opposite, but for the never-equal pairs of kind 7.
        EXPECT_EQ(Sign(ranking.Compare(c.b, c.a, c.kind, c.place)), -c.expected) << c.what << " (reversed)";
    }

    // Kinds 7, 9 and 10 never find two rows without series figures equal.
    RowRanking ranking(RankingRules{}, lookup);
    for (int kind : {7, 9, 10}) {
        EXPECT_EQ(ranking.Compare(Row({.total = 10}), Row({.total = 20}), kind, 1), 1) << kind;
        EXPECT_EQ(ranking.Compare(Row({.total = 20}), Row({.total = 10}), kind, 1), 1) << kind;
    }
}

// The final's count-back for the first four places of a combined list:
// last series sum and inner tens, ring counts of series 4, then series 2,
// 3 and 1 each by sum, inner tens and rings.
TEST(RowRankingTest, TheFinalRuleCountsBack)
{
    FakeLookup lookup;
    RankingRules rules;
    rules.finalRule = true;
    RowRanking ranking(rules, lookup);
    const Figures equal{.total = 400, .series = {{1, 100}, {1, 100}, {1, 100}, {1, 100}}};
    auto with = [&](std::vector<std::pair<int, int>> series) {
        Figures f = equal;
        f.series = std::move(series);
        return f;
    };
    struct Case {
        const char* what;
        ResultRow a, b;
        int expected;
    };
    const auto rings = [](int tens, int nines) {
        std::array<int, 12> r{};
        r[10] = tens;
        r[9] = nines;
        return r;
    };
    lookup.rings[{0, 4}] = rings(3, 0);
    lookup.rings[{1, 4}] = rings(2, 2);
    lookup.rings[{2, 4}] = rings(3, 0);
    lookup.rings[{2, 2}] = rings(1, 0);
    lookup.rings[{3, 4}] = rings(3, 0);
    const Case cases[] = {
        {"last series sum", Row(with({{1, 102}, {1, 100}, {1, 100}, {1, 98}}), {}, 0),
         Row(with({{1, 98}, {1, 100}, {1, 100}, {1, 102}}), {}, 1), -1},
        {"its inner tens", Row(with({{1, 100}, {1, 100}, {1, 100}, {2, 100}}), {}, 0), Row(equal, {}, 1), 1},
        {"series 4 ring by ring", Row(equal, {}, 0), Row(equal, {}, 1), 1},
        {"then series 2's sum before series 3's", Row(with({{1, 100}, {1, 99}, {1, 101}, {1, 100}}), {}, 2),
         Row(with({{1, 100}, {1, 101}, {1, 99}, {1, 100}}), {}, 3), -1},
        {"series 2's rings", Row(equal, {}, 2), Row(equal, {}, 3), 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(ranking.Compare(c.a, c.b, kRankDfs, 4)), c.expected) << c.what;
        EXPECT_EQ(Sign(ranking.Compare(c.b, c.a, kRankDfs, 4)), -c.expected) << c.what;
    }
    // Only for places 1 to 4, only kind 3, only where the rule applies.
    EXPECT_EQ(ranking.Compare(Row(equal, {}, 0), Row(equal, {}, 1), kRankDfs, 5), 0);
    EXPECT_EQ(ranking.Compare(Row(equal, {}, 0), Row(equal, {}, 1), kRankIssfSeries, 1), 0);
    RowRanking without(RankingRules{}, lookup);
    EXPECT_EQ(without.Compare(Row(equal, {}, 0), Row(equal, {}, 1), kRankDfs, 1), 0);
    // The count-back's difference is the count at the highest differing ring.
    EXPECT_EQ(ranking.CompareRingCounts(Row(equal, {}, 0), Row(equal, {}, 1), 4), 1);
    EXPECT_EQ(ranking.CompareRingCounts(Row(equal, {}, 1), Row(equal, {}, 0), 4), -1);
    EXPECT_EQ(ranking.CompareRingCounts(Row(equal, {}, 0), Row(equal, {}, 2), 4), 0);
}

struct SortCase {
    const char* what;
    int kind;
    std::vector<ResultRow> rows;          // shooter row = position given
    std::vector<int16_t> shootOffs;
    std::vector<int> order;               // shooter rows after the sort
    std::vector<int> places, finals, shared;
};

TEST(RowRankingTest, SortsAndPlaces)
{
    FakeLookup lookup;
    auto totals = [](std::vector<int> values) {
        std::vector<ResultRow> rows;
        for (int v : values)
            rows.push_back(Row({.total = v}, {}, static_cast<int>(rows.size())));
        return rows;
    };
    auto times = [](std::vector<RowFigures> values) {
        std::vector<ResultRow> rows;
        for (RowFigures& v : values)
            rows.push_back(Row({}, std::move(v), static_cast<int>(rows.size())));
        return rows;
    };
    const SortCase cases[] = {
        {"no rows", 0, {}, {}, {}, {}, {}, {}},
        {"one row", 3, totals({950}), {0}, {0}, {1}, {1}, {0}},
        {"three equal, no shoot-offs", 3, totals({950, 950, 950}), {0, 0, 0}, {0, 1, 2}, {1, 1, 1}, {1, 1, 1}, {0, 1, 1}},
        {"three equal, shoot-offs 2, 1, 0", 3, totals({950, 950, 950}), {2, 1, 0}, {1, 0, 2}, {1, 1, 1}, {1, 2, 3},
         {0, 0, 0}},
        {"a shoot-off among a tie of four", 0, totals({940, 950, 950, 950, 960}), {0, 0, 1, 0, 0}, {4, 2, 1, 3, 0},
         {1, 2, 2, 2, 5}, {1, 2, 3, 3, 5}, {0, 0, 0, 1, 0}},
        {"shoot-offs only where the scores tie", 0, totals({900, 950}), {1, 2}, {1, 0}, {1, 2}, {1, 2}, {0, 0}},
        {"kind 7 without figures keeps order, own places", 7, totals({10, 20}), {0, 0}, {0, 1}, {1, 2}, {1, 2}, {0, 0}},
        {"kind 8 without a time last, sharing", 8, times({{}, {50, 60}, {}, {10, 60}}), {0, 0, 0, 0}, {3, 1, 2, 0},
         {1, 2, 3, 3}, {1, 2, 3, 3}, {0, 0, 0, 1}},
    };
    for (const SortCase& c : cases) {
        std::vector<ResultRow> rows = c.rows;
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i].shootOff = c.shootOffs[i];
        RowRanking(RankingRules{}, lookup).Sort(rows, c.kind);
        std::vector<int> order, places, finals, shared;
        for (const ResultRow& r : rows) {
            order.push_back(r.shooterRow);
            places.push_back(r.place);
            finals.push_back(r.finalPlace);
            shared.push_back(r.sharedPlace);
        }
        EXPECT_EQ(order, c.order) << c.what;
        EXPECT_EQ(places, c.places) << c.what;
        EXPECT_EQ(finals, c.finals) << c.what;
        EXPECT_EQ(shared, c.shared) << c.what;
    }
}

TEST(RowRankingTest, PlaceTextsAsListsPrintThem)
{
    struct Case {
        int16_t place, finalPlace, shootOff;
        const char* text;
    };
    for (const Case& c : {Case{1, 1, 0, "1"}, Case{1, 1, 1, "1eo"}, Case{1, 2, 0, "2eo"}, Case{3, 4, 2, "4eo"}}) {
        ResultRow row;
        row.place = c.place;
        row.finalPlace = c.finalPlace;
        row.shootOff = c.shootOff;
        EXPECT_EQ(PlaceText(row), c.text);
    }
}

TEST(RowRankingTest, KindsOfRules)
{
    for (int rule = 0; rule <= 7; ++rule)
        EXPECT_EQ(RankingKindOfRule(rule), rule + 3);
    EXPECT_EQ(RankingKindOfRule(8), 0);
    EXPECT_EQ(RankingKindOfRule(-1), 0);
}

}  // namespace row_ranking_test
