// Unpacking zip archives made by the tools a range actually has: Python's
// zipfile and Info-ZIP's zip.
#include "foundation/files/Unzip.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using bvtest::TempFolder;

// Runs a Python script that makes archives in the working folder.
void Python(const std::string& script)
{
    TempFolder::Write("make.py", "import zipfile, os\n" + script);
    ASSERT_EQ(std::system("python3 make.py"), 0) << script;
}

// Every file and folder below a folder, as relative paths.
std::set<std::string> Tree(const std::string& folder)
{
    std::set<std::string> names;
    if (!fs::exists(folder))
        return names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(e.path(), folder).string() + (e.is_directory() ? "/" : ""));
    return names;
}

std::tm LocalModified(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    std::tm t {};
    localtime_r(&st.st_mtime, &t);
    return t;
}

class UnzipTest : public bvtest::InTempFolder {};

// A folder entry data/ and a file data/a.txt dated 1 June 2004 12:00, made by
// either tool.
void MakeFolderArchive(const std::string& maker)
{
    if (maker == "python") {
        Python(
            "z = zipfile.ZipFile('pkg.zip', 'w')\n"
            "d = zipfile.ZipInfo('data/', (2004, 6, 1, 12, 0, 0)); d.external_attr = 0x10\n"
            "z.writestr(d, b'')\n"
            "f = zipfile.ZipInfo('data/a.txt', (2004, 6, 1, 12, 0, 0)); f.compress_type = zipfile.ZIP_DEFLATED\n"
            "z.writestr(f, b'alpha ' * 1000)\n"
            "z.close()\n");
    } else {
        fs::create_directories("src/data");
        TempFolder::Write("src/data/a.txt", [] {
            std::string s;
            for (int i = 0; i < 1000; ++i)
                s += "alpha ";
            return s;
        }());
        ASSERT_EQ(std::system("touch -t 200406011200 src/data/a.txt src/data && cd src && zip -qr ../pkg.zip data"), 0);
    }
}

TEST_F(UnzipTest, FoldersFlatExtractionAndFileTimes)
{
    for (std::string maker : {"python", "zip"}) {
        SCOPED_TRACE(maker);
        MakeFolderArchive(maker);
        CUnzip zip("pkg.zip");
        ASSERT_TRUE(zip.IsOpen());
        EXPECT_EQ(zip.GetEntryCount(), 2);
        ZipEntryInfo info;
        ASSERT_TRUE(zip.GotoFile("TXT"));
        ASSERT_TRUE(zip.GetCurrentInfo(info));
        EXPECT_EQ(info.name, "data\\a.txt");
        EXPECT_FALSE(info.isFolder);
        EXPECT_EQ(info.uncompressedSize, 6000u);

        ASSERT_TRUE(zip.ExtractAll("X"));
        EXPECT_EQ(Tree("X"), (std::set<std::string>{"data/", "data/a.txt"}));
        EXPECT_EQ(TempFolder::Read("X/data/a.txt").size(), 6000u);
        std::tm t = LocalModified("X/data/a.txt");
        EXPECT_EQ(t.tm_year + 1900, 2004);
        EXPECT_EQ(t.tm_mon + 1, 6);
        EXPECT_EQ(t.tm_mday, 1);
        EXPECT_EQ(t.tm_hour, 12);
        EXPECT_EQ(t.tm_min, 0);
        EXPECT_EQ(t.tm_sec, 0);

        ASSERT_TRUE(zip.ExtractAll(".\\Y", true));
        EXPECT_TRUE(fs::is_regular_file("Y/a.txt"));
        fs::remove_all("X");
        fs::remove_all("Y");
        fs::remove_all("src");
        fs::remove("pkg.zip");
    }
}

TEST_F(UnzipTest, DefaultFolderCurrentFolderAndReplacingAFile)
{
    fs::create_directories("Pakker");
    Python(
        "z = zipfile.ZipFile('Pakker/Prog.zip', 'w')\n"
        "z.writestr('PROG.S28', b'S0 new')\n"
        "z.close()\n");
    CUnzip zip(".\\Pakker\\Prog.zip");
    ASSERT_TRUE(zip.IsOpen());
    EXPECT_EQ(zip.DefaultFolder(), ".\\Pakker\\Prog");
    ASSERT_TRUE(zip.GotoFile("s28"));  // any letter case
    ASSERT_TRUE(zip.ExtractCurrent());
    EXPECT_EQ(TempFolder::Read("Pakker/Prog/PROG.S28"), "S0 new");

    TempFolder::Write("PROG.S28", "S0 old, longer than the new one");
    ASSERT_TRUE(zip.ExtractCurrent("."));
    EXPECT_EQ(TempFolder::Read("PROG.S28"), "S0 new");
    EXPECT_FALSE(zip.FindNext("s28"));
    EXPECT_FALSE(zip.GotoFile("hex"));
}

TEST_F(UnzipTest, EmptyMissingAndDamagedArchives)
{
    Python("zipfile.ZipFile('empty.zip', 'w').close()\n");
    CUnzip empty("empty.zip");  // the library does not even open one
    EXPECT_EQ(empty.GetEntryCount(), 0);
    EXPECT_FALSE(empty.ExtractAll("X"));
    EXPECT_FALSE(fs::exists("X"));

    CUnzip missing("missing.zip");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.ExtractAll("X"));
    EXPECT_FALSE(missing.ExtractCurrent("X"));

    TempFolder::Write("text.zip", "this is no archive");
    EXPECT_FALSE(CUnzip("text.zip").IsOpen());
}

TEST_F(UnzipTest, UnsafeNamesAreRefusedAndNothingIsWritten)
{
    const std::vector<std::string> names = {
        "../evil", "data/../../evil", "data\\\\..\\\\evil", "/tmp/evil", "\\\\\\\\server\\\\share\\\\evil",
        "C:/evil", "C:evil", "data/ev\\x01il",
    };
    // One archive per name, each with a good entry first: the archive is
    // refused as a whole all the same.
    std::string script;
    for (size_t i = 0; i < names.size(); ++i)
        script += "z = zipfile.ZipFile('bad" + std::to_string(i) + ".zip', 'w')\n"
                  "z.writestr('good.txt', b'fine')\n"
                  "z.writestr(zipfile.ZipInfo('" + names[i] + "'), b'gotcha')\n"
                  "z.close()\n";
    Python(script);
    fs::create_directories("X");
    const std::set<std::string> before = Tree(".");
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        CUnzip zip("bad" + std::to_string(i) + ".zip");
        ASSERT_TRUE(zip.IsOpen());
        EXPECT_FALSE(zip.ExtractAll("X"));
        EXPECT_FALSE(zip.ExtractAll("X", true));
        ASSERT_TRUE(zip.GotoFile());
        ASSERT_TRUE(zip.FindNext());
        EXPECT_FALSE(zip.ExtractCurrent("X"));
        EXPECT_EQ(Tree("."), before);
        EXPECT_FALSE(fs::exists("/tmp/evil") && TempFolder::Read("/tmp/evil") == "gotcha");
    }
}

TEST_F(UnzipTest, OverLongNamesAreRefused)
{
    // 259 characters is the longest name a path may carry; one more is refused
    // rather than cut to another file's name.
    Python("z = zipfile.ZipFile('long.zip', 'w')\n"
           "z.writestr('d/' + 'n' * 257, b'ok')\n"
           "z.writestr('d/' + 'n' * 258, b'too long')\n"
           "z.close()\n");
    CUnzip zip("long.zip");
    ZipEntryInfo info;
    ASSERT_TRUE(zip.GotoFile());
    ASSERT_TRUE(zip.GetCurrentInfo(info));
    EXPECT_EQ(info.name.size(), 259u);
    ASSERT_TRUE(zip.FindNext());
    EXPECT_FALSE(zip.GetCurrentInfo(info));
    EXPECT_FALSE(zip.ExtractCurrent("X"));
    EXPECT_FALSE(zip.ExtractAll("X"));
    EXPECT_FALSE(fs::exists("X/d"));
}

TEST_F(UnzipTest, SafeNames)
{
    struct Case {
        const char* name;
        bool safe;
    } cases[] = {
        {"a.txt", true},          {"data\\a.txt", true},  {"data/a.txt", true},   {"a..b.txt", true},
        {"..a", true},            {"./a.txt", true},      {"..", false},          {"a/..", false},
        {"", false},              {"\\a", false},         {"D:\\a", false},       {"a\tb", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUnzip::IsSafeEntryName(c.name), c.safe) << c.name;
}

TEST_F(UnzipTest, ACorruptEntryLeavesNoHalfFileAndTheOldFileStands)
{
    // Three entries, the second damaged by one flipped byte inside its data
    // after the archive was made; stored and deflated, by either tool.
    std::string two;
    for (int i = 0; i < 40; ++i)
        for (int c = 0; c < 256; ++c)
            two += static_cast<char>(c);
    fs::create_directories("src");
    TempFolder::Write("src/one.txt", "first");
    TempFolder::Write("src/two.txt", two);
    TempFolder::Write("src/three.txt", "third");
    ASSERT_EQ(std::system("cd src && zip -q -0 ../zip-stored.zip one.txt two.txt three.txt && "
                          "zip -q -6 ../zip-deflated.zip one.txt two.txt three.txt"),
              0);
    Python("for name, method in (('python-stored.zip', zipfile.ZIP_STORED), ('python-deflated.zip', zipfile.ZIP_DEFLATED)):\n"
           "    z = zipfile.ZipFile(name, 'w', method)\n"
           "    z.writestr('one.txt', b'first')\n"
           "    z.writestr('two.txt', bytes(range(256)) * 40)\n"
           "    z.writestr('three.txt', b'third')\n"
           "    z.close()\n"
           "for name in ('python-stored.zip', 'python-deflated.zip', 'zip-stored.zip', 'zip-deflated.zip'):\n"
           "    i = zipfile.ZipFile(name).getinfo('two.txt')\n"
           "    b = bytearray(open(name, 'rb').read())\n"
           "    o = i.header_offset\n"
           "    n = b[o + 26] + 256 * b[o + 27]; m = b[o + 28] + 256 * b[o + 29]\n"
           "    b[o + 30 + n + m + 100] ^= 0x55\n"
           "    open(name, 'wb').write(b)\n");
    for (const char* archive : {"python-stored.zip", "python-deflated.zip", "zip-stored.zip", "zip-deflated.zip"}) {
        SCOPED_TRACE(archive);
        fs::create_directories("X");
        TempFolder::Write("X/two.txt", "the old two");
        CUnzip zip(archive);
        EXPECT_FALSE(zip.ExtractAll("X"));
        EXPECT_EQ(Tree("X"), (std::set<std::string>{"one.txt", "two.txt"}));
        EXPECT_EQ(TempFolder::Read("X/two.txt"), "the old two");
        fs::remove_all("X");
    }
}

TEST_F(UnzipTest, NamesBeyondAsciiFromEitherTool)
{
    // Python marks its UTF-8 names; zip on Linux stores them unmarked; a
    // Windows tool stores the Windows code page.
    fs::create_directories("src");
    TempFolder::Write("src/Bj\xC3\xB8rn.txt", "zip");
    ASSERT_EQ(std::system("cd src && zip -q ../zip.zip *"), 0);
    Python("z = zipfile.ZipFile('python.zip', 'w'); z.writestr('Bj\\u00f8rn.txt', b'python'); z.close()\n"
           "z = zipfile.ZipFile('windows.zip', 'w'); z.writestr('BjQrn.txt', b'windows'); z.close()\n"
           "b = open('windows.zip', 'rb').read().replace(b'BjQrn', b'Bj\\xf8rn')\n"
           "open('windows.zip', 'wb').write(b)\n");
    for (const char* archive : {"zip.zip", "python.zip", "windows.zip"}) {
        SCOPED_TRACE(archive);
        CUnzip zip(archive);
        ZipEntryInfo info;
        ASSERT_TRUE(zip.GetCurrentInfo(info));
        EXPECT_EQ(info.name, "Bj\xF8rn.txt");  // Windows-1252, as the system keeps names
        ASSERT_TRUE(zip.ExtractAll("X"));
        EXPECT_EQ(Tree("X"), (std::set<std::string>{"Bj\xC3\xB8rn.txt"}));  // UTF-8 on this disk
        fs::remove_all("X");
    }
}

TEST_F(UnzipTest, CreateFolderPath)
{
    fs::create_directories("A");
    EXPECT_TRUE(CreateFolderPath(".\\A\\B\\C"));
    EXPECT_TRUE(fs::is_directory("A/B/C"));
    EXPECT_TRUE(CreateFolderPath("A\\B\\C\\"));
    TempFolder::Write("A/file", "x");
    EXPECT_FALSE(CreateFolderPath("A\\file"));
    EXPECT_FALSE(CreateFolderPath("A\\file\\D"));
    EXPECT_FALSE(CreateFolderPath(""));
    EXPECT_TRUE(CreateFolderPath("bare"));  // a folder in the working folder
    EXPECT_TRUE(fs::is_directory("bare"));
    EXPECT_FALSE(CreateParentFolders("bare"));
    EXPECT_TRUE(CreateParentFolders("A\\E\\f.txt"));
    EXPECT_TRUE(fs::is_directory("A/E"));
}

}  // namespace

// Names the folders here do not tell apart: unpacked, the last would replace
// the first without a word, so the archive is refused as a whole. One folder
// listed twice, or files in it named in two cases, lose nothing.
TEST_F(UnzipTest, TwoNamesOfOneFileRefuseTheArchive)
{
    struct Case {
        const char* what;
        std::vector<std::string> names;  // as the archive lists them, Python escapes
        CUnzip::EntryCheck check;
        const char* earlier;  // Windows-1252, as CheckEntries tells them
        const char* name;
    };
    const Case cases[] = {
        {"letter case", {"Resultat.txt", "good.txt", "RESULTAT.TXT"}, CUnzip::EntryCheck::SameFile, "Resultat.txt",
         "RESULTAT.TXT"},
        {"beyond ASCII", {"data/\\u00d8velse.htm", "DATA/\\u00f8VELSE.htm"}, CUnzip::EntryCheck::SameFile,
         "data\\\xD8velse.htm", "DATA\\\xF8VELSE.htm"},
        {"one name twice", {"a.txt", "a.txt"}, CUnzip::EntryCheck::SameFile, "a.txt", "a.txt"},
        {"a file and a folder", {"Data", "DATA/"}, CUnzip::EntryCheck::SameFile, "Data", "DATA\\"},
        {"one folder twice", {"data/", "DATA/", "data/a.txt", "Data/b.txt"}, CUnzip::EntryCheck::Ok, "", ""},
    };
    std::string script = "import warnings\nwarnings.simplefilter('ignore')  # the duplicates are meant\n";
    for (size_t i = 0; i < std::size(cases); ++i) {
        script += "z = zipfile.ZipFile('same" + std::to_string(i) + ".zip', 'w')\n";
        for (const std::string& name : cases[i].names)
            script += "z.writestr(zipfile.ZipInfo(u'" + name + "'), b'" + name + "')\n";
        script += "z.close()\n";
    }
    Python(script);
    fs::create_directories("X");
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        CUnzip zip("same" + std::to_string(i) + ".zip");
        ASSERT_TRUE(zip.IsOpen());
        std::string name = "x", earlier = "x";
        EXPECT_EQ(zip.CheckEntries(name, earlier), c.check);
        EXPECT_EQ(earlier, c.earlier);
        EXPECT_EQ(name, c.name);
        const std::set<std::string> before = Tree("X");
        EXPECT_EQ(zip.ExtractAll("X"), c.check == CUnzip::EntryCheck::Ok);
        if (c.check != CUnzip::EntryCheck::Ok)
            EXPECT_EQ(Tree("X"), before);
    }
    EXPECT_EQ(Tree("X"), (std::set<std::string>{"data/", "data/a.txt", "data/b.txt"}));
}
