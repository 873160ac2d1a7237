// The fixed layouts of the result lists of organisation types 2 and 6: a
// plain line of 7 columns, the three lines of a half or full match (prone,
// standing, kneeling; 27 columns), and their variants for a combined final
// list of all participants (17 and 32 columns), whose first eight rows show
// the final too. A list may end with its print and protest times.
#include "results/lists/resultlists/FixedLayout.h"

#include "platform/system/Clock.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/resultlists/ResultCells.h"
#include "results/lists/resultlists/ResultListCodes.h"

namespace results {
namespace {

constexpr const char* kCourier = "Courier New";

// The rows of a final list that show the final.
constexpr int kFinalRows = 8;
// Minutes after the list is made until the print and the protest time.
constexpr int kPrintMinutes = 2;
constexpr int kProtestMinutes = 22;

struct FixedColumn {
    int column;  // from 1
    int line;
    int fitChars;
    int align;
    int widthPercent;
    bool courier;
    bool bold;
};

constexpr int L = kAlignLeft, R = kAlignRight, C = kAlignCentre;

// Columns 1 to 7 of the plain and the final layout (3 and 4 depend on how
// shooters are represented).
constexpr FixedColumn kPlain[] = {
    {1, 1, 3, R, 4, false, false},   {2, 1, 4, R, 6, false, false},  {3, 1, 22, L, 28, false, false},
    {4, 1, 4, L, 6, false, false},   {5, 1, 24, C, 32, true, false}, {6, 1, 6, R, 8, true, true},
    {7, 1, 11, L, 16, false, false},
};
constexpr FixedColumn kFinalRest[] = {
    {8, 2, 3, R, 4, false, false},   {9, 2, 4, R, 6, false, false},    {10, 2, 57, R, 66, true, false},
    {11, 2, 6, R, 8, true, true},    {12, 2, 11, L, 16, false, false}, {13, 3, 3, R, 4, false, false},
    {14, 3, 4, R, 6, false, false},  {15, 3, 22, L, 66, false, false}, {16, 3, 6, R, 8, true, true},
    {17, 3, 11, L, 16, false, false},
};
// One line of a match layout, by position 1 to 9.
constexpr FixedColumn kMatchLine[] = {
    {1, 0, 3, R, 4, false, false},  {2, 0, 4, R, 6, false, false}, {3, 0, 22, L, 28, false, false},
    {4, 0, 4, L, 6, false, false},  {5, 0, 5, L, 7, false, false}, {6, 0, 16, C, 21, true, false},
    {7, 0, 4, R, 7, true, false},   {8, 0, 5, R, 7, true, true},   {9, 0, 11, L, 14, false, false},
};
constexpr FixedColumn kFinalMatchLine[] = {
    {1, 0, 3, R, 4, false, false},  {2, 0, 4, R, 6, false, false}, {3, 0, 21, L, 28, false, false},
    {4, 0, 4, L, 6, false, false},  {5, 0, 5, L, 7, false, false}, {6, 0, 16, C, 21, true, false},
    {7, 0, 5, R, 7, true, false},   {8, 0, 6, R, 8, true, true},   {9, 0, 10, L, 13, false, false},
};
constexpr FixedColumn kFinalMatchFourth[] = {
    {28, 4, 3, R, 4, false, false}, {29, 4, 57, R, 68, false, false}, {30, 4, 5, R, 7, true, false},
    {31, 4, 6, R, 8, true, true},   {32, 4, 10, L, 13, false, false},
};

void Apply(ListDef& def, const FixedColumn& f, int column, int line)
{
    ReportColumn& c = Nth(def.bodyColumns, column);
    c.line = line;
    c.fitChars = f.fitChars;
    c.align = f.align;
    c.widthPercent = f.widthPercent;
    if (f.courier)
        c.face = kCourier;
    c.bold = f.bold;
}

void StartLines(ListDef& def, std::initializer_list<int> firstColumns)
{
    def.bodyLines.clear();
    for (int first : firstColumns) {
        ReportLine line;
        line.firstColumn = first;
        def.bodyLines.push_back(line);
    }
    for (ReportLine& line : def.bodyLines) {
        line.columnCount = 0;
        for (const ReportColumn& c : def.bodyColumns)
            line.columnCount += c.line == static_cast<int>(&line - def.bodyLines.data()) + 1;
    }
}

// A club's short form in the match layouts: three characters, upper case.
std::string ShortClub(std::string club)
{
    if (club.size() > 3)
        club.resize(3);
    for (char& ch : club) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            ch = static_cast<char>(c - 32);
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)  // the accented letters of Windows-1252
            ch = static_cast<char>(c - 32);
    }
    return club;
}

std::string ClockText(const platform::LocalTime& now, int minutesLater)
{
    const int minutes = (now.hour * 60 + now.minute + minutesLater) % (24 * 60);
    return Format("%02d:%02d", minutes / 60, minutes % 60);
}

}  // namespace

void FixedLayout::Layout(int list, int d, int listKind)
{
    m_columns = 0;
    m_cardEvent = 0;
    m_entries = 4;
    m_firstCode = 0;
    m_list.SetupFooter(d);
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    if (!e) {
        m_list.SetupHeader(d, 0);
        return;
    }
    CBVConfig& settings = e->Settings();
    const bool group = listKind == kListResultsCombined;
    const int source = ::ReadItem(e->Prizes(), group ? PrizeItems::GroupSource(list) : PrizeItems::ClassSource(list));
    if (!(source & kSourceSubEvent)) {
        m_list.SetupHeader(d, 0);
        return;  // no columns for a series
    }
    const bool separateFinal = ::ReadItem(settings, EventItems::kSeparateFinal) != 0;
    const std::string halfMatch = ResString(IDS_WORD_HALVMATCH), fullMatch = ResString(IDS_WORD_HELMATCH);
    auto isMatch = [&](const std::string& name) { return name == halfMatch || name == fullMatch; };
    int captions;
    if (!group || !separateFinal) {
        const bool match = isMatch(::ReadItem(settings, EventItems::SubEventName(source & 0xFF)));
        m_columns = match ? 27 : 7;
        captions = match ? 9 : 7;
    } else {
        const bool match = isMatch(::ReadItem(e->Prizes(), PrizeItems::GroupName(list)));
        m_columns = match ? 32 : 17;
        captions = match ? 9 : 7;
    }

    // The event the source's first code names gives the cards.
    const std::string codes = ::ReadItem(settings, EventItems::SubSeries(source & 0xFF));
    m_firstCode = codes.empty() ? 0 : static_cast<uint8_t>(codes[0]);
    m_cardEvent = event;
    if (IsLinkCode(static_cast<uint8_t>(m_firstCode)) && codes.size() > 1)
        m_cardEvent = static_cast<uint8_t>(codes[1]);
    m_entries = m_cardEvent == event && codes.size() == 6 ? 2 : 4;

    m_list.SetupBody(m_columns, d);
    m_list.SetupHeader(d, captions);
    ListDef& def = m_report.Def(d);
    const bool clubs = ::ReadItem(m_comp.Comp(), CompItems::kRepresent) != 0;
    switch (m_columns) {
    case 7:
    case 17:
        for (const FixedColumn& f : kPlain)
            Apply(def, f, f.column, 1);
        if (clubs) {
            Nth(def.bodyColumns, 3).widthPercent = 34;
            Nth(def.bodyColumns, 4).fitChars = 0;
            Nth(def.bodyColumns, 4).widthPercent = 0;
        }
        if (m_columns == 17)
            for (const FixedColumn& f : kFinalRest)
                Apply(def, f, f.column, f.line);
        if (!group && m_columns == 7)
            StartLines(def, {1});
        else
            StartLines(def, {1, 8, 13});
        break;
    default: {
        const FixedColumn* line = m_columns == 32 ? kFinalMatchLine : kMatchLine;
        for (int l = 0; l < 3; ++l)
            for (int j = 0; j < 9; ++j)
                Apply(def, line[j], l * 9 + j + 1, l + 1);
        if (m_columns == 32) {
            for (const FixedColumn& f : kFinalMatchFourth)
                Apply(def, f, f.column, f.line);
            StartLines(def, {1, 10, 19, 28});
        } else {
            StartLines(def, {1, 10, 19});
        }
    }
    }
}

std::vector<ReportCell> FixedLayout::RowCells(int row, int list, int listKind, bool withPrizes, uint16_t& style)
{
    style = 0;
    const int n = m_columns;
    std::vector<ReportCell> cells(static_cast<size_t>(n));
    if (n == 0)
        return cells;
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    if (!e)
        return cells;
    const int resultType = ::ReadItem(e->Settings(), EventItems::ResultType(event));
    const int orgType = ::ReadItem(m_comp.Comp(), CompItems::kOrgType);
    auto code = [&](int c) {
        std::string text;
        m_cells.Text(row, c, resultType, 0, text, listKind, list, false, false, false);
        return text;
    };
    auto cell = [&](int c) -> std::string& { return cells[static_cast<size_t>(c) - 1].text; };
    const ResultRow& r = m_list.resultRows[static_cast<size_t>(row)];
    auto remarks = [&] {
        std::string text;
        m_cells.RemarkCodesText(row, text, m_cardEvent);
        if (withPrizes && r.prizeAmount > 0)
            text += Format("%d", r.prizeAmount / 100);
        return text;
    };
    // The total: of the list's event, or of the sub-event the first code links to.
    auto total = [&] {
        if (m_cardEvent == event)
            return code(kCodeTotal);
        std::string text;
        m_cells.SubEventPartText(row, resultType, m_firstCode & 0x7F, text, false, m_cardEvent, 99);
        return text;
    };
    const bool finalRow = row < kFinalRows;

    if (n == 7 || n == 17) {
        const bool clubs = ::ReadItem(m_comp.Comp(), CompItems::kRepresent) == 1;
        cell(1) = code(kCodePlace);
        cell(2) = code(kCodeStartNr);
        cell(3) = clubs ? Format("%s / %s", code(kCodeName).c_str(), code(kCodeClub).c_str()) : code(kCodeName);
        cell(4) = clubs ? std::string() : code(kCodeClub);
        if (listKind == kListResultsByClass) {
            cell(5) = code(kCodeSeriesSums);
        } else {
            const int subEvents = ::ReadItem(m_comp.Comp(), CompItems::EventSubEvents(m_cardEvent));
            m_cells.SubEventPartText(row, resultType, subEvents < 3 ? subEvents : 3, cell(5), true, m_cardEvent, 99);
        }
        cell(6) = total();
        cell(7) = remarks();
        if (listKind == kListResultsCombined) {
            if (finalRow && n == 17) {
                m_cells.FinalSeriesText(row, resultType, cell(10), true);
                m_cells.FinalSeriesText(row, resultType, cell(11), false);
                cell(16) = code(kCodeTotal);
            } else if (!finalRow) {
                style = 6;
            }
        }
        return cells;
    }

    cell(1) = code(kCodePlace);
    cell(2) = code(kCodeStartNr);
    cell(3) = code(kCodeName);
    if (orgType != 2)
        cell(4) = ShortClub(code(kCodeClub));
    else
        cell(12) = code(kCodeClub);
    const int parts[3][2] = {{IDS_MATCH_PRONE, 3}, {IDS_MATCH_STANDING, 4}, {IDS_MATCH_KNEELING, 5}};
    for (int l = 0; l < 3; ++l) {
        const int base = l * 9;
        cell(base + 5) = ResString(parts[l][0]);
        m_cells.SubEventPartText(row, resultType, parts[l][1], cell(base + 6), true, m_cardEvent, m_entries);
        m_cells.SubEventPartText(row, resultType, parts[l][1], cell(base + 7), false, m_cardEvent, m_entries);
    }
    cell(9) = remarks();
    cell(26) = total();
    if (n == 32) {
        if (finalRow) {
            m_cells.FinalSeriesText(row, resultType, cell(29), true);
            m_cells.FinalSeriesText(row, resultType, cell(30), false);
            cell(31) = code(kCodeTotal);
        } else {
            style = 8;
        }
    }
    return cells;
}

void FixedLayout::AddTimeRows(int d)
{
    const int n = static_cast<int>(m_report.Def(d).bodyColumns.size());
    if (n < 3)
        return;
    const platform::LocalTime now = platform::Now();
    const std::string print = "Print time : " + ClockText(now, kPrintMinutes);
    const std::string protest = "Protest time : " + ClockText(now, kProtestMinutes);
    std::vector<ReportCell> cells(static_cast<size_t>(n));
    m_report.AddRow(cells, d);
    auto put = [&](int c, const std::string& text) {
        if (c <= n)
            cells[static_cast<size_t>(c) - 1].text = text;
    };
    if (n == 7) {
        put(3, print);
        m_report.AddRow(cells, d);
        put(3, protest);
        m_report.AddRow(cells, d);
        return;
    }
    put(3, print);
    put(n == 17 ? 10 : 12, protest);
    m_report.AddRow(cells, d);
}

}  // namespace results
