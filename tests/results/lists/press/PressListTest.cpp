// The press list's helpers: a championship's name without its word
// "Mesterskap", and the rows that share the last place asked for.
#include "tests/results/lists/ListsFixture.h"

#include "results/lists/ListBuild.h"
#include "results/lists/press/PressList.h"

namespace {

using namespace results;
using namespace liststest;

TEST(PressListName, DropsTheChampionshipWordBeforeAName)
{
    struct Case {
        const char* name;
        const char* shown;
    };
    const Case cases[] = {
        {"NM Mesterskap Senior", "NM Senior"},
        {"NM Mesterskap", "NM Mesterskap"},  // the word at the end stays
        {"Mesterskap Mesterskap Junior", "Junior"},
        {"Kretsmesterskap", "Kretsmesterskap"},
        {"Senior", "Senior"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PressList::Name(c.name), c.shown) << c.name;
}

TEST(LastTiedRow, ReachesTheLastRowOfTheSamePlace)
{
    CDataList list;
    list.report.aListDef.resize(2);
    for (const char* place : {"1", "2", "3", "3", "3", "6"})
        list.report.AddRow(Cells(2, {place, "x"}), 2);
    struct Case {
        int row, column, last;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{3, 1, 5}, Case{4, 1, 5}, Case{6, 1, 6}, Case{2, 2, 6}, Case{3, 0, 3},
                          Case{9, 1, 9}})
        EXPECT_EQ(PressList(list).LastTiedRow(c.row, c.column), c.last) << c.row << " " << c.column;
}

}  // namespace
