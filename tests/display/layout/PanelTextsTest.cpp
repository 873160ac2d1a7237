// What the panels, the header and the message screens say. No language
// table is loaded here: a key stands for its text.
#include <gtest/gtest.h>

#include <cstring>

#include "display/layout/PanelTexts.h"
#include "display/model/VisEvent.h"

namespace {

using namespace PanelTexts;

ShotRecord Shot(int value, uint16_t flags = 0x81)
{
    ShotRecord s;
    std::memset(&s, 0, sizeof s);
    s.state = CDataComp::kSlotShot;
    s.flags = flags;
    s.value = static_cast<int16_t>(value);
    return s;
}

TEST(PanelTextsTest, ShotValuesInTheShotList)
{
    struct Case {
        const char* what;
        int value;
        uint16_t flags;
        bool turning;
        int system;
        int shown;
        bool star;
    } cases[] = {
        {"a plain value", 1050, 0x81, false, 1, 1050, false},
        {"the inner ten: the highest ring with a star", 1150, 0x81, false, 1, 1050, true},
        {"the inner ten as stored in value system 3", 1150, 0x81, false, 3, 1150, true},
        {"a figure code: its decimals with a star", 1234, 0x81, false, 1, 34, true},
        {"1200 exactly", 1200, 0x81, false, 1, 0, true},
        {"turned away on a turning-target range", 1050, 0x85, true, 1, 0, false},
        {"marked elsewhere", 1050, 0x85, false, 1, 1050, false},
    };
    for (const Case& c : cases) {
        ShotValue v = ShotListValue(Shot(c.value, c.flags), c.turning, c.system, 10);
        EXPECT_EQ(v.value, c.shown) << c.what;
        EXPECT_EQ(v.star, c.star) << c.what;
    }
}

TEST(PanelTextsTest, ShotTimesKeepFiveCharactersAsLongAsTheyCan)
{
    struct Case {
        int hundredths;
        const char* text;
    } cases[] = {
        {12, " 0.12s"}, {9998, "99.98s"}, {9999, "100.0s"}, {99998, "1000.0s"}, {99999, " 1000s"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShotTimeText(c.hundredths), c.text) << c.hundredths;
}

TEST(PanelTextsTest, ValuesByValueSystem)
{
    struct Case {
        int system, value, drawn, divisor;
    } cases[] = {{1, 1050, 10, 1}, {2, 1057, 105, 10}, {6, 1057, 1057, 100}, {0, 99, 0, 1}};
    for (const Case& c : cases) {
        ValueFormat f = FormatValue(c.value, c.system);
        EXPECT_EQ(f.value, c.drawn) << c.system;
        EXPECT_EQ(f.divisor, c.divisor) << c.system;
    }
    EXPECT_EQ(FormatWithDecimals(1050, 1).divisor, 10);
    EXPECT_EQ(FormatWithDecimals(1057, 6).divisor, 100);
}

// A face element with a shot list of n shots in the current series.
struct Listed {
    CVisEvent event{1};
    CVisTarget t{1};
    explicit Listed(int shots)
    {
        t.event = &event;
        t.viewFlags = 0x30000;
        event.shotsPerLine = 10;
        t.seriesShots = 10;
        for (int n = 1; n <= shots; ++n) {
            t.shots.shots[n - 1] = Shot(900 + n);
            t.shots.shots[n - 1].data44 = static_cast<uint8_t>(126 + n);  // runs wrap at 128
            t.shots.shots[n - 1].shotAt = 9990 + n;
            t.shownShotMap[n] = n - 1;
        }
        t.currentShotCount = shots;
        t.firstCountedShot = 0;
    }
};

TEST(PanelTextsTest, ShotListCellsNameTheirShots)
{
    Listed l(3);
    ShotListShape shape = ListShape(l.t, 500, 40);
    ASSERT_TRUE(shape.numbered);
    EXPECT_EQ(shape.chars, 7);
    ShotCell c = ListCell(l.t, 3, shape, 10);
    EXPECT_EQ(c.label, " 3:");
    EXPECT_EQ(c.labelAt, 40);
    EXPECT_EQ(c.value.value, 903);
    EXPECT_FALSE(c.marked);
    // A shot awaiting verification, with the verification on.
    l.t.shots.shots[2].flags |= CDataComp::kFlagFlagged;
    l.t.verification = 1;
    EXPECT_TRUE(ListCell(l.t, 3, shape, 10).marked);

    // Running targets: the run against the first counted shot's.
    l.event.runNumbers = true;
    EXPECT_EQ(ListCell(l.t, 1, shape, 10).label, " 1:");
    EXPECT_EQ(ListCell(l.t, 3, shape, 10).label, " 3:");
    l.t.shots.shots[2].data44 = 2;  // the counter wrapped
    EXPECT_EQ(ListCell(l.t, 3, shape, 10).label, " 4:");
    EXPECT_FALSE(ListCell(l.t, 3, shape, 10).marked);

    // Timed shots: the time, and the marked ones in the marked colour.
    l.event.runNumbers = false;
    l.event.timedShots = true;
    shape = ListShape(l.t, 500, 40);
    EXPECT_EQ(shape.chars, 11);
    l.t.shots.shots[1].flags |= CDataComp::kFlagMarked;
    c = ListCell(l.t, 2, shape, 10);
    EXPECT_EQ(c.label, "99.92s");
    EXPECT_EQ(c.labelAt, 50);
    EXPECT_TRUE(c.marked);
    EXPECT_EQ(ListCell(l.t, 9, shape, 10).label, "");  // no such shot
}

TEST(PanelTextsTest, ShotListShapes)
{
    struct Case {
        const char* what;
        bool face;
        int seriesShots;
        int width, height;
        int perPage, columns, rows;
        bool byColumns;
    } cases[] = {
        {"face, five in a wide box", true, 5, 1100, 40, 5, 5, 1, false},
        {"face, five in a box not five times as wide", true, 5, 1000, 40, 5, 1, 5, true},
        {"face, five in a narrow box", true, 5, 100, 100, 5, 1, 5, true},
        {"face, ten in a very wide box", true, 10, 500, 40, 10, 5, 2, false},
        {"face, ten in a tall box", true, 10, 100, 200, 10, 1, 10, true},
        {"row, ten in a long box", false, 10, 400, 20, 10, 10, 1, false},
        {"row, ten in a short box", false, 10, 100, 40, 10, 5, 2, false},
        {"row, ten in a squat box", false, 10, 100, 80, 10, 2, 5, true},
        {"no counted shots: ten", false, 0, 400, 20, 10, 10, 1, false},
    };
    for (const Case& c : cases) {
        Listed l(0);
        l.t.viewFlags = c.face ? 0x30000 : 0x20000;
        l.t.seriesShots = c.seriesShots;
        ShotListShape s = ListShape(l.t, c.width, c.height);
        EXPECT_EQ(s.perPage, c.perPage) << c.what;
        EXPECT_EQ(s.columns, c.columns) << c.what;
        EXPECT_EQ(s.rows, c.rows) << c.what;
        EXPECT_EQ(s.byColumns, c.byColumns) << c.what;
    }
    // The one-shot window shows one shot a page.
    Listed one(0);
    one.event.oneShotWindow = 4;
    EXPECT_EQ(ListShape(one.t, 100, 100).perPage, 1);
    EXPECT_FALSE(ListShape(one.t, 100, 100).numbered);
}

// Series sums as the shot step leaves them: -1 past a series' lines.
struct Table {
    CVisEvent event{1};
    CVisTarget t{1};
    Table(int perLine, std::vector<std::vector<int>> series)
    {
        t.event = &event;
        event.shotsPerLine = perLine;
        for (auto& row : t.seriesSums)
            for (int& v : row)
                v = -1;
        int s = 0;
        for (const auto& lines : series) {
            ++s;
            for (size_t c = 0; c < lines.size(); ++c)
                t.seriesSums[s][c + 1] = lines[c];
            event.longestSeries = std::max(event.longestSeries, static_cast<int>(lines.size()) * perLine);
        }
        event.seriesWithShots = s;
        t.card.valueSystem = 1;
    }
};

TEST(PanelTextsTest, SeriesTableCells)
{
    // One long series: its line sums.
    Table one(10, {{95, 97, 98}});
    SeriesTable a = SeriesTableCells(one.t, 300, 20);
    EXPECT_EQ(a.values, (std::vector<int>{95, 97, 98}));
    EXPECT_EQ(a.columns, 3);
    EXPECT_EQ(a.rows, 1);
    EXPECT_EQ(a.chars, 3);

    // Series of one line each: the series sums, in rows when the cells would be narrow.
    Table several(10, {{91}, {92}, {93}, {94}});
    SeriesTable b = SeriesTableCells(several.t, 60, 40);
    EXPECT_EQ(b.values, (std::vector<int>{91, 92, 93, 94}));
    EXPECT_EQ(b.rows, 3);  // 2 x 60 < 4 x 40
    EXPECT_EQ(b.columns, 2);
    EXPECT_TRUE(b.byColumns);
    EXPECT_EQ(SeriesTableCells(several.t, 400, 40).rows, 1);

    // Several series of several lines: a row each, the lines, "=" and the sum;
    // as many series as the matrix has columns still give a row each.
    Table matrix(5, {{45, 46}, {47, 48}, {49, -1}});
    SeriesTable m = SeriesTableCells(matrix.t, 300, 60);
    EXPECT_TRUE(m.matrix);
    EXPECT_EQ(m.columns, 3);
    EXPECT_EQ(m.rows, 3);
    EXPECT_FALSE(m.byColumns);
    EXPECT_EQ(m.values, (std::vector<int>{45, 46, 91, 47, 48, 95, 49, -1, 49}));
    EXPECT_EQ(m.sums, (std::vector<bool>{false, false, true, false, false, true, false, false, true}));

    // Nothing in super mode, nor when every series fits a line and one has shots.
    matrix.event.superMode = 2;
    EXPECT_TRUE(SeriesTableCells(matrix.t, 300, 60).values.empty());
    Table short1(10, {{91}});
    EXPECT_TRUE(SeriesTableCells(short1.t, 300, 60).values.empty());
}

TEST(PanelTextsTest, SumLines)
{
    CVisEvent event(1);
    CVisTarget t(1);
    t.event = &event;
    t.values[CVisTarget::kValTotal].number = 4810;
    // A program without sub-sums: the total.
    std::vector<SumLine> lines = SumLines(t);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].name, "IDS_SUB_TOTAL");
    EXPECT_EQ(lines[0].value, 4810);
    // With a start score it comes first.
    event.startScore = true;
    t.startScore = 250;
    lines = SumLines(t);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].name, "IDS_SUB_START");
    EXPECT_EQ(lines[0].value, 250);
    // One sub-sum under way with an average or an estimate says so.
    event.startScore = false;
    event.subCount = 1;
    t.subSums[1] = 950;
    t.subKinds[1] = 2;
    lines = SumLines(t);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].name, "IDS_SUB_AVERAGE");
    t.subKinds[1] = 3;
    EXPECT_EQ(SumLines(t)[0].name, "IDS_SUB_EST");
    t.subKinds[1] = 0;
    EXPECT_EQ(SumLines(t)[0].name, "Sum1");
}

// A picture of targets of one event with relays and series names.
struct Header {
    CVisEvent event{1};
    CVisPicture pic{1};
    Header(std::vector<int> relays, std::vector<const char*> series)
    {
        std::strcpy(event.name, "Bane 1");
        for (size_t i = 0; i < relays.size(); ++i) {
            CVisTarget& t = pic.AddTarget(static_cast<int>(i) + 1);
            t.event = &event;
            t.active.relay = static_cast<int16_t>(relays[i]);
            std::strcpy(t.values[CVisTarget::kValSeriesName].text, series[i]);
        }
        pic.AddTarget(0);  // a placeholder counts for nothing
    }
};

TEST(PanelTextsTest, HeaderNamesTheRelayAndSeriesAllPanelsShare)
{
    std::string series;
    Header same({2, 2, 2}, {"Serie 1", "Serie 1", "Serie 1"});
    EXPECT_EQ(HeaderEventText(same.pic), "Bane 1 - IDS_HEAD_PART1 2");
    ASSERT_TRUE(HeaderSeriesText(same.pic, series));
    EXPECT_EQ(series, "Serie 1");
    same.pic.oneShot = true;
    same.pic.targets[0]->firstListShot = 4;
    ASSERT_TRUE(HeaderSeriesText(same.pic, series));
    EXPECT_EQ(series, "Serie 1 : IDS_HEAD_PART3 4");

    // Three relays: none named (the last two must not make one again).
    Header mixed({1, 2, 2}, {"Serie 1", "Serie 2", "Serie 1"});
    EXPECT_EQ(HeaderEventText(mixed.pic), "Bane 1");
    EXPECT_FALSE(HeaderSeriesText(mixed.pic, series));

    // Cards by start number have no relay to name.
    Header starts({7, 7}, {"A", "A"});
    starts.event.startNumbers = true;
    EXPECT_EQ(HeaderEventText(starts.pic), "Bane 1");
}

TEST(PanelTextsTest, MessageTextsNameTheProfileOrThePicture)
{
    CVisData data;
    std::strcpy(data.profileName, "Finale");
    data.SetError("IDS_ERROR_OPENFAIL");
    EXPECT_EQ(MessageScreenText(data), "IDS_ERROR_OPENFAIL Finale");
    data.ClearError();
    EXPECT_EQ(MessageScreenText(data), "");
    CVisPicture& pic = data.AddPicture(1);
    data.current = &pic;
    pic.number = 7;
    pic.SetError("IDS_ERROR_NOPICTCONFIG");
    EXPECT_EQ(MessageScreenText(data), "IDS_ERROR_NOPICTCONFIG (Pict nr. 7)");
    std::strcpy(pic.name, "Skiver");
    EXPECT_EQ(MessageScreenText(data), "IDS_ERROR_NOPICTCONFIG Skiver");
    CVisTarget t(1);
    t.SetError("IDS_ERROR_NOACTIVE");
    EXPECT_EQ(PanelMessageText(&pic, t), "IDS_ERROR_NOACTIVE Skiver");
}

}  // namespace
