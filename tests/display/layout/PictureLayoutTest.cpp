// How a picture's drawing rectangle is shared among the header, the list
// and face areas and the elements' cells.
#include <gtest/gtest.h>

#include "display/layout/PictureLayout.h"

namespace {

using platform::Rect;

constexpr int kFaceFlags = 0x30307;  // a face with names, shot list, series sum and total
constexpr int kRowFlags = 0x23357;   // a list row

void Add(CVisPicture& p, int count, int flags)
{
    for (int i = 0; i < count; ++i)
        p.AddTarget(static_cast<int>(p.targets.size()) + 1).viewFlags = flags;
}

int Placeholders(const CVisPicture& p)
{
    int n = 0;
    for (const auto& t : p.targets)
        n += t->slot == 0;
    return n;
}

TEST(PictureLayoutTest, TenFacesTakeTwoRowsOfFiveUnderTheHeader)
{
    CVisPicture p(1);
    Add(p, 10, kFaceFlags);
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 1280, 720}, true), 0);
    EXPECT_EQ(p.headerStyle.Rect, (Rect{0, 0, 1280, 36}));  // a unit of min(1280 / 15, 720 / 20)
    ASSERT_EQ(p.targets.size(), 10u);
    EXPECT_EQ(p.targets[0]->cell, (Rect{0, 36, 256, 378}));
    EXPECT_EQ(p.targets[1]->cell, (Rect{256, 36, 512, 378}));  // along the rows
    EXPECT_EQ(p.targets[5]->cell, (Rect{0, 378, 256, 720}));
    EXPECT_EQ(p.targets[9]->cell, (Rect{1024, 378, 1280, 720}));
    for (const auto& t : p.targets)
        EXPECT_EQ(t->panelFormat, PictureLayout::kFaceNarrow);
    EXPECT_DOUBLE_EQ(p.faceAspect, 256.0 / 342);
    // Big panels: raised frames and shadowed bold texts, the header alike.
    EXPECT_EQ(p.baseStyle.Frame, 0xFF04);
    EXPECT_EQ(p.baseStyle.Options, 3);
    EXPECT_EQ(p.headerStyle.Frame, 0xFF04);
    EXPECT_EQ(p.headerStyle.BackColour, p.baseStyle.BackColour);
}

TEST(PictureLayoutTest, FortyRowsFillThreeColumnsDownwardsWithPlaceholders)
{
    CVisPicture p(1);
    Add(p, 40, kRowFlags);
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 1280, 720}, true), 0);
    ASSERT_EQ(p.targets.size(), 42u);
    EXPECT_EQ(p.targets[0]->cell, (Rect{0, 36, 426, 84}));
    EXPECT_EQ(p.targets[1]->cell, (Rect{0, 84, 426, 133}));   // down the first column
    EXPECT_EQ(p.targets[14]->cell, (Rect{426, 36, 853, 84}));  // the second column's first
    EXPECT_EQ(p.targets[39]->cell, (Rect{853, 573, 1280, 622}));
    EXPECT_EQ(p.targets[0]->panelFormat, PictureLayout::kRow);
    EXPECT_DOUBLE_EQ(p.listAspect, 426.0 / 48);
    // The two cells left over get placeholders, to be drawn empty.
    EXPECT_EQ(p.targets[40]->slot, 0);
    EXPECT_EQ(p.targets[40]->cell, (Rect{853, 622, 1280, 671}));
    EXPECT_EQ(p.targets[41]->redrawMask, -1);
    EXPECT_EQ(p.targets[41]->panelFormat, PictureLayout::kRow);
    EXPECT_EQ(p.baseStyle.Frame, 0xFF02);
    EXPECT_EQ(p.baseStyle.Options, 2);
}

TEST(PictureLayoutTest, FacesAndListShareTheBodySideBySideOrStacked)
{
    struct Case {
        const char* what;
        Rect draw;
        int faces, rows;
        Rect firstRow, firstFace;
    } cases[] = {
        // Several faces: side by side once the body is half again as wide as tall.
        {"wide body", {0, 0, 1280, 720}, 4, 10, {0, 36, 640, 104}, {640, 36, 960, 378}},
        // One face: side by side only in a body wider than tall.
        {"one face, tall body", {0, 0, 600, 1000}, 1, 3, {0, 40, 600, 200}, {0, 520, 600, 1000}},
        {"one face, wide body", {0, 0, 1000, 600}, 1, 3, {0, 30, 500, 220}, {500, 30, 1000, 600}},
    };
    for (const Case& c : cases) {
        CVisPicture p(1);
        Add(p, c.rows, kRowFlags);
        Add(p, c.faces, kFaceFlags);
        ASSERT_EQ(PictureLayout::Layout(p, c.draw, true), 0) << c.what;
        EXPECT_EQ(p.targets[0]->cell, c.firstRow) << c.what;
        EXPECT_EQ(p.targets[static_cast<size_t>(c.rows)]->cell, c.firstFace) << c.what;
    }
}

TEST(PictureLayoutTest, PlaceholdersGoWithTheNextLayout)
{
    CVisPicture p(1);
    Add(p, 5, kFaceFlags);
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 1280, 720}, true), 0);
    // Three by two for five faces: one placeholder after the fifth.
    ASSERT_EQ(p.targets.size(), 6u);
    EXPECT_EQ(Placeholders(p), 1);
    EXPECT_EQ(p.targets[5]->cell, (Rect{853, 378, 1280, 720}));
    EXPECT_EQ(p.targets[0]->panelFormat, PictureLayout::kFaceWide);
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 1280, 720}, true), 0);
    EXPECT_EQ(p.targets.size(), 6u);
    EXPECT_EQ(Placeholders(p), 1);

    // A picture of nothing but placeholders has nothing to lay out.
    CVisPicture empty(2);
    empty.AddTarget(0);
    empty.AddTarget(0);
    EXPECT_EQ(PictureLayout::Layout(empty, {0, 0, 1280, 720}, true), -1);
    EXPECT_TRUE(empty.targets.empty());
}

TEST(PictureLayoutTest, FacesOnlyScoreSquareCells)
{
    CVisPicture p(1);
    Add(p, 5, 0x10000 | 0x800);  // the face alone, with its place
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 1280, 720}, true), 0);
    EXPECT_TRUE(PictureLayout::IsFaceOnly(*p.targets[0]));
    EXPECT_EQ(p.targets[0]->panelFormat, PictureLayout::kFaceWide);
    EXPECT_EQ(p.targets[0]->cell, (Rect{0, 36, 426, 378}));
}

TEST(PictureLayoutTest, ListShapeScoresTheSquareShapeOnlyWhenMuchBetter)
{
    // Off-screen: no header, the list has the whole rectangle.
    CVisPicture p(1);
    Add(p, 3, kRowFlags);
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 300, 200}, false), 0);
    // Three square cells in a row would score a third more than three long
    // rows one above the other, but not half again as much.
    EXPECT_EQ(p.targets[0]->panelFormat, PictureLayout::kRow);
    EXPECT_EQ(p.targets[0]->cell, (Rect{0, 0, 300, 66}));
    EXPECT_EQ(p.targets[2]->cell, (Rect{0, 133, 300, 200}));

    // A single row in a square: the first shape tried wins at once.
    CVisPicture one(2);
    Add(one, 1, kRowFlags);
    ASSERT_EQ(PictureLayout::Layout(one, {0, 0, 100, 100}, false), 0);
    EXPECT_EQ(one.targets[0]->panelFormat, PictureLayout::kRowSquare);
}

TEST(PictureLayoutTest, HeaderNeedsAUnitOfEightPixels)
{
    struct Case {
        Rect draw;
        Rect header;
        Rect firstCell;
    } cases[] = {
        {{0, 0, 105, 160}, {}, {0, 0, 105, 160}},     // unit 7
        {{0, 0, 120, 160}, {0, 0, 120, 8}, {0, 8, 120, 160}},  // unit 8
    };
    for (const Case& c : cases) {
        CVisPicture p(1);
        Add(p, 1, kFaceFlags);
        ASSERT_EQ(PictureLayout::Layout(p, c.draw, true), 0);
        EXPECT_EQ(p.headerStyle.Rect, c.header);
        EXPECT_EQ(p.targets[0]->cell, c.firstCell);
    }
}

TEST(PictureLayoutTest, OffScreenEveryFaceTakesTheWholeFaceArea)
{
    CVisPicture p(1);
    Add(p, 4, kFaceFlags);
    ASSERT_EQ(PictureLayout::Layout(p, {0, 0, 240, 180}, false), 0);
    EXPECT_EQ(p.headerStyle.Rect, Rect{});
    ASSERT_EQ(p.targets.size(), 4u);  // no placeholders
    for (const auto& t : p.targets)
        EXPECT_EQ(t->cell, (Rect{0, 0, 240, 180}));
    EXPECT_EQ(p.baseStyle.Frame, 0xFF02);
    EXPECT_EQ(p.baseStyle.Options, 2);
}

TEST(PictureLayoutTest, FramesAndShadowsGrowWithTheRoom)
{
    struct Case {
        Rect draw;
        int rows;
        int frame, options;
    } cases[] = {
        {{0, 0, 1920, 1080}, 4, 0xFF04, 3},  // unit 54, big cells
        {{0, 0, 1920, 1080}, 60, 0xFF02, 2},  // many rows: 69120 a row
        {{0, 0, 640, 480}, 40, 0xFF01, 2},    // unit 24, 15360 a row
        {{0, 0, 200, 150}, 2, 0xFF01, 2},     // unit 7: no double frame under 12
        {{0, 0, 100, 100}, 4, 0xFF00, 0},     // unit 5
    };
    for (const Case& c : cases) {
        CVisPicture p(1);
        Add(p, c.rows, kRowFlags);
        ASSERT_EQ(PictureLayout::Layout(p, c.draw, true), 0);
        EXPECT_EQ(p.baseStyle.Frame, c.frame) << c.draw.right << " " << c.rows;
        EXPECT_EQ(p.baseStyle.Options, c.options) << c.draw.right << " " << c.rows;
    }
}

}  // namespace
