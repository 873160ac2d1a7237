// Any bytes as a competition folder's name and the items of its Comp.Bvc,
// made into the chooser's competition number and item text. A name the
// range control does not make is no competition; the text always begins
// with the number.
#include "remote/settings/EventChooser.h"

#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Fields separated by NUL bytes: entry, date, name, prefix, description.
    std::vector<std::string> fields(5);
    size_t f = 0;
    for (size_t i = 0; i < size && f < fields.size(); ++i) {
        if (data[i] == 0)
            ++f;
        else if (fields[f].size() < 91)  // what the store holds at most
            fields[f] += static_cast<char>(data[i]);
    }
    int n = EventChooser::CompetitionNumber(fields[0]);
    fuzz::Check(n >= 0);
    if (n > 0)
        fuzz::Check(fields[0].size() < 15);
    std::string text = EventChooser::CompetitionText(n, fields[1], fields[2], fields[3], fields[4]);
    char number[16];
    std::snprintf(number, sizeof number, "%02d:", n);
    fuzz::Check(text.rfind(number, 0) == 0);
    return 0;
}
