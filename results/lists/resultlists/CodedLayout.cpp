// The coded layout of the result lists: the prize list's column string
// names a column code per column; the columns are sized by the characters
// their codes need and the row is fitted to the default printer's paper,
// the shots moving to a second line when it is too wide.
#include "results/lists/resultlists/CodedLayout.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/resultlists/ResultListCodes.h"
#include "results/print/PaperMeasure.h"

#include <algorithm>

namespace results {
namespace {

// Paper of a list made without a printer: wide enough for any row.
constexpr int kNoPrinterPaperMm = 1900;

// The columns of an empty column string, by list kind, source and prizes.
std::string DefaultColumns(int listKind, bool subEventSource, bool withPrizes)
{
    std::string codes = listKind == kListResultsCombined ? std::string{1, 3, 4, 5} : std::string{1, 3, 4};
    codes += static_cast<char>(subEventSource ? kCodeSeriesSums : kCodeShots);
    codes += static_cast<char>(kCodeTotal);
    if (withPrizes)
        codes += static_cast<char>(kCodePrize);
    return codes;
}

// The width in millimetres of `chars` "X" in Arial of the size, measured on
// the default printer, or on an A4 sheet when there is none.
int MeasureRunMm(int chars, int pointSize)
{
    int width = 0;
    if (!MeasureXRunMm(chars, pointSize, width))
        BV_LOG(ProgramLog(), 30, "%s", "F\xE5r ikke laget font i settfont for aListDef");
    return width;
}

}  // namespace

int CodedLayout::ColumnFitChars(int code, int list, int listKind)
{
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    CBVConfig& comp = m_comp.Comp();
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    switch (code) {
    case kCodePlace:
        return 4;
    case kCodeStartNr:
    case kCodeStartScore:
        return 5;
    case kCodeName:
        return orgType == 6 ? 30 : 23;
    case kCodeClub:
        return orgType == 6 ? 4 : 17;
    case kCodeTotal:
        return 6;
    case kCodePrize:
    case kCodeRemarks:
        return 15;
    default:
        break;
    }
    if (!e)
        return 0;
    CBVConfig& settings = e->Settings();
    if (code == kCodeClass) {
        size_t longest = 0;
        for (int i = 1; i <= ::ReadItem(comp, CompItems::kClassCount); ++i)
            if (::ReadItem(settings, EventItems::ClassUsed(i)))
                longest = std::max(longest, ::ReadItem(comp, CompItems::ClassName(i)).size());
        return static_cast<int>(longest);
    }
    if (code == kCodeCategory) {
        size_t sum = 0;
        for (int i = 1; i <= ::ReadItem(comp, CompItems::kCategoryCount); ++i)
            if (::ReadItem(settings, EventItems::CategoryUsed(i)))
                sum += ::ReadItem(comp, CompItems::CategoryLetter(i)).size();
        return sum == 1 ? 3 : static_cast<int>(sum);
    }
    if (code != kCodeShots && code != kCodeSeriesSums)
        return 0;

    const int source = ::ReadItem(e->Prizes(), listKind == kListResultsCombined ? PrizeItems::GroupSource(list)
                                                                                 : PrizeItems::ClassSource(list));
    auto eventCard = [&](int n) -> CDataRes* {
        CDataRes* card = m_list.GetResultCard(n);
        if (card && card->GetSeriesCount() == 0)
            card->LoadEvent(n);
        return card;
    };
    CDataRes* card = eventCard(event);
    if (!card)
        return 0;
    if (!(source & kSourceSubEvent)) {
        return code == kCodeShots ? ::ReadItem(settings, EventItems::SeriesShots(source)) : card->SeriesWidth(source);
    }
    const std::string codes = ::ReadItem(settings, EventItems::SubSeries(source & 0xFF));
    int chars = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
        const auto b = static_cast<uint8_t>(codes[i]);
        if (b == kStartScoreCode)
            continue;
        if (IsLinkCode(b)) {
            if (i + 1 >= codes.size())
                break;
            const int linked = static_cast<uint8_t>(codes[++i]);
            CDataRes* other = m_comp.GetEvent(linked) ? eventCard(linked) : nullptr;
            if (!other)
                continue;
            const int s = b & 0x7F;
            chars += code == kCodeShots ? other->SeriesFormat(s, linked, 4) * other->GetSeriesShots(s) + 1
                                        : other->GetSumWidth();
            continue;
        }
        chars += code == kCodeShots ? card->SeriesFormat(b, event, 4) * card->GetSeriesShots(b) + 1
                                    : card->SeriesWidth(b) + 1;
    }
    return chars;
}

void CodedLayout::ColumnFace(int code, std::string& out)
{
    switch (code) {
    case kCodePlace:
    case kCodeStartNr:
    case kCodeShots:
    case kCodeSeriesSums:
    case kCodeStartScore:
    case kCodeTotal:
    case kCodePrize:
        out = "Courier New";
        break;
    default:
        out = "Arial";
    }
}

bool CodedLayout::Layout(int list, int d, int listKind, bool withPrizes, bool web)
{
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    if (!e)
        return false;
    CBVConfig& prizes = e->Prizes();
    const bool group = listKind == kListResultsCombined;

    const bool landscape =
        ::ReadItem(prizes, group ? PrizeItems::GroupLandscape(list) : PrizeItems::ClassLandscape(list)) != 0;
    int paperMm = kNoPrinterPaperMm;
    if (const std::optional<PaperSize> paper = DefaultPaperSize())
        paperMm = landscape ? paper->heightMm : paper->widthMm;
    const int fontSize = ::ReadItem(m_comp.Comp(), CompItems::kFontSize);

    std::string codes;
    if (web)
        codes = ::ReadItem(prizes, group ? PrizeItems::GroupWebColumns(list) : PrizeItems::ClassWebColumns(list));
    else
        codes = ::ReadItem(prizes, group ? PrizeItems::GroupColumns(list) : PrizeItems::ClassColumns(list));
    if (codes.empty()) {
        const int source = ::ReadItem(prizes, group ? PrizeItems::GroupSource(list) : PrizeItems::ClassSource(list));
        codes = DefaultColumns(listKind, (source & kSourceSubEvent) != 0, withPrizes);
    }
    if (!codes.empty() && codes.back() == kCodePrize && !withPrizes)
        codes.pop_back();

    // A 7 straight before an 8: the shots and the series sums share a column.
    bool merged = false;
    std::vector<int> columnCodes;
    for (size_t i = 0; i < codes.size(); ++i) {
        const int code = static_cast<uint8_t>(codes[i]);
        if (code == kCodeShots && i + 1 < codes.size() && codes[i + 1] == kCodeSeriesSums) {
            merged = true;
            ++i;
        }
        columnCodes.push_back(code);
    }
    if (withPrizes && (codes.empty() || codes.back() != kCodePrize))
        columnCodes.push_back(kCodePrize);
    // A string of nothing but the prize column, made without prizes: the
    // rows still have a column to stand in, an empty one.
    if (columnCodes.empty())
        columnCodes.push_back(kCodeEmpty);
    const int n = static_cast<int>(columnCodes.size());

    m_list.SetupBody(n, d);
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    ListDef& def = m_report.Def(d);
    int chars = 0;
    for (int c = 0; c < n; ++c) {
        ReportColumn& column = def.bodyColumns[static_cast<size_t>(c)];
        const int code = columnCodes[static_cast<size_t>(c)];
        column.fitChars = ColumnFitChars(code, list, listKind);
        if (code == kCodeShots && merged)
            column.fitChars += ColumnFitChars(kCodeSeriesSums, list, listKind);
        ColumnFace(code, column.face);
        column.pointSize = code == kCodeShots || code == kCodeSeriesSums ? fontSize - 2 : fontSize;
        column.columnCode = code;
        chars += column.fitChars;
    }
    def.bodyLines.assign(1, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[0].columnCount = n;

    FitColumnWidths(d, MeasureRunMm(chars + n, fontSize), paperMm, n, chars);
    return merged;
}

void CodedLayout::FitColumnWidths(int d, int textWidthMm, int paperWidthMm, int columns, int chars)
{
    ListDef& def = m_report.Def(d);
    std::vector<ReportColumn>& cols = def.bodyColumns;
    const int n = std::min(columns, static_cast<int>(cols.size()));
    if (n < 1)
        return;
    if (textWidthMm <= paperWidthMm) {
        int sum = 0;
        for (int c = 1; c < n; ++c) {
            ReportColumn& column = Nth(cols, c);
            column.widthPercent = chars > 0 ? column.fitChars * 100 / chars : 0;
            sum += column.widthPercent;
        }
        Nth(cols, n).widthPercent = 100 - sum;
        return;
    }

    // Too wide: the shots leave the line for a second one of their own,
    // behind an empty column as wide as the place column. Which column holds
    // them is what was laid out, not what the prize list stores.
    int j = 0;
    for (int c = 1; c <= n && j == 0; ++c)
        if (Nth(cols, c).columnCode == kCodeShots)
            j = c;
    if (j != 0) {
        const ReportColumn first = Nth(cols, 1);
        ReportColumn shots = first;
        shots.fitChars = 20;
        shots.pointSize = first.pointSize - 2;
        shots.bold = false;
        shots.align = kAlignLeft;
        shots.frame = 0;
        shots.columnCode = kCodeShots;
        shots.line = 2;
        for (int c = j; c < n; ++c)
            Nth(cols, c) = Nth(cols, c + 1);
        ReportColumn& empty = Nth(cols, n);
        empty = first;
        empty.columnCode = kCodeEmpty;
        empty.line = 2;
        cols.push_back(shots);
        def.bodyLines.resize(2);
        def.bodyLines[0].columnCount = n - 1;
        def.bodyLines[1] = ReportLine();
        def.bodyLines[1].firstColumn = n;
        def.bodyLines[1].columnCount = 2;
    }
    int lineChars = 0;
    for (const ReportColumn& column : cols)
        if (column.line == 1)
            lineChars += column.fitChars;
    for (ReportColumn& column : cols)
        if (column.line == 1)
            column.widthPercent = lineChars > 0 ? column.fitChars * 100 / lineChars : 0;
    if (cols.back().line == 2 && cols.size() >= 2) {
        const int placeWidth = Nth(cols, 1).widthPercent;
        cols[cols.size() - 2].widthPercent = placeWidth;
        cols.back().widthPercent = 100 - placeWidth;
    }
}

}  // namespace results
