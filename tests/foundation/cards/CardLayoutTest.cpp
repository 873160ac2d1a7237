// Where a shooting card's parts go on paper: sheets, grid, head, boxes,
// tables, list lines, and the texts of values, sums and labels.
#include "foundation/cards/CardLayout.h"

#include "CardFixture.h"
#include "platform/system/Clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace card_layout_test {

using namespace CardLayout;

PrintCard CardWithSeries(int n)
{
    PrintCard card;
    bvtest::FillShooter(card);
    for (int s = 1; s <= n; ++s)
        bvtest::AddSeries(card, s, "Serie " + std::to_string(s), {1000, 950});
    card.SumUp();
    return card;
}

TEST(CardLayoutTest, SheetsBalanceTheSeriesAndFillTheirGrid)
{
    struct Case {
        int series, setting;
        int sheets, perSheet;
    };
    const Case cases[] = {
        {0, 6, 0, 0},     // nothing in use: no sheet at all
        {3, 6, 1, 3},
        {5, 6, 1, 6},     // 5 boxes take a grid of 2 x 3
        {6, 6, 1, 6},
        {7, 6, 2, 4},     // not 6 + 1: two sheets of 2 x 2
        {13, 20, 2, 12},  // 13 does not fill 3 columns; 12 per sheet, the second with one box
        {16, 16, 2, 15},
        {26, 30, 2, 24},
        {39, 1, 39, 1},
        // A setting of 0 or less read from a damaged file counts as the default.
        {7, 0, 2, 4},
        {7, -5, 2, 4},
    };
    for (const Case& c : cases) {
        PrintCard card = CardWithSeries(c.series);
        Sheets sheets = CountSheets(card, c.setting);
        EXPECT_EQ(sheets.count, c.sheets) << c.series << " at " << c.setting;
        EXPECT_EQ(sheets.perSheet, c.perSheet) << c.series << " at " << c.setting;
    }
}

TEST(CardLayoutTest, OnlySeriesWithShotsTakeABox)
{
    PrintCard card;
    card.shotCount[2] = 5;
    card.shotCount[7] = 1;
    card.shotCount[39] = 3;
    card.shotCount[0] = 9;  // slot 0 is no series
    EXPECT_EQ(SeriesInUse(card), (std::vector<int>{2, 7, 39}));
}

TEST(CardLayoutTest, GridColumnsGrowWithTheBoxesAndBoxesFillRowByRow)
{
    struct Case {
        int boxes, columns, rows;
    };
    for (const Case& c : {Case{0, 1, 1}, Case{1, 1, 1}, Case{3, 1, 3}, Case{4, 2, 2}, Case{12, 2, 6},
                          Case{13, 3, 5}, Case{24, 3, 8}, Case{25, 4, 7}}) {
        Grid grid = GridOf(c.boxes);
        EXPECT_EQ(grid.columns, c.columns) << c.boxes;
        EXPECT_EQ(grid.rows, c.rows) << c.boxes;
    }
    Rect area{0, 240, 2000, 2840};
    Grid grid = GridOf(4);
    EXPECT_EQ(BoxRect(area, grid, 1), (Rect{0, 240, 1000, 1540}));
    EXPECT_EQ(BoxRect(area, grid, 2), (Rect{1000, 240, 2000, 1540}));
    EXPECT_EQ(BoxRect(area, grid, 3), (Rect{0, 1540, 1000, 2840}));
}

TEST(CardLayoutTest, ThePageStartsAtTheMarginLessTheFourMillimetresOfTheHead)
{
    struct Case {
        int margin, offsetX;
    };
    for (const Case& c : {Case{15, 110}, Case{5, 10}, Case{4, 0}, Case{0, 0}}) {
        Page page = PageOf(2100, 2970, 10, c.margin);
        EXPECT_EQ(page.offsetX, c.offsetX) << c.margin;
        EXPECT_EQ(page.offsetY, 40);
        EXPECT_EQ(page.w, 2100 - 10 - c.offsetX);
        EXPECT_EQ(page.h, 2970 - 10 - 40);
    }
}

TEST(CardLayoutTest, ValueTextsOfEveryKindOfValue)
{
    struct Case {
        int value, system, top;
        const char* whole;
        const char* fraction;
    };
    const Case cases[] = {
        {1050, 1, 10, "10", ",5"},
        {987, 6, 10, "9", ",87"},
        {1150, 3, 10, "11", ",5"},   // the "11" system counts the inner ten as 11
        {1150, 1, 10, "10", ",5*"},  // elsewhere it is the face's top, starred
        {1150, 6, 10, "10", ",50*"},
        {1234, 6, 10, "0", ",34*"},
        {1230, 3, 10, "0", ",3"},
        {1230, 1, 10, "0", ",3*"},
        {1120, 4, 5, "5", ",2*"},    // a face whose top ring is 5
        {0, 1, 10, "0", ",0"},
    };
    for (const Case& c : cases) {
        ValueParts parts = ValueText(c.value, c.system, c.top, ",");
        EXPECT_EQ(parts.whole, c.whole) << c.value << " in " << c.system;
        EXPECT_EQ(parts.fraction, c.fraction) << c.value << " in " << c.system;
    }
}

TEST(CardLayoutTest, SumsAndShotLabels)
{
    EXPECT_EQ(SumText(10257, 1, ","), "102,5");
    EXPECT_EQ(SumText(10257, 2, ","), "102,57");
    EXPECT_EQ(SumText(10257, 0, ","), "102");
    EXPECT_EQ(ListSumText(10207, 6, "."), "102.07");
    EXPECT_EQ(ListSumText(10207, 1, "."), "102.0");

    struct Case {
        bool showTime;
        int time, number;
        const char* label;
    };
    const Case cases[] = {
        {false, 5000, 7, "7:"},
        {true, -45, 7, "-0,45s:"},
        {true, -100, 7, "7:"},        // below -99: the number
        {true, 925, 7, "9,25s:"},
        {true, 12345, 7, "123,4s:"},
        {true, 123456, 7, "1234s:"},
        {true, 1000000, 7, "7:"},     // beyond 999999: the number
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShotLabel(c.showTime, c.time, c.number, ","), c.label) << c.time;
}

TEST(CardLayoutTest, TheTitleNamesTheFaceAndASimulatedDistance)
{
    CardPrintSettings settings;
    settings.titlePrefix = "BVLeder - ";
    CTargetTypes types;
    types.SetLanguage("UK");
    PrintCard card;
    card.targetType = 18;
    EXPECT_EQ(Title(settings, card, types), "BVLeder - ISSF 50m Rifle");
    card.scaleNumerator = 100;
    card.scaleDenominator = 100;
    EXPECT_EQ(Title(settings, card, types), "BVLeder - ISSF 50m Rifle");
    card.scaleNumerator = 200;
    EXPECT_EQ(Title(settings, card, types), "BVLeder - ISSF 50m Rifle   [200:100]");

    platform::LocalTime time{2026, 3, 4, 9, 5, 0, 0, 0};
    EXPECT_EQ(PrintTime(time), "09:05 - 04.03.2026");
}

TEST(CardLayoutTest, CommentLinesAreTrimmedSplitAndBoundedByTheirField)
{
    struct Case {
        std::string comment;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"  \r\n ", {}},
        {"\r\n Feil skive \r\n", {"Feil skive"}},
        {"en\r\nto\r\ntre", {"en", "to", "tre"}},
        {"en\r\n\r\n  to  ", {"en", "to"}},
    };
    for (const Case& c : cases) {
        PrintCard card;
        card.SetComment(c.comment);
        EXPECT_EQ(CommentLines(card), c.lines) << c.comment;
    }
    PrintCard full;
    std::fill(std::begin(full.comment), std::end(full.comment), 'Z');
    full.reserved2 = 0x5A5A;
    std::vector<std::string> lines = CommentLines(full);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(PrintCard::kCommentSize, 'Z'));
}

TEST(CardLayoutTest, FootersHeadBoxesAndCommentMoveTheGrid)
{
    Page page = PageOf(2100, 2970, 10, 15);
    const int u = 10, w = page.w, h = page.h;
    PrintCard card = CardWithSeries(2);
    CardPrintSettings settings;

    Head head = CardHead(settings, card, page);
    EXPECT_EQ(head.gridArea, (Rect{0, 24 * u, w, h - 4 * u}));
    settings.footer2 = "Sponsor";
    head = CardHead(settings, card, page);
    EXPECT_EQ(head.gridArea.bottom, h - 10 * u);
    auto boxOf = [&](const Head& hd, const std::string& text) {
        for (const TextBox& b : hd.boxes)
            if (b.text == text)
                return b.rect;
        return Rect{};
    };
    EXPECT_EQ(boxOf(head, "Sponsor"), (Rect{0, h - 10 * u, w, h - 4 * u}));
    settings.footer1 = "Banken";
    head = CardHead(settings, card, page);
    EXPECT_EQ(boxOf(head, "Banken"), (Rect{0, h - 10 * u, w / 2, h - 4 * u}));
    EXPECT_EQ(boxOf(head, "Sponsor"), (Rect{w / 2, h - 10 * u, w, h - 4 * u}));

    EXPECT_EQ(boxOf(head, "2"), (Rect{0, 0, 20 * u, 12 * u}));  // relay
    EXPECT_EQ(boxOf(head, "3"), (Rect{20 * u, 0, 40 * u, 12 * u}));  // lane
    settings.startNumberMode = 1;
    card.relay = 117;
    head = CardHead(settings, card, page);
    EXPECT_EQ(boxOf(head, "117"), (Rect{0, 0, 40 * u, 12 * u}));
    EXPECT_EQ(boxOf(head, "3"), Rect{});

    EXPECT_EQ(head.gridArea.top, 24 * u);
    card.resultState = 2;
    head = CardHead(settings, card, page);
    EXPECT_EQ(boxOf(head, "DNS"), (Rect{0, 24 * u, 40 * u, 36 * u}));
    EXPECT_EQ(head.gridArea.top, 36 * u);
    EXPECT_TRUE(head.commentLines.empty());
}

TEST(CardLayoutTest, ListLinesOfACardWithACommentAndTwoSeries)
{
    CardPrintSettings settings;
    settings.decimalSign = ",";
    CTargetTypes types;
    PrintCard card = CardWithSeries(0);
    bvtest::AddSeries(card, 1, "Prove", {1050, 1150, 1299, 1300});
    bvtest::AddSeries(card, 3, "Serie 1", {987, 1000}, 6);
    card.SumUp();
    card.SetComment("en\r\nto\r\ntre");
    const int u = 10;
    ListCard list = ListLines(settings, card, types, u);
    // Five rows of head, one per comment line.
    EXPECT_EQ(list.rows, 8);
    EXPECT_EQ(list.lineHeight, 40);

    std::vector<ListCell> shots;
    for (const ListCell& c : list.cells)
        if (c.align == ListCell::kSplit)
            shots.push_back(c);
    // 1300 is no value and takes no cell.
    ASSERT_EQ(shots.size(), 5u);
    EXPECT_EQ(shots[0].row, 1);
    EXPECT_EQ(shots[0].left, 60 * u);
    EXPECT_EQ(shots[0].right, 67 * u);
    EXPECT_EQ(shots[1].left, 69 * u);
    EXPECT_EQ(shots[1].text + shots[1].fraction, "10,5*");
    EXPECT_EQ(shots[2].text + shots[2].fraction, "0,9*");
    EXPECT_EQ(shots[3].row, 2);
    EXPECT_EQ(shots[3].text + shots[3].fraction, "9,87");
    EXPECT_EQ(CellTextX(shots[0], u), 63 * u);

    auto textAt = [&](int row, int left) -> std::string {
        for (const ListCell& c : list.cells)
            if (c.row == row && c.left == left)
                return c.text;
        return "<none>";
    };
    EXPECT_EQ(textAt(1, 0), " 2:3");
    EXPECT_EQ(textAt(5, u), "");  // no result state
    EXPECT_EQ(textAt(6, 10 * u), "en");
    EXPECT_EQ(textAt(8, 10 * u), "tre");
    EXPECT_EQ(textAt(1, 154 * u), "21,0");  // 1050 + 1050 + 0 + 0
    EXPECT_EQ(textAt(2, 154 * u), "19,87");
    EXPECT_EQ(textAt(2, 167 * u), "40,87");

    PrintCard plain = CardWithSeries(6);
    EXPECT_EQ(ListLines(settings, plain, types, u).rows, 6);
    PrintCard small = CardWithSeries(2);
    EXPECT_EQ(ListLines(settings, small, types, u).rows, 5);
}

TEST(CardLayoutTest, TallBoxesPutTheTableBelowThePictureWideOnesBesideIt)
{
    const int u = 10;
    SeriesBox tall = SplitBox({0, 0, 600, 1000}, u);
    EXPECT_TRUE(tall.tall);
    EXPECT_EQ(tall.picture, (Rect{u, u, 600 - u, 600 - u}));
    EXPECT_EQ(tall.table, (Rect{0, 600, 600, 1000}));
    EXPECT_EQ(tall.size, 600 - 2 * u);
    EXPECT_EQ(tall.centre, (Point{300, 300}));

    SeriesBox wide = SplitBox({100, 200, 1100, 900}, u);
    EXPECT_FALSE(wide.tall);
    EXPECT_EQ(wide.picture, (Rect{100 + u, 200 + u, 800 - u, 900 - u}));
    EXPECT_EQ(wide.table, (Rect{800, 200, 1100, 900}));

    SeriesTable few = TableOf(tall, 5, u);
    ASSERT_EQ(few.thinFrames.size(), 1u);
    EXPECT_EQ(few.thinFrames[0], (Rect{0, 600, 400, 1000}));
    EXPECT_EQ(few.rowHeight, 80);
    EXPECT_EQ(few.ShotCell(0), (Rect{0, 600, 200 - 2 * u, 680}));
    EXPECT_EQ(few.ShotCell(6), (Rect{200, 680, 400 - 2 * u, 760}));
    EXPECT_EQ(few.sum, (Rect{400, 600, 600, 800}));
    EXPECT_EQ(few.total, (Rect{400, 800, 600, 1000}));
    EXPECT_EQ(TableOf(tall, 6, u).thinFrames.size(), 2u);

    SeriesTable side = TableOf(wide, 10, u);
    EXPECT_EQ(side.rowHeight, 700 / 12);
    EXPECT_EQ(side.thinFrames[0], (Rect{800, 200, 1100, 900 - 2 * side.rowHeight}));
    EXPECT_EQ(side.ShotCell(9), (Rect{800, 200 + 9 * 58, 1100, 200 + 10 * 58}));
    EXPECT_EQ(side.total, (Rect{800, 900 - 58, 1100, 900}));
}

TEST(CardLayoutTest, TheTableFontIsTheLargestThatFits)
{
    // A sample 10 units wide per point and 2 high per point.
    auto measure = [](int p) { return Point{10 * p, 2 * p}; };
    EXPECT_EQ(FitPoints(measure, 1000, 1000), 24);
    EXPECT_EQ(FitPoints(measure, 121, 1000), 12);
    EXPECT_EQ(FitPoints(measure, 120, 1000), 11);  // strictly narrower
    EXPECT_EQ(FitPoints(measure, 1000, 9), 4);
    EXPECT_EQ(FitPoints(measure, 5, 5), 0);
}

TEST(CardLayoutTest, ArrowsPointWhereTheShotLies)
{
    const int u = 10;
    Rect cell{0, 0, 400, 100};
    // Up and to the right on the face: the tip right of and above the tail (y down on the page).
    std::vector<Segment> up = Arrow(cell, 3, 4, 1.0, u);
    ASSERT_EQ(up.size(), 3u);
    Point tail = up[0].from, tip = up[0].to;
    EXPECT_GT(tip.x, tail.x);
    EXPECT_LT(tip.y, tail.y);
    // Centred half a row plus half a millimetre left of the right edge, on the row's middle.
    EXPECT_EQ((tail.x + tip.x) / 2, 400 - 50 - 5);
    EXPECT_EQ((tail.y + tip.y) / 2, 50);
    EXPECT_EQ(up[1].from, tip);
    EXPECT_EQ(up[2].from, tip);

    EXPECT_TRUE(Arrow(cell, 0, 0, 1.0, u).empty());      // dead centre
    EXPECT_TRUE(Arrow(cell, 1500, 0, 1.0, u).empty());   // rubbish from the target
    EXPECT_EQ(Arrow(cell, 1499, 0, 1.0, u).size(), 3u);
}

TEST(CardLayoutTest, TheRangeAndResultsTitlesFillTheHeadBoxes)
{
    CardPrintSettings settings;
    settings.SetRangeTitles("Eier", "Stevne", "01.02.2026", "Bane", "Sponsor");
    EXPECT_EQ(settings.headerD, "Eier");
    EXPECT_EQ(settings.headerB, "Stevne");
    EXPECT_EQ(settings.headerC, "01.02.2026");
    EXPECT_EQ(settings.headerA, "Bane");
    EXPECT_EQ(settings.footer1, "Sponsor");
    settings.SetResultsTitles("Arrangor", "Stevne", "Tittel", "Felt 1", "S1", "S2");
    EXPECT_EQ(settings.EventName(), "Felt 1");
    EXPECT_EQ(settings.footer2, "S2");

    settings.SetApplicationName("BVRemote");
    EXPECT_EQ(settings.titlePrefix, "BVRemote - ");

    settings.SetZoomOption("01010101010");
    for (int level = 0; level < 12; ++level)
        EXPECT_EQ(settings.zoomLevels[level], level % 2 == 1 && level <= 10 ? 1 : 0) << level;
    settings.SetDefaults();
    EXPECT_EQ(settings.zoomLevels[0], 0);
    EXPECT_EQ(settings.zoomLevels[9], 1);
    EXPECT_EQ(settings.zoomLevels[10], 0);
    EXPECT_EQ(settings.captions[CardPrintSettings::kState4], "NOE");
}

}  // namespace
