#include "foundation/files/RecordJournal.h"

#include "platform/files/FileSystem.h"
#include "platform/system/Clock.h"
#include "platform/system/SystemInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace {

// Journal layout, little-endian:
//   head:  "BVU2", 4 zero bytes, the hold's number (8), device (8), inode
//          (8), length before (8), check (8) over the 40 bytes before it;
//   entry: offset (8), length (4), 4 zero bytes, check (8) over the hold's
//          number, offset, length and the saved bytes; then the saved bytes.
// A done journal is zeroed over the length its hold used (by older builds,
// its first four bytes only). The checks tell a complete head or entry from
// one cut short when its writer died.
constexpr char kMagic[4] = {'B', 'V', 'U', '2'};
constexpr size_t kHeadSize = 48;
constexpr size_t kEntryHeadSize = 24;
constexpr char kDone[4] = {0, 0, 0, 0};

uint64_t Check(const void* data, size_t length, uint64_t hash = 0xcbf29ce484222325ull)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < length; ++i) {
        hash ^= p[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

uint64_t EntryCheck(uint64_t nonce, const char* entryHead, const char* data, size_t length)
{
    uint64_t check = Check(&nonce, sizeof nonce);
    check = Check(entryHead, 12, check);
    return Check(data, length, check);
}

template <typename T>
void Put(char* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

template <typename T>
T Get(const char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

bool HeadValid(const char* head, size_t size)
{
    return size >= kHeadSize && std::memcmp(head, kMagic, sizeof kMagic) == 0 &&
           Get<uint64_t>(head + 40) == Check(head, 40);
}

uint64_t NewNonce()
{
    static thread_local std::mt19937_64 random(std::random_device{}() ^
                                               (static_cast<uint64_t>(platform::ProcessId()) << 32) ^
                                               static_cast<uint64_t>(platform::MonotonicUs()));
    return random();
}

struct Entry {
    int64_t offset;
    const char* data;
    uint32_t length;
};

int Errno(int fallback = EIO) { return errno ? errno : fallback; }

// The saved bytes are the records as they were: an old password among them
// must not outlive the change. Zeroing the journal's used length, head
// first, ends it as the done mark does, and keeps its length and its place
// on the disk, so the next hold's journal costs its flush no more than
// before. A power cut that loses part of it leaves every record whole:
// undone entries give their old records, the others keep their new ones,
// whose flush came first. The zeroing itself costs no flush.
int EndJournal(platform::NativeFile& journal, int64_t usedLength)
{
    const std::vector<char> zeros(static_cast<size_t>(std::max<int64_t>(usedLength, sizeof kDone)), '\0');
    errno = 0;
    return journal.WriteAt(zeros.data(), zeros.size(), 0) == static_cast<long>(zeros.size()) ? 0 : Errno();
}

}  // namespace

void CRecordJournal::SetResolvedPath(const std::string& recordFileNativePath)
{
    m_path = recordFileNativePath + ".undo";
}

bool CRecordJournal::PendingAt(const std::string& journalNativePath)
{
    platform::NativeFile journal;
    if (journal.OpenExistingResolved(journalNativePath, platform::NativeFile::Access::Read) != 0)
        return false;
    char head[kHeadSize];
    long n = journal.ReadAt(head, sizeof head, 0);
    return n > 0 && HeadValid(head, static_cast<size_t>(n));
}

bool CRecordJournal::Pending() const { return PendingAt(m_path); }

int CRecordJournal::Begin(const platform::NativeFile& target)
{
    if (Active())
        return 0;
    int64_t size = target.Size();
    if (size < 0)
        return Errno();
    int rc = m_file.OpenExistingResolved(m_path, platform::NativeFile::Access::ReadWrite);
    bool created = false;
    if (rc == ENOENT) {
        rc = m_file.CreateExclusiveResolved(m_path);
        created = rc == 0;
        if (rc == EEXIST)
            rc = m_file.OpenExistingResolved(m_path, platform::NativeFile::Access::ReadWrite);
    }
    if (rc != 0)
        return rc;
    // Once in the life of a record file: its journal's name reaches the disk
    // before the journal is ever relied on.
    if (created)
        platform::SyncFolder(platform::FolderOf(m_path).empty() ? "." : platform::FolderOf(m_path));
    m_unflushed = true;
    m_nonce = NewNonce();
    platform::FileIdentity id = target.Identity();
    char head[kHeadSize] = {};
    std::memcpy(head, kMagic, sizeof kMagic);
    Put<uint64_t>(head + 8, m_nonce);
    Put<uint64_t>(head + 16, id.device);
    Put<uint64_t>(head + 24, id.inode);
    Put<int64_t>(head + 32, size);
    Put<uint64_t>(head + 40, Check(head, 40));
    errno = 0;
    if (m_file.WriteAt(head, sizeof head, 0) != static_cast<long>(sizeof head)) {
        rc = Errno();
        m_file.WriteAt(kDone, sizeof kDone, 0);
        m_file.Close();
        return rc;
    }
    m_end = kHeadSize;
    m_originalSize = size;
    return 0;
}

int CRecordJournal::Save(const platform::NativeFile& target, int64_t offset, size_t length, const char* current)
{
    m_lastSaved.clear();
    int rc = Begin(target);
    if (rc != 0)
        return rc;
    int64_t end = offset + static_cast<int64_t>(length);
    if (end > m_originalSize)
        end = m_originalSize;
    if (offset < 0 || end <= offset)
        return 0;
    size_t n = static_cast<size_t>(end - offset);

    std::vector<char> entry(kEntryHeadSize + n);
    errno = 0;
    if (current != nullptr)
        std::memcpy(entry.data() + kEntryHeadSize, current, n);
    else if (target.ReadAt(entry.data() + kEntryHeadSize, n, offset) != static_cast<long>(n))
        return Errno();
    Put<int64_t>(entry.data(), offset);
    Put<uint32_t>(entry.data() + 8, static_cast<uint32_t>(n));
    Put<uint64_t>(entry.data() + 16, EntryCheck(m_nonce, entry.data(), entry.data() + kEntryHeadSize, n));
    errno = 0;
    if (m_file.WriteAt(entry.data(), entry.size(), m_end) != static_cast<long>(entry.size()))
        return Errno();
    m_end += static_cast<int64_t>(entry.size());
    m_unflushed = true;
    m_lastSaved.assign(entry.begin() + kEntryHeadSize, entry.end());
    return 0;
}

int CRecordJournal::MakeDurable()
{
    if (!Active() || !m_unflushed)
        return 0;
    if (int rc = m_file.Sync(); rc != 0)
        return rc;
    m_unflushed = false;
    return 0;
}

int CRecordJournal::Commit()
{
    if (!Active())
        return 0;
    int rc = EndJournal(m_file, m_end);
    m_file.Close();
    m_lastSaved.clear();
    return rc;
}

void CRecordJournal::Abandon()
{
    m_file.Close();
    m_lastSaved.clear();
}

int CRecordJournal::Recover(platform::NativeFile& target)
{
    if (Active())
        return 0;  // this very hold's own journal
    platform::NativeFile journal;
    if (journal.OpenExistingResolved(m_path, platform::NativeFile::Access::ReadWrite) != 0)
        return 0;
    char head[kHeadSize];
    long headRead = journal.ReadAt(head, sizeof head, 0);
    if (headRead <= 0 || !HeadValid(head, static_cast<size_t>(headRead)))
        return 0;  // done, or cut short before its first change

    platform::FileIdentity id = target.Identity();
    if (Get<uint64_t>(head + 16) != id.device || Get<uint64_t>(head + 24) != id.inode) {
        // Left for a file that has since been replaced: nothing of this one.
        EndJournal(journal, journal.Size());
        return 0;
    }
    uint64_t nonce = Get<uint64_t>(head + 8);
    int64_t originalSize = Get<int64_t>(head + 32);

    std::string bytes;
    int64_t size = journal.Size();
    if (size < 0)
        return -Errno();
    bytes.resize(static_cast<size_t>(size));
    long n = journal.ReadAt(bytes.data(), bytes.size(), 0);
    bytes.resize(n < 0 ? 0 : static_cast<size_t>(n));

    std::vector<Entry> entries;
    size_t pos = kHeadSize;
    while (pos + kEntryHeadSize <= bytes.size()) {
        const char* e = bytes.data() + pos;
        int64_t offset = Get<int64_t>(e);
        uint32_t length = Get<uint32_t>(e + 8);
        if (length > bytes.size() - pos - kEntryHeadSize || offset < 0)
            break;
        if (Get<uint64_t>(e + 16) != EntryCheck(nonce, e, e + kEntryHeadSize, length))
            break;  // the entry being made when its writer died, or one of an earlier hold
        entries.push_back({offset, e + kEntryHeadSize, length});
        pos += kEntryHeadSize + length;
    }

    int64_t fileSize = target.Size();
    if (fileSize < 0)
        return -Errno();
    int changes = 0;
    // Newest first, so that bytes changed twice end as they were at the start.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->offset + static_cast<int64_t>(it->length) > fileSize)
            continue;  // cut away since by the same writer
        errno = 0;
        if (target.WriteAt(it->data, it->length, it->offset) != static_cast<long>(it->length))
            return -Errno();
        ++changes;
    }
    if (fileSize > originalSize) {
        if (int rc = target.Truncate(originalSize); rc != 0)
            return -rc;
        ++changes;
    }
    if (int rc = target.Sync(); rc != 0)
        return -rc;
    if (int rc = EndJournal(journal, static_cast<int64_t>(bytes.size())); rc != 0)
        return -rc;
    return changes;
}
