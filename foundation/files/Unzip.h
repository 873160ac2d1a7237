#pragma once
// Unpacks zip archives: the software loader unpacks packages of target
// software into the program folder, the results program restores its backups.
//
// An archive comes from outside, so every entry is checked before anything is
// written: names that are absolute, carry a drive, step out with "..", hold
// control characters or are longer than a path may be are refused, as are
// two names of one file, and so is a whole archive by ExtractAll when any of
// its entries is. Each file is
// written under a temporary name beside its target and renamed when all of it
// was read and its CRC matched, so a failed entry leaves no half file behind
// and an existing file is either the old one or the new one.
#include <cstdint>
#include <string>
#include <string_view>

// What the archive says about its current entry.
struct ZipEntryInfo {
    std::string name;     // at most 259 characters, '/' turned into '\'; Windows-1252
    std::string comment;  // at most 254 characters
    uint32_t versionMadeBy = 0;
    uint32_t versionNeeded = 0;
    uint32_t flag = 0;
    uint32_t compressionMethod = 0;
    uint32_t dosDate = 0;  // DOS date in the high 16 bits, time in the low 16 bits
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    bool isFolder = false;  // bit 0x10 of the external attributes (or a name ending in '/')
};

class CUnzip {
public:
    // Longest entry name the archive may carry (and a path may have).
    static constexpr size_t kMaxName = 259;

    CUnzip() = default;
    explicit CUnzip(const std::string& archivePath) { Open(archivePath); }
    virtual ~CUnzip();
    CUnzip(const CUnzip&) = delete;
    CUnzip& operator=(const CUnzip&) = delete;

    // Opens an archive (a system path), closing any held before; positioned
    // on its first entry. The default folder becomes the archive's path
    // without its extension (.\Pakker\Prog.zip gives .\Pakker\Prog).
    bool Open(const std::string& archivePath);
    // True when the archive was closed cleanly (or none was open).
    bool Close();
    bool IsOpen() const { return m_zip != nullptr; }
    const std::string& DefaultFolder() const { return m_defaultFolder; }

    // Number of entries; 0 without an archive or on a damaged directory.
    int GetEntryCount();

    // To the first entry; with an extension (without the dot, any letter
    // case), to the first entry that has it.
    bool GotoFile(std::string_view extension = {});
    // To the next entry (with that extension); false at the end.
    bool FindNext(std::string_view extension = {});

    bool GetCurrentInfo(ZipEntryInfo& info);

    // Writes the current entry below the destination folder (the default
    // folder when empty), creating the folders it needs; with flat, a file
    // goes straight into the destination under its own name. True when the
    // entry was written completely with a matching CRC.
    bool ExtractCurrent(const std::string& destination = {}, bool flat = false);
    // Writes every entry; false for an archive without entries, for one
    // with an unsafe name anywhere (then nothing is written), and at the
    // first entry that fails (entries written before it stay).
    bool ExtractAll(const std::string& destination, bool flat = false);

    // Whether an entry name (separators '\' or '/') stays inside the folder
    // it is unpacked into.
    static bool IsSafeEntryName(std::string_view name);

    // Walks every entry, to be done before anything is written. Ok, or why
    // the archive must not be unpacked, with the entry (and for SameFile the
    // earlier entry it clashes with): a name that cannot be read whole, one
    // that leaves the folder, or two names of one file in another letter
    // case (the folders of the system's home do not tell them apart, so the
    // last would silently replace the first).
    enum class EntryCheck { Ok, Unreadable, Unsafe, SameFile };
    EntryCheck CheckEntries(std::string& name, std::string& earlier);

private:
    bool ReadCurrentInfo(ZipEntryInfo& info, bool& tooLong);
    bool CopyCurrentTo(const std::string& target, const ZipEntryInfo& info);

    void* m_zip = nullptr;  // the unzip library's handle
    std::string m_defaultFolder;
};

// Creates a folder and every missing folder above it (a system path); true
// when the path is a folder afterwards.
bool CreateFolderPath(const std::string& path);
// CreateFolderPath of the folder part of a file's path; false for a path
// without a folder part.
bool CreateParentFolders(const std::string& path);
// Sets a file's modification time from a DOS date and time, read as local time.
bool SetFileTimeFromDos(const std::string& path, uint32_t dosDateTime);
