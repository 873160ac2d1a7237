#pragma once
// One of the 65 slots of a line: the unit registered there and the exchange
// counters from which the range control rates the lane's line status. The
// line's threads count; the range control and the line monitor read the
// counters, and the monitor clears them, from other threads without a lock,
// hence every field that changes while the line runs is atomic.
#include <atomic>
#include <cstdint>

struct LaneSlot {
    std::atomic<uint8_t> active{0};
    std::atomic<uint8_t> targetAddress{0};
    std::atomic<uint8_t> slotNumber{0};
    std::atomic<uint8_t> portIndex{0};
    std::atomic<uint32_t> consecutiveFailures{0};  // failed exchanges since the last good one
    std::atomic<uint32_t> okReceive{0};            // messages received
    std::atomic<uint32_t> okSend{0};               // messages acknowledged
    std::atomic<uint32_t> okPoll{0};               // polls answered
    std::atomic<uint32_t> failedReceive{0};        // frames with a bad checksum
    std::atomic<uint32_t> failedSend{0};           // messages not acknowledged
    std::atomic<uint32_t> failedPoll{0};           // polls without a usable answer

    // The seven counters back to 0.
    void ResetCounters()
    {
        consecutiveFailures.store(0, std::memory_order_relaxed);
        okReceive.store(0, std::memory_order_relaxed);
        okSend.store(0, std::memory_order_relaxed);
        okPoll.store(0, std::memory_order_relaxed);
        failedReceive.store(0, std::memory_order_relaxed);
        failedSend.store(0, std::memory_order_relaxed);
        failedPoll.store(0, std::memory_order_relaxed);
    }

    // A good exchange: the failure run ends.
    void Good(std::atomic<uint32_t>& counter)
    {
        consecutiveFailures.store(0, std::memory_order_relaxed);
        counter.fetch_add(1, std::memory_order_relaxed);
    }
    void Failed(std::atomic<uint32_t>& counter)
    {
        consecutiveFailures.fetch_add(1, std::memory_order_relaxed);
        counter.fetch_add(1, std::memory_order_relaxed);
    }
};
