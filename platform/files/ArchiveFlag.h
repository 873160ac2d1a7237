#pragma once
// The archive attribute of a file: the "written since last read" mark that a
// writer of an exchange file sets and the program importing it clears, so a
// file is taken in again only after it was rewritten.
//
// Linux has no such attribute. It is kept as the user extended attribute
// "user.bv.archive" on file systems that have extended attributes; where they
// have none (some network and removable-media mounts), as an empty marker
// file beside it named "." + the file's name + ".archive". Readers look at
// both, so machines that reach one folder through different mounts agree.
#include "platform/files/NativeFile.h"

#include <string>

namespace platform {

// Sets or clears the mark of a file (a system path); 0, or the system error
// (ENOENT when the file is missing).
int SetArchiveFlag(const std::string& systemPath, bool on);
// Whether the file carries the mark; false when it is missing.
bool HasArchiveFlag(const std::string& systemPath);
// Clears the mark and tells whether it was set, in one step: of two programs
// testing the same file at once, only one sees it set.
bool TestAndClearArchiveFlag(const std::string& systemPath);
// The same for a path NativePath has already resolved: an importer that
// listed its folder looks at thousands of files without a second search.
bool TestAndClearArchiveFlagResolved(const std::string& nativePath);

// For an importer that clears the mark only once what it read is stored (a
// file read twice is harmless, one never read is lost): whether a resolved
// path is marked, and the clearing of the mark of the very file that was
// read. When another file has been put in its place meanwhile, that one
// keeps its own mark. 0, or the system error.
bool HasArchiveFlagResolved(const std::string& nativePath);
int ClearArchiveFlagOf(const std::string& nativePath, const FileIdentity& read);

// Where the mark goes: Auto uses the extended attribute when the file system
// takes it; MarkerFile always uses the marker file, as on a file system
// without extended attributes (tests).
enum class ArchiveStore { Auto, MarkerFile };
void SetArchiveStore(ArchiveStore store);

}  // namespace platform
