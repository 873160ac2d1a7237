// The searches of the entry, rank and team member files.
#include "ResultsFixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using namespace results;

class EntryRankTeamTest : public restest::CompetitionTest {};

TEST_F(EntryRankTeamTest, NextEntryWalksAShootersEntriesInRelayOrder)
{
    CDataEvent& e = Event(1, 3);
    // File order: (2,5), (1,3), (2,8), (3,1), and another shooter between.
    const std::pair<int, int> places[] = {{2, 5}, {1, 3}, {2, 8}, {3, 1}};
    for (auto [relay, target] : places) {
        RegRecord entry{};
        entry.relay = static_cast<int16_t>(relay);
        entry.target = static_cast<int16_t>(target);
        entry.startNr = 31;
        entry.classNr = static_cast<uint8_t>(relay * 10 + target);
        entry.startScore = relay * 100 + target;
        ASSERT_EQ(e.Entries().File().WriteRecKey(&entry), 0);
        RegRecord other{};
        other.relay = static_cast<int16_t>(relay);
        other.target = static_cast<int16_t>(target + 1);
        other.startNr = 32;
        ASSERT_EQ(e.Entries().File().WriteRecKey(&other), 0);
    }
    struct Step {
        int fromRelay, fromTarget;
        int result, relay, target;
    };
    // From (0,0) the first one after it in file order: (2,5), not (1,3).
    const Step steps[] = {{0, 0, 0, 2, 5}, {2, 5, 0, 2, 8}, {2, 8, 0, 3, 1}, {3, 1, 1, 3, 1}, {1, 3, 0, 2, 5}};
    for (const Step& s : steps) {
        int relay = s.fromRelay, target = s.fromTarget, classNr = -1;
        EXPECT_EQ(e.Entries().NextEntry(31, relay, target, classNr), s.result) << s.fromRelay << "," << s.fromTarget;
        EXPECT_EQ(relay, s.relay);
        EXPECT_EQ(target, s.target);
        if (s.result == 0)
            EXPECT_EQ(classNr, s.relay * 10 + s.target);
    }
    int relay = 0, target = 0;
    EXPECT_EQ(e.Entries().FindShooter(31, relay, target), 0);
    EXPECT_EQ(std::make_pair(relay, target), std::make_pair(2, 5));
    EXPECT_EQ(e.Entries().GetStartScore(31), 205);
    EXPECT_EQ(e.Entries().GetStartScore(33), 0);
    EXPECT_EQ(e.Entries().FindShooter(33, relay, target), 1);
}

TEST_F(EntryRankTeamTest, RankFindPutAndClearShooter)
{
    CDataRank& ranks = Event(1).Ranks();
    RankRecord out;
    std::memset(&out, 0x5a, sizeof out);
    EXPECT_EQ(ranks.Find(10, 2, 3, 77, out), -1);
    RankRecord expected{};
    expected.listKind = 10;
    expected.list = 2;
    expected.classNr = 3;
    expected.startNr = 77;
    EXPECT_EQ(std::memcmp(&out, &expected, sizeof out), 0);

    struct Put {
        int kind, list, classNr, startNr;
        const char* text;
        int gift, shootOff;
    };
    const Put puts[] = {
        {10, 2, 3, 77, "first", 1, 1}, {10, 2, 3, 77, "again", 1, 2},   // one record, rewritten
        {11, 2, 0, 77, "group", 1, 3},  {10, 2, 4, 77, "class4", 0, 4},
        {10, 2, 3, 78, "other", 1, 5},
    };
    for (const Put& p : puts) {
        RankRecord r{};
        r.listKind = static_cast<uint8_t>(p.kind);
        r.list = static_cast<int16_t>(p.list);
        r.classNr = static_cast<uint8_t>(p.classNr);
        r.startNr = p.startNr;
        std::strcpy(r.rankText, p.text);
        r.gift = static_cast<int16_t>(p.gift);
        r.shootOff = static_cast<int16_t>(p.shootOff);
        r.zero[19] = 9;
        ASSERT_EQ(ranks.Put(p.kind, p.list, p.classNr, p.startNr, r), 0);
    }
    EXPECT_EQ(ranks.File().GetRecCount(), 4);
    ASSERT_EQ(ranks.Find(10, 2, 3, 77, out), 0);
    EXPECT_STREQ(out.rankText, "again");
    EXPECT_EQ(+out.shootOff, 2);

    EXPECT_EQ(ranks.ClearShooter(77), -1);
    for (auto [kind, classNr, text] : {std::tuple{10, 3, "again"}, std::tuple{11, 0, "group"}, std::tuple{10, 4, "class4"}}) {
        ASSERT_EQ(ranks.Find(kind, 2, classNr, 77, out), 0);
        EXPECT_STREQ(out.rankText, text);
        EXPECT_EQ(+out.gift, 0);
        EXPECT_EQ(+out.shootOff, 0);
        EXPECT_EQ(out.zero[19], 0);
    }
    ASSERT_EQ(ranks.Find(10, 2, 3, 78, out), 0);
    EXPECT_EQ(+out.shootOff, 5);
}

TEST_F(EntryRankTeamTest, TeamFillStateBySizeAndMembers)
{
    struct Case {
        int size;
        int members;
        int state;
    };
    const Case cases[] = {
        {3, 0, 1}, {3, 1, 2}, {3, 2, 4}, {3, 3, 5},
        {6, 2, 2}, {6, 3, 3}, {6, 4, 4}, {6, 6, 5},
        {25, 20, 5}, {25, 19, 4},  // only slots 1..20 count
    };
    CDataTeam& team = comp.TeamMembers();
    int t = 0;
    for (const Case& c : cases) {
        ++t;
        ::WriteItem(comp.Team(), TeamItems::Size(t), c.size);
        for (int s = 1; s <= c.members; ++s) {
            TeamMemberRecord m{static_cast<uint8_t>(t), static_cast<uint8_t>(s), 7, 1000 + s, 1};
            ASSERT_EQ(team.File().WriteRecKey(&m), 0);
        }
        // Neither an empty slot, another team nor the team's own record counts.
        TeamMemberRecord empty{static_cast<uint8_t>(t), static_cast<uint8_t>(c.members + 1), 7, 0, 1};
        TeamMemberRecord other{static_cast<uint8_t>(t), 1, 8, 5, 1};
        TeamMemberRecord own{static_cast<uint8_t>(t), CDataTeam::kTeamSlot, 7, 3, 0};
        for (const TeamMemberRecord* r : {&empty, &other, &own})
            ASSERT_EQ(team.File().WriteRecKey(r), 0);
        EXPECT_EQ(team.CountMembers(t, 7), std::min(c.members, 20)) << "size " << c.size;
        EXPECT_EQ(team.FillState(t, 7), c.state) << "size " << c.size << ", " << c.members << " members";
    }
}

TEST_F(EntryRankTeamTest, TeamRuleNumbersAndTeamNamesKeepApart)
{
    ::WriteItem(comp.Team(), TeamItems::RuleMin(1, 2), 18);
    ::WriteItem(comp.Team(), TeamItems::EntryName(1, 2), std::string("Lag Nord"));
    EXPECT_EQ(::ReadItem(comp.Team(), TeamItems::RuleMin(1, 2)), 18);
    EXPECT_EQ(::ReadItem(comp.Team(), TeamItems::EntryName(1, 2)), "Lag Nord");
    EXPECT_EQ(::ReadItem(comp.Team(), TeamItems::RuleMin(1, 3)), -1);
}

}  // namespace
