// bvtool res worker --web on one folder: of two workers one writes the web
// pages, and the other takes over when the writer is killed; and with the
// exchange reader and the web writer on different workers, a result the
// reader imports reaches the writer's relay page.
#include "OutputProcess.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVIniFile.h"
#include "results/data/CompetitionItems.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace web_worker_test {

using bvtest::RunSteps;
using bvtest::TempFolder;
namespace fs = std::filesystem;
using namespace results;

// A bvtool res worker on the folder res, its output going to a file.
class WebWorker : public bvtest::OutputProcess {
public:
    WebWorker(const std::string& output, bool web, bool exchange) : OutputProcess(output, Arguments(web, exchange)) {}

    struct Web {
        int k;
        std::string role;
        std::string events;
    };
    std::vector<Web> Passes() const
    {
        std::vector<Web> passes;
        std::istringstream in(TempFolder::Read(Output()));
        for (std::string line; std::getline(in, line);) {
            char role[16], events[256];
            Web w;
            if (std::sscanf(line.c_str(), "web\t%d\t%15s\t%255s", &w.k, role, events) == 3) {
                w.role = role;
                w.events = events;
                passes.push_back(w);
            }
        }
        return passes;
    }
    int FirstWriterPass() const
    {
        for (const Web& w : Passes())
            if (w.role == "writer")
                return w.k;
        return 0;
    }
    bool WriterNow() const
    {
        const auto passes = Passes();
        return !passes.empty() && passes.back().role == "writer";
    }

private:
    static std::vector<std::string> Arguments(bool web, bool exchange)
    {
        std::vector<std::string> argv = {BV_BINARY_DIR "/tools/bvtool/bvtool", "res", "worker", "res", "--pass-ms", "5"};
        if (web)
            argv.push_back("--web");
        if (exchange)
            argv.push_back("--take-part");
        return argv;
    }
};

template <typename Condition>
bool WaitFor(Condition condition, int seconds = 90)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return condition();
}

class BvtoolWebWorkerTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        fs::create_directories("res");
        RunSteps({{"res comp res 1 --exch-on 1 --interval 2"},
                  {"res event res 1 --name Bane --series 3:3 --exch 1 --prefix H1"},
                  {"cfg set res/Comp1/Comp.bvc 17 1 680 1"},
                  {"cfg set res/Comp1/WEB.bvc 24 1 1 1"}});
    }
};

TEST_F(BvtoolWebWorkerTest, OneWriterAndATakeoverAfterAKill)
{
    WebWorker a("a.out", true, false), b("b.out", true, false);
    ASSERT_TRUE(WaitFor([&] { return a.FirstWriterPass() + b.FirstWriterPass() > 0; }))
        << TempFolder::Read("a.out");
    // Both go on a while: the other one never writes.
    const size_t seen = std::min(a.Passes().size(), b.Passes().size());
    ASSERT_TRUE(WaitFor([&] { return std::min(a.Passes().size(), b.Passes().size()) >= seen + 30; }));
    ASSERT_NE(a.FirstWriterPass() > 0, b.FirstWriterPass() > 0);
    WebWorker& writer = a.FirstWriterPass() ? a : b;
    WebWorker& other = a.FirstWriterPass() ? b : a;
    // Its first pass as writer made the event's pages and the index.
    EXPECT_EQ(writer.Passes()[static_cast<size_t>(writer.FirstWriterPass() - 1)].events, "1");
    EXPECT_TRUE(fs::exists("res/PWeb/StartFrame.htm"));
    EXPECT_TRUE(fs::exists("res/PWeb/data/contents.htm"));

    writer.Stop(SIGKILL);
    ASSERT_TRUE(WaitFor([&] { return other.WriterNow(); })) << TempFolder::Read(other.Output());
    // The survivor's first pass as writer remakes everything.
    EXPECT_EQ(other.Passes()[static_cast<size_t>(other.FirstWriterPass() - 1)].events, "1");
    EXPECT_EQ(other.Stop(SIGTERM), 0);
}

TEST_F(BvtoolWebWorkerTest, ANewResultReachesTheRelayPageOfAWriterThatDoesNotRead)
{
    WebWorker reader("r.out", false, true), writer("w.out", true, false);
    ASSERT_TRUE(WaitFor([&] { return writer.FirstWriterPass() > 0; })) << TempFolder::Read("w.out");
    // Nothing flagged yet: the relay has no page.
    EXPECT_FALSE(fs::exists("res/PWeb/data/1-Relay-1.htm"));

    CBVIniFile ini;
    ini.PutString("Res", "Ser1", "90 91 92");
    ASSERT_EQ(ini.Write(".\\res\\BV\\H1R00103.txt"), 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists("res/PWeb/data/1-Relay-1.htm"); })) << TempFolder::Read("w.out");
    const std::string page = TempFolder::Read("res/PWeb/data/1-Relay-1.htm");
    EXPECT_NE(page.find("Resultater lag 1 Bane"), std::string::npos) << page;
    EXPECT_NE(page.find(">27<"), std::string::npos) << page;  // the three shots of target 3
    // The writer cleared the relay's flag when it made the page.
    CBVConfig web;
    web.Open(".\\res\\Comp1\\WEB.bvc", 0);
    EXPECT_TRUE(WaitFor([&] {
        web.Refresh();
        return ::ReadItem(web, WebItems::RelayChanged(1, 1)) == 0;
    }));
    EXPECT_EQ(writer.Stop(SIGTERM), 0);
    EXPECT_EQ(reader.Stop(SIGTERM), 0);
}

}  // namespace
