#include "platform/ui/ProgramRun.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

// A signal handler may only write: it wakes the event loop through a socket
// pair, and the notifier does the work on the user-interface thread.
int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int)
{
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_stopPipe[1], &c, 1);
}

}  // namespace

class ProgramRun::StopPipe {
public:
    explicit StopPipe(std::function<void()> stop) : m_stop(std::move(stop))
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_stopPipe) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(g_stopPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            char c;
            [[maybe_unused]] ssize_t n = ::read(g_stopPipe[0], &c, 1);
            if (m_stop)
                m_stop();
        });
        std::signal(SIGTERM, OnStopSignal);
        std::signal(SIGINT, OnStopSignal);
    }
    ~StopPipe()
    {
        if (!m_notifier)
            return;
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        m_notifier.reset();
        ::close(g_stopPipe[0]);
        ::close(g_stopPipe[1]);
        g_stopPipe[0] = g_stopPipe[1] = -1;
    }
    StopPipe(const StopPipe&) = delete;
    StopPipe& operator=(const StopPipe&) = delete;

private:
    std::function<void()> m_stop;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

ProgramRun::ProgramRun(int& argc, char** argv) : m_app(argc, argv)
{
    for (int i = 0; i < argc; ++i) {
        if (i > 0)
            m_commandLine += ' ';
        m_commandLine += argv[i];
    }
}

ProgramRun::~ProgramRun() = default;

void ProgramRun::OnStop(std::function<void()> stop)
{
    m_stop.reset();
    m_stop = std::make_unique<StopPipe>(std::move(stop));
}

int ProgramRun::Exec() { return m_app.exec(); }

}  // namespace platform
