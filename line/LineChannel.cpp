#include "line/LineChannel.h"

#include "line/usb/UsbFrame.h"
#include "platform/system/Clock.h"

#include <cstring>

LineChannel::LineChannel()
{
    for (int s = 0; s < SerialFrame::kSlotCount; ++s)
        m_slots[s].slotNumber.store(static_cast<uint8_t>(s), std::memory_order_relaxed);
}

void LineChannel::SetIdentity(int portNumber, int mode, int portIndex)
{
    m_portIndex.store(portIndex, std::memory_order_relaxed);
    m_mode.store(mode, std::memory_order_release);
    if (mode & kCopies) {
        // Opened for the line monitor: it reads from the start.
        std::lock_guard<std::mutex> hold(m_queueLock);
        m_copyReaderTick = platform::TickCount();
    }
    m_portNumber.store(portNumber, std::memory_order_release);
}

LaneSlot* LineChannel::SlotOfAddress(int targetAddress)
{
    int slot = SlotOf(targetAddress);
    return slot < 0 ? nullptr : &m_slots[slot];
}

void LineChannel::ClearSlots()
{
    for (LaneSlot& s : m_slots) {
        s.active.store(0, std::memory_order_release);
        s.targetAddress.store(0, std::memory_order_relaxed);
        s.portIndex.store(0, std::memory_order_relaxed);
        s.ResetCounters();
    }
}

int LineChannel::AddLane(int targetAddress)
{
    int slot = SlotOf(targetAddress);
    if (slot < 0) {
        BV_LOG(m_log, 90, "Lane %d has no slot on Com%d", targetAddress, PortNumber());
        return -1;
    }
    LaneSlot& s = m_slots[slot];
    if (s.active.load(std::memory_order_acquire))
        return -1;
    s.targetAddress.store(static_cast<uint8_t>(targetAddress), std::memory_order_relaxed);
    s.portIndex.store(static_cast<uint8_t>(PortIndex()), std::memory_order_relaxed);
    s.ResetCounters();
    s.active.store(1, std::memory_order_release);
    m_work.Set();
    return 0;
}

void LineChannel::SetAllFailures(uint32_t value)
{
    for (LaneSlot& s : m_slots)
        if (s.active.load(std::memory_order_acquire))
            s.consecutiveFailures.store(value, std::memory_order_relaxed);
}

int LineChannel::SendMsg(std::unique_ptr<LineMessage> m)
{
    if (!m)
        return 0;
    int slot = SerialFrame::kBroadcastSlot;
    if (!m->broadcast) {
        slot = SlotOf(m->targetAddress);
        if (slot < 0 || !m_slots[slot].active.load(std::memory_order_acquire)) {
            BV_LOG(m_log, 90, "Message sent to illegal ID (%d)", m->targetAddress);
            return 0;
        }
    }
    m->portIndex = static_cast<uint8_t>(PortIndex());
    if (m->broadcast) {
        m->slot = SerialFrame::kBroadcastSlot;
        m->targetAddress = 0;
        m->answerExpected = 0;
        m->triesLeft = 1;
    } else {
        m->slot = static_cast<uint8_t>(slot);
        m->answerExpected = 1;
        // A unit that has stopped answering is not worth three tries of every
        // message: they would hold up the whole bus.
        m->triesLeft = m_slots[slot].consecutiveFailures.load(std::memory_order_relaxed) > 5 ? 1 : 3;
    }
    m->raw = 0;
    {
        std::lock_guard<std::mutex> hold(m_queueLock);
        m_send.push_back({std::move(m), m_nextId++});
    }
    m_work.Set();
    return 0;
}

std::unique_ptr<LineMessage> LineChannel::GetMsg()
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    if (m_received.empty())
        return nullptr;
    auto m = std::move(m_received.front());
    m_received.pop_front();
    return m;
}

std::unique_ptr<LineMessage> LineChannel::GetCopy()
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    m_copyReaderTick = platform::TickCount();
    if (m_copies.empty())
        return nullptr;
    auto m = std::move(m_copies.front());
    m_copies.pop_front();
    return m;
}

void LineChannel::PutReceived(std::unique_ptr<LineMessage> m)
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    m_received.push_back(std::move(m));
}

bool LineChannel::CopiesWanted() const { return (Mode() & kCopies) != 0; }

void LineChannel::QueueCopy(const LineMessage& message)
{
    if (!CopiesWanted())
        return;
    uint32_t now = platform::TickCount();
    std::lock_guard<std::mutex> hold(m_queueLock);
    if (now - m_copyReaderTick > kCopyReaderGoneMs)
        return;
    auto copy = std::make_unique<LineMessage>(message);
    copy->tick = now;
    m_copies.push_back(std::move(copy));
    while (m_copies.size() > kCopyLimit)
        m_copies.pop_front();
}

int LineChannel::CopiesOn()
{
    m_mode.fetch_or(kCopies, std::memory_order_acq_rel);
    std::lock_guard<std::mutex> hold(m_queueLock);
    m_copyReaderTick = platform::TickCount();
    if (!m_copies.empty())
        m_copies.pop_front();
    return 0;
}

int LineChannel::CopiesOff()
{
    m_mode.fetch_and(~kCopies, std::memory_order_acq_rel);
    std::lock_guard<std::mutex> hold(m_queueLock);
    if (!m_copies.empty())
        m_copies.pop_front();
    return 0;
}

void LineChannel::EmptyQueues()
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    m_received.clear();
    m_send.clear();
    m_copies.clear();
}

size_t LineChannel::Count(QueueKind kind) const
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    switch (kind) {
    case QueueKind::Received: return m_received.size();
    case QueueKind::Send: return m_send.size();
    case QueueKind::Copies: return m_copies.size();
    }
    return 0;
}

LineChannel::Head LineChannel::TakeSendHead(LineMessage& copy, uint64_t& id)
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    if (m_send.empty())
        return Head::None;
    Queued& head = m_send.front();
    if (head.message->broadcast) {
        copy = *head.message;
        id = head.id;
        return Head::Broadcast;
    }
    if (head.message->triesLeft == 0) {
        m_send.pop_front();
        return Head::Exhausted;
    }
    --head.message->triesLeft;
    copy = *head.message;
    id = head.id;
    return Head::Message;
}

void LineChannel::DropSend(uint64_t id)
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    if (!m_send.empty() && m_send.front().id == id)
        m_send.pop_front();
}

bool LineChannel::Decode(LineMessage& record, bool quiet)
{
    DecodeResult r = SerialFrame::Decode(record, (Mode() & kSlowNoChecksum) == 0);
    if (r.tooShort)
        return false;
    record.tick = platform::TickCount();
    record.slot = static_cast<uint8_t>(r.slot);
    record.portIndex = static_cast<uint8_t>(PortIndex());
    record.broadcast = r.slot == SerialFrame::kBroadcastSlot;
    record.targetAddress = m_slots[r.slot].targetAddress.load(std::memory_order_relaxed);
    record.raw = 0;
    if (!r.decoded && !quiet)
        BV_LOG(m_log, 80, "CRC error Msg=%d Calc=%d Len=%d", r.received, r.computed, r.n);
    return r.decoded;
}

bool LineChannel::PeekSend(LineMessage& copy, uint64_t& id) const
{
    std::lock_guard<std::mutex> hold(m_queueLock);
    if (m_send.empty())
        return false;
    copy = *m_send.front().message;
    id = m_send.front().id;
    return true;
}

void LineChannel::RequestUsbSetUp()
{
    m_usbSetUpWanted.store(true, std::memory_order_release);
    m_work.Set();
}

bool LineChannel::TakeUsbSetUp(uint8_t& type, uint8_t& lowest, uint8_t& highest)
{
    if (!m_usbSetUpWanted.exchange(false, std::memory_order_acq_rel))
        return false;
    int low = 99, high = 1;
    for (const LaneSlot& s : m_slots) {
        if (!s.active.load(std::memory_order_acquire))
            continue;
        int a = s.targetAddress.load(std::memory_order_relaxed);
        if (a < low)
            low = a;
        if (a > high)
            high = a;
    }
    int mode = Mode();
    if (mode & kSlowNoChecksum)
        type = UsbFrame::kSetUpSlow;
    else if ((mode & kAddressingBits) == 1)
        type = UsbFrame::kSetUpMode1;
    else if ((mode & kAddressingBits) == 3)
        type = UsbFrame::kSetUpMode3;
    else {
        BV_LOG(m_log, 90, "Illegal type in SetupUSB");
        return false;
    }
    lowest = static_cast<uint8_t>(low);
    highest = static_cast<uint8_t>(high);
    return true;
}
