// A list of three definitions in the competition's page frame printed into
// a PDF file, read back with pdfinfo and pdftotext: the page count the
// layout made, every row once, the frame on every page, and the captions
// and the left edge where the margins and percentages put them.
#include "ReportFixture.h"

#include "platform/system/Clock.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/data/CompetitionItems.h"
#include "tests/results/ResultsFixture.h"

#include "QtApp.h"
#include "RunCommand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>

namespace {

using namespace results;
using namespace reporttest;

// A word pdftotext found, in points from the sheet's top left corner.
struct Word {
    std::string text;
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double CentreX() const { return (xMin + xMax) / 2; }
};

std::vector<Word> WordsOf(const std::string& pdf)
{
    std::string html = bvtest::RunCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> words;
    std::regex item(R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[5].matched)
            words.push_back({m[5].str(), page, std::stod(m[1].str()), std::stod(m[2].str()), std::stod(m[3].str()),
                             std::stod(m[4].str())});
        else
            ++page;
    }
    return words;
}

constexpr int kDpi = 600;
double Points(double pixels) { return pixels * 72.0 / kDpi; }
int Px(double mm) { return static_cast<int>(std::lround(mm * kDpi / 25.4)); }

class ReportPdfTest : public restest::CompetitionTest {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
    void SetUp() override
    {
        restest::CompetitionTest::SetUp();
        clock.now = {2026, 5, 17, 9, 5, 0, 0, 0};
        platform::SetClock(&clock);
    }
    void TearDown() override { platform::SetClock(nullptr); }

    platform::ManualClock clock;
};

TEST_F(ReportPdfTest, ThreeDefinitionsInThePageFrame)
{
    CBVConfig& c = comp.Comp();
    ::WriteItem(c, CompItems::kName, "Landsskytterstevnet");
    ::WriteItem(comp.User(), UserItems::kOrganiser, "Skytterlaget");
    ::WriteItem(c, CompItems::kTitle2, "Mai");
    WriteItem(c, CompItems::kSponsor1, "Sparebanken");
    WriteItem(c, CompItems::kSponsor2, "Bakeriet");
    comp.orgType = 6;
    bvtest::TempFolder::Write(folder.File("BVRes.ini"), "[Margin]\r\nLeft=12\r\nTop=10\r\nRight=8\r\nBottom=10\r\n");

    KeptReport report;
    CPageFrame frame(comp);
    const SyntheticDef shapes[] = {
        {.rows = 500, .lines = 3, .compactStyle = 0x6},
        {.rows = 90, .lines = 1, .captions = 7},
        {.rows = 70, .lines = 1, .captions = 9},
    };
    for (int d = 1; d <= 3; ++d) {
        report.aListDef.resize(static_cast<size_t>(d));
        CPageFrame::ReadMargins(report);
        AddSyntheticDef(report, d, shapes[d - 1], &frame);
    }
    report.ListComplete(3);

    // A printer that cannot print on the outer 5 mm left and right and 7 mm
    // at the top and bottom.
    platform::PrintJob pdf;
    platform::PdfPage paper{.dotsPerInch = kDpi, .leftMm = 5, .topMm = 7, .rightMm = 5, .bottomMm = 7};
    std::string path = folder.File("Liste.pdf");
    ASSERT_TRUE(pdf.UsePdfFile(path, paper));
    platform::DeviceCaps caps = pdf.Target()->Caps();
    report.PrintTo(*pdf.Target());
    ASSERT_EQ(report.ended, 1);

    int pages = static_cast<int>(report.pagesSeen.size());
    std::string info = bvtest::RunCommand("pdfinfo '" + path + "'");
    EXPECT_NE(info.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos) << info;

    std::vector<Word> words = WordsOf(path);
    std::multimap<std::string, const Word*> byText;
    for (const Word& w : words)
        byText.insert({w.text, &w});
    for (int d = 1; d <= 3; ++d) {
        for (int i = 1; i <= shapes[d - 1].rows; ++i) {
            for (int l = 1; l <= shapes[d - 1].lines; ++l) {
                bool hidden = i >= 9 && (shapes[d - 1].compactStyle & (1 << (l - 1)));
                ASSERT_EQ(byText.count(RowText(d, i, l)), hidden ? 0u : 1u) << RowText(d, i, l);
            }
        }
    }

    // The frame on every page: the competition, the organiser, the
    // definition's title, the sponsors, the print time, the web address.
    for (int p = 1; p <= pages; ++p) {
        int d = report.pagesSeen[static_cast<size_t>(p - 1)].definition;
        for (const std::string& text : {std::string("Landsskytterstevnet"), std::string("Arrangør:Skytterlaget"),
                                        "Tittel" + std::to_string(d), std::string("Sparebanken"), std::string("Bakeriet"),
                                        std::string("09:05"), std::string("17.05"), std::string("www.brevandi.no")}) {
            auto found = byText.equal_range(text);
            EXPECT_EQ(std::count_if(found.first, found.second, [&](auto& w) { return w.second->page == p; }), 1)
                << text << " on page " << p;
        }
    }

    // Where the margins put the body: 12 mm from the printable area's left
    // edge, down to a multiple of 100 dots, and 40 dots in.
    int left = (Px(12) / 100) * 100;
    int right = caps.horzRes - Px(8 + 5);
    int width = ((right - left) / 100) * 100;
    const Word* firstRow = byText.find(RowText(1, 1, 1))->second;
    EXPECT_NEAR(firstRow->xMin, Points(caps.physicalOffsetX + left + 40), 1.0);

    // The captions stand centred in their boxes, the boxes side by side
    // from the left edge by their percentages.
    struct Captions {
        int d;
        std::vector<int> percent;
        std::vector<std::string> texts;
    };
    const Captions tables[] = {
        {2, {4, 6, 28, 6, 32, 8, 16}, {"Rk", "Bib", "Name", "Nat", "Serie", "Total", "Remark"}},
        {3, {4, 6, 28, 6, 7, 21, 7, 7, 14}, {"Rk", "Bib", "Name", "Nat", "Serie", "Total", "Remark"}},
    };
    for (const Captions& table : tables) {
        SCOPED_TRACE(testing::Message() << "definition " << table.d);
        int page = 0;
        for (int p = 1; p <= pages && page == 0; ++p)
            if (report.pagesSeen[static_cast<size_t>(p - 1)].definition == table.d)
                page = p;
        int x = left;
        double top = -1;
        for (size_t k = 0; k < table.texts.size(); ++k) {
            int cell = table.percent[k] * width / 100;
            auto found = byText.equal_range(table.texts[k]);
            auto onPage = std::find_if(found.first, found.second, [&](auto& w) { return w.second->page == page; });
            ASSERT_NE(onPage, found.second) << table.texts[k];
            EXPECT_NEAR(onPage->second->CentreX(), Points(caps.physicalOffsetX + x + cell / 2.0), 1.0) << table.texts[k];
            if (top < 0)
                top = onPage->second->yMin;
            EXPECT_NEAR(onPage->second->yMin, top, 0.5) << table.texts[k];
            x += cell;
        }
        // Below the titles and above the first row.
        const Word* title = nullptr;
        for (auto [it, end] = byText.equal_range("Tittel" + std::to_string(table.d)); it != end; ++it)
            if (it->second->page == page)
                title = it->second;
        ASSERT_NE(title, nullptr);
        EXPECT_GT(top, title->yMax);
        EXPECT_LT(top, byText.find(RowText(table.d, 1, 1))->second->yMin);
    }
}

}  // namespace
