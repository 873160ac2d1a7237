#include "results/lists/forms/BankGiro.h"

#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/forms/GiroForm.h"
#include "results/lists/settlement/CompetitionReport.h"
#include "results/registers/DataClub.h"

#include <string>

namespace results {

void BankGiro::Make()
{
    // The payment list keeps its rows for the forms.
    CompetitionReport report(m_list, true);
    report.Make();
    Print(report.Books().paymentRows);
}

void BankGiro::Print(const std::vector<PaymentRow>& paymentRows)
{
    const bool rifle = m_comp.orgType == kOrgTypeRifle;
    CBVConfig& comp = m_comp.Comp();
    CBVConfig& user = m_comp.User();
    GiroPayer payer;
    payer.title = ResString(IDS_GIRO_TITLE);
    payer.competition = ::ReadItem(comp, CompItems::kName) + " " + ::ReadItem(comp, CompItems::kTitle2);
    payer.organiser = GiroName(::ReadItem(user, UserItems::kOrganiser), rifle);
    for (int line = 1; line <= 4; ++line)
        payer.address[static_cast<size_t>(line - 1)] = ::ReadItem(user, UserItems::Address(line));
    payer.account = ::ReadItem(user, UserItems::kAccount);

    // A club whose shooters won only objects or gifts is owed nothing and
    // gets no form.
    std::vector<const PaymentRow*> owed;
    for (const PaymentRow& row : paymentRows)
        if (row.amount > 0)
            owed.push_back(&row);

    auto drawForm = [&](CSheetPrintJob& sheet, platform::DrawSurface& dc, int page) {
        const PaymentRow& row = *owed[static_cast<size_t>(page - 1)];
        ClubRecord club{};
        const bool registered = row.club != 0 && m_list.Clubs().Get(&club, row.club, CDataClub::kClubByKey) == 0;
        for (const SheetText& text : GiroFormTexts(payer, row.amount, registered ? &club : nullptr, rifle))
            sheet.Write(dc, text);
    };
    CSheetPrintJob job(ResString(IDS_GIRO_DOCUMENT), static_cast<int>(owed.size()), drawForm);
    job.Run(m_list.printTarget);
}

}  // namespace results
