#pragma once
// Small builders for the competition data tests: a range folder with one
// competition, shots as the target delivers them, and records laid out byte
// by byte.
#include "foundation/comp/DataComp.h"
#include "platform/files/FileSystem.h"
#include "RecordBytes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace bvtest {

// A byte string built field by field at fixed offsets, little-endian.
class Bytes {
public:
    explicit Bytes(size_t size, uint8_t fill = 0) : m_bytes(size, static_cast<char>(fill)) {}
    Bytes& U8(size_t at, unsigned v) { return Put(at, static_cast<uint8_t>(v)); }
    Bytes& I16(size_t at, int v) { return Put(at, static_cast<int16_t>(v)); }
    Bytes& I32(size_t at, int32_t v) { return Put(at, v); }
    Bytes& Text(size_t at, const std::string& t)
    {
        std::memcpy(m_bytes.data() + at, t.data(), t.size());
        return *this;
    }
    const std::string& str() const { return m_bytes; }

private:
    template <typename T>
    Bytes& Put(size_t at, T v)
    {
        std::memcpy(m_bytes.data() + at, &v, sizeof v);
        return *this;
    }
    std::string m_bytes;
};

// A shot as the target delivers it: in series `series`, value in hundredths,
// x and y in micrometres; number 0 takes the next free slot.
inline ShotRecord MakeShot(int series, int value, int32_t x, int32_t y, int number = 0)
{
    ShotRecord s;
    std::memset(&s, 0, sizeof s);
    s.state = CDataComp::kSlotShot;
    s.flags = CDataComp::kFlagFromTarget;
    s.x = x;
    s.y = y;
    s.value = static_cast<int16_t>(value);
    s.temperature = 12700;
    s.shotNumber = static_cast<uint8_t>(number);
    s.series = static_cast<uint8_t>(series);
    s.sensorA = s.sensorB = s.sensorC = s.sensorD = 255;
    return s;
}

inline CardRecord MakeCard(int relay, int lane, int targetType = 3, int valueSystem = 1)
{
    CardRecord c;
    CDataComp::ClearCard(c);
    c.relay = static_cast<int16_t>(relay);
    c.lane = static_cast<int16_t>(lane);
    c.targetType = static_cast<uint8_t>(targetType);
    c.valueSystem = static_cast<uint8_t>(valueSystem);
    c.sensitivity = 2;
    return c;
}

// A test in its own folder that holds a range folder with competition 1.
class RangeTest : public InTempFolder {
protected:
    void SetUp() override { ASSERT_EQ(platform::CreateFolders("Comp1"), 0); }

    // Opens competition 1 of the working folder for writing.
    void OpenComp(CDataComp& dc, int comp = 1)
    {
        platform::CreateFolders("Comp" + std::to_string(comp));
        ASSERT_EQ(dc.Open(comp, 1), 0);
        ASSERT_TRUE(dc.IsOpen());
    }
};

}  // namespace bvtest
