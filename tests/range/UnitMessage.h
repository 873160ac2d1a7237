#pragma once
// A target unit's message as the line hands it to the range control: length,
// address, the unit's header byte, command byte and lane, then the payload.
#include "line/LineMessage.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace bvtest {

inline LineMessage UnitMessage(uint8_t command, int length, int lane, std::vector<uint8_t> payload = {})
{
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    m.data[0] = static_cast<uint8_t>(length);
    m.data[1] = static_cast<uint8_t>(0x80 + lane % 50);
    m.data[2] = 0x40;
    m.data[3] = command;
    m.data[4] = static_cast<uint8_t>(lane);
    for (size_t i = 0; i < payload.size(); ++i)
        m.data[5 + i] = payload[i];
    return m;
}

}  // namespace bvtest
