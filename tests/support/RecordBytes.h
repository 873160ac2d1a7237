#pragma once
// Record files laid out byte by byte as the programs store them, written
// independently of the classes that read them, for the tests of those
// classes and of the tools.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace bvtest {

// Open options of a record file as the tests use them.
inline constexpr uint8_t kCachedRW = 0x8A;  // cached, writable
inline constexpr uint8_t kPlainRW = 0x82;   // writable, open per operation
inline constexpr uint8_t kKeptRW = 0x8E;    // cached, writable, kept open

// The 8-byte head of a record file: change counter, record size, version.
inline std::string RecordHeader(int32_t counter, int16_t size, int16_t version)
{
    std::string head(8, '\0');
    std::memcpy(head.data(), &counter, 4);
    std::memcpy(head.data() + 4, &size, 2);
    std::memcpy(head.data() + 6, &version, 2);
    return head;
}

// A 36-byte item as configuration files hold them: the 4-byte key and a
// 32-byte text, cut to 31 characters so that a zero ends it, or to all 32
// when it is not to be terminated.
inline std::string ItemBytes(int32_t key, std::string_view text, bool terminated = true)
{
    std::string item(36, '\0');
    std::memcpy(item.data(), &key, 4);
    std::memcpy(item.data() + 4, text.data(), std::min<size_t>(text.size(), terminated ? 31 : 32));
    return item;
}

}  // namespace bvtest
