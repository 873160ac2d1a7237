// The payment list: what the organiser pays each club of the settlement
// sheet, with the club's bank account, and the sum of it all.
#include "foundation/text/FieldText.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListBuild.h"
#include "results/registers/DataClub.h"

namespace results {
namespace {

constexpr int kPaymentColumnCount = 3;
constexpr ColumnShape kPaymentColumns[kPaymentColumnCount] = {{20, kAlignLeft, 40}, {20, kAlignLeft, 40}, {10, kAlignRight, 20}};


}  // namespace

void CDataList::SetupPaymentList(int d)
{
    ReadMargins();
    SetupHeader(d, 0);
    SetupFooter(d);
    SetupBody(kPaymentColumnCount, d);
    OneLineOfColumns(Def(d), kPaymentColumns, kPaymentColumnCount);
}

void CDataList::MakePaymentList()
{
    ClearRows();
    const int d = static_cast<int>(aListDef.size()) + 1;
    SizeTo(aListDef, d);
    Def(d).footerRule = true;
    Def(d).filePage = true;
    SetupPaymentList(d);
    BuildPageHeader(ResString(IDS_PAYMENT_LIST), ResString(IDS_PRIZE_SUM), d, 0);

    int64_t total = 0;
    for (const PaymentRow& row : paymentRows) {
        std::string account;
        ClubRecord record{};
        if (row.club != 0 && Clubs().Get(&record, row.club, CDataClub::kClubByKey) == 0)
            account = FieldText(record.account, sizeof record.account);
        AddRow(Cells(kPaymentColumnCount, {row.clubName, account, Format("%d,-", row.amount)}), d);
        total += row.amount;
    }
    AddRow(Cells(kPaymentColumnCount), d);
    AddRow(Cells(kPaymentColumnCount, {ResString(IDS_PRIZES_PAID), ResString(IDS_TOTAL),
                            Format("%s %lld,-", ResString(IDS_MONEY_PREFIX).c_str(), static_cast<long long>(total))}),
           d);

    // The giro forms print from the same rows after this list.
    if (!giro)
        paymentRows.clear();
    ListComplete(d);
}

}  // namespace results
