// The settings dialog's files and its events and pictures without a window:
// the page rule, slots taken and freed, the folders' nine pieces, the lanes'
// limits, the targets of a picture moving with their rings, and the highest
// picture number.
#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "display/config/ConfigFiles.h"
#include "display/config/EventSlots.h"
#include "display/config/PictureSlots.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"
#include "platform/files/FileSystem.h"

namespace {

using PictureSlots::TargetSlot;

class ConfigLogicTest : public bvtest::InTempFolder {
protected:
    ConfigLogicTest() { files.Open(); }
    CBVConfig& settings() { return files.Settings(); }
    int Int(const ConfigIntItem& item) { return ReadItem(settings(), item); }
    CVisConfigFiles files;
};

TEST_F(ConfigLogicTest, FilesAreMadeAndThePagesOpenAsEventsThenPicturesExist)
{
    EXPECT_TRUE(platform::FileExists("BVVis.bvc"));
    EXPECT_TRUE(platform::FileExists("Profil.bvc"));
    using F = CVisConfigFiles;
    auto allowed = [&] {
        std::string s;
        for (int page = F::kProfiles; page <= F::kUser + 1; ++page)
            s += files.CanShowPage(page) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(allowed(), "001010");
    EventSlots::New(settings());
    EXPECT_EQ(allowed(), "011010");
    PictureSlots::New(files);
    EXPECT_EQ(allowed(), "111110");

    // A picture slot whose in-use value is missing counts as in use: the
    // dialog opens its file.
    {
        CBVConfig other;
        other.Open(".\\BVVis.bvc", 1);
        WriteItem(other, VisItems::kPictureCount, 3);
        WriteItem(other, VisItems::PictureInUse(2, 1), 0);
    }
    CVisConfigFiles again;
    again.Open();
    EXPECT_NE(again.Picture(1), nullptr);
    EXPECT_EQ(again.Picture(2), nullptr);
    EXPECT_NE(again.Picture(3), nullptr);
    EXPECT_TRUE(platform::FileExists("Pict3.bvc"));
}

TEST_F(ConfigLogicTest, EventSlotsAreReusedWithTheirFolderAndLanes)
{
    for (int i = 0; i < 3; ++i)
        EventSlots::New(settings());
    EventSlots::SaveFolder(settings(), 2, "  C:\\Skyting\\Bane2  ");
    EventSlots::SaveFirstLane(settings(), 2, 5);
    EventSlots::SaveLastLane(settings(), 2, 12);

    EventSlots::Delete(settings(), 2);
    EXPECT_EQ(Int(VisItems::kEventCount), 3);
    EventSlots::Delete(settings(), 3);
    EXPECT_EQ(Int(VisItems::kEventCount), 1);
    EXPECT_EQ(EventSlots::New(settings()), 2);
    EXPECT_EQ(Int(VisItems::kEventCount), 2);
    EventSlots::EventRow row = EventSlots::Row(settings(), 2);
    EXPECT_EQ(row.name, "Hold 2");
    EXPECT_EQ(row.folder, "C:\\Skyting\\Bane2");
    EXPECT_EQ(row.firstLane, 5);
    EXPECT_EQ(row.lastLane, 12);
    ASSERT_EQ(EventSlots::Rows(settings()).size(), 2u);

    EventSlots::Delete(settings(), 1);
    EventSlots::Delete(settings(), 2);
    EXPECT_EQ(Int(VisItems::kEventCount), 0);
    EXPECT_TRUE(EventSlots::Rows(settings()).empty());
}

TEST_F(ConfigLogicTest, FoldersAreCutIntoNinePiecesOfThirty)
{
    std::string folder;
    for (int i = 0; i < 300; ++i)
        folder += static_cast<char>('a' + i % 26);
    EventSlots::New(settings());
    EXPECT_EQ(EventSlots::SaveFolder(settings(), 1, folder), folder.substr(0, 270));
    for (int j = 0; j < 9; ++j)
        EXPECT_EQ(std::string(settings().ReadString(3, 1, 570 + j, "?")), folder.substr(30 * j, 30)) << j;
    // A shorter folder empties the later pieces.
    EventSlots::SaveFolder(settings(), 1, "C:\\Bane");
    EXPECT_EQ(std::string(settings().ReadString(3, 1, 571, "?")), "");
    EXPECT_EQ(EventSlots::Row(settings(), 1).folder, "C:\\Bane");
}

TEST_F(ConfigLogicTest, LanesStayWithinOneToAHundred)
{
    const int cases[][2] = {{0, 1}, {1, 1}, {57, 57}, {100, 100}, {101, 100}, {150, 100}, {-3, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(EventSlots::ClampLane(c[0]), c[1]) << c[0];
    EventSlots::New(settings());
    EXPECT_EQ(EventSlots::SaveLastLane(settings(), 1, 150), 100);
    EXPECT_EQ(Int(VisItems::EventLastLane(1)), 100);
}

TEST_F(ConfigLogicTest, PictureSlotsTakeTheFirstFreeOneWithAnEmptyFile)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(PictureSlots::New(files), i + 1);
    EXPECT_EQ(Int(VisItems::kPictureCount), 3);
    CBVConfig& second = *files.Picture(2);
    EXPECT_EQ(ReadItem(second, VisItems::kPictName), "<Nr2>");
    EXPECT_EQ(ReadItem(second, VisItems::PictColour(VisItems::kPlace1)), 0x40C0FF);
    // A picture with a type, options and targets is deleted ...
    WriteItem(second, VisItems::kPictType, 3);
    WriteItem(second, VisItems::kShowClock, 1);
    PictureSlots::AddTarget(second, 7, 1, 2);
    EXPECT_EQ(PictureSlots::Delete(files, 2), PictureSlots::DeleteResult::Deleted);
    EXPECT_EQ(Int(VisItems::kPictureCount), 3);
    EXPECT_EQ(Int(VisItems::PictureInUse(2, 1)), 0);
    EXPECT_TRUE(platform::FileExists("Pict2.bvc"));
    // ... and the new picture in its slot starts from nothing of it.
    EXPECT_EQ(PictureSlots::New(files), 2);
    CBVConfig& fresh = *files.Picture(2);
    EXPECT_EQ(ReadItem(fresh, VisItems::kPictType), 0);
    EXPECT_EQ(ReadItem(fresh, VisItems::kShowClock), 0);
    EXPECT_EQ(ReadItem(fresh, VisItems::SlotLane(1)), 0);
    EXPECT_EQ(ReadItem(fresh, VisItems::kPictName), "<Nr2>");

    // The last slot lowers the count; a picture in a profile stays.
    EXPECT_EQ(PictureSlots::Delete(files, 3), PictureSlots::DeleteResult::Deleted);
    EXPECT_EQ(Int(VisItems::kPictureCount), 2);
    WriteItem(settings(), VisItems::PictureInProfile(1), 1);
    EXPECT_EQ(PictureSlots::Delete(files, 1), PictureSlots::DeleteResult::InProfile);
    EXPECT_NE(files.Picture(1), nullptr);
    EXPECT_EQ(PictureSlots::Delete(files, 3), PictureSlots::DeleteResult::NoPicture);
    ASSERT_EQ(PictureSlots::Rows(files).size(), 2u);
    EXPECT_TRUE(PictureSlots::Rows(files)[0].inProfile);
}

TEST_F(ConfigLogicTest, PictureNumbersStayBelowFiveHundred)
{
    // 498 slots counted (the files of a few made), then the last numbers.
    WriteItem(settings(), VisItems::kPictureCount, 498);
    for (int b = 1; b <= 498; ++b)
        files.OpenPicture(b, false);
    EXPECT_EQ(PictureSlots::New(files), 499);
    const int settingsBefore = Int(VisItems::kPictureCount);
    EXPECT_EQ(PictureSlots::New(files), 0);
    EXPECT_EQ(Int(VisItems::kPictureCount), settingsBefore);
    EXPECT_FALSE(platform::FileExists("Pict500.bvc"));
    EXPECT_EQ(files.Picture(500), nullptr);
    // A freed slot is taken again.
    PictureSlots::Delete(files, 17);
    EXPECT_EQ(PictureSlots::New(files), 17);
}

TEST_F(ConfigLogicTest, TargetsMoveWithTheirRings)
{
    PictureSlots::New(files);
    CBVConfig& pict = *files.Picture(1);
    for (int lane = 5; lane <= 8; ++lane)
        PictureSlots::AddTarget(pict, lane, 1, 0);
    PictureSlots::SetRings(pict, 2, "9X");
    PictureSlots::SetRings(pict, 3, "78");
    PictureSlots::SetRings(pict, 4, "5");
    PictureSlots::SetViewType(pict, 4, 3);

    EXPECT_TRUE(PictureSlots::RemoveTarget(pict, 2));
    EXPECT_EQ(PictureSlots::ReadTargets(pict),
              (std::vector<TargetSlot>{{5, 1, 0, "0123456789X"}, {7, 1, 0, "78"}, {8, 1, 3, "5"}}));
    EXPECT_EQ(ReadItem(pict, VisItems::SlotLane(4)), 0);
    EXPECT_EQ(ReadItem(pict, VisItems::SlotViewType(4)), 0);
    EXPECT_EQ(ReadItem(pict, VisItems::SlotZoom(4)), "0123456789X");
    EXPECT_FALSE(PictureSlots::RemoveTarget(pict, 4));

    // Sort: by event, then kind of panel, then lane; no event counts as the
    // event given.
    PictureSlots::AddTarget(pict, 2, 2, 0);
    PictureSlots::AddTarget(pict, 3, 0, 0);
    PictureSlots::SetRings(pict, 5, "3");
    PictureSlots::SortTargets(pict, 2);
    EXPECT_EQ(PictureSlots::ReadTargets(pict), (std::vector<TargetSlot>{{5, 1, 0, "0123456789X"},
                                                                         {7, 1, 0, "78"},
                                                                         {8, 1, 3, "5"},
                                                                         {2, 2, 0, "0123456789X"},
                                                                         {3, 0, 0, "3"}}));
    PictureSlots::SortTargets(pict, 1);
    EXPECT_EQ(PictureSlots::ReadTargets(pict)[0], (TargetSlot{3, 0, 0, "3"}));

    // Copy to next: the kind and the rings, not the lane or event.
    EXPECT_TRUE(PictureSlots::CopyToNext(pict, 3));
    EXPECT_EQ(PictureSlots::ReadTargets(pict)[3], (TargetSlot{8, 1, 0, "78"}));
    EXPECT_FALSE(PictureSlots::CopyToNext(pict, 5));
}

TEST_F(ConfigLogicTest, ViewFlagsBothWays)
{
    struct Case {
        int flags;
        int nameChoice;
        int back;  // as written again
    };
    const Case cases[] = {
        {0x20017, 0, 0x20017}, {0x1, 1, 0x1}, {0x2, 2, 0x2}, {0x0, 0, 0x3}, {0x9C, 0, 0x9F}, {0x9E, 2, 0x9E}, {0x7FFFFFFF, 0, 0x2009F},
    };
    for (const Case& c : cases) {
        PictureSlots::ViewOptions o = PictureSlots::ViewOptionsOf(c.flags);
        EXPECT_EQ(o.nameChoice, c.nameChoice) << std::hex << c.flags;
        EXPECT_EQ(PictureSlots::PictureFlagsOf(o), c.back) << std::hex << c.flags;
    }
}

}  // namespace
