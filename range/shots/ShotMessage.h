#pragma once
// The shot message of a target unit ('C'): a shot with its coordinates,
// value, sensor levels and time, or only the state of the unit's card. The
// fields the frame checks are read here, and the ShotRecord that goes onto
// the card is built here, field by field. Positions count from the length
// byte (0); multi-byte numbers are little-endian.
#include "foundation/comp/DataComp.h"
#include "platform/system/Clock.h"

#include <cstdint>
#include <vector>

struct ShotMessage {
    // The shortest messages: a state report, and a shot with its data.
    static constexpr int kStateLength = 16;
    static constexpr int kShotLength = 50;
    static constexpr uint8_t kRepeated = 0x21;  // a shot sent again on request

    int kind = 0;
    int competition = 0;
    int relay = 0;
    int series = 0;         // of the shot, 1..28
    int shotNumber = 0;     // 1..250
    int cardCount = 0;      // shots and skips the unit's card holds
    int currentSeries = 0;  // the lane's series now

    static ShotMessage Parse(const uint8_t* m);
    // Kinds 0x20 to 0x2F carry a shot; any other reports the card's state.
    static bool IsShot(int kind) { return kind >= 0x20 && kind <= 0x2F; }
    bool IsShot() const { return IsShot(kind); }

    // The ShotRecord of a shot message (at least kShotLength bytes). The
    // date is the range control's (today), the time of day the unit's.
    static ShotRecord ToShotRecord(const uint8_t* m, const platform::LocalTime& today);
};

// The distance from the centre in micrometres, truncated; coordinates of
// 24 bits square beyond 32 bits.
int32_t ShotRadius(int32_t x, int32_t y);

// What the lane's monitor compares its card with: the shots on the card up
// to its first gap or free slot, and per ten slots a check byte of the
// coordinates, the value and the date of the shots in them.
struct CardCheck {
    int shots = 0;
    std::vector<uint8_t> checks;  // shots / 10 bytes

    static CardCheck Of(const ShotListRecord& list);
};
