// The zip backup: entry names, refusals, dates and attributes, appending; the
// archives are checked by unzip -t and read back by Python's zipfile.
#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/files/FileSystem.h"
#include "results/backup/FileDate.h"
#include "results/backup/Zip.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using bvtest::RunCommand;
using bvtest::RunPython;
using bvtest::RunTool;
using bvtest::TempFolder;
using results::CZip;
namespace fs = std::filesystem;

class ZipTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        fs::create_directories("Data/Comp1");
        TempFolder::Write("Data/Comp1/Comp.bvc", "[Comp]\r\nName=Test\r\n");
        TempFolder::Write("Data/Comp1/Event1.bvc", std::string(5000, 'e'));
        TempFolder::Write("Data/empty.txt", "");
        TempFolder::Write("x.txt", "outside");
        cwd = fs::current_path().string();
    }
    // unzip -t passes the archive.
    void ExpectUnzipPasses(const std::string& archive)
    {
        int status = -1;
        std::string out = RunCommand("unzip -t " + archive, &status);
        EXPECT_EQ(status, 0) << out;
    }
    std::string cwd;
};

TEST_F(ZipTest, EntryNamesAndRefusals)
{
    CZip zip;
    ASSERT_TRUE(zip.Open("backup.zip", "C:\\Data", false));
    EXPECT_EQ(zip.BaseFolder(), "C:\\Data\\");
    struct Case {
        const char* path;
        bool flat;
        const char* name;  // "" when refused
    } cases[] = {
        {"C:\\Data\\Comp1\\Comp.bvc", false, "Comp1/Comp.bvc"},
        {"c:\\DATA\\Comp1\\Comp.bvc", false, "Comp1/Comp.bvc"},
        {"D:\\Other\\x.txt", false, ""},
        {"C:\\Database\\x.txt", false, ""},
        {".\\Comp1\\Event1.bvc", false, "Comp1/Event1.bvc"},
        {"Comp1/Event1.bvc", false, "Comp1/Event1.bvc"},
        {"..\\x.txt", false, ""},
        {"..\\x.txt", true, "x.txt"},
        {"a\\..\\..\\x", false, ""},
        {"C:\\Data\\a\\..\\..\\x", false, ""},
        {"/etc/passwd", false, ""},
        {"Comp1\\", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zip.EntryName(c.path, c.flat), c.name) << c.path << (c.flat ? " flat" : "");
    EXPECT_EQ(zip.EntryName(std::string(256, 'n'), false), std::string(256, 'n'));
    EXPECT_EQ(zip.EntryName(std::string(257, 'n'), false), "");
    EXPECT_EQ(zip.MakeFullPath(".\\Comp1\\Event1.bvc"), "C:\\Data\\Comp1\\Event1.bvc");
    EXPECT_EQ(zip.MakeFullPath("D:\\x"), "D:\\x");

    // Without a base folder no absolute path has a name in the archive.
    ASSERT_TRUE(zip.Open("backup.zip", "", false));
    EXPECT_EQ(zip.EntryName("C:\\Data\\Comp1\\Comp.bvc", false), "");
    EXPECT_EQ(zip.EntryName(cwd + "/x.txt", false), "");
    EXPECT_EQ(zip.MakeFullPath("x.txt"), "x.txt");
}

TEST_F(ZipTest, ArchiveReadByUnzipAndPython)
{
    platform::LocalTime when{2025, 6, 14, 9, 30, 42, 0, 0};
    ASSERT_EQ(platform::SetModifiedTime("Data/Comp1/Comp.bvc", when), 0);
    ASSERT_EQ(::chmod("Data/Comp1/Event1.bvc", 0444), 0);
    platform::LocalTime got;
    ASSERT_TRUE(results::GetFileDate("Data/Comp1/Comp.bvc", got, true));
    EXPECT_EQ(got.hour, 9);
    EXPECT_FALSE(results::GetFileDate("Data/missing", got, true));
    EXPECT_EQ(got.year, 0);

    CZip zip("Data/backup.zip");  // base folder: the archive's own
    ASSERT_TRUE(zip.IsOpen());
    EXPECT_TRUE(zip.AddFile(cwd + "/Data/Comp1/Comp.bvc"));
    EXPECT_TRUE(zip.AddFile(".\\Comp1\\Event1.bvc"));
    EXPECT_TRUE(zip.AddFile("empty.txt"));
    EXPECT_TRUE(zip.AddFile("..\\x.txt", true));
    EXPECT_FALSE(zip.AddFile("..\\x.txt"));
    EXPECT_FALSE(zip.AddFile("missing.txt"));
    EXPECT_FALSE(zip.AddFile("Comp1"));  // a folder reads as an error: no member
    EXPECT_EQ(zip.FilesAdded(), 4);
    EXPECT_EQ(zip.BytesRead(), 19 + 5000 + 0 + 7);
    ASSERT_TRUE(zip.Close());
    ::chmod("Data/Comp1/Event1.bvc", 0644);

    ExpectUnzipPasses("Data/backup.zip");
    const char* script = R"PY(
import zipfile, sys
z = zipfile.ZipFile('Data/backup.zip')
assert z.testzip() is None
for i in z.infolist():
    print(i.filename, i.file_size, i.compress_type, i.external_attr, '%04d-%02d-%02d %02d:%02d:%02d' % i.date_time)
print(z.read('Comp1/Comp.bvc') == open('Data/Comp1/Comp.bvc', 'rb').read(), z.read('x.txt').decode())
)PY";
    std::string out = RunPython(script);
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Comp1/Comp.bvc 19 8 128 2025-06-14 09:30:42");
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, 25), "Comp1/Event1.bvc 5000 8 1");
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, 19), "empty.txt 0 8 128 2");
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, 13), "x.txt 7 8 128");
    std::getline(lines, line);
    EXPECT_EQ(line, "True outside");
}

TEST_F(ZipTest, AppendingToMissingAndExistingArchives)
{
    {
        CZip zip("Data/backup.zip", nullptr, true);  // missing: made anew
        ASSERT_TRUE(zip.AddFile("Comp1\\Comp.bvc"));
    }
    {
        CZip zip("Data/backup.zip", nullptr, true);
        ASSERT_TRUE(zip.AddFile("Comp1\\Event1.bvc"));
    }
    ExpectUnzipPasses("Data/backup.zip");
    EXPECT_EQ(RunPython("import zipfile\nprint(zipfile.ZipFile('Data/backup.zip').namelist())"),
              "['Comp1/Comp.bvc', 'Comp1/Event1.bvc']\n");
    {
        CZip zip("Data/backup.zip", nullptr, false);  // without append: a new archive
        ASSERT_TRUE(zip.AddFile("empty.txt"));
    }
    EXPECT_EQ(RunPython("import zipfile\nprint(zipfile.ZipFile('Data/backup.zip').namelist())"),
              "['empty.txt']\n");
    CZip none;
    EXPECT_FALSE(none.AddFile("x.txt"));
    EXPECT_FALSE(none.Open(""));
    EXPECT_TRUE(none.Close());
}

TEST_F(ZipTest, BvtoolZip)
{
    auto run = RunTool("res zip Data/b.zip Comp1/Comp.bvc ../x.txt empty.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "added Comp1/Comp.bvc\nrefused ../x.txt\nadded empty.txt\n");
    run = RunTool("res zip Data/b.zip --append --flat ../x.txt");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "added x.txt\n");
    run = RunTool("res zip b2.zip --base Data Comp1/Event1.bvc");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "added Comp1/Event1.bvc\n");
    ExpectUnzipPasses("Data/b.zip");
    EXPECT_EQ(RunPython("import zipfile\nprint(zipfile.ZipFile('Data/b.zip').namelist())"),
              "['Comp1/Comp.bvc', 'empty.txt', 'x.txt']\n");
}

}  // namespace
