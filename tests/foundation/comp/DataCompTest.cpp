// The competition data: the four record files byte for byte, opening with
// conversion of old layouts, cards and names.
#include "foundation/settings/CompSettings.h"
#include "foundation/comp/DataComp.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "RangeFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using bvtest::Bytes;
using bvtest::RecordHeader;
using bvtest::MakeCard;
using bvtest::MakeShot;
using bvtest::TempFolder;

class DataCompTest : public bvtest::RangeTest {};

// Everything after the change counter: the counter moves with every write.
std::string AfterCounter(const std::string& file) { return file.size() >= 4 ? file.substr(4) : file; }

std::vector<std::string> Backups(const std::string& folder)
{
    return platform::FindFiles(folder, "BVD*.TMP");
}

TEST_F(DataCompTest, NewFilesHaveTheirHeadersAndRecordsTheirLayoutByteForByte)
{
    CDataComp dc;
    OpenComp(dc);
    EXPECT_EQ(TempFolder::Read("Comp1/Active.BVD"), RecordHeader(0, 12, 1));
    EXPECT_EQ(TempFolder::Read("Comp1/Card.BVD"), RecordHeader(0, 54, 2));
    EXPECT_EQ(TempFolder::Read("Comp1/Name.BVD"), RecordHeader(0, 116, 1));
    EXPECT_EQ(TempFolder::Read("Comp1/Shot.BVD"), RecordHeader(0, 13254, 3));
    EXPECT_TRUE(fs::exists("Comp1/Comp.BVC"));
    EXPECT_TRUE(fs::exists("Program.BVC"));

    // A card with every field set.
    CardRecord card = MakeCard(2, 7, 3, 1);
    card.band1 = 4;
    card.band2 = 5;
    card.flaggedShots = 6;
    card.cardValue = -300;
    card.cardValue2 = 0x1234;
    card.targetComp = 9;
    for (int k = 0; k < 14; ++k)
        card.cardData[k] = static_cast<uint8_t>(0xA0 + k);
    card.resultState = 4;
    ASSERT_EQ(dc.GetCard(card, 1), 1);
    Bytes expectedCard(54);
    expectedCard.I16(0, 2).I16(2, 7).U8(4, 3).U8(5, 1).U8(6, 2).U8(7, 4).U8(8, 5).I16(9, 0).I16(11, 0).U8(13, 6);
    expectedCard.I16(14, -300).I16(16, 0x1234).U8(18, 9).U8(33, 4);
    for (int k = 0; k < 14; ++k)
        expectedCard.U8(19 + k, 0xA0 + k);
    EXPECT_EQ(AfterCounter(TempFolder::Read("Comp1/Card.BVD")), AfterCounter(RecordHeader(0, 54, 2)) + expectedCard.str());
    // The lane shows it: lane 7, relay 2, card record 1, counter 0, series state 129.
    EXPECT_EQ(AfterCounter(TempFolder::Read("Comp1/Active.BVD")),
              AfterCounter(RecordHeader(0, 12, 1)) + Bytes(12).I32(0, 7).I16(4, 2).I16(6, 1).I16(8, 0).U8(10, 129).str());

    NameRecord name;
    CDataComp::ClearName(name);
    name.competition = 1;
    name.startNumber = 207;
    std::strcpy(name.name, "Kari Nordmann");
    std::strcpy(name.club, platform::Ansi("Ørsta Skytterlag").c_str());
    std::strcpy(name.cls, "V55");
    std::strcpy(name.category, "Jr");
    name.startScore = 9850;
    ASSERT_EQ(dc.StoreName(2, 7, name), 0);
    Bytes expectedName(116);
    expectedName.I32(0, 1).I32(4, 207).Text(8, "Kari Nordmann").Text(40, platform::Ansi("Ørsta Skytterlag"));
    expectedName.Text(72, "V55").Text(83, "Jr").I32(94, 9850);
    EXPECT_EQ(AfterCounter(TempFolder::Read("Comp1/Name.BVD")), AfterCounter(RecordHeader(0, 116, 1)) + expectedName.str());

    // A shot with every field set; the store gives it its counting series.
    ShotRecord shot = MakeShot(0x81, 1090, -12345, 67890, 1);
    shot.flags = 0x0481;
    shot.radius = 69004;
    shot.data17 = 0x17;
    shot.temperature = 2150;
    shot.displayPos = 3;
    shot.century = 20, shot.year = 26, shot.month = 6, shot.day = 1;
    shot.hour = 12, shot.minute = 34, shot.second = 56, shot.hundredths = 78;
    shot.shotAt = 123456;
    shot.sensorA = 30, shot.sensorB = 31, shot.sensorC = 32, shot.sensorD = 33;
    shot.data41 = 41, shot.data42 = 42, shot.data43 = 43, shot.data44 = 44;
    shot.data45 = -4545;
    shot.sensorSet = 5;
    ASSERT_EQ(dc.AddShot(2, 7, shot, nullptr, 10, 0), 1);
    Bytes list(13254);
    list.I32(0, 2);  // 1 returned, the file one ahead
    const size_t s = 4;
    list.U8(s + 0, 128).I16(s + 1, 0x0481).I32(s + 3, -12345).I32(s + 7, 67890).I32(s + 11, 69004);
    list.I16(s + 15, 1090).U8(s + 17, 0x17).I16(s + 18, 2150).U8(s + 20, 0).U8(s + 21, 1).U8(s + 22, 3);
    list.U8(s + 23, 20).U8(s + 24, 26).U8(s + 25, 6).U8(s + 26, 1).U8(s + 27, 12).U8(s + 28, 34).U8(s + 29, 56);
    list.U8(s + 30, 78).I32(s + 31, 123456).U8(s + 35, 0x81).U8(s + 36, 1);
    list.U8(s + 37, 30).U8(s + 38, 31).U8(s + 39, 32).U8(s + 40, 33);
    list.U8(s + 41, 41).U8(s + 42, 42).U8(s + 43, 43).U8(s + 44, 44).I16(s + 45, -4545).U8(s + 47, 5);
    EXPECT_EQ(AfterCounter(TempFolder::Read("Comp1/Shot.BVD")), AfterCounter(RecordHeader(0, 13254, 3)) + list.str());

    // The comment and the word after it, written with the shots.
    ShotListRecord edited;
    ASSERT_EQ(dc.ReadShots(2, 7, edited), 0);
    std::strcpy(edited.comment, "Skive byttet\r\nbane 3");
    edited.reserved = 0x0102;
    ASSERT_EQ(dc.WriteShots(2, 7, edited), 3);
    list.I32(0, 3).Text(13004, "Skive byttet\r\nbane 3").I16(13252, 0x0102);
    EXPECT_EQ(AfterCounter(TempFolder::Read("Comp1/Shot.BVD")), AfterCounter(RecordHeader(0, 13254, 3)) + list.str());

    // The card points at its shot list and its name.
    expectedCard.I16(9, 1).I16(11, 1);
    EXPECT_EQ(AfterCounter(TempFolder::Read("Comp1/Card.BVD")), AfterCounter(RecordHeader(0, 54, 2)) + expectedCard.str());
}

// A version-1 shot file: counter and 250 shots of 40 bytes per list.
Bytes OldShot(Bytes b, size_t at, unsigned state28, int series)
{
    b.I32(at + 0, 1000).I32(at + 4, -2000).I32(at + 8, 2236).U8(at + 12, 0x33).I16(at + 14, 0xBEEF - 0x10000);
    b.I16(at + 16, 2150).U8(at + 18, 1).U8(at + 19, 2).U8(at + 20, 20).U8(at + 21, 26).U8(at + 22, 6).U8(at + 23, 1);
    b.U8(at + 24, 12).U8(at + 25, 0).U8(at + 26, 5).U8(at + 27, 50).U8(at + 28, state28).U8(at + 29, series);
    b.U8(at + 30, series).U8(at + 31, 95).U8(at + 32, 30).U8(at + 33, 31).U8(at + 34, 32).U8(at + 35, 255);
    b.U8(at + 36, 0x85).U8(at + 37, 0x3C).I16(at + 38, 0x8001 - 0x10000);
    return b;
}

// The same shot in today's layout.
Bytes NewShot(Bytes b, size_t at, unsigned state, unsigned flags, int series)
{
    b.U8(at + 0, state).I16(at + 1, static_cast<int>(flags)).I32(at + 3, 1000).I32(at + 7, -2000).I32(at + 11, 2236);
    b.I16(at + 15, 950).U8(at + 17, 0x33).I16(at + 18, 2150).U8(at + 20, 0).U8(at + 21, 1).U8(at + 22, 2);
    b.U8(at + 23, 20).U8(at + 24, 26).U8(at + 25, 6).U8(at + 26, 1).U8(at + 27, 12).U8(at + 28, 0).U8(at + 29, 5);
    b.U8(at + 30, 50).I32(at + 31, 0xBEEF).U8(at + 35, series).U8(at + 36, series);
    b.U8(at + 37, 30).U8(at + 38, 31).U8(at + 39, 32).U8(at + 40, 255);
    b.U8(at + 41, 0x05).U8(at + 42, 0).U8(at + 43, 0x03).U8(at + 44, 0x85).I16(at + 45, 0x8001 - 0x10000);
    return b;
}

TEST_F(DataCompTest, VersionOneAndTwoShotFilesAreConvertedInTheirOwnFolder)
{
    // Version 1: slot 0 a shot, slot 1 garbage without a series (dropped),
    // slots 2 to 4 the other state marks.
    Bytes v1(4 + 250 * 40);
    v1.I32(0, 5);
    v1 = OldShot(v1, 4 + 0 * 40, 0x01, 2);
    v1.U8(4 + 1 * 40 + 5, 0x77).U8(4 + 1 * 40 + 28, 0x01);
    v1 = OldShot(v1, 4 + 2 * 40, 0x20, 1);
    v1 = OldShot(v1, 4 + 3 * 40, 0x02, 1);
    v1 = OldShot(v1, 4 + 4 * 40, 0x00, 3);
    const std::string oldV1 = RecordHeader(77, 10004, 1) + v1.str() + Bytes(10004).I32(0, -1).str();

    // The flags: the old byte 28, bit 15 of the old word at 38 (0x0200), the
    // turned bit of byte 36 (0x0004), the frame (0x0008) and 0x0100 of byte 37.
    const unsigned extra = 0x0200 | 0x0004 | 0x0008 | 0x0100;
    Bytes v3(13254);
    v3.I32(0, 5);
    v3 = NewShot(v3, 4 + 0 * 52, 128, 0x01 | extra, 2);
    v3 = NewShot(v3, 4 + 2 * 52, 32, 0x20 | extra, 1);
    v3 = NewShot(v3, 4 + 3 * 52, 16, 0x02 | extra, 1);
    v3 = NewShot(v3, 4 + 4 * 52, 128, 0x00 | extra, 3);
    const std::string newV1 = RecordHeader(77, 13254, 3) + v3.str() + Bytes(13254).I32(0, -1).str();

    // Version 2: today's shots without the comment.
    Bytes v2(13004);
    v2.I32(0, 9);
    for (size_t i = 4; i < 13004; i += 7)
        v2.U8(i, static_cast<unsigned>(i * 13));
    const std::string oldV2 = RecordHeader(12, 13004, 2) + v2.str();
    const std::string newV2 = RecordHeader(12, 13254, 3) + v2.str() + std::string(250, '\0');

    struct Case {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {{"version 1", oldV1, newV1}, {"version 2", oldV2, newV2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all("Comp1");
        fs::create_directories("Comp1");
        TempFolder::Write("Comp1/Shot.BVD", c.before);
        std::vector<std::string> asked;
        CDataComp dc;
        dc.confirmConversion = [&](const std::string& text) {
            asked.push_back(text);
            return true;
        };
        EXPECT_EQ(dc.Open(1, 1), 0);
        EXPECT_TRUE(dc.ShotFile().IsOpen());
        EXPECT_EQ(asked, std::vector<std::string>{"Shot.bvd will be converted"});
        EXPECT_EQ(TempFolder::Read("Comp1/Shot.BVD"), c.after);
        // The old file stays as a backup beside it; nothing goes elsewhere.
        std::vector<std::string> backups = Backups("Comp1");
        ASSERT_EQ(backups.size(), 1u);
        EXPECT_EQ(TempFolder::Read("Comp1/" + backups[0]), c.before);
        EXPECT_FALSE(fs::exists("Common"));
        // The store works on the converted file.
        ShotListRecord list;
        ASSERT_EQ(dc.ShotFile().ReadRecDirect(1, &list), 0);
        EXPECT_EQ(+list.updateCounter, c.before == oldV1 ? 5 : 9);
    }
}

TEST_F(DataCompTest, LayoutsThisProgramCannotReadAreReportedAndLeftClosed)
{
    const std::string oldShots = RecordHeader(1, 10004, 1) + Bytes(10004).str();
    struct Case {
        const char* name;
        const char* file;
        std::string bytes;
        uint8_t create;
        bool answer;
        std::vector<std::string> asked;
        std::vector<std::string> reported;
        bool shotOpen;
    } cases[] = {
        {"old shots, reader", "Shot.BVD", oldShots, 0, true, {}, {"Shot.bvd and program versions are incompatible"}, false},
        {"old shots, Cancel", "Shot.BVD", oldShots, 1, false, {"Shot.bvd will be converted"}, {}, false},
        {"newer shots", "Shot.BVD", RecordHeader(1, 13254, 4), 1, true, {}, {"Shot.bvd and program versions are incompatible"}, false},
        {"newer active", "Active.BVD", RecordHeader(1, 12, 2), 0, true, {}, {"Active.bvd and program versions are incompatible"}, true},
        // A reader (display, remote program) never rewrites the range's files.
        {"old active, reader", "Active.BVD", RecordHeader(1, 12, 0), 0, true, {}, {"Active.bvd and program versions are incompatible"}, true},
        {"newer names", "Name.BVD", RecordHeader(1, 116, 2), 1, true, {}, {"Name.bvd and program versions are incompatible"}, true},
        {"old names", "Name.BVD", RecordHeader(1, 100, 0), 1, true, {}, {"Name.bvd and program versions are incompatible"}, true},
        {"old cards, reader", "Card.BVD", RecordHeader(1, 52, 1), 0, true, {}, {"Card.bvd and program versions are incompatible"}, true},
        {"old cards, Cancel", "Card.BVD", RecordHeader(1, 52, 1), 1, false, {"Card.bvd will be converted"}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all("Comp1");
        fs::create_directories("Comp1");
        // The other files of a working competition.
        {
            CDataComp maker;
            OpenComp(maker);
        }
        TempFolder::Write(std::string("Comp1/") + c.file, c.bytes);
        std::vector<std::string> asked, reported;
        CDataComp dc;
        dc.confirmConversion = [&](const std::string& text) {
            asked.push_back(text);
            return c.answer;
        };
        dc.reportIncompatible = [&](const std::string& text) { reported.push_back(text); };
        int rc = dc.Open(1, c.create);  // the program goes on whatever the files hold
        EXPECT_EQ(rc == 0, c.shotOpen) << rc;
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(reported, c.reported);
        EXPECT_EQ(TempFolder::Read(std::string("Comp1/") + c.file), c.bytes);  // untouched
        EXPECT_TRUE(Backups("Comp1").empty());
        EXPECT_TRUE(dc.IsOpen());  // the readable files serve
    }
}

TEST_F(DataCompTest, OldActiveAndCardFilesAreConvertedWithTheirRecords)
{
    // An active file of version 0 is converted without a question, in the
    // competition's folder (a range folder has no Common folder); a card
    // file of version 1 after the question, each record padded with zeros.
    const std::string activeRecord = Bytes(12).I32(0, 4).I16(4, 1).I16(6, 1).I16(8, 3).U8(10, 130).str();
    TempFolder::Write("Comp1/Active.BVD", RecordHeader(6, 12, 0) + activeRecord);
    const std::string oldCard = Bytes(52).I16(0, 1).I16(2, 4).U8(4, 3).U8(33, 2).U8(51, 0x5A).str();
    TempFolder::Write("Comp1/Card.BVD", RecordHeader(8, 52, 1) + oldCard);
    CDataComp dc;
    int asked = 0;
    dc.confirmConversion = [&](const std::string& text) {
        ++asked;
        return text == "Card.bvd will be converted";
    };
    EXPECT_EQ(dc.Open(1, 1), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(TempFolder::Read("Comp1/Active.BVD"), RecordHeader(6, 12, 1) + activeRecord);
    EXPECT_EQ(TempFolder::Read("Comp1/Card.BVD"), RecordHeader(8, 54, 2) + oldCard + std::string(2, '\0'));
    EXPECT_EQ(Backups("Comp1").size(), 2u);
    EXPECT_FALSE(fs::exists("Common"));
    CardRecord card = MakeCard(1, 4);
    EXPECT_EQ(dc.GetCard(card, 0), 0);
    EXPECT_EQ(+card.targetType, 3);
    EXPECT_EQ(+card.resultState, 2);
}

TEST_F(DataCompTest, OpeningAgainAndAnotherCompetition)
{
    CDataComp dc;
    OpenComp(dc);
    EXPECT_FALSE(dc.StartNumberMode());
    CompOptions options;
    options.Set(CompOptions::StartNumbers, true);
    ASSERT_EQ(CompSettings::WriteOptions(dc.CompConfig(), options), 0);
    EXPECT_EQ(dc.Open(1, 1), 0);  // the same competition: the options are read again
    EXPECT_TRUE(dc.StartNumberMode());
    OpenComp(dc, 2);
    EXPECT_EQ(dc.GetComp(), 2);
    EXPECT_FALSE(dc.StartNumberMode());
    EXPECT_TRUE(fs::exists("Comp2/Card.BVD"));
}

TEST_F(DataCompTest, GetCardMakesOneCardAndPointsTheLaneAtIt)
{
    CDataComp dc;
    OpenComp(dc);
    CardRecord card = MakeCard(3, 5);
    EXPECT_EQ(dc.GetCard(card, 0), -1);  // missing, and not to be made
    EXPECT_EQ(dc.CardFile().GetRecCount(), 0);
    EXPECT_EQ(dc.GetCard(card, 1), 1);
    EXPECT_EQ(+card.shotRec, 0);
    EXPECT_EQ(+card.nameRec, 0);
    const int32_t activeCounter = dc.ActiveFile().Header().changeCounter;
    CardRecord again = MakeCard(3, 5, 9);
    EXPECT_EQ(dc.GetCard(again, 1), 0);
    EXPECT_EQ(+again.targetType, 3);  // the stored card, not the one asked with
    // The lane already showed it: its ActiveRecord is not written again.
    dc.ActiveFile().CacheVerify(0);
    EXPECT_EQ(dc.ActiveFile().Header().changeCounter, activeCounter);

    // Another relay on the lane: the lane now shows that card.
    CardRecord next = MakeCard(4, 5);
    EXPECT_EQ(dc.GetCard(next, 1), 1);
    ActiveRecord active;
    ASSERT_EQ(dc.ReadActive(5, active), 0);
    EXPECT_EQ(+active.relay, 4);
    EXPECT_EQ(+active.cardRec, 2);
    EXPECT_EQ(+active.changeCounter, 0);
    EXPECT_EQ(+active.seriesState, 129);
    EXPECT_EQ(dc.CardFile().GetRecCount(), 2);

    // Lanes are 1 to 100.
    for (int lane : {0, 101, -3, 1000}) {
        CardRecord bad = MakeCard(1, lane);
        EXPECT_EQ(dc.GetCard(bad, 1), -1) << lane;
    }
    CardRecord last = MakeCard(1, 100);
    EXPECT_EQ(dc.GetCard(last, 1), 1);
    EXPECT_EQ(dc.ReadActive(100, active), 0);
    EXPECT_EQ(dc.CardFile().GetRecCount(), 3);
}

// A card made for a relay that is not on the line: found or made like
// GetCard's, but no lane is pointed at it.
TEST_F(DataCompTest, FindOrMakeCardLeavesTheLanesAlone)
{
    CDataComp dc;
    OpenComp(dc);
    CardRecord shown = MakeCard(3, 5);
    ASSERT_EQ(dc.GetCard(shown, 1), 1);
    const int32_t activeCounter = dc.ActiveFile().Header().changeCounter;
    CardRecord later = MakeCard(4, 5, 9);
    EXPECT_EQ(dc.FindOrMakeCard(later), 1);
    EXPECT_EQ(+later.lane, 5);
    CardRecord again = MakeCard(4, 5, 2);
    EXPECT_EQ(dc.FindOrMakeCard(again), 0);
    EXPECT_EQ(+again.targetType, 9);  // the stored card
    EXPECT_EQ(dc.CardFile().GetRecCount(), 2);
    // Lane 5 still shows relay 3's card; no lane shows relay 4's.
    dc.ActiveFile().CacheVerify(0);
    EXPECT_EQ(dc.ActiveFile().Header().changeCounter, activeCounter);
    ActiveRecord active;
    ASSERT_EQ(dc.ReadActive(5, active), 0);
    EXPECT_EQ(+active.relay, 3);
    EXPECT_EQ(+active.cardRec, 1);
    CardRecord bad = MakeCard(4, 101);
    EXPECT_EQ(dc.FindOrMakeCard(bad), -1);
}

TEST_F(DataCompTest, InStartNumberModeTheCardIsKeptByStartNumber)
{
    {
        CDataComp maker;
        OpenComp(maker);
        CompOptions options;
        options.Set(CompOptions::StartNumbers, true);
        CompSettings::WriteOptions(maker.CompConfig(), options);
    }
    CDataComp dc;
    OpenComp(dc);
    CardRecord card = MakeCard(17, 5);
    EXPECT_EQ(dc.GetCard(card, 1), 1);
    EXPECT_EQ(+card.relay, 17);
    EXPECT_EQ(+card.lane, 5);  // the caller's lane comes back
    CardRecord stored;
    ASSERT_EQ(dc.CardFile().ReadRec(1, &stored), 0);
    EXPECT_EQ(+stored.relay, 17);
    EXPECT_EQ(+stored.lane, 0);
    ActiveRecord active;
    ASSERT_EQ(dc.ReadActive(5, active), 0);
    EXPECT_EQ(+active.relay, 17);
    EXPECT_EQ(+active.cardRec, 1);
    // The same start number on another lane is the same card.
    CardRecord moved = MakeCard(17, 8);
    EXPECT_EQ(dc.GetCard(moved, 1), 0);
    ShotRecord shot = MakeShot(1, 1000, 0, 0);
    EXPECT_GT(dc.AddShot(17, 8, shot, nullptr, 10, 0), 0);
    ShotListRecord list;
    EXPECT_EQ(dc.ReadShots(17, 5, list), 0);
    EXPECT_EQ(+list.shots[0].value, 1000);
}

TEST_F(DataCompTest, GetCardReportsACardItCouldNotWrite)
{
    {
        CDataComp maker;
        OpenComp(maker);
        CardRecord card = MakeCard(5, 6);
        ASSERT_EQ(maker.GetCard(card, 1), 1);
    }
    const std::string cards = TempFolder::Read("Comp1/Card.BVD");
    // A reader program has the files read-only: it finds cards, but asking
    // it to make one fails, and says so.
    CDataComp reader;
    reader.Open(1, 0);
    CardRecord found = MakeCard(5, 6, 0);
    EXPECT_EQ(reader.GetCard(found, 0), 0);
    EXPECT_EQ(+found.targetType, 3);
    CardRecord card = MakeCard(2, 3);
    EXPECT_LT(reader.GetCard(card, 1), 0);
    EXPECT_EQ(+card.relay, 0);
    EXPECT_EQ(TempFolder::Read("Comp1/Card.BVD"), cards);

    // A full disk: the file may not grow.
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        CDataComp writer;
        if (writer.Open(1, 1) != 0)
            _exit(10);
        rlimit limit{static_cast<rlim_t>(platform::FileSize("Comp1/Card.BVD")), RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        CardRecord c = MakeCard(2, 3);
        int rc = writer.GetCard(c, 1);
        _exit(rc == -2 && c.relay == 0 ? 0 : 20 + rc);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(TempFolder::Read("Comp1/Card.BVD"), cards);
}

TEST_F(DataCompTest, NamesAreStoredOnTheCardAndDeleted)
{
    CDataComp dc;
    OpenComp(dc);
    NameRecord name;
    CDataComp::ClearName(name);
    std::strcpy(name.name, "Ola");
    EXPECT_EQ(dc.StoreName(1, 4, name), -1);  // no card
    EXPECT_EQ(dc.DeleteName(1, 4), -1);
    CardRecord card = MakeCard(1, 4);
    ASSERT_EQ(dc.GetCard(card, 1), 1);
    EXPECT_EQ(dc.DeleteName(1, 4), -1);  // a card without a name
    ASSERT_EQ(dc.StoreName(1, 4, name), 0);
    std::strcpy(name.name, "Ola Nordmann");
    ASSERT_EQ(dc.StoreName(1, 4, name), 0);  // over the same record
    EXPECT_EQ(dc.NameFile().GetRecCount(), 1);
    ASSERT_EQ(dc.GetCard(card, 0), 0);
    NameRecord read;
    ASSERT_EQ(dc.ReadName(card, read), 0);
    EXPECT_STREQ(read.name, "Ola Nordmann");

    ActiveRecord before;
    ASSERT_EQ(dc.ReadActive(4, before), 0);
    EXPECT_EQ(dc.DeleteName(1, 4), 0);
    ASSERT_EQ(dc.ReadName(card, read), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&read), sizeof read), std::string(sizeof read, '\0'));
    ActiveRecord after;
    ASSERT_EQ(dc.ReadActive(4, after), 0);
    EXPECT_EQ(+after.changeCounter, before.changeCounter + 1);  // the readers see the lane changed
}

}  // namespace
