// The BVLeder program itself, as the demo runs it: started in a range
// folder with its line on a pseudo-terminal where simulated units answer, on
// the offscreen platform, and stopped by the system.
#include "tests/range/RangeFolder.h"
#include "Eventually.h"
#include "LoopbackPort.h"
#include "TempFolder.h"

#include "foundation/comp/DataComp.h"
#include "platform/system/Clock.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/SystemInfo.h"
#include "tools/bvsim/lib/Bus.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::Eventually;
using bvtest::FreePort;
using bvtest::Connects;

const char kBVLeder[] = BV_BINARY_DIR "/range/BVLeder";

std::string ComputerNameInRange()
{
    CBVConfig range;
    range.Open(".\\BVLeder.bvc", 0);
    return ReadItem(range, RangeItems::kComputerName);
}

class BVLederProgramTest : public bvtest::InTempFolder {};

TEST_F(BVLederProgramTest, RunsARangeUntilStopped)
{
    bvtest::MakeRangeFolder({});
    platform::PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    auto master = std::make_unique<platform::SerialPort>();
    ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
    bvsim::Bus bus(std::move(master));
    for (int lane = 1; lane <= 4; ++lane)
        ASSERT_TRUE(bus.AddUnit(lane));
    ASSERT_EQ(bus.Start(), 0);

    int port = FreePort();
    pid_t pid = fork();
    if (pid == 0) {
        setenv("BV_COM1", pty.SlavePath().c_str(), 1);
        setenv("BV_CLOCK_PORT", std::to_string(port).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
        // A first start asks for the language; nobody answers here.
        setenv("BV_UNSEEN_ANSWER_MS", "300", 1);
        execl(kBVLeder, kBVLeder, static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);

    // Its start-up puts every unit into the start mode.
    ASSERT_TRUE(bus.WaitFor([&] {
        for (const bvsim::Bytes& b : bus.BroadcastsHeard())
            if (b.size() > 3 && b[1] == 'r' && b[3] == 48)
                return true;
        return false;
    }, 30000));
    EXPECT_EQ(ComputerNameInRange(), platform::ComputerName());
    EXPECT_TRUE(Eventually([&] { return Connects(port); }, 5000));

    ASSERT_TRUE(bus.QueueShot(3, 1, 1050, 2500, -1200));
    ASSERT_TRUE(Eventually([&] {
        CDataComp reader;
        reader.Open(1, 0);
        ShotListRecord list;
        return reader.ReadShots(1, 3, list) == 0 && list.shots[0].state == CDataComp::kSlotShot &&
               list.shots[0].value == 1050;
    }));
    EXPECT_TRUE(Eventually([] { return !bvtest::TempFolder::Read("BV/H1R00103.txt").empty(); }, 5000));

    // Stopped by the system, it closes as its window would.
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ComputerNameInRange(), "");
    EXPECT_FALSE(Connects(port));
    bus.Stop();
}

}  // namespace
