#include "results/lists/ranking/StakePrizeTable.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace results {
namespace {

// The rows as the federations print them.
struct PrintedRow {
    int n;
    std::array<int, kStakeTableShares> shares;
};

constexpr PrintedRow kPrintedRows[] = {
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

constexpr int SharesOf(int n) { return n > 0 ? (n + 2) / 3 : 0; }

constexpr uint64_t SquareRoot(uint64_t v)
{
    uint64_t root = 0;
    for (uint64_t bit = uint64_t{1} << 62; bit != 0; bit >>= 2) {
        if (v >= root + bit) {
            v -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
    }
    return root;
}

// Our rule. Every place is paid its stake back (100); what the pool holds
// beyond those stakes goes to the places by weights that fall from the
// first place to almost nothing at the last: the tail of the harmonic
// series from the place on, to the power 1.5, which is close to how the
// printed rows fall. Whole numbers only, so the rows are the same on every
// machine; the hundredths lost to rounding go one each to the first places.
// shares and weights have room for SharesOf(n) entries.
constexpr void RuleRow(int n, int* shares, uint64_t* weights)
{
    const int k = SharesOf(n);
    if (k == 0)
        return;
    constexpr uint64_t kScale = uint64_t{1} << 20;
    uint64_t tail = 0, weightSum = 0;
    for (int i = k; i >= 1; --i) {
        tail += kScale / static_cast<uint64_t>(i);
        weights[i - 1] = tail * SquareRoot(tail);
        weightSum += weights[i - 1];
    }
    const uint64_t extra = static_cast<uint64_t>(n - k) * 100;
    uint64_t given = 0;
    for (int i = 0; i < k; ++i) {
        const auto part = static_cast<uint64_t>(static_cast<unsigned __int128>(extra) * weights[i] / weightSum);
        shares[i] = 100 + static_cast<int>(part);
        given += part;
    }
    for (int i = 0; given < extra; ++i, ++given)
        ++shares[i];
}

using Table = std::array<std::array<int, kStakeTableShares>, kStakeTableRows>;

Table MakeTable()
{
    Table table{};
    std::array<uint64_t, kStakeTableShares> weights{};
    for (int n = 1; n < kStakeTableRows; ++n)
        RuleRow(n, table[static_cast<size_t>(n)].data(), weights.data());
    for (const PrintedRow& row : kPrintedRows)
        table[static_cast<size_t>(row.n)] = row.shares;
    return table;
}

// Made once, on first use; whole numbers only, so the same everywhere.
const Table& StakeTable()
{
    static const Table table = MakeTable();
    return table;
}

}  // namespace

std::vector<int> StakePrizeRow(int n)
{
    std::vector<int> row(static_cast<size_t>(SharesOf(n)));
    if (n < kStakeTableRows) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = StakeTable()[static_cast<size_t>(n)][i];
    } else {
        std::vector<uint64_t> weights(row.size());
        RuleRow(n, row.data(), weights.data());
    }
    return row;
}

int StakePrizeShare(int n, int place)
{
    if (n < 1 || place < 1 || place > SharesOf(n))
        return 0;
    if (n < kStakeTableRows)
        return StakeTable()[static_cast<size_t>(n)][static_cast<size_t>(place) - 1];
    return StakePrizeRow(n)[static_cast<size_t>(place) - 1];
}

}  // namespace results
