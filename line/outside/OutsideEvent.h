#pragma once
// One message of the outside range system decoded for the range control.
// Messages begin with a 2-byte code, high byte first; numbers inside are
// high byte first, coordinates 32-bit floating-point numbers.
#include <cstddef>
#include <cstdint>

struct OutsideEvent {
    int32_t length = 0;     // of the message
    uint16_t code = 0;
    uint16_t number = 0;    // a shot's number
    uint32_t value = 0;     // a shot's time of day in hundredths of a second
    uint8_t kind = 0;       // kind of a data message, or the status of a status message
    uint8_t subKind = 0;
    uint16_t fieldA = 0;    // flag bits
    uint16_t lane = 0;      // the channel's lane (0 none); a lane message's lane
    double x = 0;           // millimetres, within +-1000
    double y = 0;
    uint16_t fieldB = 0;    // the outside system's ring value
    uint16_t fieldC = 0;    // its score in tenths
    uint8_t byte31 = 0;
    uint32_t bytes32 = 0;   // bytes 32..33
    uint8_t group = 0;      // byte 10 of kind 8
    uint16_t kind5First = 0;
    uint16_t kind5Second = 0;
    uint8_t raw[45] = {};   // the first bytes of the message

    // Message codes the range control acts on.
    enum : uint16_t {
        kLaneReport = 0x8003,
        kLaneReportToo = 0xC003,
        kControl = 0x8004,
        kRowChange = 0x8013,
        kData = 0x003C,
        kDataToo = 0x0041,
    };

    // Decodes a message of length bytes (only the fields it covers); the lane
    // stays as the caller set it unless the message reports one. 0, or 99
    // for a code that carries nothing the range control uses.
    int Decode(const uint8_t* message, size_t length);

    // Coordinates further out than this are no shot on any target: they are
    // held here, so that nothing overflows when they become micrometres.
    static constexpr double kLimitMm = 1000.0;
};
