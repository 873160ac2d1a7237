// The per-club files on small models made by hand: the file names made of
// club names and kept apart when they meet, the HTML and RTF club files and
// the link page, and the list object writing them into the Print folder
// (with a file that cannot be written, and a file of an earlier run spelled
// in another letter case).
#include "tests/results/lists/ListsFixture.h"

#include "results/lists/ListPaths.h"
#include "results/lists/clubfiles/ClubFiles.h"
#include "results/lists/clubfiles/ClubFileWriter.h"
#include "results/print/PageFrame.h"

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace results;
using platform::Ansi;

ReportRow Row(std::vector<std::string> texts)
{
    ReportRow row;
    for (std::string& t : texts)
        row.cells.push_back(ReportCell{Ansi(t), {}});
    return row;
}

// A definition with the two titles in header row 1, footer row 1 filled and
// the body rows given, on one line of columns of the widths given.
ListDef ClubDef(const std::string& title1, const std::string& title2, const std::vector<std::vector<std::string>>& rows,
                std::vector<int> widths = {60, 40})
{
    ListDef def;
    CPageFrame::SetupHeader(def, 0);
    CPageFrame::SetupFooter(def);
    CPageFrame::SetupBody(def, static_cast<int>(widths.size()), 12);
    for (size_t c = 0; c < widths.size(); ++c)
        def.bodyColumns[c].widthPercent = widths[c];
    def.bodyLines.assign(1, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.headerRows.push_back(Row({"Comp", "Org", "Date", "", title1, title2}));
    def.footerRows.push_back(Row({"S1", "S2", "Time", "Web"}));
    for (const auto& r : rows)
        def.bodyRows.push_back(Row(r));
    return def;
}

size_t Count(const std::string& text, const std::string& piece)
{
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

TEST(ClubFileName, MadeFromTheClubName)
{
    const struct {
        const char* club;
        const char* name;
    } cases[] = {
        {"Øst/Vest.Skytter", "ost_Vest"},
        {"  \tÅsen Skytterlag", "asen_Skytterlag"},
        {"Fjellby sk.l.", "Fjellby_sk"},
        {"ÆØÅ æøå", "eoa_eoa"},
        {"Nord\\Sør", "Nord"},
        {".Skjult", ""},
        {"   ", ""},
        {"Müller & Söhne %d", "Müller_&_Söhne_%d"},  // other bytes stay, nothing is a format
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::Cp1252ToUtf8(ClubFileName(Ansi(c.club))), c.name) << c.club;
        EXPECT_EQ(platform::Cp1252ToUtf8(ClubFileName(Ansi(c.club))), c.name) << c.club;
    }
}

TEST(ClubFileName, NamesOfARunKeptApart)
{
    ClubFileNames names;
    names.Reserve("Regnskap.rtf");
    names.Reserve("Deltagere.htm");
    const struct {
        const char* base;
        const char* extension;
        int d;
        const char* taken;
    } cases[] = {
        {"Oslo", ".htm", 1, "Oslo"},
        {"OSLO", ".htm", 2, "OSLO_2"},        // another letter case is the same file at home
        {"", ".htm", 3, "_3"},                // a name that came out empty
        {"OSLO_2", ".htm", 4, "OSLO_2_4"},    // meets the number given before
        {"deltagere", ".htm", 5, "deltagere_5"},  // the link page's name
        {"Regnskap", ".htm", 6, "Regnskap"},  // only the accounts' RTF file is taken
        {"regnskap", ".rtf", 7, "regnskap_7"},
        {"Oslo", ".rtf", 8, "Oslo"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names.Take(c.base, c.extension, c.d), c.taken) << c.base << c.extension;
}

TEST(ClubFileName, UrlOfAFileName)
{
    EXPECT_EQ(FileNameUrl(Ansi("ero_<&{.htm")), "ero_%3C%26%7B.htm");
    EXPECT_EQ(FileNameUrl(Ansi("Müller_#1?%.rtf")), "M%C3%BCller_%231%3F%25.rtf");
}

TEST(ClubFiles, ClubOfADefinition)
{
    ListDef entry = ClubDef("Deltagere", "", {{""}, {"     Fjellby sk.l."}});
    EXPECT_EQ(ClubNameOf(entry, true), "Fjellby sk.l.");
    EXPECT_EQ(ClubNameOf(ListDef(), true), "");
    EXPECT_EQ(ClubNameOf(ClubDef("Oppgjørsark", "Nordvik", {}), false), "Nordvik");
    EXPECT_EQ(platform::Cp1252ToUtf8(ClubNameOf(ClubDef("Oppgjørsark", "", {}), false)), "Oppgjørsark");
    EXPECT_EQ(FirstClubFileRow(true), 9);
    EXPECT_EQ(FirstClubFileRow(false), 1);
}

TEST(ClubFiles, LinkPage)
{
    const std::string head = LinkPageHead(false);
    EXPECT_EQ(head.rfind("<html>\r\n<head>\r\n", 0), 0u);
    EXPECT_NE(head.find("<title>BVRes - "), std::string::npos);
    EXPECT_TRUE(head.ends_with("<body bgcolor=\"#FFFFDF\">\r\n<center><font color=\"red\"><H2><u><b>Linker til "
                               "oppgj\xF8rsark</b></u></H2></font></center>\r\n"));
    EXPECT_NE(LinkPageHead(true).find("<b>Linker til deltagerlister</b>"), std::string::npos);
    EXPECT_EQ(LinkPageLink(Ansi("ero_<&{.htm"), Ansi("Ærø <&{\\}>")),
              " <a href=\"./ero_%3C%26%7B.htm\">" + Ansi("Ærø") + " &lt;&amp;{\\}&gt;</a> ");
}

TEST(ClubFiles, HtmlClubFile)
{
    ListDef def = ClubDef("Oppgjørsark", "Nordvik", {{"a", "b"}, {"c", "d"}, {"<e>", "f"}}, {60, 0, 40});
    // A second line of two columns: medium, and small in Courier New.
    def.bodyColumns[2].face = "Courier New";
    def.bodyColumns[2].line = 2;
    def.bodyColumns.push_back(def.bodyColumns[0]);
    def.bodyColumns[3].line = 2;
    def.bodyColumns[3].face = "Arial";
    def.bodyColumns[2].widthPercent = 50;
    def.bodyColumns[3].widthPercent = 50;
    def.bodyColumns[0].align = kAlignRight;
    def.bodyLines.push_back(ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[1].firstColumn = 3;
    for (ReportRow& row : def.bodyRows)
        row.cells.resize(4);
    def.bodyRows[0].cells[2].text = "x";
    def.bodyRows[0].cells[3].text = "y";

    const std::string html = HtmlClubFile(def, true, 3, 2, "");
    EXPECT_EQ(Count(html, "<center><font color=\"red\"><H2><u><b>Oppgj\xF8rsark-Nordvik</b></u></H2></font></center>"),
              1u);
    EXPECT_EQ(Count(html, "<TABLE "), 1u);
    EXPECT_EQ(Count(html, "</TABLE>\r\n<hr>"), 1u);
    // Rows 2 and 3, each on two lines; the row number gives the colour.
    EXPECT_EQ(Count(html, "<TR bgcolor =\"#FFFFFF\">"), 2u);
    EXPECT_EQ(Count(html, "<TR bgcolor =\"#FFFFDF\">"), 2u);
    EXPECT_EQ(html.find(">a<"), std::string::npos);
    EXPECT_NE(html.find("<TD WIDTH=\"60%\"COLSPAN=\"30\"Align = Right><FONT SIZE=\"3\">c</FONT></TD>\r\n"
                        "</TR>\r\n"),
              std::string::npos)
        << "line 1 at the web font size, the column of no width left out";
    EXPECT_NE(html.find("<TD WIDTH=\"50%\"COLSPAN=\"25\"Align = Left><FONT SIZE=\"1\"></FONT></TD>\r\n"
                        "<TD WIDTH=\"50%\"COLSPAN=\"25\"Align = Left><FONT SIZE=\"2\"></FONT></TD>"),
              std::string::npos)
        << "line 2: small in Courier New, else medium";
    EXPECT_NE(html.find("&lt;e&gt;"), std::string::npos);
    EXPECT_TRUE(html.ends_with("</TABLE>\r\n<hr><p>&nbsp;</p>\r\n<p>\r\n<font size=\"2\" color = \"red\">\r\nBVRes - " +
                               std::string(html.substr(html.rfind("BVRes - ") + 8, html.rfind("\r\n</font>") -
                                                                                       html.rfind("BVRes - ") - 8)) +
                               "\r\n</font>\r\n</p>\r\n</HTML>\r\n"));

    // The sizes never drop below 1; without the header option no heading; an
    // empty title 2 is the name given for it, or title 1 alone.
    EXPECT_NE(HtmlClubFile(def, true, 1, 1, "").find("<FONT SIZE=\"1\">x</FONT>"), std::string::npos);
    EXPECT_EQ(HtmlClubFile(def, false, 3, 1, "").find("<H2>"), std::string::npos);
    ListDef entry = ClubDef("Deltagere", "", {});
    EXPECT_NE(HtmlClubFile(entry, true, 3, 9, Ansi("Fjellby sk.l.")).find("<b>Deltagere-Fjellby sk.l.</b>"),
              std::string::npos);
    EXPECT_NE(HtmlClubFile(entry, true, 3, 9, "").find("<b>Deltagere</b>"), std::string::npos);
}

TEST(ClubFiles, RtfClubFile)
{
    ListDef def = ClubDef("Oppgjørsark", "Nordvik {x}", {{"r1", "skipped"}, {"r2", "b"}});
    const std::string rtf = RtfClubFile(def, 2);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi \\deflang1033\\deff0 {\\fonttbl\r\n"
                        "{\\f0\\fswiss\\fcharset0 Arial;}\r\n"
                        "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}\r\n"
                        "{\\f2\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
                        "\\notabind\\paperw11905\\paperh16837\\margl567\\margr567\\margt567\\margb567\\"
                        "viewkind1\\lytprtmet\\subfontbysize \\headery567\\footery567\r\n{\r\n"
                        "{\\header \\fs24\\pard \\fs24\r\n",
                        0),
              0u);
    EXPECT_NE(rtf.find("\\pard \\f2\\fs28\\b\\intbl\\qr\r\nNordvik \\{x\\}\r\n\\cell\\pard\\b0\\intbl\\row\r\n"
                       "\\pard\r\n}\r\n{\\footer \\fs28\\pard \\fs28\r\n"),
              std::string::npos);
    EXPECT_EQ(rtf.find("r1"), std::string::npos);
    EXPECT_NE(rtf.find("\\pard \\trowd \\trql\\trgaph30\\trkeep\r\n\\cellx6462\r\n\\cellx10771\r\n"
                       "\\pard \\f0\\fs24\\intbl\\ql\r\nr2\r\n\\cell\r\n"),
              std::string::npos);
    EXPECT_TRUE(rtf.ends_with("\\row\r\n}}"));
    EXPECT_EQ(Count(rtf, "{"), Count(rtf, "}")) << "groups balanced";
}

class WriteClubFilesTest : public liststest::ListTest {
protected:
    std::string PrintPath(const std::string& name)
    {
        return platform::NativePath(PrintFolder(List().Competition().competition) + "\\" + name);
    }
    std::vector<std::string> Written()
    {
        std::vector<std::string> names;
        for (const std::string& path : List().clubFilesWritten)
            names.push_back(platform::Cp1252ToUtf8(std::string(platform::BaseName(path))));
        return names;
    }
    void Model(const std::vector<std::string>& clubs)
    {
        List().report.Reset();
        for (const std::string& club : clubs)
            List().report.aListDef.push_back(ClubDef("Oppgjørsark", club, {{club, "1250,00"}}));
    }
};

// Two clubs of one name, and a name like the accounts' file: each gets a file
// of its own and a link to it; the model is emptied.
TEST_F(WriteClubFilesTest, EveryClubAFileOfItsOwn)
{
    for (bool html : {true, false}) {
        Model({"Øst/Vest.Skytter", "Nordvik", "Nordvik", ".Punkt", "Regnskap"});
        List().request.kind = kListSettlement;
        List().request.file.html = html ? 1 : 0;
        List().request.file.header = 1;
        ASSERT_EQ(ClubFileWriter(List()).Write(), 0);
        EXPECT_TRUE(List().report.aListDef.empty());
        const std::string x = html ? ".htm" : ".rtf";
        const std::vector<std::string> want = {"Oppgjorlink.htm", "ost_Vest" + x, "Nordvik" + x, "Nordvik_3" + x,
                                               "_4" + x, html ? "Regnskap.htm" : "Regnskap_5.rtf"};
        EXPECT_EQ(Written(), want);
        std::string link;
        ASSERT_TRUE(platform::ReadWholeFile(PrintFolder(List().Competition().competition) + "\\Oppgjorlink.htm", link));
        EXPECT_EQ(Count(link, "<a href="), 5u);
        EXPECT_NE(link.find(" <a href=\"./Nordvik_3" + x + "\">Nordvik</a> "), std::string::npos);
        EXPECT_NE(link.find(" <a href=\"./_4" + x + "\">.Punkt</a> "), std::string::npos);
        EXPECT_FALSE(link.ends_with("\n")) << "the links stand on one line without a line end";
        for (size_t k = 1; k < want.size(); ++k) {
            std::string bytes;
            ASSERT_TRUE(platform::ReadWholeFile(List().clubFilesWritten[k], bytes));
            EXPECT_NE(bytes.find("1250,00"), std::string::npos) << want[k];
        }
        EXPECT_TRUE(messages.empty());
    }
}

// The link page holds every club's link however many there are.
TEST_F(WriteClubFilesTest, ALinkForEveryClub)
{
    std::vector<std::string> clubs;
    for (int k = 1; k <= 150; ++k)
        clubs.push_back("Skytterlaget for Øvre og Nedre Bygd " + std::to_string(k));
    Model(clubs);
    List().request.kind = kListSettlement;
    List().request.file.html = 1;
    ASSERT_EQ(ClubFileWriter(List()).Write(), 0);
    std::string link;
    ASSERT_TRUE(platform::ReadWholeFile(List().clubFilesWritten[0], link));
    EXPECT_GT(link.size(), 8000u);
    EXPECT_EQ(Count(link, "<a href="), 150u);
    EXPECT_NE(link.find("<a href=\"./Skytterlaget_for_ovre_og_Nedre_Bygd_150.htm\">"), std::string::npos);
}

TEST_F(WriteClubFilesTest, TheEntryListsLinkPageAndRows)
{
    List().report.Reset();
    std::vector<std::vector<std::string>> rows(10, std::vector<std::string>{""});
    rows[1] = {"     Fjellby sk.l."};
    rows[8] = {"Felt 10 skudd"};
    rows[9] = {"Ola Nordmann"};
    List().report.aListDef.push_back(ClubDef("Deltagere", "", rows));
    List().request.kind = kListParticipants;
    List().request.file.html = 1;
    List().request.file.header = 1;
    ASSERT_EQ(ClubFileWriter(List()).Write(), 0);
    EXPECT_EQ(Written(), (std::vector<std::string>{"Deltagere.htm", "Fjellby_sk.htm"}));
    std::string club;
    ASSERT_TRUE(platform::ReadWholeFile(List().clubFilesWritten[1], club));
    EXPECT_NE(club.find("<b>Deltagere-Fjellby sk.l.</b>"), std::string::npos);
    EXPECT_NE(club.find("Felt 10 skudd"), std::string::npos);
    EXPECT_NE(club.find("Ola Nordmann"), std::string::npos);
    EXPECT_EQ(club.find(">     Fjellby"), std::string::npos) << "the club's heading rows are left out";
}

// A club file that cannot be written stops the run: reported, the files
// before it stay and the link page leads to them, the model stays.
TEST_F(WriteClubFilesTest, AFileThatCannotBeWritten)
{
    Model({"Fjellby", "Nordvik", "Sørbygda"});
    List().request.kind = kListSettlement;
    List().request.file.html = 0;
    platform::CreateFolders(PrintFolder(List().Competition().competition) + "\\Nordvik.rtf\\in");
    EXPECT_EQ(ClubFileWriter(List()).Write(), -1);
    EXPECT_EQ(Written(), (std::vector<std::string>{"Oppgjorlink.htm", "Fjellby.rtf"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("error: Error writing to file."), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("Nordvik.rtf"), std::string::npos) << messages[0];
    EXPECT_EQ(List().report.aListDef.size(), 3u);
    std::string link;
    ASSERT_TRUE(platform::ReadWholeFile(List().clubFilesWritten[0], link));
    EXPECT_EQ(Count(link, "<a href="), 1u);
    EXPECT_FALSE(std::filesystem::exists(PrintPath("Sorbygda.rtf")));

    // The link page itself: nothing is written.
    messages.clear();
    platform::CreateFolders(PrintFolder(List().Competition().competition) + "\\Deltagere.htm\\in");
    List().request.kind = kListParticipants;
    EXPECT_EQ(ClubFileWriter(List()).Write(), -1);
    EXPECT_TRUE(List().clubFilesWritten.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Error creating file \"linkfile.htm\""), std::string::npos) << messages[0];
    EXPECT_EQ(List().report.aListDef.size(), 3u);
}

// A file of an earlier run named in another letter case gives way to the
// name the link page gives, so the link finds it where cases count.
TEST_F(WriteClubFilesTest, AnEarlierFileInAnotherCase)
{
    const std::string folder = PrintFolder(List().Competition().competition);
    platform::CreateFolders(folder);
    ASSERT_EQ(platform::WriteFileAtomically(folder + "\\NORDVIK.htm", "old"), 0);
    Model({"Nordvik"});
    List().request.kind = kListSettlement;
    List().request.file.html = 1;
    ASSERT_EQ(ClubFileWriter(List()).Write(), 0);
    const std::string native = PrintPath("Nordvik.htm");
    EXPECT_EQ(std::filesystem::path(native).filename(), "Nordvik.htm");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(native).parent_path() / "Nordvik.htm"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(native).parent_path() / "NORDVIK.htm"));
}

}  // namespace
