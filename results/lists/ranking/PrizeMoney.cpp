#include "results/lists/ranking/PrizeMoney.h"

#include "results/lists/ranking/RowRanking.h"
#include "results/lists/ranking/StakePrizeTable.h"

#include <algorithm>
#include <cmath>

namespace results {
namespace {

constexpr size_t kSharePartSize = 30;

// atoi on at most 30 characters, kept within int.
int PartNumber(const std::string& part)
{
    const std::string text = part.substr(0, kSharePartSize);
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    return static_cast<int>(negative ? -value : value);
}

// What rounding left of the pool goes to the winner, when the winner does
// not share first place and stays clear of the second winner by more.
void PayRemainder(std::vector<ResultRow>& rows, int winners, int64_t pool, int64_t paid)
{
    if (winners <= 1 || paid >= pool || rows[1].sharedPlace != 0)
        return;
    const int64_t left = pool - paid;
    if (rows[0].prizeAmount > rows[1].prizeAmount + left)
        rows[0].prizeAmount = static_cast<int32_t>(rows[0].prizeAmount + left);
}

}  // namespace

PrizeShare ParseShare(const std::string& text)
{
    const size_t slash = text.find('/');
    PrizeShare share;
    share.share = PartNumber(text.substr(0, slash));
    share.per = slash == std::string::npos ? 0 : PartNumber(text.substr(slash + 1));
    return share;
}

int PrizeWinners(const std::vector<ResultRow>& rows, int share, int per)
{
    const auto n = static_cast<int64_t>(rows.size());
    int64_t w = per > 0 ? (n * share + per - 1) / per : share;
    w = std::clamp<int64_t>(w, 0, n);
    while (w < n && rows[static_cast<size_t>(w)].sharedPlace != 0)
        ++w;
    return static_cast<int>(w);
}

int DistributePrizes(std::vector<ResultRow>& rows, int share, int per, int stake, bool timeRule,
                     std::vector<int>* weights)
{
    if (weights)
        weights->clear();
    const int w = PrizeWinners(rows, share, per);
    if (w == 0)
        return 0;
    const auto n = static_cast<int64_t>(rows.size());
    stake = std::max(stake, 0);
    const int64_t pool = n * stake;

    // From the last winner up: each row weighs what the row below it
    // weighs, plus its margins when it does not share its place. A margin
    // never counts against a row (orders not by total have rows below
    // with better scores).
    std::vector<int64_t> weight(static_cast<size_t>(w));
    int64_t h = n / w + 1, weightSum = 0;
    for (int i = w - 1; i >= 0; --i) {
        const ResultRow& row = rows[static_cast<size_t>(i)];
        if (i < w - 1 && rows[static_cast<size_t>(i) + 1].sharedPlace == 0) {
            const ResultRow& below = rows[static_cast<size_t>(i) + 1];
            int64_t step = (static_cast<int64_t>(RankingFigure(row, 1)) - RankingFigure(below, 1) + 5) / 10 + 1;
            if (!row.series.empty())
                step += timeRule ? SeriesFigure(below, 1) - SeriesFigure(row, 1) + 1
                                 : SeriesFigure(row, 1) - SeriesFigure(below, 1) + 1;
            if (i < 2)
                step += 2 - i;
            h += std::max<int64_t>(step, 0);
        }
        weight[static_cast<size_t>(i)] = h;
        weightSum += h;
    }
    const double factor = static_cast<double>(pool - w * static_cast<int64_t>(stake)) / static_cast<double>(weightSum);

    // Each winner's part is rounded up by 40 hundredths before it is cut to
    // whole units; when that would pay out more than the pool, without.
    int64_t paid = 0;
    auto pay = [&](double rounding) {
        paid = 0;
        for (int i = 0; i < w; ++i) {
            ResultRow& row = rows[static_cast<size_t>(i)];
            const auto amount = static_cast<int64_t>(static_cast<double>(weight[static_cast<size_t>(i)]) * factor + rounding);
            row.prizeAmount = static_cast<int32_t>((amount + stake) / 100 * 100);
            row.prizeFlag = 1;
            paid += row.prizeAmount;
        }
    };
    pay(40.0);
    if (paid > pool)
        pay(0.0);
    PayRemainder(rows, w, pool, paid);
    if (weights)
        for (int64_t value : weight)
            weights->push_back(static_cast<int>(value));
    return w;
}

void DistributeTablePrizes(std::vector<ResultRow>& rows, int share, int per, int stake)
{
    const int w = PrizeWinners(rows, share, per);
    if (w == 0)
        return;
    const auto n = static_cast<int64_t>(rows.size());
    stake = std::max(stake, 0);
    const int64_t unit = stake / 100;
    const std::vector<int> table = StakePrizeRow(static_cast<int>(n));
    auto shareOf = [&](int i) { return static_cast<size_t>(i) < table.size() ? table[static_cast<size_t>(i)] : 0; };

    int64_t paid = 0;
    for (int i = 0; i < w;) {
        // Rows i..j-1 hold one place together and share what their places pay.
        int j = i + 1;
        while (j < w && rows[static_cast<size_t>(j)].sharedPlace != 0)
            ++j;
        int64_t amount = 0;
        for (int k = i; k < j; ++k)
            amount += shareOf(k) * unit;
        amount /= j - i;
        for (int k = i; k < j; ++k) {
            rows[static_cast<size_t>(k)].prizeAmount = static_cast<int32_t>(amount);
            rows[static_cast<size_t>(k)].prizeFlag = 1;
            paid += amount;
        }
        i = j;
    }
    PayRemainder(rows, w, n * stake, paid);
}

}  // namespace results
