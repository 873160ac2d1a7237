#pragma once
// The record of every message that passes through a line channel, in either
// direction: 256 bytes of message as the line carries it, then the line's own
// bookkeeping. Records are always copied whole.
//
// Bytes 0..255:
//   0      length n: the index of the last payload byte (payload at 2..n);
//          in raw form the number of frame bytes instead
//   1      address byte (of a received frame; the frame builder writes it
//          for outgoing messages)
//   2..n   the target message: 0x40, command code, lane, ... in commands
//   n + 1  checksum
// In raw form (raw flag set, and every frame as it came off the line) bytes
// 1..count hold the frame bytes, the carriage return last.
#include <cstddef>
#include <cstdint>

struct LineMessage {
    uint8_t data[256];
    uint8_t targetAddress;   // 256: the lane sent to, or the lane registered on the slot received from
    uint8_t slot;            // 257
    uint8_t portIndex;       // 258: the channel, 0..3
    uint8_t broadcast;       // 259: to or from all units (slot 60)
    uint8_t answerFromLane;  // 260: the range control's own mark; the line leaves it alone
    uint8_t raw;             // 261: bytes 0.. hold a ready frame
    uint8_t copyDirection;   // 262: in a copy for the line monitor, 0 received, 1 sent
    uint8_t answerExpected;  // 263: the unit must acknowledge the frame
    uint8_t triesLeft;       // 264
    uint8_t unused265[3];
    uint32_t tick;           // 268: millisecond tick when queued, decoded or copied
    uint8_t agePosition;     // 272: where the age stamp goes in the payload
    uint8_t ageMode;         // 273: 0 none; high nibble width, low nibble unit
    uint8_t unused274[22];

    uint8_t Length() const { return data[0]; }
};

static_assert(sizeof(LineMessage) == 296, "a line record is 296 bytes");
static_assert(offsetof(LineMessage, targetAddress) == 256);
static_assert(offsetof(LineMessage, broadcast) == 259);
static_assert(offsetof(LineMessage, raw) == 261);
static_assert(offsetof(LineMessage, answerExpected) == 263);
static_assert(offsetof(LineMessage, triesLeft) == 264);
static_assert(offsetof(LineMessage, tick) == 268);
static_assert(offsetof(LineMessage, agePosition) == 272);
static_assert(offsetof(LineMessage, ageMode) == 273);

// The three queues of a line channel.
enum class QueueKind { Received = 1, Send = 2, Copies = 3 };
