#pragma once
// The texts of one pre-printed A4 bank giro form: the organiser pays a club
// its prize money. Where each text goes is fixed by the form.
#include "results/lists/forms/SheetPrint.h"
#include "results/registers/RegisterRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace results {

// What every form of a competition says of the payer. Windows-1252.
struct GiroPayer {
    std::string title;        // "Stevneoppgjør"
    std::string competition;  // the competition's name and date
    std::string organiser;    // the organiser as it is printed
    std::array<std::string, 4> address;
    std::string account;
};

// The texts of the form paying amount (whole kroner) to club; club is null
// for a club missing in the register, whose payee texts stay empty. rifle:
// organisation type 1, whose clubs are "skytterlag".
std::vector<SheetText> GiroFormTexts(const GiroPayer& payer, int32_t amount, const ClubRecord* club, bool rifle);

// The organiser's or a club's name as the form prints it.
std::string GiroName(const std::string& name, bool rifle);

}  // namespace results
