#pragma once
// printf into a std::string as long as the text needs: file names, log
// texts, list cells. One helper, so that no caller cuts a long name short in
// a buffer of its own.
#include <cstdarg>
#include <string>

namespace platform {

std::string StringFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for a caller's own arguments.
std::string StringFormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace platform
