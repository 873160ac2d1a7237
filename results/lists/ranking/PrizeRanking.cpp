// The prize ranking form's ranking of one prize list of an event: the
// shooters of a class, or of a combined list's classes and categories,
// with their results in the list's source, sorted, placed and paid.
#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataRank.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
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

bool CDataList::AddSourceResult(CDataRes& card, const ShooterRow& shooter, int event, int source, int kind,
                                ResultRow& row)
{
    if (source & kSubEventSource) {
        card.LoadCard(shooter.relay, shooter.target);
        return card.SubTotal(shooter.startNr, event, source & 0xFF, nullptr, &row.ranking, &row.series, kind) >= 0;
    }
    if (card.LoadCard(shooter.relay, shooter.target) != 0 || card.CountShots(source) == 0)
        return false;
    card.AddSeriesStats(source, &row.ranking, &row.series, kind, 0, 1);
    return true;
}

void CDataList::MakeRanking(int event, int listKind, int list, int classNr)
{
    PrepareRows();
    ranking = RankingOutcome();
    request.event = static_cast<uint16_t>(event);
    CBVConfig& comp = m_comp.Comp();
    const int firstTarget = ::ReadItem(comp, CompItems::EventFirstTarget(event));
    const int lastTarget = ::ReadItem(comp, CompItems::EventLastTarget(event));
    const int relays = ::ReadItem(comp, CompItems::EventRelays(event));
    ClearRows();
    CDataEvent* e = m_comp.GetEvent(event);
    CDataRes* card = GetResultCard(event);
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
    ranking.kind = kind;
    ranking.share = share.share;
    ranking.per = share.per;
    ranking.stake = stake;

    request.filtersActive = 0;
    for (int r = 1; r <= relays; ++r) {
        for (int t = firstTarget; t <= lastTarget; ++t) {
            const int k = FindShooterRow(r, t);
            if (k < 0)
                continue;
            const ShooterRow& shooter = shooterRows[static_cast<size_t>(k)];
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
                resultRows.push_back(std::move(row));
            } else {
                shooterRows.pop_back();
            }
        }
    }
    if (resultRows.empty())
        return;

    SortResultRows(kind);
    ranking.pool = static_cast<int64_t>(resultRows.size()) * std::max(stake, 0);
    if (PaysByTable(::ReadItem(comp, CompItems::kOrgType), share)) {
        DistributeTablePrizes(1, 3, stake);
        ranking.table = true;
        ranking.winners = PrizeWinners(resultRows, 1, 3);
    } else {
        ranking.winners = DistributePrizes(share.share, share.per, stake, kind == kRankTime);
    }
}

}  // namespace results
