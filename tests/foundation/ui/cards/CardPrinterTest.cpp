// The shooting-card printer end to end: what comes out on paper (a PDF file
// read back with pdfinfo and pdftotext, or the calls kept by a recorder), the
// print dialog's answers, and the sheets drawn as PNG pictures.
#include "CardFixture.h"
#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "foundation/ui/cards/CardPrinter.h"
#include "platform/system/Codepage.h"
#include "platform/ui/draw/DrawRecorder.h"
#include "platform/ui/draw/PrintJob.h"
#include "platform/ui/ScriptedPrompter.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace bvtest {
namespace {


class CardPrinterTest : public InTempFolder {
protected:
    static void SetUpTestSuite() { QtApp(); }

    CardPrinterTest()
    {
        printer.layout = CCardPrinter::kSheets;
        printer.decimalSign = ",";
        printer.documentName = "Skytekort";
        printer.titlePrefix = "BVLeder - ";
        printer.SetRangeTitles("Brevandi SKL", "Vinterstevnet", "10.12.2026", "Bane 1", "Sponset av Banken");
    }

    // A card of `series` series of five shots each; the first shot of each
    // series an inner ten with five tenths.
    PrintCard* AddCard(int lane, int series, const std::string& name = "Kari Nordmann")
    {
        PrintCard* card = printer.AddCard();
        FillShooter(*card);
        card->lane = lane;
        PrintCard::SetText(card->name, name);
        for (int s = 1; s <= series; ++s)
            AddSeries(*card, s, "Serie " + std::to_string(s), {1150, 980, 1030, 870, 1010});
        card->SumUp();
        return card;
    }

    int SheetsOfList()
    {
        int sheets = 0;
        for (PrintCard* card = printer.FirstCard(); card != nullptr; card = card->next)
            sheets += CardLayout::CountSheets(*card, printer.seriesPerSheet).count;
        return sheets;
    }

    CCardPrinter printer;
};

TEST_F(CardPrinterTest, APdfHasTheSheetsCountSheetsPredictsAndTheCardsTexts)
{
    AddCard(3, 7)->SetComment("Feil skive i serie 2");  // 7 series at 6 a sheet: 2 sheets of 4
    AddCard(4, 3, "Ola Normann");                        // 1 sheet
    PrintCard* empty = AddCard(5, 0, "Uten Skudd");      // no series: no sheet
    empty->resultState = 2;
    ASSERT_EQ(SheetsOfList(), 3);

    platform::PrintJob job;
    ASSERT_TRUE(job.UsePdfFile(folder.File("cards.pdf")));
    EXPECT_EQ(printer.Print(job), CCardPrinter::kPrinted);
    EXPECT_EQ(printer.FirstCard(), nullptr);
    EXPECT_EQ(bvtest::PdfPages(folder.File("cards.pdf")), 3);

    std::string text = RunCommand("pdftotext -layout '" + folder.File("cards.pdf") + "' -");
    for (const char* expected : {"Kari Nordmann", "Ola Normann", "Brevandi Skytterlag", "Vinterstevnet", "Bane 1",
                                 "Sponset av Banken", "Feil skive i serie 2", "Serie 7", "10,5*", "9,8", "49,4",
                                 "345,8", "Sum", "Serie", "Lag", "Skive", "BVLeder - ISSF 50m Rifle"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("Uten Skudd"), std::string::npos);
    // The second sheet of the first card goes on with series 5.
    size_t secondPage = text.find('\f');
    ASSERT_NE(secondPage, std::string::npos);
    EXPECT_NE(text.find("Serie 5", secondPage), std::string::npos);
    EXPECT_EQ(text.find("Serie 5"), text.find("Serie 5", secondPage));
}

TEST_F(CardPrinterTest, ACancelledDialogOrNoPrinterKeepsTheCardsAndSaysSo)
{
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scoped(prompter);
    EXPECT_EQ(printer.Print(), CCardPrinter::kEmpty);
    EXPECT_TRUE(prompter.Questions().empty());  // no dialog for nothing

    AddCard(3, 2);
    AddCard(4, 1);
    prompter.AnswerPrinter(false);
    EXPECT_EQ(printer.Print(), CCardPrinter::kCancelled);
    EXPECT_EQ(printer.CardCount(), 2);

    platform::PrinterChoice nowhere;
    nowhere.printerName = "Ingen slik skriver";
    prompter.AnswerPrinter(true, nowhere);
    EXPECT_EQ(printer.Print(), CCardPrinter::kNoPrinter);
    EXPECT_EQ(printer.CardCount(), 2);

    platform::PrintJob unchosen;
    EXPECT_EQ(printer.Print(unchosen), CCardPrinter::kNoPrinter);
    EXPECT_EQ(printer.CardCount(), 2);

    // The same cards print on the next try.
    platform::PrinterChoice pdf;
    pdf.pdfPath = folder.File("retry.pdf");
    prompter.AnswerPrinter(true, pdf);
    EXPECT_EQ(printer.Print(), CCardPrinter::kPrinted);
    EXPECT_EQ(printer.CardCount(), 0);
    EXPECT_EQ(bvtest::PdfPages(folder.File("retry.pdf")), 2);
    EXPECT_EQ(prompter.Unanswered(), 0);
}

// A printer that takes the pages and then fails the document, as a spooler
// that runs out of room does.
class FailingPrinter : public platform::DrawRecorder {
public:
    int EndDoc() override { return -1; }
};

TEST_F(CardPrinterTest, AJobThePrinterGivesUpOnKeepsTheCards)
{
    AddCard(3, 2);
    platform::PrintJob nowhere;
    ASSERT_TRUE(nowhere.UsePdfFile(folder.File("no such folder/cards.pdf")));
    EXPECT_EQ(printer.Print(nowhere), CCardPrinter::kFailed);
    EXPECT_EQ(printer.CardCount(), 1);

    FailingPrinter failing;
    EXPECT_EQ(printer.PrintTo(failing), CCardPrinter::kFailed);
    EXPECT_EQ(failing.Pages(), 1);
    EXPECT_EQ(printer.CardCount(), 1);
}

TEST_F(CardPrinterTest, EachLayoutPutsItsPagesAndTextsWhereTheyBelong)
{
    printer.seriesPerSheet = 20;
    AddCard(3, 13);  // 12 a sheet: the second sheet holds series 13 alone
    AddCard(4, 0);

    platform::DrawRecorder sheets;
    ASSERT_EQ(printer.PrintTo(sheets), CCardPrinter::kPrinted);
    EXPECT_EQ(sheets.Pages(), 2);
    EXPECT_EQ(sheets.PageOf(sheets.FindText("Serie 12")), 1);
    EXPECT_EQ(sheets.PageOf(sheets.FindText("Serie 13")), 2);

    printer.layout = CCardPrinter::kHeadOnly;
    AddCard(3, 13);
    AddCard(4, 0, "Uten Skudd");
    platform::DrawRecorder heads;
    ASSERT_EQ(printer.PrintTo(heads), CCardPrinter::kPrinted);
    EXPECT_EQ(heads.Pages(), 2);
    EXPECT_EQ(heads.PageOf(heads.FindText("Uten Skudd")), 2);
    EXPECT_EQ(heads.FindText("Serie 1"), nullptr);

    printer.layout = 7;  // no such layout: no page for any card
    AddCard(3, 2);
    platform::DrawRecorder none;
    EXPECT_EQ(printer.PrintTo(none), CCardPrinter::kPrinted);
    EXPECT_EQ(none.Pages(), 0);
}

TEST_F(CardPrinterTest, ListLinesShareAPageUntilThePositionPasses250Millimetres)
{
    printer.layout = CCardPrinter::kListLines;
    // Cards of 6 series take 6 rows of 4 mm: ten of them from 13 mm reach 253 mm.
    for (int lane = 1; lane <= 12; ++lane)
        AddCard(lane, 6, "Skytter " + std::to_string(lane));
    platform::DrawRecorder list;
    ASSERT_EQ(printer.PrintTo(list), CCardPrinter::kPrinted);
    EXPECT_EQ(list.Pages(), 2);
    EXPECT_EQ(list.PageOf(list.FindText("Skytter 10")), 1);
    EXPECT_EQ(list.PageOf(list.FindText("Skytter 11")), 2);
    // Every page has its head, with the print time in its foot.
    int titles = 0;
    for (const platform::DrawCall& call : list.Find("TextOut"))
        titles += call.text == "BVLeder - ISSF 50m Rifle";
    EXPECT_EQ(titles, 2);
}

TEST_F(CardPrinterTest, AListCardThatWouldRunIntoTheFootStartsANewPage)
{
    printer.layout = CCardPrinter::kListLines;
    AddCard(1, 30, "Lang Serie");   // 30 rows: ends at 133 mm
    AddCard(2, 39, "Lengre Serie"); // 39 rows more would end at 289 mm, past the foot
    platform::DrawRecorder list;
    ASSERT_EQ(printer.PrintTo(list), CCardPrinter::kPrinted);
    EXPECT_EQ(list.Pages(), 2);
    int lastRow = 0;
    int page = 0;
    for (const platform::DrawCall& call : list.Calls())
        if (call.name == "TextOut" && call.text == "Serie 39")
            lastRow = call.args[1];
    page = list.PageOf(list.FindText("Lengre Serie"));
    EXPECT_EQ(page, 2);
    // Its last row stays above the foot strip: the page is 297 mm less the
    // 5 mm of the head's offset and the 1 mm kept free, the strip 5 mm high
    // (y grows upwards from the page's top).
    EXPECT_LT(lastRow, 0);
    EXPECT_GT(lastRow, -(2970 - 50 - 50));
}

TEST_F(CardPrinterTest, CardPicturesAreNamedByEventRelayAndLaneAndAreInterlacedPngs)
{
    EXPECT_EQ(printer.SavePng(), CCardPrinter::kEmpty);
    EXPECT_EQ(printer.cardCounter, -1);

    printer.SetResultsTitles("Arrangor", "Stevne", "", "Felt 1", "", "");
    printer.outputFolder = ".\\";
    printer.seriesPerSheet = 2;
    PrintCard* one = AddCard(12, 2);
    one->relay = 3;
    PrintCard* three = AddCard(13, 6);
    three->relay = 3;
    ASSERT_EQ(printer.SavePng(), CCardPrinter::kPrinted);
    EXPECT_EQ(printer.cardCounter, 2);
    EXPECT_EQ(printer.CardCount(), 2);  // the caller frees the list

    for (const char* name : {"Felt_1_3_12.png", "Felt_1_3_13_p1.png", "Felt_1_3_13_p2.png", "Felt_1_3_13_p3.png"}) {
        std::string path = folder.File(name);
        ASSERT_TRUE(std::filesystem::exists(path)) << name;
        std::string check = RunCommand("pngcheck -v '" + path + "' 2>&1");
        EXPECT_NE(check.find("800 x 1130"), std::string::npos) << check;
        EXPECT_NE(check.find("interlaced"), std::string::npos) << check;
        EXPECT_EQ(check.find("non-interlaced"), std::string::npos) << check;
        EXPECT_NE(check.find("No errors"), std::string::npos) << check;
        QImage picture(QString::fromStdString(path));
        EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255)) << name;
        EXPECT_EQ(picture.pixel(799, 1129), qRgb(255, 255, 255)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("Felt_1_3_13_p4.png")));
}

// The event's name keeps the pictures of two events apart on the same relay
// and lane (its colon, blanks and full stop made file-safe); drawing an
// event again writes its pictures anew. A series slot without shots takes
// no box: the card of slots 1 and 3 fits on one sheet of two.
TEST_F(CardPrinterTest, CardPicturesOfTwoEventsDoNotClashAndAreWrittenAgain)
{
    printer.outputFolder = ".\\";
    printer.seriesPerSheet = 2;
    auto draw = [&](const char* event) {
        printer.FreeCards();
        printer.SetResultsTitles("Arrangor", "Stevne", "", event, "", "");
        PrintCard* card = AddCard(7, 3);
        card->relay = 2;
        card->shotCount[2] = 0;  // series 2 has no shots
        return printer.SavePng();
    };
    ASSERT_EQ(draw("Felt: 1. runde"), CCardPrinter::kPrinted);
    ASSERT_EQ(draw("Bane 2"), CCardPrinter::kPrinted);
    const std::string felt = folder.File("Felt__1__runde_2_7.png");
    ASSERT_TRUE(std::filesystem::exists(felt));
    EXPECT_TRUE(std::filesystem::exists(folder.File("Bane_2_2_7.png")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("Bane_2_2_7_p1.png")));
    EXPECT_EQ(printer.PictureName(*printer.FirstCard(), 0), ".\\Bane_2_2_7.png");

    std::filesystem::resize_file(felt, 0);
    ASSERT_EQ(draw("Felt: 1. runde"), CCardPrinter::kPrinted);
    EXPECT_GT(std::filesystem::file_size(felt), 0u);
}

}  // namespace
}  // namespace bvtest
