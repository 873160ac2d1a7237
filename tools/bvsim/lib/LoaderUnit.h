#pragma once
// A target unit as the software loader meets it: it answers version,
// configuration, counters and load commands (prepare, commit, restart,
// status), keeps the image blocks it hears broadcast in a 0x20000-byte
// memory (erased by the prepare of a first pass), lists the blocks it took
// when it is polled, and serves a log of 1024 blocks (0..511 and
// 4096..4607). Faults on request: acknowledgement lists with news in them
// lost, blocks refused. The bus feeds it what it hears and sends what it
// answers; it needs no bus to be tried.
#include "tools/bvsim/lib/UnitFrame.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace bvsim {

class LoaderUnit {
public:
    static constexpr uint32_t kMemory = 0x20000;
    static constexpr int kLogBytes = 32;

    explicit LoaderUnit(int lane);

    // A message the unit heard (payload from position 2 on, checksum
    // tested); its answers, to be sent when it is polled.
    std::vector<Bytes> Hear(const Bytes& payload, bool broadcast);
    // When polled with nothing else to send: the list of blocks taken since
    // the last list, or nothing.
    bool TakeAcknowledgements(Bytes& message);

    // A dual unit names its twin in its version answer (the newer form).
    void SetTwin(int twin) { m_twin = twin; }
    void SetVersion(int major, int minor) { m_major = major; m_minor = minor; }
    // The next count lists that name a block not listed before are lost.
    void SetDropLists(int count) { m_dropLists = count; }
    void SetRefuseBlocks(int count) { m_refuseBlocks = count; }

    int Lane() const { return m_lane; }
    int Commits() const { return m_commits; }
    int Restarts() const { return m_restarts; }
    int Prepares() const { return m_prepares; }
    int Pass() const { return m_pass; }
    int BlocksHeard() const { return m_blocksHeard; }
    int BlocksRefused() const { return m_blocksRefused; }
    int ListsDropped() const { return m_listsDropped; }
    // The highest block number N for which blocks 1..N have all been listed
    // to the loader (lists sent; dropped ones do not count).
    int ListedPrefix() const;

    // What the unit was loaded with, as S2 records and an S8 record.
    std::string ImageRecords() const;
    // The log block the unit serves for a number, the same every time.
    static Bytes LogBlock(int lane, int number);
    // The line a loader writes for that block in its log file.
    static std::string LogLine(int lane, int number);

private:
    Bytes Answer(uint8_t type, std::initializer_list<uint8_t> from5, int lastIndex) const;
    void TakeBlock(const Bytes& p);

    int m_lane;
    int m_twin = 0;
    int m_major = 2;
    int m_minor = 7;
    int m_pass = 1;
    int m_prepares = 0;
    int m_commits = 0;
    int m_restarts = 0;
    int m_blocksHeard = 0;
    int m_blocksRefused = 0;
    int m_dropLists = 0;
    int m_refuseBlocks = 0;
    int m_listsDropped = 0;
    std::vector<uint8_t> m_memory;
    std::vector<bool> m_written;
    std::deque<int> m_toList;
    std::vector<bool> m_listed;  // by block number
};

}  // namespace bvsim
