// bvtool's list commands from the outside: what they refuse, the club they
// write, and the batch that runs many commands in one run.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using bvtest::RunTool;
using bvtest::ToolRun;

class BvtoolListsTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { std::filesystem::create_directory("res"); }
};

TEST_F(BvtoolListsTest, RefusedCalls)
{
    ASSERT_EQ(RunTool("res comp res 1 --name Stevne --org 1").status, 0);
    ASSERT_EQ(RunTool("res event res 1").status, 0);
    bvtest::RunSteps({
        {"res list res", 1},
        {"res list res --out -", 1},                 // no kind
        {"res list res --kind 1", 1},                // no output
        {"res list res --kind 1 --out list.doc", 1},
        {"res list res --kind 1 --out - --now 2026-13-01", 1},
        {"res list res --kind 1 --out - --printer a3", 1},
        {"res list res --kind 1 --out - --offsets 5", 1},
        {"res list res --kind 1 --out - --font-size 7", 1},
        {"res list res --kind 1 --out - --targets 9-2", 1},
        {"res list res --kind 1 --out - --series 0xZZ", 1},
        {"res list res --kind 1 --out - --event 4", 1},  // no event 4
        {"res list res --kind 1 --out - --colour red", 1},
        {"res list nowhere --kind 1 --out -", 1},
        {"res list res --kind 3 --out -", 1},           // giro forms are only printed
        {"res list res --kind 4 --out labels.rtf", 1},  // and so are labels
        {"res export res", 1},
        {"res export res everything", 1},
        {"res club res 1 0 Null", 1},
        {"res rank res 1 class 1", 1},          // no class
        {"res rank res 1 bucket 1 1", 1},
        {"res rank res 9 class 1 1", 1},        // no event 9
        {"res rank res team 3", 1},             // no team competition 3
        {"res prize-table -1", 1},
        {"res prize res 1 class 1 Nothing=1", 1},
        {"res prize res 1 class 1 Share", 1},
        {"res shootoff res 1 12 1 1 5 1", 1},   // kind 10 or 11 only
        {"res shootoff res 1 10 1 1 0 1", 1},   // no start number 0
        {"res team res 1 Bogus=1", 1},
        {"res team res 1 EntryName=Lag", 1},    // an entered team's item needs its number
        {"res team res 1 member=1:101:5:1", 1}, // slot 101 is the team's own
    });
    EXPECT_FALSE(std::filesystem::exists("list.doc"));
    EXPECT_FALSE(std::filesystem::exists("res/Comp1/Print/labels.rtf"));

    ToolRun help = RunTool("help");
    for (const char* usage : {"bvtool res list DIR --kind N [--out FILE|-]",
                              "bvtool res export DIR shooters|relay R|sius R",
                              "bvtool res club DIR ORG NUMBER NAME", "bvtool batch FILE|-",
                              "bvtool res rank DIR EVENT class P C | group G [C] [--comp N]",
                              "bvtool res rank DIR team T [--comp N]", "bvtool res prize-table N",
                              "bvtool res prize DIR EVENT class P|group G ITEM=VALUE..",
                              "bvtool res shootoff DIR EVENT KIND LIST CLASS START PLACE [--text TEXT] [--gift 0|1]",
                              "bvtool res team DIR T ITEM=VALUE.."})
        EXPECT_NE(help.out.find(usage), std::string::npos) << usage;
}

TEST_F(BvtoolListsTest, AClubOfTheRegister)
{
    ASSERT_EQ(RunTool("res club res 6 14 'Ærø <&{\\}>' --address1 'Øvre gate 1' --address3 '9990 Åsen' "
                      "--email post@example.org")
                  .status,
              0);
    ToolRun list = RunTool("res clubs list res 6");
    EXPECT_EQ(list.out, "14\tÆrø <&{\\}>\tØvre gate 1\t\t9990 Åsen\t\t\t\t\t\t\tpost@example.org\t\n");
    EXPECT_EQ(RunTool("res clubs list res 1").out, "");  // another organisation's register
}

TEST_F(BvtoolListsTest, BatchRunsCommandsInOneRunAndStopsAtAFailure)
{
    const char* const kRelays = "1\t1\t1\t  1 08:00   (10)\n2\t2\t1\t  2 08:00   (10)\n";
    bvtest::TempFolder::Write("commands", "# a competition\n"
                                          "\n"
                                          "res comp res 2 --name 'Vår stevne' --org 2\n"
                                          "res event res 1 --name \"Felt \\\"A\\\" \\\\ 10\" --relays 2\n"
                                          "res relays res 1\n"
                                          "res relays res 1\n");  // each command starts where the batch began
    ToolRun run = RunTool("batch commands");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kRelays) + kRelays);
    EXPECT_EQ(RunTool("cfg get res/Comp2/Comp.bvc 3 1 500").out, "Felt \"A\" \\ 10\n");

    bvtest::TempFolder::Write("failing", "res relays res 1\nres relays res 7\nres relays res 1\n");
    run = RunTool("batch failing");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, kRelays);  // the third command did not run
    EXPECT_NE(run.err.find("bvtool: line 2 failed (1): res relays res 7\n"), std::string::npos) << run.err;

    bvtest::TempFolder::Write("quotes", "res relays 'res\n");
    run = RunTool("batch quotes");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "bvtool: line 1: a ' is not closed\n");
    EXPECT_EQ(RunTool("batch missing").status, 1);
    bvtest::TempFolder::Write("nested", "batch nested\n");
    EXPECT_EQ(RunTool("batch nested").err, "bvtool: line 1: unknown command 'batch'\n");
}

}  // namespace
