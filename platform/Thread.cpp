#include "platform/Thread.h"

#include <cerrno>
#include <string>
#include <system_error>

#include <time.h>

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

}  // namespace platform
