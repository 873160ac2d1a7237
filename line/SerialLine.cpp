#include "line/SerialLine.h"

#include "platform/system/Clock.h"
#include "platform/system/Codepage.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <span>

namespace {

// Longest single wait of any line thread: the time within which each comes
// back to look at its stop flag even when no event reaches it.
constexpr int64_t kLongestWaitUs = 200000;
// While a read keeps failing (an adapter pulled out), look again this often
// and log only the first failure.
constexpr unsigned kFailingPauseMs = 50;

uint32_t Bit(int event) { return 1u << event; }

}  // namespace

SerialLine::SerialLine(std::shared_ptr<LineChannel> channel, std::unique_ptr<platform::Port> port, int portNumber,
                       int mode)
    : m_channel(std::move(channel)),
      m_port(std::move(port)),
      m_portNumber(portNumber),
      m_mode(mode),
      m_timing(LineTiming::ForMode(mode))
{
}

SerialLine::~SerialLine() { ClosePort(); }

int SerialLine::Prepare()
{
    CBVLog& log = m_channel->Log();
    std::lock_guard<std::mutex> hold(m_portLock);
    platform::PortSettings settings;
    settings.baud = m_timing.baud;
    settings.dataBits = 8;
    settings.parity = 'E';
    settings.stopBits = 1;
    if (int e = m_port->Configure(settings); e != 0) {
        BV_LOG(log, 80, "Failed in SetCommState Com%d ErrNo=%d", m_portNumber, e);
        return -104;
    }
    unsigned errors = 0;
    if (int e = m_port->TakeErrors(errors); e != 0) {
        BV_LOG(log, 80, "Failed in ClearCommError Com%d ErrNo=%d", m_portNumber, e);
        return -107;
    }
    if (int e = m_port->Purge(); e != 0) {
        BV_LOG(log, 80, "Failed in PurgeComm for Com%d ErrNo=%d", m_portNumber, e);
        return -108;
    }
    m_port->SetRts(false);
    m_port->SetDtr(false);
    m_ring.Reset();
    return 0;
}

int SerialLine::StartThreads()
{
    CBVLog& log = m_channel->Log();
    struct Start {
        Which which;
        const char* name;
        platform::ThreadPriority priority;
        void (SerialLine::*body)();
        int failure;
    };
    char names[kThreadCount][16];
    std::snprintf(names[kProtocol], sizeof names[0], "bvline%d-prot", m_portNumber);
    std::snprintf(names[kReceive], sizeof names[0], "bvline%d-rx", m_portNumber);
    std::snprintf(names[kTransmit], sizeof names[0], "bvline%d-tx", m_portNumber);
    // The polling side runs its bus in one thread: handing each poll from
    // thread to thread cost more wake-ups than the poll itself. It runs at
    // the receive thread's priority, as it reads the answers.
    const Start master[] = {
        {kProtocol, names[kProtocol], platform::ThreadPriority::Highest, &SerialLine::MasterBody, -110},
    };
    const Start listener[] = {
        {kProtocol, names[kProtocol], platform::ThreadPriority::Normal, &SerialLine::ProtocolBody, -110},
        {kReceive, names[kReceive], platform::ThreadPriority::Highest, &SerialLine::ReceiveBody, -111},
        {kTransmit, names[kTransmit], platform::ThreadPriority::Normal, &SerialLine::TransmitBody, -112},
    };
    const bool polls = (m_mode & LineChannel::kMaster) != 0;
    m_events.ResetAll();
    for (const Start& s : polls ? std::span<const Start>(master) : std::span<const Start>(listener)) {
        m_running[s.which].store(true, std::memory_order_release);
        m_stop[s.which].store(false, std::memory_order_release);
        std::shared_ptr<SerialLine> self = shared_from_this();
        auto body = s.body;
        int e = m_threads[s.which].Start(s.name, s.priority, true, [self, body] { (self.get()->*body)(); });
        if (e != 0) {
            m_running[s.which].store(false, std::memory_order_release);
            m_stop[s.which].store(true, std::memory_order_release);
            BV_LOG(log, 80, "Failed in CreateThread(PROT) for Com%d ErrNo=%d", m_portNumber, e);
            return s.failure;
        }
    }
    return 0;
}

void SerialLine::RequestStop()
{
    for (auto& stop : m_stop)
        stop.store(true, std::memory_order_release);
    m_events.Set(kStop);
    m_events.Set(kTransmitRequest);
    m_events.Set(kTransmitterIdle);
    m_channel->Work().Set();
    m_port->Wake();
}

bool SerialLine::Running(Which which) const
{
    if (!(m_mode & LineChannel::kMaster))
        return m_running[which].load(std::memory_order_acquire);
    if (!m_running[kProtocol].load(std::memory_order_acquire))
        return false;
    bool writing = m_writing.load(std::memory_order_acquire);
    return which == kTransmit ? writing : which == kProtocol && !writing;
}

bool SerialLine::AnyRunning() const
{
    for (const auto& running : m_running)
        if (running.load(std::memory_order_acquire))
            return true;
    return false;
}

bool SerialLine::ReleaseThreads()
{
    bool all = true;
    for (int t = 0; t < kThreadCount; ++t) {
        if (m_running[t].load(std::memory_order_acquire)) {
            m_threads[t].Detach();
            all = false;
        } else {
            m_threads[t].Join();
        }
    }
    return all;
}

void SerialLine::QuietPort()
{
    std::lock_guard<std::mutex> hold(m_portLock);
    if (!m_port)
        return;
    m_port->Purge();
    m_port->SetRts(false);
    m_port->SetDtr(false);
}

int SerialLine::ClosePort()
{
    std::lock_guard<std::mutex> hold(m_portLock);
    if (!m_port)
        return 0;
    return m_port->Close();
}

void SerialLine::EchoSeen()
{
    std::lock_guard<std::mutex> hold(m_portLock);
    m_port->SetRts(false);
}

void SerialLine::FrameStored(const LineMessage& raw)
{
    if (!m_channel->CopiesWanted())
        return;
    LineMessage copy = raw;
    if (copy.data[0] > 2)
        m_channel->Decode(copy, true);
    copy.copyDirection = 0;
    m_channel->QueueCopy(copy);
}

// ---------------------------------------------------------------- transmit

void SerialLine::TransmitBody()
{
    CBVLog log;
    m_events.Reset(kTransmitRequest);
    BV_LOG(log, 10, "Tx thread started for Com%d", m_portNumber);
    m_transmitBusy.store(false, std::memory_order_release);
    m_events.Set(kTransmitterIdle);
    m_events.Set(kTransmitterUp);
    m_transmissionEnd.store(platform::HighResCounter(), std::memory_order_release);

    while (!m_stop[kTransmit].load(std::memory_order_acquire)) {
        if (!m_events.Wait(kTransmitRequest, kLongestWaitUs))
            continue;
        if (m_stop[kTransmit].load(std::memory_order_acquire))
            break;
        m_events.Reset(kTransmitRequest);

        LineMessage frame;
        if (!TakeFrame(frame)) {
            BV_LOG(log, 80, "TxBuffer=NULL! Com%d", m_portNumber);
            m_events.Set(kTransmitDone);
            continue;
        }
        PutOnWire(frame, log);
    }
    BV_LOG(log, 10, "Tx thread stopped for Com%d", m_portNumber);
    m_running[kTransmit].store(false, std::memory_order_release);
}

void SerialLine::PutOnWire(const LineMessage& frame, CBVLog& log)
{
    int size = frame.data[0];
    bool broadcast = frame.broadcast != 0;
    bool answer = frame.answerExpected != 0;

    m_transmitBusy.store(true, std::memory_order_release);
    m_events.Reset(kTransmitterIdle);
    {
        std::lock_guard<std::mutex> hold(m_portLock);
        m_port->SetRts(true);
    }
    int64_t start = platform::HighResCounter();
    m_transmissionEnd.store(start, std::memory_order_release);
    // Room in the driver comes at the speed of the line; a port that
    // takes nothing for a second more than that is broken.
    int writeLimitMs = static_cast<int>(m_timing.ByteCounts(size) * 1000 / platform::HighResFrequency()) + 1000;
    size_t written = 0;
    m_writing.store(true, std::memory_order_release);
    {
        std::lock_guard<std::mutex> hold(m_portLock);
        if (int e = m_port->Write(frame.data + 1, size - 1, writeLimitMs, written); e != 0)
            BV_LOG(log, 80, "Failed to write %d-1 bytes to Com%d (%d)", size, m_portNumber, e);
    }
    {
        std::lock_guard<std::mutex> hold(m_portLock);
        if (int e = m_port->Write(frame.data + size, 1, writeLimitMs, written); e != 0)
            BV_LOG(log, 80, "Failed to write 1 bytes to Com%d (%d)", m_portNumber, e);
    }
    m_writing.store(false, std::memory_order_release);
    int64_t t0 = platform::HighResCounter();
    if (m_channel->CopiesWanted()) {
        // Sent frames are kept as they went out, escapes and all: the
        // line monitor shows them from the raw bytes.
        LineMessage copy = frame;
        copy.copyDirection = 1;
        m_channel->QueueCopy(copy);
    }
    // The driver takes the bytes at once and the wire needs their time:
    // RTS stays on until the last byte has left, plus the extra time.
    int64_t expectedEnd = std::max(start + m_timing.ByteCounts(size), t0 + m_timing.ByteCounts(1)) +
                          m_timing.ExtraCounts();
    platform::SleepUntilCounter(expectedEnd);
    int64_t end = platform::HighResCounter();
    if (end < t0) {
        BV_LOG(log, 80, "Performance timer wrapped!");
        end = t0;
    }
    m_transmissionEnd.store(end, std::memory_order_release);
    {
        std::lock_guard<std::mutex> hold(m_portLock);
        m_port->SetRts(false);
    }
    if (broadcast)
        platform::SleepMs(10);
    m_transmitBusy.store(false, std::memory_order_release);
    m_events.Set(kTransmitterIdle);
    if (answer)
        m_events.Set(kAnswer);
    // A receive thread already asleep in the port must look at its
    // deadline again (the answer time now runs); one that waits for the
    // idle event above needs no second wake-up.
    if (m_receiverInPort.load())
        m_port->Wake();

    int64_t heldMs = (end - t0) * 1000 / platform::HighResFrequency();
    int64_t plannedMs = (static_cast<int64_t>(size) * m_timing.byteTime + m_timing.extraTime) / 100;
    if (heldMs > plannedMs + m_timing.rtsMarginMs)
        BV_LOG(log, 70, "RTS Held %d ms*10 for %d bytes", static_cast<int>(heldMs), size);
    if (broadcast || !answer)
        m_events.Set(kTransmitDone);
}

// ----------------------------------------------------------------- receive

void SerialLine::ReceiveBody()
{
    CBVLog log;
    LineReceiver receiver(m_ring, *this, m_timing, &log, m_portNumber);
    BV_LOG(log, 10, "Rx thread started for Com%d", m_portNumber);
    receiver.Start(platform::HighResCounter());
    m_events.Set(kReceiverUp);

    ReadState read;
    while (!m_stop[kReceive].load(std::memory_order_acquire)) {
        if (m_transmitBusy.load(std::memory_order_acquire)) {
            // The echo of a frame is read only after the frame has left.
            m_events.Wait(kTransmitterIdle, kLongestWaitUs);
            continue;
        }
        ReadOnce(receiver, read, log, kReceive);
    }
    BV_LOG(log, 10, "Rx thread stopped for Com%d", m_portNumber);
    m_running[kReceive].store(false, std::memory_order_release);
}

void SerialLine::ReadOnce(LineReceiver& receiver, ReadState& read, CBVLog& log, Which which)
{
    auto failed = [&](const char* what, int e) {
        if (read.failures++ == 0)
            BV_LOG(log, 80, "%s at  Com%d Err=%d", what, m_portNumber, e);
        receiver.OnError();
        platform::SleepMs(read.failures > 10 ? kFailingPauseMs : static_cast<unsigned>(m_timing.retryPauseMs));
    };

    // Said before the deadline is taken: a transmission that ends later
    // sees it and wakes the wait; one that ended before has set what the
    // deadline looks at.
    m_receiverInPort.store(true);
    int64_t now = platform::HighResCounter();
    int64_t deadline = receiver.NextDeadline();
    int64_t waitUs = kLongestWaitUs;
    if (deadline != INT64_MAX)
        waitUs = std::clamp<int64_t>((deadline - now) * 1000000 / platform::HighResFrequency(), 0, kLongestWaitUs);
    const int64_t waitStart = now;
    int ready = m_port->WaitInput(waitUs);
    m_receiverInPort.store(false);
    if (m_stop[which].load(std::memory_order_acquire))
        return;
    if (m_transmitBusy.load(std::memory_order_acquire))
        return;
    size_t got = 0;
    unsigned errors = 0;
    int e = 0;
    int errorsFailed = 0;
    if (ready < 0) {
        e = -ready;
    } else if (ready > 0) {
        // The error counters matter only with bytes to read: an idle
        // line asks the driver nothing between its waits.
        std::lock_guard<std::mutex> hold(m_portLock);
        errorsFailed = m_port->TakeErrors(errors);
        if (errorsFailed == 0)
            e = m_port->Read(read.buffer, sizeof read.buffer, got);
    }
    if (errorsFailed != 0) {
        failed("ClearCommError failed!", errorsFailed);
        return;
    }
    now = platform::HighResCounter();
    if (e != 0) {
        failed("ReadFile failed!", e);
        return;
    }
    read.failures = 0;
    if (errors & platform::kPortOverrun)
        receiver.OnError();
    if (got > 0) {
        // A wait that slept found the port empty when it began.
        bool slept = now - waitStart >= m_timing.ByteCounts(1);
        receiver.OnBytes(read.buffer, got, now, slept ? waitStart : INT64_MIN);
    } else {
        receiver.OnQuiet(now);
    }
}

// ---------------------------------------------------------------- protocol

void SerialLine::Transmit(const LineMessage& frame)
{
    m_answerCut.store(0, std::memory_order_release);
    {
        std::lock_guard<std::mutex> hold(m_transmitLock);
        m_transmitRecord = frame;
        m_transmitReady = true;
    }
    m_events.Set(kTransmitRequest);
}

void SerialLine::SendAcknowledge()
{
    LineMessage ack;
    SerialFrame::BuildAcknowledge(SerialFrame::kAcknowledge, ack);
    ack.slot = static_cast<uint8_t>(m_currentSlot);
    ack.portIndex = static_cast<uint8_t>(m_channel->PortIndex());
    Transmit(ack);
}

void SerialLine::ThrowRing()
{
    while (LineMessage* r = m_ring.ReadRecord()) {
        BV_LOG(m_protocolLog, 70, "Throw data Com%d %02X %02X %02X", m_portNumber, r->data[0], r->data[1], r->data[2]);
        m_ring.Pop();
    }
}

void SerialLine::ProtocolBody()
{
    // A line that does not poll only listens: its receive thread stores
    // what comes, and the protocol has nothing to decide.
    CBVLog& log = m_protocolLog;
    if (!m_events.Wait(kTransmitterUp, 1000000))
        BV_LOG(log, 80, "Tx thread not active? Com%d", m_portNumber);
    if (!m_events.Wait(kReceiverUp, 1000000))
        BV_LOG(log, 80, "Rx thread not active? Com%d", m_portNumber);
    m_events.Reset(kTransmitterUp);
    m_events.Reset(kReceiverUp);
    BV_LOG(log, 10, "Slave protocol thread started for Com%d", m_portNumber);
    while (!m_stop[kProtocol].load(std::memory_order_acquire))
        m_events.Wait(kStop, kLongestWaitUs);
    BV_LOG(log, 10, "Protocol thread stopped for Com%d", m_portNumber);
    m_running[kProtocol].store(false, std::memory_order_release);
}

bool SerialLine::TakeFrame(LineMessage& frame)
{
    std::lock_guard<std::mutex> hold(m_transmitLock);
    if (!m_transmitReady)
        return false;
    frame = m_transmitRecord;
    m_transmitReady = false;
    return true;
}

void SerialLine::MasterBody()
{
    CBVLog& log = m_protocolLog;
    LineReceiver receiver(m_ring, *this, m_timing, &log, m_portNumber);
    BV_LOG(log, 10, "Master protocol thread started for Com%d", m_portNumber);
    m_transmitBusy.store(false, std::memory_order_release);
    m_transmissionEnd.store(platform::HighResCounter(), std::memory_order_release);
    receiver.Start(platform::HighResCounter());
    m_state = State::Idle;
    m_currentSlot = SerialFrame::kBroadcastSlot;
    m_events.Set(kBurstEnd);  // the first turn looks for work at once

    ReadState read;
    bool again = false;
    int event = -1;
    const uint32_t lineEvents = Bit(kStop) | Bit(kFrame) | Bit(kTransmitDone) | Bit(kBurstEnd);
    while (!m_stop[kProtocol].load(std::memory_order_acquire)) {
        if (!again) {
            // A frame a turn handed on leaves first; then what the
            // receiver or the transmission signalled is taken; only with
            // nothing to do does the thread sleep, in the port, until bytes
            // come or the receiver's next deadline.
            if (LineMessage frame; TakeFrame(frame)) {
                PutOnWire(frame, log);
                continue;
            }
            event = m_events.WaitAnyAndReset(lineEvents, 0);
            if (event < 0) {
                ReadOnce(receiver, read, log, kProtocol);
                continue;
            }
        }
        again = false;
        if (event == kStop) {
            m_state = State::Idle;
            if (!m_stop[kProtocol].load(std::memory_order_acquire))
                platform::SleepMs(static_cast<unsigned>(m_timing.retryPauseMs));
            continue;
        }
        switch (m_state) {
        case State::Idle: IdleTurn(event, again); break;
        case State::WaitAcknowledge: WaitAcknowledgeTurn(event, again); break;
        case State::WaitPollAnswer: WaitPollAnswerTurn(event, again); break;
        case State::AcknowledgePending: AcknowledgePendingTurn(event, again); break;
        case State::BroadcastSent: BroadcastSentTurn(event, again); break;
        }
    }
    BV_LOG(log, 10, "Protocol thread stopped for Com%d", m_portNumber);
    m_running[kProtocol].store(false, std::memory_order_release);
}

void SerialLine::IdleTurn(int event, bool& again)
{
    CBVLog& log = m_protocolLog;
    ThrowRing();
    if (event != kTransmitDone && event != kBurstEnd) {
        BV_LOG(log, 80, "Illegal event=%d in state=%d for Com%d", event, static_cast<int>(m_state), m_portNumber);
        return;
    }
    // Reset before looking, so that work queued after the look still wakes us.
    m_channel->Work().Reset();

    LineMessage message;
    uint64_t id = 0;
    LineChannel::Head head = m_channel->TakeSendHead(message, id);
    if (head != LineChannel::Head::None)
        m_waitingForWork.store(false, std::memory_order_release);
    switch (head) {
    case LineChannel::Head::Broadcast:
        m_currentSlot = SerialFrame::kBroadcastSlot;
        if (SendMessage(message, id, true))
            m_state = State::BroadcastSent;
        else
            again = true;
        return;
    case LineChannel::Head::Exhausted:
        BV_LOG(log, 70, "Retransmit limit - send something else!! Com%d", m_portNumber);
        again = true;
        return;
    case LineChannel::Head::Message:
        m_currentSlot = message.slot;
        if (SendMessage(message, id, false))
            m_state = State::WaitAcknowledge;
        else
            again = true;
        return;
    case LineChannel::Head::None: break;
    }

    // Nothing to send: poll the next registered unit.
    int slot = m_lastPolledSlot;
    for (int look = 0; look < 59; ++look) {
        slot = slot + 1;
        if (slot > 59) {
            slot = 1;
            ++m_pollCycles;
        }
        if (m_channel->Slot(slot).active.load(std::memory_order_acquire)) {
            m_lastPolledSlot = slot;
            m_currentSlot = slot;
            LineMessage poll;
            SerialFrame::BuildPoll(slot, poll);
            poll.portIndex = static_cast<uint8_t>(m_channel->PortIndex());
            poll.targetAddress = m_channel->Slot(slot).targetAddress.load(std::memory_order_relaxed);
            m_nothingToDoLogged = false;
            m_waitingForWork.store(false, std::memory_order_release);
            Transmit(poll);
            m_state = State::WaitPollAnswer;
            return;
        }
    }
    // No lane and no message: say so once, then wait for work instead of
    // looking again every millisecond.
    if (!m_nothingToDoLogged) {
        BV_LOG(log, 80, "Nothing to do!! Com%d", m_portNumber);
        m_nothingToDoLogged = true;
    }
    // Stays set over the timed-out waits too: the receiver must not kick a
    // line that only looked for work again.
    m_waitingForWork.store(true, std::memory_order_release);
    m_channel->Work().Wait(kLongestWaitUs);
    again = true;
}

bool SerialLine::SendMessage(LineMessage& message, uint64_t id, bool broadcast)
{
    CBVLog& log = m_protocolLog;
    AgeStamp stamp = SerialFrame::StampAge(message, platform::TickCount());
    if (stamp == AgeStamp::Meaningless || stamp == AgeStamp::Refused)
        BV_LOG(log, 90, "Meaningless timestamp mode Com%d", m_portNumber);
    LineMessage frame;
    if (!SerialFrame::Build(message, m_currentSlot, broadcast, frame)) {
        // Never written past the transmit buffer: counted as a failed send,
        // and the message is gone.
        int length = SerialFrame::FrameLength(message);
        if (length < 0)
            BV_LOG(log, 80, "Message of length %d cannot be sent on Com%d", message.data[0], m_portNumber);
        else
            BV_LOG(log, 80, "Frame of %d bytes too long for Com%d", length, m_portNumber);
        Current().Failed(Current().failedSend);
        m_channel->DropSend(id);
        return false;
    }
    frame.broadcast = broadcast ? 1 : 0;
    frame.answerExpected = broadcast ? 0 : 1;
    frame.slot = static_cast<uint8_t>(m_currentSlot);
    frame.targetAddress = message.targetAddress;
    frame.portIndex = message.portIndex;
    m_sentId = id;
    m_nothingToDoLogged = false;
    Transmit(frame);
    return true;
}

void SerialLine::WaitAcknowledgeTurn(int event, bool& again)
{
    CBVLog& log = m_protocolLog;
    NoteAnswerTrouble(false);
    if (event == kFrame || !m_ring.Empty()) {
        LineMessage* r = m_ring.ReadRecord();
        if (!r) {
            BV_LOG(log, 80, "No buffer available Com%d", m_portNumber);
            m_state = State::Idle;
            return;
        }
        if (event == kBurstEnd)
            again = true;
        FrameClass c = SerialFrame::Classify(*r, m_currentSlot, m_channel->AddressingMode(),
                                             Current().targetAddress.load(std::memory_order_relaxed));
        if (c == FrameClass::Acknowledge) {
            Current().Good(Current().okSend);
            m_channel->DropSend(m_sentId);
        } else {
            Current().Failed(Current().failedSend);
            BV_LOG(log, 80, "Msg is not ack Com%d %02X %02X %02X", m_portNumber, r->data[0], r->data[1], r->data[2]);
        }
        m_ring.Pop();
        m_state = State::Idle;
        return;
    }
    if (event == kBurstEnd) {
        BV_LOG(log, 70, "SendMsg failed Com%d", m_portNumber);
        Current().Failed(Current().failedSend);
        m_state = State::Idle;
        again = true;
        return;
    }
    BV_LOG(log, 80, "%s Com%d", platform::Ansi("Hæææ").c_str(), m_portNumber);
    Current().Failed(Current().failedSend);
    BV_LOG(log, 80, "Illegal event=%d in state=%d for Com%d", event, static_cast<int>(m_state), m_portNumber);
    m_state = State::Idle;
}

void SerialLine::NoteAnswerTrouble(bool nothingCame)
{
    int slot = m_currentSlot;
    if (slot < 0 || slot > SerialFrame::kBroadcastSlot)
        return;
    if (m_answerCut.exchange(0, std::memory_order_acq_rel) != 0) {
        if (!m_cutLogged[slot])
            BV_LOG(m_protocolLog, 80, "Answer cut off at slot %d Com%d", slot, m_portNumber);
        m_cutLogged[slot] = true;
    } else if (nothingCame) {
        if (!m_silentLogged[slot])
            BV_LOG(m_protocolLog, 80, "No answer at slot %d Com%d", slot, m_portNumber);
        m_silentLogged[slot] = true;
    }
}

void SerialLine::WaitPollAnswerTurn(int event, bool& again)
{
    CBVLog& log = m_protocolLog;
    NoteAnswerTrouble(event == kBurstEnd && m_ring.Empty());
    if (event == kFrame || !m_ring.Empty()) {
        LineMessage* r = m_ring.ReadRecord();
        if (!r) {
            BV_LOG(log, 80, "No buffer available Com%d", m_portNumber);
            BV_LOG(log, 80, "Illegal event=%d in state=%d for Com%d", event, static_cast<int>(m_state), m_portNumber);
            m_state = State::Idle;
            return;
        }
        LaneSlot& slot = Current();
        FrameClass c = SerialFrame::Classify(*r, m_currentSlot, m_channel->AddressingMode(),
                                             slot.targetAddress.load(std::memory_order_relaxed));
        LineMessage record = *r;
        m_ring.Pop();
        m_state = State::Idle;
        switch (c) {
        case FrameClass::NothingToSend:
            slot.Good(slot.okPoll);
            again = event == kBurstEnd;
            return;
        case FrameClass::MessageFromSlot:
        case FrameClass::BroadcastMessage: {
            uint8_t rawHead[3] = {record.data[0], record.data[1], record.data[2]};
            if (!m_channel->Decode(record, false)) {
                slot.Failed(slot.failedReceive);
                BV_LOG(log, 80, "CRC error Com%d %02X %02X %02X", m_portNumber, rawHead[0], rawHead[1], rawHead[2]);
                again = event == kBurstEnd;
                return;
            }
            slot.okPoll.fetch_add(1, std::memory_order_relaxed);
            slot.Good(slot.okReceive);
            m_channel->PutReceived(std::make_unique<LineMessage>(record));
            if (c == FrameClass::BroadcastMessage) {
                again = event == kBurstEnd;
                return;
            }
            if (event == kBurstEnd) {
                SendAcknowledge();
                return;
            }
            // More of the burst is still coming: acknowledge at its end.
            m_state = State::AcknowledgePending;
            return;
        }
        default:
            slot.Failed(slot.failedPoll);
            again = event == kBurstEnd;
            return;
        }
    }
    if (event == kBurstEnd) {
        Current().Failed(Current().failedPoll);
        m_state = State::Idle;
        again = true;
        return;
    }
    BV_LOG(log, 80, "Try to survive");
    m_state = State::Idle;
    again = true;
}

void SerialLine::AcknowledgePendingTurn(int event, bool& again)
{
    if (event == kBurstEnd) {
        SendAcknowledge();
        m_state = State::Idle;
        return;
    }
    BV_LOG(m_protocolLog, 80, "Illegal SendAck state Com%d", m_portNumber);
    BV_LOG(m_protocolLog, 80, "Illegal event=%d in state=%d for Com%d", event, static_cast<int>(m_state),
           m_portNumber);
    m_state = State::Idle;
    again = true;
}

void SerialLine::BroadcastSentTurn(int event, bool& again)
{
    ThrowRing();
    if (event == kTransmitDone) {
        m_channel->Slot(SerialFrame::kBroadcastSlot).Good(m_channel->Slot(SerialFrame::kBroadcastSlot).okSend);
        m_channel->DropSend(m_sentId);
        m_state = State::Idle;
        again = true;
        return;
    }
    if (event == kFrame || event == kBurstEnd)
        return;
    BV_LOG(m_protocolLog, 80, "Illegal event=%d in state=%d for Com%d", event, static_cast<int>(m_state),
           m_portNumber);
    m_state = State::Idle;
}
