#include "platform/system/StringFormat.h"

#include <cstdarg>
#include <cstdio>

namespace platform {

std::string StringFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = StringFormatV(format, args);
    va_end(args);
    return text;
}

std::string StringFormatV(const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

}  // namespace platform
