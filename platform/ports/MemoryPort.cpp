#include "platform/ports/MemoryPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform {
namespace {

// The trace is a test's view of a short exchange; a long run stops adding.
constexpr size_t kTraceLimit = 64 * 1024;

void AddTrace(std::string& trace, const std::string& item)
{
    if (trace.size() >= kTraceLimit)
        return;
    if (!trace.empty())
        trace += ' ';
    trace += item;
}

}  // namespace

struct MemoryPort::Shared {
    std::mutex lock;
    std::condition_variable changed;
    struct End {
        std::deque<unsigned char> inbox;
        bool wake = false;
        bool open = true;
        bool rts = false;
        PortSettings settings;
        std::string trace;
    } end[2];
};

std::pair<std::unique_ptr<MemoryPort>, std::unique_ptr<MemoryPort>> MemoryPort::MakePair()
{
    auto shared = std::make_shared<Shared>();
    return {std::unique_ptr<MemoryPort>(new MemoryPort(shared, 0)),
            std::unique_ptr<MemoryPort>(new MemoryPort(shared, 1))};
}

MemoryPort::MemoryPort(std::shared_ptr<Shared> shared, int side) : m_shared(std::move(shared)), m_side(side) {}

MemoryPort::~MemoryPort() { Close(); }

int MemoryPort::Configure(const PortSettings& settings)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->end[m_side].settings = settings;
    return 0;
}

int MemoryPort::SetRts(bool on)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    auto& me = m_shared->end[m_side];
    if (me.rts != on) {
        me.rts = on;
        AddTrace(me.trace, on ? "R" : "r");
    }
    return 0;
}

int MemoryPort::SetDtr(bool) { return 0; }

int MemoryPort::InputCount(size_t& count)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    count = m_shared->end[m_side].inbox.size();
    return 0;
}

int MemoryPort::TakeErrors(unsigned& errors)
{
    errors = 0;
    return 0;
}

int MemoryPort::Read(void* buffer, size_t size, size_t& got)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    auto& in = m_shared->end[m_side].inbox;
    got = std::min(size, in.size());
    std::copy_n(in.begin(), got, static_cast<unsigned char*>(buffer));
    in.erase(in.begin(), in.begin() + static_cast<long>(got));
    return m_shared->end[m_side].open ? 0 : EBADF;
}

int MemoryPort::WaitInput(int64_t timeoutUs)
{
    std::unique_lock<std::mutex> hold(m_shared->lock);
    auto& me = m_shared->end[m_side];
    m_shared->changed.wait_for(hold, std::chrono::microseconds(std::max<int64_t>(timeoutUs, 0)),
                               [&] { return !me.inbox.empty() || me.wake; });
    me.wake = false;
    return me.inbox.empty() ? 0 : 1;
}

void MemoryPort::Wake()
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->end[m_side].wake = true;
    m_shared->changed.notify_all();
}

int MemoryPort::Write(const void* data, size_t size, int, size_t& written)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    auto& me = m_shared->end[m_side];
    auto& peer = m_shared->end[1 - m_side];
    written = 0;
    if (!me.open)
        return EBADF;
    AddTrace(me.trace, "w" + std::to_string(size));
    // Bytes written while the other end is closed fall off the line.
    if (peer.open) {
        const auto* p = static_cast<const unsigned char*>(data);
        peer.inbox.insert(peer.inbox.end(), p, p + size);
    }
    written = size;
    m_shared->changed.notify_all();
    return 0;
}

int MemoryPort::Purge()
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->end[m_side].inbox.clear();
    return 0;
}

int MemoryPort::Close()
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->end[m_side].open = false;
    m_shared->end[m_side].inbox.clear();
    m_shared->changed.notify_all();
    return 0;
}

std::string MemoryPort::LineTrace() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->end[m_side].trace;
}

bool MemoryPort::Rts() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->end[m_side].rts;
}

PortSettings MemoryPort::Settings() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->end[m_side].settings;
}

}  // namespace platform
