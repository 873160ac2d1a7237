// bvtool unzip, run as a user runs it.
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using bvtest::TempFolder;

struct RunResult {
    int status;
    std::string err;
};

RunResult Bvtool(const std::string& args)
{
    std::string command = std::string(BV_BINARY_DIR) + "/tools/bvtool/bvtool " + args + " 2>stderr.txt";
    int rc = std::system(command.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, TempFolder::Read("stderr.txt")};
}

class BvtoolUnzipTest : public bvtest::InTempFolder {};

TEST_F(BvtoolUnzipTest, UnpacksWithFoldersAndRefusesUnsafeArchives)
{
    fs::create_directories("range/pkg/soft");
    TempFolder::Write("range/pkg/soft/T1.S28", "S00600004844521B\r\n");
    ASSERT_EQ(std::system("cd range && zip -qr pkg.zip pkg && rm -r pkg"), 0);
    TempFolder::Write("evil.py",
                      "import zipfile\n"
                      "z = zipfile.ZipFile('range/evil.zip', 'w')\n"
                      "z.writestr('good.txt', b'fine')\n"
                      "z.writestr('../../evil', b'gotcha')\n"
                      "z.close()\n");
    ASSERT_EQ(std::system("python3 evil.py"), 0);
    TempFolder::Write("range/notzip.zip", "plain text");

    RunResult ok = Bvtool("unzip range/pkg.zip range/out");
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
        RunResult r = Bvtool(c.args);
        EXPECT_NE(r.status, 0) << c.args;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
    EXPECT_FALSE(fs::exists("range/out2"));
    EXPECT_FALSE(fs::exists("evil"));
    EXPECT_FALSE(fs::exists("../evil"));
}

}  // namespace
