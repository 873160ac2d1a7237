#include "line/SerialFrame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A message with the payload at positions 2.. and n set.
LineMessage Message(const Bytes& payload)
{
    LineMessage m{};
    for (size_t k = 0; k < payload.size(); ++k)
        m.data[2 + k] = payload[k];
    m.data[0] = static_cast<uint8_t>(payload.size() + 1);
    return m;
}

LineMessage Raw(const Bytes& frame)
{
    LineMessage r{};
    for (size_t k = 0; k < frame.size(); ++k)
        r.data[1 + k] = frame[k];
    r.data[0] = static_cast<uint8_t>(frame.size());
    return r;
}

Bytes FrameBytes(const LineMessage& raw) { return Bytes(raw.data + 1, raw.data + 1 + raw.data[0]); }

}  // namespace

TEST(SerialFrame, EscapeTable)
{
    for (int b = 0; b < 256; ++b) {
        uint8_t out[2] = {};
        int k = SerialFrame::Escape(static_cast<uint8_t>(b), out);
        if (b <= 0x0F) {
            ASSERT_EQ(k, 2) << b;
            EXPECT_EQ(out[0], 0x0F) << b;
            EXPECT_EQ(out[1], b | 0x10) << b;
        } else {
            ASSERT_EQ(k, 1) << b;
            EXPECT_EQ(out[0], b);
        }
    }
    struct Case { uint8_t byte; Bytes line; };
    const Case named[] = {{0x0D, {0x0F, 0x1D}}, {0x0F, {0x0F, 0x1F}}, {0x10, {0x10}}, {0x00, {0x0F, 0x10}}};
    for (const Case& c : named) {
        uint8_t out[2];
        int k = SerialFrame::Escape(c.byte, out);
        EXPECT_EQ(Bytes(out, out + k), c.line) << int(c.byte);
    }
}

TEST(SerialFrame, WeightedChecksum)
{
    struct Case { Bytes payload; uint8_t checksum; };
    const Case cases[] = {
        {{0x40, 0x57, 0x05}, 0x99},  // 0x80 + 0x105 + 0x14 = 0x199
        {{0x33}, 0x66},              // one byte: twice its value
        {{0xFF}, 0xFE},
        {{0x00, 0x00, 0x01}, 0x04},  // the third payload byte weighs 4
        {{0x01, 0x01, 0x01, 0x01}, 2 + 3 + 4 + 5},
    };
    for (const Case& c : cases) {
        LineMessage m = Message(c.payload);
        EXPECT_EQ(SerialFrame::Checksum(m.data, m.data[0]), c.checksum);
    }
}

TEST(SerialFrame, BuildsTheFramesOfTheBus)
{
    struct Case { Bytes payload; int slot; bool broadcast; Bytes frame; };
    const Case cases[] = {
        {{0x40, 0x57, 0x05}, 5, false, {0x85, 0x40, 0x57, 0x0F, 0x15, 0x99, 0x0D}},
        {{0x40, 0x57, 0x05}, 60, true, {0xBC, 0x40, 0x57, 0x0F, 0x15, 0x99, 0x0D}},
        // A carriage return and an escape byte inside the payload.
        {{0x0D, 0x0F, 0x10}, 1, false, {0x81, 0x0F, 0x1D, 0x0F, 0x1F, 0x10, 0x87, 0x0D}},
        // A checksum that needs escaping: 0x04 * 2 = 0x08.
        {{0x04}, 2, false, {0x82, 0x0F, 0x14, 0x0F, 0x18, 0x0D}},
    };
    for (const Case& c : cases) {
        LineMessage m = Message(c.payload);
        LineMessage out{};
        ASSERT_TRUE(SerialFrame::Build(m, c.slot, c.broadcast, out));
        EXPECT_EQ(FrameBytes(out), c.frame);
        EXPECT_EQ(out.raw, 1);
        EXPECT_EQ(SerialFrame::FrameLength(m), static_cast<int>(c.frame.size()));
    }
    LineMessage worked = Message({0x40, 0x57, 0x05});
    LineMessage out{};
    ASSERT_TRUE(SerialFrame::Build(worked, 5, false, out));
    EXPECT_EQ(worked.data[5], 0x99);
}

TEST(SerialFrame, RefusesFramesTheLineCannotCarry)
{
    // Payload bytes below 0x10 take two bytes each on the line: the length
    // that counts is the escaped one, address byte to carriage return.
    struct Case { int escapedBytes; int plainBytes; int length; bool fits; };
    const Case cases[] = {
        {98, 0, 199, true},
        {99, 0, 201, false},   // 99 bytes of payload, 201 on the line
        {0, 196, 199, true},
        {0, 197, 200, false},
        {50, 100, 204, false},
    };
    for (const Case& c : cases) {
        Bytes payload(static_cast<size_t>(c.escapedBytes), 0x05);
        payload.insert(payload.end(), static_cast<size_t>(c.plainBytes), 0x41);
        LineMessage m = Message(payload);
        int length = SerialFrame::FrameLength(m);
        EXPECT_EQ(length, c.length);
        LineMessage before = m;
        LineMessage out{};
        std::memset(&out, 0xAA, sizeof out);
        LineMessage outBefore = out;
        EXPECT_EQ(SerialFrame::Build(m, 3, false, out), c.fits) << length;
        if (!c.fits) {
            EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
            EXPECT_EQ(std::memcmp(&out, &outBefore, sizeof out), 0);
        } else {
            EXPECT_LE(out.data[0], SerialFrame::kMaxSentFrame);
        }
    }
    // No payload, or no room for the checksum behind the payload.
    for (int n : {0, 1, 255}) {
        LineMessage m{};
        m.data[0] = static_cast<uint8_t>(n);
        LineMessage out{};
        EXPECT_EQ(SerialFrame::FrameLength(m), -1) << n;
        EXPECT_FALSE(SerialFrame::Build(m, 1, false, out)) << n;
    }
}

TEST(SerialFrame, DecodeUndoesBuild)
{
    std::mt19937 random(4711);
    for (int round = 0; round < 500; ++round) {
        Bytes payload(1 + random() % 90);
        for (uint8_t& b : payload)
            b = static_cast<uint8_t>(random() % 4 == 0 ? random() % 0x11 : random());
        LineMessage m = Message(payload);
        LineMessage frame{};
        ASSERT_TRUE(SerialFrame::Build(m, 7, false, frame));
        for (int k = 1; k < frame.data[0]; ++k)
            ASSERT_NE(frame.data[k], 0x0D) << "a carriage return inside a frame";
        DecodeResult r = SerialFrame::Decode(frame, true);
        ASSERT_TRUE(r.decoded);
        EXPECT_EQ(r.slot, 7);
        ASSERT_EQ(frame.data[0], m.data[0]);
        EXPECT_EQ(Bytes(frame.data + 2, frame.data + 2 + payload.size()), payload);
        EXPECT_EQ(frame.data[m.data[0] + 2], 0x0D);
    }
}

TEST(SerialFrame, DecodeTable)
{
    struct Case {
        const char* what;
        Bytes raw;
        bool testChecksum;
        bool decoded;
        int length;  // position 0 afterwards
        Bytes payload;
    };
    const Case cases[] = {
        {"worked frame", {0xC5, 0x40, 0x57, 0x0F, 0x15, 0x99, 0x0D}, true, true, 4, {0x40, 0x57, 0x05}},
        {"bad checksum", {0xC5, 0x40, 0x57, 0x0F, 0x15, 0x98, 0x0D}, true, false, 0, {}},
        {"bad checksum, not tested", {0xC5, 0x40, 0x57, 0x0F, 0x15, 0x98, 0x0D}, false, true, 4, {0x40, 0x57, 0x05}},
        {"one payload byte", {0x81, 0x33, 0x66, 0x0D}, true, true, 2, {0x33}},
        {"escape before the end", {0x81, 0x33, 0x0F, 0x0D}, false, true, 2, {0x33}},
        {"too short", {0x02, 0x0D}, true, false, 2, {}},
    };
    for (const Case& c : cases) {
        LineMessage r = Raw(c.raw);
        DecodeResult d = SerialFrame::Decode(r, c.testChecksum);
        EXPECT_EQ(d.decoded, c.decoded) << c.what;
        EXPECT_EQ(r.data[0], c.length) << c.what;
        if (c.decoded)
            EXPECT_EQ(Bytes(r.data + 2, r.data + 2 + c.payload.size()), c.payload) << c.what;
    }
    LineMessage bad = Raw({0xC5, 0x40, 0x57, 0x0F, 0x15, 0x98, 0x0D});
    DecodeResult d = SerialFrame::Decode(bad, true);
    EXPECT_EQ(d.received, 0x98);
    EXPECT_EQ(d.computed, 0x99);
    EXPECT_EQ(d.n, 4);
    EXPECT_EQ(d.slot, 5);
}

TEST(SerialFrame, SlotsOfEveryAddressingMode)
{
    struct Case { int mode; int address; int slot; };
    const Case cases[] = {
        {1, 0, 60}, {2, 0, 60}, {3, 0, 60}, {4, 0, 60}, {0, 0, 60}, {7, 0, 60},
        {1, 1, 1}, {1, 7, 7}, {1, 57, 7}, {1, 50, 50}, {1, 51, 1}, {1, 100, 50},
        {2, 1, 1}, {2, 20, 20}, {2, 21, 1}, {2, 100, 20},
        {3, 1, 31}, {3, 2, 41}, {3, 19, 40}, {3, 20, 50}, {3, 21, 31}, {3, 100, 50},
        {4, 1, 21}, {4, 10, 30}, {4, 11, 21}, {4, 100, 30},
        {0, 5, 5}, {0, 64, 64}, {9, 12, 12},
        // Addresses that give no slot are refused, whatever the mode.
        {0, 65, -1}, {0, 200, -1}, {15, 255, -1}, {1, -3, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SerialFrame::SlotOf(c.mode, c.address), c.slot) << "mode " << c.mode << " address " << c.address;
    // The mode's upper bits do not change the mapping.
    EXPECT_EQ(SerialFrame::SlotOf(0x81, 57), 7);
}

TEST(SerialFrame, AgeStamps)
{
    struct Case {
        uint8_t mode;
        uint32_t age;
        AgeStamp result;
        Bytes stamp;  // the bytes at the age position afterwards
    };
    const Case cases[] = {
        {0x10, 70000, AgeStamp::Written, {4}},          // 70000 - 65536 = 4464 ms: 4 s
        {0x11, 1234, AgeStamp::Written, {12}},          // tenths
        {0x22, 1234, AgeStamp::Written, {123, 0}},      // hundredths, the range control's mode
        {0x23, 1234, AgeStamp::Written, {0xD2, 0x04}},  // milliseconds, little-endian
        {0x43, 65535, AgeStamp::Written, {0xFF, 0xFF, 0, 0}},
        {0x17, 5000, AgeStamp::Meaningless, {5}},       // unit 7: counted as seconds
        {0x33, 1234, AgeStamp::Refused, {0xEE, 0xEE, 0xEE}},
        {0x00, 1234, AgeStamp::None, {0xEE}},
    };
    for (const Case& c : cases) {
        LineMessage m = Message(Bytes(10, 0xEE));  // n = 11
        m.agePosition = 6;
        m.ageMode = c.mode;
        m.tick = 1000;
        EXPECT_EQ(SerialFrame::StampAge(m, 1000 + c.age), c.result) << std::hex << int(c.mode);
        EXPECT_EQ(Bytes(m.data + 6, m.data + 6 + c.stamp.size()), c.stamp) << std::hex << int(c.mode);
        EXPECT_EQ(m.data[6 + c.stamp.size()], 0xEE) << "wrote past the stamp, mode " << std::hex << int(c.mode);
    }
    // The tick wraps like the system's.
    LineMessage m = Message(Bytes(4, 0));
    m.agePosition = 2;
    m.ageMode = 0x23;
    m.tick = 0xFFFFFFF0u;
    EXPECT_EQ(SerialFrame::StampAge(m, 0x10), AgeStamp::Written);
    EXPECT_EQ(m.data[2], 0x20);
}

TEST(SerialFrame, AgeStampsStayInsideThePayload)
{
    struct Case { int position; uint8_t mode; AgeStamp result; };
    const Case cases[] = {
        {4, 0x40, AgeStamp::Written},   // positions 4..7 of n = 7
        {5, 0x40, AgeStamp::Refused},   // would reach 8, the checksum's place
        {7, 0x10, AgeStamp::Written},
        {8, 0x10, AgeStamp::Refused},
        {1, 0x10, AgeStamp::Refused},   // the address byte
        {0, 0x10, AgeStamp::Refused},   // the length
        {254, 0x40, AgeStamp::Refused}, // would reach the line's own fields
    };
    for (const Case& c : cases) {
        LineMessage m = Message(Bytes(6, 0xEE));  // n = 7
        LineMessage before = m;
        m.agePosition = before.agePosition = static_cast<uint8_t>(c.position);
        m.ageMode = before.ageMode = c.mode;
        EXPECT_EQ(SerialFrame::StampAge(m, 0), c.result) << c.position;
        if (c.result == AgeStamp::Refused)
            EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0) << c.position;
    }
}

TEST(SerialFrame, ClassesOfReceivedFrames)
{
    struct Case { Bytes raw; int slot; int mode; int lane; FrameClass result; };
    const Case cases[] = {
        {{}, 5, 1, 5, FrameClass::Empty},
        {{0x02, 0x0D}, 5, 1, 5, FrameClass::Acknowledge},
        {{0x01, 0x0D}, 5, 1, 5, FrameClass::NothingToSend},
        {{0x45, 0x0D}, 5, 1, 5, FrameClass::OwnPoll},   // our own poll back from the bus
        {{0x46, 0x0D}, 5, 1, 5, FrameClass::Other},     // another slot's poll
        {{0x0D}, 5, 1, 5, FrameClass::Other},
        {{0x02, 0x02}, 5, 1, 5, FrameClass::Other},
        {{0x85, 0x40, 0x0D}, 5, 1, 5, FrameClass::MessageFromSlot},
        {{0xC5, 0x40, 0x0D}, 5, 1, 5, FrameClass::MessageFromSlot},
        {{0xBC, 0x40, 0x0D}, 5, 1, 5, FrameClass::BroadcastMessage},
        {{0x86, 0x40, 0x0D}, 5, 1, 5, FrameClass::Other},
        {{0xC6, 0x40, 0x0D}, 5, 1, 5, FrameClass::Other},
        // Mode 3: lane 2 sits on slot 41 and answers as 0x80 + 2, or 0xC0 + 41.
        {{0x82, 0x40, 0x0D}, 41, 3, 2, FrameClass::MessageFromSlot},
        {{0xC0 + 41, 0x40, 0x0D}, 41, 3, 2, FrameClass::MessageFromSlot},
        {{0x80 + 41, 0x40, 0x0D}, 41, 3, 2, FrameClass::Other},
    };
    for (const Case& c : cases) {
        LineMessage r = Raw(c.raw);
        EXPECT_EQ(SerialFrame::Classify(r, c.slot, c.mode, c.lane), c.result)
            << "frame of " << c.raw.size() << " bytes, first " << (c.raw.empty() ? 0 : int(c.raw[0]));
    }
}

TEST(SerialFrame, PollAndAcknowledge)
{
    LineMessage poll;
    SerialFrame::BuildPoll(23, poll);
    EXPECT_EQ(FrameBytes(poll), (Bytes{0x57, 0x0D}));
    EXPECT_EQ(poll.raw, 1);
    EXPECT_EQ(poll.answerExpected, 1);
    LineMessage ack;
    SerialFrame::BuildAcknowledge(0x02, ack);
    EXPECT_EQ(FrameBytes(ack), (Bytes{0x02, 0x0D}));
    EXPECT_EQ(ack.raw, 1);
    EXPECT_EQ(ack.answerExpected, 0);
}
