#include "line/usb/UsbFrame.h"

#include "line/SerialFrame.h"

#include <cstring>

size_t UsbFrame::PutEscaped(uint8_t byte, uint8_t* out)
{
    if (byte == kEnd || byte == kEscape) {
        out[0] = kEscape;
        out[1] = byte == kEnd ? 0x0F : 0x0E;
        return 2;
    }
    out[0] = byte;
    return 1;
}

size_t UsbFrame::Command(uint8_t command, uint8_t* out)
{
    out[0] = command;
    out[1] = 3;
    out[2] = kEnd;
    return 3;
}

size_t UsbFrame::SetUp(uint8_t type, uint8_t lowest, uint8_t highest, uint8_t* out)
{
    const uint8_t f[] = {kSetUp, 6, type, lowest, highest, kEnd};
    std::memcpy(out, f, sizeof f);
    return sizeof f;
}

size_t UsbFrame::StatusRequest(uint8_t* out)
{
    const uint8_t f[] = {kEnd, kEnd, kStatus, 3, kEnd};
    std::memcpy(out, f, sizeof f);
    return sizeof f;
}

size_t UsbFrame::Message(const LineMessage& m, uint32_t tickNow, uint8_t* out)
{
    int n = m.data[0];
    if (n < 1 || n > kMaxMessage)
        return 0;
    bool all = m.broadcast != 0;
    out[0] = kMessage;
    out[2] = 2;
    out[3] = all ? 0 : m.targetAddress;
    out[4] = all ? SerialFrame::kBroadcastSlot : m.slot;
    out[5] = 0;
    out[6] = m.agePosition;
    out[7] = m.ageMode;
    out[11] = all ? SerialFrame::kBroadcastAddress : static_cast<uint8_t>(SerialFrame::kMessageBase | m.slot);
    // The first two payload bytes (0x40 and the command) never need escaping
    // and go as they are; the rest is escaped.
    size_t at = 12;
    for (int k = 2; k <= n; ++k) {
        if (at < 14)
            out[at++] = m.data[k];
        else
            at += PutEscaped(m.data[k], out + at);
    }
    size_t escapes = at - 12 - static_cast<size_t>(n - 1);
    out[at++] = kEnd;
    out[1] = static_cast<uint8_t>(n + 12 + escapes);
    out[10] = static_cast<uint8_t>(n + escapes);
    // The adapter stamps the age into the message when it goes on the bus.
    uint16_t age = static_cast<uint16_t>(tickNow - m.tick);
    out[8] = static_cast<uint8_t>(age >> 8);
    out[9] = static_cast<uint8_t>(age);
    return at;
}

size_t UsbFrame::HalfPage(const uint8_t* image, int page, int half, uint8_t* out)
{
    unsigned offset = static_cast<unsigned>(page) * 64;
    out[0] = kHalfPage;
    out[2] = static_cast<uint8_t>(offset >> 8);
    out[3] = static_cast<uint8_t>(offset);
    out[4] = static_cast<uint8_t>(half);
    size_t at = 5;
    const uint8_t* from = image + offset + (half == 2 ? 32 : 0);
    for (int k = 0; k < 32; ++k)
        at += PutEscaped(from[k], out + at);
    out[at++] = kEnd;
    out[1] = static_cast<uint8_t>(at);
    return at;
}

size_t UsbFrame::Unescape(uint8_t* frame, size_t size, size_t from, size_t last)
{
    for (size_t i = from; i <= last && i + 1 < size; ++i) {
        if (frame[i] != kEscape || (frame[i + 1] != 0x0F && frame[i + 1] != 0x0E))
            continue;
        frame[i] = frame[i + 1] == 0x0F ? kEnd : kEscape;
        std::memmove(frame + i + 1, frame + i + 2, size - i - 2);
        --size;
        if (last > 0)
            --last;
    }
    return size;
}

bool UsbFrame::ReadStatus(const uint8_t* f, size_t size, Status& s)
{
    if (size < 8 || f[0] != kStatus || f[1] != 8 || f[7] != kEnd)
        return false;
    s.major = f[2];
    s.minor = f[3];
    s.mode = f[4];
    s.bootMajor = f[5];
    s.bootMinor = f[6];
    return true;
}
