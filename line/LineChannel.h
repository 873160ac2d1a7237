#pragma once
// What a line object shares with the threads that run its line: the 65 lane
// slots, the three queues and the line's identity (port number, port index,
// mode). The queues are taken under one lock; the slots' counters and the
// mode are atomic, since the range control and the line monitor read and
// clear them without a lock while the line runs.
//
// A line object and each of its threads hold the channel by a shared
// pointer: a thread that does not end when the line is closed keeps what it
// uses alive instead of having it freed under it.
#include "foundation/files/BVLog.h"
#include "line/LaneSlot.h"
#include "line/LineMessage.h"
#include "line/SerialFrame.h"
#include "platform/system/EventSet.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

class LineChannel {
public:
    // Mode bits.
    static constexpr int kAddressingBits = 0x0F;
    static constexpr int kSlowNoChecksum = 0x10;  // 4800 baud, received checksums not tested
    static constexpr int kUsb = 0x20;
    static constexpr int kCopies = 0x40;          // copies for the line monitor
    static constexpr int kMaster = 0x80;          // this side polls and sends

    // The line monitor shows at most this many frames; older copies go first.
    static constexpr size_t kCopyLimit = 1000;
    // Copies stop when nobody has taken one for this long, and start again
    // with the next GetCopy or CopiesOn.
    static constexpr uint32_t kCopyReaderGoneMs = 10000;

    LineChannel();

    // Identity of the open line.
    void SetIdentity(int portNumber, int mode, int portIndex);
    int PortNumber() const { return m_portNumber.load(std::memory_order_acquire); }
    int PortIndex() const { return m_portIndex.load(std::memory_order_relaxed); }
    int Mode() const { return m_mode.load(std::memory_order_acquire); }
    int AddressingMode() const { return Mode() & kAddressingBits; }

    // Slots.
    int SlotOf(int targetAddress) const { return SerialFrame::SlotOf(AddressingMode(), targetAddress); }
    LaneSlot& Slot(int slot) { return m_slots[slot]; }
    // The slot of an address, or null when the address gives no slot.
    LaneSlot* SlotOfAddress(int targetAddress);
    // All slots inactive with their counters at 0.
    void ClearSlots();
    int AddLane(int targetAddress);
    void SetAllFailures(uint32_t value);

    // Queues.
    int SendMsg(std::unique_ptr<LineMessage> message);
    std::unique_ptr<LineMessage> GetMsg();
    std::unique_ptr<LineMessage> GetCopy();
    void PutReceived(std::unique_ptr<LineMessage> message);
    // Appends a copy with the tick of now, when copies are on and read.
    void QueueCopy(const LineMessage& message);
    bool CopiesWanted() const;
    int CopiesOn();
    int CopiesOff();
    void EmptyQueues();
    size_t Count(QueueKind kind) const;

    // The head of the send queue as the protocol sees it.
    enum class Head { None, Broadcast, Exhausted, Message };
    // Looks at the head: a broadcast or a message with tries left is copied
    // out (a message loses one try), with the id that DropSend needs; a
    // message without tries left is dropped at once.
    Head TakeSendHead(LineMessage& copy, uint64_t& id);
    // Drops the head when it is still the message with this id.
    void DropSend(uint64_t id);
    // Copies the head out without touching it; false when the queue is empty.
    bool PeekSend(LineMessage& copy, uint64_t& id) const;

    // The line state the range control shows: 2 on a serial line; on a USB
    // line 0 adapter not ready, 1 adapter taking new firmware, 2 running.
    void SetLineState(int state) { m_lineState.store(state, std::memory_order_release); }
    int LineState() const { return m_lineState.load(std::memory_order_acquire); }

    // A USB line's adapter is to get its address range again (a lane was
    // added, the adapter came back). Asked for from any thread; only the USB
    // thread takes the request and writes to the adapter.
    void RequestUsbSetUp();
    // Takes a pending request: true with the set-up to send (type, lowest
    // and highest registered address). An addressing mode the adapter does
    // not know is logged and gives false.
    bool TakeUsbSetUp(uint8_t& type, uint8_t& lowest, uint8_t& highest);

    // Decodes a received raw record with the line's view: tick, slot, port
    // index, broadcast flag and the lane registered on the slot. Logs a
    // checksum mismatch unless quiet.
    bool Decode(LineMessage& record, bool quiet);

    // Set whenever there is new work for the protocol (a message queued, a
    // lane added, the line closing).
    platform::Event& Work() { return m_work; }

    CBVLog& Log() { return m_log; }

private:
    struct Queued {
        std::unique_ptr<LineMessage> message;
        uint64_t id;
    };

    CBVLog m_log;
    LaneSlot m_slots[SerialFrame::kSlotCount];
    std::atomic<int> m_portNumber{0};
    std::atomic<int> m_portIndex{0};
    std::atomic<int> m_mode{0};

    mutable std::mutex m_queueLock;
    std::deque<std::unique_ptr<LineMessage>> m_received;
    std::deque<Queued> m_send;
    std::deque<std::unique_ptr<LineMessage>> m_copies;
    uint64_t m_nextId = 1;
    uint32_t m_copyReaderTick = 0;  // under the queue lock

    platform::Event m_work;
    std::atomic<int> m_lineState{0};
    std::atomic<bool> m_usbSetUpWanted{false};
};
