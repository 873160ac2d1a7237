#pragma once
// The archive attribute of a file: the "written since last read" mark that a
// writer of an exchange file sets and the program importing it clears, so a
// file is taken in again only after it was rewritten. Linux has no such
// attribute; it is kept in the owner's execute bit, which is where Samba
// shares keep the attribute too, so Windows computers of the range see it.
#include <string>

namespace platform {

// Sets or clears the mark of a file (a system path); 0, or the system error.
int SetArchiveFlag(const std::string& systemPath, bool on);
// Whether the file carries the mark; false when it is missing.
bool HasArchiveFlag(const std::string& systemPath);

}  // namespace platform
