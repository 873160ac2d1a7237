#pragma once
// The web folders of BVRes and the names in them, how a page is written
// there, and the fingerprints the upload tells files apart by.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace results {

class CDataList;

// The slide show (AWeb) and the framed site (PWeb), each with its data folder.
inline const std::string kAWebFolder = ".\\AWeb\\";
inline const std::string kAWebDataFolder = ".\\AWeb\\data\\";
inline const std::string kPWebFolder = ".\\PWeb\\";
inline const std::string kPWebDataFolder = ".\\PWeb\\data\\";
// The framed site's start file, the one file of the site outside its data folder.
inline const std::string kStartFrameName = "StartFrame.htm";

// The title line every fixed page carries.
std::string WebTitleLine();
// Writes a page whole (the web folders are served while they are written)
// and tells the list object's onPageWritten; a failure is reported with
// `failure`, or the web's write error when null. True when written.
bool WriteWebFile(CDataList& list, const std::string& path, const std::string& bytes, const char* failure);
// A page that says a list is empty. False when it cannot be written.
bool WriteEmptyPage(CDataList& list, const std::string& path, const std::string& title, const std::string& message);

// What the upload remembers of a file it sent: the 8-bit sum the pages were
// once told apart by, and the size and SHA-256 that really tell them apart.
struct UploadMark {
    uint8_t checksum = 0;
    int64_t size = -1;
    std::array<uint8_t, 32> digest{};
    bool operator==(const UploadMark&) const = default;
};

// The 8-bit sum of a file's bytes by the old rule: in blocks of 200 bytes,
// byte i of a block weighs i. 0 when the file cannot be read.
uint8_t FileChecksum(const std::string& path);
// The sum, size and SHA-256 of a file; false when it cannot be read.
bool UploadMarkOf(const std::string& path, UploadMark& mark);

// What one upload run of the framed site did.
struct WebUploadOutcome {
    bool noServer = false;   // none configured: nothing was done
    bool connected = false;
    bool completed = false;  // went through to the last file
    int sent = 0;
    int failed = 0;
    bool Failed() const { return !noServer && (!connected || !completed || failed > 0); }
};

// The web pages' upload table: per file name, what was last sent. The
// data files come in the order they were first sent; names are told apart
// by case, as the server's files are. It grows with the site and is never
// saved.
class UploadTable {
public:
    // Whether the named data file differs from what was last sent of it (a
    // file never sent differs). Asking records nothing.
    bool IsChanged(const std::string& name, const UploadMark& mark) const;
    // Records what was sent of a data file; false for an empty name.
    bool Record(const std::string& name, const UploadMark& mark);
    // The same for the site's start file.
    bool StartChanged(const UploadMark& mark) const { return !(m_startSent && m_start == mark); }
    void RecordStart(const UploadMark& mark)
    {
        m_start = mark;
        m_startSent = true;
    }

private:
    struct Entry {
        std::string name;
        UploadMark mark;
    };
    bool m_startSent = false;
    UploadMark m_start;
    std::vector<Entry> m_files;
};

}  // namespace results
