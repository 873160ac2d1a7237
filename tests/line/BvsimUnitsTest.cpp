// bvsim's range units as the range control's requests expect them, heard
// through a real line over an in-memory stream: shots sent again on request,
// the answers to mode commands, to the reset of every lane, to a series
// given to the lanes and to the status query, shots as a target measures
// them, and answers that keep clear of the master's echo window at the lower
// speed.
#include "tests/support/Eventually.h"
#include "line/BVSerCom.h"
#include "platform/ports/MemoryPort.h"
#include "tools/bvsim/lib/Bus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using bvsim::Bytes;
using bvtest::kPatienceMs;

std::unique_ptr<LineMessage> Message(int lane, const Bytes& payload, bool toAll)
{
    auto m = std::make_unique<LineMessage>();
    *m = LineMessage{};
    for (size_t k = 0; k < payload.size(); ++k)
        m->data[2 + k] = payload[k];
    m->data[0] = static_cast<uint8_t>(payload.size() + 1);
    m->targetAddress = static_cast<uint8_t>(toAll ? 60 : lane);
    m->broadcast = toAll ? 1 : 0;
    return m;
}

class BvsimUnits : public testing::Test {
protected:
    void Start(int baud, int mode, int firstLane, int lastLane)
    {
        auto [mine, theirs] = platform::MemoryPort::MakePair();
        bvsim::BusOptions options;
        options.baud = baud;
        options.answerStatus = true;
        bus = std::make_unique<bvsim::Bus>(std::move(theirs), options);
        ASSERT_EQ(bus->Start(), 0);
        ASSERT_EQ(line.PortOpen(std::move(mine), 5, mode, 0), 1);
        for (int lane = firstLane; lane <= lastLane; ++lane) {
            ASSERT_TRUE(bus->AddUnit(lane));
            ASSERT_EQ(line.AddLane(lane), 0);
        }
    }
    void TearDown() override
    {
        line.PortClose();
        if (bus)
            bus->Stop();
    }
    // Waits for a received message that passes the test; the others are kept.
    bool Receive(const std::function<bool(const LineMessage&)>& test, LineMessage& out)
    {
        return bus->WaitFor([&] {
            while (auto m = line.GetMsg()) {
                if (test(*m)) {
                    out = *m;
                    return true;
                }
            }
            return false;
        }, kPatienceMs);
    }

    CBVSerCom line;
    std::unique_ptr<bvsim::Bus> bus;
};

TEST_F(BvsimUnits, AStoredShotGoesAgainOnRequest)
{
    Start(9600, 0x81, 1, 3);
    ASSERT_TRUE(bus->QueueShot(2, 5, 1045, 1200, -800));
    LineMessage m{};
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'C' && r.data[5] == 0x20; }, m));
    EXPECT_EQ(m.data[10], 5);
    // The request names lane 2, shots 5 to 5.
    line.SendMsg(Message(0, {0x40, 'S', 2, 2, 0, 5, 5, 2}, true));
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'C'; }, m));
    EXPECT_EQ(m.data[4], 2);
    EXPECT_EQ(m.data[5], 0x21);
    EXPECT_EQ(m.data[10], 5);
    EXPECT_EQ(m.data[17] + 256 * m.data[18], 1045);
    // A shot the unit never sent is not made up.
    line.SendMsg(Message(0, {0x40, 'S', 2, 2, 0, 6, 9, 2}, true));
    ASSERT_TRUE(bus->WaitFor([&] {
        bvsim::UnitStats s;
        bus->Stats(2, s);
        return s.broadcasts >= 2 && s.queued == 0;
    }, kPatienceMs));
}

TEST_F(BvsimUnits, ModeCommandsAndTheLaneResetAreAnswered)
{
    Start(9600, 0x81, 1, 2);
    ASSERT_TRUE(bus->QueueLaneState(1, 3));
    LineMessage m{};
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 0xB3; }, m));
    line.SendMsg(Message(1, {0x40, 'r', 1, 0x22, 0, 0}, false));
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 0xB2; }, m));
    EXPECT_EQ(m.data[4], 1);
    EXPECT_EQ(m.data[5], 3);  // its lane state
    line.SendMsg(Message(0, {0x40, 's', 0, 0xA0, 0x80, 0, 0, 0, 0, 0, 0}, true));
    std::vector<int> lanes;
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 0xB3; }, m));
        lanes.push_back(m.data[4]);
        EXPECT_EQ(m.data[6], m.data[4] == 1 ? 3 : 0);
    }
    std::sort(lanes.begin(), lanes.end());
    EXPECT_EQ(lanes, (std::vector<int>{1, 2}));
}

// Shoot and mark give the lanes a series (MarkCmd, to all): every unit
// reports it in its lane state, and shoots in it from then on.
TEST_F(BvsimUnits, AGivenSeriesIsReportedAndShotIn)
{
    Start(9600, 0x81, 1, 2);
    ASSERT_TRUE(bus->SetTarget(0, 1, 1, 1, 1));
    line.SendMsg(Message(0, {0x40, 'Q', '<', 1, 2, 2, 1, 3, 2, 0x25}, true));
    LineMessage m{};
    std::vector<int> lanes;
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 0xB3; }, m));
        lanes.push_back(m.data[4]);
        EXPECT_EQ(m.data[9], 2);  // the lane's series
    }
    std::sort(lanes.begin(), lanes.end());
    EXPECT_EQ(lanes, (std::vector<int>{1, 2}));
    ASSERT_TRUE(bus->QueueShot(2, 1, 950, 100, 200, 0));
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'C'; }, m));
    EXPECT_EQ(m.data[9], 2);   // the shot's series
    EXPECT_EQ(m.data[12], 2);  // the lane's
}

// With the program the range control sent, a unit whose series holds its
// shots fires the next one in the program's next series; its shots carry
// sensor levels a target measures, or a dead sensor's 0.
TEST_F(BvsimUnits, AFullSeriesGoesOnToTheProgramsNextAndLevelsAreMeasured)
{
    Start(9600, 0x81, 1, 2);
    ASSERT_TRUE(bus->SetTarget(0, 1, 1, 1, 1));
    ASSERT_TRUE(bus->SetProgram(0, {2, 0, 3}));
    ASSERT_TRUE(bus->SetFaultySensor(2));
    struct Case {
        int lane, shot, series;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{1, 2, 1}, Case{1, 3, 3}, Case{1, 4, 3}, Case{2, 1, 1}}) {
        SCOPED_TRACE(testing::Message() << "lane " << c.lane << " shot " << c.shot);
        ASSERT_TRUE(bus->QueueShot(c.lane, c.shot, 1000, 0, 0, 0));
        LineMessage m{};
        ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'C'; }, m));
        EXPECT_EQ(m.data[9], c.series);
        for (int sensor = 0; sensor < 4; ++sensor) {
            const int level = m.data[35 + sensor];
            if (c.lane == 2 && sensor == 2) {
                EXPECT_EQ(level, 0);
            } else {
                EXPECT_GE(level, 24);
                EXPECT_LE(level, 32);
            }
        }
    }
    EXPECT_EQ(bus->SeriesOf(1), 3);
}

// The unit status dialog's query, to all: each unit answers with its
// software version (0x86) and its status (0x87) with counters and model.
TEST_F(BvsimUnits, TheStatusQueryIsAnswered)
{
    Start(9600, 0x81, 1, 2);
    line.SendMsg(Message(0, {0x40, '?', '<', 255}, true));
    std::vector<std::pair<int, int>> replies;  // lane, type
    LineMessage m{};
    for (int k = 0; k < 4; ++k) {
        ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 0x86 || r.data[3] == 0x87; }, m));
        replies.emplace_back(m.data[4], m.data[3]);
        EXPECT_EQ(m.data[5], 4);  // version 4.12
        EXPECT_EQ(m.data[6], 12);
        if (m.data[3] == 0x86) {
            EXPECT_GE(m.Length(), 10);
            continue;
        }
        EXPECT_GE(m.Length(), 26);
        const int first = (m.data[11] * 256 + m.data[12]) * 10000 + m.data[13] * 256 + m.data[14];
        EXPECT_EQ(first, 12000 + 100 * m.data[4]);  // no shot fired yet
        EXPECT_GE(m.data[22], 32);                   // counts for itself in the flags
        EXPECT_GE(m.data[26], 1);                    // a known model
        EXPECT_LE(m.data[26], 11);
    }
    std::sort(replies.begin(), replies.end());
    EXPECT_EQ(replies, (std::vector<std::pair<int, int>>{{1, 0x86}, {1, 0x87}, {2, 0x86}, {2, 0x87}}));
}

// Units set up beforehand report their competition, relay and state when
// every lane is reset.
TEST_F(BvsimUnits, UnitsStartOnTheirTarget)
{
    Start(9600, 0x81, 1, 2);
    ASSERT_TRUE(bus->SetTarget(0, 1, 3, 2, 7));
    line.SendMsg(Message(0, {0x40, 's', 0, 0xA0, 0x80, 0, 0, 0, 0, 0, 0}, true));
    LineMessage m{};
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 0xB3; }, m));
        EXPECT_EQ(m.data[6], 1);                           // state
        EXPECT_EQ((m.data[7] << 8) | m.data[8], 3);        // relay
        EXPECT_EQ(m.data[9], 2);                           // series
        EXPECT_EQ(m.data[11], 7);                          // competition
    }
}

// A monitor with a card asks for it to be printed, sends it when the card
// summary fetches it (less a shot lost on the way), sends the lost one on
// request, and stops asking once it is printed.
TEST_F(BvsimUnits, AMonitorHandsItsCardToThePrintFetch)
{
    Start(9600, 0x81, 1, 2);
    std::vector<bvsim::CardShot> card(3);
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(bvsim::ParseCardLine("4 2 1 10." + std::to_string(k) + " 1.5 -2", card[static_cast<size_t>(k)]));
    }
    ASSERT_TRUE(bus->LoadCard(2, card));
    ASSERT_TRUE(bus->SetDropCardShots(2, 1));
    ASSERT_TRUE(bus->RequestPrint(2, false));
    LineMessage m{};
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'Y'; }, m));
    EXPECT_EQ(m.data[0], 29);                              // bytes up to 29
    EXPECT_EQ((m.data[5] << 8) | m.data[6], 4);            // the card's relay
    EXPECT_EQ(m.data[10], 1);                              // print

    line.SendMsg(Message(2, {0x40, 't', 2, 1, 0, 4, 1, 0, 0, 0, 0}, false));
    std::vector<int> numbers;
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'C'; }, m));
        EXPECT_EQ(m.data[5], 0x21);
        EXPECT_EQ(m.data[11], 3);                          // the card holds three
        numbers.push_back(m.data[10]);
    }
    EXPECT_EQ(numbers, (std::vector<int>{2, 3}));
    EXPECT_EQ(m.data[17] | (m.data[18] << 8), 1020);
    EXPECT_EQ(m.data[28] | (m.data[29] << 8) | (m.data[30] << 16), 1500);

    line.SendMsg(Message(0, {0x40, 'S', 2, 2, 0, 1, 1, 3}, true));
    ASSERT_TRUE(Receive([](const LineMessage& r) { return r.data[3] == 'C'; }, m));
    EXPECT_EQ(m.data[10], 1);
    // Printed: a card summary no longer sends the card.
    line.SendMsg(Message(2, {0x40, 0xA6, 2}, false));
    line.SendMsg(Message(2, {0x40, 't', 2, 1, 0, 4, 1, 0, 0, 0, 0}, false));
    ASSERT_TRUE(bus->WaitFor([&] { return bus->Commands(2).size() >= 3; }, kPatienceMs));
    // On a loaded machine an acknowledgement may come a poll late and the
    // last shot goes again; counting starts once every message is acknowledged.
    bvsim::UnitStats before, after;
    ASSERT_TRUE(bus->WaitFor([&] { return bus->Stats(2, before) && before.queued == 0; }, kPatienceMs));
    ASSERT_TRUE(bus->WaitFor([&] { return bus->Stats(2, after) && after.polls > before.polls + 10; }, kPatienceMs));
    EXPECT_EQ(after.queued, 0);
    EXPECT_EQ(after.framesSent, before.framesSent);
    bvsim::CardShot refused;
    EXPECT_FALSE(bvsim::ParseCardLine("1 2 29 10 0 0", refused));
    EXPECT_FALSE(bvsim::ParseCardLine("1 2 1 10.001 0 0", refused));
}

TEST_F(BvsimUnits, AnswersAtTheLowerSpeedClearTheEchoWindow)
{
    Start(4800, 0x91, 1, 1);
    ASSERT_TRUE(bus->WaitFor([&] {
        bvsim::UnitStats s;
        bus->Stats(1, s);
        return s.polls >= 60;
    }, kPatienceMs));
    LaneSlot* slot = line.GetLaneSlot(1);
    ASSERT_NE(slot, nullptr);
    // A loaded machine may lose the odd one; before, only one in ten came through.
    EXPECT_GE(slot->okPoll.load(), 50u);
}

}  // namespace
