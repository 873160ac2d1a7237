#pragma once
// The record file of the whole system: fixed-size records behind an 8-byte
// header, shared by the four programs through common folders, on one computer
// or several. There is no server: a writer takes a byte-range lock on the
// header's change counter, writes, bumps the counter and flushes; readers
// notice a change by comparing the counter with the one they saw last. Small
// keyed files are held whole in memory and looked up by their 4-byte keys.
//
// Results are 0 for success and a small negative code per failing step; every
// failure is written to the log.
//
// Lock brackets: a caller may open and lock the file itself (CheckOpen, Lock
// ... CheckClose) around several operations, for a read-modify-write that no
// other program may interleave with. The operations inside the bracket keep
// the caller's open file and lock; only the bracket's own CheckClose releases
// them. Brackets nest to any depth.
#include "foundation/files/BVLog.h"
#include "foundation/files/RecordJournal.h"
#include "platform/files/NativeFile.h"

#include <bit>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

static_assert(std::endian::native == std::endian::little, "record files are little-endian");

#pragma pack(push, 1)
// The first 8 bytes of every record file.
struct RecordFileHeader {
    int32_t changeCounter = 0;  // +1 for every write; wraps as a signed number
    int16_t recordSize = 0;     // as the file was created or last converted
    int16_t version = 0;        // of the record layout
};
#pragma pack(pop)
static_assert(sizeof(RecordFileHeader) == 8);

class CBVFileEx {
public:
    // Option bits of Open.
    enum : uint8_t {
        kCreate = 0x01,    // create the file when it is missing
        kWritable = 0x02,  // open for reading and writing
        kKeepOpen = 0x04,  // keep the handle between operations
        kCached = 0x08,    // hold the whole file in memory; needed for keys
        kUpdated = 0x80,   // the caller knows this option set
    };

    struct IoStats {
        long readCalls = 0;
        long readRetries = 0;
        long long bytesRead = 0;
        long writeCalls = 0;
        long writeRetries = 0;
        long long bytesWritten = 0;
        long nameChecks = 0;  // looks at whether the path still leads to the open file
    };

    CBVFileEx();
    virtual ~CBVFileEx();
    CBVFileEx(const CBVFileEx&) = delete;
    CBVFileEx& operator=(const CBVFileEx&) = delete;

    // 0; -2 path length; -3 record size; -4 status of the path unreadable;
    // -5 create failed; -6 header write failed; -7 file missing or attempts
    // exhausted; -8 header unreadable; -99 another version or record size in
    // the file (GetVersion tells the version found; Convert may follow).
    int Open(const std::string& path, int16_t recordSize, int16_t version, uint8_t create, uint8_t options);
    void Close();

    int CheckOpen();
    int CheckClose(int force);
    // 0; -1 not open; -3 still held by another program after every pause;
    // -4 at once when the file was opened for reading only.
    int Lock();
    int WaitLock(int pauseMs, int limit);
    int Unlock();

    // With the lock held: the change counter + 1, written back; 0 when it
    // cannot be read or written, -1 without the lock.
    int32_t IncrementUnique();
    // The next number of a sequence kept in the change counter, under the
    // lock, so every program sharing the file gets its own; 0 on failure.
    int32_t GetUnique();
    int32_t LastUnique() const { return m_lastUnique; }

    // Reloads the cache when the file changed: 1 reloaded (or changed since
    // the last acknowledged look), 0 unchanged, negative on failure. With
    // acknowledge set, the change is taken as seen.
    int CacheVerify(int acknowledge);
    int FindKey(const void* record) const;
    int GetRecCount();
    int16_t GetVersion() const { return m_header.version; }

    int ReadRec(int n, void* buffer);
    int WriteRec(int n, const void* buffer);
    int ReadRecKey(void* buffer);
    int WriteRecKey(const void* buffer);
    int ReadRecDirect(int n, void* buffer);
    int ReadField(int n, int offset, int length, void* buffer);
    int WriteRecDirect(int n, const void* buffer);
    int AddRec(int& n, const void* buffer);
    int32_t IncrementField(int n, int offset, int size);
    int WriteField(int n, int offset, int length, const void* data);
    // Rewrites the file in a new layout (every record padded with zeros) and
    // opens it again; the old file stays as a backup in tempFolder.
    int Convert(const std::string& tempFolder, int16_t newSize, int16_t newVersion);
    // Removes every record, keeping the header.
    int CutToHeader();
    // 1 when a file can be created in the folder, else 0.
    static int TestFolder(const std::string& folder);

    int ReadData(void* buffer, int64_t offset, int length);
    int WriteData(const void* buffer, int64_t offset, int length);

    const std::string& Path() const { return m_path; }
    bool IsOpen() const { return m_isOpen; }
    bool IsLocked() const { return m_locked; }
    bool IsCacheValid() const { return m_cacheValid; }
    int RecordSize() const { return m_recSize; }
    int LastKeyHit() const { return m_lastKeyHit; }
    int Retries() const { return m_retries; }
    int WaitMs() const { return m_wait; }
    int SectorSize() const { return m_sectorSize; }
    const RecordFileHeader& Header() const { return m_header; }
    const IoStats& Stats() const { return m_stats; }

    // Crash tests stop a writer at named steps of a write ("saved", before a
    // record is overwritten; "converted", the new file complete before it
    // replaces the old one; "replaced", just after). Null in the programs.
    static void (*s_stepHook)(const char* step);

private:
    int OpenHandle();
    int OpenByPath(platform::NativeFile::Access access);
    bool AdoptHandle();
    bool HandleStillCurrent();
    bool NameCheckDue();
    int Reopen();
    int ReleaseLock();
    int WaitShared();
    int BumpCounter(int32_t& value);
    void UndoInterruptedWriter();
    void RepairAtOpen();
    int Transfer(bool write, void* buffer, int64_t offset, int length);
    int Overwrite(int64_t offset, const void* data, int length);
    int64_t FileRecordCount();
    bool AllocateCache(size_t bytes, size_t keys);
    void StoreInCache(int n, const void* record);
    void KeyFromCache(int n);
    int64_t RecordOffset(int n) const;
    char* CachedRecord(int n);
    int OpenLocked(const char* call);
    void AdvanceCachedCounter(int32_t before);
    static void Step(const char* name);

    std::string m_path;
    std::string m_native;  // the path as NativePath found the file last
    platform::NativeFile m_file;
    platform::FileIdentity m_identity;
    // When a file kept open was last looked at by its name (see NameCheckDue).
    long m_replacementsSeen = -1;
    int64_t m_nameCheckedUs = 0;
    RecordFileHeader m_header;
    int16_t m_version = 0;
    int16_t m_recSize = 0;
    uint8_t m_options = 0;
    bool m_isOpen = false;
    bool m_locked = false;
    bool m_cacheValid = false;
    int m_sectorSize = 512;
    int m_retries = 0;
    int m_wait = 0;

    std::vector<char> m_cache;        // header and records; its size is the capacity
    int m_cachedCount = 0;
    std::vector<int32_t> m_keyMap;    // [n] = key of record n
    // Each key's first record, made from m_keyMap when a look-up needs it and
    // kept while records only come at the end: a look-up by key is then one
    // probe, not a walk over every record.
    mutable std::unordered_map<int32_t, int> m_keyIndex;
    mutable int m_keyIndexCount = -1;  // the records it covers; -1 when it is to be made again
    int32_t m_cachedCounter = 0;      // the counter the caller has seen
    int32_t m_loadedCounter = 0;      // the counter the cache's contents match
    int m_lastKeyHit = -1;
    IoStats m_stats;
    CBVLog m_log;

    int m_depth = 0;        // open brackets (CheckOpen without CheckClose yet)
    int m_lockLevel = 0;    // the bracket depth at which the lock was taken
    bool m_dirty = false;   // written under this lock hold, not yet flushed
    CRecordJournal m_journal;
    // A record read whole under this lock hold, as the file holds it: its
    // rewrite journals these bytes instead of reading them again.
    int64_t m_heldReadOffset = -1;
    std::vector<char> m_heldRead;
    int32_t m_lastUnique = 0;
};
