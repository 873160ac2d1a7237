#include "range/dialogs/ManualValue.h"

#include "foundation/text/TextUtil.h"

#include <cstdio>

namespace {

constexpr int kLowest = 100;
constexpr int kHighest = 1199;
constexpr int kInnerTen = 1100;
constexpr int kTen = 1000;
constexpr size_t kLongest = 31;

int Number(std::string_view text, int decimals) { return CTextUtil::ParseScaled(text, decimals); }

// The rest of a text from a position on; empty when the text is shorter.
std::string_view From(std::string_view text, size_t position)
{
    return position < text.size() ? text.substr(position) : std::string_view();
}

int ParseTrimmed(std::string text)
{
    if (text.empty())
        return 0;
    if (text[0] == '*') {
        // "*10.5": a star, then the ten written out, then the decimals.
        if (text.size() > 1 && text[1] == '1') {
            if (text.size() > 2)
                text[2] = '0';
            return kInnerTen + Number(From(text, 3), 2);
        }
        // "*" or "*.5"; a whole ten or more after the star is the inner ten itself.
        if (Number(From(text, 1), 1) >= 10)
            return kInnerTen;
        return kInnerTen + Number(From(text, 1), 2);
    }
    if (text[0] == 'X' || text[0] == 'x')
        return kTen + Number(From(text, 1), 2);
    if (text.starts_with("10*")) {
        text[2] = '.';
        return 100 + Number(text, 2);
    }
    if (text.back() == '*')
        return 100 + Number(text, 2);
    return Number(text, 2);
}

}  // namespace

std::string ManualValueText(uint16_t value)
{
    // Two decimals always: "9.5" would read back as 950, not 905.
    char text[16];
    if (value < kInnerTen)
        std::snprintf(text, sizeof text, "%d.%02d", value / 100, value % 100);
    else
        std::snprintf(text, sizeof text, "*.%02d", value % 100);
    return text;
}

uint16_t ParseManualValue(std::string_view typed)
{
    if (typed.empty() || typed.size() > kLongest)
        return 0;
    std::string text(typed);
    CTextUtil::Trim(text, " ", static_cast<uint16_t>(kLongest));
    int value = ParseTrimmed(text);
    if (value < kLowest || value > kHighest)
        return 0;
    return static_cast<uint16_t>(value);
}
