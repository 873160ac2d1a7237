#pragma once
// The frames of the serial bus and what the line does with them: slot
// mapping, the weighted checksum, escaping, age stamps, building, decoding
// and classifying. Pure byte work; the line channel adds what it knows (its
// port index, the lanes registered on its slots, the time).
//
// On the bus every frame ends with 0x0D and 0x0D never occurs inside one:
//   message      0x80 + slot (0xC0 + slot from a unit, 0xBC to or from all),
//                escaped payload, escaped checksum, 0x0D
//   poll         0x40 + slot, 0x0D
//   acknowledge  0x02, 0x0D
//   nothing      0x01, 0x0D (a unit's answer to a poll)
// A payload or checksum byte 0x00..0x0F goes out as 0x0F, byte | 0x10.
#include "line/LineMessage.h"

#include <cstdint>

enum class FrameClass {
    Empty,
    Acknowledge,
    NothingToSend,
    OwnPoll,
    Other,
    MessageFromSlot,
    BroadcastMessage,
};

enum class AgeStamp {
    None,         // the message asks for no stamp
    Written,
    Meaningless,  // a unit above 3: logged, stamped in seconds
    Refused,      // a width other than 1, 2 or 4, or a place outside the payload: logged, not stamped
};

struct DecodeResult {
    bool decoded = false;  // false: too short, or a checksum mismatch
    bool tooShort = false;
    int slot = 0;
    int n = 0;                 // index of the last payload byte
    uint8_t received = 0;      // checksum in the frame
    uint8_t computed = 0;
};

class SerialFrame {
public:
    static constexpr uint8_t kEnd = 0x0D;
    static constexpr uint8_t kEscape = 0x0F;
    static constexpr uint8_t kAcknowledge = 0x02;
    static constexpr uint8_t kNothingToSend = 0x01;
    static constexpr uint8_t kPollBase = 0x40;
    static constexpr uint8_t kMessageBase = 0x80;
    static constexpr uint8_t kUnitBase = 0xC0;
    static constexpr uint8_t kBroadcastAddress = 0xBC;
    static constexpr int kBroadcastSlot = 60;
    static constexpr int kSlotCount = 65;
    // The transmit side holds 200 bytes of a frame: address byte to carriage
    // return at most 199.
    static constexpr int kMaxSentFrame = 199;
    static constexpr int kMaxReceivedFrame = 255;
    // The last payload index that still leaves room for the checksum.
    static constexpr int kMaxPayloadEnd = 254;

    // The slot of a target address in an addressing mode (the low four bits
    // of the line's mode); address 0 is the broadcast slot. -1 when the
    // address gives no slot 0..64.
    static int SlotOf(int addressingMode, int targetAddress);

    // Sum of byte i times i over positions 2..n, modulo 256.
    static uint8_t Checksum(const uint8_t* data, int n);

    // The bytes a payload or checksum byte becomes on the line: 1 or 2.
    static int Escape(uint8_t byte, uint8_t out[2]);

    // Writes the age stamp the message asks for: (tickNow - its tick) mod
    // 65536 milliseconds, in the unit and width of its age mode.
    static AgeStamp StampAge(LineMessage& message, uint32_t tickNow);

    // Builds the frame of message (length n at position 0) for a slot into
    // out in raw form, and stores the checksum at n + 1 of the message. The
    // age stamp is the caller's (StampAge) and comes first. False, with out
    // and the message untouched, when n is outside 2..254 or the escaped
    // frame would be longer than the line carries.
    static bool Build(LineMessage& message, int slot, bool broadcast, LineMessage& out);
    // The frame's escaped length (address byte to carriage return), or -1
    // when n is outside 2..254.
    static int FrameLength(const LineMessage& message);

    // Turns a received frame in raw form into a message in place (position 0
    // becomes n). A record shorter than 3 bytes is left alone; a checksum
    // mismatch, unless testChecksum is false, sets position 0 to 0.
    static DecodeResult Decode(LineMessage& record, bool testChecksum);

    // What a received frame in raw form is, against the slot that was polled
    // or sent to. In addressing mode 3 a unit answers with 0x80 plus its
    // number within twenty lanes; registeredAddress is the lane on that slot.
    static FrameClass Classify(const LineMessage& record, int expectedSlot, int addressingMode,
                               int registeredAddress);

    // Raw frames for the transmitter.
    static void BuildPoll(int slot, LineMessage& out);
    static void BuildAcknowledge(uint8_t code, LineMessage& out);
};
