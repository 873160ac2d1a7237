// The team ranking form's ranking of a team competition: one row per
// entered team, its members' results in their events added up, the teams
// sorted and placed. No prize money.
#include "results/lists/ranking/TeamRanking.h"

#include "results/data/CompetitionItems.h"
#include "results/data/DataTeam.h"
#include "results/data/EventItems.h"
#include "results/lists/ranking/ListRanking.h"
#include "results/lists/ranking/RowRanking.h"

#include <algorithm>

namespace results {

void TeamRanking::Make(int team)
{
    m_list.PrepareRows();
    m_list.ranking = RankingOutcome();
    m_list.ClearRows();
    m_list.teamRows.clear();
    m_list.teamResults = true;
    m_request.treeSelection = team;
    // No event: the comparison applies no rule of an event's.
    m_request.event = 0;

    CBVConfig& settings = m_comp.Team();
    const int rowCount = ::ReadItem(settings, TeamItems::RowCount(team));
    const int entries = ::ReadItem(settings, TeamItems::EntryCount(team));
    int slotCount = ::ReadItem(settings, TeamItems::Size(team));
    if (slotCount > TeamRow::kSlots) {
        BV_LOG(m_list.Log(), 50, "Team %d has %d members; %d are ranked", team, slotCount, TeamRow::kSlots);
        slotCount = TeamRow::kSlots;
    }
    m_list.ranking.memberSlots = std::max(slotCount, 0);

    // The kind is that of the first definition row with an event; without
    // one no team is ranked.
    int firstRow = 0;
    for (int k = 1; k <= rowCount && firstRow == 0; ++k)
        if (::ReadItem(settings, TeamItems::RowEvent(team, k)) > 0)
            firstRow = k;
    if (firstRow == 0)
        return;
    int kind = ::ReadItem(settings, TeamItems::PrizeRankRule(team));
    if (kind > kRankFinalSum) {
        CDataEvent* event = m_comp.GetEvent(::ReadItem(settings, TeamItems::RowEvent(team, firstRow)));
        const int rule = event ? ::ReadItem(event->Settings(), EventItems::ResultType(event->Number())) : 0;
        kind = RankingKindOfRule(rule);
    }
    kind = std::max(kind, 0);
    m_list.ranking.kind = kind;

    CBVFileEx& members = m_comp.TeamMembers().File();
    const bool membersOpen = m_comp.TeamMembers().IsOpen();
    auto readMember = [&](int slot, int j, TeamMemberRecord& record) {
        record = {};
        record.competition = static_cast<uint8_t>(team);
        record.slot = static_cast<uint8_t>(slot);
        record.team = static_cast<int16_t>(j);
        return membersOpen && members.ReadRecKey(&record) == 0;
    };

    for (int j = 1; j <= entries; ++j) {
        const std::string name = ::ReadItem(settings, TeamItems::EntryName(team, j));
        if (name.empty() || ::ReadItem(settings, TeamItems::EntryClub(team, j)) < 0)
            continue;
        m_list.teamRows.emplace_back();
        TeamRow& row = m_list.teamRows.back();
        row.team = static_cast<int16_t>(j);
        row.name = name;
        ResultRow result;
        result.shooterRow = static_cast<int16_t>(m_list.teamRows.size() - 1);
        TeamMemberRecord record;
        if (readMember(CDataTeam::kTeamSlot, j, record))
            result.shootOff = static_cast<int16_t>(record.startNr);

        for (int s = 1; s <= slotCount; ++s) {
            CDataEvent* event = nullptr;
            int relay = 0, target = 0;
            if (readMember(s, j, record) && record.event >= 1 && record.startNr >= 1)
                event = m_comp.GetEvent(record.event);
            if (!event || event->FindOtherEntry(record.startNr, relay, target) == 0) {
                row.memberEvent[s] = -1;
                continue;
            }
            row.memberStart[s] = record.startNr;
            int k = 1;
            while (k <= rowCount && ::ReadItem(settings, TeamItems::RowEvent(team, k)) != record.event)
                ++k;
            if (k > rowCount)
                continue;  // an event the competition does not count
            row.memberEvent[s] = static_cast<int16_t>(record.event);
            row.memberRelay[s] = static_cast<int16_t>(relay);
            row.memberTarget[s] = static_cast<int16_t>(target);
            CDataRes* card = m_list.GetResultCard(record.event);
            if (!card)
                continue;
            card->LoadEvent(record.event);
            const int source = ::ReadItem(settings, TeamItems::RowSubEvent(team, k));
            int score = 0;
            if (source & kSubEventSource) {
                card->LoadCard(relay, target);
                score = card->SubTotal(record.startNr, record.event, source & 0xFF, nullptr, &result.ranking,
                                       &result.series, kind);
            } else if (card->LoadCard(relay, target) == 0 && card->CountShots(source) > 0) {
                card->AddSeriesStats(source, &result.ranking, &result.series, kind, 0, 1);
                score = card->SeriesSum(source);
            }
            row.memberScore[s] = score;
            if (score > 0)
                row.total += score;
        }
        m_list.resultRows.push_back(std::move(result));
    }
    if (!m_list.resultRows.empty())
        SortResultRows(m_list, kind);
}

}  // namespace results
