// The pure shot functions of CDataComp that every view, print and export
// uses: counted values and value texts by value system, the display order of
// a card's shots, and the rating of a shot's sensor signals.
#include "foundation/comp/DataComp.h"

#include "foundation/targets/TargetTypes.h"
#include "platform/system/StringFormat.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Series(uint8_t seriesByte) { return seriesByte & 0x7F; }

// A slot with a shot in it (not free, not a skipped position).
bool HoldsShot(const ShotRecord& slot)
{
    return slot.state != CDataComp::kSlotFree && slot.state != CDataComp::kSlotSkipped;
}

constexpr uint8_t kNoSensor = 255;

// Thresholds of the sensor rating for one sensor set: per level 0, 1, 2
// (ratings 25, 50, 75) the window of a good mean, the lowest and highest
// single levels, the deviation and the spread bounds; and the clamps of the
// spread's overall and channel means.
struct SensorThresholds {
    std::array<int, 3> low, high, min, max, dev, spr;
    int lo, hi, lo2;
};

constexpr std::array<int, 3> kSpread{6, 9, 12};

constexpr SensorThresholds kSet0{{26, 22, 19}, {37, 40, 45}, {10, 3, 0}, {70, 80, 90}, {20, 30, 60}, kSpread, 26, 37, 22};
constexpr SensorThresholds kSet1{{26, 22, 19}, {37, 40, 45}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, kSpread, 26, 37, 22};
constexpr SensorThresholds kSet3{{25, 21, 18}, {40, 46, 52}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, kSpread, 25, 40, 21};
constexpr SensorThresholds kSet47{{23, 22, 18}, {41, 45, 50}, {22, 20, 10}, {45, 60, 70}, {18, 30, 50}, kSpread, 23, 41, 22};
constexpr SensorThresholds kSet5{{25, 23, 18}, {41, 45, 50}, {23, 20, 10}, {45, 60, 70}, {18, 30, 50}, kSpread, 25, 41, 23};
constexpr SensorThresholds kSet457Air{{22, 19, 15}, {30, 37, 40}, {21, 16, 10}, {36, 41, 55}, {20, 30, 60}, kSpread, 22, 30, 19};
constexpr SensorThresholds kSet6Air{{18, 15, 10}, {40, 50, 60}, {11, 7, 3}, {55, 65, 75}, {30, 45, 60}, kSpread, 18, 40, 15};
constexpr SensorThresholds kSet6Small{{22, 19, 15}, {40, 50, 60}, {11, 7, 3}, {55, 65, 75}, {30, 45, 60}, kSpread, 22, 40, 19};
constexpr SensorThresholds kSet6Other{{24, 20, 15}, {45, 50, 60}, {11, 7, 3}, {55, 65, 75}, {30, 45, 60}, kSpread, 24, 45, 20};
constexpr SensorThresholds kSet2Small{{21, 19, 17}, {33, 35, 39}, {19, 17, 0}, {35, 45, 60}, {12, 20, 40}, kSpread, 21, 33, 19};
constexpr SensorThresholds kSet2Near{{25, 22, 19}, {38, 42, 48}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, kSpread, 25, 38, 22};
constexpr SensorThresholds kSet2Far{{25, 21, 18}, {40, 46, 52}, {12, 7, 0}, {70, 80, 90}, {20, 30, 60}, kSpread, 25, 40, 21};

// The thresholds for the low 4 bits of a target's sensor set, the lane's
// sensitivity class (1 coarse, 2 small bore, 3 air) and the distance.
const SensorThresholds& ThresholdsFor(int set, int cls, int distance)
{
    switch (set & 0x0F) {
    case 1:
        return kSet1;
    case 3:
        return kSet3;
    case 4:
    case 7:
        return cls == 3 ? kSet457Air : kSet47;
    case 5:
        return cls == 3 ? kSet457Air : kSet5;
    case 6:
        return cls == 3 ? kSet6Air : cls == 2 ? kSet6Small : kSet6Other;
    case 2:
    case 8:
    case 9:
    case 10:
    case 11:
        return cls == 2 ? kSet2Small : distance < 200 ? kSet2Near : kSet2Far;
    default:
        return kSet0;
    }
}

}  // namespace

int CDataComp::CountedValue(int v, int system)
{
    if (v >= 1200)
        return 0;
    const int r = (v / 100) * 100;
    switch (system) {
    case 0:
    case 1:
        return r == 1100 ? 1000 : r;
    case 2: {
        int t = (v / 10) * 10;
        return t >= 1100 ? t - 100 : t;
    }
    case 3:
        return r;
    case 4:
        return std::min(r, 500);
    case 5:
        return std::min(r, 100);
    case 6:
        return v >= 1100 ? v - 100 : v;
    default:
        return v;
    }
}

bool CDataComp::HasDecimals(int system) { return system == 2 || system > 5; }

int CDataComp::ValueText(int v, int system, std::string& out) const
{
    const int counted = CountedValue(v, system);
    if (v >= 1300) {
        out.clear();
        return counted;
    }
    if (system < 0 || system > 6)
        return counted;
    const char* s = decimalSeparator.c_str();
    const int a = v / 100;
    const int b = (v / 10) % 10;
    const int c = v % 100;
    const bool starredZero = v >= 1200;
    const bool starred = v >= 1100 && v < 1200;
    switch (system) {
    case 0:
        out = starredZero ? platform::StringFormat("*0%s%d", s, b)
              : starred   ? platform::StringFormat("*%s%d", s, b)
              : v >= 1000 ? platform::StringFormat("X%s%d", s, b)
                          : platform::StringFormat("%d%s%d", a, s, b);
        break;
    case 1:
    case 2:
        out = starredZero ? platform::StringFormat("*0%s%d", s, b) : starred ? platform::StringFormat("*%d%s%d", a - 1, s, b) : platform::StringFormat("%d%s%d", a, s, b);
        break;
    case 3:
        out = starredZero ? platform::StringFormat("*0%s%d", s, b) : platform::StringFormat("%d%s%d", a, s, b);
        break;
    case 4:
        out = starredZero ? platform::StringFormat("*0%s%d", s, b) : (starred || v >= 600) ? platform::StringFormat("*5%s%d", s, b) : platform::StringFormat("%d%s%d", a, s, b);
        break;
    case 5:
        out = v >= 200 ? "*1" : v >= 100 ? "1" : "0";
        break;
    case 6:
        out = starredZero ? platform::StringFormat("*0%s%02d", s, c) : starred ? platform::StringFormat("*%d%s%02d", a - 1, s, c) : platform::StringFormat("%d%s%02d", a, s, c);
        break;
    }
    return counted;
}

std::string& CDataComp::ShortValueText(int t, std::string& out, int system)
{
    const int d = (t / 10) * 10;
    // Columns: t >= 130 (no value), 120..129 (starred zero), 110..119,
    // 100..109, 10..99, below 10.
    const int column = t >= 130 ? 0 : t >= 120 ? 1 : t >= 110 ? 2 : t >= 100 ? 3 : t >= 10 ? 4 : 5;
    switch (system) {
    case 0:
    case 1: {
        static const char* const fixed[] = {"  0 ", "  0* ", "100 ", nullptr, nullptr, "  0 "};
        out = fixed[column] ? fixed[column] : platform::StringFormat("%3d ", d);
        break;
    }
    case 2: {
        static const char* const fixed[] = {"  0 ", "  0* ", nullptr, nullptr, nullptr, "  0 "};
        out = fixed[column] ? fixed[column] : platform::StringFormat("%3d ", column == 2 ? t - 10 : t);
        break;
    }
    case 3: {
        static const char* const fixed[] = {"  0 ", "  0* ", nullptr, nullptr, nullptr, "  0 "};
        out = fixed[column] ? fixed[column] : platform::StringFormat("%3d ", d);
        break;
    }
    case 4: {
        static const char* const fixed[] = {"  0 ", "  0* ", " 50 ", " 50 ", nullptr, "  0 "};
        out = fixed[column] ? fixed[column] : t >= 60 ? " 50 " : platform::StringFormat("%3d ", d);
        break;
    }
    case 5: {
        static const char* const fixed[] = {" 0", "0*", " *", " 1", " 1", " 0"};
        out = fixed[column];
        break;
    }
    case 99: {
        static const char* const fixed[] = {"?", "#", "*", "X", nullptr, "0"};
        out = fixed[column] ? fixed[column] : platform::StringFormat("%d", t / 10);
        break;
    }
    default:
        out.clear();
        break;
    }
    return out;
}

int CDataComp::FindSeriesShot(const ShotListRecord& list, int series, int n, const uint8_t order[kSlots])
{
    int found = 0;
    for (int k = 0; k < kSlots; ++k) {
        const uint8_t entry = order[k];
        if (entry == kOrderEnd || entry >= kSlots)
            break;
        const ShotRecord& shot = list.shots[entry];
        if (shot.series == 0)
            break;
        if (shot.countingSeries == series && ++found == n)
            return entry;
    }
    return -1;
}

void CDataComp::BuildShotOrder(const ShotListRecord& list, uint8_t order[kSlots], bool resort)
{
    std::memset(order, kOrderEnd, kSlots);
    // The shots that are shown, in slot order.
    uint8_t shown[kSlots];
    int count = 0;
    for (int s = 0; s < kSlots; ++s) {
        int series = Series(list.shots[s].series);
        if (series >= 1 && series <= kMaxSeries)
            shown[count++] = static_cast<uint8_t>(s);
    }
    if (resort) {
        // Each shot moves its order offset places earlier.
        for (int i = 0; i < count; ++i) {
            uint8_t entry = shown[i];
            int to = std::max(0, i - list.shots[entry].orderOffset);
            std::memmove(shown + to + 1, shown + to, static_cast<size_t>(i - to));
            shown[to] = entry;
        }
    }
    // Series by series: shots with a display position at it (or the next free
    // place after it), the others in the free places from the start.
    int out = 0;
    for (int series = 1; series <= kMaxSeries; ++series) {
        uint8_t row[kSlots];
        std::memset(row, kOrderEnd, sizeof row);
        auto place = [&](uint8_t entry, int from) {
            for (int p = from; p < kSlots; ++p) {
                if (row[p] == kOrderEnd) {
                    row[p] = entry;
                    return true;
                }
            }
            return false;
        };
        bool any = false;
        for (int i = 0; i < count; ++i) {
            const ShotRecord& shot = list.shots[shown[i]];
            if (Series(shot.series) == series && shot.displayPos >= 1 && shot.displayPos <= 99) {
                // A card of shots all placed at the end still fits: the row
                // has a place for every shot of the card.
                if (!place(shown[i], shot.displayPos - 1))
                    place(shown[i], 0);
                any = true;
            }
        }
        for (int i = 0; i < count; ++i) {
            const ShotRecord& shot = list.shots[shown[i]];
            // Positions beyond 99 are set by no writer; such a shot is shown
            // like one without a position rather than lost.
            if (Series(shot.series) == series && (shot.displayPos == 0 || shot.displayPos > 99)) {
                place(shown[i], 0);
                any = true;
            }
        }
        if (!any)
            continue;
        for (int p = 0; p < kSlots && out < kSlots; ++p)
            if (row[p] != kOrderEnd)
                order[out++] = row[p];
    }
}

int CDataComp::RateSensors(const ShotListRecord& list, int last, int targetType, int sensitivity) const
{
    const int first = last >= 0 ? std::min(last, kSlots - 1) : 0;
    const int end = last >= 0 ? first + 1 : kSlots;       // the rated slots
    const int spreadEnd = last >= 0 ? first + 1 : kSlots;  // the spread runs over slots 0 .. end - 1
    auto present = [](uint8_t level) { return level != kNoSensor; };

    // Level statistics of the rated shots. Only slots holding a shot count,
    // and only shots with their three main sensors: a free slot or a shot
    // entered by hand has no signal to rate.
    int sumMeans = 0, count = 0, lowest = 255, highest = 0, set = 0;
    for (int s = first; s < end; ++s) {
        const ShotRecord& shot = list.shots[s];
        if (!HoldsShot(shot) || shot.value >= 1200 || !present(shot.sensorA) || !present(shot.sensorB) ||
            !present(shot.sensorC))
            continue;
        const int a = shot.sensorA, b = shot.sensorB, c = shot.sensorC, d = shot.sensorD;
        sumMeans += present(shot.sensorD) ? ((a + b + c + d + 2) * 10) / 4 : ((a + b + c) * 10 + 15) / 3;
        ++count;
        for (uint8_t level : {shot.sensorA, shot.sensorB, shot.sensorC, shot.sensorD}) {
            if (!present(level))
                continue;
            lowest = std::min<int>(lowest, level);
            highest = std::max<int>(highest, level);
        }
        if (set == 0 && shot.sensorSet != 0)
            set = shot.sensorSet;
    }
    int e = 29;
    if (count > 0)
        e = (sumMeans / count) / 10;
    else
        count = 1;

    int deviationSum = 0;
    for (int s = first; s < end; ++s) {
        const ShotRecord& shot = list.shots[s];
        if (!HoldsShot(shot))
            continue;
        for (uint8_t level : {shot.sensorA, shot.sensorB, shot.sensorC, shot.sensorD})
            if (present(level))
                deviationSum += std::abs(level - e);
    }
    const int deviation = deviationSum / count;

    const int distance = CTargetTypes().GetDistance(targetType);
    if (set == 0)
        set = distance >= 300 ? 1 : distance >= 100 ? 2 : distance == 25 ? 6 : 5;
    const SensorThresholds& t = ThresholdsFor(set, sensitivity, distance);

    // Spread: how far the channels' means lie from the overall mean.
    int spread = 0;
    int shots = 0;
    for (int s = 0; s < spreadEnd; ++s)
        shots += HoldsShot(list.shots[s]) ? 1 : 0;
    if (shots >= 5) {
        int sumClamped = 0;
        int channelSum[4] = {}, channelCount[4] = {};
        for (int s = 0; s < spreadEnd; ++s) {
            const ShotRecord& shot = list.shots[s];
            if (!HoldsShot(shot))
                continue;
            const uint8_t levels[4] = {shot.sensorA, shot.sensorB, shot.sensorC, shot.sensorD};
            for (int ch = 0; ch < 4; ++ch) {
                if (!present(levels[ch]))
                    continue;
                sumClamped += std::clamp<int>(levels[ch], t.lo, t.hi);
                channelSum[ch] += std::clamp<int>(levels[ch], t.lo2, t.high[1]);
                ++channelCount[ch];
            }
        }
        int mean[4];
        for (int ch = 0; ch < 4; ++ch)
            mean[ch] = channelCount[ch] > 0 ? channelSum[ch] / channelCount[ch] : 0;
        int overall;
        if (mean[3] == 0) {
            overall = sumClamped / shots / 3;
            mean[3] = overall;
        } else {
            overall = sumClamped / shots / 4;
        }
        for (int ch = 0; ch < 4; ++ch)
            spread = std::max(spread, std::abs(mean[ch] - overall));
    }

    int rating = 0;
    for (int i = 0; i < 3; ++i) {
        const int level = 25 * (i + 1);
        const bool bad = t.min[i] >= lowest || highest >= t.max[i] || spread >= t.spr[i] ||
                         !(t.low[i] < e && e < t.high[i] && deviation < t.dev[i]);
        if (bad)
            rating = level;
    }
    return rating;
}

int32_t CDataComp::GetIntLE(const uint8_t* bytes, int n)
{
    if (n < 1 || n > 4)
        return 0;
    uint32_t value = (bytes[n - 1] & 0x80) ? 0xFFFFFFFFu : 0u;
    for (int k = 0; k < n; ++k) {
        value &= ~(0xFFu << (8 * k));
        value |= static_cast<uint32_t>(bytes[k]) << (8 * k);
    }
    return static_cast<int32_t>(value);
}
