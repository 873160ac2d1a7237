#include "foundation/files/BVIniFile.h"
#include "platform/files/ArchiveFlag.h"
#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cerrno>
#include <filesystem>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::TempFolder;

class BVIniFileTest : public bvtest::InTempFolder {};

const char* const kExchangeFile =
    "; written by hand\r\n"
    "[Def]\r\n"
    "StartNr=12\r\n"
    "  TargetID \t=\t 3 \r\n"
    "Comment=[Not a section] text\r\n"
    "Empty=\r\n"
    "Twice==x==\r\n"
    "[Res]\n"
    "Ser10=10 9 8\n"
    "Ser2=7 7\r"
    "some line without a value\r\n"
    "  [Notes]  \r\n"
    "State=4\r\n"
    "[def]\r\n"
    "StartNr=99\r\n"
    "Late=1\r\n";

TEST_F(BVIniFileTest, LookupsMatchWholeNamesWithoutRegardToCase)
{
    TempFolder::Write("H1R00101.TXT", kExchangeFile);
    CBVIniFile ini;
    ASSERT_EQ(ini.OpenRead(".\\H1R00101.TXT"), 0);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Def", "StartNr", "12"},
        {"DEF", "startnr", "12"},
        {"Def", "TargetID", "3"},                         // blanks and tabs around do not count
        {"Def", "Comment", "[Not a section] text"},       // a '[' inside a value opens nothing
        {"Def", "Empty", ""},
        {"Def", "Twice", "x"},
        {"Def", "Start", "(default)"},                    // never a prefix of a longer key
        {"De", "StartNr", "(default)"},                   // nor of a longer section
        {"Res", "Ser10", "10 9 8"},
        {"Res", "Ser1", "(default)"},
        {"Res", "Ser2", "7 7"},
        {"Notes", "State", "4"},
        {"Def", "Late", "(default)"},                     // only the first [Def] is looked in
        {"Res", "some line without a value", "(default)"},
        {"Missing", "StartNr", "(default)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.GetString(c.section, c.key, "(default)"), c.expected) << c.section << "." << c.key;
}

TEST_F(BVIniFileTest, GetIntTakesTheLeadingNumberOrTheDefault)
{
    TempFolder::Write("n.ini", "[N]\r\nTwelve=12\r\nBlank=\r\nLetters=abc\r\nMixed= -7x\r\nHuge=99999999999\r\n");
    CBVIniFile ini;
    ASSERT_EQ(ini.Open("n.ini"), 0);
    struct Case {
        const char* key;
        int expected;
    } cases[] = {{"Twelve", 12}, {"Blank", 5}, {"Missing", 5}, {"Letters", 0}, {"Mixed", -7}, {"Huge", 2147483647}};
    for (const Case& c : cases)
        EXPECT_EQ(ini.GetInt("N", c.key, 5), c.expected) << c.key;
}

TEST_F(BVIniFileTest, LongValuesAreNotCut)
{
    std::string comment(250, 'c');
    std::string shots;
    for (int i = 0; i < 60; ++i)
        shots += "10.9 ";
    CBVIniFile writer;
    writer.PutString("Notes", "Comments", comment);
    writer.PutString("Res", "Ser1", shots);
    ASSERT_EQ(writer.Write("long.ini"), 0);

    CBVIniFile reader;
    ASSERT_EQ(reader.Open("long.ini"), 0);
    EXPECT_EQ(reader.GetString("Notes", "Comments"), comment);
    EXPECT_EQ(reader.GetString("Res", "Ser1"), shots.substr(0, shots.size() - 1));  // trailing blank trimmed
}

TEST_F(BVIniFileTest, AMissingFileGivesDefaultsAtOnceAndIsNotMade)
{
    CBVIniFile ini;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ini.Open("Missing.ini"), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));  // no retries
    EXPECT_FALSE(platform::FileExists("Missing.ini"));
    EXPECT_EQ(ini.GetString("Def", "StartNr", "-1"), "-1");
    EXPECT_EQ(ini.GetInt("Def", "StartNr", -1), -1);
}

struct MergeCase {
    const char* name;
    std::string before;  // "" for no file
    std::vector<std::vector<std::string>> puts;
    bool fresh;
    std::string after;
};

TEST_F(BVIniFileTest, WriteMergesIntoWhatTheFileHolds)
{
    const std::vector<MergeCase> cases = {
        {"new file", "", {{"Def", "StartNr", "5"}, {"Res", "Ser1", "10"}}, false,
         "[Def]\r\nStartNr=5\r\n[Res]\r\nSer1=10\r\n"},
        {"Ser1 goes beside Ser10, never over it", "[Res]\r\nSer10=1 2\r\n", {{"Res", "Ser1", "9"}}, false,
         "[Res]\r\nSer10=1 2\r\nSer1=9\r\n"},
        {"a key is replaced whatever its case, keeping its spelling", "[Def]\r\nStartNr=1\r\nX=2\r\n",
         {{"DEF", "startnr", "7"}}, false, "[Def]\r\nStartNr=7\r\nX=2\r\n"},
        {"a section is never matched by its beginning", "[Res10]\r\nA=1\r\n", {{"Res1", "A", "2"}}, false,
         "[Res10]\r\nA=1\r\n[Res1]\r\nA=2\r\n"},
        {"unknown lines stay as they stand", "; comment\r\n[Def]\r\n# note\r\nx y z\r\n\r\nA=1\r\n\r\n",
         {{"Def", "B", "2"}}, false, "; comment\r\n[Def]\r\n# note\r\nx y z\r\n\r\nA=1\r\nB=2\r\n\r\n"},
        {"a [ inside a value stays a value", "[Def]\r\nComment=[x] y\r\nA=1\r\n", {{"Def", "A", "2"}}, false,
         "[Def]\r\nComment=[x] y\r\nA=2\r\n"},
        {"lf files come back with cr lf", "[A]\nk = v\n", {{"A", "n", "1"}}, false, "[A]\r\nk = v\r\nn=1\r\n"},
        {"later puts win", "", {{"A", "k", "1"}, {"a", "K", "2"}}, false, "[A]\r\nk=2\r\n"},
        {"a line break in a value is written as a blank", "", {{"Notes", "Comments", "one\r\ntwo"}}, false,
         "[Notes]\r\nComments=one  two\r\n"},
        {"start fresh keeps only the queue", "[Old]\r\nA=1\r\n", {{"New", "B", "2"}}, true, "[New]\r\nB=2\r\n"},
        {"an empty key is not written", "", {{"A", "", "1"}, {"A", "k", "2"}}, false, "[A]\r\nk=2\r\n"},
    };
    for (const MergeCase& c : cases) {
        platform::RemoveFile("m.ini");
        if (!c.before.empty())
            TempFolder::Write("m.ini", c.before);
        CBVIniFile ini;
        for (const auto& p : c.puts)
            ini.PutString(p[0], p[1], p[2]);
        ASSERT_EQ(ini.Write("m.ini", c.fresh), 0) << c.name;
        EXPECT_EQ(TempFolder::Read("m.ini"), c.after) << c.name;
        EXPECT_EQ(ini.GetText(), c.after) << c.name << ": the cache holds what was written";
    }
}

TEST_F(BVIniFileTest, WriteKeepsWhatAnotherProgramAddedSinceThisOneRead)
{
    TempFolder::Write("H1R00101.TXT", "[Def]\r\nTargetID=3\r\n");
    CBVIniFile rangeControl;
    ASSERT_EQ(rangeControl.Open("H1R00101.TXT"), 0);

    CBVIniFile results;  // the results program puts the start number in meanwhile
    results.PutInt("Def", "StartNr", 1234);
    ASSERT_EQ(results.Write("H1R00101.TXT"), 0);

    rangeControl.PutString("Res", "Ser1", "10 10 9");
    ASSERT_EQ(rangeControl.Write("H1R00101.TXT"), 0);
    EXPECT_EQ(TempFolder::Read("H1R00101.TXT"), "[Def]\r\nTargetID=3\r\nStartNr=1234\r\n[Res]\r\nSer1=10 10 9\r\n");
    // The cache now holds what was written.
    EXPECT_EQ(rangeControl.GetInt("Def", "StartNr", -1), 1234);
    // The queue stays until Reset: a second Write puts it again.
    results.Reset();
    EXPECT_EQ(results.GetInt("Def", "StartNr", -1), -1);
}

TEST_F(BVIniFileTest, WriteSetsTheArchiveMarkEveryTime)
{
    CBVIniFile ini;
    ini.PutInt("Def", "StartNr", 1);
    ASSERT_EQ(ini.Write("a.ini"), 0);
    EXPECT_TRUE(platform::HasArchiveFlag("a.ini"));
    ASSERT_EQ(platform::SetArchiveFlag("a.ini", false), 0);  // the importer has read it
    ASSERT_EQ(ini.Write("a.ini"), 0);
    EXPECT_TRUE(platform::HasArchiveFlag("a.ini"));
}

// The results program writing its start number into the range control's
// file leaves the file's "unread" mark as it found it.
TEST_F(BVIniFileTest, AWriteCanKeepTheArchiveMark)
{
    for (const bool marked : {true, false}) {
        SCOPED_TRACE(marked);
        CBVIniFile range;
        range.PutString("Res", "Ser1", "10 9");
        ASSERT_EQ(range.Write("a.ini"), 0);
        ASSERT_EQ(platform::SetArchiveFlag("a.ini", marked), 0);
        CBVIniFile results;
        results.PutInt("Def", "StartNr", 7);
        ASSERT_EQ(results.Write("a.ini", false, CBVIniFile::ArchiveMark::Keep), 0);
        EXPECT_EQ(platform::HasArchiveFlag("a.ini"), marked);
        EXPECT_EQ(TempFolder::Read("a.ini"), "[Res]\r\nSer1=10 9\r\n[Def]\r\nStartNr=7\r\n");
    }
    // A file made by such a write carries no mark.
    CBVIniFile results;
    results.PutInt("Def", "StartNr", 7);
    ASSERT_EQ(results.Write("b.ini", false, CBVIniFile::ArchiveMark::Keep), 0);
    EXPECT_FALSE(platform::HasArchiveFlag("b.ini"));
}

TEST_F(BVIniFileTest, WriteIntoAMissingFolderFailsAndMakesNothing)
{
    CBVIniFile ini;
    ini.PutInt("Def", "StartNr", 1);
    EXPECT_EQ(ini.Write(".\\NoFolder\\a.ini"), -1);
    EXPECT_FALSE(platform::FolderExists("NoFolder"));
}

TEST_F(BVIniFileTest, AReaderWaitsWhileAWriterHoldsTheLockAndThenSeesTheNewFile)
{
    TempFolder::Write("a.ini", "[A]\r\nk=old\r\n");
    platform::NativeFile writer;
    ASSERT_EQ(writer.OpenExisting("a.ini", platform::NativeFile::Access::ReadWrite), 0);
    ASSERT_EQ(writer.TryLock(0, 0), 0);

    std::atomic<int> rc{99};
    std::string seen;
    std::thread reader([&] {
        CBVIniFile ini;
        rc = ini.Open("a.ini");
        seen = ini.GetString("A", "k");
    });
    platform::SleepMs(250);  // the reader meets the lock at least twice
    ASSERT_EQ(platform::WriteFileAtomically("a.ini", "[A]\r\nk=new\r\n"), 0);
    writer.Close();
    reader.join();
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(seen, "new");
}

TEST_F(BVIniFileTest, AWriterKilledAtAnyMomentLeavesAWholeFile)
{
    constexpr int kKeys = 200;
    const std::string filler(1000, 'x');
    for (int round = 0; round < 6; ++round) {
        int written[2];
        ASSERT_EQ(pipe(written), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int version = 0;; ++version) {
                CBVIniFile ini;
                for (int k = 0; k < kKeys; ++k)
                    ini.PutString("Res", "K" + std::to_string(k), std::to_string(version) + filler);
                if (ini.Write("Big.ini", true) == 0 && version == 0)
                    (void)!write(written[1], "w", 1);  // a whole file is in place
            }
        }
        char byte;
        ASSERT_EQ(read(written[0], &byte, 1), 1);
        close(written[0]);
        close(written[1]);
        platform::SleepMs(static_cast<unsigned>(round * 3));  // somewhere in a later write
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        CBVIniFile ini;
        ASSERT_EQ(ini.Open("Big.ini"), 0);
        std::string first = ini.GetString("Res", "K0", "none");
        ASSERT_NE(first, "none") << "round " << round;
        for (int k = 1; k < kKeys; ++k)
            ASSERT_EQ(ini.GetString("Res", "K" + std::to_string(k), "none"), first) << "round " << round << " key " << k;
        platform::RemoveFile("Big.ini");
    }
}

TEST_F(BVIniFileTest, AFullDiskLeavesTheOldFileAndNoLitter)
{
    std::string before = "[Def]\r\nStartNr=12\r\n[Res]\r\nSer1=" + std::string(3000, '9') + "\r\n";
    TempFolder::Write("H1R00101.TXT", before);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // The disk fills up after 4 KB: every write beyond it fails.
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        CBVIniFile ini;
        ini.PutString("Notes", "Comments", std::string(5000, 'c'));
        _exit(ini.Write("H1R00101.TXT") == -1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as done";
    EXPECT_EQ(TempFolder::Read("H1R00101.TXT"), before);
    EXPECT_EQ(platform::FindFiles(".", "*.TMP").size(), 0u);
}

// Python's configparser writes an ini file; we read it, add to it, and
// configparser reads every value back, ours and its own.
TEST_F(BVIniFileTest, FilesWrittenByConfigparserAreReadAndMergedBothWays)
{
    int made = -1;
    bvtest::RunPython("import configparser\n"
                      "c = configparser.ConfigParser(interpolation=None)\n"
                      "c.optionxform = str\n"
                      "c['Shooter'] = {'Name': 'Kari Nordmann', 'Club': 'Brevandi'}\n"
                      "c['H1'] = {'Class': 'JUN', 'Start': '12.5'}\n"
                      "with open('N01234.txt', 'w') as f: f.write('# made by configparser\\n'); c.write(f)\n",
                      {}, &made);
    EXPECT_EQ(made, 0);
    CBVIniFile ini;
    ASSERT_EQ(ini.Open("N01234.txt"), 0);
    EXPECT_EQ(ini.GetString("Shooter", "Name"), "Kari Nordmann");
    EXPECT_EQ(ini.GetString("shooter", "club"), "Brevandi");
    EXPECT_EQ(ini.GetString("H1", "Start"), "12.5");

    ini.PutString("H1", "Cat", "A");
    ini.PutString("Shooter", "Name", "Ola Nordmann");
    ini.PutString("Def", "StartNr", "1234");
    ASSERT_EQ(ini.Write("N01234.txt"), 0);

    int read = -1;
    std::string dump = bvtest::RunPython("import configparser\n"
                                         "c = configparser.ConfigParser(interpolation=None, strict=True)\n"
                                         "c.optionxform = str\n"
                                         "c.read('N01234.txt')\n"
                                         "for s in c.sections():\n"
                                         "  for k, v in c[s].items(): print(s + '|' + k + '|' + v)\n",
                                         {}, &read);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(dump,
              "Shooter|Name|Ola Nordmann\n"
              "Shooter|Club|Brevandi\n"
              "H1|Class|JUN\n"
              "H1|Start|12.5\n"
              "H1|Cat|A\n"
              "Def|StartNr|1234\n");
    EXPECT_EQ(TempFolder::Read("N01234.txt").rfind("# made by configparser\r\n", 0), 0u);
}

// What a reader meets while others write: the keys each writer has put so
// far, complete lines, each file ending in a line end.
struct Snapshot {
    bool wellFormed = true;
    std::map<char, std::set<int>> keys;  // writer letter -> key numbers
};

Snapshot Inspect(const std::string& text)
{
    Snapshot s;
    if (!text.empty() && text.compare(text.size() - 2, 2, "\r\n") != 0)
        s.wellFormed = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            s.wellFormed = false;
            break;
        }
        std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        if (line == "[Keys]")
            continue;
        // Every key line is "<writer><nn>=v<writer><nn>".
        if (line.size() != 8 || line[3] != '=' || line[4] != 'v' || line.substr(0, 3) != line.substr(5, 3)) {
            s.wellFormed = false;
            continue;
        }
        s.keys[line[0]].insert(std::stoi(line.substr(1, 2)));
    }
    return s;
}

TEST_F(BVIniFileTest, TwoWritingProcessesLoseNothingAndAReaderNeverSeesATornFile)
{
    constexpr int kKeys = 50;
    std::vector<pid_t> writers;
    for (char letter : {'A', 'B'}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int k = 0; k < kKeys; ++k) {
                char key[8], value[8];
                std::snprintf(key, sizeof key, "%c%02d", letter, k);
                std::snprintf(value, sizeof value, "v%s", key);
                CBVIniFile ini;
                ini.PutString("Keys", key, value);
                failures += ini.Write("Shared.ini") != 0;
            }
            _exit(failures);
        }
        writers.push_back(pid);
    }

    // Read as the results program would, all the time the writers run.
    int reads = 0, torn = 0, lost = 0;
    std::map<char, std::set<int>> seenBefore;
    std::vector<int> statuses;
    for (;;) {
        bool anyRunning = false;
        for (pid_t& pid : writers) {
            int status = 0;
            if (pid != 0 && waitpid(pid, &status, WNOHANG) == pid) {
                statuses.push_back(status);
                pid = 0;
            }
            anyRunning |= pid != 0;
        }
        if (!anyRunning)
            break;
        CBVIniFile ini;
        if (ini.Open("Shared.ini") != 0)
            continue;
        ++reads;
        Snapshot s = Inspect(ini.GetText());
        torn += !s.wellFormed;
        for (auto& [letter, before] : seenBefore)
            for (int k : before)
                lost += !s.keys[letter].count(k);
        seenBefore = s.keys;
    }
    for (int status : statuses) {
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "writes that gave up";
    }
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(lost, 0) << "a key once seen went missing again";

    Snapshot final = Inspect(TempFolder::Read("Shared.ini"));
    EXPECT_TRUE(final.wellFormed);
    EXPECT_EQ(final.keys['A'].size(), static_cast<size_t>(kKeys));
    EXPECT_EQ(final.keys['B'].size(), static_cast<size_t>(kKeys));
    EXPECT_GT(reads, 0);
    RecordProperty("reads", reads);
}

}  // namespace

namespace {

TEST_F(BVIniFileTest, QueuedRemovalsTakeOnlyThePickedKeys)
{
    bvtest::TempFolder::Write("R.TXT", "[Def]\r\nStartNr=5\r\n[Res]\r\nSer1=10\r\nSer5=9\r\n; kept\r\nOther=1\r\n");
    CBVIniFile ini;
    ini.RemoveKeys("res", [](std::string_view key) { return key.rfind("Ser", 0) == 0; });
    ini.PutString("Res", "Ser1", "8");
    ASSERT_EQ(ini.Write("R.TXT"), 0);
    EXPECT_EQ(bvtest::TempFolder::Read("R.TXT"), "[Def]\r\nStartNr=5\r\n[Res]\r\n; kept\r\nOther=1\r\nSer1=8\r\n");
}

// Files other programs and computers put in a shared folder: one over the
// reader's limit and one that is no plain file are refused at once (no
// retries), logged with the name, and neither read nor rewritten.
TEST_F(BVIniFileTest, FilesOverTheLimitOrNotPlainAreRefusedAtOnceAndLogged)
{
    const std::string big = "[Def]\r\nStartNr=12\r\n" + std::string(200, ';') + "\r\n";
    TempFolder::Write("H1R00101.TXT", big);
    ASSERT_EQ(::mkfifo("N00001.TXT", 0666), 0);
    const struct {
        const char* name;
        int64_t limit;
        int error;
        const char* logged;  // nullptr: read as usual
    } cases[] = {
        {"H1R00101.TXT", 100, EFBIG, "H1R00101.TXT: 221 bytes, more than 100; not read"},
        {"H1R00101.TXT", 221, 0, nullptr},
        {"N00001.TXT", 1 << 20, platform::kNotRegularFile, "N00001.TXT is no plain file; not read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.limit);
        std::filesystem::remove("BVLog.txt");
        CBVIniFile ini;
        ini.SetSizeLimit(c.limit);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ini.Open(c.name), c.logged ? -1 : 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
        EXPECT_EQ(ini.OpenError(), c.error);
        EXPECT_EQ(ini.GetInt("Def", "StartNr", -1), c.logged ? -1 : 12);
        ini.PutInt("Def", "StartNr", 13);
        EXPECT_EQ(ini.Write(c.name), c.logged ? -1 : 0);
        const std::string log = platform::FileExists("BVLog.txt") ? TempFolder::Read("BVLog.txt") : "";
        if (c.logged)
            EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        else
            EXPECT_EQ(log, "");
    }
    EXPECT_EQ(TempFolder::Read("H1R00101.TXT").find("StartNr=13"), 7u);  // the one read as usual took it
    EXPECT_TRUE(std::filesystem::is_fifo("N00001.TXT"));
}

}  // namespace
