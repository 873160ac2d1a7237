#include "results/lists/ranking/ListRanking.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/lists/ranking/RowRanking.h"

#include <algorithm>

namespace results {

namespace {

// The program kind of a final event.
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

void SortResultRows(CDataList& list, int kind)
{
    const RankingRules rules = RulesOf(list);
    ListLookup lookup(list, list.request.event);
    RowRanking(rules, lookup).Sort(list.resultRows, kind);
}

bool AddSourceResult(CDataRes& card, const ShooterRow& shooter, int event, int source, int kind, ResultRow& row)
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

}  // namespace results
