// The type table and its accessors. The expected values are written in the
// form the range uses (calibre in mm, distance in metres, rules as "value:
// codes" lists), not copied from the table in the code, so that a slip in
// either shows up.
#include "foundation/targets/TargetTypes.h"
#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int N = CTargetTypes::kNoRadius;

struct TypeCase {
    int code;
    double calibre;  // mm
    int distance;    // m
    int lowest, highest;
    int scheme;  // -1 linear, else the ring set
    int rLowest, rHighest, rInnerTen, rBlack, rWhite;
};
const TypeCase kTypes[] = {
    {0, 8.00, 300, 1, 10, -1, 24000, 2400, 1200, 9600, N},
    {1, 8.00, 200, 1, 10, -1, 16000, 1600, 800, 6400, N},
    {2, 8.00, 100, 1, 10, -1, 9600, 960, 480, 3840, N},
    {3, 5.60, 15, 1, 10, -1, 1328, 32, -32, 608, 32},
    {4, 5.60, 50, 1, 10, -1, 3942, 342, 142, 2342, N},
    {5, 8.00, 300, 1, 10, -1, 17600, 3200, 1600, 9600, N},
    {6, 4.50, 10, 1, 10, -1, 1328, 32, -32, 464, 32},
    {7, 4.50, 15, 1, 10, -1, 1284, 204, 120, 684, N},
    {8, 5.60, 15, 6, 10, 1, 1376, 208, 144, 656, N},
    {9, 5.60, 15, 3, 10, -1, 3200, 400, N, 1600, N},
    {10, 5.60, 50, 1, 1, 3, 1840, 720, N, 720, N},
    {11, 5.60, 25, 1, 10, -1, 4000, 400, 200, 1600, N},
    {12, 8.00, 200, 1, 10, -1, 20000, 2000, 960, 8000, N},
    {13, 8.00, 200, 1, 10, 0, 10624, 1024, 491, 6357, N},
    {14, 5.60, 15, 1, 10, -1, 896, 176, 43, 656, N},
    {15, 5.60, 15, 3, 10, 2, 567, 4, -20, 567, 4},
    {16, 8.00, 300, 1, 10, -1, 16000, 1600, 800, 9600, N},
    {17, 8.00, 200, 1, 10, 0, 10624, 1024, 491, 6357, N},
    {18, 5.60, 50, 1, 10, -1, 2470, 166, 80, 1798, N},
    {19, 5.60, 25, 1, 10, -1, 8000, 800, 400, 3200, N},
    {20, 9.65, 25, 1, 10, -1, 8000, 800, 400, 3200, N},
    {21, 5.60, 25, 5, 10, -1, 8000, 1600, 800, 8000, N},
    {22, 9.65, 25, 5, 10, -1, 8000, 1600, 800, 8000, N},
    {23, 4.50, 10, 1, 10, -1, 728, 8, -8, 488, 8},
    {24, 4.50, 10, 1, 10, -1, 2488, 184, 80, 952, N},
    {25, 4.50, 10, 1, 10, -1, 808, 88, 8, 488, 8},
    {26, 5.60, 15, 1, 10, -1, 1516, 76, -16, 556, 16},
    {27, 5.60, 50, 1, 10, -1, 5856, 960, 480, 5856, N},
    {28, 5.60, 50, 1, 10, -1, 8000, 800, 400, 3200, N},
    {29, 5.60, 25, 1, 10, -1, 8000, 800, 400, 3200, N},
    {30, 5.60, 15, 3, 10, -1, 534, -12, -35, 534, 12},
    {32, 8.00, 100, 1, 1, -1, 4800, 4800, N, N, N},
    {33, 8.00, 100, 3, 5, -1, 7200, 4000, 2400, N, N},
    {34, 8.00, 100, 2, 5, -1, 3200, 800, N, N, N},
    {35, 8.00, 100, 1, 5, -1, 2400, 480, N, N, N},
    {36, 8.00, 100, 1, 10, -1, 5856, 960, 480, N, N},
    {37, 8.00, 100, 1, 5, -1, 12000, 2400, N, N, N},
    {38, 5.60, 25, 3, 5, -1, 1800, 1000, 600, N, N},
    {39, 8.00, 100, 1, 10, -1, 9370, 1536, N, N, N},
    {40, 8.00, 100, 8, 10, -1, 3200, 1600, N, N, N},
    {41, 8.00, 100, 8, 10, -1, 3200, 1600, N, N, N},
    {96, 5.60, 25, 1, 10, -1, 1260, 207, N, 792, 16},
    {97, 5.60, 50, 1, 1, 4, 1840, 1840, 720, 1840, N},
    {98, 8.00, 300, 1, 10, -1, 16000, 1600, 800, N, N},
    {99, 8.00, 200, 5, 10, -1, 15037, 2845, 1219, 5283, N},
    {100, 8.00, 300, 5, 10, -1, 15037, 2845, 1219, 7721, N},
    {101, 8.00, 500, 5, 10, -1, 14224, 4064, 2032, 8128, N},
    {102, 8.00, 600, 5, 10, 5, 24384, 4876, 2438, 14630, N},
};

bool Listed(int code)
{
    for (const TypeCase& t : kTypes)
        if (t.code == code)
            return true;
    return false;
}

// Every accessor that reads a row, as one comparable record.
struct RowView {
    int flags, calibre, calibreClass, distance, lowest, highest, topZone, maxValue;
    int rLowest, rHighest, rInnerTen, rBlack, rWhite;
    std::vector<double> rings;
    bool operator==(const RowView&) const = default;
};
RowView View(const CTargetTypes& t, int code)
{
    RowView v{t.GetRowFlags(code), t.GetCalibre(code), t.GetCalibreClass(code), t.GetDistance(code),
              t.GetLowestRing(code), t.GetHighestRing(code), t.GetTopZone(code), t.GetMaxValue(code),
              t.GetLowestRingRadius(code), t.GetHighestRingRadius(code), t.GetInnerTenRadius(code),
              t.GetBlackRadius32(code), t.GetWhiteRadius32(code), {}};
    for (int r = 0; r <= 11; ++r)
        v.rings.push_back(t.GetRingRadius(code, r));
    return v;
}

// Codes around and far outside the used ranges.
std::vector<int> AllCodes()
{
    std::vector<int> codes;
    for (int c = -40; c <= 300; ++c)
        codes.push_back(c);
    for (int c : {-32768, -1000, 511, 1000, 32767})
        codes.push_back(c);
    return codes;
}

std::string Utf8(const char* cp1252) { return platform::Cp1252ToUtf8(cp1252); }

}  // namespace

TEST(TargetTypes, TypeTableAsTheRangeReadsIt)
{
    CTargetTypes t;
    for (const TypeCase& c : kTypes) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(t.GetCalibre(c.code), static_cast<int>(c.calibre * 100 + 0.5));
        EXPECT_DOUBLE_EQ(t.GetBulletRadius(c.code), c.calibre / 2);
        EXPECT_EQ(t.GetDistance(c.code), c.distance);
        EXPECT_EQ(t.GetLowestRing(c.code), c.lowest);
        EXPECT_EQ(t.GetHighestRing(c.code), c.highest);
        EXPECT_EQ(t.GetMaxValue(c.code), c.highest * 100 + 99);
        EXPECT_EQ(t.GetRowFlags(c.code), c.scheme < 0 ? 0 : 0x20 + c.scheme);
        EXPECT_EQ(t.GetLowestRingRadius(c.code), c.rLowest);
        EXPECT_EQ(t.GetHighestRingRadius(c.code), c.rHighest);
        EXPECT_EQ(t.GetInnerTenRadius(c.code), c.rInnerTen);
        EXPECT_EQ(t.GetBlackRadius32(c.code), c.rBlack);
        EXPECT_EQ(t.GetWhiteRadius32(c.code), c.rWhite);
        EXPECT_DOUBLE_EQ(t.GetBlackRadius(c.code), c.rBlack / 32.0);
        EXPECT_DOUBLE_EQ(t.GetWhiteRadius(c.code), c.rWhite / 32.0);
        EXPECT_EQ(t.GetTopZone(c.code), c.rInnerTen != N ? c.highest + 1 : c.highest);
        EXPECT_EQ(CTargetTypes::RowData(t.GetRow(c.code)).code, c.code);
    }
}

TEST(TargetTypes, EveryCodeFindsItsRow)
{
    CTargetTypes t;
    const RowView code0 = View(t, 0), code4 = View(t, 4);
    for (int code : AllCodes()) {
        SCOPED_TRACE(code);
        RowView v = View(t, code);
        if (code >= 64 && code <= 89) {
            // The figure row, with the outline's reach as its only radius.
            EXPECT_EQ(v.flags, 0x40);
            EXPECT_EQ(v.calibre, 800);
            EXPECT_EQ(v.distance, 100);
            EXPECT_EQ(v.lowest, 1);
            EXPECT_EQ(v.highest, 1);
            EXPECT_EQ(v.topZone, 1);
            EXPECT_EQ(v.maxValue, 199);
            const FigureOutline* f = CTargetTypes::GetOutline(CTargetTypes::GetFigureEntry(code));
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(v.rLowest, f->items[0].y);
            EXPECT_DOUBLE_EQ(v.rings[0], f->items[0].y / 32.0);
            for (int r = 1; r <= 11; ++r)
                EXPECT_EQ(v.rings[r], -1000.0) << r;
            EXPECT_EQ(v.rHighest, N);
            EXPECT_EQ(v.rInnerTen, N);
            EXPECT_EQ(v.rBlack, N);
            EXPECT_EQ(v.rWhite, N);
        } else if (code == 48) {
            EXPECT_EQ(v, code4);
        } else if (!Listed(code)) {
            EXPECT_EQ(v, code0);
        }
    }
}

TEST(TargetTypes, FigureCodesAndTheirOutlineEntries)
{
    CTargetTypes t;
    EXPECT_DOUBLE_EQ(t.GetFaceRadius(64), 100.0);
    EXPECT_DOUBLE_EQ(t.GetFaceRadius(89), 586.0);
    EXPECT_EQ(t.GetRowFlags(64), 64);
    for (int code = 64; code <= 79; ++code)
        EXPECT_EQ(CTargetTypes::GetFigureEntry(code), code - 61);
    for (int code = 80; code <= 89; ++code)
        EXPECT_EQ(CTargetTypes::GetFigureEntry(code), code - 61);
    // Codes of the figure groups without a figure of their own fall on the first one.
    EXPECT_EQ(CTargetTypes::GetFigureEntry(50), 3);
    EXPECT_EQ(CTargetTypes::GetFigureEntry(92), 19);
    EXPECT_EQ(CTargetTypes::GetFigureEntry(34), -1);
    EXPECT_EQ(CTargetTypes::GetOutline(-1), nullptr);
    EXPECT_EQ(CTargetTypes::GetOutline(31), nullptr);
}

TEST(TargetTypes, RingRadii)
{
    CTargetTypes t;
    struct Case {
        int code, ring;
        double mm;
    };
    const Case cases[] = {
        {4, 1, 3942 / 32.0},     // the linear step truncates: 342 + 9 * 4000 / 10
        {4, 10, 342 / 32.0},     {4, 0, 3942 / 32.0},      {4, 11, 142 / 32.0},
        {0, 9, 4800 / 32.0},     {0, 1, 24000 / 32.0},     {30, 3, 534 / 32.0},
        {30, 10, -12 / 32.0},    {30, 2, -1000},           {9, 2, -1000},
        {32, 1, 150},            {32, 10, -1000},          {33, 4, 175},
        {13, 1, 10624 / 32.0},   {13, 5, 6357 / 32.0},     {13, 11, 491 / 32.0},
        {8, 6, 43},              {8, 5, -1000},            {8, 10, 6.5},
        {15, 0, 566 / 32.0},     {15, 3, 567 / 32.0},      {10, 1, 22.5},
        {97, 1, 57.5},           {97, 11, 22.5},           {102, 7, 14630 / 32.0},
        {4, 12, -1000},          {4, -1, -1000},           {31, 1, 750},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(t.GetRingRadius(c.code, c.ring), c.mm) << c.code << " ring " << c.ring;

    // On every ring face the rings close in towards the centre.
    for (const TypeCase& c : kTypes) {
        for (int r = c.lowest; r < c.highest; ++r)
            EXPECT_GT(t.GetRingRadius(c.code, r), t.GetRingRadius(c.code, r + 1)) << c.code << " ring " << r;
        EXPECT_LE(t.GetRingRadius(c.code, c.lowest) * 32, c.rLowest) << c.code;
    }
}

TEST(TargetTypes, Names)
{
    CTargetTypes t;
    struct Case {
        const char* language;
        int code;
        const char* name;  // UTF-8
    };
    const Case cases[] = {
        {"NO", 0, "DFS 300m"},
        {"NO", 25, "ISSF 10m Viltmål"},
        {"NO", 41, "Nordisk rådyr - Høyre"},
        {"DK", 41, "Nordisk rådyr Høyre"},
        {"DK", 12, "DDS 200m (1,25m)"},
        {"SE", 41, "Nordisk rådjur - Höger"},
        {"SE", 33, "Älg 80m"},
        {"SE", 3, "DFS 15m gevär"},
        {"SE", 98, "Swiss 300m (B)"},
        {"UK", 34, "Norwegian Rådyr"},
        {"EN", 97, "Biathlon standing"},
        {"DE", 97, "Biathlon standing"},
        {"se", 33, "Norwegian Moose"},  // the comparison is exact
        {"NO", 97, "Skiskytter stå"},
        {"NO", 79, "Fig 13x40"},
        {"DK", 79, "Fig 13x40"},
        {"SE", 79, "Fig 13x30"},
        {"UK", 79, "Fig 13x30"},
        {"NO", 82, "Fig 1/10"},
        {"UK", 255, "ISSF 25m Rapid Fire Center Fire"},
        {"SE", 255, "ISSF 25m Presisjon Grov"},
        {"NO", 98, "Sveitisk 300m (B)"},
    };
    for (const Case& c : cases) {
        t.SetLanguage(c.language);
        EXPECT_EQ(Utf8(t.GetName(c.code)), c.name) << c.language << " " << c.code;
    }
    // The names are kept as the system's files keep text.
    t.SetLanguage("NO");
    EXPECT_STREQ(t.GetName(34), "R\xE5" "dyr");

    std::set<int> named;
    for (int c = 0; c <= 30; ++c)
        named.insert(c);
    for (int c = 32; c <= 41; ++c)
        named.insert(c);
    for (int c = 64; c <= 89; ++c)
        named.insert(c);
    for (int c = 96; c <= 102; ++c)
        named.insert(c);
    named.insert(255);
    for (const char* language : {"NO", "DK", "SE", "UK", "DE", ""}) {
        t.SetLanguage(language);
        for (int code : AllCodes()) {
            std::string name = t.GetName(code);
            if (named.count(code))
                EXPECT_NE(name, "Udefinert") << code;
            else
                EXPECT_EQ(name, "Udefinert") << code;
        }
    }
}

TEST(TargetTypes, LanguageCode)
{
    CTargetTypes t;
    EXPECT_STREQ(t.GetLanguage(), "NO");
    t.SetLanguage("SE");
    EXPECT_STREQ(t.GetLanguage(), "SE");
    t.SetLanguage("SEVERALWORDSLONG");
    EXPECT_STREQ(t.GetLanguage(), "SEVERALWORD");
    EXPECT_EQ(Utf8(t.GetName(33)), "Norwegian Moose");
    t.SetLanguage(nullptr);
    EXPECT_STREQ(t.GetLanguage(), "");
}

TEST(TargetTypes, Groups)
{
    EXPECT_EQ(CTargetTypes::GetGroupCount(), 7);
    const int sizes[] = {16, 15, 10, 0, 16, 10, 7};
    for (int g = 0; g < 7; ++g)
        EXPECT_EQ(CTargetTypes::GetGroupSize(g), sizes[g]);
    EXPECT_EQ(CTargetTypes::GetGroupSize(-1), 0);
    EXPECT_EQ(CTargetTypes::GetGroupSize(7), 0);

    struct Case {
        int code, group, index;
    };
    const Case cases[] = {
        {-5, -1, -1}, {-1, -1, -1}, {0, 0, 0},    {15, 0, 15},  {16, 1, 0},   {30, 1, 14}, {31, 1, 0},
        {32, 2, 0},   {41, 2, 9},   {42, 2, 0},   {47, 2, 0},   {48, 4, 0},   {63, 4, 0},  {64, 4, 0},
        {79, 4, 15},  {80, 5, 0},   {89, 5, 9},   {90, 5, 0},   {95, 5, 0},   {96, 6, 0},  {102, 6, 6},
        {103, 6, 0},  {111, 6, 0},  {112, 0, 0},  {255, 0, 0},  {32767, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CTargetTypes::GetGroup(c.code), c.group) << c.code;
        EXPECT_EQ(CTargetTypes::GetGroupIndex(c.code), c.index) << c.code;
    }

    // Every code offered for choice comes back from its group and index.
    int offered = 0;
    for (int g = 0; g < 7; ++g)
        for (int i = 0; i < CTargetTypes::GetGroupSize(g); ++i) {
            int code = CTargetTypes::MakeCode(g, i);
            EXPECT_EQ(CTargetTypes::GetGroup(code), g);
            EXPECT_EQ(CTargetTypes::GetGroupIndex(code), i);
            EXPECT_NE(std::string(CTargetTypes().GetName(code)), "Udefinert") << code;
            ++offered;
        }
    EXPECT_EQ(offered, 74);
    EXPECT_EQ(CTargetTypes::MakeCode(3, 0), -1);
    EXPECT_EQ(CTargetTypes::MakeCode(7, 0), -1);
    EXPECT_EQ(CTargetTypes::MakeCode(-1, 0), -1);
    EXPECT_EQ(CTargetTypes::MakeCode(6, 2), 98);
}

TEST(TargetTypes, CodesOfTheTargetUnits)
{
    struct Case {
        int code, unit;
    };
    // type code -> unit code
    const Case to[] = {{10, 48}, {48, 20}, {64, 80}, {95, 111}, {0, 0}, {12, 10}, {26, 14}, {16, 16}, {18, 17},
                       {25, 24}, {27, 25}, {29, 27}, {41, 41}, {97, 49}, {102, 58}, {31, 31}, {-1, -1}, {500, 500}};
    for (const Case& c : to)
        EXPECT_EQ(CTargetTypes::ToTargetCode(c.code), c.unit) << c.code;
    // unit code -> type code; the first pair wins
    const Case from[] = {{10, 48}, {21, 20}, {15, 15}, {12, 10}, {17, 13}, {26, 14}, {18, 17}, {102, 58},
                         {64, 80}, {95, 111}, {-1, -1}, {112, 112}};
    for (const Case& c : from)
        EXPECT_EQ(CTargetTypes::FromTargetCode(c.unit), c.code) << c.unit;
    // Every type offered for choice travels to the units and back unchanged.
    for (int g = 0; g < 7; ++g)
        for (int i = 0; i < CTargetTypes::GetGroupSize(g); ++i) {
            int code = CTargetTypes::MakeCode(g, i);
            EXPECT_EQ(CTargetTypes::FromTargetCode(CTargetTypes::ToTargetCode(code)), code) << code;
        }
}

namespace {

// "value: codes" lists; a code in no list takes the fallback.
struct ByValue {
    int value;
    std::vector<std::pair<int, int>> ranges;  // inclusive
};
std::optional<int> Lookup(const std::vector<ByValue>& table, int code)
{
    for (const ByValue& b : table)
        for (auto [lo, hi] : b.ranges)
            if (code >= lo && code <= hi)
                return b.value;
    return std::nullopt;
}
bool IsFigure(int code) { return CTargetTypes::GetGroup(code) == 4 || CTargetTypes::GetGroup(code) == 5; }

}  // namespace

TEST(TargetTypes, DrawingParametersOfEveryCode)
{
    const std::vector<ByValue> first = {
        {1, {{0, 4}, {6, 7}, {9, 9}, {11, 14}, {16, 20}, {23, 28}, {32, 32}, {35, 37}, {39, 39}, {98, 98}}},
        {2, {{5, 5}, {34, 34}}},
        {6, {{8, 8}}},
        {3, {{15, 15}, {33, 33}, {38, 38}}},
        {5, {{21, 22}, {99, 102}}},
        {8, {{40, 41}}},
        {0, {{10, 10}, {97, 97}}},
    };
    const std::vector<ByValue> last = {
        {9, {{0, 9}, {11, 14}, {16, 17}, {19, 22}, {25, 28}, {36, 36}, {39, 41}, {98, 102}}},
        {0, {{10, 10}, {32, 32}, {97, 97}}},
        {8, {{15, 15}, {18, 18}, {23, 24}, {30, 30}}},
        {5, {{33, 33}, {38, 38}}},
        {4, {{34, 35}, {37, 37}}},
    };
    const std::vector<ByValue> sides = {{4, {{16, 16}, {25, 25}, {27, 27}, {98, 98}}}, {1, {{21, 22}}}};
    const std::vector<ByValue> zoom = {
        {9, {{0, 5}, {12, 14}, {16, 22}, {25, 28}, {36, 36}, {39, 41}}},
        {8, {{6, 9}, {11, 11}, {15, 15}, {23, 24}, {30, 30}, {96, 96}, {98, 102}}},
        {1, {{10, 10}, {32, 32}, {97, 97}}},
        {5, {{33, 33}, {38, 38}}},
        {4, {{34, 35}, {37, 37}}},
    };
    CTargetTypes t;
    for (const char* language : {"NO", "SE"}) {
        t.SetLanguage(language);
        bool se = std::string(language) == "SE";
        for (int code : AllCodes()) {
            SCOPED_TRACE(testing::Message() << language << " " << code);
            int f = IsFigure(code) ? 0 : (se && code == 37) ? 3 : Lookup(first, code).value_or(t.GetLowestRing(code));
            EXPECT_EQ(t.GetFirstRingLabel(code), f);
            int l = IsFigure(code) ? -1 : Lookup(last, code).value_or(t.GetHighestRing(code));
            EXPECT_EQ(t.GetLastRingLabel(code), l);
            EXPECT_EQ(t.GetRingLabelSides(code), Lookup(sides, code).value_or(3));
            EXPECT_EQ(t.GetMaxZoomRing(code), Lookup(zoom, code).value_or(11));
        }
    }
}

TEST(TargetTypes, FaceAndFigureSizes)
{
    struct Case {
        int code;
        double face, width, height, widthSE, heightSE;
    };
    const Case cases[] = {
        {32, 525, 580, 525, 580, 525},    {33, 650, 1150, 525, 1150, 525},  {34, 550, 580, 550, 580, 550},
        {35, 300, 550, 300, 550, 300},    {36, 350, 550, 350, 550, 350},    {37, 850, 850, 550, 700, 550},
        {38, 162.5, 287, 131, 718, 328},  {39, 650, 1150, 550, 1150, 550},  {40, 550, 580, 550, 580, 550},
        {41, 550, 580, 550, 580, 550},    {0, 750, 750, 750, 750, 750},     {23, 22.75, 22.75, 22.75, 22.75, 22.75},
        {64, 100, 100, 100, 100, 100},    {48, 3942 / 32.0, 3942 / 32.0, 3942 / 32.0, 3942 / 32.0, 3942 / 32.0},
        {42, 750, 750, 750, 750, 750},
    };
    CTargetTypes t, se;
    se.SetLanguage("SE");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_DOUBLE_EQ(t.GetFaceRadius(c.code), c.face);
        EXPECT_DOUBLE_EQ(t.GetFigureWidth(c.code), c.width);
        EXPECT_DOUBLE_EQ(t.GetFigureHeight(c.code), c.height);
        EXPECT_DOUBLE_EQ(se.GetFigureWidth(c.code), c.widthSE);
        EXPECT_DOUBLE_EQ(se.GetFigureHeight(c.code), c.heightSE);
    }
}

TEST(TargetTypes, RingWidthSizesTheRingNumbers)
{
    CTargetTypes t;
    struct Case {
        int code;
        double mm;
    };
    const Case cases[] = {
        {0, 75},   // the band of ring 8
        {33, 50},  // three rings: the band of the lowest
        {40, 25},  // rings 8 to 10
        {32, 150}, // one ring: a fixed width by type
        {10, 50},  {97, 50}, {64, 50}, {31, 75},
    };
    EXPECT_DOUBLE_EQ(t.GetRingWidth(0), t.GetRingRadius(0, 8) - t.GetRingRadius(0, 9));
    EXPECT_DOUBLE_EQ(t.GetRingWidth(33), t.GetRingRadius(33, 3) - t.GetRingRadius(33, 4));
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(t.GetRingWidth(c.code), c.mm) << c.code;
}

TEST(TargetTypes, LaneDefaultsOfEveryCode)
{
    const std::vector<ByValue> frequency = {
        {150, {{0, 0}, {5, 5}, {16, 16}, {98, 98}, {100, 102}}},
        {60, {{1, 1}, {12, 13}, {17, 17}, {99, 99}}},
        {20, {{2, 2}, {32, 37}, {39, 41}}},
        {5, {{3, 3}, {7, 9}, {14, 15}, {18, 18}, {20, 20}, {26, 26}, {29, 30}, {96, 96}}},
        {10, {{4, 4}, {22, 22}, {38, 38}}},
        {1, {{6, 6}, {23, 25}}},
        {25, {{10, 11}, {19, 19}, {27, 28}, {97, 97}}},
        {30, {{21, 21}}},
    };
    const std::vector<ByValue> length = {
        {10, {{0, 2}, {5, 5}, {12, 13}, {16, 17}, {20, 20}, {32, 37}, {39, 41}, {98, 102}}},
        {5, {{3, 4}, {7, 11}, {14, 15}, {18, 19}, {21, 22}, {26, 28}, {30, 30}, {38, 38}, {96, 97}}},
        {25, {{6, 6}, {23, 23}}},
        {50, {{24, 25}}},
    };
    const std::vector<ByValue> system = {
        {0, {{0, 4}}},
        {4, {{33, 33}, {38, 38}}},
        {1, {{5, 30}, {32, 32}, {34, 37}, {39, 41}, {96, 102}}},
    };
    CTargetTypes no, se;
    se.SetLanguage("SE");
    for (int code : AllCodes()) {
        SCOPED_TRACE(code);
        for (int sensitivity = 0; sensitivity <= 4; ++sensitivity) {
            EXPECT_EQ(no.DefaultAdvanceFrequency(code, sensitivity), Lookup(frequency, code).value_or(0));
            int len = code == 29 ? (sensitivity == 1 ? 10 : 5) : Lookup(length, code).value_or(0);
            EXPECT_EQ(no.DefaultAdvanceLength(code, sensitivity), len);
        }
        EXPECT_EQ(no.DefaultValueSystem(code), Lookup(system, code).value_or(5));
        EXPECT_EQ(se.DefaultValueSystem(code), code == 37 ? 4 : Lookup(system, code).value_or(5));
        int cls = no.GetCalibre(code);
        int sensitivity = code == 2 ? 2 : cls == 450 ? 3 : cls == 560 ? 2 : 1;
        EXPECT_EQ(no.DefaultSensitivity(code), sensitivity);
    }
    EXPECT_EQ(no.DefaultSensitivity(2), 2);
    EXPECT_EQ(no.DefaultSensitivity(0), 1);
    EXPECT_EQ(no.DefaultSensitivity(20), 1);
    EXPECT_EQ(no.DefaultSensitivity(23), 3);
    EXPECT_EQ(no.DefaultSensitivity(18), 2);
    EXPECT_EQ(no.DefaultSensitivity(70), 1);
}
