// Any bytes as a received clock message: reading never fails badly, and a
// message that was accepted reads back the same after it is written again.
#include "foundation/exchange/ClockMessage.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ClockMessage read;
    if (!ClockMessage::Parse(std::string_view(reinterpret_cast<const char*>(data), size), read))
        return 0;
    std::string wire = read.Build();
    if (wire.empty() || wire.back() != '\0')
        __builtin_trap();
    ClockMessage again;
    if (!ClockMessage::Parse(wire, again))
        __builtin_trap();
    if (again.computer != read.computer.substr(0, ClockMessage::kComputerChars) || again.prefix != read.prefix ||
        again.mode != read.mode || again.period != read.period || again.extra != read.extra ||
        again.elapsed != read.elapsed)
        __builtin_trap();
    return 0;
}
