// The port contract, run over every kind of port the line protocols use: a
// pseudo-terminal (through termios) and the in-memory pair.
#include "platform/system/Clock.h"
#include "platform/ports/MemoryPort.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

#include <termios.h>

using namespace platform;

namespace {

struct PortPair {
    std::unique_ptr<Port> a;
    std::unique_ptr<Port> b;
    PseudoTerminal pty;
};

void MakePty(PortPair& p)
{
    ASSERT_EQ(p.pty.Open(), 0);
    auto slave = std::make_unique<SerialPort>();
    ASSERT_EQ(slave->Open(p.pty.SlavePath()), 0);
    auto master = std::make_unique<SerialPort>();
    ASSERT_EQ(master->Adopt(p.pty.ReleaseMaster()), 0);
    p.a = std::move(slave);
    p.b = std::move(master);
}

void MakeMemory(PortPair& p)
{
    auto [a, b] = MemoryPort::MakePair();
    p.a = std::move(a);
    p.b = std::move(b);
}

std::string ReadAll(Port& port, size_t want)
{
    std::string got;
    int64_t until = MonotonicUs() + 5000000;
    while (got.size() < want && MonotonicUs() < until) {
        port.WaitInput(100000);
        char buffer[256];
        size_t n = 0;
        if (port.Read(buffer, sizeof buffer, n) != 0)
            break;
        got.append(buffer, n);
    }
    return got;
}

}  // namespace

class PortContract : public testing::TestWithParam<void (*)(PortPair&)> {
protected:
    void SetUp() override
    {
        GetParam()(pair);
        ASSERT_TRUE(pair.a && pair.b);
        ASSERT_EQ(pair.a->Configure(PortSettings{}), 0);
    }
    PortPair pair;
};

TEST_P(PortContract, BytesCrossInBothDirectionsUntouched)
{
    // Every byte value, the carriage return and 0x11/0x13 (XON/XOFF) among
    // them, must pass as it is: the bus frames are binary.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    size_t written = 0;
    ASSERT_EQ(pair.a->Write(all.data(), all.size(), 1000, written), 0);
    EXPECT_EQ(written, all.size());
    EXPECT_EQ(ReadAll(*pair.b, all.size()), all);
    ASSERT_EQ(pair.b->Write("\x40\x0D", 2, 1000, written), 0);
    EXPECT_EQ(ReadAll(*pair.a, 2), std::string("\x40\x0D"));
}

TEST_P(PortContract, WaitInputEndsOnInputWakeOrTime)
{
    int64_t start = MonotonicUs();
    EXPECT_EQ(pair.a->WaitInput(30000), 0);
    int64_t waited = MonotonicUs() - start;
    EXPECT_GE(waited, 25000);
    EXPECT_LT(waited, 2000000);

    std::thread waker([&] {
        SleepMs(20);
        pair.a->Wake();
    });
    start = MonotonicUs();
    EXPECT_EQ(pair.a->WaitInput(10000000), 0);
    EXPECT_LT(MonotonicUs() - start, 5000000);
    waker.join();

    size_t written = 0;
    ASSERT_EQ(pair.b->Write("x", 1, 1000, written), 0);
    EXPECT_EQ(pair.a->WaitInput(5000000), 1);
    size_t count = 0;
    EXPECT_EQ(pair.a->InputCount(count), 0);
    EXPECT_EQ(count, 1u);
}

TEST_P(PortContract, PurgeDropsWaitingInputAndModemLinesAreAccepted)
{
    size_t written = 0;
    ASSERT_EQ(pair.b->Write("abc", 3, 1000, written), 0);
    ASSERT_EQ(pair.a->WaitInput(5000000), 1);
    EXPECT_EQ(pair.a->Purge(), 0);
    size_t count = 1;
    EXPECT_EQ(pair.a->InputCount(count), 0);
    EXPECT_EQ(count, 0u);
    // Neither a pseudo-terminal nor a stream has RTS; a bus protocol must
    // still run on them.
    EXPECT_EQ(pair.a->SetRts(true), 0);
    EXPECT_EQ(pair.a->SetRts(false), 0);
    EXPECT_EQ(pair.a->SetDtr(false), 0);
    unsigned errors = 99;
    EXPECT_EQ(pair.a->TakeErrors(errors), 0);
    EXPECT_EQ(errors, 0u);
}

INSTANTIATE_TEST_SUITE_P(Ports, PortContract, testing::Values(&MakePty, &MakeMemory),
                         [](const auto& info) { return info.index == 0 ? "PseudoTerminal" : "Memory"; });

TEST(SerialPort, OpenIsExclusiveUntilClosed)
{
    PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    SerialPort first, second;
    ASSERT_EQ(first.Open(pty.SlavePath()), 0);
    EXPECT_EQ(second.Open(pty.SlavePath()), EBUSY);
    ASSERT_EQ(first.Close(), 0);
    EXPECT_EQ(second.Open(pty.SlavePath()), 0);
}

TEST(SerialPort, SettingsGiveTheCharacterFormat)
{
    struct Case { PortSettings s; speed_t speed; tcflag_t size; bool parity; bool odd; bool twoStops; };
    const Case cases[] = {
        {{9600, 8, 'E', 1}, B9600, CS8, true, false, false},   // the target bus
        {{4800, 8, 'E', 1}, B4800, CS8, true, false, false},
        {{19200, 8, 'N', 1}, B19200, CS8, false, false, false},
        {{9600, 7, 'O', 2}, B9600, CS7, true, true, true},
    };
    for (const Case& c : cases) {
        termios t{};
        t.c_lflag = ICANON | ECHO | ISIG;
        t.c_iflag = ICRNL | IXON;
        t.c_oflag = OPOST;
        t.c_cflag = CRTSCTS;
        ASSERT_EQ(SerialPort::ApplySettings(c.s, t), 0) << c.s.baud;
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(cfgetispeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & CSIZE, c.size);
        EXPECT_EQ(bool(t.c_cflag & PARENB), c.parity);
        EXPECT_EQ(bool(t.c_iflag & INPCK), c.parity);
        EXPECT_EQ(bool(t.c_cflag & PARODD), c.odd);
        EXPECT_EQ(bool(t.c_cflag & CSTOPB), c.twoStops);
        EXPECT_FALSE(t.c_cflag & CRTSCTS);
        EXPECT_TRUE(t.c_cflag & CLOCAL);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR));
        EXPECT_FALSE(t.c_oflag & OPOST);
        EXPECT_EQ(t.c_cc[VMIN], 0);
        EXPECT_EQ(t.c_cc[VTIME], 0);
    }
    termios t{};
    EXPECT_EQ(SerialPort::ApplySettings({1234, 8, 'E', 1}, t), EINVAL);
    EXPECT_EQ(SerialPort::ApplySettings({9600, 9, 'E', 1}, t), EINVAL);
    EXPECT_EQ(SerialPort::ApplySettings({9600, 8, 'X', 1}, t), EINVAL);
}

TEST(SerialPort, ConfigureReachesTheDevice)
{
    // A pseudo-terminal keeps the speed and the raw mode (not the parity,
    // which it has no wire for).
    PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    SerialPort master;
    ASSERT_EQ(master.Adopt(pty.ReleaseMaster()), 0);
    ASSERT_EQ(master.Configure({9600, 8, 'E', 1}), 0);  // the simulator's side
    SerialPort port;
    ASSERT_EQ(port.Open(pty.SlavePath()), 0);
    for (int baud : {9600, 4800, 9600}) {
        ASSERT_EQ(port.Configure({baud, 8, 'E', 1}), 0);
        termios t;
        ASSERT_EQ(tcgetattr(port.Descriptor(), &t), 0);
        EXPECT_EQ(cfgetospeed(&t), baud == 9600 ? B9600 : B4800);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
    }
    EXPECT_EQ(port.Configure({1234, 8, 'E', 1}), EINVAL);
    EXPECT_EQ(port.SetRts(true), 0);
    EXPECT_FALSE(port.HasModemLines());
}

TEST(SerialPort, ComNamesMapToDevices)
{
    struct Case { const char* name; bool ok; int number; };
    const Case cases[] = {
        {"COM1", true, 1}, {"com3", true, 3}, {"Com12", true, 12},
        {"COM0", false, 0}, {"COM", false, 0}, {"COMx", false, 0}, {"/dev/ttyS0", false, 0},
    };
    for (const Case& c : cases) {
        int n = 0;
        EXPECT_EQ(ParseComName(c.name, n), c.ok) << c.name;
        if (c.ok)
            EXPECT_EQ(n, c.number) << c.name;
    }
    EXPECT_EQ(ComDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(ComDevicePath(9), "/dev/ttyS8");
    setenv("BV_COM4", "/dev/ttyUSB0", 1);
    EXPECT_EQ(ComDevicePath(4), "/dev/ttyUSB0");
    SetComDevice(4, "/tmp/bus4");
    EXPECT_EQ(ComDevicePath(4), "/tmp/bus4");
    SetComDevice(4, "");
    unsetenv("BV_COM4");
    EXPECT_EQ(ComDevicePath(4), "/dev/ttyS3");
}

TEST(SerialPort, OpeningAComNameUsesItsDeviceAndReportsAMissingOne)
{
    PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    SetComDevice(7, pty.SlavePath());
    SerialPort port;
    EXPECT_EQ(port.Open("COM7"), 0);
    EXPECT_EQ(port.Device(), pty.SlavePath());
    SetComDevice(7, "/nonexistent/ttyBV7");
    SerialPort missing;
    EXPECT_EQ(missing.Open("COM7"), ENOENT);
    SetComDevice(7, "");
}
