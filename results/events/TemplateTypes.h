#pragma once
// What the built-in event templates are written with: sets of program kinds
// and organisation types, and number lists such as "1-4,7-14" for series,
// classes and categories, so that every row of a template reads like the
// rule book it comes from.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace results::templates {

// A set of numbers 0..255: program kinds (full or their low 7 bits) or
// organisation types.
class NumberSet {
public:
    constexpr NumberSet() = default;
    constexpr NumberSet(std::initializer_list<int> members)
    {
        for (int m : members)
            Add(m);
    }
    static constexpr NumberSet Range(int first, int last)
    {
        NumberSet set;
        for (int m = first; m <= last; ++m)
            set.Add(m);
        return set;
    }
    constexpr NumberSet Without(int m) const
    {
        NumberSet set = *this;
        if (m >= 0 && m < 256)
            set.m_bits[static_cast<size_t>(m / 64)] &= ~(uint64_t{1} << (m % 64));
        return set;
    }
    constexpr bool Has(int m) const
    {
        return m >= 0 && m < 256 && ((m_bits[static_cast<size_t>(m / 64)] >> (m % 64)) & 1u) != 0;
    }

private:
    constexpr void Add(int m)
    {
        if (m >= 0 && m < 256)
            m_bits[static_cast<size_t>(m / 64)] |= uint64_t{1} << (m % 64);
    }
    std::array<uint64_t, 4> m_bits{};
};

using KindSet = NumberSet;
using OrgSet = NumberSet;

inline constexpr int kKindHasFinal = 0x80;
inline constexpr int kKindNumber = 0x7F;

// When a row that depends on the event object's class switches counts.
enum class Offered { Always, National, International };

constexpr bool IsOffered(Offered offered, bool national, bool international)
{
    return offered == Offered::Always || (offered == Offered::National && national) ||
           (offered == Offered::International && international);
}

// The bytes of a number list: "1-3" is 1, 2, 3; "1,5-8" is 1, 5, 6, 7, 8;
// the letter b stands for the number given (the holds of a field pistol
// event), so "1-b" with 4 is 1..4. An empty list gives no bytes, as does a
// range whose end lies below its start.
std::string NumberBytes(const char* list, int b = 0);

}  // namespace results::templates
