// The lists of the fixture competition (fixture/make-lists-fixture.sh, made
// with bvtool alone) against their golden files, byte for byte: statistics,
// entry list and time schedule as RTF, HTML, text and model, and the
// exports. Outside readers check what the files are: LibreOffice reads the
// RTF files, html5lib and tidy the HTML pages, pdfinfo and pdftotext a list
// printed into a PDF file.
//
// BV_UPDATE_GOLDEN=1 writes the golden files from what the lists give now
// (look at the differences before committing them).
#include "GoldenSuite.h"
#include "ModelDump.h"
#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

namespace {

using namespace liststest;

namespace fs = std::filesystem;
using namespace bvtest;


// A golden file and the bvtool call that makes it; OUT stands for the file
// written (lists), and exports are read from the working folder.
struct Golden {
    const char* name;
    const char* call;
    const char* written;  // the export's file in the working folder
};
const Golden kGoldens[] = {
    {"statistics-comp1.model", "res list . --kind 0 --comp 1 --out -", nullptr},
    {"statistics-comp2.model", "res list . --kind 0 --comp 2 --out -", nullptr},
    {"statistics-comp3.model", "res list . --kind 0 --comp 3 --out -", nullptr},
    {"entries-comp1.model", "res list . --kind 1 --comp 1 --out -", nullptr},
    {"entries-comp2.model", "res list . --kind 1 --comp 2 --out -", nullptr},
    {"entries-comp3.model", "res list . --kind 1 --comp 3 --out -", nullptr},
    {"schedule-comp1.model", "res list . --kind 15 --comp 1 --out -", nullptr},
    {"schedule-comp2.model", "res list . --kind 15 --comp 2 --out -", nullptr},
    {"schedule-comp3.model", "res list . --kind 15 --comp 3 --out -", nullptr},
    {"statistics-comp1.rtf", "res list . --kind 0 --comp 1 --out OUT", nullptr},
    {"entries-comp1.rtf", "res list . --kind 1 --comp 1 --header --footer --out OUT", nullptr},
    {"schedule-comp1.rtf", "res list . --kind 15 --comp 1 --header --compact --out OUT", nullptr},
    {"statistics-comp1.htm", "res list . --kind 0 --comp 1 --header --out OUT", nullptr},
    {"entries-comp1.htm", "res list . --kind 1 --comp 1 --header --out OUT", nullptr},
    {"schedule-comp1.htm", "res list . --kind 15 --comp 1 --out OUT", nullptr},
    {"statistics-comp1.txt", "res list . --kind 0 --comp 1 --out OUT", nullptr},
    {"entries-comp1.txt", "res list . --kind 1 --comp 1 --out OUT", nullptr},
    {"schedule-comp1.txt", "res list . --kind 15 --comp 1 --out OUT", nullptr},
    // Class lists: pairs in definition order (Veteran has nobody and takes
    // no number), the common list's class column, variant 1 cutting the
    // tie at place 10, the letter filter, a final's tenths.
    {"classes-comp4.model", "res list . --kind 12 --comp 4 --classes 1,3,2 --series 1,0x101 --out -", nullptr},
    {"classes-common-comp4.model", "res list . --kind 13 --comp 4 --common --classes 1,2 --series 0x101 --out -",
     nullptr},
    {"classes-variant1-comp4.model",
     "res list . --kind 12 --comp 4 --common --classes 1,2,3 --series 1 --variant 1 --out -", nullptr},
    {"classes-letters-comp4.model", "res list . --kind 13 --comp 4 --classes 1,2 --letters J --series 1 --out -",
     nullptr},
    {"classes-comp1.model", "res list . --kind 12 --comp 1 --classes 1,2 --series 1,2,0x101 --out -", nullptr},
    {"classes-comp4.rtf", "res list . --kind 12 --comp 4 --classes 1,3,2 --series 1,0x101 --header --out OUT", nullptr},
    {"classes-common-comp4.rtf", "res list . --kind 13 --comp 4 --common --classes 1,2 --series 0x101 --out OUT",
     nullptr},
    {"export-comp1.txt", "res export . shooters --comp 1", "export.txt"},
    {"export2-comp1.txt", "res export . relay 2 --comp 1 --event 1", "export2.txt"},
    {"Startlst-comp1.csv", "res export . sius 2 --comp 1 --event 1", "Comp1/Startlst.csv"},
    {"export-comp3.txt", "res export . shooters --comp 3", "export.txt"},
    // ---- roll calls, relay lists, cards, team lists and the press list ----
    // Competition 7: three relays of which the second is empty (No: two
    // definitions; Yes: three, the second with target numbers only), a
    // field event's roll call with result fields, variant 1, "P.hold",
    // the text cards of six series and two sub-events; the team lists of
    // competition 1 (entered teams with shoot-offs, automatic teams by
    // club); the press lists with and without chosen lists.
    {"rollcall-comp7.model", "res list . --kind 6 --comp 7 --event 1 --out -", nullptr},
    {"rollcall-yes-comp7.model", "res list . --kind 6 --comp 7 --event 1 --yes --out -", nullptr},
    {"rollcall-fields-comp7.model", "res list . --kind 6 --comp 7 --event 2 --result-fields --out -", nullptr},
    {"relays-comp7.model", "res list . --kind 7 --comp 7 --event 1 --yes --out -", nullptr},
    {"relays-variant1-comp7.model", "res list . --kind 7 --comp 7 --event 1 --relays 1-1 --variant 1 --out -",
     nullptr},
    {"relays-event3-comp7.model", "res list . --kind 7 --comp 7 --event 3 --out -", nullptr},
    {"cards-comp7.model", "res list . --kind 8 --comp 7 --event 1 --out -", nullptr},
    {"teams-comp1-team1.model", "res list . --kind 14 --comp 1 --team 1 --out -", nullptr},
    {"teams-comp1-team2.model", "res list . --kind 14 --comp 1 --team 2 --out -", nullptr},
    {"press-comp7.model", "res list . --kind 5 --comp 7 --out -", nullptr},
    {"press-comp1.model", "res list . --kind 5 --comp 1 --out -", nullptr},
    {"rollcall-comp7.rtf", "res list . --kind 6 --comp 7 --event 1 --header --out OUT", nullptr},
    {"cards-comp7.rtf", "res list . --kind 8 --comp 7 --event 1 --out OUT", nullptr},
    {"cards-comp7.htm", "res list . --kind 8 --comp 7 --event 1 --out OUT", nullptr},
    {"cards-comp7.txt", "res list . --kind 8 --comp 7 --event 1 --out OUT", nullptr},
    {"press-comp7.rtf", "res list . --kind 5 --comp 7 --out OUT", nullptr},
};

class ListsGoldenTest : public GoldenSuite<ListsGoldenTest> {
protected:
    // The golden files' contents as the lists give them now, made on first
    // use (the tests that look at single calls do without).
    static const std::map<std::string, std::string>& Made()
    {
        if (!made.empty())
            return made;
        // The lists in one run of bvtool: the model dumps come on its
        // standard output, each starting with its "list" line.
        std::string batch;
        for (const Golden& g : kGoldens) {
            if (g.written)
                continue;
            std::string call = std::regex_replace(g.call, std::regex("OUT"), Quote(out + "/" + g.name));
            batch += call + " " + kNow + "\n";
        }
        SplitModels(Batch(batch, "golden.batch"), ModelNames(kGoldens), made);
        // The exports one by one: two of them write the same file.
        for (const Golden& g : kGoldens) {
            if (g.written) {
                const std::string call = std::regex_replace(g.call, std::regex(" \\. "), " " + Quote(work) + " ");
                bvtest::ToolRun run = bvtest::RunTool(call);
                EXPECT_EQ(run.status, 0) << g.call << ": " << run.err;
                EXPECT_EQ(run.out, "file\t" + work + "/" + g.written + "\n");
                made[g.name] = bvtest::TempFolder::Read(work + "/" + g.written);
            } else if (!std::string(g.name).ends_with(".model")) {
                made[g.name] = bvtest::TempFolder::Read(out + "/" + g.name);
            }
        }
        return made;
    }
};

TEST_F(ListsGoldenTest, ListsAndExportsAsTheGoldenFiles)
{
    for (const Golden& g : kGoldens)
        ExpectAsGolden(g.name, Made().at(g.name));
}

// The prize forms' rankings of the fixture as bvtool prints them: class
// lists shared 1/3 and 1/4 under organisation types 1, 2 and 6 (type 6 by
// ISSF series sums; the 1/3 lists of types 2 and 6 after the prize table),
// Senior's full tie parted by shoot-offs, a shooter without a total left
// out of a sub-event's list, share "0", the order by name (no negative
// margins), the combined lists requiring category A and J, and the team
// competition by totals with a shoot-off, an empty slot and a member of an
// event it does not count.
TEST_F(ListsGoldenTest, RankingsAsTheGoldenFiles)
{
    struct Ranking {
        const char* name;
        const char* call;
    };
    const Ranking rankings[] = {
        {"rank-comp1-list1-senior.txt", "res rank . 1 class 1 1 --comp 1"},
        {"rank-comp2-list1-senior.txt", "res rank . 1 class 1 1 --comp 2"},
        {"rank-comp3-list1-senior.txt", "res rank . 1 class 1 1 --comp 3"},
        {"rank-comp1-list2-senior.txt", "res rank . 1 class 2 1 --comp 1"},
        {"rank-comp2-list2-senior.txt", "res rank . 1 class 2 1 --comp 2"},
        {"rank-comp3-list2-senior.txt", "res rank . 1 class 2 1 --comp 3"},
        {"rank-comp1-list1-junior.txt", "res rank . 1 class 1 2 --comp 1"},
        {"rank-comp1-list3-senior.txt", "res rank . 1 class 3 1 --comp 1"},
        {"rank-comp1-list4-senior.txt", "res rank . 1 class 4 1 --comp 1"},
        {"rank-comp1-group1.txt", "res rank . 1 group 1 --comp 1"},
        {"rank-comp4-group1.txt", "res rank . 1 group 1 2 --comp 4"},
        {"rank-comp1-team1.txt", "res rank . team 1 --comp 1"},
    };
    std::string batch;
    for (const Ranking& r : rankings)
        batch += std::string(r.call) + "\n";
    bvtest::TempFolder::Write(folder->File("rank.batch"), batch);
    int status = -1;
    const std::string output = bvtest::RunCommand(
        "cd " + Quote(work) + " && " + Quote(kBvtool) + " batch " + Quote(folder->File("rank.batch")), &status);
    ASSERT_EQ(status, 0) << output;

    // Each ranking starts with its "rank" line.
    std::vector<std::string> made;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("rank\t", 0) == 0)
            made.emplace_back();
        ASSERT_FALSE(made.empty()) << line;
        made.back() += line + "\n";
    }
    ASSERT_EQ(made.size(), std::size(rankings));
    const bool update = std::getenv("BV_UPDATE_GOLDEN") != nullptr;
    for (size_t i = 0; i < made.size(); ++i) {
        if (update)
            bvtest::TempFolder::Write(kGoldenDir + "/" + rankings[i].name, made[i]);
        else
            EXPECT_EQ(made[i], GoldenBytes(rankings[i].name)) << rankings[i].call;
    }
}

// LibreOffice reads each RTF file (in one run, with a profile of its own):
// every body cell in row order, the page header and footer cells of the
// first definition when the file has them, escaped texts as they were.
TEST_F(ListsGoldenTest, LibreOfficeReadsTheRtfFiles)
{
    if (bvtest::RunCommand("command -v soffice").empty())
        GTEST_SKIP() << "no LibreOffice";
    struct Case {
        const char* rtf;
        const char* model;
        bool header, footer;  // page header and footer groups
    };
    const Case cases[] = {
        {"statistics-comp1.rtf", "statistics-comp1.model", false, false},
        {"entries-comp1.rtf", "entries-comp1.model", true, true},
        {"schedule-comp1.rtf", "schedule-comp1.model", true, false},
        {"classes-comp4.rtf", "classes-comp4.model", true, false},
        {"classes-common-comp4.rtf", "classes-common-comp4.model", false, false},
        {"rollcall-comp7.rtf", "rollcall-comp7.model", true, false},
        {"cards-comp7.rtf", "cards-comp7.model", false, false},
        {"press-comp7.rtf", "press-comp7.model", false, false},
    };
    Made();
    std::string files;
    for (const Case& c : cases)
        files += " " + Quote(out + "/" + c.rtf);
    const std::string converted = folder->File("lo");
    int status = -1;
    bvtest::RunCommand("soffice --headless --norestore -env:UserInstallation=file://" + folder->File("lo-profile") +
                           " --convert-to 'html:HTML (StarWriter)' --outdir " + Quote(converted) + files +
                           " >/dev/null 2>&1",
                       &status);
    ASSERT_EQ(status, 0);
    for (const Case& c : cases) {
        std::string name = std::string(c.rtf);
        name = name.substr(0, name.size() - 4) + ".html";
        const std::string text = platform::Utf8ToCp1252(bvtest::RunCommand(
            Python() + " " + Quote(kFixtureDir + "/html_check.py") + " text " + Quote(converted + "/" + name)));
        ASSERT_FALSE(text.empty()) << name;
        const auto defs = ReadModel(GoldenBytes(c.model));
        ASSERT_FALSE(defs.empty());
        size_t at = 0;
        for (size_t d = 0; d < defs.size(); ++d)
            for (size_t r = 0; r < defs[d].rows.size(); ++r)
                for (const std::string& cell : defs[d].rows[r]) {
                    const std::string want = Collapsed(platform::Utf8ToCp1252(cell));
                    if (want.empty())
                        continue;
                    size_t found = text.find(want, at);
                    ASSERT_NE(found, std::string::npos)
                        << c.rtf << ": definition " << d + 1 << " row " << r + 1 << " '" << cell << "' not after "
                        << at << " in\n" << platform::Cp1252ToUtf8(text);
                    at = found + want.size();
                }
        std::vector<std::string> frame;
        if (c.header)
            frame = defs[0].head;
        if (c.footer)
            frame.insert(frame.end(), defs[0].foot.begin(), defs[0].foot.end());
        for (const std::string& cell : frame)
            EXPECT_NE(text.find(Collapsed(platform::Utf8ToCp1252(cell))), std::string::npos) << c.rtf << ": " << cell;
    }
}

// html5lib parses every HTML page with no errors but those of the page's
// fixed markup, finds every cell of the model in its table cells, and tidy
// finds nothing worse than warnings.
TEST_F(ListsGoldenTest, HtmlParsersReadTheHtmlFiles)
{
    struct Case {
        const char* htm;
        const char* model;
        bool webEntries;  // an entry list for the web: no club addresses (rows 3 to 5 of a club)
    };
    const Case cases[] = {
        {"statistics-comp1.htm", "statistics-comp1.model", false},
        {"entries-comp1.htm", "entries-comp1.model", true},
        {"schedule-comp1.htm", "schedule-comp1.model", false},
        {"cards-comp7.htm", "cards-comp7.model", false},
    };
    const std::string check = Python() + " " + Quote(kFixtureDir + "/html_check.py");
    Made();
    for (const Case& c : cases) {
        const std::string path = out + "/" + c.htm;
        std::istringstream errors(bvtest::RunCommand(check + " errors " + Quote(path)));
        std::string line;
        while (std::getline(errors, line)) {
            auto f = Fields(line);
            ASSERT_EQ(f.size(), 3u) << line;
            const std::string& code = f[1];
            if (code == "expected-doctype-but-got-start-tag" || code == "unexpected-character-after-attribute-value")
                continue;  // the page has no doctype; attributes follow each other without a blank
            // The closing table's first cell stands without a row.
            if (code == "unexpected-cell-in-table-body" && f[2] == "1")
                continue;
            ADD_FAILURE() << c.htm << ": " << code << " x" << f[2];
        }

        std::vector<std::string> cells;
        std::istringstream cellLines(bvtest::RunCommand(check + " cells " + Quote(path)));
        while (std::getline(cellLines, line))
            cells.push_back(line);
        std::vector<std::string> want;
        for (const ModelDef& def : ReadModel(GoldenBytes(c.model)))
            for (size_t r = 0; r < def.rows.size(); ++r)
                for (const std::string& cell : def.rows[r]) {
                    // A line break is a <br>, which the parser's cell text leaves out.
                    const std::string joined = std::regex_replace(cell, std::regex("\r\n"), "");
                    want.push_back(c.webEntries && r >= 2 && r <= 4 ? std::string() : Collapsed(joined));
                }
        ASSERT_EQ(cells.size(), want.size() + 2) << c.htm;  // and the two of the closing table
        for (size_t i = 0; i < want.size(); ++i)
            EXPECT_EQ(cells[i], want[i]) << c.htm << " cell " << i;

        int status = -1;
        bvtest::RunCommand("tidy -e -q " + Quote(path) + " 2>/dev/null", &status);
        EXPECT_GE(status, 0) << "tidy";
        EXPECT_LT(status, 2) << c.htm << ": tidy found errors";
    }
}

// A list printed into a PDF file on A4 with physical offsets: bvtool says
// how many pages it printed, pdfinfo finds as many, pdftotext every row.
TEST_F(ListsGoldenTest, PrintedIntoAPdfFile)
{
    const std::string pdf = out + "/entries.pdf";
    bvtest::ToolRun run = bvtest::RunTool("res list " + Quote(work) + " --kind 1 --comp 1 --offsets 5,7 " + kNow +
                                          " --out " + Quote(pdf));
    ASSERT_EQ(run.status, 0) << run.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(run.out, m, std::regex("^file\t(.*)\npages\t([0-9]+)\n$"))) << run.out;
    EXPECT_EQ(m[1].str(), pdf);
    const std::string pages = m[2].str();
    EXPECT_GE(std::stoi(pages), 4);  // a page per club
    std::string info = bvtest::RunCommand("pdfinfo " + Quote(pdf));
    EXPECT_TRUE(std::regex_search(info, std::regex("\nPages: +" + pages + "\n"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex("Page size: +595(\\.[0-9]+)? x 84[12](\\.[0-9]+)? pts"))) << info;
    const std::string text = Collapsed(bvtest::RunCommand("pdftotext -layout " + Quote(pdf) + " -"));
    for (const ModelDef& def : ReadModel(GoldenBytes("entries-comp1.model"))) {
        for (const auto& row : def.rows)
            if (!Collapsed(row[0]).empty())
                EXPECT_NE(text.find(Collapsed(row[0])), std::string::npos) << row[0];
        EXPECT_NE(text.find(Collapsed(def.foot[0])), std::string::npos);
    }
}

TEST_F(ListsGoldenTest, NoListNoFile)
{
    struct Case {
        std::string args;
        int status;
        const char* err;
    };
    const Case cases[] = {
        {"--kind 4 --comp 1 --out OUT", 1, "bvtool: kinds 3 and 4 are printed into a .pdf file (--out)\n"},
        {"--kind 9 --comp 7 --relays 2-2 --out OUT.pdf", 2, "bvtool: Fant ingen data for rapport!\n"},
        {"--kind 9 --comp 7 --out -", 1,
         "bvtool: kind 9 is printed into a .pdf file (--out) or saved as pictures (--png)\n"},
        {"--kind 8 --comp 7 --png", 1, "bvtool: --png makes the pictures of kind 9, without --out\n"},
        {"--kind 16 --comp 1 --out OUT", 2, "bvtool: Fant ingen data for rapport!\n"},
        {"--kind 1 --comp 1 --classes 3 --letters B --out OUT", 2, "bvtool: Fant ingen data for rapport!\n"},
        {"--kind 1 --comp 99 --out OUT", 1, "bvtool: no competition 99\n"},
        {"--kind 1 --comp 1 --out OUT.doc", 1,
         "bvtool: --out is a .rtf, .htm, .html, .txt or .pdf file, or -\n"},
    };
    for (const Case& c : cases) {
        const std::string file = out + "/none.rtf";
        std::string args = std::regex_replace(c.args, std::regex("OUT"), Quote(file));
        bvtest::ToolRun run = bvtest::RunTool("res list " + Quote(work) + " " + args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
        EXPECT_FALSE(fs::exists(file)) << c.args;
    }
}

// A typed list name goes into the competition's Print folder; one that
// would leave it is refused, as is a file that cannot be written.
TEST_F(ListsGoldenTest, ListFileNames)
{
    bvtest::ToolRun run = bvtest::RunTool("res list " + Quote(work) + " --kind 15 --comp 2 --out Tidsplan.html");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "file\t" + work + "/Comp2/Print/Tidsplan.htm\n");
    EXPECT_TRUE(fs::exists(work + "/Comp2/Print/Tidsplan.htm"));

    for (const char* name : {"..\\\\Tidsplan.rtf", "C:Tidsplan.rtf"}) {
        run = bvtest::RunTool("res list " + Quote(work) + " --kind 15 --comp 2 --out " + name);
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(run.err, "Error writing to file. Check filename, '/' not allowed\n") << name;
    }
    run = bvtest::RunTool("res list " + Quote(work) + " --kind 15 --out " + Quote(out + "/missing/Tidsplan.rtf"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Error writing to file"), std::string::npos) << run.err;
}

// The graphic cards of competition 7's event 1 with three series per sheet:
// as pictures in the competition's Print folder (relay, then target; the
// card of six series on two sheets; target 12's shots without an entry
// make no card), each an interlaced RGB picture of 800 x 1130 without a
// gamma; and the same cards on paper, a page per sheet, with the
// shooters' names and the running total from the start score of 12.3.
TEST_F(ListsGoldenTest, GraphicCardsAsPicturesAndOnPaper)
{
    bvtest::ToolRun run =
        bvtest::RunTool("res list " + Quote(work) + " --kind 9 --comp 7 --event 1 --png --sheet-series 3");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string want;
    const char* const names[] = {"1_1_p1", "1_1_p2", "1_2", "1_3", "1_4", "1_5", "1_6", "3_2", "3_5"};
    for (const char* name : names)
        want += "file\t" + work + "/Comp7/Print/Felt__Bane_1_" + name + ".png\n";
    EXPECT_EQ(run.out, want);
    if (!bvtest::RunCommand("command -v pngcheck").empty()) {
        for (const char* name : names) {
            const std::string check = bvtest::RunCommand(
                "pngcheck -v " + Quote(work + "/Comp7/Print/Felt__Bane_1_" + std::string(name) + ".png"));
            EXPECT_NE(check.find("800 x 1130 image, 24-bit RGB, interlaced"), std::string::npos) << check;
            EXPECT_EQ(check.find("gAMA"), std::string::npos) << check;
            EXPECT_NE(check.find("No errors detected"), std::string::npos) << check;
        }
    }

    if (bvtest::RunCommand("command -v pdftotext").empty())
        GTEST_SKIP() << "no poppler tools";
    const std::string pdf = out + "/cards.pdf";
    run = bvtest::RunTool("res list " + Quote(work) + " --kind 9 --comp 7 --event 1 --sheet-series 3 --out " +
                          Quote(pdf));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "file\t" + pdf + "\npages\t9\n");
    const std::string info = bvtest::RunCommand("pdfinfo " + Quote(pdf));
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +9\n"))) << info;
    const std::string text = Collapsed(bvtest::RunCommand("pdftotext -layout " + Quote(pdf) + " -"));
    for (const char* shown : {"Arne Aas", "Bente Bø", "Lene Li", "Mats Moe", "Felt: Bane 1", "Serie 48,0 Sum 60,3",
                              "Serie 45,0 Sum 105,3"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
    EXPECT_EQ(text.find("Hege Hol"), std::string::npos);  // an entry without shots has no card
}

}  // namespace
