// The shot log's page, its rows' texts and which row goes on which page.
#include "foundation/cards/ShotListLayout.h"

#include "ShotLogFixture.h"
#include "platform/system/Codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace shot_list_layout_test {

using namespace ShotListLayout;
using bvtest::TargetShot;

TEST(ShotListLayoutTest, MarginsFollowThePrintersOffsetsAndTheShapeSetsTheRows)
{
    struct Case {
        int ox, oy;
        int m, t;
    };
    for (const Case& c : {Case{0, 0, 150, 150}, Case{60, 40, 90, 110}, Case{155, 150, -5, 0}, Case{156, 151, 5, 0}}) {
        Page page = PageOf(2100, 2970, c.ox, c.oy);
        EXPECT_EQ(page.m, c.m) << c.ox;
        EXPECT_EQ(page.t, c.t) << c.oy;
        EXPECT_EQ(page.F, c.m + 10);
    }
    Page portrait = PageOf(2100, 2970, 0, 0);
    EXPECT_EQ(portrait.W, 2090);
    EXPECT_EQ(portrait.H, 2960);
    EXPECT_FALSE(portrait.landscape);
    EXPECT_EQ(portrait.rowsPerPage, 68);
    // k = (W - F) / (F + 935); x0 = F + 25 k, then each width times k.
    double k = (2090.0 - 160) / (160 + 935);
    EXPECT_EQ(portrait.x[0], static_cast<int>(160 + 25 * k));
    EXPECT_EQ(portrait.x[13], static_cast<int>(160 + 935 * k));
    Page landscape = PageOf(2970, 2100, 0, 0);
    EXPECT_TRUE(landscape.landscape);
    EXPECT_EQ(landscape.rowsPerPage, 45);
}

// Each heading has the room up to its neighbour: none runs into another
// when it keeps to its room, on either shape of page.
TEST(ShotListLayoutTest, HeadingsHaveTheRoomOfTheirColumns)
{
    ShotListSettings settings;
    for (const Page& page : {PageOf(2100, 2970, 0, 0), PageOf(2970, 2100, 0, 0)}) {
        SCOPED_TRACE(page.landscape ? "landscape" : "portrait");
        std::vector<Heading> headings = Headings(settings, page);
        ASSERT_EQ(headings.size(), 11u);
        EXPECT_EQ(headings[0].text, settings.valueCaption);
        EXPECT_EQ(headings[4].text, settings.dateCaption);
        EXPECT_FALSE(headings[4].right);
        int end = page.x[0];  // where the one before may end
        for (const Heading& h : headings) {
            SCOPED_TRACE(h.text);
            EXPECT_GT(h.room, 0);
            const int left = h.right ? h.x - h.room : h.x;
            EXPECT_GE(left, end);
            end = h.right ? h.x : h.x + h.room;
        }
        EXPECT_LE(end, page.W);
    }
}

TEST(ShotListLayoutTest, CoordinatesAreMillimetresWithThreeDecimals)
{
    EXPECT_EQ(Millimetres(-1234, 1.0, "."), "-1.234");
    EXPECT_EQ(Millimetres(500, 1.0, ","), "0,500");
    EXPECT_EQ(Millimetres(0, 1.0, "."), "0.000");
    EXPECT_EQ(Millimetres(-40, 1.0, "."), "-0.040");
    EXPECT_EQ(Millimetres(12345, 2.0, "."), "24.690");  // shot at half the distance
}

struct RowCase {
    const char* what;
    int mode;
    ShotRecord shot;
    int n, r;
    const char* mark;
    const char* number;
    const char* value;
    const char* x;
    const char* turn;
    const char* temperature;
    const char* sensors;
    const char* hardware;
    const char* band;
    const char* remarks;
};

ShotRecord With(ShotRecord shot, auto change)
{
    change(shot);
    return shot;
}

TEST(ShotListLayoutTest, EveryColumnOfARow)
{
    const ShotRecord plain = TargetShot(1, 2, 1050, -1234, 500);
    const std::string degrees = platform::Ansi("21°C");
    const RowCase cases[] = {
        {"plain", 0, plain, 2, 1, "[X]", " 1", "10,5", "-1.234", "12.34", degrees.c_str(), " 30: 30: 30", "3:07", "120", ""},
        {"counted in series 3, fired in 2", 0, With(plain, [](ShotRecord& s) { s.countingSeries = 3; }), 3, 4, "[X]",
         " 4 Serie 2", "10,5", "-1.234", "12.34", degrees.c_str(), " 30: 30: 30", "3:07", "120", ""},
        {"counts in no series", 0, With(plain, [](ShotRecord& s) { s.countingSeries = 0; }), 2, 1, "[  ]", " 1",
         "10,5", "-1.234", "12.34", degrees.c_str(), " 30: 30: 30", "3:07", "120", ""},
        {"without coordinates", 0, With(plain, [](ShotRecord& s) { s.flags |= CDataComp::kFlagNoCoordinates; }), 2,
         1, "[X]", " 1", "10,5", "", "", "", "", "", "", "Gen "},
        {"turning, marked", 1, With(plain, [](ShotRecord& s) { s.flags |= CDataComp::kFlagMarked; }), 2, 1, "[X]",
         " 1", "[10,5]", "-1.234", "-12.34", degrees.c_str(), " 30: 30: 30", "3:07", "120", "Turned "},
        {"turning with run counters", 129, With(plain, [](ShotRecord& s) {
             s.shotAt = -1234;
             s.data44 = 0x85;
         }),
         2, 1, "[X]", " 1", "10,5", "-1.234", "05: -12.34", degrees.c_str(), " 30: 30: 30", "3:07", "120", ""},
        {"simulated frame shot, short advance", 0, With(plain, [](ShotRecord& s) {
             s.flags = CDataComp::kFlagFrame | 0x0200;
         }),
         2, 1, "[X]", " 1", "10,5", "-1.234", "12.34", degrees.c_str(), " 30: 30: 30", "3:07", "120",
         "Sim Frameshot Small advance "},
        {"hardware data, four sensors, band marker", 0, With(plain, [](ShotRecord& s) {
             s.flags |= 0x0020 | 0x0100;
             s.data17 = 0xA6;
             s.sensorD = 31;
             s.data45 = static_cast<int16_t>(0x8000 | 77);
         }),
         2, 1, "[X]", " 1", "10,5", "-1.234", "12.34", "", " 30: 30: 30: 31", "6", ">77", ""},
        {"no sensors, no temperature", 0, With(plain, [](ShotRecord& s) {
             s.sensorA = s.sensorB = s.sensorC = 255;
             s.temperature = 12700;
         }),
         2, 1, "[X]", " 1", "10,5", "-1.234", "12.34", "", "", "3:07", "120", ""},
        {"one sensor", 0, With(plain, [](ShotRecord& s) { s.sensorB = s.sensorC = 255; }), 2, 1, "[X]", " 1", "10,5",
         "-1.234", "12.34", degrees.c_str(), " 30", "3:07", "120", ""},
        {"copied, weak signal", 0, With(plain, [](ShotRecord& s) {
             s.flags |= CDataComp::kFlagCopied;
             s.data41 = 9;
             s.sensorA = s.sensorB = s.sensorC = 5;
         }),
         2, 1, "[X]", " 1", "10,5", "-1.234", "12.34", degrees.c_str(), "  5:  5:  5", "3:07", "120",
         "Kopi (9) Wrong pressure"},
    };
    ShotListSettings settings;
    settings.copiedText = "Kopi";
    CDataComp values;
    const CardRecord card = bvtest::LogCard();
    for (const RowCase& c : cases) {
        ShotListRecord list;
        CDataComp::ClearShots(list);
        list.shots[0] = c.shot;
        settings.mode = c.mode;
        RowTexts row = Row(settings, values, card, list, 0, c.n, c.r, 0);
        EXPECT_EQ(row.mark, c.mark) << c.what;
        EXPECT_EQ(row.number, c.number) << c.what;
        EXPECT_EQ(row.value, c.value) << c.what;
        EXPECT_EQ(row.x, c.x) << c.what;
        EXPECT_EQ(row.turn, c.turn) << c.what;
        EXPECT_EQ(row.temperature, c.temperature) << c.what;
        EXPECT_EQ(row.sensors, c.sensors) << c.what;
        EXPECT_EQ(row.hardware, c.hardware) << c.what;
        EXPECT_EQ(row.band, c.band) << c.what;
        EXPECT_EQ(row.remarks, c.remarks) << c.what;
        EXPECT_EQ(row.date, "2026.12.10") << c.what;
        EXPECT_EQ(row.time, "14:05:01.07") << c.what;
    }
}

TEST(ShotListLayoutTest, RunNumbersCountFromTheSeriesFirstRun)
{
    struct Case {
        int first, shot, run;
    };
    // (a & 127) + (2 when the first's bit 7 is set, else 1) - (b & 127), plus 128 past a wrap.
    for (const Case& c : {Case{10, 10, 1}, Case{10, 12, 3}, Case{0x80 | 10, 12, 4}, Case{120, 3, 12}}) {
        ShotListSettings settings;
        settings.mode = 2;
        ShotListRecord list;
        CDataComp::ClearShots(list);
        list.shots[0] = TargetShot(1, 1, 1000, 0, 100);
        list.shots[0].data44 = static_cast<uint8_t>(c.first);
        list.shots[1] = TargetShot(2, 1, 1000, 0, 100);
        list.shots[1].data44 = static_cast<uint8_t>(c.shot);
        CDataComp values;
        EXPECT_EQ(Row(settings, values, bvtest::LogCard(), list, 1, 1, 2, 0).turn, std::to_string(c.run))
            << c.first << " " << c.shot;
    }
}

TEST(ShotListLayoutTest, UnnamedSeriesShowTheirNumber)
{
    ShotListSettings settings;
    EXPECT_EQ(settings.SeriesName(20), "Serie 20");
    EXPECT_EQ(settings.SeriesName(21), "21");
    settings.seriesNames[27] = "Finale";
    EXPECT_EQ(settings.SeriesName(28), "Finale");
    EXPECT_EQ(settings.SeriesName(29), "29");
}

std::vector<Line> LinesOfPage(const Plan& plan, int page, Line::Kind kind)
{
    std::vector<Line> lines;
    for (const Line& l : plan.lines)
        if (l.page == page && l.kind == kind)
            lines.push_back(l);
    return lines;
}

TEST(ShotListLayoutTest, RowsBreakToANewPageAndHeadingsCountTwoRows)
{
    // One series of 100 shots, landscape (45 rows a page): the heading
    // counts 2, so 44 rows fit the first page; the row that opens a page is
    // not counted there, so the second takes 47; the heading is not repeated.
    ShotListRecord list = bvtest::ShotsOf(100, 100);
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(list, order, false);
    Plan plan = PlanOf(list, order, 45);
    EXPECT_EQ(plan.pages, 3);
    EXPECT_EQ(LinesOfPage(plan, 1, Line::kRow).size(), 44u);
    EXPECT_EQ(LinesOfPage(plan, 2, Line::kRow).size(), 47u);
    EXPECT_EQ(LinesOfPage(plan, 3, Line::kRow).size(), 9u);
    EXPECT_EQ(LinesOfPage(plan, 1, Line::kHeading).size(), 1u);
    EXPECT_EQ(LinesOfPage(plan, 2, Line::kHeading).size(), 0u);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(LinesOfPage(plan, page, Line::kHead).size(), 1u) << page;
    // Rows are 3.5 mm apart from below the head; a heading takes 1.7 + 3.5 mm.
    std::vector<Line> first = LinesOfPage(plan, 1, Line::kRow);
    EXPECT_EQ(LinesOfPage(plan, 1, Line::kHeading)[0].y, 275 + 17);
    EXPECT_EQ(first[0].y, 275 + 17 + 35);
    EXPECT_EQ(first[1].y - first[0].y, 35);
    EXPECT_EQ(LinesOfPage(plan, 2, Line::kRow)[0].y, 275);
    EXPECT_EQ(LinesOfPage(plan, 2, Line::kRow)[0].r, 45);

    // 70 shots in portrait (68 rows): two pages, also in series of ten.
    for (int perSeries : {70, 10}) {
        ShotListRecord seventy = bvtest::ShotsOf(70, perSeries);
        CDataComp::BuildShotOrder(seventy, order, false);
        EXPECT_EQ(PlanOf(seventy, order, 68).pages, 2) << perSeries;
    }
}

TEST(ShotListLayoutTest, ShotsAreListedUnderTheSeriesTheyCountIn)
{
    ShotListRecord list;
    CDataComp::ClearShots(list);
    list.shots[0] = TargetShot(1, 2, 1000, 0, 0);
    list.shots[1] = TargetShot(2, 2, 1000, 0, 0);
    list.shots[1].countingSeries = 3;  // fired in 2, counts in 3
    list.shots[2] = TargetShot(3, 1, 1000, 0, 0);
    list.shots[2].countingSeries = 0;  // a practice shot: listed with the series it was fired in
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(list, order, false);
    Plan plan = PlanOf(list, order, 68);
    std::vector<std::pair<int, int>> rows;  // series, slot
    for (const Line& l : plan.lines)
        if (l.kind == Line::kRow)
            rows.push_back({l.series, l.slot});
    EXPECT_EQ(rows, (std::vector<std::pair<int, int>>{{1, 2}, {2, 0}, {3, 1}}));
    EXPECT_EQ(LinesOfPage(plan, 1, Line::kHeading).size(), 3u);

    ShotListRecord none;
    CDataComp::ClearShots(none);
    CDataComp::BuildShotOrder(none, order, false);
    Plan empty = PlanOf(none, order, 68);
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.pages, 1);
    EXPECT_EQ(empty.lastBottom, 0);
}

}  // namespace
