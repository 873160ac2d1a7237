#pragma once
// The keyed configuration files (.bvc) of a range, a competition, the
// shooting programs and the results program's events: every setting that
// more than one program reads. A value is addressed by three numbers
// (section, index, key), each 1 to 999, and stored as a text of at most 31
// characters in a cached record file, so that programs on several computers
// share one file and see each other's changes by its change counter.
#include "foundation/files/BVFileEx.h"
#include "foundation/files/BVLog.h"

#include <cstdint>
#include <string>

#pragma pack(push, 1)
// One record of a configuration file.
struct ConfigRecord {
    int32_t key;     // CBVConfig::MakeKey of its address
    char value[32];  // at most 31 characters and a NUL; numbers as "%d"
};
#pragma pack(pop)
static_assert(sizeof(ConfigRecord) == 36);

class CBVConfig {
public:
    static constexpr int16_t kRecordSize = 36;
    static constexpr int16_t kVersion = 1;
    static constexpr int kValueSize = 32;
    // The highest section, index and key of an item. Where an index counts
    // events, relays or targets, a count read beyond it names nothing.
    static constexpr int kLastIndex = 999;

    CBVConfig();
    virtual ~CBVConfig();
    CBVConfig(const CBVConfig&) = delete;
    CBVConfig& operator=(const CBVConfig&) = delete;

    // Opens the file (creating it, and writable, when create is non-zero);
    // callers look at IsOpen afterwards. Returns the record file's result.
    int Open(const std::string& path, int create);
    bool IsOpen() const { return m_open; }
    const std::string& Path() const { return m_path; }

    // 1 when the file changed since the last Refresh or Open, 0 when not,
    // negative when it cannot be looked at.
    int Refresh();

    // The value, or the default when the item is missing, copied into the
    // buffer (the store's own when null; then valid until the next read).
    // A value that does not fit the size is logged and read as "".
    char* ReadString(int section, int index, int key, const char* defaultText, char* buffer = nullptr,
                     int size = kValueSize);
    // ReadString, upper-cased.
    char* ReadUpper(int section, int index, int key, const char* defaultText, char* buffer = nullptr,
                    int size = kValueSize);
    // The value's leading number (0 when it has none), or the default.
    int ReadInt(int section, int index, int key, int defaultValue);
    // A long text kept in the nine keys key .. key + 8, joined; its length.
    int ReadLong(int section, int index, int key, char* buffer, int size = 9 * 30 + 1);

    // Stores the first 31 characters; the record file's result (0 or negative).
    int WriteString(int section, int index, int key, const char* text);
    int WriteInt(int section, int index, int key, int value);
    // Writes a long text into the nine keys key .. key + 8 (the last one
    // first, so a reader never joins a new head to an old tail): key + j
    // gets characters 30 x j .. 30 x j + 29, key + 8 the rest. 1 when
    // written; 0, writing nothing, for a text longer than the 271 characters
    // the keys keep, or when a key cannot be written.
    int WriteLong(int section, int index, int key, const std::string& text);
    static constexpr int kLongSize = 8 * 30 + kValueSize - 1;

    // A read-modify-write of several items that no other program may
    // interleave with: Lock takes the file's lock and reads every item
    // afresh, the reads and writes that follow see and keep one state, and
    // Unlock releases the lock. 0, or negative when the file is not open or
    // the lock cannot be had (then Unlock must not follow).
    int Lock();
    int Unlock();

    // key + 1000 x section + 1,000,000 x index; 0 when a part is not 1..999.
    static int32_t MakeKey(int section, int index, int key);

private:
    const char* ReadValue(int32_t recordKey, ConfigRecord& record);

    CBVLog m_log;
    bool m_open = false;
    std::string m_path;
    CBVFileEx m_file;
    char m_result[300] = {};
};
