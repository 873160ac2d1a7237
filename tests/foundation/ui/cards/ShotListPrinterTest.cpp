// The shot log on paper: pages of a PDF file read back with pdfinfo and
// pdftotext, the print dialog's answers, and the calls a recorder keeps.
#include "QtApp.h"
#include "RunCommand.h"
#include "ShotLogFixture.h"
#include "TempFolder.h"

#include "foundation/ui/cards/ShotListPrinter.h"
#include "platform/ui/draw/DrawRecorder.h"
#include "platform/ui/draw/PrintJob.h"
#include "platform/ui/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace bvtest {
namespace {


// Runs of blanks as one, as pdftotext may space a text by its width.
std::string Squeezed(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

class ShotListPrinterTest : public InTempFolder {
protected:
    static void SetUpTestSuite() { QtApp(); }

    ShotListPrinterTest()
    {
        printer.decimalSign = ",";
        printer.SetTitles("Vinterstevnet", "10.12.2026", "Brevandi SKL", "Bane 1", "ISSF 50m Rifle");
        printer.footerText = "BVLeder";
        card.resultState = 2;
    }

    CShotListPrinter printer;
    CardRecord card = LogCard();
};

TEST_F(ShotListPrinterTest, ASeventyShotCardFillsTwoPortraitPages)
{
    ShotListRecord shots = ShotsOf(70, 10);
    std::strcpy(shots.comment, "Skiftet skive\r\netter serie 3");
    shots.shots[4].flags |= CDataComp::kFlagNoCoordinates;
    platform::PrintJob job;
    ASSERT_TRUE(job.UsePdfFile(folder.File("log.pdf")));
    EXPECT_EQ(printer.Print(job, card, shots), CShotListPrinter::kPrinted);
    EXPECT_EQ(bvtest::PdfPages(folder.File("log.pdf")), 2);
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    RunCommand("pdftoppm -r 100 -png -f 1 -l 1 '" + folder.File("log.pdf") + "' " BV_BINARY_DIR "/screens/shot-log");

    std::string text = Squeezed(RunCommand("pdftotext -layout '" + folder.File("log.pdf") + "' -"));
    for (const char* expected : {"Relay 2 Lane 3", "Vinterstevnet", "10.12.2026", "Brevandi SKL",
                                 "Bane 1 - ISSF 50m Rifle", "BVLeder", "Serie 1", "Serie 7", "[X]", "9,0", "-4,000",
                                 "2026.12.10", "14:05:01,07", "Gen", "DNS", "Skiftet skive", "etter serie 3", "Val",
                                 "A:B:C:D", "Band", "Comment", "mm"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // Series 7 is on the second page, with the comment after its rows.
    size_t secondPage = text.find('\f');
    ASSERT_NE(secondPage, std::string::npos);
    EXPECT_GT(text.find("Serie 7"), secondPage);
    EXPECT_GT(text.find("etter serie 3"), text.find("Serie 7"));
}

TEST_F(ShotListPrinterTest, InLandscapeFortyFiveRowsGoOnAPage)
{
    ShotListRecord shots = ShotsOf(70, 70);
    platform::PrintJob job;
    platform::PdfPage page;
    page.landscape = true;
    ASSERT_TRUE(job.UsePdfFile(folder.File("wide.pdf"), page));
    EXPECT_EQ(printer.Print(job, card, shots), CShotListPrinter::kPrinted);
    EXPECT_EQ(bvtest::PdfPages(folder.File("wide.pdf")), 2);
    std::string text = Squeezed(RunCommand("pdftotext -layout '" + folder.File("wide.pdf") + "' -"));
    size_t secondPage = text.find('\f');
    ASSERT_NE(secondPage, std::string::npos);
    // 44 rows and the heading on the first page; row 45 opens the second.
    EXPECT_LT(text.find("[X] 44 "), secondPage);
    EXPECT_GT(text.find("[X] 45 "), secondPage);
}

TEST_F(ShotListPrinterTest, ACancelledDialogOrNoPrinterPrintsNothingAndSaysSo)
{
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scoped(prompter);
    ShotListRecord shots = ShotsOf(5, 10);
    prompter.AnswerPrinter(false);
    EXPECT_EQ(printer.Print(card, nullptr, shots), CShotListPrinter::kCancelled);
    platform::PrinterChoice nowhere;
    nowhere.printerName = "Ingen slik skriver";
    prompter.AnswerPrinter(true, nowhere);
    EXPECT_EQ(printer.Print(card, nullptr, shots), CShotListPrinter::kNoPrinter);
    platform::PrinterChoice pdf;
    pdf.pdfPath = folder.File("chosen.pdf");
    prompter.AnswerPrinter(true, pdf);
    EXPECT_EQ(printer.Print(card, nullptr, shots), CShotListPrinter::kPrinted);
    EXPECT_EQ(bvtest::PdfPages(folder.File("chosen.pdf")), 1);
    EXPECT_EQ(printer.documentName, "Log");
}

TEST_F(ShotListPrinterTest, ACommentThatWouldRunIntoTheFootGoesOnOnANewPage)
{
    // 67 rows fill a portrait page; the result text and the comment start
    // 7 mm below the last row.
    ShotListRecord shots = ShotsOf(67, 67);
    std::strcpy(shots.comment, "en\r\nto\r\ntre\r\nfire");
    platform::DrawRecorder recorder(platform::DrawRecorder::A4(600, 0, 0));
    EXPECT_EQ(printer.PrintTo(recorder, card, shots), CShotListPrinter::kPrinted);
    EXPECT_EQ(recorder.Pages(), 2);
    EXPECT_EQ(recorder.PageOf(recorder.FindText("to")), 1);
    EXPECT_EQ(recorder.PageOf(recorder.FindText("tre")), 2);
    EXPECT_EQ(recorder.PageOf(recorder.FindText("fire")), 2);
    // Nothing below the foot strip's top (y grows upwards from the page's top).
    const int footTop = -(2960 - 50);
    for (const platform::DrawCall& call : recorder.Calls())
        if (call.name == "TextOut" && recorder.PageOf(&call) > 0 && call.text.find(':') == std::string::npos &&
            call.text != "www.brevandi.no" && call.text != "BVLeder")
            EXPECT_GT(call.args[1], footTop) << call.text;
}

TEST_F(ShotListPrinterTest, ACardWithoutShotsPrintsOnlyItsStateAndComment)
{
    ShotListRecord shots;
    CDataComp::ClearShots(shots);
    std::memset(shots.comment, 'K', sizeof shots.comment);  // filled to the brim, no terminator
    platform::DrawRecorder recorder;
    EXPECT_EQ(printer.PrintTo(recorder, card, shots), CShotListPrinter::kPrinted);
    EXPECT_EQ(recorder.Pages(), 1);
    EXPECT_NE(recorder.FindText("DNS"), nullptr);
    EXPECT_NE(recorder.FindText(std::string(sizeof shots.comment, 'K')), nullptr);
    EXPECT_EQ(recorder.FindText("Vinterstevnet"), nullptr);  // no head
}

}  // namespace
}  // namespace bvtest
