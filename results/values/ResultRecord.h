#pragma once
// A result card: one record of Res%d.bvd per (relay index, target) of an
// event, holding up to 250 shots in slots. A slot belongs to the series
// whose number it carries; slots are in no order of series or shot.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace results {

inline constexpr int kCardSlots = 250;
inline constexpr int kMaxSeries = 99;
inline constexpr int kMaxSeriesShots = 10;

#pragma pack(push, 1)
struct ResultRecord {
    int16_t relay;               // relay index of the event; key, part 1
    int16_t target;              // key, part 2
    uint8_t value[kCardSlots];   // shot value of each slot; 255 no shot
    uint8_t series[kCardSlots];  // series 1..99 of each slot; anything else: free
    int16_t x[kCardSlots];       // as the range control delivered; 0 when typed
    int16_t y[kCardSlots];
    int16_t time[kCardSlots];
    uint8_t targetId;            // target type the range control reported
    uint8_t targetIdDef;         // its definition byte
    uint8_t reserved[2];
};

// One shot passed between the card and its users.
struct ShotEntry {
    uint8_t series;
    uint8_t shot;   // 1..10
    uint8_t value;  // 255 no shot
    int16_t x;
    int16_t y;
    int16_t time;
};
#pragma pack(pop)

static_assert(sizeof(ResultRecord) == 2008);
static_assert(offsetof(ResultRecord, target) == 2);
static_assert(offsetof(ResultRecord, value) == 4);
static_assert(offsetof(ResultRecord, series) == 254);
static_assert(offsetof(ResultRecord, x) == 504);
static_assert(offsetof(ResultRecord, y) == 1004);
static_assert(offsetof(ResultRecord, time) == 1504);
static_assert(offsetof(ResultRecord, targetId) == 2004);
static_assert(offsetof(ResultRecord, targetIdDef) == 2005);
static_assert(offsetof(ResultRecord, reserved) == 2006);
static_assert(sizeof(ShotEntry) == 9);
static_assert(offsetof(ShotEntry, value) == 2);
static_assert(offsetof(ShotEntry, x) == 3);
static_assert(offsetof(ShotEntry, y) == 5);
static_assert(offsetof(ShotEntry, time) == 7);

// A card not in the file: every byte 0xFF but the key.
inline ResultRecord EmptyCard(int relay, int target)
{
    ResultRecord card;
    std::memset(&card, 0xFF, sizeof card);
    card.relay = static_cast<int16_t>(relay);
    card.target = static_cast<int16_t>(target);
    return card;
}

}  // namespace results
