#pragma once
// A real FTP server for the tests of everything that uploads: pyftpdlib, run
// by the system's own Python on a free port of 127.0.0.1, serving a folder
// of the test to the accounts it is given. Every command the server receives
// goes to its log (a password only as "******"), so a test can tell what was
// sent, how often it logged in, and that no password leaked.
#include <string>
#include <vector>

#include <sys/types.h>

namespace bvtest {

// pyftpdlib's permission letters: e change folder, l list, r read,
// a append, d delete, f rename, m make folder, w write, M mode, T time.
inline constexpr const char* kFtpAllRights = "elradfmwMT";
inline constexpr const char* kFtpReadOnly = "elr";

struct FtpAccount {
    std::string user;
    std::string password;
    std::string home;  // the folder the user sees as "/"; relative to the served root
    std::string rights = kFtpAllRights;
};

class FtpServer {
public:
    FtpServer();
    ~FtpServer();  // stops the server and removes its log
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // Serves root (made when missing, as are the accounts' homes) and waits
    // until the server listens. idleSeconds: how long the server keeps a
    // silent control connection before it drops it; bytesPerSecond, when
    // not 0, how fast it takes in a file, as a slow line does. False, with
    // Error() telling why, when it did not come up within seconds.
    bool Start(const std::string& root, const std::vector<FtpAccount>& accounts, int idleSeconds = 300,
               int bytesPerSecond = 0);
    // Ends the server; its log stays readable.
    void Stop();
    // The server stops answering but keeps its connections open, as a hung
    // machine does, and answers again.
    void Freeze();
    void Thaw();

    bool Running() const { return m_pid > 0; }
    int Port() const { return m_port; }
    // "127.0.0.1:PORT", as a user types a server with its port.
    std::string Address() const;
    const std::string& Error() const { return m_error; }

    // The log as written so far.
    std::string Log() const;
    // The log's lines of one command the server received ("STOR", "USER",
    // "MKD", "PORT"), in order.
    std::vector<std::string> Commands(const std::string& verb) const;

private:
    std::string m_scratch;  // script, configuration, port and log
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_error;
};

}  // namespace bvtest
