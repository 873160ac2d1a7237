#pragma once
// The fuzz input read one field at a time, for targets that build their
// records from it; zeros once the bytes run out.
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

}  // namespace fuzz
