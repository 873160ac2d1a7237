// The competitions of a range folder as the competition choice lists them,
// the number of a new one, and the removal of one.
#include "TempFolder.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "range/setup/CompetitionList.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(CompetitionFolderName, OnlyTheRangeControlsOwnNamesAreCompetitions)
{
    struct Case {
        const char* name;
        int number;
    };
    const Case cases[] = {
        {"Comp1", 1}, {"Comp99", 99}, {"comp7", 7}, {"COMP12", 12},
        {"Comp0", 0},       // the practice competition
        {"Comp100", 0},     // above the range's competitions
        {"Comp01", 0},      // would open Comp1
        {"Comp", 0}, {"Comp1a", 0}, {"Comp-1", 0}, {"Compx", 0}, {"Com12", 0},
        {"Comp12345678901", 0},  // fifteen characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompetitionList::NumberOfFolder(c.name), c.number) << c.name;
}

TEST(NewCompetitionNumber, AfterTheLastMadeSkippingThoseInUse)
{
    std::vector<int> all;
    for (int n = 1; n <= 99; ++n)
        all.push_back(n);
    std::vector<int> allBut50 = all;
    allBut50.erase(allBut50.begin() + 49);
    struct Case {
        const char* name;
        int lastComp;
        std::vector<int> used;
        int next;
    };
    const Case cases[] = {
        {"the one after the last made", 7, {8, 9, 11}, 10},
        {"nothing in use", 7, {}, 8},
        {"after 99 from 1", 99, {1, 2}, 3},
        {"past 99 from 1", 97, {98, 99, 1}, 2},
        {"a last made above the range", 150, {}, 1},
        {"a last made of 0", 0, {1}, 2},
        {"the one gap below the last made", 70, allBut50, 50},
        {"full", 7, all, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompetitionList::NextFree(c.lastComp, c.used), c.next) << c.name;
}

class CompetitionListTest : public bvtest::InTempFolder {
protected:
    static void MakeCompetition(const std::string& folder, const std::string& name, int program = 0)
    {
        std::filesystem::create_directory(folder);
        CBVConfig comp;
        comp.Open(".\\" + folder + "\\Comp.BVC", 1);
        ASSERT_TRUE(comp.IsOpen());
        WriteItem(comp, CompSettings::kName, name);
        WriteItem(comp, CompSettings::kDate, "01.06.2024");
        WriteItem(comp, CompSettings::kProgram, program);
        WriteItem(comp, CompSettings::kPrefix, "K5");
        CompSettings::WriteDescription(comp, std::string(45, 'd'));
    }
};

TEST_F(CompetitionListTest, RowsInFolderOrderWithTheOpenOneFirst)
{
    {
        CBVConfig programs;
        programs.Open(".\\Program.BVC", 1);
        programs.WriteInt(29, 1, 530, 2);
        programs.WriteString(29, 2, 500, "Felt 2");
    }
    for (const char* f : {"Comp0", "Comp1", "Comp8", "Comp100", "Comp01", "Comp12345678901"})
        MakeCompetition(f, std::string("Name of ") + f, 2);
    MakeCompetition("Comp11", "Eleven");
    std::filesystem::create_directory("Comp9");  // a folder without its settings file
    bvtest::TempFolder::Write("Comp5", "a file, not a folder");

    CProgramStore programs;
    std::vector<CompetitionRow> rows = CompetitionList::Read(".\\", 8, programs);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].folder, ">Comp08");
    EXPECT_EQ(rows[1].folder, "Comp01");
    EXPECT_EQ(rows[2].folder, "Comp09");
    EXPECT_EQ(rows[3].folder, "Comp11");
    EXPECT_EQ(rows[0].number, 8);
    EXPECT_EQ(rows[1].number, 1);
    EXPECT_EQ(rows[1].name, "Name of Comp1");
    EXPECT_EQ(rows[1].date, "01.06.2024");
    EXPECT_EQ(rows[1].program, "Felt 2");
    EXPECT_EQ(rows[1].prefix, "K5");
    EXPECT_EQ(rows[1].description, std::string(45, 'd'));
    EXPECT_EQ(rows[3].program, "");  // no program chosen
    // The folder without a file shows alone, and no file was made there.
    EXPECT_EQ(rows[2].name, "");
    EXPECT_EQ(rows[2].prefix, "");
    EXPECT_FALSE(std::filesystem::exists("Comp9/Comp.BVC"));
}

TEST_F(CompetitionListTest, DeleteRemovesEveryFileAndTheFolder)
{
    MakeCompetition("Comp3", "Three");
    for (const char* f : {"Comp3/Card.BVD", "Comp3/Card.BVD.undo", "Comp3/Shot.BVD", "Comp3/notes.txt"})
        bvtest::TempFolder::Write(f, "x");
    EXPECT_EQ(CompetitionList::Delete(".\\", 3), 0);
    EXPECT_FALSE(std::filesystem::exists("Comp3"));

    // A folder of its own inside stays, and so does the competition's folder.
    MakeCompetition("Comp4", "Four");
    std::filesystem::create_directory("Comp4/Backup");
    EXPECT_NE(CompetitionList::Delete(".\\", 4), 0);
    EXPECT_TRUE(std::filesystem::exists("Comp4/Backup"));
    EXPECT_FALSE(std::filesystem::exists("Comp4/Comp.BVC"));
}

}  // namespace
