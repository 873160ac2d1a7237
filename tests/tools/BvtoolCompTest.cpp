// bvtool comp, shots, cards, export and import, run as a user runs them on a
// range folder.
#include "foundation/comp/DataComp.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>


using namespace ProgramItems;

namespace {

namespace fs = std::filesystem;
using bvtest::TempFolder;

using bvtest::RunTool;
using bvtest::ToolRun;

class BvtoolCompTest : public bvtest::InTempFolder {};

TEST_F(BvtoolCompTest, ACompetitionFromCreationToExportAndImport)
{
    fs::create_directories("range/BV");
    struct Step {
        std::string args;
        int status;
        std::string out;
        std::string err;  // a part of the message on failure
    };
    auto run = [](const Step& s) {
        ToolRun r = RunTool(s.args);
        EXPECT_EQ(r.status, s.status) << s.args << ": " << r.err;
        EXPECT_EQ(r.out, s.out) << s.args;
        if (s.status != 0) {
            EXPECT_NE(r.err.find(s.err), std::string::npos) << s.args << ": " << r.err;
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        }
    };

    for (const Step& s : {
             Step{"comp create range 1 1-100", 0, "", ""},
             Step{"comp create range 1", 1, "", "already"},
             Step{"comp create range 2 0-5", 1, "", "lanes"},
             Step{"comp create nowhere 1", 1, "", "no folder"},
         })
        run(s);
    // The competition's shooting program: series 1 of ten shots.
    {
        CBVConfig prog;
        prog.Open(".\\range\\Program.BVC", 1);
        prog.WriteString(kProgramSection, 1, kKeyName, "Ti skudd");
        prog.WriteInt(kProgramSection, 1, kKeySerieCount, 1);
        prog.WriteInt(kSerieShots, 1, 2, 10);
        CBVConfig comp;
        comp.Open(".\\range\\Comp1\\Comp.BVC", 1);
        WriteItem(comp, CompSettings::kProgram, 1);
    }

    TempFolder::Write("shots.txt",
                      "# relay lane series value x y\r\n"
                      "1 3 1 10.9 12.345 -2.05\r\n"
                      "\r\n"
                      "1 3 1 9,5 0 0\r\n"
                      "1 100 1 10 0 0 1\r\n");
    TempFolder::Write("bad.txt", "1 3 1 10.9 12.345 -2.05\n1 101 1 10 0 0\n");
    TempFolder::Write("again.txt", "1 100 1 10.5 1 1 1\n");
    for (const Step& s : {
             Step{"shots add range 1 shots.txt", 0, "", ""},
             Step{"shots add range 1 bad.txt", 1, "", "bad.txt line 2"},
             Step{"shots add range 1 again.txt", 1, "", "1 of 1 shots not stored"},
             Step{"shots add range 7 shots.txt", 1, "", "no competition 7"},
             Step{"cards range 1", 0,
                  "relay lane type system shots name\n"
                  "    1    3    0      1     3 \n"
                  "    1  100    0      1     1 \n",
                  ""},
             Step{"shots range 1 1 3", 0,
                  "slot series shot  value      x mm      y mm counts flags\n"
                  "   0      1    0   10.9    12.345    -2.050      1 0x0081\n"
                  "   1      1    0    9.5     0.000     0.000      1 0x0081\n"
                  "   2      1    0   10.9    12.345    -2.050      1 0x0081\n",
                  ""},
             Step{"shots range 1 1 4", 1, "", "no card"},
             Step{"export range 1 range/BV", 0, "", ""},
             Step{"export range 1 range/none", 1, "", "exchange folder"},
             Step{"export range 0", 1, "", "no competition 0"},
         })
        run(s);
    // bad.txt stored its first line before the second was refused.
    EXPECT_EQ(TempFolder::Read("range/BV/H1R00103.txt"),
              "[Def]\r\nTarget=DFS 300m\r\nTargetID=0\r\n"
              "[Res]\r\nSer1= 109 95 109\r\nX1= 123 0 123\r\nY1= -21 0 -21\r\nT1=\r\n"
              "[Notes]\r\nState=0\r\nComments=\r\n");
    EXPECT_TRUE(fs::exists("range/BV/H1R001100.txt"));

    // Names from a fixed-column file of results program 3.
    {
        CBVConfig range;
        range.Open(".\\range\\BVLeder.bvc", 1);
        WriteItem(range, RangeItems::kResultsProgram, 3);
    }
    std::string line = "3";
    line.resize(12, ' ');
    line += "V55 Kari Nordmann";
    line.resize(37, ' ');
    line += "Bygdelaget";
    TempFolder::Write("range/BV/H1-XX-s.001", line + "\r\n");
    for (const Step& s : {
             Step{"import range 1 1 range/BV", 0, "  3    103 Kari Nordmann\n", ""},
             Step{"cards range 1", 0,
                  "relay lane type system shots name\n"
                  "    1    3    0      1     3 Kari Nordmann\n"
                  "    1  100    0      1     1 \n",
                  ""},
             Step{"export range 1 range/BV", 1, "", "--relays"},
             Step{"export range 1 range/BV --relays 1-1", 0, "", ""},
         })
        run(s);
    // A line for every active lane, shot or not.
    std::string lines;
    for (int lane = 1; lane <= 100; ++lane) {
        char head[8];
        std::snprintf(head, sizeof head, "%2d: ", lane);
        lines += head + std::string(lane == 3 ? "X9X???????" : lane == 100 ? "X?????????" : "??????????") + "\r\n";
    }
    EXPECT_EQ(TempFolder::Read("range/BV/H1-01-5.001"), lines);
}

}  // namespace

// The programs run in the range folder, so a relative exchange folder lies
// below it; bvtool, run from anywhere, finds the same folder. The cards it
// makes take the range's settings for a new lane, band advance included.
TEST_F(BvtoolCompTest, ExchangeFolderAndNewCardsAreTheRangesWhereverBvtoolRuns)
{
    fs::create_directories("range/BV");
    fs::create_directories("elsewhere");
    ASSERT_EQ(RunTool("comp create range 1 3-3").status, 0);
    TempFolder::Write("shots.txt", "1 3 1 10.9 0 0\n");
    {
        CBVConfig range;
        range.Open(".\\range\\BVLeder.bvc", 1);
        WriteItem(range, RangeItems::kNewLaneBandFrequency, 3);
        WriteItem(range, RangeItems::kNewLaneBandLength, 45);
    }
    ASSERT_EQ(RunTool("shots add range 1 shots.txt").status, 0);
    CDataComp dc;
    dc.SetBasePath(".\\range");
    ASSERT_EQ(dc.Open(1, 0), 0);
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = 1;
    card.lane = 3;
    ASSERT_EQ(dc.GetCard(card, 0), 0);
    EXPECT_EQ(+card.band1, 3);
    EXPECT_EQ(+card.band2, 45);
    EXPECT_EQ(+card.sensitivity, 2);
    dc.Close();

    struct Case {
        const char* setting;   // the range's exchange folder
        const char* exported;  // where the results of lane 3 go, from here
    };
    const Case cases[] = {
        {"BV", "range/BV/H1R00103.txt"},
        {".\\BV\\", "range/BV/H1R00103.txt"},
        {"", "range/H1R00103.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        {
            CBVConfig range;
            range.Open(".\\range\\BVLeder.bvc", 1);
            CRangeSettings::WriteExchangeFolder(range, c.setting);
        }
        fs::remove("range/BV/H1R00103.txt");
        fs::remove("range/H1R00103.txt");
        // Run from another folder: nothing lands there.
        ToolRun r = RunTool("export range 1");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::exists(c.exported));
        EXPECT_FALSE(fs::exists("BV"));
        EXPECT_FALSE(fs::exists("H1R00103.txt"));
        // The names come back from the same folder.
        std::string folder = fs::path(c.exported).parent_path().string();
        std::string line = "3";
        line.resize(16, ' ');
        TempFolder::Write(folder + "/H1-XX-s.001", line + "Kari Nordmann\r\n");
        {
            CBVConfig range;
            range.Open(".\\range\\BVLeder.bvc", 1);
            WriteItem(range, RangeItems::kResultsProgram, 3);
        }
        r = RunTool("import range 1 1");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "  3    103 Kari Nordmann\n");
        {
            CBVConfig range;
            range.Open(".\\range\\BVLeder.bvc", 1);
            WriteItem(range, RangeItems::kResultsProgram, 0);
        }
    }
}
