// Any bytes as a KME system's result file. No field holds a separator or a
// line end, and every shot character is a value the cards take.
#include "fuzz/FuzzScratch.h"
#include "results/exchange/LineFormats.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace results;
    using fuzz::Check;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bool unfinished = false;
    size_t fields = 0;
    for (const auto& line : SplitKmeLines(bytes, &unfinished)) {
        Check(!line.empty());
        for (const std::string& field : line) {
            Check(field.find_first_of(";\r\n") == std::string::npos);
            fields += field.size();
            for (char c : field) {
                const int v = KmeShotValue(c);
                Check(v == 0 || v == 100 || v == 110 || (v % 10 == 0 && v >= 10 && v <= 90));
            }
        }
        long n;
        if (line.size() > kKmeRelay && KmeNumber(line[kKmeRelay], n))
            Check(n > -1000000000L && n < 1000000000L);
    }
    Check(fields <= size);
    // A file that ends with its line end leaves nothing unread.
    if (size > 0 && (bytes.back() == '\n' || bytes.back() == '\r'))
        Check(!unfinished);
    return 0;
}
