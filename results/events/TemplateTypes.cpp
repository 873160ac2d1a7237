#include "results/events/TemplateTypes.h"

namespace results::templates {
namespace {

// A number or the letter b at p; p moves past it.
int ReadNumber(const char*& p, int b)
{
    if (*p == 'b') {
        ++p;
        return b;
    }
    int value = 0;
    while (*p >= '0' && *p <= '9')
        value = value * 10 + (*p++ - '0');
    return value;
}

}  // namespace

std::string NumberBytes(const char* list, int b)
{
    std::string bytes;
    if (!list)
        return bytes;
    const char* p = list;
    while (*p) {
        const char* start = p;
        int first = ReadNumber(p, b);
        int last = first;
        if (*p == '-') {
            ++p;
            last = ReadNumber(p, b);
        }
        for (int n = first; n <= last; ++n)
            bytes += static_cast<char>(n);
        while (*p == ',' || *p == ' ')
            ++p;
        if (p == start)  // a character the lists do not use: skipped
            ++p;
    }
    return bytes;
}

}  // namespace results::templates
