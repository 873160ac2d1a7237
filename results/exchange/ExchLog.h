#pragma once
// The exchange log of a competition, .\Comp<n>\Exch.bvd: a short trace of
// every exchange run for the competition office (shooters read in or
// written out per relay, targets whose shots the range control changed or
// took back). The worker appends; the exchange screen lists and empties it,
// each through its own CExchLog. The log is diagnostic only: an entry that
// cannot be written is lost and nothing else depends on it.
#include "foundation/files/BVFileEx.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace results {

#pragma pack(push, 1)
struct ExchLogRecord {
    uint8_t kind;     // kExchLogCount or kExchLogTarget
    uint8_t century;  // local year / 100 when written
    uint8_t year;     // local year mod 100
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    int16_t event;
    char text[100];   // zero-terminated
};
#pragma pack(pop)
static_assert(sizeof(ExchLogRecord) == 110);
static_assert(offsetof(ExchLogRecord, event) == 8 && offsetof(ExchLogRecord, text) == 10);

inline constexpr uint8_t kExchLogCount = 2;   // shooters read in or written out
inline constexpr uint8_t kExchLogTarget = 3;  // shot values changed or removed on one target

// The string ids the worker logs with.
enum ExchLogId : int {
    kLogReadSeveral = 16811,   // a: shooters read in; b: relay number or -1
    kLogReadOne = 16812,
    kLogWrittenSeveral = 16813,  // a: names written out; b: relay number or -1
    kLogWrittenOne = 16814,
    kLogValuesChanged = 16816,  // a: relay number; b: target
    kLogShotsRemoved = 16819,
};

// The text and kind of an entry, as WriteLog builds it (Windows-1252).
std::string ExchLogText(int messageId, int a, int b, uint8_t& kind);

class CExchLog {
public:
    static constexpr int16_t kRecordSize = sizeof(ExchLogRecord);
    static constexpr int16_t kVersion = 1;

    CExchLog();
    virtual ~CExchLog();
    CExchLog(const CExchLog&) = delete;
    CExchLog& operator=(const CExchLog&) = delete;

    // Opens (creating) the log; 0 when it was open already, -1 when opened
    // now (its cache brought up to date), another negative value when it
    // cannot be opened.
    int Open(const std::string& path);
    void Close();
    // Removes every record, keeping the header; 0, or negative.
    int Clear();
    bool IsOpen() const { return m_open; }
    CBVFileEx& File() { return m_file; }

    // Appends an entry stamped with the local time now; 0, or negative.
    int Append(uint8_t kind, int event, const std::string& text);
    int Count();
    // Record n from 1; false when there is none.
    bool Read(int n, ExchLogRecord& record);

private:
    CBVFileEx m_file;
    ExchLogRecord m_record{};
    std::string m_path;
    bool m_open = false;
};

}  // namespace results
