#pragma once
// The entries of an event, Reg%d.bvd: one record per occupied target of a
// relay, keyed by (relay index, target). The screens, the lists and the
// worker read and write entries by key through File(); this class opens the
// file and walks a shooter's entries.
#include "foundation/files/BVFileEx.h"
#include "results/values/CardEvents.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace results {

#pragma pack(push, 1)
struct RegRecord {
    int16_t relay;        // relay index 1..CompEventRelays
    int16_t target;       // lane
    int32_t startNr;      // 0 = target free
    uint8_t classNr;      // position in the competition's class list
    char category[11];
    int32_t paid;         // hundredths
    int32_t startScore;   // tenths
    uint8_t changed;      // set by the entry screen, cleared by the name export
    int32_t state;        // the range control's card state bits
    char comments[258];
};
#pragma pack(pop)
static_assert(sizeof(RegRecord) == 291);
static_assert(offsetof(RegRecord, startNr) == 4 && offsetof(RegRecord, classNr) == 8);
static_assert(offsetof(RegRecord, category) == 9 && offsetof(RegRecord, paid) == 20);
static_assert(offsetof(RegRecord, startScore) == 24 && offsetof(RegRecord, changed) == 28);
static_assert(offsetof(RegRecord, state) == 29 && offsetof(RegRecord, comments) == 33);

class CDataReg : public CardEntries {
public:
    static constexpr int16_t kRecordSize = sizeof(RegRecord);
    static constexpr int16_t kVersion = 4;

    CDataReg();
    ~CDataReg() override;
    CDataReg(const CDataReg&) = delete;
    CDataReg& operator=(const CDataReg&) = delete;

    // Opens the file once (converting an older one, which then opens on the
    // next call), then refreshes the cache: the refresh's result, or -1 when
    // the file is not open.
    int Open(const std::string& path);
    bool IsOpen() const { return m_open != 0; }
    CBVFileEx& File() { return *m_file; }

    // The shooter's first entry after (relay, target) in relay-then-target
    // order, in file order among those: 0 with relay, target and class set,
    // 1 when there is none. Start from (0, 0) to walk all of them.
    int NextEntry(int32_t startNr, int& relay, int& target, int& classNr);
    // The shooter's first entry in file order: 0 found, 1 none.
    int FindShooter(int32_t startNr, int& relay, int& target) override;
    // Start score (tenths) of the shooter's first entry, 0 when none.
    int GetStartScore(int32_t startNr) override;
    // The entry at (relay, target); false when there is none.
    bool Read(int relay, int target, RegRecord& record);

private:
    std::unique_ptr<CBVFileEx> m_file;
    int m_open = 0;
    RegRecord m_record{};  // the searches' working record
};

}  // namespace results
