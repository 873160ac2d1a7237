#include "foundation/files/BVConfig.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProfileStore.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RangeSettingsTest : public bvtest::InTempFolder {};

TEST_F(RangeSettingsTest, AFreshInstallationHasTheDefaultWindows)
{
    platform::MemoryProfileStore empty;
    CRangeSettings settings;
    settings.LoadProfile(empty);
    const CRangeSettings::Profile& p = settings.profile;
    EXPECT_EQ(p.windowX0, 0);
    EXPECT_EQ(p.windowY0, 0);
    EXPECT_EQ(p.windowX1, 800);
    EXPECT_EQ(p.windowY1, 600);
    EXPECT_EQ(p.cardX1, 800);
    EXPECT_EQ(p.cardY1, 600);
    EXPECT_EQ(p.toolOn, 1);
    EXPECT_EQ(p.statusOn, 1);
    EXPECT_EQ(p.tabOn, 1);
    EXPECT_EQ(p.tab, 6);
    EXPECT_EQ(p.lastComp, 1);
    EXPECT_EQ(p.cardDetail, 0);
    EXPECT_EQ(p.language, "");
}

TEST_F(RangeSettingsTest, TheProfileComesBackButLastCompIsNotSaved)
{
    platform::MemoryProfileStore store;
    store.WriteInt("Context", "LastComp", 7);  // the competition choice wrote it
    CRangeSettings settings;
    settings.LoadProfile(store);
    EXPECT_EQ(settings.profile.lastComp, 7);
    settings.profile = CRangeSettings::Profile{};
    settings.profile.tab = 2;
    settings.profile.windowX0 = 10;
    settings.profile.windowY1 = 900;
    settings.profile.cardX1 = 640;
    settings.profile.statusOn = 0;
    settings.profile.cardDetail = 3;
    settings.profile.language = "SE";
    settings.profile.lastComp = 99;
    settings.SaveProfile(store);

    CRangeSettings again;
    again.LoadProfile(store);
    EXPECT_EQ(again.profile.tab, 2);
    EXPECT_EQ(again.profile.windowX0, 10);
    EXPECT_EQ(again.profile.windowY1, 900);
    EXPECT_EQ(again.profile.cardX1, 640);
    EXPECT_EQ(again.profile.statusOn, 0);
    EXPECT_EQ(again.profile.cardDetail, 3);
    EXPECT_EQ(again.profile.language, "SE");
    EXPECT_EQ(again.profile.lastComp, 7);
    EXPECT_EQ(store.GetInt("context", "TOOLON", -1), 1);
}

TEST_F(RangeSettingsTest, OpenConfigMakesTheFileAndReadsTheCurrentCompetition)
{
    CRangeSettings settings;
    settings.OpenConfig();
    EXPECT_TRUE(platform::FileExists("BVLeder.bvc"));
    EXPECT_TRUE(settings.Config().IsOpen());
    EXPECT_EQ(settings.GetCurrentComp(), 0);
    EXPECT_EQ(ReadItem(settings.Config(), RangeItems::kMotor), 1);
    EXPECT_EQ(ReadItem(settings.Config(), RangeItems::kPrintSeriesPerPage), 8);
    EXPECT_EQ(ReadItem(settings.Config(), RangeItems::kPrintZoomLevels), "11111111111");
    EXPECT_EQ(ReadItem(settings.Config(), RangeItems::kNewLaneBandLength), 20);
    WriteItem(settings.Config(), RangeItems::kCurrentCompetition, 3);

    CRangeSettings next;
    next.OpenConfig();
    EXPECT_EQ(next.GetCurrentComp(), 3);
}

TEST_F(RangeSettingsTest, ChannelSettingsAreThreeRawBytes)
{
    struct Case {
        std::string stored;
        int type, first, last;
    } cases[] = {
        {std::string("\x03\x01\x0A", 3), 3, 1, 10},
        {std::string("\x0A\x0B\x64", 3), 10, 11, 100},
        {std::string("\x0C\x01\x14", 3), 12, 1, 20},
        {std::string("\x03\x01", 2), 0, 0, 0},         // fewer than three: not in use
        {std::string("\x03\x01\x0A\x05", 4), 3, 1, 10},
        {"", 0, 0, 0},
    };
    for (const Case& c : cases) {
        ChannelSetting s = ChannelSetting::Decode(c.stored);
        EXPECT_EQ(s.type, c.type);
        EXPECT_EQ(s.firstLane, c.first);
        EXPECT_EQ(s.lastLane, c.last);
        EXPECT_EQ(s.InUse(), c.type != 0);
    }
    EXPECT_EQ((ChannelSetting{3, 1, 10}.Encode()), std::string("\x03\x01\x0A", 3));
    EXPECT_EQ((ChannelSetting{3, 0, 10}.Encode()), "");

    CBVConfig store;
    store.Open("BVLeder.bvc", 1);
    ASSERT_EQ(CRangeSettings::WriteChannel(store, 2, {11, 21, 40}), 0);
    ChannelSetting read = CRangeSettings::ReadChannel(store, 2);
    EXPECT_EQ(read.type, 11);
    EXPECT_EQ(read.firstLane, 21);
    EXPECT_EQ(read.lastLane, 40);
    EXPECT_FALSE(CRangeSettings::ReadChannel(store, 0).InUse());
    EXPECT_EQ(CRangeSettings::UsbDeviceName(42), "BV100042");
}

TEST_F(RangeSettingsTest, LongTextsAreKeptInPiecesOf30)
{
    CBVConfig store;
    store.Open("BVLeder.bvc", 1);
    std::string sponsor = std::string(30, 's') + std::string(15, 't');
    ASSERT_EQ(CRangeSettings::WriteSponsor(store, sponsor), 0);
    EXPECT_EQ(ReadItem(store, RangeItems::kSponsor1), std::string(30, 's'));
    EXPECT_EQ(ReadItem(store, RangeItems::kSponsor2), std::string(15, 't'));
    EXPECT_EQ(CRangeSettings::ReadSponsor(store), sponsor);
    CRangeSettings::WriteSponsor(store, "Kort");
    EXPECT_EQ(CRangeSettings::ReadSponsor(store), "Kort");

    std::string folder = "\\\\server\\share\\" + std::string(80, 'f') + "\\BV\\";
    ASSERT_EQ(CRangeSettings::WriteExchangeFolder(store, folder), 0);
    EXPECT_EQ(CRangeSettings::ReadExchangeFolder(store), folder);
    // A shorter folder afterwards does not end in the old one's tail.
    ASSERT_EQ(CRangeSettings::WriteExchangeFolder(store, ".\\BV\\"), 0);
    EXPECT_EQ(CRangeSettings::ReadExchangeFolder(store), ".\\BV\\");
}

// Every program finds a relative exchange folder where the range control,
// running in the range folder, finds it.
TEST_F(RangeSettingsTest, ARelativeExchangeFolderLiesInTheRangeFolder)
{
    CBVConfig store;
    store.Open("BVLeder.bvc", 1);
    struct Case {
        const char* stored;
        const char* range;
        const char* found;
    };
    for (const Case& c : {Case{"BV", "..\\demo", "..\\demo\\BV\\"}, Case{".\\BV\\", "/srv/range/", "/srv/range/BV\\"},
                          Case{"", "/srv/range", "/srv/range\\"}, Case{".", "range", "range\\"},
                          Case{"C:\\Office\\BV", "range", "C:\\Office\\BV\\"},
                          Case{"\\\\server\\share", "range", "\\\\server\\share\\"}, Case{"/srv/office/BV/", "range", "/srv/office/BV/"},
                          Case{"BV", "", ".\\BV\\"}}) {
        ASSERT_EQ(CRangeSettings::WriteExchangeFolder(store, c.stored), 0);
        EXPECT_EQ(CRangeSettings::ExchangeFolderIn(store, c.range), c.found) << c.stored << " in " << c.range;
    }
}

TEST_F(RangeSettingsTest, TheComputerNameIsWrittenOnlyIntoAnOpenFile)
{
    CBVConfig closed;
    CRangeSettings::WriteComputerName(closed, "RANGE1");
    EXPECT_FALSE(platform::FileExists("BVLeder.bvc"));

    CRangeSettings settings;
    settings.OpenConfig();
    CRangeSettings::WriteComputerName(settings.Config(), "AVERYLONGCOMPUTERNAME");
    EXPECT_EQ(ReadItem(settings.Config(), RangeItems::kComputerName), "AVERYLONGCOMPUT");
    CRangeSettings::WriteComputerName(settings.Config(), "");
    EXPECT_EQ(ReadItem(settings.Config(), RangeItems::kComputerName), "");
}

}  // namespace
