#pragma once
// The lines of the small ini files the programs keep beside them and in the
// user's profile: "[section]" and "key=value", blanks around names and values
// not counting, names compared without regard to case.
#include <string_view>

namespace platform {

// The text without the blanks and tabs around it, nor the carriage return of
// a CRLF line end.
std::string_view IniTrim(std::string_view text);

// true for a "[name]" line; name is what stands between the brackets,
// trimmed (up to the line's end when the "]" is missing).
bool IniSectionName(std::string_view line, std::string_view& name);

// true for a "key=value" line of this key, found without regard to case;
// value is what follows the first "=", trimmed.
bool IniValueOf(std::string_view line, std::string_view key, std::string_view& value);

}  // namespace platform
