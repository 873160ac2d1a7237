// The hit zones of the figures: the outlines that decide whether a shot hit a
// field figure, or the animal around the rings of a game target, and that the
// card pictures and the display draw. Each outline is a list of points in
// 1/32 mm (y upwards) from the top of the figure clockwise to its bottom, so
// that every direction from the centre crosses it once; its header holds a
// circle wholly inside and one holding the whole outline, which settle most
// shots without walking the edges.
#include "foundation/targets/TargetTypes.h"

#include <iterator>

namespace {

constexpr uint8_t H = kOutlineHeader;
constexpr uint8_t L = kOutlineLine;
constexpr uint8_t A = kOutlineArc;
constexpr uint8_t C = kOutlineCentre;
constexpr uint8_t E = kOutlineLast;

// Roe deer, the body around the rings of code 34; the animal faces right (entry 30 is
// the same animal facing left). A hit here outside the rings counts as a hit on the animal.
constexpr OutlineItem kOutline0[] = {
    {H, 3706, 5440}, {L, 0, 3712}, {L, 1216, 3840}, {L, 2400, 3712}, {L, 3456, 3392},
    {L, 4416, 2816}, {L, 5056, 1984}, {L, 5184, 800}, {L, 4960, -480}, {L, 4480, -1760},
    {L, 3680, -2816}, {L, 2400, -3584}, {E, 0, -3712},
    {H, 3705, 5440}, {L, 0, 3712}, {L, 1440, 3808}, {L, 2720, 3616}, {L, 3680, 3200},
    {L, 4320, 2560}, {L, 4672, 1600}, {L, 4800, 480}, {L, 4704, -800}, {L, 4352, -1920},
    {L, 3584, -2944}, {L, 2240, -3584}, {E, 0, -3712},
    {H, 0, 0}, {E, 0, 0},
};
// Moose, the body around the rings of code 33 as shot in Sweden.
constexpr OutlineItem kOutline1[] = {
    {H, 7757, 8992}, {L, 0, 7808}, {L, 2327, 7542}, {L, 4496, 6762}, {L, 6358, 5521},
    {L, 7787, 3904}, {L, 8686, 2021}, {L, 8992, 0}, {L, 8686, -2021}, {L, 7787, -3904},
    {L, 6358, -5521}, {L, 4496, -6762}, {L, 2327, -7542}, {E, 0, -7808},
    {H, 0, 0}, {E, 0, 0},
};
// Moose calf, the body around the rings of code 37 as shot in Sweden; longer towards the head.
constexpr OutlineItem kOutline2[] = {
    {H, 7563, 8960}, {L, 0, 7648}, {L, 3077, 7187}, {L, 5784, 5859}, {L, 7792, 3824},
    {L, 8861, 1328}, {L, 8861, -1328}, {L, 7792, -3824}, {L, 5784, -5859}, {L, 3077, -7187},
    {E, 0, -7648},
    {H, 7545, 8960}, {L, 0, 7616}, {L, 2254, 7307}, {L, 4325, 6407}, {L, 6046, 4987},
    {L, 7277, 3164}, {L, 7919, 1084}, {L, 7919, -1084}, {L, 7277, -3164}, {L, 6046, -4987},
    {L, 4325, -6407}, {L, 2254, -7307}, {E, 0, -7616},
    {H, 0, 0}, {E, 0, 0},
};
// Fig C20
constexpr OutlineItem kOutline3[] = {
    {H, 1600, 3200}, {A, 0, 3200}, {C, 0, 0}, {A, 3200, 0}, {C, 0, 0}, {L, 2771, -1600},
    {E, 0, -1600},
    {H, 640, 1280}, {A, 0, 1280}, {C, 0, 0}, {A, 1280, 0}, {C, 0, 0}, {L, 1109, -640}, {E, 0, -640},
};
// Fig C25
constexpr OutlineItem kOutline4[] = {
    {H, 2400, 4000}, {A, 0, 4000}, {C, 0, 0}, {A, 4000, 0}, {C, 0, 0}, {L, 3200, -2400},
    {E, 0, -2400},
    {H, 960, 1600}, {A, 0, 1600}, {C, 0, 0}, {A, 1600, 0}, {C, 0, 0}, {L, 1280, -960}, {E, 0, -960},
};
// Fig C30
constexpr OutlineItem kOutline5[] = {
    {H, 3200, 4800}, {A, 0, 4800}, {C, 0, 0}, {A, 4800, 0}, {C, 0, 0}, {L, 3578, -3200},
    {E, 0, -3200},
    {H, 1280, 1920}, {A, 0, 1920}, {C, 0, 0}, {A, 1920, 0}, {C, 0, 0}, {L, 1431, -1280},
    {E, 0, -1280},
};
// Fig C35
constexpr OutlineItem kOutline6[] = {
    {H, 3919, 5600}, {A, 0, 5600}, {C, 0, 0}, {A, 5600, 0}, {C, 0, 0}, {L, 3919, -4000},
    {E, 0, -4000},
    {H, 1568, 2240}, {A, 0, 2240}, {C, 0, 0}, {A, 2240, 0}, {C, 0, 0}, {L, 1568, -1600},
    {E, 0, -1600},
};
// Fig C40
constexpr OutlineItem kOutline7[] = {
    {H, 4800, 6400}, {A, 0, 6400}, {C, 0, 0}, {A, 6400, 0}, {C, 0, 0}, {L, 4233, -4800},
    {E, 0, -4800},
    {H, 1920, 2560}, {A, 0, 2560}, {C, 0, 0}, {A, 2560, 0}, {C, 0, 0}, {L, 1693, -1920},
    {E, 0, -1920},
};
// Fig C50
constexpr OutlineItem kOutline8[] = {
    {H, 6400, 8000}, {A, 0, 8000}, {C, 0, 0}, {A, 8000, 0}, {C, 0, 0}, {L, 4800, -6400},
    {E, 0, -6400},
    {H, 2560, 3200}, {A, 0, 3200}, {C, 0, 0}, {A, 3200, 0}, {C, 0, 0}, {L, 1920, -2560},
    {E, 0, -2560},
};
// Fig S30
constexpr OutlineItem kOutline9[] = {
    {H, 4800, 4800}, {A, 0, 4800}, {C, 0, 0}, {A, 4800, 0}, {C, 0, 0}, {E, 0, -4800},
    {H, 1920, 1920}, {A, 0, 1920}, {C, 0, 0}, {A, 1920, 0}, {C, 0, 0}, {E, 0, -1920},
};
// Fig 1/8: head and shoulders in profile, facing left; the face is the left outline.
constexpr OutlineItem kOutline10[] = {
    {H, 3075, 7456}, {L, 0, 6087}, {L, 2243, 5382}, {L, 2499, 3524}, {L, 2307, 2243},
    {L, 5831, -4646}, {E, 0, -4646},
    {H, 2147, 7456}, {L, 0, 6087}, {L, 2179, 5382}, {L, 2948, 3364}, {L, 2435, 2563},
    {L, 2050, 641}, {L, 5767, -4646}, {E, 0, -4646},
    {H, 1230, 2982}, {L, 0, 2435}, {L, 897, 2153}, {L, 1000, 1410}, {L, 923, 897}, {L, 2332, -1858},
    {E, 0, -1858},
    {H, 859, 2963}, {L, 0, 2435}, {L, 871, 2153}, {L, 1179, 1346}, {L, 974, 1025}, {L, 820, 256},
    {L, 2307, -1858}, {E, 0, -1858},
};
// Fig 1/6: in profile, facing left
constexpr OutlineItem kOutline11[] = {
    {H, 4313, 10112}, {L, 0, 8012}, {L, 3045, 6890}, {L, 2948, 3846}, {L, 7820, -6410},
    {E, 0, -6410},
    {H, 2829, 10112}, {L, 0, 8012}, {L, 2724, 7115}, {L, 3589, 4487}, {L, 4102, 3365},
    {L, 3269, 2628}, {L, 2756, 641}, {L, 7692, -6410}, {E, 0, -6410},
    {H, 1724, 4045}, {L, 0, 3205}, {L, 1218, 2756}, {L, 1179, 1538}, {L, 3128, -2564},
    {E, 0, -2564},
    {H, 1131, 4006}, {L, 0, 3205}, {L, 1090, 2846}, {L, 1436, 1795}, {L, 1641, 1346},
    {L, 1308, 1051}, {L, 1102, 256}, {L, 3077, -2564}, {E, 0, -2564},
};
// Fig 1/4: head and shoulders
constexpr OutlineItem kOutline12[] = {
    {H, 3074, 9248}, {L, 0, 6562}, {L, 1088, 6434}, {L, 1857, 5986}, {L, 2241, 5217},
    {L, 2273, 4353}, {L, 2017, 3585}, {L, 1600, 2625}, {L, 4801, 1280}, {L, 6882, 160},
    {L, 7906, -1921}, {L, 8226, -4225}, {E, 0, -4225},
    {H, 1229, 3700}, {L, 0, 2625}, {L, 435, 2574}, {L, 743, 2394}, {L, 896, 2087}, {L, 909, 1741},
    {L, 807, 1434}, {L, 640, 1050}, {L, 1921, 512}, {L, 2753, 64}, {L, 3163, -768},
    {L, 3291, -1690}, {E, 0, -1690},
};
// Fig 1/3: head and upper body
constexpr OutlineItem kOutline13[] = {
    {H, 5552, 10080}, {L, 0, 9303}, {L, 1219, 9142}, {L, 2053, 8597}, {L, 2502, 7699},
    {L, 2502, 6801}, {L, 2310, 6031}, {L, 2117, 5133}, {L, 5453, 3785}, {L, 7442, 2310},
    {L, 8020, 0}, {L, 8148, -5934}, {E, 0, -5934},
    {H, 2220, 4032}, {L, 0, 3721}, {L, 488, 3657}, {L, 821, 3439}, {L, 1001, 3080}, {L, 1001, 2720},
    {L, 924, 2412}, {L, 847, 2053}, {L, 2181, 1514}, {L, 2977, 924}, {L, 3208, 0}, {L, 3259, -2374},
    {E, 0, -2374},
};
// Fig B30: bust
constexpr OutlineItem kOutline14[] = {
    {H, 2516, 5600}, {L, 0, 4974}, {L, 1284, 4814}, {L, 1990, 4108}, {L, 2054, 3145},
    {L, 1765, 2439}, {L, 1540, 1990}, {L, 3530, 1284}, {L, 3787, -642}, {L, 3594, -3209},
    {L, 3209, -4589}, {E, 0, -4589},
    {H, 1006, 2241}, {L, 0, 1990}, {L, 513, 1926}, {L, 796, 1643}, {L, 822, 1258}, {L, 706, 976},
    {L, 616, 796}, {L, 1412, 513}, {L, 1515, -257}, {L, 1438, -1284}, {L, 1284, -1836},
    {E, 0, -1836},
};
// Fig B65: bust
constexpr OutlineItem kOutline15[] = {
    {H, 5579, 12416}, {L, 0, 11029}, {L, 2846, 10673}, {L, 4412, 9108}, {L, 4554, 6973},
    {L, 3913, 5408}, {L, 3415, 4412}, {L, 7827, 2846}, {L, 8396, -1423}, {L, 7969, -7115},
    {L, 7115, -10175}, {E, 0, -10175},
    {H, 2231, 4967}, {L, 0, 4412}, {L, 1138, 4269}, {L, 1765, 3643}, {L, 1822, 2789},
    {L, 1565, 2163}, {L, 1366, 1765}, {L, 3131, 1138}, {L, 3358, -569}, {L, 3188, -2846},
    {L, 2846, -4070}, {E, 0, -4070},
};
// Fig T50: barrel
constexpr OutlineItem kOutline16[] = {
    {H, 6400, 8933}, {L, 0, 8000}, {A, 3973, 8000}, {C, -8000, 0}, {A, 6400, 0}, {C, -8000, 0},
    {L, 3973, -8000}, {E, 0, -8000},
    {H, 2560, 3573}, {L, 0, 3200}, {A, 1589, 3200}, {C, -3200, 0}, {A, 2560, 0}, {C, -3200, 0},
    {L, 1589, -3200}, {E, 0, -3200},
};
// Fig 30x10
constexpr OutlineItem kOutline17[] = {
    {H, 1600, 5060}, {L, 0, 1600}, {L, 4800, 1600}, {L, 4800, 0}, {L, 4800, -1600}, {E, 0, -1600},
    {H, 640, 2024}, {L, 0, 640}, {L, 1920, 640}, {L, 1920, 0}, {L, 1920, -640}, {E, 0, -640},
};
// Fig 13x30
constexpr OutlineItem kOutline18[] = {
    {H, 2080, 6730}, {L, 0, 6400}, {L, 2080, 6400}, {L, 2080, 0}, {L, 2080, -6400}, {E, 0, -6400},
    {H, 832, 2692}, {L, 0, 2560}, {L, 832, 2560}, {L, 832, 0}, {L, 832, -2560}, {E, 0, -2560},
};
// Fig C15
constexpr OutlineItem kOutline19[] = {
    {H, 1600, 2400}, {A, 0, 2400}, {C, 0, 0}, {A, 2400, 0}, {C, 0, 0}, {L, 1789, -1600},
    {E, 0, -1600},
    {H, 640, 1280}, {A, 0, 1280}, {C, 0, 0}, {A, 1280, 0}, {C, 0, 0}, {L, 1109, -640}, {E, 0, -640},
};
// Fig S11
constexpr OutlineItem kOutline20[] = {
    {H, 1760, 1760}, {A, 0, 1760}, {C, 0, 0}, {A, 1760, 0}, {C, 0, 0}, {E, 0, -1760},
    {H, 704, 704}, {A, 0, 704}, {C, 0, 0}, {A, 704, 0}, {C, 0, 0}, {E, 0, -704},
};
// Fig 1/10: in profile, facing left
constexpr OutlineItem kOutline21[] = {
    {H, 1683, 4096}, {L, 0, 3365}, {L, 961, 3204}, {L, 1346, 2563}, {L, 1346, 1762},
    {L, 1218, 1282}, {L, 3268, -2467}, {E, 0, -2467},
    {H, 1250, 4096}, {L, 0, 3365}, {L, 961, 3204}, {L, 1442, 2403}, {L, 1762, 1762},
    {L, 1506, 1410}, {L, 1410, 961}, {L, 1154, 481}, {L, 3204, -2467}, {E, 0, -2467},
    {H, 673, 1638}, {L, 0, 1346}, {L, 385, 1282}, {L, 538, 1025}, {L, 538, 705}, {L, 487, 513},
    {L, 1307, -987}, {E, 0, -987},
    {H, 499, 1618}, {L, 0, 1346}, {L, 385, 1282}, {L, 577, 961}, {L, 705, 705}, {L, 602, 564},
    {L, 564, 385}, {L, 461, 192}, {L, 1282, -987}, {E, 0, -987},
};
// Fig M1/4. Its sloping upper edges pass nearer the centre than the cut below:
// the inner circles of its headers are those distances (36 mm and 12 mm), so that a shot
// beside the point of the figure is never taken as a hit without looking at the edge.
constexpr OutlineItem kOutline22[] = {
    {H, 1152, 2720}, {L, 0, 1920}, {L, 1440, 0}, {L, 2400, -1280}, {E, 0, -1280},
    {H, 384, 1154}, {L, 0, 640}, {L, 480, 0}, {L, 960, -640}, {E, 0, -640},
};
// Fig M1/3
constexpr OutlineItem kOutline23[] = {
    {H, 1600, 2753}, {L, 0, 2560}, {L, 2240, 0}, {L, 2240, -1600}, {E, 0, -1600},
    {H, 640, 1101}, {L, 0, 1024}, {L, 896, 0}, {L, 896, -640}, {E, 0, -640},
};
// Fig T16: barrel
constexpr OutlineItem kOutline24[] = {
    {H, 2319, 2847}, {L, 0, 2560}, {A, 1244, 2560}, {C, -1264, 0}, {A, 2320, 0}, {C, -1264, 0},
    {L, 1244, -2560}, {E, 0, -2560},
    {H, 928, 1139}, {L, 0, 1024}, {A, 498, 1024}, {C, -506, 0}, {A, 928, 0}, {C, -506, 0},
    {L, 498, -1024}, {E, 0, -1024},
};
// Fig P20: rhombus
constexpr OutlineItem kOutline25[] = {
    {H, 1431, 3200}, {L, 0, 1600}, {L, 3200, 0}, {E, 0, -1600},
    {H, 572, 1280}, {L, 0, 640}, {L, 1280, 0}, {E, 0, -640},
};
// Fig 22x7
constexpr OutlineItem kOutline26[] = {
    {H, 1200, 3795}, {L, 0, 1200}, {L, 3600, 1200}, {L, 3600, 0}, {L, 3600, -1200}, {E, 0, -1200},
    {H, 480, 1518}, {L, 0, 480}, {L, 1440, 480}, {L, 1440, 0}, {L, 1440, -480}, {E, 0, -480},
};
// Fig 8x23: rounded ends
constexpr OutlineItem kOutline27[] = {
    {H, 1280, 3680}, {A, 0, 3680}, {C, 0, 2400}, {L, 1280, 2400}, {L, 1280, 0}, {A, 1280, -2400},
    {C, 0, -2400}, {E, 0, -3680},
    {H, 512, 1472}, {A, 0, 1472}, {C, 0, 960}, {L, 512, 960}, {L, 512, 0}, {A, 512, -960},
    {C, 0, -960}, {E, 0, -1472},
};
// Fig B100: bust
constexpr OutlineItem kOutline28[] = {
    {H, 8426, 18752}, {L, 0, 16657}, {L, 4299, 16120}, {L, 6663, 13755}, {L, 6878, 10531},
    {L, 5910, 8167}, {L, 5158, 6663}, {L, 11821, 4299}, {L, 12681, -2149}, {L, 12036, -10746},
    {L, 10746, -15367}, {E, 0, -15367},
    {H, 3370, 7502}, {L, 0, 6663}, {L, 1719, 6448}, {L, 2665, 5502}, {L, 2751, 4213},
    {L, 2364, 3267}, {L, 2063, 2665}, {L, 4728, 1719}, {L, 5072, -860}, {L, 4814, -4299},
    {L, 4299, -6147}, {E, 0, -6147},
};
// Outline drawn on the picture of the Swiss 300 m face; never scored
constexpr OutlineItem kOutline29[] = {
    {H, 7090, 18751}, {L, 0, 9600}, {L, 3200, 9600}, {A, 3200, 6720}, {C, 0, -16000},
    {L, 7200, 5760}, {L, 7200, 0}, {L, 7200, -6400}, {E, 0, -6400},
};

// Start indexes: right outer, left outer, right inner, left inner. A symmetric
// figure reads its right outlines mirrored for the left half.
constexpr FigureOutline kOutlines[CTargetTypes::kOutlineCount] = {
    {kOutline0, std::size(kOutline0), 333, {0, 13, 26, 26}},
    {kOutline1, std::size(kOutline1), 500, {0, 0, 14, 14}},
    {kOutline2, std::size(kOutline2), 500, {0, 11, 24, 24}},
    {kOutline3, std::size(kOutline3), 100, {0, 0, 7, 7}},
    {kOutline4, std::size(kOutline4), 125, {0, 0, 7, 7}},
    {kOutline5, std::size(kOutline5), 150, {0, 0, 7, 7}},
    {kOutline6, std::size(kOutline6), 175, {0, 0, 7, 7}},
    {kOutline7, std::size(kOutline7), 200, {0, 0, 7, 7}},
    {kOutline8, std::size(kOutline8), 250, {0, 0, 7, 7}},
    {kOutline9, std::size(kOutline9), 150, {0, 0, 6, 6}},
    {kOutline10, std::size(kOutline10), 215, {0, 7, 15, 22}},
    {kOutline11, std::size(kOutline11), 300, {0, 6, 15, 21}},
    {kOutline12, std::size(kOutline12), 250, {0, 0, 13, 13}},
    {kOutline13, std::size(kOutline13), 290, {0, 0, 13, 13}},
    {kOutline14, std::size(kOutline14), 155, {0, 0, 12, 12}},
    {kOutline15, std::size(kOutline15), 355, {0, 0, 12, 12}},
    {kOutline16, std::size(kOutline16), 280, {0, 0, 8, 8}},
    {kOutline17, std::size(kOutline17), 150, {0, 0, 6, 6}},
    {kOutline18, std::size(kOutline18), 200, {0, 0, 6, 6}},
    {kOutline19, std::size(kOutline19), 75, {0, 0, 7, 7}},
    {kOutline20, std::size(kOutline20), 55, {0, 0, 6, 6}},
    {kOutline21, std::size(kOutline21), 120, {0, 8, 18, 26}},
    {kOutline22, std::size(kOutline22), 75, {0, 0, 5, 5}},
    {kOutline23, std::size(kOutline23), 80, {0, 0, 5, 5}},
    {kOutline24, std::size(kOutline24), 85, {0, 0, 8, 8}},
    {kOutline25, std::size(kOutline25), 100, {0, 0, 4, 4}},
    {kOutline26, std::size(kOutline26), 110, {0, 0, 6, 6}},
    {kOutline27, std::size(kOutline27), 150, {0, 0, 8, 8}},
    {kOutline28, std::size(kOutline28), 575, {0, 0, 12, 12}},
    {kOutline29, std::size(kOutline29), 125, {0, 0, 0, 0}},
    // Entry 0 facing the other way.
    {kOutline0, std::size(kOutline0), 333, {13, 0, 26, 26}},
};

}  // namespace

const FigureOutline* CTargetTypes::GetOutline(int entry)
{
    return (entry >= 0 && entry < kOutlineCount) ? &kOutlines[entry] : nullptr;
}
