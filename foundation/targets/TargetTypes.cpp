#include "foundation/targets/TargetTypes.h"

#include "platform/system/Codepage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int32_t N = CTargetTypes::kNoRadius;

// Calibre classes (high four bits of the class byte).
constexpr uint8_t C450 = 1 << 4, C560 = 2 << 4, C800 = 3 << 4, C965 = 4 << 4;
// Distance codes (low four bits).
constexpr uint8_t M10 = 1, M15 = 2, M25 = 3, M50 = 4, M100 = 5, M200 = 6, M300 = 7, M500 = 10, M600 = 11;

constexpr uint8_t Rings(int lowest, int highest) { return static_cast<uint8_t>(lowest << 4 | highest); }
constexpr uint8_t Set(int n) { return static_cast<uint8_t>(kRowRingSet + n); }

// The type table. Codes 13 and 17 are the same face under two names.
constexpr TargetTypeRow kRows[] = {
    // code flags   class       rings        lowest highest inner10 black  white
    {0, 0, C800 | M300, Rings(1, 10), 24000, 2400, 1200, 9600, N},
    {1, 0, C800 | M200, Rings(1, 10), 16000, 1600, 800, 6400, N},
    {2, 0, C800 | M100, Rings(1, 10), 9600, 960, 480, 3840, N},
    {3, 0, C560 | M15, Rings(1, 10), 1328, 32, -32, 608, 32},
    {4, 0, C560 | M50, Rings(1, 10), 3942, 342, 142, 2342, N},
    {5, 0, C800 | M300, Rings(1, 10), 17600, 3200, 1600, 9600, N},
    {6, 0, C450 | M10, Rings(1, 10), 1328, 32, -32, 464, 32},
    {7, 0, C450 | M15, Rings(1, 10), 1284, 204, 120, 684, N},
    {8, Set(1), C560 | M15, Rings(6, 10), 1376, 208, 144, 656, N},
    {9, 0, C560 | M15, Rings(3, 10), 3200, 400, N, 1600, N},
    {10, Set(3), C560 | M50, Rings(1, 1), 1840, 720, N, 720, N},
    {11, 0, C560 | M25, Rings(1, 10), 4000, 400, 200, 1600, N},
    {12, 0, C800 | M200, Rings(1, 10), 20000, 2000, 960, 8000, N},
    {13, Set(0), C800 | M200, Rings(1, 10), 10624, 1024, 491, 6357, N},
    {14, 0, C560 | M15, Rings(1, 10), 896, 176, 43, 656, N},
    {15, Set(2), C560 | M15, Rings(3, 10), 567, 4, -20, 567, 4},
    {16, 0, C800 | M300, Rings(1, 10), 16000, 1600, 800, 9600, N},
    {17, Set(0), C800 | M200, Rings(1, 10), 10624, 1024, 491, 6357, N},
    {18, 0, C560 | M50, Rings(1, 10), 2470, 166, 80, 1798, N},
    {19, 0, C560 | M25, Rings(1, 10), 8000, 800, 400, 3200, N},
    {20, 0, C965 | M25, Rings(1, 10), 8000, 800, 400, 3200, N},
    {21, 0, C560 | M25, Rings(5, 10), 8000, 1600, 800, 8000, N},
    {22, 0, C965 | M25, Rings(5, 10), 8000, 1600, 800, 8000, N},
    {23, 0, C450 | M10, Rings(1, 10), 728, 8, -8, 488, 8},
    {24, 0, C450 | M10, Rings(1, 10), 2488, 184, 80, 952, N},
    {25, 0, C450 | M10, Rings(1, 10), 808, 88, 8, 488, 8},
    {26, 0, C560 | M15, Rings(1, 10), 1516, 76, -16, 556, 16},
    {27, 0, C560 | M50, Rings(1, 10), 5856, 960, 480, 5856, N},
    {28, 0, C560 | M50, Rings(1, 10), 8000, 800, 400, 3200, N},
    {29, 0, C560 | M25, Rings(1, 10), 8000, 800, 400, 3200, N},
    {30, 0, C560 | M15, Rings(3, 10), 534, -12, -35, 534, 12},
    {32, 0, C800 | M100, Rings(1, 1), 4800, 4800, N, N, N},
    {33, 0, C800 | M100, Rings(3, 5), 7200, 4000, 2400, N, N},
    {34, 0, C800 | M100, Rings(2, 5), 3200, 800, N, N, N},
    {35, 0, C800 | M100, Rings(1, 5), 2400, 480, N, N, N},
    {36, 0, C800 | M100, Rings(1, 10), 5856, 960, 480, N, N},
    {37, 0, C800 | M100, Rings(1, 5), 12000, 2400, N, N, N},
    {38, 0, C560 | M25, Rings(3, 5), 1800, 1000, 600, N, N},
    {39, 0, C800 | M100, Rings(1, 10), 9370, 1536, N, N, N},
    {40, 0, C800 | M100, Rings(8, 10), 3200, 1600, N, N, N},
    {41, 0, C800 | M100, Rings(8, 10), 3200, 1600, N, N, N},
    {96, 0, C560 | M25, Rings(1, 10), 1260, 207, N, 792, 16},
    {97, Set(4), C560 | M50, Rings(1, 1), 1840, 1840, 720, 1840, N},
    {98, 0, C800 | M300, Rings(1, 10), 16000, 1600, 800, N, N},
    {99, 0, C800 | M200, Rings(5, 10), 15037, 2845, 1219, 5283, N},
    {100, 0, C800 | M300, Rings(5, 10), 15037, 2845, 1219, 7721, N},
    {101, 0, C800 | M500, Rings(5, 10), 14224, 4064, 2032, 8128, N},
    {102, Set(5), C800 | M600, Rings(5, 10), 24384, 4876, 2438, 14630, N},
    // The row every field figure reads; its lowest-ring radius comes from the figure's outline.
    {-1, kRowFigure, C800 | M100, Rings(1, 1), N, N, N, N, N},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));
constexpr int kFigureRow = kRowCount - 1;
constexpr int kLastListedCode = 102;

// Radii of rings 0 to 10 for faces whose rings are not evenly spaced.
constexpr int32_t kSpecialRingSets[6][11] = {
    {10624, 10624, 9557, 8491, 7424, 6357, 5291, 4224, 3157, 2091, 1024},
    {1376, N, N, N, N, N, 1376, 1056, 736, 416, 208},
    {566, N, N, 567, 486, 405, 324, 242, 161, 80, 4},
    {1840, 720, N, N, N, N, N, N, N, N, N},
    {1840, 1840, N, N, N, N, N, N, N, N, N},
    {24384, N, N, N, N, 24384, 19507, 14630, 9754, 7315, 4876},
};

// Calibre in 1/100 mm by calibre class; distance in metres by distance code.
constexpr int kCalibres[] = {800, 450, 560, 800, 965};
constexpr int kDistances[] = {100, 10, 15, 25, 50, 100, 200, 300, 80, 400, 500, 600};

constexpr int kGroupSizes[] = {16, 15, 10, 0, 16, 10, 7};
constexpr int kGroupBases[] = {0, 16, 32, -1, 64, 80, 96};

// Type code and the code the target units use for it. The first pair that
// matches wins in both directions.
struct CodePair {
    int32_t type;
    int32_t unit;
};
constexpr auto kTargetCodeMap = [] {
    std::array<CodePair, 82> map{};
    int n = 0;
    auto add = [&](int type, int unit) { map[n++] = {type, unit}; };
    for (int c = 64; c <= 95; ++c)
        add(c, c + 16);
    for (int c = 0; c <= 9; ++c)
        add(c, c);
    int unit = 10;
    for (int c : {12, 13, 14, 17, 26})
        add(c, unit++);
    add(16, 16);
    unit = 17;
    for (int c : {18, 19, 20, 21, 22, 23, 24, 25})
        add(c, unit++);
    unit = 25;
    for (int c : {27, 28, 29})
        add(c, unit++);
    for (int c = 32; c <= 41; ++c)
        add(c, c);
    add(48, 20);
    unit = 48;
    for (int c : {10, 97, 11, 30, 15, 96, 98, 99, 100, 101, 102})
        add(c, unit++);
    add(-1, -1);  // end of the list
    return map;
}();
static_assert(kTargetCodeMap[42].type == 12 && kTargetCodeMap[42].unit == 10);
static_assert(kTargetCodeMap[69].type == 48 && kTargetCodeMap[69].unit == 20);
static_assert(kTargetCodeMap[80].type == 102 && kTargetCodeMap[80].unit == 58);
static_assert(kTargetCodeMap[81].type == -1);

// Per-type rules of drawing and of the lane set-up, for the listed ring and
// game codes. A code without an entry takes kDefaultRules; the figure codes
// are handled by their group.
constexpr int kFromRow = -100;  // "the row's own value"
struct TypeRules {
    int16_t code;
    int8_t firstLabel, lastLabel;  // ring numbers printed on the face
    uint8_t labelSides;
    uint8_t maxZoomRing;
    float ringWidth;  // mm; sizes the ring numbers of a face with a single ring
    int16_t advanceFrequency;
    int8_t advanceLength;
    int8_t advanceLengthAtSensitivity1;
    uint8_t valueSystem;
    float faceRadius;  // mm; 0 = the lowest-ring radius
    float figureWidth, figureHeight;  // mm; 0 = the face radius
    // Swedish variants; kFromRow or 0 where there is none.
    int8_t firstLabelSE;
    int8_t valueSystemSE;
    float figureWidthSE, figureHeightSE;
};
constexpr int R = kFromRow;
constexpr TypeRules kRules[] = {
    // code first last sides zoom ringW  freq len len@1 vs  face  figW figH   SE: first vs  figW figH
    {0, 1, 9, 3, 9, 75, 150, 10, 10, 0, 0, 0, 0, R, R, 0, 0},
    {1, 1, 9, 3, 9, 50, 60, 10, 10, 0, 0, 0, 0, R, R, 0, 0},
    {2, 1, 9, 3, 9, 30, 20, 10, 10, 0, 0, 0, 0, R, R, 0, 0},
    {3, 1, 9, 3, 9, 4.5f, 5, 5, 5, 0, 0, 0, 0, R, R, 0, 0},
    {4, 1, 9, 3, 9, 12.5f, 10, 5, 5, 0, 0, 0, 0, R, R, 0, 0},
    {5, 2, 9, 3, 9, 50, 150, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {6, 1, 9, 3, 8, 4.5f, 1, 25, 25, 1, 0, 0, 0, R, R, 0, 0},
    {7, 1, 9, 3, 8, 50, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {8, 6, 9, 3, 8, 50, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {9, 1, 9, 3, 8, 50, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {10, 0, 0, 3, 1, 50, 25, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {11, 1, 9, 3, 8, 50, 25, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {12, 1, 9, 3, 9, 50, 60, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {13, 1, 9, 3, 9, 50, 60, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {14, 1, 9, 3, 9, 2.5f, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {15, 3, 8, 3, 8, 2.5f, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {16, 1, 9, 4, 9, 50, 150, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {17, 1, 9, 3, 9, 33.3f, 60, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {18, 1, 8, 3, 9, 8, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {19, 1, 9, 3, 9, 25, 25, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {20, 1, 9, 3, 9, 25, 5, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {21, 5, 9, 1, 9, 40, 30, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {22, 5, 9, 1, 9, 40, 10, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {23, 1, 8, 3, 8, 2.5f, 1, 25, 25, 1, 0, 0, 0, R, R, 0, 0},
    {24, 1, 8, 3, 8, 8, 1, 50, 50, 1, 0, 0, 0, R, R, 0, 0},
    {25, 1, 9, 4, 9, 2.5f, 1, 50, 50, 1, 0, 0, 0, R, R, 0, 0},
    {26, 1, 9, 3, 9, 5, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {27, 1, 9, 4, 9, 17, 25, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {28, 1, 9, 3, 9, 25, 25, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    // Automatic pistol: the band advances further when shot at the coarse sensitivity.
    {29, R, R, 3, 11, 50, 5, 5, 10, 1, 0, 0, 0, R, R, 0, 0},
    {30, R, 8, 3, 8, 2.44f, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {32, 1, 0, 3, 1, 150, 20, 10, 10, 1, 525, 580, 525, R, R, 0, 0},
    {33, 3, 5, 3, 5, 50, 20, 10, 10, 4, 650, 1150, 525, R, R, 0, 0},
    {34, 2, 4, 3, 4, 25, 20, 10, 10, 1, 550, 580, 550, R, R, 0, 0},
    {35, 1, 4, 3, 4, 15, 20, 10, 10, 1, 300, 550, 300, R, R, 0, 0},
    {36, 1, 9, 3, 9, 17, 20, 10, 10, 1, 350, 550, 350, R, R, 0, 0},
    // Shot as an elk calf in Sweden: scored and counted as elk, rings from 3 up.
    {37, 1, 4, 3, 4, 50, 20, 10, 10, 1, 850, 850, 550, 3, 4, 700, 550},
    {38, 3, 5, 3, 5, 12.5f, 10, 5, 5, 4, 162.5f, 287, 131, R, R, 718, 328},
    {39, 1, 9, 3, 9, 27.5f, 20, 10, 10, 1, 650, 1150, 550, R, R, 0, 0},
    {40, 8, 9, 3, 9, 25, 20, 10, 10, 1, 550, 580, 550, R, R, 0, 0},
    {41, 8, 9, 3, 9, 25, 20, 10, 10, 1, 550, 580, 550, R, R, 0, 0},
    {96, R, R, 3, 8, 3.6575f, 5, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {97, 0, 0, 3, 1, 50, 25, 5, 5, 1, 0, 0, 0, R, R, 0, 0},
    {98, 1, 9, 4, 8, 50, 150, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {99, 5, 9, 3, 8, 50, 60, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {100, 5, 9, 3, 8, 50, 150, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {101, 5, 9, 3, 8, 50, 150, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
    {102, 5, 9, 3, 8, 50, 150, 10, 10, 1, 0, 0, 0, R, R, 0, 0},
};
constexpr TypeRules kDefaultRules = {-1, R, R, 3, 11, 50, 0, 0, 0, 5, 0, 0, 0, R, R, 0, 0};
// Field figures carry no ring numbers.
constexpr int kFigureFirstLabel = 0;
constexpr int kFigureLastLabel = -1;

// Code to index of its entry in a table keyed by code, for the codes 0 to 102.
template <typename Row, size_t Size>
constexpr std::array<int8_t, kLastListedCode + 1> IndexByCode(const Row (&table)[Size])
{
    std::array<int8_t, kLastListedCode + 1> index{};
    for (auto& i : index)
        i = -1;
    for (size_t i = 0; i < Size; ++i)
        if (table[i].code >= 0)
            index[table[i].code] = static_cast<int8_t>(i);
    return index;
}
constexpr auto kRowByCode = IndexByCode(kRows);
constexpr auto kRulesByCode = IndexByCode(kRules);

const TypeRules& RulesOf(int code)
{
    if (code < 0 || code > kLastListedCode || kRulesByCode[code] < 0)
        return kDefaultRules;
    return kRules[kRulesByCode[code]];
}

bool IsFigureGroup(int code)
{
    int group = CTargetTypes::GetGroup(code);
    return group == 4 || group == 5;
}

// Names in English, Norwegian and Swedish; Danish is Norwegian unless given.
struct TypeName {
    int16_t code;
    const char* english;
    const char* norwegian;
    const char* swedish;
    const char* danish;
};
const TypeName kNames[] = {
    {0, "Norwegian 300m", "DFS 300m", "DFS 300m (1,5m)", nullptr},
    {1, "Norwegian 200m", "DFS 200m", "DFS 200m (1m)", nullptr},
    {2, "Norwegian 100m", "DFS 100m", "DFS 100m (60cm)", nullptr},
    {3, "Norwegian 15m", "DFS 15m", "DFS 15m gevär", nullptr},
    {4, "Danish 50m", "DDS 50m", "DDS 50m gevär", nullptr},
    {5, "Swedish 300m", "FSR 300m", "FSR 300m", nullptr},
    {6, "Norwegian 10m Company", "Bedrift 10m", "Bedrift 10m", nullptr},
    {7, "DDS M96", "DDS M96", "DDS M96", nullptr},
    {8, "DDS M84", "DDS M84", "DDS M84", nullptr},
    {9, "DDS MM2000", "DDS MM2000", "DDS MM2000", nullptr},
    {10, "Biathlon prone", "Skiskytter ligg", "Skiskytter ligg", nullptr},
    {11, "Colt", "Colt", "Colt", nullptr},
    {12, "DDS 200m", "DDS 200m (1,25m)", "DDS 200m", nullptr},
    {13, "NSF200", "NSF200", "NSF200", nullptr},
    {14, "DSU 15m", "DSU 15m", "DSU 15m", nullptr},
    {15, "NRA A36", "NRA A36", "NRA A36", nullptr},
    {16, "ISSF 300m", "ISSF 300m", "ISSF 300m", nullptr},
    {17, "ISSF 200m (66cm)", "ISSF 200m (66cm)", "ISSF 200m (66cm)", nullptr},
    {18, "ISSF 50m Rifle", "ISSF 50m Rifle", "ISSF 50m Gevär", nullptr},
    {19, "ISSF 25m Precision Cal.22", "ISSF 25m Presisjon Fin", "ISSF 25m Presisjon Fin", nullptr},
    {20, "ISSF 25m Precision Center Fire", "ISSF 25m Presisjon Grov", "ISSF 25m Presisjon Grov", nullptr},
    {21, "ISSF 25m Rapid Fire .22", "ISSF 25m Duell Fin", "ISSF 25m Silhuett Fin", nullptr},
    {22, "ISSF 25m Rapid Fire Center Fire", "ISSF 25m Duell Grov", "ISSF 25m Silhuett Grov", nullptr},
    {23, "ISSF 10m Air Rifle", "ISSF 10m Luftrifle", "ISSF 10m Luftgevär", nullptr},
    {24, "ISSF 10m Air Pistol", "ISSF 10m Luftpistol", "ISSF 10m Luftpistol", nullptr},
    {25, "ISSF 10m Running target", "ISSF 10m Viltmål", "ISSF 10m Viltmål", nullptr},
    {26, "Norwegian 'ISSF' 15m", "NSF 15m", "NSF 15m", nullptr},
    {27, "ISSF 50m bore", "ISSF 50m Viltmål", "ISSF 50m Viltmål", nullptr},
    {28, "ISSF 50m Pistol", "ISSF 50m Pistol", "ISSF 50m Pistol", nullptr},
    {29, "Pistol auto", "Pistol Auto 25m", "Pistol auto", nullptr},
    {30, "USA-50Feet", "USA-50Feet", "USA-50Feet", nullptr},
    {32, "Norwegian Reindeer", "DVF Villrein", "Vildren", nullptr},
    {33, "Norwegian Moose", "NJFF Elg", "Älg 80m", nullptr},
    {34, "Norwegian Rådyr", "Rådyr", "Rådjur", nullptr},
    {35, "Fox", "Rev", "Rev", nullptr},
    {36, "Bore", "Villsvin", "Vildsvin", nullptr},
    {37, "Norwegian Deer", "Hjort", "Älgkalv 80m", nullptr},
    {38, "Norwegian Moose 25m", "Elg 25m", "Älg 50m", nullptr},
    {39, "Nordic Moose", "Nordisk elg", "Nordisk älg", nullptr},
    {40, "Nordic rådyr", "Nordisk rådyr", "Nordisk rådjur", nullptr},
    {41, "Nordic rådyr - Right", "Nordisk rådyr - Høyre", "Nordisk rådjur - Höger", "Nordisk rådyr Høyre"},
    {64, "Fig C20", "Fig C20", "Fig C20", nullptr},
    {65, "Fig C25", "Fig C25", "Fig C25", nullptr},
    {66, "Fig C30", "Fig C30", "Fig C30", nullptr},
    {67, "Fig C35", "Fig C35", "Fig C35", nullptr},
    {68, "Fig C40", "Fig C40", "Fig C40", nullptr},
    {69, "Fig C50", "Fig C50", "Fig C50", nullptr},
    {70, "Fig S30", "Fig S30", "Fig S30", nullptr},
    {71, "Fig 1/8", "Fig 1/8", "Fig 1/8", nullptr},
    {72, "Fig 1/6", "Fig 1/6", "Fig 1/6", nullptr},
    {73, "Fig 1/4", "Fig 1/4", "Fig 1/4", nullptr},
    {74, "Fig 1/3", "Fig 1/3", "Fig 1/3", nullptr},
    {75, "Fig B30", "Fig B30", "Fig B30", nullptr},
    {76, "Fig B65", "Fig B65", "Fig B65", nullptr},
    {77, "Fig T50", "Fig T50", "Fig T50", nullptr},
    {78, "Fig 30x10", "Fig 30x10", "Fig 30x10", nullptr},
    {79, "Fig 13x30", "Fig 13x40", "Fig 13x30", nullptr},
    {80, "Fig C15", "Fig C15", "Fig C15", nullptr},
    {81, "Fig S11", "Fig S11", "Fig S11", nullptr},
    {82, "Fig 1/10", "Fig 1/10", "Fig 1/10", nullptr},
    {83, "Fig M1/4", "Fig M1/4", "Fig M1/4", nullptr},
    {84, "Fig M1/3", "Fig M1/3", "Fig M1/3", nullptr},
    {85, "Fig T16", "Fig T16", "Fig T16", nullptr},
    {86, "Fig P20", "Fig P20", "Fig P20", nullptr},
    {87, "Fig 22x7", "Fig 22x7", "Fig 22x7", nullptr},
    {88, "Fig 8x23", "Fig 8x23", "Fig 8x23", nullptr},
    {89, "Fig B100", "Fig B100", "Fig B100", nullptr},
    {96, "NSRA 25Y", "NSRA 25Y", "NSRA 25Y", nullptr},
    {97, "Biathlon standing", "Skiskytter stå", "Skiskytter stå", nullptr},
    {98, "Swiss 300m (B)", "Sveitisk 300m (B)", "Swiss 300m (B)", nullptr},
    {99, "SR 200 Yard", "SR 200 Yard", "SR 200 Yard", nullptr},
    {100, "SR-3 300 Yard", "SR-3 300 Yard", "SR-3 300 Yard", nullptr},
    {101, "MR 500 Yard", "MR 500 Yard", "MR 500 Yard", nullptr},
    {102, "MR 600 Yard", "MR 600 Yard", "MR 600 Yard", nullptr},
    // Kept for old cards that carry this code.
    {255, "ISSF 25m Rapid Fire Center Fire", "ISSF 25m Presisjon Grov", "ISSF 25m Presisjon Grov", nullptr},
};
const char* const kUndefinedName = "Udefinert";

enum Column { kEnglish, kNorwegian, kSwedish, kDanish, kColumns };

// The names as the system keeps text: Windows-1252, converted once.
struct NameTable {
    std::vector<int16_t> codes;
    std::vector<std::array<std::string, kColumns>> texts;
};
const NameTable& Names()
{
    static const NameTable table = [] {
        NameTable t;
        for (const TypeName& n : kNames) {
            t.codes.push_back(n.code);
            t.texts.push_back({platform::Ansi(n.english), platform::Ansi(n.norwegian), platform::Ansi(n.swedish),
                               platform::Ansi(n.danish ? n.danish : n.norwegian)});
        }
        return t;
    }();
    return table;
}

}  // namespace

CTargetTypes::CTargetTypes() { SetLanguage("NO"); }

void CTargetTypes::SetLanguage(const char* code)
{
    std::memset(m_language, 0, sizeof m_language);
    if (code)
        std::strncpy(m_language, code, sizeof m_language - 1);
}

bool CTargetTypes::IsSwedish() const { return std::strcmp(m_language, "SE") == 0; }

const char* CTargetTypes::GetName(int code) const
{
    Column column = kEnglish;
    if (std::strcmp(m_language, "NO") == 0)
        column = kNorwegian;
    else if (std::strcmp(m_language, "DK") == 0)
        column = kDanish;
    else if (std::strcmp(m_language, "SE") == 0)
        column = kSwedish;
    const NameTable& names = Names();
    for (size_t i = 0; i < names.codes.size(); ++i)
        if (names.codes[i] == code)
            return names.texts[i][column].c_str();
    return kUndefinedName;
}

bool CTargetTypes::IsKnownCode(int code)
{
    if (code == 0 || code == 48 || (code >= 64 && code <= 89))
        return true;
    if (code > 0 && code <= kLastListedCode && kRowByCode[code] >= 0)
        return true;
    const NameTable& names = Names();
    return std::find(names.codes.begin(), names.codes.end(), code) != names.codes.end();
}

int CTargetTypes::GetRow(int code) const
{
    if (code >= 64 && code <= 89)
        return kFigureRow;
    if (code == 48)  // an old code of the Danish 50 m face
        code = 4;
    if (code < 0 || code > kLastListedCode || kRowByCode[code] < 0)
        return 0;
    return kRowByCode[code];
}

const TargetTypeRow& CTargetTypes::RowData(int row)
{
    return (row >= 0 && row < kRowCount) ? kRows[row] : kRows[0];
}

int CTargetTypes::GetRowCount() { return kRowCount; }

int CTargetTypes::GetRowFlags(int code) const { return kRows[GetRow(code)].flags; }
int CTargetTypes::GetCalibreClass(int code) const { return kRows[GetRow(code)].cls & 0xF0; }
int CTargetTypes::GetRowDistance(int code) const { return kRows[GetRow(code)].cls & 0x0F; }

int CTargetTypes::GetLowestRingRadius(int code) const
{
    int row = GetRow(code);
    if (row == kFigureRow)
        return GetOutline(GetFigureEntry(code))->items[0].y;
    return kRows[row].lowest;
}
int CTargetTypes::GetHighestRingRadius(int code) const { return kRows[GetRow(code)].highest; }
int CTargetTypes::GetInnerTenRadius(int code) const { return kRows[GetRow(code)].innerTen; }
int CTargetTypes::GetBlackRadius32(int code) const { return kRows[GetRow(code)].black; }
int CTargetTypes::GetWhiteRadius32(int code) const { return kRows[GetRow(code)].white; }

int CTargetTypes::GetCalibre(int code) const
{
    int cls = GetCalibreClass(code) >> 4;
    return cls < static_cast<int>(std::size(kCalibres)) ? kCalibres[cls] : kCalibres[0];
}

// calibre * 0.005, divided so that 5.60 mm gives the nearest double to 2.8
double CTargetTypes::GetBulletRadius(int code) const { return GetCalibre(code) / 200.0; }

int CTargetTypes::GetDistance(int code) const
{
    int d = GetRowDistance(code);
    return d < static_cast<int>(std::size(kDistances)) ? kDistances[d] : kDistances[0];
}

int CTargetTypes::GetLowestRing(int code) const { return kRows[GetRow(code)].rings >> 4; }
int CTargetTypes::GetHighestRing(int code) const { return kRows[GetRow(code)].rings & 0x0F; }

int CTargetTypes::GetTopZone(int code) const
{
    int highest = GetHighestRing(code);
    if (highest != 0 && GetInnerTenRadius(code) >= -29999)
        return highest + 1;
    return highest;
}

int CTargetTypes::GetMaxValue(int code) const { return GetHighestRing(code) * 100 + 99; }

double CTargetTypes::GetFaceRadius(int code) const
{
    const TypeRules& rules = RulesOf(code);
    if (rules.faceRadius > 0)
        return rules.faceRadius;
    return GetLowestRingRadius(code) / 32.0;
}

double CTargetTypes::GetRingRadius(int code, int ring) const
{
    if (ring < 0 || ring > 11)
        return kNoRadius / 32.0;
    const TargetTypeRow& row = kRows[GetRow(code)];
    int32_t radius = kNoRadius;
    if (ring == 11)
        radius = row.innerTen;
    else if (row.flags & kRowFigure)
        radius = ring == 0 ? GetLowestRingRadius(code) : kNoRadius;
    else if (row.flags & kRowRingSet)
        radius = kSpecialRingSets[row.flags & 0x0F][ring];
    else if (ring == 0)
        radius = row.lowest;
    else {
        int lowest = row.rings >> 4, highest = row.rings & 0x0F;
        if (ring >= lowest && ring <= highest) {
            int step = 10 * (row.lowest - row.highest);
            if (highest > lowest)
                step /= highest - lowest;
            radius = row.highest + (highest - ring) * step / 10;
        }
    }
    return radius / 32.0;
}

double CTargetTypes::GetBlackRadius(int code) const { return GetBlackRadius32(code) / 32.0; }
double CTargetTypes::GetWhiteRadius(int code) const { return GetWhiteRadius32(code) / 32.0; }

double CTargetTypes::GetRingWidth(int code) const
{
    int a = GetHighestRing(code), b = GetLowestRing(code);
    if (b < a - 1)
        return GetRingRadius(code, a - 2) - GetRingRadius(code, a - 1);
    if (b == a - 1)
        return GetRingRadius(code, a - 1) - GetRingRadius(code, a);
    return RulesOf(code).ringWidth;
}

int CTargetTypes::GetGroup(int code)
{
    if (code < 0)
        return -1;
    if (code <= 15)
        return 0;
    if (code <= 31)
        return 1;
    if (code <= 47)
        return 2;
    if (code <= 79)
        return 4;
    if (code <= 95)
        return 5;
    if (code <= 111)
        return 6;
    return 0;
}

int CTargetTypes::GetGroupIndex(int code)
{
    if (code < 0)
        return -1;
    int group = code / 16, index = code % 16;
    if (group < GetGroupCount() && index < kGroupSizes[group])
        return index;
    return 0;
}

int CTargetTypes::MakeCode(int group, int index)
{
    if (group < 0 || group >= GetGroupCount() || kGroupBases[group] < 0)
        return -1;
    return kGroupBases[group] + index;
}

int CTargetTypes::GetGroupSize(int group)
{
    return (group >= 0 && group < GetGroupCount()) ? kGroupSizes[group] : 0;
}

int CTargetTypes::ToTargetCode(int code)
{
    for (const CodePair& p : kTargetCodeMap)
        if (p.type == code && p.type != -1)
            return p.unit;
    return code;
}

int CTargetTypes::FromTargetCode(int unitCode)
{
    for (const CodePair& p : kTargetCodeMap)
        if (p.unit == unitCode && p.unit != -1)
            return p.type;
    return unitCode;
}

double CTargetTypes::GetFigureWidth(int code) const
{
    const TypeRules& rules = RulesOf(code);
    if (IsSwedish() && rules.figureWidthSE > 0)
        return rules.figureWidthSE;
    return rules.figureWidth > 0 ? rules.figureWidth : GetFaceRadius(code);
}

double CTargetTypes::GetFigureHeight(int code) const
{
    const TypeRules& rules = RulesOf(code);
    if (IsSwedish() && rules.figureHeightSE > 0)
        return rules.figureHeightSE;
    return rules.figureHeight > 0 ? rules.figureHeight : GetFaceRadius(code);
}

int CTargetTypes::GetFirstRingLabel(int code) const
{
    if (IsFigureGroup(code))
        return kFigureFirstLabel;
    const TypeRules& rules = RulesOf(code);
    if (IsSwedish() && rules.firstLabelSE != kFromRow)
        return rules.firstLabelSE;
    return rules.firstLabel != kFromRow ? rules.firstLabel : GetLowestRing(code);
}

int CTargetTypes::GetLastRingLabel(int code) const
{
    if (IsFigureGroup(code))
        return kFigureLastLabel;
    const TypeRules& rules = RulesOf(code);
    return rules.lastLabel != kFromRow ? rules.lastLabel : GetHighestRing(code);
}

int CTargetTypes::GetRingLabelSides(int code) const { return RulesOf(code).labelSides; }

int CTargetTypes::GetMaxZoomRing(int code) const { return RulesOf(code).maxZoomRing; }

const int32_t* CTargetTypes::SpecialRingSet(int set)
{
    return (set >= 0 && set < static_cast<int>(std::size(kSpecialRingSets))) ? kSpecialRingSets[set] : nullptr;
}

int CTargetTypes::GetFigureEntry(int code)
{
    switch (GetGroup(code)) {
    case 4:
        return GetGroupIndex(code) + 3;
    case 5:
        return GetGroupIndex(code) + 19;
    default:
        return -1;
    }
}

// --- Lane defaults ---

int CTargetTypes::DefaultSensitivity(int code) const
{
    if (code == 2)  // the 100 m face is shot with the finer setting
        return 2;
    switch (GetCalibreClass(code)) {
    case C450:
        return 3;
    case C560:
        return 2;
    default:
        return 1;
    }
}

int CTargetTypes::DefaultAdvanceFrequency(int code, int) const
{
    return RulesOf(code).advanceFrequency;
}

int CTargetTypes::DefaultAdvanceLength(int code, int sensitivity) const
{
    const TypeRules& rules = RulesOf(code);
    return sensitivity == 1 ? rules.advanceLengthAtSensitivity1 : rules.advanceLength;
}

int CTargetTypes::DefaultValueSystem(int code) const
{
    const TypeRules& rules = RulesOf(code);
    if (IsSwedish() && rules.valueSystemSE != kFromRow)
        return rules.valueSystemSE;
    return rules.valueSystem;
}
