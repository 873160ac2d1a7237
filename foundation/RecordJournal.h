#pragma once
// The undo journal of one record file.
//
// A record is overwritten in place, and a program can die half-way through
// (killed, crashed, power switch of a range computer). So before a writer
// changes bytes of the file, it saves them as they are into a side file
// "<file>.undo", together with the file's length before the first change.
// When the writer has flushed its changes and releases the lock, the side
// file goes. A side file that is still there when the lock is next taken was
// left by a writer that died in the middle: its saved bytes put the file back
// as it was before that writer began, so every record holds either its old
// or its new contents, never half of each.
//
// The journal is touched only by the holder of the record file's lock.
#include "platform/NativeFile.h"

#include <cstdint>
#include <string>
#include <vector>

class CRecordJournal {
public:
    // The journal of the record file at this path, as NativePath resolved it
    // for an existing file: every program that opens the file, however it
    // spells the name, finds the same journal, and looking for a journal that
    // is not there costs one system call.
    void SetResolvedPath(const std::string& recordFileNativePath);
    const std::string& Path() const { return m_path; }
    bool Exists() const;

    bool Active() const { return m_file.IsOpen(); }

    // Starts the journal of one lock hold: the file's identity and length.
    // 0, or the system error (EEXIST when an old journal was not undone).
    int Begin(const platform::NativeFile& target);
    // Saves the bytes [offset, offset + length) as they are now, starting the
    // journal when needed. Bytes beyond the length at the start need no
    // saving: undoing cuts the file back to that length. 0 or the system error.
    int Save(const platform::NativeFile& target, int64_t offset, size_t length);
    // The last bytes Save read, for putting them back after a failed write.
    const std::vector<char>& LastSaved() const { return m_lastSaved; }

    // The changes have reached the disk: the journal is removed.
    int Commit();
    // Closes the journal and leaves it on disk, so that the next holder of the
    // lock undoes changes that may not have reached the disk.
    void Abandon();

    // Undoes the changes of a writer that died. Call with the lock held on a
    // handle that may write. Returns the number of changes undone (0 when
    // there was no journal, or one for another file or one that never got
    // further than its start), or a negative system error; the journal is
    // removed once the file is back as it was.
    int Recover(platform::NativeFile& target);

private:
    std::string m_path;
    platform::NativeFile m_file;
    int64_t m_end = 0;
    int64_t m_originalSize = 0;
    std::vector<char> m_lastSaved;
};
