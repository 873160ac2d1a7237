#include "results/values/ValueSystems.h"

#include <algorithm>
#include <cstdio>

namespace results::values {
namespace {

// Shot widths by type, in value mode 1 and 2.
constexpr int kShotWidth[2][kTypeCount] = {
    {2, 2, 1, 1, 2, 2, 2, 3, 1, 5, 0, 2},
    {2, 4, 1, 3, 1, 3, 2, 3, 1, 5, 0, 2},
};

// Large enough for any text below; values are bytes.
std::string Format(const char* format, int a, int b = 0)
{
    char text[48];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The number the text starts with, after blanks; capped so a long run of
// digits cannot overflow.
long LeadingNumber(const std::string& text, size_t& at)
{
    at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    long n = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        n = std::min(n * 10 + (text[at] - '0'), 1000000L);
        ++at;
    }
    return n;
}

long LeadingNumber(const std::string& text)
{
    size_t at;
    return LeadingNumber(text, at);
}

// A time typed as seconds with up to two decimals, in hundredths.
long Hundredths(const std::string& text)
{
    size_t at;
    long n = LeadingNumber(text, at) * 100;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        int scale = 10;
        for (++at; at < text.size() && scale > 0 && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10)
            n += (text[at] - '0') * scale;
    }
    return n;
}

std::string Trim(const std::string& text)
{
    auto cut = [](char c) { return c == ' ' || c == '_' || c == '?'; };
    size_t first = 0, last = text.size();
    while (first < last && cut(text[first]))
        ++first;
    while (last > first && cut(text[last - 1]))
        --last;
    return text.substr(first, std::min<size_t>(last - first, 10));
}

}  // namespace

std::string FormatShot(int type, int v, int h, int orgType)
{
    const int d = v / 10, t = v % 10;
    const bool inner = v >= 110 && v <= 119;
    const bool zeroInner = v >= 120 && v <= 129;
    switch (type) {
    case 0:
        return v < 110 ? Format("%d", d) : inner ? "10*" : zeroInner ? "0*" : "_";
    case 2:
        return v < 100 ? Format("%d", d) : v < 110 ? "X" : inner ? "*" : "_";
    case 3:
        return v < 100 ? Format("%d.%d", d, t) : v < 110 ? Format("X.%d", t) : inner ? Format("*.%d", t) : "_._";
    case 4:
        return v <= 59 ? Format("%d", d) : inner ? "5*" : zeroInner ? "0*" : "_";
    case 5:
        return v <= 59 ? Format("%d.%d", d, t) : inner ? Format("5*%d", t) : zeroInner ? Format("0*%d", t) : "_._";
    case 6:
        return v <= 119 ? Format("%d", d) : "_";
    case 7:
    case 8:
        return v < 7 ? Format("%d", v) : "_";
    case 9:
        return v < 100 ? Format("%d.%02d", (v * 100 + h) / 100, (v * 100 + h) % 100) : "__";
    case 10:
    case 11:
        return v < 100 ? Format("%d", v) : "__";
    default:  // 1 and every unknown type
        if (v < 110)
            return Format("%3d.%d", d, t);
        if (inner)
            return Format(orgType == 6 ? " 10.%d" : " 10*%d", t);
        return "_._";
    }
}

std::string ShotText(const std::string& formatted, int type, int mode)
{
    std::string text = formatted;
    if (mode == 1 && type != 9) {
        if (size_t dot = text.find('.'); dot != std::string::npos)
            text.resize(dot);
        if (size_t star = text.find('*'); star != std::string::npos)
            text.resize(star + 1);
    }
    if (!text.empty() && text[0] == '_')
        text.clear();
    return text;
}

int CountedValue(int type, int v, bool final)
{
    if (v < 0 || v >= kFirstAbsent || type < 0 || type >= kTypeCount)
        return 0;
    if (v < 10 && !IsSpecialType(type))
        return 0;
    const bool inner = v >= 110;
    switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
        return inner ? (final ? v - 10 : 100) : (final ? v : v / 10 * 10);
    case 4:
    case 5:
        if (inner)
            return final ? v - 60 : 50;
        return v <= 59 ? (final ? v : v / 10 * 10) : 0;
    case 6:
        return v / 10 * 10;
    case 7:
    case 8:
        return v <= 6 ? v : 0;
    default:  // 9, 10, 11
        return v < 100 ? v : 0;
    }
}

int ShotWidth(int type, int mode)
{
    if (type < 0 || type >= kTypeCount)
        return 0;
    return kShotWidth[mode == 2 ? 1 : 0][type];
}

int SeriesSum(int type, const int (&cv)[10], int shots)
{
    switch (type) {
    case 7:
        return 1000 * cv[0] + cv[2];
    case 8:
    case 10:
    case 11:
        return 1000 * cv[0];
    case 9:
        return 100 * cv[0] + cv[2];
    default: {
        int sum = 0;
        for (int k = 0; k < std::min(shots, 10); ++k)
            sum += cv[k];
        return sum;
    }
    }
}

int SeriesWidth(int type, int shots, bool final)
{
    switch (type) {
    case 7:
        return 3;
    case 8:
        return 1;
    case 9:
        return 5;
    default: {
        int width = 2;
        for (int tens = shots / 10; tens > 0; tens /= 10)
            ++width;
        return width + (final ? 2 : 0);
    }
    }
}

std::string SeriesSumText(int type, int sum, int kind, bool final, int width)
{
    switch (type) {
    case 7: {
        const int hits = sum / 1000, inner = sum % 1000;
        if (kind == 6)
            return Format("%d", 3 * hits + 2 * inner);
        if (kind == 7)
            return Format("%d", hits + inner);
        return Format("%d/%d", hits, inner);
    }
    case 8:
    case 10:
    case 11:
        return Format("%d", sum / 1000);
    case 9:
        return Format("%d.%02d", sum / 100, sum % 100);
    default:
        if (final)
            return Format("%d.%d", sum / 10, sum % 10);
        return Format(width == 3 ? "%3d" : "%d", sum / 10);
    }
}

int ParseValue(const std::string& text)
{
    if (text.empty())
        return kNoShot;
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '+'))
        ++at;
    int n = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        n = std::min(n * 10 + (text[at] - '0'), 100000);
        ++at;
    }
    n *= 10;
    if (text.size() >= at + 2 && (text[at] == '*' || text[at] == '.')) {
        if (text[at] == '*' && n == 100)
            n = 110;
        const char tenth = text[at + 1];
        if (tenth >= '0' && tenth <= '9')
            n += tenth - '0';
    }
    return n;
}

Entry EnterShot(const std::string& typed, int type, int orgType)
{
    Entry e;
    std::string text = Trim(typed);
    if (text == ".")
        text.clear();
    const bool special = type == 9 || type == 10 || type == 11;
    if (!special && LeadingNumber(text) > 11) {
        e.result = kEntryBadText;
        text = "0";
    }
    std::string work = text;
    if (!work.empty() && (work[0] == 'X' || work[0] == 'x'))
        work = "10" + work.substr(1);
    else if (!work.empty() && work[0] == '*')
        work = "11" + work.substr(1);

    long v;
    if (type == 10 || type == 11) {
        v = LeadingNumber(work);
    } else if (type == 9) {
        const long time = Hundredths(text);
        v = time / 100;
        e.hundredths = static_cast<int>(time % 100);
    } else {
        if (LeadingNumber(work) > 11) {
            e.result = kEntryBadText;
            work = "0";
        }
        v = ParseValue(work);
    }

    if (v >= kFirstAbsent && v <= 254) {
        e.result |= kEntryOutOfRange;
        v = 0;
    }
    if (v > 255)  // a number too large for a byte is not a value either
        v = 0, e.result |= kEntryOutOfRange;
    if (v < 10 && !special)
        v = 0;

    switch (type) {
    case 0:
    case 2:
        v = v / 10 * 10;
        break;
    case 4:
    case 5:
        if (v >= 60 && v <= 109) {
            v = 0;
            e.result = kEntryRefused;
        }
        if (type == 4)
            v = v / 10 * 10;
        break;
    case 7:
    case 8:
        if (v != kNoShot)
            v /= 10;
        if (v != kNoShot && v > (orgType == 3 ? 5 : 6)) {
            v = 0;
            e.result = kEntryRefused;
        }
        break;
    default:
        break;
    }
    if (!IsSpecialType(type) && v < 10)
        v = 0;
    e.value = static_cast<int>(v);
    return e;
}

}  // namespace results::values
