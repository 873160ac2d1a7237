// The list object's sort, comparison and prize money: the ranking core
// (RowRanking, PrizeMoney) on the list's rows, with the rules of the
// request's event and what the rows' shooters have on their cards.
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/lists/ranking/PrizeMoney.h"
#include "results/lists/ranking/RowRanking.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kTeamEventFlag = 0x100;
// Ranking rules (result types) of field events, ranked by hits.
constexpr int kRuleDfsField = 4;
constexpr int kRuleHuntingField = 6;
constexpr int kRulePistolField = 7;
constexpr int kFinalEventKind = 4;

// The rules of the request's event, or of its team competition.
RankingRules RulesOf(CDataList& list)
{
    RankingRules rules;
    const int event = list.request.event;
    CCompetition& comp = list.Competition();
    if (event & kTeamEventFlag) {
        if (::ReadItem(comp.Team(), TeamItems::RankRule(event & 0xFF)) == kRuleDfsField)
            rules.figuresRule = 2;
        return rules;
    }
    CDataEvent* e = event > 0 ? comp.GetEvent(event) : nullptr;
    if (!e)
        return rules;
    CBVConfig& settings = e->Settings();
    switch (::ReadItem(settings, EventItems::ResultType(event))) {
    case kRuleDfsField:
        rules.figuresRule = list.HasHitSeries() ? 2 : 1;
        break;
    case kRuleHuntingField:
    case kRulePistolField:
        rules.figuresRule = 2;
        break;
    default:
        break;
    }
    const int series = std::max(0, ::ReadItem(comp.Comp(), CompItems::EventSeries(event)));
    rules.seriesTypes.assign(static_cast<size_t>(series) + 1, 0);
    for (int s = 1; s <= series; ++s)
        rules.seriesTypes[static_cast<size_t>(s)] = ::ReadItem(settings, EventItems::SeriesType(s));
    rules.finalRule = list.request.kind == kListResultsCombined &&
                      ::ReadItem(settings, EventItems::kKind) == kFinalEventKind;
    return rules;
}

// The rows' shooters (or teams) and their cards in the event. Cards go
// into the list's own card object of the event: another thread may be
// using the event object's own.
class ListLookup : public RankingLookup {
public:
    ListLookup(CDataList& list, int event) : m_list(list), m_event(event) {}

    std::string_view Name(int row) override
    {
        if (m_list.teamResults)
            return row >= 0 && static_cast<size_t>(row) < m_list.teamRows.size()
                       ? std::string_view(m_list.teamRows[static_cast<size_t>(row)].name)
                       : std::string_view();
        const ShooterRow* shooter = Shooter(row);
        return shooter ? std::string_view(shooter->name) : std::string_view();
    }

    int SeriesPoints(int row, int series) override
    {
        const ShooterRow* shooter = Shooter(row);
        CDataRes* card = Card();
        if (!shooter || !card)
            return 0;
        card->LoadCard(shooter->relay, shooter->target);
        return card->SeriesSum(series) / 1000;
    }

    std::array<int, 12> RingCounts(int row, int series) override
    {
        std::array<int, 12> buckets{};
        const ShooterRow* shooter = Shooter(row);
        CDataRes* card = Card();
        CDataEvent* event = card ? m_list.Competition().GetEvent(m_event) : nullptr;
        int relay = 0, target = 0;
        if (!shooter || !event || event->FindOtherEntry(shooter->startNr, relay, target) == 0)
            return buckets;
        card->LoadCard(relay, target);
        for (int k = 1; k <= card->GetSeriesShots(series); ++k)
            ++buckets[static_cast<size_t>(std::clamp(card->CountedValue(series, k) / 10, 0, 11))];
        return buckets;
    }

private:
    const ShooterRow* Shooter(int row) const
    {
        if (m_list.teamResults || row < 0 || static_cast<size_t>(row) >= m_list.shooterRows.size())
            return nullptr;
        return &m_list.shooterRows[static_cast<size_t>(row)];
    }
    CDataRes* Card()
    {
        if (!m_card && m_event > 0 && !(m_event & kTeamEventFlag)) {
            m_card = m_list.GetResultCard(m_event);
            if (m_card)
                m_card->LoadEvent(m_event);
        }
        return m_card;
    }

    CDataList& m_list;
    int m_event;
    CDataRes* m_card = nullptr;
};

}  // namespace

void CDataList::SortResultRows(int kind)
{
    const RankingRules rules = RulesOf(*this);
    ListLookup lookup(*this, request.event);
    RowRanking(rules, lookup).Sort(resultRows, kind);
}

int CDataList::CompareResultRows(const ResultRow& a, const ResultRow& b, int kind, int place)
{
    const RankingRules rules = RulesOf(*this);
    ListLookup lookup(*this, request.event);
    return RowRanking(rules, lookup).Compare(a, b, kind, place);
}

int CDataList::CompareRingCounts(const ResultRow& a, const ResultRow& b, int series, int event)
{
    const RankingRules rules;
    ListLookup lookup(*this, event);
    return RowRanking(rules, lookup).CompareRingCounts(a, b, series);
}

int CDataList::DistributePrizes(int share, int per, int stake, bool timeRule)
{
    return results::DistributePrizes(resultRows, share, per, stake, timeRule, &ranking.weights);
}

void CDataList::DistributeTablePrizes(int share, int per, int stake)
{
    results::DistributeTablePrizes(resultRows, share, per, stake);
}

}  // namespace results
