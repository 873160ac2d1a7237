// The name page's rows without a window: which lanes are listed, what a
// typed text does to a name record, and that a range folder is never
// given a file or a record it did not have.
#include "remote/names/NameList.h"

#include "tests/remote/RemoteRangeFixture.h"
#include "TempFolder.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(NameTextsTest, TypedTextsAsTheRecordStoresAndShowsThem)
{
    struct Case {
        int column;
        const char* typed;
        const char* shown;
    };
    static const std::string kLong(40, 'n');
    const Case cases[] = {
        {1, "  Nord  Skytter ", "Nord  Skytter"},                        // inner blanks stay
        {1, kLong.c_str(), nullptr},                                     // cut at 30, below
        {2, " Brevandi skytterlag", "Brevandi skytterlag"},
        {3, "Veteran 65 and older", "Veteran 65"},                        // the field holds 10
        {4, "  Junior  ", "Junior"},
        {5, "12,5", "12.50"},
        {5, " 12 ", "12"},
        {5, "-0.5", "-0.50"},
        {5, "-3,25", "-3.25"},
    };
    for (const Case& c : cases) {
        NameRecord record;
        CDataComp::ClearName(record);
        std::strcpy(record.category, "Senior");
        ASSERT_TRUE(NameList::Apply(record, c.column, c.typed));
        std::string shown = NameList::Text(record, c.column);
        if (c.shown)
            EXPECT_EQ(shown, c.shown) << c.typed;
        else
            EXPECT_EQ(shown, std::string(30, 'n'));
        if (c.column == 3)
            EXPECT_EQ(NameList::Text(record, 4), "Senior");  // the class never runs into the category
    }
    NameRecord record;
    CDataComp::ClearName(record);
    NameList::Apply(record, 5, "12,5");
    int stored = record.startScore;
    EXPECT_EQ(stored, 1250);
    EXPECT_FALSE(NameList::Apply(record, 0, "7"));  // the lane is not typed
}

class NameListTest : public bvtest::InTempFolder {
protected:
    NameListTest()
    {
        CBVConfig settings;
        settings.Open(range.Win("BVLeder.BVC"), 1);
        // Lanes 1-2 on COM1, 95 and up on a channel that names lanes past
        // the last a range has; the third channel has no device.
        WriteItem(settings, RangeItems::Channel(0), ChannelSetting{1, 1, 2}.Encode());
        WriteItem(settings, RangeItems::Channel(1), ChannelSetting{2, 95, 250}.Encode());
        WriteItem(settings, RangeItems::Channel(2), ChannelSetting{0, 3, 4}.Encode());
    }
    void ActivateLanes(int comp, std::vector<int> lanes)
    {
        CBVConfig settings;
        settings.Open(range.Win("Comp" + std::to_string(comp) + "\\Comp.Bvc"), 1);
        for (int lane : lanes)
            WriteItem(settings, CompSettings::LaneActive(lane), 1);
    }
    std::vector<int> Lanes() const
    {
        std::vector<int> lanes;
        for (const NameList::Row& row : list.Rows())
            lanes.push_back(row.lane);
        return lanes;
    }
    static std::set<std::string> Listing()
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator("range"))
            names.insert(entry.path().string() + ":" +
                         (entry.is_regular_file() ? bvtest::TempFolder::Read(entry.path().string()) : "d"));
        return names;
    }
    bvtest::RemoteRange range{"range"};
    NameList list;
};

TEST_F(NameListTest, ActiveLanesOfUsedChannelsWithTheRelayOnTheFirst)
{
    range.MakeComp(1, false);
    ActivateLanes(1, {2, 3, 4, 96, 100, 101});
    range.MakeCard(1, 5, 2, "Ola", 2, 0, 0);
    range.MakeCard(1, 5, 100, "Kari", 2, 0, 0);
    range.MakeCard(1, 6, 2, "Per", 2, 0, 0);
    range.MakeCard(1, 5, 2, "Ola", 2, 0, 0);  // relay 5 is on lane 2 now

    EXPECT_EQ(list.Fill(range.Folder(), 1, -1), 5);
    EXPECT_EQ(Lanes(), (std::vector<int>{2, 96, 100}));
    EXPECT_EQ(list.CellText(0, 1), "Ola");
    EXPECT_EQ(list.CellText(2, 1), "Kari");
    EXPECT_EQ(list.Rows()[1].nameRec, 0);  // lane 96 has no card in relay 5
    EXPECT_EQ(list.RowTexts(2), (std::vector<std::string>{"100", "Kari", "Klubben", "", "", "0"}));

    EXPECT_EQ(list.Fill(range.Folder(), 1, 6), 6);
    EXPECT_EQ(list.CellText(0, 1), "Per");
    EXPECT_EQ(list.CellText(2, 1), "");

    // No competition, or one that is not there: nothing listed.
    EXPECT_EQ(list.Fill(range.Folder(), -1, -1), -1);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.Fill(range.Folder(), 9, -1), -1);
    EXPECT_TRUE(list.Rows().empty());
}

TEST_F(NameListTest, WithStartNumbersEveryLaneShowsTheShownStartNumber)
{
    range.MakeComp(1, true);
    ActivateLanes(1, {1, 2});
    range.MakeCard(1, 14, 1, "Nr 14", 2, 0, 0);
    range.MakeCard(1, 15, 2, "Nr 15", 2, 0, 0);
    list.Fill(range.Folder(), 1, 15);
    ASSERT_EQ(Lanes(), (std::vector<int>{1, 2}));
    EXPECT_EQ(list.CellText(0, 1), "Nr 15");
    EXPECT_EQ(list.CellText(1, 1), "Nr 15");
}

TEST_F(NameListTest, EditsOnlyExistingRecordsWhereTheRangeKeepsItsNames)
{
    range.MakeComp(1, false);
    ActivateLanes(1, {1, 2});
    range.MakeCard(1, 1, 1, "Ola", 2, 0, 0);
    list.Fill(range.Folder(), 1, 1);
    EXPECT_EQ(list.CanEdit(0), 0);
    EXPECT_EQ(list.CanEdit(1), 1);  // lane 2: no card, no name record
    EXPECT_EQ(list.CanEdit(5), -1);
    ASSERT_TRUE(list.Store(0, 1, "  Nord  Skytter "));
    EXPECT_EQ(list.CellText(0, 1), "Nord  Skytter");
    EXPECT_FALSE(list.Store(1, 1, "Kari"));

    {
        CBVConfig settings;
        settings.Open(range.Win("BVLeder.BVC"), 1);
        WriteItem(settings, RangeItems::kResultsProgram, 1);
    }
    EXPECT_EQ(list.CanEdit(0), 2);
    EXPECT_FALSE(list.Store(0, 1, "Other"));
    EXPECT_EQ(list.CellText(0, 1), "Nord  Skytter");
    // Clearing needs no particular results program.
    EXPECT_TRUE(list.Clear(0));
    EXPECT_EQ(list.CellText(0, 1), "");
}

TEST_F(NameListTest, AFolderWithoutTheRecordsGetsNone)
{
    range.MakeComp(1, false);
    ActivateLanes(1, {1, 2});
    range.MakeCard(1, 1, 1, "Ola", 2, 0, 0);
    range.MakeCard(1, 1, 2, "Kari", 2, 0, 0);
    list.Fill(range.Folder(), 1, 1);
    ASSERT_NE(list.Rows()[1].nameRec, 0);

    // Name.BVD cut before lane 2's record: that record cannot be read, and
    // is neither written back nor cleared.
    std::filesystem::resize_file("range/Comp1/Name.BVD", 8 + CDataComp::kNameSize);
    EXPECT_FALSE(list.Store(1, 1, "Per"));
    EXPECT_FALSE(list.Clear(1));
    list.ClearRelay();  // lane 1 cleared, lane 2 left
    EXPECT_EQ(std::filesystem::file_size("range/Comp1/Name.BVD"), 8u + CDataComp::kNameSize);
    EXPECT_EQ(list.CellText(0, 1), "");

    // Without Name.BVD and the shooting programs nothing is made, not even
    // by listing.
    std::filesystem::remove("range/Comp1/Name.BVD");
    std::filesystem::remove("range/Program.BVC");
    std::set<std::string> before = Listing();
    list.Fill(range.Folder(), 1, -1);
    EXPECT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.CellText(0, 1), "");
    EXPECT_FALSE(list.Store(0, 1, "Per"));
    EXPECT_FALSE(list.Clear(0));
    list.ClearRelay();
    EXPECT_EQ(Listing(), before);
}

}  // namespace
