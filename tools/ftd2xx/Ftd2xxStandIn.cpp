// A stand-in for the USB serial driver library, with USB line adapters
// "BV1nnnnn" in memory behind it. Each adapter has a boot loader and an
// application, a firmware version, a mode in its status frame, and a copy of
// the firmware pages it was sent; it answers status requests, acknowledges
// firmware half pages, reports a send result for each message frame and
// sends what its units say. Unplugging makes every call on its handle fail.
//
// Commands (one per line, from the pipe named by BV_FTD2XX_CONTROL or
// BvFtd2xxCommand):
//   reset                           all adapters gone, log closed
//   log FILE                        frames logged to FILE
//   adapter SERIAL [version M.m] [boot M.m] [mode app|boot] [loads M.m]
//                                   a plugged adapter (default 6.33, boot
//                                   1.0, application); "loads": the version
//                                   it reports once it got firmware pages
//   unplug SERIAL | plug SERIAL
//   result SERIAL 0|1|none          send result of later message frames
//   ack SERIAL on|off               acknowledge firmware half pages
//   silent SERIAL on|off            no answer to status requests
//   unit SERIAL ADDRESS HEX [slot S]  a message of unit ADDRESS (payload
//                                   HEX from its first byte) to the program
//   counts SERIAL FIRST C1 C2 ...   consecutive-failure counts to the program
//   raw SERIAL HEX                  bytes to the program as they stand
//   image SERIAL FILE               writes the firmware pages received so far
#include "tools/standin/StandIn.h"

#include <pthread.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

typedef uint32_t DWORD;
typedef uint32_t FT_STATUS;
typedef void* FT_HANDLE;
struct EventHandle {
    pthread_cond_t cond;
    pthread_mutex_t mutex;
    int var;
};

constexpr FT_STATUS kOk = 0, kInvalidHandle = 1, kNotFound = 2, kIoError = 4,
                    kInvalidParameter = 6;
constexpr DWORD kOpenBySerial = 1, kListNumberOnly = 0x80000000u, kListByIndex = 0x40000000u;

struct Adapter {
    std::string serial;
    bool plugged = true;
    bool open = false;
    int handle = 0;
    uint8_t major = 6, minor = 33, bootMajor = 1, bootMinor = 0;
    bool application = true;
    bool loads = false;
    uint8_t loadsMajor = 0, loadsMinor = 0;
    int result = 1;  // -1: none
    bool ack = true;
    bool silent = false;
    std::vector<uint8_t> image;
    std::vector<uint8_t> fromProgram;  // bytes not yet a whole frame
    std::vector<uint8_t> toProgram;
    EventHandle* event = nullptr;
};

std::mutex g_lock;
std::vector<std::unique_ptr<Adapter>> g_adapters;
int g_nextHandle = 1;
standin::Log g_log;

void RunCommand(const std::string& line);

void Start() { standin::StartPipe("BV_FTD2XX_CONTROL", RunCommand); }

Adapter* Find(const std::string& serial)
{
    for (auto& a : g_adapters)
        if (a->serial == serial)
            return a.get();
    return nullptr;
}

Adapter* OfHandle(FT_HANDLE h)
{
    int id = static_cast<int>(reinterpret_cast<intptr_t>(h));
    for (auto& a : g_adapters)
        if (a->open && a->handle == id && id != 0)
            return a.get();
    return nullptr;
}

void Signal(Adapter& a)
{
    if (!a.event)
        return;
    pthread_mutex_lock(&a.event->mutex);
    pthread_cond_signal(&a.event->cond);
    pthread_mutex_unlock(&a.event->mutex);
}

void ToProgram(Adapter& a, const std::vector<uint8_t>& frame)
{
    if (!a.plugged)
        return;
    g_log.Frame(a.serial, '<', frame.data(), frame.size());
    a.toProgram.insert(a.toProgram.end(), frame.begin(), frame.end());
    Signal(a);
}

void PutEscaped(std::vector<uint8_t>& out, uint8_t b)
{
    if (b == 0xFF || b == 0xFE) {
        out.push_back(0xFE);
        out.push_back(b == 0xFF ? 0x0F : 0x0E);
    } else {
        out.push_back(b);
    }
}

std::vector<uint8_t> Unescape(const uint8_t* p, size_t n)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == 0xFE && i + 1 < n && (p[i + 1] == 0x0F || p[i + 1] == 0x0E)) {
            out.push_back(p[i + 1] == 0x0F ? 0xFF : 0xFE);
            ++i;
        } else {
            out.push_back(p[i]);
        }
    }
    return out;
}

// One whole frame from the program.
void FromProgram(Adapter& a, const std::vector<uint8_t>& f)
{
    g_log.Frame(a.serial, '>', f.data(), f.size());
    if (f.size() < 3)
        return;  // the 0xFF that precedes a status request
    switch (f[0]) {
    case 0xE0:
        if (!a.silent)
            ToProgram(a, {0xE0, 8, a.major, a.minor, static_cast<uint8_t>(a.application ? 2 : 1), a.bootMajor,
                          a.bootMinor, 0xFF});
        break;
    case 0x19: a.application = false; break;  // to the boot loader
    case 0xE9: a.application = true; break;
    case 0xE2: {
        if (a.application || f.size() < 6)
            break;
        std::vector<uint8_t> data = Unescape(f.data() + 5, f.size() - 6);
        size_t at = (static_cast<size_t>(f[2]) << 8 | f[3]) + (f[4] == 2 ? 32 : 0);
        if (a.image.size() < at + data.size())
            a.image.resize(at + data.size());
        std::memcpy(a.image.data() + at, data.data(), data.size());
        if (a.loads) {
            a.major = a.loadsMajor;
            a.minor = a.loadsMinor;
        }
        if (a.ack)
            ToProgram(a, {0xE2, 6, f[2], f[3], f[4], 0xFF});
        break;
    }
    case 0x12:
        if (a.application && a.result >= 0 && f.size() >= 14)
            ToProgram(a, {0x13, 5, static_cast<uint8_t>(a.result), f[3], 0xFF});
        break;
    default: break;
    }
}

bool ParseVersion(const std::string& text, uint8_t& major, uint8_t& minor)
{
    unsigned ma = 0, mi = 0;
    if (std::sscanf(text.c_str(), "%u.%u", &ma, &mi) != 2)
        return false;
    major = static_cast<uint8_t>(ma);
    minor = static_cast<uint8_t>(mi);
    return true;
}

void RunCommand(const std::string& line)
{
    std::vector<std::string> w = standin::Words(line);
    if (w.empty())
        return;
    std::lock_guard<std::mutex> hold(g_lock);
    if (w[0] == "reset") {
        g_adapters.clear();
        g_log.SetFile("");
        return;
    }
    if (w[0] == "log") {
        g_log.SetFile(w.size() > 1 ? w[1] : "");
        return;
    }
    if (w.size() < 2)
        return;
    Adapter* a = Find(w[1]);
    if (w[0] == "adapter") {
        if (!a) {
            g_adapters.push_back(std::make_unique<Adapter>());
            a = g_adapters.back().get();
            a->serial = w[1];
        }
        for (size_t i = 2; i + 1 < w.size(); i += 2) {
            if (w[i] == "version")
                ParseVersion(w[i + 1], a->major, a->minor);
            else if (w[i] == "boot")
                ParseVersion(w[i + 1], a->bootMajor, a->bootMinor);
            else if (w[i] == "mode")
                a->application = w[i + 1] != "boot";
            else if (w[i] == "loads")
                a->loads = ParseVersion(w[i + 1], a->loadsMajor, a->loadsMinor);
        }
        return;
    }
    if (!a)
        return;
    if (w[0] == "unplug") {
        a->plugged = false;
        a->open = false;
        a->event = nullptr;
        a->toProgram.clear();
        a->fromProgram.clear();
    } else if (w[0] == "plug") {
        a->plugged = true;
    } else if (w[0] == "result" && w.size() > 2) {
        a->result = w[2] == "none" ? -1 : std::atoi(w[2].c_str());
    } else if (w[0] == "ack" && w.size() > 2) {
        a->ack = w[2] == "on";
    } else if (w[0] == "silent" && w.size() > 2) {
        a->silent = w[2] == "on";
    } else if (w[0] == "unit" && w.size() > 3) {
        int address = std::atoi(w[2].c_str());
        std::vector<uint8_t> payload;
        if (!standin::ParseHex(w[3], payload) || payload.empty())
            return;
        int slot = address < 60 ? address : address % 50;
        if (w.size() > 5 && w[4] == "slot")
            slot = std::atoi(w[5].c_str());
        // The message as the unit sent it: address byte, payload, checksum
        // (the weighted sum of payload byte i times i, from i = 2).
        unsigned sum = 0;
        for (size_t i = 0; i < payload.size(); ++i)
            sum += payload[i] * static_cast<unsigned>(i + 2);
        uint8_t check = static_cast<uint8_t>(sum);
        std::vector<uint8_t> f = {0x12, 0, 0, static_cast<uint8_t>(address), static_cast<uint8_t>(slot), 0, 0, 0, 0, 0,
                                  0, static_cast<uint8_t>(0xC0 | slot)};
        for (size_t i = 0; i < payload.size(); ++i) {
            if (f.size() < 14)
                f.push_back(payload[i]);
            else
                PutEscaped(f, payload[i]);
        }
        // The checksum is not escaped: one that would read as 0xFF is sent as 0xFD.
        f.push_back(check >= 0xFE ? 0xFD : check);
        f.push_back(0xFF);
        f[1] = static_cast<uint8_t>(f.size());
        f[10] = static_cast<uint8_t>(f.size() - 13);
        ToProgram(*a, f);
    } else if (w[0] == "counts" && w.size() > 3) {
        std::vector<uint8_t> f = {0x11, 0, 0, static_cast<uint8_t>(std::atoi(w[2].c_str()))};
        for (size_t i = 3; i < w.size(); ++i)
            f.push_back(static_cast<uint8_t>(std::atoi(w[i].c_str())));
        f.push_back(0xFF);
        f[1] = static_cast<uint8_t>(f.size());
        ToProgram(*a, f);
    } else if (w[0] == "raw" && w.size() > 2) {
        std::vector<uint8_t> bytes;
        std::string hex;
        for (size_t i = 2; i < w.size(); ++i)
            hex += w[i];
        if (standin::ParseHex(hex, bytes))
            ToProgram(*a, bytes);
    } else if (w[0] == "image" && w.size() > 2) {
        if (std::FILE* f = std::fopen(w[2].c_str(), "wb")) {
            std::fwrite(a->image.data(), 1, a->image.size(), f);
            std::fclose(f);
        }
    }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void BvFtd2xxCommand(const char* line)
{
    if (line)
        RunCommand(line);
}

__attribute__((visibility("default"))) FT_STATUS FT_OpenEx(void* arg, DWORD flags, FT_HANDLE* handle)
{
    Start();
    if (!arg || !handle || flags != kOpenBySerial)
        return kInvalidParameter;
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = Find(static_cast<const char*>(arg));
    if (!a || !a->plugged || a->open) {
        if (a)
            g_log.Line(a->serial + " open refused");
        return kNotFound;
    }
    g_log.Line(a->serial + " opened");
    a->open = true;
    a->handle = g_nextHandle++;
    a->fromProgram.clear();
    *handle = reinterpret_cast<FT_HANDLE>(static_cast<intptr_t>(a->handle));
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_Close(FT_HANDLE h)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = OfHandle(h);
    if (!a)
        return kInvalidHandle;
    a->open = false;
    a->event = nullptr;
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_ListDevices(void* arg1, void* arg2, DWORD flags)
{
    Start();
    std::lock_guard<std::mutex> hold(g_lock);
    std::vector<Adapter*> plugged;
    for (auto& a : g_adapters)
        if (a->plugged)
            plugged.push_back(a.get());
    if (flags & kListNumberOnly) {
        if (!arg1)
            return kInvalidParameter;
        *static_cast<DWORD*>(arg1) = static_cast<DWORD>(plugged.size());
        return kOk;
    }
    if (flags & kListByIndex) {
        size_t index = reinterpret_cast<uintptr_t>(arg1);
        if (index >= plugged.size() || !arg2)
            return kNotFound;
        std::strcpy(static_cast<char*>(arg2), plugged[index]->serial.c_str());
        return kOk;
    }
    return kInvalidParameter;
}

__attribute__((visibility("default"))) FT_STATUS FT_GetStatus(FT_HANDLE h, DWORD* rx, DWORD* tx, DWORD* ev)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = OfHandle(h);
    if (!a)
        return kIoError;
    if (rx)
        *rx = static_cast<DWORD>(a->toProgram.size());
    if (tx)
        *tx = 0;
    if (ev)
        *ev = 0;
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_Read(FT_HANDLE h, void* buffer, DWORD size, DWORD* got)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = OfHandle(h);
    if (!a)
        return kIoError;
    DWORD n = size < a->toProgram.size() ? size : static_cast<DWORD>(a->toProgram.size());
    std::memcpy(buffer, a->toProgram.data(), n);
    a->toProgram.erase(a->toProgram.begin(), a->toProgram.begin() + n);
    if (got)
        *got = n;
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_Write(FT_HANDLE h, void* buffer, DWORD size, DWORD* written)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = OfHandle(h);
    if (!a)
        return kIoError;
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    for (DWORD i = 0; i < size; ++i) {
        a->fromProgram.push_back(p[i]);
        if (p[i] == 0xFF) {
            std::vector<uint8_t> frame;
            frame.swap(a->fromProgram);
            FromProgram(*a, frame);
        }
    }
    if (written)
        *written = size;
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_Purge(FT_HANDLE h, DWORD mask)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = OfHandle(h);
    if (!a)
        return kIoError;
    if (mask & 1)
        a->toProgram.clear();
    if (mask & 2)
        a->fromProgram.clear();
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_SetEventNotification(FT_HANDLE h, DWORD mask, void* param)
{
    std::lock_guard<std::mutex> hold(g_lock);
    Adapter* a = OfHandle(h);
    if (!a)
        return kIoError;
    a->event = (mask & 1) ? static_cast<EventHandle*>(param) : nullptr;
    return kOk;
}

__attribute__((visibility("default"))) FT_STATUS FT_ResetDevice(FT_HANDLE h)
{
    std::lock_guard<std::mutex> hold(g_lock);
    return OfHandle(h) ? kOk : kInvalidHandle;
}

__attribute__((visibility("default"))) FT_STATUS FT_SetLatencyTimer(FT_HANDLE h, unsigned char)
{
    std::lock_guard<std::mutex> hold(g_lock);
    return OfHandle(h) ? kOk : kInvalidHandle;
}

}  // extern "C"
