// The club files of the fixture competitions as `bvtool res list --split`
// writes them: the entry list's and the settlement's files of every club
// with their link pages, read by outside readers as a club would: html5lib
// and tidy read every HTML file, every link of a link page is followed as a
// server that tells letter cases apart finds files, and LibreOffice reads
// every RTF file; each club's file holds its club's rows of the list.
#include "FixtureFolder.h"
#include "ModelDump.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

namespace split_files_test {

using namespace liststest;

namespace fs = std::filesystem;
using namespace bvtest;


size_t Count(const std::string& text, const std::string& piece)
{
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

class SplitFilesTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = std::make_unique<TempFolder>(TempFolder::InMemory);
        work = folder->File("work");
        std::string log;
        ASSERT_EQ(MakeFixture(work, &log), 0) << "the fixture: " << log;
    }
    static void TearDownTestSuite() { folder.reset(); }

    // bvtool calls in one run (each with "." for the working folder), and
    // what they printed.
    static std::string Batch(const std::vector<std::string>& calls)
    {
        std::string batch;
        for (const std::string& call : calls)
            batch += call + " " + kNow + "\n";
        TempFolder::Write(folder->File("split.batch"), batch);
        int status = -1;
        const std::string out = RunCommand("cd " + Quote(work) + " && " +
                                               Quote(kBvtool) + " batch " +
                                               Quote(folder->File("split.batch")),
                                           &status);
        EXPECT_EQ(status, 0) << out;
        return out;
    }

    // html5lib finds nothing but the pages' fixed markup, tidy no errors.
    static void ExpectHtmlReadable(const std::vector<std::string>& pages)
    {
        std::string args;
        for (const std::string& p : pages)
            args += " " + Quote(p);
        for (const std::string& line :
             Lines(RunCommand(Python() + " " + Quote(kFixtureDir + "/html_check.py") + " errors" + args))) {
            auto f = Fields(line);
            ASSERT_EQ(f.size(), 3u) << line;
            // No doctype; attributes that follow each other without a blank.
            if (f[1] != "expected-doctype-but-got-start-tag" && f[1] != "unexpected-character-after-attribute-value")
                ADD_FAILURE() << f[0] << ": " << f[1] << " x" << f[2];
        }
        for (const std::string& p : pages) {
            int status = -1;
            RunCommand("tidy -e -q " + Quote(p) + " >/dev/null 2>&1", &status);
            EXPECT_GE(status, 0) << "tidy";
            EXPECT_LT(status, 2) << p << ": tidy found errors";
        }
    }
    // Every link of the link page leads to a file, matched case-sensitively.
    static void ExpectLinksResolve(const std::string& linkPage)
    {
        const std::string root = fs::path(linkPage).parent_path();
        for (const std::string& line :
             Lines(RunCommand(Python() + " " + Quote(kFixtureDir + "/web_links.py") + " " + Quote(root) + " " +
                              Quote(fs::path(linkPage).filename())))) {
            if (line.rfind("missing", 0) == 0)
                ADD_FAILURE() << line;
        }
    }
    // The text a reader gives of each file, in UTF-8: HTML through html5lib,
    // RTF through LibreOffice (all in one run).
    static std::vector<std::string> Texts(const std::vector<std::string>& files)
    {
        std::vector<std::string> html;
        std::string rtf;
        const std::string converted = folder->File("lo");
        const std::string staged = folder->File("rtf");
        fs::remove_all(converted);
        fs::remove_all(staged);
        fs::create_directories(staged);
        // Files of one name from several folders: each under a name of its own.
        for (size_t k = 0; k < files.size(); ++k) {
            const std::string& f = files[k];
            if (f.ends_with(".rtf")) {
                const std::string copy = staged + "/f" + std::to_string(k) + ".rtf";
                fs::copy_file(f, copy);
                rtf += " " + Quote(copy);
                html.push_back(converted + "/f" + std::to_string(k) + ".html");
            } else {
                html.push_back(f);
            }
        }
        if (!rtf.empty()) {
            int status = -1;
            RunCommand("soffice --headless --norestore -env:UserInstallation=file://" + folder->File("lo-profile") +
                           " --convert-to 'html:HTML (StarWriter)' --outdir " + Quote(converted) + rtf +
                           " >/dev/null 2>&1",
                       &status);
            EXPECT_EQ(status, 0) << "LibreOffice";
        }
        std::string pages;
        for (const std::string& h : html) {
            EXPECT_TRUE(fs::exists(h)) << h << " not read";
            pages += " " + Quote(h);
        }
        std::vector<std::string> texts =
            Lines(RunCommand(Python() + " " + Quote(kFixtureDir + "/html_check.py") + " texts" + pages));
        return texts;
    }
    static bool HaveLibreOffice() { return !RunCommand("command -v soffice").empty(); }

    static std::unique_ptr<TempFolder> folder;
    static std::string work;
};

std::unique_ptr<TempFolder> SplitFilesTest::folder;
std::string SplitFilesTest::work;

// The entry list and the competition report split by club, in HTML and RTF
// in organisation types 1 (" sk.l.") and 2: the entry list writes no list
// file, the report its list file first; a link page and a file per club,
// two clubs of one name kept apart, each file holding its club's rows (the
// entry list's club heading left to the file's title); the settlement's
// payment list and accounts in their own RTF files. LibreOffice reads every
// RTF file in one run.
TEST_F(SplitFilesTest, EntryListAndSettlementByClub)
{
    const struct {
        int kind;
        int comp;
        const char* out;
        std::vector<std::string> files;  // after the list file, when one is written
    } cases[] = {
        {1, 1, "deltagere.htm", {"Deltagere.htm", "Fjellby_sk.htm", "Nordvik_sk.htm", "Sorbygda_sk.htm", "ero_<&{.htm"}},
        {1, 2, "deltagere.rtf", {"Deltagere.htm", "Fjellby.rtf", "Nordvik.rtf", "Sorbygda.rtf", "ero_<&{.rtf"}},
        // Club 15 is not in the register: a page without a name, named by
        // what its title holds; club 16 is a second "Nordvik".
        {2, 8, "oppgjor.rtf",
         {"Oppgjorlink.htm", "Fjellby_sk.rtf", "Nordvik_sk.rtf", "ero_<&{.rtf", "Sorbygda_sk.rtf", "sk.rtf",
          "Nordvik_sk_6.rtf", "Betalingsliste.rtf", "Regnskap.rtf"}},
        {2, 9, "oppgjor.htm",
         {"Oppgjorlink.htm", "Fjellby.htm", "Nordvik.htm", "ero_<&{.htm", "Sorbygda.htm", "Oppgjorsark.htm",
          "Nordvik_6.htm", "Betalingsliste.rtf", "Regnskap.rtf"}},
    };
    const bool libreOffice = HaveLibreOffice();
    if (!libreOffice)
        std::cout << "no LibreOffice: the RTF files go unread\n";
    // The split files of every case and the models of the same lists, in
    // one run: the "file" lines name the case by their folder, and each
    // model starts with its "list" line.
    std::vector<std::string> calls;
    for (const auto& c : cases)
        calls.push_back("res list . --kind " + std::to_string(c.kind) + " --comp " + std::to_string(c.comp) +
                        " --split --header --out " + c.out);
    for (const auto& c : cases)
        calls.push_back("res list . --kind " + std::to_string(c.kind) + " --comp " + std::to_string(c.comp) +
                        " --out -");
    std::map<int, std::vector<std::string>> filesOf;
    std::vector<std::string> models;
    for (const std::string& line : Lines(Batch(calls))) {
        const std::smatch m = [&] {
            std::smatch found;
            std::regex_match(line, found, std::regex("file\t\\./Comp([0-9]+)/Print/(.*)"));
            return found;
        }();
        if (!m.empty()) {
            filesOf[std::stoi(m[1].str())].push_back(m[2].str());
        } else {
            if (line.rfind("list\t", 0) == 0)
                models.emplace_back();
            ASSERT_FALSE(models.empty()) << line;
            models.back() += line + "\n";
        }
    }
    ASSERT_EQ(models.size(), std::size(cases));

    // Every club file (and fixed file) with the rows it must show.
    std::vector<std::string> read;
    std::vector<ModelDef> want;
    for (size_t n = 0; n < std::size(cases); ++n) {
        const auto& c = cases[n];
        const std::string comp = "--kind " + std::to_string(c.kind) + " --comp " + std::to_string(c.comp);
        const std::string print = work + "/Comp" + std::to_string(c.comp) + "/Print/";
        const std::vector<std::string>& names = filesOf[c.comp];
        std::vector<std::string> files;
        for (const std::string& name : names)
            files.push_back(print + name);
        std::vector<std::string> expected = c.files;
        if (c.kind == 2)
            expected.insert(expected.begin(), c.out);
        ASSERT_EQ(names, expected) << comp;
        if (c.kind == 1)
            EXPECT_FALSE(fs::exists(print + c.out)) << "the entry list writes no list file when split";

        std::vector<std::string> pages;
        for (const std::string& f : files)  // the club files and the link page (the list file is the lists')
            if (f.ends_with(".htm") && f != print + c.out)
                pages.push_back(f);
        ExpectHtmlReadable(pages);
        const std::string linkPage = print + c.files[0];
        ExpectLinksResolve(linkPage);
        EXPECT_EQ(Count(TempFolder::Read(linkPage), "<a href="), c.kind == 1 ? 4u : 6u) << linkPage;

        // The model of the same list: the entry list's definitions are the
        // clubs'; the report's club pages are its settlement sheets, the
        // payment list and the accounts follow them.
        std::vector<ModelDef> defs = ReadModel(models[n]);
        std::vector<ModelDef> clubs;
        for (size_t d = 0; d < defs.size(); ++d) {
            if (c.kind == 1) {
                ModelDef rows = defs[d];
                rows.rows.erase(rows.rows.begin(), rows.rows.begin() + std::min<size_t>(8, rows.rows.size()));
                clubs.push_back(rows);
            } else if (defs[d].head.size() > 4 && defs[d].head[4] == "Oppgjørsark") {
                clubs.push_back(defs[d]);
                if (d + 2 < defs.size() && !(defs[d + 1].head.size() > 4 && defs[d + 1].head[4] == "Oppgjørsark")) {
                    clubs.push_back(defs[d + 1]);
                    clubs.push_back(defs[d + 2]);
                }
            }
        }
        const size_t firstClub = c.kind == 1 ? 1 : 2;
        ASSERT_EQ(clubs.size(), files.size() - firstClub) << comp;
        for (size_t k = firstClub; k < files.size(); ++k) {
            if (files[k].ends_with(".rtf") && !libreOffice)
                continue;
            read.push_back(files[k]);
            want.push_back(clubs[k - firstClub]);
        }
    }
    const std::vector<std::string> texts = Texts(read);
    ASSERT_EQ(texts.size(), read.size());
    for (size_t k = 0; k < read.size(); ++k)
        EXPECT_EQ(FirstCellMissing(texts[k], {want[k]}), "") << read[k];
}

// Printed, the split box leaves the lists whole: the report's printout
// ends with its settlement, payment list and accounts, and writes no club
// file.
TEST_F(SplitFilesTest, PrintedTheListsComeWhole)
{
    const std::string pdf = folder->File("report.pdf");
    const std::string print = work + "/Comp8/Print/";
    fs::remove_all(print);
    ToolRun run = RunTool("res list " + Quote(work) + " --kind 2 --comp 8 --split --out " + Quote(pdf) + " " + kNow);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("^file\t[^\n]*report.pdf\npages\t[0-9]+\n$"))) << run.out;
    const std::string text = RunCommand("pdftotext -layout " + Quote(pdf) + " -");
    EXPECT_EQ(Count(text, "Oppgjørsark"), 6u) << "a page per club";
    EXPECT_NE(text.find("Betalingsliste"), std::string::npos);
    EXPECT_FALSE(fs::exists(print + "Oppgjorlink.htm"));
}

// Refused before any folder is looked at.
TEST(SplitFiles, NeedAClubFileFormat)
{
    TempFolder empty;
    const struct {
        const char* args;
        const char* err;
    } cases[] = {
        {"--kind 1 --split --out x.txt", "--split writes club files"},
        {"--kind 1 --split --out -", "--split writes club files"},
        {"--kind 2 --split --out -", "--split writes club files"},
    };
    for (const auto& c : cases) {
        ToolRun run = RunTool("res list " + Quote(empty.Path()) + " " + c.args);
        EXPECT_TRUE(FailedWithOneLine(run)) << c.args;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << ": " << run.err;
    }
}

}  // namespace
