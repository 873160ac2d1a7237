// The export half of an exchange run: name files, start numbers in the
// result files, the Q-NET name column file, the KME start list with its
// marker, and the sponsor texts; an entry's changed flag cleared only once
// its names are out.
#include "tests/results/ExchangeFixture.h"
#include "platform/files/ArchiveFlag.h"
#include "results/registers/DataClub.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

using namespace results;
using Log = std::vector<std::string>;

class NameExportTest : public restest::ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        ::WriteItem(comp.Comp(), CompItems::ClassName(1), "V55");
        ::WriteItem(comp.Comp(), CompItems::ClassName(2), "Senior");
        ::WriteItem(comp.Comp(), CompItems::kOrgType, 1);
        // Club 12 of organisation 1.
        CDataClub clubs;
        clubs.LoadClubs(1);
        ClubRecord club{};
        SetFieldText(club.name, sizeof club.name, "Bygdelaget");
        ASSERT_EQ(clubs.Put(&club, 12, CDataClub::kClubs), 0);
        ASSERT_EQ(comp.Shooters().Put(101, "", "Kari Nordmann", 12, 1, ""), 0);
        ASSERT_EQ(comp.Shooters().Put(102, "", platform::Ansi("Per Ås"), 0, 2, ""), 0);
    }
};

TEST_F(NameExportTest, NameFilesAndStartNumbers)
{
    ExchangeEvent(1, 1, "H1", {{3, 3}}, 2);
    ::WriteItem(comp.Exch(), ExchItems::StartScore(1), 99);
    PutEntry(1, 1, 3, 101, 1, 955, 1, "B");
    PutEntry(1, 2, 4, 102, 0, -5, 2);
    PutEntry(1, 2, 5, 0, 1);  // the shooter moved away: a free target
    // What the range control wrote already stays; its "unread" mark too.
    RangeWrites("H1R00103.TXT", {{"Res", "Ser1", "90"}, {"Def", "StartNr", "77"}});
    platform::SetArchiveFlag(".\\BV\\H1R00103.TXT", false);
    RangeWrites("H1R00204.TXT", {{"Res", "Ser1", "90"}});
    EXPECT_EQ(Run(*Reader()), "1:2:2");  // the event is new: every file read, every name out

    EXPECT_EQ(Read("BV/N00101.TXT"), "[Shooter]\r\nClub=Bygdelaget\r\nName=Kari Nordmann\r\nClass=V55\r\nCat=B\r\n"
                                     "[H1]\r\nClass=V55\r\nCat=B\r\nStart=95.5\r\n");
    EXPECT_EQ(Read("BV/N00102.TXT"),
              platform::Ansi("[Shooter]\r\nClub=\r\nName=Per Ås\r\nClass=Senior\r\nCat=\r\n[H1]\r\nClass=Senior\r\n"
                             "Cat=\r\nStart=-0.5\r\n"));
    EXPECT_FALSE(Exists("BV/N00000.TXT"));
    EXPECT_EQ(Read("BV/H1R00103.TXT"), "[Res]\r\nSer1=90\r\n[Def]\r\nStartNr=101\r\n");
    EXPECT_FALSE(platform::HasArchiveFlag(".\\BV\\H1R00103.TXT"));
    EXPECT_EQ(Read("BV/H1R00204.TXT"), "[Res]\r\nSer1=90\r\n[Def]\r\nStartNr=102\r\n");
    EXPECT_FALSE(platform::HasArchiveFlag(".\\BV\\H1R00204.TXT"));  // read by this run
    // The free target's file is made, holding start number 0 for the range control.
    EXPECT_EQ(Read("BV/H1R00205.TXT"), "[Def]\r\nStartNr=0\r\n");
    EXPECT_FALSE(platform::HasArchiveFlag(".\\BV\\H1R00205.TXT"));
    EXPECT_EQ(+Entry(1, 1, 3).changed, 0);
    EXPECT_EQ(+Entry(1, 2, 5).changed, 1);
    TakeLog();
}

TEST_F(NameExportTest, OnlyChangedEntriesGoOutAgain)
{
    ExchangeEvent(1, 1, "H1", {{3, 3}}, 2);
    PutEntry(1, 1, 3, 101, 1);
    PutEntry(1, 2, 4, 102, 1);
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:0:2");
    EXPECT_EQ(TakeLog(), (Log{"2 skyttere lagt ut for ulike lag"}));
    EXPECT_EQ(Run(*worker), "1:0:0");
    // A worker new to the event sends every name; a file that says it
    // already is not written again.
    struct stat before {}, after {};
    ASSERT_EQ(::stat("BV/N00101.TXT", &before), 0);
    EXPECT_EQ(Run(*Reader()), "1:0:2");
    ASSERT_EQ(::stat("BV/N00101.TXT", &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    TakeLog();
    std::filesystem::remove("BV/N00101.TXT");
    std::filesystem::remove("BV/N00102.TXT");
    PutEntry(1, 2, 4, 102, 1, 0, 2, "X");
    EXPECT_EQ(Run(*worker), "1:0:1");
    EXPECT_FALSE(Exists("BV/N00101.TXT"));
    EXPECT_NE(Read("BV/N00102.TXT").find("Cat=X"), std::string::npos);
    EXPECT_EQ(TakeLog(), (Log{"1 skyttere lagt ut for lag 2"}));
    // The start number in a result file the range control made anew comes back.
    std::filesystem::remove("BV/H1R00103.TXT");
    ::WriteItem(comp.Exch(), ExchItems::kReadNow, 1);
    EXPECT_EQ(Run(*worker), "1:0:2");
    EXPECT_EQ(Read("BV/H1R00103.TXT"), "[Def]\r\nStartNr=101\r\n");
}

TEST_F(NameExportTest, ANameFileNotWrittenIsSentAgain)
{
    ExchangeEvent(1, 1, "H1", {{3, 3}});
    PutEntry(1, 1, 3, 101, 1);
    std::filesystem::create_directories("BV/N00101.TXT");  // in the way of the file
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:0:0");
    EXPECT_EQ(+Entry(1, 1, 3).changed, 1);
    std::filesystem::remove("BV/N00101.TXT");
    PutEntry(1, 1, 3, 101, 1);  // the entry screen touches it, so the worker looks again
    EXPECT_EQ(Run(*worker), "1:0:1");
    EXPECT_EQ(+Entry(1, 1, 3).changed, 0);
    EXPECT_TRUE(Exists("BV/N00101.TXT"));
}

TEST_F(NameExportTest, StartScoreFromASubEvent)
{
    ExchangeEvent(1, 1, "H1", {{3, 3}, {3, 3}});
    CBVConfig& s = comp.GetEvent(1)->Settings();
    ::WriteItem(s, EventItems::SubSeries(1), std::string("\x01\x02", 2));
    ::WriteItem(comp.Comp(), CompItems::EventSubEvents(1), 1);
    ::WriteItem(comp.Exch(), ExchItems::StartScore(1), 1);
    PutEntry(1, 1, 3, 101, 1);
    PutEntry(1, 1, 4, 102, 1);  // no shots: a total below 0 sends 0
    RangeWrites("H1R00103.TXT", {{"Res", "Ser1", "100 95 90"}, {"Res", "Ser2", "81"}});
    Run(*Reader());
    EXPECT_NE(Read("BV/N00101.TXT").find("Start=36.0\r\n"), std::string::npos) << Read("BV/N00101.TXT");
    EXPECT_NE(Read("BV/N00102.TXT").find("Start=0.0\r\n"), std::string::npos);
}

TEST_F(NameExportTest, NameColumnFileOfAQnetRelay)
{
    ExchangeEvent(1, 2, "Q1", {{3, 3}}, 2, 1, 12);
    ::WriteItem(comp.Exch(), ExchItems::StartScore(1), 99);
    PutEntry(1, 1, 11, 101, 1, 955, 1);
    PutEntry(1, 1, 2, 102, 0, 0, 2);
    PutEntry(1, 1, 5, 0, 1);
    auto worker = Reader();
    Run(*worker);
    std::string line2 = " 2          Sen " + platform::Ansi("Per Ås") + std::string(14, ' ') + " " + std::string(20, ' ') +
                        "   0\r\n";
    std::string line11 = "11          V55 Kari Nordmann        Bygdelaget           955\r\n";
    EXPECT_EQ(Read("BV/Q1-XX-S.001"), line2 + line11);
    EXPECT_FALSE(Exists("BV/Q1-XX-S.002"));  // relay 2 has no entries
    EXPECT_EQ(+Entry(1, 1, 5).changed, 0);    // the free target went out with the file
    // A relay whose entries did not change keeps its file.
    bvtest::TempFolder::Write("BV/Q1-XX-S.001", "kept");
    EXPECT_EQ(Run(*worker), "1:0:0");
    EXPECT_EQ(Read("BV/Q1-XX-S.001"), "kept");
    // The range control's spelling of the file is kept.
    std::filesystem::rename("BV/Q1-XX-S.001", "BV/Q1-XX-s.001");
    PutEntry(1, 1, 2, 102, 1, 0, 2);
    Run(*worker);
    EXPECT_EQ(Read("BV/Q1-XX-s.001"), line2 + line11);
    EXPECT_FALSE(Exists("BV/Q1-XX-S.001"));
}

class KmeExportTest : public NameExportTest {
protected:
    void SetUp() override
    {
        NameExportTest::SetUp();
        std::filesystem::create_directory("kme");
        ExchangeEvent(1, 4, "STEVNE7", {{3, 3}}, 2);
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::RelayNumber(2), 4);
        WriteItem(comp.Exch(), ExchItems::EventFolder(1), ".\\kme");
        ::WriteItem(comp.Exch(), ExchItems::StartScore(1), 99);
    }
};

TEST_F(KmeExportTest, StartListAndMarker)
{
    ASSERT_EQ(comp.Shooters().Put(103, "", "Ola;\rNord", 12, 0, ""), 0);
    PutEntry(1, 1, 3, 101, 1, 955, 1);
    PutEntry(1, 1, 5, 0, 1);
    PutEntry(1, 2, 2, 103, 1, 20);
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:0:3");
    EXPECT_EQ(Read("kme/kminew.txt"), "STEVNE7;1;3;Kari Nordmann;Bygdelaget;V55;95;101\r\n"
                                      "STEVNE7;1;5;;;;0;0\r\n"
                                      "STEVNE7;4;2;Ola, Nord;Bygdelaget;;2;103\r\n");
    EXPECT_EQ(Read("kme/kmi.upd"), std::string("k\0", 2));
    EXPECT_EQ(+Entry(1, 1, 3).changed, 0);
    EXPECT_EQ(+Entry(1, 1, 5).changed, 0);
    EXPECT_EQ(TakeLog(), (Log{"3 skyttere lagt ut for ulike lag"}));

    // Until the KME system takes the list, nothing more is written and the
    // changes wait.
    PutEntry(1, 1, 3, 101, 1, 100, 1);
    EXPECT_EQ(Run(*worker), "1:0:0");
    EXPECT_EQ(+Entry(1, 1, 3).changed, 1);
    std::filesystem::remove("kme/kmi.upd");
    std::filesystem::remove("kme/kminew.txt");
    PutEntry(1, 1, 3, 101, 1, 100, 1);
    EXPECT_EQ(Run(*worker), "1:0:1");
    EXPECT_EQ(Read("kme/kminew.txt"), "STEVNE7;1;3;Kari Nordmann;Bygdelaget;V55;10;101\r\n");
    EXPECT_TRUE(Exists("kme/kmi.upd"));
}

TEST_F(KmeExportTest, AFinalsRelaysAndAListTakenButLeftBehind)
{
    ::WriteItem(comp.Exch(), ExchItems::KmeFinal(1), 1);
    PutEntry(1, 2, 3, 101, 1, 0, 1);
    auto worker = Reader();
    Run(*worker);
    EXPECT_EQ(Read("kme/kminew.txt"), "STEVNE7;1004;3;Kari Nordmann;Bygdelaget;V55;0;101\r\n");
    // The KME system took the list but left the file: with nothing new it goes.
    std::filesystem::remove("kme/kmi.upd");
    PutEntry(1, 2, 3, 101, 0, 0, 1);
    Run(*worker);
    EXPECT_FALSE(Exists("kme/kminew.txt"));
    EXPECT_FALSE(Exists("kme/kmi.upd"));
}

TEST_F(NameExportTest, SponsorTextsPerLane)
{
    ExchangeEvent(1, 1, "H1", {{3, 3}}, 1, 2, 3);
    ExchangeEvent(2, 4, "STEVNE7", {{3, 3}}, 1, 1, 1);
    WriteItem(comp.Exch(), ExchItems::EventText(1), std::string(31, 'a') + "b\r\nc");
    WriteItem(comp.Exch(), ExchItems::EventText(2), "KME-sponsor");
    auto worker = Reader();
    Run(*worker);
    const std::string text = std::string(31, 'a') + "b  c";
    EXPECT_EQ(Read("BV/Sponsor.TXT"), "[H1]\r\nLane2=" + text + "\r\nLane3=" + text +
                                          "\r\n[STEVNE7]\r\nLane1=KME-sponsor\r\n");
    // Unchanged texts leave the file alone.
    struct stat before {}, after {};
    ASSERT_EQ(::stat("BV/Sponsor.TXT", &before), 0);
    Run(*worker);
    ASSERT_EQ(::stat("BV/Sponsor.TXT", &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    WriteItem(comp.Exch(), ExchItems::EventText(2), "Ny sponsor");
    Run(*worker);
    EXPECT_NE(Read("BV/Sponsor.TXT").find("[STEVNE7]\r\nLane1=Ny sponsor\r\n"), std::string::npos);
}

}  // namespace
