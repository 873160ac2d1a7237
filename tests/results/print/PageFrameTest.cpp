// The page frame on a competition opened in a fresh folder: the header's
// texts and caption line by the competition's rules, the footer's sponsors
// and print time, the frame's columns and lines, and the margins of
// BVRes.ini read at every set-up.
#include "results/print/PageFrame.h"

#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "results/data/CompetitionItems.h"
#include "results/print/Report.h"
#include "tests/results/ResultsFixture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using namespace results;

class PageFrameTest : public restest::CompetitionTest {
protected:
    void SetUp() override
    {
        restest::CompetitionTest::SetUp();
        clock.now = {2026, 5, 17, 9, 5, 0, 0, 0};
        platform::SetClock(&clock);
        report.aListDef.resize(1);
    }
    void TearDown() override { platform::SetClock(nullptr); }

    std::vector<std::string> HeaderTexts() const
    {
        std::vector<std::string> texts;
        for (const ReportCell& cell : report.Def(1).headerRows.at(0).cells)
            texts.push_back(cell.text);
        return texts;
    }

    platform::ManualClock clock;
    CReport report;
};

TEST_F(PageFrameTest, HeaderAndFooterTextsByTheCompetitionsRules)
{
    CBVConfig& c = comp.Comp();
    ::WriteItem(c, CompItems::kName, "Landsskytterstevnet");
    ::WriteItem(c, CompItems::kTitle2, "17.-20. mai");
    ::WriteItem(comp.User(), UserItems::kOrganiser, "Skytterlaget");
    WriteItem(c, CompItems::kSponsor1, "Sparebanken, den beste banken i hele landet, alltid for deg");
    WriteItem(c, CompItems::kSponsor2, "Bakeriet");

    struct Case {
        int orgType;
        int represent;  // -1: not set
        int captions;
        std::vector<std::string> captionTexts;
    };
    const std::string e;  // an empty caption
    const Case cases[] = {
        // Unset, what the shooters represent counts as nations.
        {6, -1, 7, {"Rk", "Bib", "Name", "Nat", "Serie", "Total", "Remark"}},
        {1, -1, 0, {}},
        {1, 0, 7, {e, e, e, e, e, e, e}},
        {1, 0, 9, {e, e, e, e, e, e, e, e, e}},
        {1, 1, 18, std::vector<std::string>(18)},
        {2, 0, 0, {}},
        {2, 0, 7, {"Pl", "SNr", "Navn", "Land", "Serie", "Total", "Merknad"}},
        {2, 1, 9, {"Pl", "SNr", "Navn/Klub", e, "Serie", "Total", "Merknad", e, e}},
        {2, 0, 18, {"Pl", "SNr", "Navn", "Land", "Stilling", "Serie", "Delsum", "Total", "Merknad", e, e, e, e, e, e, e, e, e}},
        {6, 0, 0, {}},
        {6, 1, 9, {"Rk", "Bib", "Name/Club", e, "Serie", "Total", "Remark", e, e}},
        {6, 0, 18, {"Rk", "Bib", "Name", "Nat", "Pos", "Serie", "Sub", "Total", "Remark", e, e, e, e, e, e, e, e, e}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "type " << k.orgType << ", represent " << k.represent << ", " << k.captions
                                        << " captions");
        comp.orgType = k.orgType;
        if (k.represent >= 0)
            ::WriteItem(c, CompItems::kRepresentHeader, k.represent);
        report.aListDef.assign(1, ListDef());
        ListDef& def = report.Def(1);
        CPageFrame::SetupHeader(def, k.captions);
        CPageFrame::SetupFooter(def);
        CPageFrame frame(comp);
        frame.BuildPageHeader(report, "Resultatliste", "Klasse 3", 1, k.captions);

        std::vector<std::string> expected = {"Landsskytterstevnet", platform::Ansi("Arrangør:Skytterlaget"),
                                             "17.-20. mai", "", "Resultatliste", "Klasse 3"};
        expected.insert(expected.end(), k.captionTexts.begin(), k.captionTexts.end());
        EXPECT_EQ(HeaderTexts(), expected);
        ASSERT_EQ(def.headerRows.size(), 1u);
        EXPECT_EQ(def.headerColumns.size(), static_cast<size_t>(k.captions + 6));
        EXPECT_EQ(def.headerLines.size(), k.captions == 0 ? 3u : 5u);

        ASSERT_EQ(def.footerRows.size(), 1u);
        std::vector<std::string> footer;
        for (const ReportCell& cell : def.footerRows[0].cells)
            footer.push_back(cell.text);
        EXPECT_EQ(footer, (std::vector<std::string>{"Sparebanken, den beste banken i hele landet, alltid for deg",
                                                    "Bakeriet", "09:05 - 17.05", "www.brevandi.no"}));
    }
}

TEST_F(PageFrameTest, AnEmptyOrganiserLeavesTheWordAndTheColon)
{
    CPageFrame::SetupHeader(report.Def(1), 0);
    CPageFrame::SetupFooter(report.Def(1));
    CPageFrame(comp).BuildPageHeader(report, "Startliste", "", 1, 0);
    EXPECT_EQ(HeaderTexts()[1], platform::Ansi("Arrangør:"));
    EXPECT_EQ(HeaderTexts()[0], "");
}

// The print time is the time the list was made, from the program's clock.
TEST_F(PageFrameTest, PrintTimeComesFromTheClock)
{
    EXPECT_EQ(CPageFrame::PrintTime(), "09:05 - 17.05");
    clock.now = {2026, 12, 3, 23, 59, 30, 0, 4};
    EXPECT_EQ(CPageFrame::PrintTime(), "23:59 - 03.12");
}

// The frame's columns and lines: header lines 1 to 3 (the third ruled),
// with captions a spacing line and the caption line; the caption tables of
// 7 and 9 fill the width; the footer's sponsors and small print; body
// columns alike.
TEST_F(PageFrameTest, FrameColumnsAndLines)
{
    for (int captions : {0, 7, 9, 12}) {
        SCOPED_TRACE(testing::Message() << captions << " captions");
        ListDef def;
        CPageFrame::SetupHeader(def, captions);
        const int lineOf[6] = {1, 1, 2, 2, 3, 3}, widthOf[6] = {55, 45, 40, 60, 60, 40};
        const int alignOf[6] = {kAlignLeft, kAlignRight, kAlignLeft, kAlignRight, kAlignLeft, kAlignRight};
        const int fitOf[6] = {25, 20, 20, 20, 20, 15}, sizeOf[6] = {14, 14, 14, 16, 18, 15};
        for (int k = 0; k < 6; ++k) {
            const ReportColumn& column = def.headerColumns[static_cast<size_t>(k)];
            EXPECT_EQ(column.line, lineOf[k]);
            EXPECT_EQ(column.widthPercent, widthOf[k]);
            EXPECT_EQ(column.align, alignOf[k]);
            EXPECT_EQ(column.fitChars, fitOf[k]);
            EXPECT_EQ(column.pointSize, sizeOf[k]);
            EXPECT_EQ(column.face, "Times New Roman");
            EXPECT_TRUE(column.bold);
        }
        EXPECT_EQ(Nth(def.headerLines, 1).firstColumn, 1);
        EXPECT_EQ(Nth(def.headerLines, 2).firstColumn, 3);
        EXPECT_EQ(Nth(def.headerLines, 3).firstColumn, 5);
        EXPECT_TRUE(Nth(def.headerLines, 3).underline);
        if (captions == 0)
            continue;
        EXPECT_EQ(Nth(def.headerLines, 4).firstColumn, 0);
        EXPECT_EQ(Nth(def.headerLines, 5).firstColumn, 7);
        EXPECT_FALSE(Nth(def.headerLines, 5).underline);
        std::vector<ReportColumn> caption(def.headerColumns.begin() + 6, def.headerColumns.end());
        if (captions == 7 || captions == 9) {
            int width = std::accumulate(caption.begin(), caption.end(), 0,
                                        [](int sum, const ReportColumn& c) { return sum + c.widthPercent; });
            EXPECT_EQ(width, 100);
            for (const ReportColumn& column : caption) {
                EXPECT_EQ(column.line, 5);
                EXPECT_EQ(column.align, kAlignCentre);
                EXPECT_EQ(column.frame, kFrameBox);
                EXPECT_EQ(column.pointSize, 10);
                EXPECT_FALSE(column.bold);
            }
        } else {
            // Other caption counts are laid out by the list that asks for them.
            for (const ReportColumn& column : caption) {
                EXPECT_EQ(column.line, 1);
                EXPECT_EQ(column.widthPercent, 50);
            }
        }
    }

    ListDef def;
    CPageFrame::SetupFooter(def);
    ASSERT_EQ(def.footerColumns.size(), 4u);
    ASSERT_EQ(def.footerLines.size(), 3u);
    EXPECT_EQ(def.footerColumns[0].frame, kFrameTop);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(def.footerColumns[static_cast<size_t>(k)].widthPercent, 100);
        EXPECT_EQ(def.footerColumns[static_cast<size_t>(k)].align, kAlignCentre);
        EXPECT_EQ(def.footerColumns[static_cast<size_t>(k)].fitChars, 50);
        EXPECT_EQ(def.footerColumns[static_cast<size_t>(k)].face, "Times New Roman");
    }
    EXPECT_EQ(def.footerColumns[2].pointSize, 6);
    EXPECT_EQ(def.footerColumns[3].align, kAlignRight);
    EXPECT_EQ(def.footerColumns[3].face, "Arial");
    EXPECT_EQ(Nth(def.footerLines, 3).firstColumn, 3);

    CPageFrame::SetupBody(def, 3, 11);
    ASSERT_EQ(def.bodyColumns.size(), 3u);
    for (const ReportColumn& column : def.bodyColumns) {
        EXPECT_EQ(column.widthPercent, 33);
        EXPECT_EQ(column.pointSize, 11);
        EXPECT_EQ(column.fitChars, 20);
        EXPECT_EQ(column.face, "Arial");
    }
    CPageFrame::SetupBody(def, 0, 11);
    EXPECT_EQ(def.bodyColumns.size(), 1u);
}

// Margins are read at every set-up: a changed ini file counts from the
// next list on, a missing one gives no margins.
TEST_F(PageFrameTest, MarginsFromBVResIniAtEverySetUp)
{
    CPageFrame::ReadMargins(report);
    EXPECT_EQ(report.m_marginLeft + report.m_marginTop + report.m_marginRight + report.m_marginBottom, 0);

    bvtest::TempFolder::Write(folder.File("BVRes.ini"), "[Margin]\r\nLeft=10\r\nTop=15\r\nRight=20\r\nBottom=25\r\n");
    CPageFrame::ReadMargins(report);
    EXPECT_EQ(report.m_marginLeft, 10);
    EXPECT_EQ(report.m_marginTop, 15);
    EXPECT_EQ(report.m_marginRight, 20);
    EXPECT_EQ(report.m_marginBottom, 25);

    bvtest::TempFolder::Write(folder.File("BVRes.ini"), "[margin]\r\nleft=5\r\n");
    CPageFrame::ReadMargins(report);
    EXPECT_EQ(report.m_marginLeft, 5);
    EXPECT_EQ(report.m_marginTop, 0);
    EXPECT_EQ(report.m_marginRight, 0);
    EXPECT_EQ(report.m_marginBottom, 0);
}

}  // namespace
