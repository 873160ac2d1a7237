// The press list: a short summary of the competition for the newspapers.
// For each event the top of the prize lists chosen for the press (the
// championships), then the top of the chosen class lists and the leading
// teams of the chosen team competitions, a line each with place, name, club
// and total. It ranks nothing itself: every chosen list is made by its own
// producer after the press list's definition, its rows are copied, and the
// lists are thrown away again.
#include "results/lists/press/PressList.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/resultlists/ResultListCodes.h"
#include "results/lists/resultlists/ResultLists.h"
#include "results/lists/teams/TeamList.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kAllRows = 99;
constexpr size_t kSplitNameSize = 30;
constexpr int kMaxClasses = 255;

// Where a result list's cells are, by column (from 1; 0 when absent).
struct PressColumns {
    int place = 0, name = 0, club = 0, cls = 0, total = 0;
};

const std::string& CellText(const ReportRow& row, int c)
{
    static const std::string none;
    return c >= 1 && static_cast<size_t>(c) <= row.cells.size() ? row.cells[static_cast<size_t>(c) - 1].text : none;
}

// The columns of a coded list, from the column codes it was laid out with.
PressColumns CodedColumns(const ListDef& def)
{
    PressColumns at;
    for (size_t c = 0; c < def.bodyColumns.size(); ++c) {
        const int code = def.bodyColumns[c].columnCode;
        int* column = code == kCodePlace ? &at.place
                      : code == kCodeName ? &at.name
                      : code == kCodeClub ? &at.club
                      : code == kCodeClass ? &at.cls
                      : code == kCodeTotal ? &at.total
                                           : nullptr;
        if (column && *column == 0)
            *column = static_cast<int>(c) + 1;
    }
    return at;
}

bool IsCoded(const ListDef& def)
{
    return std::any_of(def.bodyColumns.begin(), def.bodyColumns.end(),
                       [](const ReportColumn& c) { return c.columnCode != 0; });
}

}  // namespace

std::string PressList::Name(const std::string& text)
{
    static const std::string word = "Mesterskap";
    if (text.find(word) == std::string::npos)
        return text;
    std::string name = text;
    const std::string cut = word + " ";
    for (size_t at = name.find(cut); at != std::string::npos; at = name.find(cut, at))
        name.erase(at, cut.size());
    return name;
}

int PressList::LastTiedRow(int row, int column)
{
    if (m_report.aListDef.empty() || column < 1)
        return row;
    const std::vector<ReportRow>& rows = m_report.aListDef.back().bodyRows;
    if (row < 1 || static_cast<size_t>(row) > rows.size())
        return row;
    const std::string& text = CellText(rows[static_cast<size_t>(row) - 1], column);
    int last = row;
    while (static_cast<size_t>(last) < rows.size() && CellText(rows[static_cast<size_t>(last)], column) == text)
        ++last;
    return last;
}

void PressList::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(4, d);
    ListDef& def = m_report.Def(d);
    const int defaultFit = def.bodyColumns[2].fitChars;
    const ColumnShape shapes[] = {
        {3, kAlignRight, 8}, {23, kAlignLeft, 45}, {defaultFit, kAlignLeft, 35}, {6, kAlignLeft, 12}};
    OneLineOfColumns(def, shapes, std::size(shapes));
    def.bodyColumns[1].face = "Arial";
    def.bodyColumns[2].face = "Arial";
}

void PressList::Make()
{
    CBVConfig& comp = m_comp.Comp();
    const int orgType = ::ReadItem(comp, CompItems::kOrgType);
    const bool fixedTypes = orgType == 2 || orgType == 6;
    const int represent = ::ReadItem(comp, CompItems::kRepresentHeader);
    const uint16_t savedEvent = m_request.event;
    const int32_t savedTree = m_request.treeSelection;
    const int16_t savedKind = m_request.kind;

    m_report.aListDef.assign(1, ListDef());
    m_report.Def(1).footerRule = false;
    SetupPage(1);
    m_list.BuildPageHeader(ResString(IDS_PRESS_LIST), "", 1, 0);
    m_report.ListComplete(1);
    m_request.kind = kListResultsCombined;

    auto addLine = [this](const std::string& c1, const std::string& c2, const std::string& c3,
                          const std::string& c4) { m_report.AddRow(Cells(4, {c1, c2, c3, c4}), 1, 0); };
    auto heading = [&](const std::string& text) { addLine("", text, "", ""); };
    addLine("", ::ReadItem(comp, CompItems::kName) + ", " + ::ReadItem(m_comp.User(), UserItems::kOrganiser) + ", " +
                    ::ReadItem(comp, CompItems::kTitle2),
            "", "");

    // The chosen list's new definition, or 0 when its producer made none.
    const auto newList = [this](size_t before) { return m_report.aListDef.size() > before ? static_cast<int>(m_report.aListDef.size()) : 0; };
    // How many rows of definition d: 99 or more than it has are all of them;
    // shooters sharing the last place all come along.
    const auto rowsOf = [this](int d, int wanted, int placeColumn) {
        const int rows = static_cast<int>(m_report.Def(d).bodyRows.size());
        int n = wanted == kAllRows || wanted > rows ? rows : wanted;
        if (n > 0)
            n = LastTiedRow(n, placeColumn);
        return n;
    };
    // A press line of row r of result list d; manyClasses: the list covers
    // more than one class, whose class then follows the club.
    const auto resultLine = [&](int d, int r, bool manyClasses) {
        const ListDef& def = m_report.Def(d);
        const ReportRow& row = def.bodyRows[static_cast<size_t>(r) - 1];
        if (IsCoded(def)) {
            const PressColumns at = CodedColumns(def);
            std::string club = CellText(row, at.club);
            if (manyClasses && at.cls > 0)
                club = at.club > 0 ? Format("%s (%s)", club.c_str(), CellText(row, at.cls).c_str()) : std::string();
            addLine(CellText(row, at.place), CellText(row, at.name), club, CellText(row, at.total));
            return;
        }
        const int columns = static_cast<int>(def.bodyColumns.size());
        int total = 0;
        switch (columns) {
        case 7:
        case 17: {
            total = columns - 1;
            std::string name = CellText(row, 3), club = CellText(row, 4);
            if (represent == 1) {
                const std::string both = name;
                const size_t slash = both.find('/');
                name = both.substr(0, std::min(slash, kSplitNameSize));
                club = slash == std::string::npos ? std::string() : both.substr(slash + 1, kSplitNameSize);
            }
            addLine(CellText(row, 1), name, club, CellText(row, total));
            return;
        }
        case 27:
        case 32:
            addLine(CellText(row, 1), CellText(row, 3), CellText(row, represent == 1 ? 12 : 4),
                    CellText(row, columns - 1));
            return;
        default:
            addLine("", "", "", "");
        }
    };
    const auto placeColumnOf = [](const ListDef& def) { return IsCoded(def) ? CodedColumns(def).place : 1; };
    const auto targetsOf = [&](int e) {
        m_request.firstTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventFirstTarget(e)));
        m_request.lastTarget = static_cast<uint16_t>(::ReadItem(comp, CompItems::EventLastTarget(e)));
    };
    const int events = EventCount(comp);

    // The championships: the combined prize lists chosen.
    bool championship = false;
    for (int e = 1; e <= events; ++e) {
        CDataEvent* event = ::ReadItem(comp, CompItems::EventInUse(e)) ? m_comp.GetEvent(e) : nullptr;
        if (!event)
            continue;
        CBVConfig& prizes = event->Prizes();
        const bool separateFinal = ::ReadItem(event->Settings(), EventItems::kSeparateFinal) == 1;
        const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
        for (int g = 1; g <= groups; ++g) {
            if (!::ReadItem(prizes, PrizeItems::PressGroupOn(g)) ||
                ::ReadItem(prizes, PrizeItems::GroupName(g)).empty())
                continue;
            m_request.seriesFilter.assign(1, g);
            m_request.event = static_cast<uint16_t>(e);
            targetsOf(e);
            const size_t before = m_report.aListDef.size();
            if (fixedTypes) {
                m_request.completeFinal = separateFinal ? 1 : 0;
                ResultLists(m_list).MakeFixed(kListResultsCombined, {.continued = true});
                m_request.completeFinal = 0;
            } else {
                ResultLists(m_list).MakeCoded(kListResultsCombined, {.continued = true});
            }
            const int d = newList(before);
            if (d == 0)
                continue;
            if (!championship && (!fixedTypes || separateFinal)) {
                heading(ResString(IDS_CHAMPIONSHIP));
                championship = true;
            }
            heading(Name(CellText(m_report.Def(d).headerRows.empty() ? ReportRow() : m_report.Def(d).headerRows[0], 6)));
            const bool manyClasses = ::ReadItem(prizes, PrizeItems::GroupClasses(g)).size() > 1;
            const int n = rowsOf(d, ::ReadItem(prizes, PrizeItems::PressGroupRows(g)), placeColumnOf(m_report.Def(d)));
            for (int r = 1; r <= n; ++r)
                resultLine(d, r, manyClasses);
        }
    }

    heading(ResString(IDS_MAIN_EVENT));

    // The class lists chosen, class by class.
    const int classes = std::min(::ReadItem(comp, CompItems::kClassCount), kMaxClasses);
    for (int e = 1; e <= events; ++e) {
        CDataEvent* event = ::ReadItem(comp, CompItems::EventInUse(e)) ? m_comp.GetEvent(e) : nullptr;
        if (!event)
            continue;
        CBVConfig& prizes = event->Prizes();
        const int lists = ::ReadItem(prizes, PrizeItems::kClassCount);
        for (int p = 1; p <= lists; ++p) {
            const int source = ::ReadItem(prizes, PrizeItems::ClassSource(p));
            if (source == 0)
                continue;
            const std::string basis = source & kSourceSubEvent
                                          ? ::ReadItem(event->Settings(), EventItems::SubEventName(source & 0xFF))
                                          : ::ReadItem(event->Settings(), EventItems::SeriesName(source));
            if (basis.empty())
                continue;
            for (int c = 1; c <= classes; ++c) {
                const int wanted = ::ReadItem(prizes, PrizeItems::PressClassRows(p, c));
                if (!::ReadItem(prizes, PrizeItems::PressClassOn(p, c)) || wanted == 0)
                    continue;
                m_request.seriesFilter.assign(1, p);
                m_request.classFilter.assign(1, static_cast<uint8_t>(c));
                m_request.event = static_cast<uint16_t>(e);
                targetsOf(e);
                const size_t before = m_report.aListDef.size();
                m_request.completeFinal = 0;
                if (fixedTypes)
                    ResultLists(m_list).MakeFixed(kListResultsByClass, {.continued = true});
                else
                    ResultLists(m_list).MakeCoded(kListResultsByClass, {.continued = true});
                const int d = newList(before);
                if (d == 0)
                    continue;
                heading(Name(CellText(m_report.Def(d).headerRows.empty() ? ReportRow() : m_report.Def(d).headerRows[0], 5)));
                const bool manyClasses = ::ReadItem(prizes, PrizeItems::ClassClasses(p)).size() > 1;
                const int n = rowsOf(d, wanted, placeColumnOf(m_report.Def(d)));
                for (int r = 1; r <= n; ++r)
                    resultLine(d, r, manyClasses);
            }
        }
    }

    // The team competitions chosen: the leading teams, the winners' members.
    CBVConfig& team = m_comp.Team();
    bool teamHeading = false;
    const int teamCount = ::ReadItem(team, TeamItems::kCount);
    for (int t = 1; t <= teamCount; ++t) {
        const std::string name = ::ReadItem(team, TeamItems::Name(t));
        const int wanted = ::ReadItem(team, TeamItems::PressChoice(t));
        if (name.empty() || !::ReadItem(team, TeamItems::PressOn(t)) || wanted == 0)
            continue;
        m_request.treeSelection = t;
        const size_t before = m_report.aListDef.size();
        TeamList(m_list).Make(false, true);
        m_report.m_defCount = static_cast<int>(m_report.aListDef.size());
        if (!teamHeading) {
            heading(ResString(IDS_TEAM_SHOOTING));
            teamHeading = true;
        }
        const int d = newList(before);
        if (d == 0)
            continue;
        const std::vector<ReportRow>& rows = m_report.Def(d).bodyRows;
        const int n = wanted == kAllRows || wanted > static_cast<int>(rows.size()) ? static_cast<int>(rows.size())
                                                                                   : wanted;
        if (n > 0)
            heading(name);
        const int size = std::min(::ReadItem(team, TeamItems::Size(t)), TeamRow::kSlots);
        for (int i = 1; i <= n; ++i) {
            const ReportRow& row = rows[static_cast<size_t>(i) - 1];
            addLine(CellText(row, 2), CellText(row, 3), CellText(row, 4), "");
            if (i != 1)
                continue;
            for (int j = 1; j <= size; ++j)
                addLine(j == 1 ? "(" : "", CellText(row, 4 * j + 3), CellText(row, 4 * j + 4), j == size ? ")" : "");
        }
    }

    m_report.aListDef.resize(1);
    m_request.event = savedEvent;
    m_request.treeSelection = savedTree;
    m_request.kind = savedKind;
    m_report.ListComplete(1);
}

}  // namespace results
