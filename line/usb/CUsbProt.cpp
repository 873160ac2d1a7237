#include "line/usb/CUsbProt.h"

#include "line/SerialFrame.h"
#include "line/usb/UsbFrame.h"
#include "platform/system/Clock.h"

#include <cstring>

namespace {

constexpr unsigned kCommandPauseMs = 50;   // the adapter digests a command
constexpr unsigned kRetryOpenMs = 1000;    // an absent adapter is looked for once a second
constexpr int kStatusWaitMs = 3000;
constexpr int kRunWaitMs = 50;
constexpr uint32_t kResultWaitMs = 1000;   // a send result later than this is not coming
constexpr uint32_t kSilentMs = 5000;       // an adapter this silent is woken and set up again
constexpr int kMaxNoAnswer = 40;
constexpr int kMaxPageSends = 8;
constexpr uint32_t kLostFailures = 250;    // the lanes of a lost adapter show as failed
constexpr uint8_t kBootMajor = 1, kBootMinor = 0;

}  // namespace

CUsbProt::CUsbProt(std::shared_ptr<LineChannel> channel, const UsbFirmwareImage* firmware)
    : m_channel(std::move(channel)), m_firmware(firmware)
{
}

CUsbProt::~CUsbProt() { m_adapter.Close(); }

void CUsbProt::Stop()
{
    m_stop.store(true, std::memory_order_release);
    m_stopEvent.Set();
    m_adapter.Wake();
}

void CUsbProt::Pause(unsigned ms) { m_stopEvent.Wait(static_cast<int64_t>(ms) * 1000); }

bool CUsbProt::Send(const uint8_t* frame, size_t size)
{
    size_t written = 0;
    return m_adapter.Write(frame, size, 1000, written) == 0 && written == size;
}

void CUsbProt::SendCommand(uint8_t command)
{
    uint8_t f[3];
    Send(f, UsbFrame::Command(command, f));
    Pause(kCommandPauseMs);
}

void CUsbProt::SetUp(int type, int lowest, int highest)
{
    uint8_t f[6];
    Send(f, UsbFrame::SetUp(static_cast<uint8_t>(type), static_cast<uint8_t>(lowest), static_cast<uint8_t>(highest), f));
    Pause(kCommandPauseMs);
}

size_t CUsbProt::USBReadEvent(int waitMs) { return m_inbox.Take(m_adapter, waitMs, m_log, &m_stop); }

void CUsbProt::StartUSB(const char* serial)
{
    m_serial = serial ? serial : "";
    m_open = false;
    m_state.store(kNotReady, std::memory_order_release);
    m_txState = 0;
    m_awaitingResult = false;
    m_inbox.Clear();
    while (!m_stop.load(std::memory_order_acquire)) {
        switch (State()) {
        case kNotReady: NotReadyStep(); break;
        case kChecking: CheckingStep(); break;
        case kUpdating: UpdatingStep(); break;
        case kWaitApplication: WaitApplicationStep(); break;
        case kRunning: RunningStep(); break;
        default: m_state.store(kNotReady, std::memory_order_release); break;
        }
    }
    // The adapter leaves the bus alone and waits for the next run.
    if (m_adapter.IsOpen()) {
        uint8_t f[6];
        Send(f, UsbFrame::SetUp(UsbFrame::kSetUpEnd, 0, 0, f));
        platform::SleepMs(kCommandPauseMs);
        Send(f, UsbFrame::Command(UsbFrame::kOtherVersion, f));
        platform::SleepMs(kCommandPauseMs);
    }
    m_adapter.Close();
}

void CUsbProt::NotReadyStep()
{
    if (!m_open) {
        if (m_adapter.OpenDevice(m_serial.c_str()) == 0) {
            m_open = true;
            m_noAnswer = 0;
        } else {
            Pause(kRetryOpenMs);
            m_adapter.ResetDevice();
        }
        return;
    }
    // Opened afresh, so that the adapter starts from a clean driver state.
    m_adapter.Close();
    if (m_adapter.OpenDevice(m_serial.c_str()) != 0) {
        m_open = false;
        return;
    }
    m_adapter.Prepare();
    m_inbox.Clear();
    m_state.store(kChecking, std::memory_order_release);
}

void CUsbProt::CheckingStep()
{
    if (m_adapter.Alive() != 0) {
        m_open = false;
        m_state.store(kNotReady, std::memory_order_release);
        return;
    }
    uint8_t f[5];
    Send(f, UsbFrame::StatusRequest(f));
    Pause(kCommandPauseMs);
    Pause(10);
    size_t size = USBReadEvent(kStatusWaitMs);
    if (m_stop.load(std::memory_order_acquire))
        return;
    UsbFrame::Status s;
    if (size == 0) {
        m_state.store(kNotReady, std::memory_order_release);
    } else if (UsbFrame::ReadStatus(m_inbox.Frame(), size, s)) {
        if (s.bootMajor != kBootMajor || s.bootMinor != kBootMinor)
            BV_LOG(m_log, 80, "USB Adapteret har BootLoader versjon %d.%d. Denne versjonen av BVLeder krever versjon %d.%d.",
                   s.bootMajor, s.bootMinor, kBootMajor, kBootMinor);
        bool match = !m_firmware || (s.major == m_firmware->major && s.minor == m_firmware->minor);
        // Said once in the program's run, not on every opening of every line.
        static std::atomic<bool> noFirmwareSaid{false};
        if (!m_firmware && !noFirmwareSaid.exchange(true))
            BV_LOG(m_log, 80, "No adapter firmware carried: adapter %s keeps its version %d.%d", m_serial.c_str(),
                   s.major, s.minor);
        if (match) {
            SendCommand(UsbFrame::kRun);
            m_channel->SetLineState(2);
            m_state.store(kWaitApplication, std::memory_order_release);
        } else if (s.mode == UsbFrame::kModeApplication) {
            // Its application steps aside for the boot loader.
            SendCommand(UsbFrame::kOtherVersion);
        } else {
            m_channel->SetLineState(1);
            m_state.store(kUpdating, std::memory_order_release);
            BV_LOG(m_log, 80, "Oppdaterer SW Adapter=%s fra ver %d.%d til ver %d.%d", m_serial.c_str(), s.major,
                   s.minor, m_firmware->major, m_firmware->minor);
        }
    } else if (m_adapter.Purge() != 0) {
        m_open = false;
        m_state.store(kNotReady, std::memory_order_release);
    }
}

void CUsbProt::UpdatingStep()
{
    Pause(kCommandPauseMs);
    if (!USBSoftWareSend()) {
        m_open = false;
        m_state.store(kNotReady, std::memory_order_release);
        return;
    }
    Pause(10);
    m_state.store(kChecking, std::memory_order_release);
}

void CUsbProt::WaitApplicationStep()
{
    if (m_adapter.Alive() != 0) {
        m_open = false;
        m_state.store(kNotReady, std::memory_order_release);
        return;
    }
    uint8_t f[5];
    Send(f, UsbFrame::StatusRequest(f));
    Pause(kCommandPauseMs);
    size_t size = USBReadEvent(kStatusWaitMs);
    if (m_stop.load(std::memory_order_acquire))
        return;
    UsbFrame::Status s;
    if (size == 0) {
        if (++m_noAnswer >= kMaxNoAnswer) {
            BV_LOG(m_log, 80, "USB adapter %s does not answer; its line stops", m_serial.c_str());
            m_stop.store(true, std::memory_order_release);
        }
    } else if (UsbFrame::ReadStatus(m_inbox.Frame(), size, s) && s.mode == UsbFrame::kModeApplication) {
        m_channel->RequestUsbSetUp();
        m_txState = 0;
        m_awaitingResult = false;
        m_lastReceived = platform::TickCount();
        m_state.store(kRunning, std::memory_order_release);
    }
}

void CUsbProt::Lost()
{
    m_open = false;
    m_awaitingResult = false;
    m_state.store(kNotReady, std::memory_order_release);
    m_channel->SetAllFailures(kLostFailures);
}

void CUsbProt::RunningStep()
{
    if (m_adapter.Alive() != 0) {
        Lost();
        return;
    }
    uint8_t type, lowest, highest;
    if (m_channel->TakeUsbSetUp(type, lowest, highest))
        SetUp(type, lowest, highest);
    if (m_txState == 2) {
        SendNext();
        m_txState = 0;
        return;
    }
    if (size_t size = USBReadEvent(kRunWaitMs))
        HandleFrame(m_inbox.Frame(), size);
    uint32_t now = platform::TickCount();
    if (!m_awaitingResult && m_channel->Count(QueueKind::Send) > 0)
        m_txState = 2;
    // Unsigned differences: a tick that went backwards counts as both time-outs.
    if (m_awaitingResult && now - m_lastSent > kResultWaitMs) {
        m_channel->DropSend(m_sentId);
        m_awaitingResult = false;
    }
    if (now - m_lastReceived > kSilentMs) {
        SendCommand(UsbFrame::kRun);
        m_channel->RequestUsbSetUp();
        // Asked again after the next silence, not on every step.
        m_lastReceived = now;
    }
}

void CUsbProt::SendNext()
{
    LineMessage m;
    uint64_t id = 0;
    if (!m_channel->PeekSend(m, id)) {
        BV_LOG(m_log, 90, "FSM IDLE TX, Ingen melding \xE5 sende");
        return;
    }
    uint32_t now = platform::TickCount();
    uint8_t f[UsbFrame::kMaxFrame];
    size_t size = UsbFrame::Message(m, now, f);
    if (size == 0) {
        BV_LOG(m_log, 90, "FSM IDLE TX, Ulovelig lengde");
        m_channel->DropSend(id);
        return;
    }
    if (!Send(f, size))
        BV_LOG(m_log, 80, "Write to USB adapter %s failed", m_serial.c_str());
    // A frame that did not go gets no result either: the time-out drops it.
    m_lastSent = now;
    m_awaitingResult = true;
    m_sentId = id;
    m_sentAddressByte = f[11];
}

LaneSlot* CUsbProt::Registered(int targetAddress)
{
    if (targetAddress < 1 || targetAddress > 100)
        return nullptr;
    LaneSlot* s = m_channel->SlotOfAddress(targetAddress);
    if (!s || !s->active.load(std::memory_order_acquire) ||
        s->targetAddress.load(std::memory_order_relaxed) != targetAddress)
        return nullptr;
    return s;
}

void CUsbProt::HandleFrame(const uint8_t* frame, size_t size)
{
    m_lastReceived = platform::TickCount();
    uint8_t f[UsbInbox::kSize];
    if (size > sizeof f)
        size = sizeof f;
    std::memcpy(f, frame, size);
    size_t at = 0;
    while (at < size) {
        const uint8_t* p = f + at;
        size_t left = size - at;
        size_t length = left >= 2 ? p[1] : 0;
        bool whole = length >= 3 && length <= left && p[length - 1] == UsbFrame::kEnd;
        switch (p[0]) {
        case UsbFrame::kSetUp: at += 6; break;
        case UsbFrame::kFailureCounts:
            if (whole && length >= 5)
                HandleFailureCounts(p, length);
            at += whole ? length : 1;
            break;
        case UsbFrame::kMessage:
            if (whole)
                HandleMessage(p, length);
            at += whole ? length : 1;
            break;
        case UsbFrame::kSendResult:
            if (left >= 5 && p[1] == 5 && p[4] == UsbFrame::kEnd)
                HandleResult(p);
            at += 5;
            break;
        case UsbFrame::kStatus: at += 8; break;
        default: ++at; break;
        }
    }
}

void CUsbProt::HandleFailureCounts(const uint8_t* p, size_t length)
{
    int first = p[3];
    for (size_t i = 0; i + 5 < length; ++i)
        if (LaneSlot* s = Registered(first + static_cast<int>(i)))
            s->consecutiveFailures.store(p[4 + i], std::memory_order_relaxed);
}

void CUsbProt::HandleMessage(const uint8_t* p, size_t length)
{
    // Command, length, 12 header bytes up to the address byte, a payload
    // byte, the checksum and 0xFF at the least.
    if (length < 14)
        return;
    uint8_t f[UsbInbox::kSize];
    std::memcpy(f, p, length);
    size_t size = UsbFrame::Unescape(f, length, 14, length - 4);
    int n = static_cast<int>(size) - 13;
    if (n < 1 || n > UsbFrame::kMaxMessage) {
        BV_LOG(m_log, 90, "USB message of length %d from adapter %s dropped", n, m_serial.c_str());
        return;
    }
    int address = f[3];
    if (address > 100) {
        BV_LOG(m_log, 90, "USB message from illegal ID (%d) dropped", address);
        return;
    }
    auto m = std::make_unique<LineMessage>();
    std::memset(m.get(), 0, sizeof *m);
    m->data[0] = static_cast<uint8_t>(n);
    std::memcpy(m->data + 1, f + 11, static_cast<size_t>(n) + 2);
    m->slot = f[11] & 0x3F;
    m->targetAddress = static_cast<uint8_t>(address);
    m->portIndex = static_cast<uint8_t>(m_channel->PortIndex());
    m->tick = platform::TickCount();
    if (m->slot != SerialFrame::kBroadcastSlot)
        if (LaneSlot* s = Registered(address))
            s->Good(s->okReceive);
    m_channel->QueueCopy(*m);
    m_channel->PutReceived(std::move(m));
}

void CUsbProt::HandleResult(const uint8_t* p)
{
    // A result is the answer to the frame we wait for; one that comes after
    // its time-out would otherwise drop the next message unsent.
    if (!m_awaitingResult)
        return;
    m_awaitingResult = false;
    LineMessage head;
    uint64_t id = 0;
    if (!m_channel->PeekSend(head, id) || id != m_sentId)
        return;
    LaneSlot* s = Registered(p[3]);
    if (p[2] == 1) {
        head.copyDirection = 1;
        head.data[1] = m_sentAddressByte;
        m_channel->QueueCopy(head);
        if (s)
            s->okSend.fetch_add(1, std::memory_order_relaxed);
    } else if (s) {
        s->failedSend.fetch_add(1, std::memory_order_relaxed);
    }
    m_channel->DropSend(id);
}

bool CUsbProt::USBSoftWareSend()
{
    if (!m_firmware)
        return false;
    uint8_t f[UsbFrame::kMaxFrame];
    for (uint32_t page = 0; page < m_firmware->pages; ++page) {
        int sends = 0;
        for (int half = 1; half <= 2; ++half) {
            for (;;) {
                size_t size = UsbFrame::HalfPage(m_firmware->bytes.data(), static_cast<int>(page), half, f);
                if (!Send(f, size)) {
                    BV_LOG(m_log, 80, "USBSoftWareSend: Sender av TxBuffer misslykkes. Avslutter sending av software!");
                    return false;
                }
                Pause(20);
                size_t got = USBReadEvent(1000);
                bool acknowledged = false;
                if (got) {
                    const uint8_t* r = m_inbox.Frame();
                    if (got >= 2 && r[1] > 100) {
                        BV_LOG(m_log, 80, "StartUSB: RxBuffer[1]=%d", r[1]);
                        return false;
                    }
                    acknowledged = r[0] == UsbFrame::kHalfPage;
                    if (!acknowledged)
                        BV_LOG(m_log, 80, "USBSoftWareSend: Fikk ingen kvittering p\xE5 Page %d, Pagedel: %d",
                               static_cast<int>(page), half);
                }
                if (++sends >= kMaxPageSends) {
                    BV_LOG(m_log, 80, "USBSoftWareSend: TIMEOUT:: Fikk ingen kvittering p\xE5 Page %d, Pagedel: %d",
                           static_cast<int>(page), half);
                    return false;
                }
                if (acknowledged)
                    break;
                if (m_stop.load(std::memory_order_acquire))
                    return false;
            }
        }
    }
    return true;
}
