#pragma once
// The protocol of a USB line adapter, run on the line object's USB thread.
// The adapter runs the serial bus of its line by itself (polls, retries,
// acknowledgements); the program hands it messages in frames (UsbFrame),
// takes what the units sent, and keeps the adapter's firmware at the
// version the program carries (UsbFirmware).
//
// States: 0 not open (tried once a second), 2 checking firmware version and
// mode, 3 loading firmware, 4 version good, waiting for the application,
// 1 running. The line state the range control shows: 2 on a version match,
// 1 while firmware loads; it keeps its value when the adapter is lost.
#include "foundation/files/BVLog.h"
#include "line/LineChannel.h"
#include "line/usb/UsbAdapter.h"
#include "line/usb/UsbFirmware.h"
#include "line/usb/UsbInbox.h"

#include <atomic>
#include <memory>
#include <string>

class CUsbProt {
public:
    enum State { kNotReady = 0, kRunning = 1, kChecking = 2, kUpdating = 3, kWaitApplication = 4 };

    // firmware: the image to keep the adapter at; null keeps any version.
    CUsbProt(std::shared_ptr<LineChannel> channel, const UsbFirmwareImage* firmware);
    virtual ~CUsbProt();
    CUsbProt(const CUsbProt&) = delete;
    CUsbProt& operator=(const CUsbProt&) = delete;

    // Runs the adapter with this serial text until Stop.
    void StartUSB(const char* serial);
    // From any thread.
    void Stop();
    // Sends the set-up frame (USB thread only).
    void SetUp(int type, int lowest, int highest);
    // The next frame from the adapter into the frame buffer: its size or 0.
    size_t USBReadEvent(int waitMs);
    // Loads the firmware into the adapter's boot loader.
    bool USBSoftWareSend();

    int State() const { return m_state.load(std::memory_order_acquire); }

    // Handles a frame taken from the adapter: what units sent, failure
    // counts, send results. The USB thread's; the fuzz target calls it too.
    void HandleFrame(const uint8_t* frame, size_t size);

private:
    void NotReadyStep();
    void CheckingStep();
    void UpdatingStep();
    void WaitApplicationStep();
    void RunningStep();
    void Lost();
    void HandleMessage(const uint8_t* frame, size_t size);
    void HandleFailureCounts(const uint8_t* frame, size_t size);
    void HandleResult(const uint8_t* frame);
    void SendNext();
    // The slot of a registered lane 1..100, or null.
    LaneSlot* Registered(int targetAddress);
    bool Send(const uint8_t* frame, size_t size);
    // A command frame followed by the adapter's pause.
    void SendCommand(uint8_t command);
    // Sleeps, but wakes when the run is stopped.
    void Pause(unsigned ms);

    std::shared_ptr<LineChannel> m_channel;
    const UsbFirmwareImage* m_firmware;
    CBVLog m_log;
    UsbAdapter m_adapter;
    UsbInbox m_inbox;
    std::string m_serial;
    std::atomic<int> m_state{kNotReady};
    std::atomic<bool> m_stop{false};
    platform::Event m_stopEvent;
    bool m_open = false;
    int m_txState = 0;
    int m_noAnswer = 0;
    bool m_awaitingResult = false;
    uint64_t m_sentId = 0;
    uint8_t m_sentAddressByte = 0;
    uint32_t m_lastSent = 0;
    uint32_t m_lastReceived = 0;
};
