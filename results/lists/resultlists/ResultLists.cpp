// The result lists of an event: its prize lists printed with places,
// results and prizes, class by class (kind 10) or combined (kind 11). One
// pass collects, ranks and pays for both producers; they differ only in
// the columns they lay out (FixedLayout.cpp, CodedLayout.cpp).
#include "results/lists/resultlists/ResultLists.h"

#include "results/data/CompetitionItems.h"
#include "results/data/DataRank.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ranking/ListRanking.h"
#include "results/lists/ranking/PrizeMoney.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/resultlists/CodedLayout.h"
#include "results/lists/resultlists/FixedLayout.h"
#include "results/lists/resultlists/ResultCells.h"
#include "results/lists/resultlists/ResultListCodes.h"
#include "results/lists/settlement/SettlementBooks.h"

#include <algorithm>

namespace results {
namespace {

// The settings of one prize list, as the pass reads them.
struct PrizeListSettings {
    int source = 0;
    int order = 0;
    int stake = 0;
    bool gifts = false;  // the rank file may make its money prizes gifts
    PrizeShare share;
    std::string classes;     // a character per class number
    std::string categories;  // a character per category number
    std::string name;        // a combined list's name
};

PrizeListSettings ReadPrizeList(CBVConfig& prizes, int listKind, int q)
{
    PrizeListSettings p;
    const bool group = listKind == kListResultsCombined;
    p.source = ::ReadItem(prizes, group ? PrizeItems::GroupSource(q) : PrizeItems::ClassSource(q));
    p.order = ::ReadItem(prizes, group ? PrizeItems::GroupOrder(q) : PrizeItems::ClassOrder(q));
    p.stake = ::ReadItem(prizes, group ? PrizeItems::GroupStake(q) : PrizeItems::ClassStake(q));
    p.gifts = ::ReadItem(prizes, group ? PrizeItems::GroupGifts(q) : PrizeItems::ClassGifts(q)) != 0;
    std::string shareText = ::ReadItem(prizes, group ? PrizeItems::GroupShare(q) : PrizeItems::ClassShare(q));
    p.share = ParseShare(shareText.substr(0, 30));
    p.classes = ::ReadItem(prizes, group ? PrizeItems::GroupClasses(q) : PrizeItems::ClassClasses(q));
    p.categories = ::ReadItem(prizes, group ? PrizeItems::GroupCategories(q) : PrizeItems::ClassCategories(q));
    if (group)
        p.name = ::ReadItem(prizes, PrizeItems::GroupName(q));
    return p;
}

}  // namespace

bool ResultLists::UsesFixed(CCompetition& comp, int event)
{
    const int orgType = ::ReadItem(comp.Comp(), CompItems::kOrgType);
    if (orgType != 2 && orgType != 6)
        return false;
    CDataEvent* e = comp.GetEvent(event);
    return !e || ::ReadItem(e->Settings(), EventItems::ResultType(event)) != 7;
}

void ResultLists::Make(int listKind, const ResultListOptions& options)
{
    MakeLists(UsesFixed(m_comp, m_request.event), listKind, options);
}

void ResultLists::MakeFixed(int listKind, const ResultListOptions& options) { MakeLists(true, listKind, options); }

void ResultLists::MakeCoded(int listKind, const ResultListOptions& options) { MakeLists(false, listKind, options); }

bool ResultLists::InPass(const ShooterRow& shooter, int listKind, int passClass, const std::string& classes,
                         const std::string& letters) const
{
    if (listKind == kListResultsByClass)
        return shooter.classNr == passClass;
    return shooter.classNr != 0 && classes.find(static_cast<char>(shooter.classNr)) != std::string::npos &&
           std::all_of(letters.begin(), letters.end(),
                       [&](char c) { return shooter.category.find(c) != std::string::npos; });
}

void ResultLists::MakeLists(bool fixed, int listKind, const ResultListOptions& options)
{
    const bool withPrizes = options.withPrizes;
    const bool web = options.web;
    const int settlementRow = options.books ? options.settlementRow : 0;
    const int event = m_request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = m_list.GetResultCard(event);
    if (!e || !card || (listKind != kListResultsByClass && listKind != kListResultsCombined))
        return;
    // Cards of an earlier list may have changed since: every card is read afresh.
    m_list.ClearCards();
    card->LoadEvent(event);
    CBVConfig& comp = m_comp.Comp();
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    const int resultType = ::ReadItem(e->Settings(), EventItems::ResultType(event));
    const int relays = ::ReadItem(comp, CompItems::EventRelays(event));
    const uint8_t rankList = listKind == kListResultsByClass ? CDataRank::kClassList : CDataRank::kGroupList;
    ResultCells resultCells(m_list, options.books);
    FixedLayout fixedColumns(m_list, resultCells);

    int d = settlementRow != 0 || options.continued || (!fixed && withPrizes) ? m_report.m_defCount : 0;
    for (const int32_t q : m_request.seriesFilter) {
        const PrizeListSettings p = ReadPrizeList(e->Prizes(), listKind, q);
        int kind = std::max(p.order + 1, 0);
        if (kind > kRankFinalSum)
            kind = RankingKindOfRule(resultType);
        std::string letters;
        for (char code : p.categories) {
            const std::string letter = ::ReadItem(comp, CompItems::CategoryLetter(static_cast<uint8_t>(code)));
            if (!letter.empty())
                letters += letter[0];
        }
        const bool subEventSource = (p.source & kSourceSubEvent) != 0;
        const std::string sourceName = subEventSource ? ::ReadItem(e->Settings(), EventItems::SubEventName(p.source & 0xFF))
                                                      : ::ReadItem(e->Settings(), EventItems::SeriesName(p.source));

        // The fixed layouts have no columns for a series: such a list takes the coded one.
        const bool fixedLayout = fixed && subEventSource;

        // Kind 10 passes once per class of the list that the form chose.
        std::vector<int> passes;
        if (listKind == kListResultsByClass) {
            for (char c : p.classes) {
                const auto classNr = static_cast<uint8_t>(c);
                if (std::find(m_request.classFilter.begin(), m_request.classFilter.end(), classNr) !=
                    m_request.classFilter.end())
                    passes.push_back(classNr);
            }
        } else {
            passes.push_back(0);
        }

        for (const int passClass : passes) {
            m_request.filtersActive = 0;
            m_list.ClearRows();
            std::vector<int32_t> numbers;
            for (int r = 1; r <= relays; ++r) {
                for (int t = m_request.firstTarget; t <= m_request.lastTarget; ++t) {
                    const int k = m_list.FindShooterRow(r, t);
                    if (k < 0)
                        continue;
                    const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
                    if (!InPass(shooter, listKind, passClass, p.classes, letters)) {
                        m_list.shooterRows.pop_back();
                        continue;
                    }
                    numbers.push_back(shooter.startNr);
                    ResultRow row;
                    row.shooterRow = static_cast<int16_t>(k);
                    RankRecord record{};
                    if (e->Ranks().Find(rankList, q, listKind == kListResultsByClass ? passClass : 0,
                                        shooter.startNr, record) == 0) {
                        row.shootOff = record.shootOff;
                        row.flag = p.gifts && record.gift != 0 ? 1 : 0;
                    }
                    if (AddSourceResult(*card, shooter, event, p.source, kind, row))
                        m_list.resultRows.push_back(std::move(row));
                    else
                        m_list.shooterRows.pop_back();
                }
            }
            if (fixed && listKind == kListResultsCombined && m_request.completeFinal &&
                ::ReadItem(e->Settings(), EventItems::kSeparateFinal) == 1)
                AddLinkedShooters(q, p.source, kind, p.classes, letters, numbers);
            if (m_list.resultRows.empty())
                continue;

            SortResultRows(m_list, kind);
            std::string classTitle = listKind == kListResultsByClass ? m_comp.GetClassName(passClass)
                                                                     : m_comp.ClassListText(p.classes);
            const std::string categoryTitle = m_comp.CategoryLetters(p.categories);
            if ((orgType == 2 || orgType == 6) && p.share.share == 1 && p.share.per == 3)
                DistributeTablePrizes(m_list.resultRows, 1, 3, p.stake);
            else
                DistributePrizes(m_list.resultRows, p.share.share, p.share.per, p.stake, kind == kRankTime);
            m_report.aListDef.resize(static_cast<size_t>(++d));
            m_report.Def(d).footerRule = true;
            bool merged = false;
            if (fixedLayout)
                fixedColumns.Layout(q, d, listKind);
            else
                merged = CodedLayout(m_list).Layout(q, d, listKind, withPrizes, web);
            std::string title1, title2;
            if (listKind == kListResultsByClass) {
                title1 = ResString(IDS_RESULT_CLASS) + " " + classTitle;
                if (!p.categories.empty())
                    title1 += " " + categoryTitle;
                title2 = sourceName;
            } else {
                title1 = m_request.selection != 0 ? ResString(IDS_PRIZE_LIST) : std::string();
                title2 = p.name;
            }
            // The fixed layouts caption their columns; the coded one has no caption line.
            m_list.BuildPageHeader(title1, title2, d, fixedLayout ? fixedColumns.Columns() : 0);

            const std::vector<ReportColumn> columns = m_report.Def(d).bodyColumns;
            for (size_t n = 0; n < m_list.resultRows.size(); ++n) {
                const int row = static_cast<int>(n);
                std::vector<ReportCell> cells;
                uint16_t style = 0;
                std::string result;
                bool prizeColumn = false;
                if (fixedLayout) {
                    cells = fixedColumns.RowCells(row, q, listKind, withPrizes, style);
                    // The total the settlement shows: a final's first eight
                    // rows carry the final total, every other row its total.
                    const int layout = fixedColumns.Columns();
                    size_t total = layout >= 27 ? 26 : 6;
                    if (listKind == kListResultsCombined && n < 8 && (layout == 17 || layout == 32))
                        total = layout == 17 ? 16 : 31;
                    if (total <= cells.size())
                        result = cells[total - 1].text;
                } else {
                    cells.resize(columns.size());
                    for (size_t c = 0; c < columns.size(); ++c) {
                        const int code = columns[c].columnCode;
                        if (code < 0)
                            continue;
                        resultCells.Text(row, code, resultType, settlementRow, cells[c].text, listKind, q, withPrizes,
                                         code == kCodeShots && merged, web);
                        if (code == kCodeTotal && result.empty())
                            result = cells[c].text;
                        prizeColumn = prizeColumn || code == kCodePrize;
                    }
                }
                if (settlementRow != 0) {
                    options.books->Book(m_list, row, settlementRow, cells.empty() ? std::string() : cells[0].text,
                                        result);
                    // The settlement counts every prize it pays, also where the
                    // layout shows no prize column (the fixed layouts show the
                    // amount among the remarks).
                    if (!prizeColumn) {
                        std::string unused;
                        resultCells.Text(row, kCodePrize, resultType, settlementRow, unused, listKind, q, withPrizes,
                                         false, web);
                    }
                }
                m_report.AddRow(cells, d, style);
            }
            KeepVariantRows(m_report.Def(d).bodyRows, m_request.variant);
            if (fixedLayout && m_request.timeProtest)
                fixedColumns.AddTimeRows(d);
            m_report.ListComplete(d);
        }
    }
}

void ResultLists::AddLinkedShooters(int list, int source, int kind, const std::string& classes,
                                    const std::string& letters, std::vector<int32_t>& numbers)
{
    const int home = m_request.event;
    CDataEvent* homeEvent = m_comp.GetEvent(home);
    if (!homeEvent)
        return;
    const bool gifts = ::ReadItem(homeEvent->Prizes(), PrizeItems::GroupGifts(list)) != 0;
    const int subEvent = source & kSourceSubEvent ? source & 0xFF : source;
    const std::string codes = ::ReadItem(homeEvent->Settings(), EventItems::SubSeries(subEvent));
    for (size_t i = 0; i + 1 < codes.size(); ++i) {
        const auto b = static_cast<uint8_t>(codes[i]);
        if (b == kStartScoreCode || !(b & 0x80))
            continue;
        const int linked = static_cast<uint8_t>(codes[++i]);
        CDataRes* card = m_list.GetResultCard(linked);
        if (linked == home || !m_comp.GetEvent(linked) || !card)
            continue;
        m_request.event = static_cast<uint16_t>(linked);
        card->LoadEvent(linked);
        CBVConfig& comp = m_comp.Comp();
        const int relays = ::ReadItem(comp, CompItems::EventRelays(linked));
        const int first = std::max(1, ::ReadItem(comp, CompItems::EventFirstTarget(linked)));
        const int last = std::max(1, ::ReadItem(comp, CompItems::EventLastTarget(linked)));
        for (int r = 1; r <= relays; ++r) {
            for (int t = first; t <= last; ++t) {
                const int k = m_list.FindShooterRow(r, t);
                if (k < 0)
                    continue;
                const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
                if (!InPass(shooter, kListResultsCombined, 0, classes, letters) ||
                    std::find(numbers.begin(), numbers.end(), shooter.startNr) != numbers.end()) {
                    m_list.shooterRows.pop_back();
                    continue;
                }
                numbers.push_back(shooter.startNr);
                ResultRow row;
                row.shooterRow = static_cast<int16_t>(k);
                RankRecord record{};
                if (homeEvent->Ranks().Find(CDataRank::kGroupList, list, 0, shooter.startNr, record) == 0) {
                    row.shootOff = record.shootOff;
                    row.flag = gifts && record.gift != 0 ? 1 : 0;
                }
                bool keep = true;
                if (source & kSourceSubEvent) {
                    card->LoadCard(shooter.relay, shooter.target);
                    keep = card->SubTotal(shooter.startNr, linked, b & 0x7F, nullptr, &row.ranking, &row.series,
                                          kind) >= 0;
                }
                if (keep)
                    m_list.resultRows.push_back(std::move(row));
                else
                    m_list.shooterRows.pop_back();
            }
        }
    }
    m_request.event = static_cast<uint16_t>(home);
}

}  // namespace results
