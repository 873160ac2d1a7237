#include "foundation/RecordJournal.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>

namespace {

// Journal layout, little-endian:
//   head:  "BVU1", 4 zero bytes, device (8), inode (8), length before (8),
//          check (8) over the 32 bytes before it;
//   entry: offset (8), length (4), 4 zero bytes, check (8) over offset,
//          length and the saved bytes, then the saved bytes.
// The checks tell a complete entry from one cut short when its writer died.
constexpr char kMagic[4] = {'B', 'V', 'U', '1'};
constexpr size_t kHeadSize = 40;
constexpr size_t kEntryHeadSize = 24;

uint64_t Check(const void* data, size_t length, uint64_t hash = 0xcbf29ce484222325ull)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < length; ++i) {
        hash ^= p[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
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

struct Entry {
    int64_t offset;
    const char* data;
    uint32_t length;
};

int Errno(int fallback = EIO) { return errno ? errno : fallback; }

}  // namespace

void CRecordJournal::SetResolvedPath(const std::string& recordFileNativePath)
{
    m_path = recordFileNativePath + ".undo";
}

bool CRecordJournal::Exists() const
{
    platform::NativeFile probe;
    return probe.OpenExistingResolved(m_path, platform::NativeFile::Access::Read) == 0;
}

int CRecordJournal::Begin(const platform::NativeFile& target)
{
    if (Active())
        return 0;
    int64_t size = target.Size();
    if (size < 0)
        return Errno();
    int rc = m_file.CreateExclusiveResolved(m_path);
    if (rc != 0)
        return rc;
    platform::FileIdentity id = target.Identity();
    char head[kHeadSize] = {};
    std::memcpy(head, kMagic, sizeof kMagic);
    Put<uint64_t>(head + 8, id.device);
    Put<uint64_t>(head + 16, id.inode);
    Put<int64_t>(head + 24, size);
    Put<uint64_t>(head + 32, Check(head, 32));
    errno = 0;
    if (m_file.WriteAt(head, sizeof head, 0) != static_cast<long>(sizeof head)) {
        rc = Errno();
        m_file.Close();
        platform::RemoveResolved(m_path);
        return rc;
    }
    m_end = kHeadSize;
    m_originalSize = size;
    return 0;
}

int CRecordJournal::Save(const platform::NativeFile& target, int64_t offset, size_t length)
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
    if (target.ReadAt(entry.data() + kEntryHeadSize, n, offset) != static_cast<long>(n))
        return Errno();
    Put<int64_t>(entry.data(), offset);
    Put<uint32_t>(entry.data() + 8, static_cast<uint32_t>(n));
    uint64_t check = Check(entry.data(), 12);
    check = Check(entry.data() + kEntryHeadSize, n, check);
    Put<uint64_t>(entry.data() + 16, check);
    errno = 0;
    if (m_file.WriteAt(entry.data(), entry.size(), m_end) != static_cast<long>(entry.size()))
        return Errno();
    m_end += static_cast<int64_t>(entry.size());
    m_lastSaved.assign(entry.begin() + kEntryHeadSize, entry.end());
    return 0;
}

int CRecordJournal::Commit()
{
    if (!Active())
        return 0;
    m_file.Close();
    m_lastSaved.clear();
    return platform::RemoveResolved(m_path);
}

void CRecordJournal::Abandon()
{
    m_file.Close();
    m_lastSaved.clear();
}

int CRecordJournal::Recover(platform::NativeFile& target)
{
    if (Active())
        return 0;  // our own journal of this very hold
    std::string bytes;
    {
        platform::NativeFile journal;
        if (journal.OpenExistingResolved(m_path, platform::NativeFile::Access::Read) != 0)
            return 0;
        int64_t size = journal.Size();
        if (size < 0)
            return -Errno();
        bytes.resize(static_cast<size_t>(size));
        long n = journal.ReadAt(bytes.data(), bytes.size(), 0);
        bytes.resize(n < 0 ? 0 : static_cast<size_t>(n));
    }

    const char* head = bytes.data();
    bool valid = bytes.size() >= kHeadSize && std::memcmp(head, kMagic, sizeof kMagic) == 0 &&
                 Get<uint64_t>(head + 32) == Check(head, 32);
    platform::FileIdentity id = target.Identity();
    if (!valid || Get<uint64_t>(head + 8) != id.device || Get<uint64_t>(head + 16) != id.inode) {
        // Cut short before its first change, or left for a file that has
        // since been replaced: nothing of this file to undo.
        platform::RemoveResolved(m_path);
        return 0;
    }
    int64_t originalSize = Get<int64_t>(head + 24);

    std::vector<Entry> entries;
    size_t pos = kHeadSize;
    while (pos + kEntryHeadSize <= bytes.size()) {
        const char* e = bytes.data() + pos;
        int64_t offset = Get<int64_t>(e);
        uint32_t length = Get<uint32_t>(e + 8);
        if (length > bytes.size() - pos - kEntryHeadSize)
            break;
        uint64_t check = Check(e, 12);
        check = Check(e + kEntryHeadSize, length, check);
        if (check != Get<uint64_t>(e + 16) || offset < 0)
            break;  // the entry its writer was making when it died; no change followed it
        entries.push_back({offset, e + kEntryHeadSize, length});
        pos += kEntryHeadSize + length;
    }

    int64_t size = target.Size();
    if (size < 0)
        return -Errno();
    int changes = 0;
    // Newest first, so that bytes changed twice end as they were at the start.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->offset + static_cast<int64_t>(it->length) > size)
            continue;  // cut away since by the same writer
        errno = 0;
        if (target.WriteAt(it->data, it->length, it->offset) != static_cast<long>(it->length))
            return -Errno();
        ++changes;
    }
    if (size > originalSize) {
        if (int rc = target.Truncate(originalSize); rc != 0)
            return -rc;
        ++changes;
    }
    if (int rc = target.Sync(); rc != 0)
        return -rc;
    platform::RemoveResolved(m_path);
    return changes;
}
