// The team lists: results shown by the ranking rule, entered teams and the
// variants, automatic teams formed by club under the quotas of a definition
// row and its composition rules, and the categories found by their letters.
#include "tests/results/lists/ListsFixture.h"

#include "results/data/DataTeam.h"
#include "results/lists/teams/AutoTeams.h"
#include "results/lists/teams/TeamTexts.h"

namespace {

using namespace results;
using namespace liststest;

using Rows = std::vector<std::string>;

TEST(TeamResultText, ByTheRankingRule)
{
    struct Case {
        int rule, result;
        const char* text;
    };
    const Case cases[] = {
        {0, 1924, "192"}, {0, 954, "95"}, {3, 970, "97"}, {4, 12007, "12/7"}, {6, 12007, "50"}, {7, 12007, "19"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TeamResultText(c.rule, c.result), c.text) << c.rule << " " << c.result;
}

class TeamListsTest : public ListTest {
protected:
    // Event 1 of one relay of 20 targets and one series of ten shots.
    void Event1() { AddEvent(1, "Felt", 1, 1, 1, 20, 1); }

    // Ten shots of whole rings that add up to the total (0..100).
    static std::vector<int> TenShots(int total)
    {
        std::vector<int> shots(10, total / 10 * 10);
        for (int k = 0; k < total % 10; ++k)
            shots[static_cast<size_t>(k)] += 10;
        return shots;
    }

    // Shooter nr on target nr of event 1 with the total.
    void Shot(int32_t nr, const std::string& name, int club, int classNr, int total,
              const std::string& category = "A")
    {
        Shooter(nr, name, club, classNr, category);
        Entry(1, 1, nr, nr);
        Shots(1, 1, nr, 1, TenShots(total));
    }

    void Member(int t, int team, int slot, int32_t nr, int event = 1)
    {
        TeamMemberRecord record{};
        record.competition = static_cast<uint8_t>(t);
        record.slot = static_cast<uint8_t>(slot);
        record.team = static_cast<int16_t>(team);
        record.startNr = nr;
        record.event = event;
        ASSERT_EQ(comp.TeamMembers().File().WriteRecKey(&record), 0);
    }

    // Team competition 1 counting series 1 of event 1 by totals.
    void Competition(int size, bool automatic)
    {
        CBVConfig& t = comp.Team();
        ::WriteItem(t, TeamItems::kCount, 1);
        ::WriteItem(t, TeamItems::Name(1), std::string("Lag"));
        ::WriteItem(t, TeamItems::Size(1), size);
        ::WriteItem(t, TeamItems::BestOnly(1), automatic ? 1 : 0);
        ::WriteItem(t, TeamItems::PrizeRankRule(1), 0);
        ::WriteItem(t, TeamItems::RowCount(1), 1);
        ::WriteItem(t, TeamItems::RowEvent(1, 1), 1);
        ::WriteItem(t, TeamItems::RowSubEvent(1, 1), 1);
    }

    int MakeTeams(int variant = 0)
    {
        List().request.treeSelection = 1;
        List().request.variant = static_cast<uint16_t>(variant);
        return MakeModel(kListTeamShooting);
    }
};

TEST_F(TeamListsTest, EnteredTeamsInTheirOrderCutByTheVariant)
{
    Event1();
    Club(11, "Fjellby");
    Competition(2, false);
    CBVConfig& t = comp.Team();
    ::WriteItem(t, TeamItems::EntryCount(1), 14);
    for (int j = 1; j <= 14; ++j) {
        Shot(j, "Skytter " + std::to_string(j), 11, 1, 100 - 2 * j);
        ::WriteItem(t, TeamItems::EntryName(1, j), "Lag " + std::to_string(j));
        ::WriteItem(t, TeamItems::EntryClub(1, j), 11);
        Member(1, j, 1, j);  // slot 2 of every team stays empty
    }
    ASSERT_EQ(MakeTeams(), 1);
    const ListDef& def = List().Def(1);
    EXPECT_EQ(def.bodyColumns.size(), 13u);
    EXPECT_EQ(def.bodyLines.size(), 4u);
    EXPECT_EQ(platform::Cp1252ToUtf8(def.headerRows[0].cells[4].text), "Lagskyting Lag");
    const Rows rows = RowTexts(def);
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows[0], "|1|Lag 1|98|||Skytter 1 (Senior)|98|||||");
    EXPECT_EQ(rows[13], "|14|Lag 14|72|||Skytter 14 (Senior)|72|||||");

    struct Case {
        int variant;
        size_t rows;
    };
    for (const Case& c : {Case{1, 10}, Case{2, 14}}) {
        ASSERT_EQ(MakeTeams(c.variant), 1);
        EXPECT_EQ(List().Def(1).bodyRows.size(), c.rows) << c.variant;
    }
}

TEST_F(TeamListsTest, AShootOffShowsTheFinalPlaceAfterEo)
{
    Event1();
    Club(11, "Fjellby");
    Competition(1, false);
    CBVConfig& t = comp.Team();
    ::WriteItem(t, TeamItems::EntryCount(1), 3);
    for (int j = 1; j <= 3; ++j) {
        Shot(j, "S" + std::to_string(j), 11, 1, j == 3 ? 80 : 90);
        ::WriteItem(t, TeamItems::EntryName(1, j), "Lag " + std::to_string(j));
        ::WriteItem(t, TeamItems::EntryClub(1, j), 11);
        Member(1, j, 1, j);
    }
    Member(1, 2, CDataTeam::kTeamSlot, 1);  // team 2 won the shoot-off
    ASSERT_EQ(MakeTeams(), 1);
    EXPECT_EQ(RowTexts(List().Def(1)), (Rows{"|eo 1|Lag 2|90|||S2 (Senior)|90|",
                                            "|eo 2|Lag 1|90|||S1 (Senior)|90|",
                                            "|3|Lag 3|80|||S3 (Senior)|80|"}));
}

TEST_F(TeamListsTest, AutomaticTeamsByClubUnderTheQuotas)
{
    Event1();
    AddEvent(2, "Bane", 1, 1, 1, 20, 1);
    for (int c : {11, 12, 13})
        Club(c, "Klubb " + std::to_string(c));
    // Fjellby (11): three Seniors ahead of its Junior; Nordvik (12): two
    // shooters only; 13 a Junior alone.
    Shot(1, "S1", 11, 1, 100);
    Shot(2, "S2", 11, 1, 99);
    Shot(3, "S3", 11, 1, 98);
    Shot(4, "J4", 11, 2, 90);
    Shot(5, "N5", 12, 1, 97);
    Shot(6, "N6", 12, 3, 96);
    Shot(7, "J7", 13, 2, 50);
    // Event 2: one more place of each team.
    Entry(2, 1, 1, 2);
    Shots(2, 1, 1, 1, TenShots(70));
    Entry(2, 1, 5, 5);
    Shots(2, 1, 5, 1, TenShots(60));

    Competition(4, true);
    CBVConfig& t = comp.Team();
    ::WriteItem(t, TeamItems::Represent(1), 0);
    ::WriteItem(t, TeamItems::RowCount(1), 2);
    ::WriteItem(t, TeamItems::RowOption(1, 1), 3);
    ::WriteItem(t, TeamItems::RowCodes(1, 1), std::string("\x01\x02\x03"));
    ::WriteItem(t, TeamItems::RowEvent(1, 2), 2);
    ::WriteItem(t, TeamItems::RowSubEvent(1, 2), 1);
    ::WriteItem(t, TeamItems::RowOption(1, 2), 1);
    ::WriteItem(t, TeamItems::RowCodes(1, 2), std::string("\x01\x02\x03"));
    // A Junior among every three of row 1.
    ::WriteItem(t, TeamItems::RuleCount(1), 1);
    ::WriteItem(t, TeamItems::RuleRow(1, 1), 1);
    ::WriteItem(t, TeamItems::RuleClasses(1, 1), std::string("\x02"));
    ::WriteItem(t, TeamItems::RuleMin(1, 1), 1);

    ASSERT_EQ(MakeTeams(), 1);
    CDataList& l = List();
    // S3 is refused: after two Seniors the third place is the Junior's.
    // Nordvik has two shooters and is closed for the row; its place of
    // row 2 is slot 4, after row 1's three.
    EXPECT_EQ(RowTexts(l.Def(1)),
              (Rows{"|1|Klubb 11|359|||S1 (Senior)|100|||S2 (Senior)|99|||J4 (Junior)|90|||S2 (Senior)|70|",
                    "|2|Klubb 12|253|||N5 (Senior)|97|||N6 (Veteran)|96|||||||N5 (Senior)|60|",
                    "|3|Klubb 13|50|||J7 (Junior)|50|||||||||||||"}));
    // The teams as the list made them, made again.
    AutoTeams teams(l);
    ASSERT_EQ(teams.Make(), 3);
    EXPECT_EQ(teams.Keys(), (std::vector<int32_t>{11, 12, 13}));
    TeamMemberRecord slot4{};
    slot4.competition = 1;
    slot4.slot = 4;
    slot4.team = 2;
    ASSERT_EQ(teams.FindMember(slot4), 0);
    EXPECT_EQ(slot4.startNr, 5);
    EXPECT_EQ(slot4.event, 2);
    slot4.slot = 3;
    EXPECT_EQ(teams.FindMember(slot4), -1);
}

TEST_F(TeamListsTest, QuotasOfAMinimumAndAMaximum)
{
    Event1();
    ::WriteItem(comp.Comp(), CompItems::kCategoryCount, 2);
    ::WriteItem(comp.Comp(), CompItems::CategoryLetter(1), std::string("A"));
    ::WriteItem(comp.Comp(), CompItems::CategoryLetter(2), std::string("B"));
    Club(11, "Fjellby");
    Shot(1, "A1", 11, 1, 100, "A");
    Shot(2, "A2", 11, 1, 99, "A");
    Shot(3, "B3", 11, 2, 98, "B");
    Competition(3, true);
    CBVConfig& t = comp.Team();
    ::WriteItem(t, TeamItems::RowOption(1, 1), 3);
    ::WriteItem(t, TeamItems::RowCodes(1, 1), std::string("\x01\x02"));
    // At most one of category A.
    ::WriteItem(t, TeamItems::RuleCount(1), 1);
    ::WriteItem(t, TeamItems::RuleRow(1, 1), 1);
    ::WriteItem(t, TeamItems::RuleCategories(1, 1), std::string("A"));
    ::WriteItem(t, TeamItems::RuleMax(1, 1), 1);

    CDataList& l = List();
    l.request.treeSelection = 1;
    l.request.event = 1;
    for (int k = 1; k <= 3; ++k)
        ASSERT_EQ(l.FindShooterRow(1, k), k - 1);
    AutoTeams teams(l);
    teams.BuildQuotas(1);
    const std::vector<TeamQuotaRow>& built = teams.BuiltQuotas();
    ASSERT_EQ(built.size(), 2u);
    EXPECT_EQ(built[0].classes, (std::vector<int16_t>{0, 3, 3, 0}));
    EXPECT_EQ(built[1].rule, 1);
    EXPECT_EQ(built[1].categories, (std::vector<int16_t>{3, 1, 3}));
    EXPECT_TRUE(built[1].classes.empty());
    EXPECT_EQ(teams.TakePlace(1, 0), 1);  // A1 takes category A's one place
    EXPECT_EQ(teams.TakePlace(1, 1), 0);  // A2 finds it taken
    EXPECT_EQ(teams.TakePlace(1, 2), 1);  // B3 has no A
    teams.ResetQuotas();
    EXPECT_EQ(teams.TakePlace(1, 1), 1);  // fresh quotas for the next team
}

TEST_F(TeamListsTest, FindCategoryIndexByItsLetter)
{
    ::WriteItem(comp.Comp(), CompItems::kCategoryCount, 3);
    for (auto [i, letter] : {std::pair{1, "A"}, {2, "B"}, {3, "A"}})
        ::WriteItem(comp.Comp(), CompItems::CategoryLetter(i), std::string(letter));
    struct Case {
        char letter;
        int index;
    };
    for (const Case& c : {Case{'A', 1}, Case{'B', 2}, Case{'C', 0}, Case{'a', 0}})
        EXPECT_EQ(AutoTeams(List()).FindCategoryIndex(c.letter), c.index) << c.letter;
}

}  // namespace
