#include "platform/system/Thread.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include <time.h>

#include <dirent.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

bool SetCurrentThreadPriority(ThreadPriority priority)
{
    // Scheduling classes with fixed priorities would let one busy thread
    // starve the machine; a lower nice value is the safe kind of "higher".
    int nice = 0;
    switch (priority) {
    case ThreadPriority::Normal: nice = 0; break;
    case ThreadPriority::AboveNormal: nice = -5; break;
    case ThreadPriority::Highest: nice = -10; break;
    }
    pid_t tid = static_cast<pid_t>(syscall(SYS_gettid));
    return setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) == 0;
}

Thread::~Thread()
{
    if (m_thread.joinable())
        m_thread.detach();
}

int Thread::Start(const char* name, ThreadPriority priority, bool preciseTimers, std::function<void()> body)
{
    if (m_thread.joinable())
        return EBUSY;
    std::string threadName = name ? std::string(name).substr(0, 15) : std::string();
    try {
        m_thread = std::thread([threadName, priority, preciseTimers, body = std::move(body)] {
            if (!threadName.empty())
                pthread_setname_np(pthread_self(), threadName.c_str());
            if (preciseTimers)
                prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
            if (priority != ThreadPriority::Normal)
                SetCurrentThreadPriority(priority);
            body();
        });
    } catch (const std::system_error& e) {
        return e.code().value() ? e.code().value() : EAGAIN;
    }
    return 0;
}

void SleepUntilCounter(int64_t count)
{
    // The counter is CLOCK_MONOTONIC in nanoseconds (HighResCounter).
    timespec ts{static_cast<time_t>(count / 1000000000), static_cast<long>(count % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

void Thread::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void Thread::Detach()
{
    if (m_thread.joinable())
        m_thread.detach();
}

std::map<std::string, double> ThreadCpuByName(const std::string& prefix)
{
    std::map<std::string, double> cpu;
    DIR* dir = ::opendir("/proc/self/task");
    if (!dir)
        return cpu;
    while (dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        std::string comm;
        std::getline(std::ifstream(std::string("/proc/self/task/") + e->d_name + "/comm"), comm);
        if (comm.rfind(prefix, 0) != 0)
            continue;
        // The kernel's clock id of one thread's CPU time (scheduler clock of
        // that thread), which needs no handle of the thread.
        auto tid = static_cast<unsigned>(std::atoi(e->d_name));
        auto clock = static_cast<clockid_t>((~tid << 3) | 6);
        timespec ts;
        if (::clock_gettime(clock, &ts) == 0)
            cpu[comm] += static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    }
    ::closedir(dir);
    return cpu;
}

double ThreadCpuSeconds(const std::string& prefix)
{
    double total = 0;
    for (const auto& [name, seconds] : ThreadCpuByName(prefix))
        total += seconds;
    return total;
}

}  // namespace platform
