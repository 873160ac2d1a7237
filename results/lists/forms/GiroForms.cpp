// The giro forms (list kind 3): the settlement made as the competition
// report makes it, and one pre-printed form per club it owes prize money,
// printed straight onto the form's fields. Nothing is previewed or written
// to a file, whatever output was asked for.
#include "results/lists/forms/GiroForm.h"

#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"

#include <cstdio>

namespace results {
namespace {

constexpr int kClubByKey = 2 * 16 + CDataClub::kClubs;
constexpr int kOrgTypeRifle = 1;

// Where the form's fields are, in 0.1 mm from the sheet's top-left corner.
namespace At {
constexpr int kReceiptX = 200, kFormX = 100;
constexpr int kTitleY = 300, kFormTitleY = 2050;
constexpr int kCompetitionY = 400, kFormCompetitionY = 2100;
constexpr int kOrganiserY = 500, kFormOrganiserY = 2150;
constexpr int kPayerAddressX = 150, kPayerAddressY = 2350;  // four lines, 5 mm apart
constexpr int kReceiptAmountX = 1150, kReceiptAmountY = 1900;
constexpr int kKronerX = 1020, kOreX = 1060, kAmountY = 2750;
constexpr int kPayerAccountX = 1300, kPayerAccountY = 1900;
constexpr int kFormPayerAccountX = 420, kFormPayerAccountY = 2600;
constexpr int kPayeeAccountX = 1300, kPayeeAccountY = 2750;
constexpr int kPayeeX = 1150, kPayeeY = 2350;  // name and three address lines, 5 mm apart
constexpr int kLineStep = 50;
}  // namespace At

std::string Field(const char* text, size_t size) { return FieldText(text, size); }

}  // namespace

std::string GiroName(const std::string& name, bool rifle)
{
    return rifle && !name.empty() ? name + " skytterlag" : name;
}

std::vector<SheetText> GiroFormTexts(const GiroPayer& payer, int32_t amount, const ClubRecord* club, bool rifle)
{
    char kroner[16];
    std::snprintf(kroner, sizeof kroner, "%d", amount);
    std::vector<SheetText> texts = {
        {payer.title, At::kReceiptX, At::kTitleY},
        {payer.title, At::kFormX, At::kFormTitleY},
        {payer.competition, At::kReceiptX, At::kCompetitionY},
        {payer.competition, At::kFormX, At::kFormCompetitionY},
        {payer.organiser, At::kReceiptX, At::kOrganiserY},
        {payer.organiser, At::kFormX, At::kFormOrganiserY},
    };
    for (int line = 0; line < 4; ++line)
        texts.push_back({payer.address[static_cast<size_t>(line)], At::kPayerAddressX,
                         At::kPayerAddressY + line * At::kLineStep});
    texts.push_back({std::string(kroner) + ",00", At::kReceiptAmountX, At::kReceiptAmountY, true});
    texts.push_back({kroner, At::kKronerX, At::kAmountY, true});
    texts.push_back({"00", At::kOreX, At::kAmountY});
    texts.push_back({payer.account, At::kPayerAccountX, At::kPayerAccountY});
    texts.push_back({payer.account, At::kFormPayerAccountX, At::kFormPayerAccountY});
    if (club != nullptr) {
        texts.push_back({Field(club->account, sizeof club->account), At::kPayeeAccountX, At::kPayeeAccountY});
        const std::string payee[4] = {GiroName(Field(club->name, sizeof club->name), rifle),
                                      Field(club->address1, sizeof club->address1),
                                      Field(club->address2, sizeof club->address2),
                                      Field(club->address3, sizeof club->address3)};
        for (int line = 0; line < 4; ++line)
            texts.push_back({payee[line], At::kPayeeX, At::kPayeeY + line * At::kLineStep});
    }
    return texts;
}

void CDataList::MakeBankGiro()
{
    // The payment list keeps its rows for the forms while the flag is up.
    giro = 1;
    MakeCompetitionReport();
    PrintGiroForms();
    paymentRows.clear();
    giro = 0;
}

void CDataList::PrintGiroForms()
{
    const bool rifle = m_comp.orgType == kOrgTypeRifle;
    GiroPayer payer;
    payer.title = ResString(IDS_GIRO_TITLE);
    payer.competition = ::ReadItem(m_comp.Comp(), CompItems::kName) + " " + ::ReadItem(m_comp.Comp(), CompItems::kTitle2);
    payer.organiser = GiroName(::ReadItem(m_comp.User(), UserItems::kOrganiser), rifle);
    for (int line = 1; line <= 4; ++line)
        payer.address[static_cast<size_t>(line - 1)] = ::ReadItem(m_comp.User(), UserItems::Address(line));
    payer.account = ::ReadItem(m_comp.User(), UserItems::kAccount);

    // A club whose shooters won only objects or gifts is owed nothing and
    // gets no form.
    std::vector<const PaymentRow*> owed;
    for (const PaymentRow& row : paymentRows)
        if (row.amount > 0)
            owed.push_back(&row);

    CSheetPrintJob job(ResString(IDS_GIRO_DOCUMENT), static_cast<int>(owed.size()),
                       [&](CSheetPrintJob& sheet, platform::DrawSurface& dc, int page) {
                           const PaymentRow& row = *owed[static_cast<size_t>(page - 1)];
                           ClubRecord club{};
                           const bool registered = row.club != 0 && Clubs().Get(&club, row.club, kClubByKey) == 0;
                           for (const SheetText& text : GiroFormTexts(payer, row.amount, registered ? &club : nullptr, rifle))
                               sheet.Write(dc, text);
                       });
    job.Run(printTarget);
}

}  // namespace results
