// The competition report (list kind 2): the office's closing document. The
// programme page of organisation type 2, the result list of every prize
// list that goes into the settlement, the team competitions' lists, and the
// settlement itself: a sheet per club, the payment list and the accounts.
//
// The result lists are made with a settlement row each: as they print a
// shooter, they keep the shooter's prize, place and total in that prize row
// and the shooter's club in the club rows, so the settlement pays exactly
// what the lists show.
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListBuild.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kPistolFieldResults = 7;

// The programme page: seven lines, the first two of one column each, the
// other five a caption and its text.
constexpr int kProgrammeCells = 12;
constexpr int kProgrammeLines = 7;

}  // namespace

void CDataList::ReportEventSetup(int event)
{
    request.event = static_cast<uint16_t>(event);
    CBVConfig& comp = m_comp.Comp();
    CDataEvent* e = m_comp.GetEvent(event);
    // The sub-events whose totals the settlement sheet shows after a name.
    settlementWords.clear();
    const int subEvents = ::ReadItem(comp, CompItems::EventSubEvents(event));
    for (int k = 1; e && k <= subEvents; ++k)
        if (::ReadItem(e->Settings(), EventItems::SubEventReport(k)) != 0)
            settlementWords.push_back(static_cast<uint16_t>(k));
    request.firstTarget = static_cast<uint16_t>(std::max(1, ::ReadItem(comp, CompItems::EventFirstTarget(event))));
    request.lastTarget = static_cast<uint16_t>(std::max(1, ::ReadItem(comp, CompItems::EventLastTarget(event))));
}

void CDataList::MakeCompetitionReport()
{
    request.selection = 1;
    ClearRows();

    // The settlement's shooters: every shooter with a start number and a
    // club, by start number; row 1 keeps what became of each.
    std::vector<uint32_t> numbers;
    m_comp.Shooters().SortedNumbers(numbers);
    const size_t n = numbers.size();
    prizeRows.assign(2, PrizeRow());
    prizeRows[0].amounts.assign(numbers.begin(), numbers.end());
    prizeRows[0].listed = static_cast<int32_t>(n);
    prizeRows[1].amounts.assign(n, 0);
    clubRows.assign(n, ClubRow());

    // The report changes the request as it goes; the form's choice comes back.
    const uint16_t event = request.event;
    const int32_t tree = request.treeSelection;
    const std::vector<int32_t> series = request.seriesFilter;
    const std::vector<uint8_t> classes = request.classFilter;
    const uint16_t firstTarget = request.firstTarget;
    const uint16_t lastTarget = request.lastTarget;

    CBVConfig& comp = m_comp.Comp();
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    const int events = ::ReadItem(comp, CompItems::kEventCount);
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
        prizeRows.push_back(std::move(row));
        return static_cast<int>(prizeRows.size()) - 1;
    };

    // Combined prize lists; an event left out of the settlement has none.
    for (int e = 1; e <= events; ++e) {
        CDataEvent* ev = m_comp.GetEvent(e);
        if (!ev || ::ReadItem(comp, CompItems::EventExcluded(e)) != 0)
            continue;
        ReportEventSetup(e);
        CBVConfig& prizes = ev->Prizes();
        const int resultType = ::ReadItem(ev->Settings(), EventItems::ResultType(e));
        const bool fixed = orgType == 6 || (orgType == 2 && resultType != kPistolFieldResults);
        const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
        for (int g = 1; g <= groups; ++g) {
            const std::string name = ::ReadItem(prizes, PrizeItems::GroupName(g));
            if (::ReadItem(prizes, PrizeItems::GroupNoSettlement(g)) != 0 || name.empty())
                continue;
            request.seriesFilter.assign(1, g);
            const int r = newPrizeRow(e, g, true);
            PrizeRow& row = prizeRows[static_cast<size_t>(r)];
            row.name = row.title = name;
            row.prizeKind = static_cast<int16_t>(::ReadItem(prizes, PrizeItems::GroupKind(g)));
            row.stake = ::ReadItem(prizes, PrizeItems::GroupStake(g));
            if (fixed)
                MakeFixedResultList(kListResultsCombined, true, r, true, false, false);
            else
                MakeCodedResultList(kListResultsCombined, true, r, true, false, false);
        }
    }

    // Class prize lists, of every event.
    for (int e = 1; e <= events; ++e) {
        CDataEvent* ev = m_comp.GetEvent(e);
        if (!ev)
            continue;
        ReportEventSetup(e);
        CBVConfig& prizes = ev->Prizes();
        const int resultType = ::ReadItem(ev->Settings(), EventItems::ResultType(e));
        const bool fixed = (orgType == 2 || orgType == 6) && resultType != kPistolFieldResults;
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
                request.seriesFilter.assign(1, p);
                request.classFilter.assign(1, classNr);
                const int r = newPrizeRow(e, p, false);
                PrizeRow& row = prizeRows[static_cast<size_t>(r)];
                row.name = m_comp.GetClassName(classNr);
                row.title = title;
                row.classNr = classNr;
                row.prizeKind = static_cast<int16_t>(::ReadItem(prizes, PrizeItems::ClassKind(p)));
                row.stake = ::ReadItem(prizes, PrizeItems::ClassStake(p));
                if (fixed)
                    MakeFixedResultList(kListResultsByClass, true, r, true, false, false);
                else
                    MakeCodedResultList(kListResultsByClass, true, r, true, false, false);
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
        request.treeSelection = t;
        MakeTeamList(true, false);
    }

    if (!request.splitList) {
        MakeSettlementSheet();
        MakePaymentList();
        MakeAccounts();
        prizeRows.clear();
        clubRows.clear();
    }

    request.event = event;
    request.treeSelection = tree;
    request.seriesFilter = series;
    request.classFilter = classes;
    request.firstTarget = firstTarget;
    request.lastTarget = lastTarget;
}

void CDataList::MakeProgramme()
{
    CBVConfig& comp = m_comp.Comp();
    const std::string organiser = ::ReadItem(m_comp.User(), UserItems::kOrganiser);
    const std::string judges1 = ::ReadItem(comp, ConfigTextItem{CompItems::kJudges.section, CompItems::kJudges.index,
                                                                CompItems::kJudges.firstKey, ""});
    const std::string judges2 = ::ReadItem(comp, ConfigTextItem{CompItems::kJudges.section, CompItems::kJudges.index,
                                                                CompItems::kJudges.secondKey, ""});
    const int d = m_defCount + 1;
    SizeTo(aListDef, d);
    SetupProgramme(d);
    AddRow(Cells(kProgrammeCells,
                 {organiser, "", ResString(IDS_PROGRAMME), ::ReadItem(comp, CompItems::kProgramText),
                  ResString(IDS_COMPETITION_DATE), ::ReadItem(comp, CompItems::kTitle2), ResString(IDS_ORGANISER),
                  organiser, ResString(IDS_COMPETITION_NUMBER), ::ReadItem(comp, CompItems::kNumberText),
                  ResString(IDS_JUDGES), Format("%s %s", judges1.c_str(), judges2.c_str())}),
           d);
    ListComplete(d);
}

void CDataList::SetupProgramme(int d)
{
    // No page header and no footer: the page is the programme alone.
    ReadMargins();
    SetupBody(kProgrammeCells, d);
    ListDef& def = Def(d);
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
