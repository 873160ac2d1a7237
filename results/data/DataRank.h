#pragma once
// What the prize screens decided per shooter and prize list of an event,
// Rank%d.bvd: rank text, gift choice and shoot-off place. Records are found
// by their first four fields.
#include "foundation/files/BVFileEx.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace results {

#pragma pack(push, 1)
struct RankRecord {
    uint8_t listKind;     // 10 class prize list, 11 combined prize list
    int16_t list;         // prize list number
    uint8_t classNr;      // for list kind 10; 0 for 11
    int32_t startNr;
    char rankText[32];
    int16_t gift;         // nonzero: the money prize is a gift
    int16_t shootOff;     // 0 none; lower ranks first among equal results
    char zero[20];
};
#pragma pack(pop)
static_assert(sizeof(RankRecord) == 64);
static_assert(offsetof(RankRecord, list) == 1 && offsetof(RankRecord, classNr) == 3);
static_assert(offsetof(RankRecord, startNr) == 4 && offsetof(RankRecord, rankText) == 8);
static_assert(offsetof(RankRecord, gift) == 40 && offsetof(RankRecord, shootOff) == 42);
static_assert(offsetof(RankRecord, zero) == 44);

class CDataRank {
public:
    static constexpr int16_t kRecordSize = sizeof(RankRecord);
    static constexpr int16_t kVersion = 2;
    static constexpr uint8_t kClassList = 10;
    static constexpr uint8_t kGroupList = 11;

    CDataRank();
    virtual ~CDataRank();
    CDataRank(const CDataRank&) = delete;
    CDataRank& operator=(const CDataRank&) = delete;

    // Opens once (an older file is converted and opens next time), then
    // refreshes the cache; 0.
    int Open(const std::string& path);
    bool IsOpen() const { return m_open != 0; }
    CBVFileEx& File() { return m_file; }

    // 0 with the record copied out, or -1 with a record of zeros but for the
    // four fields asked for.
    int Find(int listKind, int list, int classNr, int32_t startNr, RankRecord& out);
    // Overwrites the record with the same four fields, or appends it; 0 or
    // the file's negative result.
    int Put(int listKind, int list, int classNr, int32_t startNr, const RankRecord& record);
    // Clears gift and shoot-off (bytes 40 to 63) in every record of the
    // shooter, keeping the rank texts; -1.
    int ClearShooter(int32_t startNr);

private:
    int FindIndex(int listKind, int list, int classNr, int32_t startNr);

    uint8_t m_open = 0;
    CBVFileEx m_file;
    RankRecord m_record{};  // the searches' working record
};

}  // namespace results
