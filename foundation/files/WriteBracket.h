#pragma once
// A writer's bracket on a record file for a read-modify-write: the file
// opened (CheckOpen) and its writers' lock taken when the bracket is made,
// and the bracket ended (CheckClose) when it goes, so that no way out of a
// writer leaves the file open and locked for the other programs.
#include "foundation/files/BVFileEx.h"

class CWriteBracket {
public:
    explicit CWriteBracket(CBVFileEx& file) : m_file(file)
    {
        m_held = file.CheckOpen() == 0;
        if (m_held && file.Lock() != 0) {
            file.CheckClose(0);
            m_held = false;
        }
    }
    ~CWriteBracket() { Finish(); }
    CWriteBracket(const CWriteBracket&) = delete;
    CWriteBracket& operator=(const CWriteBracket&) = delete;

    // Open and locked: the writer may go on.
    bool Held() const { return m_held; }
    // Ends the bracket before the object goes: 0 when the bracket's writes
    // reached the disk, -1 when they did not or the bracket was never held.
    int Finish()
    {
        if (!m_held)
            return -1;
        m_held = false;
        return m_file.CheckClose(0) == 0 ? 0 : -1;
    }

private:
    CBVFileEx& m_file;
    bool m_held = false;
};
