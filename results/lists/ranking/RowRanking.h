#pragma once
// The one order of every ranked list of BVRes: the comparison of two result
// rows under a ranking kind, with the criteria and tie-breaks of the
// shooting organisations' ranking rules, and the sort that orders the rows
// and numbers their places. Rows that the comparison finds equal share the
// place of the first of them; a shoot-off value (smaller first, none last)
// separates their final places.
//
// The comparison sees the rows' figures (ListRows.h) and asks a lookup for
// what the rows do not carry: a shooter's name, and what the shooter's card
// holds (points of a series, the count-back of a series). What it needs of
// the event is read once, as RankingRules, before a sort.
#include "results/lists/ListRows.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace results {

// Ranking kinds; 3 to 10 are an event's ranking rule (EventResultType 0
// to 7) plus 3.
enum RankingKind : int {
    kRankTotal = 0,
    kRankName = 1,
    kRankFinalSum = 2,         // the prize option "Sluttsum"
    kRankDfs = 3,              // "DFS Tierregel"
    kRankIssfSeries = 4,       // "ISSF Seriesum + Tier"
    kRankIssfPistol = 5,       // "ISSF Pistol 25m"
    kRankElgbane = 6,          // "NJFF Elgbane"
    kRankDfsField = 7,         // "DFS Felt"
    kRankTime = 8,             // "Tid"
    kRankHuntingField = 9,     // "NJFF Jaktfelt"
    kRankPistolField = 10,     // "NSF Feltpistol"
};

// The ranking rules (an event's result type, 0..7) whose results are not
// rings, which the lists show and rank apart.
enum RankingRule : int {
    kRuleDfsField = 4,      // hits and inner hits
    kRuleTime = 5,
    kRuleHuntingField = 6,  // 3 points a hit, 2 an inner hit
    kRulePistolField = 7,   // hits and inner hits, counted alike
};

// The kind of a ranking rule (an event's result type): 3..10, or 0 for a
// value outside 0..7.
int RankingKindOfRule(int rule);

// Series types of the value systems that the comparison looks for.
inline constexpr int kHitSeriesType = 7;
inline constexpr int kPointsSeriesType = 10;

// What the comparison needs of the list's event (or team competition).
struct RankingRules {
    // Kind 2 ("Sluttsum") under the figures rule of field events: 0 none
    // (the total decides), 1 series figure 1, 2 series figure 1 then 0.
    int figuresRule = 0;
    // Types of the event's series 1..CompEventSeries (entry 0 unused);
    // empty without an event.
    std::vector<int> seriesTypes;
    // The count-back of combined lists of a final (list kind 11, event
    // kind 4); the comparison checks the ranking kind and the place itself.
    bool finalRule = false;

    int SeriesCount() const { return seriesTypes.empty() ? 0 : static_cast<int>(seriesTypes.size()) - 1; }
    // The event's last series is a points series.
    bool LastIsPoints() const { return SeriesCount() > 0 && seriesTypes.back() == kPointsSeriesType; }
};

// What a row refers to beyond its figures, by the row's shooter-row field.
class RankingLookup {
public:
    virtual ~RankingLookup() = default;
    // The name the order by name compares (Windows-1252).
    virtual std::string_view Name(int shooterRow) = 0;
    // The points of card series s on the row's card: its sum / 1000.
    virtual int SeriesPoints(int shooterRow, int series) = 0;
    // The shots of card series s on the shooter's card in the event, each
    // counted value / 10 counted into buckets 0..11; all 0 without a card.
    virtual std::array<int, 12> RingCounts(int shooterRow, int series) = 0;
};

class RowRanking {
public:
    RowRanking(RankingRules rules, RankingLookup& lookup) : m_rules(std::move(rules)), m_lookup(lookup) {}

    // > 0 when a ranks ahead of b, < 0 when b does, 0 when equal. place is
    // the place (from 1) the sort is deciding; only the final rule reads it.
    int Compare(const ResultRow& a, const ResultRow& b, int kind, int place);
    // a's count minus b's at the highest ring value (11 down to 1) where
    // the count-back of series differs, as 16 bits; 0 when none does.
    int CompareRingCounts(const ResultRow& a, const ResultRow& b, int series);
    // Orders the rows by selection sort, the shoot-off values deciding
    // between equal rows, and writes place, final place and shared-place
    // flag. Not a library sort: under kinds 7, 9 and 10 two rows without
    // series figures are never equal, so the comparison is no strict weak
    // order, and the selection sort keeps such rows in their order.
    void Sort(std::vector<ResultRow>& rows, int kind);

private:
    int TieBreak(const ResultRow& a, const ResultRow& b, int kind, bool& final);
    int FinalRule(const ResultRow& a, const ResultRow& b);

    const RankingRules m_rules;
    RankingLookup& m_lookup;
};

// A row's place as the result lists print it: the final place, followed by
// "eo" when a shoot-off decided it (the row has a shoot-off value or its
// final place differs from its place by score).
std::string PlaceText(const ResultRow& row);

// Figure i of a row; 0 beyond its array.
inline int RankingFigure(const ResultRow& row, int i)
{
    return i >= 0 && static_cast<size_t>(i) < row.ranking.size() ? row.ranking[static_cast<size_t>(i)] : 0;
}
inline int SeriesFigure(const ResultRow& row, int i)
{
    return i >= 0 && static_cast<size_t>(i) < row.series.size() ? row.series[static_cast<size_t>(i)] : 0;
}

}  // namespace results
