#pragma once
// The undo journal of one record file.
//
// A record is overwritten in place, and a program can die half-way through
// (killed, crashed). So before a writer changes bytes of the file, it saves
// them as they are into a side file "<file>.undo", together with the file's
// length before the first change. When the writer has flushed its changes and
// releases the lock, it marks the journal done. A journal still pending when
// the lock is next taken (or the file next opened) was left by a writer that
// died in the middle: its saved bytes put the file back as it was before that
// writer began, so every record holds either its old or its new contents,
// never half of each.
//
// Once the file's changes are on the disk the journal is zeroed over what
// the hold wrote into it, and that is not flushed itself: a power cut that
// loses it makes the next holder put the old contents back, which leaves
// every record whole (old or new) at the cost of one flush less per write. A
// range control asks its units again for a shot it no longer finds. Zeroed,
// the journal keeps no old record behind the change: the old FTP password of
// the user settings, say.
//
// The side file stays once made and is only overwritten, in place: making
// and removing a file for every write, or cutting it short, would cost the
// disk more than the write itself.
//
// Each lock hold starts the journal afresh with a number of its own that
// every entry carries, so entries of an earlier hold are never taken for
// this one's. The journal is touched only by the holder of the file's lock.
#include "platform/files/NativeFile.h"

#include <cstdint>
#include <string>
#include <vector>

class CRecordJournal {
public:
    // The journal of the record file at this path, as NativePath resolved it
    // for an existing file: every program that opens the file, however it
    // spells the name, finds the same journal, and looking for a journal
    // costs no search of the folder.
    void SetResolvedPath(const std::string& recordFileNativePath);
    const std::string& Path() const { return m_path; }

    // True while this object has changes under way (between Begin and
    // Commit or Abandon).
    bool Active() const { return m_file.IsOpen(); }
    // True when the journal on disk holds changes that were never finished.
    bool Pending() const;
    static bool PendingAt(const std::string& journalNativePath);

    // Starts the journal of one lock hold: the file's identity and length.
    // 0, or the system error.
    int Begin(const platform::NativeFile& target);
    // Saves the bytes [offset, offset + length) as they are now, starting the
    // journal when needed. Bytes beyond the length at the start need no
    // saving: undoing cuts the file back to that length. A caller that read
    // those very bytes under its lock hands them over (current), and they are
    // not read again. 0 or the system error.
    int Save(const platform::NativeFile& target, int64_t offset, size_t length, const char* current = nullptr);
    // The last bytes Save read, for putting them back after a failed write.
    const std::vector<char>& LastSaved() const { return m_lastSaved; }
    // Puts what Save wrote on the disk, for a change that a power cut could
    // tear: one the disk writes as several sectors. 0, or the system error.
    int MakeDurable();

    // The changes have reached the disk: the journal is zeroed, which marks
    // it done.
    int Commit();
    // Closes the journal and leaves it pending, so that the next holder of
    // the lock undoes changes that may not have reached the disk.
    void Abandon();

    // Undoes the changes of a writer that died. Call with the lock held on a
    // handle that may write. Returns the number of changes undone (0 when
    // nothing was pending, or the journal belongs to a file since replaced,
    // or never got further than its start), or a negative system error; the
    // journal is zeroed once the file is back as it was.
    int Recover(platform::NativeFile& target);

private:
    std::string m_path;
    platform::NativeFile m_file;
    int64_t m_end = 0;
    int64_t m_originalSize = 0;
    uint64_t m_nonce = 0;
    bool m_unflushed = false; // written since the last flush
    std::vector<char> m_lastSaved;
};
