#include "foundation/files/BVFileEx.h"
#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "RecordBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <regex>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::kCachedRW;
using bvtest::kPlainRW;
using bvtest::kKeptRW;

// 36-byte records: a 4-byte key and a 32-byte text, like configuration items.
using bvtest::ItemBytes;
using bvtest::RecordHeader;

class BVFileExTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { bvtest::TempFolder::Write("BVLog.ini", "[BVLog]\r\nLevel=0\r\n"); }
    static std::string Bytes(const std::string& path) { return bvtest::TempFolder::Read(path); }
    static void Put(const std::string& path, const std::string& bytes) { bvtest::TempFolder::Write(path, bytes); }
    static std::string Log() { return bvtest::TempFolder::Read("BVLog.txt"); }
    static bool Logged(const std::string& text) { return Log().find(text) != std::string::npos; }
    static void ClearLog() { unlink("BVLog.txt"); }
};

// Runs body in a child process and returns its exit status (or 128 + signal).
template <typename F>
int InChild(F body)
{
    pid_t pid = fork();
    if (pid == 0) {
        int rc = body();
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

// ---------------------------------------------------------------------------
// Bytes on disk

TEST_F(BVFileExTest, NewFileAndWritesHaveTheExactBytes)
{
    CBVFileEx f;
    ASSERT_EQ(f.Open(".\\Items.bvc", 36, 1, 1, kCachedRW), 0);
    EXPECT_EQ(Bytes("Items.bvc"), RecordHeader(0, 36, 1));

    int n = 0;
    ASSERT_EQ(f.AddRec(n, ItemBytes(1001680, "Skytebane").data()), 0);
    EXPECT_EQ(n, 1);
    ASSERT_EQ(f.AddRec(n, ItemBytes(5029500, "Finale").data()), 0);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(f.WriteRec(1, ItemBytes(1001680, "Bane 2").data()), 0);
    EXPECT_EQ(Bytes("Items.bvc"), RecordHeader(3, 36, 1) + ItemBytes(1001680, "Bane 2") + ItemBytes(5029500, "Finale"));
    // 36-byte record: key 1001680 = 0x000F48D0 little-endian, then the text.
    EXPECT_EQ(Bytes("Items.bvc").substr(8, 10), std::string("\xD0\x48\x0F\x00" "Bane 2", 10));
    EXPECT_EQ(f.Header().changeCounter, 3);
    f.Close();
    EXPECT_FALSE(CRecordJournal::PendingAt("Items.bvc.undo"));
}

TEST_F(BVFileExTest, OpenReturnCodes)
{
    Put("v2.bvd", RecordHeader(0, 36, 2));
    Put("size0.bvd", RecordHeader(0, 0, 1));
    Put("size40.bvd", RecordHeader(0, 40, 1));
    Put("short.bvd", "\x01\x02\x03\x04\x05");
    Put("plainfile", "x");
    mkdir("folder.bvd", 0777);
    struct Case { std::string path; int16_t size; uint8_t create; uint8_t options; int rc; const char* log; };
    const Case cases[] = {
        {"ab", 36, 1, kCachedRW, -2, "Open(ab)=-2"},
        {std::string(261, 'x'), 36, 1, kCachedRW, -2, "Open(xxxxxxxx"},
        {"new.bvd", 3, 1, kCachedRW, -3, "Open(new.bvd)=-3"},
        {"new.bvd", 0, 1, kCachedRW, -3, "Open(new.bvd)=-3"},
        {"plainfile\\x.bvd", 36, 1, kCachedRW, -4, "Open(plainfile\\x.bvd)=-4(20)"},
        {"nofolder\\x.bvd", 36, 1, kCachedRW, -5, "Open(nofolder\\x.bvd)=-5(2)"},
        {"missing.bvd", 36, 0, kCachedRW, -7, nullptr},
        {"folder.bvd", 36, 0, kPlainRW, -7, "Open(folder.bvd) Attempt > 5*50 (21)"},
        {"short.bvd", 36, 0, kCachedRW, -8, "Open.ReadVersion(short.bvd)"},
        {"v2.bvd", 36, 0, kCachedRW, -99, "Open(v2.bvd) Wrong file version(2/1)"},
        {"size0.bvd", 36, 0, kCachedRW, -99, "Open(size0.bvd) Wrong record size(0/36)"},
        {"size40.bvd", 36, 0, kCachedRW, -99, "Open(size40.bvd) Wrong record size(40/36)"},
    };
    for (const Case& c : cases) {
        ClearLog();
        CBVFileEx f;
        EXPECT_EQ(f.Open(c.path, c.size, 1, c.create, c.options), c.rc) << c.path;
        EXPECT_FALSE(f.IsOpen());
        if (c.log)
            EXPECT_TRUE(Logged(c.log)) << c.path << "\n" << Log();
        else
            EXPECT_EQ(Log(), "") << c.path;
    }
    EXPECT_FALSE(platform::FileExists("new.bvd"));
    EXPECT_FALSE(platform::FileExists("missing.bvd"));
}

TEST_F(BVFileExTest, MissingFileFailsAtOnceAndWrongVersionIsReported)
{
    CBVFileEx f;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(f.Open("missing.bvd", 36, 1, 0, kCachedRW), -7);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));

    Put("old.bvd", RecordHeader(7, 36, 1) + ItemBytes(1, "a"));
    EXPECT_EQ(f.Open("old.bvd", 54, 2, 0, kCachedRW), -99);
    EXPECT_EQ(f.GetVersion(), 1);
    EXPECT_EQ(f.Header().recordSize, 36);
}

TEST_F(BVFileExTest, HeaderCannotBeWrittenWhenTheDiskRefuses)
{
    // The header of a new file cannot be written: nothing may be left behind.
    int status = InChild([] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{0, 0};
        setrlimit(RLIMIT_FSIZE, &limit);
        CBVFileEx f;
        int rc = f.Open("new.bvd", 36, 1, 1, kCachedRW);
        return rc == -6 && !platform::FileExists("new.bvd") ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(platform::FindFiles(".", "*.TMP").size(), 0u);
}

TEST_F(BVFileExTest, ExistingFileIsNeverTruncatedByACreatingOpen)
{
    // Another program made the file first (under another letter case): the
    // creating open takes it as it is.
    Put("COMP.BVC", RecordHeader(4, 36, 1) + ItemBytes(1001001, "kept"));
    CBVFileEx f;
    ASSERT_EQ(f.Open("Comp.bvc", 36, 1, 1, kCachedRW), 0);
    EXPECT_EQ(f.GetRecCount(), 1);
    EXPECT_EQ(Bytes("COMP.BVC"), RecordHeader(4, 36, 1) + ItemBytes(1001001, "kept"));
    EXPECT_FALSE(CRecordJournal::PendingAt("Comp.bvc.undo"));
    EXPECT_EQ(platform::FindFiles(".", "*.BV?").size(), 1u);
}

TEST_F(BVFileExTest, OpenWithoutTheUpdatedOptionIsLoggedInTheLineFormat)
{
    CBVFileEx f;
    ASSERT_EQ(f.Open("x.bvd", 36, 1, 1, 0x0A), 0);
    std::regex line(" *[0-9]+ [0-9]{4}\\.[0-9]{2}\\.[0-9]{2} [0-9]{2}\\.[0-9]{2}\\.[0-9]{2}\\.[0-9]{3} 5A "
                    "BVFileEx\\.cpp\\([0-9]{3,}\\) Call to Open is not updated\\(x\\.bvd\\)\r");
    std::string log = Log();
    std::string first = log.substr(0, log.find('\n'));
    EXPECT_TRUE(std::regex_match(first, line)) << first;
}

// ---------------------------------------------------------------------------
// Records and the cache

TEST_F(BVFileExTest, PartialLastRecordIsIgnoredThenCutByTheNextAppend)
{
    Put("p.bvd", RecordHeader(2, 36, 1) + ItemBytes(1, "one") + ItemBytes(2, "two") + "\x07\x07\x07\x07\x07");
    for (uint8_t options : {kCachedRW, kPlainRW}) {
        CBVFileEx f;
        ASSERT_EQ(f.Open("p.bvd", 36, 1, 0, options), 0);
        EXPECT_EQ(f.GetRecCount(), 2);
        char buffer[36];
        EXPECT_EQ(f.ReadRec(3, buffer), options == kCachedRW ? -2 : -4);
    }
    CBVFileEx f;
    ASSERT_EQ(f.Open("p.bvd", 36, 1, 0, kCachedRW), 0);
    int n = 0;
    ASSERT_EQ(f.AddRec(n, ItemBytes(3, "three").data()), 0);
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(Logged("AddRec(p.bvd) - Odd filesize=85")) << Log();
    EXPECT_EQ(Bytes("p.bvd"),
              RecordHeader(3, 36, 1) + ItemBytes(1, "one") + ItemBytes(2, "two") + ItemBytes(3, "three"));
}

TEST_F(BVFileExTest, ReadingPastTheEndFailsWithoutWaiting)
{
    Put("p.bvd", RecordHeader(0, 36, 1) + ItemBytes(1, "one"));
    CBVFileEx f;
    ASSERT_EQ(f.Open("p.bvd", 36, 1, 0, kPlainRW), 0);
    char buffer[36];
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(f.ReadRec(2, buffer), -4);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(f.ReadRec(0, buffer), -1);
    EXPECT_EQ(f.ReadRecDirect(2, buffer), -2);
    EXPECT_EQ(f.ReadRecDirect(1, buffer), 0);
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "one"));
}

TEST_F(BVFileExTest, WritesBeyondTheLastRecordWriteNothing)
{
    Put("w.bvd", RecordHeader(0, 36, 1) + ItemBytes(1, "one"));
    const std::string before = Bytes("w.bvd");
    for (uint8_t options : {kCachedRW, kPlainRW}) {
        CBVFileEx f;
        ASSERT_EQ(f.Open("w.bvd", 36, 1, 0, options), 0);
        int beyond = options == kCachedRW ? 2 : 3;  // a plain file may be extended by exactly one
        EXPECT_EQ(f.WriteRec(beyond, ItemBytes(9, "x").data()), options == kCachedRW ? -1 : -1);
        EXPECT_EQ(f.WriteField(2, 4, 3, "abc"), -2);
        EXPECT_EQ(f.WriteField(1, 34, 3, "abc"), -2);  // crosses into the next record
        EXPECT_EQ(f.IncrementField(5, 0, 4), 0);
        EXPECT_EQ(Bytes("w.bvd"), before);
    }
}

// The display and the remote open the shared files for reading only; a write
// asked through such a handle is refused at once, writes nothing and waits
// for no lock.
TEST_F(BVFileExTest, AWriteThroughAReadOnlyHandleIsRefusedAtOnce)
{
    Put("r.bvc", RecordHeader(4, 36, 1) + ItemBytes(1, "one"));
    const std::string before = Bytes("r.bvc");
    struct Case {
        const char* name;
        uint8_t options;
        int (*write)(CBVFileEx&);
    };
    const Case cases[] = {
        {"WriteRec", 0x80, [](CBVFileEx& f) { return f.WriteRec(1, ItemBytes(1, "two").data()); }},
        {"AddRec", 0x80, [](CBVFileEx& f) { int n = 0; return f.AddRec(n, ItemBytes(2, "two").data()); }},
        {"WriteRecKey", 0x88, [](CBVFileEx& f) { return f.WriteRecKey(ItemBytes(1, "two").data()); }},
        {"WriteField", 0x80, [](CBVFileEx& f) { return f.WriteField(1, 4, 3, "two"); }},
        {"IncrementField", 0x80, [](CBVFileEx& f) { return f.IncrementField(1, 0, 4) <= 0 ? -1 : 0; }},
        {"GetUnique", 0x84, [](CBVFileEx& f) { return f.GetUnique() == 0 ? -1 : 0; }},
        {"CutToHeader", 0x80, [](CBVFileEx& f) { return f.CutToHeader(); }},
        {"Lock", 0x84, [](CBVFileEx& f) { f.CheckOpen(); int rc = f.Lock(); f.CheckClose(1); return rc; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        CBVFileEx f;
        ASSERT_EQ(f.Open("r.bvc", 36, 1, 0, c.options), 0);
        EXPECT_NE(c.write(f), 0);
        EXPECT_FALSE(Logged("Too many attempts")) << Log();
        EXPECT_EQ(Bytes("r.bvc"), before);
        char buffer[36];
        EXPECT_EQ(f.ReadRec(1, buffer), 0);  // and the handle still reads
        EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "one"));
    }
    EXPECT_FALSE(std::filesystem::exists("r.bvc.undo"));
}

TEST_F(BVFileExTest, CacheVerifyReportsEachChangeOnce)
{
    Put("c.bvd", RecordHeader(5, 36, 1) + ItemBytes(1, "one"));
    CBVFileEx reader, writer;
    ASSERT_EQ(reader.Open("c.bvd", 36, 1, 0, kCachedRW), 0);
    EXPECT_EQ(reader.CacheVerify(1), 1);  // a counter other than 0 is news to a new reader
    EXPECT_EQ(reader.CacheVerify(1), 0);

    ASSERT_EQ(writer.Open("c.bvd", 36, 1, 0, kCachedRW), 0);
    ASSERT_EQ(writer.WriteRec(1, ItemBytes(1, "changed").data()), 0);
    EXPECT_EQ(reader.CacheVerify(1), 1);
    EXPECT_EQ(reader.CacheVerify(1), 0);
    char buffer[36];
    ASSERT_EQ(reader.ReadRec(1, buffer), 0);
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "changed"));

    ASSERT_EQ(reader.WriteRec(1, ItemBytes(1, "own").data()), 0);
    EXPECT_EQ(reader.CacheVerify(1), 0);  // its own write is no news

    int n = 0;
    ASSERT_EQ(writer.AddRec(n, ItemBytes(2, "two").data()), 0);
    EXPECT_EQ(reader.ReadRec(2, buffer), 0);  // beyond the cache: read again
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(2, "two"));
    EXPECT_TRUE(Logged("ReadRec(c.bvd) Cache not in sync(2/1)"));
}

TEST_F(BVFileExTest, FieldsAreChangedInPlace)
{
    std::string rec(36, '\0');
    rec[8] = '\xFF';
    rec[12] = '\xFF';
    rec[13] = '\xFF';
    Put("f.bvd", RecordHeader(0, 36, 1) + rec);
    CBVFileEx f;
    ASSERT_EQ(f.Open("f.bvd", 36, 1, 0, kCachedRW), 0);
    EXPECT_EQ(f.IncrementField(1, 8, 1), 0);        // 255 wraps to 0
    EXPECT_EQ(f.IncrementField(1, 12, 2), 0);       // 65535 wraps to 0
    EXPECT_EQ(f.IncrementField(1, 16, 4), 1);
    EXPECT_EQ(f.IncrementField(1, 16, 3), 0);       // no such width: nothing happens
    ASSERT_EQ(f.WriteField(1, 20, 5, "hello"), 0);
    char part[5];
    ASSERT_EQ(f.ReadField(1, 20, 5, part), 0);
    EXPECT_EQ(std::string(part, 5), "hello");
    EXPECT_EQ(f.ReadField(1, 34, 4, part), -2);

    std::string expected(36, '\0');
    expected[16] = 1;
    std::memcpy(expected.data() + 20, "hello", 5);
    EXPECT_EQ(Bytes("f.bvd"), RecordHeader(4, 36, 1) + expected);
    char cached[36];
    ASSERT_EQ(f.ReadRec(1, cached), 0);
    EXPECT_EQ(std::string(cached, 36), expected);
    EXPECT_EQ(f.CacheVerify(1), 0);  // its own writes are no news to it
}

TEST_F(BVFileExTest, KeyedReadsAndWrites)
{
    Put("k.bvd", RecordHeader(0, 36, 1) + ItemBytes(10, "ten") + ItemBytes(20, "twenty") + ItemBytes(10, "second ten"));
    CBVFileEx f;
    ASSERT_EQ(f.Open("k.bvd", 36, 1, 0, kCachedRW), 0);
    std::string r = ItemBytes(10, "");
    ASSERT_EQ(f.ReadRecKey(r.data()), 0);
    EXPECT_EQ(r, ItemBytes(10, "ten"));  // the first record with the key
    EXPECT_EQ(f.LastKeyHit(), 1);
    r = ItemBytes(30, "");
    EXPECT_EQ(f.ReadRecKey(r.data()), -1);
    EXPECT_EQ(f.LastKeyHit(), 0);

    ASSERT_EQ(f.WriteRecKey(ItemBytes(20, "TWENTY").data()), 0);  // update
    ASSERT_EQ(f.WriteRecKey(ItemBytes(30, "thirty").data()), 0);  // append
    EXPECT_EQ(f.GetRecCount(), 4);
    EXPECT_EQ(Bytes("k.bvd"),
              RecordHeader(2, 36, 1) + ItemBytes(10, "ten") + ItemBytes(20, "TWENTY") + ItemBytes(10, "second ten") +
                  ItemBytes(30, "thirty"));

    CBVFileEx plain;
    ASSERT_EQ(plain.Open("k.bvd", 36, 1, 0, kPlainRW), 0);
    EXPECT_EQ(plain.ReadRecKey(r.data()), -1);
    EXPECT_EQ(plain.WriteRecKey(r.data()), -1);
    EXPECT_TRUE(Logged("ReadRecKey(k.bvd) - Not allowed for non-cached files"));
    EXPECT_TRUE(Logged("WriteRecKey(k.bvd) - Not allowed for non-cached files"));
}

TEST_F(BVFileExTest, WriteRecKeyLooksForTheKeyAgainUnderTheLock)
{
    Put("k.bvd", RecordHeader(0, 36, 1));
    CBVFileEx a, b;
    ASSERT_EQ(a.Open("k.bvd", 36, 1, 0, kCachedRW), 0);
    ASSERT_EQ(b.Open("k.bvd", 36, 1, 0, kCachedRW), 0);
    ASSERT_EQ(b.WriteRecKey(ItemBytes(7, "from b").data()), 0);
    // a's cache does not know key 7 yet; it must update b's record, not add a second.
    ASSERT_EQ(a.WriteRecKey(ItemBytes(7, "from a").data()), 0);
    EXPECT_EQ(Bytes("k.bvd"), RecordHeader(2, 36, 1) + ItemBytes(7, "from a"));
    EXPECT_EQ(b.CacheVerify(1), 1);
    std::string r = ItemBytes(7, "");
    ASSERT_EQ(b.ReadRecKey(r.data()), 0);
    EXPECT_EQ(r, ItemBytes(7, "from a"));
}

TEST_F(BVFileExTest, CutToHeaderRemovesEveryRecord)
{
    Put("cut.bvd", RecordHeader(3, 36, 1) + ItemBytes(1, "a") + ItemBytes(2, "b"));
    CBVFileEx f;
    ASSERT_EQ(f.Open("cut.bvd", 36, 1, 0, kCachedRW), 0);
    ASSERT_EQ(f.CutToHeader(), 0);
    EXPECT_EQ(Bytes("cut.bvd"), RecordHeader(4, 36, 1));
    EXPECT_EQ(f.GetRecCount(), 0);
    int n = 0;
    ASSERT_EQ(f.AddRec(n, ItemBytes(5, "e").data()), 0);
    EXPECT_EQ(n, 1);
}

TEST_F(BVFileExTest, GetUniqueNumbersFromTheCounter)
{
    CBVFileEx f;
    ASSERT_EQ(f.Open("StartNr.bvd", 4, 1, 1, kPlainRW), 0);
    EXPECT_EQ(f.GetUnique(), 1);
    EXPECT_EQ(f.GetUnique(), 2);
    EXPECT_EQ(f.GetUnique(), 3);
    EXPECT_EQ(f.LastUnique(), 3);
    EXPECT_EQ(Bytes("StartNr.bvd"), RecordHeader(3, 4, 1));
    EXPECT_FALSE(f.IsLocked());
    EXPECT_EQ(f.IncrementUnique(), -1);
    EXPECT_TRUE(Logged("IncrementUnique(StartNr.bvd) - Not locked"));
}

TEST_F(BVFileExTest, TheCounterWrapsAsASignedNumberWithoutFailingAWrite)
{
    struct Case { int32_t before, after; };
    for (const Case& c : {Case{-1, 0}, Case{0x7FFFFFFF, INT32_MIN}, Case{-2, -1}}) {
        Put("w.bvd", RecordHeader(c.before, 36, 1) + ItemBytes(1, "one"));
        CBVFileEx f;
        ASSERT_EQ(f.Open("w.bvd", 36, 1, 0, kCachedRW), 0);
        int n = 0;
        EXPECT_EQ(f.AddRec(n, ItemBytes(2, "two").data()), 0) << c.before;
        EXPECT_EQ(Bytes("w.bvd"), RecordHeader(c.after, 36, 1) + ItemBytes(1, "one") + ItemBytes(2, "two")) << c.before;
        Put("w.bvd", RecordHeader(c.before, 36, 1) + ItemBytes(1, "one"));
        f.Close();
        ASSERT_EQ(f.Open("w.bvd", 36, 1, 0, kPlainRW), 0);
        EXPECT_EQ(f.WriteField(1, 4, 3, "ONE"), 0) << c.before;
        EXPECT_EQ(Bytes("w.bvd"), RecordHeader(c.after, 36, 1) + ItemBytes(1, "ONE")) << c.before;
    }
}

// ---------------------------------------------------------------------------
// Lock brackets

TEST_F(BVFileExTest, OperationsInsideABracketKeepTheCallersLock)
{
    Put("b.bvd", RecordHeader(0, 36, 1) + ItemBytes(1, "one"));
    CBVFileEx owner, other;
    ASSERT_EQ(owner.Open("b.bvd", 36, 1, 0, kCachedRW), 0);
    ASSERT_EQ(other.Open("b.bvd", 36, 1, 0, kCachedRW), 0);

    ASSERT_EQ(owner.CheckOpen(), 0);
    ASSERT_EQ(owner.Lock(), 0);
    char buffer[36];
    ASSERT_EQ(owner.ReadRecDirect(1, buffer), 0);
    ASSERT_EQ(owner.WriteRec(1, ItemBytes(1, "changed").data()), 0);
    EXPECT_TRUE(owner.IsLocked());
    int n = 0;
    ASSERT_EQ(owner.AddRec(n, ItemBytes(2, "two").data()), 0);
    ASSERT_EQ(owner.WriteRecKey(ItemBytes(3, "three").data()), 0);
    EXPECT_GT(owner.GetUnique(), 0);
    EXPECT_EQ(owner.IncrementField(1, 30, 1), 1);
    EXPECT_TRUE(owner.IsLocked());

    // Another writer cannot come in until the bracket ends.
    ASSERT_EQ(other.CheckOpen(), 0);
    EXPECT_EQ(other.WaitLock(1, 2), -3);
    EXPECT_TRUE(Logged("WaitLock(b.bvd) Too many attempts (1/2)"));
    EXPECT_TRUE(CRecordJournal::PendingAt("b.bvd.undo"));  // changes not final yet

    EXPECT_EQ(owner.CheckClose(0), 0);
    EXPECT_FALSE(owner.IsLocked());
    EXPECT_FALSE(CRecordJournal::PendingAt("b.bvd.undo"));
    EXPECT_EQ(other.WaitLock(1, 2), 0);
    EXPECT_EQ(other.CheckClose(0), 0);
    EXPECT_EQ(other.GetRecCount(), 3);
}

TEST_F(BVFileExTest, ADirectReadNeverMeetsAWriteHalfDone)
{
    Put("b.bvd", RecordHeader(0, 36, 1) + ItemBytes(1, "old"));
    CBVFileEx writer, reader;
    ASSERT_EQ(writer.Open("b.bvd", 36, 1, 0, kPlainRW), 0);
    ASSERT_EQ(reader.Open("b.bvd", 36, 1, 0, kPlainRW), 0);
    ASSERT_EQ(writer.CheckOpen(), 0);
    ASSERT_EQ(writer.Lock(), 0);
    ASSERT_EQ(writer.WriteRecDirect(1, ItemBytes(1, "new").data()), 0);

    // While the writer's bracket lasts the reader waits, then gives up
    // rather than read what may be half written.
    char buffer[36];
    EXPECT_EQ(reader.ReadRecDirect(1, buffer), -2);
    EXPECT_TRUE(Logged("WaitShared(b.bvd) Failed"));

    // After the bracket it reads the whole new record, and lets go again.
    ASSERT_EQ(writer.CheckClose(0), 0);
    ASSERT_EQ(reader.ReadRecDirect(1, buffer), 0);
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "new"));
    ASSERT_EQ(writer.CheckOpen(), 0);
    EXPECT_EQ(writer.WaitLock(1, 2), 0);  // the reader let go of the file
    EXPECT_EQ(writer.CheckClose(0), 0);
}

TEST_F(BVFileExTest, ALockTakenInsideAnOpenBracketEndsWithItsOperation)
{
    Put("b.bvd", RecordHeader(0, 36, 1) + ItemBytes(1, "one"));
    CBVFileEx owner, other;
    ASSERT_EQ(owner.Open("b.bvd", 36, 1, 0, kPlainRW), 0);
    ASSERT_EQ(other.Open("b.bvd", 36, 1, 0, kPlainRW), 0);
    ASSERT_EQ(owner.CheckOpen(), 0);  // a bracket without a lock
    ASSERT_EQ(owner.WriteRec(1, ItemBytes(1, "x").data()), 0);
    EXPECT_FALSE(owner.IsLocked());
    ASSERT_EQ(other.CheckOpen(), 0);
    EXPECT_EQ(other.WaitLock(1, 2), 0);
    other.CheckClose(0);
    EXPECT_EQ(owner.CheckClose(0), 0);
    EXPECT_EQ(owner.Unlock(), -1);
    EXPECT_TRUE(Logged("Unlock(b.bvd) Not open!"));
}

// ---------------------------------------------------------------------------
// Conversion and replaced files

TEST_F(BVFileExTest, ConvertPadsRecordsAndKeepsTheOldFileAsBackup)
{
    platform::CreateFolder("Common");
    const std::string old = RecordHeader(9, 36, 1) + ItemBytes(1, "one") + ItemBytes(2, "two") + "\x01\x02";
    Put("Card.BVD", old);
    CBVFileEx f;
    ASSERT_EQ(f.Open(".\\Card.BVD", 54, 2, 1, kCachedRW), -99);
    ASSERT_EQ(f.Convert(".\\Common", 54, 2), 0);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.GetRecCount(), 2);
    std::string pad(18, '\0');
    EXPECT_EQ(Bytes("Card.BVD"), RecordHeader(9, 54, 2) + ItemBytes(1, "one") + pad + ItemBytes(2, "two") + pad);

    auto backups = platform::FindFiles("Common", "BVD*.TMP");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(Bytes("Common/" + backups[0]), old);
    EXPECT_EQ(platform::FindFiles(".", "*").size(), 3u);  // Card.BVD, BVLog.ini, BVLog.txt: nothing stray

    int n = 0;
    ASSERT_EQ(f.AddRec(n, (ItemBytes(3, "three") + pad).data()), 0);
    EXPECT_EQ(n, 3);
}

TEST_F(BVFileExTest, FailedConversionReturnsAnErrorAndLeavesTheFile)
{
    const std::string old = RecordHeader(9, 36, 1) + ItemBytes(1, "one");
    Put("Card.BVD", old);
    CBVFileEx f;
    ASSERT_EQ(f.Open("Card.BVD", 54, 2, 0, kCachedRW), -99);
    EXPECT_EQ(f.Convert(".\\NoSuchFolder", 54, 2), -3);
    EXPECT_TRUE(Logged("Can't copy file Card.BVD with wrong verson 2"));
    EXPECT_EQ(Bytes("Card.BVD"), old);
    EXPECT_EQ(f.Convert(".", 30, 2), -2);  // smaller records would lose bytes
    EXPECT_EQ(Bytes("Card.BVD"), old);
    EXPECT_EQ(platform::FindFiles(".", "*.TMP").size(), 0u);
}

TEST_F(BVFileExTest, AReaderHoldingAReplacedFileReopensIt)
{
    Put("r.bvd", RecordHeader(1, 36, 1) + ItemBytes(1, "old"));
    CBVFileEx reader;
    ASSERT_EQ(reader.Open("r.bvd", 36, 1, 0, kKeptRW), 0);
    EXPECT_EQ(reader.CacheVerify(1), 1);
    // Another program puts a new file of the same layout in its place.
    ASSERT_EQ(platform::WriteFileAtomically("r.bvd", RecordHeader(1, 36, 1) + ItemBytes(1, "new")), 0);
    EXPECT_EQ(reader.CacheVerify(1), 1);
    char buffer[36];
    ASSERT_EQ(reader.ReadRec(1, buffer), 0);
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "new"));
}

// Reads of a file kept open look at its header through the open handle, and
// at its name only now and then; a file another program puts in its place,
// or another program's write, is still seen.
TEST_F(BVFileExTest, KeptReadsLookAtTheNameOnlyNowAndThen)
{
    Put("r.bvd", RecordHeader(1, 36, 1) + ItemBytes(1, "old"));
    CBVFileEx reader;
    ASSERT_EQ(reader.Open("r.bvd", 36, 1, 0, kKeptRW), 0);
    char buffer[36];
    auto read = [&] { return reader.CacheVerify(1) >= 0 && reader.ReadRec(1, buffer) == 0; };
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(read());
    const auto tenths = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count() / 100;
    EXPECT_LE(reader.Stats().nameChecks, tenths + 3);  // the open, the first load, the first read

    // Another program writes the file in place: the counter tells at once.
    ASSERT_EQ(InChild([] {
        CBVFileEx writer;
        return writer.Open("r.bvd", 36, 1, 0, kCachedRW) == 0 && writer.WriteRec(1, ItemBytes(1, "written").data()) == 0
                   ? 0 : 1;
    }), 0);
    ASSERT_TRUE(read());
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "written"));

    // Another program replaces it whole, keeping the counter: seen within
    // the bound.
    ASSERT_EQ(InChild([] { return platform::WriteFileAtomically("r.bvd", RecordHeader(2, 36, 1) + ItemBytes(1, "new")); }),
              0);
    usleep(150'000);
    ASSERT_TRUE(read());
    EXPECT_EQ(std::string(buffer, 36), ItemBytes(1, "new"));
}

TEST_F(BVFileExTest, AWriterOfTheOldLayoutNeverWritesIntoAConvertedFile)
{
    Put("r.bvd", RecordHeader(1, 36, 1) + ItemBytes(1, "old"));
    CBVFileEx kept, bracket, converter;
    ASSERT_EQ(kept.Open("r.bvd", 36, 1, 0, kKeptRW), 0);
    ASSERT_EQ(bracket.Open("r.bvd", 36, 1, 0, kPlainRW), 0);
    ASSERT_EQ(bracket.CheckOpen(), 0);  // holds the old file, not yet locked

    ASSERT_EQ(converter.Open("r.bvd", 40, 2, 0, kCachedRW), -99);
    ASSERT_EQ(converter.Convert(".", 40, 2), 0);
    const std::string converted = Bytes("r.bvd");

    EXPECT_EQ(bracket.Lock(), -1);  // the lock would guard a file nobody reads
    EXPECT_EQ(kept.WriteRec(1, ItemBytes(1, "stale").data()), -1);
    EXPECT_LT(kept.CacheVerify(1), 0);
    EXPECT_FALSE(kept.IsCacheValid());
    EXPECT_EQ(Bytes("r.bvd"), converted);
    EXPECT_TRUE(Logged("Open(r.bvd) Wrong file version(2/1)"));
}

// ---------------------------------------------------------------------------
// Failures that must leave nothing behind

TEST_F(BVFileExTest, AFailedAppendLeavesNoRecordBehind)
{
    const std::string before = RecordHeader(0, 36, 1) + ItemBytes(1, "one");
    Put("a.bvd", before);
    int status = InChild([] {
        signal(SIGXFSZ, SIG_IGN);
        CBVFileEx f;
        if (f.Open("a.bvd", 36, 1, 0, kCachedRW) != 0)
            return 2;
        rlimit limit{8 + 36 + 10, 8 + 36 + 10};  // room for a tenth of a record
        setrlimit(RLIMIT_FSIZE, &limit);
        int n = 0;
        return f.AddRec(n, ItemBytes(2, "two").data()) != 0 && n == 0 && f.GetRecCount() == 1 ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Bytes("a.bvd"), before);
    EXPECT_FALSE(CRecordJournal::PendingAt("a.bvd.undo"));
}

TEST_F(BVFileExTest, TestFolderLeavesNothingBehind)
{
    Put("RW", "somebody's file");
    platform::CreateFolder("ro");
    EXPECT_EQ(CBVFileEx::TestFolder(""), 1);
    EXPECT_EQ(CBVFileEx::TestFolder(".\\"), 1);
    EXPECT_EQ(CBVFileEx::TestFolder(".\\ro"), 1);
    EXPECT_EQ(CBVFileEx::TestFolder(".\\missing"), 0);
    EXPECT_EQ(CBVFileEx::TestFolder(".\\RW"), 0);  // a file, not a folder
    EXPECT_EQ(Bytes("RW"), "somebody's file");
    EXPECT_EQ(platform::FindFiles("ro", "*").size(), 0u);
    if (geteuid() != 0) {  // permissions do not bind the super-user
        chmod("ro", 0555);
        EXPECT_EQ(CBVFileEx::TestFolder(".\\ro"), 0);
        chmod("ro", 0755);
    }
    EXPECT_EQ(platform::FindFiles(".", "*", true).size(), 3u);  // RW, ro, BVLog.ini
}
