// The result cell of a class list under each ranking rule.
#include "results/lists/classlists/ClassListCells.h"

#include <gtest/gtest.h>

namespace {

using namespace results;

TEST(ClassListResultTest, AsEachRuleShowsIt)
{
    ResultRow rings;
    rings.ranking[1] = 1035;
    ResultRow hits;  // 0: inner hits (or hundredths), 1: hits (or seconds)
    hits.series = {4, 23};
    ResultRow time;
    time.series = {7, 61};
    struct Case {
        const char* what;
        int rule;
        bool hitSeries, decimal;
        const ResultRow& row;
        int points;
        const char* text;
    };
    const Case cases[] = {
        {"rings", 0, false, false, rings, -1, "103"},
        {"rings of a final in tenths", 0, false, true, rings, -1, "103,5"},
        {"another rule by rings", 3, false, false, rings, -1, "103"},
        {"field hits with a hit series", 4, true, false, hits, -1, "23/4"},
        {"field hits without", 4, false, false, hits, -1, "23"},
        {"time", 5, false, false, time, -1, "61.07"},
        {"hunting field", 6, false, false, hits, -1, "77"},
        {"hunting field with points last", 6, false, false, hits, 8, "77(8)"},
        {"field pistol", 7, false, false, hits, -1, "27"},
        {"field pistol with points last", 7, false, false, hits, 0, "27(0)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassListResult(c.rule, c.hitSeries, c.decimal, c.row, c.points), c.text) << c.what;
}

}  // namespace
