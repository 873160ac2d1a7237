// The class lists ("Resultatlister auto", "Andre lister"): for every class
// of the request (or all of them together) and every source chosen (a card
// series, or a sub-event), the shooters ranked by the event's ranking
// rule, one list definition each: place, name, club, (class,) result.
#include "results/lists/classlists/ClassLists.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/classlists/ClassListCells.h"
#include "results/lists/ranking/ListRanking.h"
#include "results/lists/ranking/RowRanking.h"

#include <algorithm>

namespace results {
namespace {

constexpr ColumnShape kSeparateColumns[] = {
    {3, kAlignRight, 8}, {23, kAlignLeft, 45}, {20, kAlignLeft, 35}, {6, kAlignLeft, 12}};
constexpr ColumnShape kCommonColumns[] = {
    {3, kAlignRight, 6}, {23, kAlignLeft, 40}, {18, kAlignLeft, 33}, {4, kAlignLeft, 9}, {6, kAlignLeft, 12}};

}  // namespace

void ClassLists::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    if (m_request.commonList) {
        m_list.SetupBody(static_cast<int>(std::size(kCommonColumns)), d);
        OneLineOfColumns(m_report.Def(d), kCommonColumns, std::size(kCommonColumns));
    } else {
        m_list.SetupBody(static_cast<int>(std::size(kSeparateColumns)), d);
        OneLineOfColumns(m_report.Def(d), kSeparateColumns, std::size(kSeparateColumns));
    }
}

void ClassLists::Make(bool makeOutput)
{
    m_list.ClearRows();
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = m_list.GetResultCard(event);
    if (!e || !card)
        return;
    card->LoadEvent(event);
    CBVConfig& settings = e->Settings();
    const bool decimal = ::ReadItem(settings, EventItems::Final(event)) != 0;
    const int relays = ::ReadItem(m_comp.Comp(), CompItems::EventRelays(event));
    const int rule = ::ReadItem(settings, EventItems::ResultType(event));
    const int kind = RankingKindOfRule(rule);
    const bool hitSeries = rule == kRuleDfsField && m_list.HasHitSeries();
    const int lastSeries = ::ReadItem(m_comp.Comp(), CompItems::EventSeries(event));
    const bool lastIsPoints =
        lastSeries > 0 && ::ReadItem(settings, EventItems::SeriesType(lastSeries)) == kPointsSeriesType;
    m_request.filtersActive = 0;

    const bool common = m_request.commonList != 0;
    const size_t classPasses = common ? 1 : m_request.classFilter.size();
    const int columns = common ? 5 : 4;
    int d = 0;
    for (size_t c = 0; c < classPasses; ++c) {
        for (const int32_t source : m_request.seriesFilter) {
            m_list.ClearRows();
            for (int r = 1; r <= relays; ++r) {
                for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
                    const int k = m_list.FindShooterRow(r, t);
                    if (k < 0)
                        continue;
                    const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
                    const auto& filter = m_request.classFilter;
                    const bool inClass = common ? std::find(filter.begin(), filter.end(), shooter.classNr) != filter.end()
                                                : shooter.classNr == filter[c];
                    const bool lettersFound =
                        std::all_of(m_request.letterFilter.begin(), m_request.letterFilter.end(),
                                    [&](char letter) { return shooter.category.find(letter) != std::string::npos; });
                    ResultRow row;
                    row.shooterRow = static_cast<int16_t>(k);
                    if (inClass && lettersFound && AddSourceResult(*card, shooter, event, source, kind, row))
                        m_list.resultRows.push_back(std::move(row));
                    else
                        m_list.shooterRows.pop_back();
                }
            }
            SortResultRows(m_list, kind);
            if (!makeOutput || m_list.resultRows.empty())
                continue;

            m_report.aListDef.resize(static_cast<size_t>(++d));
            m_report.Def(d).footerRule = true;
            SetupPage(d);
            std::string classTitle = ResString(IDS_CLASS_WORD);
            if (common) {
                classTitle += " ";
                for (uint8_t classNr : m_request.classFilter)
                    classTitle += m_comp.GetClassName(classNr) + " ";
            } else {
                classTitle += " " + m_comp.GetClassName(m_request.classFilter[c]);
            }
            const std::string sourceTitle = source & kSubEventSource ? card->GetSubEventName(source & 0xFF)
                                                                     : card->GetSeriesName(source);
            const std::string title =
                m_request.letterFilter.empty() ? classTitle : classTitle + " " + m_request.letterFilter;
            m_list.BuildPageHeader(title, sourceTitle, d, 0);

            for (const ResultRow& row : m_list.resultRows) {
                const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(row.shooterRow)];
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
                m_report.AddRow(cells, d);
            }
            KeepVariantRows(m_report.Def(d).bodyRows, m_request.variant);
            m_report.ListComplete(d);
        }
    }
}

}  // namespace results
