#include "line/LineReceiver.h"

#include "foundation/files/BVLog.h"
#include "line/SerialFrame.h"

#include <algorithm>
#include <climits>

#define RX_LOG(level, ...)                                   \
    do {                                                     \
        if (m_log)                                           \
            BV_LOG(*m_log, level, __VA_ARGS__);              \
    } while (0)

LineReceiver::LineReceiver(LineRing& ring, LineReceiverSink& sink, const LineTiming& timing, CBVLog* log,
                           int portNumber)
    : m_ring(ring),
      m_sink(sink),
      m_log(log),
      m_portNumber(portNumber),
      m_byte(timing.ByteCounts(1)),
      m_echoWindow(timing.Ms(timing.echoWindowMs)),
      m_answerTime(timing.Ms(timing.answerTimeMs)),
      m_frameSilence(timing.Ms(timing.frameSilenceMs)),
      m_partialSilence(timing.Ms(timing.partialSilenceMs)),
      m_errorSilence(timing.Ms(timing.errorSilenceMs)),
      m_idleSafety(timing.Ms(timing.idleSafetyMs)),
      m_frameTime(timing.ByteCounts(SerialFrame::kMaxReceivedFrame + 1))
{
}

void LineReceiver::Start(int64_t now)
{
    m_state = kIdle;
    m_index = 0;
    m_frames = 0;
    m_burst = false;
    m_paused = false;
    m_burstStart = m_lastActivity = m_frameStart = now;
}

void LineReceiver::OnError() { m_state = kError; }

void LineReceiver::CheckClock(int64_t now)
{
    // The counter is monotonic; a value from the future means a broken
    // clock, and is brought back so that no silence lasts for ever.
    if (now < m_burstStart) {
        RX_LOG(80, "Perf. timer wrapped! at  Com%d", m_portNumber);
        m_burstStart = now;
    }
    if (now < m_lastActivity) {
        RX_LOG(80, "Perf. timer wrapped! at  Com%d", m_portNumber);
        m_lastActivity = now;
    }
}

void LineReceiver::OnBytes(const uint8_t* bytes, size_t k, int64_t now, int64_t emptyAt)
{
    CheckClock(now);
    if (k == 0)
        return;
    int64_t transmissionEnd = m_sink.TransmissionEnd();
    if (transmissionEnd > now) {
        RX_LOG(80, "Perf. timer wrapped! at  Com%d", m_portNumber);
        transmissionEnd = now;
    }
    if (!m_burst) {
        if (m_state == kIdle)
            m_state = kReceiving;
        m_burst = true;
        m_frames = 0;
        // The first byte came k byte times before the read, on a wire; a
        // pseudo-terminal may hand on a frame's bytes all at once, so never
        // before the port was last seen empty.
        m_burstStart = std::max(now - static_cast<int64_t>(k) * m_byte, emptyAt);
    }
    for (size_t b = 0; b < k; ++b) {
        uint8_t byte = bytes[b];
        if (m_index == 0) {
            m_frameStart = now;
            m_paused = false;
        }
        LineMessage& record = m_ring.WriteRecord();
        if (byte != SerialFrame::kEnd) {
            if (m_index < SerialFrame::kMaxReceivedFrame) {
                record.data[++m_index] = byte;
            } else if (!m_overflowLogged) {
                RX_LOG(70, "Buffer overflow at  Com%d", m_portNumber);
                m_overflowLogged = true;
            }
            continue;
        }
        // The carriage return counts as a byte of its own: after 255 kept
        // bytes the frame is too long and gets the length 0.
        ++m_index;
        if (m_index <= SerialFrame::kMaxReceivedFrame)
            record.data[m_index] = byte;
        m_burst = true;
        m_overflowLogged = false;
        if (m_burstStart <= transmissionEnd + m_echoWindow) {
            // Our own frame heard back from the bus.
            m_sink.EchoSeen();
            m_index = 0;
            m_lastActivity = now;
            m_state = kIdle;
            m_burst = false;
            m_burstStart = now;
            continue;
        }
        record.data[0] = static_cast<uint8_t>(m_index <= SerialFrame::kMaxReceivedFrame ? m_index : 0);
        ++m_frames;
        if (m_ring.IsFullAfterThis()) {
            RX_LOG(80, "No receive buffer available!!! Com%d", m_portNumber);
        } else {
            m_sink.FrameStored(record);
            m_ring.Publish();
        }
        m_index = 0;
        if (m_frames >= 2)
            m_sink.SignalFrame();
        m_burstStart = now;
        m_state = kComplete;
    }
    m_lastActivity = now;
}

void LineReceiver::EndBurst()
{
    m_state = kIdle;
    m_sink.ClearAnswer();
    m_sink.SignalBurstEnd();
    m_burst = false;
    m_frames = 0;
    m_index = 0;
    m_paused = false;
}

void LineReceiver::OnQuiet(int64_t now)
{
    CheckClock(now);
    if (m_state == kIdle) {
        int64_t transmissionEnd = m_sink.TransmissionEnd();
        if (!m_burst && m_sink.AnswerPending()) {
            if (now >= transmissionEnd + m_answerTime) {
                // No answer came.
                m_burst = false;
                m_index = 0;
                m_sink.ClearAnswer();
                m_sink.SignalBurstEnd();
            }
            return;
        }
        if (!m_burst && !m_sink.TransmitBusy() && m_sink.KickAllowed() && now >= m_lastActivity + m_idleSafety &&
            now >= transmissionEnd + m_idleSafety) {
            // An event was lost somewhere; start the next turn. Once per
            // safety time, not on every look at a silent line.
            m_sink.SignalBurstEnd();
            RX_LOG(80, "Safety event fired in idle");
            m_lastActivity = now;
        }
        return;
    }
    if (m_state != kError && m_index > 0) {
        // A frame is coming: its unit still holds the bus. A pause in it is
        // no end; the next transmission waits until the frame ends or cannot
        // end any more, or it would run into the rest of the answer.
        if (now - m_lastActivity < m_partialSilence)
            return;
        if (!m_paused) {
            m_paused = true;
            m_sink.AnswerCut(false);
        }
        if (now >= FrameBound()) {
            m_sink.AnswerCut(true);
            EndBurst();
        }
        return;
    }
    int64_t silence = m_state == kComplete ? m_frameSilence : m_state == kError ? m_errorSilence : m_partialSilence;
    if (now - m_lastActivity >= silence)
        EndBurst();
}

int64_t LineReceiver::NextDeadline() const
{
    if (m_state != kIdle && m_state != kError && m_index > 0)
        return m_paused ? FrameBound() : m_lastActivity + m_partialSilence;
    if (m_state != kIdle) {
        int64_t silence = m_state == kComplete ? m_frameSilence : m_state == kError ? m_errorSilence : m_partialSilence;
        return m_lastActivity + silence;
    }
    if (m_burst)
        return INT64_MAX;
    int64_t transmissionEnd = m_sink.TransmissionEnd();
    if (m_sink.AnswerPending())
        return transmissionEnd + m_answerTime;
    if (m_sink.TransmitBusy() || !m_sink.KickAllowed())
        return INT64_MAX;
    return std::max(m_lastActivity, transmissionEnd) + m_idleSafety;
}
