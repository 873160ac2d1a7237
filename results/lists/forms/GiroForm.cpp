// The pre-printed giro form's fields: what each holds and where it goes.
#include "results/lists/forms/GiroForm.h"

#include "foundation/text/FieldText.h"

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

}  // namespace results
