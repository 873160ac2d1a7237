#pragma once
// What the programs learn about the machine they run on.
#include <string>

namespace platform {

int ProcessId();

// The computer's name as the system shows it to other computers of the range:
// the host name up to its first dot, in capitals, at most 15 characters.
std::string ComputerName();

// The program's working folder (".\") as a native path.
std::string WorkingFolder();
// Changes it; 0 or the system error.
int SetWorkingFolder(const std::string& systemPath);

// The user's folder for program settings ($XDG_CONFIG_HOME or ~/.config).
std::string UserConfigFolder();

}  // namespace platform
