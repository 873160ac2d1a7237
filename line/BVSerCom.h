#pragma once
// The line object of one line channel: it opens a port carrying a
// half-duplex bus of target units and hides the traffic behind three queues
// of LineMessage records (received, to send, copies for the line monitor).
// On a serial line three threads run the bus (see SerialLine); on a USB line
// (mode bit 0x20) one thread runs the adapter protocol (CUsbProt).
//
// Calling order: construct; PortOpen; AddLane for each lane of the channel;
// then SendMsg, GetMsg, GetLaneSlot and the copy calls from any thread;
// PortClose; destroy (which closes an open line).
//
// Results: PortOpen 1, or
//   -100 already open            -104 port settings not applied
//   -101 port cannot be opened   -107 port errors cannot be cleared
//   -108 port cannot be purged   -110/-111/-112 protocol (or USB)/receive/transmit thread not started
// PortClose 0, or -100 already closed, -103 the port did not close,
//   -150 the protocol thread, -152 the receive or transmit thread did not end.
#include "foundation/files/BVLog.h"
#include "line/LaneSlot.h"
#include "line/LineMessage.h"
#include "line/usb/UsbFirmware.h"
#include "platform/ports/Port.h"
#include "platform/system/Thread.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

class LineChannel;
class SerialLine;
class CUsbProt;

class CBVSerCom {
public:
    CBVSerCom();
    virtual ~CBVSerCom();
    CBVSerCom(const CBVSerCom&) = delete;
    CBVSerCom& operator=(const CBVSerCom&) = delete;

    // Opens COM port portNumber (1..9) with a mode (LineChannel's mode bits)
    // as line channel portIndex. With the USB bit the line runs the adapter
    // named by SetUsbSerial, and portNumber only names the line in the log;
    // the opening succeeds whether the adapter is there or not (LineState).
    int PortOpen(int portNumber, int mode, int portIndex);
    // The same over a port that is already open (a pseudo-terminal or a
    // stream); portNumber names the line in the log.
    int PortOpen(std::unique_ptr<platform::Port> port, int portNumber, int mode, int portIndex);
    int PortClose();

    // Registers a lane on its slot: 0, or -1 when the slot is taken or the
    // lane has none.
    int AddLane(int targetAddress);
    // Queues a message for sending; the line takes it over. Always 0; a
    // message to a lane that is not registered is logged and dropped.
    int SendMsg(std::unique_ptr<LineMessage> message);
    // The oldest received message, or null.
    std::unique_ptr<LineMessage> GetMsg();
    // The slot of a lane, or null when the lane has no slot in the line's
    // addressing mode. Valid as long as the line object, unless a close had
    // to leave a thread behind (the next GetLaneSlot gives the new slot).
    LaneSlot* GetLaneSlot(int targetAddress);
    // The oldest copy for the line monitor, or null.
    std::unique_ptr<LineMessage> GetCopy();
    int CopiesOn();
    int CopiesOff();
    // Adapter serial text for the next opening of a USB line (31 characters kept).
    void SetUsbSerial(const char* text);
    void QueueCopy(const LineMessage& message);
    void SetAllFailures(uint32_t value);
    // Asks that the USB adapter get the line's address range again. Only the
    // USB thread writes to the adapter: the request waits for it.
    void SetupUSB();
    // The adapter firmware a USB line keeps its adapter at, for lines opened
    // after the call; UsbFirmware::Carried() unless a test gives its own.
    void SetUsbFirmware(const UsbFirmwareImage* image) { m_firmware = image; }
    // The range control's count of messages taken from a USB line.
    void CountReceived() { m_receivedCount.fetch_add(1, std::memory_order_relaxed); }
    uint32_t ReceivedCount() const { return m_receivedCount.load(std::memory_order_relaxed); }
    // The adapter protocol's state (CUsbProt::State), -1 when none runs.
    int UsbState() const;

    // 2 on an open serial line; a USB line's adapter state otherwise.
    int LineState() const;
    int PortNumber() const;
    int PortIndex() const;
    int Mode() const;
    size_t QueueCount(QueueKind kind) const;

private:
    int OpenSerial(std::unique_ptr<platform::Port> port, int portNumber, int mode, int portIndex);
    int OpenUsb(int portNumber, int mode, int portIndex);
    int CloseUsb(int portNumber);

    // What the USB thread shares with the line object; held by both, so a
    // thread that does not end in time keeps it alive.
    struct UsbRun {
        std::mutex lock;
        CUsbProt* protocol = nullptr;  // under lock; the thread owns it
        std::atomic<bool> running{false};
        bool stopWanted = false;       // under lock
    };

    CBVLog m_log;
    std::shared_ptr<LineChannel> m_channel;
    std::shared_ptr<SerialLine> m_serial;
    char m_usbSerial[32] = {};
    const UsbFirmwareImage* m_firmware;
    std::shared_ptr<UsbRun> m_usb;
    platform::Thread m_usbThread;
    std::atomic<uint32_t> m_receivedCount{0};
};
