#pragma once
// Frames as a target unit sees the bus: what it hears from the range control
// and what it answers. Written apart from the range control's own frame code
// on purpose, so that a fault there is not mirrored here.
#include <cstdint>
#include <string>
#include <vector>

namespace bvsim {

using Bytes = std::vector<uint8_t>;

// Sum of byte i times i for the payload at positions 2.. (payload[0] is
// position 2), modulo 256.
uint8_t WeightedSum(const Bytes& payload);

// A message frame: address byte, escaped payload and checksum, 0x0D.
// checksumError adds one to the checksum.
Bytes MessageFrame(uint8_t addressByte, const Bytes& payload, bool checksumError = false);

struct HeardFrame {
    enum Kind { Poll, Message, Broadcast, Acknowledge, Other } kind = Other;
    int slot = -1;
    Bytes payload;          // positions 2..n, escapes undone (Message, Broadcast)
    bool checksumOk = false;
};

// What a frame from the range control is; frame holds the bytes up to and
// including the 0x0D.
HeardFrame Hear(const Bytes& frame);

std::string Hex(const Bytes& bytes);

// A unit's shot message from position 2 on ('C', kind 0x20, the slot state
// of a shot with its position), the fields a target fills for every shot.
struct ShotFields {
    int lane = 1, shotNumber = 1, value = 0, x = 0, y = 0;
    int series = 1, relay = 1, competition = 1;
    int hundredths = 0;  // the unit's time of day
    // The levels of the four sensors that heard the shot: the range control
    // rates the shot's pressure by them.
    uint8_t sensors[4] = {28, 27, 29, 28};
};
Bytes ShotPayload(const ShotFields& shot);
// One shot of a monitor's card, from a line "RELAY LANE SERIES VALUE X Y
// [SHOT]": value in rings (10.4), X and Y in mm; SHOT 0 for the next one.
struct CardShot {
    int relay = 1, lane = 1, series = 1, value = 0, x = 0, y = 0, shotNumber = 0;
};
// False for a line that is no such shot (lanes 1-255, series 1-28, values
// 0 to 13.99, shots 0-250).
bool ParseCardLine(const std::string& line, CardShot& shot);

// Writes v's three low bytes, low first, at a message position.
void Put24(Bytes& payload, int position, int v);
// Parses "40 57 05" or "405705"; false on anything else.
bool ParseHex(const std::string& text, Bytes& out);

}  // namespace bvsim
