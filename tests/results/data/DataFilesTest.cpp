// The record files of BVRes byte for byte, their conversion from older
// layouts and the stop at a newer one.
#include "tests/results/ResultsFixture.h"
#include "platform/files/FileSystem.h"
#include "results/data/DataFileOpen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

using namespace results;
using bvtest::TempFolder;
using restest::Field;
using restest::FileBytes;
using restest::Le;

class DataFilesTest : public restest::CompetitionTest {
protected:
    std::string Records(const std::string& path) { return TempFolder::Read(path).substr(8); }
    std::string Header(const std::string& path) { return TempFolder::Read(path).substr(0, 8); }
    // Writes the bytes at a system path (".\Comp1\X.bvd"); the path on this machine.
    static std::string Lay(const char* systemPath, const std::string& bytes)
    {
        std::string native = std::string(systemPath + 2);
        std::replace(native.begin(), native.end(), '\\', '/');
        TempFolder::Write(native, bytes);
        return native;
    }
};

TEST_F(DataFilesTest, RecordsAreLaidOutAsOtherProgramsReadThem)
{
    CDataEvent& event = Event(1);
    RegRecord entry{};
    entry.relay = 2;
    entry.target = 7;
    entry.startNr = 0x01020304;
    entry.classNr = 3;
    std::strcpy(entry.category, "B");
    entry.paid = 15000;
    entry.startScore = -25;
    entry.changed = 1;
    entry.state = 0x44;
    std::strcpy(entry.comments, "Sen");
    ASSERT_EQ(event.Entries().File().WriteRecKey(&entry), 0);
    EXPECT_EQ(Header("Comp1/Reg1.bvd").substr(4), Le<int16_t>(291) + Le<int16_t>(4));
    EXPECT_EQ(Records("Comp1/Reg1.bvd"), Le<int16_t>(2) + Le<int16_t>(7) + Le<int32_t>(0x01020304) + "\x03" +
                                             Field("B", 11) + Le<int32_t>(15000) + Le<int32_t>(-25) + "\x01" +
                                             Le<int32_t>(0x44) + Field("Sen", 258));

    RankRecord rank{};
    rank.listKind = CDataRank::kGroupList;
    rank.list = 513;
    rank.classNr = 0;
    rank.startNr = 77;
    std::strcpy(rank.rankText, "1/2");
    rank.gift = 1;
    rank.shootOff = 2;
    ASSERT_EQ(event.Ranks().Put(11, 513, 0, 77, rank), 0);
    EXPECT_EQ(Header("Comp1/Rank1.bvd").substr(4), Le<int16_t>(64) + Le<int16_t>(2));
    EXPECT_EQ(Records("Comp1/Rank1.bvd"), "\x0b" + Le<int16_t>(513) + std::string(1, '\0') + Le<int32_t>(77) +
                                              Field("1/2", 32) + Le<int16_t>(1) + Le<int16_t>(2) +
                                              std::string(20, '\0'));

    TeamMemberRecord member{4, CDataTeam::kTeamSlot, 300, -3, 2};
    ASSERT_EQ(comp.TeamMembers().File().WriteRecKey(&member), 0);
    EXPECT_EQ(Header("Comp1/Team.bvd").substr(4), Le<int16_t>(12) + Le<int16_t>(1));
    EXPECT_EQ(Records("Comp1/Team.bvd"), "\x04\x65" + Le<int16_t>(300) + Le<int32_t>(-3) + Le<int32_t>(2));

    ASSERT_EQ(comp.Shooters().Put(1234567, "B-17", "Kari \xc5s", 12, 5, "Jr"), 0);
    EXPECT_EQ(Header("Comp1/Shooter.bvd").substr(4), Le<int16_t>(136) + Le<int16_t>(4));
    EXPECT_EQ(Records("Comp1/Shooter.bvd"), Le<int32_t>(1234567) + Field("Kari \xc5s", 32) + Le<int16_t>(12) + "\x05" +
                                                std::string(4, '\0') + Field("Jr", 11) + Field("B-17", 82));
}

TEST_F(DataFilesTest, StartNumbersAreTheCounterOfAnEmptyFile)
{
    EXPECT_EQ(TempFolder::Read("Comp1/StartNr.bvd"), FileBytes(0, 4, 1));
    EXPECT_EQ(comp.NextStartNumber(), 1);
    EXPECT_EQ(comp.NextStartNumber(), 2);
    EXPECT_EQ(TempFolder::Read("Comp1/StartNr.bvd"), FileBytes(2, 4, 1));
}

TEST_F(DataFilesTest, AnOlderEntryFileIsConvertedAndOpensNextTime)
{
    // Version 3 ended after the state bits.
    std::string old = Le<int16_t>(1) + Le<int16_t>(4) + Le<int32_t>(55) + "\x02" + Field("A", 11) + Le<int32_t>(100) +
                      Le<int32_t>(7) + "\x01" + Le<int32_t>(3);
    ASSERT_EQ(old.size(), 33u);
    TempFolder::Write("Comp1/Reg9.bvd", FileBytes(6, 33, 3, old));
    CDataReg reg;
    EXPECT_EQ(reg.Open(".\\Comp1\\Reg9.bvd"), -1);
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_EQ(TempFolder::Read("Comp1/Reg9.bvd"), FileBytes(6, 291, 4, old + std::string(258, '\0')));
    EXPECT_FALSE(std::filesystem::is_empty("Common"));  // the old file, kept

    EXPECT_GE(reg.Open(".\\Comp1\\Reg9.bvd"), 0);
    RegRecord entry;
    ASSERT_TRUE(reg.Read(1, 4, entry));
    EXPECT_EQ(+entry.startNr, 55);
    EXPECT_EQ(+entry.state, 3);
    EXPECT_EQ(entry.comments[0], '\0');
}

TEST_F(DataFilesTest, AnOlderShooterFileLosesOnlyItsBibNumbers)
{
    // Version 3 had no bib number; whatever lay past the category goes.
    std::string old = Le<int32_t>(15) + Field("Ola", 32) + Le<int16_t>(3) + "\x01" + "junk" + Field("C", 11);
    TempFolder::Write("Comp1/Shooter.bvd", FileBytes(2, 54, 3, old));
    CDataShooter shooters;
    EXPECT_EQ(shooters.Open(".\\Comp1\\Shooter.bvd"), 1);
    EXPECT_EQ(shooters.Open(".\\Comp1\\Shooter.bvd"), 0);
    EXPECT_EQ(shooters.GetName(15), "Ola");
    EXPECT_EQ(shooters.GetClub(15), 3);
    EXPECT_EQ(shooters.GetText(15), "C");
    EXPECT_EQ(shooters.GetBibNr(15), "");
    EXPECT_EQ(Records("Comp1/Shooter.bvd").size(), 136u);
}

TEST_F(DataFilesTest, AnOlderResultFileOpensOnTheNextCall)
{
    TempFolder::Write("Comp1/Res3.bvd", FileBytes(0, 1004, 1, std::string(1004, '\x07')));
    CDataEvent event;
    EXPECT_EQ(event.OpenResults(".\\Comp1\\Res3.bvd"), 1);
    EXPECT_FALSE(event.ResultsOpen());
    EXPECT_EQ(event.OpenResults(".\\Comp1\\Res3.bvd"), 0);
    EXPECT_TRUE(event.ResultsOpen());
    EXPECT_EQ(event.ResultFile().GetRecCount(), 1);
    EXPECT_EQ(Records("Comp1/Res3.bvd"), std::string(1004, '\x07') + std::string(1004, '\0'));
}

TEST_F(DataFilesTest, ANewerFileReachesTheHandlerAndStaysUntouched)
{
    std::vector<std::string> told;
    SetNewerVersionHandler([&](const std::string& path) { told.push_back(path); });
    struct Case {
        const char* path;
        std::string bytes;
        std::function<bool()> open;  // true when it claims the file open
    };
    CDataReg reg;
    CDataRank rank;
    CDataTeam team;
    CDataShooter shooters;
    CDataEvent event;
    const Case cases[] = {
        {".\\Comp1\\Reg5.bvd", FileBytes(1, 300, 5, std::string(300, 'r')),
         [&] { reg.Open(".\\Comp1\\Reg5.bvd"); return reg.IsOpen(); }},
        {".\\Comp1\\Team5.bvd", FileBytes(1, 12, 2, std::string(12, 't')),
         [&] { team.Open(".\\Comp1\\Team5.bvd"); return team.IsOpen(); }},
        {".\\Comp1\\Shooter5.bvd", FileBytes(1, 140, 5, std::string(140, 's')),
         [&] { return shooters.Open(".\\Comp1\\Shooter5.bvd") == 0; }},
        {".\\Comp1\\Res5.bvd", FileBytes(1, 2008, 3, std::string(2008, 'x')),
         [&] { return event.OpenResults(".\\Comp1\\Res5.bvd") == 0; }},
    };
    for (const Case& c : cases) {
        const std::string native = Lay(c.path, c.bytes);
        told.clear();
        EXPECT_FALSE(c.open()) << c.path;
        EXPECT_EQ(told, std::vector<std::string>{c.path});
        EXPECT_EQ(TempFolder::Read(native), c.bytes) << c.path;
    }
    SetNewerVersionHandler(nullptr);
}

// Not a newer program's file, but one no program wrote: named with its fault,
// and left as it is for whoever repairs it.
TEST_F(DataFilesTest, ADamagedFileReachesItsHandlerAndStaysUntouched)
{
    std::vector<std::string> told;
    SetDamagedFileHandler(
        [&](const std::string& path, const std::string& fault) { told.push_back(path + ": " + fault); });
    CDataRank rank;
    CDataTeam team;
    CDataReg reg;
    struct Case {
        const char* path;
        std::string bytes;
        std::function<bool()> open;  // true when it claims the file open
        const char* fault;
    };
    const Case cases[] = {
        {".\\Comp1\\Rank6.bvd", FileBytes(1, 60, 2, std::string(60, 'k')),
         [&] { rank.Open(".\\Comp1\\Rank6.bvd"); return rank.IsOpen(); }, "wrong record size 60"},
        {".\\Comp1\\Team6.bvd", FileBytes(1, 12, 0, std::string(12, 't')),
         [&] { team.Open(".\\Comp1\\Team6.bvd"); return team.IsOpen(); }, "damaged header (version 0, record size 12)"},
        // An older file cut short is not converted: the conversion would keep
        // the records that are left as the whole file.
        {".\\Comp1\\Reg6.bvd", FileBytes(1, 200, 3, std::string(300, 'r')),
         [&] { return reg.Open(".\\Comp1\\Reg6.bvd") >= 0; }, "truncated (last record 100 of 200 bytes)"},
    };
    for (const Case& c : cases) {
        const std::string native = Lay(c.path, c.bytes);
        told.clear();
        EXPECT_FALSE(c.open()) << c.path;
        EXPECT_FALSE(c.open()) << c.path << " the second time";
        const std::string named = std::string(c.path) + ": " + c.fault;
        EXPECT_EQ(told, (std::vector<std::string>{named, named}));
        EXPECT_EQ(TempFolder::Read(native), c.bytes) << c.path;
        EXPECT_FALSE(fs::exists("Common/" + native.substr(native.find('/') + 1))) << c.path << " converted";
    }
    SetDamagedFileHandler(nullptr);
}

TEST_F(DataFilesTest, AnUnreadableFileIsNotMadeAnew)
{
    TempFolder::Write("Comp1/Reg6.bvd", "\x01\x02\x03");
    CDataReg reg;
    EXPECT_EQ(reg.Open(".\\Comp1\\Reg6.bvd"), -1);
    EXPECT_EQ(TempFolder::Read("Comp1/Reg6.bvd"), "\x01\x02\x03");
}

}  // namespace
