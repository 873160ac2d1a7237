#pragma once
// A program a test starts beside itself (a bvtool worker, say), its standard
// output going to a file the test reads while it runs; killed at the end if
// it still runs.
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bvtest {

class OutputProcess {
public:
    // argv[0] is the program's path.
    OutputProcess(const std::string& output, const std::vector<std::string>& argv) : m_output(output)
    {
        // Everything the child needs is made before the fork.
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            execv(args[0], args.data());
            _exit(127);
        }
    }
    ~OutputProcess() { Stop(SIGKILL); }
    OutputProcess(const OutputProcess&) = delete;
    OutputProcess& operator=(const OutputProcess&) = delete;

    // The exit status after the signal; -1 when it did not exit by itself.
    int Stop(int signal)
    {
        if (m_pid <= 0)
            return -1;
        kill(m_pid, signal);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Sends a signal and leaves the program running (SIGSTOP, SIGCONT).
    void Signal(int signal)
    {
        if (m_pid > 0)
            kill(m_pid, signal);
    }

    const std::string& Output() const { return m_output; }

private:
    std::string m_output;
    pid_t m_pid = 0;
};

}  // namespace bvtest
