#pragma once
// Threads with a name (shown in /proc and debuggers) and a best-effort
// priority. Raising a priority needs rights the program may not have; then
// the thread runs at normal priority and the start still succeeds.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>

namespace platform {

enum class ThreadPriority { Normal, AboveNormal, Highest };

class Thread {
public:
    Thread() = default;
    // A thread still running is detached, never waited for: its owner
    // decides with Join or Detach before.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts body on a new thread. name: at most 15 characters are kept.
    // preciseTimers: the thread's sleeps and time-outs end as close to their
    // time as the kernel can (no timer slack), for threads that time a bus.
    // 0, or the system error when no thread could be made.
    int Start(const char* name, ThreadPriority priority, bool preciseTimers, std::function<void()> body);

    bool Joinable() const { return m_thread.joinable(); }
    void Join();
    void Detach();

private:
    std::thread m_thread;
};

// Applies a priority to the calling thread; true when it took effect.
bool SetCurrentThreadPriority(ThreadPriority priority);

// Sleeps until the high-resolution counter (Clock.h) reaches count.
void SleepUntilCounter(int64_t count);

// CPU seconds used so far by this process's threads whose names begin with
// prefix, by thread name: how the line channels' cost is measured.
std::map<std::string, double> ThreadCpuByName(const std::string& prefix);
// Their sum.
double ThreadCpuSeconds(const std::string& prefix);

}  // namespace platform
