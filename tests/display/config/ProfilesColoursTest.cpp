// Profiles, colours and the user's settings without a window: places kept
// by their real place when some are left out, the in-profile and event
// marks, the colour presets and the contrasting colour, and the Nettcast
// folders' limit.
#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "display/config/ColourSet.h"
#include "display/config/ConfigFiles.h"
#include "display/config/EventSlots.h"
#include "display/config/PictureSlots.h"
#include "display/config/ProfilePlaces.h"
#include "display/config/UserSettings.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"

namespace {

class ProfileLogicTest : public bvtest::InTempFolder {
protected:
    ProfileLogicTest()
    {
        files.Open();
        for (int e = 0; e < 5; ++e)
            EventSlots::New(files.Settings());
        for (int b = 0; b < 4; ++b)
            PictureSlots::New(files);
    }
    int Mark(int picture) { return ReadItem(files.Settings(), VisItems::PictureInProfile(picture)); }
    int Places(int p) { return ReadItem(files.Profiles(), VisItems::ProfilePlaces(p)); }
    std::string PlaceText(int p)
    {
        std::string s;
        for (const auto& row : ProfilePlaces::Places(files, p))
            s += std::to_string(row.place) + ":" + std::to_string(row.picture) + "/" + std::to_string(row.seconds) +
                 " ";
        return s;
    }
    CVisConfigFiles files;
};

TEST_F(ProfileLogicTest, PlacesAddedAndRemovedKeepTheMarks)
{
    const int p = ProfilePlaces::NewProfile(files.Profiles());
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::ProfileName(p)), "Profil 1");
    ProfilePlaces::AddPicture(files, p, 4);
    ProfilePlaces::AddPicture(files, p, 4);
    EXPECT_EQ(PlaceText(p), "1:4/30 2:4/30 ");
    EXPECT_EQ(Mark(4), 1);
    // One of two places of picture 4 goes: the mark stays; the last: it goes.
    EXPECT_TRUE(ProfilePlaces::RemovePlace(files, p, 1));
    EXPECT_EQ(Mark(4), 1);
    EXPECT_TRUE(ProfilePlaces::RemovePlace(files, p, 1));
    EXPECT_EQ(Mark(4), 0);
    EXPECT_EQ(Places(p), 0);
    EXPECT_FALSE(ProfilePlaces::RemovePlace(files, p, 1));
    EXPECT_EQ(PictureSlots::Delete(files, 4), PictureSlots::DeleteResult::Deleted);

    // Another profile showing the picture keeps the mark.
    const int q = ProfilePlaces::NewProfile(files.Profiles());
    ProfilePlaces::AddPicture(files, p, 2);
    ProfilePlaces::AddPicture(files, q, 2);
    ProfilePlaces::RemovePlace(files, p, 1);
    EXPECT_EQ(Mark(2), 1);
}

TEST_F(ProfileLogicTest, EventsOfThePicturesAreMarked)
{
    CBVConfig& pict = *files.Picture(3);
    for (int e : {2, 2, 5})
        PictureSlots::AddTarget(pict, 1, e, 0);
    const int p = ProfilePlaces::NewProfile(files.Profiles());
    ProfilePlaces::AddPicture(files, p, 3);
    std::string marks;
    for (int e = 1; e <= 5; ++e)
        marks += std::to_string(ReadItem(files.Profiles(), VisItems::ProfileShowsEvent(p, e)));
    EXPECT_EQ(marks, "01001");

    // A picture that became an HTML page counts for nothing when the marks
    // are made again.
    ProfilePlaces::AddPicture(files, p, 1);
    WriteItem(pict, VisItems::kPictType, 2);
    ProfilePlaces::RemovePlace(files, p, 2);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::ProfileShowsEvent(p, 2)), 0);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::ProfileShowsEvent(p, 5)), 0);
}

TEST_F(ProfileLogicTest, ALeftOutPlaceKeepsTheRowsOnTheirOwnPlaces)
{
    const int p = ProfilePlaces::NewProfile(files.Profiles());
    for (int b : {1, 2, 3})
        ProfilePlaces::AddPicture(files, p, b);
    ProfilePlaces::SetSeconds(files.Profiles(), p, 3, 45);
    // Picture 2 is freed behind the page's back: its place is left out.
    WriteItem(files.Settings(), VisItems::PictureInUse(2, 1), 0);
    EXPECT_EQ(PlaceText(p), "1:1/30 3:3/45 ");
    // The second row is place 3: its time and its removal go there.
    const auto rows = ProfilePlaces::Places(files, p);
    ProfilePlaces::SetSeconds(files.Profiles(), p, rows[1].place, 12);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::PlaceSeconds(p, 3)), 12);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::PlaceSeconds(p, 2)), 30);
    ProfilePlaces::RemovePlace(files, p, rows[1].place);
    EXPECT_EQ(Places(p), 2);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::PlacePicture(p, 2)), 2);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::PlacePicture(p, 3)), 0);
    EXPECT_EQ(Mark(3), 0);
    EXPECT_EQ(Mark(1), 1);
}

TEST_F(ProfileLogicTest, FreedProfilesAndTheirPictures)
{
    const int p1 = ProfilePlaces::NewProfile(files.Profiles());
    const int p2 = ProfilePlaces::NewProfile(files.Profiles());
    ProfilePlaces::AddPicture(files, p1, 1);
    EXPECT_FALSE(ProfilePlaces::DeleteProfile(files.Profiles(), p1));
    EXPECT_TRUE(ProfilePlaces::DeleteProfile(files.Profiles(), p2));
    EXPECT_EQ(ProfilePlaces::Profiles(files.Profiles()).size(), 1u);

    // Emptying the name frees the slot with its places; the picture may then
    // be deleted, and a new profile takes the slot without places.
    ProfilePlaces::SaveName(files, p1, "");
    EXPECT_TRUE(ProfilePlaces::Profiles(files.Profiles()).empty());
    EXPECT_EQ(Mark(1), 0);
    EXPECT_EQ(ProfilePlaces::NewProfile(files.Profiles()), 1);
    EXPECT_EQ(ReadItem(files.Profiles(), VisItems::ProfileName(1)), "Profil 1");
    EXPECT_EQ(Places(1), 0);
    EXPECT_EQ(PictureSlots::Delete(files, 1), PictureSlots::DeleteResult::Deleted);
}

TEST(ColourSet, ContrastColour)
{
    struct Case {
        uint32_t colour, fallback;
        bool forced;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x000000, 0x123456, true, 0xFFFFFF},   {0x0000FD, 0, true, 0xFFFFFF},  {0x0000FE, 0, true, 0x000000},
        {0xE0FFFF, 0, true, 0x000000},          {0x000000, 0x123456, false, 0xFFFFFF},
        {0x000081, 0, false, 0xFFFF00},         {0x505050, 0, false, 0xFFFFFF},
        {0x810000, 0, false, 0x00FFFF},         {0x818080, 0x123456, false, 0x123456},
        {0xFFFFFF, 0x654321, false, 0x654321},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColourSet::ContrastColour(c.colour, c.fallback, c.forced), c.expected)
            << std::hex << c.colour << " " << c.forced;
}

TEST_F(ProfileLogicTest, PresetsAndCopyToAll)
{
    CBVConfig& pict = *files.Picture(1);
    // A file without the shot colour reads its default.
    EXPECT_EQ(ColourSet::Read(pict)[VisItems::kShot - 1], 0x00FF00u);
    ColourSet::Colours c = ColourSet::Read(pict);
    c = ColourSet::ApplyPreset(c, 2);
    c[VisItems::kHighlight - 1] = 0x00FFFF;
    c = ColourSet::ApplyPreset(c, 3);
    EXPECT_EQ(c[VisItems::kHighlight - 1], 0x00FFFFu);
    EXPECT_EQ(c[VisItems::kBackground - 1], 0xFFFFFFu);
    EXPECT_EQ(c[VisItems::kOtherPlaces - 1], 0xFFFFFFu);
    c = ColourSet::ApplyPreset(c, 4);
    EXPECT_EQ(c[VisItems::kHighlight - 1], 0xFFFFFFu);
    c = ColourSet::ApplyPreset(c, 5);
    EXPECT_EQ(c[VisItems::kBackground - 1], 0x004000u);

    // Copy to all skips the free slot 2 and writes 1, 3 and 4.
    PictureSlots::Delete(files, 2);
    ColourSet::CopyToAll(files, c);
    for (int b : {1, 3, 4})
        EXPECT_EQ(ColourSet::Read(*files.Picture(b)), c) << b;
    CBVConfig freed;
    freed.Open(".\\Pict2.bvc", 0);
    EXPECT_EQ(ReadItem(freed, VisItems::PictColour(VisItems::kBackground)), 0xFFFFFF);

    // HTML pictures are not the colours page's.
    WriteItem(*files.Picture(3), VisItems::kPictType, 2);
    std::string listed;
    for (const auto& row : ColourSet::Rows(files))
        listed += std::to_string(row.picture);
    EXPECT_EQ(listed, "14");
}

TEST_F(ProfileLogicTest, LanguageCodesAndNettcastFolders)
{
    const std::pair<const char*, int> codes[] = {{"NO", 0}, {"DK", 1}, {"SE", 2}, {"EN", 3},
                                                 {"DE", 4}, {"", 3},  {"US", -1}, {"no", -1}};
    for (const auto& [code, index] : codes)
        EXPECT_EQ(UserSettings::LanguageIndex(code), index) << code;
    EXPECT_EQ(UserSettings::LanguageCode(4), "DE");
    EXPECT_EQ(UserSettings::LanguageCode(-1), "EN");

    CBVConfig& s = files.Settings();
    EXPECT_TRUE(UserSettings::SaveLocalFolder(s, "  C:\\Nettcast\\ut  "));
    EXPECT_EQ(UserSettings::Read(s).localFolder, "C:\\Nettcast\\ut");
    // 271 characters fit the nine keys; 272 do not, and nothing is written.
    const std::string fits(271, 'f');
    EXPECT_TRUE(UserSettings::SaveFtpFolder(s, "   " + fits + "   "));
    EXPECT_EQ(UserSettings::Read(s).ftpFolder, fits);
    EXPECT_FALSE(UserSettings::SaveFtpFolder(s, std::string(272, 'x')));
    EXPECT_FALSE(UserSettings::SaveLocalFolder(s, std::string(300, 'x')));
    EXPECT_EQ(UserSettings::Read(s).ftpFolder, fits);
    EXPECT_EQ(UserSettings::Read(s).localFolder, "C:\\Nettcast\\ut");
}

}  // namespace
