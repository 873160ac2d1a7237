#pragma once
// S-record lines written by hand for the image tests, so that a case can hold
// exactly the record it is about (a bad checksum, a record type the loader
// refuses, an address at a page or sector edge).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bvtest {

// One record of a type with an address field of addressBytes bytes; the
// checksum is right unless checksumOffset says otherwise.
inline std::string SRecord(char type, uint32_t address, int addressBytes, const std::vector<uint8_t>& data,
                           int checksumOffset = 0)
{
    std::vector<uint8_t> bytes;
    for (int k = addressBytes - 1; k >= 0; --k)
        bytes.push_back(static_cast<uint8_t>(address >> (8 * k)));
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned count = static_cast<unsigned>(bytes.size() + 1);
    unsigned sum = count;
    for (uint8_t b : bytes)
        sum += b;
    char two[3];
    std::string line = "S";
    line += type;
    std::snprintf(two, sizeof two, "%02X", count & 0xFF);
    line += two;
    for (uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        line += two;
    }
    std::snprintf(two, sizeof two, "%02X", (~sum + static_cast<unsigned>(checksumOffset)) & 0xFF);
    line += two;
    return line + "\r\n";
}

inline std::string S2(uint32_t address, const std::vector<uint8_t>& data, int checksumOffset = 0)
{
    return SRecord('2', address, 3, data, checksumOffset);
}

// The header record; its address field, read as a decimal number, is the
// image year.
inline std::string S0(const std::string& year)
{
    std::string line = "S005" + year + "4844";
    unsigned sum = 0;
    for (size_t k = 2; k + 1 < line.size(); k += 2)
        sum += static_cast<unsigned>(std::stoul(line.substr(k, 2), nullptr, 16));
    char two[3];
    std::snprintf(two, sizeof two, "%02X", ~sum & 0xFF);
    return line + two + "\r\n";
}

inline std::string S8() { return "S804000000FB\r\n"; }

// count bytes of value, or counting up from first.
inline std::vector<uint8_t> Fill(int count, uint8_t value)
{
    return std::vector<uint8_t>(static_cast<size_t>(count), value);
}
inline std::vector<uint8_t> Counting(int count, uint8_t first)
{
    std::vector<uint8_t> v;
    for (int k = 0; k < count; ++k)
        v.push_back(static_cast<uint8_t>(first + k));
    return v;
}

}  // namespace bvtest
