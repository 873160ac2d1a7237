#pragma once
// Writes zip archives: the backup of a competition packs its files under
// names relative to a base folder, and any unzip program reads them back.
//
// Entry names always use '/', and a name that could land outside the folder
// it is unpacked into is refused: a ".." component anywhere, an absolute name,
// a drive path that does not lie under the base folder, a name over 256
// characters. A file is read whole before its entry is opened, so a read
// error never leaves a truncated member. Appending adds members to the
// archive's own directory, so the old members stay listed.
#include <cstdint>
#include <string>

namespace results {

class CZip {
public:
    static constexpr size_t kMaxName = 256;

    CZip() = default;
    // baseFolder: null for the archive's own folder, "" for none.
    explicit CZip(const std::string& archivePath, const char* baseFolder = nullptr, bool append = false);
    virtual ~CZip();
    CZip(const CZip&) = delete;
    CZip& operator=(const CZip&) = delete;

    // Opens (append: adds to an existing archive; a missing one is created)
    // after closing any archive held. False without an archive.
    bool Open(const std::string& archivePath, const char* baseFolder = nullptr, bool append = false);
    // Adds one file (a system path, relative to the base folder unless it is
    // absolute); flat stores it under its own name alone. True when stored.
    bool AddFile(const std::string& path, bool flat = false);
    // True when no archive was open or it was closed without error.
    bool Close();

    bool IsOpen() const { return m_zip != nullptr; }
    const std::string& BaseFolder() const { return m_base; }
    int32_t FilesAdded() const { return m_filesAdded; }
    int32_t BytesRead() const { return m_bytesRead; }

    // The path the file is read from: the base folder put before a relative
    // path; an absolute path and an empty base folder leave it as it is.
    std::string MakeFullPath(const std::string& path) const;
    // The entry name a file is stored under, or "" when it is refused.
    std::string EntryName(const std::string& path, bool flat) const;

private:
    void* m_zip = nullptr;  // minizip's handle
    std::string m_base;     // ends in '\' when set
    int32_t m_filesAdded = 0;
    int32_t m_bytesRead = 0;
};

}  // namespace results
