// The competition report (list kind 2): the office's closing document. The
// programme page of organisation type 2, the result list of every prize
// list that goes into the settlement, the team competitions' lists, and the
// settlement itself: a sheet per club, the payment list and the accounts.
//
// The result lists are made with a settlement row each: as they print a
// shooter, they keep the shooter's prize, place and total in that prize row
// and the shooter's club in the club rows, so the settlement pays exactly
// what the lists show.
#include "results/lists/settlement/CompetitionReport.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/resultlists/ResultLists.h"
#include "results/lists/settlement/Accounts.h"
#include "results/lists/settlement/PaymentList.h"
#include "results/lists/settlement/SettlementSheet.h"
#include "results/lists/teams/TeamList.h"

#include <algorithm>

namespace results {
namespace {

// The programme page: seven lines, the first two of one column each, the
// other five a caption and its text.
constexpr int kProgrammeCells = 12;
constexpr int kProgrammeLines = 7;

}  // namespace

ResultListOptions CompetitionReport::ListOptions(int settlementRow)
{
    return {.withPrizes = true, .books = &m_books, .settlementRow = settlementRow};
}

void CompetitionReport::EventSetup(int event)
{
    m_request.event = static_cast<uint16_t>(event);
    CBVConfig& comp = m_comp.Comp();
    CDataEvent* e = m_comp.GetEvent(event);
    // The sub-events whose totals the settlement sheet shows after a name.
    m_books.subEvents.clear();
    const int subEvents = ::ReadItem(comp, CompItems::EventSubEvents(event));
    for (int k = 1; e && k <= subEvents; ++k)
        if (::ReadItem(e->Settings(), EventItems::SubEventReport(k)) != 0)
            m_books.subEvents.push_back(static_cast<uint16_t>(k));
    m_request.firstTarget = static_cast<uint16_t>(std::max(1, ::ReadItem(comp, CompItems::EventFirstTarget(event))));
    m_request.lastTarget = static_cast<uint16_t>(std::max(1, ::ReadItem(comp, CompItems::EventLastTarget(event))));
}

void CompetitionReport::Make()
{
    m_request.selection = 1;
    m_list.ClearRows();

    // The settlement's shooters: every shooter with a start number and a
    // club, by start number; row 1 keeps what became of each.
    std::vector<uint32_t> numbers;
    m_comp.Shooters().SortedNumbers(numbers);
    const size_t n = numbers.size();
    m_books.prizeRows.assign(2, PrizeRow());
    m_books.prizeRows[0].amounts.assign(numbers.begin(), numbers.end());
    m_books.prizeRows[0].listed = static_cast<int32_t>(n);
    m_books.prizeRows[1].amounts.assign(n, 0);
    m_books.clubRows.assign(n, ClubRow());

    // The report changes the m_request as it goes; the form's choice comes back.
    const uint16_t event = m_request.event;
    const int32_t tree = m_request.treeSelection;
    const std::vector<int32_t> series = m_request.seriesFilter;
    const std::vector<uint8_t> classes = m_request.classFilter;
    const uint16_t firstTarget = m_request.firstTarget;
    const uint16_t lastTarget = m_request.lastTarget;

    CBVConfig& comp = m_comp.Comp();
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    const int events = EventCount(comp);
    if (orgType == 2)
        MakeProgramme();

    auto newPrizeRow = [&](int eventNr, int list, bool combined) {
        PrizeRow row;
        row.list = list;
        row.combined = combined ? 1 : 0;
        row.event = eventNr;
        row.amounts.assign(n, 0);
        row.resultTexts.assign(n, std::string());
        row.placeTexts.assign(n, std::string());
        m_books.prizeRows.push_back(std::move(row));
        return static_cast<int>(m_books.prizeRows.size()) - 1;
    };

    // Combined prize lists; an event left out of the settlement has none.
    for (int e = 1; e <= events; ++e) {
        CDataEvent* ev = m_comp.GetEvent(e);
        if (!ev || ::ReadItem(comp, CompItems::EventExcluded(e)) != 0)
            continue;
        EventSetup(e);
        CBVConfig& prizes = ev->Prizes();
        const int resultType = ::ReadItem(ev->Settings(), EventItems::ResultType(e));
        const bool fixed = orgType == 6 || (orgType == 2 && resultType != kRulePistolField);
        const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
        for (int g = 1; g <= groups; ++g) {
            const std::string name = ::ReadItem(prizes, PrizeItems::GroupName(g));
            if (::ReadItem(prizes, PrizeItems::GroupNoSettlement(g)) != 0 || name.empty())
                continue;
            m_request.seriesFilter.assign(1, g);
            const int r = newPrizeRow(e, g, true);
            PrizeRow& row = m_books.prizeRows[static_cast<size_t>(r)];
            row.name = row.title = name;
            row.prizeKind = static_cast<int16_t>(::ReadItem(prizes, PrizeItems::GroupKind(g)));
            row.stake = ::ReadItem(prizes, PrizeItems::GroupStake(g));
            if (fixed)
                ResultLists(m_list).MakeFixed(kListResultsCombined, ListOptions(r));
            else
                ResultLists(m_list).MakeCoded(kListResultsCombined, ListOptions(r));
        }
    }

    // Class prize lists, of every event.
    for (int e = 1; e <= events; ++e) {
        CDataEvent* ev = m_comp.GetEvent(e);
        if (!ev)
            continue;
        EventSetup(e);
        CBVConfig& prizes = ev->Prizes();
        const int resultType = ::ReadItem(ev->Settings(), EventItems::ResultType(e));
        const bool fixed = (orgType == 2 || orgType == 6) && resultType != kRulePistolField;
        const int lists = ::ReadItem(prizes, PrizeItems::kClassCount);
        for (int p = 1; p <= lists; ++p) {
            const int source = ::ReadItem(prizes, PrizeItems::ClassSource(p));
            const std::string listClasses = ::ReadItem(prizes, PrizeItems::ClassClasses(p));
            if (source == 0 || ::ReadItem(prizes, PrizeItems::ClassNoSettlement(p)) != 0 || listClasses.empty())
                continue;
            const std::string title =
                source & kSubEventSource ? ::ReadItem(ev->Settings(), EventItems::SubEventName(source & 0x7F))
                                         : ::ReadItem(ev->Settings(), EventItems::SeriesName(source));
            for (const char c : listClasses) {
                const auto classNr = static_cast<uint8_t>(c);
                m_request.seriesFilter.assign(1, p);
                m_request.classFilter.assign(1, classNr);
                const int r = newPrizeRow(e, p, false);
                PrizeRow& row = m_books.prizeRows[static_cast<size_t>(r)];
                row.name = m_comp.GetClassName(classNr);
                row.title = title;
                row.classNr = classNr;
                row.prizeKind = static_cast<int16_t>(::ReadItem(prizes, PrizeItems::ClassKind(p)));
                row.stake = ::ReadItem(prizes, PrizeItems::ClassStake(p));
                if (fixed)
                    ResultLists(m_list).MakeFixed(kListResultsByClass, ListOptions(r));
                else
                    ResultLists(m_list).MakeCoded(kListResultsByClass, ListOptions(r));
            }
        }
    }

    // Team competitions.
    CBVConfig& teams = m_comp.Team();
    teams.Refresh();
    const int teamCount = ::ReadItem(teams, TeamItems::kCount);
    for (int t = 1; t <= teamCount; ++t) {
        if (::ReadItem(teams, TeamItems::Name(t)).empty())
            continue;
        m_request.treeSelection = t;
        TeamList(m_list).Make(true, false);
    }

    if (!m_request.splitList) {
        SettlementSheet(m_list, m_books).Make();
        PaymentList(m_list, m_books).Make(m_forGiroForms);
        Accounts(m_list, m_books).Make();
        m_books.FreeRows();
    }

    m_request.event = event;
    m_request.treeSelection = tree;
    m_request.seriesFilter = series;
    m_request.classFilter = classes;
    m_request.firstTarget = firstTarget;
    m_request.lastTarget = lastTarget;
}

void CompetitionReport::MakeProgramme()
{
    CBVConfig& comp = m_comp.Comp();
    const std::string organiser = ::ReadItem(m_comp.User(), UserItems::kOrganiser);
    const std::string judges1 = ::ReadItem(comp, ConfigTextItem{CompItems::kJudges.section, CompItems::kJudges.index,
                                                                CompItems::kJudges.firstKey, ""});
    const std::string judges2 = ::ReadItem(comp, ConfigTextItem{CompItems::kJudges.section, CompItems::kJudges.index,
                                                                CompItems::kJudges.secondKey, ""});
    const int d = m_report.m_defCount + 1;
    SizeTo(m_report.aListDef, d);
    SetupProgramme(d);
    m_report.AddRow(Cells(kProgrammeCells,
                 {organiser, "", ResString(IDS_PROGRAMME), ::ReadItem(comp, CompItems::kProgramText),
                  ResString(IDS_COMPETITION_DATE), ::ReadItem(comp, CompItems::kTitle2), ResString(IDS_ORGANISER),
                  organiser, ResString(IDS_COMPETITION_NUMBER), ::ReadItem(comp, CompItems::kNumberText),
                  ResString(IDS_JUDGES), Format("%s %s", judges1.c_str(), judges2.c_str())}),
           d);
    m_report.ListComplete(d);
}

void CompetitionReport::SetupProgramme(int d)
{
    // No page header and no footer: the page is the programme alone.
    m_list.ReadMargins();
    m_list.SetupBody(kProgrammeCells, d);
    ListDef& def = m_report.Def(d);
    for (int c = 1; c <= kProgrammeCells; ++c) {
        ReportColumn& column = Nth(def.bodyColumns, c);
        column.align = kAlignLeft;
        if (c <= 2) {
            column.fitChars = 30;
            column.widthPercent = 100;
            column.line = c;
        } else {
            const bool caption = c % 2 == 1;
            column.fitChars = caption ? 25 : 30;
            column.widthPercent = caption ? 40 : 60;
            column.line = (c - 3) / 2 + 3;
        }
    }
    def.bodyLines.assign(kProgrammeLines, ReportLine());
    for (int l = 1; l <= kProgrammeLines; ++l) {
        ReportLine& line = def.bodyLines[static_cast<size_t>(l) - 1];
        line.firstColumn = l <= 2 ? l : 2 * l - 3;
        line.columnCount = l <= 2 ? 1 : 2;
    }
}

}  // namespace results
