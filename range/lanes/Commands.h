#pragma once
// Every command the range control sends to a target unit or a lane's
// monitor, as byte layouts. Each command is a small record of the values that
// go into it; Build writes them into a zeroed LineMessage the way the units
// read them. The main frame gathers the values from its lanes, the
// competition and the clock, builds, and routes the message with SendCommand,
// which also sets byte 2 (0x40) and the line's own fields of every copy.
//
// Byte 0 is the length n: bytes 1 to n go on the line. Byte 4 is the lane, or
// 0 (or '<') where the command is for all of them.
#include "line/LineMessage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Cmd {

// Command bytes.
enum : uint8_t {
    kMode = 'r',
    kLaneSetup = 's',
    kProgram = 'v',
    kShotRequest = 'S',
    kCardSummary = 't',
    kSums = 'p',
    kText = 'W',
    kCardOverview = 'x',
    kDeleteMonitorCard = '9',
    kMark = 'Q',
    kMotor = ']',
    kStatusQuery = '?',
    kLight = 'M',
    kShoot = 'u',
    kLift = 'K',
    kClearScreen = 'F',
    kPrintDone = 0xA6,
};

// The address byte the range control writes itself into a few commands; the
// line writes its own anyway.
inline constexpr uint8_t kAddressAll = 0xBC;
// Byte 4 of a command to every lane.
inline constexpr uint8_t kAllLanes = '<';

// Routing flags of SendCommand.
enum : uint8_t {
    kMarkLanes = 0x80,     // mark the lane (or with kEveryLane every active lane) as waiting
    kEveryLane = 0x40,     // one copy to each active lane
    kEveryLine = 0x20,     // one copy to each open line, as a message to all units
    kEvenDisabled = 0x10,  // to the one lane even when it does not take part
};

// The age stamp of the mode command: a 2-byte age in 1/100 s at byte 6.
inline constexpr uint8_t kAgeHundredths2 = 0x22;

}  // namespace Cmd

// 'r': the mode of the targets with the state of the shooting clock.
struct ModeCmd {
    int lane = 0;                // 0: all lanes
    int mode = 0;                // as given; bit 3 also bases the age on the clock's start
    bool shooterClock = false;   // the competition shows the clock on the monitors
    int hour = 0, minute = 0, second = 0;  // the range control's local time
    uint32_t builtTick = 0;      // tick count (ms) when built
    uint32_t clockStartTick = 0; // tick count when the shooting clock was last started
    bool clockRunning = false;
    int clockMode = 1;           // 2: an extra period follows, then the clock stops
    int periodSeconds = 0;
    int extraSeconds = 0;
    // The timing of the current series (turning targets).
    int delay = 0, green = 0, red = 0, rep = 0;

    static constexpr int kLength = 27;
    void Build(LineMessage& m) const;
};

// 's' (39 bytes): the lane's whole set-up, from its card and the competition.
struct LaneSetupCmd {
    int lane = 0;
    int flags = 0;                // byte 5 as the caller gives it
    bool takingPart = false;      // enabled (or the twin lane) and not the practice competition
    int sensitivity = 0;          // the card's, 0 none
    int bandLength = 0;           // card byte 8
    int bandFrequency = 0;        // card byte 7
    int relay = 0;
    int markKind = -1;            // the stored mark kind (2,1,711)
    int zoomMode = 1;             // (2,1,8)
    int competition = 0;
    int day = 0, month = 0, year = 0;  // today
    int targetCode = 0;           // the card's target type as the units know it
    int bulletRadius200 = 0;      // bullet radius x 200 of the target type
    int distance = 100;           // (2,1,5)
    int simulatedDistance = 100;  // (2,1,6)
    int seriesMeasure = 0;        // (2,1,4)
    int tempo = 3;                // (2,1,2)
    int externalEquipment = 0;    // range (1,1,1)
    int programEquipment = 0;
    int zoomLevel = 8;            // (2,1,10)
    int decimals = 1;             // (2,1,18)
    std::string options;          // the competition's 30 option characters
    int valueSystem = 0;          // the card's
    bool practice = false;
    int series = 0;               // the lane's current series

    static constexpr int kLength = 39;
    void Build(LineMessage& m) const;
};

// 's' reset (12 bytes), to every unit at start-up.
struct LaneResetCmd {
    static constexpr int kLength = 12;
    void Build(LineMessage& m) const;
};

// 'v' (62 bytes): which series have shots and how many.
struct ProgramCmd {
    int lane = 0;
    bool practice = false;
    // Per series 1..28 (index 0 unused): the program's shots, and bits 0 and 1
    // of the series byte (see SeriesBits).
    int shots[29] = {};
    uint8_t bits[29] = {};

    // Bits 0 and 1 of a series' byte: on turning targets (range equipment 1,
    // program equipment 1 or 129) which of the two faces the series uses;
    // with lifts (program equipment 3 or 131, range equipment 3 or 4) the
    // shooter's class flags for the series; otherwise bit 0.
    static uint8_t SeriesBits(int externalEquipment, int programEquipment, int seriesTarget, int classFlag);

    static constexpr int kLength = 62;
    void Build(LineMessage& m) const;
};

// 'S' (9 bytes): the lane's unit is to send shots first..last again.
struct ShotRequestCmd {
    int lane = 0;
    int first = 0;
    int last = 0;
    bool fetching = false;  // for a card printed from the monitor

    static constexpr int kLength = 9;
    void Build(LineMessage& m) const;
};

// 't': the card summary by which the monitor compares its card with ours.
struct CardSummaryCmd {
    int lane = 0;
    int kind = 1;           // 7 a card check, 1 otherwise
    int relay = 0;          // kind 7: the lane's relay; kind 1 while fetching: the print request's
    int competition = 0;    // kind 7
    int shots = 0;          // kind 7: the shots n on the card
    int shotsSum = 0;       // kind 7: 24 bits
    std::vector<uint8_t> checks;  // kind 7: n / 10 check bytes
    bool fetching = false;  // kind 1 while a card is fetched for printing
    int printSeries = 0;

    void Build(LineMessage& m) const;
};

// 'p' (19 bytes): the running sums of a series shown shot by shot on the twin lane.
struct SumsCmd {
    enum : int { kShot = 2, kClear = 128 };
    int kind = kShot;
    int laneShown = 0;
    int seriesShown = 0;
    int zoomMode = 1;          // (2,1,8); sent + 1
    int seriesTenths = 0;      // running total of the series
    int totalTenths = 0;       // with the earlier series
    int shotIndex = 0;         // sent + 1
    int valueTenths = 0;
    int runByte = 0;           // byte 15, see RunByte
    int xMicrometres = 0;
    int yMicrometres = 0;

    // Byte 15: by the range's external equipment (1,1,1): 1 the shot's byte
    // 44; 2 the run number of the shot's byte 44 (a) against that of the
    // series' first marked shot (b); otherwise the shot number.
    static int RunByte(int externalEquipment, int shotByte44, int firstByte44, int shotNumber);
    // Micrometres to the 1/32 mm of the monitors, kept below the value that
    // means "no coordinates" instead of wrapping into it.
    static int16_t Scaled(int micrometres);
    static constexpr int kNoCoordinates = 32000;

    static constexpr int kLength = 19;
    void Build(LineMessage& m) const;
};

// 'W': a line of text in the middle of the monitor.
struct TextCmd {
    int lane = 0;
    std::string text;

    // What a record can carry.
    static constexpr int kMaxText = 243;
    void Build(LineMessage& m) const;
};

// 'Q' (11 bytes): the shoot command of a series, the mark command that
// shows its shots on the monitors, and the mark command of a lane whose
// shots the twin lane shows.
struct MarkCmd {
    enum Form { kShoot, kMark, kTwinMark };
    Form form = kShoot;
    int series = 0;
    bool seriesMarking = false;  // series or blocked marking, not single shots
    int tempo = 3;               // (2,1,2)
    int zoomMode = 1;            // (2,1,8); sent + 1
    bool shooterClock = false;   // the monitors show the clock (marking forms only)

    static constexpr int kLength = 11;
    void Build(LineMessage& m) const;
};

// 'p' (19 bytes) to the twin lane: the marking of the series starts, its
// sums follow shot by shot.
struct TwinMarkCmd {
    int series = 0;
    int zoomMode = 1;  // (2,1,8); sent + 1

    static constexpr int kLength = 19;
    void Build(LineMessage& m) const;
};

// 'W': a line of text at a place of the monitor's screen, in one of its
// sizes. Lane 0 writes '<' for all lanes.
struct ScreenLineCmd {
    int lane = 0;
    int column = 0;
    int row = 0;
    int size = 0;
    std::string text;

    static constexpr int kMaxText = 243;
    void Build(LineMessage& m) const;
};

// 'F' (5 bytes): the monitor clears its screen for the lines that follow.
struct ClearScreenCmd {
    static constexpr int kLength = 5;
    void Build(LineMessage& m) const;
};

// 'p' (19 bytes) to every monitor during a final: a lane's card loaded, a
// shot revealed with the running sums, or the end of the marking.
struct FinalMarkCmd {
    enum : int { kLoaded = 1, kShot = 2, kEnd = 128 };
    int kind = kLoaded;
    int lane = 0;
    int series = 0;
    int zoom = 3;            // 1..3 as sent
    int markedSum = 0;       // hundredths
    int startValue = 0;      // hundredths
    int shotIndex = 0;       // kShot: 1..
    int valueHundredths = 0; // kShot
    int runByte = 0;         // kShot: byte 15
    int x = SumsCmd::kNoCoordinates;  // kShot: already scaled
    int y = SumsCmd::kNoCoordinates;

    // Micrometres to the monitors' units for the distance simulated, kept
    // below the value that means "no shot".
    static int Scaled(int micrometres, int simulatedDistance, int actualDistance);

    static constexpr int kLength = 19;
    void Build(LineMessage& m) const;
};

// 'W' (to every monitor) during a final: the lane and shooter marked now.
struct FinalNameCmd {
    int lane = 0;
    std::string name;

    void Build(LineMessage& m) const;
};

// 'x': the card as the range control has it, by position and line, so the
// monitor can see what it lacks. Sent in parts of about 64 bytes.
struct CardOverviewCmd {
    // One shot of the card, in display order.
    struct Shot {
        uint16_t flags = 0;
        uint8_t series = 0;         // ShotRecord byte 35, fired in
        uint8_t countingSeries = 0; // byte 36, counts in
        uint8_t position = 0;       // byte 20
        int countedValue = 0;
    };
    int lane = 0;
    int startScore = 0;
    int seriesShots[29] = {};  // the program's shots per series 1..28
    std::vector<Shot> shots;

    static constexpr int kLines = 25;     // lines 0..24 are kept
    static constexpr int kPartEnd = 64;   // an entry starting after this byte opens a new part

    // The first card line of every series (0 for a series without shots).
    void FirstLines(int first[29]) const;
    std::vector<LineMessage> Build() const;
};

// 'Q' zoom (11 bytes).
struct ZoomCmd {
    int lane = 0;    // 0: all lanes
    int series = 0;
    int tempo = 3;   // (2,1,2)
    int level = 0;   // 0..2

    static constexpr int kLength = 11;
    void Build(LineMessage& m) const;
};

// The short commands: the lane and at most one value.
struct LaneValueCmd {
    uint8_t command = 0;
    int length = 4;
    int lane = 0;
    int value = 0;         // byte 5, when the length reaches it
    bool address = false;  // write the range control's address byte

    // '9': the monitor forgets its card.
    static LaneValueCmd DeleteMonitorCard(int lane) { return {Cmd::kDeleteMonitorCard, 4, lane}; }
    // ']': the band motor; lane 0 for all.
    static LaneValueCmd Motor(int lane, int value) { return {Cmd::kMotor, 5, lane, value}; }
    // '?': every unit reports its state.
    static LaneValueCmd StatusQuery() { return {Cmd::kStatusQuery, 5, Cmd::kAllLanes, 255, true}; }
    // 'u': shoot; lane 0 for all.
    static LaneValueCmd Shoot(int lane, int value) { return {Cmd::kShoot, 6, lane, value, true}; }
    // 'K': the target lift to a position code (LiftCode).
    static LaneValueCmd Lift(int lane, int code) { return {Cmd::kLift, 5, lane, code}; }
    // 0xA6: the card the monitor asked to print is printed.
    static LaneValueCmd PrintDone(int lane) { return {Cmd::kPrintDone, 4, lane}; }

    // The code a lift position is sent as: '3' prone, '4' kneeling,
    // '5' standing and '6' give '6' to '9'; anything else ':'.
    static int LiftCode(int position);

    void Build(LineMessage& m) const;
};

// 'M' (13 bytes): the lamps of one lane, three intensities.
struct LightCmd {
    int lane = 0;
    int intensity[3] = {};

    static constexpr int kLength = 13;
    void Build(LineMessage& m) const;
};
