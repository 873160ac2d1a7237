#include "foundation/files/BVFileEx.h"
#include "platform/files/SharedLock.h"

#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/system/SystemInfo.h"
#include "platform/files/SystemPath.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

using platform::NativeFile;

namespace {

constexpr int kHeaderSize = 8;
constexpr int64_t kCopyChunk = 1 << 20;
// How long a file kept open is read without a look at whether its name still
// leads to it.
constexpr int64_t kNameCheckUs = 100'000;

int32_t Next(int32_t counter) { return static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u); }

int LastError(int fallback = EIO) { return errno ? errno : fallback; }

// Errors of writing rather than of making a file: the header could not be put
// into a file that could be made.
bool IsWriteError(int error) { return error == ENOSPC || error == EIO || error == EDQUOT || error == EFBIG; }

}  // namespace

void (*CBVFileEx::s_stepHook)(const char* step) = nullptr;

void CBVFileEx::Step(const char* name)
{
    if (s_stepHook)
        s_stepHook(name);
}

CBVFileEx::CBVFileEx() = default;

CBVFileEx::~CBVFileEx() { Close(); }

// ---------------------------------------------------------------------------
// Opening and closing

int CBVFileEx::Open(const std::string& path, int16_t recordSize, int16_t version, uint8_t create, uint8_t options)
{
    const char* p = path.c_str();
    if (!(options & kUpdated))
        BV_LOG(m_log, 90, "Call to Open is not updated(%s)", p);
    if (m_isOpen || m_file.IsOpen())
        Close();
    if (path.size() < 3 || path.size() > 260) {
        BV_LOG(m_log, 90, "Open(%s)=%d", p, -2);
        return -2;
    }
    // A record must hold its 4-byte key; a size of 0 or less would leave
    // nothing to count records by.
    if (recordSize < 4) {
        BV_LOG(m_log, 90, "Open(%s)=%d", p, -3);
        return -3;
    }

    m_path = path;
    m_options = options & 0x8F;
    m_recSize = recordSize;
    m_version = version;
    m_header = {};
    m_identity = {};
    m_native.clear();
    std::string folder = platform::FolderOf(path);
    m_sectorSize = platform::SectorSize(folder.empty() ? "." : folder);
    if (create)
        m_options |= kCreate;

    if (m_options & kCreate) {
        int status = platform::FileStatus(path);
        if (status != 0 && status != ENOENT) {
            BV_LOG(m_log, 90, "Open(%s)=-4(%d)", p, status);
            return -4;
        }
        if (status == ENOENT) {
            // The new file appears whole, header and all, or not at all; when
            // another program has just made it, it is opened as it is.
            RecordFileHeader header{0, recordSize, version};
            int rc = platform::CreateFileAtomically(
                path, std::string_view(reinterpret_cast<const char*>(&header), sizeof header));
            if (rc != 0 && rc != EEXIST) {
                if (IsWriteError(rc)) {
                    BV_LOG(m_log, 90, "Open(%s)=-6(%d)", p, rc);
                    return -6;
                }
                BV_LOG(m_log, 90, "Open(%s)=-5(%d)", p, rc);
                return -5;
            }
        }
    }

    m_wait = 50 + 25 * std::min(recordSize / 512, 9);
    NativeFile::Access access = (m_options & kWritable) ? NativeFile::Access::ReadWrite : NativeFile::Access::Read;
    for (int failures = 0; !m_file.IsOpen();) {
        int rc = m_file.OpenExisting(path, access);
        if (rc == 0)
            break;
        if (rc == ENOENT && platform::FileStatus(path) == ENOENT)
            return -7;  // simply not there: no pause, no log
        if (++failures >= 6) {
            BV_LOG(m_log, 80, "Open(%s) Attempt > 5*%d (%d)", p, m_wait, rc);
            return -7;
        }
        platform::SleepMs(static_cast<unsigned>(failures * m_wait / 3));
    }

    int64_t size = m_file.Size();
    int64_t sizeForTiming = size >= 0 ? size : 100LL * recordSize;
    m_retries = static_cast<int>(std::min<int64_t>(sizeForTiming / 10000 + 7, 10));

    RecordFileHeader header;
    if (m_file.ReadAt(&header, sizeof header, 0) != static_cast<long>(sizeof header)) {
        m_file.Close();
        BV_LOG(m_log, 90, "Open.ReadVersion(%s)", p);
        return -8;
    }
    m_header = header;
    m_identity = m_file.Identity();
    m_native = platform::NativePath(path);
    m_journal.SetResolvedPath(m_native);
    if (header.version != version) {
        m_file.Close();
        BV_LOG(m_log, 70, "Open(%s) Wrong file version(%d/%d)", p, header.version, version);
        return -99;
    }
    // A header that disagrees on the record size would have every record read
    // from the wrong place; it is refused like a wrong version.
    if (header.recordSize != recordSize) {
        m_file.Close();
        BV_LOG(m_log, 70, "Open(%s) Wrong record size(%d/%d)", p, header.recordSize, recordSize);
        return -99;
    }
    m_isOpen = true;
    RepairAtOpen();

    if (m_options & kCached)
        CacheVerify(0);
    else
        CheckClose(0);

    m_wait = 25 + 25 * std::min(recordSize / m_sectorSize, 9);
    m_retries = static_cast<int>(std::min<int64_t>(sizeForTiming / 10000 + 7, 15));
    return 0;
}

void CBVFileEx::Close()
{
    if (m_locked)
        ReleaseLock();
    m_depth = 0;
    if (m_file.IsOpen()) {
        if (int e = m_file.Close(); e != 0)
            BV_LOG(m_log, 90, "Failed to close(%s) - Close failed (%d)", m_path.c_str(), e);
    }
    m_cache.clear();
    m_cache.shrink_to_fit();
    m_keyMap.clear();
    m_keyMap.shrink_to_fit();
    m_keyIndex.clear();
    m_keyIndexCount = -1;
    m_cachedCount = 0;
    m_cachedCounter = 0;
    m_loadedCounter = 0;
    m_cacheValid = false;
    m_isOpen = false;
}

// Opens the file where it was found last, and looks for it by its name again
// when it is no longer there (another program may have made it anew under
// another letter case).
int CBVFileEx::OpenByPath(NativeFile::Access access)
{
    if (!m_native.empty() && m_file.OpenExistingResolved(m_native, access) == 0)
        return 0;
    m_native = platform::NativePath(m_path);
    if (!m_journal.Active())
        m_journal.SetResolvedPath(m_native);
    return m_file.OpenExistingResolved(m_native, access);
}

int CBVFileEx::OpenHandle()
{
    NativeFile::Access access = (m_options & kWritable) ? NativeFile::Access::ReadWrite : NativeFile::Access::Read;
    int attempts = m_retries + 1;
    int rc = 0;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        rc = OpenByPath(access);
        if (rc == 0)
            return AdoptHandle() ? 0 : -1;
        if (attempt < attempts)
            platform::SleepMs(static_cast<unsigned>(m_wait));
    }
    if (m_options & kWritable)
        BV_LOG(m_log, 90, "CheckOpen(%s %s) CreateFile Failed (%d)", platform::WorkingFolder().c_str(),
               m_path.c_str(), rc);
    else
        BV_LOG(m_log, 90, "CheckOpen(%s) CreateFile Failed (%d)", m_path.c_str(), rc);
    return -1;
}

// The handle just opened may be of another file than the one Open checked:
// another program may have converted the file and put the new one in its
// place. A new file in the same layout is taken (its records are all new to
// the cache); one in another layout is refused, so that nothing is read from
// or written to the wrong place.
bool CBVFileEx::AdoptHandle()
{
    platform::FileIdentity now = m_file.Identity();
    if (now == m_identity)
        return true;
    RecordFileHeader header;
    if (m_file.ReadAt(&header, sizeof header, 0) != static_cast<long>(sizeof header)) {
        m_file.Close();
        BV_LOG(m_log, 90, "Open.ReadVersion(%s)", m_path.c_str());
        return false;
    }
    if (header.version != m_version || header.recordSize != m_recSize) {
        m_file.Close();
        if (header.version != m_version)
            BV_LOG(m_log, 70, "Open(%s) Wrong file version(%d/%d)", m_path.c_str(), header.version, m_version);
        else
            BV_LOG(m_log, 70, "Open(%s) Wrong record size(%d/%d)", m_path.c_str(), header.recordSize, m_recSize);
        return false;
    }
    m_header = header;
    m_identity = now;
    m_cacheValid = false;
    return true;
}

// A handle kept open between operations still reads the file it was opened
// on, also after that file was replaced under its name.
bool CBVFileEx::HandleStillCurrent()
{
    ++m_stats.nameChecks;
    platform::FileIdentity named = platform::IdentityOfResolved(m_native);
    if (named == platform::FileIdentity{})
        named = platform::IdentityOf(m_path);
    return named == platform::FileIdentity{} || named == m_file.Identity();
}

// A read through a handle kept open looks at the header's change counter
// through that handle anyway; a look at the file's name (a path walk and a
// status) on every read cost as much as the read. A file replaced as a whole
// (a conversion, a restore, another program's atomic writer) never changes
// the counter of the file still held, so the name is looked at again when
// this process has replaced or removed a file since the last look (its own
// conversions and restores are seen at once), when the counter moved (the
// cache is reloaded then, and must be from the right file), and otherwise at
// most every kNameCheckUs: another program's replacement is seen as late as
// a read that came that much earlier. Writes look at the name under the lock
// as before.
bool CBVFileEx::NameCheckDue()
{
    const long replaced = platform::FileReplacements();
    const int64_t now = platform::SystemClock().MonotonicUs();
    if (replaced == m_replacementsSeen && now - m_nameCheckedUs < kNameCheckUs)
        return false;
    m_replacementsSeen = replaced;
    m_nameCheckedUs = now;
    return true;
}

int CBVFileEx::Reopen()
{
    m_file.Close();
    return OpenHandle();
}

int CBVFileEx::CheckOpen()
{
    if (!m_isOpen) {
        BV_LOG(m_log, 90, "CheckOpen(%s) CreateFile Failed (%d)", m_path.c_str(), EBADF);
        return -1;
    }
    if (m_file.IsOpen()) {
        if (m_depth == 0 && !m_locked && NameCheckDue() && !HandleStillCurrent() && Reopen() != 0)
            return -1;
        ++m_depth;
        return 0;
    }
    if (OpenHandle() != 0)
        return -1;
    ++m_depth;
    return 0;
}

int CBVFileEx::CheckClose(int force)
{
    int level = m_depth;
    if (m_depth > 0)
        --m_depth;
    if (force)
        m_depth = 0;
    int rc = 0;
    // The lock goes with the bracket that took it, not with an inner one.
    if (m_locked && (force || m_lockLevel >= level))
        rc = ReleaseLock();
    if (m_depth == 0 && m_file.IsOpen() && (force || !(m_options & kKeepOpen))) {
        if (int e = m_file.Close(); e != 0) {
            BV_LOG(m_log, 90, "CheckClose(%s) Failed(%d)", m_path.c_str(), e);
            rc = -1;
        }
    }
    return rc;
}

// ---------------------------------------------------------------------------
// The lock

int CBVFileEx::Lock() { return WaitLock(m_retries, m_wait); }

int CBVFileEx::WaitLock(int pauseMs, int limit)
{
    if (!m_file.IsOpen()) {
        BV_LOG(m_log, 90, "WaitLock(%s) Not open", m_path.c_str());
        return -1;
    }
    if (m_locked)
        return 0;
    int pauses = 0;
    int reopens = 0;
    for (;;) {
        int rc = m_file.TryLock(0, 4);
        if (rc == EBADF) {
            // Opened for reading only (the display and the remote open the
            // shared files so): no wait would let this handle write.
            BV_LOG(m_log, 20, "WaitLock(%s) Read-only", m_path.c_str());
            return -4;
        }
        if (rc == 0) {
            // Locked; but if the file was replaced while we waited, the lock
            // guards a file that nobody reads any more.
            if (!HandleStillCurrent() && reopens < 3) {
                m_file.Unlock(0, 4);
                ++reopens;
                if (Reopen() != 0)
                    return -1;
                continue;
            }
            m_locked = true;
            m_lockLevel = m_depth;
            UndoInterruptedWriter();
            return 0;
        }
        if (pauses >= limit + 1) {
            BV_LOG(m_log, 90, "WaitLock(%s) Too many attempts (%d/%d)", m_path.c_str(), pauseMs, limit);
            return -3;
        }
        platform::SleepMs(static_cast<unsigned>(std::max(pauseMs, 0)));
        ++pauses;
    }
}

int CBVFileEx::Unlock()
{
    if (!m_file.IsOpen()) {
        BV_LOG(m_log, 90, "Unlock(%s) Not open!", m_path.c_str());
        return -1;
    }
    if (!m_locked) {
        BV_LOG(m_log, 90, "Unlock(%s) Already unlocked", m_path.c_str());
        return -2;
    }
    if (m_lockLevel < m_depth)
        return 0;  // taken by an outer bracket, which releases it
    return ReleaseLock();
}

// Every write under this hold reaches the disk with one flush, then the
// journal goes and other writers may come in.
int CBVFileEx::ReleaseLock()
{
    int rc = 0;
    m_heldReadOffset = -1;
    if (m_dirty) {
        m_dirty = false;
        if (int e = m_file.Sync(); e != 0) {
            BV_LOG(m_log, 90, "CheckClose(%s) Failed(%d)", m_path.c_str(), e);
            rc = -1;
        }
    }
    if (m_journal.Active()) {
        if (rc == 0)
            m_journal.Commit();
        else
            m_journal.Abandon();  // the next writer puts the old contents back
    }
    if (int e = m_file.Unlock(0, 4); e != 0) {
        BV_LOG(m_log, 90, "UnLock(%s) Unlock failed(%d)", m_path.c_str(), e);
        rc = -1;
    }
    m_locked = false;
    return rc;
}

void CBVFileEx::UndoInterruptedWriter()
{
    int changes = m_journal.Recover(m_file);
    if (changes == 0)
        return;
    if (changes < 0) {
        BV_LOG(m_log, 90, "Recover(%s) Failed(%d)", m_path.c_str(), -changes);
        return;
    }
    BV_LOG(m_log, 80, "Recover(%s) %d changes of an interrupted write undone", m_path.c_str(), changes);
    m_cacheValid = false;
    IncrementUnique();  // readers re-read what they may have seen half-written
    m_dirty = true;
}

// A reader may be the first to open a file after a writer died in the middle
// of a write. It puts the file back when it can write it and nobody holds
// the lock (a holder undoes it itself).
void CBVFileEx::RepairAtOpen()
{
    if (!m_journal.Pending())
        return;
    NativeFile repair;
    NativeFile* f = &m_file;
    if (!(m_options & kWritable)) {
        if (repair.OpenExisting(m_path, NativeFile::Access::ReadWrite) != 0 || repair.Identity() != m_identity)
            return;
        f = &repair;
    }
    if (f->TryLock(0, 4) != 0)
        return;
    int changes = m_journal.Recover(*f);
    if (changes > 0) {
        BV_LOG(m_log, 80, "Recover(%s) %d changes of an interrupted write undone", m_path.c_str(), changes);
        int32_t counter = 0;
        if (f->ReadAt(&counter, 4, 0) == 4) {
            counter = Next(counter);
            f->WriteAt(&counter, 4, 0);
            f->Sync();
            m_header.changeCounter = counter;
        }
    }
    f->Unlock(0, 4);
}

// ---------------------------------------------------------------------------
// Raw transfers

int CBVFileEx::ReadData(void* buffer, int64_t offset, int length)
{
    if (length <= 0)
        return 0;
    if (!m_file.IsOpen()) {
        BV_LOG(m_log, 90, "ReadData(%s)=%d H=%d S=%d R=%d", m_path.c_str(), EBADF, -1, length, 0);
        return -1;
    }
    ++m_stats.readCalls;
    m_stats.bytesRead += length;
    return Transfer(false, buffer, offset, length);
}

int CBVFileEx::WriteData(const void* buffer, int64_t offset, int length)
{
    if (!m_locked) {
        BV_LOG(m_log, 80, "File not locked when writing(%s)", m_path.c_str());
        return -1;
    }
    if (length <= 0)
        return 0;
    ++m_stats.writeCalls;
    m_stats.bytesWritten += length;
    m_dirty = true;
    m_heldReadOffset = -1;
    return Transfer(true, const_cast<void*>(buffer), offset, length);
}

// One read or write, tried again after a pause while the failure may pass (a
// share that hiccups); the end of the file, a full disk or a handle that may
// not write end the tries at once.
int CBVFileEx::Transfer(bool write, void* buffer, int64_t offset, int length)
{
    int attempts = std::max(m_retries + 2, 1);
    long done = 0;
    int error = 0;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        errno = 0;
        done = write ? m_file.WriteAt(buffer, static_cast<size_t>(length), offset)
                     : m_file.ReadAt(buffer, static_cast<size_t>(length), offset);
        if (done == length)
            return 0;
        ++(write ? m_stats.writeRetries : m_stats.readRetries);
        error = write ? LastError() : errno;
        bool lasting = write ? (error == EFBIG || error == ENOSPC || error == EDQUOT || error == EBADF) : error == 0;
        if (lasting)
            break;
        if (attempt < attempts)
            platform::SleepMs(static_cast<unsigned>(m_wait));
    }
    BV_LOG(m_log, 90, "%s(%s)=%d H=%d S=%d R=%d", write ? "WriteData" : "ReadData", m_path.c_str(), error,
           m_file.Descriptor(), length, static_cast<int>(done));
    return -1;
}

// Overwrites bytes of existing records: their old contents go to the journal
// first, and a failed write puts them straight back.
int CBVFileEx::Overwrite(int64_t offset, const void* data, int length)
{
    const bool held = m_heldReadOffset == offset && m_heldRead.size() == static_cast<size_t>(length);
    int e = m_journal.Save(m_file, offset, static_cast<size_t>(length), held ? m_heldRead.data() : nullptr);
    // The disk writes a sector whole or not at all; a change over several
    // can be cut between them, and then only a journal already on the disk
    // brings the old record back.
    if (e == 0 && offset / m_sectorSize != (offset + length - 1) / m_sectorSize)
        e = m_journal.MakeDurable();
    if (e != 0) {
        BV_LOG(m_log, 90, "WriteData(%s)=%d H=%d S=%d R=%d", m_path.c_str(), e, m_file.Descriptor(), length, 0);
        return -1;
    }
    Step("saved");
    if (WriteData(data, offset, length) == 0)
        return 0;
    const std::vector<char>& old = m_journal.LastSaved();
    m_file.WriteAt(old.data(), old.size(), offset);
    return -1;
}

// Where record n (from 1) starts in the file, and in the cache, which holds
// the file as it lies.
int64_t CBVFileEx::RecordOffset(int n) const
{
    return kHeaderSize + static_cast<int64_t>(n - 1) * m_recSize;
}

char* CBVFileEx::CachedRecord(int n)
{
    return m_cache.data() + RecordOffset(n);
}

int64_t CBVFileEx::FileRecordCount()
{
    int64_t size = m_file.Size();
    if (size < kHeaderSize)
        return size < 0 ? -1 : 0;
    return (size - kHeaderSize) / m_recSize;
}

// ---------------------------------------------------------------------------
// The change counter

int32_t CBVFileEx::IncrementUnique()
{
    int32_t value = 0;
    int rc = BumpCounter(value);
    return rc == 0 ? value : rc == -1 ? -1 : 0;
}

// IncrementUnique with its success told apart from its value: the counter
// passes through 0 and -1 like any other number.
int CBVFileEx::BumpCounter(int32_t& value)
{
    if (!m_locked) {
        BV_LOG(m_log, 80, "IncrementUnique(%s) - Not locked", m_path.c_str());
        return -1;
    }
    int32_t counter = 0;
    if (ReadData(&counter, 0, 4) != 0) {
        BV_LOG(m_log, 90, "IncrementUnique(%s) Read failed", m_path.c_str());
        return -2;
    }
    int32_t next = Next(counter);
    if (WriteData(&next, 0, 4) != 0) {
        BV_LOG(m_log, 90, "IncrementUnique(%s) Write failed", m_path.c_str());
        return -2;
    }
    if (counter == m_cachedCounter)
        m_cachedCounter = next;
    // The operations that change records change the cache alike, so a cache
    // that matched the file before still matches it.
    if (counter == m_loadedCounter)
        m_loadedCounter = next;
    m_header.changeCounter = next;
    value = next;
    return 0;
}

int32_t CBVFileEx::GetUnique()
{
    m_lastUnique = 0;
    if (CheckOpen() != 0) {
        BV_LOG(m_log, 90, "GetUnique(%s) Unable to open", m_path.c_str());
        return 0;
    }
    if (Lock() != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "GetUnique(%s) Unable to lock", m_path.c_str());
        return 0;
    }
    int32_t value = IncrementUnique();
    // A number is handed out only once it is on the disk, so that no two
    // shooters get the same start number after a power cut.
    if (Unlock() != 0)
        value = 0;
    if (CheckClose(0) != 0)
        value = 0;
    m_lastUnique = value;
    return value;
}

void CBVFileEx::AdvanceCachedCounter(int32_t before)
{
    int32_t next = Next(before);
    if (next != 0)
        m_cachedCounter = next;
}

// ---------------------------------------------------------------------------
// The cache

bool CBVFileEx::AllocateCache(size_t bytes, size_t keys)
{
    try {
        if (m_cache.size() < bytes)
            m_cache.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    try {
        if (m_keyMap.size() < keys)
            m_keyMap.resize(keys);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CBVFileEx::StoreInCache(int n, const void* record)
{
    std::memcpy(CachedRecord(n), record, static_cast<size_t>(m_recSize));
    KeyFromCache(n);
}

void CBVFileEx::KeyFromCache(int n)
{
    int32_t& slot = m_keyMap[static_cast<size_t>(n)];
    const int32_t old = slot;
    std::memcpy(&slot, CachedRecord(n), 4);
    if (m_keyIndexCount < 0)
        return;
    if (n == m_keyIndexCount + 1) {
        m_keyIndex.try_emplace(slot, n);  // a record at the end
        m_keyIndexCount = n;
    } else if (n > m_keyIndexCount || old != slot) {
        m_keyIndexCount = -1;
    }
}

int CBVFileEx::CacheVerify(int acknowledge)
{
    const char* p = m_path.c_str();
    if (!(m_options & kCached)) {
        BV_LOG(m_log, 90, "CacheVerify(%s) - File not set to be cached!!", p);
        m_cacheValid = false;
        return -1;
    }
    if (CheckOpen() != 0) {
        m_cacheValid = false;
        if (m_options & kWritable)
            BV_LOG(m_log, 90, "CacheVerify(%s) Open failed", p);
        return -1;
    }
    int32_t counter = 0;
    if (ReadData(&counter, 0, 4) != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "CacheVerify(%s) Read failed", p);
        m_cacheValid = false;
        return -2;
    }
    if (m_cacheValid && counter == m_cachedCounter) {
        CheckClose(0);
        return 0;
    }
    if (m_depth == 1 && !m_locked && (m_options & kKeepOpen) && !HandleStillCurrent()) {
        m_nameCheckedUs = platform::SystemClock().MonotonicUs();
        if (Reopen() != 0 || ReadData(&counter, 0, 4) != 0) {
            CheckClose(0);
            BV_LOG(m_log, 90, "CacheVerify(%s) Reopen failed", p);
            m_cacheValid = false;
            return -2;
        }
    }
    int64_t size = m_file.Size();
    if (size < 0) {
        int e = LastError();
        CheckClose(0);
        BV_LOG(m_log, 90, "CacheVerify(%s) GetFileSize=%d", p, e);
        m_cacheValid = false;
        return -4;
    }
    if (size < kHeaderSize) {
        CheckClose(0);
        BV_LOG(m_log, 90, "CacheVerify(%s) - File is too small", p);
        m_cacheValid = false;
        return -5;
    }
    int64_t count = (size - kHeaderSize) / m_recSize;
    // Changed since the caller last looked, but the cache already holds that
    // state (an internal reload, or this object's own writes): no re-read.
    bool current = m_cacheValid && counter == m_loadedCounter && count == m_cachedCount;
    if (!current) {
        m_cacheValid = false;
        size_t bytes = static_cast<size_t>(size) + 10u * static_cast<size_t>(m_recSize);
        if (m_cache.size() < static_cast<size_t>(size)) {
            m_cache.clear();
            m_keyMap.clear();
            m_keyIndexCount = -1;
            try {
                m_cache.resize(bytes);
            } catch (const std::bad_alloc&) {
                CheckClose(0);
                BV_LOG(m_log, 90, "CacheVerify(%s) malloc cache failed", p);
                return -6;
            }
        }
        try {
            if (m_keyMap.size() < static_cast<size_t>(count) + 11)
                m_keyMap.resize(static_cast<size_t>(count) + 11);
        } catch (const std::bad_alloc&) {
            CheckClose(0);
            BV_LOG(m_log, 90, "CacheVerify(%s) malloc map failed", p);
            return -7;
        }
        int wanted = static_cast<int>(kHeaderSize + count * m_recSize);
        if (ReadData(m_cache.data(), 0, wanted) != 0) {
            CheckClose(0);
            BV_LOG(m_log, 90, "CacheVerify(%s) ReadData failed", p);
            return -8;
        }
        std::memcpy(&m_header, m_cache.data(), sizeof m_header);
        counter = m_header.changeCounter;
        m_cachedCount = static_cast<int>(count);
        m_keyIndexCount = -1;
        for (int n = 1; n <= m_cachedCount; ++n)
            KeyFromCache(n);
        m_loadedCounter = counter;
        BV_LOG(m_log, 20, "CacheVerify(%s)=1", p);
    }
    CheckClose(0);
    if (acknowledge)
        m_cachedCounter = counter;
    m_cacheValid = true;
    return 1;
}

int CBVFileEx::FindKey(const void* record) const
{
    int32_t key;
    std::memcpy(&key, record, 4);
    const int count = std::min(m_cachedCount, static_cast<int>(m_keyMap.size()) - 1);
    if (m_keyIndexCount != count) {
        m_keyIndex.clear();
        for (int n = 1; n <= count; ++n)
            m_keyIndex.try_emplace(m_keyMap[static_cast<size_t>(n)], n);
        m_keyIndexCount = count;
    }
    auto it = m_keyIndex.find(key);
    return it == m_keyIndex.end() ? 0 : it->second;
}

int CBVFileEx::GetRecCount()
{
    if (m_options & kCached) {
        CacheVerify(0);
        return m_cacheValid ? m_cachedCount : 0;
    }
    if (CheckOpen() != 0)
        return 0;
    int64_t count = FileRecordCount();
    CheckClose(0);
    return count < 0 ? 0 : static_cast<int>(count);
}

// ---------------------------------------------------------------------------
// Records

int CBVFileEx::ReadRec(int n, void* buffer)
{
    const char* p = m_path.c_str();
    if (n < 1) {
        BV_LOG(m_log, 90, "ReadRec(%s) - Illegal recnum", p);
        return -1;
    }
    if (m_cacheValid) {
        if (n > m_cachedCount) {
            if (CheckOpen() != 0) {
                BV_LOG(m_log, 90, "ReadRec failed(%s) - Open failed", p);
                return -3;
            }
            if (FileRecordCount() > m_cachedCount) {
                BV_LOG(m_log, 80, "ReadRec(%s) Cache not in sync(%d/%d)", p, n, m_cachedCount);
                CacheVerify(0);
            }
            if (!m_cacheValid || n > m_cachedCount) {
                CheckClose(0);
                BV_LOG(m_log, 90, "ReadRec(%s) - RecNum=%d > Cache=%d", p, n, m_cachedCount);
                return -2;
            }
            std::memcpy(buffer, CachedRecord(n), static_cast<size_t>(m_recSize));
            CheckClose(0);
            return 0;
        }
        std::memcpy(buffer, CachedRecord(n), static_cast<size_t>(m_recSize));
        return 0;
    }
    if (CheckOpen() != 0) {
        BV_LOG(m_log, 90, "ReadRec failed(%s) - Open failed", p);
        return -3;
    }
    if (ReadData(buffer, RecordOffset(n), m_recSize) != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "ReadRec(%s) - ReadData failed", p);
        return -4;
    }
    CheckClose(0);
    return 0;
}

int CBVFileEx::WriteRec(int n, const void* buffer)
{
    const char* p = m_path.c_str();
    if (n < 1) {
        BV_LOG(m_log, 90, "WriteRec(%s) - Illegal recnum", p);
        return -2;
    }
    bool cached = m_cacheValid;
    int32_t before = m_cachedCounter;
    if (cached && n > m_cachedCount) {
        BV_LOG(m_log, 80, "WriteRec(%s) Cache not in sync(%d/%d)", p, n, m_cachedCount);
        CacheVerify(0);
        if (!m_cacheValid || n > m_cachedCount) {
            BV_LOG(m_log, 90, "WriteRec(%s) - RecNum=%d > Cache=%d", p, n, m_cachedCount);
            return -1;
        }
    }
    if (CheckOpen() != 0) {
        BV_LOG(m_log, 90, "WriteRec(%s) - Failed to open", p);
        return -1;
    }
    if (int rc = Lock(); rc != 0) {
        CheckClose(0);
        return rc;
    }
    // Writing past the end would leave records of zeros between; appending
    // is AddRec's. (Another program may have emptied the file meanwhile.)
    int64_t count = FileRecordCount();
    if (count < 0 || n > count + (cached ? 0 : 1)) {
        CheckClose(0);
        BV_LOG(m_log, 90, "WriteRec(%s) - RecNum=%d > Cache=%d", p, n, static_cast<int>(count));
        return -1;
    }
    int64_t offset = RecordOffset(n);
    int rc = n <= count ? Overwrite(offset, buffer, m_recSize) : WriteData(buffer, offset, m_recSize);
    if (rc != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "WriteRec(%s) - WriteData failed", p);
        return cached ? rc : -2;
    }
    IncrementUnique();
    if (CheckClose(0) != 0)
        return cached ? -1 : -2;
    if (m_cacheValid && n <= m_cachedCount) {
        AdvanceCachedCounter(before);
        StoreInCache(n, buffer);
    }
    return 0;
}

int CBVFileEx::WriteRecDirect(int n, const void* buffer)
{
    if (m_cacheValid)
        BV_LOG(m_log, 80, "WriteRecDirect(%s) - File is cached", m_path.c_str());
    return WriteRec(n, buffer);
}

int CBVFileEx::ReadRecKey(void* buffer)
{
    const char* p = m_path.c_str();
    if (!(m_options & kCached)) {
        BV_LOG(m_log, 90, "ReadRecKey(%s) - Not allowed for non-cached files", p);
        return -1;
    }
    if (!m_cacheValid)
        CacheVerify(0);  // a cache dropped after a failed reload is not searched
    int n = m_cacheValid ? FindKey(buffer) : 0;
    if (n == 0 && m_file.IsOpen() && m_cacheValid && FileRecordCount() > m_cachedCount) {
        BV_LOG(m_log, 80, "ReadRecKey(%s) Cache not in sync", p);
        CacheVerify(0);
        n = FindKey(buffer);
    }
    m_lastKeyHit = n;
    if (n == 0)
        return -1;
    return ReadRec(n, buffer);
}

int CBVFileEx::WriteRecKey(const void* buffer)
{
    const char* p = m_path.c_str();
    if (!(m_options & kCached)) {
        BV_LOG(m_log, 90, "WriteRecKey(%s) - Not allowed for non-cached files", p);
        return -1;
    }
    if (CheckOpen() != 0)
        return -1;
    if (int rc = Lock(); rc != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "WriteRecKey(%s)", p);
        return rc;
    }
    // The key is looked for under the lock, in a cache brought up to date
    // under it: two programs adding the same new key one after the other
    // make one record, not two.
    if (FileRecordCount() > m_cachedCount)
        BV_LOG(m_log, 80, "WriteRecKey(%s) Cache not in sync", p);
    if (CacheVerify(0) < 0 || !m_cacheValid) {
        CheckClose(0);
        BV_LOG(m_log, 90, "WriteRecKey(%s)", p);
        return -1;
    }
    int rc;
    if (int n = FindKey(buffer); n != 0) {
        rc = WriteRec(n, buffer);
    } else {
        int added = 0;
        rc = AddRec(added, buffer);
    }
    if (rc != 0)
        BV_LOG(m_log, 90, "WriteRecKey(%s)", p);
    int closed = CheckClose(0);
    return rc != 0 ? rc : closed;
}

int CBVFileEx::ReadRecDirect(int n, void* buffer)
{
    if (n < 1)
        return -2;
    if (CheckOpen() != 0)
        return -1;
    // A writer rewrites a record in place under the file's lock; a read
    // beside it could return half the old record and half the new one.
    const bool shared = !m_locked;
    if (shared && WaitShared() != 0) {
        CheckClose(0);
        return -2;
    }
    int rc = ReadData(buffer, RecordOffset(n), m_recSize);
    if (rc == 0 && !shared) {
        m_heldReadOffset = RecordOffset(n);
        m_heldRead.assign(static_cast<const char*>(buffer), static_cast<const char*>(buffer) + m_recSize);
    }
    if (shared)
        m_file.Unlock(0, 4);
    CheckClose(0);
    return rc == 0 ? 0 : -2;
}

// Shares the writers' lock range with other readers, pausing as a writer
// does while one holds it.
int CBVFileEx::WaitShared()
{
    for (int pauses = 0;; ++pauses) {
        int rc = platform::TryLockShared(m_file, 0, 4);
        if (rc == 0)
            return 0;
        if (rc != EAGAIN || pauses > m_wait) {
            BV_LOG(m_log, 90, "WaitShared(%s) Failed(%d) after %d attempts", m_path.c_str(), rc, pauses + 1);
            return -1;
        }
        platform::SleepMs(static_cast<unsigned>(std::max(m_retries, 0)));
    }
}

int CBVFileEx::ReadField(int n, int offset, int length, void* buffer)
{
    if (n < 1 || offset < 0 || length < 0 || offset + length > m_recSize)
        return -2;
    if (CheckOpen() != 0)
        return -1;
    int rc = ReadData(buffer, RecordOffset(n) + offset, length);
    CheckClose(0);
    return rc == 0 ? 0 : -2;
}

int CBVFileEx::AddRec(int& n, const void* buffer)
{
    const char* p = m_path.c_str();
    n = 0;
    if (CheckOpen() != 0)
        return -1;
    if (Lock() != 0) {
        CheckClose(0);
        return -2;
    }
    int32_t before = m_cachedCounter;
    int64_t size = m_file.Size();
    if (size < 0) {
        int e = LastError();
        CheckClose(0);
        BV_LOG(m_log, 90, "AddRec(%s) Failed to get filesize(%d)", p, e);
        return -3;
    }
    if (size < kHeaderSize) {
        CheckClose(0);
        BV_LOG(m_log, 90, "AddRec(%s)=%d", p, static_cast<int>(size));
        return -4;
    }
    int64_t k = (size - kHeaderSize) / m_recSize;
    int64_t at = kHeaderSize + k * m_recSize;
    if (size != at)
        BV_LOG(m_log, 80, "AddRec(%s) - Odd filesize=%d", p, static_cast<int>(size));

    // The record goes over the stray tail of a record that never got whole,
    // and the file grows only by what is written: a failure leaves no record
    // of zeros behind, and a writer that dies half-way leaves at most a stray
    // tail, which counts as no record and goes with the next append.
    bool ok = WriteData(buffer, at, m_recSize) == 0;
    int32_t counter = 0;
    if (ok)
        ok = BumpCounter(counter) == 0;
    if (!ok) {
        m_file.Truncate(at);
        CheckClose(0);
        return -1;
    }
    if (CheckClose(0) != 0)
        return -1;

    if (m_cacheValid) {
        if (m_cachedCount != k) {
            // Another program added records since the cache was loaded.
            CacheVerify(0);
        } else {
            size_t needed = static_cast<size_t>(at + m_recSize);
            if (m_cache.size() < needed) {
                try {
                    m_cache.resize(static_cast<size_t>(kHeaderSize + (k + 11) * m_recSize));
                } catch (const std::bad_alloc&) {
                    BV_LOG(m_log, 90, "AddRec(%s) - Malloc fail!!!!", p);
                    return -9;
                }
                try {
                    m_keyMap.resize(static_cast<size_t>(k + 12));
                } catch (const std::bad_alloc&) {
                    BV_LOG(m_log, 90, "AddRec(%s) - Malloc fail !!!", p);
                    return -10;
                }
            }
            if (m_keyMap.size() < static_cast<size_t>(k + 2))
                m_keyMap.resize(static_cast<size_t>(k + 12));
            m_cachedCount = static_cast<int>(k + 1);
            StoreInCache(m_cachedCount, buffer);
            AdvanceCachedCounter(before);
        }
    }
    n = static_cast<int>(k + 1);
    return 0;
}

// Opened and locked for a change of one field; call is the caller's name for the log.
int CBVFileEx::OpenLocked(const char* call)
{
    if (CheckOpen() != 0) {
        BV_LOG(m_log, 90, "%s(%s) Open failed", call, m_path.c_str());
        return -1;
    }
    if (Lock() != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "%s(%s) Lock failed", call, m_path.c_str());
        return -1;
    }
    return 0;
}

int32_t CBVFileEx::IncrementField(int n, int offset, int size)
{
    if (n < 1 || offset < 0 || (size != 1 && size != 2 && size != 4) || offset + size > m_recSize)
        return 0;
    if (OpenLocked("IncrementField") != 0)
        return -1;
    int32_t before = m_cachedCounter;
    int64_t at = RecordOffset(n) + offset;
    uint32_t value = 0;
    bool ok = n <= FileRecordCount() && ReadData(&value, at, size) == 0;
    if (ok) {
        uint32_t mask = size == 4 ? 0xFFFFFFFFu : (1u << (8 * size)) - 1;
        value = (value + 1) & mask;
        ok = Overwrite(at, &value, size) == 0;
    }
    int32_t counter = 0;
    if (ok)
        ok = BumpCounter(counter) == 0;
    if (CheckClose(0) != 0)
        ok = false;
    if (!ok)
        return 0;
    if (m_cacheValid) {
        AdvanceCachedCounter(before);
        if (n <= m_cachedCount) {
            std::memcpy(m_cache.data() + at, &value, static_cast<size_t>(size));
            if (offset < 4)
                KeyFromCache(n);
        }
    }
    return static_cast<int32_t>(value);
}

int CBVFileEx::WriteField(int n, int offset, int length, const void* data)
{
    const char* p = m_path.c_str();
    if (n < 1 || offset < 0 || length < 0 || offset + length > m_recSize)
        return -2;
    if (OpenLocked("WriteField") != 0)
        return -1;
    int32_t before = m_cachedCounter;
    int64_t at = RecordOffset(n) + offset;
    int rc = n <= FileRecordCount() ? Overwrite(at, data, length) : -2;
    int32_t counter = 0;
    if (rc == 0 && BumpCounter(counter) != 0)
        rc = -1;
    rc |= CheckClose(0);
    if (rc != 0)
        return rc;
    if (m_cacheValid) {
        AdvanceCachedCounter(before);
        if (n <= m_cachedCount) {
            std::memcpy(m_cache.data() + at, data, static_cast<size_t>(length));
            KeyFromCache(n);
        } else {
            BV_LOG(m_log, 90, "WriteField(%s) - Cache not in sync", p);
        }
    }
    return 0;
}

int CBVFileEx::CutToHeader()
{
    if (CheckOpen() != 0)
        return -1;
    if (Lock() != 0) {
        CheckClose(0);
        return -2;
    }
    int32_t before = m_cachedCounter;
    if (int e = m_file.Truncate(kHeaderSize); e != 0) {
        CheckClose(0);
        BV_LOG(m_log, 90, "CutToHeader(%s) Failed(%d)", m_path.c_str(), e);
        return -3;
    }
    m_dirty = true;
    IncrementUnique();
    if (CheckClose(0) != 0)
        return -3;
    if (m_cacheValid) {
        m_cachedCount = 0;
        AdvanceCachedCounter(before);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Conversion to a new layout

int CBVFileEx::Convert(const std::string& tempFolder, int16_t newSize, int16_t newVersion)
{
    const char* p = m_path.c_str();
    if (m_path.empty())
        return -1;
    uint8_t options = m_options;
    Close();

    // The old file is read and replaced under its lock, so no program writes
    // to it in between; a reader still holding it notices the replacement
    // at its next operation (AdoptHandle).
    if (int rc = m_file.OpenExisting(m_path, NativeFile::Access::ReadWrite); rc != 0) {
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, rc);
        return -1;
    }
    m_identity = m_file.Identity();
    m_isOpen = true;  // for the lock's bookkeeping only
    m_depth = 1;
    auto finish = [&](int rc) {
        CheckClose(1);
        m_isOpen = false;
        return rc;
    };
    if (WaitLock(std::max(m_retries, 7), std::max(m_wait, 25)) != 0)
        return finish(-1);

    RecordFileHeader header;
    int64_t size = m_file.Size();
    if (size < 0 || m_file.ReadAt(&header, sizeof header, 0) != static_cast<long>(sizeof header))
        return finish(-1);
    m_header = header;
    if (header.version == newVersion && header.recordSize == newSize) {
        // Another program converted it while this one waited for the lock.
        finish(0);
        return Open(m_path, newSize, newVersion, 0, options);
    }
    int16_t oldSize = header.recordSize;
    if (oldSize <= 0 || newSize < oldSize)
        return finish(-2);
    int64_t count = (size - kHeaderSize) / oldSize;

    // The old file stays, whole, as the backup in the temporary folder.
    std::string backup = platform::MakeTempFile(tempFolder.empty() ? "." : tempFolder, "BVD");
    int error = backup.empty() ? LastError() : platform::CopyFile(m_path, backup);
    if (error != 0) {
        if (!backup.empty())
            platform::RemoveFile(backup);
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, error);
        return finish(-3);
    }

    // The new file is made beside the old one and flushed before it takes
    // the old one's place in one step: whatever happens, the name holds
    // either the old file or the whole new one.
    std::string folder = platform::FolderOf(m_path);
    if (folder.empty())
        folder = ".";
    std::string fresh = platform::MakeTempFile(folder, "~bv");
    if (fresh.empty()) {
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, LastError());
        return finish(-3);
    }
    NativeFile out;
    error = out.OpenExisting(fresh, NativeFile::Access::ReadWrite);
    RecordFileHeader newHeader{header.changeCounter, newSize, newVersion};
    if (error == 0 && out.WriteAt(&newHeader, sizeof newHeader, 0) != static_cast<long>(sizeof newHeader))
        error = LastError();
    const int64_t perChunk = std::max<int64_t>(1, kCopyChunk / newSize);
    std::vector<char> in, converted;
    for (int64_t first = 0; error == 0 && first < count; first += perChunk) {
        int64_t chunk = std::min(perChunk, count - first);
        in.assign(static_cast<size_t>(chunk * oldSize), 0);
        converted.assign(static_cast<size_t>(chunk * newSize), 0);
        errno = 0;
        if (m_file.ReadAt(in.data(), in.size(), kHeaderSize + first * oldSize) != static_cast<long>(in.size())) {
            error = LastError();
            break;
        }
        for (int64_t i = 0; i < chunk; ++i)
            std::memcpy(converted.data() + i * newSize, in.data() + i * oldSize, static_cast<size_t>(oldSize));
        errno = 0;
        if (out.WriteAt(converted.data(), converted.size(), kHeaderSize + first * newSize) !=
            static_cast<long>(converted.size()))
            error = LastError();
    }
    if (error == 0)
        error = out.Sync();
    out.Close();
    if (error == 0) {
        Step("converted");
        error = platform::ReplaceFile(fresh, m_path);
    }
    if (error != 0) {
        platform::RemoveFile(fresh);
        BV_LOG(m_log, 90, "Can't copy file %s with wrong verson %d", p, error);
        return finish(-3);
    }
    platform::SyncFolder(folder);
    Step("replaced");
    finish(0);
    return Open(m_path, newSize, newVersion, 0, options);
}

int CBVFileEx::TestFolder(const std::string& folder)
{
    std::string f = folder;
    if (f.empty())
        f = ".";
    else if (f.back() == '\\' || f.back() == '/')
        f.pop_back();
    if (f.empty())
        f = "\\";
    return platform::CanCreateFileIn(f) ? 1 : 0;
}
