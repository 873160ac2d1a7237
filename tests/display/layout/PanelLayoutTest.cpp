// How an element's cell is divided into the boxes of its panel.
#include <gtest/gtest.h>

#include "display/layout/GraphicGeometry.h"
#include "display/layout/PanelLayout.h"
#include "display/layout/PictureLayout.h"
#include "display/model/VisEvent.h"

namespace {

using platform::Rect;
using namespace PanelLayout;

// A picture without frames, so that a panel's inside is its cell.
struct Panel {
    CVisPicture pic{1};
    CVisEvent event{1};
    CVisTarget* t;

    Panel(int flags, Rect cell, int format, double aspect, bool withEvent = false)
    {
        pic.baseStyle.Frame = 0xFF00;
        t = &pic.AddTarget(1);
        t->viewFlags = flags;
        t->cell = cell;
        t->panelFormat = format;
        pic.faceAspect = pic.listAspect = aspect;
        if (withEvent)
            t->event = &event;
    }
    Rect Box(int b) const { return t->panelBoxes[b].Rect; }
    int Sides(int b) const { return t->panelBoxes[b].Frame & 0xF00; }
    int Layout(Fonts* fonts = nullptr) { return PanelLayout::Layout(pic, *t, fonts); }
};

constexpr int kFacePanel = 0x30307;  // name, club, class, series sum, total, face, shot list

TEST(PanelLayoutTest, FacePanelsByTheShapeOfTheFaceCell)
{
    struct Case {
        const char* what;
        Rect cell;
        double aspect;
        Rect face, name, list, sum, total;
    } cases[] = {
        {"wider than 2", {0, 0, 400, 100}, 4.0,
         {0, 0, 100, 100}, {100, 0, 400, 19}, {100, 33, 325, 100}, {325, 33, 400, 66}, {325, 66, 400, 100}},
        {"up to 2: sums side by side", {0, 0, 200, 100}, 2.0,
         {0, 0, 100, 100}, {100, 0, 200, 12}, {100, 20, 200, 80}, {100, 80, 150, 100}, {150, 80, 200, 100}},
        {"up to 1.75: names over the face", {0, 0, 150, 100}, 1.5,
         {0, 20, 85, 100}, {0, 0, 85, 12}, {85, 0, 150, 80}, {85, 80, 150, 90}, {85, 90, 150, 100}},
        {"about square", {0, 0, 100, 100}, 1.0,
         {0, 12, 100, 65}, {0, 0, 100, 7}, {0, 65, 75, 100}, {75, 65, 100, 82}, {75, 82, 100, 100}},
        {"tall: sums side by side", {0, 0, 100, 200}, 0.5,
         {0, 20, 100, 120}, {0, 0, 100, 12}, {0, 120, 100, 172}, {0, 172, 50, 200}, {50, 172, 100, 200}},
    };
    for (const Case& c : cases) {
        Panel p(kFacePanel, c.cell, PictureLayout::kFaceNarrow, c.aspect);
        ASSERT_EQ(p.Layout(), 0) << c.what;
        EXPECT_EQ(p.Box(kFace), c.face) << c.what;
        EXPECT_EQ(p.Box(kName), c.name) << c.what;
        EXPECT_EQ(p.Box(kShotList), c.list) << c.what;
        EXPECT_EQ(p.Box(kSeriesSum), c.sum) << c.what;
        EXPECT_EQ(p.Box(kTotal), c.total) << c.what;
    }
}

TEST(PanelLayoutTest, FacePanelVariants)
{
    // The one-shot window halves the shot list's share.
    Panel one(kFacePanel, {0, 0, 400, 100}, PictureLayout::kFaceNarrow, 4.0, true);
    one.event.oneShotWindow = 3;
    one.t->seriesShots = 10;
    ASSERT_EQ(one.Layout(), 0);
    EXPECT_EQ(one.Box(kShotList), (Rect{100, 33, 250, 100}));

    // Super mode: neither series sum nor total, the list takes the rest.
    Panel super(kFacePanel, {0, 0, 400, 100}, PictureLayout::kFaceNarrow, 4.0, true);
    super.event.superMode = 1;
    ASSERT_EQ(super.Layout(), 0);
    EXPECT_EQ(super.Box(kShotList), (Rect{100, 33, 400, 100}));
    EXPECT_EQ(super.Box(kTotal), Rect{});
    EXPECT_FALSE(super.t->viewFlags & ViewBits::kSeriesSum);

    // One series and no start score: the total alone; the previous total on top.
    Panel single(kFacePanel | ViewBits::kPreviousTotal, {0, 0, 400, 100}, PictureLayout::kFaceNarrow, 4.0, true);
    single.event.seriesWithShots = 1;
    ASSERT_EQ(single.Layout(), 0);
    EXPECT_EQ(single.Box(kPreviousTotal), (Rect{325, 33, 400, 55}));
    EXPECT_EQ(single.Box(kTotal), (Rect{325, 55, 400, 100}));
    EXPECT_EQ(single.Box(kSeriesSum), Rect{});

    // The face alone fills the panel, unframed.
    Panel bare(0x10000, {10, 10, 110, 90}, PictureLayout::kFaceWide, 1.25);
    ASSERT_EQ(bare.Layout(), 0);
    EXPECT_EQ(bare.Box(kFace), (Rect{10, 10, 110, 90}));
    EXPECT_EQ(bare.t->panelBoxes[kFace].Frame, 0);

    // A placeholder has no boxes; a format of neither kind keeps its boxes.
    Panel placeholder(kFacePanel, {0, 0, 100, 100}, PictureLayout::kFaceWide, 1.0);
    placeholder.t->slot = 0;
    EXPECT_EQ(placeholder.Layout(), -1);
    Panel odd(kFacePanel, {0, 0, 100, 100}, 40, 1.0);
    odd.t->panelBoxes[kFace].Rect = {1, 2, 3, 4};
    EXPECT_EQ(odd.Layout(), -2);
    EXPECT_EQ(odd.Box(kFace), (Rect{1, 2, 3, 4}));
}

TEST(PanelLayoutTest, FaceCornersAndFrameSides)
{
    Panel p(kFacePanel, {0, 0, 400, 100}, PictureLayout::kFaceNarrow, 4.0);
    ASSERT_EQ(p.Layout(), 0);
    // Face 100 x 100: the lane in its top-left fifth, the place at the
    // bottom right, the series name in the lower left.
    EXPECT_EQ(p.Box(kLane), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(p.Box(kSeriesName), (Rect{0, 80, 40, 100}));
    EXPECT_EQ(p.Box(kPlace), (Rect{84, 84, 100, 100}));
    EXPECT_EQ(p.t->panelBoxes[kSeriesName].Align, 9);
    EXPECT_EQ(p.t->panelBoxes[kLane].BackColour, p.t->panelBoxes[kFace].BackColour);
    // Lines between the parts: each drawn by one box, none on the panel's edge.
    EXPECT_EQ(p.Sides(kFace), Graphic::kSideRight);
    EXPECT_EQ(p.Sides(kShotList), Graphic::kSideLeft | Graphic::kSideTop | Graphic::kSideRight);
    EXPECT_EQ(p.Sides(kSeriesSum), Graphic::kSideLeft | Graphic::kSideTop | Graphic::kSideBottom);
    EXPECT_EQ(p.Sides(kName), Graphic::kSideLeft);  // against the name area, not the club below it
    EXPECT_EQ(p.Sides(kClub), Graphic::kSideLeft | Graphic::kSideBottom);
    EXPECT_EQ(p.t->panelBoxes[kFace].State & 1, 1);

    // A portrait face: the series name at the bottom of its left half.
    Panel tall(kFacePanel, {0, 0, 100, 400}, PictureLayout::kFaceNarrow, 0.25);
    ASSERT_EQ(tall.Layout(), 0);
    EXPECT_EQ(tall.Box(kFace), (Rect{0, 20, 100, 130}));
    EXPECT_EQ(tall.Box(kSeriesName), (Rect{0, 30, 50, 130}));

    // Face colours: the background for rings, the target colour for figures.
    tall.t->card.targetType = 35;
    ASSERT_EQ(tall.Layout(), 0);
    EXPECT_EQ(tall.t->panelBoxes[kFace].BackColour, tall.pic.colours[2]);
    tall.t->card.targetType = 1;
    ASSERT_EQ(tall.Layout(), 0);
    EXPECT_EQ(tall.t->panelBoxes[kFace].BackColour, tall.pic.colours[1]);
}

constexpr int kRowPanel = 0x203D1;  // name, series name, lane, shot count, series sum, total, shot list

TEST(PanelLayoutTest, ListRowsByTheShapeOfTheListCell)
{
    // A long row with a shot list: names, then the list under its series
    // line, then the sub-sums.
    Panel p(kRowPanel | ViewBits::kSubSums, {0, 0, 400, 20}, PictureLayout::kRow, 20.0);
    ASSERT_EQ(p.Layout(), 0);
    EXPECT_EQ(p.Box(kLane), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(p.Box(kName), (Rect{20, 0, 160, 20}));
    EXPECT_EQ(p.Box(kShotCount), (Rect{160, 0, 169, 6}));
    EXPECT_EQ(p.Box(kSeriesName), (Rect{169, 0, 308, 6}));
    EXPECT_EQ(p.Box(kSeriesSum), (Rect{308, 0, 320, 6}));
    EXPECT_EQ(p.Box(kShotList), (Rect{160, 6, 320, 20}));
    EXPECT_EQ(p.Box(kSubSums), (Rect{320, 0, 400, 20}));
    EXPECT_EQ(p.t->panelBoxes[kSeriesSum].BackColour, p.pic.colours[2]);  // the series line in the target colour
    EXPECT_EQ(p.t->panelBoxes[kLane].Align, Graphic::kAlignRight);

    struct Case {
        const char* what;
        int flags;
        Rect cell;
        double aspect;
        int subs;        // the program's sub-sums
        bool super;
        Rect name, list, table, subSums;
    } cases[] = {
        {"no list, series table, middle", 0x3241, {0, 0, 100, 20}, 5.0, 5, false,
         {12, 0, 100, 12}, {}, {0, 12, 50, 20}, {50, 12, 100, 20}},
        {"no list, no table, long", 0x1241, {0, 0, 400, 20}, 20.0, 0, false,
         {20, 0, 300, 20}, {}, {}, {300, 0, 400, 20}},
        {"list and table, short", 0x23241, {0, 0, 100, 50}, 2.0, 0, false,
         {14, 0, 100, 14}, {0, 36, 100, 50}, {0, 14, 100, 28}, {0, 28, 100, 36}},
        {"list and table, long, super mode", 0x23241, {0, 0, 400, 20}, 20.0, 0, true,
         {20, 0, 100, 20}, {100, 0, 400, 20}, {}, {}},
        {"list and table, middle", 0x23241, {0, 0, 160, 40}, 4.5, 4, false,
         {16, 0, 80, 20}, {80, 0, 160, 20}, {0, 20, 80, 40}, {80, 20, 160, 40}},
    };
    for (const Case& c : cases) {
        Panel row(c.flags, c.cell, PictureLayout::kRow, c.aspect, true);
        row.event.longestSeries = 20;  // longer than a line: the table is wanted
        row.event.shotsPerLine = 10;
        row.event.subCount = c.subs;
        row.event.superMode = c.super ? 1 : 0;
        ASSERT_EQ(row.Layout(), 0) << c.what;
        EXPECT_EQ(row.Box(kName), c.name) << c.what;
        EXPECT_EQ(row.Box(kShotList), c.list) << c.what;
        EXPECT_EQ(row.Box(kSeriesTable), c.table) << c.what;
        EXPECT_EQ(row.Box(kSubSums), c.subSums) << c.what;
    }
}

TEST(PanelLayoutTest, NameAreaSplits)
{
    struct Case {
        const char* what;
        int flags;
        Rect cell;
        Rect name, club, cls, category;
    } cases[] = {
        {"name over club, class and category beside", 0xF, {0, 0, 100, 40},
         {0, 0, 80, 15}, {0, 15, 80, 26}, {80, 0, 100, 15}, {80, 15, 100, 26}},
        {"name beside club in a long area", 0x3, {0, 0, 400, 20}, {0, 0, 240, 13}, {240, 0, 400, 13}, {}, {}},
        {"name alone over class and category", 0xD, {0, 0, 100, 40},
         {0, 0, 100, 15}, {}, {0, 15, 50, 26}, {50, 15, 100, 26}},
        {"club alone with category beside", 0xA, {0, 0, 400, 20}, {}, {0, 0, 104, 13}, {}, {104, 0, 400, 13}},
    };
    for (const Case& c : cases) {
        // A row without lane, place, list or table: the top 65 % are the name area.
        Panel p(c.flags | ViewBits::kTotal, c.cell, PictureLayout::kRowSquare, 0.5);
        ASSERT_EQ(p.Layout(), 0) << c.what;
        EXPECT_EQ(p.Box(kName), c.name) << c.what;
        EXPECT_EQ(p.Box(kClub), c.club) << c.what;
        EXPECT_EQ(p.Box(kClass), c.cls) << c.what;
        EXPECT_EQ(p.Box(kCategory), c.category) << c.what;
    }
}

TEST(PanelLayoutTest, FontsEachBoxNeeds)
{
    struct Case {
        int flags;
        int valueSystem;
        std::vector<FontRequest> fonts;
        bool share;
    } cases[] = {
        {0x30307, 1, {{1, 18}, {2, 15}, {3, 4}, {9, 4}, {10, 4}, {5, 14}, {7, 2}, {12, 2}}, false},
        {0x30307, 6, {{1, 18}, {2, 15}, {3, 4}, {9, 6}, {10, 7}, {5, 14}, {7, 2}, {12, 2}}, false},
        {0x21DD8, 2, {{4, 4}, {5, 14}, {7, 2}, {8, 2}, {12, 2}, {11, 6}, {9, 5}, {13, 6}}, true},
    };
    for (const Case& c : cases) {
        Panel p(c.flags, {0, 0, 400, 100}, (c.flags & 0x10000) ? PictureLayout::kFaceNarrow : PictureLayout::kRow,
                4.0);
        p.t->card.valueSystem = static_cast<uint8_t>(c.valueSystem);
        Fonts fonts;
        ASSERT_EQ(p.Layout(&fonts), 0);
        ASSERT_EQ(fonts.requests.size(), c.fonts.size()) << std::hex << c.flags;
        for (size_t i = 0; i < c.fonts.size(); ++i) {
            EXPECT_EQ(fonts.requests[i].box, c.fonts[i].box) << i;
            EXPECT_EQ(fonts.requests[i].chars, c.fonts[i].chars) << i;
        }
        EXPECT_EQ(fonts.shareSeriesLine, c.share);
    }
}

}  // namespace
