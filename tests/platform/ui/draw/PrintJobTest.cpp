// Printing, seen through PDF files: pdftotext finds the texts and where they
// stand on the sheet, pdfinfo the paper and the document name.
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/DrawSurface.h"
#include "platform/ui/draw/PrintJob.h"
#include "platform/ui/draw/PrintPreview.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/UiText.h"

#include "tests/platform/ui/DrawTestSupport.h"
#include "QtApp.h"
#include "TempFolder.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace {

using namespace platform;

// The scripted prompter, also keeping the choice the dialog started from.
class PrinterPrompter : public ScriptedPrompter {
public:
    PrinterChoice asked;
    bool ChoosePrinter(PrinterChoice& choice) override
    {
        asked = choice;
        return ScriptedPrompter::ChoosePrinter(choice);
    }
};

// A word pdftotext found, with its box in points from the sheet's top left.
struct Word {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

std::vector<Word> WordsOf(const std::string& pdf)
{
    std::string html = bvtest::RunCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> words;
    std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        words.push_back({m[5].str(), std::stod(m[1].str()), std::stod(m[2].str()), std::stod(m[3].str()),
                         std::stod(m[4].str())});
    }
    return words;
}

const Word* FindWord(const std::vector<Word>& words, const std::string& text)
{
    for (const Word& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

constexpr double kPointsPerMm = 72.0 / 25.4;

class PrintJobTest : public bvtest::InTempFolder {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }

    // Prints one page per case through a surface; returns EndDoc's result.
    static int PrintPages(PrintJob& job, const std::string& name, const std::vector<std::function<void(DrawSurface&)>>& pages)
    {
        DrawSurface s;
        s.Attach(job.Target());
        if (s.StartDoc(name) <= 0)
            return -1;
        for (const auto& page : pages) {
            if (s.StartPage() <= 0)
                return -1;
            page(s);
            if (s.EndPage() <= 0)
                return -1;
        }
        return s.EndDoc();
    }
};

// Each mapping mode puts its word 30 mm from the sheet's left edge with its
// top 40 mm from the top edge, on a printer that cannot print on the first
// 5 mm at the left and 10 mm at the top.
TEST_F(PrintJobTest, TextsLandWhereEveryMappingModePutsThem)
{
    PrintJob job;
    PdfPage paper;
    paper.leftMm = paper.rightMm = 5;
    paper.topMm = paper.bottomMm = 10;
    ASSERT_TRUE(job.UsePdfFile(".\\Modes.pdf", paper));
    DeviceCaps caps = job.Target()->Caps();
    // Paper and margins are kept in whole points: within a third of a
    // millimetre of what was asked.
    EXPECT_EQ(caps.logPixelsX, 600);
    EXPECT_NEAR(caps.physicalOffsetX, 118, 4);  // 5 mm
    EXPECT_NEAR(caps.physicalOffsetY, 236, 4);  // 10 mm
    EXPECT_NEAR(caps.horzRes, 4724, 8);         // 200 mm
    EXPECT_NEAR(caps.physicalWidth, 4961, 4);   // 210 mm
    EXPECT_EQ(caps.physicalWidth, caps.horzRes + 2 * caps.physicalOffsetX);

    auto text = [](DrawSurface& s, int x, int y, const char* word) {
        s.SelectFont(s.PointFont(120, "Arial"));
        s.SetTextAlign(TA_LEFT | TA_TOP);
        s.TextOut(x, y, word);
    };
    std::vector<std::function<void(DrawSurface&)>> pages = {
        [&](DrawSurface& s) { text(s, 591, 709, "Piksler"); },
        [&](DrawSurface& s) {
            s.SetMapMode(MM_LOMETRIC);
            text(s, 250, -300, "Tideler");
        },
        [&](DrawSurface& s) {
            s.SetMapMode(MM_ISOTROPIC);
            s.SetViewportOrg(118, 142);
            text(s, 200, -240, "Isotropisk");
        },
        [&](DrawSurface& s) {
            // Millimetres of the sheet, y downwards (the page keeps the
            // state of the page before, so the origin is set back).
            s.SetViewportOrg(0, 0);
            s.SetMapMode(MM_ANISOTROPIC);
            s.SetWindowExt(127, 127);
            s.SetViewportExt(3000, 3000);
            s.SetWindowOrg(5, 10);
            text(s, 30, 40, "Anisotropisk");
            s.DrawText("Midt", {5, 50, 205, 60}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            s.DrawText("Bjerkreim og Omegn Skytterlag", {30, 70, 60, 80}, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
            text(s, 30, 90, Ansi("Stevneoppgjør").c_str());
        },
    };
    ASSERT_EQ(PrintPages(job, "Stevneliste", pages), 1);

    std::string pdf = folder.File("Modes.pdf");
    std::string info = bvtest::RunCommand("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           4"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Stevneliste"), std::string::npos) << info;

    std::vector<Word> words = WordsOf(pdf);
    for (const char* name : {"Piksler", "Tideler", "Isotropisk", "Anisotropisk"}) {
        SCOPED_TRACE(name);
        const Word* w = FindWord(words, name);
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->xMin, 30 * kPointsPerMm, 0.5);
        EXPECT_NEAR(w->yMin, 40 * kPointsPerMm, 0.5);
        // 12 points with Arial's ascent and descent; in whole millimetres
        // the font can only be 4 mm high.
        double height = std::string(name) == "Anisotropisk" ? 4 * kPointsPerMm : 12.0;
        EXPECT_NEAR(w->yMax - w->yMin, height * 1.117, 0.5);
    }
    const Word* middle = FindWord(words, "Midt");
    ASSERT_NE(middle, nullptr);
    EXPECT_NEAR((middle->xMin + middle->xMax) / 2, 105 * kPointsPerMm, 0.5);
    EXPECT_NEAR((middle->yMin + middle->yMax) / 2, 55 * kPointsPerMm, 0.5);

    std::string plain = bvtest::RunCommand("pdftotext '" + pdf + "' -");
    EXPECT_NE(plain.find("Stevneoppgjør"), std::string::npos) << plain;
    EXPECT_NE(plain.find("Bjerk"), std::string::npos);
    EXPECT_NE(plain.find("..."), std::string::npos);
    EXPECT_EQ(plain.find("Skytterlag"), std::string::npos) << "cut short to its box";
}

TEST_F(PrintJobTest, PrintDialogGoesThroughThePrompter)
{
    PrinterPrompter prompter;
    ScopedPrompter inPlace(prompter);
    PrintJob job;
    prompter.AnswerPrinter(false);
    EXPECT_FALSE(job.ChoosePrinter());
    EXPECT_FALSE(job.HasPrinter());
    EXPECT_EQ(job.Target(), nullptr);
    EXPECT_EQ(prompter.asked.copies, 1);
    EXPECT_TRUE(prompter.asked.pdfPath.empty());
    EXPECT_EQ(prompter.asked.printerName, FromQt(QPrinterInfo::defaultPrinterName()));

    PrinterChoice toFile;
    toFile.pdfPath = ".\\Giro.pdf";
    toFile.landscape = true;
    prompter.AnswerPrinter(true, toFile);
    ASSERT_TRUE(job.ChoosePrinter());
    EXPECT_EQ(job.Choice().pdfPath, ".\\Giro.pdf");
    EXPECT_TRUE(job.Choice().landscape);
    DeviceCaps caps = job.Target()->Caps();
    EXPECT_GT(caps.horzRes, caps.vertRes) << "landscape";
    ASSERT_EQ(PrintPages(job, "Giro", {[](DrawSurface& s) { s.TextOut(100, 100, "Liggende"); }}), 1);
    std::string info = bvtest::RunCommand("pdfinfo '" + folder.File("Giro.pdf") + "'");
    EXPECT_NE(info.find("842 x 595"), std::string::npos) << info;

    // A printer that is not there cannot be printed on.
    PrinterChoice missing;
    missing.printerName = "No such printer";
    prompter.AnswerPrinter(true, missing);
    EXPECT_FALSE(job.ChoosePrinter());
    EXPECT_FALSE(job.HasPrinter());
    EXPECT_EQ(prompter.Questions().size(), 3u);
    EXPECT_EQ(prompter.Unanswered(), 0);

    // Without a dialog the default printer, when the machine has one.
    EXPECT_EQ(job.UseDefaultPrinter(), !QPrinterInfo::defaultPrinter().isNull());
    EXPECT_EQ(prompter.Questions().size(), 3u);
}

TEST_F(PrintJobTest, UnfinishedPrintoutsNeverReplaceTheFile)
{
    bvtest::TempFolder::Write(folder.File("List.pdf"), "earlier list");
    auto earlier = [&] { return bvtest::TempFolder::Read(folder.File("List.pdf")) == "earlier list"; };
    auto leftovers = [&] { return FindFiles(".", "~bv*.TMP"); };

    // Aborted halfway.
    {
        PrintJob job;
        ASSERT_TRUE(job.UsePdfFile(".\\List.pdf"));
        DrawSurface s;
        s.Attach(job.Target());
        ASSERT_EQ(s.StartDoc("List"), 1);
        ASSERT_EQ(s.StartPage(), 1);
        s.TextOut(100, 100, "Side 1");
        ASSERT_EQ(s.EndPage(), 1);
        EXPECT_TRUE(earlier()) << "nothing replaced while printing";
        EXPECT_EQ(s.AbortDoc(), 1);
        EXPECT_TRUE(earlier());
        EXPECT_TRUE(leftovers().empty());
    }
    // Aborted by the abort procedure after the second page.
    {
        PrintJob job;
        ASSERT_TRUE(job.UsePdfFile(".\\List.pdf"));
        DrawSurface s;
        s.Attach(job.Target());
        int asked = 0;
        s.SetAbortProc([&] { return ++asked < 2; });
        ASSERT_EQ(s.StartDoc("List"), 1);
        ASSERT_EQ(s.StartPage(), 1);
        EXPECT_EQ(s.EndPage(), 1);
        ASSERT_EQ(s.StartPage(), 1);
        EXPECT_LT(s.EndPage(), 0);
        EXPECT_LT(s.StartPage(), 0) << "the document is gone";
        EXPECT_LT(s.EndDoc(), 0);
        EXPECT_TRUE(earlier());
        EXPECT_TRUE(leftovers().empty());
    }
    // A job dropped without its end.
    {
        PrintJob job;
        ASSERT_TRUE(job.UsePdfFile(".\\List.pdf"));
        DrawSurface s;
        s.Attach(job.Target());
        s.StartDoc("List");
        s.StartPage();
        s.TextOut(100, 100, "Side 1");
    }
    EXPECT_TRUE(earlier());
    EXPECT_TRUE(leftovers().empty());

    // A document without pages prints nothing.
    {
        PrintJob job;
        ASSERT_TRUE(job.UsePdfFile(".\\List.pdf"));
        DrawSurface s;
        s.Attach(job.Target());
        EXPECT_EQ(s.StartDoc("List"), 1);
        EXPECT_EQ(s.EndDoc(), 1);
        EXPECT_TRUE(earlier());
        EXPECT_TRUE(leftovers().empty());
    }
    // A finished one replaces the file.
    {
        PrintJob job;
        ASSERT_TRUE(job.UsePdfFile(".\\List.pdf"));
        ASSERT_EQ(PrintPages(job, "List", {[](DrawSurface& s) { s.TextOut(100, 100, "Ny"); }}), 1);
        EXPECT_EQ(bvtest::TempFolder::Read(folder.File("List.pdf")).substr(0, 5), "%PDF-");
        EXPECT_TRUE(leftovers().empty());
    }
    // No folder to print into: the document cannot start.
    {
        PrintJob job;
        ASSERT_TRUE(job.UsePdfFile(".\\Missing\\List.pdf"));
        DrawSurface s;
        s.Attach(job.Target());
        EXPECT_LT(s.StartDoc("List"), 0);
        EXPECT_LT(s.StartPage(), 0);
    }
}

TEST_F(PrintJobTest, PreviewShowsThePagesTheDocumentDraws)
{
    int renders = 0;
    DeviceCaps seen;
    PrintPreview preview([&](DrawTarget& page) {
        ++renders;
        seen = page.Caps();
        DrawSurface s;
        s.Attach(&page);
        s.StartDoc("BVRes utskrift");
        for (int i = 1; i <= 3; ++i) {
            s.StartPage();
            s.TextOut(100, 100, "Side");
            s.EndPage();
        }
        s.EndDoc();
    });
    int closed = 0;
    preview.SetClosedAction([&] { ++closed; });
    preview.Refresh();
    EXPECT_EQ(renders, 1);
    EXPECT_EQ(preview.PageCount(), 3);
    // The default printer's paper, or A4 without a printer.
    if (QPrinterInfo::defaultPrinter().isNull())
        EXPECT_NEAR(seen.physicalWidth * 25.4 / seen.logPixelsX, 210, 1);
    preview.ShowPage(2);
    EXPECT_EQ(preview.CurrentPage(), 2);
    preview.ShowPage(4);
    EXPECT_EQ(preview.CurrentPage(), 2);
    preview.close();
    EXPECT_EQ(closed, 1);
}

// The preview draws on the default printer's paper: a description put in
// place of the machine's printer (a tool's, a test's), or A4 without one.
TEST_F(PrintJobTest, PreviewPaperIsTheDefaultPrinters)
{
    struct Case {
        const char* name;
        std::optional<PrinterDescription> printer;
        int dpi;
        double widthMm, heightMm, leftMm, topMm;
    };
    PrinterDescription letter{"Brevskriver", {}};
    letter.caps.logPixelsX = letter.caps.logPixelsY = 300;
    letter.caps.physicalWidth = 2550;   // 8.5 x 11 inches, upright
    letter.caps.physicalHeight = 3300;
    letter.caps.physicalOffsetX = 75;   // 1/4 inch all round
    letter.caps.physicalOffsetY = 75;
    letter.caps.horzRes = 2400;
    letter.caps.vertRes = 3150;
    PrinterDescription landscape = A4Printer(600, 118, 236);
    std::swap(landscape.caps.physicalWidth, landscape.caps.physicalHeight);
    std::swap(landscape.caps.horzRes, landscape.caps.vertRes);
    landscape.caps.horzRes = landscape.caps.physicalWidth - 2 * 118;
    landscape.caps.vertRes = landscape.caps.physicalHeight - 2 * 236;
    const Case cases[] = {
        {"A4 at 600 dpi", A4Printer(600, 100, 120), 600, 210, 297, 100 * 25.4 / 600, 120 * 25.4 / 600},
        {"letter at 300 dpi", letter, 300, 215.9, 279.4, 6.35, 6.35},
        {"A4 turned", landscape, 600, 297, 210, 5, 10},
        {"no printer", std::nullopt, 1200, 210, 297, -1, -1},  // margins: the PDF printer's own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDefaultPrinter scoped(c.printer);
        std::optional<PrinterDescription> now = DefaultPrinter();
        ASSERT_EQ(now.has_value(), c.printer.has_value());
        if (now)
            EXPECT_EQ(now->name, c.printer->name);
        DeviceCaps seen;
        PrintPreview preview([&](DrawTarget& page) {
            seen = page.Caps();
            DrawSurface s;
            s.Attach(&page);
            s.StartDoc("Forhåndsvisning");
            s.StartPage();
            s.TextOut(100, 100, "Side");
            s.EndPage();
            s.EndDoc();
        });
        preview.Refresh();
        if (c.printer)
            EXPECT_EQ(seen.logPixelsX, c.dpi);
        // Within a third of a millimetre: PDF pages measure in points.
        double mm = 25.4 / seen.logPixelsX;
        EXPECT_NEAR(seen.physicalWidth * mm, c.widthMm, 0.4);
        EXPECT_NEAR(seen.physicalHeight * mm, c.heightMm, 0.4);
        if (c.printer) {
            EXPECT_NEAR(seen.physicalOffsetX * mm, c.leftMm, 0.4);
            EXPECT_NEAR(seen.physicalOffsetY * mm, c.topMm, 0.4);
            EXPECT_NEAR(seen.horzRes * mm, c.printer->caps.horzRes * 25.4 / c.dpi, 0.7);
            EXPECT_NEAR(seen.vertRes * mm, c.printer->caps.vertRes * 25.4 / c.dpi, 0.7);
        }
    }
}

}  // namespace
