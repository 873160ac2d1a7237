// The list object: the shooter rows FindShooterRow finds under the request's
// filters, its own result cards, MakeList's dispatch and outputs, the list
// file's name and what happens when the file cannot be written.
#include "ListsFixture.h"

#include "platform/files/FileSystem.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/ListPaths.h"

#include <filesystem>

namespace {

using namespace results;
using namespace liststest;

class DataListTest : public ListTest {
protected:
    // Event 1 of two relays: Ola (club 11, Senior, AB), Kari (unregistered
    // club 15, Junior, B), Per (no class), a target with start number 0, and
    // Tor whose bib is too long to be one.
    void Entries()
    {
        AddEvent(1, "Felt", 2);
        Club(11, "Fjellby");
        Shooter(1, "Ola Nordmann", 11, 1, "AB", "N-1");
        Shooter(2, "Kari Nordmann", 15, 2, "B");
        Shooter(3, "Per Hansen", 11, 0, "");
        Shooter(4, "Tor Bakke", 11, 1, "A", std::string(40, '7'));
        Entry(1, 1, 1, 1, -1, nullptr, 15000);
        Entry(1, 1, 2, 2);
        Entry(1, 1, 3, 3);
        Entry(1, 1, 4, 0);
        Entry(1, 2, 1, 4);
    }
};

TEST_F(DataListTest, ShooterRowsOfTheEntries)
{
    Entries();
    CDataList& l = List();
    l.request.event = 1;
    l.Clubs().LoadClubs(comp.orgType);

    ASSERT_EQ(l.FindShooterRow(1, 1), 0);
    const ShooterRow& ola = l.shooterRows[0];
    EXPECT_EQ(ola.relay, 1);
    EXPECT_EQ(ola.target, 1);
    EXPECT_EQ(ola.startNr, 1);
    EXPECT_EQ(ola.name, "Ola Nordmann");
    EXPECT_EQ(ola.club, 11);
    EXPECT_EQ(ola.clubName, "Fjellby");
    EXPECT_EQ(ola.classNr, 1);
    EXPECT_EQ(ola.className, "Senior");
    EXPECT_EQ(ola.category, "AB");
    EXPECT_EQ(ola.paid, 15000);
    EXPECT_EQ(ola.bib, "N-1");

    ASSERT_EQ(l.FindShooterRow(1, 2), 1);
    EXPECT_EQ(l.shooterRows[1].clubName, "");  // not in the register
    EXPECT_EQ(l.shooterRows[1].className, "Junior");
    ASSERT_EQ(l.FindShooterRow(1, 3), 2);
    EXPECT_EQ(l.shooterRows[2].className, "");  // class 0
    ASSERT_EQ(l.FindShooterRow(2, 1), 3);
    EXPECT_EQ(l.shooterRows[3].bib, "");  // longer than a bib may be

    // No row: a relay or target below 1, a free target, start number 0, an
    // event without object.
    for (auto [relay, target] : {std::pair{0, 1}, {1, 0}, {1, 5}, {1, 4}, {3, 1}})
        EXPECT_EQ(l.FindShooterRow(relay, target), -1) << relay << ":" << target;
    l.request.event = 9;
    EXPECT_EQ(l.FindShooterRow(1, 1), -1);
    EXPECT_EQ(l.shooterRows.size(), 4u);

    l.ClearRows();
    EXPECT_TRUE(l.shooterRows.empty());
}

TEST_F(DataListTest, ClassAndLetterFilters)
{
    Entries();
    struct Case {
        const char* what;
        std::vector<uint8_t> classes;
        const char* letters;
        std::vector<int> found;  // targets of relay 1 with a row
    };
    const Case cases[] = {
        {"an active filter without classes admits nobody", {}, "", {}},
        {"class 1", {1}, "", {1}},
        {"classes 1 and 2", {1, 2}, "", {1, 2}},
        {"the letter B", {1, 2}, "B", {1, 2}},
        {"every letter must occur", {1, 2}, "AB", {1}},
        {"a letter nobody has", {1, 2}, "C", {}},
        {"class 0 when asked for", {0}, "", {3}},
    };
    for (const Case& c : cases) {
        CDataList& l = List();
        l.ResetSelection();
        l.request.event = 1;
        l.request.filtersActive = 1;
        l.request.classFilter = c.classes;
        l.request.letterFilter = c.letters;
        std::vector<int> found;
        for (int t = 1; t <= 4; ++t)
            if (l.FindShooterRow(1, t) >= 0)
                found.push_back(t);
        EXPECT_EQ(found, c.found) << c.what;
        l.request.filtersActive = 0;
        EXPECT_GE(l.FindShooterRow(1, 2), 0) << "inactive filters admit all: " << c.what;
    }
}

TEST_F(DataListTest, ResetSelectionEmptiesTheRequest)
{
    CDataList& l = List();
    ListRequest& q = l.request;
    q.event = 3;
    q.variant = 2;
    q.firstTarget = q.lastTarget = q.firstRelay = q.lastRelay = 4;
    q.filtersActive = 1;
    q.classFilter = {1};
    q.letterFilter = "A";
    q.seriesFilter = {0x101};
    q.selection = 1;
    q.fontSize = 9;
    l.ResetSelection();
    EXPECT_EQ(q.event, 0);
    EXPECT_EQ(q.variant, 0);
    EXPECT_EQ(q.firstTarget + q.lastTarget + q.firstRelay + q.lastRelay, 0);
    EXPECT_EQ(q.filtersActive, 0);
    EXPECT_TRUE(q.classFilter.empty() && q.letterFilter.empty() && q.seriesFilter.empty());
    EXPECT_EQ(q.selection, 0);
    EXPECT_EQ(q.fontSize, 9);  // not a part of the selection
}

TEST_F(DataListTest, ResultCardsOfTheListsOwn)
{
    Entries();
    ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::SeriesType(1), 7);
    Shots(1, 1, 1, 1, {100, 90});
    CDataList& l = List();
    EXPECT_EQ(l.GetResultCard(0), nullptr);
    CDataRes* card = l.GetResultCard(1);
    ASSERT_NE(card, nullptr);
    EXPECT_NE(card, &comp.GetEvent(1)->Card());  // not the program's
    EXPECT_EQ(l.GetResultCard(1), card);
    EXPECT_EQ(card->Event(), 1);
    card->LoadEvent(1);
    EXPECT_EQ(card->LoadCard(1, 1), 0);
    EXPECT_EQ(card->CountAllShots(), 2);
    EXPECT_NE(l.GetResultCard(3), nullptr);

    // The event's object made anew (the program's refresh did it): the card
    // follows it.
    l.Competition().DropEvent(1);
    l.Competition().RefreshEvents();
    card = l.GetResultCard(1);
    card->LoadEvent(1);
    EXPECT_EQ(card->LoadCard(1, 1), 0);
    EXPECT_EQ(card->CountAllShots(), 2);

    l.request.event = 1;
    EXPECT_TRUE(l.HasHitSeries());
    l.request.event = 2;
    EXPECT_FALSE(l.HasHitSeries());
}

TEST_F(DataListTest, KindsWithoutAListMakeNothing)
{
    AddEvent(1, "Felt");
    for (int kind : {-1, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 99}) {
        CDataList& l = List();
        l.request.kind = static_cast<int16_t>(kind);
        l.request.fileName = folder.File("list.rtf");
        EXPECT_EQ(l.MakeList(kOutputFile), 0) << kind;
        EXPECT_TRUE(l.report.aListDef.empty()) << kind;
        EXPECT_FALSE(platform::FileExists(folder.File("list.rtf"))) << kind;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DataListTest, NoDataNoList)
{
    // No event: nothing for the statistics and the entry list.
    for (int kind : {0, 1}) {
        List().request.kind = static_cast<int16_t>(kind);
        List().request.fileName = folder.File("none.rtf");
        EXPECT_EQ(List().MakeList(kOutputFile), 0) << kind;
        EXPECT_FALSE(platform::FileExists(folder.File("none.rtf")));
    }
    // Events, but nobody entered: still no entry list.
    AddEvent(1, "Felt");
    list.reset();
    EXPECT_EQ(MakeModel(kListParticipants), 0);
    EXPECT_TRUE(List().report.aListDef.empty());
}

TEST_F(DataListTest, TheModelIsEmptiedBeforeEveryList)
{
    AddEvent(1, "Felt");
    CDataList& l = List();
    // What a cancelled printout leaves behind.
    l.report.aListDef.resize(3);
    l.report.AddRow(Cells(1, {"old"}), 2);
    l.shooterRows.resize(5);
    EXPECT_EQ(MakeModel(16), 0);
    EXPECT_TRUE(l.report.aListDef.empty());
    EXPECT_TRUE(l.shooterRows.empty());

    l.report.aListDef.resize(3);
    l.report.AddRow(Cells(1, {"old"}), 3);
    ASSERT_EQ(MakeModel(kListStatistics), 1);
    ASSERT_EQ(l.report.aListDef.size(), 1u);
    for (const std::string& row : RowTexts(l.Def(1)))
        EXPECT_EQ(row.find("old"), std::string::npos);
}

TEST_F(DataListTest, FileOutputWritesWholeAndEmptiesTheModel)
{
    AddEvent(1, "Felt");
    CDataList& l = List();
    l.request.kind = kListRunningOrder;
    l.request.file.textFile = 1;
    l.request.fileName = folder.File("Tidsplan.txt");
    EXPECT_EQ(l.MakeList(kOutputFile), 1);
    EXPECT_TRUE(l.report.aListDef.empty());
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(folder.File("Tidsplan.txt"), bytes));
    EXPECT_EQ(bytes.rfind("Tidsplan \r\nFelt\r\n", 0), 0u) << bytes;
    EXPECT_TRUE(messages.empty());

    // Output 0 leaves the model to the caller.
    EXPECT_EQ(MakeModel(kListRunningOrder), 1);
    EXPECT_EQ(l.report.aListDef.size(), 1u);
}

TEST_F(DataListTest, ALongFileNameIsCutTo499Characters)
{
    AddEvent(1, "Felt");
    // Folders of 200 characters, so that the first 499 characters of the
    // name still name a file in them.
    std::string path = folder.Path();
    while (path.size() < 400) {
        path += "/" + std::string(std::min<size_t>(200, 420 - path.size()), 'f');
        std::filesystem::create_directory(path);
    }
    path += "/" + std::string(600 - path.size() - 5, 'n') + ".rtf";
    ASSERT_EQ(path.size(), 600u);
    CDataList& l = List();
    l.request.kind = kListRunningOrder;
    l.request.fileName = path;
    EXPECT_EQ(l.MakeList(kOutputFile), 1);
    EXPECT_EQ(l.request.fileName, path.substr(0, 499));
    EXPECT_TRUE(std::filesystem::is_regular_file(path.substr(0, 499)));
    EXPECT_TRUE(messages.empty());
}

TEST_F(DataListTest, AFileThatCannotBeWrittenIsReported)
{
    AddEvent(1, "Felt");
    CDataList& l = List();
    l.request.kind = kListRunningOrder;
    const std::string path = folder.File("missing/Tidsplan.rtf");
    l.request.fileName = path;
    l.MakeList(kOutputFile);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "error: Error writing to file. Check filename, '/' not allowed \"" + path + "\"");
    EXPECT_EQ(l.report.aListDef.size(), 1u);  // the model stays
    EXPECT_FALSE(platform::FileExists(path));
    // The next list starts empty all the same.
    EXPECT_EQ(MakeModel(kListRunningOrder), 1);
    EXPECT_EQ(l.report.aListDef.size(), 1u);
}

TEST_F(DataListTest, ListFileNamesInThePrintFolder)
{
    struct Case {
        const char* typed;
        uint8_t html, text;
        const char* path;  // empty: refused
    };
    const Case cases[] = {
        {"Deltagere", 0, 0, ".\\Comp1\\Print\\Deltagere.rtf"},
        {"Deltagere", 1, 0, ".\\Comp1\\Print\\Deltagere.htm"},
        {"Deltagere", 0, 1, ".\\Comp1\\Print\\Deltagere.txt"},
        {"Liste 2 (mai)", 0, 0, ".\\Comp1\\Print\\Liste 2 (mai).rtf"},
        {"", 0, 0, ""},
        {"a\\b", 0, 0, ""},
        {"a/b", 0, 0, ""},
        {"C:liste", 0, 0, ""},
        {"..", 0, 0, ""},
        {"..\\..\\etc", 0, 0, ""},
        {"x..y", 0, 0, ""},
    };
    for (const Case& c : cases) {
        messages.clear();
        CDataList& l = List();
        l.request.fileName = "before";
        l.request.file.html = c.html;
        l.request.file.textFile = c.text;
        bool taken = l.NameListFile(c.typed);
        EXPECT_EQ(taken, *c.path != '\0') << c.typed;
        EXPECT_EQ(l.request.fileName, *c.path ? c.path : "before") << c.typed;
        EXPECT_EQ(messages.size(), taken ? 0u : 1u) << c.typed;
        if (!taken)
            EXPECT_EQ(messages[0], "error: Error writing to file. Check filename, '/' not allowed");
    }
    EXPECT_TRUE(platform::FolderExists(".\\Comp1\\Print"));
    EXPECT_EQ(PrintFolder(12), ".\\Comp12\\Print");
}

TEST_F(DataListTest, FollowsTheProgramToAnotherCompetition)
{
    AddEvent(1, "Felt");
    EXPECT_EQ(MakeModel(kListRunningOrder), 1);
    EXPECT_EQ(RowTexts(List().Def(1))[0], "|Felt");

    // The program opens competition 2; the list object follows it.
    {
        CCompetition other;
        other.SetProfile(&profile);
        ASSERT_EQ(other.Open(), 0);
        ASSERT_EQ(other.ChangeCompetition(2), 0);
        ::WriteItem(other.Comp(), CompItems::kEventCount, 1);
        ::WriteItem(other.Comp(), CompItems::EventInUse(1), 1);
        ::WriteItem(other.Comp(), CompItems::EventName(1), std::string("Bane"));
    }
    EXPECT_EQ(MakeModel(kListRunningOrder), 1);
    EXPECT_EQ(List().Competition().competition, 2);
    EXPECT_EQ(RowTexts(List().Def(1))[0], "|Bane");

    // One opened by number stays.
    ASSERT_EQ(List().OpenCompetition(1), 0);
    EXPECT_EQ(MakeModel(kListRunningOrder), 1);
    EXPECT_EQ(RowTexts(List().Def(1))[0], "|Felt");
}

}  // namespace
