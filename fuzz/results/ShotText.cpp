// Any bytes as a typed shot: the first byte chooses the series type (0..12)
// and the organisation type, the rest is the text as the result screen or an
// import passes it. Whatever the text, the value stored is a byte, a time's
// hundredths stay below a hundred, the result is 0 or the entry codes, and
// the value's own text is short.
#include "fuzz/FuzzScratch.h"
#include "results/values/ValueSystems.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace results::values;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int type = data[0] % 13;
    const int org = (data[0] & 0x80) ? 3 : (data[0] & 0x40) ? 6 : 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    const int parsed = ParseValue(text);
    Check(parsed >= 0 && parsed <= 1000009);  // ParseValue out of bounds

    const Entry e = EnterShot(text, type, org);
    Check(e.value >= 0 && e.value <= 255);  // stored value is not a byte
    Check(e.hundredths >= 0 && e.hundredths < 100);  // hundredths out of range
    Check(e.hundredths == 0 || type == 9);  // hundredths outside a time series
    const int codes = kEntryBadText | kEntryOutOfRange | kEntryRefused;
    Check(e.result == 0 || (e.result < 0 && (e.result & ~codes) == 0));  // unknown result code
    if (e.result != 0 && e.value != 255)
        Check(CountedValue(type, e.value, true) == 0);  // a refused shot counts

    const std::string shown = FormatShot(type, e.value, e.hundredths, org);
    Check(shown.size() <= 6);  // shot text too long
    Check(ShotText(shown, type, 1).size() <= shown.size());  // list text longer than the shot text
    return 0;
}
