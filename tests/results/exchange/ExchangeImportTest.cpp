// The import half of an exchange run: the range control's result files, the
// Q-NET line files and the KME system's result file onto the cards and
// entries, with the relay flags, the log and the settings the run writes.
#include "tests/results/ExchangeFixture.h"
#include "platform/files/ArchiveFlag.h"
#include "platform/files/NativeFile.h"
#include "results/data/RelayWebFlags.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace results;
using Log = std::vector<std::string>;

class ResultFileImportTest : public restest::ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        ExchangeEvent(1, 1, "H1", {{3, 3}, {3, 3}}, 2);
        // Relay index 2 is shot as relay 5.
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::RelayNumber(2), 5);
    }
};

TEST_F(ResultFileImportTest, ShotsTargetAndStateOntoTheCards)
{
    PutEntry(1, 1, 3, 17, 0);
    RangeWrites("H1R00103.TXT", {{"Def", "TargetID", "21"},
                                 {"Def", "TargetIDDef", "3"},
                                 {"Res", "Ser1", " 109 95 0"},
                                 {"Res", "X1", " 123 -21 5"},
                                 {"Res", "Y1", " -4 7"},
                                 {"Res", "T1", " 30 31 32"},
                                 {"Notes", "State", "2"},
                                 {"Notes", "Comments", "Skive\\byttet|etter 3"}});
    // The range control's own spelling; relay index 2 by its number.
    RangeWrites("h1r00504.txt", {{"Res", "Ser2", "80"}});
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:2:1");  // the entry's name goes out: the event is new to the worker
    EXPECT_EQ(Values(1, 1, 3, 1), "109 95 0");
    EXPECT_EQ(Values(1, 1, 3, 2), "255 255 255");
    ShotEntry s = Shot(1, 1, 3, 1, 2);
    EXPECT_EQ(+s.x, -21);
    EXPECT_EQ(+s.y, 7);
    EXPECT_EQ(+s.time, 31);
    s = Shot(1, 1, 3, 1, 3);
    EXPECT_EQ(+s.x, 5);
    EXPECT_EQ(+s.y, 0);
    EXPECT_EQ(int{comp.GetEvent(1)->Card().Record().targetId}, 21);
    EXPECT_EQ(int{comp.GetEvent(1)->Card().Record().targetIdDef}, 3);
    EXPECT_EQ(Values(1, 2, 4, 2), "80 255 255");
    RegRecord e = Entry(1, 1, 3);
    EXPECT_EQ(+e.state, 2);
    EXPECT_EQ(std::string(e.comments), "Skive\\byttet|etter 3");
    // No entry for target 4: the shots are stored all the same.
    EXPECT_EQ(+Entry(1, 2, 4).startNr, 0);

    EXPECT_EQ(TakeLog(), (Log{"2 skyttere lest inn fra ulike lag", "1 skyttere lagt ut for lag 1"}));
    comp.Exch().Refresh();
    comp.Web().Refresh();
    EXPECT_EQ(::ReadItem(comp.Web(), WebItems::EventDirty(1)), 1);
    EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kLastEvent), 1);
    EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kLastRelay), 5);
    EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kHeartbeat), 15);
    EXPECT_TRUE(comp.WebFlags().Get(1, 1));
    EXPECT_TRUE(comp.WebFlags().Get(1, 5));
    EXPECT_FALSE(comp.WebFlags().Get(1, 2));
    comp.GetEvent(1)->Settings().Refresh();
    EXPECT_EQ(::ReadItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(1)), 0x10);
}

TEST_F(ResultFileImportTest, OnlyFilesMarkedUnreadAreReadAgain)
{
    RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "90 91 92"}});
    RangeWrites("H1R00102.TXT", {{"Res", "Ser1", "80 81 82"}});
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:2:0");
    EXPECT_FALSE(platform::HasArchiveFlag(".\\BV\\H1R00101.TXT"));
    EXPECT_EQ(Run(*worker), "1:0:0");
    RangeWrites("H1R00102.TXT", {{"Res", "Ser1", "70 71 72"}});
    EXPECT_EQ(Run(*worker), "1:1:0");
    EXPECT_EQ(Values(1, 1, 2, 1), "70 71 72");
    TakeLog();

    // ExchReadNow reads every file; unchanged values are stored again and
    // logged as nothing.
    ::WriteItem(comp.Exch(), ExchItems::kReadNow, 1);
    EXPECT_EQ(Run(*worker), "1:2:0");
    EXPECT_EQ(TakeLog(), (Log{"2 skyttere lest inn fra lag 1"}));
    // A new worker reads every file of an event it meets for the first time.
    ::WriteItem(comp.Exch(), ExchItems::kReadNow, 0);
    EXPECT_EQ(Run(*Reader()), "1:2:0");
}

TEST_F(ResultFileImportTest, ChangedAndRemovedShotsAreLoggedPerTarget)
{
    RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "90 91 92"}, {"Res", "Ser2", "80 81"}});
    auto worker = Reader();
    Run(*worker);
    TakeLog();

    const struct {
        const char* ser1;
        const char* ser2;  // nullptr: the key is not in the file
        const char* values1;
        const char* values2;
        Log log;
    } cases[] = {
        // "#" (or no key) leaves a series as it is; a target without series read counts as nobody.
        {"#", nullptr, "90 91 92", "80 81 255", {}},
        {"90 91 92", "80 81", "90 91 92", "80 81 255", {"1 skyttere lest inn fra lag 1"}},
        {"90 99 92", "80 81", "90 99 92", "80 81 255",
         {"Skuddverdier er endret på  1:1", "1 skyttere lest inn fra lag 1"}},
        {"90 99", "80 81", "90 99 255", "80 81 255", {"Skudd fjernet på: 1:1", "1 skyttere lest inn fra lag 1"}},
        // An empty list takes every shot of the series back.
        {"90 99", "", "90 99 255", "255 255 255", {"Skudd fjernet på: 1:1", "1 skyttere lest inn fra lag 1"}},
        {"91 99 100", "1", "91 99 100", "1 255 255",
         {"Skuddverdier er endret på  1:1", "1 skyttere lest inn fra lag 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ser1);
        std::vector<std::vector<std::string>> keys{{"Res", "Ser1", c.ser1}};
        if (c.ser2)
            keys.push_back({"Res", "Ser2", c.ser2});
        std::filesystem::remove("BV/H1R00101.TXT");
        RangeWrites("H1R00101.TXT", keys);
        Run(*worker);
        EXPECT_EQ(Values(1, 1, 1, 1), c.values1);
        EXPECT_EQ(Values(1, 1, 1, 2), c.values2);
        EXPECT_EQ(TakeLog(), c.log);
    }
}

TEST_F(ResultFileImportTest, TokensTheCardCannotTakeAreLogged)
{
    RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "300 95 9.5"}, {"Res", "X1", "1 2 3"}, {"Res", "T1", "40000 7 8"}});
    Run(*Reader());
    EXPECT_EQ(Values(1, 1, 1, 1), "255 95 255");
    EXPECT_EQ(+Shot(1, 1, 1, 1, 1).time, 0);
    EXPECT_EQ(+Shot(1, 1, 1, 1, 2).time, 7);
    EXPECT_EQ(+Shot(1, 1, 1, 1, 2).x, 2);
    const std::string log = Read("BVLog.txt");
    EXPECT_NE(log.find("Ser1 shot 1 '300' is no shot value"), std::string::npos) << log;
    EXPECT_NE(log.find("Ser1 shot 3 '9.5' is no shot value"), std::string::npos) << log;
    EXPECT_NE(log.find("T1 shot 1 '40000' is no 16-bit number"), std::string::npos) << log;
}

TEST_F(ResultFileImportTest, ALockedRelayIsNeverRead)
{
    CBVConfig& settings = comp.GetEvent(1)->Settings();
    ::WriteItem(settings, EventItems::RelayFlags(1), 0x121);
    ::WriteItem(settings, EventItems::RelayFlags(2), 0x1021);
    RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "90 91 92"}, {"Notes", "State", "1"}});
    RangeWrites("H1R00501.TXT", {{"Res", "Ser1", "90 91 92"}});
    PutEntry(1, 1, 1, 3, 0);
    EXPECT_EQ(Run(*Reader()), "1:1:1");
    EXPECT_EQ(Values(1, 1, 1, 1), "255 255 255");
    EXPECT_EQ(+Entry(1, 1, 1).state, 0);
    EXPECT_TRUE(platform::HasArchiveFlag(".\\BV\\H1R00101.TXT"));
    EXPECT_EQ(Values(1, 2, 1, 1), "90 91 92");
    settings.Refresh();
    EXPECT_EQ(::ReadItem(settings, EventItems::RelayFlags(1)), 0x121);
    // Received: the card picture and list bits cleared, results marked.
    EXPECT_EQ(::ReadItem(settings, EventItems::RelayFlags(2)), 0x11);
}

TEST_F(ResultFileImportTest, ARelayLockedWhileTheRunGoesOnIsLeftAsItIs)
{
    RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "90 91 92"}});
    RangeWrites("H1R00102.TXT", {{"Res", "Ser1", "80 81 82"}});
    auto worker = Reader();
    // The results screen locks relay 1 the moment the first card is written.
    worker->onCardStored = [&](int, int) { ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(1), 0x100); };
    Run(*worker);
    EXPECT_EQ(Values(1, 1, 1, 1), "90 91 92");
    EXPECT_EQ(Values(1, 1, 2, 1), "255 255 255");
    comp.GetEvent(1)->Settings().Refresh();
    EXPECT_EQ(::ReadItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(1)), 0x100);
}

TEST_F(ResultFileImportTest, AStopRequestEndsTheRunBetweenRelays)
{
    RangeWrites("H1R00101.TXT", {{"Res", "Ser1", "90 91 92"}});
    RangeWrites("H1R00501.TXT", {{"Res", "Ser1", "90 91 92"}});
    auto worker = Reader();
    worker->onCardStored = [&](int, int) { worker->RequestStop(); };
    Run(*worker);
    EXPECT_EQ(Values(1, 1, 1, 1), "90 91 92");
    EXPECT_EQ(Values(1, 2, 1, 1), "255 255 255");
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ResultFileImportTest, EventsWithoutExchangeOrPrefixAreNotHandled)
{
    ExchangeEvent(2, 0, "H2", {{3, 3}});
    ExchangeEvent(3, 1, "", {{3, 3}});
    ExchangeEvent(4, 1, "H4", {{3, 3}});
    ::WriteItem(comp.Comp(), CompItems::EventInUse(4), 0);
    RangeWrites("H2R00101.TXT", {{"Res", "Ser1", "90 91 92"}});
    EXPECT_EQ(Run(*Reader()), "1:0:0");
    EXPECT_EQ(Values(2, 1, 1, 1), "255 255 255");
}

TEST_F(ResultFileImportTest, ARunWithoutEventsStillBeats)
{
    ::WriteItem(comp.Exch(), ExchItems::EventType(1), 0);
    ::WriteItem(comp.Exch(), ExchItems::kInterval, 4);
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "");
    comp.Exch().Refresh();
    EXPECT_EQ(::ReadItem(comp.Exch(), ExchItems::kHeartbeat), 4);
    EXPECT_EQ(worker->ExchangeInterval(), 4);
}

// Flushes by file name, while a run goes on.
std::map<std::string, int> g_flushes;

void CountFlush(const platform::NativeFile& file)
{
    char target[512];
    const std::string link = "/proc/self/fd/" + std::to_string(file.Descriptor());
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    ++g_flushes[n > 0 ? std::filesystem::path(std::string(target, static_cast<size_t>(n))).filename().string() : "?"];
}

std::string Flushes()
{
    std::string out;
    for (const auto& [name, count] : g_flushes)
        out += name + "=" + std::to_string(count) + " ";
    return out;
}

// Taking a file in needs a durable write only where a card changes: the
// unread marks go without a flush (a lost one means one more read), and a
// card that already holds what its file says is not written again.
TEST_F(ResultFileImportTest, OnlyCardsThatChangeAreFlushed)
{
    for (int t = 1; t <= 10; ++t)
        RangeWrites("H1R001" + std::string(t < 10 ? "0" : "") + std::to_string(t) + ".TXT",
                    {{"Res", "Ser1", "90 91 92"}});
    auto worker = Reader();
    platform::NativeFile::s_syncHook = CountFlush;
    const struct {
        const char* step;
        bool restart;        // a new worker, which reads every file
        const char* rewrite;  // a target's file the range control rewrites first
        int cards;           // flushes of the result file
    } steps[] = {
        {"first run", false, nullptr, 10},
        {"idle run", false, nullptr, 0},
        {"restart, nothing new", true, nullptr, 0},
        {"one file rewritten, same shots", false, "H1R00103.TXT", 0},
        {"restart, one card changed", true, "H1R00104.TXT", 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        if (s.rewrite)
            RangeWrites(s.rewrite, {{"Res", "Ser1", s.cards ? "80 81 82" : "90 91 92"}});
        if (s.restart)
            worker = Reader();
        g_flushes.clear();
        Run(*worker);
        EXPECT_EQ(g_flushes["Res1.bvd"], s.cards) << Flushes();
        // After the first run no exchange file is rewritten (through the
        // atomic writer's temporary file): no sponsor text or name is new,
        // and the marks go without a write.
        for (const auto& [name, count] : g_flushes)
            EXPECT_TRUE(&s == &steps[0] || name.rfind("~bvw", 0) == std::string::npos) << Flushes();
    }
    platform::NativeFile::s_syncHook = nullptr;
    EXPECT_EQ(Values(1, 1, 4, 1), "80 81 82");
}

class QnetImportTest : public restest::ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        ExchangeEvent(1, 2, "Q1", {{3, 3}, {0, 3}, {2, 0}}, 1, 1, 20);
    }
};

TEST_F(QnetImportTest, LinesOntoTheCardsAndTheFileTakenAway)
{
    bvtest::TempFolder::Write("BV/Q1-01-5.001", "03: 9X*45\r\n12: 9?\r\n21: 999\r\n04\r\n");
    bvtest::TempFolder::Write("BV/q1-07-0.001", " 5: 1\r\n");
    bvtest::TempFolder::Write("BV/Q1-01-5.002", "03: 111\r\n");
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:3:0");
    EXPECT_EQ(Values(1, 1, 3, 1), "90 100 110");
    EXPECT_EQ(Values(1, 1, 3, 3), "40 50");
    // '?' and the characters past the end are no shot; type 0 keeps whole rings.
    EXPECT_EQ(Values(1, 1, 12, 1), "90 255 255");
    EXPECT_EQ(Values(1, 1, 5, 1), "10 255 255");
    EXPECT_EQ(Values(1, 1, 21, 1), "255 255 255");  // outside the event's targets
    EXPECT_FALSE(Exists("BV/Q1-01-5.001"));
    EXPECT_EQ(Read("BV/$Q1-01-5.001"), "03: 9X*45\r\n12: 9?\r\n21: 999\r\n04\r\n");
    EXPECT_TRUE(Exists("BV/$q1-07-0.001"));
    EXPECT_TRUE(Exists("BV/Q1-01-5.002"));  // relay 2 is no relay of the event
    EXPECT_EQ(TakeLog(), (Log{"3 skyttere lest inn fra lag 1"}));
    EXPECT_EQ(Run(*worker), "1:0:0");
}

TEST_F(QnetImportTest, AFileWrittenWhileTheLastIsReadWaitsForTheNextRun)
{
    bvtest::TempFolder::Write("BV/Q1-01-5.001", "03: 9\r\n");
    auto worker = Reader();
    worker->onFileTaken = [](const std::string&) { bvtest::TempFolder::Write("BV/Q1-01-5.001", "03: 8\r\n"); };
    Run(*worker);
    EXPECT_EQ(Values(1, 1, 3, 1), "90 255 255");
    worker->onFileTaken = nullptr;
    Run(*worker);
    EXPECT_EQ(Values(1, 1, 3, 1), "80 255 255");
    EXPECT_FALSE(Exists("BV/Q1-01-5.001"));
}

TEST_F(QnetImportTest, HitSeriesLayout)
{
    ExchangeEvent(2, 2, "Q2", {{3, 7}, {3, 7}, {1, 10}}, 1, 1, 20);
    ::WriteItem(comp.GetEvent(2)->Settings(), EventItems::ResultType(2), 7);
    bvtest::TempFolder::Write("BV/Q2-01-5.001", "06: 21??x4137y\r\n");
    Run(*Reader());
    EXPECT_EQ(Values(2, 1, 6, 1), "2 255 1");
    EXPECT_EQ(Values(2, 1, 6, 2), "4 255 1");
    EXPECT_EQ(Values(2, 1, 6, 3), "37");
}

class KmeImportTest : public restest::ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        std::filesystem::create_directory("kme");
        ExchangeEvent(1, 4, "STEVNE7", {{3, 3}, {2, 3}}, 2);
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::RelayNumber(2), 4);
        WriteItem(comp.Exch(), ExchItems::EventFolder(1), ".\\kme");
    }
    static void KmeWrites(const std::string& lines)
    {
        bvtest::TempFolder::Write("kme/kmonew.txt", lines);
        bvtest::TempFolder::Write("kme/kmo.upd", std::string("k\0", 2));
    }
};

TEST_F(KmeImportTest, LinesOfTheEventOntoTheCards)
{
    KmeWrites("STEVNE7;1;3;a;b;c;d;e;X9b;*\r\n"
              "STEVNE8;1;4;;;;;;999;\r\n"     // another event's
              "STEVNE7;1001;5;;;;;;999;\r\n"  // a final's relay
              "STEVNE7;2;6;;;;;;999;\r\n"     // relay 2 is no relay of the event
              "STEVNE7;4;7;;;;;;;89\r\n"
              "STEVNE7;4;99;;;;;;8;\r\n"      // no such target
              "STEVNE7;4;8;;;;;;;\r\n");      // no series: nothing read
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:2:0");
    EXPECT_EQ(Values(1, 1, 3, 1), "100 90 0");
    EXPECT_EQ(Values(1, 1, 3, 2), "110 255");
    EXPECT_EQ(Values(1, 1, 4, 1), "255 255 255");
    EXPECT_EQ(Values(1, 1, 5, 1), "255 255 255");
    EXPECT_EQ(Values(1, 2, 7, 1), "255 255 255");
    EXPECT_EQ(Values(1, 2, 7, 2), "80 90");
    EXPECT_EQ(TakeLog(), (Log{"2 skyttere lest inn fra ulike lag"}));
    // Both files are done with; nothing of ours is left behind.
    EXPECT_FALSE(Exists("kme/kmonew.txt"));
    EXPECT_FALSE(Exists("kme/kmo.upd"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("kme"), std::filesystem::directory_iterator()), 0);
    const std::string log = Read("BVLog.txt");
    EXPECT_NE(log.find("relay 2 of the line is no relay of event 1"), std::string::npos) << log;
    comp.GetEvent(1)->Settings().Refresh();
    EXPECT_EQ(::ReadItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(1)), 0x10);
    EXPECT_EQ(::ReadItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(2)), 0x10);
}

TEST_F(KmeImportTest, AFinalsRelaysCarryAThousandMore)
{
    ::WriteItem(comp.Exch(), ExchItems::KmeFinal(1), 1);
    KmeWrites("STEVNE7;1004;3;;;;;;999;\r\nSTEVNE7;4;4;;;;;;999;\r\n");
    EXPECT_EQ(Run(*Reader()), "1:1:0");
    EXPECT_EQ(Values(1, 2, 3, 1), "90 90 90");
    EXPECT_EQ(Values(1, 2, 4, 1), "255 255 255");
}

TEST_F(KmeImportTest, NothingIsReadBeforeTheMarker)
{
    bvtest::TempFolder::Write("kme/kmonew.txt", "STEVNE7;1;3;;;;;;999;\r\n");
    auto worker = Reader();
    EXPECT_EQ(Run(*worker), "1:0:0");
    EXPECT_TRUE(Exists("kme/kmonew.txt"));
    bvtest::TempFolder::Write("kme/kmo.upd", std::string("k\0", 2));
    EXPECT_EQ(Run(*worker), "1:1:0");
}

TEST_F(KmeImportTest, LinesAppendedDuringTheReadAreReadNextRun)
{
    KmeWrites("STEVNE7;1;3;;;;;;999;\r\n");
    auto worker = Reader();
    // The KME system appends to its file by name while the worker reads.
    worker->onFileTaken = [](const std::string&) {
        bvtest::TempFolder::Write("kme/kmonew.txt", "STEVNE7;1;4;;;;;;888;\r\n");
    };
    EXPECT_EQ(Run(*worker), "1:1:0");
    EXPECT_EQ(Values(1, 1, 3, 1), "90 90 90");
    EXPECT_TRUE(Exists("kme/kmo.upd"));  // the new lines are still to be read
    EXPECT_TRUE(Exists("kme/kmonew.txt"));
    worker->onFileTaken = nullptr;
    EXPECT_EQ(Run(*worker), "1:1:0");
    EXPECT_EQ(Values(1, 1, 4, 1), "80 80 80");
    EXPECT_FALSE(Exists("kme/kmo.upd"));
}

TEST_F(KmeImportTest, AFileTakenByARunThatNeverEndedIsReadFirst)
{
    bvtest::TempFolder::Write("kme/$kmo1A2B.TMP", "STEVNE7;1;3;;;;;;111;\r\n");
    EXPECT_EQ(Run(*Reader()), "1:1:0");
    EXPECT_EQ(Values(1, 1, 3, 1), "10 10 10");
    EXPECT_FALSE(Exists("kme/$kmo1A2B.TMP"));
}

TEST_F(KmeImportTest, TwoEventsShareOneFolder)
{
    ExchangeEvent(2, 4, "STEVNE8", {{3, 3}});
    WriteItem(comp.Exch(), ExchItems::EventFolder(2), ".\\KME");
    KmeWrites("STEVNE8;1;4;;;;;;777;\r\nSTEVNE7;1;3;;;;;;999;\r\n");
    EXPECT_EQ(Run(*Reader()), "1:1:0 2:1:0");
    EXPECT_EQ(Values(1, 1, 3, 1), "90 90 90");
    EXPECT_EQ(Values(2, 1, 4, 1), "70 70 70");
}

}  // namespace
