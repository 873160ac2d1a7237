#include "results/print/PageFrame.h"

#include "platform/files/PrivateProfile.h"
#include "platform/system/Clock.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/print/Report.h"

#include <algorithm>
#include <cstdio>

namespace results {
namespace {

const char* const kTimes = "Times New Roman";
const char* const kArial = "Arial";

// One column's look: the line it stands on and what it is fitted by.
struct ColumnLook {
    int line;
    int widthPercent;
    int align;
    int fitChars;
    int pointSize;
};

// Header columns 1 to 6: competition name | organiser, date | (empty),
// title 1 | title 2.
constexpr ColumnLook kHeaderLook[6] = {
    {1, 55, kAlignLeft, 25, 14},  {1, 45, kAlignRight, 20, 14}, {2, 40, kAlignLeft, 20, 14},
    {2, 60, kAlignRight, 20, 16}, {3, 60, kAlignLeft, 20, 18},  {3, 40, kAlignRight, 15, 15},
};

// The framed caption columns 7 on of the two result tables that have a
// layout of their own: characters to fit and percent of the width.
struct CaptionLook {
    int fitChars;
    int widthPercent;
};
constexpr CaptionLook kSevenCaptions[7] = {{2, 4}, {4, 6}, {20, 28}, {4, 6}, {22, 32}, {5, 8}, {10, 16}};
constexpr CaptionLook kNineCaptions[9] = {{2, 4}, {4, 6}, {20, 28}, {3, 6}, {5, 7}, {15, 21}, {4, 7}, {4, 7}, {10, 14}};

constexpr int kCaptionLine = 5;

// Words of the caption line, by the competition's rules.
struct CaptionWords {
    const char* first[4];           // place, bib, name, nation
    const char* firstClubs[4];      // when shooters represent clubs
    const char* rest[3];            // up to 17 captions
    const char* restLong[5];        // above 17
};
constexpr CaptionWords kEnglishCaptions = {
    {"Rk", "Bib", "Name", "Nat"}, {"Rk", "Bib", "Name/Club", ""}, {"Serie", "Total", "Remark"},
    {"Pos", "Serie", "Sub", "Total", "Remark"}};
constexpr CaptionWords kNorwegianCaptions = {
    {"Pl", "SNr", "Navn", "Land"}, {"Pl", "SNr", "Navn/Klub", ""}, {"Serie", "Total", "Merknad"},
    {"Stilling", "Serie", "Delsum", "Total", "Merknad"}};

constexpr int kOrgTypeNorway = 2;
constexpr int kOrgTypeInternational = 6;

ReportColumn Column(int fitChars, int pointSize, const char* face, bool bold, int widthPercent)
{
    ReportColumn column;
    column.fitChars = fitChars;
    column.pointSize = pointSize;
    column.face = face;
    column.bold = bold;
    column.align = kAlignLeft;
    column.line = 1;
    column.frame = 0;
    column.widthPercent = widthPercent;
    return column;
}

void StartLine(std::vector<ReportLine>& lines, int l, int firstColumn, bool underline = false)
{
    ReportLine& line = Nth(lines, l);
    line.firstColumn = firstColumn;
    line.underline = underline;
}

}  // namespace

void CPageFrame::ReadMargins(CReport& report)
{
    report.m_marginLeft = platform::GetPrivateProfileInt("Margin", "Left", 0, kIniFile);
    report.m_marginTop = platform::GetPrivateProfileInt("Margin", "Top", 0, kIniFile);
    report.m_marginRight = platform::GetPrivateProfileInt("Margin", "Right", 0, kIniFile);
    report.m_marginBottom = platform::GetPrivateProfileInt("Margin", "Bottom", 0, kIniFile);
}

void CPageFrame::SetupHeader(ListDef& def, int captions)
{
    captions = std::max(0, captions);
    def.headerColumns.assign(static_cast<size_t>(captions) + 6, Column(20, 14, kTimes, true, 50));
    for (int c = 0; c < 6; ++c) {
        ReportColumn& column = def.headerColumns[static_cast<size_t>(c)];
        column.line = kHeaderLook[c].line;
        column.widthPercent = kHeaderLook[c].widthPercent;
        column.align = kHeaderLook[c].align;
        column.fitChars = kHeaderLook[c].fitChars;
        column.pointSize = kHeaderLook[c].pointSize;
    }

    def.headerLines.assign(captions == 0 ? 3 : 5, ReportLine());
    StartLine(def.headerLines, 1, 1);
    StartLine(def.headerLines, 2, 3);
    StartLine(def.headerLines, 3, 5, true);
    if (captions > 0)
        StartLine(def.headerLines, kCaptionLine, 7);  // line 4 is left empty: a space above the captions

    const CaptionLook* looks = captions == 7 ? kSevenCaptions : captions == 9 ? kNineCaptions : nullptr;
    if (looks == nullptr)
        return;
    for (int k = 0; k < captions; ++k) {
        ReportColumn& column = def.headerColumns[static_cast<size_t>(6 + k)];
        column = Column(looks[k].fitChars, 10, kTimes, false, looks[k].widthPercent);
        column.line = kCaptionLine;
        column.align = kAlignCentre;
        column.frame = kFrameBox;
    }
}

void CPageFrame::SetupFooter(ListDef& def)
{
    def.footerColumns.assign(4, Column(20, 12, kArial, false, 50));
    // Two sponsor lines across the page, the first with a rule above it,
    // then the print time and the web address in small print.
    for (int c = 0; c < 2; ++c) {
        ReportColumn& sponsor = def.footerColumns[static_cast<size_t>(c)];
        sponsor = Column(50, 12, kTimes, true, 100);
        sponsor.line = c + 1;
        sponsor.align = kAlignCentre;
    }
    def.footerColumns[0].frame = kFrameTop;
    ReportColumn& time = def.footerColumns[2];
    time.line = 3;
    time.pointSize = 6;
    ReportColumn& web = def.footerColumns[3];
    web.line = 3;
    web.pointSize = 6;
    web.align = kAlignRight;

    def.footerLines.assign(3, ReportLine());
    StartLine(def.footerLines, 1, 1);
    StartLine(def.footerLines, 2, 2);
    StartLine(def.footerLines, 3, 3);
}

void CPageFrame::SetupBody(ListDef& def, int columns, int pointSize)
{
    columns = std::max(1, columns);
    def.bodyColumns.assign(static_cast<size_t>(columns), Column(20, pointSize, kArial, false, 100 / columns));
}

std::vector<std::string> CPageFrame::CaptionTexts(int orgType, int represent, int captions)
{
    std::vector<std::string> texts(static_cast<size_t>(std::max(0, captions)));
    const CaptionWords* words = orgType == kOrgTypeInternational ? &kEnglishCaptions
                                : orgType == kOrgTypeNorway     ? &kNorwegianCaptions
                                                                : nullptr;
    if (words == nullptr || captions <= 0)
        return texts;
    std::vector<const char*> named(represent == 0 ? std::begin(words->first) : std::begin(words->firstClubs),
                                   represent == 0 ? std::end(words->first) : std::end(words->firstClubs));
    if (captions <= 17)
        named.insert(named.end(), std::begin(words->rest), std::end(words->rest));
    else
        named.insert(named.end(), std::begin(words->restLong), std::end(words->restLong));
    for (size_t k = 0; k < texts.size() && k < named.size(); ++k)
        texts[k] = named[k];
    return texts;
}

std::string CPageFrame::PrintTime()
{
    platform::LocalTime now = platform::Now();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d - %02d.%02d", now.hour, now.minute, now.day, now.month);
    return text;
}

void CPageFrame::BuildPageHeader(CReport& report, const std::string& title1, const std::string& title2, int d,
                                 int captions)
{
    CBVConfig& comp = m_comp.Comp();
    std::vector<ReportCell> cells(static_cast<size_t>(std::max(0, captions)) + 6);
    cells[0].text = ::ReadItem(comp, CompItems::kName);
    cells[1].text = ResString(IDS_ORGANISER) + ":" + ::ReadItem(m_comp.User(), UserItems::kOrganiser);
    cells[2].text = ::ReadItem(comp, CompItems::kTitle2);
    cells[4].text = title1;
    cells[5].text = title2;
    if (captions > 0) {
        int represent = m_comp.orgType == kOrgTypeInternational || m_comp.orgType == kOrgTypeNorway
                            ? ::ReadItem(comp, CompItems::kRepresentHeader)
                            : 0;
        std::vector<std::string> texts = CaptionTexts(m_comp.orgType, represent, captions);
        for (size_t k = 0; k < texts.size(); ++k)
            cells[6 + k].text = texts[k];
    }
    report.AddHeaderRow(cells, d);

    cells.resize(4);
    cells[0].text = ReadItem(comp, CompItems::kSponsor1);
    cells[1].text = ReadItem(comp, CompItems::kSponsor2);
    cells[2].text = PrintTime();
    cells[3].text = kMakerWebAddress;
    report.AddFooterRow(cells, d);
}

}  // namespace results
