#include "foundation/files/BVConfig.h"
#include "foundation/files/RecordJournal.h"
#include "platform/system/Codepage.h"
#include "platform/files/FileSystem.h"
#include "platform/files/NativeFile.h"
#include "platform/files/SystemPath.h"
#include "RecordBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using bvtest::ItemBytes;

// The head of a configuration file: 36-byte items, layout 1.
std::string Header(int32_t counter) { return bvtest::RecordHeader(counter, 36, 1); }

class BVConfigTest : public bvtest::InTempFolder {
protected:
    void SetUp() override { bvtest::TempFolder::Write("BVLog.ini", "[BVLog]\r\nLevel=0\r\n"); }
    static std::string Bytes(const std::string& path) { return bvtest::TempFolder::Read(path); }
    static void Put(const std::string& path, const std::string& bytes) { bvtest::TempFolder::Write(path, bytes); }
    static bool Logged(const std::string& text)
    {
        return bvtest::TempFolder::Read("BVLog.txt").find(text) != std::string::npos;
    }
};

}  // namespace

TEST(BVConfigKey, KeyArithmetic)
{
    struct Case { int section, index, key; int32_t expected; };
    const Case cases[] = {
        {1, 1, 680, 1001680},       {29, 5, 500, 5029500},  {999, 999, 999, 999999999},
        {0, 1, 680, 0},             {1, 0, 680, 0},         {1, 1, 0, 0},
        {1000, 1, 1, 0},            {1, 1000, 1, 0},        {1, 1, 1000, 0},
        {-1, 1, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CBVConfig::MakeKey(c.section, c.index, c.key), c.expected) << c.section << ":" << c.index << ":" << c.key;
}

TEST_F(BVConfigTest, ItemsAreStoredAs36ByteRecords)
{
    CBVConfig cfg;
    cfg.Open(".\\BVLeder.bvc", 1);
    ASSERT_TRUE(cfg.IsOpen());
    EXPECT_EQ(Bytes("BVLeder.bvc"), Header(0));
    ASSERT_EQ(cfg.WriteString(1, 1, 680, "Skytebane"), 0);
    ASSERT_EQ(cfg.WriteInt(29, 5, 500, -12), 0);
    ASSERT_EQ(cfg.WriteString(1, 1, 680, platform::Ansi("Bane Ås").c_str()), 0);
    const std::string expected = Header(3) + ItemBytes(1001680, platform::Ansi("Bane Ås")) + ItemBytes(5029500, "-12");
    EXPECT_EQ(Bytes("BVLeder.bvc"), expected);
    // Bytes as the record layout fixes them: key 5029500 = 0x004CBE7C.
    EXPECT_EQ(expected.substr(44, 8), std::string("\x7C\xBE\x4C\x00-12\x00", 8));
}

TEST_F(BVConfigTest, ReadsGiveTheValueOrTheDefault)
{
    const std::string letters31(31, 'L');
    Put("c.bvc", Header(1) + ItemBytes(1001001, "12abc") + ItemBytes(1001002, "abc") +
                     ItemBytes(1001003, letters31) + ItemBytes(1001010, "first part ") +
                     ItemBytes(1001011, "second part ") + ItemBytes(1001012, "third") +
                     ItemBytes(1001020, platform::Ansi("æøå abc")));
    CBVConfig cfg;
    cfg.Open("c.bvc", 0);
    ASSERT_TRUE(cfg.IsOpen());
    char buffer[64];

    EXPECT_STREQ(cfg.ReadString(1, 1, 999, "dflt", buffer, 32), "dflt");
    EXPECT_EQ(cfg.ReadInt(1, 1, 999, 7), 7);
    EXPECT_EQ(cfg.ReadInt(1, 1, 1, 7), 12);  // digits then letters
    EXPECT_EQ(cfg.ReadInt(1, 1, 2, 7), 0);   // letters only
    EXPECT_STREQ(cfg.ReadString(1, 1, 3, "", buffer, 32), letters31.c_str());
    EXPECT_STREQ(cfg.ReadString(1, 1, 3, "", buffer, 31), "");
    EXPECT_TRUE(Logged("Ulovlig data (c.bvc)"));
    EXPECT_STREQ(cfg.ReadString(1, 1, 999, "a default too long", buffer, 5), "");
    EXPECT_STREQ(cfg.ReadString(1, 1, 1, "", nullptr, 32), "12abc");  // the store's own buffer
    EXPECT_STREQ(cfg.ReadUpper(1, 1, 20, "", buffer, 32), platform::Ansi("ÆØÅ ABC").c_str());

    char joined[300];
    EXPECT_EQ(cfg.ReadLong(1, 1, 10, joined), 28);
    EXPECT_STREQ(joined, "first part second part third");
    char small[10];
    EXPECT_EQ(cfg.ReadLong(1, 1, 10, small, sizeof small), 9);
    EXPECT_STREQ(small, "first par");
}

TEST_F(BVConfigTest, LongTextsAreCutTo31Characters)
{
    CBVConfig cfg;
    cfg.Open("c.bvc", 1);
    const std::string forty = "0123456789012345678901234567890123456789";
    ASSERT_EQ(cfg.WriteString(2, 1, 1, forty.c_str()), 0);
    char buffer[64];
    EXPECT_EQ(std::string(cfg.ReadString(2, 1, 1, "", buffer, 64)), forty.substr(0, 31));
}

TEST_F(BVConfigTest, AValueWithoutTerminatorIsReadNoFurtherThanItsField)
{
    Put("c.bvc", Header(1) + ItemBytes(1001001, std::string(32, 'F'), false) + ItemBytes(1001002, "next"));
    CBVConfig cfg;
    cfg.Open("c.bvc", 0);
    char buffer[100];
    EXPECT_EQ(std::string(cfg.ReadString(1, 1, 1, "", buffer, 100)), std::string(32, 'F'));
    EXPECT_STREQ(cfg.ReadString(1, 1, 1, "", buffer, 32), "");
    EXPECT_STREQ(cfg.ReadString(1, 1, 2, "", buffer, 32), "next");
}

TEST_F(BVConfigTest, AStoreThatDidNotOpenReadsDefaultsAndStoresNothing)
{
    Put("v2.bvc", std::string("\0\0\0\0\x24\0\x02\0", 8));
    const std::string before = Bytes("v2.bvc");
    for (const char* path : {"v2.bvc", "missing.bvc"}) {
        CBVConfig cfg;
        cfg.Open(path, 0);
        EXPECT_FALSE(cfg.IsOpen());
        EXPECT_TRUE(Logged(std::string("Not open after open(") + path + ")"));
        char buffer[32];
        EXPECT_STREQ(cfg.ReadString(1, 2, 3, "dflt", buffer, 32), "dflt");
        EXPECT_TRUE(Logged(std::string("Not open at read (") + path + ") at 1:2:3"));
        EXPECT_EQ(cfg.WriteString(1, 2, 3, "x"), -1);
        EXPECT_TRUE(Logged(std::string("Not open at write (") + path + ") at 1:2:3"));
        EXPECT_LT(cfg.Refresh(), 0);
    }
    EXPECT_EQ(Bytes("v2.bvc"), before);
    EXPECT_FALSE(platform::FileExists("missing.bvc"));
}

TEST_F(BVConfigTest, AddressesOutsideTheRangeHaveNoItem)
{
    Put("c.bvc", Header(1) + ItemBytes(0, "stray"));
    CBVConfig cfg;
    cfg.Open("c.bvc", 1);
    char buffer[32];
    EXPECT_STREQ(cfg.ReadString(0, 1, 680, "dflt", buffer, 32), "dflt");
    EXPECT_EQ(cfg.WriteString(1, 1, 1000, "x"), -1);
    EXPECT_EQ(Bytes("c.bvc"), Header(1) + ItemBytes(0, "stray"));
}

TEST_F(BVConfigTest, RefreshReportsOtherProgramsChanges)
{
    Put("c.bvc", Header(5) + ItemBytes(1001001, "a"));
    CBVConfig reader, writer;
    reader.Open("c.bvc", 0);
    writer.Open("c.bvc", 1);
    EXPECT_EQ(reader.Refresh(), 0);  // what was there at opening is no change
    ASSERT_EQ(writer.WriteString(1, 1, 1, "b"), 0);
    ASSERT_EQ(writer.WriteString(1, 1, 2, "new"), 0);
    EXPECT_EQ(writer.Refresh(), 0);  // its own writes are no change to the writer
    EXPECT_EQ(reader.Refresh(), 1);
    EXPECT_EQ(reader.Refresh(), 0);
    char buffer[32];
    EXPECT_STREQ(reader.ReadString(1, 1, 1, "", buffer, 32), "b");
    EXPECT_STREQ(reader.ReadString(1, 1, 2, "", buffer, 32), "new");
}

// The user settings hold the FTP password as typed. Once a change is on the
// disk, the undo journal beside the file holds nothing of the old one: not
// after a change, nor after the next program undid a writer that died.
TEST_F(BVConfigTest, AChangedPasswordLeavesNothingOfTheOldOneInTheUndoJournal)
{
    const std::string oldPassword = "Gammelt-8841-passord", newPassword = "Nytt-2290-passord";
    {
        CBVConfig user;
        user.Open(".\\User.bvc", 1);
        ASSERT_EQ(user.WriteString(1, 1, 504, oldPassword.c_str()), 0);
        ASSERT_EQ(user.WriteString(1, 1, 503, "arr"), 0);
        ASSERT_EQ(user.WriteString(1, 1, 504, newPassword.c_str()), 0);
        ASSERT_TRUE(std::filesystem::exists("User.bvc.undo")) << "the change went through the journal";
        EXPECT_EQ(Bytes("User.bvc.undo").find(oldPassword), std::string::npos);
        ASSERT_EQ(user.WriteString(1, 1, 504, "Tredje-7310-passord"), 0);
        EXPECT_EQ(Bytes("User.bvc.undo").find(newPassword), std::string::npos);
        char buffer[32];
        EXPECT_STREQ(user.ReadString(1, 1, 504, "", buffer, 32), "Tredje-7310-passord");
    }

    // A writer that died half-way through a change: its journal holds the
    // old record until the next program puts it back.
    const std::string before = Bytes("User.bvc");
    const size_t at = before.find("Tredje-7310-passord") - 4;  // the record starts with its key
    {
        CRecordJournal journal;
        journal.SetResolvedPath(platform::NativePath("User.bvc"));
        platform::NativeFile file;
        ASSERT_EQ(file.OpenExisting("User.bvc", platform::NativeFile::Access::ReadWrite), 0);
        ASSERT_EQ(journal.Save(file, static_cast<int64_t>(at), 36), 0);
        const std::string half = "Fj";
        ASSERT_EQ(file.WriteAt(half.data(), half.size(), static_cast<int64_t>(at + 4)), 2);
        journal.Abandon();
    }
    ASSERT_TRUE(CRecordJournal::PendingAt("User.bvc.undo"));
    CBVConfig next;
    next.Open(".\\User.bvc", 1);
    char buffer[32];
    EXPECT_STREQ(next.ReadString(1, 1, 504, "", buffer, 32), "Tredje-7310-passord");
    EXPECT_FALSE(CRecordJournal::PendingAt("User.bvc.undo"));
    EXPECT_EQ(Bytes("User.bvc.undo").find("Tredje-7310-passord"), std::string::npos);
}
