// Damaged data files of a competition under BVRes's commands and its
// exchange worker, as an outside reliability run finds them: each kind of
// damage to each file the worker reads. The file is named with its fault
// (standard error, and once in the log), it is never written, and nothing
// is made from it: a read-only command changes no file, and the exchange
// leaves alone everything that depends on the file while the rest goes on.
#include "RunCommand.h"
#include "TempFolder.h"
#include "TextLines.h"
#include "platform/system/Codepage.h"
#include "results/data/ResStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace damagedfiles {

using bvtest::Occurrences;
using bvtest::RunSteps;
using bvtest::RunTool;
using bvtest::TempFolder;
namespace fs = std::filesystem;

enum class Damage { Empty, ThreeBytes, Random, HalfTruncated, Header, Newer };

// What a damaged file holds back.
enum class Scope {
    Competition,  // the whole exchange: nothing at all may change
    Event,        // event 1: event 2 still takes its results and sends its names
    Names,        // every name going out: the results still come in
};

struct FileKind {
    const char* path;  // in BVRes's working folder
    Scope scope;
    const char* reads;  // a command that reads it and writes nothing
};

constexpr FileKind kKinds[] = {
    {"Comp1/Comp.bvc", Scope::Competition, "res verify res"},
    {"Comp1/Exch.bvc", Scope::Competition, "res verify res"},
    {"Comp1/Event1.bvc", Scope::Event, "res verify res"},
    {"Comp1/Reg1.bvd", Scope::Event, "res verify res"},
    {"Comp1/Res1.bvd", Scope::Event, "res verify res"},
    {"Comp1/Shooter.bvd", Scope::Names, "res verify res"},
    {"Common/Club.BVD", Scope::Names, "res clubs list res 1"},
};

// Files the exchange may change in each scope (with their undo journals),
// and those it must change: the work that does not depend on the file.
const std::set<std::string> kMayChange[] = {
    {},
    {"Comp1/Res2.bvd", "Comp1/Reg2.bvd", "Comp1/Event2.bvc", "Comp1/Exch.bvc", "Comp1/Exch.bvd", "Comp1/WEB.bvc",
     "BV/H2R00101.TXT", "BV/H2R00102.TXT", "BV/N00201.TXT", "BV/N00202.TXT", "BV/Sponsor.TXT"},
    {"Comp1/Res1.bvd", "Comp1/Res2.bvd", "Comp1/Event1.bvc", "Comp1/Event2.bvc", "Comp1/Exch.bvc", "Comp1/Exch.bvd",
     "Comp1/WEB.bvc"},
};
const std::set<std::string> kMustChange[] = {{}, {"Comp1/Res2.bvd"}, {"Comp1/Res1.bvd", "Comp1/Res2.bvd"}};

int16_t HeaderField(const std::string& bytes, size_t at)
{
    int16_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::string DamageOf(const std::string& whole, Damage damage)
{
    std::string bytes = whole;
    switch (damage) {
    case Damage::Empty: return {};
    case Damage::ThreeBytes: return bytes.substr(0, 3);
    case Damage::Random: {
        std::mt19937 random(52);
        for (char& c : bytes)
            c = static_cast<char>(random());
        return bytes;
    }
    case Damage::HalfTruncated: return bytes.substr(0, bytes.size() / 2);
    case Damage::Header: std::memset(&bytes[4], 0xFF, 4); return bytes;
    case Damage::Newer: {
        const int16_t version = HeaderField(bytes, 6) + 1;
        std::memcpy(&bytes[6], &version, sizeof version);
        return bytes;
    }
    }
    return bytes;
}

// The fault the programs name for the damaged file (whole: as it was).
std::string FaultOf(const std::string& whole, const std::string& damaged, Damage damage)
{
    const int recordSize = HeaderField(whole, 4);
    switch (damage) {
    case Damage::Empty:
    case Damage::ThreeBytes: return "truncated (no whole header)";
    case Damage::Random:
    case Damage::Header:
        return "damaged header (version " + std::to_string(HeaderField(damaged, 6)) + ", record size " +
               std::to_string(HeaderField(damaged, 4)) + ")";
    case Damage::HalfTruncated:
        return "truncated (last record " + std::to_string((damaged.size() - 8) % recordSize) + " of " +
               std::to_string(recordSize) + " bytes)";
    case Damage::Newer: return platform::Cp1252ToUtf8(results::ResString(results::IDS_NEWER_VERSION));
    }
    return {};
}

// Every file under the folder by its path from there, the program log aside.
std::map<std::string, std::string> Snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename() != "BVLog.txt")
            files[fs::relative(entry.path(), folder).generic_string()] = TempFolder::Read(entry.path().string());
    return files;
}

std::set<std::string> ChangedFiles(const std::map<std::string, std::string>& before,
                                   const std::map<std::string, std::string>& after)
{
    std::set<std::string> changed;
    for (const auto& [path, bytes] : after)
        if (auto it = before.find(path); it == before.end() || it->second != bytes)
            changed.insert(path);
    for (const auto& [path, bytes] : before)
        if (!after.count(path))
            changed.insert(path);
    return changed;
}

// The range's result file of a target: three shots of series 1.
void RangeWrites(const std::string& file, const std::string& shots)
{
    TempFolder::Write("res/BV/" + file, "[Res]\r\nSer1=" + shots + "\r\n");
}

const char* const kResultFiles[] = {"H1R00101.TXT", "H1R00102.TXT", "H2R00101.TXT", "H2R00102.TXT"};

struct Case {
    FileKind kind;
    Damage damage;
};

class DamagedFilesTest : public testing::TestWithParam<Case> {
protected:
    // The competition every case damages: two exchange events of two
    // shooters each, their results in and their names sent once.
    static void SetUpTestSuite()
    {
        s_fixture = std::make_unique<TempFolder>();
        fs::create_directory("res");
        RunSteps({
            {"res comp res 1 --exch-on 1 --org 1"},
            {"res club res 1 7 'Nordre'"},
            {"res event res 1 --series 10:3 --relays 1 --exch 1 --prefix H1 --targets 1-2"},
            {"res event res 2 --series 10:3 --relays 1 --exch 1 --prefix H2 --targets 1-2"},
            {"res shooter res 101 'Kari Ås' --club 7"},
            {"res shooter res 102 'Per Li' --club 7"},
            {"res shooter res 201 'Ola Nordmann' --club 7"},
            {"res shooter res 202 'Siri Bø' --club 7"},
            {"res entry res 1 1 1 101 --changed 1"},
            {"res entry res 1 1 2 102 --changed 1"},
            {"res entry res 2 1 1 201 --changed 1"},
            {"res entry res 2 1 2 202 --changed 1"},
        });
        for (const char* file : kResultFiles)
            RangeWrites(file, "100 90 80");
        RunSteps({{"res exchange res --read-now", 0, "run\t1\t1\t2\t2\nrun\t1\t2\t2\t2\n"}});
        s_folder = fs::current_path() / "res";
    }
    static void TearDownTestSuite() { s_fixture.reset(); }

    void SetUp() override
    {
        fs::copy(s_folder, "res", fs::copy_options::recursive);
        // The range's next shots, for the run to take in.
        for (const char* file : kResultFiles)
            RangeWrites(file, "70 60 50");
        const std::string path = std::string("res/") + GetParam().kind.path;
        const std::string whole = TempFolder::Read(path);
        ASSERT_GE(whole.size(), 8u + static_cast<size_t>(HeaderField(whole, 4))) << "a file of records to damage";
        const std::string damaged = DamageOf(whole, GetParam().damage);
        TempFolder::Write(path, damaged);
        std::string system = std::string(".\\") + GetParam().kind.path;
        std::replace(system.begin(), system.end(), '/', '\\');
        m_named = system + ": " + FaultOf(whole, damaged, GetParam().damage);
    }

    TempFolder m_folder;
    std::string m_named;  // the file and its fault, as standard error names them

private:
    static inline std::unique_ptr<TempFolder> s_fixture;
    static inline fs::path s_folder;
};

TEST_P(DamagedFilesTest, ReadingNamesTheFileAndChangesNothing)
{
    const auto before = Snapshot("res");
    const bvtest::ToolRun run = RunTool(GetParam().kind.reads);
    EXPECT_TRUE(bvtest::FailedWithOneLine(run));
    // The newer version's message is BVRes's own, without a file.
    const std::string line = GetParam().damage == Damage::Newer ? FaultOf({}, {}, Damage::Newer) : m_named;
    EXPECT_EQ(run.err, "bvtool: " + line + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ChangedFiles(before, Snapshot("res")), std::set<std::string>{});
}

TEST_P(DamagedFilesTest, ExchangeLeavesWhatDependsOnTheFileAlone)
{
    const auto before = Snapshot("res");
    fs::remove("res/BVLog.txt");
    const bvtest::ToolRun run = RunTool("res exchange res --read-now --runs 2");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Occurrences(run.err, "bvtool: " + m_named + "\n"), 1u) << run.err;

    const std::string log = TempFolder::Read("res/BVLog.txt");
    const std::string logged = GetParam().damage == Damage::Newer
                                   ? "File version is newer than program"
                                   : "Can't read " + m_named;
    EXPECT_EQ(Occurrences(log, logged), 1u) << log;

    const Scope scope = GetParam().kind.scope;
    const std::set<std::string>& may = kMayChange[static_cast<int>(scope)];
    std::set<std::string> changed = ChangedFiles(before, Snapshot("res"));
    for (const std::string& file : kMustChange[static_cast<int>(scope)])
        EXPECT_TRUE(changed.count(file)) << file << " did not change";
    std::erase_if(changed, [&may](const std::string& file) {
        const std::string journalOf = file.ends_with(".undo") ? file.substr(0, file.size() - 5) : file;
        return may.count(journalOf) != 0;
    });
    EXPECT_EQ(changed, std::set<std::string>{});
}

const char* DamageName(Damage damage)
{
    static const char* const kNames[] = {"Empty", "ThreeBytes", "Random", "HalfTruncated", "Header", "Newer"};
    return kNames[static_cast<int>(damage)];
}

std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.kind.path;
    name = name.substr(name.find('/') + 1);
    return name.substr(0, name.find('.')) + "_" + DamageName(info.param.damage);
}

std::vector<Case> AllCases()
{
    std::vector<Case> cases;
    for (const FileKind& kind : kKinds)
        for (Damage d : {Damage::Empty, Damage::ThreeBytes, Damage::Random, Damage::HalfTruncated, Damage::Header,
                         Damage::Newer})
            cases.push_back({kind, d});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryDamage, DamagedFilesTest, testing::ValuesIn(AllCases()), CaseName);

// A settings file that reads can still hold any count: events, relays and
// targets are settings indexes, and a run looks no further than they go.
TEST(DamagedCountsTest, CountsBeyondTheSettingsIndexesEndTheRunInTime)
{
    TempFolder folder;
    fs::create_directory("res");
    RunSteps({
        {"res comp res 1 --exch-on 1"},
        {"res event res 1 --series 10:3 --relays 1 --exch 1 --prefix H1 --targets 1-2"},
        {"res shooter res 101 'Kari Ås'"},
        {"res entry res 1 1 1 101 --changed 1"},
        {"cfg set res/Comp1/Comp.bvc 2 1 1 2000000000"},   // events
        {"cfg set res/Comp1/Comp.bvc 3 1 12 2000000000"},  // relays of event 1
        {"cfg set res/Comp1/Comp.bvc 3 1 14 -2000000000"},  // its first target
        {"cfg set res/Comp1/Comp.bvc 3 1 15 2000000000"},  // and its last
    });
    RangeWrites("H1R00101.TXT", "100 90 80");
    const auto start = std::chrono::steady_clock::now();
    const bvtest::ToolRun run = RunTool("res exchange res --read-now");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "run\t1\t1\t1\t1\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));

    // The web pages and the lists walk the events as well.
    RunSteps({
        {"cfg set res/Comp1/Comp.bvc 3 1 12 1"},
        {"cfg set res/Comp1/Comp.bvc 3 1 14 1"},
        {"cfg set res/Comp1/Comp.bvc 3 1 15 2"},
    });
    const auto webStart = std::chrono::steady_clock::now();
    const bvtest::ToolRun web = RunTool("res web res --pweb 1 --aweb 1");
    EXPECT_EQ(web.status, 0) << web.err;
    EXPECT_LT(std::chrono::steady_clock::now() - webStart, std::chrono::seconds(60));
}

}  // namespace damagedfiles
