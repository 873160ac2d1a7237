#include "line/LineReceiver.h"

#include "platform/system/Clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

int64_t Ms(double ms) { return static_cast<int64_t>(ms * platform::HighResFrequency() / 1000); }

struct FakeSink : LineReceiverSink {
    int64_t transmissionEnd = 0;
    bool busy = false;
    bool answer = false;
    bool kickAllowed = true;
    int frameSignals = 0;
    int burstEnds = 0;
    int echoes = 0;
    int pauses = 0;
    int cuts = 0;
    std::vector<Bytes> stored;

    int64_t TransmissionEnd() override { return transmissionEnd; }
    bool TransmitBusy() override { return busy; }
    bool AnswerPending() override { return answer; }
    void ClearAnswer() override { answer = false; }
    void SignalFrame() override { ++frameSignals; }
    void SignalBurstEnd() override { ++burstEnds; }
    bool KickAllowed() override { return kickAllowed; }
    void EchoSeen() override { ++echoes; }
    void FrameStored(const LineMessage& raw) override
    {
        stored.emplace_back(raw.data + 1, raw.data + 1 + raw.data[0]);
    }
    void AnswerCut(bool lost) override { ++(lost ? cuts : pauses); }
};

class LineReceiverTest : public testing::Test {
protected:
    LineReceiverTest() : receiver(ring, sink, LineTiming::ForBaud(9600), nullptr, 1) { receiver.Start(0); }

    // Bytes that arrive whole at time now (ms).
    void Arrive(const Bytes& bytes, double atMs) { receiver.OnBytes(bytes.data(), bytes.size(), Ms(atMs)); }
    std::vector<Bytes> TakeRing()
    {
        std::vector<Bytes> frames;
        while (LineMessage* r = ring.ReadRecord()) {
            frames.emplace_back(r->data + 1, r->data + 1 + r->data[0]);
            ring.Pop();
        }
        return frames;
    }

    LineRing ring;
    FakeSink sink;
    LineReceiver receiver;
};

const Bytes kMessage = {0xC5, 0x40, 0x57, 0x0F, 0x15, 0x99, 0x0D};
const Bytes kNothing = {0x01, 0x0D};

}  // namespace

TEST_F(LineReceiverTest, AFrameIsHandedOnAtTheEndOfItsBurst)
{
    Arrive(kMessage, 100);
    EXPECT_EQ(TakeRing(), std::vector<Bytes>{kMessage});
    EXPECT_EQ(receiver.State(), LineReceiver::kComplete);
    EXPECT_EQ(receiver.NextDeadline(), Ms(115));
    receiver.OnQuiet(Ms(114.9));
    EXPECT_EQ(sink.burstEnds, 0);
    receiver.OnQuiet(Ms(115));
    EXPECT_EQ(sink.burstEnds, 1);
    EXPECT_EQ(sink.frameSignals, 0);  // one frame alone waits for the burst's end
    EXPECT_EQ(receiver.State(), LineReceiver::kIdle);
    EXPECT_EQ(sink.stored.size(), 1u);
}

TEST_F(LineReceiverTest, EchoOfOurOwnFrameIsDropped)
{
    // A burst whose first byte came within the echo window after our frame
    // ended is that frame heard back (12 ms at 9600, 20 ms at 4800).
    struct Case { int baud; double startAfterEndMs; bool echo; };
    const Case cases[] = {
        {9600, -3, true}, {9600, 0, true}, {9600, 11.9, true}, {9600, 12.5, false}, {9600, 30, false},
        {4800, 19.5, true}, {4800, 21, false},
    };
    for (const Case& c : cases) {
        LineRing r;
        FakeSink s;
        const LineTiming& t = LineTiming::ForBaud(c.baud);
        LineReceiver rx(r, s, t, nullptr, 1);
        rx.Start(0);
        s.transmissionEnd = Ms(1000);
        int64_t start = Ms(1000 + c.startAfterEndMs);
        int64_t now = start + t.ByteCounts(static_cast<int>(kNothing.size()));
        rx.OnBytes(kNothing.data(), kNothing.size(), now);
        EXPECT_EQ(s.echoes, c.echo ? 1 : 0) << c.baud << " " << c.startAfterEndMs;
        EXPECT_EQ(r.Empty(), c.echo) << c.baud << " " << c.startAfterEndMs;
        EXPECT_EQ(rx.State(), c.echo ? LineReceiver::kIdle : LineReceiver::kComplete);
    }
}

TEST_F(LineReceiverTest, AnAnswerInTheSameReadAsTheEchoIsDroppedToo)
{
    sink.transmissionEnd = Ms(1000);
    Bytes both = {0x45, 0x0D, 0x01, 0x0D};
    Arrive(both, 1001);
    EXPECT_EQ(sink.echoes, 2);
    EXPECT_TRUE(ring.Empty());
}

TEST_F(LineReceiverTest, TheSecondFrameOfABurstIsSignalledAtOnce)
{
    Bytes two = kMessage;
    two.insert(two.end(), kMessage.begin(), kMessage.end());
    Arrive(two, 100);
    EXPECT_EQ(sink.frameSignals, 1);
    EXPECT_EQ(TakeRing().size(), 2u);
    Arrive(kMessage, 105);  // a third, still in the burst
    EXPECT_EQ(sink.frameSignals, 2);
    EXPECT_EQ(receiver.FramesInBurst(), 3);
    receiver.OnQuiet(Ms(120));
    EXPECT_EQ(sink.burstEnds, 1);
    EXPECT_EQ(receiver.FramesInBurst(), 0);
}

// A frame whose bytes stop is no burst end: its unit still holds the bus
// until the rest comes or the longest frame could not end any more (its
// first byte + 256 byte times + the partial silence: 100 + 294.4 + 40 ms).
TEST_F(LineReceiverTest, APartialFrameHoldsTheBusUntilItEndsOrItsBound)
{
    struct Case {
        const char* name;
        double restAtMs;  // 0: the rest never comes
        int pauses;
        bool stored;
        double burstEndMs;  // 0: the bound
    };
    const Case cases[] = {
        {"a short pause", 130, 0, true, 145},
        {"a pause past the partial silence", 160, 1, true, 175},
        {"the rest never comes", 0, 1, false, 0},
    };
    const LineTiming& t = LineTiming::ForBaud(9600);
    const int64_t bound = Ms(100) + t.ByteCounts(256) + t.Ms(40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int64_t burstEnd = c.burstEndMs > 0 ? Ms(c.burstEndMs) : bound;
        LineRing r;
        FakeSink s;
        LineReceiver rx(r, s, t, nullptr, 1);
        rx.Start(0);
        Bytes head(kMessage.begin(), kMessage.begin() + 3), rest(kMessage.begin() + 3, kMessage.end());
        rx.OnBytes(head.data(), head.size(), Ms(100));
        EXPECT_EQ(rx.State(), LineReceiver::kReceiving);
        EXPECT_EQ(rx.NextDeadline(), Ms(140));
        const int64_t quietUntil = c.restAtMs > 0 ? Ms(c.restAtMs - 0.5) : burstEnd - 1;
        for (int64_t at = Ms(101); at < quietUntil; at += Ms(1))
            rx.OnQuiet(at);
        rx.OnQuiet(quietUntil);
        EXPECT_EQ(s.burstEnds, 0);
        if (c.restAtMs > 0) {
            rx.OnBytes(rest.data(), rest.size(), Ms(c.restAtMs));
            EXPECT_EQ(rx.State(), LineReceiver::kComplete);
        }
        EXPECT_EQ(rx.NextDeadline(), burstEnd);
        rx.OnQuiet(burstEnd);
        EXPECT_EQ(s.burstEnds, 1);
        EXPECT_EQ(s.pauses, c.pauses);
        EXPECT_EQ(s.cuts, c.stored ? 0 : 1);
        EXPECT_EQ(r.Empty(), !c.stored);
        // The next frame starts clean.
        rx.OnBytes(kNothing.data(), kNothing.size(), Ms(1000));
        std::vector<Bytes> frames;
        for (LineMessage* m; (m = r.ReadRecord()) != nullptr; r.Pop())
            frames.emplace_back(m->data + 1, m->data + 1 + m->data[0]);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.back(), kNothing);
    }
}

// On a wire a burst began as many byte times before the read as it holds
// bytes; a pseudo-terminal may hand on a whole frame at once. When the port
// was seen empty since our frame, the burst began after that, and is no echo.
TEST_F(LineReceiverTest, ABurstReadWholeBeganNoEarlierThanThePortWasSeenEmpty)
{
    struct Case { double emptyAtMs; bool echo; };
    const Case cases[] = {{-1, true}, {990, true}, {1020, false}};
    Bytes answer(40, 0x41);
    answer.push_back(0x0D);
    for (const Case& c : cases) {
        LineRing r;
        FakeSink s;
        LineReceiver rx(r, s, LineTiming::ForBaud(9600), nullptr, 1);
        rx.Start(0);
        s.transmissionEnd = Ms(1000);
        rx.OnBytes(answer.data(), answer.size(), Ms(1040), c.emptyAtMs < 0 ? INT64_MIN : Ms(c.emptyAtMs));
        EXPECT_EQ(s.echoes, c.echo ? 1 : 0) << c.emptyAtMs;
        EXPECT_EQ(r.Empty(), c.echo) << c.emptyAtMs;
    }
}

TEST_F(LineReceiverTest, ErrorsEndTheBurstAfterTheErrorSilence)
{
    Arrive({0xC5, 0x40}, 100);
    receiver.OnError();
    EXPECT_EQ(receiver.NextDeadline(), Ms(140));
    receiver.OnQuiet(Ms(140));
    EXPECT_EQ(sink.burstEnds, 1);
    EXPECT_EQ(receiver.State(), LineReceiver::kIdle);
}

TEST_F(LineReceiverTest, NoAnswerEndsTheWaitAfterTheAnswerTime)
{
    sink.transmissionEnd = Ms(200);
    sink.answer = true;
    EXPECT_EQ(receiver.NextDeadline(), Ms(245));
    receiver.OnQuiet(Ms(244));
    EXPECT_EQ(sink.burstEnds, 0);
    EXPECT_TRUE(sink.answer);
    receiver.OnQuiet(Ms(245));
    EXPECT_EQ(sink.burstEnds, 1);
    EXPECT_FALSE(sink.answer);
}

TEST_F(LineReceiverTest, FramesLongerThanTheRecordGetLengthZero)
{
    struct Case { size_t bytesBeforeReturn; int length; };
    const Case cases[] = {{254, 255}, {255, 0}, {400, 0}};
    double at = 1000;  // long after our last frame: not an echo
    for (const Case& c : cases) {
        Bytes frame(c.bytesBeforeReturn, 0x41);
        frame.push_back(0x0D);
        Arrive(frame, at);
        LineMessage* r = ring.ReadRecord();
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->data[0], c.length) << c.bytesBeforeReturn;
        EXPECT_EQ(r->targetAddress, 0) << "wrote past the frame bytes";
        ring.Pop();
        receiver.OnQuiet(Ms(at += 1000));
    }
}

TEST_F(LineReceiverTest, AFullRingLosesTheNewestFrame)
{
    for (int k = 0; k < LineRing::kSize; ++k) {
        Bytes frame = {0x01, static_cast<uint8_t>(0x40 + k), 0x0D};
        Arrive(frame, 100 + k);
    }
    std::vector<Bytes> got = TakeRing();
    ASSERT_EQ(got.size(), static_cast<size_t>(LineRing::kSize - 1));
    EXPECT_EQ(got.back()[1], 0x40 + LineRing::kSize - 2);
    Arrive(kNothing, 200);
    EXPECT_EQ(TakeRing(), std::vector<Bytes>{kNothing});
}

TEST_F(LineReceiverTest, AnIdleLineIsKickedOncePerSafetyTime)
{
    receiver.OnQuiet(Ms(499));
    EXPECT_EQ(sink.burstEnds, 0);
    EXPECT_EQ(receiver.NextDeadline(), Ms(500));
    for (double t : {500.0, 501.0, 600.0, 999.0})
        receiver.OnQuiet(Ms(t));
    EXPECT_EQ(sink.burstEnds, 1);
    receiver.OnQuiet(Ms(1000));
    EXPECT_EQ(sink.burstEnds, 2);

    // Not while the protocol waits for work, nor while a frame goes out.
    sink.kickAllowed = false;
    receiver.OnQuiet(Ms(3000));
    EXPECT_EQ(receiver.NextDeadline(), INT64_MAX);
    sink.kickAllowed = true;
    sink.busy = true;
    receiver.OnQuiet(Ms(4000));
    EXPECT_EQ(sink.burstEnds, 2);
}
