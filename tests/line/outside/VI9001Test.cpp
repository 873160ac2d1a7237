// The outside range system's channel object against our stand-in of its
// library: opening and the protocol kind, the map, every put of the lane
// operations in both command modes, the program list, and the decoding of
// what the system sends.
#include "line/outside/CVI9001.h"
#include "platform/system/Clock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <vector>

namespace outside_channel_test {

const std::string kStandIn = std::string(BV_BINARY_DIR) + "/standin/libRCI2000.so";

void Command(const std::string& line)
{
    static auto command = [] {
        void* h = dlopen(kStandIn.c_str(), RTLD_NOW);
        return h ? reinterpret_cast<void (*)(const char*)>(dlsym(h, "BvRci2000Command")) : nullptr;
    }();
    ASSERT_NE(command, nullptr) << dlerror();
    command(line.c_str());
}

class VI9001Test : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        Command("reset");
        Command("log " + folder.File("rci.log"));
        ASSERT_EQ(symlink(kStandIn.c_str(), folder.File("libRCI2000.so").c_str()), 0);
    }
    void TearDown() override { Command("reset"); }

    // RCI.INI with the outside system named, so that ".\RCI2000" is loaded.
    void Settings(const std::string& keys)
    {
        bvtest::TempFolder::Write(folder.File("RCI.INI"), "[RCI_MarkII]\r\nName=Range\r\n[BVLeder]\r\n" + keys);
    }
    // The stand-in's log lines that begin with prefix, the prefix cut off;
    // marks the log read, so the next call sees only what came after.
    std::vector<std::string> Lines(const std::string& prefix)
    {
        std::string all = bvtest::TempFolder::Read(folder.File("rci.log"));
        std::istringstream in(all.substr(m_seen));
        m_seen = all.size();
        std::vector<std::string> lines;
        std::string l;
        while (std::getline(in, l))
            if (l.rfind(prefix, 0) == 0)
                lines.push_back(l.substr(prefix.size()));
        return lines;
    }
    std::string ProgramLog() { return bvtest::TempFolder::Read(folder.File("BVLog.txt")); }

    size_t m_seen = 0;
};

using Texts = std::vector<std::string>;

// A data message of size bytes, all but the code 0.
std::string Zeros(int size)
{
    std::string hex = "00 3C";
    for (int i = 2; i < size; ++i)
        hex += " 00";
    return hex;
}


TEST_F(VI9001Test, TheLastOpenChannelSetsTheKindAndMark2ChannelsAreAskedForTheirLanes)
{
    struct Case {
        const char* name;
        std::vector<int> protocols;  // of channels 0..3
        const char* setting;
        int kind;
        bool firstAsked, lastAsked;  // channels 0 and 3 got GetLane and 0x4004
    };
    const Case cases[] = {
        {"all MARK2", {0, 0, 0, 0}, "", CVI9001::kMark2, true, true},
        {"last MARK1", {0, 0, 0, 1}, "", CVI9001::kMark1, true, false},
        {"last MARK2", {1, 1, 1, 0}, "", CVI9001::kMark2, false, true},
        {"forced LON", {1, 1, 1, 1}, "Protocol=3\r\n", CVI9001::kLon, true, true},
        {"forced MARK2", {1, 1, 1, 1}, "Protocol=2\r\n", CVI9001::kMark2, true, true},
        {"forced MARK1", {0, 0, 0, 0}, "Protocol=7\r\n", CVI9001::kMark1, false, false},
    };
    for (const Case& c : cases) {
        Command("reset");
        Command("log " + folder.File("rci.log"));
        Command("channels 4");
        for (int ch = 0; ch < 4; ++ch)
            Command("protocol " + std::to_string(ch) + " " + std::to_string(c.protocols[ch]));
        Settings(c.setting);
        unlink(folder.File("rci.log").c_str());
        m_seen = 0;
        CVI9001 rci;
        ASSERT_TRUE(rci.IsOpen()) << c.name;
        EXPECT_EQ(rci.State(), c.kind) << c.name;
        EXPECT_EQ(rci.ChTo(), 3) << c.name;
        const Texts asked = {"40 03", "40 04"};
        EXPECT_EQ(Lines("Ch0 > "), c.firstAsked ? asked : Texts{}) << c.name;
        m_seen = 0;
        EXPECT_EQ(Lines("Ch3 > "), c.lastAsked ? asked : Texts{}) << c.name;
    }
}

TEST_F(VI9001Test, Mark1MapsChannelsToLanesAndRefusesEveryPut)
{
    Command("protocol 2 1");
    Command("protocol 3 1");
    Command("channels 4");
    Settings("ChFrom=2\r\n");
    CVI9001 rci;
    ASSERT_TRUE(rci.IsOpen());
    EXPECT_EQ(rci.State(), CVI9001::kMark1);
    EXPECT_EQ(rci.GetChannel(1), 2);
    EXPECT_EQ(rci.GetChannel(2), 3);
    EXPECT_EQ(rci.GetChannel(3), -1);
    const uint8_t m[] = {0x00, 0x5E};
    EXPECT_EQ(rci.Put(2, m, 2), CVI9001::kPutNoProtocol);
    rci.SetLaneOnChannel(1, true);
    rci.SetLaneActive(1, true);
    EXPECT_FALSE(rci.UpdateControlModes());
    EXPECT_EQ(rci.SetProgram(1, 0, 2), 2);
    EXPECT_EQ(rci.NewRelay(1), 2);
    rci.StartSerie(1, 1, 1);
    rci.ClearLane(1);
    rci.PutRemote(1);
    EXPECT_TRUE(Lines("Ch2 > ").empty());
}

TEST_F(VI9001Test, ChannelRangeFollowsTheLibraryAndTheSettingsAreRangeChecked)
{
    struct Case {
        const char* keys;
        int from, to;
    };
    const Case cases[] = {
        {"ChFrom=3\r\nChTo=99\r\n", 3, 11},   // 12 channels: 3..11
        {"ChFrom=3\r\nChTo=7\r\n", 3, 7},
        {"ChFrom=3\r\nChTo=40\r\n", 3, 11},   // no channel beyond the library's
        {"ChFrom=-4\r\nChTo=5\r\n", 0, 5},
        {"ChFrom=150\r\n", 0, 11},
        {"ChFrom=6\r\nChTo=2\r\n", 6, 11},   // ChTo below ChFrom: all from ChFrom
    };
    for (const Case& c : cases) {
        Command("reset");
        Command("log " + folder.File("rci.log"));
        Settings(c.keys);
        Lines("");
        CVI9001 rci;
        EXPECT_EQ(rci.ChFrom(), c.from) << c.keys;
        EXPECT_EQ(rci.ChTo(), c.to) << c.keys;
        Texts created = Lines("");
        EXPECT_EQ(std::count_if(created.begin(), created.end(),
                                [](const std::string& l) { return l.find(" created") != std::string::npos; }),
                  c.to - c.from + 1)
            << c.keys;
    }
    // Map keys: lane 0, lanes and channels out of range index nothing.
    Command("reset");
    Settings("ChTo=5\r\nLane0=1\r\nLane7=150\r\nLane8=-3\r\nLane4=2\r\nChannel3=120\r\nChannel5=9\r\nChannel40=6\r\n");
    CVI9001 rci;
    EXPECT_EQ(rci.GetChannel(4), 2);
    EXPECT_EQ(rci.GetChannel(9), 5);
    EXPECT_EQ(rci.GetChannel(7), -1);
    EXPECT_EQ(rci.GetChannel(8), -1);
    EXPECT_EQ(rci.GetChannel(6), -1);
    EXPECT_EQ(rci.LaneOfChannel(3), -1);
    EXPECT_EQ(rci.GetChannel(0), -1);
    EXPECT_EQ(rci.GetChannel(100), -1);
    EXPECT_NE(ProgramLog().find("Lane=0 not legal"), std::string::npos);
    EXPECT_NE(ProgramLog().find("Lane=120 not legal"), std::string::npos);
}

TEST_F(VI9001Test, LaneOperationsPutTheirSequencesInNumbersMode)
{
    Settings("Lane1=0\r\nLane2=1\r\nRangeType=4\r\n");
    CVI9001 rci;
    ASSERT_EQ(rci.State(), CVI9001::kMark2);
    rci.SetLaneOnChannel(2, true);
    rci.SetLaneTargetType(2, 1);  // DFS200: practice program 4 by default
    rci.SetLaneShooter(2, 0x01020304, "Per");
    rci.SetLaneActive(2, true);
    Lines("");
    char year[8];
    std::snprintf(year, sizeof year, "%02X %02X", platform::Now().year >> 8, platform::Now().year & 0xFF);

    struct Step {
        const char* name;
        std::function<void()> run;
        Texts puts;
    };
    const Step steps[] = {
        {"remote", [&] { EXPECT_TRUE(rci.UpdateControlModes()); },
         {std::string("00 3A ") + year, "40 03", "00 04 01", "00 0E 00", "00 0D 00 04"}},
        {"no change", [&] { EXPECT_FALSE(rci.UpdateControlModes()); }, {}},
        {"program", [&] { EXPECT_EQ(rci.SetProgram(2, 5, 6), 0); }, {"00 04 01", "00 0D 00 04", "00 13 00 05 00 06"}},
        {"series", [&] { rci.StartSerie(2, 1, 3); },
         {"00 5D 00 03", "00 00 50 65 72 00", "00 01 01 02 03 04", "00 04 01", "00 0D 00 04", "00 13 00 00 00 04"}},
        {"mark", [&] { EXPECT_EQ(rci.Mark(2, 1, 3), 0); }, {"00 5E"}},
        {"competition", [&] { rci.PutRemote(2); }, {"00 21 00"}},
        {"local", [&] { rci.SetLaneActive(2, false); EXPECT_TRUE(rci.UpdateControlModes()); }, {"00 04 00"}},
    };
    for (const Step& s : steps) {
        s.run();
        EXPECT_EQ(Lines("Ch1 > "), s.puts) << s.name;
    }
    EXPECT_FALSE(rci.IsRemote(2));

    // A lane without a legal channel is refused with its line.
    EXPECT_EQ(rci.Mark(5, 1, 1), CVI9001::kPutIllegal);
    EXPECT_NE(ProgramLog().find("-1:05 Mark for illegal channel"), std::string::npos);
}

TEST_F(VI9001Test, ShooterNamesAreFoldedAndCut)
{
    Settings("Lane1=0\r\n");
    CVI9001 rci;
    Lines("");
    struct Case { std::string name; const char* put; };
    const Case cases[] = {
        {"\xC6\xD8\xE5 Berg", "00 00 45 4F 61 20 42 65 72 67 00"},  // Æ Ø å become E O a
        {"\xC4\xC5\xE4\xE6\xF8", "00 00 45 41 65 65 6F 00"},
        {"ABCDEFGHIJKLMNOPQRST", "00 00 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rci.SetShooter(1, 7, c.name), 0);
        Texts puts = Lines("Ch0 > ");
        ASSERT_EQ(puts.size(), 2u);
        EXPECT_EQ(puts[0], c.put);
        EXPECT_EQ(puts[1], "00 01 00 00 00 07");
    }
}

TEST_F(VI9001Test, BarCodeSystemsGetTheTextsOfOneTargetTypeTable)
{
    bvtest::TempFolder::Write(folder.File("DADErevo.ini"), "[SETTINGS]\r\nSystemVersion=70\r\n");
    bvtest::TempFolder::Write(folder.File("BarCode.ini"),
                              "[Program]\r\nProveskudd=PS\r\nEnkeltskudd=ES\r\nSerie=SE\r\nClearScreen=CS\r\n"
                              "ClearList=CL\r\n[Skivetype]\r\nNSF200=N2\r\nNSF15=N1\r\nDFS300=D3\r\n");
    Settings("Lane1=0\r\n");
    CVI9001 rci;
    ASSERT_TRUE(rci.BarCodeMode());
    Lines("");
    rci.SetLaneOnChannel(1, true);
    rci.SetLaneActive(1, true);
    rci.UpdateControlModes();
    Texts remote = Lines("Ch0 > ");
    ASSERT_EQ(remote.size(), 4u);  // no range type for bar-code systems
    EXPECT_EQ(remote[3], "00 0E 00");

    struct Case {
        int targetType;
        const char* programText;  // null: no text put
    };
    const Case cases[] = {
        {13, "00 6A 4E 32 00"},  // NSF200
        {26, "00 6A 4E 31 00"},  // NSF15
        {0, "00 6A 44 33 00"},   // DFS300
        {17, nullptr},           // no Skivetype entry
        {1, nullptr},            // DFS200: entry, but no text
    };
    for (const Case& c : cases) {
        rci.SetLaneTargetType(1, c.targetType);
        EXPECT_EQ(rci.SetProgram(1, 0, 0), 0);
        Texts puts = Lines("Ch0 > ");
        Texts expected = {"00 04 01"};
        if (c.programText)
            expected.push_back(c.programText);
        EXPECT_EQ(puts, expected) << c.targetType;
        rci.ClearLane(1);
        puts = Lines("Ch0 > ");
        if (c.programText)
            EXPECT_EQ(puts, (Texts{"00 6A 43 53 00", "00 6A 43 4C 00", c.programText})) << c.targetType;
        else
            EXPECT_TRUE(puts.empty()) << c.targetType;
    }
    rci.StartSerie(1, 1, 1);
    EXPECT_EQ(Lines("Ch0 > "), (Texts{"00 6A 43 4C 00", "00 6A 43 53 00", "40 32"}));
    struct MarkCase { int fireKind; const char* text; };
    for (MarkCase m : {MarkCase{1, "00 6A 50 53 00"}, MarkCase{2, "00 6A 45 53 00"}, MarkCase{3, "00 6A 53 45 00"}}) {
        EXPECT_EQ(rci.Mark(1, 1, m.fireKind), 0);
        EXPECT_EQ(Lines("Ch0 > "), (Texts{m.text, "40 32"})) << m.fireKind;
    }
}

TEST_F(VI9001Test, TheProgramListGivesTheShootAndPracticeNumbers)
{
    bvtest::TempFolder::Write(folder.File("DADErevo.INI"),
                              "[SETTINGS]\r\nSystemVersion=60\r\n"
                              "[SHOOT]\r\nNameStr=Skive\r\nModes=1\r\n[PRACTICE]\r\nNameStr=N10\r\n"
                              "[SHOOT]\r\nNameStr=Annet\r\nModes=16\r\n"
                              "[SHOOT]\r\nName Str = s k i v e\r\nModes=16\r\n"
                              "[PRACTICE]\r\nNameStr=e10\r\n[PRACTICE]\r\nNameStr=A10R\r\n[PRACTICE]\r\nNameStr=n10\r\n"
                              "[SHOOT]\r\nNameStr=SKIVE\r\nModes=16\r\n[PRACTICE]\r\nNameStr=DVF-1\r\n");
    Settings("DFS100Nr=7\r\n");
    CVI9001 rci;
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kShoot), 2);  // the first whose modes have bit 4
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kDfs300), 0);
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kDfs200), 1);  // "A10R" begins with "A10"
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kIssf300), 1);
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kIssf200R), 1);
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kDfs100), 7);  // set in the settings
    EXPECT_EQ(rci.ProgramNumber(CVI9001::kDvf), 5);     // after the shoot was found: default
}

TEST_F(VI9001Test, GetDecodesWhatTheSystemSends)
{
    Settings("ChTo=4\r\nLane3=1\r\n");
    CVI9001 rci;
    // A shot: number 5, 12:34:56.78, A 0x0203, B 9, C 50, X 1.5 mm, Y -2.25 mm.
    Command("shot 1 5 4529678 1.5 -2.25 9 50 0203");
    Command("message 2 80 03 00 07");
    Command("message 2 80 04 02");
    Command("message 2 12 34 56");
    OutsideEvent e;
    ASSERT_EQ(rci.Get(1, e), 0);
    EXPECT_EQ(e.code, 0x3C);
    EXPECT_EQ(e.lane, 3);
    EXPECT_EQ(e.number, 5);
    EXPECT_EQ(e.value, 4529678u);
    EXPECT_EQ(e.kind, 3);
    EXPECT_EQ(e.fieldA, 0x0203);
    EXPECT_EQ(e.fieldB, 9);
    EXPECT_EQ(e.fieldC, 50);
    EXPECT_NEAR(e.x, 1.5, 1e-3);
    EXPECT_NEAR(e.y, -2.25, 1e-3);
    EXPECT_EQ(e.length, 34);

    ASSERT_EQ(rci.Get(2, e), 0);  // a lane report maps its channel
    EXPECT_EQ(e.lane, 7);
    EXPECT_EQ(rci.GetChannel(7), 2);
    ASSERT_EQ(rci.Get(2, e), 0);
    EXPECT_EQ(e.code, 0x8004);
    EXPECT_EQ(e.kind, 2);
    EXPECT_EQ(e.lane, 7);
    EXPECT_EQ(rci.Get(2, e), 99);  // a code that means nothing here
    EXPECT_EQ(rci.Get(2, e), 4);   // nothing waits
    EXPECT_EQ(rci.Get(5, e), 4);   // beyond ChTo
    EXPECT_NE(ProgramLog().find("Illegal channel=5!"), std::string::npos);

    // Short and long messages: only what the message covers, at most 256 bytes.
    struct Case { std::string hex; uint16_t number; uint32_t value; int kind; int length; };
    const Case cases[] = {
        {"00 3C 00 09 00 00", 9, 0, 0, 6},
        {"00 41 00 01 00 00 00 02 00 00 00 0C", 1, 2, 0, 12},  // kind 0 with its lane
        {"00 3C 00 02 00 00 00 01 03 00 FF FF 00 02", 2, 1, 3, 14},
        {Zeros(300), 0, 0, 0, 256},
    };
    for (const Case& c : cases) {
        Command("message 0 " + c.hex);
        ASSERT_EQ(rci.Get(0, e), 0) << c.hex.substr(0, 40);
        EXPECT_EQ(e.number, c.number);
        EXPECT_EQ(e.value, c.value);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.length, c.length);
        EXPECT_EQ(e.x, 0);
    }
    EXPECT_EQ(e.lane, 0);

    // Coordinates that are no number or far off are held within a metre.
    Command("message 0 00 3C 00 01 00 00 00 00 03 00 00 00 00 00 00 00 00 00 00 00 7F C0 00 00 C4 7A 20 00");
    ASSERT_EQ(rci.Get(0, e), 0);
    EXPECT_EQ(e.x, 0);
    EXPECT_EQ(e.y, -1000);
}

TEST_F(VI9001Test, PutsNotReadyOrRefusedAreReportedAndLogChLimitsTheLog)
{
    Settings("LogAll=1\r\nLogCh=1\r\nLane1=0\r\nLane2=1\r\n");
    CVI9001 rci;
    Command("refuse 0 1");
    EXPECT_EQ(rci.SetShooter(1, 3, "A"), CVI9001::kPutRefused);
    EXPECT_NE(ProgramLog().find("00:01 SetShooter.PutShooterName failed (5)"), std::string::npos);
    EXPECT_NE(ProgramLog().find("00:01 Put failed (7)!"), std::string::npos);
    Command("notready 1 6");
    const uint8_t m[] = {0x00, 0x5E};
    EXPECT_EQ(rci.Put(1, m, 2), CVI9001::kPutIllegal);
    EXPECT_NE(ProgramLog().find("01:02 Put failed after 6 retries (7)!"), std::string::npos);
    Command("notready 1 5");
    EXPECT_EQ(rci.Put(1, m, 2), 0);
    EXPECT_EQ(rci.Put(12, m, 2), CVI9001::kPutIllegal);

    std::string log = ProgramLog();
    EXPECT_NE(log.find("01:02 Put= 00 5E"), std::string::npos);
    EXPECT_EQ(log.find("00:01 Put="), std::string::npos);  // channel 0 is not logged
    EXPECT_NE(log.find("01:02 Not ready to put"), std::string::npos);
    EXPECT_EQ(log.find("Channel 0 opened"), std::string::npos);
    EXPECT_NE(log.find("Channel 1 opened"), std::string::npos);
}

TEST_F(VI9001Test, TestModeSimulatesTheFirstMessagesOfEachChannel)
{
    Settings("Test=1\r\nChTo=3\r\n");
    CVI9001 rci;
    OutsideEvent e;
    struct Step { int result; uint16_t code; uint16_t lane; };
    const Step steps[] = {
        {0, 0x8003, 3}, {0, 0x8003, 3}, {0, 0x8004, 3},
        {4, 0, 3}, {4, 0, 3}, {4, 0, 3}, {4, 0, 3}, {4, 0, 3}, {4, 0, 3}, {4, 0, 3},  // counter 3..9: the real channel
        {0, 0x8013, 3}, {4, 0, 3},
    };
    int k = 0;
    for (const Step& s : steps) {
        EXPECT_EQ(rci.Get(2, e), s.result) << k;
        if (s.result == 0) {
            EXPECT_EQ(e.code, s.code) << k;
            EXPECT_EQ(e.lane, s.lane) << k;
        }
        ++k;
    }
    EXPECT_EQ(rci.GetChannel(3), 2);
    EXPECT_EQ(e.length, 0);
}

TEST_F(VI9001Test, WithoutTheLibraryTheObjectStaysClosed)
{
    unlink(folder.File("libRCI2000.so").c_str());
    Settings("Lane1=0\r\n");
    CVI9001 rci;
    EXPECT_FALSE(rci.IsOpen());
    EXPECT_EQ(rci.State(), 0);
    const uint8_t m[] = {0, 0};
    EXPECT_EQ(rci.Put(0, m, 2), CVI9001::kPutNoProtocol);
    OutsideEvent e;
    EXPECT_EQ(rci.Get(0, e), CVI9001::kGetNotOpen);
    EXPECT_NE(ProgramLog().find("Failed to load .\\RCI2000!"), std::string::npos);
}

TEST_F(VI9001Test, ClosingPutsRemoteLanesBackToLocal)
{
    Settings("Lane1=0\r\n");
    {
        CVI9001 rci;
        rci.SetLaneOnChannel(1, true);
        rci.SetLaneActive(1, true);
        rci.UpdateControlModes();
        Lines("");
    }
    Texts all = Lines("Ch0 ");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], "> 00 04 00");
    EXPECT_EQ(all.back(), "deleted");
}
}  // namespace
