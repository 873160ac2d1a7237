#pragma once
// The fuzz input read one field at a time, for targets that build their
// records from it; zeros once the bytes run out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz {

struct Bytes {
    const uint8_t* p;
    size_t n;
    void Take(void* to, size_t size)
    {
        size_t k = size < n ? size : n;
        std::memset(to, 0, size);
        std::memcpy(to, p, k);
        p += k;
        n -= k;
    }
    int Byte()
    {
        uint8_t b = 0;
        Take(&b, 1);
        return b;
    }
    int Word()
    {
        int16_t w = 0;
        Take(&w, 2);
        return w;
    }
};

// The record at offset `at` of the input, zeros past its end; gives the
// offset after the record.
template <typename T>
size_t Take(const uint8_t* data, size_t size, size_t at, T& out)
{
    std::memset(&out, 0, sizeof out);
    if (at < size)
        std::memcpy(&out, data + at, std::min(sizeof out, size - at));
    return at + sizeof out;
}

}  // namespace fuzz
