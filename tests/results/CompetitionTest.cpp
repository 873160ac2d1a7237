// The competition object: opening a working folder, the event array and
// its refresh, the look-ups and the long texts of its settings.
#include "ResultsFixture.h"
#include "platform/files/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

namespace {

using namespace results;
namespace fs = std::filesystem;

class CompetitionOpenTest : public restest::CompetitionTest {};

TEST_F(CompetitionOpenTest, AnEmptyFolderOpensWithEveryDefault)
{
    for (const char* folder : {"Common", "BV", "Comp1", "AWeb", "Backup", "PWeb", "AWeb/data", "PWeb/data"})
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    for (const char* file : {"Common/User.bvc", "Comp1/Comp.bvc", "Comp1/Exch.bvc", "Comp1/WEB.bvc", "Comp1/Team.bvc",
                             "Comp1/Team.bvd", "Comp1/Shooter.bvd", "Comp1/StartNr.bvd"})
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_EQ(comp.competition, 1);
    EXPECT_EQ(comp.orgType, 0);
    EXPECT_EQ(comp.ftpOn, 0);
    EXPECT_EQ(comp.pwebOn + comp.awebOn + comp.cardsOn, 0);
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::kEventCount), 0);
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::kClassCount), 0);
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::EventFirstTarget(7)), 1);
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::EventLastTarget(7)), 10);
    EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kInterval), 15);
    for (int i = 0; i < kContextCount; ++i)
        EXPECT_EQ(comp.context[static_cast<size_t>(i)], kContextTable[i].defaultValue) << kContextTable[i].name;
    comp.RefreshEvents();
    EXPECT_EQ(comp.EventSlots(), 0);
}

TEST_F(CompetitionOpenTest, TheCompetitionOfUserBvcAndTheContextAreTaken)
{
    ::WriteItem(comp.User(), UserItems::kCompetition, 4);
    profile.WriteInt("Context", "TreeLevel", -2);
    profile.WriteInt("Context", "Event", 3);
    ::WriteItem(comp.Comp(), CompItems::kOrgType, 6);  // competition 1's, not 4's
    int workers = 0, stops = 0, registers = 0;  // outlive the object, which stops its worker when it goes
    CCompetition other;
    other.SetProfile(&profile);
    other.startWorker = [&](CCompetition& c) { workers += c.competition; };
    other.stopWorker = [&](CCompetition& c) { stops += c.competition; };
    other.loadClubRegister = [&](CCompetition&) { ++registers; };
    ASSERT_EQ(other.Open(), 0);
    EXPECT_EQ(other.competition, 4);
    EXPECT_TRUE(fs::is_regular_file("Comp4/Comp.bvc"));
    EXPECT_EQ(other.orgType, 0);
    EXPECT_EQ(other.context[kCtxTreeLevel], 1);
    EXPECT_EQ(other.context[kCtxEvent], 3);
    ::WriteItem(other.Comp(), CompItems::kOrgType, 2);
    ::WriteItem(other.Web(), WebItems::kFtpOn, 5);
    other.ChangeCompetition(4);
    EXPECT_EQ(other.orgType, 2);
    EXPECT_EQ(other.ftpOn, 1);
    EXPECT_EQ(::ReadItem(other.Exch(), ExchItems::kOn), 0);
    // The worker follows the competition: stopped before the change, started again.
    EXPECT_EQ(workers, 8);
    EXPECT_EQ(stops, 4);
    EXPECT_EQ(registers, 2);
}

TEST_F(CompetitionOpenTest, CommonThatIsAFileOpensNothing)
{
    fs::remove_all("Common");
    bvtest::TempFolder::Write("Common", "x");
    CCompetition other;
    other.SetProfile(&profile);
    EXPECT_EQ(other.Open(), -1);
    EXPECT_FALSE(other.User().IsOpen());
}

TEST_F(CompetitionOpenTest, TheEventArray)
{
    EXPECT_EQ(comp.GetEvent(0), nullptr);
    EXPECT_EQ(comp.GetEvent(1), nullptr);
    CDataEvent* five = comp.MakeEvent(5);
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(comp.EventSlots(), 5);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(comp.GetEvent(n), nullptr) << n;
    EXPECT_EQ(comp.GetEvent(5), five);
    EXPECT_EQ(five->Number(), 5);
    EXPECT_EQ(comp.MakeEvent(5), five);
    EXPECT_EQ(comp.GetEvent(6), nullptr);
    EXPECT_EQ(comp.GetEvent(-1), nullptr);
    comp.DropEvent(5);
    comp.DropEvent(9);
    EXPECT_EQ(comp.GetEvent(5), nullptr);
    comp.MakeEvent(2);
    comp.DropAllEvents();
    EXPECT_EQ(comp.EventSlots(), 0);
}

TEST_F(CompetitionOpenTest, RefreshMakesAndDropsEventsByTheirUse)
{
    CBVConfig& c = comp.Comp();
    ::WriteItem(c, CompItems::kEventCount, 3);
    ::WriteItem(c, CompItems::EventInUse(1), 1);
    ::WriteItem(c, CompItems::EventInUse(3), 1);
    comp.RefreshEvents();
    ASSERT_NE(comp.GetEvent(1), nullptr);
    EXPECT_EQ(comp.GetEvent(2), nullptr);
    ASSERT_NE(comp.GetEvent(3), nullptr);
    EXPECT_EQ(comp.GetEvent(3)->Number(), 3);
    for (const char* file : {"Comp1/Event3.bvc", "Comp1/Prize3.bvc", "Comp1/Reg3.bvd", "Comp1/Rank3.bvd",
                             "Comp1/Res3.bvd"})
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_TRUE(comp.GetEvent(3)->Entries().IsOpen());
    EXPECT_TRUE(comp.GetEvent(3)->ResultsOpen());
    EXPECT_FALSE(fs::exists("Comp1/Event2.bvc"));

    CDataEvent* first = comp.GetEvent(1);
    ::WriteItem(c, CompItems::EventInUse(3), 0);
    comp.RefreshEvents();
    EXPECT_EQ(comp.GetEvent(1), first);
    EXPECT_EQ(comp.GetEvent(3), nullptr);
}

TEST_F(CompetitionOpenTest, AnEventWithNumberedRelaysIsNotDeleted)
{
    CDataEvent& e = Event(2, 3);
    ::WriteItem(e.Settings(), EventItems::RelayNumber(3), 8);
    std::string refusal;
    EXPECT_EQ(comp.DeleteEvent(2, refusal), 1);
    EXPECT_EQ(refusal, "Alle lag m\xe5 slettes f\xf8rst!");
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::EventInUse(2)), 1);
    ::WriteItem(e.Settings(), EventItems::RelayNumber(3), 0);
    EXPECT_EQ(comp.DeleteEvent(2, refusal), 0);
    EXPECT_EQ(refusal, "");
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::EventInUse(2)), 0);
    comp.RefreshEvents();
    EXPECT_EQ(comp.GetEvent(2), nullptr);
    EXPECT_EQ(::ReadItem(comp.Comp(), CompItems::kEventCount), 2);
}

TEST_F(CompetitionOpenTest, ClassAndCategoryTexts)
{
    CBVConfig& c = comp.Comp();
    const char* names[] = {"V55", "Jr", "Sr"};
    for (int i = 1; i <= 3; ++i) {
        ::WriteItem(c, CompItems::ClassName(i), std::string(names[i - 1]));
        ::WriteItem(c, CompItems::CategoryLetter(i), std::string(1, static_cast<char>('A' + i - 1)));
    }
    ::WriteItem(c, CompItems::EventName(2), std::string("Fin\xe5le"));
    EXPECT_EQ(comp.GetClassName(3), "Sr");
    EXPECT_EQ(comp.GetClassName(0), "");
    EXPECT_EQ(comp.GetClassName(-1), "");
    EXPECT_EQ(comp.GetEventName(2), "Fin\xe5le");
    EXPECT_EQ(comp.ClassListText(std::string("\x01\x03")), "V55,Sr");
    EXPECT_EQ(comp.ClassListText(""), "");
    EXPECT_EQ(comp.CategoryLetters(std::string("\x02\x01")), "BA");
}

TEST_F(CompetitionOpenTest, LongTextsSpanTheirKeys)
{
    const std::string sponsor = "Brevandi Skytterlag og Sparebanken Vest!";  // 40 characters
    ASSERT_EQ(sponsor.size(), 40u);
    ASSERT_EQ(WriteItem(comp.Comp(), CompItems::kSponsor1, sponsor), 0);
    EXPECT_EQ(::ReadItem(comp.Comp(), ConfigTextItem{2, 1, 620, ""}), sponsor.substr(0, 31));
    EXPECT_EQ(::ReadItem(comp.Comp(), ConfigTextItem{2, 1, 621, ""}), sponsor.substr(31));
    EXPECT_EQ(ReadItem(comp.Comp(), CompItems::kSponsor1), sponsor);
    ASSERT_EQ(WriteItem(comp.Comp(), CompItems::kSponsor1, "Kort"), 0);
    EXPECT_EQ(ReadItem(comp.Comp(), CompItems::kSponsor1), "Kort");

    std::string folder = "C:\\Program Files\\KME\\Stevner\\2026\\Landsskytterstevnet\\Bane 1\\Resultater\\Del A";
    ASSERT_EQ(WriteItem(comp.Exch(), ExchItems::EventFolder(3), folder), 0);
    EXPECT_EQ(ReadItem(comp.Exch(), ExchItems::EventFolder(3)), folder);
    EXPECT_EQ(::ReadItem(comp.Exch(), ConfigTextItem{1, 3, 572, ""}), folder.substr(62, 31));

    ASSERT_EQ(WriteItem(comp.Team(), TeamItems::PrizeText(2, 1), sponsor), 0);
    EXPECT_EQ(::ReadItem(comp.Team(), ConfigTextItem{14, 2, 1, ""}), sponsor.substr(31));
}

TEST(RelayWebFlags, GrowsChecksBoundsAndSharesBetweenThreads)
{
    RelayWebFlags flags;
    EXPECT_FALSE(flags.Get(20, 500));
    flags.Set(20, 500);   // past the old table of 20 x 500
    flags.Set(1, 0);
    EXPECT_TRUE(flags.Get(20, 500));
    EXPECT_TRUE(flags.Get(1, 0));
    EXPECT_FALSE(flags.Get(20, 499));
    for (auto [e, r] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{1000, 1}, std::pair{1, 1000001}}) {
        flags.Set(e, r);
        EXPECT_FALSE(flags.Get(e, r)) << e << "," << r;
        flags.Clear(e, r);
    }
    flags.Clear(20, 500);
    EXPECT_FALSE(flags.Get(20, 500));

    // The import sets while the web writer clears and reads, each on its own rows.
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&flags, t] {
            for (int r = 0; r < 2000; ++r) {
                flags.Set(t + 1, r);
                if (r % 2)
                    flags.Clear(t + 1, r);
                (void)flags.Get(4 - t, r);
            }
        });
    for (auto& th : threads)
        th.join();
    for (int e = 1; e <= 4; ++e) {
        EXPECT_TRUE(flags.Get(e, 1998)) << e;
        EXPECT_FALSE(flags.Get(e, 1999)) << e;
    }
    flags.ClearAll();
    EXPECT_FALSE(flags.Get(4, 1998));
}

}  // namespace
