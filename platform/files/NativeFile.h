#pragma once
// One open file of the system, with the operations the record files, logs and
// exchange files need: positioned transfers, size, cut, durable flush and
// byte-range locks. Paths are system paths (see SystemPath.h).
//
// Locks are open-file-description locks: a lock belongs to this open file
// alone, excludes every other open of the same file (another object in this
// process, another thread, another process), and stays when some other
// descriptor of the file is closed. That is how the system's range locks have
// always behaved; classic POSIX record locks would not.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// What an open gives for a name that is a FIFO, a device or a socket: such a
// name in a shared folder (anyone can make one there) must never hold a
// program in open() or read() waiting for a writer that never comes.
inline constexpr int kNotRegularFile = ENXIO;

struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

class NativeFile {
public:
    enum class Access { Read, ReadWrite };

    NativeFile() = default;
    ~NativeFile();
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // Opens an existing file. 0, or the system error (ENOENT when missing,
    // EISDIR for a folder, kNotRegularFile for anything else that is no
    // plain file).
    int OpenExisting(const std::string& systemPath, Access access);
    // Creates a new file, failing with EEXIST when one is already there, so a
    // file another program has just made is never truncated.
    int CreateExclusive(const std::string& systemPath);
    // Opens the file for appending-style writes, creating it when missing and
    // never truncating it; refuses what is no plain file as OpenExisting does.
    int OpenOrCreate(const std::string& systemPath);
    // As OpenExisting and CreateExclusive for a path that NativePath has
    // already resolved: no second search for letter case, for side files
    // that are looked for often and are mostly not there.
    int OpenExistingResolved(const std::string& nativePath, Access access);
    int CreateExclusiveResolved(const std::string& nativePath);

    bool IsOpen() const { return m_fd >= 0; }
    int Close();  // 0 or the system error
    int Descriptor() const { return m_fd; }

    // Whole transfers: the number of bytes moved, which is less than asked
    // only at the end of the file (reads) or on an error (then errno is set).
    long ReadAt(void* buffer, size_t length, int64_t offset) const;
    long WriteAt(const void* buffer, size_t length, int64_t offset);

    int64_t Size() const;  // -1 when it cannot be read (errno set)
    int Truncate(int64_t length);
    int Sync();  // data (and the size when it changed) reach the disk
    // Power-cut tests see what each flush made durable: called after every
    // successful Sync. Null in the programs.
    static void (*s_syncHook)(const NativeFile& file);

    // Exclusive lock of [offset, offset+length) without waiting. 0, or EAGAIN
    // when another open file holds it, or another system error.
    int TryLock(int64_t offset, int64_t length);
    int Unlock(int64_t offset, int64_t length);

    FileIdentity Identity() const;

private:
    // Opens without waiting and keeps the descriptor only for a plain file.
    int OpenPlain(const std::string& nativePath, int flags);
    // Sets or clears a lock of a range (F_WRLCK, F_RDLCK, F_UNLCK) without
    // waiting: 0 or the system error.
    int SetRangeLock(short type, int64_t offset, int64_t length);
    friend int TryLockShared(NativeFile& file, int64_t offset, int64_t length);

    int m_fd = -1;
};

// Identity of the file a path names now; a zero identity when missing.
FileIdentity IdentityOf(const std::string& systemPath);
FileIdentity IdentityOfResolved(const std::string& nativePath);

}  // namespace platform
