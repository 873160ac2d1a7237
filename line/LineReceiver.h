#pragma once
// The receive side of a serial bus: splits the bytes that come off the line
// into frames in the receive ring, drops the echo of our own transmissions,
// and finds the end of each burst by silence. The receive thread feeds it
// what it reads and asks it when to look again; everything it needs from the
// rest of the line comes through LineReceiverSink, so it also runs alone in a
// test or a fuzzer.
//
// Times are counts of the high-resolution counter.
#include "line/LineRing.h"
#include "line/LineTiming.h"

#include <climits>
#include <cstddef>
#include <cstdint>

class CBVLog;

class LineReceiverSink {
public:
    virtual ~LineReceiverSink() = default;
    // When our last transmission ended (RTS dropped).
    virtual int64_t TransmissionEnd() = 0;
    virtual bool TransmitBusy() = 0;
    // The transmitter sent a frame that expects an answer, and none has begun.
    virtual bool AnswerPending() = 0;
    virtual void ClearAnswer() = 0;
    // A second or later frame of a burst is complete.
    virtual void SignalFrame() = 0;
    // The burst has ended (or the line is kicked).
    virtual void SignalBurstEnd() = 0;
    // The protocol waits for the line; false while it waits for work, when
    // kicking an idle line would only wake it for nothing.
    virtual bool KickAllowed() = 0;
    // The echo of our own frame came back: make sure RTS is off.
    virtual void EchoSeen() = 0;
    // A frame went into the ring (for the line monitor's copies).
    virtual void FrameStored(const LineMessage& raw) = 0;
    // The bytes of a frame stopped for longer than the partial-frame
    // silence: once when the pause passes that silence (lost false), and
    // again when the frame's bound passed without its end (lost true).
    virtual void AnswerCut(bool lost) { (void)lost; }
};

class LineReceiver {
public:
    enum State { kIdle = 0, kReceiving = 1, kError = 3, kComplete = 4 };

    // log may be null (nothing is logged); portNumber names the line in the log.
    LineReceiver(LineRing& ring, LineReceiverSink& sink, const LineTiming& timing, CBVLog* log, int portNumber);

    void Start(int64_t now);
    // A read or error-state failure, or bytes lost by the driver.
    void OnError();
    // k > 0 bytes read at now. emptyAt is when the port was last seen
    // empty, if known: the burst cannot have begun before it, however many
    // bytes one read brings (a simulator catching up, a delayed reader).
    void OnBytes(const uint8_t* bytes, size_t k, int64_t now, int64_t emptyAt = INT64_MIN);
    // Nothing was read: the time checks (answer time, idle kick, burst end).
    void OnQuiet(int64_t now);
    // When OnQuiet has something to do next, if nothing arrives first;
    // INT64_MAX when only input can change anything.
    int64_t NextDeadline() const;

    int State() const { return m_state; }
    bool BurstOpen() const { return m_burst; }
    int FramesInBurst() const { return m_frames; }

private:
    void CheckClock(int64_t now);
    void EndBurst();
    // While a frame is partial: the latest its end may come, counted from
    // its first byte (the longest frame's time), plus the partial silence.
    int64_t FrameBound() const { return m_frameStart + m_frameTime + m_partialSilence; }

    LineRing& m_ring;
    LineReceiverSink& m_sink;
    CBVLog* m_log;
    int m_portNumber;

    // The timing table in counter counts.
    int64_t m_byte;
    int64_t m_echoWindow;
    int64_t m_answerTime;
    int64_t m_frameSilence;
    int64_t m_partialSilence;
    int64_t m_errorSilence;
    int64_t m_idleSafety;
    int64_t m_frameTime;

    int m_state = kIdle;
    int m_index = 0;        // bytes of the current frame so far
    int m_frames = 0;       // frames in this burst
    bool m_burst = false;
    bool m_overflowLogged = false;
    int64_t m_burstStart = 0;    // arrival of the burst's (or frame's) first byte
    int64_t m_lastActivity = 0;  // when bytes last came
    int64_t m_frameStart = 0;    // when the current frame's first byte was read
    bool m_paused = false;       // the current frame's bytes stopped past the partial silence
};
