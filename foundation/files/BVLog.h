#pragma once
// The diagnostic log of every program. Each class that can fail keeps its own
// CBVLog; all of them append to ".\BVLog.txt" in the working folder, one line
// per entry, so the entries of every program running from one folder
// interleave there, told apart by process id.
//
// Levels: 90 errors, 80 warnings and notable events, 70 version mismatches,
// 50, 20 cache reloads, 10 and 0 tracing. The threshold comes from
// ".\BVLog.ini" [BVLog] Level (default 80), as the file stands when the log is
// made; the program reads the file again only when it changed.
#include <cstdarg>

class CBVLog {
public:
    CBVLog();
    virtual ~CBVLog() = default;

    // Formats and appends one entry when level >= threshold. Never fails
    // towards the caller: an entry that cannot be written is lost.
    void Write(const char* sourcePath, int line, int level, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    void WriteV(const char* sourcePath, int line, int level, const char* format, va_list args);

    // As Write, with the text formatted first (at most 199 characters) and
    // then written unchanged as the entry's text.
    void WriteF(const char* sourcePath, int line, int level, const char* format, ...)
        __attribute__((format(printf, 5, 6)));

    bool IsOn(int level) const { return static_cast<short>(level) >= m_threshold; }
    short Threshold() const { return m_threshold; }

private:
    void Append(const char* sourcePath, int line, int level, const char* text);

    short m_threshold;
};

// The log of code that has no object of its own.
CBVLog& ProgramLog();

// Writes an entry naming this source file and line.
#define BV_LOG(log, level, ...) (log).Write(__FILE__, __LINE__, (level), __VA_ARGS__)
