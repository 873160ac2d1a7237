// The manual shot's value as text and back: the short forms a range officer
// types, the limits of the value codes, and every value read back as itself.
#include "range/dialogs/ManualValue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ManualValue, TypedTexts)
{
    struct Case {
        std::string text;
        int value;
    };
    const Case cases[] = {
        {"9.5", 950},
        {"X.5", 1050},
        {"x.5", 1050},
        {"*.5", 1150},
        {"*10", 1100},
        {"10*", 1100},
        {"12", 0},   // above the highest code
        {"0.5", 0},  // below the lowest
        {"9,75", 975},
        {"  9.5  ", 950},
        {"10.9", 1090},
        {"*10.3", 1130},
        {"*9", 1100},  // a whole ring after the star is the inner ten itself
        {"9.5*", 1050},
        {"10*3", 1130},
        // Short star forms end where the text ends.
        {"*1", 1100},
        {"*", 1100},
        {"X", 1000},
        {"", 0},
        {"abc", 0},
        {"-9", 0},
        // 31 characters are read; 32 or more are no value.
        {std::string(27, ' ') + "9.51", 951},
        {std::string(28, ' ') + "9.51", 0},
        {"9.5" + std::string(28, ' '), 950},
        {"9.5" + std::string(29, ' '), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseManualValue(c.text), c.value) << "'" << c.text << "' (" << c.text.size() << ")";
}

TEST(ManualValue, ShownTexts)
{
    struct Case {
        int value;
        const char* text;
    };
    const Case cases[] = {{1090, "10.90"}, {900, "9.00"}, {905, "9.05"}, {950, "9.50"},
                          {1150, "*.50"},  {1100, "*.00"}, {1199, "*.99"}, {100, "1.00"}};
    for (const Case& c : cases)
        EXPECT_EQ(ManualValueText(static_cast<uint16_t>(c.value)), c.text) << c.value;
}

TEST(ManualValue, EveryValueReadsBackAsItself)
{
    for (int v = 100; v <= 1199; ++v)
        ASSERT_EQ(ParseManualValue(ManualValueText(static_cast<uint16_t>(v))), v) << ManualValueText(static_cast<uint16_t>(v));
}

}  // namespace
