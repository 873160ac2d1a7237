// The event list of BVRemote.BVC, the chooser the three pages share, and a
// read-only program folder.
#include "remote/settings/EventChooser.h"
#include "remote/settings/RemoteSettings.h"

#include "TempFolder.h"
#include "foundation/settings/CompSettings.h"
#include "platform/files/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bvtest::InTempFolder;

class RemoteSettingsTest : public InTempFolder {
protected:
    void SetUp() override { ASSERT_TRUE(settings.Open(RemoteSettings::kFileName)); }
    RemoteSettings settings;
};

TEST_F(RemoteSettingsTest, FirstStartMakesTheFileWithAnEmptyList)
{
    EXPECT_TRUE(std::filesystem::exists(folder.File("BVRemote.BVC")));
    EXPECT_TRUE(settings.Writable());
    EXPECT_TRUE(settings.Events().empty());
}

TEST_F(RemoteSettingsTest, DeletedSlotsAreNeverGivenOutAgain)
{
    int first = settings.AddEvent();
    settings.DeleteEvent(first);
    int second = settings.AddEvent();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(settings.Events(), std::vector<int>{second});
    EXPECT_EQ(settings.EventCount(), 2);
    // An event without a stored name is listed by its number.
    EXPECT_EQ(settings.EventName(second), "2");
    settings.SetEventName(second, "Autumn cup");
    EXPECT_EQ(settings.EventName(second), "Autumn cup");
}

TEST_F(RemoteSettingsTest, FolderIsStoredInPiecesOfThirty)
{
    struct Case {
        size_t length;
        std::vector<size_t> pieces;
    };
    const Case cases[] = {
        {95, {30, 30, 30, 5, 0, 0, 0, 0, 0, 0}},
        {30, {30, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {320, {30, 30, 30, 30, 30, 30, 30, 30, 30, 30}},  // cut at 300
    };
    int e = settings.AddEvent();
    for (const Case& c : cases) {
        std::string path;
        for (size_t i = 0; i < c.length; ++i)
            path += static_cast<char>('a' + i % 26);
        settings.SetEventFolder(e, path);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(std::string(settings.Store().ReadString(3, e, 570 + i, "?")).size(), c.pieces[static_cast<size_t>(i)])
                << c.length << " piece " << i;
        EXPECT_EQ(settings.EventFolder(e), path.substr(0, 300)) << c.length;
    }
    settings.SetEventFolder(e, "\\\\server\\range");
    EXPECT_EQ(settings.RangeFolder(e), "\\\\server\\range\\");
}

// What a copy of the program in a folder it cannot write does: it lists
// the stored events and writes nothing. True when it behaved so.
bool ReadOnlyCopyBehaves()
{
    RemoteSettings settings;
    if (!settings.Open(RemoteSettings::kFileName) || settings.Writable())
        return false;
    bool ok = settings.Events() == std::vector<int>{1} && settings.EventName(1) == "Stored";
    ok = ok && settings.AddEvent() == 0;
    settings.SetEventName(1, "Changed");
    settings.DeleteEvent(1);
    EventChooser chooser(settings);
    chooser.FillEvents();
    chooser.ChooseEvent(0);
    chooser.Leave();
    return ok && settings.EventName(1) == "Stored";
}

TEST_F(InTempFolder, AReadOnlyProgramFolderListsAndWritesNothing)
{
    {
        RemoteSettings writer;
        ASSERT_TRUE(writer.Open(RemoteSettings::kFileName));
        writer.SetEventName(writer.AddEvent(), "Stored");
    }
    std::string before = bvtest::TempFolder::Read(folder.File("BVRemote.BVC"));
    chmod(folder.File("BVRemote.BVC").c_str(), 0444);
    chmod(folder.Path().c_str(), 0555);
    bool behaved = false;
    if (geteuid() != 0) {
        behaved = ReadOnlyCopyBehaves();
    } else {
        // Permissions do not bind the super-user: the copy runs as nobody.
        pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
            _exit(ReadOnlyCopyBehaves() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        behaved = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    chmod(folder.Path().c_str(), 0755);
    EXPECT_TRUE(behaved);
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("BVRemote.BVC")), before);
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"BVRemote.BVC"});
}

// A range folder with competitions as the range control leaves them.
class ChooserTest : public RemoteSettingsTest {
protected:
    void SetUp() override
    {
        RemoteSettingsTest::SetUp();
        std::filesystem::create_directories(folder.File("range"));
        event = settings.AddEvent();
        settings.SetEventFolder(event, "range");
    }
    void MakeComp(const std::string& entry, const std::string& name)
    {
        std::filesystem::create_directories(folder.File("range/" + entry));
        CBVConfig comp;
        comp.Open("range\\" + entry + "\\Comp.Bvc", 1);
        WriteItem(comp, CompSettings::kName, name);
        WriteItem(comp, CompSettings::kDate, "01.09.2026");
    }
    int event = 0;
};

TEST_F(ChooserTest, ListsOnlyNumberedCompetitionFolders)
{
    MakeComp("Comp1", "Spring");
    MakeComp("Comp12", "Final");
    MakeComp("CompTest", "Not one");
    std::ofstream(folder.File("range/Comp3.txt")) << "x";
    std::filesystem::create_directories(folder.File("range/Comp4"));  // no Comp.Bvc: empty texts
    EventChooser chooser(settings);
    chooser.chosenEvent = event;
    chooser.FillEvents();
    std::vector<int> numbers;
    for (const ChooserItem& item : chooser.CompItems())
        numbers.push_back(item.data);
    EXPECT_EQ(numbers, (std::vector<int>{1, 12, 4}));
    EXPECT_EQ(chooser.CompItems()[0].text, "01:   01.09.2026    Spring (H1) ");
    EXPECT_EQ(chooser.CompItems()[2].text, "04:                  (  ) ");
    EXPECT_EQ(chooser.rangeFolder, "range\\");
}

TEST(ChooserTexts, CompetitionNumbersOfFolderNames)
{
    struct Case {
        const char* entry;
        int number;
    };
    const Case cases[] = {{"Comp1", 1},    {"Comp12", 12},  {"comp7", 7},  {"CompTest", 0},
                          {"Comp0", 0},    {"Comp-3", 0},   {"Comp", 0},   {"Comp123456789012", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(EventChooser::CompetitionNumber(c.entry), c.number) << c.entry;
}

TEST_F(ChooserTest, ACompetitionChosenOnOnePageIsPreselectedOnTheNext)
{
    MakeComp("Comp1", "Spring");
    MakeComp("Comp2", "Summer");
    EventChooser namePage(settings);
    namePage.Enter();
    EXPECT_EQ(namePage.EventSelection(), -1);  // nothing chosen anywhere yet
    EXPECT_TRUE(namePage.CompItems().empty());
    namePage.ChooseEvent(0);
    namePage.ChooseComp(1);
    namePage.Leave();

    EventChooser exchangePage(settings);
    exchangePage.Enter();
    ASSERT_EQ(exchangePage.EventSelection(), 0);
    ASSERT_EQ(exchangePage.CompSelection(), 1);
    EXPECT_EQ(exchangePage.CompItems()[1].data, 2);
    EXPECT_EQ(settings.RememberedComp(event), 2);
}

TEST_F(InTempFolder, SecondCompetitionOfTheIniFile)
{
    EXPECT_FALSE(SecondCompetition::Read().Named());
    std::ofstream(folder.File("BVRemote.ini")) << "[BVRemote]\nPath=\\\\pc\\range\nComp=3\n";
    SecondCompetition second = SecondCompetition::Read();
    EXPECT_TRUE(second.Named());
    EXPECT_EQ(second.folder, "\\\\pc\\range\\");
    EXPECT_EQ(second.comp, 3);
}

}  // namespace
