// Byte layouts of the commands the range control sends: each built from a
// small set of values and compared byte for byte with what the units read.
#include "range/lanes/Commands.h"
#include "tools/bvsim/lib/UnitFrame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Bytes 0..n of a message as "0B 00 40 ...".
std::string Hex(const LineMessage& m) { return bvsim::Hex(bvsim::Bytes(m.data, m.data + m.data[0] + 1)); }

using bvsim::Hex;

// Nothing may be left behind the command's last byte.
void ExpectClearAfter(const LineMessage& m)
{
    for (int i = m.data[0] + 1; i < 256; ++i)
        ASSERT_EQ(m.data[i], 0) << "byte " << i;
}

template <typename C>
std::string Built(const C& c)
{
    LineMessage m;
    std::memset(&m, 0xEE, sizeof m);  // a used record: Build must clear it
    c.Build(m);
    ExpectClearAfter(m);
    return Hex(m);
}

}  // namespace

TEST(ModeCmdTest, RunningClockWithEveryTimingField)
{
    ModeCmd c;
    c.lane = 5;
    c.mode = 0x8C;
    c.shooterClock = true;
    c.hour = 14;
    c.minute = 30;
    c.second = 15;
    c.builtTick = 1000;
    c.clockStartTick = 500;
    c.clockRunning = true;
    c.clockMode = 2;
    c.periodSeconds = 150;
    c.extraSeconds = 30;
    c.delay = 70;
    c.green = 7;
    c.red = 3;
    c.rep = 300;
    LineMessage m;
    c.Build(m);
    EXPECT_EQ(Hex(m), "1B 00 40 72 05 8C 00 00 0E 1E 0F 00 21 98 3A B8 0B 00 00 96 07 07 00 03 03 00 14 FF");
    // The age runs from the clock's start; the line writes it at byte 6.
    EXPECT_EQ(m.tick, 500u);
    EXPECT_EQ(m.agePosition, 6);
    EXPECT_EQ(m.ageMode, 0x22);
}

TEST(ModeCmdTest, LongPeriodsAreCappedWhereTheUnitsTakeOneByte)
{
    ModeCmd c;
    c.mode = 0x30;
    c.clockRunning = true;
    c.periodSeconds = 300;
    c.delay = 3000;
    c.green = 0x1234;
    c.red = 0x0102;
    c.rep = 251;
    LineMessage m;
    c.Build(m);
    EXPECT_EQ(Hex(m), "1B 00 40 72 00 30 00 00 00 00 00 00 40 30 75 00 00 00 00 FA FA 34 12 03 02 01 14 FF");
}

TEST(ModeCmdTest, StoppedClockSendsNoTiming)
{
    ModeCmd c;
    c.mode = 48;
    c.hour = 8;
    c.minute = 5;
    c.second = 9;
    c.builtTick = 1234;
    c.clockStartTick = 99;
    c.periodSeconds = 150;
    c.delay = 70;
    c.rep = 3;
    LineMessage m;
    c.Build(m);
    EXPECT_EQ(Hex(m), "1B 00 40 72 00 30 00 00 08 05 09 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 14 00");
    EXPECT_EQ(m.tick, 1234u);
}

TEST(ModeCmdTest, ClockBitsFollowTheShooterClockOption)
{
    struct Case {
        int mode;
        bool shooterClock, running;
        int clockMode;
        int byte5, byte12;
        bool ageFromClock;
    };
    const Case cases[] = {
        {0x30, false, false, 1, 0x30, 0x40, false},
        {0x30, true, false, 1, 0x30, 0x41, false},
        // Bit 3 is cleared for the units, yet still bases the age on the clock.
        {0x48, false, true, 1, 0x40, 0x40, true},
        {0x8C, true, true, 1, 0x8C, 0x11, true},
        {0x8C, true, true, 2, 0x8C, 0x21, true},
        {0x7A, false, false, 2, 0x72, 0x40, true},
    };
    for (const Case& k : cases) {
        ModeCmd c;
        c.mode = k.mode;
        c.shooterClock = k.shooterClock;
        c.clockRunning = k.running;
        c.clockMode = k.clockMode;
        c.builtTick = 10;
        c.clockStartTick = 20;
        LineMessage m;
        c.Build(m);
        SCOPED_TRACE(k.mode);
        EXPECT_EQ(m.data[5], k.byte5);
        EXPECT_EQ(m.data[12], k.byte12);
        EXPECT_EQ(m.tick, k.ageFromClock ? 20u : 10u);
    }
}

TEST(LaneSetupCmdTest, LaneTakingPart)
{
    LaneSetupCmd c;
    c.lane = 7;
    c.flags = 0x93;
    c.takingPart = true;
    c.sensitivity = 2;
    c.bandLength = 20;
    c.bandFrequency = 1;
    c.relay = 258;
    c.markKind = 2;
    c.zoomMode = 1;
    c.competition = 3;
    c.day = 10;
    c.month = 12;
    c.year = 2026;
    c.targetCode = 0x21;
    c.bulletRadius200 = 450;
    c.distance = 300;
    c.simulatedDistance = 100;
    c.seriesMeasure = 1;
    c.tempo = 3;
    c.externalEquipment = 1;
    c.programEquipment = 129;
    c.zoomLevel = 8;
    c.decimals = 1;
    c.options = "110100000100101000000000000000";
    c.valueSystem = 2;
    c.series = 0x83;
    EXPECT_EQ(Built(c), "27 BC 40 73 07 93 85 01 0D 14 01 02 00 01 01 02 01 02 03 0A 0C 1A 21 C2 01 2C 01 64 00 "
                        "01 03 09 08 17 01 02 05 00 03 03");
}

TEST(LaneSetupCmdTest, LaneNotTakingPartInThePracticeCompetition)
{
    LaneSetupCmd c;
    c.lane = 100;
    c.flags = 0xB3;
    c.takingPart = false;
    c.relay = 1;
    c.markKind = 3;
    c.zoomMode = 0;
    c.competition = 0;
    c.day = 1;
    c.month = 1;
    c.year = 2000;
    c.distance = 100;
    c.simulatedDistance = 100;
    c.tempo = 3;
    c.externalEquipment = 3;
    c.programEquipment = 131;
    c.zoomLevel = 8;
    c.decimals = 1;
    c.options = "011011110000010000000000000000";
    c.practice = true;
    c.series = 1;
    EXPECT_EQ(Built(c), "27 BC 40 73 64 90 84 03 0D 00 00 00 00 00 00 01 00 01 00 01 01 00 00 00 00 64 00 64 00 "
                        "00 03 03 08 1A 00 00 15 01 01 01");
}

TEST(LaneResetCmdTest, Layout)
{
    EXPECT_EQ(Built(LaneResetCmd()), "0C 00 40 73 00 A0 80 00 00 00 00 00 00");
}

TEST(ProgramCmdTest, SeriesBytesAndShotCounts)
{
    ProgramCmd c;
    c.lane = 4;
    c.shots[1] = 10;
    c.shots[2] = 10;
    c.shots[4] = 260;  // only the low 8 bits travel
    c.bits[1] = 1;
    c.bits[2] = 2;
    c.bits[3] = 1;     // a series without shots keeps its face bit
    std::string expected = "3E 00 40 76 04 03 00 81 82 01 80";
    for (int i = 0; i < 24; ++i)
        expected += " 00";
    expected += " 8A 8A 80 84";
    for (int i = 0; i < 24; ++i)
        expected += " 80";
    EXPECT_EQ(Built(c), expected);
}

TEST(ProgramCmdTest, SeriesBitsByEquipment)
{
    struct Case {
        int external, program, target, classFlag;
        int bits;
    };
    const Case cases[] = {
        {1, 1, 1, 0, 1},       // turning targets: the face of the series
        {1, 129, 2, 0, 2},
        {1, 129, 0, 0, 0},
        {1, 3, 2, 0, 1},       // lifts on the program, not on the range
        {3, 131, 0, 0x85, 0x05},  // lifts: the class flags without bit 7
        {4, 3, 0, 0x7F, 0x7F},
        {3, 1, 1, 0x85, 1},
        {0, 0, 0, 0, 1},
    };
    for (const Case& k : cases)
        EXPECT_EQ(ProgramCmd::SeriesBits(k.external, k.program, k.target, k.classFlag), k.bits)
            << k.external << "/" << k.program;
}

TEST(ShotRequestCmdTest, Layout)
{
    EXPECT_EQ(Built(ShotRequestCmd{12, 3, 5, false}), "09 00 40 53 0C 0C 00 03 05 02");
    EXPECT_EQ(Built(ShotRequestCmd{12, 3, 5, true}), "09 00 40 53 0C 0C 00 03 05 03");
}

TEST(CardSummaryCmdTest, Kinds)
{
    CardSummaryCmd check;
    check.lane = 9;
    check.kind = 7;
    check.relay = 0x0203;
    check.competition = 4;
    check.shots = 23;
    check.shotsSum = 0x012345;
    check.checks = {0xAA, 0x55};
    EXPECT_EQ(Built(check), "0E 00 40 74 09 07 02 03 04 17 45 23 01 AA 55");

    CardSummaryCmd fetch;
    fetch.lane = 9;
    fetch.fetching = true;
    fetch.relay = 5;
    fetch.printSeries = 2;
    EXPECT_EQ(Built(fetch), "0C 00 40 74 09 01 00 05 02 00 00 00 00");

    CardSummaryCmd plain;
    plain.lane = 9;
    plain.relay = 5;  // not sent outside a fetch
    EXPECT_EQ(Built(plain), "0C 00 40 74 09 01 00 00 00 00 00 00 00");
}

TEST(SumsCmdTest, ShotAndClear)
{
    SumsCmd c;
    c.laneShown = 3;
    c.seriesShown = 2;
    c.zoomMode = 1;
    c.seriesTenths = 500;
    c.totalTenths = 1000;
    c.shotIndex = 4;
    c.valueTenths = 98;
    c.runByte = 7;
    c.xMicrometres = 12345;
    c.yMicrometres = -5000;
    EXPECT_EQ(Built(c), "13 00 40 70 00 02 03 02 02 01 F4 03 E8 05 62 07 01 8A FF 60");
    c.kind = SumsCmd::kClear;
    EXPECT_EQ(Built(c), "13 00 40 70 00 80 03 02 02 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(SumsCmdTest, CoordinatesStayBelowTheNoCoordinatesValue)
{
    struct Case {
        int micrometres;
        int scaled;
    };
    const Case cases[] = {
        {0, 0},
        {9, 0},
        {12345, 394},
        {-12345, -394},
        {999999, 31999},
        {1000000, 31999},     // would be 32000, "no coordinates"
        {2000000, 31999},     // would wrap to a negative number
        {-1000000, -31999},
        {-3000000, -31999},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SumsCmd::Scaled(k.micrometres), k.scaled) << k.micrometres;
}

TEST(SumsCmdTest, RunByteByEquipment)
{
    struct Case {
        int external, shot44, first44, shotNumber;
        int run;
    };
    const Case cases[] = {
        {1, 0x85, 0x03, 9, 0x85},
        {2, 5, 3, 9, 3},
        {2, 5, 0x83, 9, 4},
        {2, 2, 3, 9, 128},  // before the first marked shot
        {0, 5, 3, 9, 9},
        {3, 5, 3, 200, 200},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SumsCmd::RunByte(k.external, k.shot44, k.first44, k.shotNumber), k.run) << k.external;
}

TEST(TextCmdTest, CentredText)
{
    EXPECT_EQ(Built(TextCmd{6, "STOP"}), "10 00 40 57 06 40 17 16 02 20 53 54 4F 50 20 00 00");
    EXPECT_EQ(Built(TextCmd{6, ""}), "0C 00 40 57 06 40 00 00 02 00 20 00 00");

    struct Case {
        size_t length;
        int column;
        int byte0;
    };
    const Case cases[] = {
        {20, 15, 32},
        {21, 15, 33},
        {50, 0, 62},
        {60, 0, 72},     // longer than the line: from the left edge, not wrapped round
        {300, 0, 255},   // cut to what a record carries
    };
    for (const Case& k : cases) {
        LineMessage m;
        TextCmd{1, std::string(k.length, 'A')}.Build(m);
        EXPECT_EQ(m.data[6], k.column) << k.length;
        EXPECT_EQ(m.data[0], k.byte0) << k.length;
        EXPECT_EQ(m.data[m.data[0] - 2], ' ') << k.length;
    }
}

TEST(CardOverviewCmdTest, FirstLinesOfTheSeries)
{
    struct Case {
        std::vector<int> shots;  // series 1, 2, ...
        std::vector<int> first;
    };
    const Case cases[] = {
        {{10, 10}, {1, 3}},  // a series of exactly ten leaves a line unused
        {{9, 5}, {1, 2}},
        {{0, 5}, {0, 1}},
        {{25, 1, 0, 3}, {1, 4, 0, 5}},
    };
    for (const Case& k : cases) {
        CardOverviewCmd c;
        for (size_t s = 0; s < k.shots.size(); ++s)
            c.seriesShots[s + 1] = k.shots[s];
        int first[29];
        c.FirstLines(first);
        for (size_t s = 0; s < k.first.size(); ++s)
            EXPECT_EQ(first[s + 1], k.first[s]) << "series " << s + 1;
    }
}

TEST(CardOverviewCmdTest, PositionsAndLinesOfACard)
{
    CardOverviewCmd c;
    c.lane = 8;
    c.startScore = 12345;
    c.seriesShots[1] = 10;
    c.seriesShots[2] = 10;
    c.shots = {
        {0x001, 1, 1, 1, 1000},    // counts in its own series: the monitor has it
        {0x001, 1, 2, 2, 900},     // moved to series 2: position 2, line 3
        {0x002, 2, 2, 0, 800},     // entered by hand: counts on line 3
        {0x001, 2, 0, 9, 500},     // not assigned: position 9 only
        {0x800, 1, 1, 0, 700},     // copied in: counts on line 1
        {0x001, 0x81, 128, 17, 0}, // marked series byte: position 17 only
    };
    std::vector<LineMessage> parts = c.Build();
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Hex(parts[0]), "16 00 40 78 08 01 39 30 00 00 02 FB FD FD 01 03 81 BC 82 80 82 A4 86");
    ExpectClearAfter(parts[0]);
}

TEST(CardOverviewCmdTest, EmptyCard)
{
    CardOverviewCmd c;
    c.lane = 8;
    c.seriesShots[1] = 10;
    std::vector<LineMessage> parts = c.Build();
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Hex(parts[0]), "0A 00 40 78 08 01 00 00 00 FF FF");
}

TEST(CardOverviewCmdTest, ManyLinesGoInSeveralParts)
{
    CardOverviewCmd c;
    c.lane = 2;
    for (int s = 1; s <= 28; ++s) {
        c.seriesShots[s] = 9;  // one line per series
        c.shots.push_back({0x002, static_cast<uint8_t>(s), static_cast<uint8_t>(s), 0, 100 * s});
    }
    auto entry = [](int line) {
        int sum = 100 * line;
        return std::vector<uint8_t>{0x81, static_cast<uint8_t>(sum), static_cast<uint8_t>((sum >> 8) | 0x80)};
    };
    // Lines 1 to 24 are kept; entries start at byte 12 and one starting
    // after byte 64 opens the next part, which starts its entries at byte 9.
    std::vector<uint8_t> first = {65, 0, 0x40, 'x', 2, 1, 0, 0, 0, 0xFF, 1, 18};
    for (int line = 1; line <= 18; ++line)
        for (uint8_t b : entry(line))
            first.push_back(b);
    std::vector<uint8_t> second = {26, 0, 0x40, 'x', 2, 2, 0xFF, 19, 24};
    for (int line = 19; line <= 24; ++line)
        for (uint8_t b : entry(line))
            second.push_back(b);

    std::vector<LineMessage> parts = c.Build();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Hex(parts[0]), Hex(first));
    EXPECT_EQ(Hex(parts[1]), Hex(second));
}

TEST(CardOverviewCmdTest, EleventhShotOfASeriesGoesOnItsNextLine)
{
    CardOverviewCmd c;
    c.lane = 1;
    c.seriesShots[1] = 15;
    for (int i = 0; i < 11; ++i)
        c.shots.push_back({0x002, 1, 1, 0, 10});
    std::vector<LineMessage> parts = c.Build();
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Hex(parts[0]), "11 00 40 78 01 01 00 00 00 FF 01 02 8A 64 80 81 0A 80");
}

TEST(ZoomCmdTest, OneLaneAndAll)
{
    LineMessage m;
    ZoomCmd{5, 3, 3, 2}.Build(m);
    EXPECT_EQ(Hex(m), "0B 00 40 51 05 05 03 03 00 03 02 12");
    EXPECT_EQ(m.targetAddress, 1);
    ZoomCmd{0, 3, 4, 0}.Build(m);
    EXPECT_EQ(Hex(m), "0B 00 40 51 3C 3C 03 03 00 04 00 12");
}

TEST(LaneValueCmdTest, ShortCommands)
{
    struct Case {
        LaneValueCmd cmd;
        const char* bytes;
    };
    const Case cases[] = {
        {LaneValueCmd::DeleteMonitorCard(5), "04 00 40 39 05"},
        {LaneValueCmd::Motor(5, 1), "05 00 40 5D 05 01"},
        {LaneValueCmd::Motor(0, 2), "05 00 40 5D 00 02"},
        {LaneValueCmd::StatusQuery(), "05 BC 40 3F 3C FF"},
        {LaneValueCmd::Shoot(7, 2), "06 BC 40 75 07 02 00"},
        {LaneValueCmd::Shoot(0, 1), "06 BC 40 75 00 01 00"},
        {LaneValueCmd::Lift(9, '7'), "05 00 40 4B 09 37"},
        {LaneValueCmd::PrintDone(9), "04 00 40 A6 09"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Built(k.cmd), k.bytes);
}

TEST(LaneValueCmdTest, LiftCodes)
{
    const std::pair<int, int> cases[] = {{'3', '6'}, {'4', '7'}, {'5', '8'}, {'6', '9'},
                                         {'2', ':'}, {'7', ':'}, {0, ':'}};
    for (auto [position, code] : cases)
        EXPECT_EQ(LaneValueCmd::LiftCode(position), code) << position;
}

TEST(LightCmdTest, LampGroupsOfFiveLanes)
{
    LightCmd c;
    c.lane = 7;
    c.intensity[0] = 10;
    c.intensity[1] = 20;
    c.intensity[2] = 30;
    EXPECT_EQ(Built(c), "0D BC 40 4D 07 02 82 00 00 00 15 0A 14 1E");
    c.lane = 1;
    EXPECT_EQ(Built(c), "0D BC 40 4D 01 01 81 00 00 00 15 0A 14 1E");
    c.lane = 100;
    EXPECT_EQ(Built(c), "0D BC 40 4D 64 14 90 00 00 00 15 0A 14 1E");
}

TEST(MarkCmdTest, ShootMarkAndTwinMarkForms)
{
    struct Case {
        MarkCmd::Form form;
        bool seriesMarking;
        bool clock;
        const char* bytes;
    };
    const Case cases[] = {
        {MarkCmd::kShoot, false, false, "0B 00 40 51 3C 01 03 03 00 03 02 07"},
        {MarkCmd::kShoot, true, true, "0B 00 40 51 3C 01 03 03 01 03 02 25"},  // the clock is no business of a shoot
        {MarkCmd::kMark, false, false, "0B 00 40 51 3C 01 03 03 80 03 02 0F"},
        {MarkCmd::kMark, true, true, "0B 00 40 51 3C 01 03 03 81 03 02 8F"},
        {MarkCmd::kTwinMark, false, true, "0B 00 40 51 3C 01 03 03 80 03 02 8D"},
        {MarkCmd::kTwinMark, true, false, "0B 00 40 51 3C 01 03 03 81 03 02 0D"},
    };
    for (const Case& c : cases) {
        MarkCmd m;
        m.form = c.form;
        m.series = 3;
        m.seriesMarking = c.seriesMarking;
        m.shooterClock = c.clock;
        EXPECT_EQ(Built(m), c.bytes) << c.form << c.seriesMarking;
    }
    MarkCmd tempo;
    tempo.series = 20;
    tempo.tempo = 0;
    tempo.zoomMode = 2;
    EXPECT_EQ(Built(tempo), "0B 00 40 51 3C 01 14 14 00 00 03 07");
}

TEST(TwinMarkCmdTest, Layout)
{
    EXPECT_EQ(Built(TwinMarkCmd{4, 0}), "13 00 40 70 00 01 02 04 01 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(ScreenLineCmdTest, PlaceSizeAndEndingZero)
{
    EXPECT_EQ(Built(ScreenLineCmd{0, 1, 1, 0, ""}), "09 00 40 57 3C 00 01 01 00 00");
    EXPECT_EQ(Built(ScreenLineCmd{7, 34, 8, 3, " 7"}), "0B 00 40 57 07 00 22 08 03 20 37 00");
    EXPECT_EQ(Built(ScreenLineCmd{100, 34, 8, 3, "100"}), "0C 00 40 57 64 00 22 08 03 31 30 30 00");
    EXPECT_EQ(Built(ScreenLineCmd{0, 30, 28, 2, "Skytebanen"}),
              "13 00 40 57 3C 00 1E 1C 02 53 6B 79 74 65 62 61 6E 65 6E 00");
    LineMessage m;
    ScreenLineCmd{0, 1, 1, 2, std::string(300, 'A')}.Build(m);
    EXPECT_EQ(m.data[0], 252);  // cut to what a record carries
    EXPECT_EQ(m.data[252], 0);
}

TEST(ClearScreenCmdTest, Layout) { EXPECT_EQ(Built(ClearScreenCmd{}), "05 00 40 46 3C 00"); }

TEST(FinalMarkCmdTest, LoadedShotAndEnd)
{
    FinalMarkCmd c;
    c.kind = FinalMarkCmd::kLoaded;
    c.lane = 100;
    c.series = 2;
    c.zoom = 3;
    c.markedSum = 0;
    c.startValue = 9650;
    EXPECT_EQ(Built(c), "13 00 40 70 00 01 64 02 03 00 00 03 C5 00 00 00 00 00 00 00");
    c.kind = FinalMarkCmd::kShot;
    c.zoom = 1;
    c.markedSum = 1054;
    c.shotIndex = 1;
    c.valueHundredths = 1054;
    c.runByte = 1;
    c.x = -5;
    c.y = 31999;
    EXPECT_EQ(Built(c), "13 00 40 70 00 02 64 02 01 00 69 04 2E 01 69 01 FF FB 7C FF");
    FinalMarkCmd end;
    end.kind = FinalMarkCmd::kEnd;
    end.lane = 4;
    end.series = 1;
    EXPECT_EQ(Built(end), "13 00 40 70 00 80 04 01 02 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(FinalMarkCmdTest, ScaledCoordinatesStayBelowTheNoShotValue)
{
    struct Case {
        int micrometres, simulated, actual, scaled;
    };
    const Case cases[] = {
        {10000, 100, 100, 320},     {-10000, 100, 100, -320},  {10000, 300, 100, 960},
        {999999, 100, 100, 31999},  {-999999, 100, 100, -31999}, {1000031, 100, 100, 31999},
        {10000, 100, 0, 320},  // no distance: as if equal
    };
    for (const Case& c : cases)
        EXPECT_EQ(FinalMarkCmd::Scaled(c.micrometres, c.simulated, c.actual), c.scaled) << c.micrometres;
}

TEST(FinalNameCmdTest, LaneAndShooter)
{
    EXPECT_EQ(Built(FinalNameCmd{4, "Kari"}), "11 00 40 57 00 80 02 2E 02 20 34 3A 20 4B 61 72 69 00");
    LineMessage m;
    FinalNameCmd{100, "Per"}.Build(m);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.data + 9)), "100: Per");
}
