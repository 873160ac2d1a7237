// What the light and unit status dialogs take from the targets' messages,
// without a window: the lamp table and the decoding of the status replies.
#include "range/dialogs/LampTable.h"
#include "range/dialogs/UnitStatusReply.h"

#include "line/LineMessage.h"
#include "line/UnitModels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <map>

namespace unit_replies_test {

// A received message: command and lane, then bytes by their index.
LineMessage Message(uint8_t command, int lane, int length, std::map<int, uint8_t> bytes = {})
{
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    m.data[0] = static_cast<uint8_t>(length);
    m.data[2] = 0x40;
    m.data[3] = command;
    m.data[4] = static_cast<uint8_t>(lane);
    for (auto [at, b] : bytes)
        m.data[at] = b;
    return m;
}

LineMessage Light(int lane, int a, int b, int length = 16)
{
    return Message('N', lane, length, {{14, static_cast<uint8_t>(a)}, {15, static_cast<uint8_t>(b)}});
}

TEST(LampTable, KeepsWhatLanesReportAndSends255ForTheRest)
{
    LampTable t;
    EXPECT_EQ(t.A(7), LampTable::kUnknown);
    EXPECT_EQ(t.CopyOf(7), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(t.Take(Light(7, 40, 0)), 7);
    EXPECT_EQ(t.Take(Light(100, 255, 1)), 100);
    EXPECT_EQ(t.A(7), 40);
    EXPECT_EQ(t.B(7), 0);
    EXPECT_EQ(t.CopyOf(7), (std::array<int, 3>{255, 40, 0}));
    EXPECT_EQ(t.CopyOf(100), (std::array<int, 3>{255, 255, 1}));
    t.ForgetB(7);
    EXPECT_EQ(t.CopyOf(7), (std::array<int, 3>{255, 40, 255}));

    // No lane 0 or above 100, and nothing from a message too short to hold both.
    for (const LineMessage& m : {Light(0, 1, 1), Light(101, 1, 1), Light(255, 1, 1), Light(8, 1, 1, 14)})
        EXPECT_EQ(t.Take(m), 0);
    EXPECT_EQ(t.A(8), LampTable::kUnknown);
    for (int lane : {-1, 0, 101})
        EXPECT_EQ(t.A(lane), LampTable::kUnknown);
    t.ForgetA(101);
    t.Clear();
    EXPECT_EQ(t.A(7), LampTable::kUnknown);
}

TEST(LampTable, TestValuesAndTypedIntensities)
{
    const std::pair<int, int> tests[] = {{0, 0}, {1, 2}, {2, 1}, {-1, 3}, {3, 3}};
    for (auto [radio, value] : tests)
        EXPECT_EQ(LampTable::TestValue(radio), value) << radio;
    const std::pair<const char*, int> typed[] = {{"40", 40}, {"  7 ", 7}, {"", 0}, {"12.9", 12}, {"300", 44}};
    for (auto [text, value] : typed)
        EXPECT_EQ(LampTable::TypedValue(text), value) << text;
}

LineMessage Version(int lane, std::initializer_list<uint8_t> version, int length = 10)
{
    LineMessage m = Message(0x86, lane, length);
    int at = 5;
    for (uint8_t b : version)
        m.data[at++] = b;
    return m;
}

LineMessage Status(int lane, std::initializer_list<uint8_t> counters, int hardware, int flags, int model,
                   int length = 26)
{
    LineMessage m = Message(0x87, lane, length,
                            {{5, 3}, {6, 7}, {7, 20}, {8, 19}, {9, 4}, {10, 12}, {22, static_cast<uint8_t>(hardware)},
                             {25, static_cast<uint8_t>(flags)}, {26, static_cast<uint8_t>(model)}});
    int at = 11;
    for (uint8_t b : counters)
        m.data[at++] = b;
    return m;
}

TEST(UnitStatusReply, VersionReply)
{
    UnitVersionReply r;
    ASSERT_TRUE(DecodeUnitVersion(Version(9, {3, 7, 20, 19, 4, 12}), r));
    EXPECT_EQ(r.lane, 9);
    EXPECT_EQ(r.version, "3.07 2019.04.12");
    ASSERT_TRUE(DecodeUnitVersion(Version(9, {12, 0, 255, 255, 255, 255}), r));
    EXPECT_EQ(r.version, "12.00 255255.255.255");
    // Too short, or another reply: nothing read.
    r = {};
    EXPECT_FALSE(DecodeUnitVersion(Version(9, {3, 7, 20, 19, 4, 12}, 9), r));
    EXPECT_FALSE(DecodeUnitVersion(Status(9, {}, 0, 0, 0), r));
    EXPECT_EQ(r.lane, 0);
}

TEST(UnitStatusReply, StatusReply)
{
    struct Case {
        const char* name;
        LineMessage m;
        const char* version;
        int64_t counter1, counter2;
        int count4;
        std::string model;
    };
    const Case cases[] = {
        // The upper half of a counter is worth 10000.
        {"counter halves", Status(4, {0, 1, 0, 2, 0, 0, 1, 0}, 20, 0, 1), "3.07 2019.04.12 HW=20", 10002, 256,
         (10002 + 256) & 15, HardwareModelName(1)},
        // Below hardware 32 the count is of the counters, from 32 on of the flags.
        {"hardware 31", Status(4, {0, 0, 0, 7, 0, 0, 0, 5}, 31, 0x0B, 11), "3.07 2019.04.12 HW=31", 7, 5, 12,
         HardwareModelName(11)},
        {"hardware 32", Status(4, {0, 0, 0, 7, 0, 0, 0, 5}, 32, 0x0B, 8), "3.07 2019.04.12 HW=32", 7, 5, 11,
         HardwareModelName(8)},
        {"flag H", Status(4, {}, 40, 0x4F, 0), "3.07 2019.04.12 HW=40H", 0, 0, 15, "?????"},
        {"model 12", Status(4, {255, 255, 255, 255, 255, 255, 255, 255}, 0, 0, 12), "3.07 2019.04.12 HW=0",
         655415535, 655415535, (655415535 * 2) & 15, "?????"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnitStatusReply r;
        ASSERT_TRUE(DecodeUnitStatus(c.m, r));
        EXPECT_EQ(r.lane, 4);
        EXPECT_EQ(r.version, c.version);
        EXPECT_EQ(r.counter1, c.counter1);
        EXPECT_EQ(r.counter2, c.counter2);
        EXPECT_EQ(r.count4, c.count4);
        EXPECT_EQ(r.model, c.model);
    }
    UnitStatusReply r;
    EXPECT_FALSE(DecodeUnitStatus(Status(4, {}, 0, 0, 1, 25), r));
    EXPECT_FALSE(DecodeUnitStatus(Version(4, {1, 2, 3, 4, 5, 6}, 26), r));
    EXPECT_TRUE(r.model.empty());
}

}  // namespace
