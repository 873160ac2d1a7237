#pragma once
// What a target unit tells of itself when the range control asks for its
// status: the version reply (0x86) and the status reply (0x87), decoded into
// the texts of the unit status list. Bytes by their index in the message:
// 4 the lane, 5..10 the software version (major, minor, century, year,
// month, day); the status reply adds 11..14 and 15..18 two counters, 22 the
// hardware code, 25 flags and 26 the model code.
#include <cstdint>
#include <string>

struct LineMessage;

struct UnitVersionReply {
    int lane = 0;
    std::string version;  // "3.07 2019.04.12"
};

struct UnitStatusReply {
    int lane = 0;
    std::string version;   // with the hardware code: "3.07 2019.04.12 HW=40", "H" added for flag 0x40
    int64_t counter1 = 0;  // each from two 16-bit halves, the upper one worth 10000
    int64_t counter2 = 0;
    int count4 = 0;        // a 4-bit count: of the counters on old hardware, else of the flags
    std::string model;     // the unit model's name, "?????" for an unknown code
};

// Both false, leaving the reply as it was, for a message shorter than the
// bytes read or of another command.
bool DecodeUnitVersion(const LineMessage& m, UnitVersionReply& out);
bool DecodeUnitStatus(const LineMessage& m, UnitStatusReply& out);

