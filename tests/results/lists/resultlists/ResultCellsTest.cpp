// The cell texts of the result lists, code by code: places with and
// without shoot-offs, totals by organisation and result type, shots and
// series sums with linked sub-events, start numbers and start scores,
// remark codes, prizes and what the prize column counts for the settlement.
#include "tests/results/lists/ListsFixture.h"

#include "results/data/DataRank.h"
#include "results/lists/ranking/ListRanking.h"
#include "results/lists/ranking/RowRanking.h"
#include "results/lists/resultlists/ResultCells.h"
#include "results/lists/resultlists/ResultListCodes.h"
#include "results/lists/settlement/SettlementBooks.h"

#include <memory>

namespace {

using namespace results;
using namespace liststest;

class ResultCellsTest : public ListTest {
protected:
    // Event 1: two series of five shots, sub-event 1 "Sum" of both; event 2:
    // one series of five, sub-event 1 "Bane". Event 1's sub-event 2 links
    // event 2's sub-event 1 before its own two series. Ola shoots both
    // events, Kari only event 1.
    void TwoEvents()
    {
        AddEvent(1, "Felt", 1, 1, 1, 10, 2);
        AddEvent(2, "Bane", 1, 1, 1, 10, 1);
        CBVConfig& e1 = comp.GetEvent(1)->Settings();
        CBVConfig& e2 = comp.GetEvent(2)->Settings();
        for (int s = 1; s <= 2; ++s)
            ::WriteItem(e1, EventItems::SeriesShots(s), 5);
        ::WriteItem(e2, EventItems::SeriesShots(1), 5);
        ::WriteItem(comp.Comp(), CompItems::EventSubEvents(1), 2);
        ::WriteItem(comp.Comp(), CompItems::EventSubEvents(2), 1);
        ::WriteItem(e1, EventItems::SubEventName(1), std::string("Sum"));
        ::WriteItem(e1, EventItems::SubSeries(1), std::string{1, 2});
        ::WriteItem(e1, EventItems::SubEventName(2), std::string("Med bane"));
        ::WriteItem(e1, EventItems::SubSeries(2), std::string{'\x81', 2, 1, 2});
        ::WriteItem(e2, EventItems::SubEventName(1), std::string("Bane"));
        ::WriteItem(e2, EventItems::SubSeries(1), std::string{1});
        Club(11, "Fjellby");
        Shooter(1, "Ola Nordmann", 11, 1, "A", "N-1");
        Shooter(2, "Kari Nordmann", 11, 1, "A");
        Entry(1, 1, 1, 1);
        Entry(1, 1, 2, 2);
        Entry(2, 1, 5, 1);
        Shots(1, 1, 1, 1, {90, 90, 90, 90, 90});
        Shots(1, 1, 1, 2, {100, 100, 100, 100, 100});
        Shots(1, 1, 2, 1, {80, 90, 100, 90, 80});
        Shots(1, 1, 2, 2, {70, 70, 70, 70, 70});
        Shots(2, 1, 5, 1, {100, 100, 90, 90, 80});
    }

    void OrgType(int org)
    {
        ::WriteItem(comp.Comp(), CompItems::kOrgType, org);
        comp.orgType = org;
    }

    // A result row for the entry at (relay, target) of the request's event.
    int Row(int relay, int target)
    {
        CDataList& l = List();
        const int k = l.FindShooterRow(relay, target);
        EXPECT_GE(k, 0);
        ResultRow row;
        row.shooterRow = static_cast<int16_t>(k);
        l.resultRows.push_back(row);
        return static_cast<int>(l.resultRows.size()) - 1;
    }

    // A fresh list object (it reads the settings as they now stand) with a
    // result row for Ola (row 0) and Kari (row 1) in event 1.
    CDataList& Fresh()
    {
        cells.reset();
        list.reset();
        CDataList& l = List();
        l.request.event = 1;
        l.Clubs().LoadClubs(comp.orgType);
        Row(1, 1);
        Row(1, 2);
        return l;
    }

    std::string Cell(int row, int code, int listKind = kListResultsByClass, int list = 1, bool withPrizes = false,
                     bool sumsWithShots = false, int settlementRow = 0, bool web = false)
    {
        const int event = List().request.event;
        const int resultType = ::ReadItem(comp.GetEvent(event)->Settings(), EventItems::ResultType(event));
        std::string out = "unchanged";
        Cells().Text(row, code, resultType, settlementRow, out, listKind, list, withPrizes, sumsWithShots, web);
        return platform::Cp1252ToUtf8(out);
    }

    // The cell texts of the list object, counting prizes into the books.
    ResultCells& Cells()
    {
        if (!cells)
            cells = std::make_unique<ResultCells>(List(), &books);
        return *cells;
    }

    SettlementBooks books;
    std::unique_ptr<ResultCells> cells;  // of the list object Fresh made last
};

TEST_F(ResultCellsTest, PlacesOfEqualRowsWithAndWithoutShootOffs)
{
    TwoEvents();
    struct Case {
        int shootOffs[3];
        const char* places[3];  // in sorted order
    } cases[] = {
        {{0, 0, 0}, {"1", "1", "1"}},
        {{2, 1, 0}, {"1eo", "2eo", "3eo"}},  // sorted 1, 2, none
    };
    for (const Case& c : cases) {
        CDataList& l = List();
        l.ClearRows();
        l.request.event = 1;
        for (int i = 0; i < 3; ++i) {
            const int r = Row(1, 1);
            l.resultRows[static_cast<size_t>(r)].ranking[1] = 950;
            l.resultRows[static_cast<size_t>(r)].shootOff = static_cast<int16_t>(c.shootOffs[i]);
        }
        SortResultRows(l, kRankTotal);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Cell(i, kCodePlace), c.places[i]) << c.shootOffs[0] << " row " << i;
    }
}

TEST_F(ResultCellsTest, TotalsByOrganisationAndResultType)
{
    TwoEvents();
    CBVConfig& e1 = comp.GetEvent(1)->Settings();
    struct Case {
        int org, resultType, final;
        int ranking1, series0, series1;
        int series2Type;   // of the event's last series; 10 a points series
        const char* text;
    } cases[] = {
        {2, 0, 1, 1044, 0, 0, 0, "104.4"},
        {6, 0, 1, 1044, 0, 0, 0, "104.4"},
        {1, 0, 1, 1044, 0, 0, 0, "104,4"},
        {3, 0, 1, 1044, 0, 0, 0, "104,4"},
        {1, 0, 0, 1044, 0, 0, 0, "104"},
        {2, 0, 0, 0, 0, 0, 0, ""},        // nothing is an empty cell
        {1, 4, 0, 0, 2, 5, 7, "5/2"},     // hits and inner hits, with a hit series
        {1, 4, 0, 0, 2, 5, 0, "5"},
        {1, 5, 0, 0, 34, 12, 0, "12.34"},
        {1, 6, 0, 0, 2, 4, 0, "16"},
        {1, 6, 0, 0, 2, 4, 10, "16(7)"},  // the last series' points
        {1, 7, 0, 0, 2, 4, 0, "6"},
        {1, 7, 0, 0, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        OrgType(c.org);
        ::WriteItem(e1, EventItems::ResultType(1), c.resultType);
        ::WriteItem(e1, EventItems::Final(1), c.final);
        ::WriteItem(e1, EventItems::SeriesType(2), c.series2Type);
        if (c.series2Type == 10)
            Shots(1, 1, 1, 2, {7});
        cells.reset();
        list.reset();
        CDataList& l = List();
        l.request.event = 1;
        const int r = Row(1, 1);
        ResultRow& row = l.resultRows[static_cast<size_t>(r)];
        row.ranking[1] = c.ranking1;
        row.series = {c.series0, c.series1};
        EXPECT_EQ(Cell(r, kCodeTotal), c.text) << "org " << c.org << " type " << c.resultType << " final " << c.final;
    }
}

TEST_F(ResultCellsTest, PointsOfTheSeriesAfterTheHitPairsLastFirst)
{
    AddEvent(1, "Feltpistol", 1, 1, 1, 10, 3);
    CBVConfig& e1 = comp.GetEvent(1)->Settings();
    ::WriteItem(e1, EventItems::ResultType(1), 7);
    ::WriteItem(e1, EventItems::SeriesType(1), 7);
    ::WriteItem(e1, EventItems::SeriesType(2), 10);
    ::WriteItem(e1, EventItems::SeriesType(3), 10);
    Shooter(1, "Ola", 11);
    Entry(1, 1, 1, 1);
    Shots(1, 1, 1, 2, {3});
    Shots(1, 1, 1, 3, {8});
    CDataList& l = List();
    l.request.event = 1;
    const int r = Row(1, 1);
    l.resultRows[0].series = {2, 4};
    EXPECT_EQ(Cell(r, kCodeTotal), "6(8,3)");
}

TEST_F(ResultCellsTest, ShotsAndSeriesSumsWithLinkedSubEvents)
{
    TwoEvents();
    CBVConfig& prizes = comp.GetEvent(1)->Prizes();
    const int ola = 0, kari = 1;
    struct Case {
        int org, listKind, source;
        int code;
        bool sumsWithShots;
        const char* ola;
        const char* kari;
    } cases[] = {
        // A sub-event of the event's own series.
        {1, 10, 0x101, kCodeSeriesSums, false, "45 50", "44 35"},
        {1, 10, 0x101, kCodeShots, false, "99999 1010101010", "891098 77777"},
        {1, 10, 0x101, kCodeShots, true, "99999=45  1010101010=50 ", "891098=44  77777=35 "},
        // The linked sub-event's total first; Kari, not entered there, has
        // nothing for it and no stray blank.
        {1, 10, 0x102, kCodeSeriesSums, false, "46 45 50", "44 35"},
        {1, 10, 0x102, kCodeShots, false, "46 99999 1010101010", "891098 77777"},
        // Combined lists of organisation type 6 leave linked entries out.
        {6, 11, 0x102, kCodeSeriesSums, false, "45 50", "44 35"},
        {6, 10, 0x102, kCodeSeriesSums, false, "46 45 50", "44 35"},
        // A series source.
        {1, 10, 2, kCodeSeriesSums, false, "50", "35"},
        {1, 10, 2, kCodeShots, false, "1010101010", "77777"},
        {1, 10, 2, kCodeShots, true, "1010101010=50 ", "77777=35 "},
        {2, 10, 2, kCodeShots, false, "1010101010", "77777"},
    };
    for (const Case& c : cases) {
        OrgType(c.org);
        ::WriteItem(prizes, PrizeItems::ClassSource(1), c.source);
        ::WriteItem(prizes, PrizeItems::GroupSource(1), c.source);
        Fresh();
        EXPECT_EQ(Cell(ola, c.code, c.listKind, 1, false, c.sumsWithShots), c.ola)
            << "org " << c.org << " kind " << c.listKind << " source " << c.source << " code " << c.code;
        EXPECT_EQ(Cell(kari, c.code, c.listKind, 1, false, c.sumsWithShots), c.kari)
            << "org " << c.org << " kind " << c.listKind << " source " << c.source << " code " << c.code;
    }
}

TEST_F(ResultCellsTest, SeriesTextsOfASubEventByOrganisationAndResultType)
{
    TwoEvents();
    CBVConfig& e1 = comp.GetEvent(1)->Settings();
    struct Case {
        int org, resultType;
        const char* text;
    } cases[] = {
        {2, 0, "45  50"},                          // the sums, two blanks apart
        {6, 0, "45  50"},
        {1, 4, "45  50"},
        {3, 6, "45  50"},
        {1, 0, "99999 = 45   1010101010 = 50   "},  // the shots and their sums
        {1, 5, ""},
        {3, 0, ""},
    };
    for (const Case& c : cases) {
        OrgType(c.org);
        ::WriteItem(e1, EventItems::ResultType(1), c.resultType);
        cells.reset();
        list.reset();
        CDataList& l = List();
        l.request.event = 1;
        EXPECT_EQ(platform::Cp1252ToUtf8(Cells().SeriesShotsText(0x101, 1, 1, false, true)), c.text)
            << "org " << c.org << " type " << c.resultType;
    }
}

TEST_F(ResultCellsTest, NamesStartNumbersAndStartScores)
{
    TwoEvents();
    const int ola = 0;
    Fresh();
    EXPECT_EQ(Cell(ola, kCodeName), "Ola Nordmann");
    EXPECT_EQ(Cell(ola, kCodeClub), "Fjellby");
    EXPECT_EQ(Cell(ola, kCodeClass), "Senior");
    EXPECT_EQ(Cell(ola, kCodeCategory), "A");
    EXPECT_EQ(Cell(ola, kCodeStartNr), "1");
    ::WriteItem(comp.Comp(), CompItems::EventUseStartNr(1), 1);
    Fresh();
    EXPECT_EQ(Cell(ola, kCodeStartNr), "N-1");
    EXPECT_EQ(Cell(ola, 13), "");

    // The start score: none, the entry's, or a sub-event's total.
    RegRecord entry{};
    ASSERT_TRUE(comp.GetEvent(1)->Entries().Read(1, 1, entry));
    entry.startScore = 123;
    ASSERT_EQ(comp.GetEvent(1)->Entries().File().WriteRecKey(&entry), 0);
    struct Case {
        int from, final;
        const char* text;
    } cases[] = {{0, 0, ""}, {99, 0, "12"}, {99, 1, "12.3"}, {1, 0, "95"}};
    for (const Case& c : cases) {
        ::WriteItem(comp.Exch(), ExchItems::StartScore(1), c.from);
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::Final(1), c.final);
        Fresh();
        EXPECT_EQ(Cell(ola, kCodeStartScore), c.text) << c.from << " " << c.final;
    }
}

TEST_F(ResultCellsTest, RemarkCodesAndTheirComment)
{
    TwoEvents();
    CBVConfig& c = comp.Comp();
    ::WriteItem(c, CompItems::kRemarkCount, 3);
    ::WriteItem(c, CompItems::RemarkCode(1), std::string("A"));
    ::WriteItem(c, CompItems::RemarkCode(3), std::string("C"));
    RegRecord entry{};
    ASSERT_TRUE(comp.GetEvent(1)->Entries().Read(1, 1, entry));
    entry.state = 0x7;  // remark 2 has no code
    SetFieldText(entry.comments, sizeof entry.comments, platform::Ansi("Byttet våpen"));
    ASSERT_EQ(comp.GetEvent(1)->Entries().File().WriteRecKey(&entry), 0);

    CDataList& l = List();
    l.request.event = 1;
    const int ola = Row(1, 1), kari = Row(1, 2);
    EXPECT_EQ(Cell(ola, kCodeRemarks), "A,C");
    EXPECT_EQ(Cell(kari, kCodeRemarks), "");
    ASSERT_EQ(Cells().Comments().size(), 1u);
    EXPECT_EQ(Cells().Comments()[0], "Byttet v\xE5pen");
    l.resultRows[0].prizeAmount = 50000;
    EXPECT_EQ(Cell(ola, kCodeRemarks, kListResultsByClass, 1, true), "A,C 500");
    EXPECT_EQ(Cell(ola, kCodeRemarks, kListResultsByClass, 1, false), "A,C");
}

TEST_F(ResultCellsTest, PrizesAndWhatTheSettlementCounts)
{
    TwoEvents();
    CBVConfig& prizes = comp.GetEvent(1)->Prizes();
    ::WriteItem(prizes, PrizeItems::GroupTextCount(1), 1);
    WriteItem(prizes, PrizeItems::GroupPlaceText(1, 1), std::string("Gylt medalje"));
    WriteItem(prizes, PrizeItems::GroupPlaceText(1, 2), std::string("Gammel tekst"));
    const int ola = 0, kari = 1;
    struct Case {
        int listKind, prizeKind;
        bool gift;
        int row;
        const char* text;
        int money, objects, gifts;  // counted into prize row 2
    } cases[] = {
        {10, 1, false, 0, "Gjenstand", 0, 1, 0},
        {10, 2, false, 0, "Kr 500", 50000, 0, 0},
        {10, 2, true, 0, "Gave", 0, 0, 1},
        {10, 0, false, 0, "", 0, 0, 0},
        {11, 2, false, 0, "Kr 500", 50000, 0, 0},
        {11, 0, false, 0, "Gylt medalje", 0, 0, 0},
        {11, 0, false, 1, "", 0, 0, 0},       // beyond the place texts: no stale text
        {10, 1, false, 1, "Gjenstand", 0, 0, 0},  // not among the shooters: not counted
    };
    for (const Case& c : cases) {
        ::WriteItem(prizes, PrizeItems::ClassKind(1), c.prizeKind);
        ::WriteItem(prizes, PrizeItems::GroupKind(1), c.prizeKind);
        CDataList& l = Fresh();
        books.prizeRows.resize(3);
        books.prizeRows[0].amounts = {1};  // only Ola is among the settlement's shooters
        for (ResultRow& r : l.resultRows) {
            r.prizeFlag = 1;
            r.prizeAmount = 50000;
            r.flag = c.gift ? 1 : 0;
        }
        books.prizeRows[2] = PrizeRow();
        books.prizeRows[2].amounts.resize(1);
        const int row = c.row == 0 ? ola : kari;
        EXPECT_EQ(Cell(row, kCodePrize, c.listKind, 1, true, false, 2), c.text) << c.listKind << " " << c.prizeKind;
        EXPECT_EQ(books.prizeRows[2].moneyPaid, c.money) << c.listKind << " " << c.prizeKind;
        EXPECT_EQ(books.prizeRows[2].objects, c.objects) << c.listKind << " " << c.prizeKind;
        EXPECT_EQ(books.prizeRows[2].gifts, c.gifts) << c.listKind << " " << c.prizeKind;
        // Neither web pages nor lists without a settlement row count.
        Cell(row, kCodePrize, c.listKind, 1, true, false, 2, true);
        Cell(row, kCodePrize, c.listKind, 1, true, false, 0);
        EXPECT_EQ(books.prizeRows[2].moneyPaid + books.prizeRows[2].objects + books.prizeRows[2].gifts,
                  c.money + c.objects + c.gifts);
    }
    List().resultRows[0].prizeFlag = 0;
    EXPECT_EQ(Cell(ola, kCodePrize, kListResultsByClass, 1, true), "");
}

}  // namespace
