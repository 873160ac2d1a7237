// The accounts: for every class and combined prize list of every event and
// every team competition, the participants, the entry fees taken, the
// stakes that went to the prizes and the prizes paid out, with the totals.
// The figures of the prize lists come from the prize rows the competition
// report's result lists filled.
#include "results/lists/settlement/Accounts.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"

namespace results {
namespace {

constexpr int kAccountColumnCount = 9;
constexpr ColumnShape kAccountColumns[kAccountColumnCount] = {
    {5, kAlignLeft, 10},  {5, kAlignRight, 10}, {5, kAlignRight, 10}, {6, kAlignRight, 13}, {5, kAlignRight, 10},
    {6, kAlignRight, 13}, {6, kAlignRight, 13}, {6, kAlignRight, 11}, {5, kAlignRight, 10},
};

}  // namespace

void Accounts::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(kAccountColumnCount, d);
    OneLineOfColumns(m_report.Def(d), kAccountColumns, kAccountColumnCount);
}

void Accounts::BuildRows()
{
    m_rows.clear();
    CBVConfig& comp = m_comp.Comp();
    const int events = EventCount(comp);
    const int classes = ::ReadItem(comp, CompItems::kClassCount);
    for (int e = 1; e <= events; ++e) {
        CDataEvent* event = m_comp.GetEvent(e);
        if (!event)
            continue;
        for (int c = 1; c <= classes; ++c) {
            if (::ReadItem(event->Settings(), EventItems::ClassUsed(c)) == 0)
                continue;
            AccountRow row;
            row.kind = AccountRow::kClass;
            row.name = ::ReadItem(comp, CompItems::ClassName(c));
            row.fee = ::ReadItem(event->Settings(), EventItems::ClassFee(c));
            row.event = e;
            m_rows.push_back(std::move(row));
        }
        CBVConfig& prizes = event->Prizes();
        const int groups = ::ReadItem(prizes, PrizeItems::kGroupCount);
        for (int g = 1; g <= groups; ++g) {
            const std::string name = ::ReadItem(prizes, PrizeItems::GroupName(g));
            const int fee = ::ReadItem(prizes, PrizeItems::GroupFee(g));
            if (name.empty() || (fee == 0 && ::ReadItem(prizes, PrizeItems::GroupStake(g)) == 0))
                continue;
            AccountRow row;
            row.kind = AccountRow::kCombined;
            row.name = name;
            row.fee = fee;
            row.event = e;
            m_rows.push_back(std::move(row));
        }
    }

    // Team competitions count their entered teams that are not deleted.
    CBVConfig& teams = m_comp.Team();
    teams.Refresh();
    const int teamCount = ::ReadItem(teams, TeamItems::kCount);
    for (int t = 1; t <= teamCount; ++t) {
        const std::string name = ::ReadItem(teams, TeamItems::Name(t));
        if (name.empty())
            continue;
        AccountRow row;
        row.kind = AccountRow::kTeam;
        row.name = name;
        row.fee = ::ReadItem(teams, TeamItems::Fee(t));
        const int entries = ::ReadItem(teams, TeamItems::EntryCount(t));
        for (int j = 1; j <= entries; ++j)
            if (!::ReadItem(teams, TeamItems::EntryName(t, j)).empty() &&
                ::ReadItem(teams, TeamItems::EntryClub(t, j)) > 0)
                ++row.count;
        m_rows.push_back(std::move(row));
    }

    // A class row takes the figures of its event's class prize lists of
    // that class, a combined row those of its event's combined list of that
    // name: a combined list named like a class is not the class.
    for (AccountRow& row : m_rows) {
        if (row.kind == AccountRow::kTeam)
            continue;
        const int32_t combined = row.kind == AccountRow::kCombined ? 1 : 0;
        for (size_t r = 2; r < m_books.prizeRows.size(); ++r) {
            const PrizeRow& prize = m_books.prizeRows[r];
            if (prize.combined != combined || prize.event != row.event || prize.name != row.name)
                continue;
            row.count = prize.listed;
            row.stake += prize.stake;
            row.paid += prize.moneyPaid;
            row.objects += prize.objects;
            row.gifts += prize.gifts;
        }
    }
}

void Accounts::Make()
{
    m_list.ClearRows();
    const int d = static_cast<int>(m_report.aListDef.size()) + 1;
    SizeTo(m_report.aListDef, d);
    m_report.Def(d).footerRule = true;
    m_report.Def(d).filePage = true;
    SetupPage(d);
    m_list.BuildPageHeader("Regnskap", "", d, 0);
    BuildRows();

    CBVConfig& comp = m_comp.Comp();
    auto eventName = [&](int e) { return ::ReadItem(comp, CompItems::EventName(e)); };
    const std::string sum = ResString(IDS_ACCOUNT_SUM);
    if (!m_rows.empty())
        m_report.AddRow(Cells(kAccountColumnCount, {eventName(m_rows.front().event)}), d);
    m_report.AddRow(Cells(kAccountColumnCount, {ResString(IDS_CLASS_WORD), ResString(IDS_ACCOUNT_COUNT), ResString(IDS_ACCOUNT_FEE), sum,
                            ResString(IDS_ACCOUNT_STAKE), sum, ResString(IDS_PRIZES_PAID),
                            ResString(IDS_OBJECT_PRIZE), ResString(IDS_GIFT_PRIZE)}),
           d);

    // Sums in hundredths are taken before the division, as each line shows them.
    auto whole = [](int64_t hundredths) { return static_cast<long long>(hundredths / 100); };
    long long participants = 0, fees = 0, stakes = 0, paid = 0, objects = 0, gifts = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const AccountRow& row = m_rows[i];
        if (i > 0) {
            const AccountRow& before = m_rows[i - 1];
            if (row.kind != before.kind && row.kind == AccountRow::kTeam) {
                m_report.AddRow(Cells(kAccountColumnCount), d);
                m_report.AddRow(Cells(kAccountColumnCount, {ResString(IDS_ACCOUNT_TEAMS)}), d);
            } else if (row.event != before.event) {
                m_report.AddRow(Cells(kAccountColumnCount), d);
                m_report.AddRow(Cells(kAccountColumnCount, {eventName(row.event)}), d);
            } else if (before.kind == AccountRow::kClass && row.kind == AccountRow::kCombined) {
                m_report.AddRow(Cells(kAccountColumnCount, {ResString(IDS_ACCOUNT_COMBINED)}), d);
            }
        }
        const long long entryTotal = whole(static_cast<int64_t>(row.count) * row.fee);
        const long long stakeTotal = whole(static_cast<int64_t>(row.stake) * row.count);
        const long long paidOut = whole(row.paid);
        m_report.AddRow(Cells(kAccountColumnCount, {row.name, Format("%d", row.count), Format("%lld,-", whole(row.fee)),
                                Format("%lld,-", entryTotal), Format("%lld,-", whole(row.stake)),
                                Format("%lld,-", stakeTotal), Format("%lld,-", paidOut), Format("%d", row.objects),
                                Format("%d", row.gifts)}),
               d);
        // Only classes count participants: a shooter of a combined list or
        // a team was counted in the class.
        if (row.kind == AccountRow::kClass)
            participants += row.count;
        fees += entryTotal;
        stakes += stakeTotal;
        paid += paidOut;
        objects += row.objects;
        gifts += row.gifts;
    }
    m_report.AddRow(Cells(kAccountColumnCount), d);
    m_report.AddRow(Cells(kAccountColumnCount, {ResString(IDS_TOTAL), Format("%lld", participants), "", Format("%lld,-", fees), "",
                            Format("%lld,-", stakes), Format("%lld,-", paid), Format("%lld", objects),
                            Format("%lld", gifts)}),
           d);
    m_rows.clear();
}

}  // namespace results
