#pragma once
// The ring of 32 raw records between the receive thread, which fills them,
// and the protocol thread, which takes them. One writer and one reader: the
// writer alone moves the write index and the reader alone the read index,
// each publishing its move with release ordering and reading the other's
// with acquire, so a record is complete before the reader can see it.
#include "line/LineMessage.h"

#include <atomic>
#include <cstdint>

class LineRing {
public:
    static constexpr int kSize = 32;

    // The record the writer fills next.
    LineMessage& WriteRecord() { return m_records[m_write.load(std::memory_order_relaxed)]; }
    // Hands the filled record to the reader. False when the ring is full: the
    // record stays where it is and the next frame overwrites it.
    bool Publish()
    {
        uint8_t w = m_write.load(std::memory_order_relaxed);
        uint8_t next = static_cast<uint8_t>((w + 1) % kSize);
        if (next == m_read.load(std::memory_order_acquire))
            return false;
        m_write.store(next, std::memory_order_release);
        return true;
    }
    bool IsFullAfterThis() const
    {
        uint8_t w = m_write.load(std::memory_order_relaxed);
        return static_cast<uint8_t>((w + 1) % kSize) == m_read.load(std::memory_order_acquire);
    }

    bool Empty() const
    {
        return m_read.load(std::memory_order_relaxed) == m_write.load(std::memory_order_acquire);
    }
    // The oldest record the reader has not taken, or null.
    LineMessage* ReadRecord()
    {
        uint8_t r = m_read.load(std::memory_order_relaxed);
        if (r == m_write.load(std::memory_order_acquire))
            return nullptr;
        return &m_records[r];
    }
    void Pop()
    {
        uint8_t r = m_read.load(std::memory_order_relaxed);
        if (r != m_write.load(std::memory_order_acquire))
            m_read.store(static_cast<uint8_t>((r + 1) % kSize), std::memory_order_release);
    }

    // Both indices to 0; only while neither thread runs.
    void Reset()
    {
        m_read.store(0, std::memory_order_relaxed);
        m_write.store(0, std::memory_order_relaxed);
    }

private:
    LineMessage m_records[kSize]{};
    std::atomic<uint8_t> m_read{0};
    std::atomic<uint8_t> m_write{0};
};
