// The arithmetic under the pictures: frames, grids, strips, grid scores,
// the font search and the font cache.
#include <gtest/gtest.h>

#include "display/layout/FontCache.h"
#include "display/layout/GraphicGeometry.h"

namespace {

using platform::Rect;

TEST(FontSearchTest, HalvesFromTheMiddleAndKeepsTheLargestHeightThatFits)
{
    struct Case {
        const char* what;
        int fitsUpTo;  // the text fits at this height and below
        std::vector<int> trials;
        int height;
    } cases[] = {
        // The search runs out of trials one above the last fit: the fit is kept.
        {"fits up to 30", 30, {103, 55, 31, 19, 25, 28, 29, 30, 31, 30}, 30},
        {"fits up to 29", 29, {103, 55, 31, 19, 25, 28, 29, 30, 29, 30}, 29},
        {"fits everywhere", 200, {103, 151, 175, 187, 193, 196, 198, 199, 200}, 200},
        {"fits nowhere", 0, {103, 55, 31, 19, 13, 10, 8, 7}, 7},
        {"fits up to the first trial", 103, {103, 151, 127, 115, 109, 106, 104, 103, 104, 103}, 103},
    };
    for (const Case& c : cases) {
        Graphic::FontSearch s = Graphic::SearchFontHeight([&](int h) { return h <= c.fitsUpTo; });
        EXPECT_EQ(s.trials, c.trials) << c.what;
        EXPECT_EQ(s.height, c.height) << c.what;
        EXPECT_LE(s.trials.size(), 10u) << c.what;
    }
}

TEST(GraphicGeometryTest, InnerRectTakesEachFrameKindsSides)
{
    const Rect r{10, 20, 110, 70};
    struct Case {
        int frame;
        Rect inner;
    } cases[] = {
        {0xFF04, {13, 23, 107, 67}},
        {0x0304, {13, 23, 110, 70}},  // raised, left and top only
        {0xFF02, {12, 22, 109, 69}},
        {0x0C02, {10, 20, 109, 69}},  // double, right and bottom
        {0xFF01, {11, 21, 110, 70}},  // thin: the left and top only
        {0xFF00, {10, 20, 110, 70}},
        {0x0004, {10, 20, 110, 70}},  // no sides
    };
    for (const Case& c : cases)
        EXPECT_EQ(Graphic::InnerRect(r, c.frame), c.inner) << std::hex << c.frame;
}

TEST(GraphicGeometryTest, GridCellsByColumnsAndByRows)
{
    const Rect r{0, 0, 100, 50};
    struct Case {
        int n, columns, rows;
        bool byColumns;
        Rect cell;
    } cases[] = {
        {1, 3, 2, true, {0, 0, 33, 25}},
        {2, 3, 2, true, {0, 25, 33, 50}},     // down the first column
        {3, 3, 2, true, {33, 0, 66, 25}},
        {6, 3, 2, true, {66, 25, 100, 50}},   // the last column takes what is left
        {2, 3, 2, false, {33, 0, 66, 25}},    // along the first row
        {4, 3, 2, false, {0, 25, 33, 50}},
        {5, 2, 2, false, {}},                 // beyond the grid
        {5, 2, 2, true, {}},
        {0, 2, 2, true, {}},
        {1, 1, 3, false, {0, 0, 100, 16}},
        {3, 1, 3, false, {0, 33, 100, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Graphic::GridCell(r, c.n, c.columns, c.rows, c.byColumns), c.cell)
            << c.n << " of " << c.columns << "x" << c.rows;
    EXPECT_EQ(Graphic::GridCell({5, 5, 106, 8}, 2, 2, 1, false), (Rect{55, 5, 106, 8}));
}

TEST(GraphicGeometryTest, SplitRectCutsStripsAtEitherEnd)
{
    const Rect r{0, 0, 100, 40};
    struct Case {
        const char* what;
        int a;
        bool vertical;
        Rect first, second;
    } cases[] = {
        {"top strip", 10, true, {0, 0, 100, 10}, {0, 10, 100, 40}},
        {"bottom strip", -10, true, {0, 0, 100, 30}, {0, 30, 100, 40}},
        {"left strip", 30, false, {0, 0, 30, 40}, {30, 0, 100, 40}},
        {"right strip", -30, false, {0, 0, 70, 40}, {70, 0, 100, 40}},
        {"top strip just fits", 36, true, {0, 0, 100, 36}, {0, 36, 100, 40}},
        {"top strip too big", 37, true, {0, 0, 100, 40}, {}},
        // A strip at the bottom needs its own height and 4 more too: never an inverted rectangle.
        {"bottom strip just fits", -36, true, {0, 0, 100, 4}, {0, 4, 100, 40}},
        {"bottom strip too big", -37, true, {}, {0, 0, 100, 40}},
        {"nothing cut", 0, true, {0, 0, 100, 40}, {0, 40, 100, 40}},
    };
    for (const Case& c : cases) {
        Rect first, second;
        Graphic::SplitRect(r, first, second, c.a, c.vertical);
        EXPECT_EQ(first, c.first) << c.what;
        EXPECT_EQ(second, c.second) << c.what;
    }
}

TEST(GraphicGeometryTest, LayoutScoreIsTheShareTheElementsCover)
{
    const Rect r{0, 0, 1000, 500};
    // Two columns of 498 x 498 cells, squares: each covers 498^2.
    EXPECT_DOUBLE_EQ(Graphic::LayoutScore(r, 2, 2, 1, 1.0), 498.0 * 498 / 500000 * 2 / 2);
    // Limited by the width: 998 wide, aspect 12 -> 998^2 / 12.
    EXPECT_DOUBLE_EQ(Graphic::LayoutScore(r, 1, 1, 1, 12.0), 998.0 * 998 / 12 / 500000);
    // Three elements in a 2 x 2 grid leave a cell empty.
    EXPECT_DOUBLE_EQ(Graphic::LayoutScore(r, 3, 2, 2, 2.0), 2.0 * 248 * 248 / 500000 * 3 / 4);
    // Cells without room score nothing instead of dividing by their size.
    EXPECT_EQ(Graphic::LayoutScore(r, 10, 500, 1, 1.0), 0.0);
    EXPECT_EQ(Graphic::LayoutScore(r, 10, 1, 250, 1.0), 0.0);
    EXPECT_EQ(Graphic::LayoutScore({0, 0, 0, 100}, 1, 1, 1, 1.0), 0.0);
}

TEST(GraphicGeometryTest, ContrastIsWhiteOnDarkAndBlackOnLight)
{
    EXPECT_EQ(Graphic::ContrastColour(0x000000), Graphic::kWhite);
    EXPECT_EQ(Graphic::ContrastColour(0x0000FD), Graphic::kWhite);  // sum 253
    EXPECT_EQ(Graphic::ContrastColour(0x0000FE), Graphic::kBlack);  // sum 254
    EXPECT_EQ(Graphic::ContrastColour(0xE0FFFF), Graphic::kBlack);
    EXPECT_EQ(Graphic::ContrastColour(0x404000), Graphic::kWhite);
}

TEST(FontCacheTest, KeepsTwoHundredKeysAndDropsTheLeastRecentlyUsed)
{
    FontCache cache;
    EXPECT_FALSE(cache.Find(20));
    EXPECT_TRUE(cache.Add(20));
    EXPECT_FALSE(cache.Add(20));  // already there
    EXPECT_TRUE(cache.Find(20));
    EXPECT_FALSE(cache.Find(3));  // heights outside 4..200 are never fonts
    EXPECT_FALSE(cache.Find(201));
    for (int h = 21; h <= 200; ++h)
        ASSERT_TRUE(cache.Add(h));
    for (int h = 4; h <= 22; ++h)
        ASSERT_TRUE(cache.Add(h | 0x8000));
    ASSERT_EQ(cache.Count(), FontCache::kSlots);
    // Full: the key used longest ago goes, the one just used stays.
    EXPECT_TRUE(cache.Find(20));
    EXPECT_TRUE(cache.Add(23 | 0x8000));
    EXPECT_EQ(cache.Count(), FontCache::kSlots);
    EXPECT_TRUE(cache.Contains(20));
    EXPECT_FALSE(cache.Contains(21));
    EXPECT_TRUE(cache.Find(23 | 0x8000));
}

}  // namespace
