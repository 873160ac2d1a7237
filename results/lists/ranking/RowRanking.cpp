#include "results/lists/ranking/RowRanking.h"

#include "results/data/ResStrings.h"

#include <algorithm>
#include <cstdio>

namespace results {
namespace {

int Figure(const ResultRow& row, int i) { return RankingFigure(row, i); }
int S(const ResultRow& row, int i) { return SeriesFigure(row, i); }
int Size(const RowFigures& figures) { return static_cast<int>(figures.size()); }

// b's name against a's, byte by byte as unsigned values: names come in
// ascending byte order, whatever the locale or letter case; a name that is
// the beginning of the other is the smaller.
int CompareNames(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca != cb)
            return cb - ca;
    }
    return b.size() > a.size() ? 1 : b.size() < a.size() ? -1 : 0;
}

// The rows' order by their series figures, or -2 when both have some:
// a row with series figures ranks ahead of one without.
int ByPresence(const ResultRow& a, const ResultRow& b)
{
    const bool aHas = !a.series.empty(), bHas = !b.series.empty();
    if (aHas == bHas)
        return aHas ? -2 : 0;
    return aHas ? 1 : -1;
}

}  // namespace

int RankingKindOfRule(int rule) { return rule >= 0 && rule <= 7 ? rule + 3 : kRankTotal; }

int RowRanking::Compare(const ResultRow& a, const ResultRow& b, int kind, int place)
{
    if (kind == kRankName)
        return CompareNames(m_lookup.Name(a.shooterRow), m_lookup.Name(b.shooterRow));

    int d = 0;
    if (kind == kRankFinalSum && m_rules.figuresRule != 0) {
        const int presence = ByPresence(a, b);
        if (presence != -2 && presence != 0)
            return presence;
        if (presence == -2) {
            if ((d = S(a, 1) - S(b, 1)) != 0)
                return d;
            if (m_rules.figuresRule == 2 && (d = S(a, 0) - S(b, 0)) != 0)
                return d;
        }
    } else if (kind == kRankDfsField || kind == kRankHuntingField || kind == kRankPistolField) {
        const int presence = ByPresence(a, b);
        if (presence == 0)
            return 1;  // never equal: the sort keeps their order, and they get places of their own
        if (presence != -2)
            return presence;
        if (kind == kRankDfsField) {
            if ((d = S(a, 1) - S(b, 1)) != 0 || (d = S(a, 0) - S(b, 0)) != 0)
                return d;
        } else if (kind == kRankHuntingField) {
            if ((d = 3 * S(a, 1) + 2 * S(a, 0) - 3 * S(b, 1) - 2 * S(b, 0)) != 0)
                return d;
        } else if ((d = S(a, 0) + S(a, 1) - S(b, 0) - S(b, 1)) != 0) {
            return d;
        }
    } else if (kind == kRankTime) {
        // The smaller time first; a row without a time after every row with one.
        const int presence = ByPresence(a, b);
        if (presence != -2)
            return presence;
        if ((d = S(b, 1) - S(a, 1)) != 0 || (d = S(b, 0) - S(a, 0)) != 0)
            return d;
    } else if ((d = Figure(a, 1) - Figure(b, 1)) != 0) {
        return d;
    }

    bool final = true;
    if ((d = TieBreak(a, b, kind, final)) != 0 || !final)
        return d;
    if (m_rules.finalRule && kind == kRankDfs && place <= 4)
        return FinalRule(a, b);
    return 0;
}

// The tie-breaks of the kind; final is cleared when the kind's last
// criterion is its result, equal or not.
int RowRanking::TieBreak(const ResultRow& a, const ResultRow& b, int kind, bool& final)
{
    int d = 0;
    auto counts = [&]() {
        // Tens, nines, ..., ones.
        for (int i = 2; i <= 11; ++i)
            if ((d = Figure(a, i) - Figure(b, i)) != 0)
                return d;
        return 0;
    };
    switch (kind) {
    case kRankDfs:
        if ((d = Figure(a, 0) - Figure(b, 0)) != 0)
            return d;
        return counts();
    case kRankIssfSeries: {
        // The series sums from the last series back to the first, then the
        // shots below one ring; the counts; the inner tens last.
        const int m = std::min(Size(a.ranking), Size(b.ranking));
        for (int i = m - 1; i >= 12; i -= 2)
            if ((d = Figure(a, i) - Figure(b, i)) != 0)
                return d;
        if (counts() != 0)
            return d;
        final = false;
        return Figure(a, 0) - Figure(b, 0);
    }
    case kRankIssfPistol: {
        // The last two series sums together, then the two before them, ...
        // down to the first series: a pair never reaches below index 14,
        // where it would add up counts of shots.
        const int m = Size(a.ranking);
        for (int i = m - 1; i >= 14; i -= 4)
            if ((d = Figure(a, i) + Figure(a, i - 2) - Figure(b, i) - Figure(b, i - 2)) != 0)
                return d;
        if (counts() != 0)
            return d;
        final = false;
        return Figure(a, 0) - Figure(b, 0);
    }
    case kRankElgbane: {
        if ((d = Figure(a, 0) - Figure(b, 0)) != 0)
            return d;
        for (int i = Size(a.ranking) - 1; i >= 12; --i)
            if ((d = Figure(a, i) - Figure(b, i)) != 0)
                return d;
        return 0;
    }
    case kRankDfsField: {
        // Hits of each series from the last, then inner hits from the last.
        const int c = Size(a.series);
        for (int k = c - 2; k >= 2; k -= 2)
            if ((d = S(a, k) - S(b, k)) != 0)
                return d;
        for (int k = c - 1; k >= 3; k -= 2)
            if ((d = S(a, k) - S(b, k)) != 0)
                return d;
        return 0;
    }
    case kRankHuntingField: {
        const int c = Size(a.series);
        for (int k = c - 2; k >= 2; k -= 2)
            if ((d = 3 * S(a, k) + 2 * S(a, k + 1) - 3 * S(b, k) - 2 * S(b, k + 1)) != 0)
                return d;
        if (m_rules.LastIsPoints()) {
            const int last = m_rules.SeriesCount();
            return m_lookup.SeriesPoints(a.shooterRow, last) - m_lookup.SeriesPoints(b.shooterRow, last);
        }
        return 0;
    }
    case kRankPistolField: {
        const int c = Size(a.series);
        for (int k = c - 2; k >= 2; k -= 2)
            if ((d = S(a, k) + S(a, k + 1) - S(b, k) - S(b, k + 1)) != 0)
                return d;
        if (m_rules.LastIsPoints()) {
            // The points series after the last series with figures, from the last.
            const int s0 = (c - 2) / 2;
            int p = 0;
            for (int s = std::max(s0 + 1, 1); s <= m_rules.SeriesCount(); ++s)
                p += m_rules.seriesTypes[static_cast<size_t>(s)] == kPointsSeriesType;
            for (int s = s0 + p; s >= s0 + 1; --s)
                if ((d = m_lookup.SeriesPoints(a.shooterRow, s) - m_lookup.SeriesPoints(b.shooterRow, s)) != 0)
                    return d;
        }
        return 0;
    }
    default:
        return 0;
    }
}

// The final's count-back for the first four places of a combined list:
// the last series and its inner tens, then series 4, 2, 3 and 1, each by
// its sum, its inner tens and its shots ring by ring.
int RowRanking::FinalRule(const ResultRow& a, const ResultRow& b)
{
    const int e = Size(a.ranking) - 1;
    struct Step {
        int offset;  // a figure e - offset, or
        int series;  // the count-back of a series
    };
    static constexpr Step kSteps[] = {{0, 0}, {1, 0}, {0, 4}, {4, 0}, {5, 0}, {0, 2}, {2, 0},
                                      {3, 0}, {0, 3}, {6, 0}, {7, 0}, {0, 1}};
    for (const Step& step : kSteps) {
        const int d = step.series ? CompareRingCounts(a, b, step.series)
                                  : Figure(a, e - step.offset) - Figure(b, e - step.offset);
        if (d != 0)
            return d;
    }
    return 0;
}

int RowRanking::CompareRingCounts(const ResultRow& a, const ResultRow& b, int series)
{
    const std::array<int, 12> ca = m_lookup.RingCounts(a.shooterRow, series);
    const std::array<int, 12> cb = m_lookup.RingCounts(b.shooterRow, series);
    for (int v = 11; v >= 1; --v)
        if (ca[static_cast<size_t>(v)] != cb[static_cast<size_t>(v)])
            return static_cast<int16_t>(ca[static_cast<size_t>(v)] - cb[static_cast<size_t>(v)]);
    return 0;
}

void RowRanking::Sort(std::vector<ResultRow>& rows, int kind)
{
    const int n = static_cast<int>(rows.size());
    for (int i = 0; i + 1 < n; ++i) {
        int best = i;
        for (int j = i + 1; j < n; ++j) {
            const int c = Compare(rows[static_cast<size_t>(best)], rows[static_cast<size_t>(j)], kind, i + 1);
            if (c < 0) {
                best = j;
            } else if (c == 0) {
                // Equal: a shoot-off value ranks ahead of none, the smaller ahead of the larger.
                const int sb = rows[static_cast<size_t>(best)].shootOff, sj = rows[static_cast<size_t>(j)].shootOff;
                if ((sb == 0 && sj != 0) || (sb != 0 && sj != 0 && sb > sj))
                    best = j;
            }
        }
        if (best != i)
            std::swap(rows[static_cast<size_t>(i)], rows[static_cast<size_t>(best)]);
    }

    int16_t tiePlace = 0, finalPlace = 0;
    for (int j = 0; j < n; ++j) {
        ResultRow& row = rows[static_cast<size_t>(j)];
        const auto position = static_cast<int16_t>(j + 1);
        if (j == 0 || Compare(row, rows[static_cast<size_t>(j) - 1], kind, j + 1) != 0) {
            tiePlace = finalPlace = position;
            row.sharedPlace = 0;
        } else if (row.shootOff != rows[static_cast<size_t>(j) - 1].shootOff) {
            finalPlace = position;
            row.sharedPlace = 0;
        } else {
            row.sharedPlace = 1;
        }
        row.place = tiePlace;
        row.finalPlace = finalPlace;
    }
}

std::string PlaceText(const ResultRow& row)
{
    char text[48];
    if (row.shootOff == 0 && row.finalPlace == row.place)
        std::snprintf(text, sizeof text, "%d", row.finalPlace);
    else
        std::snprintf(text, sizeof text, "%d%s", row.finalPlace, ResString(IDS_SHOOT_OFF).c_str());
    return text;
}

}  // namespace results
