// The coded layout's columns (characters and faces by code, the widths on
// the default printer's paper, the shots moving to a second line of a row
// too wide) and the settlement's books of a result list.
#include "tests/results/lists/ListsFixture.h"
#include "QtApp.h"

#include "platform/ui/draw/DefaultPrinter.h"
#include "results/lists/resultlists/CodedLayout.h"
#include "results/lists/resultlists/ResultListCodes.h"
#include "results/lists/resultlists/ResultLists.h"
#include "results/lists/settlement/SettlementBooks.h"

namespace {

using namespace results;
using namespace liststest;

class ResultListLayoutTest : public ListTest {
protected:
    // The row is measured with the kit's fonts.
    void SetUp() override
    {
        bvtest::QtApp();
        ListTest::SetUp();
    }

    // Event 1: two series of five shots, sub-event 1 "Sum" of both; event 2
    // of one series, linked into event 1's sub-event 2. Classes 1 and 2 in
    // use, categories A and B of which A is used. Shooters 3, 5 (entered
    // twice, with both series shot on the first entry), 7 and 9 in Senior,
    // 7 of another club.
    void Competition()
    {
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kCategoryCount, 2);
        ::WriteItem(c, CompItems::CategoryLetter(1), std::string("A"));
        ::WriteItem(c, CompItems::CategoryLetter(2), std::string("B"));
        AddEvent(1, "Felt", 1, 1, 1, 10, 2);
        AddEvent(2, "Bane", 1, 1, 1, 10, 1);
        CBVConfig& e1 = comp.GetEvent(1)->Settings();
        for (int s = 1; s <= 2; ++s)
            ::WriteItem(e1, EventItems::SeriesShots(s), 5);
        ::WriteItem(e1, EventItems::ClassUsed(3), 0);
        ::WriteItem(e1, EventItems::CategoryUsed(1), 1);
        ::WriteItem(comp.Comp(), CompItems::EventSubEvents(1), 2);
        ::WriteItem(e1, EventItems::SubEventName(1), std::string("Sum"));
        ::WriteItem(e1, EventItems::SubSeries(1), std::string{1, 2});
        ::WriteItem(e1, EventItems::SubSeries(2), std::string{'\x81', 2, 1});
        ::WriteItem(comp.GetEvent(2)->Settings(), EventItems::SubSeries(1), std::string{1});
        Club(11, "Fjellby");
        Club(12, "Nordvik");
        Shooter(3, "Per Hansen", 11);
        Shooter(5, "Berg Anders", 11);
        Shooter(7, "Ole Utenfor", 12);
        Shooter(9, "Mari Dal", 11);
        Entry(1, 1, 1, 3);
        Entry(1, 1, 2, 5);
        Entry(1, 1, 3, 5);
        Entry(1, 1, 4, 7);
        Entry(1, 1, 5, 9);
        Shots(1, 1, 1, 1, {100, 100, 90, 100, 90});
        Shots(1, 1, 2, 1, {100, 100, 100, 100, 100});
        Shots(1, 1, 2, 2, {100, 100, 100, 100, 100});
        Shots(1, 1, 3, 1, {100, 90, 90, 90, 90});
        Shots(1, 1, 4, 1, {90, 90, 90, 90, 80});
        Shots(1, 1, 5, 1, {80, 80, 80, 80, 80});
    }

    void Prizes(const std::string& columns, const std::string& webColumns, int source = 0x101)
    {
        CBVConfig& p = comp.GetEvent(1)->Prizes();
        ::WriteItem(p, PrizeItems::ClassSource(1), source);
        ::WriteItem(p, PrizeItems::ClassClasses(1), std::string{1});
        ::WriteItem(p, PrizeItems::ClassColumns(1), columns);
        ::WriteItem(p, PrizeItems::ClassWebColumns(1), webColumns);
        ::WriteItem(p, PrizeItems::ClassOrder(1), 2);
        ::WriteItem(p, PrizeItems::ClassShare(1), std::string("1/2"));
        ::WriteItem(p, PrizeItems::ClassStake(1), 10000);
        ::WriteItem(p, PrizeItems::ClassKind(1), 2);
    }

    // Lays out class list 1 as definition 1 of a fresh list object.
    ListDef& Layout(bool withPrizes = false, bool web = false)
    {
        list.reset();
        CDataList& l = List();
        l.request.event = 1;
        l.report.aListDef.resize(1);
        CodedLayout(l).Layout(1, 1, kListResultsByClass, withPrizes, web);
        return l.Def(1);
    }

    static std::vector<int> Codes(const ListDef& def)
    {
        std::vector<int> codes;
        for (const ReportColumn& c : def.bodyColumns)
            codes.push_back(c.columnCode);
        return codes;
    }

    // A sheet 60 mm wide: no row of these lists fits on it.
    static platform::PrinterDescription Narrow()
    {
        platform::PrinterDescription p = platform::A4Printer(600, 0, 0);
        p.caps.horzRes = 60 * 600 * 10 / 254;
        p.caps.physicalWidth = p.caps.horzRes;
        return p;
    }
};

TEST_F(ResultListLayoutTest, CharactersAndFacesByCode)
{
    Competition();
    Prizes("", "");
    for (int org : {1, 6}) {
        ::WriteItem(comp.Comp(), CompItems::kOrgType, org);
        comp.orgType = org;
        list.reset();
        CDataList& l = List();
        l.request.event = 1;
        struct Case {
            int code;
            int chars;
            const char* face;
        } cases[] = {
            {kCodePlace, 4, "Courier New"},
            {kCodeStartNr, 5, "Courier New"},
            {kCodeName, org == 6 ? 30 : 23, "Arial"},
            {kCodeClub, org == 6 ? 4 : 17, "Arial"},
            {kCodeClass, 6, "Arial"},       // "Senior" and "Junior"; "Veteran" is not used
            {kCodeCategory, 3, "Arial"},    // one letter counts as three
            {kCodeShots, 2 * (2 * 5 + 1), "Courier New"},
            {kCodeSeriesSums, 2 * (2 + 1), "Courier New"},
            {kCodeStartScore, 5, "Courier New"},
            {kCodeTotal, 6, "Courier New"},
            {kCodePrize, 15, "Courier New"},
            {kCodeRemarks, 15, "Arial"},
            {13, 0, "Arial"},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(CodedLayout(l).ColumnFitChars(c.code, 1, kListResultsByClass), c.chars)
                << "org " << org << " code " << c.code;
            std::string face;
            CodedLayout(l).ColumnFace(c.code, face);
            EXPECT_EQ(face, c.face) << c.code;
        }
    }
    // Both categories used: their letters' lengths; a series source: its shots.
    ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::CategoryUsed(2), 1);
    ::WriteItem(comp.GetEvent(1)->Prizes(), PrizeItems::ClassSource(1), 2);
    list.reset();
    CDataList& l = List();
    l.request.event = 1;
    CodedLayout layout(l);
    EXPECT_EQ(layout.ColumnFitChars(kCodeCategory, 1, kListResultsByClass), 2);
    EXPECT_EQ(layout.ColumnFitChars(kCodeShots, 1, kListResultsByClass), 5);
    EXPECT_EQ(layout.ColumnFitChars(kCodeSeriesSums, 1, kListResultsByClass), 2);
}

TEST_F(ResultListLayoutTest, ColumnStringsDefaultsAndThePrizeColumn)
{
    Competition();
    platform::ScopedDefaultPrinter none(std::nullopt);  // every row fits
    struct Case {
        std::string columns;
        int source;
        bool withPrizes;
        std::vector<int> codes;
    } cases[] = {
        {"", 0x101, false, {1, 3, 4, 8, 10}},
        {"", 0x101, true, {1, 3, 4, 8, 10, 11}},
        {"", 1, false, {1, 3, 4, 7, 10}},
        {{1, 3, 10, 11}, 0x101, false, {1, 3, 10}},     // the stored prize column goes
        {{1, 3, 10}, 0x101, true, {1, 3, 10, 11}},      // and comes
        {{1, 3, 7, 8, 10}, 0x101, false, {1, 3, 7, 10}},  // shots and sums in one column
        {{11}, 0x101, false, {-1}},                       // nothing left: one empty column
    };
    for (const Case& c : cases) {
        Prizes(c.columns, "", c.source);
        const ListDef& def = Layout(c.withPrizes);
        EXPECT_EQ(Codes(def), c.codes) << c.codes.size();
        int sum = 0;
        for (const ReportColumn& column : def.bodyColumns) {
            EXPECT_EQ(column.line, 1);
            sum += column.widthPercent;
        }
        EXPECT_EQ(sum, 100);
        ASSERT_EQ(def.bodyLines.size(), 1u);
        EXPECT_EQ(def.bodyLines[0].columnCount, static_cast<int>(c.codes.size()));
    }
    // Shots and sums share the column: both widths, two points smaller.
    Prizes({1, 3, 7, 8, 10}, "");
    const ListDef& def = Layout();
    EXPECT_EQ(def.bodyColumns[2].fitChars, 22 + 6);
    EXPECT_EQ(def.bodyColumns[2].pointSize, 10);
    EXPECT_EQ(def.bodyColumns[1].pointSize, 12);
    // The widths share out the characters: 4, 23, 28 and 6 of 61, the last
    // column what is left.
    EXPECT_EQ(def.bodyColumns[0].widthPercent, 4 * 100 / 61);
    EXPECT_EQ(def.bodyColumns[1].widthPercent, 23 * 100 / 61);
    EXPECT_EQ(def.bodyColumns[2].widthPercent, 28 * 100 / 61);
    EXPECT_EQ(def.bodyColumns[3].widthPercent, 100 - (6 + 37 + 45));
}

TEST_F(ResultListLayoutTest, ARowTooWideMovesTheShotsBehindAnEmptyColumn)
{
    Competition();
    platform::ScopedDefaultPrinter narrow(Narrow());
    struct Case {
        const char* what;
        std::string columns, web;
        int source;
        bool web_;
        std::vector<int> codes;
    } cases[] = {
        {"stored", {1, 3, 4, 7, 10}, "", 0x101, false, {1, 3, 4, 10, -1, 7}},
        // The web's own string: its shots are where it puts them.
        {"web", {1, 3, 4, 10, 7}, {1, 7, 3, 10}, 0x101, true, {1, 3, 10, -1, 7}},
        // The default set of a series list has shots too.
        {"default", "", "", 1, false, {1, 3, 4, 10, -1, 7}},
        // No shots: nothing moves, the line is only made to share the paper.
        {"no shots", {1, 3, 4, 10}, "", 0x101, false, {1, 3, 4, 10}},
    };
    for (const Case& c : cases) {
        Prizes(c.columns, c.web, c.source);
        const ListDef& def = Layout(false, c.web_);
        EXPECT_EQ(Codes(def), c.codes) << c.what;
        const size_t n = def.bodyColumns.size();
        int line1 = 0;
        for (const ReportColumn& column : def.bodyColumns)
            if (column.line == 1)
                line1 += column.widthPercent;
        EXPECT_LE(line1, 100) << c.what;
        EXPECT_GE(line1, 97) << c.what;
        if (c.codes.back() != kCodeShots) {
            EXPECT_EQ(def.bodyLines.size(), 1u) << c.what;
            continue;
        }
        ASSERT_EQ(def.bodyLines.size(), 2u) << c.what;
        EXPECT_EQ(def.bodyLines[1].firstColumn, static_cast<int>(n) - 1) << c.what;
        const ReportColumn& place = def.bodyColumns[0];
        const ReportColumn& empty = def.bodyColumns[n - 2];
        const ReportColumn& shots = def.bodyColumns[n - 1];
        EXPECT_EQ(empty.line, 2);
        EXPECT_EQ(shots.line, 2);
        EXPECT_EQ(empty.widthPercent, place.widthPercent) << c.what;
        EXPECT_EQ(empty.face, place.face);
        EXPECT_EQ(shots.widthPercent, 100 - place.widthPercent);
        EXPECT_EQ(shots.fitChars, 20);
        EXPECT_EQ(shots.pointSize, place.pointSize - 2);
    }
}

TEST_F(ResultListLayoutTest, WithoutAPrinterThePaperIsWideEnough)
{
    Competition();
    Prizes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "");
    {
        platform::ScopedDefaultPrinter none(std::nullopt);
        const ListDef& def = Layout(true);
        // 7 and 8 share a column; a string not ending in 11 gains one.
        EXPECT_EQ(Codes(def), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 11}));
        EXPECT_EQ(def.bodyLines.size(), 1u);
    }
    platform::ScopedDefaultPrinter a4(platform::A4Printer(600, 0, 0));
    EXPECT_EQ(Layout(true).bodyLines.size(), 2u);  // on A4 it does not fit
}

// The settlement's books of class list 1 (ranked, 1/2, money): prize row 0
// lists shooters 3, 5 and 9 (7 has no place in the settlement); 5 is
// entered twice and wins twice.
TEST_F(ResultListLayoutTest, SettlementBooksOfAListedRow)
{
    Competition();
    Prizes({1, 3, 10, 11}, "");
    ::WriteItem(comp.Comp(), CompItems::kEventCount, 2);
    CDataList& l = List();
    l.request.kind = kListResultsByClass;
    l.request.event = 1;
    l.request.firstTarget = 1;
    l.request.lastTarget = 10;
    l.request.classFilter = {1};
    l.request.seriesFilter = {1};
    l.Clubs().LoadClubs(comp.orgType);
    SettlementBooks settlement;
    settlement.prizeRows.resize(3);
    settlement.prizeRows[0].amounts = {3, 5, 9};
    settlement.prizeRows[0].listed = 3;
    settlement.prizeRows[1].amounts = {0, 0, 0};
    settlement.clubRows.resize(3);
    settlement.subEvents = {1};

    ResultLists(l).MakeCoded(kListResultsByClass, {.withPrizes = true, .books = &settlement, .settlementRow = 2});

    ASSERT_EQ(l.report.aListDef.size(), 1u);
    ASSERT_EQ(l.resultRows.size(), 5u);
    // The rows as ranked: 5 (100), 3 (48), 5 (46), 7 (44), 9 (40).
    std::vector<int32_t> order;
    for (const ResultRow& r : l.resultRows)
        order.push_back(l.shooterRows[static_cast<size_t>(r.shooterRow)].startNr);
    ASSERT_EQ(order, (std::vector<int32_t>{5, 3, 5, 7, 9}));
    const PrizeRow& books = settlement.prizeRows[2];
    EXPECT_EQ(books.listed, 4);  // 7 adds nothing
    ASSERT_EQ(books.amounts.size(), 3u);
    EXPECT_GT(l.resultRows[2].prizeAmount, 0);
    EXPECT_EQ(books.amounts[1], l.resultRows[0].prizeAmount + l.resultRows[2].prizeAmount);  // both prizes
    EXPECT_EQ(books.amounts[0], l.resultRows[1].prizeAmount);
    EXPECT_EQ(books.amounts[2], 0);
    EXPECT_EQ(books.placeTexts, (std::vector<std::string>{"2", "1", "5"}));  // the first row's place
    EXPECT_EQ(books.resultTexts, (std::vector<std::string>{"48", "100", "40"}));
    EXPECT_EQ(books.moneyPaid,
              l.resultRows[0].prizeAmount + l.resultRows[1].prizeAmount + l.resultRows[2].prizeAmount);
    EXPECT_EQ(books.objects, 0);
    EXPECT_EQ(books.gifts, 0);

    EXPECT_EQ(settlement.prizeRows[1].amounts, (std::vector<int32_t>{1, 1, 1}));
    const ClubRow& berg = settlement.clubRows[1];
    EXPECT_EQ(berg.shooterName, "Berg Anders");
    EXPECT_EQ(berg.clubName, "Fjellby");
    EXPECT_EQ(berg.club, 11);
    EXPECT_EQ(berg.className, "Senior");
    EXPECT_EQ(berg.eventsSeen, (std::vector<int16_t>{0, 1, 0}));
    EXPECT_EQ(berg.subEventTotals, (std::vector<std::string>{"100"}));  // once, though listed twice
}

}  // namespace
