// The entry list: for every club, its shooters' entries in all events, one
// definition per club in the order of the club names.
//
// The entries are first gathered into groups: group 0 holds a row per
// shooter (by start number), each event's group a row per shooter with the
// entry in that event (target 0 when none). Each event's block then shows
// the class and category of the entry in that event.
#include "results/lists/overview/EntryList.h"

#include "foundation/text/TextUtil.h"
#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/registers/DataClub.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kEntryColumnCount = 5;
constexpr ColumnShape kEntryColumns[kEntryColumnCount] = {
    {20, kAlignLeft, 45}, {10, kAlignLeft, 17}, {4, kAlignLeft, 13}, {6, kAlignLeft, 12}, {6, kAlignLeft, 13},
};

}  // namespace

void EntryList::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(kEntryColumnCount, d);
    OneLineOfColumns(m_report.Def(d), kEntryColumns, kEntryColumnCount);
}

void EntryList::GatherGroups()
{
    CBVConfig& comp = m_comp.Comp();

    // Shooters with a name and a club, by start number.
    m_comp.Shooters().SortedNumbers(m_numbers);
    m_numbers.erase(std::remove_if(m_numbers.begin(), m_numbers.end(),
                                       [&](uint32_t n) {
                                           return m_comp.Shooters().GetName(static_cast<int32_t>(n)).empty();
                                       }),
                        m_numbers.end());
    const size_t shooters = m_numbers.size();
    m_groups.assign(1, EntryGroup());
    m_groups[0].rows.assign(shooters, EntryRow());

    const int events = EventCount(comp);
    for (int i = 1; i <= events; ++i) {
        const std::string eventName = ::ReadItem(comp, CompItems::EventName(i));
        CDataEvent* event = m_comp.GetEvent(i);
        if (eventName.empty() || !event)
            continue;
        m_request.event = static_cast<uint16_t>(i);
        const int relays = ::ReadItem(comp, CompItems::EventRelays(i));
        const int first = ::ReadItem(comp, CompItems::EventFirstTarget(i));
        const int last = ::ReadItem(comp, CompItems::EventLastTarget(i));
        EntryGroup group;
        group.name = eventName;
        group.rows.assign(shooters, EntryRow());
        CBVConfig& settings = event->Settings();
        for (int r = 1; r <= relays; ++r) {
            const int number = ::ReadItem(settings, EventItems::RelayNumber(r));
            if (number == 0)
                continue;
            // A relay on a day without a date has no day to show (DayLabel
            // would give today's).
            const int day = ::ReadItem(settings, EventItems::RelayDay(r));
            const int date = ::ReadItem(settings, EventItems::DayDate(day));
            const std::string dayLabel = date > 0 ? event->DayLabel(date) : std::string();
            const std::string time = "Kl " + ::ReadItem(settings, EventItems::RelayTime(r));
            for (int t = first; t <= last; ++t) {
                const int k = m_list.FindShooterRow(r, t);
                if (k < 0)
                    continue;
                const ShooterRow& shooter = m_list.shooterRows[static_cast<size_t>(k)];
                const int v = CTextUtil::FindSorted(m_numbers, static_cast<uint32_t>(shooter.startNr));
                if (v < 0)
                    continue;
                EntryRow& entry = group.rows[static_cast<size_t>(v)];
                entry.relayNumber = static_cast<int16_t>(number);
                entry.target = static_cast<int16_t>(t);
                entry.text1 = dayLabel;
                entry.text2 = time;
                entry.text3 = shooter.className;
                entry.text4 = shooter.category;
                // The shooter's row carries the last entry found; the
                // event's rows carry their own class and category.
                EntryRow& person = m_groups[0].rows[static_cast<size_t>(v)];
                person.text1 = shooter.name;
                person.text2 = shooter.className;
                person.text3 = shooter.clubName;
                person.text4 = shooter.category;
                person.club = shooter.club;
            }
        }
        m_groups.push_back(std::move(group));
    }
}

void EntryList::Make()
{
    m_list.ClearRows();
    GatherGroups();
    if (m_groups.size() < 2)
        return;

    // The clubs, each once with the name of its first row, by name.
    const std::vector<EntryRow>& people = m_groups[0].rows;
    std::vector<CTextUtil::Text32> clubNames;
    std::vector<uint32_t> clubNumbers;
    for (const EntryRow& person : people) {
        if (person.text3.empty() ||
            std::find(clubNumbers.begin(), clubNumbers.end(), static_cast<uint32_t>(person.club)) != clubNumbers.end())
            continue;
        CTextUtil::Text32 name{};
        SetFieldText(name.data(), name.size(), person.text3);
        clubNames.push_back(name);
        clubNumbers.push_back(static_cast<uint32_t>(person.club));
    }
    CTextUtil::SortStrings(clubNames, clubNumbers, false);

    const bool html = m_request.file.html != 0;
    const bool rifle = m_comp.orgType == kOrgTypeRifle;
    int d = 0;
    for (size_t k = 0; k < clubNumbers.size(); ++k) {
        const int32_t club = static_cast<int32_t>(clubNumbers[k]);
        const std::string clubName = FieldText(clubNames[k].data(), clubNames[k].size());
        size_t a = 0;
        while (a < people.size() && people[a].club != club)
            ++a;
        ++d;
        m_report.aListDef.resize(static_cast<size_t>(d));
        m_report.Def(d).footerRule = true;
        SetupPage(d);
        std::string title2 = html ? std::string() : rifle ? clubName + " sk.l." : clubName;
        m_list.BuildPageHeader(ResString(IDS_ENTRY_LIST), title2, d, 0);

        m_report.AddRow(Cells(kEntryColumnCount), d);
        m_report.AddRow(Cells(kEntryColumnCount, {"     " + clubName + (rifle ? " sk.l." : "")}), d);
        ClubRecord record;
        const bool address = !html && m_list.Clubs().Get(&record, club, CDataClub::kClubByKey) == 0;
        for (const auto& line : {std::string(address ? FieldText(record.address1, sizeof record.address1) : ""),
                                 std::string(address ? FieldText(record.address2, sizeof record.address2) : ""),
                                 std::string(address ? FieldText(record.address3, sizeof record.address3) : "")})
            m_report.AddRow(Cells(kEntryColumnCount, {address ? "     " + line : std::string()}), d);
        m_report.AddRow(Cells(kEntryColumnCount), d);
        m_report.AddRow(Cells(kEntryColumnCount), d);

        int total = 0;
        for (size_t g = 1; g < m_groups.size(); ++g) {
            const EntryGroup& group = m_groups[g];
            int count = 0;
            for (size_t v = a; v < people.size(); ++v) {
                const EntryRow& entry = group.rows[v];
                if (people[v].club != club || entry.target == 0)
                    continue;
                if (count == 0) {
                    m_report.AddRow(Cells(kEntryColumnCount), d);
                    m_report.AddRow(Cells(kEntryColumnCount, {group.name}), d);
                }
                ++count;
                std::string who = entry.text4.empty()
                                      ? Format("%s (%s)", people[v].text1.c_str(), entry.text3.c_str())
                                      : Format("%s (%s - %s)", people[v].text1.c_str(), entry.text3.c_str(),
                                               entry.text4.c_str());
                m_report.AddRow(Cells(kEntryColumnCount, {who, entry.text1, entry.text2,
                                        Format("%s %2d", ResString(IDS_RELAY_WORD).c_str(), entry.relayNumber),
                                        Format("%s %2d", ResString(IDS_TARGET_WORD).c_str(), entry.target)}),
                       d);
            }
            if (count > 0)
                m_report.AddRow(Cells(kEntryColumnCount, {Format("Antall = %d", count)}), d);
            total += count;
        }
        m_report.AddRow(Cells(kEntryColumnCount), d);
        m_report.AddRow(Cells(kEntryColumnCount, {Format("Totalt = %d", total)}), d);
    }
    if (d > 0)
        m_report.ListComplete(d);
}

}  // namespace results
