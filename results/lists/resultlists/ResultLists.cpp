// The result lists of an event: its prize lists printed with places,
// results and prizes, class by class (kind 10) or combined (kind 11). One
// pass collects, ranks and pays for both producers; they differ only in
// the columns they lay out (FixedLayout.cpp, CodedLayout.cpp).
#include "results/data/CompetitionItems.h"
#include "results/data/DataRank.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ranking/PrizeMoney.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/resultlists/ResultListCodes.h"

#include <algorithm>

namespace results {
namespace {

// The rows a variant keeps: 1 the first ten, 2 the first twenty, else all.
size_t RowsKept(int variant) { return variant == 1 ? 10 : variant == 2 ? 20 : SIZE_MAX; }

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

bool CDataList::UsesFixedResultList(int event)
{
    const int orgType = ::ReadItem(m_comp.Comp(), CompItems::kOrgType);
    if (orgType != 2 && orgType != 6)
        return false;
    CDataEvent* e = m_comp.GetEvent(event);
    return !e || ::ReadItem(e->Settings(), EventItems::ResultType(event)) != 7;
}

void CDataList::MakeResultList(int listKind, bool makeLayout, int settlementRow, bool withPrizes, bool continued,
                               bool web)
{
    if (UsesFixedResultList(request.event))
        MakeFixedResultList(listKind, makeLayout, settlementRow, withPrizes, continued, web);
    else
        MakeCodedResultList(listKind, makeLayout, settlementRow, withPrizes, continued, web);
}

void CDataList::MakeResultsByClass()
{
    MakeResultList(kListResultsByClass, true, 0, resultListChoice.withPrizes, false, resultListChoice.web);
}

void CDataList::MakeResultsCombined()
{
    MakeResultList(kListResultsCombined, true, 0, resultListChoice.withPrizes, false, resultListChoice.web);
}

void CDataList::MakeFixedResultList(int listKind, bool makeLayout, int settlementRow, bool withPrizes,
                                    bool continued, bool web)
{
    MakeResultLists(true, listKind, makeLayout, settlementRow, withPrizes, continued, web);
}

void CDataList::MakeCodedResultList(int listKind, bool makeLayout, int settlementRow, bool withPrizes,
                                    bool continued, bool web)
{
    MakeResultLists(false, listKind, makeLayout, settlementRow, withPrizes, continued, web);
}

bool CDataList::InResultPass(const ShooterRow& shooter, int listKind, int passClass, const std::string& classes,
                             const std::string& letters) const
{
    if (listKind == kListResultsByClass)
        return shooter.classNr == passClass;
    return shooter.classNr != 0 && classes.find(static_cast<char>(shooter.classNr)) != std::string::npos &&
           std::all_of(letters.begin(), letters.end(),
                       [&](char c) { return shooter.category.find(c) != std::string::npos; });
}

void CDataList::MakeResultLists(bool fixed, int listKind, bool makeLayout, int settlementRow, bool withPrizes,
                                bool continued, bool web)
{
    const int event = request.event;
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = GetResultCard(event);
    if (!e || !card || (listKind != kListResultsByClass && listKind != kListResultsCombined))
        return;
    // Cards of an earlier list may have changed since: every card is read afresh.
    for (auto& c : m_cards)
        if (c)
            c->Clear();
    card->LoadEvent(event);
    CBVConfig& comp = m_comp.Comp();
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    const int resultType = ::ReadItem(e->Settings(), EventItems::ResultType(event));
    const int relays = ::ReadItem(comp, CompItems::EventRelays(event));
    const uint8_t rankList = listKind == kListResultsByClass ? CDataRank::kClassList : CDataRank::kGroupList;

    int d = settlementRow != 0 || continued || (!fixed && withPrizes) ? m_defCount : 0;
    for (const int32_t q : request.seriesFilter) {
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
                if (std::find(request.classFilter.begin(), request.classFilter.end(), classNr) !=
                    request.classFilter.end())
                    passes.push_back(classNr);
            }
        } else {
            passes.push_back(0);
        }

        for (const int passClass : passes) {
            request.filtersActive = 0;
            ClearRows();
            std::vector<int32_t> numbers;
            for (int r = 1; r <= relays; ++r) {
                for (int t = request.firstTarget; t <= request.lastTarget; ++t) {
                    const int k = FindShooterRow(r, t);
                    if (k < 0)
                        continue;
                    const ShooterRow& shooter = shooterRows[static_cast<size_t>(k)];
                    if (!InResultPass(shooter, listKind, passClass, p.classes, letters)) {
                        shooterRows.pop_back();
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
                        resultRows.push_back(std::move(row));
                    else
                        shooterRows.pop_back();
                }
            }
            if (fixed && listKind == kListResultsCombined && request.completeFinal &&
                ::ReadItem(e->Settings(), EventItems::kSeparateFinal) == 1)
                AddLinkedShooters(q, p.source, kind, p.classes, letters, numbers);
            if (resultRows.empty())
                continue;

            SortResultRows(kind);
            std::string classTitle = listKind == kListResultsByClass ? m_comp.GetClassName(passClass)
                                                                     : m_comp.ClassListText(p.classes);
            const std::string categoryTitle = m_comp.CategoryLetters(p.categories);
            if ((orgType == 2 || orgType == 6) && p.share.share == 1 && p.share.per == 3)
                DistributeTablePrizes(1, 3, p.stake);
            else
                DistributePrizes(p.share.share, p.share.per, p.stake, kind == kRankTime);
            if (!makeLayout)
                continue;

            aListDef.resize(static_cast<size_t>(++d));
            Def(d).footerRule = true;
            bool merged = false;
            if (fixedLayout)
                LayoutFixedColumns(q, d, listKind, withPrizes, web);
            else
                merged = LayoutCodedColumns(q, d, listKind, withPrizes, web);
            std::string title1, title2;
            if (listKind == kListResultsByClass) {
                title1 = ResString(IDS_RESULT_CLASS) + " " + classTitle;
                if (!p.categories.empty())
                    title1 += " " + categoryTitle;
                title2 = sourceName;
            } else {
                title1 = request.selection != 0 ? ResString(IDS_PRIZE_LIST) : std::string();
                title2 = p.name;
            }
            // The fixed layouts caption their columns; the coded one has no caption line.
            BuildPageHeader(title1, title2, d, fixedLayout ? m_fixed.columns : 0);

            const std::vector<ReportColumn> columns = Def(d).bodyColumns;
            for (size_t n = 0; n < resultRows.size(); ++n) {
                const int row = static_cast<int>(n);
                std::vector<ReportCell> cells;
                uint16_t style = 0;
                std::string result;
                bool prizeColumn = false;
                if (fixedLayout) {
                    cells = FixedRowCells(row, q, listKind, withPrizes, style);
                    // The total the settlement shows: a final's first eight
                    // rows carry the final total, every other row its total.
                    size_t total = m_fixed.columns >= 27 ? 26 : 6;
                    if (listKind == kListResultsCombined && n < 8 && (m_fixed.columns == 17 || m_fixed.columns == 32))
                        total = m_fixed.columns == 17 ? 16 : 31;
                    if (total <= cells.size())
                        result = cells[total - 1].text;
                } else {
                    cells.resize(columns.size());
                    for (size_t c = 0; c < columns.size(); ++c) {
                        const int code = columns[c].columnCode;
                        if (code < 0)
                            continue;
                        ResultCellText(row, code, resultType, settlementRow, cells[c].text, listKind, q, withPrizes,
                                       code == kCodeShots && merged, web, false);
                        if (code == kCodeTotal && result.empty())
                            result = cells[c].text;
                        prizeColumn = prizeColumn || code == kCodePrize;
                    }
                }
                if (settlementRow != 0) {
                    KeepSettlementRow(row, settlementRow, cells.empty() ? std::string() : cells[0].text, result);
                    // The settlement counts every prize it pays, also where the
                    // layout shows no prize column (the fixed layouts show the
                    // amount among the remarks).
                    if (!prizeColumn) {
                        std::string unused;
                        ResultCellText(row, kCodePrize, resultType, settlementRow, unused, listKind, q, withPrizes,
                                       false, web, false);
                    }
                }
                AddRow(cells, d, style);
            }
            std::vector<ReportRow>& rows = Def(d).bodyRows;
            if (rows.size() > RowsKept(request.variant))
                rows.resize(RowsKept(request.variant));
            if (fixedLayout && request.timeProtest)
                AddTimeRows(d);
            ListComplete(d);
        }
    }
}

void CDataList::AddLinkedShooters(int list, int source, int kind, const std::string& classes,
                                  const std::string& letters, std::vector<int32_t>& numbers)
{
    const int home = request.event;
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
        CDataRes* card = GetResultCard(linked);
        if (linked == home || !m_comp.GetEvent(linked) || !card)
            continue;
        request.event = static_cast<uint16_t>(linked);
        card->LoadEvent(linked);
        CBVConfig& comp = m_comp.Comp();
        const int relays = ::ReadItem(comp, CompItems::EventRelays(linked));
        const int first = std::max(1, ::ReadItem(comp, CompItems::EventFirstTarget(linked)));
        const int last = std::max(1, ::ReadItem(comp, CompItems::EventLastTarget(linked)));
        for (int r = 1; r <= relays; ++r) {
            for (int t = first; t <= last; ++t) {
                const int k = FindShooterRow(r, t);
                if (k < 0)
                    continue;
                const ShooterRow& shooter = shooterRows[static_cast<size_t>(k)];
                if (!InResultPass(shooter, kListResultsCombined, 0, classes, letters) ||
                    std::find(numbers.begin(), numbers.end(), shooter.startNr) != numbers.end()) {
                    shooterRows.pop_back();
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
                    resultRows.push_back(std::move(row));
                else
                    shooterRows.pop_back();
            }
        }
    }
    request.event = static_cast<uint16_t>(home);
}

int CDataList::SettlementIndex(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= resultRows.size())
        return -1;
    const int16_t s = resultRows[static_cast<size_t>(row)].shooterRow;
    if (s < 0 || static_cast<size_t>(s) >= shooterRows.size())
        return -1;
    if (prizeRows.empty())
        return -1;
    // Prize row 0 holds the settlement's start numbers in ascending order.
    const std::vector<int32_t>& numbers = prizeRows[0].amounts;
    const int32_t startNr = shooterRows[static_cast<size_t>(s)].startNr;
    const auto at = std::lower_bound(numbers.begin(), numbers.end(), startNr);
    return at != numbers.end() && *at == startNr ? static_cast<int>(at - numbers.begin()) : -1;
}

void CDataList::KeepSettlementRow(int row, int settlementRow, const std::string& place, const std::string& result)
{
    const int i = SettlementIndex(row);
    if (i < 0 || settlementRow < 2 || static_cast<size_t>(settlementRow) >= prizeRows.size() || prizeRows.size() < 2)
        return;  // a shooter the settlement does not list has nowhere to go
    const auto at = static_cast<size_t>(i);
    const ResultRow& r = resultRows[static_cast<size_t>(row)];
    const ShooterRow& shooter = shooterRows[static_cast<size_t>(r.shooterRow)];
    PrizeRow& states = prizeRows[1];
    if (states.amounts.size() <= at)
        states.amounts.resize(prizeRows[0].amounts.size());
    if (clubRows.size() < prizeRows[0].amounts.size())
        clubRows.resize(prizeRows[0].amounts.size());
    ClubRow& club = clubRows[at];
    if (states.amounts[at] != 1) {
        states.amounts[at] = 1;
        club.clubName = shooter.clubName;
        club.club = shooter.club;
        club.shooterName = shooter.name;
        club.className = m_comp.GetClassName(shooter.classNr);
    }
    const int event = request.event;
    if (club.eventsSeen.empty())
        club.eventsSeen.assign(static_cast<size_t>(std::max(0, ::ReadItem(m_comp.Comp(), CompItems::kEventCount))) + 1,
                               0);
    if (event >= 0 && static_cast<size_t>(event) < club.eventsSeen.size() &&
        club.eventsSeen[static_cast<size_t>(event)] == 0) {
        club.eventsSeen[static_cast<size_t>(event)] = 1;
        CDataEvent* e = m_comp.GetEvent(event);
        CDataRes* card = GetResultCard(event);
        for (const uint16_t k : settlementWords) {
            std::string text;
            int relay = 0, target = 0;
            if (e && card && e->Entries().FindShooter(shooter.startNr, relay, target) == 0) {
                card = CardOn(event, relay, target);
                if (card->IsSubTotalComplete(shooter.startNr, event, k))
                    text = card->SubTotalText(shooter.startNr, k, ::ReadItem(e->Settings(), EventItems::ResultType(event)));
            }
            club.subEventTotals.push_back(text);
        }
    }

    PrizeRow& prizes = prizeRows[static_cast<size_t>(settlementRow)];
    const size_t n = prizeRows[0].amounts.size();
    if (prizes.amounts.size() < n)
        prizes.amounts.resize(n);
    if (prizes.placeTexts.size() < n)
        prizes.placeTexts.resize(n);
    if (prizes.resultTexts.size() < n)
        prizes.resultTexts.resize(n);
    ++prizes.listed;
    // A shooter listed twice (two entries) keeps both prizes, and the place
    // and result of the first row.
    const bool first = prizes.placeTexts[at].empty() && prizes.resultTexts[at].empty() && prizes.amounts[at] == 0;
    prizes.amounts[at] += r.prizeAmount;
    if (first) {
        prizes.placeTexts[at] = place;
        prizes.resultTexts[at] = result;
    }
}

}  // namespace results
