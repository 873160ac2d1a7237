#include "line/SerialFrame.h"

#include <cstring>

int SerialFrame::SlotOf(int addressingMode, int a)
{
    if (a == 0)
        return kBroadcastSlot;
    if (a < 0)
        return -1;
    int slot;
    switch (addressingMode & 0x0F) {
    case 1: slot = ((a - 1) % 50) + 1; break;
    case 2: slot = ((a - 1) % 20) + 1; break;
    case 3: slot = ((a - 1) % 20) / 2 + ((a % 2) ? 31 : 41); break;
    case 4: slot = ((a - 1) % 10) + 21; break;
    default: slot = a; break;
    }
    return slot < kSlotCount ? slot : -1;
}

uint8_t SerialFrame::Checksum(const uint8_t* data, int n)
{
    unsigned sum = 0;
    for (int i = 2; i <= n && i < 256; ++i)
        sum += static_cast<unsigned>(data[i]) * static_cast<unsigned>(i);
    return static_cast<uint8_t>(sum);
}

int SerialFrame::Escape(uint8_t byte, uint8_t out[2])
{
    if (byte <= 0x0F) {
        out[0] = kEscape;
        out[1] = static_cast<uint8_t>(byte | 0x10);
        return 2;
    }
    out[0] = byte;
    return 1;
}

AgeStamp SerialFrame::StampAge(LineMessage& m, uint32_t tickNow)
{
    if (m.ageMode == 0)
        return AgeStamp::None;
    uint32_t age = (tickNow - m.tick) % 65536u;
    int unit = m.ageMode & 0x0F;
    int width = m.ageMode >> 4;
    AgeStamp result = AgeStamp::Written;
    if (unit > 3) {
        result = AgeStamp::Meaningless;
        unit = 0;
    }
    static const uint32_t kDivisors[4] = {1000, 100, 10, 1};
    uint32_t value = age / kDivisors[unit];
    int n = m.data[0];
    int p = m.agePosition;
    // The stamp lies inside the payload or is not written at all: a stamp
    // past the payload would overwrite the checksum or the line's own fields.
    if ((width != 1 && width != 2 && width != 4) || p < 2 || p + width - 1 > n)
        return AgeStamp::Refused;
    for (int i = 0; i < width; ++i)
        m.data[p + i] = static_cast<uint8_t>(i < 2 ? value >> (8 * i) : 0);
    return result;
}

int SerialFrame::FrameLength(const LineMessage& m)
{
    int n = m.data[0];
    if (n < 2 || n > kMaxPayloadEnd)
        return -1;
    uint8_t checksum = Checksum(m.data, n);
    int length = 2;  // address byte and carriage return
    for (int i = 2; i <= n; ++i)
        length += m.data[i] <= 0x0F ? 2 : 1;
    length += checksum <= 0x0F ? 2 : 1;
    return length;
}

bool SerialFrame::Build(LineMessage& m, int slot, bool broadcast, LineMessage& out)
{
    int length = FrameLength(m);
    if (length < 0 || length > kMaxSentFrame)
        return false;
    int n = m.data[0];
    m.data[n + 1] = Checksum(m.data, n);
    std::memset(&out, 0, sizeof out);
    out.data[1] = broadcast ? kBroadcastAddress : static_cast<uint8_t>(kMessageBase + (slot & 0x3F));
    int o = 2;
    for (int i = 2; i <= n + 1; ++i) {
        uint8_t pair[2];
        int k = Escape(m.data[i], pair);
        for (int j = 0; j < k; ++j)
            out.data[o++] = pair[j];
    }
    out.data[o] = kEnd;
    out.data[0] = static_cast<uint8_t>(o);
    out.raw = 1;
    return true;
}

DecodeResult SerialFrame::Decode(LineMessage& r, bool testChecksum)
{
    DecodeResult result;
    int c = r.data[0];
    if (c < 3) {
        result.tooShort = true;
        return result;
    }
    result.slot = r.data[1] & 0x3F;
    // Walk the bytes between the address byte and the carriage return at c;
    // an escape takes the byte after it, which at the very end is that
    // carriage return.
    int out = 1;
    for (int i = 2; i <= c - 1; ++i) {
        uint8_t b = r.data[i];
        if (b == kEscape)
            b = r.data[++i] & 0x0F;
        r.data[++out] = b;
    }
    r.data[out + 1] = kEnd;
    int n = out - 1;
    result.n = n;
    result.received = r.data[n + 1];
    result.computed = Checksum(r.data, n);
    if (testChecksum && result.received != result.computed) {
        r.data[0] = 0;
        return result;
    }
    r.data[0] = static_cast<uint8_t>(n);
    result.decoded = true;
    return result;
}

FrameClass SerialFrame::Classify(const LineMessage& r, int s, int addressingMode, int registeredAddress)
{
    int c = r.data[0];
    if (c == 0)
        return FrameClass::Empty;
    uint8_t first = r.data[1];
    if (c <= 2) {
        if (c == 2 && r.data[2] == kEnd) {
            if (first == kAcknowledge)
                return FrameClass::Acknowledge;
            if (first == kNothingToSend)
                return FrameClass::NothingToSend;
            if (first == kPollBase + s)
                return FrameClass::OwnPoll;
        }
        return FrameClass::Other;
    }
    int messageNumber = s;
    if ((addressingMode & 0x0F) == 3)
        messageNumber = registeredAddress >= 1 ? ((registeredAddress - 1) % 20) + 1 : -1;
    if ((messageNumber >= 0 && first == kMessageBase + messageNumber) || first == kUnitBase + s)
        return FrameClass::MessageFromSlot;
    if (first == kBroadcastAddress)
        return FrameClass::BroadcastMessage;
    return FrameClass::Other;
}

void SerialFrame::BuildPoll(int slot, LineMessage& out)
{
    std::memset(&out, 0, sizeof out);
    out.data[0] = 2;
    out.data[1] = static_cast<uint8_t>(kPollBase + (slot & 0x3F));
    out.data[2] = kEnd;
    out.raw = 1;
    out.answerExpected = 1;
    out.slot = static_cast<uint8_t>(slot);
}

void SerialFrame::BuildAcknowledge(uint8_t code, LineMessage& out)
{
    std::memset(&out, 0, sizeof out);
    out.data[0] = 2;
    out.data[1] = code;
    out.data[2] = kEnd;
    out.raw = 1;
}
