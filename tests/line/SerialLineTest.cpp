// A line against the target-unit simulator on a pseudo-terminal: the serial
// bus protocol end to end, with the threads, the timing and the faults of a
// real bus. Waits are for things to happen, with generous limits, so that a
// loaded machine only makes the tests slower.
#include "tests/support/Eventually.h"
#include "line/BVSerCom.h"
#include "platform/system/Clock.h"
#include "platform/ports/MemoryPort.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Thread.h"
#include "tools/bvsim/lib/Bus.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <sstream>
#include <vector>

namespace serial_line_test {

using bvsim::Bytes;

constexpr int kCom = 1;
constexpr int kPortIndex = 2;
using bvtest::kPatienceMs;

std::unique_ptr<LineMessage> Command(int lane, const Bytes& payload)
{
    auto m = std::make_unique<LineMessage>();
    *m = LineMessage{};
    for (size_t k = 0; k < payload.size(); ++k)
        m->data[2 + k] = payload[k];
    m->data[0] = static_cast<uint8_t>(payload.size() + 1);
    m->targetAddress = static_cast<uint8_t>(lane);
    return m;
}

std::unique_ptr<LineMessage> ToAll(const Bytes& payload)
{
    auto m = Command(60, payload);
    m->broadcast = 1;
    return m;
}

Bytes Payload(const LineMessage& m) { return Bytes(m.data + 2, m.data + 1 + m.data[0]); }

int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// CPU time, in milliseconds, of this process's threads whose name begins so.
double ThreadCpuMs(const std::string& prefix) { return platform::ThreadCpuSeconds(prefix) * 1000.0; }

class SerialLineTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pty.Open(), 0);
        auto master = std::make_unique<platform::SerialPort>();
        ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
        bus = std::make_unique<bvsim::Bus>(std::move(master));
        // BVSIM_TRACE=1 shows every frame on the bus while a test runs.
        if (getenv("BVSIM_TRACE")) {
            bus->SetTrace(true);
            bus->SetListener([](const bvsim::BusEvent& e) {
                fprintf(stderr, "%.3f %d %s\n", e.time / 1e6, (int)e.kind, bvsim::Hex(e.bytes).c_str());
            });
        }
        ASSERT_EQ(bus->Start(), 0);
        platform::SetComDevice(kCom, pty.SlavePath());
        line = std::make_unique<CBVSerCom>();
    }
    void TearDown() override
    {
        line.reset();
        bus->Stop();
        platform::SetComDevice(kCom, "");
    }

    // The log threshold is read when the line's logs are made.
    static void LogLevel(int level)
    {
        bvtest::TempFolder::Write("BVLog.ini", "[BVLog]\r\nLevel=" + std::to_string(level) + "\r\n");
    }
    static std::string Log() { return bvtest::TempFolder::Read("BVLog.txt"); }

    void Open(int mode = 0x81) { ASSERT_EQ(line->PortOpen(kCom, mode, kPortIndex), 1); }
    void Units(int first, int last)
    {
        for (int lane = first; lane <= last; ++lane) {
            ASSERT_TRUE(bus->AddUnit(lane));
            ASSERT_EQ(line->AddLane(lane), 0);
        }
    }
    bool Eventually(const std::function<bool()>& test, int ms = kPatienceMs) { return bus->WaitFor(test, ms); }
    LaneSlot& Slot(int lane) { return *line->GetLaneSlot(lane); }
    bvsim::UnitStats Unit(int lane)
    {
        bvsim::UnitStats s;
        bus->Stats(lane, s);
        return s;
    }
    std::vector<std::unique_ptr<LineMessage>> Received()
    {
        std::vector<std::unique_ptr<LineMessage>> all;
        while (auto m = line->GetMsg())
            all.push_back(std::move(m));
        return all;
    }
    // A command reached its unit, maybe more than once when a late
    // acknowledgement on a loaded machine made the line try again, but then
    // each extra copy is a failed send.
    void ExpectHeard(int lane, const Bytes& command)
    {
        std::vector<Bytes> heard = bus->Commands(lane);
        ASSERT_GE(heard.size(), 1u);
        for (const Bytes& h : heard)
            EXPECT_EQ(h, command);
        EXPECT_EQ(Slot(lane).failedSend, heard.size() - 1);
    }
    // Waits until the line has polled a lane a few more times.
    bool MorePolls(int lane, int more)
    {
        int target = Unit(lane).polls + more;
        return Eventually([&] { return Unit(lane).polls >= target; });
    }

    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    std::unique_ptr<CBVSerCom> line;
};


TEST_F(SerialLineTest, PollMessageAndAcknowledgement)
{
    Open();
    Units(3, 3);
    ASSERT_TRUE(bus->QueueShot(3, 7, 1050, 1200, -340));
    uint32_t before = platform::TickCount();
    ASSERT_TRUE(Eventually([&] { return line->QueueCount(QueueKind::Received) == 1; }));
    auto shot = line->GetMsg();
    EXPECT_EQ(shot->data[0], 50);
    EXPECT_EQ(shot->data[3], 'C');
    EXPECT_EQ(shot->data[4], 3);
    EXPECT_EQ(shot->data[10], 7);
    EXPECT_EQ(shot->data[17] | shot->data[18] << 8, 1050);
    EXPECT_EQ(shot->data[31] | shot->data[32] << 8 | shot->data[33] << 16, 0xFFFFFF & -340);
    EXPECT_EQ(shot->targetAddress, 3);
    EXPECT_EQ(shot->slot, 3);
    EXPECT_EQ(shot->portIndex, kPortIndex);
    EXPECT_EQ(shot->broadcast, 0);
    EXPECT_EQ(shot->raw, 0);
    EXPECT_LE(shot->tick - before, 60000u);
    ASSERT_TRUE(Eventually([&] { return Unit(3).acknowledged == 1; }));
    EXPECT_EQ(Slot(3).okReceive, 1u);
    EXPECT_GE(Slot(3).okPoll, 1u);

    // A command to the lane is heard once and acknowledged.
    const Bytes text = {0x40, 'W', 3, 0x05, 'H', 'I'};
    line->SendMsg(Command(3, text));
    ASSERT_TRUE(Eventually([&] { return Slot(3).okSend == 1; }));
    ExpectHeard(3, text);
    EXPECT_EQ(line->QueueCount(QueueKind::Send), 0u);
}

TEST_F(SerialLineTest, TwoFramesInOneBurst)
{
    LogLevel(70);
    ASSERT_TRUE(bus->AddUnit(4));
    ASSERT_TRUE(bus->QueueMessage(4, {0x40, 0x50, 4, 1}));
    ASSERT_TRUE(bus->QueueMessage(4, {0x40, 0x50, 4, 2}));
    ASSERT_TRUE(bus->SetBurst(4));
    Open();
    ASSERT_EQ(line->AddLane(4), 0);
    // The first frame is taken and acknowledged at the burst's end, the
    // second thrown away; the unit sends it again at the next poll. Each
    // arrives once.
    ASSERT_TRUE(Eventually([&] { return Unit(4).acknowledged == 2; }));
    auto got = Received();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0]->data[5], 1);
    EXPECT_EQ(got[1]->data[5], 2);
    EXPECT_GE(Unit(4).framesSent, 3);
    EXPECT_GE(Count(Log(), "Throw data Com1 09 C4 40"), 1) << Log();
}

TEST_F(SerialLineTest, TheEchoOfOurOwnFramesIsIgnored)
{
    bus->SetEcho(true);
    Open();
    Units(8, 8);
    ASSERT_TRUE(bus->QueueMessage(8, {0x40, 0x50, 8}));
    ASSERT_TRUE(Eventually([&] { return Unit(8).acknowledged == 1; }));
    line->SendMsg(Command(8, {0x40, 0x73, 8}));
    ASSERT_TRUE(Eventually([&] { return Slot(8).okSend == 1; }));
    EXPECT_EQ(Received().size(), 1u);
    ExpectHeard(8, {0x40, 0x73, 8});
}

TEST_F(SerialLineTest, AnAnswerInsideTheEchoWindowIsTakenForTheEcho)
{
    bus->SetEcho(true);
    Open();
    Units(5, 5);
    ASSERT_TRUE(bus->SetTurnaround(5, 1));
    ASSERT_TRUE(bus->QueueMessage(5, {0x40, 0x50, 5}));
    ASSERT_TRUE(Eventually([&] { return Slot(5).failedPoll >= 5; }));
    // Each answer began within the echo window; the rare one that a loaded
    // machine delayed past it may pass, most must not.
    EXPECT_LT(Slot(5).okPoll * 2, Slot(5).failedPoll.load());
    EXPECT_LE(Received().size(), Slot(5).okPoll.load());
}

TEST_F(SerialLineTest, ThreeUnacknowledgedSendsThenTheMessageIsDropped)
{
    LogLevel(70);
    Open();
    Units(6, 6);
    ASSERT_TRUE(bus->SetRefusedAcknowledges(6, 100));
    line->SendMsg(Command(6, {0x40, 0x39, 6}));
    ASSERT_TRUE(Eventually([&] { return Slot(6).failedSend == 3 && line->QueueCount(QueueKind::Send) == 0; }));
    ASSERT_TRUE(MorePolls(6, 3));  // polling goes on, the message does not come back
    EXPECT_EQ(bus->Commands(6).size(), 3u);
    EXPECT_EQ(Slot(6).failedSend, 3u);
    EXPECT_EQ(Slot(6).okSend, 0u);
    EXPECT_EQ(Count(Log(), "SendMsg failed Com1"), 3) << Log();
    EXPECT_EQ(Count(Log(), "Retransmit limit - send something else!! Com1"), 1);
}

TEST_F(SerialLineTest, ABroadcastIsSentOnce)
{
    Open();
    Units(1, 2);
    // A mode command: its age, in hundredths, goes into positions 6 and 7
    // when it leaves.
    const Bytes mode = {0x40, 0x72, 0, 0x05, 0, 0, 12, 30, 0};
    auto message = ToAll(mode);
    message->tick = platform::TickCount() - 1500;
    message->agePosition = 6;
    message->ageMode = 0x22;
    line->SendMsg(std::move(message));
    ASSERT_TRUE(Eventually([&] { return line->GetLaneSlot(0)->okSend == 1; }));
    ASSERT_TRUE(MorePolls(1, 3));
    std::vector<Bytes> heard = bus->BroadcastsHeard();
    ASSERT_EQ(heard.size(), 1u);
    ASSERT_EQ(heard[0].size(), mode.size());
    EXPECT_EQ(Bytes(heard[0].begin(), heard[0].begin() + 4), Bytes(mode.begin(), mode.begin() + 4));
    int age = heard[0][4] | heard[0][5] << 8;
    EXPECT_GE(age, 150);
    EXPECT_LT(age, 150 + 1000);  // sent at once, even on a loaded machine
    EXPECT_EQ(Bytes(heard[0].begin() + 6, heard[0].end()), Bytes(mode.begin() + 6, mode.end()));
    EXPECT_EQ(Unit(1).commands + Unit(2).commands, 0);
    EXPECT_EQ(line->GetLaneSlot(0)->failedSend, 0u);
}

TEST_F(SerialLineTest, AChecksumErrorEarnsNoAcknowledgement)
{
    Open();
    Units(7, 7);
    ASSERT_TRUE(bus->SetChecksumErrors(7, 3));
    const Bytes message = {0x40, 0x50, 7, 0x0D};
    ASSERT_TRUE(bus->QueueMessage(7, message));
    ASSERT_TRUE(Eventually([&] { return Unit(7).acknowledged == 1; }));
    // No bad frame was acknowledged (the unit would have dropped its
    // message at the first), so it went again until a good one came, and
    // only that one arrived. Each bad frame that came in time for its poll
    // is a failed receive (one made late by a loaded machine is merely
    // thrown away).
    EXPECT_GE(Unit(7).framesSent, 4);
    auto got = Received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(Payload(*got[0]), message);
    EXPECT_EQ(Slot(7).okReceive, 1u);
    EXPECT_GE(Slot(7).failedReceive, 1u);
    EXPECT_LE(Slot(7).failedReceive, 3u);
    EXPECT_EQ(Count(Log(), "CRC error Com1"), static_cast<int>(Slot(7).failedReceive));
}

TEST_F(SerialLineTest, FiftyUnitsArePolledInTurn)
{
    Open();
    Units(1, 50);
    ASSERT_TRUE(Eventually([&] {
        for (int lane = 1; lane <= 50; ++lane)
            if (Slot(lane).okPoll == 0)
                return false;
        return true;
    }, 60000));
    std::vector<int> order = bus->PollOrder();
    ASSERT_GE(order.size(), 50u);
    for (size_t k = 1; k < order.size(); ++k)
        ASSERT_EQ(order[k], order[k - 1] % 50 + 1) << "poll " << k;
}

TEST_F(SerialLineTest, ClosingWhileBusyEndsEveryThreadAndFreesTheQueues)
{
    Open();
    Units(1, 10);
    for (int lane = 1; lane <= 10; ++lane)
        for (int shot = 1; shot <= 20; ++shot)
            bus->QueueShot(lane, shot, 1000, 0, 0);
    for (int k = 0; k < 30; ++k)
        line->SendMsg(Command(1 + k % 10, {0x40, 0x57, static_cast<uint8_t>(1 + k % 10), 'X'}));
    ASSERT_TRUE(Eventually([&] { return line->QueueCount(QueueKind::Received) >= 3; }));
    int64_t start = platform::MonotonicUs();
    EXPECT_EQ(line->PortClose(), 0);
    EXPECT_LT(platform::MonotonicUs() - start, 2000000);
    EXPECT_EQ(line->QueueCount(QueueKind::Received), 0u);
    EXPECT_EQ(line->QueueCount(QueueKind::Send), 0u);
    EXPECT_EQ(line->GetLaneSlot(1)->active, 0);
    EXPECT_EQ(Log().find("did not stop"), std::string::npos);

    // The port is free again and the line works as before.
    Open();
    ASSERT_EQ(line->AddLane(2), 0);
    ASSERT_TRUE(Eventually([&] { return line->QueueCount(QueueKind::Received) >= 1; }));
    EXPECT_EQ(line->PortClose(), 0);
}

TEST_F(SerialLineTest, SentFramesAreCopiedRawForTheLineMonitor)
{
    Open();
    Units(3, 3);
    line->CopiesOn();
    ASSERT_TRUE(bus->QueueMessage(3, {0x40, 0x50, 3}));
    line->SendMsg(Command(3, {0x40, 0x57, 3, 0x05}));
    ASSERT_TRUE(Eventually([&] { return Slot(3).okSend == 1 && Slot(3).okReceive == 1; }));
    bool poll = false, command = false, message = false;
    while (auto copy = line->GetCopy()) {
        Bytes raw(copy->data + 1, copy->data + 1 + copy->data[0]);
        if (copy->copyDirection == 1 && raw == Bytes{0x43, 0x0D})
            poll = true;
        // The command as it went out: escapes and checksum included.
        if (copy->copyDirection == 1 && raw.size() > 2 && raw[0] == 0x83) {
            EXPECT_EQ(raw, (Bytes{0x83, 0x40, 0x57, 0x0F, 0x13, 0x0F, 0x15, 0xAA, 0x0D}));
            EXPECT_EQ(copy->slot, 3);
            command = true;
        }
        if (copy->copyDirection == 0 && copy->data[0] > 2 && copy->data[3] == 0x50) {
            EXPECT_EQ(Payload(*copy), (Bytes{0x40, 0x50, 3}));
            EXPECT_EQ(copy->data[1], 0xC3);
            message = true;
        }
    }
    EXPECT_TRUE(poll);
    EXPECT_TRUE(command);
    EXPECT_TRUE(message);
}

TEST_F(SerialLineTest, AFrameTooLongForTheLineIsRefusedAndCounted)
{
    Open();
    Units(2, 2);
    Bytes big(150, 0x05);  // 300 bytes once escaped
    big[0] = 0x40;
    line->SendMsg(Command(2, big));
    ASSERT_TRUE(Eventually([&] { return Slot(2).failedSend == 1 && line->QueueCount(QueueKind::Send) == 0; }));
    line->SendMsg(Command(2, {0x40, 0x57, 2}));
    ASSERT_TRUE(Eventually([&] { return Slot(2).okSend == 1; }));
    EXPECT_EQ(Slot(2).failedSend, bus->Commands(2).size());  // the refused one, and any late acknowledgement
    for (const Bytes& heard : bus->Commands(2))
        EXPECT_EQ(heard, (Bytes{0x40, 0x57, 2}));
    EXPECT_NE(Log().find("too long for Com1"), std::string::npos);
}

TEST_F(SerialLineTest, AnIdleLineDoesNotSpin)
{
    Open();
    // No lanes: nothing to poll, nothing to send.
    platform::SleepMs(300);
    double before = ThreadCpuMs("bvline1-");
    platform::SleepMs(1000);
    double used = ThreadCpuMs("bvline1-") - before;
    EXPECT_LT(used, 100.0);  // spinning would use a whole core
    EXPECT_EQ(Count(Log(), "Nothing to do!! Com1"), 1);
    EXPECT_EQ(Count(Log(), "Safety event"), 0);

    // Work wakes it at once.
    Units(9, 9);
    ASSERT_TRUE(Eventually([&] { return Slot(9).okPoll >= 1; }, 5000));
}

TEST_F(SerialLineTest, RtsIsKeyedAroundEveryFrame)
{
    // Over an in-memory stream, with the simulator on its other end.
    auto [mine, theirs] = platform::MemoryPort::MakePair();
    platform::MemoryPort* port = mine.get();
    bvsim::BusOptions options;
    options.baud = 4800;
    options.turnaroundMs = 30;  // the echo window is 20 ms at this speed
    bvsim::Bus memoryBus(std::move(theirs), options);
    ASSERT_EQ(memoryBus.Start(), 0);
    ASSERT_TRUE(memoryBus.AddUnit(1));
    ASSERT_TRUE(memoryBus.QueueMessage(1, {0x40, 0x50, 1}));
    CBVSerCom slow;
    ASSERT_EQ(slow.PortOpen(std::move(mine), 5, 0x91, 0), 1);  // 4800 baud
    ASSERT_EQ(slow.AddLane(1), 0);
    slow.SendMsg(Command(1, {0x40, 0x57, 1}));
    ASSERT_TRUE(memoryBus.WaitFor([&] {
        bvsim::UnitStats s;
        memoryBus.Stats(1, s);
        // A loaded machine may make the line send again: at least once each.
        return s.acknowledged >= 1 && s.commands >= 1 && s.polls >= 3;
    }, kPatienceMs));
    platform::PortSettings settings = port->Settings();
    EXPECT_EQ(settings.baud, 4800);
    EXPECT_EQ(settings.dataBits, 8);
    EXPECT_EQ(settings.parity, 'E');
    EXPECT_EQ(settings.stopBits, 1);
    std::istringstream trace(port->LineTrace());
    std::vector<std::string> steps;
    for (std::string s; trace >> s;)
        steps.push_back(s);
    ASSERT_GE(steps.size(), 8u);
    // Every frame: RTS on, all bytes but the last, the last, RTS off.
    size_t complete = steps.size() - steps.size() % 4;
    for (size_t k = 0; k < complete; k += 4) {
        EXPECT_EQ(steps[k], "R") << k;
        EXPECT_EQ(steps[k + 1][0], 'w') << k;
        EXPECT_EQ(steps[k + 2], "w1") << k;
        EXPECT_EQ(steps[k + 3], "r") << k;
    }
    EXPECT_EQ(slow.PortClose(), 0);
    EXPECT_FALSE(port == nullptr);
    memoryBus.Stop();
}


// A port whose writes hang until released, like a driver that never
// returns. Its destruction is reported, so a test sees when the line let go.
class HangingPort : public platform::Port {
public:
    struct Control {
        std::mutex lock;
        std::condition_variable released;
        bool hang = true;
        bool hanging = false;
        bool destroyed = false;
    };
    explicit HangingPort(std::shared_ptr<Control> c) : m_control(std::move(c)) {}
    ~HangingPort() override
    {
        std::lock_guard<std::mutex> hold(m_control->lock);
        m_control->destroyed = true;
    }
    int Configure(const platform::PortSettings&) override { return 0; }
    int SetRts(bool) override { return 0; }
    int SetDtr(bool) override { return 0; }
    int InputCount(size_t& c) override { c = 0; return 0; }
    int TakeErrors(unsigned& e) override { e = 0; return 0; }
    int Read(void*, size_t, size_t& got) override { got = 0; return 0; }
    int WaitInput(int64_t us) override
    {
        platform::SleepMs(static_cast<unsigned>(std::min<int64_t>(us / 1000, 20)));
        return 0;
    }
    void Wake() override {}
    int Write(const void*, size_t size, int, size_t& written) override
    {
        std::unique_lock<std::mutex> hold(m_control->lock);
        m_control->hanging = true;
        m_control->released.wait(hold, [&] { return !m_control->hang; });
        written = size;
        return 0;
    }
    int Purge() override { return 0; }
    int Close() override { return 0; }

private:
    std::shared_ptr<Control> m_control;
};


TEST_F(SerialLineTest, AThreadThatDoesNotEndIsLeftWithWhatItUses)
{
    auto control = std::make_shared<HangingPort::Control>();
    CBVSerCom stuck;
    ASSERT_EQ(stuck.PortOpen(std::make_unique<HangingPort>(control), 4, 0x81, 1), 1);
    ASSERT_EQ(stuck.AddLane(1), 0);
    stuck.SendMsg(Command(1, {0x40, 0x57, 1}));
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard<std::mutex> hold(control->lock);
        return control->hanging;
    }));
    // The transmitter hangs in the port holding the port lock; the receiver
    // waits for that lock. Closing gives up on both after its time, logs
    // them, and frees nothing they still use.
    int code = stuck.PortClose();
    EXPECT_EQ(code, -152);
    std::string log = Log();
    EXPECT_NE(log.find("Tx thread did not stop for Com4"), std::string::npos);
    EXPECT_EQ(log.find("Protocol thread did not stop"), std::string::npos);
    EXPECT_EQ(stuck.PortNumber(), 0);
    EXPECT_EQ(stuck.QueueCount(QueueKind::Send), 0u);
    {
        std::lock_guard<std::mutex> hold(control->lock);
        EXPECT_FALSE(control->destroyed);
    }
    // The line object is usable again at once.
    Open();
    Units(2, 2);
    ASSERT_TRUE(Eventually([&] { return Slot(2).okPoll >= 1; }));

    // Released, the left threads end and their line goes with them.
    {
        std::lock_guard<std::mutex> hold(control->lock);
        control->hang = false;
    }
    control->released.notify_all();
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard<std::mutex> hold(control->lock);
        return control->destroyed;
    }, 10000));
}
// A unit whose answer stops in its middle holds the bus: nothing is sent
// until the answer has ended or can no longer end, so no frame of the line
// meets the rest of an answer on the wire. The stop is logged once for the
// lane however often it happens.
TEST_F(SerialLineTest, AnAnswerThatStopsInItsMiddleHoldsTheBus)
{
    struct Case {
        const char* name;
        int pauseMs;   // the rest follows after this
        int cuts;      // or the first answers never end
        int messages;
    };
    const Case cases[] = {
        {"a pause of 50 ms in every answer", 50, 0, 3},
        {"two answers cut off, then whole", 0, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;
        LogLevel(70);
        line = std::make_unique<CBVSerCom>();
        Open();
        Units(1, 3);
        ASSERT_TRUE(bus->SetAnswerPause(2, c.pauseMs));
        ASSERT_TRUE(bus->SetCutAnswers(2, c.cuts));
        for (int k = 0; k < c.messages; ++k)
            ASSERT_TRUE(bus->QueueMessage(2, {0x40, 0x50, 2, static_cast<uint8_t>(k), 0x11, 0x22, 0x33, 0x44, 0x55,
                                              0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC}));
        ASSERT_TRUE(Eventually([&] { return Unit(2).acknowledged == c.messages; }));
        ASSERT_TRUE(MorePolls(2, 2));

        EXPECT_EQ(bus->Collisions(), 0);
        EXPECT_EQ(Received().size(), static_cast<size_t>(c.messages));
        EXPECT_EQ(Slot(2).okReceive, static_cast<uint32_t>(c.messages));
        EXPECT_EQ(Slot(2).failedPoll, static_cast<uint32_t>(c.cuts));
        EXPECT_EQ(Slot(2).failedReceive, 0u);
        EXPECT_EQ(Slot(1).failedPoll + Slot(3).failedPoll, 0u);
        std::string log = Log();
        EXPECT_EQ(Count(log, "Answer cut off at slot 2 Com1"), 1) << log;
        EXPECT_EQ(Count(log, "Answer cut off"), 1) << log;
        EXPECT_EQ(Count(log, "No answer at slot"), 0) << log;
        // The next case's line starts on a quiet bus, with no answer to this
        // line's last poll still to come.
        line.reset();
        platform::SleepMs(100);
        bus->RemoveUnit(1);
        bus->RemoveUnit(2);
        bus->RemoveUnit(3);
    }
}

TEST_F(SerialLineTest, ALaneThatNeverAnswersIsLoggedOnce)
{
    LogLevel(70);
    Open();
    Units(1, 1);
    ASSERT_EQ(line->AddLane(4), 0);  // no unit on its slot
    ASSERT_TRUE(Eventually([&] { return Slot(4).failedPoll >= 4; }));
    EXPECT_EQ(Count(Log(), "No answer at slot 4 Com1"), 1) << Log();
    EXPECT_EQ(Count(Log(), "No answer at slot 1 Com1"), 0);
}
}  // namespace
