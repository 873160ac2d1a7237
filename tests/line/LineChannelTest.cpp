// The line object's own bookkeeping: lanes, queues, copies and the codes of
// opening and closing, without a bus.
#include "line/BVSerCom.h"
#include "line/LineChannel.h"
#include "platform/system/Clock.h"
#include "platform/ports/MemoryPort.h"
#include "platform/ports/SerialPort.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

std::unique_ptr<LineMessage> ToLane(int lane, uint8_t command = 0x57)
{
    auto m = std::make_unique<LineMessage>();
    *m = LineMessage{};
    m->data[0] = 4;
    m->data[2] = 0x40;
    m->data[3] = command;
    m->data[4] = static_cast<uint8_t>(lane);
    m->targetAddress = static_cast<uint8_t>(lane);
    return m;
}

class LineChannelTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { channel.SetIdentity(1, 0x81, 2); }
    void TearDown() override { platform::SetClock(nullptr); }
    LineChannel channel;
};

}  // namespace

TEST_F(LineChannelTest, LanesTakeTheirSlotOnce)
{
    struct Case { int lane; int result; };
    const Case cases[] = {
        {7, 0}, {57, -1},   // 57 maps to slot 7 in mode 1
        {1, 0}, {50, 0}, {51, -1},
        {0, 0},             // the broadcast slot
        {-1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(channel.AddLane(c.lane), c.result) << c.lane;
    LaneSlot* s = channel.SlotOfAddress(57);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->targetAddress, 7);
    EXPECT_EQ(s->slotNumber, 7);
    EXPECT_EQ(s->portIndex, 2);
    EXPECT_EQ(s->active, 1);

    LineChannel direct;
    direct.SetIdentity(1, 0x80, 0);  // addressing by the address itself
    EXPECT_EQ(direct.AddLane(64), 0);
    EXPECT_EQ(direct.AddLane(65), -1);
    EXPECT_EQ(direct.AddLane(200), -1);
    EXPECT_EQ(direct.SlotOfAddress(200), nullptr);
}

TEST_F(LineChannelTest, SendMsgSetsTheLinesFieldsAndDropsMessagesToUnknownLanes)
{
    channel.AddLane(3);
    channel.SendMsg(ToLane(4));  // not registered
    EXPECT_EQ(channel.Count(QueueKind::Send), 0u);
    EXPECT_NE(bvtest::TempFolder::Read("BVLog.txt").find("Message sent to illegal ID (4)"), std::string::npos);

    struct Case { uint32_t failures; int tries; };
    const Case cases[] = {{0, 3}, {5, 3}, {6, 1}, {250, 1}};
    for (const Case& c : cases) {
        channel.Slot(3).consecutiveFailures = c.failures;
        channel.SendMsg(ToLane(3));
        LineMessage head;
        uint64_t id = 0;
        ASSERT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::Message);
        EXPECT_EQ(head.triesLeft, c.tries - 1) << c.failures;  // one try taken
        EXPECT_EQ(head.slot, 3);
        EXPECT_EQ(head.portIndex, 2);
        EXPECT_EQ(head.answerExpected, 1);
        EXPECT_EQ(head.raw, 0);
        channel.DropSend(id);
    }

    auto all = ToLane(0);
    all->broadcast = 1;
    all->targetAddress = 60;
    channel.SendMsg(std::move(all));
    LineMessage head;
    uint64_t id = 0;
    ASSERT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::Broadcast);
    EXPECT_EQ(head.slot, 60);
    EXPECT_EQ(head.targetAddress, 0);
    EXPECT_EQ(head.answerExpected, 0);
    EXPECT_EQ(head.triesLeft, 1);
}

TEST_F(LineChannelTest, AMessageOutOfTriesIsDroppedAndOnlyItsOwnIdDropsIt)
{
    channel.AddLane(3);
    channel.SendMsg(ToLane(3, 0x01));
    channel.SendMsg(ToLane(3, 0x02));
    LineMessage head;
    uint64_t first = 0, id = 0;
    ASSERT_EQ(channel.TakeSendHead(head, first), LineChannel::Head::Message);
    ASSERT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::Message);
    ASSERT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::Message);
    EXPECT_EQ(id, first);
    EXPECT_EQ(head.data[3], 0x01);
    EXPECT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::Exhausted);
    ASSERT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::Message);
    EXPECT_EQ(head.data[3], 0x02);
    channel.DropSend(first);  // already gone: the second stays
    EXPECT_EQ(channel.Count(QueueKind::Send), 1u);
    channel.DropSend(id);
    EXPECT_EQ(channel.TakeSendHead(head, id), LineChannel::Head::None);
}

TEST_F(LineChannelTest, CopiesAreBoundedAndStopWhileNobodyReads)
{
    platform::ManualClock clock;
    clock.tick = 100000;
    platform::SetClock(&clock);
    LineMessage m{};
    channel.QueueCopy(m);
    EXPECT_EQ(channel.Count(QueueKind::Copies), 0u);  // copies are off

    channel.CopiesOn();
    for (size_t k = 0; k < LineChannel::kCopyLimit + 10; ++k) {
        m.data[1] = static_cast<uint8_t>(k);
        channel.QueueCopy(m);
    }
    EXPECT_EQ(channel.Count(QueueKind::Copies), LineChannel::kCopyLimit);
    auto oldest = channel.GetCopy();
    ASSERT_TRUE(oldest);
    EXPECT_EQ(oldest->data[1], 10);  // the ten oldest went first
    EXPECT_EQ(oldest->tick, 100000u);

    // The monitor stops reading (its window changed channel): copies stop.
    clock.Advance(LineChannel::kCopyReaderGoneMs + 1);
    size_t before = channel.Count(QueueKind::Copies);
    channel.QueueCopy(m);
    EXPECT_EQ(channel.Count(QueueKind::Copies), before);
    channel.GetCopy();  // it reads again
    channel.QueueCopy(m);
    EXPECT_EQ(channel.Count(QueueKind::Copies), before);

    // On and off each drop the oldest record, and off stops the copies.
    channel.CopiesOff();
    EXPECT_EQ(channel.Count(QueueKind::Copies), before - 1);
    channel.QueueCopy(m);
    EXPECT_EQ(channel.Count(QueueKind::Copies), before - 1);
    channel.CopiesOn();
    EXPECT_EQ(channel.Count(QueueKind::Copies), before - 2);
}

TEST_F(LineChannelTest, DecodeFillsTheLinesFields)
{
    channel.AddLane(55);  // slot 5
    LineMessage r{};
    const uint8_t frame[] = {0xC5, 0x40, 0x57, 0x0F, 0x15, 0x99, 0x0D};
    r.data[0] = sizeof frame;
    std::copy(frame, frame + sizeof frame, r.data + 1);
    r.raw = 1;
    ASSERT_TRUE(channel.Decode(r, false));
    EXPECT_EQ(r.data[0], 4);
    EXPECT_EQ(r.slot, 5);
    EXPECT_EQ(r.targetAddress, 55);
    EXPECT_EQ(r.portIndex, 2);
    EXPECT_EQ(r.broadcast, 0);
    EXPECT_EQ(r.raw, 0);

    LineMessage bad{};
    const uint8_t wrong[] = {0xC5, 0x40, 0x57, 0x0F, 0x15, 0x98, 0x0D};
    bad.data[0] = sizeof wrong;
    std::copy(wrong, wrong + sizeof wrong, bad.data + 1);
    LineMessage badCopy = bad;
    EXPECT_FALSE(channel.Decode(bad, false));
    EXPECT_EQ(bad.data[0], 0);
    EXPECT_NE(bvtest::TempFolder::Read("BVLog.txt").find("CRC error Msg=152 Calc=153 Len=4"), std::string::npos);

    // Without checksum tests (4800-baud lines) the frame is taken.
    LineChannel slow;
    slow.SetIdentity(1, 0x91, 0);
    EXPECT_TRUE(slow.Decode(badCopy, false));
}

class OpenCloseTest : public bvtest::InTempFolder {
protected:
    void TearDown() override { platform::SetComDevice(8, ""); }
};

TEST_F(OpenCloseTest, OpenAndCloseCodes)
{
    CBVSerCom line;
    EXPECT_EQ(line.PortClose(), -100);
    platform::SetComDevice(8, "/nonexistent/ttyBV8");
    EXPECT_EQ(line.PortOpen(8, 0x81, 0), -101);
    EXPECT_EQ(line.PortNumber(), 0);
    // A USB line opens whether its adapter is there or not.
    EXPECT_EQ(line.PortOpen(8, 0xA1, 0), 1);
    EXPECT_EQ(line.LineState(), 0);
    EXPECT_EQ(line.PortOpen(8, 0xA1, 0), -100);
    EXPECT_EQ(line.PortClose(), 0);
    EXPECT_EQ(line.PortNumber(), 0);

    auto [mine, other] = platform::MemoryPort::MakePair();
    ASSERT_EQ(line.PortOpen(std::move(mine), 8, 0x81, 3), 1);
    EXPECT_EQ(line.LineState(), 2);
    EXPECT_EQ(line.PortIndex(), 3);
    EXPECT_EQ(line.AddLane(12), 0);
    auto [again, unused] = platform::MemoryPort::MakePair();
    EXPECT_EQ(line.PortOpen(std::move(again), 8, 0x81, 0), -100);
    EXPECT_EQ(line.PortIndex(), 3);
    EXPECT_EQ(line.GetLaneSlot(12)->active, 1);
    std::string log = bvtest::TempFolder::Read("BVLog.txt");
    EXPECT_NE(log.find("Port 0 already open with Com8!"), std::string::npos);

    EXPECT_EQ(line.PortClose(), 0);
    EXPECT_EQ(line.PortNumber(), 0);
    EXPECT_EQ(line.GetLaneSlot(12)->active, 0);
    EXPECT_EQ(line.PortClose(), -100);
}

TEST_F(OpenCloseTest, AFailedSetUpLeavesTheLineOpenForItsClose)
{
    class Unconfigurable : public platform::Port {
    public:
        int Configure(const platform::PortSettings&) override { return EIO; }
        int SetRts(bool) override { return 0; }
        int SetDtr(bool) override { return 0; }
        int InputCount(size_t& c) override { c = 0; return 0; }
        int TakeErrors(unsigned& e) override { e = 0; return 0; }
        int Read(void*, size_t, size_t& got) override { got = 0; return 0; }
        int WaitInput(int64_t) override { return 0; }
        void Wake() override {}
        int Write(const void*, size_t, int, size_t& w) override { w = 0; return EIO; }
        int Purge() override { return 0; }
        int Close() override { return 0; }
    };
    CBVSerCom line;
    EXPECT_EQ(line.PortOpen(std::make_unique<Unconfigurable>(), 2, 0x81, 0), -104);
    EXPECT_EQ(line.PortNumber(), 2);
    EXPECT_EQ(line.PortClose(), 0);
    EXPECT_EQ(line.PortNumber(), 0);
}
