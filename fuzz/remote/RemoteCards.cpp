// Any bytes as a card, its name and shots, and a second competition's shots
// put in front, filled the way the print page fills them, and a name
// record's row texts and typed edits as the name page shows and stores
// them. A card never holds more than its 250 entries, its series slots
// stay 1..39, and a class never runs into the field after it.
#include "remote/names/NameList.h"

#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzScratch.h"
#include "foundation/cards/CardFill.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

using fuzz::Take;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CProgramStore programs;
    static CTargetTypes types;

    uint8_t flags = 0;
    CardRecord card;
    NameRecord name;
    static ShotListRecord own, front;
    size_t at = Take(data, size, 0, flags);
    at = Take(data, size, at, card);
    at = Take(data, size, at, name);
    at = Take(data, size, at, own);
    at = Take(data, size, at, front);

    CardFill::Options options;
    options.names = flags & 1;
    options.practice = flags & 2;
    options.trueSize = flags & 4;
    options.startScore = flags & 8;
    options.equipment = (flags >> 4) & 3;
    static PrintCard out;
    out = PrintCard{};
    ShotListRecord none;
    CDataComp::ClearShots(none);
    CardFill::Fill(card, &name, none, programs, types, options, out);
    CardFill::Options frontOptions = options;
    frontOptions.storedOrder = true;
    frontOptions.slotLimit = 10;
    CardFill::FillSeries(card, front, programs, types, frontOptions, out);
    CardFill::FillSeries(card, own, programs, types, options, out);
    fuzz::Check(out.totalShots >= 0 && out.totalShots <= PrintCard::kShots);
    for (int i = 0; i < PrintCard::kShots; ++i)
        fuzz::Check(out.shots[i].series <= PrintCard::kLastSeries);

    for (int column = 0; column < NameList::kColumns; ++column)
        NameList::Text(name, column);
    std::string typed(reinterpret_cast<const char*>(data), std::min<size_t>(size, 64));
    NameRecord edited = name;
    int column = 1 + flags % 5;
    NameList::Apply(edited, column, typed);
    fuzz::Check(std::memcmp(&edited.startNumber, &name.startNumber, sizeof name.startNumber) == 0);
    if (column == 3)
        fuzz::Check(std::memcmp(edited.category, name.category, sizeof name.category) == 0 &&
                    edited.cls[sizeof edited.cls - 1] == '\0');
    return 0;
}
