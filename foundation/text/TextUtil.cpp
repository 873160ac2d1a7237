#include "foundation/text/TextUtil.h"

#include "platform/system/Codepage.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// The order of names, lowest first. Each entry is one place in the order and
// holds every byte that sorts there (the two cases of a letter). Controls,
// then blanks, punctuation and symbols, then digits, then the letters A to Z
// with their accented forms right after the plain letter, then Þ, Æ, Ø, Å as
// the Nordic alphabets end. Every byte from 1 to 255 has exactly one place.
constexpr const char* kCollation[] = {
    "\x01", "\x02", "\x03", "\x04", "\x05", "\x06", "\x07", "\x08", "\x09", "\x0A", "\x0B", "\x0C",
    "\x0D", "\x0E", "\x0F", "\x10", "\x11", "\x12", "\x13", "\x14", "\x15", "\x16", "\x17", "\x18",
    "\x19", "\x1A", "\x1B", "\x1C", "\x1D", "\x1E", "\x1F", "\x7F", "\x81", "\x8D", "\x8F", "\x90",
    "\x9D",
    " ", "\xA0", "!", "\xA1", "\"", "#", "$", "%", "&", "'", "(", ")", "*", "+", ",", "-", ".", "/",
    ":", ";", "<", "=", ">", "?", "\xBF", "@", "[", "\\", "]", "^", "_", "`", "{", "|", "}", "~",
    "\x80", "\x82", "\x84", "\x85", "\x86", "\x87", "\x88", "\x89", "\x8B", "\x91", "\x92", "\x93",
    "\x94", "\x95", "\x96", "\x97", "\x98", "\x99", "\x9B",
    "\xA2", "\xA3", "\xA4", "\xA5", "\xA6", "\xA7", "\xA8", "\xA9", "\xAB", "\xAC", "\xAD", "\xAE",
    "\xAF", "\xB0", "\xB1", "\xB4", "\xB5", "\xB6", "\xB7", "\xB8", "\xBB", "\xBC", "\xBD", "\xBE",
    "\xD7", "\xF7",
    "0", "1", "\xB9", "2", "\xB2", "3", "\xB3", "4", "5", "6", "7", "8", "9",
    "Aa", "\xAA", "\xC1\xE1", "\xC0\xE0", "\xC2\xE2", "\xC3\xE3", "\xC4\xE4",
    "Bb",
    "Cc", "\xC7\xE7",
    "Dd", "\xD0\xF0",
    "Ee", "\xC9\xE9", "\xC8\xE8", "\xCA\xEA", "\xCB\xEB",
    "Ff", "\x83",
    "Gg", "Hh",
    "Ii", "\xCD\xED", "\xCC\xEC", "\xCE\xEE", "\xCF\xEF",
    "Jj", "Kk", "Ll", "Mm",
    "Nn", "\xD1\xF1",
    "Oo", "\xBA", "\xD3\xF3", "\xD2\xF2", "\xD4\xF4", "\xD5\xF5", "\xD6\xF6", "\x8C\x9C",
    "Pp", "Qq", "Rr",
    "Ss", "\x8A\x9A", "\xDF",
    "Tt",
    "Uu", "\xDA\xFA", "\xD9\xF9", "\xDB\xFB", "\xDC\xFC",
    "Vv", "Ww", "Xx",
    "Yy", "\xDD\xFD", "\x9F\xFF",
    "Zz", "\x8E\x9E",
    "\xDE\xFE", "\xC6\xE6", "\xD8\xF8", "\xC5\xE5",
};

struct WeightTable {
    std::array<int, 256> weight{};
    constexpr WeightTable()
    {
        int next = 1;
        for (const char* group : kCollation) {
            for (const char* p = group; *p; ++p)
                weight[static_cast<unsigned char>(*p)] = next;
            ++next;
        }
    }
};
constexpr WeightTable kWeights;

// Foreign letters by language: the letter, then what it becomes for "NO",
// "SE", "EN" and any other language.
struct FoldRow {
    unsigned char letter;
    unsigned char no, se, en, other;
};
constexpr FoldRow kFolding[] = {
    {0xC1, 'A', 'A', 'A', 'A'},    {0xE1, 'a', 'a', 'a', 'a'},    // Á á
    {0xC4, 'A', 'E', 'A', 'A'},    {0xE4, 'a', 'e', 'a', 'a'},    // Ä ä
    {0xC9, 'E', 'E', 'E', 0xC9},   {0xE9, 'e', 'e', 'e', 'e'},    // É é
    {0xD6, 0xD8, 0xD8, 'O', 'O'},  {0xF6, 0xF8, 0xF8, 'o', 'o'},  // Ö ö
    {0xDC, 'U', 'U', 'U', 'U'},    {0xFC, 'u', 'u', 'u', 'u'},    // Ü ü
    {0xDF, 's', 's', 's', 's'},                                  // ß
};

// The Norwegian letters and their places in the 7-bit national set.
constexpr std::pair<unsigned char, char> kNational7Bit[] = {
    {0xC6, '['}, {0xD8, '\\'}, {0xC5, ']'}, {0xE6, '{'}, {0xF8, '|'}, {0xE5, '}'},
};

constexpr std::string_view kWordBreaks = " .,-_/:;";
constexpr std::string_view kFileNameBreakers = "\\/\t:;. *?";

bool InSet(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

// Where SplitAt's two parts lie in the text: the first part's length and the
// start of the rest (text.size() when there is none).
void SplitPoints(std::string_view text, std::string_view separators, int maximum, size_t& firstLength,
                 size_t& restStart)
{
    size_t beforeSeparator = text.find_first_of(separators);
    if (beforeSeparator == std::string_view::npos)
        beforeSeparator = text.size();
    size_t limit = maximum < 0 ? 0 : static_cast<size_t>(maximum);
    firstLength = std::min(limit, beforeSeparator);
    restStart = text.size();
    if (firstLength + 1 < text.size()) {
        // A part cut at the maximum leaves its remaining characters to the
        // rest instead of dropping one of them.
        size_t p = firstLength;
        while (p < text.size() && InSet(separators, text[p]))
            ++p;
        restStart = p;
    }
}

void CopyBounded(char* out, size_t size, std::string_view text)
{
    if (!out || size == 0)
        return;
    size_t n = std::min(size - 1, text.size());
    std::memmove(out, text.data(), n);
    out[n] = '\0';
}

// A selection sort that carries a parallel list along, for the short lists
// the sorts are given: before(a, b) is true when a goes ahead of b. The
// parallel list may be shorter; its entries past the end stay where they are.
template <typename T, typename Before>
void SortWithParallel(std::vector<T>& items, std::vector<uint32_t>& parallel, Before before)
{
    for (size_t i = 0; i < items.size(); ++i) {
        size_t best = i;
        for (size_t j = i + 1; j < items.size(); ++j)
            if (before(items[j], items[best]))
                best = j;
        if (best == i)
            continue;
        std::swap(items[i], items[best]);
        if (best < parallel.size())
            std::swap(parallel[i], parallel[best]);
    }
}

}  // namespace

int CTextUtil::CollationWeight(unsigned char c) { return kWeights.weight[c]; }

void CTextUtil::SortDWords(std::vector<uint32_t>& values, std::vector<uint32_t>& parallel, bool descending)
{
    SortWithParallel(values, parallel, [&](uint32_t a, uint32_t b) { return descending ? a > b : a < b; });
}

int CTextUtil::CompareNoCase(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int wa = kWeights.weight[static_cast<unsigned char>(a[i])];
        int wb = kWeights.weight[static_cast<unsigned char>(b[i])];
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CTextUtil::ParseScaled(std::string_view text, int decimals)
{
    size_t p = 0;
    while (p < text.size() && (text[p] == ' ' || text[p] == '+'))
        ++p;
    bool negative = p < text.size() && text[p] == '-';
    while (p < text.size() && (text[p] == ' ' || text[p] == '+' || text[p] == '-'))
        ++p;

    // Saturate instead of overflowing: a field of forty digits gives the
    // largest number, not garbage.
    constexpr int64_t kLimit = INT_MAX;
    int64_t value = 0;
    for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p)
        value = std::min(kLimit, value * 10 + (text[p] - '0'));
    int places = std::max(0, std::min(decimals, 10));
    for (int i = 0; i < places; ++i)
        value = std::min(kLimit, value * 10);

    if (p < text.size() && (text[p] == ',' || text[p] == '.') && places > 0) {
        ++p;
        int64_t fraction = 0;
        int taken = 0;
        for (; taken < places && p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p, ++taken)
            fraction = fraction * 10 + (text[p] - '0');
        for (; taken < places; ++taken)
            fraction *= 10;
        value = std::min(kLimit, value + fraction);
    }
    return static_cast<int>(negative ? -value : value);
}

std::string& CTextUtil::SplitAt(std::string_view text, std::string& first, std::string& rest,
                                std::string_view separators, int maximum)
{
    size_t firstLength = 0, restStart = 0;
    SplitPoints(text, separators, maximum, firstLength, restStart);
    std::string head(text.substr(0, firstLength));
    std::string tail(text.substr(restStart));  // copied first: text may be rest
    first = std::move(head);
    rest = std::move(tail);
    return first;
}

char* CTextUtil::SplitAt(const char* text, char* first, size_t firstSize, char* rest, size_t restSize,
                         const char* separators, int maximum)
{
    std::string_view t = text ? std::string_view(text) : std::string_view();
    size_t firstLength = 0, restStart = 0;
    SplitPoints(t, separators ? separators : "", maximum, firstLength, restStart);
    std::string tail(t.substr(restStart));
    CopyBounded(first, firstSize, t.substr(0, firstLength));
    CopyBounded(rest, restSize, tail);
    return first;
}

std::string& CTextUtil::Trim(std::string& text, std::string_view chars, uint16_t maxLength)
{
    size_t begin = text.find_first_not_of(chars);
    if (begin == std::string::npos) {
        text.clear();
        return text;
    }
    size_t end = text.find_last_not_of(chars);
    text = text.substr(begin, end - begin + 1);
    if (text.size() > maxLength)
        text.resize(maxLength);
    return text;
}

std::string& CTextUtil::FoldLetters(std::string& text, std::string_view language)
{
    int column = language == "NO" ? 0 : language == "SE" ? 1 : language == "EN" ? 2 : 3;
    for (char& c : text) {
        for (const FoldRow& row : kFolding) {
            if (static_cast<unsigned char>(c) != row.letter)
                continue;
            const unsigned char to[] = {row.no, row.se, row.en, row.other};
            c = static_cast<char>(to[column]);
            break;
        }
    }
    return text;
}

std::string& CTextUtil::RemoveChars(std::string& text, std::string_view chars)
{
    std::erase_if(text, [&](char c) { return InSet(chars, c); });
    return text;
}

std::string& CTextUtil::FormatTime(std::string& out, int count, int unitsPerSecond, std::string_view separator)
{
    // A count of units without a unit size is taken as seconds.
    int units = unitsPerSecond > 0 ? unitsPerSecond : 1;
    int seconds = count / units;
    int hours = seconds / 3600;
    if (hours > 24)
        hours = (hours - 1) % 24 + 1;
    int minutes = (seconds / 60) % 60;
    int secs = seconds % 60;

    std::string sep(separator);
    char fraction[32] = "";
    if (units == 10)
        std::snprintf(fraction, sizeof fraction, "%s%d", sep.c_str(), count % 10);
    else if (units == 100)
        std::snprintf(fraction, sizeof fraction, "%s%02d", sep.c_str(), count % 100);
    else if (units == 1000)
        std::snprintf(fraction, sizeof fraction, "%s%03d", sep.c_str(), count % 1000);

    char buffer[64];
    if (hours)
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d%s", hours, minutes, secs, fraction);
    else if (minutes)
        std::snprintf(buffer, sizeof buffer, "%02d:%02d%s", minutes, secs, fraction);
    else
        std::snprintf(buffer, sizeof buffer, "%02d%s", secs, fraction);
    out = buffer;
    return out;
}

int CTextUtil::IntToBytes(uint32_t value, unsigned char* buffer, size_t bufferSize, int n)
{
    size_t count = static_cast<size_t>(static_cast<unsigned>(n) % 256);
    if (!buffer)
        return 0;
    count = std::min(count, bufferSize);
    for (size_t i = 0; i < count; ++i)
        buffer[i] = i < 4 ? static_cast<unsigned char>(value >> (8 * i)) : 0;
    return static_cast<int>(count);
}

void CTextUtil::SortStrings(std::vector<Text32>& texts, std::vector<uint32_t>& parallel, bool descending)
{
    // Equal names keep their order (lists of clubs and persons show them as
    // they were entered), so the chosen element moves ahead of the others
    // instead of trading places with the element at i.
    auto view = [](const Text32& t) { return std::string_view(t.data(), strnlen(t.data(), t.size())); };
    for (size_t i = 0; i < texts.size(); ++i) {
        size_t best = i;
        for (size_t j = i + 1; j < texts.size(); ++j) {
            int c = CompareNoCase(view(texts[j]), view(texts[best]));
            if (descending ? c > 0 : c < 0)
                best = j;
        }
        if (best == i)
            continue;
        std::rotate(texts.begin() + static_cast<ptrdiff_t>(i), texts.begin() + static_cast<ptrdiff_t>(best),
                    texts.begin() + static_cast<ptrdiff_t>(best) + 1);
        if (best < parallel.size())
            std::rotate(parallel.begin() + static_cast<ptrdiff_t>(i), parallel.begin() + static_cast<ptrdiff_t>(best),
                        parallel.begin() + static_cast<ptrdiff_t>(best) + 1);
    }
}

int CTextUtil::FindSorted(const std::vector<uint32_t>& values, uint32_t value)
{
    int64_t low = 0, high = static_cast<int64_t>(values.size()) - 1;
    while (low <= high) {
        int64_t middle = (low + high) / 2;
        uint32_t v = values[static_cast<size_t>(middle)];
        if (v == value)
            return static_cast<int>(middle);
        if (v < value)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return -1;
}

int CTextUtil::ContainsName(std::string_view name, std::string_view text)
{
    for (size_t start = 0; start < text.size(); ++start)
        if (CompareNoCase(text.substr(start, name.size()), name) == 0)
            return 1;
    return 0;
}

std::string& CTextUtil::PadRight(std::string& text, char fill, int length)
{
    size_t want = length < 0 ? 0 : static_cast<size_t>(length);
    if (text.size() < want)
        text.append(want - text.size(), fill);
    text.resize(want);
    return text;
}

std::string& CTextUtil::ToNational7Bit(std::string& text)
{
    for (char& c : text)
        for (const auto& [letter, national] : kNational7Bit)
            if (static_cast<unsigned char>(c) == letter)
                c = national;
    return text;
}

std::string& CTextUtil::CapitalizeWords(std::string& text)
{
    bool wordStart = true;
    for (char& c : text) {
        if (InSet(kWordBreaks, c)) {
            wordStart = true;
        } else if (wordStart) {
            c = static_cast<char>(platform::Upper1252(static_cast<unsigned char>(c)));
            wordStart = false;
        }
    }
    return text;
}

int CTextUtil::CompareNames(std::string_view first, std::string_view second)
{
    auto clean = [](std::string_view name) {
        std::string s(name.substr(0, 31));
        Trim(s, " ", 32);
        CollapseDoubles(s, " ");
        return s;
    };
    return CompareNoCase(clean(first), clean(second));
}

std::string& CTextUtil::CollapseDoubles(std::string& text, std::string_view set)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (out.empty() || out.back() != c || !InSet(set, c))
            out += c;
    text = std::move(out);
    return text;
}

std::string& CTextUtil::SafeFileName(std::string& text)
{
    for (char& c : text)
        if (InSet(kFileNameBreakers, c))
            c = '_';
    return text;
}
