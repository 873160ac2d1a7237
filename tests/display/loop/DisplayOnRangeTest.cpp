// The display beside its real counterpart: BVLeder's application runs a
// range in this test process, with ten simulated units on its line and its
// shooting clock started; BVVis --render, a program of its own, follows the
// range and the clock link, and its picture shows the clock and the shots.
#include <QElapsedTimer>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ScopedEnv.h"
#include "tests/display/ui/RenderFixture.h"
#include "tests/range/FrameFixture.h"

#include "display/loop/DisplayClock.h"
#include "foundation/ui/net/BVSocket.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "range/ui/MainFrm.h"
#include "tools/bvsim/lib/Bus.h"

namespace bvtest {
namespace {

const std::vector<int> kLanes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

class DisplayOnRangeTest : public RangeFrameTest {
protected:
    void TearDown() override
    {
        if (m_child > 0) {
            kill(m_child, SIGTERM);
            waitpid(m_child, nullptr, 0);
        }
        if (bus)
            bus->Stop();
        RangeFrameTest::TearDown();
    }
    // BVVis with the arguments given, in the background; its output to out.
    void RunBVVis(const std::vector<std::string>& args, const std::string& out)
    {
        const std::string program = kBVVis;
        const int port = Frame().m_socket->LocalPort();
        m_child = fork();
        if (m_child == 0) {
            int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            int err = ::open((out + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(err, 2);
            setenv("BV_CLOCK_PORT", std::to_string(port).c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
    }
    // The child's exit code once it ended (-1 while it runs).
    int Ended()
    {
        int status = 0;
        if (m_child <= 0 || waitpid(m_child, &status, WNOHANG) != m_child)
            return -1;
        m_child = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }

    platform::PseudoTerminal pty;
    std::unique_ptr<bvsim::Bus> bus;
    pid_t m_child = -1;
};

TEST_F(DisplayOnRangeTest, TheClockAndTheShotsOfARunningRange)
{
    // The range: lanes 1-10 on COM1 with their units.
    RangeFolderSetup setup;
    setup.lastLane = 10;
    setup.shotsPerSeries = 10;
    setup.autoSend = false;
    MakeRangeFolder(setup);
    ASSERT_EQ(pty.Open(), 0);
    auto master = std::make_unique<platform::SerialPort>();
    ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
    bus = std::make_unique<bvsim::Bus>(std::move(master));
    for (int lane : kLanes)
        ASSERT_TRUE(bus->AddUnit(lane));
    ASSERT_EQ(bus->Start(), 0);
    platform::SetComDevice(1, pty.SlavePath());
    Start();
    ASSERT_TRUE(RunUntil([&] { return Frame().m_tick.startState == TickSchedule::StartState::Running; }, 10000));
    ASSERT_TRUE(Frame().m_socket && Frame().m_socket->IsOpen());

    // The display's folder beside it: ten faces with header and clock.
    ASSERT_EQ(platform::CreateFolders("display"), 0);
    ASSERT_EQ(chdir("display"), 0);
    bvtest::ScopedEnv configHome("XDG_CONFIG_HOME", ".");
    ASSERT_EQ(platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVView.bvt", "BVView.bvt"), 0);
    DisplayFiles::Event(1, "Bane 1", "..");
    std::vector<Slot> faces;
    for (int lane : kLanes)
        faces.push_back({lane, 1, 0});
    DisplayFiles::Picture(1, "Skiver", faces, {{VisItems::kShowPlace, 1}, {VisItems::kShowClock, 1}});
    DisplayFiles::Profile({{1, 10}});
    ASSERT_EQ(chdir(".."), 0);

    // The officer starts the clock: two minutes and half a minute extra.
    objects->clock.Set(120, 30, 1);
    objects->clock.Start();
    Frame().SendClock();
    QElapsedTimer sinceStart;
    sinceStart.start();

    std::map<int, ActiveRecord> active;
    for (int lane : kLanes)
        ASSERT_EQ(objects->comp.ReadActive(lane, active[lane]), 0);
    CardRecord card;
    ASSERT_EQ(objects->comp.CardFile().ReadRec(active[1].cardRec, &card), 0);

    RunBVVis({"--render", "1", "1", "faces.png", "--folder", "display", "--seconds", "7", "--report"}, "report.txt");
    // The shots come while the display looks.
    RunUntil([] { return false; }, 1000);
    std::vector<KnownShot> shots = SpreadShots(kLanes, 0, 2, card.targetType);
    std::map<int, int> fired;
    for (const KnownShot& s : shots)
        ASSERT_TRUE(bus->QueueShot(s.lane, ++fired[s.lane], s.value, static_cast<int>(s.x * 1000),
                                   static_cast<int>(s.y * 1000), 1, active[s.lane].relay, 1));
    // The range control runs on until the display is done. Its picture is
    // written (under its own name once whole) right after its last tick.
    int status = -1;
    qint64 drawn = -1;
    ASSERT_TRUE(RunUntil([&] {
        if (drawn < 0 && platform::FileExists("faces.png"))
            drawn = sinceStart.elapsed();
        status = Ended();
        return status >= 0;
    }, 60000));
    ProgramRun run{status, TempFolder::Read("report.txt"), TempFolder::Read("report.txt.err")};
    ASSERT_GE(drawn, 0);

    // The clock the range control runs, as it stood in the seconds before the
    // picture was seen: the header shows one of these. The window is wide
    // because a loaded machine may see the file late, not because the clock
    // may lag.
    Report r = Report::Parse(run.out);
    std::set<std::string> expected;
    for (qint64 ms = drawn - 5000; ms <= drawn; ms += 50)
        expected.insert("\"" + DisplayClock::Format(DisplayClock::ShownTenths(1, 1200, 300, static_cast<uint32_t>(ms / 100))) + "\"");
    // The header's last field, in its quotes.
    const std::string clock = r.header.substr(r.header.rfind("\" \"") + 2);
    EXPECT_TRUE(expected.count(clock)) << r.header << ", written " << drawn << " ms after the start\n" << run.err;
    EXPECT_NE(clock, "\" 0:00\"");
    CheckRender(run, "faces.png", shots, kLanes, true);
}

}  // namespace
}  // namespace bvtest
