#include "platform/files/PrivateProfile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace platform;

class PrivateProfileTest : public bvtest::InTempFolder {};

TEST_F(PrivateProfileTest, ReadsValuesWithoutRegardToCase)
{
    bvtest::TempFolder::Write("BVLog.ini", "[Other]\r\nLevel=5\r\n[bvlog]\r\n level = 20 \r\nName=\"a b\"\r\nText=12abc\r\n");
    EXPECT_EQ(GetPrivateProfileInt("BVLog", "Level", 80, ".\\BVLog.ini"), 20);
    EXPECT_EQ(GetPrivateProfileInt("BVLog", "Missing", 80, ".\\bvlog.INI"), 80);
    EXPECT_EQ(GetPrivateProfileInt("BVLog", "Text", 80, ".\\BVLog.ini"), 12);
    EXPECT_EQ(GetPrivateProfileInt("BVLog", "Name", 80, ".\\BVLog.ini"), 0);
    EXPECT_EQ(GetPrivateProfileString("BVLOG", "NAME", "", ".\\BVLog.ini"), "a b");
    EXPECT_EQ(GetPrivateProfileInt("BVLog", "Level", 80, ".\\none.ini"), 80);
}
