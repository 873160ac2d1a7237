// The lists over the whole competition: the entry list by club, the
// statistics of shot and not shot per event and class, and the time
// schedule of the relays' start times.
#include "tests/results/lists/ListsFixture.h"

#include "results/data/ResStrings.h"

namespace {

using namespace results;
using namespace liststest;

using Rows = std::vector<std::string>;

class OverviewListsTest : public ListTest {};

// ---- entry list ---------------------------------------------------------------

TEST_F(OverviewListsTest, EntryListOfAClub)
{
    AddEvent(1, "Felt", 2, 2);
    AddEvent(2, "Bane", 1, 1);
    AddEvent(3, "Finale", 1, 1);
    Relay(1, 2, 7, 2, "10:30");
    Relay(3, 1, 1, 2, "08:00");  // day 2 of a one-day event: no date, no day
    Club(11, "Fjellby", "Postboks 12", "3900 Fjellby");
    Club(12, "Nordvik");
    Shooter(1, "Ola", 11, 1, "A");
    Shooter(2, "Kari", 11, 2, "");
    Shooter(3, "Per", 12, 3, "B");
    Shooter(4, "Ole", 15, 1, "A");  // a club the register does not have
    Shooter(5, "", 11, 1, "A");     // no name
    Entry(1, 1, 3, 1);
    Entry(1, 2, 9, 2);
    const std::string b = "B";
    Entry(3, 1, 1, 1, 2, &b);  // another class and category in event 3
    Entry(1, 1, 4, 3);
    Entry(1, 1, 5, 4);
    Entry(1, 1, 6, 5);
    Entry(2, 1, 1, 3);

    ASSERT_EQ(MakeModel(kListParticipants), 1);
    CDataList& l = List();
    ASSERT_EQ(l.report.aListDef.size(), 2u);
    EXPECT_EQ(l.report.m_currentDef, 1);
    const ListDef& fjellby = l.Def(1);
    EXPECT_TRUE(fjellby.footerRule);
    EXPECT_EQ(platform::Cp1252ToUtf8(fjellby.headerRows[0].cells[4].text), "Påmeldingsliste");
    EXPECT_EQ(fjellby.headerRows[0].cells[5].text, "Fjellby sk.l.");
    EXPECT_EQ(RowTexts(fjellby), (Rows{
                                     "||||",
                                     "     Fjellby sk.l.||||",
                                     "     Postboks 12||||",
                                     "     ||||",
                                     "     3900 Fjellby||||",
                                     "||||",
                                     "||||",
                                     "||||",
                                     "Felt||||",
                                     "Ola (Senior - A)|Lørdag 16/5|Kl 08:00|Lag  1|Skive  3",
                                     "Kari (Junior)|Søndag 17/5|Kl 10:30|Lag  7|Skive  9",
                                     "Antall = 2||||",
                                     // nobody of the club in event 2: no block
                                     "||||",
                                     "Finale||||",
                                     "Ola (Junior - B)||Kl 08:00|Lag  1|Skive  1",
                                     "Antall = 1||||",
                                     "||||",
                                     "Totalt = 3||||",
                                 }));
    EXPECT_EQ(RowTexts(l.Def(2))[1], "     Nordvik sk.l.||||");
    EXPECT_EQ(RowTexts(l.Def(2))[2], "     ||||");  // no address in the register

    // The page: five columns on one line.
    ASSERT_EQ(fjellby.bodyColumns.size(), 5u);
    ASSERT_EQ(fjellby.bodyLines.size(), 1u);
    const int widths[] = {45, 17, 13, 12, 13}, fits[] = {20, 10, 4, 6, 6};
    for (size_t c = 0; c < 5; ++c) {
        EXPECT_EQ(fjellby.bodyColumns[c].widthPercent, widths[c]);
        EXPECT_EQ(fjellby.bodyColumns[c].fitChars, fits[c]);
    }
}

TEST_F(OverviewListsTest, EntryListForAWebPageOrAnotherOrganisation)
{
    AddEvent(1, "Felt");
    Club(11, "Fjellby", "Postboks 12");
    Shooter(1, "Ola", 11, 1, "A");
    Entry(1, 1, 1, 1);
    CDataList& l = List();
    l.request.file.html = 1;
    ASSERT_EQ(MakeModel(kListParticipants), 1);
    EXPECT_EQ(l.Def(1).headerRows[0].cells[5].text, "");
    EXPECT_EQ(RowTexts(l.Def(1))[1], "     Fjellby sk.l.||||");
    EXPECT_EQ(RowTexts(l.Def(1))[2], "||||");

    // Another organisation's clubs are no "skytterlag".
    ::WriteItem(comp.Comp(), CompItems::kOrgType, 2);
    comp.orgType = 2;
    Club(11, "Fjellby");
    list.reset();
    CDataList& other = List();
    ASSERT_EQ(MakeModel(kListParticipants), 1);
    EXPECT_EQ(other.Def(1).headerRows[0].cells[5].text, "Fjellby");
    EXPECT_EQ(RowTexts(other.Def(1))[1], "     Fjellby||||");
}

TEST_F(OverviewListsTest, NoEventWithANameNoEntryList)
{
    AddEvent(1, "");
    Club(11, "Fjellby");
    Shooter(1, "Ola", 11);
    Entry(1, 1, 1, 1);
    EXPECT_EQ(MakeModel(kListParticipants), 0);
    EXPECT_TRUE(List().report.aListDef.empty());
}

// ---- statistics ---------------------------------------------------------------

TEST_F(OverviewListsTest, StatisticsCountShotAndNotShot)
{
    AddEvent(1, "Felt", 2);
    AddEvent(2, "Skjult");
    ::WriteItem(comp.Comp(), CompItems::EventExcluded(2), 1);
    AddEvent(3, "Bane");
    ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::ClassUsed(3), 0);
    for (int nr = 1; nr <= 5; ++nr)
        Shooter(nr, "S" + std::to_string(nr), 11, nr <= 2 ? 1 : nr == 3 ? 2 : 3);
    Entry(1, 1, 1, 1);
    Entry(1, 1, 2, 2);
    Entry(1, 2, 1, 3);
    Entry(1, 2, 2, 4);  // Veteran, a class event 1 does not use
    Entry(1, 2, 3, 5);
    Entry(2, 1, 1, 1);
    Shots(1, 1, 1, 1, {90});  // one shot is shot
    Shots(1, 2, 3, 1, {100, 100});

    ASSERT_EQ(MakeModel(kListStatistics), 1);
    const ListDef& def = List().Def(1);
    EXPECT_EQ(platform::Cp1252ToUtf8(def.headerRows[0].cells[4].text), "Statistikk");
    EXPECT_EQ(RowTexts(def), (Rows{
                                 "||||",
                                 "Felt|Ikke skutt|Skutt|Totalt|",
                                 "Senior|1|1|2|",
                                 "Junior|1|0|1|",
                                 "Totalt|3|2|5|",  // no Veteran row, but both Veterans in the total
                                 "||||",
                                 "Bane|Ikke skutt|Skutt|Totalt|",
                                 "Senior|0|0|0|",
                                 "Junior|0|0|0|",
                                 "Veteran|0|0|0|",
                                 "Totalt|0|0|0|",
                             }));
    ASSERT_EQ(def.bodyColumns.size(), 5u);
    EXPECT_EQ(def.bodyColumns[1].align, kAlignRight);
    EXPECT_EQ(def.bodyColumns[4].align, kAlignLeft);
}

// ---- time schedule -------------------------------------------------------------

TEST_F(OverviewListsTest, TimeScheduleByDayAndStartTime)
{
    // Event 1 on the 16th and 17th, relays out of number order; event 2 on
    // the 17th and 18th; event 3 excluded; event 4 without relays.
    AddEvent(1, "Felt", 4, 2);
    Relay(1, 1, 1, 1, "10:30", "A-lag");
    Relay(1, 2, 2, 1, "09:00");
    Relay(1, 3, 3, 2, "09:00");
    Relay(1, 4, 0, 1, "07:00");  // not used
    AddEvent(2, "Bane", 3, 2);
    ::WriteItem(comp.GetEvent(2)->Settings(), EventItems::DayDate(1), 20260517);
    ::WriteItem(comp.GetEvent(2)->Settings(), EventItems::DayDate(2), 20260518);
    Relay(2, 1, 11, 1, "9:00");
    Relay(2, 2, 12, 2, "08:00");
    Relay(2, 3, 13, 1, "13:15", "B");
    AddEvent(3, "Skjult", 1);
    ::WriteItem(comp.Comp(), CompItems::EventExcluded(3), 1);
    AddEvent(4, "Tom", 0);

    ASSERT_EQ(MakeModel(kListRunningOrder), 1);
    const ListDef& def = List().Def(1);
    EXPECT_FALSE(def.footerRule);
    EXPECT_EQ(platform::Cp1252ToUtf8(def.headerRows[0].cells[4].text), "Tidsplan");
    EXPECT_EQ(RowTexts(def), (Rows{
                                 "|Felt|Bane|Tom",
                                 "Lørdag 16/5|||",
                                 "9:00|2 ||",
                                 "10:30|1 (A-lag)||",
                                 "Søndag 17/5|||",
                                 "9:00|3 |11 |",
                                 "13:15||13 (B)|",
                                 "Mandag 18/5|||",
                                 "8:00||12 |",
                             }));
    ASSERT_EQ(def.bodyColumns.size(), 4u);
    EXPECT_EQ(def.bodyColumns[0].widthPercent, 15);
    EXPECT_EQ(def.bodyColumns[0].align, kAlignRight);
    EXPECT_EQ(def.bodyColumns[1].widthPercent, 15);  // 85 / 3 is more
    EXPECT_EQ(def.bodyColumns[1].align, kAlignCentre);
    EXPECT_EQ(def.bodyColumns[3].frame, kFrameBox);
}

TEST_F(OverviewListsTest, TimeScheduleKeepsRelaysThatStartTogetherOrHaveNoDate)
{
    AddEvent(1, "Felt", 4, 1);
    Relay(1, 1, 1, 1, "09:00");
    Relay(1, 2, 2, 1, "09:00", "B-lag");  // with relay 1
    Relay(1, 3, 3, 2, "08:00");           // day 2 of a one-day event
    Relay(1, 4, 4, 1, "10:00");           // after both: not held back
    for (int n = 1; n <= 9; ++n)
        AddEvent(1 + n, "E" + std::to_string(n), 0);

    ASSERT_EQ(MakeModel(kListRunningOrder), 1);
    const ListDef& def = List().Def(1);
    const Rows rows = RowTexts(def);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].substr(0, rows[1].find('|')), "Lørdag 16/5");
    EXPECT_EQ(rows[2].substr(0, rows[2].find("||")), "9:00|1, 2 (B-lag)");
    EXPECT_EQ(rows[3].substr(0, rows[3].find("||")), "10:00|4 ");
    EXPECT_EQ(rows[4].find_first_not_of('|'), std::string::npos);  // the undated day
    EXPECT_EQ(rows[5].substr(0, rows[5].find("||")), "8:00|3 ");
    EXPECT_EQ(def.bodyColumns[1].widthPercent, 8);  // 85 / 10
}

TEST_F(OverviewListsTest, TimeScheduleWithoutEvents)
{
    ASSERT_EQ(MakeModel(kListRunningOrder), 1);
    EXPECT_EQ(RowTexts(List().Def(1)), (Rows{""}));
}

}  // namespace
