#pragma once
// Small settings files in the program folder ("BVLog.ini" and the like) read
// the way the programs always read them: [section] and key=value lines,
// names without regard to case, the value trimmed of blanks.
#include <string>

namespace platform {

// The value of [section] key, or the default when the file, the section or
// the key is missing. Quotes around the whole value are removed.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& systemPath);

// The value as a number (leading sign and digits; 0 when none), or the default
// when the key is missing.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& systemPath);

}  // namespace platform
