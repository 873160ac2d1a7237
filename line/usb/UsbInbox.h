#pragma once
// What came from a USB line adapter and has not been handled yet: 384 bytes
// of received data, from which frames are taken one at a time, each up to
// and including its 0xFF. Reads through any port, so that the same code runs
// on the adapter and in tests on a stream.
#include "foundation/files/BVLog.h"
#include "platform/ports/Port.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

class UsbInbox {
public:
    static constexpr size_t kSize = 384;

    // Takes the next frame into Frame(): at once when the inbox holds one,
    // else reading what the port brings within waitMs (or until stop is
    // set). Returns the frame's size, 0 when none came. An inbox filled up
    // without a frame end is dropped (logged), and reading starts afresh:
    // the adapter lost its way, and the next 0xFF starts it again.
    size_t Take(platform::Port& port, int waitMs, CBVLog& log, const std::atomic<bool>* stop = nullptr);
    // Adds bytes without a port (what Take does with what it reads).
    void Append(const uint8_t* data, size_t size) ;

    const uint8_t* Frame() const { return m_frame; }
    size_t FrameSize() const { return m_frameSize; }
    size_t Fill() const { return m_fill; }
    void Clear();

private:
    // Moves the first frame to the frame buffer; its size, or 0.
    size_t Cut(CBVLog& log);

    uint8_t m_inbox[kSize] = {};
    size_t m_fill = 0;
    uint8_t m_frame[kSize] = {};
    size_t m_frameSize = 0;
};
