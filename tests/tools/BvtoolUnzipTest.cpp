// bvtool unzip, run as a user runs it.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using bvtest::RunTool;
using bvtest::TempFolder;
using bvtest::ToolRun;

class BvtoolUnzipTest : public bvtest::InTempFolder {};

TEST_F(BvtoolUnzipTest, UnpacksWithFoldersAndRefusesUnsafeArchives)
{
    fs::create_directories("range/pkg/soft");
    TempFolder::Write("range/pkg/soft/T1.S28", "S00600004844521B\r\n");
    ASSERT_EQ(std::system("cd range && zip -qr pkg.zip pkg && rm -r pkg"), 0);
    int made = -1;
    bvtest::RunPython("import zipfile\n"
                      "z = zipfile.ZipFile('range/evil.zip', 'w')\n"
                      "z.writestr('good.txt', b'fine')\n"
                      "z.writestr('../../evil', b'gotcha')\n"
                      "z.close()\n",
                      {}, &made);
    ASSERT_EQ(made, 0);
    TempFolder::Write("range/notzip.zip", "plain text");

    ToolRun ok = RunTool("unzip range/pkg.zip range/out");
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(TempFolder::Read("range/out/pkg/soft/T1.S28"), "S00600004844521B\r\n");

    struct Case {
        const char* args;
        const char* says;
    } failures[] = {
        {"unzip range/evil.zip range/out2", "unsafe entry name '..\\..\\evil'"},
        {"unzip range/notzip.zip range/out2", "cannot open"},
        {"unzip range/missing.zip range/out2", "cannot open"},
        {"unzip range/pkg.zip", "usage"},
    };
    for (const Case& c : failures) {
        ToolRun r = RunTool(c.args);
        EXPECT_TRUE(bvtest::FailedWithOneLine(r)) << c.args;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists("range/out2"));
    EXPECT_FALSE(fs::exists("evil"));
    EXPECT_FALSE(fs::exists("../evil"));
}

// Two names of one file in two letter cases: the archive is refused as
// unsafe names are, and nothing is unpacked.
TEST_F(BvtoolUnzipTest, RefusesTwoNamesOfOneFileAndWritesNothing)
{
    int made = -1;
    bvtest::RunPython("import zipfile\n"
                      "z = zipfile.ZipFile('backup.zip', 'w')\n"
                      "z.writestr('Comp1/Comp.bvc', b'first')\n"
                      "z.writestr('Comp1/Event1.bvc', b'event')\n"
                      "z.writestr('COMP1/comp.BVC', b'last')\n"
                      "z.close()\n",
                      {}, &made);
    ASSERT_EQ(made, 0);
    ToolRun r = RunTool("unzip backup.zip out");
    EXPECT_TRUE(bvtest::FailedWithOneLine(r));
    EXPECT_NE(r.err.find("refused: entry names 'Comp1\\Comp.bvc' and 'COMP1\\comp.BVC' name one file; nothing was "
                         "written"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists("out"));
}

}  // namespace
