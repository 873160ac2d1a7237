// bvtool score and bvtool target, run as the technician runs them.
#include "RunCommand.h"

#include <gtest/gtest.h>

#include <string>

using bvtest::FailedWithOneLine;
using bvtest::RunTool;
using bvtest::ToolRun;

TEST(BvtoolTarget, ScoresAShot)
{
    struct Case {
        const char* args;
        const char* value;
    };
    const Case cases[] = {
        {"score 23 0 0", "1199\n"},
        {"score 23 0 -2", "1120\n"},
        {"score 23 25 0", "100\n"},
        {"score 23 25.01 0", "0\n"},
        {"score 0 60 80", "972\n"},
        {"score 64 0 -53", "100\n"},
        {"score 64 0 -55", "0\n"},
        {"score 64 0 0", "1100\n"},
        {"score 34 110 0", "100\n"},
        {"score 33 235 0", "0\n"},
        {"score 33 235 0 --lang SE", "1200\n"},
        {"score --lang SE 33 235 0", "1200\n"},
        {"score 23 1e9 -1e9", "0\n"},
    };
    for (const Case& c : cases) {
        ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, 0) << c.args;
        EXPECT_EQ(run.out, c.value) << c.args;
        EXPECT_EQ(run.err, "") << c.args;
    }
}

TEST(BvtoolTarget, RefusesBadInputWithOneLine)
{
    for (const char* args : {"score", "score 23 1", "score x 1 2", "score 23 1 y", "score 23 nan 0",
                             "score 40000 0 0", "score 23 1 2 --lang", "score 23 1 2 3", "target", "target 1 2",
                             "target abc", "score 33 235 0 --lang se", "score 33 235 0 --lang XX", "score 999 0 0",
                             "score -1 0 0", "target 999", "target -5"}) {
        ToolRun run = RunTool(args);
        EXPECT_TRUE(FailedWithOneLine(run)) << args;
        EXPECT_EQ(run.out, "") << args;
    }
}

TEST(BvtoolTarget, PrintsATypesData)
{
    ToolRun run = RunTool("target 34");
    EXPECT_EQ(run.status, 0);
    for (const char* line : {"code: 34\n", "name NO: Rådyr\n", "name SE: Rådjur\n", "name UK: Norwegian Rådyr\n",
                             "calibre: 8.00 mm\n", "distance: 100 m\n", "rings: 2 to 5, top zone 5, max value 599\n",
                             "ring radii (mm): 0=100 1=- 2=100 3=75 4=50 5=25 6=- 7=- 8=- 9=- 10=- 11=-\n",
                             "face radius: 550 mm\n", "figure box: 580 x 550 mm\n",
                             "figure outline: entry 0, reference size 333 mm",
                             "outline right outer: header 3706 5440; line 0 3712,"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;

    run = RunTool("target 64");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("outline right outer: header 1600 3200; arc 0 3200, centre 0 0, arc 3200 0, centre 0 0, "
                           "line 2771 -1600, last 0 -1600\n"),
              std::string::npos)
        << run.out;

    // A code that names no type has no data of its own to print.
    run = RunTool("target 31");
    EXPECT_TRUE(FailedWithOneLine(run));
    EXPECT_EQ(run.err, "bvtool: unknown target type code 31\n");
}
