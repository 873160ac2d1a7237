#include "results/lists/settlement/SettlementBooks.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"

#include <algorithm>

namespace results {

int SettlementBooks::ShooterIndex(int32_t startNr) const
{
    if (prizeRows.empty())
        return -1;
    // Prize row 0 holds the settlement's start numbers in ascending order.
    const std::vector<int32_t>& numbers = prizeRows[0].amounts;
    const auto at = std::lower_bound(numbers.begin(), numbers.end(), startNr);
    return at != numbers.end() && *at == startNr ? static_cast<int>(at - numbers.begin()) : -1;
}

PrizeRow* SettlementBooks::PrizesOf(int settlementRow, int32_t startNr)
{
    if (settlementRow < 2 || static_cast<size_t>(settlementRow) >= prizeRows.size() || ShooterIndex(startNr) < 0)
        return nullptr;
    return &prizeRows[static_cast<size_t>(settlementRow)];
}

void SettlementBooks::Book(CDataList& list, int row, int settlementRow, const std::string& place,
                           const std::string& result)
{
    if (row < 0 || static_cast<size_t>(row) >= list.resultRows.size())
        return;
    const ResultRow& r = list.resultRows[static_cast<size_t>(row)];
    if (r.shooterRow < 0 || static_cast<size_t>(r.shooterRow) >= list.shooterRows.size())
        return;
    const ShooterRow& shooter = list.shooterRows[static_cast<size_t>(r.shooterRow)];
    const int i = ShooterIndex(shooter.startNr);
    if (i < 0 || settlementRow < 2 || static_cast<size_t>(settlementRow) >= prizeRows.size() || prizeRows.size() < 2)
        return;  // a shooter the settlement does not list has nowhere to go
    const auto at = static_cast<size_t>(i);
    CCompetition& comp = list.Competition();
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
        club.className = comp.GetClassName(shooter.classNr);
    }
    const int event = list.request.event;
    if (club.eventsSeen.empty())
        club.eventsSeen.assign(static_cast<size_t>(EventCount(comp.Comp())) + 1,
                               0);
    if (event >= 0 && static_cast<size_t>(event) < club.eventsSeen.size() &&
        club.eventsSeen[static_cast<size_t>(event)] == 0) {
        club.eventsSeen[static_cast<size_t>(event)] = 1;
        CDataEvent* e = comp.GetEvent(event);
        CDataRes* card = list.GetResultCard(event);
        for (const uint16_t k : subEvents) {
            std::string text;
            int relay = 0, target = 0;
            if (e && card && e->Entries().FindShooter(shooter.startNr, relay, target) == 0) {
                card = list.CardOn(event, relay, target);
                if (card->IsSubTotalComplete(shooter.startNr, event, k))
                    text = card->SubTotalText(shooter.startNr, k,
                                              ::ReadItem(e->Settings(), EventItems::ResultType(event)));
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

void SettlementBooks::FreeRows()
{
    prizeRows.clear();
    clubRows.clear();
}

}  // namespace results
