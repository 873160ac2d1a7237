#include "foundation/exchange/ClockMessage.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

ClockMessage Message(std::string computer, std::string prefix, int32_t mode, int32_t period, int32_t extra,
                     int32_t elapsed)
{
    ClockMessage m;
    m.computer = std::move(computer);
    m.prefix = std::move(prefix);
    m.mode = mode;
    m.period = period;
    m.extra = extra;
    m.elapsed = elapsed;
    return m;
}

void ExpectSame(const ClockMessage& a, const ClockMessage& b)
{
    EXPECT_EQ(a.computer, b.computer);
    EXPECT_EQ(a.prefix, b.prefix);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.period, b.period);
    EXPECT_EQ(a.extra, b.extra);
    EXPECT_EQ(a.elapsed, b.elapsed);
}

// The bytes on the wire, the terminating zero byte included; a display reads
// every one of them back.
TEST(ClockMessageTest, BuildsTheWireTextAndReadsItBack)
{
    struct Case {
        ClockMessage message;
        std::string wire;
    };
    const Case cases[] = {
        {Message("RANGE1", "H1", 2, 1500, 600, 300), "RANGE1.H1;CLOCK;2;1500;600;300;\0"s},
        // A stopped clock still carries its set period and extra time.
        {Message("RANGE1", "H1", 0, 1500, 0, 0), "RANGE1.H1;CLOCK;0;1500;0;0;\0"s},
        // No extra time after the period is written as a negative number.
        {Message("SKIVE", "K7", 1, 36000, -1, 40000), "SKIVE.K7;CLOCK;1;36000;-1;40000;\0"s},
        {Message("", "", 0, 0, 0, 0), ".;CLOCK;0;0;0;0;\0"s},
        {Message("A", "H1", 3, INT32_MAX, INT32_MIN, 7), "A.H1;CLOCK;3;2147483647;-2147483648;7;\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wire);
        EXPECT_EQ(c.message.Build(), c.wire);
        ClockMessage read;
        ASSERT_TRUE(ClockMessage::Parse(c.wire, read));
        ExpectSame(read, c.message);
    }
}

TEST(ClockMessageTest, ComputerNameIsCutToFifteenCharacters)
{
    ClockMessage m = Message("RANGECOMPUTER-NUMBER-2", "H1", 1, 10, 20, 30);
    EXPECT_EQ(m.Build(), "RANGECOMPUTER-N.H1;CLOCK;1;10;20;30;\0"s);
    ClockMessage read;
    ASSERT_TRUE(ClockMessage::Parse(m.Build(), read));
    EXPECT_EQ(read.computer, "RANGECOMPUTER-N");
}

// A received buffer is read up to its first zero byte: what follows (the
// start of a next message, the buffer's own terminator) is not part of it.
TEST(ClockMessageTest, ReadsUpToTheFirstZeroByte)
{
    ClockMessage read;
    ASSERT_TRUE(ClockMessage::Parse("PC.H1;CLOCK;2;1500;0;12;\0PC.H1;CLOCK;0;9;9;9;\0"s, read));
    ExpectSame(read, Message("PC", "H1", 2, 1500, 0, 12));
    // Without a terminator the end of the data ends the text.
    ASSERT_TRUE(ClockMessage::Parse("PC.H2;CLOCK;1;20;30;40;", read));
    ExpectSame(read, Message("PC", "H2", 1, 20, 30, 40));
}

// Texts that are not a whole clock message leave the last good values alone;
// above all a message cut inside a number must not give a smaller number.
TEST(ClockMessageTest, RefusesWhatIsNotAWholeMessage)
{
    const std::string refused[] = {
        "",
        "\0PC.H1;CLOCK;1;2;3;4;"s,
        "PC.H1;CLOCK;2;1500;0;30",       // cut inside the elapsed time
        "PC.H1;CLOCK;2;1500;0;",         // a field missing
        "PC.H1;CLOCK;2;1500;0;30;5;",    // a field too many
        "PC.H1;CLOCK;2;1500;0;30;x",     // something after the message
        "PC.H1;clock;2;1500;0;30;",      // not the clock's word
        "PC.H1;TEXT;2;1500;0;30;",
        "PCH1;CLOCK;2;1500;0;30;",       // no dot between computer and prefix
        "PC.H1;CLOCK;;1500;0;30;",       // an empty number
        "PC.H1;CLOCK;2;15x0;0;30;",
        "PC.H1;CLOCK;2; 1500;0;30;",
        "PC.H1;CLOCK;2;+1500;0;30;",
        "PC.H1;CLOCK;2;1500;0;2147483648;",  // beyond 32 bits
        "PC.H1;CLOCK;2;1500;0;-2147483649;",
        "PC.H1;CLOCK;2;1500;0\0;30;"s,   // a zero byte inside
    };
    const ClockMessage last = Message("LAST", "H9", 1, 11, 22, 33);
    for (const std::string& text : refused) {
        SCOPED_TRACE(text);
        ClockMessage read = last;
        EXPECT_FALSE(ClockMessage::Parse(text, read));
        ExpectSame(read, last);
    }
}

// The prefix comes from the competition's settings; a dot in it stays with
// the prefix, since computer names have none.
TEST(ClockMessageTest, PrefixKeepsItsOwnDots)
{
    ClockMessage read;
    ASSERT_TRUE(ClockMessage::Parse("PC.H.1;CLOCK;1;2;3;4;", read));
    EXPECT_EQ(read.computer, "PC");
    EXPECT_EQ(read.prefix, "H.1");
}

}  // namespace
