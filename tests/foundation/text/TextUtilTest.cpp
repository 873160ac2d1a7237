#include "foundation/text/TextUtil.h"
#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

using platform::Ansi;

TEST(TextUtilCompare, NamesSortInTheFixedNordicOrder)
{
    struct Case { std::string a, b; int expected; };
    const Case cases[] = {
        {"abc", "ABC", 0},
        {"abc", "abd", -1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"", "a", -1},
        {" ", "0", -1},              // blanks and signs before digits
        {"9", "a", -1},              // digits before letters
        {"Zahl", Ansi("Ærø"), -1},   // Æ Ø Å after Z
        {Ansi("Æ"), Ansi("Ø"), -1},
        {Ansi("Ø"), Ansi("Å"), -1},
        {Ansi("Åse"), "Zorro", 1},
        {Ansi("å"), Ansi("Å"), 0},
        {Ansi("ærlig"), Ansi("ÆRLIG"), 0},
        {Ansi("é"), "e", 1},         // accented letters right after their base letter
        {Ansi("é"), "f", -1},
        {Ansi("É"), Ansi("é"), 0},
        {Ansi("Öberg"), "Olsen", 1},
        {Ansi("Öberg"), "Pettersen", -1},
        {Ansi("Müller"), "Mz", -1},
        {Ansi("Ødegård"), Ansi("Åsheim"), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CTextUtil::CompareNoCase(c.a, c.b), c.expected) << c.a << " / " << c.b;
        EXPECT_EQ(CTextUtil::CompareNoCase(c.b, c.a), -c.expected) << c.b << " / " << c.a;
    }
}

TEST(TextUtilCompare, EveryByteHasOnePlaceSharedOnlyWithItsOtherCase)
{
    // A total order is what keeps binary searches over sorted files valid on
    // every computer: no byte without a place, no two letters on one place.
    std::set<int> places;
    for (int c = 1; c < 256; ++c) {
        int w = CTextUtil::CollationWeight(static_cast<unsigned char>(c));
        ASSERT_GT(w, 0) << "byte " << c << " has no place";
        places.insert(w);
        unsigned char upper = platform::Upper1252(static_cast<unsigned char>(c));
        EXPECT_EQ(w, CTextUtil::CollationWeight(upper)) << "byte " << c;
    }
    for (int a = 1; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b) {
            bool samePlace = CTextUtil::CollationWeight(static_cast<unsigned char>(a)) ==
                             CTextUtil::CollationWeight(static_cast<unsigned char>(b));
            bool sameLetter = platform::Upper1252(static_cast<unsigned char>(a)) ==
                                  platform::Upper1252(static_cast<unsigned char>(b)) ||
                              (a == 0x9F && b == 0xFF);  // Ÿ ÿ
            EXPECT_EQ(samePlace, sameLetter) << a << " " << b;
        }
    EXPECT_GT(places.size(), 150u);
}

TEST(TextUtilCompare, SortingWithItIsAStrictWeakOrder)
{
    std::vector<std::string> names = {Ansi("Åsheim"), "aasen", Ansi("Ødegård"), "Olsen", Ansi("Öberg"),
                                      "zeta", "Zeta", Ansi("Ærø"), "eek", Ansi("Éric"), "ezra", "",
                                      "10", "9", " x", "x", "X-ray", "xavier"};
    auto less = [](const std::string& a, const std::string& b) { return CTextUtil::CompareNoCase(a, b) < 0; };
    std::sort(names.begin(), names.end(), less);
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t j = i + 1; j < names.size(); ++j)
            EXPECT_LE(CTextUtil::CompareNoCase(names[i], names[j]), 0) << names[i] << " / " << names[j];
    EXPECT_EQ(names.back(), Ansi("Åsheim"));
}

TEST(TextUtilCompare, CompareNamesIgnoresBlanksAtTheEndsAndDoubledInside)
{
    EXPECT_EQ(CTextUtil::CompareNames("  ola   nordmann ", "Ola Nordmann"), 0);
    EXPECT_EQ(CTextUtil::CompareNames("Ola", "Olav"), -1);
    EXPECT_EQ(CTextUtil::CompareNames("Olav", "Ola"), 1);
    EXPECT_EQ(CTextUtil::ContainsName("ola", "Kari OLA Nordmann"), 1);
    EXPECT_EQ(CTextUtil::ContainsName(Ansi("ål"), Ansi("Skåla ÅLESUND")), 1);
    EXPECT_EQ(CTextUtil::ContainsName("olav", "Kari Ola"), 0);
    EXPECT_EQ(CTextUtil::ContainsName("a", ""), 0);
}

TEST(TextUtilSort, SortDWordsIsUnsignedAndMovesTheParallelArray)
{
    std::vector<uint32_t> values = {5, 0xFFFFFFFFu, 1, 5, 0};
    std::vector<uint32_t> rows = {10, 20, 30, 40, 50};
    CTextUtil::SortDWords(values, rows, false);
    EXPECT_EQ(values, (std::vector<uint32_t>{0, 1, 5, 5, 0xFFFFFFFFu}));
    // Each pass takes the first of equal values; the swaps of a selection
    // sort may still reorder equal values, as they always have.
    EXPECT_EQ(rows, (std::vector<uint32_t>{50, 30, 40, 10, 20}));
    CTextUtil::SortDWords(values, rows, true);
    EXPECT_EQ(values, (std::vector<uint32_t>{0xFFFFFFFFu, 5, 5, 1, 0}));
    EXPECT_EQ(rows.front(), 20u);
    std::vector<uint32_t> shortParallel = {1};
    CTextUtil::SortDWords(values, shortParallel, false);  // a short parallel array is not overrun
    EXPECT_EQ(values.front(), 0u);
}

TEST(TextUtilSort, SortStringsKeepsEqualNamesInOrder)
{
    auto make = [](std::initializer_list<const char*> texts) {
        std::vector<CTextUtil::Text32> out;
        for (const char* t : texts) {
            CTextUtil::Text32 e{};
            std::strncpy(e.data(), t, e.size() - 1);
            out.push_back(e);
        }
        return out;
    };
    auto names = [](const std::vector<CTextUtil::Text32>& v) {
        std::vector<std::string> out;
        for (const auto& e : v)
            out.emplace_back(e.data());
        return out;
    };
    auto texts = make({"beta", "Alfa", "alfa"});
    std::vector<uint32_t> rows = {1, 2, 3};
    CTextUtil::SortStrings(texts, rows, false);
    EXPECT_EQ(names(texts), (std::vector<std::string>{"Alfa", "alfa", "beta"}));
    EXPECT_EQ(rows, (std::vector<uint32_t>{2, 3, 1}));

    texts = make({"beta", "Alfa", "alfa"});
    rows = {1, 2, 3};
    CTextUtil::SortStrings(texts, rows, true);
    EXPECT_EQ(names(texts), (std::vector<std::string>{"beta", "Alfa", "alfa"}));
    EXPECT_EQ(rows, (std::vector<uint32_t>{1, 2, 3}));

    // A swap would carry b1 behind b2 when a moves to the front.
    texts = make({"b", "B", "a"});
    rows = {1, 2, 3};
    CTextUtil::SortStrings(texts, rows, false);
    EXPECT_EQ(names(texts), (std::vector<std::string>{"a", "b", "B"}));
    EXPECT_EQ(rows, (std::vector<uint32_t>{3, 1, 2}));

    // An element filled to its last byte is read no further than its 32 bytes.
    texts = make({"b", "a"});
    std::memset(texts[0].data(), 'z', 32);
    CTextUtil::SortStrings(texts, rows, false);
    EXPECT_EQ(texts[0][0], 'a');
}

TEST(TextUtilSort, FindSortedSearchesUnsignedValues)
{
    const std::vector<uint32_t> values = {1, 7, 9, 0x80000000u, 0xFFFFFFFFu};
    struct Case { uint32_t value; int index; };
    for (const Case& c : {Case{1, 0}, Case{9, 2}, Case{0x80000000u, 3}, Case{0xFFFFFFFFu, 4}, Case{8, -1}, Case{0, -1}})
        EXPECT_EQ(CTextUtil::FindSorted(values, c.value), c.index) << c.value;
    EXPECT_EQ(CTextUtil::FindSorted({}, 1), -1);
}

TEST(TextUtilNumbers, ParseScaled)
{
    struct Case { const char* text; int decimals; int expected; };
    const Case cases[] = {
        {"-12,5", 2, -1250}, {" +3.14159", 2, 314}, {"7", 3, 7000}, {",5", 1, 5},
        {"abc", 2, 0},       {"", 2, 0},            {"12.999", 0, 12}, {"- 4.5", 1, -45},
        {"3.", 2, 300},      {"12abc", 1, 120},     {"99999999999999999999", 0, 2147483647},
        {"5", -1, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTextUtil::ParseScaled(c.text, c.decimals), c.expected) << c.text << " " << c.decimals;
}

TEST(TextUtilNumbers, FormatTime)
{
    struct Case { int count, units; const char* sep; const char* expected; };
    const Case cases[] = {
        {37254, 10, ".", "01:02:05.4"},
        {25 * 3600, 1, ".", "01:00:00"},
        {24 * 3600, 1, ".", "24:00:00"},
        {48 * 3600, 1, ".", "24:00:00"},
        {6507, 100, ",", "01:05,07"},
        {5000, 1000, ".", "05.000"},
        {59, 1, ".", "59"},
        {59, 0, ".", "59"},  // no unit size: seconds, and no division by zero
    };
    for (const Case& c : cases) {
        std::string out = "old";
        EXPECT_EQ(CTextUtil::FormatTime(out, c.count, c.units, c.sep), c.expected) << c.count;
    }
}

TEST(TextUtilNumbers, IntToBytesStaysInItsBuffer)
{
    unsigned char buffer[8];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(CTextUtil::IntToBytes(772, buffer, sizeof buffer, 2), 2);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[1], 3);
    EXPECT_EQ(buffer[2], 0xEE);
    EXPECT_EQ(CTextUtil::IntToBytes(772, buffer, sizeof buffer, 0), 0);
    EXPECT_EQ(CTextUtil::IntToBytes(772, buffer, sizeof buffer, 258), 2);  // n modulo 256

    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(CTextUtil::IntToBytes(0x11223344, buffer, 6, 8), 6);
    const unsigned char expected[] = {0x44, 0x33, 0x22, 0x11, 0, 0, 0xEE, 0xEE};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof expected));
}

TEST(TextUtilText, SplitAt)
{
    struct Case { const char* text; const char* seps; int max; const char* first; const char* rest; };
    const Case cases[] = {
        {"abc  def", " ", 30, "abc", "def"},
        {"abc;;;d;e", ";", 30, "abc", "d;e"},
        {"abc;", ";", 30, "abc", ""},
        {"abc", ";", 30, "abc", ""},
        {"", ";", 30, "", ""},
        {";abc", ";", 30, "", "abc"},
        {"abcdef;x", ";", 3, "abc", "def;x"},  // a cut part leaves the rest of its characters
        {"a b,c", " ,", 30, "a", "b,c"},
    };
    for (const Case& c : cases) {
        std::string first = "old", rest = "old";
        CTextUtil::SplitAt(c.text, first, rest, c.seps, c.max);
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(rest, c.rest) << c.text;

        char f[40], r[40];
        std::memset(f, 'x', sizeof f);
        std::memset(r, 'x', sizeof r);
        EXPECT_EQ(CTextUtil::SplitAt(c.text, f, sizeof f, r, sizeof r, c.seps, c.max), f);
        EXPECT_STREQ(f, c.first) << c.text;
        EXPECT_STREQ(r, c.rest) << c.text;
    }
}

TEST(TextUtilText, SplitAtNeverWritesPastItsBuffers)
{
    struct Guarded {
        char buffer[4];
        char guard[4] = {'G', 'G', 'G', 'G'};
    } first, rest;
    CTextUtil::SplitAt("abcdefgh ijklmnop", first.buffer, sizeof first.buffer, rest.buffer, sizeof rest.buffer,
                       " ", 30);
    EXPECT_STREQ(first.buffer, "abc");
    EXPECT_STREQ(rest.buffer, "ijk");
    EXPECT_EQ(std::string(first.guard, 4), "GGGG");
    EXPECT_EQ(std::string(rest.guard, 4), "GGGG");

    // The rest may be the text's own buffer, as when a line is eaten field by field.
    char line[32] = "12;Ola;Nordmann";
    char field[32];
    CTextUtil::SplitAt(line, field, sizeof field, line, sizeof line, ";", 30);
    EXPECT_STREQ(field, "12");
    EXPECT_STREQ(line, "Ola;Nordmann");
    std::string text = "a b c", part;
    CTextUtil::SplitAt(text, part, text, " ", 30);
    EXPECT_EQ(part, "a");
    EXPECT_EQ(text, "b c");
}

TEST(TextUtilText, TrimRemoveAndCollapse)
{
    std::string s = "  ..abc..  ";
    EXPECT_EQ(CTextUtil::Trim(s, " .", 100), "abc");
    s = " ... ";
    EXPECT_EQ(CTextUtil::Trim(s, " .", 100), "");
    s = "  abcdef ";
    EXPECT_EQ(CTextUtil::Trim(s, " ", 3), "abc");
    s = "a-b c-d";
    EXPECT_EQ(CTextUtil::RemoveChars(s, "- "), "abcd");
    s = "a   b";
    EXPECT_EQ(CTextUtil::CollapseDoubles(s, " "), "a b");
    s = "a..--.b  c";
    EXPECT_EQ(CTextUtil::CollapseDoubles(s, ".-"), "a.-.b  c");
    s = "ab";
    EXPECT_EQ(CTextUtil::PadRight(s, '.', 5), "ab...");
    s = "ABCDEFG";
    EXPECT_EQ(CTextUtil::PadRight(s, '.', 5), "ABCDE");
}

TEST(TextUtilText, LettersForLanguagesAndOldPrinters)
{
    struct Case { const char* language; const char* in; const char* out; };
    const Case cases[] = {
        {"NO", "ÁáÄäÉéÖöÜüß", "AaAaEeØøUus"},
        {"SE", "ÁáÄäÉéÖöÜüß", "AaEeEeØøUus"},
        {"EN", "ÁáÄäÉéÖöÜüß", "AaAaEeOoUus"},
        {"DE", "ÁáÄäÉéÖöÜüß", "AaAaÉeOoUus"},
        {"no", "Ä", "A"},  // not "NO": the codes are exact
    };
    for (const Case& c : cases) {
        std::string s = Ansi(c.in);
        EXPECT_EQ(CTextUtil::FoldLetters(s, c.language), Ansi(c.out)) << c.language;
    }
    std::string s = Ansi("ÆØÅæøå!");
    EXPECT_EQ(CTextUtil::ToNational7Bit(s), "[\\]{|}!");
}

TEST(TextUtilText, CapitalizeWordsAndSafeFileNames)
{
    struct Case { const char* in; const char* out; };
    for (const Case& c : {Case{"ola-kari o'neil", "Ola-Kari O'neil"}, Case{"ÆRLIG OG REDELIG", "ÆRLIG OG REDELIG"},
                          Case{"ærlig ål/øy", "Ærlig Ål/Øy"}, Case{"1st mcDonald", "1st McDonald"}}) {
        std::string s = Ansi(c.in);
        EXPECT_EQ(CTextUtil::CapitalizeWords(s), Ansi(c.out)) << c.in;
    }
    std::string name = "Lag 1/2: Finale.htm";
    EXPECT_EQ(CTextUtil::SafeFileName(name), "Lag_1_2__Finale_htm");
    name = "a\\b\tc;d*e?f";
    EXPECT_EQ(CTextUtil::SafeFileName(name), "a_b_c_d_e_f");
}
