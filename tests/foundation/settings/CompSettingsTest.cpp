#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompOptions.h"
#include "foundation/settings/CompSettings.h"
#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CompOptionsTest, StoredTextsReadAsTheirOptions)
{
    struct Case {
        const char* stored;
        const char* on;  // the positions that are on, as digits of a list
    } cases[] = {
        {CompOptions::kDefault, "1 2 4 5 6 7 13"},
        {"1111", "0 1 2 3"},                                   // shorter: the rest are off
        {"", ""},
        {"0x1Y1", "2 4"},                                      // anything but '1' is off
        {"000000000000000000000000000001", "29"},
        {"1111111111111111111111111111111111", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29"},
    };
    for (const Case& c : cases) {
        CompOptions options(c.stored);
        std::string on;
        for (int i = -1; i <= CompOptions::kLength; ++i)
            if (options.IsOn(i))
                on += (on.empty() ? "" : " ") + std::to_string(i);
        EXPECT_EQ(on, c.on) << c.stored;
        EXPECT_EQ(options.Text().size(), 30u);
        EXPECT_EQ(std::string(options.c_str()), options.Text());
    }
    EXPECT_EQ(CompOptions().Text(), CompOptions::kDefault);
}

TEST(CompOptionsTest, OnlyOptionsWithABoxCanBeSet)
{
    CompOptions options = CompOptions::AllOff();
    EXPECT_EQ(options.Text(), std::string(30, '0'));
    for (int i = -1; i <= 30; ++i)
        options.Set(i, true);
    EXPECT_EQ(options.Text(), "111111111110111100000000000000");
    options.Set(CompOptions::StartNumbers, false);
    EXPECT_FALSE(options.IsOn(CompOptions::StartNumbers));
}

TEST(CompOptionsTest, TheDefaultButtonFollowsTheOrganisation)
{
    struct Case {
        int organisation;
        const char* from;
        const char* expected;
    } cases[] = {
        {CompOptions::Private, "000000000000000000000000000000", "111011110000010000000000000000"},
        {CompOptions::DFS, "000000000001000100000000000000", "111011110001010100000000000000"},  // 11 and 15 unchanged
        {CompOptions::NSF, "000000000000000000000000000000", "111010110000100000000000000000"},
        {CompOptions::ISSF, "111111111111111111111111111111", "111010110001100111111111111111"},
        {CompOptions::NJFF, "000000000000000000000000000000", "111011110010010000000000000000"},
    };
    for (const Case& c : cases) {
        CompOptions options(c.from);
        options.ApplyDefaultButton(c.organisation);
        EXPECT_EQ(options.Text(), c.expected) << c.organisation;
    }
}

TEST(CompOptionsTest, TheTableListsEveryBoxOnceInPositionOrder)
{
    int previous = -1;
    for (const CompOptions::Info& info : CompOptions::Table()) {
        EXPECT_GT(info.position, previous);
        EXPECT_NE(info.position, 11);
        EXPECT_EQ(info.defaultValue, CompOptions::kDefault[info.position]) << info.position;
        EXPECT_EQ(std::string(info.textKey).rfind("IDS_DEFCOMP_", 0), 0u);
        previous = info.position;
    }
    EXPECT_EQ(previous, 15);
}

class CompSettingsTest : public bvtest::InTempFolder {
protected:
    void TearDown() override { platform::SetClock(nullptr); }
};

TEST_F(CompSettingsTest, MissingItemsReadAsTheirDefaults)
{
    CBVConfig store;
    store.Open(".\\Comp.BVC", 1);
    ASSERT_TRUE(store.IsOpen());
    EXPECT_EQ(CompSettings::ReadOptions(store).Text(), CompOptions::kDefault);
    EXPECT_EQ(ReadItem(store, CompSettings::kPrefix), "H1");
    EXPECT_EQ(ReadItem(store, CompSettings::kMarkingTempo), 3);
    EXPECT_EQ(ReadItem(store, CompSettings::kZoomLevel), 8);
    EXPECT_EQ(ReadItem(store, CompSettings::kDecimals), 1);
    EXPECT_EQ(ReadItem(store, CompSettings::kMarkKind), -1);  // the program's series mark decides
    EXPECT_EQ(ReadItem(store, CompSettings::LaneActive(7)), 0);

    ASSERT_EQ(WriteItem(store, CompSettings::kOptions, std::string("0000000000100")), 0);
    CompOptions options = CompSettings::ReadOptions(store);
    EXPECT_TRUE(options.IsOn(CompOptions::StartNumbers));
    EXPECT_FALSE(options.IsOn(CompOptions::RelayChangeAllLanes));
}

TEST_F(CompSettingsTest, TheDescriptionIsSplitInTwoItems)
{
    CBVConfig store;
    store.Open(".\\Comp.BVC", 1);
    struct Case {
        std::string text;
        std::string first, second, read;
    } cases[] = {
        {std::string(30, 'a') + std::string(15, 'b'), std::string(30, 'a'), std::string(15, 'b'),
         std::string(30, 'a') + std::string(15, 'b')},
        {std::string(30, 'a'), std::string(30, 'a'), "", std::string(30, 'a')},
        {"Kort", "Kort", "", "Kort"},
        {std::string(70, 'x'), std::string(30, 'x'), std::string(30, 'x'), std::string(60, 'x')},
    };
    WriteItem(store, CompSettings::kDescription2, std::string("old tail"));
    for (const Case& c : cases) {
        ASSERT_EQ(CompSettings::WriteDescription(store, c.text), 0);
        EXPECT_EQ(ReadItem(store, CompSettings::kDescription1), c.first);
        EXPECT_EQ(ReadItem(store, CompSettings::kDescription2), c.second);
        EXPECT_EQ(CompSettings::ReadDescription(store), c.read);
    }
}

TEST_F(CompSettingsTest, ANewCompetitionCopiesTheOpenOnesSettings)
{
    platform::ManualClock clock;
    clock.now = {2026, 3, 7, 9, 5, 4, 0, 6};
    platform::SetClock(&clock);
    ASSERT_EQ(platform::CreateFolder("Comp2"), 0);
    CBVConfig current;
    current.Open(CompSettings::FileOf(".\\", 2), 1);
    ASSERT_TRUE(current.IsOpen());
    WriteItem(current, CompSettings::kPrefix, std::string("K3"));
    WriteItem(current, CompSettings::kZoomLevel, 5);
    WriteItem(current, CompSettings::kDistance, 15);
    WriteItem(current, CompSettings::kTwinLane, 4);
    WriteItem(current, CompSettings::kOptions, std::string("000000000010"));
    WriteItem(current, CompSettings::kProgram, 150);
    WriteItem(current, CompSettings::kLaneText, std::string("Stopp"));
    WriteItem(current, CompSettings::LaneActive(3), 1);
    WriteItem(current, CompSettings::LaneActive(9), 0);
    WriteItem(current, CompSettings::LaneActive(100), 1);
    WriteItem(current, CompSettings::kDescription1, std::string("not copied"));
    WriteItem(current, CompSettings::kCurrentSeries, 4);
    WriteItem(current, CompSettings::kMarkKind, 2);
    WriteItem(current, CompSettings::kFinalMarkType, 1);

    ASSERT_EQ(CompSettings::CreateCompetition(".\\", 4, current, "Stevne"), 0);
    EXPECT_TRUE(platform::FolderExists("Comp4"));
    CBVConfig made;
    made.Open(".\\Comp4\\Comp.Bvc", 0);
    ASSERT_TRUE(made.IsOpen());
    EXPECT_EQ(ReadItem(made, CompSettings::kName), "Stevne 4");
    EXPECT_EQ(ReadItem(made, CompSettings::kDate), "07.03.2026");
    EXPECT_EQ(ReadItem(made, CompSettings::kPrefix), "K3");
    EXPECT_EQ(ReadItem(made, CompSettings::kZoomLevel), 5);
    EXPECT_EQ(ReadItem(made, CompSettings::kDistance), 15);
    EXPECT_EQ(ReadItem(made, CompSettings::kTwinLane), 4);
    EXPECT_EQ(ReadItem(made, CompSettings::kOptions), "000000000010");  // copied as stored
    EXPECT_EQ(ReadItem(made, CompSettings::kProgram), 150);
    EXPECT_EQ(ReadItem(made, CompSettings::kLaneText), "Stopp");
    // The items it did not have are written with their defaults.
    char value[32];
    EXPECT_STREQ(made.ReadString(2, 1, 2, "missing", value, sizeof value), "3");
    EXPECT_STREQ(made.ReadString(2, 1, 18, "missing", value, sizeof value), "1");
    // Lanes the open competition has, and only those.
    EXPECT_STREQ(made.ReadString(1, 3, 530, "missing", value, sizeof value), "1");
    EXPECT_STREQ(made.ReadString(1, 9, 530, "missing", value, sizeof value), "0");
    EXPECT_STREQ(made.ReadString(1, 100, 530, "missing", value, sizeof value), "1");
    EXPECT_STREQ(made.ReadString(1, 5, 530, "missing", value, sizeof value), "missing");
    // Not copied.
    for (int key : {620, 621, 17, 710, 711})
        EXPECT_STREQ(made.ReadString(2, 1, key, "missing", value, sizeof value), "missing") << key;
}

TEST_F(CompSettingsTest, ANewCompetitionBesideNoOpenOneGetsTheDefaults)
{
    CBVConfig none;  // never opened
    ASSERT_EQ(CompSettings::CreateCompetition(".\\", 0, none, "Trening"), 0);
    CBVConfig made;
    made.Open(CompSettings::FileOf(".\\", 0), 0);
    ASSERT_TRUE(made.IsOpen());
    EXPECT_EQ(ReadItem(made, CompSettings::kName), "Trening 0");
    EXPECT_EQ(ReadItem(made, CompSettings::kOptions), CompOptions::kDefault);
    EXPECT_EQ(ReadItem(made, CompSettings::kPrefix), "H1");
    // The closed file was not read: no failed read in the log.
    EXPECT_EQ(bvtest::TempFolder::Read("BVLog.txt").find("Not open"), std::string::npos)
        << bvtest::TempFolder::Read("BVLog.txt");

    bvtest::TempFolder::Write("Comp5", "a file where the folder should be");
    EXPECT_EQ(CompSettings::CreateCompetition(".\\", 5, none, "Stevne"), -1);
}

}  // namespace
