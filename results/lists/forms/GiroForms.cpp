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

#include <string>

namespace results {
namespace {


// What is written into a field of the form.
enum class Field {
    Title,
    Competition,
    Organiser,
    PayerAddress1,
    PayerAddress2,
    PayerAddress3,
    PayerAddress4,
    Amount,   // "1250,00"
    Kroner,   // "1250"
    Ore,      // "00"
    PayerAccount,
    PayeeAccount,
    PayeeName,
    PayeeAddress1,
    PayeeAddress2,
    PayeeAddress3,  // postcode and place
};

struct FieldPlace {
    Field field;
    int x;  // 0.1 mm from the sheet's left edge
    int y;  // 0.1 mm from its top edge: where the text's bottom goes
    bool rightAligned;
};

// The form: the receipt part at the top, the giro itself below.
constexpr FieldPlace kGiroForm[] = {
    {Field::Title, 200, 300, false},
    {Field::Title, 100, 2050, false},
    {Field::Competition, 200, 400, false},
    {Field::Competition, 100, 2100, false},
    {Field::Organiser, 200, 500, false},
    {Field::Organiser, 100, 2150, false},
    {Field::PayerAddress1, 150, 2350, false},
    {Field::PayerAddress2, 150, 2400, false},
    {Field::PayerAddress3, 150, 2450, false},
    {Field::PayerAddress4, 150, 2500, false},
    {Field::Amount, 1150, 1900, true},
    {Field::Kroner, 1020, 2750, true},
    {Field::Ore, 1060, 2750, false},
    {Field::PayerAccount, 1300, 1900, false},
    {Field::PayerAccount, 420, 2600, false},
    {Field::PayeeAccount, 1300, 2750, false},
    {Field::PayeeName, 1150, 2350, false},
    {Field::PayeeAddress1, 1150, 2400, false},
    {Field::PayeeAddress2, 1150, 2450, false},
    {Field::PayeeAddress3, 1150, 2500, false},
};

std::string FieldOf(const char* text, size_t size) { return FieldText(text, size); }

}  // namespace

std::string GiroName(const std::string& name, bool rifle)
{
    return rifle && !name.empty() ? name + " skytterlag" : name;
}

std::vector<SheetText> GiroFormTexts(const GiroPayer& payer, int32_t amount, const ClubRecord* club, bool rifle)
{
    const std::string kroner = std::to_string(amount);
    auto textOf = [&](Field field) -> std::string {
        switch (field) {
        case Field::Title:
            return payer.title;
        case Field::Competition:
            return payer.competition;
        case Field::Organiser:
            return payer.organiser;
        case Field::PayerAddress1:
        case Field::PayerAddress2:
        case Field::PayerAddress3:
        case Field::PayerAddress4:
            return payer.address[static_cast<size_t>(field) - static_cast<size_t>(Field::PayerAddress1)];
        case Field::Amount:
            return kroner + ",00";
        case Field::Kroner:
            return kroner;
        case Field::Ore:
            return "00";
        case Field::PayerAccount:
            return payer.account;
        default:
            break;
        }
        // The payee's texts stay empty for a club missing in the register.
        if (club == nullptr)
            return {};
        switch (field) {
        case Field::PayeeAccount:
            return FieldOf(club->account, sizeof club->account);
        case Field::PayeeName:
            return GiroName(FieldOf(club->name, sizeof club->name), rifle);
        case Field::PayeeAddress1:
            return FieldOf(club->address1, sizeof club->address1);
        case Field::PayeeAddress2:
            return FieldOf(club->address2, sizeof club->address2);
        default:
            return FieldOf(club->address3, sizeof club->address3);
        }
    };
    std::vector<SheetText> texts;
    for (const FieldPlace& place : kGiroForm)
        texts.push_back({textOf(place.field), place.x, place.y, place.rightAligned});
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
        const bool registered = row.club != 0 && Clubs().Get(&club, row.club, CDataClub::kClubByKey) == 0;
        for (const SheetText& text : GiroFormTexts(payer, row.amount, registered ? &club : nullptr, rifle))
            sheet.Write(dc, text);
    };
    CSheetPrintJob job(ResString(IDS_GIRO_DOCUMENT), static_cast<int>(owed.size()), drawForm);
    job.Run(printTarget);
}

}  // namespace results
