#pragma once
// What our stand-ins of other makers' libraries share: text commands, one
// per line, from a named pipe whose path an environment variable gives (read
// by a thread of the library) or handed to an exported function; a log of
// every frame or message that passes, "> HEX" from the program and "< HEX"
// to it, in a file that the command "log FILE" names.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace standin {

// Starts, once, a thread that reads command lines from the named pipe the
// variable names (nothing when it is unset) and hands each to run.
void StartPipe(const char* variable, std::function<void(const std::string&)> run);

// The words of a command line.
std::vector<std::string> Words(const std::string& line);
// Bytes from hex text ("10 06 FF" or "1006FF"); false on a bad digit.
bool ParseHex(const std::string& text, std::vector<uint8_t>& bytes);
std::string Hex(const uint8_t* data, size_t size);

// The log file; empty text stops logging.
class Log {
public:
    void SetFile(const std::string& path);
    void Line(const std::string& text);
    void Frame(const std::string& who, char direction, const uint8_t* data, size_t size);

private:
    std::string m_path;
};

}  // namespace standin
