#include "foundation/files/BVLog.h"
#include "platform/system/Clock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

class BVLogTest : public bvtest::InTempFolder {
protected:
    void TearDown() override { platform::SetClock(nullptr); }
    static std::string LogText() { return bvtest::TempFolder::Read("BVLog.txt"); }
};

TEST_F(BVLogTest, LineCarriesPidTimeLevelSourceAndText)
{
    platform::ManualClock clock;
    clock.now = {2026, 3, 7, 9, 5, 4, 12, 6};
    platform::SetClock(&clock);
    CBVLog log;
    log.Write("C:\\src\\PC-lib\\BVFileEx.cpp", 93, 90, "Open(%s)=%d", ".\\Comp1\\Card.BVD", -7);
    char expected[200];
    snprintf(expected, sizeof expected, "%4d 2026.03.07 09.05.04.012 5A BVFileEx.cpp(093) Open(.\\Comp1\\Card.BVD)=-7\r\n",
             static_cast<int>(getpid()));
    EXPECT_EQ(LogText(), expected);
}

TEST_F(BVLogTest, DefaultThresholdIs80)
{
    CBVLog log;
    log.Write("a.cpp", 1, 79, "dropped");
    log.Write("a.cpp", 2, 80, "kept");
    std::string text = LogText();
    EXPECT_EQ(text.find("dropped"), std::string::npos);
    EXPECT_NE(text.find(" 50 a.cpp(002) kept\r\n"), std::string::npos);
}

TEST_F(BVLogTest, ThresholdComesFromTheIniFile)
{
    bvtest::TempFolder::Write("BVLog.ini", "[BVLog]\r\nLevel=0\r\n");
    CBVLog log;
    log.Write("src/foundation/files/BVFileEx.cpp", 1234, 20, "CacheVerify(%s)=1", "x");
    EXPECT_NE(LogText().find(" 14 BVFileEx.cpp(1234) CacheVerify(x)=1\r\n"), std::string::npos);
}

TEST_F(BVLogTest, LongTextsAreCutNotOverflowed)
{
    CBVLog log;
    std::string longText(1000, 'x');
    log.Write("a.cpp", 1, 90, "%s", longText.c_str());
    log.WriteF("a.cpp", 2, 90, "%s!", longText.c_str());
    std::string text = LogText();
    std::regex line("^ *\\d+ \\S+ \\S+ 5A a\\.cpp\\(00\\d\\) x{199}\r$");
    size_t lines = 0, pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        EXPECT_TRUE(std::regex_match(text.substr(pos, end - pos), line)) << text.substr(pos, end - pos);
        pos = end + 1;
        ++lines;
    }
    EXPECT_EQ(lines, 2u);
}

TEST_F(BVLogTest, AnUnwritableLogLosesTheEntryQuietly)
{
    mkdir("BVLog.txt", 0777);  // a folder where the file should be
    CBVLog log;
    testing::internal::CaptureStderr();
    log.Write("a.cpp", 1, 90, "lost");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // Nothing was put anywhere else: the folder stays empty and no other
    // file appears beside it.
    struct stat st {};
    ASSERT_EQ(stat("BVLog.txt", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(rmdir("BVLog.txt"), 0) << "the folder got something written into it";
    EXPECT_TRUE(std::filesystem::is_empty(".")) << "something was written beside the folder";
    // The entry is gone for good, and the log writes again once it can.
    log.Write("a.cpp", 2, 90, "next");
    std::string text = LogText();
    EXPECT_EQ(text.find("lost"), std::string::npos);
    EXPECT_NE(text.find(" a.cpp(002) next\r\n"), std::string::npos);
}
