// The exports of the entries: export.txt of every event, export<r>.txt of
// one relay and the SiusData start list; their lines, the texts made fit
// for ';'-separated fields, and what is said when a file is written or not.
#include "tests/results/lists/ListsFixture.h"

#include "platform/files/FileSystem.h"
#include "results/data/CompetitionItems.h"
#include "results/lists/exports/ExportLines.h"

#include <filesystem>

namespace {

using namespace results;
using namespace liststest;

class ExportsTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddEvent(1, "Felt; 15", 3, 2, 1, 3);
        Relay(1, 1, 1, 1, "08:00");
        Relay(1, 2, 0, 1, "09:00");  // a relay index without number
        Relay(1, 3, 7, 2, "08:30");
        AddEvent(2, "Bane", 1, 1, 12, 12);
        ::WriteItem(comp.GetEvent(2)->Settings(), EventItems::DayDate(1), 0);
        Club(11, "Fjellby");
        Shooter(1, "Ola Nordmann", 11, 1, "A", "N-1");
        Shooter(2, "Berg; Anders\r\nJr", 11, 2, "B;C");
        Entry(1, 1, 2, 1);
        Entry(1, 2, 1, 2);
        Entry(1, 3, 3, 2);
        Entry(2, 1, 12, 1);
    }
    std::string Read(const std::string& name) { return bvtest::TempFolder::Read(folder.File(name)); }
};

TEST_F(ExportsTest, ShootersOfEveryEvent)
{
    CDataList& l = List();
    l.request.event = 2;
    ASSERT_EQ(l.ExportShooters(), 0);
    EXPECT_EQ(l.request.event, 2);  // given back
    EXPECT_EQ(Read("export.txt"), "Felt, 15;16.05.2026;08:00;1;1;;;;;;\r\n"
                                  "Felt, 15;16.05.2026;08:00;1;2;11;Ola Nordmann;;Fjellby;Senior;A\r\n"
                                  "Felt, 15;16.05.2026;08:00;1;3;;;;;;\r\n"
                                  "Felt, 15;17.05.2026;08:30;3;1;;;;;;\r\n"
                                  "Felt, 15;17.05.2026;08:30;3;2;;;;;;\r\n"
                                  "Felt, 15;17.05.2026;08:30;3;3;11;Berg, Anders  Jr;;Fjellby;Junior;B,C\r\n"
                                  "Bane;00.00.0;08:00;1;12;11;Ola Nordmann;;Fjellby;Senior;A\r\n");
    EXPECT_EQ(messages, (std::vector<std::string>{"info: Skyttere er eksportert til filen \"export.txt\""}));

    // Made again, the file is replaced whole.
    ::WriteItem(comp.Comp(), CompItems::EventInUse(1), 0);
    messages.clear();
    ASSERT_EQ(List().ExportShooters(), 0);
    EXPECT_EQ(Read("export.txt"), "Bane;00.00.0;08:00;1;12;11;Ola Nordmann;;Fjellby;Senior;A\r\n");
}

TEST_F(ExportsTest, OneRelay)
{
    CDataList& l = List();
    l.request.event = 1;
    ASSERT_EQ(l.ExportRelay(7), 0);
    EXPECT_EQ(Read("export7.txt"), "Felt, 15;17.05.2026;08:30;3;1;;;;;;\r\n"
                                   "Felt, 15;17.05.2026;08:30;3;2;;;;;;\r\n"
                                   "Felt, 15;17.05.2026;08:30;3;3;11;Berg, Anders  Jr;;Fjellby;Junior;B,C\r\n");
    EXPECT_EQ(messages.back(), "info: Skyttere er eksportert til filen \".\\export7.txt\"");
    // A relay number the event does not have: an empty file.
    ASSERT_EQ(l.ExportRelay(5), 0);
    EXPECT_TRUE(platform::FileExists(folder.File("export5.txt")));
    EXPECT_EQ(Read("export5.txt"), "");
}

TEST_F(ExportsTest, SiusStartList)
{
    Shooter(3, "Bartholomew Fredriksen-Li", 11, 1, "A");  // 25 characters
    Club(12, "Sportsskytterlaget X");                      // 20
    Shooter(4, "Per", 12, 2, "B");
    Entry(1, 3, 2, 3);
    Entry(1, 3, 1, 4, 3);
    WriteItem(comp.Exch(), ExchItems::EventFolder(1), std::string(".\\Sius"));
    std::filesystem::create_directory(folder.File("Sius"));
    CDataList& l = List();
    l.request.event = 1;
    l.request.firstTarget = 1;
    l.request.lastTarget = 12;
    ASSERT_EQ(l.ExportSiusStartList(7), 0);
    EXPECT_EQ(Read("Sius/Startlst.csv"), "0;4;Per;0;0;Veteran;2;0;Sportsskytterla;0;1;07;08:30;0;0;0\r\n"
                                         "0;3;Bartholomew Fredri;0;0;Senior;2;0;Fjellby;0;2;07;08:30;0;0;0\r\n"
                                         "0;2;Berg, Anders  Jr;0;0;Junior;2;0;Fjellby;0;3;07;08:30;0;0;0\r\n");
    EXPECT_TRUE(messages.empty());

    l.request.firstTarget = l.request.lastTarget = 2;
    ASSERT_EQ(l.ExportSiusStartList(1), 0);
    EXPECT_EQ(Read("Sius/Startlst.csv"), "N-1;1;Ola Nordmann;0;0;Senior;2;0;Fjellby;0;2;01;08:00;0;0;0\r\n");
}

TEST_F(ExportsTest, AFileThatCannotBeWrittenIsNotReportedAsExported)
{
    std::filesystem::create_directory(folder.File("export.txt"));  // in the way
    CDataList& l = List();
    EXPECT_EQ(l.ExportShooters(), -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "error: Error writing to file. Check filename, '/' not allowed \".\\export.txt\"");

    // No folder of the outside system: nothing is written at the root.
    messages.clear();
    l.request.event = 1;
    EXPECT_EQ(l.ExportSiusStartList(1), -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("error: ", 0), 0u);
    EXPECT_FALSE(platform::FileExists("\\Startlst.csv"));
}

TEST(ExportLines, Fields)
{
    ShooterRow shooter;
    shooter.startNr = 5;
    shooter.name = " Kari ";  // trimmed in export.txt, not in the start list
    shooter.clubName = "Nordvik";
    shooter.className = "Junior";
    shooter.category = "B";
    shooter.club = 12;
    shooter.bib = "12;3";
    ExportRelayInfo relay{"Felt", 2, 7, 20260102, "08:30"};
    EXPECT_EQ(ExportLine(relay, 12, &shooter), "Felt;02.01.2026;08:30;2;12;12;Kari;;Nordvik;Junior;B\r\n");
    EXPECT_EQ(ExportLine(relay, 12, nullptr), "Felt;02.01.2026;08:30;2;12;;;;;;\r\n");
    EXPECT_EQ(StartListLine(shooter, "Junior", 12, 7, "08:30"),
              "12,3;5; Kari ;0;0;Junior;2;0;Nordvik;0;12;07;08:30;0;0;0\r\n");
    EXPECT_EQ(ExportField("a;b\rc\nd"), "a,b c d");
}

}  // namespace
