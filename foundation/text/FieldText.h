#pragma once
// Fixed-width text fields of records ("char name[32]"). A field read from a
// file ends at its terminator or at its last byte, whichever comes first: a
// field filled to the brim by another program, or damaged, is never read
// beyond its width.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// The text of a field of `size` bytes.
inline std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// Stores at most size - 1 bytes of the text and zeros the rest of the field.
inline void SetFieldText(char* field, size_t size, std::string_view text)
{
    if (size == 0)
        return;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}
