#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

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

// A pass over a folder of many files keeps one listing of it: names are found
// whatever their case, also those another program made behind the listing's
// back, and writing N files does not read the folder N times.
class KeptListingTest : public SystemPathTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CreateFolder("BV"), 0);
        for (int i = 1; i <= 50; ++i)
            bvtest::TempFolder::Write("BV/n" + std::to_string(10000 + i) + ".txt", "old");
    }
    static std::vector<std::string> Entries()
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator("BV"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(KeptListingTest, NamesAreFoundWhateverTheirCaseAndWhoeverMadeThem)
{
    KeptListing kept(".\\BV");
    const long listed = FolderListings();
    EXPECT_EQ(NativePath(".\\BV\\N10001.TXT"), "BV/n10001.txt");
    EXPECT_EQ(kept.Find("N10050.Txt"), "n10050.txt");
    EXPECT_EQ(NativePath("BV\\N99999.TXT"), "BV/N99999.TXT");  // absent: as the caller spells it
    EXPECT_EQ(FolderListings(), listed) << "looked up in the kept listing";

    // Another program makes files while the pass goes on, one in another
    // case than ours, one as we spell it.
    bvtest::TempFolder::Write("BV/x00002.TXT", "theirs");
    bvtest::TempFolder::Write("BV/Y00003.TXT", "theirs");
    EXPECT_EQ(NativePath(".\\BV\\X00002.txt"), "BV/x00002.TXT");
    EXPECT_EQ(NativePath(".\\BV\\Y00003.TXT"), "BV/Y00003.TXT");
    // Writing to its name replaces that file instead of making a second one.
    ASSERT_EQ(WriteFileAtomically(".\\BV\\X00002.TXT", "ours"), 0);
    EXPECT_EQ(bvtest::TempFolder::Read("BV/x00002.TXT"), "ours");
    EXPECT_EQ(Entries().size(), 52u);

    // A file removed behind the listing's back is not found once the name
    // is looked up on disk.
    std::filesystem::remove("BV/n10002.txt");
    EXPECT_FALSE(FileExists(".\\BV\\N10002.TXT"));
}

TEST_F(KeptListingTest, APassWritingManyFilesListsTheFolderABoundedNumberOfTimes)
{
    // A temporary file an atomic writer left when it was killed.
    bvtest::TempFolder::Write("BV/~bvw0BAD.TMP", "half");
    std::filesystem::last_write_time("BV/~bvw0BAD.TMP",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::seconds(10));
    auto writeAll = [](int first) {
        for (int i = first; i < first + 40; ++i) {
            const std::string path = ".\\BV\\N" + std::to_string(i) + ".TXT";
            ASSERT_FALSE(FileExists(path));
            NativeFile held;  // as a writer holding the file's own lock makes it
            ASSERT_EQ(held.OpenOrCreate(path), 0);
            ASSERT_EQ(WriteFileAtomically(path, "[Shooter]\r\n"), 0);
            ASSERT_TRUE(FileExists(path));
        }
    };
    long before = FolderListings();
    writeAll(20000);
    const long withoutListing = FolderListings() - before;
    EXPECT_GE(withoutListing, 40) << "each new file reads the folder";
    EXPECT_EQ(Entries().size(), 90u) << "the killed writer's file is gone";

    bvtest::TempFolder::Write("BV/~bvw0BAD.TMP", "half");
    std::filesystem::last_write_time("BV/~bvw0BAD.TMP",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::seconds(10));
    before = FolderListings();
    {
        KeptListing kept(".\\BV");
        writeAll(30000);
    }
    EXPECT_LE(FolderListings() - before, 2);
    const std::vector<std::string> names = Entries();
    EXPECT_EQ(names.size(), 130u);
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == '~'; }), 0);
    EXPECT_EQ(bvtest::TempFolder::Read("BV/N30039.TXT"), "[Shooter]\r\n");
}
