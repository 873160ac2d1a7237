// The payment list: what the organiser pays each club of the settlement
// sheet, with the club's bank account, and the sum of it all.
#include "results/lists/settlement/PaymentList.h"

#include "foundation/text/FieldText.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/registers/DataClub.h"

namespace results {
namespace {

constexpr int kPaymentColumnCount = 3;
constexpr ColumnShape kPaymentColumns[kPaymentColumnCount] = {
    {20, kAlignLeft, 40}, {20, kAlignLeft, 40}, {10, kAlignRight, 20}};

}  // namespace

void PaymentList::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(kPaymentColumnCount, d);
    OneLineOfColumns(m_report.Def(d), kPaymentColumns, kPaymentColumnCount);
}

void PaymentList::Make(bool keepRows)
{
    m_list.ClearRows();
    const int d = static_cast<int>(m_report.aListDef.size()) + 1;
    SizeTo(m_report.aListDef, d);
    m_report.Def(d).footerRule = true;
    m_report.Def(d).filePage = true;
    SetupPage(d);
    m_list.BuildPageHeader(ResString(IDS_PAYMENT_LIST), ResString(IDS_PRIZE_SUM), d, 0);

    int64_t total = 0;
    for (const PaymentRow& row : m_books.paymentRows) {
        std::string account;
        ClubRecord record{};
        if (row.club != 0 && m_list.Clubs().Get(&record, row.club, CDataClub::kClubByKey) == 0)
            account = FieldText(record.account, sizeof record.account);
        m_report.AddRow(Cells(kPaymentColumnCount, {row.clubName, account, Format("%d,-", row.amount)}), d);
        total += row.amount;
    }
    m_report.AddRow(Cells(kPaymentColumnCount), d);
    m_report.AddRow(Cells(kPaymentColumnCount, {ResString(IDS_PRIZES_PAID), ResString(IDS_TOTAL),
                            Format("%s %lld,-", ResString(IDS_MONEY_PREFIX).c_str(), static_cast<long long>(total))}),
           d);

    // The giro forms print from the same rows after this list.
    if (!keepRows)
        m_books.paymentRows.clear();
    m_report.ListComplete(d);
}

}  // namespace results
