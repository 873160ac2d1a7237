#pragma once
// The frames between the program and a USB line adapter:
//   [command] [length] ... [0xFF]
// The length counts every byte of the frame, command and 0xFF included.
// Inside a frame's escaped range a data byte 0xFF goes as 0xFE 0x0F and 0xFE
// as 0xFE 0x0E, so that 0xFF only ends frames. Pure byte work; the protocol
// (CUsbProt) adds the line's queues and the device.
#include "line/LineMessage.h"

#include <cstddef>
#include <cstdint>

class UsbFrame {
public:
    static constexpr uint8_t kEnd = 0xFF;
    static constexpr uint8_t kEscape = 0xFE;

    // Commands to the adapter.
    static constexpr uint8_t kSetUp = 0x10;
    static constexpr uint8_t kMessage = 0x12;
    static constexpr uint8_t kOtherVersion = 0x19;  // the adapter is to take new firmware
    static constexpr uint8_t kStatus = 0xE0;
    static constexpr uint8_t kHalfPage = 0xE2;
    static constexpr uint8_t kRun = 0xE9;
    // From the adapter.
    static constexpr uint8_t kFailureCounts = 0x11;
    static constexpr uint8_t kSendResult = 0x13;

    // Set-up types.
    static constexpr uint8_t kSetUpMode1 = 1;
    static constexpr uint8_t kSetUpMode3 = 2;
    static constexpr uint8_t kSetUpSlow = 16;
    static constexpr uint8_t kSetUpEnd = 128;

    // The longest message a message frame carries (its length n).
    static constexpr int kMaxMessage = 100;
    // Room enough for any frame the program builds.
    static constexpr size_t kMaxFrame = 256;

    // A frame of three bytes: command, 3, 0xFF.
    static size_t Command(uint8_t command, uint8_t* out);
    static size_t SetUp(uint8_t type, uint8_t lowest, uint8_t highest, uint8_t* out);
    // The status request: two bytes 0xFF first, so that the adapter drops
    // anything half received.
    static size_t StatusRequest(uint8_t* out);
    // The frame of a message of length n (1..100) at tickNow; 0 when the
    // message cannot go in a frame.
    static size_t Message(const LineMessage& message, uint32_t tickNow, uint8_t* out);
    // Half (1 or 2) of a 64-byte firmware page.
    static size_t HalfPage(const uint8_t* image, int page, int half, uint8_t* out);

    // Undoes the escapes of frame[from..last] (a pair starting at last still
    // counts); returns the new frame size.
    static size_t Unescape(uint8_t* frame, size_t size, size_t from, size_t last);

    // The adapter's status frame.
    struct Status {
        uint8_t major = 0, minor = 0, mode = 0, bootMajor = 0, bootMinor = 0;
    };
    static constexpr uint8_t kModeApplication = 2;
    static bool ReadStatus(const uint8_t* frame, size_t size, Status& status);

private:
    static size_t PutEscaped(uint8_t byte, uint8_t* out);
};
