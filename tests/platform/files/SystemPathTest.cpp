#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace platform;

class SystemPathTest : public bvtest::InTempFolder {};

TEST_F(SystemPathTest, ExistingComponentsAreFoundWhateverTheirCase)
{
    ASSERT_EQ(CreateFolder("Comp1"), 0);
    bvtest::TempFolder::Write("Comp1/Comp.BVC", "x");
    EXPECT_EQ(NativePath(".\\Comp1\\Comp.BVC"), "Comp1/Comp.BVC");
    EXPECT_EQ(NativePath(".\\COMP1\\comp.bvc"), "Comp1/Comp.BVC");
    EXPECT_EQ(NativePath("comp1/Comp.Bvc"), "Comp1/Comp.BVC");
    EXPECT_TRUE(FileExists(".\\comp1\\COMP.bvc"));
}

TEST_F(SystemPathTest, NewNamesKeepTheCallersSpelling)
{
    EXPECT_EQ(NativePath(".\\Comp2\\Card.BVD"), "Comp2/Card.BVD");
    EXPECT_EQ(NativePath(".\\"), "./");
    EXPECT_EQ(NativePath(folder.Path() + "\\New.txt"), folder.Path() + "/New.txt");
}

TEST_F(SystemPathTest, NonAsciiNamesAreStoredAsUtf8)
{
    std::string name = "\xC5pen.txt";  // Åpen.txt in Windows-1252
    bvtest::TempFolder::Write("\xC3\x85pen.txt", "x");
    EXPECT_EQ(NativePath(name), "\xC3\x85pen.txt");
    EXPECT_EQ(NativePath("\xE5PEN.TXT"), "\xC3\x85pen.txt");  // åPEN.TXT
}

TEST_F(SystemPathTest, DriveLettersMapToTheirRoots)
{
    SetDriveRoot('d', folder.Path());
    EXPECT_EQ(NativePath("D:\\Range\\BVLeder.bvc"), folder.Path() + "/Range/BVLeder.bvc");
    SetDriveRoot('d', "");
}

TEST(SystemPathNames, JoinAndBase)
{
    EXPECT_EQ(JoinSystemPath(".\\BV", "N00001.TXT"), ".\\BV\\N00001.TXT");
    EXPECT_EQ(JoinSystemPath(".\\BV\\", "x"), ".\\BV\\x");
    EXPECT_EQ(BaseName("C:\\a\\b\\BVFileEx.cpp"), "BVFileEx.cpp");
    EXPECT_EQ(BaseName("src/foundation/files/BVLog.cpp"), "BVLog.cpp");
    EXPECT_EQ(FolderOf(".\\Comp1\\Card.BVD"), ".\\Comp1");
}

TEST(Wildcards, MatchLikeTheSystemsFileFinder)
{
    struct Case { const char* name; const char* pattern; bool match; };
    const Case cases[] = {
        {"AXR00112.TXT", "??R*.TXT", true}, {"axr00112.txt", "??R*.TXT", true},
        {"AR00112.TXT", "??R*.TXT", false},
        {"N00001.TXT", "N*.TXT", true},    {"N00001.BAK", "N*.TXT", false},
        {"abc", "*", true},                {"", "*", true},
        {"abc", "a?c", true},              {"abc", "a?", false},
        {"x-01-5.003", "x-??-?.*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST_F(SystemPathTest, FindFilesListsMatchesSorted)
{
    bvtest::TempFolder::Write("b.TXT", "");
    bvtest::TempFolder::Write("a.txt", "");
    bvtest::TempFolder::Write("c.bak", "");
    CreateFolder("d.txt");
    EXPECT_EQ(FindFiles(".", "*.TXT"), (std::vector<std::string>{"a.txt", "b.TXT"}));
    EXPECT_EQ(FindFiles(".", "*.TXT", true), (std::vector<std::string>{"a.txt", "b.TXT", "d.txt"}));
}

TEST_F(SystemPathTest, AtomicWriteReplacesWholeFiles)
{
    ASSERT_EQ(WriteFileAtomically("x.ini", "first"), 0);
    ASSERT_EQ(WriteFileAtomically("x.ini", "second"), 0);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile("X.INI", bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(FindFiles(".", "*").size(), 1u);  // no temporary left behind
}
