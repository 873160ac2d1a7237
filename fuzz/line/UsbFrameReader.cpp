// Bytes from a USB line adapter, in any pieces, through the inbox and the
// frame handling of the adapter protocol: every frame stays within the
// inbox, every message handed on carries 1..100 payload bytes, and only the
// counters of registered lanes move.
//
// Input: the first byte chooses how many bytes each read brings (1..64);
// the rest is what the adapter sends.
#include "fuzz/FuzzScratch.h"
#include "line/LineChannel.h"
#include "line/usb/CUsbProt.h"
#include "line/usb/UsbInbox.h"
#include "platform/ports/MemoryPort.h"

#include <algorithm>
#include <memory>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::ScratchFolder folder("fuzz-usb");
    static bool moved = [] { return chdir(folder.Path().c_str()) == 0; }();
    (void)moved;
    if (size < 1)
        return 0;
    size_t piece = (data[0] & 0x3F) + 1;
    auto channel = std::make_shared<LineChannel>();
    channel->SetIdentity(11, 0xE1, 0);  // USB, mode 1, with copies
    for (int lane : {1, 7, 40, 100})
        channel->AddLane(lane);
    CUsbProt protocol(channel, nullptr);
    auto [program, adapter] = platform::MemoryPort::MakePair();
    CBVLog log;
    UsbInbox inbox;
    for (size_t at = 1; at < size; at += piece) {
        size_t n = std::min(piece, size - at), written = 0;
        adapter->Write(data + at, n, 10, written);
        while (size_t got = inbox.Take(*program, 0, log)) {
            fuzz::Check(got <= UsbInbox::kSize && inbox.Frame()[got - 1] == 0xFF);
            protocol.HandleFrame(inbox.Frame(), got);
        }
        fuzz::Check(inbox.Fill() < UsbInbox::kSize);
    }
    while (auto m = channel->GetMsg()) {
        fuzz::Check(m->data[0] >= 1 && m->data[0] <= 100);
        fuzz::Check(m->data[m->data[0] + 2] == 0xFF);
        fuzz::Check(m->targetAddress <= 100);
    }
    // Slots of lanes not registered are never counted.
    for (int s = 0; s < 65; ++s) {
        LaneSlot& slot = channel->Slot(s);
        if (!slot.active)
            fuzz::Check(slot.okReceive == 0 && slot.consecutiveFailures == 0);
    }
    return 0;
}
