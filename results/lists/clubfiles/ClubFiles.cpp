// The club files and their link page, made in memory.
#include "results/lists/clubfiles/ClubFiles.h"

#include "results/lists/files/CellText.h"
#include "results/lists/files/HtmlListFile.h"
#include "results/lists/files/ListFiles.h"
#include "results/lists/files/RtfListFile.h"

#include "platform/files/SystemPath.h"
#include "platform/system/Codepage.h"

#include <algorithm>
#include <cstdio>

namespace results {
namespace {

constexpr int kEntryListSkippedRows = 8;

// The head of the link page and of the HTML club files. The texts are the
// program's 8-bit characters: the page says which.
std::string PageHead()
{
    std::string out = "<html>\r\n<head>\r\n";
    out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n";
    out += "<basefont face=\"arial\">\r\n";
    out += "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n";
    out += "<meta http-equiv=\"expires\" content=\"0\">\r\n";
    out += "<title>" + ProgramAndWebAddress() + "</title>\r\n";
    out += "</head>\r\n<body bgcolor=\"#FFFFDF\">\r\n";
    return out;
}

std::string Heading(const std::string& text)
{
    return "<center><font color=\"red\"><H2><u><b>" + text + "</b></u></H2></font></center>\r\n";
}

std::string LeadingBlanksDropped(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    return text.substr(i);
}

}  // namespace

std::string ClubFileName(const std::string& clubName)
{
    std::string name;
    for (char c : LeadingBlanksDropped(clubName)) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (c == '.' || c == '\\')
            break;
        if (c == ' ' || c == '/')
            name += '_';
        else if (b == 0xC5 || b == 0xE5)  // Å å
            name += 'a';
        else if (b == 0xC6 || b == 0xE6)  // Æ æ
            name += 'e';
        else if (b == 0xD8 || b == 0xF8)  // Ø ø
            name += 'o';
        else
            name += c;
    }
    return name;
}

void ClubFileNames::Reserve(const std::string& fileName) { m_taken.push_back(fileName); }

bool ClubFileNames::Taken(const std::string& fileName) const
{
    return std::any_of(m_taken.begin(), m_taken.end(),
                       [&](const std::string& t) { return platform::SameNameNoCase(t, fileName); });
}

std::string ClubFileNames::Take(const std::string& baseName, const std::string& extension, int d)
{
    std::string name = baseName;
    // A club named like the number another one was given ("Lag_2") could
    // still meet it: the number goes on until the name is free.
    if (name.empty() || Taken(name + extension)) {
        name += "_" + std::to_string(d);
        while (Taken(name + extension))
            name += "_" + std::to_string(d);
    }
    m_taken.push_back(name + extension);
    return name;
}

std::string ClubNameOf(const ListDef& def, bool entryList)
{
    if (entryList)
        return def.bodyRows.size() >= 2 ? LeadingBlanksDropped(CellOf(def.bodyRows[1], 1)) : std::string();
    const std::string& title2 = HeaderCell(def, 6);
    return LeadingBlanksDropped(title2.empty() ? HeaderCell(def, 5) : title2);
}

int FirstClubFileRow(bool entryList) { return entryList ? kEntryListSkippedRows + 1 : 1; }

std::string LinkPageHead(bool entryList)
{
    return PageHead() + Heading(entryList ? "Linker til deltagerlister" : "Linker til oppgj\xF8rsark");
}

std::string LinkPageLink(const std::string& fileName, const std::string& clubName)
{
    return " <a href=\"./" + FileNameUrl(fileName) + "\">" + HtmlText(clubName) + "</a> ";
}

std::string HtmlClubFile(const ListDef& def, bool header, int webFontSize, int firstRow, const std::string& title2)
{
    const int size = webFontSize;
    const int small = std::max(1, webFontSize - 2);
    const int medium = std::max(1, webFontSize - 1);

    std::string out = PageHead();
    // The heading and the table once per file: the table is closed once.
    if (header) {
        const std::string& title1 = HeaderCell(def, 5);
        const std::string& second = HeaderCell(def, 6).empty() ? title2 : HeaderCell(def, 6);
        if (!title1.empty() && !second.empty())
            out += Heading(HtmlText(title1) + "-" + HtmlText(second));
        else
            out += Heading(HtmlText(title1.empty() ? second : title1));
    }
    out += "<TABLE BORDER=\"0\" COLS=\"50\" WIDTH=\"100%\" CELLPADDING=\"4\" CELLSPACING=\"0\">\r\n";
    for (size_t r = static_cast<size_t>(std::max(firstRow, 1)); r <= def.bodyRows.size(); ++r)
        HtmlBodyRow(out, def, def.bodyRows[r - 1], static_cast<int>(r), {size, small, medium});
    out += "</TABLE>\r\n<hr>";
    out += "<p>&nbsp;</p>\r\n<p>\r\n<font size=\"2\" color = \"red\">\r\n" + ProgramAndWebAddress() +
           "\r\n</font>\r\n</p>\r\n";
    out += "</HTML>\r\n";
    return out;
}

std::string RtfClubFile(ListDef& def, int firstRow)
{
    std::string out =
        "{\\rtf1\\ansi \\deflang1033\\deff0 {\\fonttbl\r\n"
        "{\\f0\\fswiss\\fcharset0 Arial;}\r\n"
        "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}\r\n"
        "{\\f2\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
        "\\notabind\\paperw11905\\paperh16837\\margl567\\margr567\\margt567\\margb567\\"
        "viewkind1\\lytprtmet\\subfontbysize \\headery567\\footery567\r\n{\r\n";
    RtfPageHeader(out, def, false);
    RtfPageFooter(out, def);
    RtfBody(out, def, firstRow);
    out += "}}";
    return out;
}

std::string FileNameUrl(const std::string& fileName)
{
    static const char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = platform::Cp1252ToUtf8(fileName);
    std::string out;
    for (char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}  // namespace results
