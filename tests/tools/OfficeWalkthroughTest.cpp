// The README's competition office from the command line, run as written:
// its commands, taken from the README itself, make BVRes's working folder
// beside a range whose results wait in its exchange folder, import them and
// print a result list by class whose totals are the range's own sums. Also
// what the walk-through leans on: an event in use keeps what a change does
// not give, and an exchange run that imports nothing for an event says why.
#include "RunCommand.h"
#include "TempFolder.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace office_walkthrough_test {

using bvtest::Fields;
using bvtest::Lines;
using bvtest::RunSteps;
using bvtest::RunTool;
using bvtest::TempFolder;
namespace fs = std::filesystem;

// The shell block of the README's section on the office.
std::string ReadmeBlock()
{
    std::ifstream in(BV_SOURCE_DIR "/README.md");
    std::string line, block;
    bool inSection = false, inBlock = false;
    while (std::getline(in, line)) {
        if (line.rfind("### A competition office from the command line", 0) == 0)
            inSection = true;
        else if (inSection && !inBlock && line == "```sh")
            inBlock = true;
        else if (inBlock && line == "```")
            break;
        else if (inBlock)
            block += line + "\n";
    }
    return block;
}

// The block with the README's three folders put where this test keeps them:
// the lines that name them, and nothing else, change.
std::string WithFolders(std::string block, const std::map<std::string, std::string>& folders)
{
    std::string out;
    for (const std::string& line : Lines(block)) {
        std::string written = line;
        for (const auto& [name, value] : folders)
            if (line.rfind(name + "=", 0) == 0)
                written = name + "='" + value + "'";
        out += written + "\n";
    }
    return out;
}

class OfficeWalkthroughTest : public bvtest::InTempFolder {
protected:
    // The demo range as scripts/run.sh makes it, with a few shots on each
    // lane, and the result files it sends after every shot in its exchange
    // folder BV.
    static void ShootTheDemoRange()
    {
        fs::create_directories("demo/BV");
        RunSteps({
            {"comp create demo 1 1-10"},
            {"cfg set demo/BVLeder.bvc 1 1 680 1"},
            {"cfg set demo/BVLeder.bvc 1 1 15 0"},
            {"cfg set demo/BVLeder.bvc 1 1 570 BV"},
            {"cfg set demo/Program2.BVC 29 1 530 1"},
            {"cfg set demo/Program2.BVC 29 1 500 'Demo 2x10'"},
            {"cfg set demo/Program2.BVC 29 1 531 2"},
            {"cfg set demo/Program2.BVC 25 1 2 10"},
            {"cfg set demo/Program2.BVC 25 1 3 10"},
            {"cfg set demo/Comp1/Comp.BVC 2 1 15 101"},
        });
        std::string shots;
        char line[96];
        for (int lane = 1; lane <= 10; ++lane)
            for (int k = 1; k <= 6 + lane % 3; ++k) {
                const int tenths = 70 + (lane * 37 + k * 11) % 40;
                std::snprintf(line, sizeof line, "1 %d %d %d.%d %.3f %.3f\n", lane, k <= 4 ? 1 : 2, tenths / 10,
                              tenths % 10, (k * 13 % 50) - 25.0, (lane * 7 % 50) - 25.0);
                shots += line;
            }
        TempFolder::Write("shots.txt", shots);
        RunSteps({{"shots add demo 1 shots.txt"}, {"export demo 1"}});
    }

    // The total of a lane's counted shots, as bvtool shots lists them: the
    // whole rings, a ten at most.
    static int RangeTotal(int lane)
    {
        bvtest::ToolRun run = RunTool("shots demo 1 1 " + std::to_string(lane));
        EXPECT_EQ(run.status, 0) << run.err;
        int total = 0;
        for (const std::string& line : Lines(run.out)) {
            std::istringstream in(line);
            std::string slot, series, shot, value, x, y, counts;
            // A shot counts in the series of its "counts" column; 0 in none.
            if (!(in >> slot >> series >> shot >> value >> x >> y >> counts) || slot == "slot" || counts == "0")
                continue;
            if (value[0] == '*')
                value.erase(0, 1);
            total += std::min(static_cast<int>(std::floor(std::stod(value))), 10);
        }
        return total;
    }
};

TEST_F(OfficeWalkthroughTest, TheReadmesCommandsEndInTheRangesTotals)
{
    ShootTheDemoRange();
    const std::string block = ReadmeBlock();
    ASSERT_NE(block.find("res exchange"), std::string::npos) << "no office block in the README";
    const std::string here = fs::current_path().string();
    TempFolder::Write("office.sh", WithFolders(block, {{"BVTOOL", BV_BINARY_DIR "/tools/bvtool/bvtool"},
                                                       {"DEMO", here + "/demo"},
                                                       {"OFFICE", here + "/office"}}));
    int status = -1;
    const std::string out = bvtest::RunCommand("bash -e office.sh 2>office.err", &status);
    ASSERT_EQ(status, 0) << out << TempFolder::Read("office.err");

    std::vector<std::string> lines = Lines(out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "run\t1\t1\t10\t10"), lines.end()) << out;
    EXPECT_GE(bvtest::PdfPages("office/results.pdf"), 1);
    std::vector<int> totals;
    std::map<int, int> byShooter;
    for (const std::string& line : lines) {
        std::vector<std::string> f = Fields(line);
        if (f.size() < 8 || f[0] != "row")
            continue;
        const int shooter = std::stoi(f[5].substr(f[5].rfind(' ') + 1));
        byShooter[shooter] = std::stoi(f.back());
        totals.push_back(byShooter[shooter]);
    }
    ASSERT_EQ(byShooter.size(), 10u) << out;
    for (int lane = 1; lane <= 10; ++lane)
        EXPECT_EQ(byShooter[lane], RangeTotal(lane)) << "shooter " << lane;
    // Ranked: the best first.
    EXPECT_TRUE(std::is_sorted(totals.rbegin(), totals.rend())) << out;
}

TEST_F(OfficeWalkthroughTest, AnEventInUseKeepsWhatAChangeDoesNotGive)
{
    fs::create_directories("office");
    RunSteps({
        {"res comp office 1"},
        {"res event office 1 --name Bane --series 10,10:1 --relays 3 --targets 1-20 --prefix H1"},
        {"res event office 1 --exch 1"},
    });
    struct Item {
        std::string file;
        int section, index, key;
        std::string value;
    };
    const std::string comp = "office/Comp1/Comp.bvc", event = "office/Comp1/Event1.bvc";
    for (const Item& i : {Item{comp, 3, 1, 500, "Bane"}, Item{comp, 3, 1, 13, "2"}, Item{comp, 3, 1, 12, "3"},
                          Item{comp, 3, 1, 15, "20"}, Item{event, 8, 2, 500, "Serie 2"},
                          Item{event, 5, 3, 530, "3"}, Item{"office/Comp1/Exch.bvc", 12, 1, 640, "1"}}) {
        bvtest::ToolRun run = RunTool("cfg get " + i.file + " " + std::to_string(i.section) + " " +
                                      std::to_string(i.index) + " " + std::to_string(i.key));
        EXPECT_EQ(run.out, i.value + "\n") << i.file << " " << i.section << "," << i.index << "," << i.key;
    }
}

TEST_F(OfficeWalkthroughTest, AnExchangeThatCannotImportSaysWhy)
{
    fs::create_directories("office");
    RunSteps({{"res comp office 1"}, {"res event office 1"}, {"res event office 2 --exch 1"}});
    bvtest::ToolRun run = RunTool("res exchange office");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "bvtool: event 1 has exchange type 0 (none) and imports nothing; 'bvtool res event DIR 1 "
                       "--exch 1' makes it this range system's\n");
}

}  // namespace office_walkthrough_test
