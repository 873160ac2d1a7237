#include "tools/bvsim/lib/LoaderUnit.h"

#include <algorithm>
#include <cstdio>

namespace bvsim {
namespace {

// Positions in a payload (payload[0] is position 2).
constexpr size_t At(int position) { return static_cast<size_t>(position - 2); }

constexpr size_t kMostListed = 20;  // block numbers in one list
constexpr int kLastLogBlock = 4607;

}  // namespace

LoaderUnit::LoaderUnit(int lane) : m_lane(lane), m_memory(kMemory, 0xFF), m_written(kMemory, false) {}

Bytes LoaderUnit::Answer(uint8_t type, std::initializer_list<uint8_t> from5, int lastIndex) const
{
    Bytes p(static_cast<size_t>(lastIndex - 1), 0);
    p[At(2)] = 0x40;
    p[At(3)] = type;
    p[At(4)] = static_cast<uint8_t>(m_lane);
    size_t k = At(5);
    for (uint8_t b : from5)
        if (k < p.size())
            p[k++] = b;
    return p;
}

Bytes LoaderUnit::LogBlock(int lane, int number)
{
    Bytes b(kLogBytes);
    for (int k = 0; k < kLogBytes; ++k)
        b[static_cast<size_t>(k)] = static_cast<uint8_t>((lane * 37 + number * 11 + k * 7) ^ (number >> 3));
    return b;
}

std::string LoaderUnit::LogLine(int lane, int number)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X = ", number);
    std::string line = text;
    for (uint8_t b : LogBlock(lane, number)) {
        std::snprintf(text, sizeof text, "%02X ", b);
        line += text;
    }
    return line + "\r\n";
}

void LoaderUnit::TakeBlock(const Bytes& p)
{
    if (p.size() < At(9))
        return;
    int target = p[At(4)];
    if (target != 0 && target != m_lane)
        return;
    ++m_blocksHeard;
    int block = p[At(6)] * 256 + p[At(7)];
    int n = p[At(8)];
    if (p.size() < At(11) + static_cast<size_t>(n) || n == 0)
        return;
    if (m_refuseBlocks > 0) {
        --m_refuseBlocks;
        ++m_blocksRefused;
        return;  // the refusal goes out from Hear
    }
    // The destination sector and the pass give the sector of the image.
    int destination = p[At(9)] >> 6;
    int sector = destination + (m_pass == 2 ? 4 : 0);
    uint32_t address = static_cast<uint32_t>(sector) * 0x4000 + ((p[At(9)] & 0x3Fu) << 8) + p[At(10)];
    for (int k = 0; k < n; ++k) {
        uint32_t a = address + static_cast<uint32_t>(k);
        if (a < kMemory) {
            m_memory[a] = p[At(11) + static_cast<size_t>(k)];
            m_written[a] = true;
        }
    }
    m_toList.push_back(block);
}

std::vector<Bytes> LoaderUnit::Hear(const Bytes& p, bool broadcast)
{
    std::vector<Bytes> out;
    if (p.size() < At(4) || p[At(2)] != 0x40)
        return out;
    uint8_t code = p[At(3)];
    int lane = p[At(4)];
    if (!broadcast && lane != m_lane && code != 0x61)
        return out;
    auto byteAt = [&](int position) -> uint8_t { return p.size() > At(position) ? p[At(position)] : 0; };
    switch (code) {
    case 0x38: {
        // Version major.minor of 14.03.2011; the newer form names the unit's
        // own lane and its twin.
        int twin = m_twin ? m_twin : m_lane;
        out.push_back(Answer(0x86,
                             {static_cast<uint8_t>(m_major), static_cast<uint8_t>(m_minor), 20, 11, 3, 14,
                              static_cast<uint8_t>(m_lane), static_cast<uint8_t>(twin)},
                             12));
        break;
    }
    case 0x34:
        out.push_back(Answer(0x84, {8, 0, 0, 0, 0, 0, 0, 0x12, 0x34, 2, 0x80}, 20));
        break;
    case 0x3F: {
        Bytes a = Answer(0x87, {}, 28);
        // 12345 shots, 678 errors.
        a[At(11)] = 0;
        a[At(12)] = 1;
        a[At(13)] = 0x09;
        a[At(14)] = 0x29;
        a[At(17)] = 0x02;
        a[At(18)] = 0xA6;
        out.push_back(a);
        break;
    }
    case 0x60: {
        uint8_t sub = byteAt(6);
        if (sub == 0) {
            ++m_prepares;
            // The first pass of a new load: the unit erases what it held,
            // and the block numbers start again from 1.
            if (m_pass == 1) {
                std::fill(m_memory.begin(), m_memory.end(), 0xFF);
                std::fill(m_written.begin(), m_written.end(), false);
                m_toList.clear();
                m_listed.clear();
            }
        } else if (sub == 1) {
            ++m_commits;
            // The first pass's commit carries 4 at position 7; the second 2.
            if (byteAt(7) == 4)
                m_pass = 2;
        } else if (sub == 3) {
            ++m_restarts;
            m_pass = 1;
        }
        if (sub <= 4)
            out.push_back(Answer(0x90, {byteAt(5), sub}, 6));
        break;
    }
    case 0x61: {
        int refusedBefore = m_blocksRefused;
        TakeBlock(p);
        if (m_blocksRefused != refusedBefore)
            out.push_back(Answer(0x93, {byteAt(6), byteAt(7), 1, 0}, 8));
        break;
    }
    case 0x5F: {
        int number = byteAt(5) * 256 + byteAt(6);
        if ((number >= 0 && number < 512) || (number >= 4096 && number <= kLastLogBlock)) {
            Bytes a = Answer(0xAF, {byteAt(5), byteAt(6)}, 38);
            Bytes log = LogBlock(m_lane, number);
            std::copy(log.begin(), log.end(), a.begin() + static_cast<long>(At(7)));
            out.push_back(a);
        }
        break;
    }
    default:
        break;
    }
    return out;
}

bool LoaderUnit::TakeAcknowledgements(Bytes& message)
{
    if (m_toList.empty())
        return false;
    size_t count = std::min(kMostListed, m_toList.size());
    message = Answer(0x92, {static_cast<uint8_t>(count)}, 5 + 2 * static_cast<int>(count));
    for (size_t k = 0; k < count; ++k) {
        int block = m_toList.front();
        m_toList.pop_front();
        message[At(6) + 2 * k] = static_cast<uint8_t>(block >> 8);
        message[At(7) + 2 * k] = static_cast<uint8_t>(block & 0xFF);
    }
    // A lost list is one that told something new: a list repeating what the
    // loader knows already would be no loss.
    bool news = false;
    for (size_t k = 0; k < count; ++k) {
        size_t block = static_cast<size_t>(message[At(6) + 2 * k] * 256 + message[At(7) + 2 * k]);
        news = news || block >= m_listed.size() || !m_listed[block];
    }
    if (m_dropLists > 0 && news) {
        --m_dropLists;
        ++m_listsDropped;
        return false;
    }
    for (size_t k = 0; k < count; ++k) {
        size_t block = static_cast<size_t>(message[At(6) + 2 * k] * 256 + message[At(7) + 2 * k]);
        if (m_listed.size() <= block)
            m_listed.resize(block + 1);
        m_listed[block] = true;
    }
    return true;
}

int LoaderUnit::ListedPrefix() const
{
    int n = 0;
    while (static_cast<size_t>(n + 1) < m_listed.size() && m_listed[static_cast<size_t>(n + 1)])
        ++n;
    return n;
}

std::string LoaderUnit::ImageRecords() const
{
    std::string text;
    char hex[8];
    uint32_t a = 0;
    while (a < kMemory) {
        if (!m_written[a]) {
            ++a;
            continue;
        }
        uint32_t start = a;
        while (a < kMemory && m_written[a] && a - start < 32)
            ++a;
        unsigned count = (a - start) + 4;
        unsigned sum = count + (start >> 16) + ((start >> 8) & 0xFF) + (start & 0xFF);
        std::snprintf(hex, sizeof hex, "S2%02X", count);
        text += hex;
        std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(start));
        text += hex;
        for (uint32_t k = start; k < a; ++k) {
            sum += m_memory[k];
            std::snprintf(hex, sizeof hex, "%02X", m_memory[k]);
            text += hex;
        }
        std::snprintf(hex, sizeof hex, "%02X\r\n", ~sum & 0xFF);
        text += hex;
    }
    return text + "S804000000FB\r\n";
}

}  // namespace bvsim
