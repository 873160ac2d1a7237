// The report engine's layout on a recorded A4 printer at 600 dpi: margins,
// rows per page, the header's common shrink, definitions on pages of their
// own, the preview going back, and lists that must still come to an end.
#include "ReportFixture.h"

#include "platform/ui/draw/DrawSurface.h"

#include "QtApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using namespace reporttest;
using platform::DrawRecorder;
using platform::DrawSurface;
using platform::Rect;

// The recorded printer: A4 at 600 dpi whose printable area starts 100
// pixels from the left and 120 from the top edge.
const platform::DeviceCaps kA4 = DrawRecorder::A4(600, 100, 120);

int Px(int mm) { return static_cast<int>(std::lround(mm * 600 / 25.4)); }

class ReportLayoutTest : public testing::Test {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }

    DrawRecorder recorder{kA4};
};

TEST_F(ReportLayoutTest, MarginsComeOffThePrintableArea)
{
    struct Case {
        int left, top, right, bottom;
        Rect expected;
    };
    // The left edge falls on a multiple of 100 units; the right margin is
    // always 5 mm wider than set.
    const Case cases[] = {
        {0, 0, 0, 0, {0, 0, kA4.horzRes - Px(5), kA4.vertRes}},
        {10, 15, 20, 25, {200, Px(15), kA4.horzRes - Px(25), kA4.vertRes - Px(25)}},
        {4, 0, 0, 0, {0, 0, kA4.horzRes - Px(5), kA4.vertRes}},
        {9, 0, 0, 0, {200, 0, kA4.horzRes - Px(5), kA4.vertRes}},
    };
    DrawSurface dc;
    dc.Attach(&recorder);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "/" << c.top << "/" << c.right << "/" << c.bottom);
        CReport report;
        report.m_marginLeft = c.left;
        report.m_marginTop = c.top;
        report.m_marginRight = c.right;
        report.m_marginBottom = c.bottom;
        Rect rect{0, 0, kA4.horzRes, kA4.vertRes};
        report.ApplyMargins(dc, rect);
        EXPECT_EQ(rect.left, c.expected.left);
        EXPECT_EQ(rect.top, c.expected.top);
        EXPECT_EQ(rect.right, c.expected.right);
        EXPECT_EQ(rect.bottom, c.expected.bottom);
    }
}

// Rows per page: the first page of a definition holds eight whole rows and
// then compact ones when the ninth row hides lines, every other page compact
// rows only; every row is drawn once, its hidden lines never, and no row
// runs into the next one or into the footer.
TEST_F(ReportLayoutTest, RowsPerPageAndEveryRowOnce)
{
    struct Case {
        const char* name;
        int rows;
        uint16_t style;       // of rows 9 on
        int bottomMargin;     // mm: less room on the page
        bool laterDefinition; // the table is the second definition of the list
    };
    const Case cases[] = {
        {"whole rows", 60, 0, 0, false},
        {"compact from row 9", 200, 0x6, 0, false},
        {"compact in a later definition", 200, 0x6, 0, true},
        {"compact, less room", 200, 0x6, 100, true},
        {"eight rows", 8, 0x6, 0, false},
        {"nine rows, compact ninth", 9, 0x6, 0, true},
        {"room for fewer than eight", 40, 0x6, 175, true},
        {"middle line hidden", 120, 0x2, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        KeptReport report;
        report.m_marginBottom = c.bottomMargin;
        int d = c.laterDefinition ? 2 : 1;
        if (c.laterDefinition)
            AddSyntheticDef(report, 1, {.rows = 3});
        AddSyntheticDef(report, d, {.rows = c.rows, .compactStyle = c.style});
        report.ListComplete(d);
        report.PrintTo(recorder);
        ASSERT_EQ(report.ended, 1);

        const ListDef& def = report.defsSeen[static_cast<size_t>(d - 1)];
        int full = def.lineBottoms[0];
        int first = def.lineBottoms[1];
        ASSERT_GT(first, 0);
        // The measured arithmetic: a compact row counts the first line's
        // height per shown line, but reaches at least to its lowest shown line.
        bool compact = c.rows > 8 && c.style != 0;
        int shown = 0, lowest = 0;
        for (int l = 1; l <= 3; ++l) {
            if (!(c.style & (1 << (l - 1)))) {
                ++shown;
                lowest = def.lineBottoms[static_cast<size_t>(l)];
            }
        }
        int pitch = compact ? std::max(shown * first, lowest) : full;
        int room = (kA4.vertRes - Px(c.bottomMargin)) - 3 * def.headerLineHeight - 3 * def.footerLineHeight;
        // A page holds the whole rows left of the first eight, then
        // compact ones; the first page of all with less room than eight
        // whole rows holds as many whole rows as fit.
        auto capacity = [&](int before) {
            int whole = std::max(0, std::min(8, c.rows) - before);
            if (room < whole * full)
                return room / full;
            return whole + (room - whole * full) / pitch;
        };
        if (std::string(c.name) == "room for fewer than eight")
            ASSERT_LT(room, 8 * full);

        std::vector<ReportPage> pages;
        for (const ReportPage& page : report.pagesSeen)
            if (page.definition == d)
                pages.push_back(page);
        ASSERT_FALSE(pages.empty());
        int before = 0;
        for (size_t k = 0; k < pages.size(); ++k) {
            EXPECT_EQ(pages[k].rows, std::min(capacity(before), c.rows - before)) << "page " << k + 1;
            EXPECT_EQ(pages[k].rowsBefore, before);
            EXPECT_EQ(pages[k].pageInDefinition, static_cast<int>(k) + 1);
            before += pages[k].rows;
        }
        EXPECT_EQ(before, c.rows);

        auto texts = TextsOf(recorder);
        int firstPrinted = static_cast<int>(report.pagesSeen.size() - pages.size()) + 1;
        int footerTop = kA4.vertRes - Px(c.bottomMargin) - 3 * def.footerLineHeight;
        std::map<int, std::vector<Rect>> linesOnPage;
        for (int i = 1; i <= c.rows; ++i) {
            for (int l = 1; l <= 3; ++l) {
                bool hidden = i >= 9 && (c.style & (1 << (l - 1)));
                auto found = texts.equal_range(RowText(d, i, l));
                ASSERT_EQ(std::distance(found.first, found.second), hidden ? 0 : 1) << RowText(d, i, l);
                if (hidden)
                    continue;
                const Placed& placed = found.first->second;
                // On the page the records give the row.
                int page = firstPrinted;
                for (size_t k = 0, at = 0; k < pages.size(); at += static_cast<size_t>(pages[k].rows), ++k)
                    if (i > static_cast<int>(at))
                        page = firstPrinted + static_cast<int>(k);
                EXPECT_EQ(placed.page, page) << RowText(d, i, l);
                EXPECT_LE(placed.rect.bottom, footerTop) << RowText(d, i, l);
                linesOnPage[placed.page].push_back(placed.rect);
            }
        }
        for (auto& [page, rects] : linesOnPage) {
            std::sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return a.top < b.top; });
            for (size_t k = 1; k < rects.size(); ++k)
                ASSERT_GE(rects[k].top, rects[k - 1].bottom) << "lines overlap on page " << page;
        }
    }
}

// A caption that has to shrink takes every column of the header down by as
// many points as it took itself, on top of each column's own steps.
TEST_F(ReportLayoutTest, HeaderColumnsShrinkByTheLargestStep)
{
    KeptReport report;
    AddSyntheticDef(report, 1, {.rows = 5, .captions = 9});
    Nth(report.Def(1).headerColumns, 9).fitChars = 28;  // a caption of 21 % that must hold 28 characters
    report.ListComplete(1);
    report.PrintTo(recorder);

    const ListDef& def = report.defsSeen[0];
    int shrink = 0;
    for (const ReportColumn& column : def.headerColumns)
        shrink = std::max(shrink, column.declaredPointSize - column.pointSize);
    EXPECT_EQ(Nth(def.headerColumns, 9).declaredPointSize - Nth(def.headerColumns, 9).pointSize, shrink);
    ASSERT_GT(shrink, 1);

    DrawSurface dc;
    dc.Attach(&recorder);
    auto texts = TextsOf(recorder);
    for (int c = 1; c <= 15; ++c) {
        const ReportColumn& column = Nth(def.headerColumns, c);
        const std::string& text = Nth(def.headerRows[0].cells, c).text;
        if (text.empty())
            continue;
        SCOPED_TRACE(text);
        auto found = texts.find(text);
        ASSERT_NE(found, texts.end());
        platform::DrawFont expected =
            dc.PointFont(std::max(1, column.pointSize - shrink) * 10, column.face, column.bold ? 700 : 400);
        EXPECT_EQ(found->second.font, expected);
    }
    // The fitted caption is the largest size that holds its characters.
    DrawSurface measure;
    measure.Attach(&recorder);
    const ReportColumn& name = Nth(def.headerColumns, 9);
    std::string run(28, 'X');
    measure.SelectFont(measure.PointFont(name.pointSize * 10, name.face));
    EXPECT_LE(measure.GetTextExtent(run).cx, name.width);
    measure.SelectFont(measure.PointFont((name.pointSize + 1) * 10, name.face));
    EXPECT_GT(measure.GetTextExtent(run).cx, name.width);
}

TEST_F(ReportLayoutTest, EveryDefinitionStartsAPageWithItsOwnHeaderAndFooter)
{
    KeptReport report;
    const int rows[] = {150, 5, 90};
    for (int d = 1; d <= 3; ++d)
        AddSyntheticDef(report, d, {.rows = rows[d - 1], .compactStyle = 0x6, .captions = d == 1 ? 0 : 7 + d});
    report.ListComplete(3);
    report.PrintTo(recorder);
    ASSERT_EQ(recorder.Pages(), static_cast<int>(report.pagesSeen.size()));

    auto texts = TextsOf(recorder);
    for (int p = 1; p <= recorder.Pages(); ++p) {
        int d = report.pagesSeen[static_cast<size_t>(p - 1)].definition;
        SCOPED_TRACE(testing::Message() << "page " << p << ", definition " << d);
        for (int other = 1; other <= 3; ++other) {
            for (const std::string& text : {"Stevne" + std::to_string(other), "Sponsor" + std::to_string(other)}) {
                auto found = texts.equal_range(text);
                int onPage = static_cast<int>(std::count_if(found.first, found.second, [&](auto& t) { return t.second.page == p; }));
                EXPECT_EQ(onPage, other == d ? 1 : 0) << text;
            }
        }
        // Only rows of the page's own definition.
        for (const auto& [text, placed] : texts)
            if (placed.page == p && text.size() == 9 && text[0] == 'D')
                EXPECT_EQ(text[1] - '0', d) << text;
    }
    // Each definition's first row opens a page.
    for (int d = 1; d <= 3; ++d) {
        auto first = texts.find(RowText(d, 1, 1));
        ASSERT_NE(first, texts.end());
        int page = first->second.page;
        EXPECT_EQ(report.pagesSeen[static_cast<size_t>(page - 1)].pageInDefinition, 1);
        if (d > 1)
            EXPECT_EQ(report.pagesSeen[static_cast<size_t>(page - 2)].definition, d - 1);
    }
}

// The preview draws pages in any order once they are known; going back to
// an earlier definition lays it out again, and a page looks the same every
// time it is drawn.
TEST_F(ReportLayoutTest, PreviewGoingBackLaysOutAgain)
{
    CReport report;
    AddSyntheticDef(report, 1, {.rows = 120, .compactStyle = 0x6, .captions = 9});
    Nth(report.Def(1).headerColumns, 9).fitChars = 50;  // the header shrinks
    AddSyntheticDef(report, 2, {.rows = 100, .captions = 7});
    report.ListComplete(2);

    DrawSurface dc;
    dc.Attach(&recorder);
    PrintInfo& info = report.m_printInfo;
    info.preview = true;
    report.OnBeginPrinting(dc, info);
    auto draw = [&](int p) {
        info.currentPage = p;
        info.drawRect = {0, 0, kA4.horzRes, kA4.vertRes};
        dc.StartPage();
        int saved = dc.SaveDC();
        report.OnPrint(dc, info);
        dc.RestoreDC(saved);
        dc.EndPage();
        return recorder.Pages();
    };
    int pages = 0;
    while (report.m_continuePrinting && pages < 100)
        pages = draw(pages + 1);
    ASSERT_LT(pages, 100);
    ASSERT_EQ(info.maxPage, pages);
    int firstOfSecond = static_cast<int>(std::count_if(report.m_pages.begin(), report.m_pages.end(),
                                                       [](const ReportPage& page) { return page.definition == 1; })) + 1;
    ASSERT_LT(firstOfSecond, pages);

    auto callsOn = [&](int recorded) {
        std::vector<std::string> calls;
        for (const platform::DrawCall& call : recorder.Calls()) {
            if (recorder.PageOf(&call) != recorded || call.name == "StartPage" || call.name == "EndPage")
                continue;
            std::string line = call.name + " " + call.text + " " + call.font.face + " " + std::to_string(call.font.height);
            for (int a : call.args)
                line += " " + std::to_string(a);
            calls.push_back(line);
        }
        return calls;
    };
    // Back to page 1 from the end, forward to page 2, on to the second
    // definition, then the last page again.
    const int order[] = {1, 2, firstOfSecond, pages};
    for (int p : order) {
        SCOPED_TRACE(testing::Message() << "page " << p);
        int again = draw(p);
        EXPECT_EQ(callsOn(again), callsOn(p));
        EXPECT_FALSE(callsOn(again).empty());
    }
    EXPECT_EQ(static_cast<int>(report.m_pages.size()), pages);
}

// Lists the layout cannot fill sensibly still end: rows of no height, rows
// taller than the page (of more lines than a shooting card's 40 series),
// columns too narrow for one character.
TEST_F(ReportLayoutTest, OddListsComeToAnEnd)
{
    struct Case {
        const char* name;
        std::function<void(ListDef&)> change;
        int rows;
        int pages;
    };
    const Case cases[] = {
        {"no body lines", [](ListDef& def) { def.bodyLines.clear(); }, 50, 1},
        {"no body columns", [](ListDef& def) { def.bodyColumns.clear(); }, 50, 1},
        {"rows taller than the page",
         [](ListDef& def) {
             def.bodyLines.assign(45, ReportLine());
             def.bodyColumns.assign(45, def.bodyColumns[0]);
             for (int l = 1; l <= 45; ++l) {
                 Nth(def.bodyColumns, l).line = l;
                 Nth(def.bodyColumns, l).pointSize = 72;
                 Nth(def.bodyColumns, l).widthPercent = 100;
                 Nth(def.bodyColumns, l).fitChars = 2;
                 Nth(def.bodyLines, l).firstColumn = l;
             }
         },
         4, 4},
        {"columns of no width",
         [](ListDef& def) {
             for (ReportColumn& column : def.bodyColumns)
                 column.widthPercent = 0;
         },
         30, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        KeptReport report;
        AddSyntheticDef(report, 1, {.rows = c.rows, .lines = 1});
        c.change(report.Def(1));
        report.ListComplete(1);
        report.PrintTo(recorder);
        EXPECT_EQ(recorder.Pages(), c.pages);
        EXPECT_EQ(report.ended, 1);
        int rows = 0;
        for (const ReportPage& page : report.pagesSeen)
            rows += page.rows;
        EXPECT_EQ(rows, c.rows);
        for (const ReportColumn& column : report.defsSeen[0].bodyColumns)
            EXPECT_GE(column.pointSize, 1);
    }
}

}  // namespace
