// Cards of a range where the range control itself stored the shots: BVLeder
// runs as a program with its line on a pseudo-terminal where simulated
// units shoot, then BVRemote --print prints the competition, and the
// totals on the printed list must add up the shots bvtool lists.
#include "Eventually.h"
#include "LoopbackPort.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "tests/range/RangeFolder.h"

#include "foundation/comp/DataComp.h"
#include "foundation/files/ConfigItem.h"
#include "platform/ports/PseudoTerminal.h"
#include "platform/ports/SerialPort.h"
#include "platform/system/Clock.h"
#include "remote/settings/RemoteSettings.h"
#include "tools/bvsim/lib/Bus.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::Eventually;
using bvtest::FreePort;

const char kBVLeder[] = BV_BINARY_DIR "/range/BVLeder";
const char kBVRemote[] = BV_BINARY_DIR "/remote/BVRemote";
const char kBvtool[] = BV_BINARY_DIR "/tools/bvtool/bvtool";

int StoredShots(int lane)
{
    CDataComp reader;
    reader.SetBasePath("range\\");
    reader.Open(1, 0);
    ShotListRecord list;
    if (reader.ReadShots(1, lane, list) != 0)
        return 0;
    int shots = 0;
    for (const ShotRecord& s : list.shots)
        shots += s.state == CDataComp::kSlotShot;
    return shots;
}

// A value text as hundredths: "10.8" 1080.
int Hundredths(const std::string& text)
{
    size_t point = text.find('.');
    int whole = std::stoi(text.substr(0, point));
    int part = point == std::string::npos ? 0 : std::stoi((text.substr(point + 1) + "00").substr(0, 2));
    return whole * 100 + part;
}

// A card's counted shots as bvtool shots lists them: the value column of
// every line, summed by its counting series (0, practice, left out).
std::map<int, int> ListedSeriesSums(int lane, std::string& listing)
{
    listing = bvtest::RunCommand(std::string(kBvtool) + " shots range 1 1 " + std::to_string(lane));
    std::istringstream lines(listing);
    std::string line;
    std::getline(lines, line);  // the heading
    std::map<int, int> sums;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string slot, series, shot, value, x, y, counts;
        if (fields >> slot >> series >> shot >> value >> x >> y >> counts && counts != "0")
            sums[std::stoi(counts)] += Hundredths(value);
    }
    return sums;
}

// The last n words of every line of a printed text that holds a word: a
// list's series lines end in the series sum and the running total, a
// card's total line in the total.
std::vector<std::vector<int>> LineEnds(const std::string& text, const std::string& word, size_t n)
{
    std::vector<std::vector<int>> found;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(word) == std::string::npos)
            continue;
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string w; fields >> w;)
            words.push_back(w);
        if (words.size() <= n)
            continue;
        std::vector<int> numbers;
        for (size_t i = words.size() - n; i < words.size(); ++i)
            numbers.push_back(Hundredths(words[i]));
        found.push_back(numbers);
    }
    return found;
}

class SimulatedRangePrintTest : public bvtest::InTempFolder {};

TEST_F(SimulatedRangePrintTest, PrintedTotalsAddUpTheStoredShots)
{
    // The range folder in a folder of its own, BVRemote's files beside it.
    std::filesystem::create_directories("range");
    std::filesystem::current_path("range");
    bvtest::MakeRangeFolder({});
    {
        // Values counted to the tenth, so every listed digit counts.
        CBVConfig range;
        range.Open(".\\BVLeder.bvc", 1);
        WriteItem(range, RangeItems::kNewLaneValueSystem, 2);
    }
    std::filesystem::current_path(folder.Path());
    std::filesystem::copy_file(BV_BINARY_DIR "/lang/BVRemote.bvt", "BVRemote.bvt");
    {
        RemoteSettings settings;
        ASSERT_TRUE(settings.Open(RemoteSettings::kFileName));
        settings.SetEventFolder(settings.AddEvent(), "range");
    }

    platform::PseudoTerminal pty;
    ASSERT_EQ(pty.Open(), 0);
    auto master = std::make_unique<platform::SerialPort>();
    ASSERT_EQ(master->Adopt(pty.ReleaseMaster()), 0);
    bvsim::Bus bus(std::move(master));
    for (int lane = 1; lane <= 3; ++lane)
        ASSERT_TRUE(bus.AddUnit(lane));
    ASSERT_EQ(bus.Start(), 0);

    int port = FreePort();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir("range") != 0)
            _exit(126);
        setenv("BV_COM1", pty.SlavePath().c_str(), 1);
        setenv("BV_CLOCK_PORT", std::to_string(port).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
        // A first start asks for its language: the unseen box answers at once.
        setenv("BV_UNSEEN_ANSWER_MS", "300", 1);
        execl(kBVLeder, kBVLeder, static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    // Stops the range control however the test ends.
    struct Stop {
        pid_t pid;
        ~Stop()
        {
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
        }
    } stop{pid};

    ASSERT_TRUE(bus.WaitFor([&] {
        for (const bvsim::Bytes& b : bus.BroadcastsHeard())
            if (b.size() > 3 && b[1] == 'r' && b[3] == 48)
                return true;
        return false;
    }, 30000));

    // Seven shots a lane: a whole series of five, then two of the next.
    const int values[] = {1050, 987, 1090, 800, 1003, 960, 1075};
    const int kShots = 7;
    for (int lane = 1; lane <= 3; ++lane)
        for (int k = 0; k < kShots; ++k) {
            int series = k < 5 ? 1 : 2;
            int number = k + 1;  // shots count on through the card
            int value = values[(k + lane) % kShots] - 10 * lane;
            ASSERT_TRUE(bus.QueueShot(lane, number, value, 1000 * k, -700 * lane, series));
        }
    for (int lane = 1; lane <= 3; ++lane)
        ASSERT_TRUE(Eventually([&] { return StoredShots(lane) == kShots; }, 30000))
            << "lane " << lane << ": " << StoredShots(lane) << " shots stored";

    ASSERT_EQ(kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    stop.pid = 0;
    bus.Stop();

    int rc = -1;
    std::string out = bvtest::RunCommand(std::string(kBVRemote) + " --print 1 1 list.pdf --kind list --relays 1-1 --lanes 1-3 2>&1", &rc);
    ASSERT_EQ(rc, 0) << out;
    std::string file = folder.File("list.pdf");
    EXPECT_EQ(out, "card 1 1 7 " + file + "\ncard 1 2 7 " + file + "\ncard 1 3 7 " + file + "\n");
    std::string text = bvtest::RunCommand("pdftotext -layout list.pdf -");
    std::string cards = bvtest::RunCommand(std::string(kBVRemote) + " --print 1 1 cards.pdf --relays 1-1 --lanes 1-3 2>&1", &rc);
    ASSERT_EQ(rc, 0) << cards;
    std::string cardText = bvtest::RunCommand("pdftotext -layout cards.pdf -");
    // Card by card, series by series: the sum of the series and the total
    // so far, as bvtool's listing adds them up.
    std::vector<std::vector<int>> expected, totals;
    std::string listings;
    for (int lane = 1; lane <= 3; ++lane) {
        std::string listing;
        int total = 0;
        for (auto [series, sum] : ListedSeriesSums(lane, listing)) {
            total += sum;
            expected.push_back({sum, total});
            totals.push_back({total});
        }
        listings += listing;
    }
    ASSERT_EQ(expected.size(), 6u) << listings;
    EXPECT_EQ(LineEnds(text, "Serie", 2), expected) << text << listings;
    EXPECT_EQ(LineEnds(cardText, "Total", 1), totals) << cardText << listings;
}

}  // namespace
