// bvtool res values, shot, series and card, run as a user runs them.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {

using bvtest::RunSteps;
using bvtest::RunTool;

class BvtoolResCardTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { std::filesystem::create_directory("res"); }
};

// Line n (0 = the header) of the output.
std::string LineOf(const std::string& out, int n)
{
    std::istringstream in(out);
    std::string line;
    for (int i = 0; i <= n && std::getline(in, line); ++i) {
    }
    return line;
}

TEST(BvtoolResValues, TextsAndCountsPerValue)
{
    const struct {
        const char* args;
        int value;
        const char* line;
    } cases[] = {
        {"3", 95, "95\t9.5\t9\t9.5\t90"},
        {"3 --final", 117, "117\t*.7\t*\t*.7\t107"},
        {"3", 255, "255\t_._\t\t\t0"},
        {"1", 113, "113\t 10*3\t 10*\t 10*3\t100"},
        {"1 --org 6", 113, "113\t 10.3\t 10\t 10.3\t100"},
        {"1", 5, "5\t  0.5\t  0\t  0.5\t0"},
        {"9", 12, "12\t12.00\t12.00\t12.00\t12"},
        {"9", 100, "100\t__\t\t\t0"},
    };
    for (const auto& c : cases) {
        bvtest::ToolRun run = RunTool(std::string("res values ") + c.args);
        ASSERT_EQ(run.status, 0) << c.args;
        EXPECT_EQ(LineOf(run.out, 0), "value\tFormatShot\tmode1\tmode2\tcounted");
        EXPECT_EQ(LineOf(run.out, c.value + 1), c.line) << c.args;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 257);
    }
    EXPECT_TRUE(bvtest::FailedWithOneLine(RunTool("res values x")));
}

TEST_F(BvtoolResCardTest, ShotsAndSeriesShownOnTheCard)
{
    RunSteps({
        {"res comp res 1"},
        {"res event res 1 --series 3:3,3:7,3:9 --sub 'Sum=1.2.0xFF'"},
        {"res entry res 1 1 4 55 --score 100"},
        {"res shot res 1 1 4 1 1 9.5", 0, "result\t0\n"},
        {"res shot res 1 1 4 1 3 X.4", 0, "result\t0\n"},
        {"res shot res 1 1 4 1 2 12", 1, "result\t-512\n"},
        {"res shot res 1 1 4 1 11 9", 1, "result\t-256\n"},
        {"res series res 1 1 4 2 4 0:5:-5:300 2", 0, "result\t0\n"},
        {"res shot res 1 1 4 3 1 12.34", 0, "result\t0\n"},
        {"res card res 1 1 4 --kind 6", 0,
         "card\t1\t1\t4\t1\t255\t255\n"
         "shot\t1\t1\t1\t95\t0\t0\t0\t9.5\t9\t90\n"
         "shot\t1\t2\t2\t0\t0\t0\t0\t0.0\t0\t0\n"
         "shot\t1\t3\t3\t104\t0\t0\t0\tX.4\tX\t100\n"
         "shot\t2\t1\t4\t4\t0\t0\t0\t4\t4\t4\n"
         "shot\t2\t2\t5\t0\t5\t-5\t300\t0\t0\t0\n"
         "shot\t2\t3\t6\t2\t0\t0\t0\t2\t2\t2\n"
         "shot\t3\t1\t7\t12\t0\t0\t0\t12.34\t12.34\t12\n"
         "shot\t3\t2\t8\t0\t0\t0\t0\t0.34\t0.34\t0\n"
         "shot\t3\t3\t9\t34\t0\t0\t0\t34.34\t34.34\t34\n"
         "series\t1\t3\t3\t190\t19\t2\t3\n"
         "series\t2\t7\t3\t4002\t16\t3\t3\n"
         "series\t3\t9\t3\t1234\t12.34\t5\t3\n"
         "sub\t1\t4292\t596\t1\n"
         "order\t1\t1\n"},
        // A card not in the file, and no entry there: nothing counted.
        {"res card res 1 1 5", 0,
         "card\t1\t1\t5\t0\t255\t255\n"
         "shot\t1\t1\t-1\t255\t0\t0\t0\t_._\t\t0\n"
         "shot\t1\t2\t-1\t255\t0\t0\t0\t_._\t\t0\n"
         "shot\t1\t3\t-1\t255\t0\t0\t0\t_._\t\t0\n"
         "shot\t2\t1\t-1\t255\t0\t0\t0\t_\t\t0\n"
         "shot\t2\t2\t-1\t255\t0\t0\t0\t_\t\t0\n"
         "shot\t2\t3\t-1\t255\t0\t0\t0\t_\t\t0\n"
         "shot\t3\t1\t-1\t255\t0\t0\t0\t__\t\t0\n"
         "shot\t3\t2\t-1\t255\t0\t0\t0\t__\t\t0\n"
         "shot\t3\t3\t-1\t255\t0\t0\t0\t__\t\t0\n"
         "series\t1\t3\t3\t0\t0\t2\t0\n"
         "series\t2\t7\t3\t0\t0/0\t3\t0\n"
         "series\t3\t9\t3\t0\t0.00\t5\t0\n"
         "sub\t1\t-1\t\t0\n"
         "order\t0\t0\n"},
    });
    EXPECT_TRUE(bvtest::FailedWithOneLine(RunTool("res series res 1 1 4 2 4:1:2:3:4")));
}

// An event scored in tenths (its own Event%d.bvc item) counts 9.5 as 95.
TEST_F(BvtoolResCardTest, AFinalEventCountsInTenths)
{
    RunSteps({
        {"res comp res 1"},
        {"res event res 1 --series 3:3 --final"},
        {"res entry res 1 1 4 55"},
        {"res shot res 1 1 4 1 1 9.5", 0, "result\t0\n"},
        {"res card res 1 1 4", 0,
         "card\t1\t1\t4\t1\t255\t255\n"
         "shot\t1\t1\t1\t95\t0\t0\t0\t9.5\t9\t95\n"
         "shot\t1\t2\t-1\t255\t0\t0\t0\t_._\t\t0\n"
         "shot\t1\t3\t-1\t255\t0\t0\t0\t_._\t\t0\n"
         "series\t1\t3\t3\t95\t9.5\t4\t1\n"
         "order\t1\t0\n"},
    });
}

}  // namespace
