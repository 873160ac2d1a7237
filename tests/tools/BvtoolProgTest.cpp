// bvtool prog on a range folder made here.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace ProgramItems;

namespace {

class BvtoolProgTest : public bvtest::InTempFolder {};

TEST_F(BvtoolProgTest, ShowsAProgramAsTheStoreReadsIt)
{
    ASSERT_EQ(platform::CreateFolder("Range"), 0);
    CBVConfig file;
    file.Open(".\\Range\\Program2.BVC", 1);
    ASSERT_TRUE(file.IsOpen());
    file.WriteString(kProgramSection, 12, kKeyName, platform::Ansi("Felt Øvelse").c_str());
    file.WriteInt(kProgramSection, 12, kKeyEquipment, 1);  // turning targets
    file.WriteInt(kProgramSection, 12, kKeySerieCount, 2);
    file.WriteInt(kProgramSection, 12, kKeyClassCount, 1);
    file.WriteInt(kProgramSection, 12, kKeySubCount, 1);
    file.WriteInt(kProgramSection, 12, kKeySize, 0);  // empty cell: 10
    file.WriteInt(kSerieShots, 12, 2, 5);
    file.WriteString(kSerieTiming, 12, 2, "X;5;3;7;1;");
    file.WriteInt(kSerieShots, 12, 3, 6);
    file.WriteString(kSerieTiming, 12, 3, "150;10;3;7;5;");
    file.WriteString(kClassName, 12, 2, "Senior");
    file.WriteString(kClassDef, 12, 2, "!\"");
    file.WriteString(kSubSumDef, 12, 2, " !");

    bvtest::ToolRun shown = bvtest::RunTool("prog Range 112");
    ASSERT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out,
              "Program: 112\n"
              "Name: Felt Øvelse\n"
              "Equipment: 1\n"
              "Command: 0\n"
              "Organisation: 0\n"
              "Size: 10\n"
              "Series: 2\n"
              "  1: Serie 1; shots 5; mark 1; target -1; exchange 1; timer none; delay 5; green 3; red 7; rep 1\n"
              "  2: Serie 2; shots 6; mark 1; target -1; exchange 2; timer 150; delay 10; green 3; red 7; rep 5\n"
              "Classes: 1\n"
              "  1: Senior; series 1 2\n"
              "Sub-sums: 1\n"
              "  1: Sum1; series 0 1\n");

    struct Case {
        const char* args;
        int status;
    } failures[] = {{"prog Range 12", 1},     // no Program.BVC
                    {"prog Range 0", 1},      {"prog Range 201", 1}, {"prog Range x", 1},
                    {"prog Nowhere 1", 1},    {"prog Range", 1}};
    for (const Case& c : failures)
        EXPECT_EQ(bvtest::RunTool(c.args).status, c.status) << c.args;
}

}  // namespace
