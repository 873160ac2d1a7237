// The list of a team competition: the teams (entered, or made of the best
// shooters by club, organisation or region), each member scored from the
// result cards by the competition's definition rows, the teams ranked, and
// a row per team with its members below.
#include "results/lists/teams/TeamList.h"

#include "results/data/CompetitionItems.h"
#include "results/data/DataTeam.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ranking/ListRanking.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/teams/AutoTeams.h"
#include "results/lists/teams/TeamTexts.h"

#include <algorithm>

namespace results {

void TeamList::SetupPage(int d, int teamSize)
{
    teamSize = std::clamp(teamSize, 0, TeamRow::kSlots);
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(4 * teamSize + 5, d);
    ListDef& def = m_report.Def(d);
    auto set = [&](int c, int line, int fit, int align, int width) {
        ReportColumn& column = Nth(def.bodyColumns, c);
        column.line = line;
        if (fit > 0)
            column.fitChars = fit;
        if (align >= 0)
            column.align = align;
        column.widthPercent = width;
        return &column;
    };
    set(1, 1, 0, -1, 100);
    set(2, 2, 2, kAlignRight, 10)->bold = true;
    set(3, 2, 20, -1, 35)->bold = true;
    set(4, 2, 6, kAlignRight, 20)->bold = true;
    set(5, 2, 15, kAlignLeft, 35);
    for (int c = 2; c <= 5; ++c)
        Nth(def.bodyColumns, c).face = "Arial";
    for (int m = 1; m <= teamSize; ++m) {
        set(4 * m + 2, m + 2, 2, -1, 10);
        set(4 * m + 3, m + 2, 20, -1, 35);
        set(4 * m + 4, m + 2, 3, kAlignRight, 10);
        set(4 * m + 5, m + 2, 25, -1, 45);
    }
    def.bodyLines.assign(static_cast<size_t>(teamSize) + 2, ReportLine());
    def.bodyLines[0].firstColumn = 1;
    def.bodyLines[0].columnCount = 1;
    def.bodyLines[1].firstColumn = 2;
    def.bodyLines[1].columnCount = 4;
    for (int m = 1; m <= teamSize; ++m) {
        def.bodyLines[static_cast<size_t>(m) + 1].firstColumn = 4 * m + 2;
        def.bodyLines[static_cast<size_t>(m) + 1].columnCount = 4;
    }
}

void TeamList::Make(bool prizes, bool append)
{
    const int t = m_request.treeSelection;
    m_list.ClearRows();
    m_request.event = static_cast<uint16_t>(kTeamEventFlag + t);
    CBVConfig& settings = m_comp.Team();
    settings.Refresh();
    const bool automatic = ::ReadItem(settings, TeamItems::BestOnly(t)) != 0;
    const int rowCount = ::ReadItem(settings, TeamItems::RowCount(t));
    AutoTeams autoTeams(m_list);
    const int teams = automatic ? autoTeams.Make() : ::ReadItem(settings, TeamItems::EntryCount(t));
    m_request.event = static_cast<uint16_t>(kTeamEventFlag + t);
    m_list.teamRows.clear();
    m_list.resultRows.clear();
    m_list.teamResults = true;
    // Every member is listed, whatever class the report form has chosen.
    m_request.filtersActive = 0;

    int teamSize = ::ReadItem(settings, TeamItems::Size(t));
    if (teamSize > TeamRow::kSlots) {
        BV_LOG(m_list.Log(), 50, "Team competition %d has %d members per team; %d are listed", t, teamSize,
               TeamRow::kSlots);
        teamSize = TeamRow::kSlots;
    }
    const int rule = ::ReadItem(settings, TeamItems::RankRule(t));
    const int prizeRule = ::ReadItem(settings, TeamItems::PrizeRankRule(t));
    const int kind = prizeRule >= 0 && prizeRule <= kRankFinalSum ? prizeRule : RankingKindOfRule(rule);

    CBVFileEx& members = m_comp.TeamMembers().File();
    const bool membersOpen = m_comp.TeamMembers().IsOpen();
    auto readMember = [&](int slot, int j, TeamMemberRecord& record) {
        record = {};
        record.competition = static_cast<uint8_t>(t);
        record.slot = static_cast<uint8_t>(slot);
        record.team = static_cast<int16_t>(j);
        if (automatic)
            return autoTeams.FindMember(record) == 0;
        return membersOpen && members.ReadRecKey(&record) == 0;
    };

    int firstRow = 0;
    for (int k = 1; k <= rowCount && firstRow == 0; ++k)
        if (::ReadItem(settings, TeamItems::RowEvent(t, k)) > 0)
            firstRow = k;

    for (int j = 1; teamSize > 0 && j <= teams; ++j) {
        const std::string name =
            automatic ? autoTeams.Name(j - 1) : ::ReadItem(settings, TeamItems::EntryName(t, j));
        const int club = automatic ? autoTeams.Key(j - 1)
                                   : ::ReadItem(settings, TeamItems::EntryClub(t, j));
        if (name.empty() || club <= 0 || firstRow == 0)
            continue;
        TeamRow team;
        team.team = static_cast<int16_t>(j);
        team.name = name;
        ResultRow result;
        result.shooterRow = static_cast<int16_t>(m_list.teamRows.size());
        TeamMemberRecord record;
        if (readMember(CDataTeam::kTeamSlot, j, record))
            result.shootOff = static_cast<int16_t>(record.startNr);

        for (int m = 1; m <= teamSize; ++m) {
            CDataEvent* event = nullptr;
            int relay = 0, target = 0;
            if (readMember(m, j, record) && record.startNr >= 1 && record.event >= 1)
                event = m_comp.GetEvent(record.event);
            if (!event || event->FindOtherEntry(record.startNr, relay, target) == 0) {
                team.memberEvent[m] = -1;
                continue;
            }
            team.memberStart[m] = record.startNr;
            int k = 1;
            while (k <= rowCount && ::ReadItem(settings, TeamItems::RowEvent(t, k)) != record.event)
                ++k;
            if (k > rowCount)
                continue;  // an event the competition does not count
            team.memberEvent[m] = static_cast<int16_t>(record.event);
            team.memberRelay[m] = static_cast<int16_t>(relay);
            team.memberTarget[m] = static_cast<int16_t>(target);
            CDataRes* card = m_list.GetResultCard(record.event);
            card->LoadEvent(record.event);
            const int source = ::ReadItem(settings, TeamItems::RowSubEvent(t, k));
            if (source & kSubEventSource) {
                card->LoadCard(relay, target);
                const int score = card->SubTotal(record.startNr, record.event, source & 0xFF, nullptr,
                                                 &result.ranking, &result.series, RankingKindOfRule(rule));
                if (score >= 0) {
                    team.memberScore[m] = score;
                    team.total += score;
                }
            } else if (card->LoadCard(relay, target) == 0 && card->CountShots(source) > 0) {
                card->AddSeriesStats(source, &result.ranking, &result.series, RankingKindOfRule(rule), 0, 1);
                team.memberScore[m] = card->SeriesSum(source);
                team.total += team.memberScore[m];
            }
        }
        m_list.teamRows.push_back(std::move(team));
        m_list.resultRows.push_back(std::move(result));
    }
    SortResultRows(m_list, kind);
    if (m_list.resultRows.empty())
        return;

    if (!prizes && !append)
        m_report.aListDef.clear();
    const int d = static_cast<int>(m_report.aListDef.size()) + 1;
    SizeTo(m_report.aListDef, d);
    m_report.Def(d).footerRule = true;
    SetupPage(d, teamSize);
    m_list.BuildPageHeader(Format("%s %s", ResString(IDS_TEAM_SHOOTING).c_str(),
                           ::ReadItem(settings, TeamItems::Name(t)).c_str()),
                    "", d, 0);

    const size_t cellCount = static_cast<size_t>(4 * teamSize + 5);
    for (size_t p = 1; p <= m_list.resultRows.size(); ++p) {
        const ResultRow& result = m_list.resultRows[p - 1];
        const TeamRow& team = m_list.teamRows[static_cast<size_t>(result.shooterRow)];
        bool anyMember = false;
        for (int m = 1; m <= teamSize && !anyMember; ++m)
            anyMember = team.memberEvent[m] >= 1;
        if (!anyMember)
            continue;
        std::vector<ReportCell> cells = Cells(cellCount);
        cells[1].text = result.shootOff == 0 && result.finalPlace == result.place
                            ? Format("%d", result.finalPlace)
                            : Format("%s %d", ResString(IDS_SHOOT_OFF).c_str(), result.finalPlace);
        cells[2].text = team.name;
        cells[3].text = TeamResultText(rule, team.total);
        if (prizes)
            cells[4].text = ReadItem(settings, TeamItems::PrizeText(t, static_cast<int>(p)));
        for (int m = 1; m <= teamSize; ++m) {
            if (team.memberEvent[m] < 1)
                continue;
            m_request.event = static_cast<uint16_t>(team.memberEvent[m]);
            const int k = m_list.FindShooterRow(team.memberRelay[m], team.memberTarget[m]);
            if (k >= 0) {
                const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
                cells[static_cast<size_t>(4 * m + 2)].text =
                    Format("%s (%s)", shooter.name.c_str(), m_comp.GetClassName(shooter.classNr).c_str());
            }
            cells[static_cast<size_t>(4 * m + 3)].text = TeamResultText(rule, team.memberScore[m]);
        }
        m_request.event = static_cast<uint16_t>(kTeamEventFlag + t);
        m_report.AddRow(cells, d);
    }
    KeepVariantRows(m_report.Def(d).bodyRows, m_request.variant);
    m_report.ListComplete(static_cast<int>(m_report.aListDef.size()));
}

}  // namespace results
