// bvtool active: a lane's active record printed and written as the range
// control keeps it.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using bvtest::RunTool;

class BvtoolActiveTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory("R");
        ASSERT_EQ(RunTool("comp create R 1 1-10").status, 0);
        std::ofstream("s.txt") << "1 3 1 9.5 1 1\n";
        ASSERT_EQ(RunTool("shots add R 1 s.txt").status, 0);
    }
};

TEST_F(BvtoolActiveTest, PrintsAndWritesTheFieldsRaisingTheCounter)
{
    struct Step {
        const char* set;  // arguments of "active set R 1", or null
        const char* lane;
        const char* printed;
    } steps[] = {
        {nullptr, "3", "3 1 1 0 129\n"},
        {"3 --series 2", "3", "3 1 1 1 2\n"},
        {"3 --relay 4 --card 7", "3", "3 4 7 2 2\n"},
        {"0 --relay 1 --card 3", "0", "0 1 3 1 129\n"},  // the final record, made
        {"0 --relay 0", "0", "0 0 3 2 129\n"},
    };
    for (const Step& s : steps) {
        if (s.set) {
            bvtest::ToolRun set = RunTool(std::string("active set R 1 ") + s.set);
            EXPECT_EQ(set.status, 0) << s.set << set.err;
            EXPECT_EQ(set.out, "");
        }
        bvtest::ToolRun print = RunTool(std::string("active R 1 ") + s.lane);
        EXPECT_EQ(print.status, 0) << print.err;
        EXPECT_EQ(print.out, s.printed) << (s.set ? s.set : "");
    }
}

TEST_F(BvtoolActiveTest, RefusesWhatIsNoLaneOrNoCompetition)
{
    for (const char* args : {"active R 1 101", "active R 1 -1", "active R 2 3", "active R 1 5", "active set R 1 3 --relay",
                             "active set R 1 3 --colour 2", "active set R 1 3 --series 256", "active R 1"})
        EXPECT_TRUE(bvtest::FailedWithOneLine(RunTool(args))) << args;
}

}  // namespace
