#pragma once
// Small pieces the programs' command-line modes share: the error line, whole
// numbers in a range, and output paths that outlive a change of folder.
#include <string>

namespace platform {

// Writes "PROGRAM: LINE" to standard error; the exit code 1.
int CommandFail(const char* program, const std::string& line);

// A whole decimal number from low to high and nothing after it.
bool ParseWhole(const std::string& text, long low, long high, int& out);

// path made absolute against the folder the command was given in, so that
// moving to the working folder afterwards does not move it.
std::string FromCommandFolder(const std::string& path);

}  // namespace platform
