#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Codepage, HighControlsAreNotLatin1)
{
    struct Case { unsigned char byte; const char* utf8; };
    const Case cases[] = {
        {0x80, "\u20AC"}, {0x8A, "\u0160"}, {0x91, "\u2018"}, {0x96, "\u2013"},
        {0x9F, "\u0178"}, {0xC5, "\u00C5"}, {0xD8, "\u00D8"}, {0xE6, "\u00E6"},
        {'A', "A"},
    };
    for (const Case& c : cases) {
        std::string one(1, static_cast<char>(c.byte));
        EXPECT_EQ(Cp1252ToUtf8(one), c.utf8) << int(c.byte);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), one) << int(c.byte);
    }
}

TEST(Codepage, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Codepage, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1252("a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToCp1252("\xFF"), "?");
    EXPECT_EQ(Ansi("Påmelding"), "P\xE5melding");
}

TEST(Codepage, CaseOfWesternLetters)
{
    EXPECT_EQ(Upper1252(0xE5), 0xC5);  // å
    EXPECT_EQ(Upper1252(0xF8), 0xD8);  // ø
    EXPECT_EQ(Upper1252(0xF7), 0xF7);  // ÷ is no letter
    EXPECT_EQ(Upper1252(0xDF), 0xDF);  // ß has no capital
    EXPECT_EQ(Lower1252(0xC6), 0xE6);
    EXPECT_EQ(Lower1252(0x8A), 0x9A);
    EXPECT_EQ(Upper1252('1'), '1');
}
