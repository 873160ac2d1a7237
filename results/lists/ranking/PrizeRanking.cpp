// The prize ranking form's ranking of one prize list of an event: the
// shooters of a class, or of a combined list's classes and categories,
// with their results in the list's source, sorted, placed and paid.
#include "results/lists/ranking/PrizeRanking.h"

#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataRank.h"
#include "results/data/EventItems.h"
#include "results/lists/ranking/ListRanking.h"
#include "results/lists/ranking/PrizeMoney.h"
#include "results/lists/ranking/RowRanking.h"

#include <algorithm>

namespace results {
namespace {

// The organisation types whose 1/3 lists pay after the prize table.
bool PaysByTable(int orgType, const PrizeShare& share)
{
    return (orgType == 2 || orgType == 6) && share.share == 1 && share.per == 3;
}

}  // namespace

void PrizeRanking::Make(int event, int listKind, int list, int classNr)
{
    m_list.PrepareRows();
    m_list.ranking = RankingOutcome();
    m_request.event = static_cast<uint16_t>(event);
    CBVConfig& comp = m_comp.Comp();
    const int firstTarget = ::ReadItem(comp, CompItems::EventFirstTarget(event));
    const int lastTarget = ::ReadItem(comp, CompItems::EventLastTarget(event));
    const int relays = ::ReadItem(comp, CompItems::EventRelays(event));
    m_list.ClearRows();
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = m_list.GetResultCard(event);
    if (!e || !card || (listKind != CDataRank::kClassList && listKind != CDataRank::kGroupList))
        return;
    card->LoadEvent(event);

    // The list's definition; a combined list's categories as their letters.
    CBVConfig& prizes = e->Prizes();
    const bool group = listKind == CDataRank::kGroupList;
    const int source = ::ReadItem(prizes, group ? PrizeItems::GroupSource(list) : PrizeItems::ClassSource(list));
    const int order = ::ReadItem(prizes, group ? PrizeItems::GroupOrder(list) : PrizeItems::ClassOrder(list));
    const int stake = ::ReadItem(prizes, group ? PrizeItems::GroupStake(list) : PrizeItems::ClassStake(list));
    const PrizeShare share =
        ParseShare(::ReadItem(prizes, group ? PrizeItems::GroupShare(list) : PrizeItems::ClassShare(list)));
    std::string classes, letters;
    if (group) {
        classes = ::ReadItem(prizes, PrizeItems::GroupClasses(list));
        for (char code : ::ReadItem(prizes, PrizeItems::GroupCategories(list))) {
            const std::string letter = ::ReadItem(comp, CompItems::CategoryLetter(static_cast<uint8_t>(code)));
            if (!letter.empty())  // no letter asks for nothing
                letters += letter[0];
        }
    }

    // "Alfabetisk" by name, "Sluttsum" by the final total, "Rangert" by
    // the event's ranking rule.
    int kind = std::max(order + 1, 0);
    if (kind > kRankFinalSum)
        kind = RankingKindOfRule(::ReadItem(e->Settings(), EventItems::ResultType(event)));
    m_list.ranking.kind = kind;
    m_list.ranking.share = share.share;
    m_list.ranking.per = share.per;
    m_list.ranking.stake = stake;

    m_request.filtersActive = 0;
    for (int r = 1; r <= relays; ++r) {
        for (int t = firstTarget; t <= lastTarget; ++t) {
            const int k = m_list.FindShooterRow(r, t);
            if (k < 0)
                continue;
            const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
            bool keep;
            if (group) {
                keep = shooter.classNr != 0 &&
                       classes.find(static_cast<char>(shooter.classNr)) != std::string::npos &&
                       std::all_of(letters.begin(), letters.end(),
                                   [&](char c) { return shooter.category.find(c) != std::string::npos; });
            } else {
                keep = shooter.classNr == classNr;
            }
            ResultRow row;
            row.shooterRow = static_cast<int16_t>(k);
            if (keep && AddSourceResult(*card, shooter, event, source, kind, row)) {
                RankRecord record;
                e->Ranks().Find(listKind, list, classNr, shooter.startNr, record);
                row.rankText = FieldText(record.rankText, sizeof record.rankText);
                row.shootOff = record.shootOff;
                m_list.resultRows.push_back(std::move(row));
            } else {
                m_list.shooterRows.pop_back();
            }
        }
    }
    if (m_list.resultRows.empty())
        return;

    SortResultRows(m_list, kind);
    m_list.ranking.pool = static_cast<int64_t>(m_list.resultRows.size()) * std::max(stake, 0);
    if (PaysByTable(::ReadItem(comp, CompItems::kOrgType), share)) {
        DistributeTablePrizes(m_list.resultRows, 1, 3, stake);
        m_list.ranking.table = true;
        m_list.ranking.winners = PrizeWinners(m_list.resultRows, 1, 3);
    } else {
        m_list.ranking.winners = DistributePrizes(m_list.resultRows, share.share, share.per, stake, kind == kRankTime,
                                                        &m_list.ranking.weights);
    }
}

}  // namespace results
