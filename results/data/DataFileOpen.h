#pragma once
// Every data file of the results program opens the same way: a file of the
// current layout opens as it is; an older one is converted (its records kept,
// padded with zeros, the old file kept in .\Common) and fixed up by its
// class, and opens on the next call; a newer one is left untouched and
// reported, since this program would damage what it does not know; a file
// that is missing is made anew. A file that is there but cannot be read
// (cut short, a header no program writes, a record cut off at the end) is
// named with its fault and left exactly as it is: making it anew or
// writing into it would lose what a repair could still save.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"

#include <cstdint>
#include <functional>
#include <string>

namespace results {

// What OpenDataFile did.
enum class OpenOutcome {
    Opened,     // the file is open in the current layout
    Converted,  // an older file was converted and is closed again; open it once more
    Newer,      // a newer program's file: untouched, not open, the handler was told
    Failed,     // neither opened nor made; a damaged file was reported
};

struct DataFileLayout {
    int16_t recordSize;
    int16_t version;
    // Older versions are converted; without this, any other version stops.
    bool convertsOlder;
    // "File version is newer than program" names the path in its log line.
    bool logsPath;
};

// The open options of every data file of the program: read and write, kept
// open between operations, cached.
inline constexpr uint8_t kDataFileOptions =
    CBVFileEx::kUpdated | CBVFileEx::kWritable | CBVFileEx::kKeepOpen | CBVFileEx::kCached;

// Where converted files leave their old copy.
inline constexpr const char* kCommonFolder = ".\\Common";

// Opens the file in the layout; fixUp runs on the open file right after a
// conversion, before it is closed again.
OpenOutcome OpenDataFile(CBVFileEx& file, const std::string& path, const DataFileLayout& layout,
                         const std::function<void(CBVFileEx&)>& fixUp = {});

// The program's answer to a file of a newer version (the screens show message
// 12002 and end the program; bvtool prints it and exits 1). The library
// itself never ends the process. Null restores the default, which does
// nothing beyond the log line.
using NewerVersionHandler = std::function<void(const std::string& path)>;
void SetNewerVersionHandler(NewerVersionHandler handler);

// What keeps an existing file in this layout from being read: "truncated (no
// whole header)", "damaged header (version 0, record size 12)", "wrong
// record size 40", "older version 2" (when older versions are not
// converted), "newer version 3", "truncated (last record 14 of 36 bytes)".
// Empty when it reads, is converted on opening, or is missing.
std::string DataFileFault(const std::string& path, const DataFileLayout& layout);
// The same for a configuration file (.bvc).
std::string SettingsFileFault(const std::string& path);

// The program's answer to a damaged file (the screens show the file and its
// fault; bvtool prints them and exits 1, or goes on where it runs the
// worker). The library logs the file and its fault once, until the file
// reads again or its fault changes, and calls the handler every time; null
// restores the default, which does nothing beyond the log line.
using DamagedFileHandler = std::function<void(const std::string& path, const std::string& fault)>;
void SetDamagedFileHandler(DamagedFileHandler handler);

// Opens a configuration file writable, making it when missing; a newer or
// a damaged one is reported as above and left closed, so that nothing is
// written into it. Whether it is open.
bool OpenSettingsFile(CBVConfig& settings, const std::string& path);

}  // namespace results
