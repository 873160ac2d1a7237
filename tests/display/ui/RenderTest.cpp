// BVVis --render: the display loop in a view window on the off-screen
// platform, with the picture written as PNG and reported line by line; run
// against a range written by bvtool and one written by the range control
// with simulated units, while shots come in.
#include "ScopedEnv.h"
#include "Eventually.h"
#include "LoopbackPort.h"
#include "RenderFixture.h"

#include <csignal>
#include <cstdlib>
#include <functional>

#include "foundation/files/BVConfig.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Clock.h"
#include "tests/range/RangeFolder.h"
#include "tools/bvsim/lib/Bus.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bvtest {
namespace {

const std::vector<int> kLanes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

class RenderTest : public InTempFolder {
protected:
    // The display\'s own profile (its language) stays in the test\'s folder.
    bvtest::ScopedEnv configHome{"XDG_CONFIG_HOME", folder.Path()};
    void SetUp() override
    {
        ASSERT_EQ(platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVView.bvt", "BVView.bvt"), 0);
    }
    // A display folder: the range of event 1, ten faces with header and
    // clock, and a list of the same lanes, both with places.
    static void DisplayOf(const std::string& rangeFolder)
    {
        DisplayFiles::Event(1, "Bane 1", rangeFolder);
        std::vector<Slot> faces, rows;
        for (int lane : kLanes) {
            faces.push_back({lane, 1, 0});
            rows.push_back({lane, 1, 2});
        }
        DisplayFiles::Picture(1, "Skiver", faces, {{VisItems::kShowPlace, 1}, {VisItems::kShowClock, 1}});
        DisplayFiles::Picture(2, "Liste", rows, {{VisItems::kShowPlace, 1}});
        DisplayFiles::Profile({{1, 10}, {2, 10}});
    }
    static std::string Png(const std::string& name) { return TempFolder::Read(name).empty() ? "" : name; }
};

TEST_F(RenderTest, RefusesWhatItCannotDrawWithOneLine)
{
    ProgramRun unknown = RunBVVis("--bogus");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown option --bogus"), std::string::npos);
    EXPECT_NE(unknown.err.find("--render"), std::string::npos);
    ProgramRun help = RunBVVis("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("BVVis --render PROFILE PLACE OUT.png"), std::string::npos);

    DisplayOf("R1");
    DisplayFiles::Profile({{1, 10}, {2, 10}, {3, 10}});
    {
        CBVConfig html;
        html.Open(".\\Pict3.bvc", 1);
        html.WriteInt(31, 1, 2, CVisPicture::kHtml);
    }
    struct Case {
        const char* args;
        const char* says;
    } cases[] = {
        {"--render 2 1 out.png", "no profile 2"},
        {"--render 1 4 out.png", "no place 4"},
        {"--render 1 3 out.png", "HTML"},
        {"--render 1 1 no/such/folder/out.png", "not written"},
        {"--render 1 1 out.png --size 10x10", "a size is"},
        {"--render 1 1 out.png --folder no-such-folder", "no folder"},
        {"--render x 1 out.png", "a profile is"},
    };
    for (const Case& c : cases) {
        ProgramRun run = RunBVVis(c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.args << ": " << run.err;
    }
    EXPECT_TRUE(TempFolder::Read("out.png").empty());
}

TEST_F(RenderTest, MessageScreensAreWrittenToo)
{
    // No range folder behind event 1: every panel says so; a picture file
    // that is missing: the whole picture says so.
    DisplayOf("R1");
    DisplayFiles::Profile({{1, 10}, {9, 10}});
    ProgramRun panels = RunBVVis("--render 1 1 panels.png --report --size 640x360");
    ASSERT_EQ(panels.status, 0) << panels.err;
    Report r = Report::Parse(panels.out);
    EXPECT_EQ(r.picture, "picture 1 1 0 - \"Skiver\"");
    EXPECT_EQ(r.targets[3].error, "IDS_ERROR_NOBVLEDER");
    EXPECT_TRUE(r.faces.empty());
    ProgramRun missing = RunBVVis("--render 1 2 missing.png --report");
    ASSERT_EQ(missing.status, 0) << missing.err;
    EXPECT_EQ(Report::Parse(missing.out).picture, "picture 2 9 0 IDS_ERROR_NOPICTCONFIG \"\"");
    QImage image("missing.png");
    ASSERT_EQ(image.size(), QSize(1280, 720));
    // Without its settings files the program stops on its error: that screen.
    ASSERT_EQ(platform::RemoveFile("BVVis.bvc"), 0);
    ProgramRun stopped = RunBVVis("--render 1 1 stopped.png --report --size 320x200");
    ASSERT_EQ(stopped.status, 0) << stopped.err;
    EXPECT_EQ(stopped.out, "error IDS_ERROR_OPENFAIL\n");
    EXPECT_FALSE(Png("stopped.png").empty());
}

TEST_F(RenderTest, ARangeWrittenByBvtoolWhileTheDisplayPolls)
{
    ASSERT_EQ(platform::CreateFolders("R1"), 0);
    RunSteps({{"comp create R1 1 1-10"}, {"cfg set R1/BVLeder.bvc 1 1 680 1"}, {"cfg set R1/Program.BVC 25 1 2 10"}});
    DisplayOf("R1");
    std::vector<KnownShot> known;
    for (int round = 0; round < 2; ++round) {
        const std::string n = std::to_string(round + 1);
        // Long enough after its first picture that a busy machine still
        // stores every shot before the display stops looking.
        Background faces("--render 1 1 faces" + n + ".png --seconds 6 --report", "faces" + n);
        Background list("--render 1 2 list" + n + ".png --seconds 6 --report", "list" + n);
        // The shots come while the display looks: some at once, the rest a moment later.
        std::vector<KnownShot> shots = SpreadShots(kLanes, round, round == 0 ? 3 : 2, 0);
        for (size_t half = 0; half < 2; ++half) {
            platform::SleepMs(500);
            std::string lines;
            for (size_t i = half; i < shots.size(); i += 2) {
                const KnownShot& s = shots[i];
                char line[80];
                std::snprintf(line, sizeof line, "1 %d 1 %d.%02d %.3f %.3f\n", s.lane, s.value / 100, s.value % 100,
                              s.x, s.y);
                lines += line;
            }
            TempFolder::Write("shots.txt", lines);
            RunSteps({{"shots add R1 1 shots.txt", 0, ""}});
        }
        // In the order they were stored.
        for (size_t half = 0; half < 2; ++half)
            for (size_t i = half; i < shots.size(); i += 2)
                known.push_back(shots[i]);
        SCOPED_TRACE("round " + n);
        CheckRender(faces.Finish(), "faces" + n + ".png", known, kLanes, true);
        CheckRender(list.Finish(), "list" + n + ".png", known, kLanes, false);
    }
}

TEST_F(RenderTest, ARangeRunByTheRangeControlWithTenUnits)
{
    // The range control in range/ with ten simulated units on its line.
    ASSERT_EQ(platform::CreateFolders("range"), 0);
    ASSERT_EQ(chdir("range"), 0);
    RangeFolderSetup setup;
    setup.lastLane = 10;
    setup.shotsPerSeries = 10;
    setup.autoSend = false;
    MakeRangeFolder(setup);
    ASSERT_EQ(chdir(".."), 0);
    DisplayOf("range");

    platform::PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    auto master = std::make_unique<platform::SerialPort>();
    ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
    bvsim::Bus bus(std::move(master));
    for (int lane : kLanes)
        ASSERT_TRUE(bus.AddUnit(lane));
    ASSERT_EQ(bus.Start(), 0);
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir("range") != 0)
            _exit(126);
        setenv("BV_COM1", pty.SlavePath().c_str(), 1);
        setenv("BV_CLOCK_PORT", std::to_string(FreePort()).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // A first start asks for its language: the unseen box answers at once.
        setenv("BV_UNSEEN_ANSWER_MS", "300", 1);
        const char* program = BV_BINARY_DIR "/range/BVLeder";
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    struct Stop {
        pid_t pid;
        bvsim::Bus& bus;
        ~Stop()
        {
            kill(pid, SIGTERM);
            int status = 0;
            waitpid(pid, &status, 0);
            bus.Stop();
        }
    } stop{pid, bus};

    // Every lane has its card once the range control is up.
    CDataComp reader;
    std::map<int, ActiveRecord> active;
    ASSERT_TRUE(Eventually([&] {
        reader.SetBasePath("range");
        if (reader.Open(1, 0) != 0)
            return false;
        for (int lane : kLanes) {
            ActiveRecord a;
            if (reader.ReadActive(lane, a) != 0 || a.cardRec == 0)
                return false;
            active[lane] = a;
        }
        return true;
    }, kPatienceMs));
    CardRecord card;
    ASSERT_EQ(reader.CardFile().ReadRec(active[1].cardRec, &card), 0);
    const int type = card.targetType;

    std::vector<KnownShot> known;
    std::map<int, int> fired;
    for (int round = 0; round < 2; ++round) {
        const std::string n = std::to_string(round + 1);
        Background faces("--render 1 1 faces" + n + ".png --seconds 10 --report", "faces" + n);
        Background list("--render 1 2 list" + n + ".png --seconds 10 --report", "list" + n);
        platform::SleepMs(500);
        std::vector<KnownShot> shots = SpreadShots(kLanes, round, round == 0 ? 2 : 1, type);
        for (const KnownShot& s : shots)
            ASSERT_TRUE(bus.QueueShot(s.lane, ++fired[s.lane], s.value, static_cast<int>(s.x * 1000),
                                      static_cast<int>(s.y * 1000), 1, active[s.lane].relay, 1));
        known.insert(known.end(), shots.begin(), shots.end());
        ProgramRun faceRun = faces.Finish();
        ProgramRun listRun = list.Finish();
        // What the range control stored is what the units sent.
        CDataComp now;
        now.SetBasePath("range");
        ASSERT_EQ(now.Open(1, 0), 0);
        for (int lane : kLanes) {
            ShotListRecord stored;
            ASSERT_EQ(now.ReadShots(active[lane].relay, lane, stored), 0) << lane << "\n" << faceRun.out;
            int i = 0;
            for (const KnownShot& s : known) {
                if (s.lane != lane)
                    continue;
                const int x = stored.shots[i].x, value = stored.shots[i].value;
                EXPECT_EQ(x, static_cast<int>(std::lround(s.x * 1000))) << lane;
                EXPECT_EQ(value, s.value) << lane;
                ++i;
            }
        }
        SCOPED_TRACE("round " + n);
        CheckRender(faceRun, "faces" + n + ".png", known, kLanes, true);
        CheckRender(listRun, "list" + n + ".png", known, kLanes, false);
    }
}

}  // namespace
}  // namespace bvtest
