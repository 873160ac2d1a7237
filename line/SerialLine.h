#pragma once
// The machinery of one serial bus: the port and its lock, the line events,
// the receive ring, and the threads that run the bus.
//
// A polling line (the bus master) runs in one thread, at raised priority,
// that does in turn what the bus needs:
//  - the protocol sends the message at the head of the send queue, or polls
//    the next registered unit, and reads the answers from the ring
//    (acknowledging messages, counting failures in the lane slots, queuing
//    what units sent);
//  - the frame goes out: RTS keyed, the bytes written, RTS held until the
//    frame has left the wire;
//  - the receiver splits the incoming bytes into frames, drops the echo of
//    our own frames and finds the end of each answer by silence on the bus.
// One poll then costs three wake-ups (the frame gone, the answer's bytes,
// the silence after them) where handing it between threads cost twice as
// many.
//
// A line that does not poll only listens: a receive thread stores what
// comes, beside a protocol and a transmit thread that wait.
//
// Every wait is bounded, so each thread comes back to its stop flag; the
// reading thread sleeps in the port until bytes come or the next time check
// is due, never spinning.
#include "line/LineChannel.h"
#include "line/LineReceiver.h"
#include "line/LineRing.h"
#include "line/LineTiming.h"
#include "line/SerialFrame.h"
#include "platform/system/EventSet.h"
#include "platform/ports/Port.h"
#include "platform/system/Thread.h"

#include <atomic>
#include <memory>
#include <mutex>

class SerialLine : public std::enable_shared_from_this<SerialLine>, private LineReceiverSink {
public:
    // The line events; a polling line takes 0..3 between its turns.
    enum EventIndex {
        kStop = 0,
        kFrame = 1,          // a second or later frame of a burst is complete
        kTransmitDone = 2,   // a frame that expects no answer has left
        kBurstEnd = 3,
        kReceiverUp = 4,
        kTransmitterUp = 5,
        kTransmitRequest = 6,
        kAnswer = 7,         // the frame sent expects an answer
        kTransmitterIdle = 8,
        kEventCount = 9,
    };
    enum Which { kProtocol = 0, kReceive = 1, kTransmit = 2, kThreadCount = 3 };

    SerialLine(std::shared_ptr<LineChannel> channel, std::unique_ptr<platform::Port> port, int portNumber, int mode);
    ~SerialLine() override;

    // Sets the port up for the bus: character format and speed, errors
    // cleared, queues purged, RTS and DTR off. 0, or the line's open code
    // (-104, -107, -108) after logging.
    int Prepare();
    // Starts the protocol, receive and transmit threads. 0, or -110..-112.
    int StartThreads();

    // Tells the threads to end and wakes every wait they may be in.
    void RequestStop();
    // On a polling line the one thread is reported in the role it is in: one
    // that hangs in a write is the transmitter.
    bool Running(Which which) const;
    bool AnyRunning() const;
    // Joins the threads that have ended and detaches the others, which keep
    // this object alive until they end. True when all had ended.
    bool ReleaseThreads();
    // Purges the port and drops RTS and DTR (with the threads gone).
    void QuietPort();
    // Closes the port: 0, or the system error.
    int ClosePort();

    const LineTiming& Timing() const { return m_timing; }

private:
    enum class State { Idle, WaitAcknowledge, WaitPollAnswer, AcknowledgePending, BroadcastSent };

    void MasterBody();
    void ProtocolBody();
    void ReceiveBody();
    void TransmitBody();

    // Keys RTS, writes the frame and drops RTS once it has left the wire,
    // then tells the receiver and the protocol what comes next.
    void PutOnWire(const LineMessage& frame, CBVLog& log);
    // The frame handed on by Transmit, if any.
    bool TakeFrame(LineMessage& frame);

    struct ReadState {
        uint8_t buffer[512];
        int failures = 0;
    };
    // One wait in the port, until bytes come or the receiver's next
    // deadline, and what came (or did not) handed to the receiver.
    void ReadOnce(LineReceiver& receiver, ReadState& read, CBVLog& log, Which which);

    // The protocol's turns.
    void IdleTurn(int event, bool& again);
    void WaitAcknowledgeTurn(int event, bool& again);
    void WaitPollAnswerTurn(int event, bool& again);
    void AcknowledgePendingTurn(int event, bool& again);
    void BroadcastSentTurn(int event, bool& again);
    void ThrowRing();
    // Builds and hands on the frame of the send queue's head; false when it
    // cannot go (then counted and dropped).
    bool SendMessage(LineMessage& message, uint64_t id, bool broadcast);
    void Transmit(const LineMessage& frame);
    void SendAcknowledge();
    LaneSlot& Current() { return m_channel->Slot(m_currentSlot); }

    // LineReceiverSink
    int64_t TransmissionEnd() override { return m_transmissionEnd.load(std::memory_order_acquire); }
    bool TransmitBusy() override { return m_transmitBusy.load(std::memory_order_acquire); }
    bool AnswerPending() override { return m_events.IsSet(kAnswer); }
    void ClearAnswer() override { m_events.Reset(kAnswer); }
    void SignalFrame() override { m_events.Set(kFrame); }
    void SignalBurstEnd() override { m_events.Set(kBurstEnd); }
    bool KickAllowed() override { return !m_waitingForWork.load(std::memory_order_acquire); }
    void EchoSeen() override;
    void FrameStored(const LineMessage& raw) override;
    void AnswerCut(bool lost) override { m_answerCut.fetch_or(lost ? kCutLost : kCutPaused, std::memory_order_acq_rel); }
    // The protocol's side of a troubled answer of the current slot: logged
    // once per lane, as every poll round would repeat it; the counts stay
    // the slot's failed poll or send.
    void NoteAnswerTrouble(bool nothingCame);

    std::shared_ptr<LineChannel> m_channel;
    std::unique_ptr<platform::Port> m_port;
    std::mutex m_portLock;
    const int m_portNumber;
    const int m_mode;
    const LineTiming& m_timing;

    platform::EventSet m_events{kEventCount};
    platform::Thread m_threads[kThreadCount];
    std::atomic<bool> m_running[kThreadCount]{};
    std::atomic<bool> m_stop[kThreadCount]{};

    // Shared timing values.
    std::atomic<int64_t> m_transmissionEnd{0};
    std::atomic<bool> m_transmitBusy{false};
    std::atomic<bool> m_waitingForWork{false};
    std::atomic<bool> m_receiverInPort{false};  // the receive thread waits in the port
    std::atomic<bool> m_writing{false};         // a frame's bytes are being handed to the port
    enum : int { kCutPaused = 1, kCutLost = 2 };
    std::atomic<int> m_answerCut{0};

    // The frame the transmitter sends next, handed over under its own lock.
    std::mutex m_transmitLock;
    LineMessage m_transmitRecord{};
    bool m_transmitReady = false;

    LineRing m_ring;

    // Protocol thread's own.
    CBVLog m_protocolLog;
    State m_state = State::Idle;
    int m_currentSlot = SerialFrame::kBroadcastSlot;
    int m_lastPolledSlot = 0;
    uint16_t m_pollCycles = 0;
    uint64_t m_sentId = 0;
    bool m_nothingToDoLogged = false;
    bool m_cutLogged[SerialFrame::kBroadcastSlot + 1] = {};
    bool m_silentLogged[SerialFrame::kBroadcastSlot + 1] = {};
};
