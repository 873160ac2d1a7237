// The settlement sheet: a page per club of the shooters the competition
// report's result lists printed, each shooter once with a line per prize,
// and what the club is paid. Its payment rows feed the payment list, the
// giro forms and the per-club files.
//
// Pages go by club number: two clubs that share a name are two clubs, each
// with its own page and its own money.
#include "results/lists/settlement/SettlementSheet.h"

#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataRank.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/registers/DataClub.h"

#include <array>

namespace results {
namespace {

constexpr int kSheetColumnCount = 4;
constexpr ColumnShape kSheetColumns[kSheetColumnCount] = {
    {20, kAlignLeft, 35}, {10, kAlignLeft, 20}, {7, kAlignLeft, 15}, {20, kAlignLeft, 30}};

constexpr const char* kEmailFile = ".\\email.txt";

// The shooter states of prize row 1.
constexpr int32_t kTookPart = 1;
constexpr int32_t kWritten = 2;

}  // namespace

void SettlementSheet::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(kSheetColumnCount, d);
    OneLineOfColumns(m_report.Def(d), kSheetColumns, kSheetColumnCount);
}

void SettlementSheet::Make()
{
    m_list.ClearRows();
    m_request.filtersActive = 0;  // the form's class and letter choice stays for its next list
    m_books.paymentRows.assign(1, PaymentRow());

    const bool email = m_request.email != 0;
    std::string emails;
    const int orgType = ::ReadItem(m_comp.Comp(), CompItems::kOrgType);
    if (m_books.prizeRows.size() < 2)
        m_books.prizeRows.resize(2);
    const size_t n = m_books.prizeRows[0].amounts.size();
    std::vector<int32_t>& state = m_books.prizeRows[1].amounts;
    state.resize(n);
    if (m_books.clubRows.size() < n)
        m_books.clubRows.resize(n);

    // The pages follow whatever the report has made so far.
    const int firstPage = static_cast<int>(m_report.aListDef.size());
    int page = firstPage;
    size_t payment = 0;
    for (size_t i = 0; i < n; ++i) {
        if (state[i] != kTookPart)
            continue;
        const ClubRow& first = m_books.clubRows[i];
        const int16_t club = first.club;
        const std::string clubName = first.clubName;
        const std::string clubTitle = orgType == 1 ? clubName + " sk.l." : clubName;

        ++page;
        SizeTo(m_report.aListDef, page);
        m_report.Def(page).footerRule = true;
        m_report.Def(page).filePage = true;
        SetupPage(page);
        m_list.BuildPageHeader(ResString(IDS_SETTLEMENT_SHEET), clubTitle, page, 0);

        m_report.AddRow(Cells(kSheetColumnCount), page);
        m_report.AddRow(Cells(kSheetColumnCount), page);
        m_report.AddRow(Cells(kSheetColumnCount, {"     " + clubTitle}), page);
        ClubRecord record{};
        if (club != 0 && m_list.Clubs().Get(&record, club, CDataClub::kClubByKey) == 0) {
            for (const std::string& line : {FieldText(record.address1, sizeof record.address1),
                                            FieldText(record.address2, sizeof record.address2),
                                            FieldText(record.address3, sizeof record.address3)})
                m_report.AddRow(Cells(kSheetColumnCount, {"     " + line}), page);
            m_report.AddRow(Cells(kSheetColumnCount), page);
            m_report.AddRow(Cells(kSheetColumnCount), page);
            const std::string address = FieldText(record.email, sizeof record.email);
            if (email && !address.empty())
                emails += address + ";";
        } else {
            for (int k = 0; k < 3; ++k)
                m_report.AddRow(Cells(kSheetColumnCount), page);
        }

        AddShooter(i, page, payment, true, club, clubName);
        int participants = 1;
        for (size_t j = i + 1; j < n; ++j) {
            if (state[j] != kTookPart || m_books.clubRows[j].club != club)
                continue;
            AddShooter(j, page, payment, false, club, clubName);
            ++participants;
        }
        m_report.AddRow(Cells(kSheetColumnCount, {Format("%d deltagere", participants), "", ResString(IDS_TOTAL),
                                Format("%s %d,-", ResString(IDS_MONEY_PREFIX).c_str(), m_books.paymentRows[payment].amount)}),
               page);
        ++payment;
    }
    if (page > firstPage)
        m_report.ListComplete(page);
    else
        m_books.paymentRows.clear();  // no club was paid: no empty line on the payment list

    if (email) {
        const int rc = platform::WriteFileAtomically(kEmailFile, emails);
        if (rc != 0) {
            BV_LOG(m_list.Log(), 80, "%s not written (%d)", kEmailFile, rc);
            m_list.Report(ResString(IDS_WRITE_ERROR) + " \"" + kEmailFile + "\"", CDataList::Message::Error);
        }
    }
}

void SettlementSheet::AddShooter(size_t j, int d, size_t payment, bool firstOnPage, int32_t pageClub,
                                 const std::string& pageClubName)
{
    ClubRow& shooter = m_books.clubRows[j];
    const int32_t startNr = m_books.prizeRows[0].amounts[j];
    const std::string money = ResString(IDS_MONEY_PREFIX);

    // A line per prize list in which the shooter won something, in report order.
    std::vector<std::array<std::string, 3>> lines;
    int64_t won = 0;  // hundredths of money
    for (size_t r = 2; r < m_books.prizeRows.size(); ++r) {
        const PrizeRow& row = m_books.prizeRows[r];
        if (j >= row.amounts.size() || row.amounts[j] == 0)
            continue;
        std::array<std::string, 3> line;
        const std::string place = j < row.placeTexts.size() ? row.placeTexts[j] : std::string();
        line[0] = Format("     Nr %s %s", place.c_str(), row.title.c_str());
        line[1] = j < row.resultTexts.size() ? row.resultTexts[j] : std::string();
        if (row.prizeKind == 2) {
            bool gift = false;
            if (CDataEvent* e = m_comp.GetEvent(row.event)) {
                const bool gifts = ::ReadItem(e->Prizes(), row.combined ? PrizeItems::GroupGifts(row.list)
                                                                        : PrizeItems::ClassGifts(row.list)) != 0;
                RankRecord rank{};
                gift = gifts &&
                       e->Ranks().Find(row.combined ? CDataRank::kGroupList : CDataRank::kClassList, row.list,
                                       row.combined ? 0 : row.classNr, startNr, rank) == 0 &&
                       rank.gift != 0;
            }
            if (gift) {
                line[2] = ResString(IDS_GIFT_PRIZE);
                ++shooter.gifts;
            } else {
                line[2] = Format("%s %d", money.c_str(), row.amounts[j] / 100);
                won += row.amounts[j];
            }
        } else if (row.prizeKind == 1) {
            line[2] = ResString(IDS_OBJECT_PRIZE);
            ++shooter.objects;
        }
        lines.push_back(std::move(line));
    }

    if (payment >= m_books.paymentRows.size())
        m_books.paymentRows.resize(payment + 1);
    PaymentRow& owed = m_books.paymentRows[payment];
    if (owed.clubName.empty() && owed.club == 0) {
        owed.clubName = pageClubName;
        owed.club = static_cast<int16_t>(pageClub);
    }

    // Each shooter's money is paid in whole units, the hundredths dropped.
    std::string moneyText, objectsText, giftsText;
    if (won > 0) {
        moneyText = Format("%s %d  ", money.c_str(), static_cast<int>(won / 100));
        owed.amount += static_cast<int32_t>(won / 100);
    }
    if (shooter.objects > 0)
        objectsText = Format(firstOnPage ? "%s*%d " : "%s*%d", ResString(IDS_OBJECT_PRIZE).c_str(), shooter.objects);
    if (shooter.gifts > 0)
        giftsText = Format("%s*%d", ResString(IDS_GIFT_PRIZE).c_str(), shooter.gifts);
    const std::string summary = Format("%s %s %s", moneyText.c_str(), objectsText.c_str(), giftsText.c_str());

    auto total = [&](size_t k) { return k < shooter.subEventTotals.size() ? shooter.subEventTotals[k] : std::string(); };
    m_report.AddRow(Cells(kSheetColumnCount, {Format("%s (%s)", shooter.shooterName.c_str(), shooter.className.c_str()),
                            Format("%s  %s  %s", total(0).c_str(), total(1).c_str(), total(2).c_str()), "",
                            lines.empty() ? summary : std::string()}),
           d);
    m_books.prizeRows[1].amounts[j] = kWritten;
    for (size_t l = 0; l < lines.size(); ++l)
        m_report.AddRow(Cells(kSheetColumnCount, {lines[l][0], lines[l][1], lines[l][2], l + 1 == lines.size() ? summary : ""}), d);
}

}  // namespace results
