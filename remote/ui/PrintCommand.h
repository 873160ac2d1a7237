#pragma once
// BVRemote --print: the print button's work from the command line, on the
// off-screen platform, with the print dialog answered by PDF files.
#include <string>
#include <vector>

namespace RemoteCommand {

// The usage lines of --help.
extern const char* const kUsage;

// Runs --print with the arguments after it; the exit code (0 printed, 1
// with one line on standard error).
int Print(const std::vector<std::string>& args);

// The file of the n-th print dialog (1-based): OUT.pdf, OUT-2.pdf, ...
std::string NthFile(const std::string& out, int n);

}  // namespace RemoteCommand
