// The web site of the list fixture as bvtool res web makes it, against its
// golden files byte for byte: the slide show's start, frame and removed
// pages, the framed site's start frame, blank page, banner and contents, and
// an empty list's page. An HTML parser reads every page, tidy finds nothing
// worse than warnings, and a link checker walks both sites as a web server
// on Linux serves them.
//
// BV_UPDATE_GOLDEN=1 writes the golden files from what the pages give now
// (look at the differences before committing them).
#include "tests/results/lists/FixtureFolder.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include "foundation/files/BVConfig.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/web/WebChoices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <regex>
#include <sstream>

namespace web_site_test {

using namespace liststest;

using namespace results;
namespace fs = std::filesystem;

const std::string kWebGoldenDir = kGoldenDir + "/web";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The fixture's competition 1 made a web site of: two class prize lists of
// event 1 (the second without settlement, ranking sub-event 1), a combined
// list with a source and one without, a class list of event 2, a team
// competition; five lists in the slide show.
void WebSettings(const std::string& work)
{
    CBVConfig prizes1, prizes2, team, web, user;
    prizes1.Open(work + "\\Comp1\\Prize1.bvc", 1);
    prizes2.Open(work + "\\Comp1\\Prize2.bvc", 1);
    team.Open(work + "\\Comp1\\Team.bvc", 1);
    user.Open(work + "\\Common\\User.bvc", 1);
    ::WriteItem(prizes1, PrizeItems::kClassCount, 2);
    ::WriteItem(prizes1, PrizeItems::ClassSource(1), 1);
    ::WriteItem(prizes1, PrizeItems::ClassClasses(1), std::string("\x01\x02"));
    ::WriteItem(prizes1, PrizeItems::ClassSource(2), 0x101);
    ::WriteItem(prizes1, PrizeItems::ClassClasses(2), std::string("\x03"));
    ::WriteItem(prizes1, PrizeItems::ClassNoSettlement(2), 1);
    ::WriteItem(prizes1, PrizeItems::kGroupCount, 2);
    ::WriteItem(prizes1, PrizeItems::GroupSource(1), 1);
    ::WriteItem(prizes1, PrizeItems::GroupName(1), std::string("Sammenlagt"));
    ::WriteItem(prizes1, PrizeItems::GroupName(2), std::string("Uten kilde"));
    ::WriteItem(prizes1, PrizeItems::GroupSource(2), 0);
    ::WriteItem(prizes1, WebChoice::kRelayInShow, 1);
    ::WriteItem(prizes1, WebChoice::kRelaySeconds, 15);
    ::WriteItem(prizes1, WebChoice::ClassInShow(1, 1), 1);
    ::WriteItem(prizes1, WebChoice::ClassSeconds(1, 1), 12);
    ::WriteItem(prizes1, WebChoice::ClassRows(1, 1), 10);
    ::WriteItem(prizes1, WebChoice::ClassInShow(1, 2), 1);
    ::WriteItem(prizes1, WebChoice::GroupInShow(1), 1);
    ::WriteItem(prizes1, WebChoice::GroupRows(1), 20);
    ::WriteItem(prizes2, PrizeItems::kClassCount, 1);
    ::WriteItem(prizes2, PrizeItems::ClassSource(1), 1);
    ::WriteItem(prizes2, PrizeItems::ClassClasses(1), std::string("\x01"));
    ::WriteItem(prizes2, WebChoice::ClassInShow(1, 1), 1);
    ::WriteItem(team, TeamItems::kCount, 1);
    ::WriteItem(team, TeamItems::Name(1), std::string("Lag A"));
    ::WriteItem(user, UserItems::kOrganiser, std::string("Fjellby skytterlag"));
}

class WebSiteTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = std::make_unique<bvtest::TempFolder>(bvtest::TempFolder::InMemory);
        work = folder->File("work");
        std::string log;
        ASSERT_EQ(MakeFixture(work, &log), 0) << "the fixture: " << log;
        int status = -1;
        WebSettings(".\\work");
        wrote = bvtest::RunCommand(Quote(kBvtool) + " res web " + Quote(work) +
                                       " --comp 1 --aweb 1 --pweb 1 --pages 3 --now '2026-05-17 09:05'",
                                   &status);
        ASSERT_EQ(status, 0) << wrote;
    }
    static void TearDownTestSuite() { folder.reset(); }

    static void ExpectGolden(const std::string& golden, const std::string& bytes)
    {
        const std::string path = kWebGoldenDir + "/" + golden;
        if (std::getenv("BV_UPDATE_GOLDEN")) {
            fs::create_directories(kWebGoldenDir);
            bvtest::TempFolder::Write(path, bytes);
            return;
        }
        ASSERT_TRUE(fs::exists(path)) << golden;
        EXPECT_EQ(bytes, bvtest::TempFolder::Read(path)) << golden;
    }
    static std::string Page(const std::string& path) { return bvtest::TempFolder::Read(work + "/" + path); }

    static std::unique_ptr<bvtest::TempFolder> folder;
    static std::string work;
    static std::string wrote;
};
std::unique_ptr<bvtest::TempFolder> WebSiteTest::folder;
std::string WebSiteTest::work;
std::string WebSiteTest::wrote;

TEST_F(WebSiteTest, ThePagesAreTheGoldenOnes)
{
    ExpectGolden("wrote.txt", wrote);
    const char* const pages[] = {
        "AWeb/Startpage.htm",           "AWeb/data/Framepage2.htm", "AWeb/data/Framepage3.htm",
        "AWeb/data/Framepage4.htm",     "AWeb/data/Framepage5.htm", "AWeb/data/Framepage6.htm",
        "PWeb/StartFrame.htm",          "PWeb/data/blank.htm",      "PWeb/data/banner.htm",
        "PWeb/data/contents.htm",       "PWeb/data/1-Common-2.htm", "PWeb/data/1-Common-1.htm",
        "PWeb/data/1-Class-1-1.htm",    "PWeb/data/1-Class-2-1.htm", "AWeb/data/1-Class-1-1.htm",
        "PWeb/data/Team-1.htm",
    };
    for (const char* page : pages) {
        std::string name = page;
        std::replace(name.begin(), name.end(), '/', '_');
        ExpectGolden(name, Page(page));
    }
    // Every candidate beyond the five in the show is a removed page.
    for (int n = 7; n <= 9; ++n)
        EXPECT_EQ(Page("AWeb/data/Framepage" + std::to_string(n) + ".htm"), Page("AWeb/data/Framepage6.htm"));
    EXPECT_FALSE(fs::exists(work + "/AWeb/data/Framepage10.htm"));
}

TEST_F(WebSiteTest, OnePageInTheShowRefreshesItself)
{
    const std::string one = folder->File("one");
    int status = -1;
    bvtest::RunCommand("rm -rf " + Quote(one) + " && cp -r " + Quote(work) + " " + Quote(one), &status);
    ASSERT_EQ(status, 0);
    bvtest::RunCommand(Quote(kBvtool) + " res web " + Quote(one) + " --comp 1 --pweb 0 --pages 1 >/dev/null", &status);
    ASSERT_EQ(status, 0);
    const std::string start = bvtest::TempFolder::Read(one + "/AWeb/Startpage.htm");
    ExpectGolden("Startpage-one.htm", start);
    EXPECT_NE(start.find("URL=./Startpage.htm\">"), std::string::npos);
    EXPECT_NE(start.find("<FRAME SRC=\"./data/1-Relay-1.htm\">"), std::string::npos);
}

void ExpectPagesParse(const std::vector<std::string>& pages);
std::vector<std::string> PagesOf(const std::string& site);

// Competition 7's relays with card pictures: relay 1 has shots but no
// results mark (it gets one, and a relay list), relay 2 nobody's shots (a
// roll call), relay 3 its results mark already (a relay list); every
// relay's pictures are made once and marked.
TEST_F(WebSiteTest, RelayPagesAndCardPictures)
{
    const std::string seven = folder->File("seven");
    int status = -1;
    bvtest::RunCommand("rm -rf " + Quote(seven) + " && cp -r " + Quote(work) + " " + Quote(seven), &status);
    ASSERT_EQ(status, 0);
    bvtest::RunCommand(Quote(kBvtool) + " res relay " + Quote(seven) + " 1 3 --flags 272 >/dev/null", &status);
    const std::string wroteSeven = bvtest::RunCommand(Quote(kBvtool) + " res web " + Quote(seven) +
                                                          " --comp 7 --pweb 1 --cards 1 --now '2026-06-01 12:00'",
                                                      &status);
    ASSERT_EQ(status, 0) << wroteSeven;
    ExpectGolden("comp7-wrote.txt", wroteSeven);
    for (int r = 1; r <= 3; ++r)
        ExpectGolden("comp7-1-Relay-" + std::to_string(r) + ".htm",
                     bvtest::TempFolder::Read(seven + "/PWeb/data/1-Relay-" + std::to_string(r) + ".htm"));
    EXPECT_EQ(bvtest::RunCommand(Quote(kBvtool) + " cfg get " + Quote(seven + "/Comp7/Event1.bvc") + " 5 1 680") +
                  bvtest::RunCommand(Quote(kBvtool) + " cfg get " + Quote(seven + "/Comp7/Event1.bvc") + " 5 2 680") +
                  bvtest::RunCommand(Quote(kBvtool) + " cfg get " + Quote(seven + "/Comp7/Event1.bvc") + " 5 3 680"),
              "48\n32\n304\n");

    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(seven + "/PWeb/data")) {
        if (entry.path().extension() != ".png")
            continue;
        ++pictures;
        bvtest::RunCommand("pngcheck -q " + Quote(entry.path().string()) + " >/dev/null", &status);
        EXPECT_EQ(status, 0) << entry.path();
    }
    // Every picture the run wrote, and some.
    size_t named = 0;
    for (size_t at = wroteSeven.find(".png\n"); at != std::string::npos; at = wroteSeven.find(".png\n", at + 1))
        ++named;
    EXPECT_EQ(static_cast<size_t>(pictures), named);
    EXPECT_GE(pictures, 4);
    // Every page the site links to is there. The relay lists also link a
    // picture for every shooter of the relay, with shots or not, and only
    // shooters with a card get one: those links are left out here.
    const std::string check = Python() + " " + Quote(kFixtureDir + "/web_links.py");
    for (const std::string& line : Lines(bvtest::RunCommand(check + " " + Quote(seven + "/PWeb") + " StartFrame.htm")))
        if (!line.ends_with(".png"))
            EXPECT_NE(line.rfind("missing", 0), 0u) << line;
    // Its relay pages with their picture links read as well as the others.
    ExpectPagesParse(PagesOf(seven + "/PWeb"));
}

// html5lib finds nothing beyond the pages' fixed markup, tidy nothing worse
// than warnings.
void ExpectPagesParse(const std::vector<std::string>& pages)
{
    std::string args;
    for (const std::string& p : pages)
        args += " " + Quote(p);
    // What the fixed texts bring: no doctype; contents.htm closes its
    // paragraphs twice, banner.htm a paragraph its heading closed; the list
    // files' attributes follow each other without a blank, and their closing
    // table's first cell stands without a row.
    const std::set<std::string> fixedMarkup = {"expected-doctype-but-got-start-tag", "unexpected-end-tag",
                                               "unexpected-character-after-attribute-value",
                                               "unexpected-cell-in-table-body"};
    for (const std::string& line :
         Lines(bvtest::RunCommand(Python() + " " + Quote(kFixtureDir + "/html_check.py") + " errors" + args))) {
        const std::vector<std::string> f = Lines(std::regex_replace(line, std::regex("\t"), "\n"));
        ASSERT_EQ(f.size(), 3u) << line;
        EXPECT_TRUE(fixedMarkup.count(f[1])) << line;
    }
    for (const std::string& p : pages) {
        int status = -1;
        bvtest::RunCommand("tidy -e -q " + Quote(p) + " >/dev/null 2>&1", &status);
        EXPECT_LT(status, 2) << p;
    }
}

std::vector<std::string> PagesOf(const std::string& site)
{
    std::vector<std::string> pages;
    for (const auto& entry : fs::recursive_directory_iterator(site))
        if (entry.path().extension() == ".htm")
            pages.push_back(entry.path().string());
    return pages;
}

TEST_F(WebSiteTest, ParsersReadEveryPage)
{
    std::vector<std::string> pages = PagesOf(work + "/AWeb");
    for (const std::string& p : PagesOf(work + "/PWeb"))
        pages.push_back(p);
    ASSERT_GT(pages.size(), 20u);
    ExpectPagesParse(pages);
}

TEST_F(WebSiteTest, EveryLinkLeadsToAPageAndOnlyTheUnlinkedOnesAreNotReached)
{
    const std::string check = Python() + " " + Quote(kFixtureDir + "/web_links.py");
    EXPECT_EQ(Lines(bvtest::RunCommand(check + " " + Quote(work + "/PWeb") + " StartFrame.htm")),
              (std::vector<std::string>{
                  // The class list without settlement and the combined list
                  // without a source have pages but no links.
                  "unreached\tdata/1-Class-2-1.htm",
                  "unreached\tdata/1-Common-2.htm",
                  // A relay on a day beyond the event's days is in no day's row.
                  "unreached\tdata/2-Relay-3.htm",
              }));
    EXPECT_EQ(Lines(bvtest::RunCommand(check + " " + Quote(work + "/AWeb") + " Startpage.htm")),
              (std::vector<std::string>{
                  // Pages 4 and 5 of the show are beyond its three, and so
                  // are their lists; 6 to 9 are removed pages.
                  "unreached\tdata/1-Common-1.htm",
                  "unreached\tdata/2-Class-1-1.htm",
                  "unreached\tdata/Framepage4.htm",
                  "unreached\tdata/Framepage5.htm",
                  "unreached\tdata/Framepage6.htm",
                  "unreached\tdata/Framepage7.htm",
                  "unreached\tdata/Framepage8.htm",
                  "unreached\tdata/Framepage9.htm",
              }));
}

}  // namespace
