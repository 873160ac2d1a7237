// Bytes off a serial bus, with any timing, through the receive side: the
// framer and its silences, then the decoder and the classifier on every
// frame it hands on. Decoded messages are built into frames again and must
// come back unchanged.
//
// Input: a sequence of steps. Each step is a control byte, then for a read
// that many bytes: control bit 7 clear: a read of (control & 0x3F) bytes,
// arriving (next byte) tenths of a millisecond after the last step; bit 7
// set: a quiet look (control & 0x3F) milliseconds later, with bit 6 setting
// whether an answer is awaited.
#include "line/LineReceiver.h"
#include "line/SerialFrame.h"
#include "platform/system/Clock.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Sink : LineReceiverSink {
    int64_t end = 0;
    bool answer = false;
    int64_t TransmissionEnd() override { return end; }
    bool TransmitBusy() override { return false; }
    bool AnswerPending() override { return answer; }
    void ClearAnswer() override { answer = false; }
    void SignalFrame() override {}
    void SignalBurstEnd() override {}
    bool KickAllowed() override { return true; }
    void EchoSeen() override {}
    void FrameStored(const LineMessage&) override {}
};

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void Examine(const LineMessage& raw, int slot)
{
    Check(raw.data[0] <= SerialFrame::kMaxReceivedFrame);
    for (int mode : {1, 3})
        SerialFrame::Classify(raw, slot, mode, slot);
    LineMessage m = raw;
    DecodeResult r = SerialFrame::Decode(m, true);
    if (raw.data[0] < 3) {
        Check(!r.decoded && std::memcmp(&m, &raw, sizeof m) == 0);
        return;
    }
    Check(r.slot >= 0 && r.slot < 64);
    if (!r.decoded) {
        Check(m.data[0] == 0);
        return;
    }
    int n = m.data[0];
    Check(n >= 1 && n + 2 <= raw.data[0]);
    Check(m.data[n + 2] == SerialFrame::kEnd);
    LineMessage frame;
    if (!SerialFrame::Build(m, r.slot, false, frame))
        return;
    Check(frame.data[0] <= SerialFrame::kMaxSentFrame);
    for (int k = 1; k < frame.data[0]; ++k)
        Check(frame.data[k] != SerialFrame::kEnd);
    DecodeResult again = SerialFrame::Decode(frame, true);
    Check(again.decoded && frame.data[0] == n && std::memcmp(frame.data + 2, m.data + 2, static_cast<size_t>(n - 1)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LineRing ring;
    Sink sink;
    LineReceiver receiver(ring, sink, LineTiming::ForBaud(9600), nullptr, 1);
    const int64_t tenth = platform::HighResFrequency() / 10000;
    int64_t now = 1000 * 10 * tenth;
    receiver.Start(now);
    size_t at = 0;
    int slot = size ? data[0] & 0x3F : 0;
    while (at < size) {
        uint8_t control = data[at++];
        if (control & 0x80) {
            now += (control & 0x3F) * 10 * tenth;
            sink.answer = control & 0x40;
            receiver.OnQuiet(now);
        } else {
            if (at >= size)
                break;
            now += data[at++] * tenth;
            size_t k = std::min<size_t>(control & 0x3F, size - at);
            if (k)
                receiver.OnBytes(data + at, k, now);
            at += k;
        }
        while (LineMessage* r = ring.ReadRecord()) {
            Examine(*r, slot);
            ring.Pop();
        }
        // Our own transmissions now and then, for the echo test.
        if (control == 0x7F)
            sink.end = now;
    }
    // The input as one received record, too.
    LineMessage raw{};
    size_t count = std::min<size_t>(size, 255);
    std::memcpy(raw.data + 1, data, count);
    raw.data[0] = static_cast<uint8_t>(count);
    Examine(raw, slot);
    return 0;
}
