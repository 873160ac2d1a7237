// The club files of the fixture competitions as `bvtool res list --split`
// writes them: the entry list's and the settlement's files of every club
// with their link pages, read by outside readers as a club would: html5lib
// and tidy read every HTML file, every link of a link page is followed as a
// server that tells letter cases apart finds files, and LibreOffice reads
// every RTF file; each club's file holds its club's rows of the list.
#include "ModelDump.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace bvtest;

const std::string kFixtureDir = std::string(BV_SOURCE_DIR) + "/tests/results_lists/fixture";
const char* const kNow = "--now \"2026-05-17 09:05\"";

std::string Python() { return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }
std::string Quote(const std::string& s) { return "'" + s + "'"; }

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
        int status = -1;
        RunCommand(Quote(kFixtureDir + "/make-lists-fixture.sh") + " " + Quote(std::string(BV_BINARY_DIR) +
                                                                                "/tools/bvtool/bvtool") +
                       " " + Quote(work) + " >/dev/null",
                   &status);
        ASSERT_EQ(status, 0) << "the fixture";
    }
    static void TearDownTestSuite() { folder.reset(); }

    // The files a call wrote, from its "file" lines.
    static std::vector<std::string> Files(const std::string& args)
    {
        ToolRun run = RunTool("res list " + Quote(work) + " " + args + " " + kNow);
        EXPECT_EQ(run.status, 0) << args << ": " << run.err;
        std::vector<std::string> files;
        for (const std::string& line : Lines(run.out)) {
            EXPECT_EQ(line.rfind("file\t", 0), 0u) << line;
            files.push_back(line.substr(5));
        }
        return files;
    }
    static std::vector<ModelDef> Model(const std::string& args)
    {
        ToolRun run = RunTool("res list " + Quote(work) + " " + args + " --out - " + kNow);
        EXPECT_EQ(run.status, 0) << args << ": " << run.err;
        return ReadModel(run.out);
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
        for (const std::string& f : files) {
            if (f.ends_with(".rtf")) {
                rtf += " " + Quote(f);
                html.push_back(converted + "/" + fs::path(f).stem().string() + ".html");
            } else {
                html.push_back(f);
            }
        }
        if (!rtf.empty()) {
            fs::remove_all(converted);
            int status = -1;
            RunCommand("soffice --headless --norestore -env:UserInstallation=file://" + folder->File("lo-profile") +
                           " --convert-to 'html:HTML (StarWriter)' --outdir " + Quote(converted) + rtf +
                           " >/dev/null 2>&1",
                       &status);
            EXPECT_EQ(status, 0) << "LibreOffice";
        }
        std::vector<std::string> texts;
        for (const std::string& h : html) {
            EXPECT_TRUE(fs::exists(h)) << h << " not read";
            texts.push_back(RunCommand(Python() + " " + Quote(kFixtureDir + "/html_check.py") + " text " + Quote(h)));
        }
        return texts;
    }
    static bool HaveLibreOffice() { return !RunCommand("command -v soffice").empty(); }

    static std::unique_ptr<TempFolder> folder;
    static std::string work;
};

std::unique_ptr<TempFolder> SplitFilesTest::folder;
std::string SplitFilesTest::work;

// The entry list split by club, in HTML (type 1, with " sk.l.") and in RTF
// (type 2): no list file, a link page and a file per club holding the
// club's entries (the club's heading rows left to the file's title).
TEST_F(SplitFilesTest, EntryListByClub)
{
    const struct {
        int comp;
        const char* out;
        const char* clubs[4];
    } cases[] = {
        {1, "deltagere.htm", {"Fjellby_sk.htm", "Nordvik_sk.htm", "Sorbygda_sk.htm", "ero_<&{.htm"}},
        {2, "deltagere.rtf", {"Fjellby.rtf", "Nordvik.rtf", "Sorbygda.rtf", "ero_<&{.rtf"}},
    };
    for (const auto& c : cases) {
        if (std::string(c.out).ends_with(".rtf") && !HaveLibreOffice()) {
            std::cout << "no LibreOffice: the RTF files go unread\n";
            continue;
        }
        const std::string comp = "--comp " + std::to_string(c.comp);
        const std::vector<std::string> files = Files("--kind 1 " + comp + " --split --header --out " + c.out);
        const std::string print = work + "/Comp" + std::to_string(c.comp) + "/Print/";
        std::vector<std::string> want = {print + "Deltagere.htm"};
        for (const char* club : c.clubs)
            want.push_back(print + club);
        ASSERT_EQ(files, want);
        EXPECT_FALSE(fs::exists(print + c.out)) << "the entry list writes no list file when split";

        ExpectHtmlReadable(std::string(c.out).ends_with(".htm") ? files : std::vector<std::string>{files[0]});
        ExpectLinksResolve(files[0]);
        std::string linkPage = TempFolder::Read(files[0]);
        EXPECT_NE(linkPage.find(">Fjellby" + std::string(c.comp == 1 ? " sk.l." : "") + "</a>"), std::string::npos)
            << linkPage;

        // Each club's file: its definition's rows from the first event on.
        std::vector<ModelDef> defs = Model("--kind 1 " + comp);
        ASSERT_EQ(defs.size(), 4u);
        const std::vector<std::string> texts = Texts({files.begin() + 1, files.end()});
        for (size_t k = 0; k < defs.size(); ++k) {
            ModelDef clubRows = defs[k];
            clubRows.rows.erase(clubRows.rows.begin(), clubRows.rows.begin() + 8);
            EXPECT_EQ(FirstCellMissing(texts[k], {clubRows}), "") << files[k + 1];
        }
    }
}

TEST_F(SplitFilesTest, SplitNeedsAClubFileFormatAndKind)
{
    const struct {
        const char* args;
        const char* err;
    } cases[] = {
        {"--kind 1 --split --out x.txt", "--split writes club files"},
        {"--kind 1 --split --out -", "--split writes club files"},
        {"--kind 1 --split --out x.pdf", "--split writes club files"},
        {"--kind 0 --split --out x.rtf", "--split is for kinds 1 and 2"},
    };
    for (const auto& c : cases) {
        ToolRun run = RunTool("res list " + Quote(work) + " " + c.args);
        EXPECT_TRUE(FailedWithOneLine(run)) << c.args;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << ": " << run.err;
    }
}

}  // namespace
