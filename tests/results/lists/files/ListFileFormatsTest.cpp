// The three list file formats on small models made by hand: the text
// format's fields, the HTML page's tables and titles, the RTF document's
// sections, page header and footer groups, caption rows, body tables and the
// press list's running text; and each format's escaping of what a cell may
// hold.
#include "results/lists/files/CellText.h"
#include "results/lists/files/HtmlListFile.h"
#include "results/lists/files/RtfListFile.h"
#include "results/lists/files/TextListFile.h"
#include "results/print/PageFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace list_file_formats_test {

using namespace results;

ReportRow Row(std::vector<std::string> texts)
{
    ReportRow row;
    for (std::string& t : texts)
        row.cells.push_back(ReportCell{std::move(t), {}});
    return row;
}

// A definition of n columns on one line (widths as given), header row 1
// with the two titles, footer row 1 with four texts.
ListDef Def(std::vector<int> widths, const std::string& title1 = "T1", const std::string& title2 = "T2",
            int captions = 0)
{
    ListDef def;
    CPageFrame::SetupHeader(def, captions);
    CPageFrame::SetupFooter(def);
    CPageFrame::SetupBody(def, static_cast<int>(widths.size()), 12);
    for (size_t c = 0; c < widths.size(); ++c)
        def.bodyColumns[c].widthPercent = widths[c];
    def.bodyLines.assign(1, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    std::vector<std::string> head(static_cast<size_t>(captions) + 6);
    head[0] = "Comp";
    head[1] = "Org";
    head[2] = "Date";
    head[4] = title1;
    head[5] = title2;
    for (int k = 0; k < captions; ++k)
        head[6 + static_cast<size_t>(k)] = "C" + std::to_string(k + 1);
    def.headerRows.push_back(Row(head));
    def.footerRows.push_back(Row({"S1", "S2", "Time", "Web"}));
    return def;
}

size_t Count(const std::string& text, const std::string& piece)
{
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

// ---- text ---------------------------------------------------------------------

TEST(TextListFile, FieldsTitlesAndEmptyCells)
{
    std::vector<ListDef> defs{Def({40, 30, 30}), Def({100}, "Second", "")};
    defs[0].bodyRows = {Row({"a", "", "b"}), Row({"", "", ""}), Row({"", "x", "y"}), Row({"one\r\ntwo", "t\nu"})};
    defs[1].bodyRows = {Row({"only"})};
    EXPECT_EQ(TextListFile(defs), "T1 T2\r\n"
                                  "a;b\r\n"
                                  "\r\n"
                                  "x;y\r\n"
                                  "one two;t u\r\n"
                                  "\r\n"
                                  "Second \r\n"
                                  "only\r\n"
                                  "\r\n");
}

// ---- HTML ---------------------------------------------------------------------

TEST(HtmlListFile, PageTablesRowsAndCells)
{
    std::vector<ListDef> defs{Def({60, 0, 40})};
    defs[0].bodyColumns[0].align = kAlignLeft;
    defs[0].bodyColumns[2].align = kAlignRight;
    defs[0].bodyRows = {Row({"a", "hidden", "b"}), Row({"c", "", "d"})};
    const std::string page = HtmlListFile(defs, false, 3, "09:05 - 17.05.2026");
    EXPECT_EQ(page,
              "<html>\r\n<head>\r\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
              "<basefont face=\"arial\">\r\n"
              "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n"
              "<meta http-equiv=\"expires\" content=\"0\">\r\n"
              "<title>BVRes - www.brevandi.no</title>\r\n"
              "</head>\r\n<body bgcolor=\"#FFFFDF\">\r\n"
              "<TABLE BORDER=\"0\" COLS=\"50\" WIDTH=\"100%\" CELLPADDING=\"4\" CELLSPACING=\"0\">\r\n"
              "<TR bgcolor =\"#FFFFDF\">\r\n"
              "<TD WIDTH=\"60%\"COLSPAN=\"30\"Align = Left><FONT SIZE=\"3\">a</FONT></TD>\r\n"
              "<TD WIDTH=\"40%\"COLSPAN=\"20\"Align = Right><FONT SIZE=\"3\">b</FONT></TD>\r\n"
              "</TR>\r\n"
              "<TR bgcolor =\"#FFFFFF\">\r\n"
              "<TD WIDTH=\"60%\"COLSPAN=\"30\"Align = Left><FONT SIZE=\"3\">c</FONT></TD>\r\n"
              "<TD WIDTH=\"40%\"COLSPAN=\"20\"Align = Right><FONT SIZE=\"3\">d</FONT></TD>\r\n"
              "</TR>\r\n"
              "</TABLE>\r\n<hr>"
              "<TABLE BORDER=\"0\" COLS=\"2\" WIDTH=\"100%\" CELLPADDING=\"4\" CELLSPACING=\"0\">\r\n"
              "<TD  WIDTH=\"100%\"><FONT SIZE=\"2\"color=\"red\">BVRes - www.brevandi.no</FONT></TD>\r\n"
              "<TD  WIDTH=\"100%\"><FONT SIZE=\"2\"color=\"red\"Align=Right>09:05 - 17.05.2026</FONT></TD>\r\n"
              "</TABLE>\r\n<hr></HTML>\r\n");
}

TEST(HtmlListFile, EveryLineOfARowIsATableRowAndZeroWidthLinesStayEmpty)
{
    ListDef def = Def({50, 50, 0});
    def.bodyColumns[1].line = 2;
    def.bodyColumns[2].line = 3;
    def.bodyLines.assign(3, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[1].firstColumn = 2;
    def.bodyLines[2].firstColumn = 3;
    def.bodyRows = {Row({"l1", "l2", "l3"})};
    def.bodyRows[0].style = 0x2;  // a hidden line is still written
    std::vector<ListDef> defs{def};
    const std::string page = HtmlListFile(defs, false, 2, "t");
    EXPECT_EQ(Count(page, "<TR bgcolor =\"#FFFFDF\">\r\n"), 3u);
    EXPECT_NE(page.find(">l1</FONT>"), std::string::npos);
    EXPECT_NE(page.find(">l2</FONT>"), std::string::npos);
    EXPECT_EQ(page.find("l3"), std::string::npos);
    EXPECT_NE(page.find("<TR bgcolor =\"#FFFFDF\">\r\n</TR>\r\n"), std::string::npos);
}

TEST(HtmlListFile, TitleForms)
{
    struct Case {
        const char* title1;
        const char* title2;
        const char* heading;
    };
    const Case cases[] = {
        {"Klasse", "Senior", "<b>Klasse-Senior</b>"},
        {"Klasse", "", "<b>Klasse</b>"},
        {"", "Senior", "<b>Senior</b>"},
        {"", "", "<b></b>"},
        {"A<B", "C&D", "<b>A&lt;B-C&amp;D</b>"},
    };
    for (const Case& c : cases) {
        std::vector<ListDef> defs{Def({100}, c.title1, c.title2)};
        const std::string page = HtmlListFile(defs, true, 3, "t");
        EXPECT_NE(page.find(std::string("<center><font color=\"red\"><H2><u>") + c.heading +
                            "</u></H2></font></center>\r\n<TABLE"),
                  std::string::npos)
            << c.title1 << "/" << c.title2;
        EXPECT_EQ(HtmlListFile(defs, false, 3, "t").find("<H2>"), std::string::npos);
    }
}

// ---- RTF ----------------------------------------------------------------------

const char* const kHeaderStart = "{\\header \\fs24\\pard \\fs24\r\n";
const char* const kFooterStart = "{\\footer \\fs28\\pard \\fs28\r\n";

TEST(RtfListFile, PrologueSectionsAndClosing)
{
    struct Case {
        bool compact;
        bool secondFilePage;
        const char* between;  // what opens definition 2
    };
    const Case cases[] = {
        {false, false, "}\r\n{\r\n\\sect\r\n\\sectd\r\n"},
        {true, false, "}\r\n{\r\n\\pard \\fs28"},
        {true, true, "}\r\n{\r\n\\sect\r\n\\sectd\r\n"},
    };
    for (const Case& c : cases) {
        std::vector<ListDef> defs{Def({100}), Def({100})};
        defs[1].filePage = c.secondFilePage;
        RtfFileOptions options;
        options.compact = c.compact;
        const std::string rtf = RtfListFile(defs, options);
        EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi \\deflang1033\\deff0\r\n{\\fonttbl\r\n{\\f0\\fswiss\\fcharset0 Arial;}\r\n"
                            "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}\r\n"
                            "{\\f2\\froman\\fprq2\\fcharset0 Times New Roman;}\r\n}\r\n"
                            "\\notabind\\paperw11905\\paperh16837\\margl567\\margr567\\margt567\\margb567\\viewkind1"
                            "\\lytprtmet\\subfontbysize \\headery567\\footery567\r\n{\r\n",
                            0),
                  0u);
        EXPECT_NE(rtf.find(c.between), std::string::npos) << c.compact << c.secondFilePage;
        // The file-page definition carries its page header and footer whatever the options.
        EXPECT_EQ(Count(rtf, kHeaderStart), c.secondFilePage ? 1u : 0u);
        EXPECT_EQ(Count(rtf, kFooterStart), c.secondFilePage ? 1u : 0u);
        EXPECT_EQ(rtf.substr(rtf.size() - 6), "}\r\n}\r\n");
    }
}

TEST(RtfListFile, TitleParagraphWithoutThePageHeader)
{
    std::vector<ListDef> defs{Def({100}, "Statistikk", "")};
    const std::string rtf = RtfListFile(defs, {});
    EXPECT_NE(rtf.find("{\r\n\\pard \\fs28 \\b\r\nStatistikk \r\n\\par \\b0\r\n"), std::string::npos);
    EXPECT_EQ(rtf.find(kHeaderStart), std::string::npos);
    defs[0].headerRows.clear();
    EXPECT_EQ(RtfListFile(defs, {}).find("\\pard \\fs28 \\b"), std::string::npos);
}

TEST(RtfListFile, PageHeaderAndFooterGroups)
{
    std::vector<ListDef> defs{Def({100}, "Title", "Club")};
    defs[0].bodyRows = {Row({"x"})};
    RtfFileOptions options;
    options.header = options.footer = true;
    const std::string rtf = RtfListFile(defs, options);
    const std::string header = std::string(kHeaderStart) +
                               "\\trowd \\trql\\trgaph100\\trkeep\r\n\\cellx5924\r\n\\cellx10771\r\n"
                               "\\pard \\f2\\fs28\\intbl\\ql\r\nComp\r\n\\cell\r\n"
                               "\\pard \\f2\\fs28\\intbl\\qr\r\nOrg\r\n\\cell\\pard\\intbl\\row\r\n"
                               "\\trowd \\trql\\trgaph100\\trkeep\r\n\\cellx4308\r\n\\cellx10771\r\n"
                               "\\pard \\f2\\fs28\\intbl\\ql\r\nDate\r\n\\cell\r\n"
                               "\\pard \\f2\\fs28\\b\\intbl\\qr\r\n\r\n\\cell\\pard\\b0\\intbl\\row\r\n"
                               "\\trowd \\trql\\trgaph100\\trkeep\r\n\\trowd \\trql\\trgaph100\\trkeep\r\n"
                               "\\clbrdrb\\brdrs\\brdrw32\\brdrcf2\\cellx6463\r\n"
                               "\\clbrdrb\\brdrs\\brdrw32\\brdrcf2\\cellx10771\r\n"
                               "\\pard \\f2\\fs28\\b\\intbl\\ql\r\nTitle\r\n\\cell\\pard\\b0\\intbl\r\n"
                               "\\pard \\f2\\fs28\\b\\intbl\\qr\r\nClub\r\n\\cell\\pard\\b0\\intbl\\row\r\n"
                               "\\pard\r\n}\r\n";
    const std::string footer = std::string(kFooterStart) +
                               "\\trowd \\trql\\trgaph100\\trkeep\r\n\\clbrdrt\\brdrs\\brdrw32\\brdrcf2\\cellx10771\r\n"
                               "\\pard \\f2\\fs28\\b\\intbl\\qc\r\nS1\r\n\\cell\\pard\\b0\\intbl\\row\r\n"
                               "\\trowd \\trql\\trgaph100\\trkeep\r\n\\cellx10771\r\n"
                               "\\pard \\f2\\fs28\\b\\intbl\\qc\r\nS2\r\n\\cell\\pard\\b0\\intbl\\row\r\n"
                               "\\trowd \\trql\\trgaph100\\trkeep\r\n\\cellx5385\r\n\\cellx10771\r\n"
                               "\\pard \\f2\\fs12\\intbl\\ql\r\nTime\r\n\\cell\\pard\\intbl\r\n"
                               "\\pard \\f2\\fs12\\intbl\\qr\r\nWeb\r\n\\cell\\pard\\intbl\\row\r\n}\r\n";
    EXPECT_NE(rtf.find("{\r\n" + header + footer + "\\pard \\trowd"), std::string::npos) << rtf;
}

TEST(RtfListFile, BoxedCaptionRows)
{
    const std::string box = "\\clbrdrb\\brdrth\\clbrdrt\\brdrth\\clbrdrl\\brdrth\\clbrdrr\\brdrth\\cellx";
    struct Case {
        int captions;
        std::vector<int> edges;
        bool spacingRow;
    };
    const Case cases[] = {
        {7, {430, 1077, 4769, 5199, 8185, 9047, 10771}, false},
        {9, {430, 1077, 4092, 4739, 5493, 7755, 8502, 9263, 10771}, true},
    };
    for (const Case& c : cases) {
        std::vector<ListDef> defs{Def({100}, "T1", "T2", c.captions)};
        RtfFileOptions options;
        options.header = true;
        const std::string rtf = RtfListFile(defs, options);
        std::string expected = "\\cell\\pard\\b0\\intbl\\row\r\n";
        if (c.spacingRow)
            expected += "\\trowd \\trql\\trgaph100\\trkeep\r\n\\cellx10771\r\n\\cell\\pard\\intbl\\row\r\n";
        expected += "\\trowd \\trql\\trgaph100\\trkeep\r\n";
        for (int edge : c.edges)
            expected += box + std::to_string(edge) + "\r\n";
        for (int k = 1; k <= c.captions; ++k)
            expected += "\\pard \\f2\\fs20\\intbl\\qc\r\nC" + std::to_string(k) + "\r\n" +
                        (k == c.captions ? "\\cell\\pard\\intbl\\row\r\n" : "\\cell\r\n");
        expected += "\\pard\r\n}\r\n";
        EXPECT_NE(rtf.find(expected), std::string::npos) << c.captions << "\n" << rtf;
        EXPECT_EQ(Count(rtf, box), c.edges.size());
    }
}

TEST(RtfListFile, BodyTableOfEveryLine)
{
    ListDef def = Def({30, 45, 25, 100});
    def.bodyColumns[0].face = "Courier New";
    def.bodyColumns[1].face = "Times New Roman";
    def.bodyColumns[1].align = kAlignCentre;
    def.bodyColumns[2].align = kAlignRight;
    def.bodyColumns[2].pointSize = 9;
    def.bodyColumns[3].line = 2;
    def.bodyLines.assign(2, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[1].firstColumn = 4;
    def.bodyLines[1].underline = true;
    def.bodyRows = {Row({"a", "b", "c", "d"})};
    std::vector<ListDef> defs{def};
    const std::string rtf = RtfListFile(defs, {});
    EXPECT_NE(rtf.find("\\pard \\trowd \\trql\\trgaph30\\trkeep\r\n"
                       "\\cellx3231\r\n\\cellx8078\r\n\\cellx10771\r\n"
                       "\\pard \\f1\\fs24\\intbl\\ql\r\na\r\n\\cell\r\n"
                       "\\pard \\f2\\fs24\\intbl\\qc\r\nb\r\n\\cell\r\n"
                       "\\pard \\f0\\fs18\\intbl\\qr\r\nc\r\n\\cell\r\n"
                       "\\row\r\n"
                       "\\pard \\trowd \\trql\\trgaph30\\trkeep\r\n"
                       "\\clbrdrb\\brdrs\\brdrw32\\brdrcf2\\cellx10771\r\n"
                       "\\pard \\f0\\fs24\\intbl\\ql\r\nd\r\n\\cell\r\n"
                       "\\row\r\n}\r\n}\r\n"),
              std::string::npos)
        << rtf;
}

// The press list's running text, row by row: cells 1 to 4 are place, name,
// club and result; a row with neither place nor club is a heading.
TEST(RtfListFile, PressListRunningText)
{
    struct Case {
        const char* what;
        std::vector<std::vector<std::string>> rows;
        const char* text;
    };
    const Case cases[] = {
        {"first heading", {{"", "Senior", "", ""}}, "\\pard\\f0\\fs20\\b\r\nSenior:\\b0 \\par"},
        {"later heading",
         {{"", "Senior", "", ""}, {"", "Junior", "", ""}},
         "\\pard\\f0\\fs20\\b\r\nSenior:\\b0 \\par\r\n\\pard\\f0\\fs20\\b\r\nJunior: \\b0 \\par"},
        {"winner", {{"1", "Ola", "Fjellby", "95"}}, "1. Ola, Fjellby 95\\par"},
        {"shared win", {{"eo 1", "Ola", "Fjellby", "95"}}, "eo 1. Ola, Fjellby 95\\par"},
        {"later place", {{"2", "Per", "Nordvik", "94"}}, ", 2. Per, Nordvik 94\\par"},
        {"bracket", {{"(", "Per", "", ""}}, "(Per, \\par"},
        {"no place after a club", {{"1", "Ola", "Fjellby", "95"}, {"", "Kari", "Nordvik", "94"}},
         "1. Ola, Fjellby 95, Kari, Nordvik 94\\par"},
        {"no place after no club", {{"(", "Ola", "", ""}, {"", "Kari", "Nordvik", "94"}},
         "(Ola, Kari, Nordvik 94\\par"},
        {"no place first", {{"", "Kari", "Nordvik", ""}}, "Kari, Nordvik \\par"},
        {"empty name and club", {{"3", "", "", "90"}}, ", 3. 90\\par"},
        {"escaped", {{"", "A{b}\\c", "", ""}}, "\\pard\\f0\\fs20\\b\r\nA\\{b\\}\\\\c:\\b0 \\par"},
    };
    for (const Case& c : cases) {
        ListDef def = Def({25, 25, 25, 25});
        for (const auto& r : c.rows)
            def.bodyRows.push_back(Row(r));
        std::vector<ListDef> defs{def};
        RtfFileOptions options;
        options.pressList = true;
        options.header = options.footer = true;  // the running text has neither
        const std::string rtf = RtfListFile(defs, options);
        const std::string prologueEnd = "\\footery567\r\n{\r\n";
        const size_t start = rtf.find(prologueEnd) + prologueEnd.size();
        EXPECT_EQ(rtf.substr(start), std::string(c.text) + "}\r\n}\r\n") << c.what;
    }
}

// ---- cell texts ---------------------------------------------------------------

TEST(CellText, EscapedPerFormat)
{
    struct Case {
        std::string text;
        const char* rtf;
        const char* html;
        const char* plain;
    };
    const Case cases[] = {
        {"plain", "plain", "plain", "plain"},
        {"a\\b{c}", "a\\\\b\\{c\\}", "a\\b{c}", "a\\b{c}"},
        {"<b>&\"x\"", "<b>&\"x\"", "&lt;b&gt;&amp;&quot;x&quot;", "<b>&\"x\""},
        {"one\r\ntwo\nthree\rfour", "one\\par two\\par three\\par four", "one<br>two<br>three<br>four",
         "one two three four"},
        {std::string("a\tb\x01" "c", 5), "a\\tab b c", "a\tb c", "a\tb c"},
        {"\xC6\xD8\xC5", "\xC6\xD8\xC5", "\xC6\xD8\xC5", "\xC6\xD8\xC5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RtfText(c.text), c.rtf) << c.text;
        EXPECT_EQ(HtmlText(c.text), c.html) << c.text;
        EXPECT_EQ(PlainText(c.text), c.plain) << c.text;
    }
}

TEST(CellText, LinksAreAnchorsInHtmlAndTextElsewhere)
{
    ReportCell cell{"Resultater <1>", "Resultat \xC5sen.htm?a=1&b=\"2\"%41%G"};
    EXPECT_EQ(HtmlCell(cell),
              "<a href=\"Resultat%20%C3%85sen.htm?a=1&amp;b=%222%22%41%25G\">Resultater &lt;1&gt;</a>");

    ListDef def = Def({100});
    def.bodyRows.push_back(ReportRow{{cell}, 0});
    std::vector<ListDef> defs{def};
    EXPECT_NE(TextListFile(defs).find("Resultater <1>\r\n"), std::string::npos);
    EXPECT_NE(RtfListFile(defs, {}).find("\r\nResultater <1>\r\n\\cell"), std::string::npos);
}

}  // namespace
