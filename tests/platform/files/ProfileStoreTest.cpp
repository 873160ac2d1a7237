#include "RunCommand.h"
#include "TempFolder.h"

#include "platform/system/Codepage.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/TextTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using bvtest::InTempFolder;
using bvtest::TempFolder;

class ProfileStoreTest : public InTempFolder {};

TEST_F(ProfileStoreTest, ReadsDefaultsWritesAndReadsBack)
{
    platform::IniProfileStore store(folder.File("cfg/Brevandi/BVLeder.ini"));
    EXPECT_EQ(store.GetString("Context", "Language", "EN"), "EN");  // no file yet
    EXPECT_EQ(store.GetInt("Context", "Tab", 6), 6);
    ASSERT_TRUE(store.WriteString("Context", "Language", "NO"));  // makes the folders
    ASSERT_TRUE(store.WriteInt("Context", "WindowX1", 800));
    ASSERT_TRUE(store.WriteInt("Context", "WindowX0", -4));
    ASSERT_TRUE(store.WriteString("Other", "Name", platform::Ansi("Påmelding")));
    ASSERT_TRUE(store.WriteInt("context", "windowx1", 1024));  // names without regard to case
    EXPECT_EQ(store.GetString("CONTEXT", "language", ""), "NO");
    EXPECT_EQ(store.GetInt("Context", "WindowX1", 0), 1024);
    EXPECT_EQ(store.GetInt("Context", "WindowX0", 0), -4);
    EXPECT_EQ(store.GetString("Other", "Name", ""), platform::Ansi("Påmelding"));
    // A value that is no number reads as the default.
    ASSERT_TRUE(store.WriteString("Context", "Tab", "x"));
    EXPECT_EQ(store.GetInt("Context", "Tab", 6), 6);
    // A line break cannot smuggle a second key into the file.
    ASSERT_TRUE(store.WriteString("Context", "Serie", "1\nTab=9"));
    EXPECT_EQ(store.GetString("Context", "Serie", ""), "1Tab=9");
    EXPECT_EQ(store.GetInt("Context", "Tab", 6), 6);
    EXPECT_EQ(TempFolder::Read(folder.File("cfg/Brevandi/BVLeder.ini")),
              "[Context]\nLanguage=NO\nWindowX1=1024\nWindowX0=-4\nTab=x\nSerie=1Tab=9\n\n[Other]\nName=" +
                  platform::Ansi("Påmelding") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("cfg/Brevandi/BVLeder.ini.new")));
}

TEST_F(ProfileStoreTest, FileIsReadableByAnIniParser)
{
    platform::IniProfileStore store(folder.File("p.ini"));
    store.WriteString("Context", "Language", "DK");
    store.WriteInt("Context", "Tab", 3);
    int checked = -1;
    bvtest::RunPython("import configparser,sys\n"
                      "c=configparser.ConfigParser()\n"
                      "c.read(sys.argv[1])\n"
                      "sys.exit(0 if c['Context']['language']=='DK' and c['Context'].getint('tab')==3 else 1)\n",
                      folder.File("p.ini"), &checked);
    EXPECT_EQ(checked, 0);
}

TEST_F(ProfileStoreTest, ProgramProfileLivesUnderTheUsersConfigFolder)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    platform::SetProgramName("BVRemote");
    EXPECT_EQ(platform::ProfilePath("BVRemote"), folder.Path() + "/Brevandi/BVRemote.ini");
    EXPECT_TRUE(platform::Profile().WriteString("Context", "Language", "SE"));
    EXPECT_EQ(platform::IniProfileStore(folder.Path() + "/Brevandi/BVRemote.ini").GetString("Context", "Language", ""),
              "SE");
    platform::MemoryProfileStore memory;
    platform::SetProfile(&memory);
    EXPECT_EQ(platform::Profile().GetString("Context", "Language", "EN"), "EN");
    platform::SetProfile(nullptr);
    EXPECT_EQ(platform::Profile().GetString("Context", "Language", "EN"), "SE");
    platform::SetProgramName("Brevandi");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST(TextTable, KeyShowsUntilATableIsSet)
{
    struct : platform::TextTable {
        std::string GetText(std::string_view key) override { return key == "IDS_LANG" ? "NO" : ""; }
    } table;
    EXPECT_EQ(platform::TextOfKey("IDS_LANG"), "IDS_LANG");
    platform::SetTextTable(&table);
    EXPECT_EQ(platform::TextOfKey("IDS_LANG"), "NO");
    EXPECT_EQ(platform::TextOfKey("IDS_NONE"), "");
    platform::SetTextTable(nullptr);
}

}  // namespace
