#include "tools/standin/StandIn.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace standin {

void StartPipe(const char* variable, std::function<void(const std::string&)> run)
{
    static std::once_flag once;
    std::call_once(once, [&] {
        const char* path = std::getenv(variable);
        if (!path || !*path)
            return;
        std::string file = path;
        std::thread([file, run] {
            // Opened for writing too, so that the pipe never reports its end
            // when a writer goes and the next one comes.
            int fd = open(file.c_str(), O_RDWR);
            if (fd < 0)
                return;
            std::string pending;
            char buffer[512];
            for (;;) {
                ssize_t n = read(fd, buffer, sizeof buffer);
                if (n <= 0) {
                    usleep(10000);
                    continue;
                }
                pending.append(buffer, static_cast<size_t>(n));
                size_t end;
                while ((end = pending.find('\n')) != std::string::npos) {
                    std::string line = pending.substr(0, end);
                    pending.erase(0, end + 1);
                    if (!line.empty() && line.back() == '\r')
                        line.pop_back();
                    if (!line.empty())
                        run(line);
                }
            }
        }).detach();
    });
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& bytes)
{
    int high = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c == ' ' || c == ',')
            continue;
        else
            return false;
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    return high < 0;
}

std::string Hex(const uint8_t* data, size_t size)
{
    std::string s;
    char b[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", data[i]);
        s += b;
    }
    return s;
}

void Log::SetFile(const std::string& path) { m_path = path; }

void Log::Line(const std::string& text)
{
    if (m_path.empty())
        return;
    if (std::FILE* f = std::fopen(m_path.c_str(), "a")) {
        std::fprintf(f, "%s\n", text.c_str());
        std::fclose(f);
    }
}

void Log::Frame(const std::string& who, char direction, const uint8_t* data, size_t size)
{
    Line(who + " " + direction + " " + Hex(data, size));
}

}  // namespace standin
