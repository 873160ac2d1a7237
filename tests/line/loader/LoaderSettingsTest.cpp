// The loader's settings in Admin.ini: what a hand-edited file can and cannot
// make the loader use.
#include "line/loader/LoaderSettings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

using bvtest::TempFolder;

class LoaderSettingsTest : public bvtest::InTempFolder {};

TEST_F(LoaderSettingsTest, ValuesOutsideTheirRangeAreNotTaken)
{
    struct Case {
        const char* name;
        const char* file;
        int first, last, com, sensor;
        const char* usbNr;
    };
    const Case cases[] = {
        {"all good", "First=5\r\nLast=12\r\nCom=10\r\nSensor=14\r\nUsbNr=BV100042\r\n", 5, 12, 10, 14, "BV100042"},
        {"no file values", "", 1, 10, 0, 0, ""},
        {"zero lanes keep the range", "First=0\r\nLast=0\r\n", 1, 10, 0, 0, ""},
        {"first beyond last", "First=20\r\nLast=3\r\n", 1, 10, 0, 0, ""},
        {"lane 100", "First=1\r\nLast=100\r\n", 1, 10, 0, 0, ""},
        {"negative lane", "First=-4\r\nLast=8\r\n", 1, 10, 0, 0, ""},
        {"only Last", "Last=7\r\n", 1, 7, 0, 0, ""},
        {"port 11", "Com=11\r\n", 1, 10, 0, 0, ""},
        {"port -1", "Com=-1\r\n", 1, 10, 0, 0, ""},
        {"unit type 15", "Sensor=15\r\n", 1, 10, 0, 0, ""},
    };
    for (const Case& c : cases) {
        TempFolder::Write("Admin.ini", std::string("[Admin]\r\n") + c.file);
        LoaderSettings s;
        s.Load();
        EXPECT_EQ(s.first, c.first) << c.name;
        EXPECT_EQ(s.last, c.last) << c.name;
        EXPECT_EQ(s.com, c.com) << c.name;
        EXPECT_EQ(s.sensor, c.sensor) << c.name;
        EXPECT_EQ(s.usbNr, c.usbNr) << c.name;
    }
}

TEST_F(LoaderSettingsTest, ANameGivenBeforeStaysAndSavedValuesComeBack)
{
    TempFolder::Write("Admin.ini", "[Admin]\r\nUsbNr=BV100001\r\nOther=1\r\n");
    LoaderSettings given;
    given.usbNr = "BV100077";
    given.Load();
    EXPECT_EQ(given.usbNr, "BV100077");
    given.first = 3;
    given.last = 30;
    given.com = 4;
    given.sensor = 9;
    ASSERT_EQ(given.Save(), 0);
    LoaderSettings again;
    again.Load();
    EXPECT_EQ(again.usbNr, "BV100077");
    EXPECT_EQ(again.first, 3);
    EXPECT_EQ(again.last, 30);
    EXPECT_EQ(again.com, 4);
    EXPECT_EQ(again.sensor, 9);
    EXPECT_NE(TempFolder::Read("Admin.ini").find("Other=1"), std::string::npos);
}

}  // namespace
