// A stand-in for an outside range system's range control library: channels
// in memory behind its twelve entry points. Each channel has the protocol it
// reports, a queue of messages for the program, and may be told to refuse
// or not be ready for the program's next puts.
//
// Commands (one per line, from the pipe named by BV_RCI2000_CONTROL or
// BvRci2000Command):
//   reset                      12 channels, protocol 0, nothing queued, log closed
//   log FILE                   every put and get logged to FILE
//   channels N                 what RCI_GetMaxChannel reports
//   protocol CH P              what LCI_GetProtocol reports for channel CH
//   fail CH                    LCI_Create fails for channel CH
//   message CH HEX             a message for the program on channel CH
//   shot CH NUMBER TIME X Y B C A
//                              a data message of kind 3: X and Y in
//                              millimetres, B the ring value, C the score in
//                              tenths, A the flag bits (hex)
//   notready CH K              the next K LCI_ReadyToPut on CH say no
//   refuse CH K                the next K LCI_Put on CH are refused
#include "tools/standin/StandIn.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr int kChannels = 100;

struct Channel {
    bool open = false;
    bool fail = false;
    uint16_t protocol = 0;
    std::deque<std::vector<uint8_t>> messages;
    int notReady = 0;
    int refuse = 0;
};

std::mutex g_lock;
Channel g_channels[kChannels];
int g_maxChannel = 12;
bool g_rangeOpen = false;
standin::Log g_log;

void Start();

std::string Who(int c) { return "Ch" + std::to_string(c); }

void Put16(std::vector<uint8_t>& m, unsigned v)
{
    m.push_back(static_cast<uint8_t>(v >> 8));
    m.push_back(static_cast<uint8_t>(v));
}

void Put32(std::vector<uint8_t>& m, uint32_t v)
{
    Put16(m, v >> 16);
    Put16(m, v & 0xFFFF);
}

void PutFloat(std::vector<uint8_t>& m, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    Put32(m, bits);
}

void RunCommand(const std::string& line)
{
    std::vector<std::string> w = standin::Words(line);
    if (w.empty())
        return;
    std::lock_guard<std::mutex> hold(g_lock);
    if (w[0] == "reset") {
        for (Channel& c : g_channels)
            c = Channel{};
        g_maxChannel = 12;
        g_log.SetFile("");
        return;
    }
    if (w[0] == "log") {
        g_log.SetFile(w.size() > 1 ? w[1] : "");
        return;
    }
    if (w[0] == "channels" && w.size() > 1) {
        g_maxChannel = std::atoi(w[1].c_str());
        return;
    }
    if (w.size() < 2)
        return;
    int c = std::atoi(w[1].c_str());
    if (c < 0 || c >= kChannels)
        return;
    Channel& ch = g_channels[c];
    if (w[0] == "protocol" && w.size() > 2) {
        ch.protocol = static_cast<uint16_t>(std::atoi(w[2].c_str()));
    } else if (w[0] == "fail") {
        ch.fail = true;
    } else if (w[0] == "message" && w.size() > 2) {
        std::vector<uint8_t> m;
        std::string hex;
        for (size_t i = 2; i < w.size(); ++i)
            hex += w[i];
        if (standin::ParseHex(hex, m))
            ch.messages.push_back(m);
    } else if (w[0] == "shot" && w.size() > 8) {
        // Code 0x003C, number, time, kind 3, sub-kind 0, A, B, C, four
        // bytes, X, Y (metres), four bytes.
        std::vector<uint8_t> m = {0x00, 0x3C};
        Put16(m, static_cast<unsigned>(std::atoi(w[2].c_str())));
        Put32(m, static_cast<uint32_t>(std::strtoul(w[3].c_str(), nullptr, 10)));
        m.push_back(3);
        m.push_back(0);
        Put16(m, static_cast<unsigned>(std::strtoul(w.size() > 8 ? w[8].c_str() : "0", nullptr, 16)));
        Put16(m, static_cast<unsigned>(std::atoi(w[6].c_str())));
        Put16(m, static_cast<unsigned>(std::atoi(w[7].c_str())));
        Put32(m, 0);
        PutFloat(m, static_cast<float>(std::atof(w[4].c_str()) / 1000.0));
        PutFloat(m, static_cast<float>(std::atof(w[5].c_str()) / 1000.0));
        Put32(m, 0);
        Put16(m, 0);
        ch.messages.push_back(m);
    } else if (w[0] == "notready" && w.size() > 2) {
        ch.notReady = std::atoi(w[2].c_str());
    } else if (w[0] == "refuse" && w.size() > 2) {
        ch.refuse = std::atoi(w[2].c_str());
    }
}

void Start() { standin::StartPipe("BV_RCI2000_CONTROL", RunCommand); }

Channel* OfHandle(uint16_t h)
{
    int c = static_cast<int>(h) - 1;
    return c >= 0 && c < kChannels && g_channels[c].open ? &g_channels[c] : nullptr;
}

}  // namespace

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT void BvRci2000Command(const char* line)
{
    if (line)
        RunCommand(line);
}

EXPORT uint16_t RCI_Create()
{
    Start();
    std::lock_guard<std::mutex> hold(g_lock);
    g_rangeOpen = true;
    return 1;
}

EXPORT uint16_t RCI_Delete(uint16_t range)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_rangeOpen = false;
    return range == 1;
}

EXPORT uint16_t RCI_GetLastError(uint16_t) { return 7; }

EXPORT uint16_t RCI_GetMaxChannel()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return static_cast<uint16_t>(g_maxChannel);
}

EXPORT uint16_t RCI_SynchronizeRange() { return 1; }

EXPORT uint16_t LCI_Create(uint16_t range, uint16_t channel)
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (range != 1 || !g_rangeOpen || channel >= kChannels || channel >= g_maxChannel || g_channels[channel].fail)
        return 0;
    g_channels[channel].open = true;
    g_log.Line(Who(channel) + " created");
    return static_cast<uint16_t>(channel + 1);
}

EXPORT uint16_t LCI_Delete(uint16_t h)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Channel* ch = OfHandle(h);
    if (!ch)
        return 0;
    ch->open = false;
    g_log.Line(Who(h - 1) + " deleted");
    return 1;
}

EXPORT uint16_t LCI_GetProtocol(uint16_t h)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Channel* ch = OfHandle(h);
    return ch ? ch->protocol : 1;
}

EXPORT uint16_t LCI_ReadyToGet(uint16_t h)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Channel* ch = OfHandle(h);
    return ch && !ch->messages.empty();
}

EXPORT uint16_t LCI_Get(uint16_t h, uint8_t* buffer, uint16_t* length)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Channel* ch = OfHandle(h);
    if (!ch || ch->messages.empty() || !buffer || !length)
        return 0;
    std::vector<uint8_t> m = ch->messages.front();
    ch->messages.pop_front();
    // The caller's length holds its buffer's size.
    size_t n = m.size() < *length ? m.size() : *length;
    std::memcpy(buffer, m.data(), n);
    *length = static_cast<uint16_t>(n);
    g_log.Frame(Who(h - 1), '<', m.data(), n);
    return 1;
}

EXPORT uint16_t LCI_ReadyToPut(uint16_t h)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Channel* ch = OfHandle(h);
    if (!ch)
        return 0;
    if (ch->notReady > 0) {
        --ch->notReady;
        g_log.Line(Who(h - 1) + " not ready");
        return 0;
    }
    return 1;
}

EXPORT uint16_t LCI_Put(uint16_t h, const uint8_t* data, uint16_t length)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Channel* ch = OfHandle(h);
    if (!ch || !data)
        return 0;
    if (ch->refuse > 0) {
        --ch->refuse;
        g_log.Frame(Who(h - 1), '!', data, length);
        return 0;
    }
    g_log.Frame(Who(h - 1), '>', data, length);
    return 1;
}
