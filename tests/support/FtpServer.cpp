#include "FtpServer.h"

#include "TempFolder.h"

#include <chrono>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bvtest {
namespace {

// Debian's own interpreter, which has python3-pyftpdlib; another Python on
// the PATH may not.
const char* const kPython = "/usr/bin/python3";

const char* const kServerScript = R"PY(
import json, logging, os, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

config = json.load(open(sys.argv[1], encoding="utf-8"))
log = logging.getLogger("pyftpdlib")
handler = logging.FileHandler(config["log"], encoding="utf-8")
handler.setFormatter(logging.Formatter("%(message)s"))
log.addHandler(handler)
log.setLevel(logging.DEBUG)

authorizer = DummyAuthorizer()
for account in config["accounts"]:
    authorizer.add_user(account["user"], account["password"], account["home"], perm=account["rights"])

class Handler(FTPHandler):
    pass
Handler.authorizer = authorizer
Handler.timeout = config["idle"]
Handler.auth_failed_timeout = 0  # a refused login answers at once
if config["bytesPerSecond"]:
    from pyftpdlib.handlers import ThrottledDTPHandler
    class SlowLine(ThrottledDTPHandler):
        read_limit = config["bytesPerSecond"]
    Handler.dtp_handler = SlowLine

server = FTPServer(("127.0.0.1", 0), Handler)
with open(config["port"] + ".new", "w") as f:
    f.write(str(server.socket.getsockname()[1]))
os.rename(config["port"] + ".new", config["port"])
# A fixed poll interval: without one the loop may sleep through its idle
# timers until the next client speaks.
server.serve_forever(timeout=0.2)
)PY";

std::string JsonText(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

FtpServer::FtpServer() = default;

FtpServer::~FtpServer()
{
    Stop();
    std::error_code ec;
    if (!m_scratch.empty())
        std::filesystem::remove_all(m_scratch, ec);
}

bool FtpServer::Start(const std::string& root, const std::vector<FtpAccount>& accounts, int idleSeconds,
                      int bytesPerSecond)
{
    Stop();
    m_error.clear();
    namespace fs = std::filesystem;
    if (m_scratch.empty()) {
        std::string pattern = (fs::temp_directory_path() / "bvftp-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            m_error = "no scratch folder";
            return false;
        }
        m_scratch = pattern;
    }
    std::error_code ec;
    fs::remove(m_scratch + "/port", ec);
    std::string rootPath = fs::absolute(root).string();
    fs::create_directories(rootPath, ec);

    std::ostringstream config;
    config << "{\"log\": " << JsonText(m_scratch + "/server.log") << ", \"port\": "
           << JsonText(m_scratch + "/port") << ", \"idle\": " << idleSeconds
           << ", \"bytesPerSecond\": " << bytesPerSecond << ", \"accounts\": [";
    for (size_t i = 0; i < accounts.size(); ++i) {
        const FtpAccount& account = accounts[i];
        std::string home = rootPath + (account.home.empty() ? "" : "/" + account.home);
        fs::create_directories(home, ec);
        config << (i ? ", " : "") << "{\"user\": " << JsonText(account.user)
               << ", \"password\": " << JsonText(account.password) << ", \"home\": " << JsonText(home)
               << ", \"rights\": " << JsonText(account.rights) << "}";
    }
    config << "]}";
    TempFolder::Write(m_scratch + "/server.py", kServerScript);
    TempFolder::Write(m_scratch + "/config.json", config.str());

    std::string script = m_scratch + "/server.py";
    std::string configFile = m_scratch + "/config.json";
    std::string errors = m_scratch + "/server.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    char* argv[] = {const_cast<char*>(kPython), const_cast<char*>(script.c_str()),
                    const_cast<char*>(configFile.c_str()), nullptr};
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, kPython, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_error = std::string("cannot run ") + kPython;
        return false;
    }
    m_pid = pid;

    // Python with pyftpdlib starts in well under a second; a loaded machine
    // gets ten.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::string port = TempFolder::Read(m_scratch + "/port");
        if (!port.empty()) {
            m_port = std::stoi(port);
            return true;
        }
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_error = "the server ended: " + TempFolder::Read(errors);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop();
    m_error = "the server did not come up: " + TempFolder::Read(errors);
    return false;
}

void FtpServer::Stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGCONT);  // a frozen server must be able to end
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
}

void FtpServer::Freeze()
{
    if (m_pid > 0)
        kill(m_pid, SIGSTOP);
}

void FtpServer::Thaw()
{
    if (m_pid > 0)
        kill(m_pid, SIGCONT);
}

std::string FtpServer::Address() const { return "127.0.0.1:" + std::to_string(m_port); }

std::string FtpServer::Log() const
{
    return m_scratch.empty() ? std::string() : TempFolder::Read(m_scratch + "/server.log");
}

std::vector<std::string> FtpServer::Commands(const std::string& verb) const
{
    std::vector<std::string> lines;
    std::istringstream log(Log());
    std::string needle = "<- " + verb;
    for (std::string line; std::getline(log, line);) {
        size_t at = line.find(needle);
        if (at != std::string::npos &&
            (at + needle.size() == line.size() || line[at + needle.size()] == ' '))
            lines.push_back(line);
    }
    return lines;
}

}  // namespace bvtest
