// bvtool res, run as a user runs it on BVRes's working folder; the files it
// leaves are read back by Python's struct module, as another program would.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

namespace {

using bvtest::RunPython;
using bvtest::RunSteps;
using bvtest::RunTool;
using bvtest::TempFolder;
namespace fs = std::filesystem;

class BvtoolResTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { fs::create_directory("res"); }
};

TEST_F(BvtoolResTest, ACompetitionWithTwoEventsReadBackByStruct)
{
    RunSteps({
        {"res comp res 2 --name 'Høststevne' --classes V55,Jr,Sr --categories A,B --exch-on 1 --interval 9"},
        {"res event res 1 --relays 3 --days 20261024,20261025 --series 5,5:1:Finale --prefix H1 --exch 1 "
         "--sub 'Sum=1.2' --sub 'Med start=0xFF.1' --classes-used 1,3"},
        {"res event res 2 --name 'Felt' --targets 3-6 --text 'Lykke til alle sammen, og god tur hjem!'"},
        {"res shooter res 70000 'Kari Ås' --club 12 --class 2 --cat B --bib 17"},
        {"res shooter res 8 'Per Li' --club 3"},
        {"res entry res 1 2 5 70000 --paid 15000 --score 123 --changed 1 --state 4 --comments 'Sen'"},
        {"res entry res 2 1 4 8 --class 3 --cat A"},
        {"res relay res 1 3 --time 07:45 --day 2 --flags 257 --text 'Siste'"},
        {"res relays res 1", 0, "1\t1\t1\t  1 08:00   (10)\n2\t2\t2\t  2 08:00   ( 9)\n3\t3\t8\t  3 07:45   (10)\n"},
        {"res relays res 2", 0, "1\t1\t2\t  1 08:00   ( 3)\n"},
        {"res renumber res 1", 0, "1\t1\t1\t  1 08:00   (10)\n2\t2\t2\t  2 08:00   ( 9)\n3\t3\t8\t  3 07:45   (10)\n"},
    });
    const char* script = R"PY(
import os, struct
os.chdir('res')
def records(path, size):
    data = open(path, 'rb').read()
    counter, rsize, version = struct.unpack_from('<ihh', data, 0)
    assert rsize == size, (path, rsize)
    return version, [data[8 + i * size: 8 + (i + 1) * size] for i in range((len(data) - 8) // size)]
def text(b):
    return b.split(b'\0')[0].decode('cp1252')
def items(path):
    version, recs = records(path, 36)
    return {struct.unpack_from('<i', r)[0]: text(r[4:]) for r in recs}
def key(s, i, k):
    return k + 1000 * s + 1000000 * i
for n in (1, 2):
    version, recs = records('Comp2/Reg%d.bvd' % n, 291)
    for r in recs:
        relay, target, start, cls = struct.unpack_from('<hhiB', r, 0)
        paid, score, changed, state = struct.unpack_from('<iiBi', r, 20)
        print('reg', n, version, relay, target, start, cls, text(r[9:20]), paid, score, changed, state, text(r[33:]))
version, recs = records('Comp2/Shooter.bvd', 136)
for r in recs:
    start, name, club, cls = struct.unpack_from('<i32shB', r, 0)
    print('shooter', version, start, text(name), club, cls, text(r[43:54]), text(r[54:]))
comp = items('Comp2/Comp.bvc')
print('comp', comp[key(2, 1, 500)], comp[key(2, 1, 1)], comp[key(3, 1, 680)], comp[key(3, 2, 500)],
      comp[key(3, 1, 12)], comp[key(3, 2, 14)], comp[key(3, 2, 15)], comp[key(6, 3, 501)], comp[key(7, 2, 501)])
ev = items('Comp2/Event1.bvc')
print('event1', ev[key(4, 2, 510)], ev[key(5, 3, 520)], ev[key(5, 3, 531)], ev[key(5, 3, 680)],
      ev[key(8, 2, 500)], ev[key(8, 2, 650)], ev[key(9, 2, 500)], ev[key(9, 2, 21)].encode('cp1252').hex(),
      ev[key(6, 3, 680)])
exch = items('Comp2/Exch.bvc')
print('exch', exch[key(2, 1, 680)], exch[key(2, 1, 520)], exch[key(12, 1, 630)], exch[key(12, 1, 640)],
      exch[key(12, 2, 620)] + '|' + exch[key(12, 2, 621)])
print('user', items('Common/User.bvc')[key(1, 1, 530)])
)PY";
    int status = -1;
    std::string out = RunPython(script, "", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "reg 1 4 2 5 70000 2 B 15000 123 1 4 Sen\n"
              "reg 2 4 1 4 8 3 A 0 0 0 0 \n"
              "shooter 4 70000 Kari Ås 12 2 B 17\n"
              "shooter 4 8 Per Li 3 0  \n"
              "comp Høststevne 2 1 Felt 3 3 6 Sr B\n"
              "event1 20261025 07:45 2 257 Finale 1 Med start ff01 1\n"
              "exch 1 9 H1 1 Lykke til alle sammen, og god t|ur hjem!\n"
              "user 2\n");
}

// Four programs draw 250 start numbers each at once, every draw its own
// command (a batch per program saves only the program starts). A draw that
// waited for the lock too long is refused with its line and taken again, as
// the secretary would; it must not use up a number.
TEST_F(BvtoolResTest, FourProgramsDrawDistinctConsecutiveStartNumbers)
{
    RunSteps({{"res comp res 1"}});
    std::string bvtool = std::string(BV_BINARY_DIR) + "/tools/bvtool/bvtool";
    std::ostringstream command;
    command << "for p in 1 2 3 4; do ( : > numbers$p.txt; : > refused$p.txt; "
               "for round in $(seq 100); do "
               "  n=$(wc -l < numbers$p.txt); [ $n -ge 250 ] && break; "
               "  yes 'res startnr res' | head -n $((250 - n)) > draws$p.txt; "
               "  '" << bvtool << "' batch draws$p.txt >> numbers$p.txt 2>> refused$p.txt; "
               "done ) & done; wait";
    int status = -1;
    bvtest::RunCommand(command.str(), &status);
    ASSERT_EQ(status, 0);
    std::vector<long> numbers;
    for (int p = 1; p <= 4; ++p) {
        std::istringstream in(TempFolder::Read("numbers" + std::to_string(p) + ".txt"));
        std::string line;
        long previous = 0;
        while (std::getline(in, line)) {
            long n = std::stol(line);
            EXPECT_GT(n, previous) << "program " << p;  // each program's numbers rise
            previous = n;
            numbers.push_back(n);
        }
        std::istringstream refused(TempFolder::Read("refused" + std::to_string(p) + ".txt"));
        // A refused draw says why, and the batch names its line.
        const std::regex refusal("bvtool: no start number: StartNr.bvd is locked by another program or cannot be "
                                 "written|bvtool: line [0-9]+ failed \\(1\\): res startnr res");
        while (std::getline(refused, line))
            EXPECT_TRUE(std::regex_match(line, refusal)) << line;
    }
    ASSERT_EQ(numbers.size(), 1000u);
    std::sort(numbers.begin(), numbers.end());
    for (size_t i = 0; i < numbers.size(); ++i)
        ASSERT_EQ(numbers[i], static_cast<long>(i) + 1);
    EXPECT_EQ(RunTool("res startnr res").out, "1001\n");
}

TEST_F(BvtoolResTest, AFileOfANewerBVResStopsTheToolAndStaysAsItIs)
{
    RunSteps({{"res comp res 1"}});
    std::string newer("\x05\0\0\0\x88\0\x05\0", 8);
    newer += std::string(136, 'n');
    TempFolder::Write("res/Comp1/Shooter.bvd", newer);
    bvtest::ToolRun run = RunTool("res startnr res");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "bvtool: Du må bruke en nyere BVRes på disse filene!!!\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(TempFolder::Read("res/Comp1/Shooter.bvd"), newer);
}

TEST_F(BvtoolResTest, WrongCallsFailWithOneLine)
{
    RunSteps({
        {"res comp res 1"},
        {"res", 1},
        {"res nothing res", 1},
        {"res comp nowhere 1", 1},
        {"res comp res 0", 1},
        {"res event res 1 --colour red", 1},
        {"res event res 1 --relays", 1},
        {"res event res 1 --sub 'A=1.300'", 1},
        {"res event res 1 --targets 9-2", 1},
        {"res relays res 1", 1},           // no event 1 yet
        {"res entry res 1 1 1 5", 1},
        {"res shooter res 0 'Ingen'", 1},
        {"res startnr res extra", 1},
    });
    EXPECT_FALSE(fs::exists("res/Comp1/Event1.bvc"));
}

}  // namespace
