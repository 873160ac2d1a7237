#pragma once
// The system spells its files the Windows way: ".\Comp1\Card.BVD", in
// Windows-1252, and one file may be spelled "Comp.BVC", "Comp.Bvc" or
// "Comp.bvc" by different modules. Every path the core hands to the platform
// goes through NativePath, which finds the file on this machine.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

// The native (UTF-8, slash-separated) path of a system path:
// - backslashes become slashes; ".\" and a plain relative path are relative
//   to the working folder;
// - "X:\..." maps to the folder set for drive X (SetDriveRoot), or to the
//   root of this machine when none is set;
// - each component that exists under another letter case is taken as it is
//   found on disk; components that do not exist yet keep the caller's spelling,
//   so new files are created as the caller spells them.
std::string NativePath(std::string_view systemPath);

// Where a drive letter of a stored path points on this machine.
void SetDriveRoot(char drive, const std::string& nativeFolder);

// Joins a folder and a name with one backslash, as the system writes paths.
std::string JoinSystemPath(std::string_view folder, std::string_view name);

// A folder as the programs keep it, ending with its separator: "BV" is
// "BV\\", an empty folder the working folder ".\\".
std::string FolderWithSeparator(std::string_view folder);

// The last component of a path (after the last slash or backslash).
std::string_view BaseName(std::string_view path);

// A folder listed once for a pass that looks up and makes many files in it
// (the exchange folder: thousands of files, each written by name). While it
// lives, NativePath on this thread takes the letter case of that folder's
// entries from the listing instead of reading the folder again for every name
// that is not there yet. The listing is trusted only while the folder's
// modification time is the one it was listed at, or the one this thread's
// own changes (FileSystem.h's writers) left: a name missed after another
// program changed the folder costs one fresh listing, so a file it made
// meanwhile, in whatever case, is still found.
class KeptListing {
public:
    explicit KeptListing(const std::string& folderSystemPath);
    ~KeptListing();
    KeptListing(const KeptListing&) = delete;
    KeptListing& operator=(const KeptListing&) = delete;

    // The folder's native path, as NativePath resolves it.
    const std::string& NativeFolder() const { return m_native; }
    // The entry's name on disk (UTF-8) for a Windows-1252 name in any case;
    // empty when the folder has none.
    std::string Find(std::string_view name);
    // Whether the listing holds the name, without a look at the disk.
    bool Knows(std::string_view name) const;
    // Every entry: upper-case Windows-1252 name -> name on disk.
    const std::unordered_map<std::string, std::string>& Entries() const { return m_entries; }
    // A change this thread made: the entry (name on disk) and the folder's
    // time after it. fresh tells that the folder was as listed just before.
    void Added(std::string_view nameOnDisk, bool fresh);
    void Removed(std::string_view nameOnDisk, bool fresh);
    // True when the folder's time is still the one the listing knows.
    bool Fresh() const;
    // True once per listing: for the writers' clean-up of the folder, which
    // is needed once per pass, not once per file.
    bool TakeSweep();

    // This thread's listing of a native folder; null when there is none.
    static KeptListing* Of(std::string_view nativeFolder);
    static bool AnyOnThisThread();

private:
    void Load();
    void Restamp();

    std::string m_native;
    std::unordered_map<std::string, std::string> m_entries;
    int64_t m_stamp = -1;  // the folder's modification time in ns; -1 unknown
    bool m_swept = false;
    KeptListing* m_outer = nullptr;
};

// A change this thread makes to a folder it keeps a listing of: the listing
// learns the entry, and keeps trusting the folder's time when it was right
// just before the change. Made before the change, told after it.
class FolderChange {
public:
    explicit FolderChange(const std::string& nativePath);
    void Added() const;
    void Removed() const;

private:
    KeptListing* m_kept = nullptr;
    std::string m_name;
    bool m_fresh = false;
};

// How many times this process has read a folder's entries (tests and
// benchmarks count them).
long FolderListings();
void CountFolderListing();

// Case-insensitive comparison of two Windows-1252 names, as the file systems
// of the system's home treat them.
bool SameNameNoCase(std::string_view a, std::string_view b);

}  // namespace platform
