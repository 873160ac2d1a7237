// The class lists ("Resultatlister auto", "Andre lister"): for every class
// of the request (or all of them together) and every source chosen (a card
// series, or a sub-event), the shooters ranked by the event's ranking
// rule, one list definition each: place, name, club, (class,) result.
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListBuild.h"
#include "results/lists/classlists/ClassListCells.h"
#include "results/lists/ranking/RowRanking.h"

#include <algorithm>

namespace results {
namespace {


// Result types whose totals are not rings.
constexpr int kRuleDfsField = 4;
constexpr int kRuleTime = 5;
constexpr int kRuleHuntingField = 6;
constexpr int kRulePistolField = 7;

constexpr ColumnShape kSeparateColumns[] = {
    {3, kAlignRight, 8}, {23, kAlignLeft, 45}, {20, kAlignLeft, 35}, {6, kAlignLeft, 12}};
constexpr ColumnShape kCommonColumns[] = {
    {3, kAlignRight, 6}, {23, kAlignLeft, 40}, {18, kAlignLeft, 33}, {4, kAlignLeft, 9}, {6, kAlignLeft, 12}};

// The rows a variant keeps: 1 the first ten, 2 the first twenty, else all.
size_t RowsKept(int variant) { return variant == 1 ? 10 : variant == 2 ? 20 : SIZE_MAX; }

}  // namespace

std::string ClassListResult(int rule, bool hitSeries, bool decimal, const ResultRow& row, int points)
{
    const int s0 = SeriesFigure(row, 0), s1 = SeriesFigure(row, 1);
    auto withPoints = [points](int value) {
        return points < 0 ? Format("%d", value) : Format("%d(%d)", value, points);
    };
    switch (rule) {
    case kRuleDfsField:
        return hitSeries ? Format("%d/%d", s1, s0) : Format("%d", s1);
    case kRuleTime:
        return Format("%d.%02d", s1, s0);
    case kRuleHuntingField:
        return withPoints(3 * s1 + 2 * s0);
    case kRulePistolField:
        return withPoints(s1 + s0);
    default: {
        const int total = RankingFigure(row, 1);
        return decimal ? Format("%d,%d", total / 10, total % 10) : Format("%d", total / 10);
    }
    }
}

void CDataList::SetupClassListPage(int d)
{
    ReadMargins();
    SetupHeader(d, 0);
    SetupFooter(d);
    if (request.commonList) {
        SetupBody(static_cast<int>(std::size(kCommonColumns)), d);
        OneLineOfColumns(Def(d), kCommonColumns, std::size(kCommonColumns));
    } else {
        SetupBody(static_cast<int>(std::size(kSeparateColumns)), d);
        OneLineOfColumns(Def(d), kSeparateColumns, std::size(kSeparateColumns));
    }
}

int CDataList::MakeClassLists(int makeOutput)
{
    ClearRows();
    const int event = request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = GetResultCard(event);
    if (!e || !card)
        return 0;
    card->LoadEvent(event);
    CBVConfig& settings = e->Settings();
    const bool decimal = ::ReadItem(settings, EventItems::Final(event)) != 0;
    const int relays = ::ReadItem(m_comp.Comp(), CompItems::EventRelays(event));
    const int rule = ::ReadItem(settings, EventItems::ResultType(event));
    const int kind = RankingKindOfRule(rule);
    const bool hitSeries = rule == kRuleDfsField && HasHitSeries();
    const int lastSeries = ::ReadItem(m_comp.Comp(), CompItems::EventSeries(event));
    const bool lastIsPoints =
        lastSeries > 0 && ::ReadItem(settings, EventItems::SeriesType(lastSeries)) == kPointsSeriesType;
    request.filtersActive = 0;

    const bool common = request.commonList != 0;
    const size_t classPasses = common ? 1 : request.classFilter.size();
    const int columns = common ? 5 : 4;
    int d = 0;
    for (size_t c = 0; c < classPasses; ++c) {
        for (const int32_t source : request.seriesFilter) {
            ClearRows();
            for (int r = 1; r <= relays; ++r) {
                for (int t = request.firstTarget; t <= request.lastTarget; ++t) {
                    const int k = FindShooterRow(r, t);
                    if (k < 0)
                        continue;
                    const ShooterRow& shooter = shooterRows[static_cast<size_t>(k)];
                    const auto& filter = request.classFilter;
                    const bool inClass = common ? std::find(filter.begin(), filter.end(), shooter.classNr) != filter.end()
                                                : shooter.classNr == filter[c];
                    const bool lettersFound =
                        std::all_of(request.letterFilter.begin(), request.letterFilter.end(),
                                    [&](char letter) { return shooter.category.find(letter) != std::string::npos; });
                    ResultRow row;
                    row.shooterRow = static_cast<int16_t>(k);
                    if (inClass && lettersFound && AddSourceResult(*card, shooter, event, source, kind, row))
                        resultRows.push_back(std::move(row));
                    else
                        shooterRows.pop_back();
                }
            }
            SortResultRows(kind);
            if (!makeOutput || resultRows.empty())
                continue;

            aListDef.resize(static_cast<size_t>(++d));
            Def(d).footerRule = true;
            SetupClassListPage(d);
            std::string classTitle = ResString(IDS_CLASS_WORD);
            if (common) {
                classTitle += " ";
                for (uint8_t classNr : request.classFilter)
                    classTitle += m_comp.GetClassName(classNr) + " ";
            } else {
                classTitle += " " + m_comp.GetClassName(request.classFilter[c]);
            }
            const std::string sourceTitle = source & kSubEventSource ? card->GetSubEventName(source & 0xFF)
                                                                     : card->GetSeriesName(source);
            const std::string title =
                request.letterFilter.empty() ? classTitle : classTitle + " " + request.letterFilter;
            BuildPageHeader(title, sourceTitle, d, 0);

            for (const ResultRow& row : resultRows) {
                const ShooterRow& shooter = shooterRows[static_cast<size_t>(row.shooterRow)];
                int points = -1;
                if (lastIsPoints && (rule == kRuleHuntingField || rule == kRulePistolField)) {
                    card->LoadCard(shooter.relay, shooter.target);
                    points = card->SeriesSum(lastSeries) / 1000;
                }
                const std::string result = ClassListResult(rule, hitSeries, decimal, row, points);
                std::vector<ReportCell> cells = Cells(static_cast<size_t>(columns),
                                                      {Format("%d", row.place), shooter.name, shooter.clubName});
                if (common)
                    cells[3].text = Format("(%s)", shooter.className.c_str());
                cells[static_cast<size_t>(columns) - 1].text = result;
                AddRow(cells, d);
            }
            std::vector<ReportRow>& rows = Def(d).bodyRows;
            if (rows.size() > RowsKept(request.variant))
                rows.resize(RowsKept(request.variant));
            ListComplete(d);
        }
    }
    return 0;
}

}  // namespace results
