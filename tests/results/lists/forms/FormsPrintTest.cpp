// Giro forms and address labels, printed straight onto the sheet: what goes
// where (on a recorder with the printer's offsets of the test's choosing),
// which clubs get a form or a label, how the sheets fill, and the same
// printouts in PDF files from printers whose printable areas start 3 and
// 5 mm from the edges, read back with pdftotext and pdftoppm.
#include "tests/results/lists/ListsFixture.h"

#include "platform/files/FileSystem.h"
#include "platform/system/Codepage.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/draw/DrawRecorder.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/data/CompetitionItems.h"
#include "results/lists/forms/BankGiro.h"
#include "results/lists/forms/LabelSheet.h"
#include "results/lists/forms/SheetPrint.h"

#include "QtApp.h"
#include "RunCommand.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

namespace forms_print_test {

using namespace results;
using namespace liststest;

// A giro text as the form has it: text (UTF-8), X and Y in 0.1 mm from the
// sheet's top-left corner, right aligned or not.
struct Placed {
    std::string text;
    int x = 0;
    int y = 0;
    bool right = false;
};

// The form of the club 1250 kroner are paid to, organisation type 1.
const std::vector<Placed> kHamarForm = {
    {"Stevneoppgjør", 200, 300},
    {"Stevneoppgjør", 100, 2050},
    {"Landsskytterstevnet Mai 2026", 200, 400},
    {"Landsskytterstevnet Mai 2026", 100, 2100},
    {"Elverum skytterlag", 200, 500},
    {"Elverum skytterlag", 100, 2150},
    {"Postboks 12", 150, 2350},
    {"Storgata 1", 150, 2400},
    {"2408 Elverum", 150, 2450},
    {"Norge", 150, 2500},
    {"1250,00", 1150, 1900, true},
    {"1250", 1020, 2750, true},
    {"00", 1060, 2750},
    {"1822.11.22222", 1300, 1900},
    {"1822.11.22222", 420, 2600},
    {"1234.56.78903", 1300, 2750},
    {"Hamar skytterlag", 1150, 2350},
    {"Vangsvegen 3", 1150, 2400},
    {"Boks 7", 1150, 2450},
    {"2317 Hamar", 1150, 2500},
};

class FormsTest : public ListTest {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
    void SetUp() override
    {
        ListTest::SetUp();
        platform::SetPrompter(&prompter);
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kName, "Landsskytterstevnet");
        ::WriteItem(c, CompItems::kTitle2, "Mai 2026");
        CBVConfig& u = comp.User();
        ::WriteItem(u, UserItems::kOrganiser, "Elverum");
        const char* lines[4] = {"Postboks 12", "Storgata 1", "2408 Elverum", "Norge"};
        for (int k = 1; k <= 4; ++k)
            ::WriteItem(u, UserItems::Address(k), std::string(lines[k - 1]));
        ::WriteItem(u, UserItems::kAccount, "1822.11.22222");
    }
    void TearDown() override
    {
        platform::SetPrompter(nullptr);
        ListTest::TearDown();
    }

    void RegisterClub(int number, const std::string& name, const std::string& address1 = {},
                      const std::string& address2 = {}, const std::string& address3 = {},
                      const std::string& account = {}, const std::string& email = {})
    {
        CDataClub clubs;
        clubs.LoadClubs(comp.orgType);
        ClubRecord c{};
        SetFieldText(c.name, sizeof c.name, platform::Ansi(name));
        SetFieldText(c.address1, sizeof c.address1, platform::Ansi(address1));
        SetFieldText(c.address2, sizeof c.address2, platform::Ansi(address2));
        SetFieldText(c.address3, sizeof c.address3, platform::Ansi(address3));
        SetFieldText(c.account, sizeof c.account, account);
        SetFieldText(c.email, sizeof c.email, email);
        ASSERT_EQ(clubs.Put(&c, number, CDataClub::kClubs), 0);
    }

    // Payment rows as a settlement leaves them: Hamar is owed 1250, Gjøvik
    // won only objects and gifts, club 77 is missing in the register.
    CDataList& ThreeClubsPaid()
    {
        RegisterClub(5, "Hamar", "Vangsvegen 3", "Boks 7", "2317 Hamar", "1234.56.78903");
        RegisterClub(6, "Gjøvik", "Torget 2", "", "2815 Gjøvik", "2000.10.10101");
        CDataList& l = List();
        l.Clubs().LoadClubs(comp.orgType);
        payments.resize(3);
        payments[0].amount = 1250, payments[0].clubName = "Hamar", payments[0].club = 5;
        payments[1].amount = 0, payments[1].clubName = platform::Ansi("Gjøvik"), payments[1].club = 6;
        payments[2].amount = 300, payments[2].clubName = "Borte", payments[2].club = 77;
        return l;
    }

    // The giro forms of the payment rows.
    void PrintGiroForms(CDataList& l) { BankGiro(l).Print(payments); }

    std::vector<PaymentRow> payments;

    // Clubs 1..n each with one shooter on a target of event 1.
    void ClubsWithShooters(int n)
    {
        AddEvent(1, "Bane", 1, 1, 1, 40);
        for (int k = 1; k <= n; ++k) {
            RegisterClub(k, "Klubb " + std::to_string(k), "Vei " + std::to_string(k), "", "2000 Sted");
            Shooter(100 + k, "Skytter " + std::to_string(k), k);
            Entry(1, 1, k, 100 + k);
        }
    }

    // The texts a recorder saw on a page, as UTF-8 with their arguments.
    static std::vector<Placed> TextsOnPage(const platform::DrawRecorder& recorder, int page)
    {
        std::vector<Placed> texts;
        for (const platform::DrawCall& call : recorder.Calls())
            if (call.name == "TextOut" && recorder.PageOf(&call) == page)
                texts.push_back({platform::Cp1252ToUtf8(call.text), call.args[0], call.args[1],
                                 (call.flags & platform::TA_CENTER) == platform::TA_RIGHT});
        return texts;
    }

    platform::ScriptedPrompter prompter;
};

// ---- where the sheets put things ----------------------------------------------

TEST(LabelSheet, FillsRowByRowAndStartsASheetOnlyForALabelThatFollows)
{
    struct Case {
        int n, page, column, row;
    };
    for (const Case& c : {Case{0, 1, 1, 1}, Case{2, 1, 3, 1}, Case{3, 1, 1, 2}, Case{20, 1, 3, 7}, Case{21, 2, 1, 1},
                          Case{44, 3, 3, 1}}) {
        const LabelPlace at = LabelPlaceOf(c.n);
        EXPECT_EQ(at.page, c.page) << c.n;
        EXPECT_EQ(at.column, c.column) << c.n;
        EXPECT_EQ(at.row, c.row) << c.n;
    }
    EXPECT_EQ(LabelPlaceOf(0).Left(), 100);
    EXPECT_EQ(LabelPlaceOf(2).Left(), 1420);
    EXPECT_EQ(LabelPlaceOf(0).Top(), 150);
    EXPECT_EQ(LabelPlaceOf(20).Top(), 2430);
    for (auto [labels, sheets] : {std::pair{0, 1}, {1, 1}, {21, 1}, {22, 2}, {42, 2}, {43, 3}})
        EXPECT_EQ(LabelSheets(labels), sheets) << labels;
}

TEST(SheetOffsets, AreThePrintersOffsetsInTenthsOfAMillimetreRoundedDown)
{
    struct Case {
        int dpi, pixels, tenths;
    };
    // 71 pixels at 600 dpi are 3.006 mm; 118 are 4.995 mm, which the
    // hundredths round to 5.00 mm; 57 are 2.413 mm.
    for (const Case& c :
         {Case{600, 0, 0}, Case{600, 71, 30}, Case{600, 118, 50}, Case{600, 57, 24}, Case{300, 58, 49}}) {
        platform::DeviceCaps caps;
        caps.logPixelsX = caps.logPixelsY = c.dpi;
        caps.physicalOffsetX = caps.physicalOffsetY = c.pixels;
        EXPECT_EQ(SheetOffsetsOf(caps).x, c.tenths) << c.dpi << " " << c.pixels;
        EXPECT_EQ(SheetOffsetsOf(caps).y, c.tenths) << c.dpi << " " << c.pixels;
    }
}

// ---- giro forms ---------------------------------------------------------------

TEST_F(FormsTest, AGiroFormPerClubOwedMoneyWithEveryTextInItsField)
{
    CDataList& l = ThreeClubsPaid();
    // A printer whose printable area starts 3.006 mm from the left and
    // 4.995 mm from the top: 30 and 50 tenths come off.
    platform::DrawRecorder recorder(platform::DrawRecorder::A4(600, 71, 118));
    l.printTarget = &recorder;
    PrintGiroForms(l);

    ASSERT_EQ(recorder.Pages(), 2) << "Gjøvik won only objects and gifts";
    const std::vector<platform::DrawCall> docs = recorder.Find("StartDoc");
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0].text, "Giro");
    std::vector<Placed> expected;
    for (const Placed& p : kHamarForm)
        expected.push_back({p.text, p.x - 30, 50 - p.y, p.right});
    const std::vector<Placed> page1 = TextsOnPage(recorder, 1);
    ASSERT_EQ(page1.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(page1[k].text, expected[k].text);
        EXPECT_EQ(page1[k].x, expected[k].x) << expected[k].text;
        EXPECT_EQ(page1[k].y, expected[k].y) << expected[k].text;
        EXPECT_EQ(page1[k].right, expected[k].right) << expected[k].text;
    }
    for (const platform::DrawCall& call : recorder.Find("TextOut")) {
        EXPECT_EQ(call.font.face, "Arial");
        EXPECT_EQ(call.flags & platform::TA_BASELINE, platform::TA_BOTTOM) << call.text;
    }

    // The club missing in the register: its amount and the organiser, no payee.
    std::vector<std::string> page2;
    for (const Placed& p : TextsOnPage(recorder, 2))
        page2.push_back(p.text);
    EXPECT_EQ(page2, (std::vector<std::string>{"Stevneoppgjør", "Stevneoppgjør", "Landsskytterstevnet Mai 2026",
                                               "Landsskytterstevnet Mai 2026", "Elverum skytterlag",
                                               "Elverum skytterlag", "Postboks 12", "Storgata 1", "2408 Elverum",
                                               "Norge", "300,00", "300", "00", "1822.11.22222", "1822.11.22222"}));
}

TEST_F(FormsTest, NamesCarrySkytterlagOnlyInOrganisationTypeOne)
{
    ::WriteItem(comp.Comp(), CompItems::kOrgType, 2);
    comp.orgType = 2;
    RegisterClub(5, "Hamar", "Vangsvegen 3");
    CDataList& l = List();
    l.Clubs().LoadClubs(comp.orgType);
    payments.resize(1);
    payments[0].amount = 40, payments[0].club = 5;
    platform::DrawRecorder recorder;
    l.printTarget = &recorder;
    PrintGiroForms(l);
    EXPECT_NE(recorder.FindText("Hamar"), nullptr);
    EXPECT_NE(recorder.FindText("Elverum"), nullptr);
    EXPECT_EQ(recorder.FindText("Hamar skytterlag"), nullptr);
}

TEST_F(FormsTest, GiroFormsGoToThePrinterTheDialogChoosesOrNowhere)
{
    CDataList& l = ThreeClubsPaid();
    // Cancelled: no document at all.
    prompter.AnswerPrinter(false);
    PrintGiroForms(l);
    EXPECT_EQ(prompter.Unanswered(), 0);
    EXPECT_FALSE(platform::FileExists("giro.pdf"));

    platform::PrinterChoice choice;
    choice.pdfPath = std::filesystem::absolute("giro.pdf").string();
    prompter.AnswerPrinter(true, choice);
    PrintGiroForms(l);
    EXPECT_EQ(bvtest::RunCommand("pdfinfo giro.pdf | grep -E '^(Pages|Title):' | tr -s ' '"),
              "Title: Giro\nPages: 2\n");

    // Nobody owed anything: the document is started and ended empty, and a
    // PDF file of no pages is not written.
    for (PaymentRow& row : payments)
        row.amount = 0;
    choice.pdfPath = std::filesystem::absolute("none.pdf").string();
    prompter.AnswerPrinter(true, choice);
    PrintGiroForms(l);
    EXPECT_FALSE(platform::FileExists("none.pdf"));
}

TEST_F(FormsTest, TheGiroKindLeavesNeitherItsFlagNorThePaymentRowsBehind)
{
    AddEvent(1, "Bane");
    CDataList& l = List();
    prompter.AnswerPrinter(false);  // cancelled
    l.request.kind = kListBankGiro;
    // The payment rows are the report's own, gone with it; no flag stays up.
    EXPECT_EQ(l.MakeList(kOutputPreview), 1);
    EXPECT_EQ(prompter.Unanswered(), 0);
    EXPECT_EQ(prompter.Pending(), 0u) << "the print dialog was shown";
}

// ---- address labels -----------------------------------------------------------

TEST_F(FormsTest, ALabelPerRegisteredClubWithAShooterOnce)
{
    AddEvent(1, "Bane", 1, 1, 1, 10);
    AddEvent(2, "Felt", 2, 1, 1, 10);
    RegisterClub(3, "Hamar", "Vangsvegen 3", "Boks 7", "2317 Hamar");
    RegisterClub(8, "Løten", "Vei 1", "", "2340 Løten", "", "post@loten.no");
    RegisterClub(9, "Stange", "Vei 2", "", "2335 Stange");  // no shooter
    Shooter(1, "Per", 8);
    Shooter(2, "Pål", 3);
    Shooter(3, "Espen", 3);
    Shooter(4, "Uten", 40);  // club 40 is not in the register
    Entry(1, 1, 1, 1);
    Entry(1, 1, 2, 2);
    Entry(2, 2, 5, 3);  // Hamar again, in the other event
    Entry(2, 1, 6, 4);

    struct Case {
        bool email;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {false, {"Hamar skl.|Vangsvegen 3|Boks 7|2317 Hamar", "Løten skl.|Vei 1||2340 Løten"}},
        {true, {"Hamar skl.|Vangsvegen 3|Boks 7|2317 Hamar"}},  // Løten gets the results by e-mail
    };
    for (const Case& c : cases) {
        platform::DrawRecorder recorder;
        CDataList& l = List();
        l.printTarget = &recorder;
        l.request.email = c.email ? 1 : 0;
        EXPECT_EQ(MakeModel(kListAddressLabels), 1);
        ASSERT_EQ(l.report.aListDef.size(), 1u);
        EXPECT_EQ(RowTexts(l.Def(1)), c.rows) << c.email;
        EXPECT_EQ(recorder.Pages(), 1);
        ASSERT_EQ(recorder.Find("StartDoc").size(), 1u);
        EXPECT_EQ(recorder.Find("StartDoc")[0].text, "Etiketter");
        l.printTarget = nullptr;
    }
}

TEST_F(FormsTest, LabelLinesSitOnTheirLabelMeasuredFromThePapersEdge)
{
    ClubsWithShooters(22);
    platform::DrawRecorder recorder(platform::DrawRecorder::A4(600, 71, 118));
    CDataList& l = List();
    l.printTarget = &recorder;
    MakeModel(kListAddressLabels);
    ASSERT_EQ(recorder.Pages(), 2);
    const std::vector<Placed> page1 = TextsOnPage(recorder, 1);
    const std::vector<Placed> page2 = TextsOnPage(recorder, 2);
    ASSERT_EQ(page1.size(), 21u * 3);  // three lines each; the empty second line is not written
    // Label 5: column 2, row 2; its lines' bottoms 6, 12 (empty) and 24 mm
    // below the label's top at 53 mm, from 76 mm on; 3.0 and 5.0 mm off.
    const Placed want[3] = {{"Klubb 5 skl.", 760 - 30, 50 - 590}, {"Vei 5", 760 - 30, 50 - 650},
                            {"2000 Sted", 760 - 30, 50 - 770}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(page1[12 + k].text, want[k].text);
        EXPECT_EQ(page1[12 + k].x, want[k].x) << want[k].text;
        EXPECT_EQ(page1[12 + k].y, want[k].y) << want[k].text;
    }
    ASSERT_EQ(page2.size(), 3u);
    EXPECT_EQ(page2[0].text, "Klubb 22 skl.");
    EXPECT_EQ(page2[0].x, 100 - 30);
    EXPECT_EQ(page2[0].y, 50 - 210);
    // Every line is clipped to its label: 60 mm wide, from the label's top.
    const std::vector<platform::DrawCall> clips = recorder.Find("IntersectClipRect");
    ASSERT_EQ(clips.size(), 22u * 3);
    EXPECT_EQ(clips[12].args, (std::vector<int>{760 - 30, 50 - 530, 1360 - 30, 50 - 590}));
}

TEST_F(FormsTest, TwentyOneLabelsFillOneSheetAndNoneGiveAnEmptyOne)
{
    struct Case {
        int clubs, pages;
    };
    // The clubs come on top of those before, so the case without comes first.
    for (const Case& c : {Case{0, 1}, Case{21, 1}}) {
        SCOPED_TRACE(c.clubs);
        ClubsWithShooters(c.clubs);
        list.reset();
        platform::DrawRecorder recorder;
        CDataList& l = List();
        l.printTarget = &recorder;
        MakeModel(kListAddressLabels);
        EXPECT_EQ(recorder.Pages(), c.pages);
        EXPECT_EQ(recorder.Find("TextOut").size(), static_cast<size_t>(c.clubs) * 3);
        l.printTarget = nullptr;
    }
}

// ---- on paper -----------------------------------------------------------------

// A word pdftotext found, in tenths of a millimetre from the sheet's corner.
struct Word {
    std::string text;
    int page = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
};

std::vector<Word> WordsOf(const std::string& pdf)
{
    std::string html = bvtest::RunCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> words;
    std::regex item(R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    auto tenths = [](const std::string& points) { return std::stod(points) * 254.0 / 72.0; };
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[5].matched)
            words.push_back({m[5].str(), page, tenths(m[1].str()), tenths(m[2].str()), tenths(m[3].str()),
                             tenths(m[4].str())});
        else
            ++page;
    }
    return words;
}

// Where a text of the sheet was printed: the box of its words on one line,
// the one nearest to where it belongs; nullopt when it is not there.
std::optional<Word> FindPrinted(const std::vector<Word>& words, const Placed& placed, int page)
{
    std::vector<std::string> parts;
    std::istringstream split(placed.text);
    for (std::string part; split >> part;)
        parts.push_back(part);
    std::optional<Word> best;
    double bestDistance = 1e9;
    for (size_t i = 0; i + parts.size() <= words.size(); ++i) {
        bool same = true;
        for (size_t k = 0; k < parts.size() && same; ++k) {
            const Word& w = words[i + k];
            same = w.page == page && w.text == parts[k] && std::abs(w.bottom - words[i].bottom) < 1;
        }
        if (!same)
            continue;
        Word box = words[i];
        box.text = placed.text;
        box.right = words[i + parts.size() - 1].right;
        const double distance =
            std::abs((placed.right ? box.right : box.left) - placed.x) + std::abs(box.bottom - placed.y);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = box;
        }
    }
    return best;
}

class FormsOnPaperTest : public FormsTest {
protected:
    // Prints through the list object into a PDF file whose printable area
    // starts mm millimetres from every edge.
    std::string PrintInto(const std::string& name, double mm, const std::function<void(CDataList&)>& print)
    {
        platform::PrintJob pdf;
        const std::string path = std::filesystem::absolute(name).string();
        platform::PdfPage paper{.dotsPerInch = 600, .leftMm = mm, .topMm = mm, .rightMm = mm, .bottomMm = mm};
        EXPECT_TRUE(pdf.UsePdfFile(path, paper));
        CDataList& l = List();
        l.printTarget = pdf.Target();
        print(l);
        l.printTarget = nullptr;
        return path;
    }

    // Every text at its place on both printers, and at the same place on
    // both, within 0.2 mm.
    void ExpectSamePlaces(const std::vector<Placed>& texts, const std::string& pdf3, const std::string& pdf5, int page)
    {
        const std::vector<Word> words3 = WordsOf(pdf3), words5 = WordsOf(pdf5);
        for (const Placed& placed : texts) {
            SCOPED_TRACE(placed.text);
            const std::optional<Word> at3 = FindPrinted(words3, placed, page);
            const std::optional<Word> at5 = FindPrinted(words5, placed, page);
            ASSERT_TRUE(at3 && at5);
            for (const Word* w : {&*at3, &*at5}) {
                EXPECT_NEAR(placed.right ? w->right : w->left, placed.x, 2);
                EXPECT_NEAR(w->bottom, placed.y, 2);
            }
            EXPECT_NEAR(at3->left, at5->left, 2);
            EXPECT_NEAR(at3->right, at5->right, 2);
            EXPECT_NEAR(at3->bottom, at5->bottom, 2);
            EXPECT_NEAR(at3->top, at5->top, 2);
        }
    }
};

TEST_F(FormsOnPaperTest, GiroFormsComeOutAtTheSamePlaceOnPrintersOfOtherMargins)
{
    auto print = [this](CDataList&) {
        PrintGiroForms(ThreeClubsPaid());
    };
    const std::string pdf3 = PrintInto("giro3.pdf", 3, print);
    const std::string pdf5 = PrintInto("giro5.pdf", 5, print);
    EXPECT_EQ(bvtest::RunCommand("pdfinfo giro3.pdf | grep -E '^Pages:' | tr -s ' '"), "Pages: 2\n");
    ExpectSamePlaces(kHamarForm, pdf3, pdf5, 1);
    ExpectSamePlaces({{"300,00", 1150, 1900, true}, {"300", 1020, 2750, true}, {"00", 1060, 2750}}, pdf3, pdf5, 2);
}

// The columns of a rendered page that hold dark pixels, in the rows from
// top to bottom (0.1 mm), as 0.1 mm from the left edge. pdftoppm at 254 dpi
// makes a pixel 0.1 mm.
std::vector<int> InkColumns(const std::string& pdf, int page, int top, int bottom)
{
    const std::string stem = pdf + "-ink";
    bvtest::RunCommand("pdftoppm -gray -r 254 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                       " -singlefile '" + pdf + "' '" + stem + "'");
    std::ifstream in(stem + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    std::vector<int> columns;
    for (int x = 0; x < width; ++x)
        for (int y = std::max(0, top); y < std::min(height, bottom); ++y)
            if (pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] < 128) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST_F(FormsOnPaperTest, LabelsComeOutAtTheSamePlaceAndALongNameStopsAtTheLabelsEdge)
{
    auto print = [this](CDataList& l) {
        ClubsWithShooters(22);
        RegisterClub(2, "Sportsskytterklubben Nordre Østerdal og Omegn", "Vei 2", "", "2000 Sted");
        MakeModel(kListAddressLabels);
    };
    const std::string pdf3 = PrintInto("labels3.pdf", 3, print);
    const std::string pdf5 = PrintInto("labels5.pdf", 5, print);
    EXPECT_EQ(bvtest::RunCommand("pdfinfo labels5.pdf | grep -E '^Pages:' | tr -s ' '"), "Pages: 2\n");
    ExpectSamePlaces({{"Klubb 1 skl.", 100, 210},
                      {"Vei 1", 100, 270},
                      {"2000 Sted", 100, 390},
                      {"Klubb 21 skl.", 1420, 2490},
                      {"2000 Sted", 1420, 2670}},
                     pdf3, pdf5, 1);
    ExpectSamePlaces({{"Klubb 22 skl.", 100, 210}, {"Vei 22", 100, 270}}, pdf3, pdf5, 2);

    // The long name of the second label (76 to 136 mm) shows up to its
    // label's right edge and not beyond: the third label starts at 142 mm.
    for (const std::string& pdf : {pdf3, pdf5}) {
        SCOPED_TRACE(pdf);
        const std::vector<int> ink = InkColumns(pdf, 1, 150, 210);
        ASSERT_FALSE(ink.empty());
        std::vector<int> second;
        for (int x : ink)
            if (x >= 760 && x < 1420)
                second.push_back(x);
        ASSERT_FALSE(second.empty());
        EXPECT_GE(second.back(), 1340) << "the name fills its label";
        EXPECT_LE(second.back(), 1362) << "and is cut at 136 mm";
    }
}

}  // namespace
