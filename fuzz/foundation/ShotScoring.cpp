// Scoring of shots whose coordinates come from outside: the outside range
// system's distances and simulated positions. Whatever arrives, the value is
// one the shot store knows and nothing overflows.
#include "foundation/targets/TargetTypes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    struct {
        double x, y, bullet;
        int16_t code;
        uint8_t swedish;
    } in{};
    if (size < sizeof in.x + sizeof in.y + sizeof in.bullet + sizeof in.code + 1)
        return 0;
    std::memcpy(&in.x, data, 8);
    std::memcpy(&in.y, data + 8, 8);
    std::memcpy(&in.bullet, data + 16, 8);
    std::memcpy(&in.code, data + 24, 2);
    in.swedish = data[26];

    CTargetTypes types;
    types.SetLanguage(in.swedish & 1 ? "SE" : "NO");
    int value = types.Score(in.x, in.y, in.code, in.bullet);
    int ring = types.ScoreRing(in.x, in.code, in.bullet);
    // Ring values run up to the highest ring's 99 hundredths or the inner
    // ten's 1199; the animal outside the rings adds 1200 or 2200.
    if (value < 0 || value > 2299 || ring < 0 || ring > 1199)
        std::abort();
    if (ring >= 100 && ring < 1100 && ring > types.GetMaxValue(in.code))
        std::abort();
    int32_t ux, uy;
    std::memcpy(&ux, data, 4);
    std::memcpy(&uy, data + 4, 4);
    int hit = CTargetTypes::FigureHit(ux, uy, data[26] % 33 - 1, static_cast<int32_t>(in.code));
    if (hit != 0 && hit != 10 && hit != 110)
        std::abort();
    return 0;
}
