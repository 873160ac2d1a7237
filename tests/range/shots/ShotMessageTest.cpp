// The shot message of a unit and the ShotRecord built from it, byte for byte.
#include "range/shots/ShotMessage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A shot message with a different value in every field.
std::vector<uint8_t> SampleShot()
{
    return {
        50,   0x01, 0x40, 'C',  7,                    // length, address, -, command, lane
        0x20, 3,    0x02, 0x01,                       // kind, competition, relay 258
        0x85, 17,   18,   5,                          // series (bit 7 set), shot 17, card count 18, series now
        0,    0,    0,    0,                          // 13..16
        0x17, 0x04,                                   // value 1047
        0,    0,    0,    0,                          // 19..22
        0x33, 0,    0x44, 0x80, 0x55,                 // 23, 24, 25, state, 27
        0xC7, 0xCF, 0xFF,                             // X -12345
        0x80, 0x84, 0x1E,                             // Y 2000000
        21,                                           // temperature
        11,   22,   33,   44,                         // sensors A..D
        0x97, 0x38, 0x4D,                             // 14:03:27.59 in hundredths
        0xE2, 0xFF, 0xFF,                             // second time -30
        0xA7, 0x66, 0x77, 0x88,                       // nibbles, 46, 47, 48
        0x3C,                                         // every flag bit
    };
}

TEST(ShotMessage, RecordByteForByte)
{
    std::vector<uint8_t> m = SampleShot();
    ASSERT_EQ(m.size(), 50u);
    platform::LocalTime today{2024, 3, 9, 23, 59, 0, 0, 6};
    ShotRecord r = ShotMessage::ToShotRecord(m.data(), today);

    const uint8_t expected[52] = {
        0x80,                    // state
        0x0D, 0x03,              // flags 5 + 0x08 + 0x100 + 0x200
        0xC7, 0xCF, 0xFF, 0xFF,  // X
        0x80, 0x84, 0x1E, 0x00,  // Y
        0xA6, 0x84, 0x1E, 0x00,  // radius 2000038
        0x17, 0x04,              // value
        0x44,                    // byte 25 of the message
        0x34, 0x08,              // temperature 2100
        0x33,                    // byte 23 of the message
        17,                      // shot number
        0,                       // display position
        20, 24, 3, 9,            // today's date
        14, 3, 27, 59,           // the unit's time
        0xE2, 0xFF, 0xFF, 0xFF,  // second time value
        5,                       // series without bit 7
        0,                       // counting series
        11, 22, 33, 44,          // sensors
        0x55,                    // byte 27 of the message
        0x0A, 0x07,              // nibbles of byte 45
        0x66,                    // byte 46
        0x77, 0x00,              // byte 47
        0x88,                    // byte 48
        0, 0, 0, 0,
    };
    uint8_t bytes[52];
    std::memcpy(bytes, &r, sizeof bytes);
    for (int i = 0; i < 52; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "record byte " << i;

    ShotMessage s = ShotMessage::Parse(m.data());
    EXPECT_EQ(s.kind, 0x20);
    EXPECT_EQ(s.competition, 3);
    EXPECT_EQ(s.relay, 258);
    EXPECT_EQ(s.series, 0x85);
    EXPECT_EQ(s.shotNumber, 17);
    EXPECT_EQ(s.cardCount, 18);
    EXPECT_EQ(s.currentSeries, 5);
    EXPECT_TRUE(s.IsShot());
}

TEST(ShotMessage, FlagsAndTimes)
{
    struct Case {
        uint8_t flagByte;
        uint16_t flags;
        uint32_t time;  // hundredths since midnight
        int hour, minute, second, hundredths;
    };
    const Case cases[] = {
        {0x00, 0x001, 0, 0, 0, 0, 0},
        {0x04, 0x005, 8639999, 23, 59, 59, 99},
        {0x08, 0x009, 360000, 1, 0, 0, 0},
        {0x10, 0x101, 6000, 0, 1, 0, 0},
        {0x20, 0x201, 100, 0, 0, 1, 0},
        // Bits the record does not carry are left out; a time past midnight
        // wraps into the day.
        {0xC3, 0x001, 8640000 + 4500, 0, 0, 45, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        std::vector<uint8_t> m = SampleShot();
        m[49] = c.flagByte;
        m[39] = static_cast<uint8_t>(c.time);
        m[40] = static_cast<uint8_t>(c.time >> 8);
        m[41] = static_cast<uint8_t>(c.time >> 16);
        ShotRecord r = ShotMessage::ToShotRecord(m.data(), platform::LocalTime{2026, 12, 31});
        EXPECT_EQ(static_cast<int>(r.flags), c.flags);  // a copy: the record is packed
        EXPECT_EQ(r.hour, c.hour);
        EXPECT_EQ(r.minute, c.minute);
        EXPECT_EQ(r.second, c.second);
        EXPECT_EQ(r.hundredths, c.hundredths);
    }
}

TEST(ShotMessage, RadiusInSixtyFourBits)
{
    struct Case {
        int32_t x, y, radius;
    };
    const Case cases[] = {
        {0, 0, 0},
        {3000, -4000, 5000},
        {-1, 1, 1},
        {12345, 2000000, 2000038},
        // The largest coordinates of 24 bits: their squares pass 32 bits.
        {8388607, 8388607, 11863281},
        {-8388608, -8388608, 11863283},
        {-8388608, 0, 8388608},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShotRadius(c.x, c.y), c.radius) << c.x << "," << c.y;
}

TEST(ShotMessage, CardCheck)
{
    ShotListRecord list;
    CDataComp::ClearShots(list);
    // 23 shots, a shot without position at slot 4, a gap at slot 24 and a
    // shot beyond it that the unit has not confirmed.
    for (int i = 0; i < 26; ++i) {
        ShotRecord& s = list.shots[i];
        s.state = CDataComp::kSlotShot;
        s.x = 1000 * i - 7000;
        s.y = 0x123456 + i;
        s.value = static_cast<int16_t>(900 + 7 * i);
        s.century = 20;
        s.year = 26;
        s.month = static_cast<uint8_t>(1 + i % 12);
    }
    list.shots[4].state = CDataComp::kSlotNoPosition;
    list.shots[24].state = CDataComp::kSlotSkipped;

    CardCheck c = CardCheck::Of(list);
    EXPECT_EQ(c.shots, 23);
    ASSERT_EQ(c.checks.size(), 2u);
    for (int g = 0; g < 2; ++g) {
        uint8_t expected = 0;
        for (int i = g * 10; i < g * 10 + 10; ++i) {
            const ShotRecord& s = list.shots[i];
            if (s.state != CDataComp::kSlotShot)
                continue;
            for (int v : {s.x, s.y})
                expected ^= static_cast<uint8_t>(v) ^ static_cast<uint8_t>(v >> 8) ^ static_cast<uint8_t>(v >> 16);
            expected ^= static_cast<uint8_t>(s.value) ^ static_cast<uint8_t>(s.value >> 8);
            expected ^= s.century ^ s.year ^ s.month;
        }
        EXPECT_EQ(c.checks[static_cast<size_t>(g)], expected) << g;
    }

    // An empty card and a card of nine shots carry no check byte.
    CDataComp::ClearShots(list);
    EXPECT_EQ(CardCheck::Of(list).shots, 0);
    for (int i = 0; i < 9; ++i)
        list.shots[i].state = CDataComp::kSlotShot;
    EXPECT_EQ(CardCheck::Of(list).shots, 9);
    EXPECT_TRUE(CardCheck::Of(list).checks.empty());
}

}  // namespace
