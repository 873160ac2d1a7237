// The preview of a result list in the competition's page frame, kept for the
// eye as screens/report-preview.png: a caption line of nine framed boxes,
// rows of two lines, then compact rows of one line from the ninth row on.
#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/KitWindow.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintPreview.h"
#include "results/data/CompetitionItems.h"
#include "results/print/PageFrame.h"
#include "results/print/Report.h"
#include "tests/results/ResultsFixture.h"

#include "QtApp.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

using namespace results;

class PreviewScreenTest : public restest::CompetitionTest {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
    void SetUp() override
    {
        restest::CompetitionTest::SetUp();
        clock.now = {2026, 5, 17, 14, 32, 0, 0, 0};
        platform::SetClock(&clock);
        frame.show();
        platform::SetMainWindow(&frame);
    }
    void TearDown() override
    {
        platform::SetMainWindow(nullptr);
        platform::SetClock(nullptr);
    }

    platform::ManualClock clock;
    platform::FrameWnd frame;
    platform::ScopedDefaultPrinter printer{platform::A4Printer(600, 100, 100)};
};

TEST_F(PreviewScreenTest, ResultListPreview)
{
    CBVConfig& c = comp.Comp();
    ::WriteItem(c, CompItems::kName, "Vestlandsstevnet 2026");
    ::WriteItem(c, CompItems::kTitle2, platform::Ansi("Lørdag 16. og søndag 17. mai"));
    ::WriteItem(comp.User(), UserItems::kOrganiser, "Fana Skytterlag");
    WriteItem(c, CompItems::kSponsor1, "Sparebanken Vest");
    WriteItem(c, CompItems::kSponsor2, platform::Ansi("Bakeriet på hjørnet"));
    ::WriteItem(c, CompItems::kRepresentHeader, 0);
    comp.orgType = 2;

    CReport report;
    report.aListDef.resize(1);
    ListDef& def = report.Def(1);
    CPageFrame::ReadMargins(report);
    CPageFrame::SetupHeader(def, 9);
    CPageFrame::SetupFooter(def);
    CPageFrame::SetupBody(def, 10, 10);
    // Line 1 under the nine captions, line 2 the series shots across.
    const int widths[9] = {4, 6, 28, 6, 7, 21, 7, 7, 14};
    const int aligns[9] = {kAlignRight, kAlignRight, kAlignLeft, kAlignCentre, kAlignRight,
                           kAlignCentre, kAlignLeft, kAlignLeft, kAlignLeft};
    for (int k = 0; k < 9; ++k) {
        ReportColumn& column = def.bodyColumns[static_cast<size_t>(k)];
        column.widthPercent = widths[k];
        column.align = aligns[k];
        column.fitChars = 2;
    }
    ReportColumn& shots = def.bodyColumns[9];
    shots.line = 2;
    shots.widthPercent = 100;
    shots.pointSize = 8;
    shots.fitChars = 60;
    def.bodyLines.assign(2, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[1].firstColumn = 10;
    def.bodyLines[1].underline = true;
    CPageFrame(comp).BuildPageHeader(report, "Resultatliste", "Klasse 3", 1, 9);

    const char* names[] = {"Kari Nordmann",  "Ola Nordmann",    "Ingrid Haugen", "Per Olsen",     "Sigrid Bakke",
                           "Lars Berg",      "Anne Lie",        "Jon Dahl",      "Marit Strand",  "Knut Moen",
                           "Liv Solberg",    "Erik Lunde",      "Hilde Vik",     "Tor Aas",       "Randi Holm",
                           "Svein Myklebust", "Bjørg Sæther",   "Geir Økland",   "Tone Rønning",  "Arne Hauge"};
    const char* nations[] = {"NOR", "SWE", "DEN", "FIN", "NOR", "NOR", "GER"};
    int total = 3000;
    for (int i = 1; i <= 60; ++i) {
        std::vector<ReportCell> cells(10);
        cells[0].text = std::to_string(i);
        cells[1].text = std::to_string(100 + i * 7 % 90);
        cells[2].text = platform::Ansi(names[(i - 1) % 20]);
        cells[3].text = nations[i % 7];
        total -= i % 3;
        cells[4].text = std::to_string(100 - i % 4);
        cells[5].text = std::to_string(total / 5);
        cells[6].text = i <= 8 ? "F" : "";
        cells[9].text = "10,4 10,1 9,8 10,6 10,0 9,9 10,2 10,7 10,3 9,7";
        report.AddRow(cells, 1, i >= 9 ? 0x2 : 0);
    }
    report.ListComplete(1);
    report.m_previewFlag = true;
    report.Print();

    platform::PrintPreview* preview = report.Preview();
    ASSERT_NE(preview, nullptr);
    preview->resize(1000, 1400);
    preview->Refresh();
    EXPECT_EQ(preview->PageCount(), static_cast<int>(report.m_pages.size()));
    EXPECT_EQ(preview->PageCount(), 2);

    QDir().mkpath(BV_BINARY_DIR "/screens");
    QImage shot = preview->grab().toImage();
    ASSERT_TRUE(shot.save(BV_BINARY_DIR "/screens/report-preview.png", "PNG"));
    preview->close();
    EXPECT_TRUE(frame.isVisible());
}

}  // namespace
