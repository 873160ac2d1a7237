// Giro forms and address labels of the fixture competition
// (fixture/make-lists-fixture.sh) printed by bvtool into PDF files on
// printers whose printable areas start 3 and 5 mm from the edges: a form
// for every club the payment list pays, with its amount, and every word at
// the same place on the sheet on both printers.
#include "FixtureFolder.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <tuple>
#include <sstream>

namespace {

using namespace liststest;

struct Word {
    std::string text;
    int page = 0;
    double left = 0, top = 0, right = 0, bottom = 0;  // 0.1 mm from the sheet's corner
};

std::string Unescaped(std::string text)
{
    for (auto [escaped, plain] :
         {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}})
        text = std::regex_replace(text, std::regex(escaped), plain);
    return text;
}

std::vector<Word> WordsOf(const std::string& pdf)
{
    std::string html = bvtest::RunCommand("pdftotext -bbox " + Quote(pdf) + " - 2>/dev/null");
    std::vector<Word> words;
    std::regex item(R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    auto tenths = [](const std::string& points) { return std::stod(points) * 254.0 / 72.0; };
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[5].matched)
            words.push_back({Unescaped(m[5].str()), page, tenths(m[1].str()), tenths(m[2].str()), tenths(m[3].str()),
                             tenths(m[4].str())});
        else
            ++page;
    }
    return words;
}

// The page's words joined by blanks, in the reader's order.
std::string PageText(const std::vector<Word>& words, int page)
{
    std::string text;
    for (const Word& w : words)
        if (w.page == page)
            text += (text.empty() ? "" : " ") + w.text;
    return text;
}

// What the payment list of the competition report pays: club name and amount
// per row, in order.
std::vector<std::pair<std::string, int>> PaymentListOf(const std::string& model)
{
    std::vector<std::pair<std::string, int>> paid;
    std::istringstream lines(model);
    std::string def;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            f.push_back(field);
        if (f.size() >= 3 && f[0] == "def" && f[2] == "Betalingsliste")
            def = f[1];
        std::smatch amount;
        if (f.size() >= 7 && f[0] == "row" && f[1] == def && f[4] != "Prem ut" &&
            std::regex_match(f.back(), amount, std::regex("([0-9]+),-")))
            paid.emplace_back(f[4], std::stoi(amount[1].str()));
    }
    return paid;
}

class FormsFixtureTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = std::make_unique<bvtest::TempFolder>(bvtest::TempFolder::InMemory);
        work = folder->File("work");
        std::string log;
        ASSERT_EQ(MakeFixture(work, &log), 0) << "the fixture: " << log;
    }
    static void TearDownTestSuite() { folder.reset(); }

    // bvtool res list in the fixture's folder; the PDF's path.
    static std::string Print(const std::string& options, const std::string& name, int offsetMm)
    {
        const std::string pdf = folder->File(name);
        bvtest::ToolRun run = bvtest::RunTool("res list " + Quote(work) + " " + options + " --out " + Quote(pdf) +
                                              " --offsets " + std::to_string(offsetMm) + "," +
                                              std::to_string(offsetMm));
        EXPECT_EQ(run.status, 0) << options << ": " << run.err;
        EXPECT_EQ(run.out.rfind("file\t" + pdf + "\n", 0), 0u) << run.out;
        return pdf;
    }

    // The same words on the same pages of both files, each within 0.2 mm.
    static void ExpectSamePlaces(const std::vector<Word>& a, const std::vector<Word>& b)
    {
        ASSERT_EQ(a.size(), b.size());
        for (size_t k = 0; k < a.size(); ++k) {
            SCOPED_TRACE(a[k].text);
            EXPECT_EQ(a[k].text, b[k].text);
            EXPECT_EQ(a[k].page, b[k].page);
            EXPECT_NEAR(a[k].left, b[k].left, 2);
            EXPECT_NEAR(a[k].right, b[k].right, 2);
            EXPECT_NEAR(a[k].top, b[k].top, 2);
            EXPECT_NEAR(a[k].bottom, b[k].bottom, 2);
        }
    }

    static std::unique_ptr<bvtest::TempFolder> folder;
    static std::string work;
};

std::unique_ptr<bvtest::TempFolder> FormsFixtureTest::folder;
std::string FormsFixtureTest::work;

TEST_F(FormsFixtureTest, AGiroFormForEveryClubThePaymentListPays)
{
    bvtest::ToolRun report = bvtest::RunTool("res list " + Quote(work) + " --kind 2 --comp 8 --out -");
    ASSERT_EQ(report.status, 0) << report.err;
    std::vector<std::pair<std::string, int>> owed;
    bool objectsOnly = false;
    for (const auto& [club, amount] : PaymentListOf(report.out)) {
        if (amount > 0)
            owed.emplace_back(club, amount);
        else
            objectsOnly = objectsOnly || !club.empty();
    }
    ASSERT_GE(owed.size(), 2u);
    EXPECT_TRUE(objectsOnly) << "a club that won only objects and gifts";

    const std::vector<Word> at3 = WordsOf(Print("--kind 3 --comp 8", "giro3.pdf", 3));
    const std::vector<Word> at5 = WordsOf(Print("--kind 3 --comp 8", "giro5.pdf", 5));
    ASSERT_FALSE(at3.empty());
    EXPECT_EQ(at3.back().page, static_cast<int>(owed.size()));
    for (size_t p = 0; p < owed.size(); ++p) {
        const std::string text = " " + PageText(at3, static_cast<int>(p) + 1) + " ";
        const std::string amount = std::to_string(owed[p].second);
        EXPECT_NE(text.find(" " + amount + ",00 "), std::string::npos) << text;
        EXPECT_NE(text.find(" " + amount + " 00 "), std::string::npos) << text;
        EXPECT_NE(text.find(" " + owed[p].first + " skytterlag "), std::string::npos) << text;
    }
    ExpectSamePlaces(at3, at5);

    // With the split-list option the report leaves its settlement to the
    // clubs' files: no payment rows, no forms, no file.
    const std::string split = folder->File("split.pdf");
    bvtest::ToolRun run =
        bvtest::RunTool("res list " + Quote(work) + " --kind 3 --comp 8 --split --out " + Quote(split));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("pages\t0\n"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(split));
}

TEST_F(FormsFixtureTest, LabelsForTheClubsWithShootersAndWithoutEmailWhenAsked)
{
    struct Case {
        const char* options;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"--kind 4 --comp 8", {"Fjellby", "Nordvik", "Ærø <&{\\}> Åsen Øst", "Sørbygda", "Nordvik"}},
        {"--kind 4 --comp 8 --email", {"Ærø <&{\\}> Åsen Øst", "Sørbygda"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const std::vector<Word> at3 = WordsOf(Print(c.options, "labels3.pdf", 3));
        const std::vector<Word> at5 = WordsOf(Print(c.options, "labels5.pdf", 5));
        // The labels' first lines in label order (sheet, row, column): the
        // words on a first line's place up to "skl.".
        std::map<std::tuple<int, int, int>, std::string> firstLines;
        for (const Word& w : at3) {
            const int row = static_cast<int>(std::lround((w.bottom - 210) / 380));
            if (std::abs(w.bottom - (210 + 380 * row)) > 3 || w.text == "skl.")
                continue;
            const int column = static_cast<int>((w.left - 100) / 660);
            std::string& line = firstLines[{w.page, row, column}];
            line += (line.empty() ? "" : " ") + w.text;
        }
        std::vector<std::string> names;
        for (const auto& [at, line] : firstLines)
            names.push_back(line);
        EXPECT_EQ(names, c.names);
        ExpectSamePlaces(at3, at5);
    }
}

}  // namespace
