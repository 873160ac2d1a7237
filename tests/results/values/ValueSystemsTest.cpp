// The value systems on bare value bytes: texts, counted values, widths, sums
// and typed entries, as tables.
#include "results/values/ValueSystems.h"

#include <gtest/gtest.h>

namespace {

using namespace results::values;

struct ShotCase {
    int type, value, org;
    const char* text;   // FormatShot
    const char* mode1;  // ShotText, value mode 1
    const char* mode2;
    int normal, final;  // counted
};

const ShotCase kShots[] = {
    {0, 95, 0, "9", "9", "9", 90, 95},
    {0, 113, 0, "10*", "10*", "10*", 100, 103},
    {0, 125, 0, "0*", "0*", "0*", 0, 0},
    {0, 255, 0, "_", "", "", 0, 0},
    {1, 95, 0, "  9.5", "  9", "  9.5", 90, 95},
    {1, 113, 0, " 10*3", " 10*", " 10*3", 100, 103},
    {1, 113, 6, " 10.3", " 10", " 10.3", 100, 103},
    {1, 5, 0, "  0.5", "  0", "  0.5", 0, 0},
    {1, 255, 0, "_._", "", "", 0, 0},
    {2, 95, 0, "9", "9", "9", 90, 95},
    {2, 104, 0, "X", "X", "X", 100, 104},
    {2, 117, 0, "*", "*", "*", 100, 107},
    {3, 95, 0, "9.5", "9", "9.5", 90, 95},
    {3, 104, 0, "X.4", "X", "X.4", 100, 104},
    {3, 117, 0, "*.7", "*", "*.7", 100, 107},
    {3, 120, 0, "_._", "", "", 0, 0},
    {4, 59, 0, "5", "5", "5", 50, 59},
    {4, 75, 0, "_", "", "", 0, 0},
    {4, 112, 0, "5*", "5*", "5*", 50, 52},
    {5, 59, 0, "5.9", "5", "5.9", 50, 59},
    {5, 112, 0, "5*2", "5*", "5*2", 50, 52},
    {5, 123, 0, "0*3", "0*", "0*3", 0, 0},
    {5, 80, 0, "_._", "", "", 0, 0},
    {6, 117, 0, "11", "11", "11", 110, 110},
    {6, 255, 0, "_", "", "", 0, 0},
    {7, 4, 0, "4", "4", "4", 4, 4},
    {7, 7, 0, "_", "", "", 0, 0},
    {8, 0, 0, "0", "0", "0", 0, 0},
    {9, 12, 0, "12.00", "12.00", "12.00", 12, 12},
    {9, 100, 0, "__", "", "", 0, 0},
    {10, 99, 0, "99", "99", "99", 99, 99},
    {11, 100, 0, "__", "", "", 0, 0},
    {12, 95, 0, "  9.5", "  9", "  9.5", 0, 0},
};

TEST(ValueSystems, ShotTextsAndCountedValues)
{
    for (const ShotCase& c : kShots) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " value " << c.value << " org " << c.org);
        const std::string text = FormatShot(c.type, c.value, 0, c.org);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(ShotText(text, c.type, 1), c.mode1);
        EXPECT_EQ(ShotText(text, c.type, 2), c.mode2);
        EXPECT_EQ(CountedValue(c.type, c.value, false), c.normal);
        EXPECT_EQ(CountedValue(c.type, c.value, true), c.final);
    }
}

TEST(ValueSystems, WidthsPerType)
{
    const int mode1[] = {2, 2, 1, 1, 2, 2, 2, 3, 1, 5, 0, 2};
    const int mode2[] = {2, 4, 1, 3, 1, 3, 2, 3, 1, 5, 0, 2};
    for (int type = 0; type < kTypeCount; ++type) {
        EXPECT_EQ(ShotWidth(type, 1), mode1[type]) << type;
        EXPECT_EQ(ShotWidth(type, 2), mode2[type]) << type;
    }
    EXPECT_EQ(ShotWidth(12, 1), 0);
    // Ring series: 2 for up to nine shots, 3 for ten, two more in a final.
    EXPECT_EQ(SeriesWidth(3, 5, false), 2);
    EXPECT_EQ(SeriesWidth(3, 10, false), 3);
    EXPECT_EQ(SeriesWidth(3, 10, true), 5);
    EXPECT_EQ(SeriesWidth(7, 10, true), 3);
    EXPECT_EQ(SeriesWidth(8, 10, false), 1);
    EXPECT_EQ(SeriesWidth(9, 3, false), 5);
    EXPECT_EQ(SumWidth(true), 6);
    EXPECT_EQ(SumWidth(false), 4);
}

TEST(ValueSystems, SeriesSumsAndTexts)
{
    const int hits[10] = {4, 0, 2};
    EXPECT_EQ(SeriesSum(7, hits, 3), 4002);
    EXPECT_EQ(SeriesSumText(7, 4002, 0, false, 3), "4/2");
    EXPECT_EQ(SeriesSumText(7, 4002, 6, false, 3), "16");
    EXPECT_EQ(SeriesSumText(7, 4002, 7, false, 3), "6");
    EXPECT_EQ(SeriesSum(8, hits, 3), 4000);
    EXPECT_EQ(SeriesSumText(8, 4000, 0, false, 1), "4");
    const int time[10] = {12, 0, 34};
    EXPECT_EQ(SeriesSum(9, time, 3), 1234);
    EXPECT_EQ(SeriesSumText(9, 1234, 0, false, 5), "12.34");
    EXPECT_EQ(FormatShot(9, 12, 34, 0), "12.34");
    const int rings[10] = {100, 90, 90, 80, 100, 100, 100, 100, 100, 100};
    EXPECT_EQ(SeriesSum(3, rings, 10), 960);
    EXPECT_EQ(SeriesSum(3, rings, 3), 280);  // shots beyond the series do not count
    EXPECT_EQ(SeriesSumText(3, 960, 0, false, 3), " 96");
    EXPECT_EQ(SeriesSumText(3, 96, 0, false, 2), "9");
    EXPECT_EQ(SeriesSumText(3, 963, 0, true, 5), "96.3");
}

TEST(ValueSystems, ParseValue)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 255}, {"9.5", 95}, {"10*3", 113}, {"10.9", 109}, {"9.55", 95}, {"10*", 100},
                 {" +8", 80}, {"9.x", 90}, {"abc", 0}, {"99999999999999", 1000000}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseValue(c.text), c.value) << c.text;
}

struct EntryCase {
    const char* text;
    int type, org;
    int value, hundredths, result;
};

const EntryCase kEntries[] = {
    {"X.9", 3, 0, 109, 0, 0},
    {"*", 3, 0, 110, 0, 0},
    {"10*5", 3, 0, 115, 0, 0},
    {"12", 3, 0, 0, 0, kEntryBadText},
    {"x9", 3, 0, 0, 0, kEntryBadText},
    {".", 3, 0, 255, 0, 0},
    {"_", 3, 0, 255, 0, 0},
    {" ?9.5_ ", 3, 0, 95, 0, 0},
    {"0.5", 3, 0, 0, 0, 0},
    {"9.7", 0, 0, 90, 0, 0},
    {"", 0, 0, 250, 0, 0},
    {"6", 4, 0, 0, 0, kEntryRefused},
    {"5.5", 4, 0, 50, 0, 0},
    {"10", 5, 0, 0, 0, kEntryRefused},
    {"5.5", 5, 0, 55, 0, 0},
    {"5*2", 5, 0, 52, 0, 0},  // read as 5.2: the inner five is typed with a leading star
    {"*.2", 5, 0, 112, 0, 0},
    {"6", 7, 0, 6, 0, 0},
    {"7", 7, 0, 0, 0, kEntryRefused},
    {"6", 7, 3, 0, 0, kEntryRefused},
    {"5", 7, 3, 5, 0, 0},
    {"0", 8, 0, 0, 0, 0},
    {"", 7, 0, 255, 0, 0},
    {"12.34", 9, 0, 12, 34, 0},
    {"150", 9, 0, 0, 0, kEntryOutOfRange},
    {"45", 10, 0, 45, 0, 0},
    {"999", 11, 0, 0, 0, kEntryOutOfRange},
};

TEST(ValueSystems, TypedEntries)
{
    for (const EntryCase& c : kEntries) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "' type " << c.type << " org " << c.org);
        const Entry e = EnterShot(c.text, c.type, c.org);
        EXPECT_EQ(e.value, c.value);
        EXPECT_EQ(e.hundredths, c.hundredths);
        EXPECT_EQ(e.result, c.result);
    }
}

}  // namespace
