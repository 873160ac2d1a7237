// The software loader's protocol against simulated loader units, without a
// line: loading in two passes, the log reading, the messages it takes and
// the commands it sends.
#include "LoaderBench.h"
#include "SRecordText.h"
#include "TempFolder.h"
#include "line/UnitModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using bvtest::LoaderBench;
using bvtest::TempFolder;
using Bytes = bvsim::Bytes;
namespace keys = loaderkeys;

// 24 blocks below 0x10000 and 8 above.
std::string TwoPassImage()
{
    std::string text = bvtest::S0("2011");
    for (uint32_t k = 0; k < 24; ++k)
        text += bvtest::S2(0x0100 + 64 * k, bvtest::Counting(64, static_cast<uint8_t>(0x20 + k)));
    for (uint32_t k = 0; k < 8; ++k)
        text += bvtest::S2(0x10000 + 64 * k, bvtest::Counting(64, static_cast<uint8_t>(0x30 + k)));
    return text + bvtest::S8();
}

class LoaderTest : public bvtest::InTempFolder {
protected:
    static std::string Log() { return TempFolder::Read("BVLog.txt"); }
};

TEST_F(LoaderTest, TwoPassesKeepTheWindowAndEndInARestart)
{
    LoaderBench bench(SoftwareLoader::kDisplayUnits, 1, 6);
    bench.AddUnits(1, 5);  // lane 6 has no unit
    bench.loader.RequestVersions(true);
    bench.Pump();
    for (int lane = 1; lane <= 5; ++lane)
        EXPECT_TRUE(bench.loader.TakesPart(lane)) << lane;
    EXPECT_FALSE(bench.loader.TakesPart(6));
    EXPECT_EQ(bench.loader.Cell(3, SoftwareLoader::kColComment), "2.07 14.03.2011");

    TempFolder::Write("Display.s28", TwoPassImage());
    ASSERT_EQ(bench.loader.LoadImage("Display.s28"), 32);
    bench.progress.highest = 0;
    // Every broadcast block lies at most ten beyond what all units have
    // listed as taken.
    std::vector<int> order;
    bench.onHeard = [&](const LineMessage& m) {
        if (m.data[3] != 0x61)
            return;
        int block = m.data[6] * 256 + m.data[7];
        int listed = 1 << 30;
        for (auto& [lane, unit] : bench.units)
            listed = std::min(listed, unit.ListedPrefix());
        EXPECT_LE(block, listed + SoftwareLoader::kSendWindow) << "block " << block;
        order.push_back(block);
    };
    ASSERT_TRUE(bench.loader.StartLoading());
    EXPECT_EQ(bench.loader.Information(), "24+8=32");
    EXPECT_EQ(bench.loader.State(), 0x41);
    bench.Pump();

    // Without loss every block goes once, in order.
    std::vector<int> expected;
    for (int b = 1; b <= 32; ++b)
        expected.push_back(b);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(bench.loader.State(), 1);
    EXPECT_EQ(bench.loader.Image(), nullptr);
    for (auto& [lane, unit] : bench.units) {
        EXPECT_EQ(unit.Prepares(), 2) << lane;
        EXPECT_EQ(unit.Commits(), 2) << lane;
        EXPECT_EQ(unit.Restarts(), 1) << lane;
        EXPECT_EQ(bench.loader.Cell(lane, SoftwareLoader::kColSent), keys::kMsgFinish) << lane;
    }
    // The commits of the two passes, and the restart for every lane.
    std::vector<Bytes> load = bench.SentWithCode(0x60);
    auto count = [&](const Bytes& wanted) { return std::count(load.begin(), load.end(), wanted); };
    EXPECT_EQ(count({0x40, 0x60, 3, 'A', 1, 4, 0, 0x11, 0x22, 0x33}), 1);
    EXPECT_EQ(count({0x40, 0x60, 3, 'A', 1, 2, 4, 0x15}), 1);
    EXPECT_EQ(count({0x40, 0x60, 6, 'A', 3, 0}), 1);
    EXPECT_EQ(bench.loader.VersionCountdown(), SoftwareLoader::kVersionTicks);
    EXPECT_EQ(bench.progress.highest, 32);
}

TEST_F(LoaderTest, LostListsAreResentFromTheFirstUnacknowledgedBlock)
{
    LoaderBench bench(SoftwareLoader::kControllers, 1, 2);
    bench.AddUnits(1, 2);
    bench.units.at(1).SetTwin(1);
    bench.units.at(2).SetTwin(2);
    bench.loader.RequestVersions(false);
    bench.Pump();
    TempFolder::Write("Lydskive.s28", TwoPassImage());
    ASSERT_EQ(bench.loader.LoadImage("Lydskive.s28"), 32);
    bench.units.at(2).SetDropLists(1);
    std::vector<std::pair<int, int>> blocks;  // tick, block
    bench.onHeard = [&](const LineMessage& m) {
        if (m.data[3] == 0x61)
            blocks.push_back({bench.tick, m.data[6] * 256 + m.data[7]});
    };
    ASSERT_TRUE(bench.loader.StartLoading());
    bench.Pump();
    // Unit 2's first list is lost: blocks 1..10 went, nothing more.
    ASSERT_EQ(blocks.size(), 10u);
    EXPECT_EQ(bench.loader.State(), 0x82);
    bench.Ticks(SoftwareLoader::kWindowFullTicks - 1);
    EXPECT_EQ(blocks.size(), 10u);
    bench.Ticks(1);
    ASSERT_GT(blocks.size(), 10u);
    EXPECT_EQ(blocks[10], std::make_pair(SoftwareLoader::kWindowFullTicks, 1));
    for (int k = 0; k < 3000 && bench.loader.State() != 1; ++k)
        bench.Ticks(1);
    EXPECT_EQ(bench.loader.State(), 1);
    EXPECT_EQ(bench.units.at(2).Commits(), 2);
}

TEST_F(LoaderTest, AListNamingABlockNotSentIsRefused)
{
    LoaderBench bench(SoftwareLoader::kDisplayUnits, 1, 3);
    bench.AddUnits(1, 2);
    bench.loader.RequestVersions(false);
    bench.Pump();
    TempFolder::Write("Display.s28", TwoPassImage());
    ASSERT_GT(bench.loader.LoadImage("Display.s28"), 0);
    bench.units.at(2).SetDropLists(1000);  // the load stays in the first window
    ASSERT_TRUE(bench.loader.StartLoading());
    bench.Pump();
    EXPECT_EQ(bench.loader.Cell(1, SoftwareLoader::kColReceived), "10");
    // Lane 3 has no unit, and block 20 has not gone out.
    bench.Deliver(3, {0x40, 0x92, 3, 1, 0, 20});
    EXPECT_EQ(bench.loader.Cell(3, SoftwareLoader::kColReceived), keys::kSwError);
    bench.Deliver(1, {0x40, 0x93, 1, 0, 5, 1, 0});
    EXPECT_EQ(bench.loader.Cell(1, SoftwareLoader::kColReceived), keys::kSwError);
    EXPECT_EQ(bench.loader.SendCountdown(), SoftwareLoader::kRefusedTicks);
}

TEST_F(LoaderTest, LogReadingFillsOneFilePerUnitAndEndsAfterTheLastBlock)
{
    LoaderBench bench(SoftwareLoader::kControllers, 1, 5);
    bench.AddUnits(1, 5);
    for (auto& [lane, unit] : bench.units)
        unit.SetTwin(lane);
    bench.loader.RequestVersions(false);
    bench.Pump();
    // Unit 3's answer to block 7 goes missing once: the block is asked for
    // again after twelve seconds, and nobody's file gets it twice.
    bool lost = false;
    bench.lose = [&](int lane, const Bytes& answer) {
        if (lane == 3 && answer[1] == 0xAF && answer[4] == 7 && !lost)
            return lost = true;
        return false;
    };
    bench.loader.StartLogReading();
    EXPECT_EQ(bench.loader.State(), 16);
    bench.Pump();
    EXPECT_EQ(bench.loader.LogBlockNumber(), 7);
    bench.Ticks(SoftwareLoader::kLogRetryTicks);
    bench.Pump();
    EXPECT_EQ(bench.loader.State(), 1);
    EXPECT_EQ(bench.loader.LogBlockNumber(), 4607);
    EXPECT_EQ(bench.progress.highest, 1022);
    EXPECT_EQ(bench.progress.high, 1024);
    EXPECT_EQ(bench.loader.Cell(2, SoftwareLoader::kColReceived), "Log[1022]");
    std::vector<Bytes> requests = bench.SentWithCode(0x5F);
    EXPECT_EQ(requests.size(), 1025u);  // 1024 and the one asked again
    for (int lane = 1; lane <= 5; ++lane) {
        std::string expected;
        for (int n = 0; n < 512; ++n)
            expected += bvsim::LoaderUnit::LogLine(lane, n);
        for (int n = 4096; n <= 4607; ++n)
            expected += bvsim::LoaderUnit::LogLine(lane, n);
        EXPECT_EQ(TempFolder::Read("CULOG0" + std::to_string(lane) + ".txt"), expected) << lane;
    }
    EXPECT_EQ(SoftwareLoader::LogFileName(1, 7), "DULOG07.txt");
    EXPECT_EQ(SoftwareLoader::LogFileName(3, 12), "CULOGB12.txt");
}

TEST_F(LoaderTest, ReceivedMessagesFillTheirColumns)
{
    LoaderBench bench(SoftwareLoader::kControllers, 1, 10);
    auto cell = [&](int lane, int column) { return bench.loader.Cell(lane, column); };
    auto message = [](int type, int lane, int last, std::vector<std::pair<int, int>> bytes) {
        Bytes p(static_cast<size_t>(last - 1), 0);
        p[0] = 0x40;
        p[1] = static_cast<uint8_t>(type);
        p[2] = static_cast<uint8_t>(lane);
        for (auto [position, value] : bytes)
            p[static_cast<size_t>(position - 2)] = static_cast<uint8_t>(value);
        return p;
    };
    struct Case {
        const char* name;
        Bytes message;
        int lane;
        int column;
        std::string text;
    };
    const Case cases[] = {
        {"temperature", message(0x83, 2, 7, {{5, 0x17}, {6, 0x40}}), 2, SoftwareLoader::kColReceived, " 23.25\xB0" "C"},
        {"configuration", message(0x84, 3, 20, {{5, 8}, {12, 0x12}, {13, 0x34}, {14, 2}, {15, 0x80}}), 3,
         SoftwareLoader::kColComment, std::string(HardwareModelName(8)) + " X=1456 Y=200"},
        {"configuration of an unknown model", message(0x84, 3, 20, {{5, 12}}), 3, SoftwareLoader::kColComment,
         "?????  X=0 Y=0"},
        {"counters", message(0x87, 4, 28, {{12, 1}, {13, 0x09}, {14, 0x29}, {17, 0x02}, {18, 0xA6}}), 4,
         SoftwareLoader::kColComment, "S= 12345 E=   678"},
        {"display temperature", message(0x35, 5, 10, {}), 5, SoftwareLoader::kColReceived, keys::kTempDu},
        {"restarted", message(0xB3, 6, 16, {}), 6, SoftwareLoader::kColReceived, keys::kRestarted},
        {"too short", message(0x87, 4, 27, {}), 4, SoftwareLoader::kColReceived, std::string(keys::kMsgError) + " 87=27"},
        {"too long", message(0x35, 5, 101, {}), 5, SoftwareLoader::kColReceived, std::string(keys::kMsgError) + " 35=101"},
        {"shot", message(0x41, 7, 19, {{5, 3}, {6, 9}, {9, 0x18}, {10, 0xFC}, {11, 0xFF}, {12, 0xE8}, {13, 0x03},
                                        {15, 21}, {16, 1}, {17, 2}, {18, 3}, {19, 255}}),
         7, SoftwareLoader::kColComment, " X=  -1.0  Y=   1.0 ABC= 1 2 3 T= 21\xB0" "C"},
    };
    for (const Case& c : cases) {
        bench.Deliver(c.lane, c.message);
        EXPECT_EQ(cell(c.lane, c.column), c.text) << c.name;
        if (c.column == SoftwareLoader::kColComment)
            EXPECT_EQ(cell(c.lane, SoftwareLoader::kColState), keys::kReady) << c.name;
    }
    // The shot is answered twice; the restarted unit is asked for its version.
    std::vector<Bytes> all;
    for (const LineMessage& m : bench.sent)
        all.push_back(LoaderBench::Payload(m));
    EXPECT_EQ(all, (std::vector<Bytes>{{0x40, 0x38, 6}, {0x40, 0x91, 7, 3, 9}, {0x40, 0x35, 7, 0}}));

    // Unknown types and lanes outside the range leave no trace in the rows.
    bench.Deliver(9, message(0x44, 9, 12, {}));
    EXPECT_EQ(cell(9, SoftwareLoader::kColState), "");
    bench.Deliver(9, message(0x35, 11, 10, {}));
    EXPECT_EQ(cell(9, SoftwareLoader::kColState), "");
    EXPECT_NE(Log().find("Lane=9 and Msg[4]=11"), std::string::npos);
    EXPECT_NE(Log().find("Throw msg for lane=11"), std::string::npos);
    EXPECT_NE(Log().find("Msg error msg=135 len=27 lane=4"), std::string::npos);
}

TEST_F(LoaderTest, VersionAnswersNameOwnLaneAndTwinOnlyInsideTheRange)
{
    LoaderBench bench(SoftwareLoader::kControllers, 3, 8);
    auto version = [](int lane, int major, int own, int twin) {
        return Bytes{0x40, 0x86, static_cast<uint8_t>(lane), static_cast<uint8_t>(major), 5, 20, 12, 6, 30,
                     static_cast<uint8_t>(own), static_cast<uint8_t>(twin)};
    };
    bench.Deliver(3, version(3, 2, 3, 4));   // a dual unit for lanes 3 and 4
    bench.Deliver(5, version(5, 1, 0, 0));   // the older form: its twin is the next lane
    bench.Deliver(7, version(7, 2, 7, 200)); // a twin no lane of ours has
    bench.Deliver(8, version(8, 1, 0, 0));   // its twin 9 is outside the range
    EXPECT_EQ(bench.loader.Lane(3).own, 3);
    EXPECT_EQ(bench.loader.Lane(3).twin, 4);
    EXPECT_EQ(bench.loader.Lane(3).controllerMark, 3);
    EXPECT_EQ(bench.loader.Cell(3, SoftwareLoader::kColComment), "2.05 30.06.2012");
    EXPECT_EQ(bench.loader.Cell(4, SoftwareLoader::kColComment), std::string("2.05 30.06.2012 - ") + keys::kDual);
    EXPECT_EQ(bench.loader.Cell(4, SoftwareLoader::kColState), keys::kDual);
    EXPECT_EQ(bench.loader.Lane(6).version, 0x105);
    EXPECT_EQ(bench.loader.Lane(5).controllerMark, 0);
    EXPECT_TRUE(bench.loader.TakesPart(7));
    EXPECT_EQ(bench.loader.Lane(8).twin, 9);
    EXPECT_EQ(bench.loader.Cell(9, SoftwareLoader::kColComment), "");

    // Lane 4's own answers count for lane 3, which names it as its twin.
    TempFolder::Write("Lydskive.s28", TwoPassImage());
    ASSERT_GT(bench.loader.LoadImage("Lydskive.s28"), 0);
    ASSERT_TRUE(bench.loader.StartLoading());
    bench.Deliver(4, {0x40, 0x90, 4, 'B', 0});
    EXPECT_EQ(bench.loader.Lane(3).pending, 0);
    EXPECT_EQ(bench.loader.Cell(3, SoftwareLoader::kColSent), keys::kMsgSend);
}

TEST(LoaderSlots, SlotsGiveTheLanesOfTheRange)
{
    bvtest::KeyTexts texts;
    struct Case {
        int kind, first, last, slot, lane;
    };
    const Case cases[] = {
        {1, 1, 10, 5, 5},   {1, 51, 60, 5, 55},  {1, 1, 10, 11, 0},  {2, 1, 20, 31, 1},  {2, 1, 20, 40, 19},
        {2, 1, 20, 41, 2},  {2, 1, 20, 50, 20},  {2, 21, 40, 31, 21}, {2, 1, 20, 21, 1},  {2, 11, 20, 21, 11},
        {3, 1, 20, 31, 0},  {3, 1, 20, 22, 3},   {2, 1, 20, 60, 0},  {2, 1, 20, 0, 0},   {0, 1, 10, 5, 0},
    };
    for (const Case& c : cases) {
        SoftwareLoader loader(texts);
        loader.SetLaneRange(c.first, c.last);
        loader.SetKind(c.kind);
        EXPECT_EQ(loader.SlotToLane(c.slot), c.lane) << c.kind << " " << c.first << " " << c.slot;
    }
}

TEST(LoaderCommands, CommandsCarryTheirBytes)
{
    LoaderBench bench(SoftwareLoader::kControllers, 7, 8);
    using Run = std::function<void(SoftwareLoader&)>;
    struct Case {
        const char* name;
        Run run;
        std::vector<Bytes> sent;
    };
    const Case cases[] = {
        {"versions", [](SoftwareLoader& l) { l.RequestVersions(true); }, {{0x40, 0x38, 0}}},
        {"restart", [](SoftwareLoader& l) { l.Restart(); }, {{0x40, 0x60, 7, 'B', 3, 0}, {0x40, 0x60, 8, 'B', 3, 0}}},
        {"delete logs", [](SoftwareLoader& l) { l.DeleteLogs(); }, {{0x40, 0x39, 7}, {0x40, 0x39, 8}}},
        {"configuration", [](SoftwareLoader& l) { l.RequestConfiguration(); }, {{0x40, 0x34, 7}, {0x40, 0x34, 8}}},
        {"counters", [](SoftwareLoader& l) { l.RequestCounters(); }, {{0x40, 0x3F, 7, 1}, {0x40, 0x3F, 8, 1}}},
        {"test", [](SoftwareLoader& l) { l.Test(); }, {{0x40, 0x7F, 1}}},
        {"set id 7",
         [](SoftwareLoader& l) { l.SetUnitId(7); },
         {{0x40, 0x32, 7, 0x80, 34, 2}, {0x40, 0x60, 7, 'B', 3, 0}, {0x40, 0x60, 8, 'B', 3, 0}}},
        {"set id 8",
         [](SoftwareLoader& l) { l.SetUnitId(8); },
         {{0x40, 0x32, 8, 0x80, 44, 2}, {0x40, 0x60, 7, 'B', 3, 0}, {0x40, 0x60, 8, 'B', 3, 0}}},
        {"green",
         [](SoftwareLoader& l) { l.SetLamps(1, 100, 255); },
         {{0x40, 0x4D, 7, 2, 0x82, 0, 0, 0, 0x15, 1, 100, 255}, {0x40, 0x4D, 8, 2, 0x84, 0, 0, 0, 0x15, 1, 100, 255}}},
        {"band advance", [](SoftwareLoader& l) { l.BandAdvance(); }, {{0x40, 0x5D, 0, 1}}},
        {"fall figure",
         [](SoftwareLoader& l) { l.FallFigure({true, false, true, false, false}); },
         {{0x40, 0x47, 0, 0x80, 0xE5, 0xFF}}},
        {"sensor set-up, type 9, Fin",
         [](SoftwareLoader& l) { l.SensorSetup(9, 1, 5, 6, false); },
         {{0x40, 0x3C, 7, 0x85, 1, 0, 5, 6, 0, 0},
          {0x40, 0x33, 7, 9, 0x25, 0x80, 0x25, 0x80, 0, 100, 0x12, 0xC0, 0x12, 0xC0, 13, 0, 0, 2},
          {0x40, 0x3C, 8, 0x85, 1, 0, 5, 6, 0, 0},
          {0x40, 0x33, 8, 9, 0x25, 0x80, 0x25, 0x80, 0, 100, 0x12, 0xC0, 0x12, 0xC0, 13, 0, 0, 2},
          {0x40, 0x34, 7},
          {0x40, 0x34, 8}}},
        {"sensor set-up, fall-figure type 17",
         [](SoftwareLoader& l) { l.SensorSetup(17, 2, 10, 20, false); },
         {{0x40, 0x3C, 7, 0x85, 0, 0, 10, 20, 0, 0},
          {0x40, 0x33, 7, 1, 0x3D, 0x40, 0, 0, 0, 50, 0x3D, 0x40, 0x51, 0x40, 13, 1, 0, 2},
          {0x40, 0x3C, 8, 0x85, 0, 0, 10, 20, 0, 0},
          {0x40, 0x33, 8, 1, 0x3D, 0x40, 0, 0, 0, 50, 0x3D, 0x40, 0x51, 0x40, 13, 1, 0, 2},
          {0x40, 0x34, 7},
          {0x40, 0x34, 8}}},
    };
    for (const Case& c : cases) {
        bench.sent.clear();
        c.run(bench.loader);
        std::vector<Bytes> sent;
        for (const LineMessage& m : bench.sent) {
            sent.push_back(LoaderBench::Payload(m));
            EXPECT_EQ(m.broadcast, m.targetAddress == 0) << c.name;
            EXPECT_EQ(m.portIndex, SoftwareLoader::kPortIndex) << c.name;
        }
        EXPECT_EQ(sent, c.sent) << c.name;
    }
    EXPECT_EQ(bench.loader.Cell(7, SoftwareLoader::kColSent), "Sender sensordata");

    // The service commands are for target controllers only.
    LoaderBench display(SoftwareLoader::kDisplayUnits, 1, 2);
    EXPECT_FALSE(display.loader.SetUnitId(3));
    EXPECT_FALSE(display.loader.SetLamps(1, 100, 255));
    EXPECT_TRUE(display.sent.empty());
}

TEST(LoaderUsbNr, OnlyAnAdapterNameWithANumberCounts)
{
    EXPECT_TRUE(SoftwareLoader::ValidUsbNr("BV100042"));
    EXPECT_FALSE(SoftwareLoader::ValidUsbNr("BV10004"));   // seven characters
    EXPECT_FALSE(SoftwareLoader::ValidUsbNr("BV100000"));  // number 0
    EXPECT_FALSE(SoftwareLoader::ValidUsbNr("XV100042"));
    EXPECT_FALSE(SoftwareLoader::ValidUsbNr("BV1000A2"));
    bvtest::KeyTexts texts;
    SoftwareLoader loader(texts);
    EXPECT_EQ(loader.SelectKind(2, 10, "BV10004"), SoftwareLoader::KindResult::NoUsbNr);
    EXPECT_EQ(loader.SelectKind(2, 0, ""), SoftwareLoader::KindResult::NoPort);
    EXPECT_EQ(loader.Kind(), SoftwareLoader::kNone);
    EXPECT_EQ(loader.OpenLine(11, ""), -1);
    EXPECT_FALSE(loader.LineOpen());
}

}  // namespace
