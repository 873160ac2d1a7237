// The settlement of the competition report on prize rows set by hand: the
// sheet's pages, shooter blocks and summaries, the payment rows and
// email.txt, the payment list, and the accounts with their separators and
// totals.
#include "tests/results/lists/ListsFixture.h"
#include "QtApp.h"

#include "results/data/DataRank.h"
#include "platform/files/FileSystem.h"
#include "results/data/EventItems.h"
#include "results/lists/settlement/Accounts.h"
#include "results/lists/settlement/CompetitionReport.h"
#include "results/lists/settlement/PaymentList.h"
#include "results/lists/settlement/SettlementSheet.h"

namespace {

using namespace results;
using namespace liststest;

using Rows = std::vector<std::string>;

class SettlementTest : public ListTest {
protected:
    struct ScriptedShooter {
        int32_t nr;
        const char* name;
        const char* className;
        int club;
        const char* clubName;  // as the result list found it: empty when not registered
    };

    // A club of the register with its address, account and e-mail address.
    void RegisteredClub(int number, const std::string& name, const std::string& address1,
                        const std::string& address3, const std::string& account, const std::string& email)
    {
        CDataClub clubs;
        clubs.LoadClubs(comp.orgType);
        ClubRecord c{};
        SetFieldText(c.name, sizeof c.name, platform::Ansi(name));
        SetFieldText(c.address1, sizeof c.address1, platform::Ansi(address1));
        SetFieldText(c.address3, sizeof c.address3, platform::Ansi(address3));
        SetFieldText(c.account, sizeof c.account, account);
        SetFieldText(c.email, sizeof c.email, email);
        ASSERT_EQ(clubs.Put(&c, number, CDataClub::kClubs), 0);
    }

    // The shooter list as the report's result lists leave it: every
    // shooter took part unless its state is given.
    void Script(const std::vector<ScriptedShooter>& shooters, const std::vector<int32_t>& states = {})
    {
        List().Clubs().LoadClubs(comp.orgType);
        books.prizeRows.assign(2, PrizeRow());
        books.clubRows.clear();
        for (size_t i = 0; i < shooters.size(); ++i) {
            const ScriptedShooter& s = shooters[i];
            books.prizeRows[0].amounts.push_back(s.nr);
            books.prizeRows[1].amounts.push_back(i < states.size() ? states[i] : 1);
            ClubRow club;
            club.shooterName = platform::Ansi(s.name);
            club.className = s.className;
            club.club = static_cast<int16_t>(s.club);
            club.clubName = platform::Ansi(s.clubName);
            books.clubRows.push_back(club);
        }
        books.prizeRows[0].listed = static_cast<int32_t>(shooters.size());
    }

    // A prize list of event 1 as the report made it; its index.
    size_t PrizeList(int kind, const std::string& title, int list, bool combined = false, int classNr = 1)
    {
        PrizeRow row;
        row.prizeKind = static_cast<int16_t>(kind);
        row.title = row.name = title;
        row.list = list;
        row.combined = combined ? 1 : 0;
        row.classNr = combined ? 0 : classNr;
        row.event = 1;
        const size_t n = books.prizeRows[0].amounts.size();
        row.amounts.assign(n, 0);
        row.placeTexts.assign(n, "");
        row.resultTexts.assign(n, "");
        books.prizeRows.push_back(row);
        return books.prizeRows.size() - 1;
    }

    void Won(size_t row, size_t shooter, int32_t amount, const std::string& place, const std::string& result)
    {
        PrizeRow& r = books.prizeRows[row];
        r.amounts[shooter] = amount;
        r.placeTexts[shooter] = place;
        r.resultTexts[shooter] = result;
        ++r.listed;
    }

    // The gift choice of the prize screens: the list allows gifts and the
    // shooter's money prize is one.
    void Gift(int listKind, int list, int classNr, int32_t nr)
    {
        CDataEvent* e = comp.GetEvent(1);
        ::WriteItem(e->Prizes(), listKind == CDataRank::kGroupList ? PrizeItems::GroupGifts(list)
                                                                    : PrizeItems::ClassGifts(list),
                    1);
        RankRecord record{};
        e->Ranks().Find(listKind, list, classNr, nr, record);
        record.gift = 1;
        ASSERT_EQ(e->Ranks().Put(listKind, list, classNr, nr, record), 0);
    }

    // Makes the settlement sheet; the rows of every page in order.
    std::vector<Rows> Sheet(bool email)
    {
        CDataList& l = List();
        l.report.Reset();
        l.request.email = email ? 1 : 0;
        SettlementSheet(l, books).Make();
        std::vector<Rows> pages;
        for (const ListDef& def : l.report.aListDef)
            pages.push_back(RowTexts(def));
        return pages;
    }

    std::string Title2(int d) { return platform::Cp1252ToUtf8(List().Def(d).headerRows.at(0).cells.at(5).text); }

    SettlementBooks books;
};

TEST_F(SettlementTest, PagesPerClubWithEachShooterOnceAndTheMoneyInWholeUnits)
{
    AddEvent(1, "Felt");
    RegisteredClub(11, "Fjellby", "Postboks 12", "3900 Fjellby", "1234.56.78901", "post@fjellby.no");
    RegisteredClub(12, "Nordvik", "Skolevegen 4", "8000 Nordvik", "2345.67.89012", "leder@nordvik.no");
    RegisteredClub(16, "Nordvik", "Fjordvegen 9", "6900 Nordvik", "4567.89.01234", "");
    Gift(CDataRank::kClassList, 1, 1, 3);
    Gift(CDataRank::kGroupList, 1, 0, 4);
    Script({{1, "Ola Nordmann", "Senior", 11, "Fjellby"},
            {2, "Kari Nordmann", "Junior", 11, "Fjellby"},
            {3, "Per Hansen", "Senior", 12, "Nordvik"},
            {4, "Nils Nordvik", "Senior", 16, "Nordvik"},
            {5, "Ole Utenfor", "Senior", 15, ""},
            {6, "Siri Holm", "Senior", 11, "Fjellby"}},
           {1, 1, 1, 1, 1, 0});
    books.clubRows[0].subEventTotals = {"95", "", "48"};
    const size_t sum = PrizeList(2, "Sum", 1);
    const size_t series = PrizeList(1, "Serie 1", 2);
    const size_t team = PrizeList(2, "Lag A", 1, true);
    // Two prizes of 50.50: the club gets 100, not 101.
    Won(sum, 0, 5050, "1", "95");
    Won(sum, 1, 5050, "2", "95");
    Won(sum, 2, 3000, "3eo", "93");
    Won(sum, 3, 2000, "4", "90");
    Won(series, 0, 100, "2", "48");
    Won(series, 1, 100, "3", "47");
    Won(series, 4, 0, "9", "30");  // listed, but an object list's amount of 0 is no prize
    Won(team, 3, 1500, "1", "180");

    const std::vector<Rows> pages = Sheet(true);
    const Rows blank2 = {"|||", "|||"};
    auto page = [&](std::initializer_list<std::string> head, std::initializer_list<std::string> body) {
        Rows rows = blank2;
        rows.insert(rows.end(), head);
        rows.insert(rows.end(), body);
        return rows;
    };
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[0], page({"     Fjellby sk.l.|||", "     Postboks 12|||", "     |||", "     3900 Fjellby|||",
                              "|||", "|||"},
                             {"Ola Nordmann (Senior)|95    48||",
                              "     Nr 1 Sum|95|Kr 50|",
                              "     Nr 2 Serie 1|48|Gjenstand|Kr 50   Gjenstand*1  ",
                              "Kari Nordmann (Junior)|    ||",
                              "     Nr 2 Sum|95|Kr 50|",
                              "     Nr 3 Serie 1|47|Gjenstand|Kr 50   Gjenstand*1 ",
                              "2 deltagere||Totalt|Kr 100,-"}));
    EXPECT_EQ(pages[1], page({"     Nordvik sk.l.|||", "     Skolevegen 4|||", "     |||", "     8000 Nordvik|||",
                              "|||", "|||"},
                             {"Per Hansen (Senior)|    ||", "     Nr 3eo Sum|93|Gave|  Gave*1",
                              "1 deltagere||Totalt|Kr 0,-"}));
    // The second club of the same name has its own page, money and giro.
    EXPECT_EQ(pages[2], page({"     Nordvik sk.l.|||", "     Fjordvegen 9|||", "     |||", "     6900 Nordvik|||",
                              "|||", "|||"},
                             {"Nils Nordvik (Senior)|    ||", "     Nr 4 Sum|90|Kr 20|",
                              "     Nr 1 Lag A|180|Gave|Kr 20    Gave*1", "1 deltagere||Totalt|Kr 20,-"}));
    // A club the register does not have: no address, and a shooter without prizes.
    EXPECT_EQ(pages[3], page({"      sk.l.|||", "|||", "|||", "|||"},
                             {"Ole Utenfor (Senior)|    ||  ", "1 deltagere||Totalt|Kr 0,-"}));
    EXPECT_EQ(Title2(1), "Fjellby sk.l.");
    EXPECT_EQ(Title2(3), "Nordvik sk.l.");
    EXPECT_EQ(List().Def(1).headerRows.at(0).cells.at(4).text, platform::Ansi("Oppgjørsark"));

    const std::vector<PaymentRow>& paid = books.paymentRows;
    ASSERT_EQ(paid.size(), 4u);
    const std::pair<int, int> expected[] = {{100, 11}, {0, 12}, {20, 16}, {0, 15}};
    for (size_t i = 0; i < paid.size(); ++i) {
        EXPECT_EQ(paid[i].amount, expected[i].first) << i;
        EXPECT_EQ(paid[i].club, expected[i].second) << i;
    }
    EXPECT_EQ(paid[3].clubName, "");
    // The shooter not listed stays so; the others were written.
    EXPECT_EQ(books.prizeRows[1].amounts, (std::vector<int32_t>{2, 2, 2, 2, 2, 0}));
    EXPECT_EQ(books.clubRows[0].objects, 1);
    EXPECT_EQ(books.clubRows[3].gifts, 1);
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("email.txt")), "post@fjellby.no;leder@nordvik.no;");
    EXPECT_EQ(List().report.m_currentDef, 1);
    EXPECT_EQ(List().report.m_defCount, 4);
}

TEST_F(SettlementTest, OrganisationTypesWithoutTheRifleClubWordAndNoMailWithoutTheOption)
{
    ::WriteItem(comp.Comp(), CompItems::kOrgType, 2);
    comp.orgType = 2;
    AddEvent(1, "Felt");
    RegisteredClub(11, "Fjellby", "Postboks 12", "3900 Fjellby", "", "post@fjellby.no");
    Script({{1, "Ola Nordmann", "Senior", 11, "Fjellby"}});
    const std::vector<Rows> pages = Sheet(false);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].at(2), "     Fjellby|||");
    EXPECT_EQ(Title2(1), "Fjellby");
    EXPECT_FALSE(platform::FileExists(".\\email.txt"));

    // Nobody took part: no page and nothing owed.
    Script({{1, "Ola Nordmann", "Senior", 11, "Fjellby"}}, {0});
    EXPECT_TRUE(Sheet(true).empty());
    EXPECT_TRUE(books.paymentRows.empty());
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("email.txt")), "");
}

TEST_F(SettlementTest, PaymentListWithAccountsAndTotal)
{
    RegisteredClub(11, "Fjellby", "", "", "1234.56.78901", "");
    CDataList& l = List();
    l.Clubs().LoadClubs(comp.orgType);
    auto payment = [](int32_t amount, const char* name, int16_t club) {
        PaymentRow row;
        row.amount = amount;
        row.clubName = name;
        row.club = club;
        return row;
    };
    for (const bool giro : {false, true}) {
        l.report.Reset();
        books.paymentRows = {payment(100, "Fjellby", 11), payment(0, "Utenfor", 15), payment(1250, "", 0)};
        PaymentList(l, books).Make(giro);
        ASSERT_EQ(l.report.aListDef.size(), 1u);
        EXPECT_EQ(RowTexts(l.Def(1)),
                  (Rows{"Fjellby|1234.56.78901|100,-", "Utenfor||0,-", "||1250,-", "||", "Prem ut|Totalt|Kr 1350,-"}));
        EXPECT_EQ(l.Def(1).headerRows.at(0).cells.at(4).text, "Betalingsliste");
        EXPECT_EQ(l.Def(1).headerRows.at(0).cells.at(5).text, "Premiesum");
        // The giro forms print from the rows after the list.
        EXPECT_EQ(books.paymentRows.size(), giro ? 3u : 0u);
        EXPECT_EQ(l.report.m_currentDef, 1);
    }
}

// The report of a small competition through MakeList: a class prize list
// of series 1 paying one of three shooters.
class ReportTest : public SettlementTest {
protected:
    void SetUp() override
    {
        SettlementTest::SetUp();
        bvtest::QtApp();  // the result lists measure their columns with the kit's fonts
        CDataEvent& e = AddEvent(1, "Felt");
        CBVConfig& prizes = e.Prizes();
        ::WriteItem(prizes, PrizeItems::kClassCount, 1);
        ::WriteItem(prizes, PrizeItems::ClassSource(1), 1);
        ::WriteItem(prizes, PrizeItems::ClassClasses(1), std::string("\x01"));
        ::WriteItem(prizes, PrizeItems::ClassOrder(1), 2);
        ::WriteItem(prizes, PrizeItems::ClassShare(1), std::string("1/3"));
        ::WriteItem(prizes, PrizeItems::ClassStake(1), 3000);
        ::WriteItem(prizes, PrizeItems::ClassKind(1), 2);
        Club(11, "Fjellby", "Postboks 12", "3900 Fjellby");
        for (int nr = 1; nr <= 3; ++nr) {
            Shooter(nr, "Skytter " + std::to_string(nr), 11);
            Entry(1, 1, nr, nr);
            Shots(1, 1, nr, 1, std::vector<int>(10, 100 - 10 * nr));
        }
    }
};

TEST_F(ReportTest, ProgrammePageInOrganisationTypeTwoOnly)
{
    for (const int org : {1, 2}) {
        ::WriteItem(comp.Comp(), CompItems::kOrgType, org);
        ::WriteItem(comp.Comp(), CompItems::kProgramText, std::string("Felt"));
        list.reset();
        ASSERT_EQ(MakeModel(kListSettlement), 1);
        const ListDef& first = List().Def(1);
        const bool programme = first.headerRows.empty();
        EXPECT_EQ(programme, org == 2) << org;
        if (!programme)
            continue;
        ASSERT_EQ(first.bodyRows.size(), 1u);
        EXPECT_EQ(first.bodyRows[0].cells.at(3).text, "Felt");
        // Two lines of one column, then five of a caption and its text.
        ASSERT_EQ(first.bodyLines.size(), 7u);
        const int firstColumns[7] = {1, 2, 3, 5, 7, 9, 11};
        for (size_t l = 0; l < 7; ++l) {
            EXPECT_EQ(first.bodyLines[l].firstColumn, firstColumns[l]) << l;
            EXPECT_EQ(first.bodyLines[l].columnCount, l < 2 ? 1 : 2) << l;
        }
        ASSERT_EQ(first.bodyColumns.size(), 12u);
        EXPECT_EQ(first.bodyColumns[2].line, 3);
        EXPECT_EQ(first.bodyColumns[11].line, 7);
        EXPECT_EQ(first.bodyColumns[3].widthPercent, 60);
    }
}

TEST_F(ReportTest, TheFormsChoiceComesBackAndTheSplitFilesKeepTheRows)
{
    CDataList& l = List();
    l.request.event = 1;
    l.request.classFilter = {2};
    l.request.letterFilter = "B";
    l.request.seriesFilter = {7};
    l.request.treeSelection = 3;
    ASSERT_EQ(MakeModel(kListSettlement), 1);
    EXPECT_EQ(l.request.event, 1);
    EXPECT_EQ(l.request.classFilter, (std::vector<uint8_t>{2}));
    EXPECT_EQ(l.request.letterFilter, "B");
    EXPECT_EQ(l.request.seriesFilter, (std::vector<int32_t>{7}));
    EXPECT_EQ(l.request.treeSelection, 3);
    // Result list, one club's sheet, payment list, accounts; the rows are freed.
    ASSERT_EQ(l.report.aListDef.size(), 4u);
    EXPECT_EQ(RowTexts(l.Def(2)).at(8), "Skytter 1 (Senior)|    ||");
    EXPECT_EQ(RowTexts(l.Def(3)).at(0), "Fjellby||90,-");

    // With the split-list option the settlement is left to the club files.
    l.request.splitList = 1;
    ASSERT_EQ(MakeModel(kListSettlement), 1);
    EXPECT_EQ(l.report.aListDef.size(), 1u);

    // The books as the report leaves them: freed after its own settlement,
    // kept for the club files when split.
    for (const bool split : {false, true}) {
        l.report.Reset();
        l.report.m_defCount = 0;
        l.request.splitList = split ? 1 : 0;
        CompetitionReport report(l);
        report.Make();
        const SettlementBooks& kept = report.Books();
        EXPECT_TRUE(kept.paymentRows.empty()) << split;
        if (!split) {
            EXPECT_TRUE(kept.prizeRows.empty());
            EXPECT_TRUE(kept.clubRows.empty());
            continue;
        }
        ASSERT_EQ(kept.prizeRows.size(), 3u);
        EXPECT_EQ(kept.prizeRows[1].amounts, (std::vector<int32_t>{1, 1, 1}));
        EXPECT_EQ(kept.prizeRows[2].amounts, (std::vector<int32_t>{9000, 0, 0}));
        EXPECT_EQ(kept.clubRows.at(0).clubName, "Fjellby");
    }
}

class AccountsTest : public SettlementTest {
protected:
    Rows MakeAccounts()
    {
        CDataList& l = List();
        l.report.Reset();
        Accounts accounts(l, books);
        accounts.Make();
        EXPECT_TRUE(accounts.Rows().empty());
        return l.report.aListDef.empty() ? Rows() : RowTexts(l.report.aListDef.back());
    }

    void PrizeFigures(int event, bool combined, const std::string& name, int listed, int stake, int paid, int objects,
                      int gifts)
    {
        PrizeRow row;
        row.event = event;
        row.combined = combined ? 1 : 0;
        row.name = name;
        row.listed = listed;
        row.stake = stake;
        row.moneyPaid = paid;
        row.objects = objects;
        row.gifts = gifts;
        books.prizeRows.push_back(row);
    }
};

TEST_F(AccountsTest, EveryClassListAndTeamWithItsSeparatorsAndTotals)
{
    CDataEvent& felt = AddEvent(1, "Felt");
    CDataEvent& bane = AddEvent(2, "Bane");
    ::WriteItem(bane.Settings(), EventItems::ClassUsed(2), 0);
    ::WriteItem(bane.Settings(), EventItems::ClassUsed(3), 0);
    ::WriteItem(felt.Settings(), EventItems::ClassFee(1), 15000);
    ::WriteItem(felt.Settings(), EventItems::ClassFee(2), 10050);
    CBVConfig& prizes = felt.Prizes();
    ::WriteItem(prizes, PrizeItems::kGroupCount, 3);
    // A combined list named like a class; one without fee and stake; one with a stake only.
    ::WriteItem(prizes, PrizeItems::GroupName(1), std::string("Senior"));
    ::WriteItem(prizes, PrizeItems::GroupFee(1), 2000);
    ::WriteItem(prizes, PrizeItems::GroupStake(1), 1000);
    ::WriteItem(prizes, PrizeItems::GroupName(2), std::string("Gratis"));
    ::WriteItem(prizes, PrizeItems::GroupName(3), std::string("Innsats"));
    ::WriteItem(prizes, PrizeItems::GroupStake(3), 500);
    CBVConfig& t = comp.Team();
    ::WriteItem(t, TeamItems::kCount, 2);
    ::WriteItem(t, TeamItems::Name(1), std::string("Lagkonk"));
    ::WriteItem(t, TeamItems::Fee(1), 30000);
    ::WriteItem(t, TeamItems::EntryCount(1), 4);
    ::WriteItem(t, TeamItems::EntryName(1, 1), std::string("Fjellby 1"));
    ::WriteItem(t, TeamItems::EntryClub(1, 1), 11);
    ::WriteItem(t, TeamItems::EntryName(1, 2), std::string("Slettet"));
    ::WriteItem(t, TeamItems::EntryClub(1, 2), -12);
    ::WriteItem(t, TeamItems::EntryName(1, 4), std::string("Nordvik"));
    ::WriteItem(t, TeamItems::EntryClub(1, 4), 12);

    books.prizeRows.assign(2, PrizeRow());
    PrizeFigures(1, false, "Senior", 4, 5000, 12345, 1, 0);
    PrizeFigures(1, false, "Senior", 3, 2500, 1000, 0, 0);  // the last list's count stands
    PrizeFigures(1, false, "Junior", 3, 0, 0, 0, 0);
    PrizeFigures(1, true, "Senior", 6, 1000, 3000, 0, 1);
    PrizeFigures(1, true, "Innsats", 2, 500, 500, 0, 0);
    PrizeFigures(2, false, "Senior", 2, 0, 0, 2, 0);

    EXPECT_EQ(MakeAccounts(), (Rows{
                              "Felt||||||||",
                              "Klasse|Ant|Innsk|Tot.|Premie|Tot.|Prem ut|Gjenstand|Gave",
                              "Senior|3|150,-|450,-|75,-|225,-|133,-|1|0",
                              "Junior|3|100,-|301,-|0,-|0,-|0,-|0|0",
                              "Veteran|0|0,-|0,-|0,-|0,-|0,-|0|0",
                              "Sammensatt||||||||",
                              "Senior|6|20,-|120,-|10,-|60,-|30,-|0|1",
                              "Innsats|2|0,-|0,-|5,-|10,-|5,-|0|0",
                              "||||||||",
                              "Bane||||||||",
                              "Senior|2|0,-|0,-|0,-|0,-|0,-|2|0",
                              "||||||||",
                              "Lagskt||||||||",
                              "Lagkonk|2|300,-|600,-|0,-|0,-|0,-|0|0",
                              "||||||||",
                              "Totalt|8||1471,-||295,-|168,-|3|1",
                          }));
    EXPECT_EQ(List().report.aListDef.back().headerRows.at(0).cells.at(4).text, "Regnskap");
}

TEST_F(AccountsTest, WithoutAnyRowTheTitlesAndTheTotal)
{
    books.prizeRows.assign(2, PrizeRow());
    EXPECT_EQ(MakeAccounts(), (Rows{"Klasse|Ant|Innsk|Tot.|Premie|Tot.|Prem ut|Gjenstand|Gave", "||||||||",
                                "Totalt|0||0,-||0,-|0,-|0|0"}));
}

}  // namespace
