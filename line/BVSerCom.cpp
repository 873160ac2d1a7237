#include "line/BVSerCom.h"

#include "line/LineChannel.h"
#include "line/SerialLine.h"
#include "line/usb/CUsbProt.h"
#include "platform/system/Clock.h"
#include "platform/ports/SerialPort.h"

#include <cstdio>
#include <cstring>

namespace {

// Closing tells the threads to end and looks this often, this many times,
// before it leaves a thread that has not ended to itself.
constexpr int kCloseRounds = 40;
constexpr unsigned kCloseRoundMs = 50;

}  // namespace

CBVSerCom::CBVSerCom() : m_channel(std::make_shared<LineChannel>()), m_firmware(UsbFirmware::Carried()) {}

CBVSerCom::~CBVSerCom()
{
    if (PortNumber() != 0)
        PortClose();
}

int CBVSerCom::LineState() const { return m_channel->LineState(); }
int CBVSerCom::PortNumber() const { return m_channel->PortNumber(); }
int CBVSerCom::PortIndex() const { return m_channel->PortIndex(); }
int CBVSerCom::Mode() const { return m_channel->Mode(); }
size_t CBVSerCom::QueueCount(QueueKind kind) const { return m_channel->Count(kind); }

int CBVSerCom::PortOpen(int portNumber, int mode, int portIndex)
{
    return PortOpen(nullptr, portNumber, mode, portIndex);
}

int CBVSerCom::PortOpen(std::unique_ptr<platform::Port> port, int portNumber, int mode, int portIndex)
{
    BV_LOG(m_log, 10, "Open Com%d!", portNumber);
    if (PortNumber() != 0) {
        BV_LOG(m_log, 80, "Port %d already open with Com%d!", portIndex, PortNumber());
        return -100;
    }
    if (portNumber < 1) {
        BV_LOG(m_log, 80, "Failed in CreateFile Com%d ErrNo=%d", portNumber, EINVAL);
        return -101;
    }
    m_channel->ClearSlots();
    if (mode & LineChannel::kUsb)
        return OpenUsb(portNumber, mode, portIndex);
    return OpenSerial(std::move(port), portNumber, mode, portIndex);
}

int CBVSerCom::OpenUsb(int portNumber, int mode, int portIndex)
{
    m_channel->SetLineState(0);
    m_channel->SetIdentity(portNumber, mode, portIndex);
    auto run = std::make_shared<UsbRun>();
    run->running.store(true, std::memory_order_release);
    std::shared_ptr<LineChannel> channel = m_channel;
    const UsbFirmwareImage* firmware = m_firmware;
    std::string serial = m_usbSerial;
    int e = m_usbThread.Start("bv-usb", platform::ThreadPriority::AboveNormal, false,
                              [run, channel, firmware, serial, portNumber] {
        CBVLog log;
        BV_LOG(log, 10, "Master protocol thread started for Com%d", portNumber);
        auto protocol = std::make_unique<CUsbProt>(channel, firmware);
        {
            std::lock_guard<std::mutex> hold(run->lock);
            run->protocol = protocol.get();
            if (run->stopWanted)
                protocol->Stop();
        }
        protocol->StartUSB(serial.c_str());
        {
            std::lock_guard<std::mutex> hold(run->lock);
            run->protocol = nullptr;
        }
        protocol.reset();
        BV_LOG(log, 10, "Protocol thread stopped for Com%d", portNumber);
        run->running.store(false, std::memory_order_release);
    });
    if (e != 0) {
        BV_LOG(m_log, 80, "Failed in CreateThread(USB_PROT) for Com%d ErrNo=%d", portNumber, e);
        m_channel->SetIdentity(0, 0, 0);
        return -110;
    }
    m_usb = std::move(run);
    BV_LOG(m_log, 10, "PortOpen OK Com=%d", portNumber);
    return 1;
}

int CBVSerCom::CloseUsb(int portNumber)
{
    int note = 0;
    {
        std::lock_guard<std::mutex> hold(m_usb->lock);
        m_usb->stopWanted = true;
        if (m_usb->protocol)
            m_usb->protocol->Stop();
    }
    for (int round = 0; round < kCloseRounds * 10 && m_usb->running.load(std::memory_order_acquire); ++round)
        platform::SleepMs(kCloseRoundMs / 10);
    if (m_usb->running.load(std::memory_order_acquire)) {
        // Never killed (see the serial line): the thread keeps what it uses
        // and ends on its own; the line object goes on with a fresh channel.
        BV_LOG(m_log, 80, "Protocol thread did not stop for Com%d", portNumber);
        note = -150;
        m_usbThread.Detach();
        m_channel->ClearSlots();
        m_channel->EmptyQueues();
        m_channel->SetIdentity(0, 0, 0);
        m_channel = std::make_shared<LineChannel>();
    } else {
        m_usbThread.Join();
    }
    m_usb.reset();
    return note;
}

int CBVSerCom::UsbState() const
{
    if (!m_usb)
        return -1;
    std::lock_guard<std::mutex> hold(m_usb->lock);
    return m_usb->protocol ? m_usb->protocol->State() : -1;
}

void CBVSerCom::SetupUSB()
{
    if (Mode() & LineChannel::kUsb)
        m_channel->RequestUsbSetUp();
}

int CBVSerCom::OpenSerial(std::unique_ptr<platform::Port> port, int portNumber, int mode, int portIndex)
{
    m_channel->SetLineState(2);
    if (!port) {
        auto serial = std::make_unique<platform::SerialPort>();
        char name[16];
        std::snprintf(name, sizeof name, "COM%d", portNumber);
        if (int e = serial->Open(name); e != 0) {
            BV_LOG(m_log, 80, "Failed in CreateFile Com%d ErrNo=%d", portNumber, e);
            return -101;
        }
        port = std::move(serial);
    }
    // From here on the line counts as open even when a later step fails;
    // the caller closes it.
    m_channel->SetIdentity(portNumber, mode, portIndex);
    m_serial = std::make_shared<SerialLine>(m_channel, std::move(port), portNumber, mode);
    if (int rc = m_serial->Prepare(); rc != 0)
        return rc;
    if (int rc = m_serial->StartThreads(); rc != 0)
        return rc;
    BV_LOG(m_log, 10, "PortOpen OK Com=%d", portNumber);
    return 1;
}

int CBVSerCom::PortClose()
{
    int portNumber = PortNumber();
    if (portNumber == 0) {
        BV_LOG(m_log, 80, "Port already closed!");
        return -100;
    }
    int note = 0;
    if (m_usb)
        note = CloseUsb(portNumber);
    if (m_serial) {
        m_serial->RequestStop();
        for (int round = 0; round < kCloseRounds && m_serial->AnyRunning(); ++round) {
            // Look often, so that a close costs what the threads need.
            for (unsigned ms = 0; ms < kCloseRoundMs && m_serial->AnyRunning(); ms += 5)
                platform::SleepMs(5);
            m_serial->RequestStop();
        }
        struct Named {
            SerialLine::Which which;
            const char* name;
            int code;
        };
        static const Named kThreads[] = {
            {SerialLine::kProtocol, "Protocol", -150},
            {SerialLine::kReceive, "Rx", -152},
            {SerialLine::kTransmit, "Tx", -152},
        };
        bool stuck = false;
        for (const Named& t : kThreads) {
            if (m_serial->Running(t.which)) {
                // Never killed: a thread stopped at a random point could hold
                // a lock or half a record. It keeps its line alive and ends
                // on its own.
                BV_LOG(m_log, 80, "%s thread did not stop for Com%d", t.name, portNumber);
                note = t.code;
                stuck = true;
            }
        }
        if (!stuck) {
            m_serial->QuietPort();
            if (m_serial->ClosePort() != 0)
                note = -103;
        }
        m_serial->ReleaseThreads();
        m_serial.reset();
        if (stuck) {
            // What the left-over thread still uses stays with it; the line
            // object goes on with fresh slots and queues.
            m_channel->ClearSlots();
            m_channel->EmptyQueues();
            m_channel->SetIdentity(0, 0, 0);
            m_channel = std::make_shared<LineChannel>();
        }
    }
    m_channel->ClearSlots();
    m_channel->EmptyQueues();
    m_channel->SetIdentity(0, 0, 0);
    m_channel->SetLineState(0);
    return note;
}

int CBVSerCom::AddLane(int targetAddress)
{
    int rc = m_channel->AddLane(targetAddress);
    if (rc == 0)
        SetupUSB();
    return rc;
}

int CBVSerCom::SendMsg(std::unique_ptr<LineMessage> message) { return m_channel->SendMsg(std::move(message)); }

std::unique_ptr<LineMessage> CBVSerCom::GetMsg() { return m_channel->GetMsg(); }

LaneSlot* CBVSerCom::GetLaneSlot(int targetAddress) { return m_channel->SlotOfAddress(targetAddress); }

std::unique_ptr<LineMessage> CBVSerCom::GetCopy() { return m_channel->GetCopy(); }

int CBVSerCom::CopiesOn() { return m_channel->CopiesOn(); }

int CBVSerCom::CopiesOff() { return m_channel->CopiesOff(); }

void CBVSerCom::SetUsbSerial(const char* text)
{
    std::memset(m_usbSerial, 0, sizeof m_usbSerial);
    if (text)
        std::strncpy(m_usbSerial, text, sizeof m_usbSerial - 1);
}

void CBVSerCom::QueueCopy(const LineMessage& message) { m_channel->QueueCopy(message); }

void CBVSerCom::SetAllFailures(uint32_t value) { m_channel->SetAllFailures(value); }
