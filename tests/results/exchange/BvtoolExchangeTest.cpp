// The exchange with the real counterpart: a range folder made, shot and
// exported by bvtool as the range control does, and BVRes's working folder
// beside it; bvtool res exchange brings the shots onto BVRes's cards and
// bvtool import takes BVRes's names back to the range. Then two worker
// processes on one folder elect one reader, and the other takes over when
// the reader is killed.
#include "RunCommand.h"
#include "TempFolder.h"
#include "foundation/comp/DataComp.h"
#include "foundation/files/BVIniFile.h"
#include "platform/files/ProfileStore.h"
#include "results/data/Competition.h"
#include "results/data/DataFileOpen.h"
#include "results/values/DataRes.h"
#include "tests/results/exchange/ResultCardFiles.h"
#include "tests/results/exchange/WorkerProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::RunSteps;
using bvtest::RunTool;
using bvtest::TempFolder;
using bvtest::WorkerProcess;
namespace fs = std::filesystem;

// The shot of (relay, lane, series, k) the range is fed: values 7.0 to 10.9,
// coordinates in mm. Six shots of each series of ten are shot.
constexpr int kShotsPerSeries = 6;
struct RangeShot {
    int tenths;
    double x, y;
};
RangeShot ShotOf(int relay, int lane, int series, int k)
{
    const int n = relay * 1000 + lane * 100 + series * 10 + k;
    return {70 + (n * 37) % 40, ((n * 53) % 1000 - 500) / 100.0, ((n * 71) % 1000 - 500) / 100.0};
}

class BvtoolExchangeTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        fs::create_directories("range");
        fs::create_directories("res");
    }

    // The range folder as scripts/run.sh makes it: competition 1 on lanes
    // 1-10, program 1 of two series of ten; two relays shot.
    static void ShootTheRange()
    {
        RunSteps({
            {"comp create range 1 1-10"},
            {"cfg set range/BVLeder.bvc 1 1 680 1"},
            {"cfg set range/Program.BVC 29 1 500 'Demo 2x10'"},
            {"cfg set range/Program.BVC 29 1 531 2"},
            {"cfg set range/Program.BVC 25 1 2 10"},
            {"cfg set range/Program.BVC 25 1 3 10"},
            {"cfg set range/Comp1/Comp.BVC 2 1 15 1"},
        });
        std::string shots;
        char line[96];
        for (int relay = 1; relay <= 2; ++relay)
            for (int lane = 1; lane <= 10; ++lane)
                for (int series = 1; series <= 2; ++series)
                    for (int k = 1; k <= kShotsPerSeries; ++k) {
                        RangeShot s = ShotOf(relay, lane, series, k);
                        std::snprintf(line, sizeof line, "%d %d %d %d.%d %.3f %.3f\n", relay, lane, series,
                                      s.tenths / 10, s.tenths % 10, s.x, s.y);
                        shots += line;
                    }
        TempFolder::Write("shots.txt", shots);
        RunSteps({{"shots add range 1 shots.txt"}});
    }

    // BVRes's event n on relays 1-2, targets 1-10, two series of ten in
    // tenths; shooters 1..20 entered on it and marked for export (written
    // as the entry screen writes them).
    static void ResEvent(int n, int exchType, const std::string& prefix)
    {
        RunSteps({{"res event res " + std::to_string(n) + " --series 10:3,10:3 --relays 2 --exch " +
                   std::to_string(exchType) + " --prefix " + prefix}});
        InResFolder([n](results::CCompetition& comp) {
            comp.RefreshEvents();
            results::CDataEvent* event = comp.GetEvent(n);
            ASSERT_NE(event, nullptr);
            for (int i = 1; i <= 20; ++i) {
                ASSERT_EQ(comp.Shooters().Put(i, "", "Skytter " + std::to_string(i), 0, 1 + i % 2, ""), 0);
                results::RegRecord e{};
                e.relay = static_cast<int16_t>((i - 1) / 10 + 1);
                e.target = static_cast<int16_t>((i - 1) % 10 + 1);
                e.startNr = i;
                e.classNr = static_cast<uint8_t>(1 + i % 2);
                e.changed = 1;
                ASSERT_EQ(event->Entries().File().WriteRecKey(&e), 0);
            }
        });
    }

    // Works on BVRes's competition in its working folder, as the screens do.
    template <typename Work>
    static void InResFolder(Work work)
    {
        const fs::path back = fs::current_path();
        fs::current_path("res");
        {
            platform::MemoryProfileStore profile;
            results::CCompetition comp;
            comp.SetProfile(&profile);
            if (comp.Open() == 0)
                work(comp);
        }
        fs::current_path(back);
    }

    // BVRes's card of (event, relay, target), value and X of each shot.
    static std::vector<std::pair<int, int>> ResCard(int event, int relay, int target)
    {
        bvtest::ResultCardFiles files(".\\res\\Comp1\\", event);
        results::CDataRes& card = files.card;
        card.LoadCard(relay, target);
        std::vector<std::pair<int, int>> shots;
        for (int s = 1; s <= 2; ++s)
            for (int k = 1; k <= 10; ++k) {
                results::ShotEntry e;
                card.GetShot(s, k, e);
                shots.emplace_back(int{e.value}, int{e.x});
            }
        return shots;
    }

    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

TEST_F(BvtoolExchangeTest, ShotsFromTheRangeNamesBack)
{
    ShootTheRange();
    RunSteps({{"res comp res 1 --exch-on 1 --classes V55,Senior"}});

    // Results program 0: a result file per shooter.
    ResEvent(1, 1, "H1");
    RunSteps({
        {"export range 1 res/BV --relays 1-2"},
        {"res exchange res", 0, "run\t1\t1\t20\t20\n"},
    });
    for (int relay = 1; relay <= 2; ++relay)
        for (int lane = 1; lane <= 10; ++lane) {
            SCOPED_TRACE(testing::Message() << relay << ":" << lane);
            auto card = ResCard(1, relay, lane);
            for (int s = 1; s <= 2; ++s)
                for (int k = 1; k <= 10; ++k) {
                    RangeShot shot = ShotOf(relay, lane, s, k);
                    auto [value, x] = card[static_cast<size_t>((s - 1) * 10 + k - 1)];
                    ASSERT_EQ(value, k <= kShotsPerSeries ? shot.tenths : 255) << s << "." << k;
                    ASSERT_EQ(x, k <= kShotsPerSeries ? static_cast<int>(std::lround(shot.x * 10)) : 0);
                }
        }
    // The two tools agree on a card: the range's shots in their order, the
    // card's lines series by series over all ten shots.
    {
        bvtest::ToolRun card = RunTool("res card res 1 2 7");
        bvtest::ToolRun range = RunTool("shots range 1 2 7");
        ASSERT_EQ(card.status, 0);
        std::vector<std::string> shots = Lines(range.out), shown = Lines(card.out);
        ASSERT_EQ(shots.size(), 1u + 2 * kShotsPerSeries);
        for (int i = 1; i <= 2 * kShotsPerSeries; ++i) {
            std::istringstream r(shots[static_cast<size_t>(i)]);
            int slot, series, shot;
            double value;
            r >> slot >> series >> shot >> value;
            const int k = (i - 1) % kShotsPerSeries + 1;
            const std::string& line = shown[static_cast<size_t>((series - 1) * 10 + k)];
            std::vector<std::string> f;
            std::istringstream c(line);
            for (std::string field; std::getline(c, field, '\t');)
                f.push_back(field);
            ASSERT_GE(f.size(), 5u) << line;
            EXPECT_EQ(f[0] + f[1] + "." + f[2], "shot" + std::to_string(series) + "." + std::to_string(k));
            EXPECT_EQ(f[4], std::to_string(static_cast<int>(std::lround(value * 10)))) << line;
        }
    }
    const std::regex logLine("2\t1\t20 skyttere (lest inn fra|lagt ut for) ulike lag\t20[0-9][0-9]-[01][0-9]-[0-3][0-9] "
                             "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]");
    bvtest::ToolRun log = RunTool("res log res");
    ASSERT_EQ(Lines(log.out).size(), 2u) << log.out;
    EXPECT_TRUE(std::regex_match(Lines(log.out)[0], logLine)) << log.out;
    EXPECT_NE(Lines(log.out)[0].find("lest inn"), std::string::npos);
    EXPECT_TRUE(std::regex_match(Lines(log.out)[1], logLine)) << log.out;
    RunSteps({{"res log res --clear"}, {"res log res", 0, ""}, {"res log res --comp 7", 0, ""}});

    // BVRes's names reach the range's cards.
    bvtest::ToolRun names = RunTool("import range 1 2 res/BV");
    ASSERT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(Lines(names.out).size(), 10u);
    EXPECT_EQ(Lines(names.out)[2], "  3     13 Skytter 13");

    // A re-shot card: changed and missing shots are logged for it alone; the
    // unchanged files are read again without a word. A relay whose results
    // are locked stays as it is.
    RunSteps({
        {"ini set res/BV/H1R00103.txt Res Ser1 '99 98 97'"},
        {"ini set res/BV/H1R00205.txt Res Ser1 '99 98 97'"},
        {"res relay res 1 2 --flags 256"},
        {"res exchange res", 0, "run\t1\t1\t10\t20\n"},
    });
    std::vector<std::string> entries = Lines(RunTool("res log res").out);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].substr(0, entries[0].rfind('\t')), "3\t1\tSkuddverdier er endret på  1:3");
    EXPECT_EQ(entries[1].substr(0, entries[1].rfind('\t')), "3\t1\tSkudd fjernet på: 1:3");
    EXPECT_EQ(entries[2].substr(0, entries[2].rfind('\t')), "2\t1\t10 skyttere lest inn fra lag 1");
    auto reshot = ResCard(1, 1, 3);
    EXPECT_EQ(reshot[0].first, 99);
    EXPECT_EQ(reshot[3].first, 255);
    EXPECT_EQ(ResCard(1, 2, 5)[0].first, ShotOf(2, 5, 1, 1).tenths);
    RunSteps({{"res relay res 1 2 --flags 0"}, {"res log res --clear"}});

    // Results program 3: a line file per relay, names in fixed columns.
    RunSteps({
        {"cfg set range/BVLeder.bvc 1 1 15 3"},
        {"cfg set range/Comp1/Comp.BVC 630 1 620 H2"},
    });
    ResEvent(2, 2, "H2");
    RunSteps({
        {"export range 1 res/BV --relays 1-2"},
    });
    // A reader killed after taking a line file and before storing its lines
    // left it under its "$$" name: the next reader stores it.
    fs::rename("res/BV/H2-01-5.002", "res/BV/$$H2-01-5.002");
    RunSteps({
        // A fresh worker reads every file of both events.
        {"res exchange res", 0, "run\t1\t1\t20\t20\nrun\t1\t2\t20\t20\n"},
    });
    for (const char* name : {"H2-01-5.001", "$$H2-01-5.001", "H2-01-5.002", "$$H2-01-5.002"})
        EXPECT_FALSE(fs::exists(std::string("res/BV/") + name)) << name;
    EXPECT_TRUE(fs::exists("res/BV/$H2-01-5.001"));
    EXPECT_TRUE(fs::exists("res/BV/$H2-01-5.002"));
    for (int relay = 1; relay <= 2; ++relay)
        for (int lane = 1; lane <= 10; ++lane) {
            SCOPED_TRACE(testing::Message() << relay << ":" << lane);
            auto card = ResCard(2, relay, lane);
            for (int s = 1; s <= 2; ++s)
                for (int k = 1; k <= 10; ++k) {
                    const int tenths = ShotOf(relay, lane, s, k).tenths;
                    // One character per shot: the ring, X for a ten, '?' for a shot not fired.
                    const int expected = k > kShotsPerSeries ? 255 : tenths >= 100 ? 100 : tenths / 10 * 10;
                    ASSERT_EQ(card[static_cast<size_t>((s - 1) * 10 + k - 1)].first, expected) << s << "." << k;
                }
        }
    names = RunTool("import range 1 1 res/BV");
    ASSERT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(Lines(names.out)[6], "  7    107 Skytter 7");
    EXPECT_NE(RunTool("res log res").out.find("2\t2\t20 skyttere lest inn fra ulike lag"), std::string::npos);
}

template <typename Condition>
bool WaitFor(Condition condition, int seconds = 60)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return condition();
}

TEST_F(BvtoolExchangeTest, TwoWorkersOneReaderAndATakeoverAfterAKill)
{
    RunSteps({{"res comp res 1 --exch-on 1 --interval 2"}, {"res event res 1 --series 3:3 --exch 1 --prefix H1"}});
    auto rangeWrites = [](int target, const char* values) {
        CBVIniFile ini;
        ini.PutString("Res", "Ser1", values);
        ASSERT_EQ(ini.Write(".\\res\\BV\\H1R001" + std::string(target < 10 ? "0" : "") + std::to_string(target) + ".txt"), 0);
    };
    for (int t = 1; t <= 3; ++t)
        rangeWrites(t, "90 91 92");

    WorkerProcess a("a.out"), b("b.out");
    ASSERT_TRUE(WaitFor([&] { return a.Imported() + b.Imported() >= 3; })) << TempFolder::Read("a.out");
    // Both go on a while: the other one never reads.
    const size_t seen = std::min(a.Passes().size(), b.Passes().size());
    ASSERT_TRUE(WaitFor([&] { return std::min(a.Passes().size(), b.Passes().size()) >= seen + 20; }));
    ASSERT_NE(a.EverReader(), b.EverReader());
    WorkerProcess& reader = a.EverReader() ? a : b;
    WorkerProcess& other = a.EverReader() ? b : a;
    EXPECT_EQ(reader.Imported(), 3);
    EXPECT_EQ(other.Imported(), 0);

    reader.Stop(SIGKILL);
    const int killedAt = other.Passes().back().k;
    rangeWrites(4, "80 81 82");  // exported after the kill
    ASSERT_TRUE(WaitFor([&] { return other.Imported() > 0; })) << TempFolder::Read(&other == &a ? "a.out" : "b.out");

    // The survivor took over at most max(8, 2 x 2) + 2 passes after it last
    // saw the dead reader's file change.
    const auto passes = other.Passes();
    int firstReader = 0, lastChange = 0;
    for (const auto& p : passes) {
        if (p.role == "reader") {
            firstReader = p.k;
            break;
        }
        if (p.quiet == 0)
            lastChange = p.k;
    }
    EXPECT_LE(firstReader - lastChange, 10);
    EXPECT_LE(lastChange, killedAt + 2);
    EXPECT_EQ(other.Stop(SIGTERM), 0);
    auto card = ResCard(1, 1, 4);
    EXPECT_EQ(card[0].first, 80);
    EXPECT_EQ(card[2].first, 82);
}

}  // namespace
