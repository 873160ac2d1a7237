#pragma once
// A competition opened in a fresh working folder, as BVRes opens it, with a
// profile of its own; and record files laid down byte by byte.
#include "TempFolder.h"
#include "platform/files/ProfileStore.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace restest {

class CompetitionTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        comp.SetProfile(&profile);
        ASSERT_EQ(comp.Open(), 0);
    }

    // Event n in use with the counts given; its object made and opened.
    results::CDataEvent& Event(int n, int relays = 1, int days = 1)
    {
        using namespace results;
        CBVConfig& c = comp.Comp();
        if (::ReadItem(c, CompItems::kEventCount) < n)
            ::WriteItem(c, CompItems::kEventCount, n);
        ::WriteItem(c, CompItems::EventInUse(n), 1);
        ::WriteItem(c, CompItems::EventRelays(n), relays);
        ::WriteItem(c, CompItems::EventDays(n), days);
        comp.RefreshEvents();
        return *comp.GetEvent(n);
    }

    platform::MemoryProfileStore profile;
    results::CCompetition comp;
};

// The bytes of a record file: header (counter, record size, version) and records.
inline std::string FileBytes(int32_t counter, int16_t recordSize, int16_t version, const std::string& records = {})
{
    std::string bytes(8, '\0');
    std::memcpy(&bytes[0], &counter, 4);
    std::memcpy(&bytes[4], &recordSize, 2);
    std::memcpy(&bytes[6], &version, 2);
    return bytes + records;
}

// A little-endian number as bytes.
template <typename T>
std::string Le(T value)
{
    std::string bytes(sizeof(T), '\0');
    std::memcpy(&bytes[0], &value, sizeof(T));
    return bytes;
}

// A text field of a width, zero-filled.
inline std::string Field(const std::string& text, size_t width)
{
    std::string bytes = text.substr(0, width);
    bytes.resize(width, '\0');
    return bytes;
}

}  // namespace restest
