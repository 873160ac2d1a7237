#include "results/lists/classlists/ClassListCells.h"

#include "results/lists/ListBuild.h"
#include "results/lists/ranking/RowRanking.h"

namespace results {

std::string ClassListResult(int rule, bool hitSeries, bool decimal, const ResultRow& row, int points)
{
    const int s0 = SeriesFigure(row, 0), s1 = SeriesFigure(row, 1);
    auto withPoints = [points](int value) {
        return points < 0 ? Format("%d", value) : Format("%d(%d)", value, points);
    };
    switch (rule) {
    case kRuleDfsField:
        return hitSeries ? Format("%d/%d", s1, s0) : Format("%d", s1);
    case kRuleTime:
        return Format("%d.%02d", s1, s0);
    case kRuleHuntingField:
        return withPoints(3 * s1 + 2 * s0);
    case kRulePistolField:
        return withPoints(s1 + s0);
    default: {
        const int total = RankingFigure(row, 1);
        return decimal ? Format("%d,%d", total / 10, total % 10) : Format("%d", total / 10);
    }
    }
}

}  // namespace results
