#pragma once
// Files and folders by system path (see SystemPath.h): existence, folders,
// removal, atomic replacement, times, listing and temporary names.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Clock.h"

namespace platform {

bool FileExists(const std::string& systemPath);    // a file (not a folder)
bool FolderExists(const std::string& systemPath);
int64_t FileSize(const std::string& systemPath);     // -1 when missing
// 0 when a file is there, ENOENT when nothing is, EISDIR for a folder, else
// the system error that hides the answer (EACCES and the like).
int FileStatus(const std::string& systemPath);

// Creates one folder; 0 when made or already there, else the system error.
int CreateFolder(const std::string& systemPath);
// Creates the folder and every missing folder above it.
int CreateFolders(const std::string& systemPath);

int RemoveFile(const std::string& systemPath);       // 0, or the system error
int RemoveResolved(const std::string& nativePath);   // a path NativePath gave
// Moves from over to in one step: a reader sees either the old or the new file.
int ReplaceFile(const std::string& fromSystemPath, const std::string& toSystemPath);
// Copies a file byte for byte (creating or truncating the target), durably.
int CopyFile(const std::string& fromSystemPath, const std::string& toSystemPath);
// Grows with every file this process removed, replaced or copied over:
// holders of open files look at the files' names again when it moved.
long FileReplacements();

// Writes bytes to a new file beside the target, flushes it and renames it over
// the target, so a crash or a full disk never leaves half a file. 0 or the
// system error; on failure the target is as it was. The new file
// ("~bvwXXXX.TMP") is held locked while it is written; one that a writer left
// behind when it died is removed by the next writer of the folder.
int WriteFileAtomically(const std::string& systemPath, std::string_view bytes);
// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& systemPath, std::string& bytes);
// Reads a whole file that holds at most maxBytes, its size taken from the
// open file before anything is read, so a huge file costs no memory. 0; EFBIG
// when it holds more (bytes empty, *size tells how much); else the open's or
// read's error (ENOENT, EISDIR, kNotRegularFile, ...). A file that grows
// while read yields what it held when opened.
int ReadFileUpTo(const std::string& systemPath, std::string& bytes, int64_t maxBytes, int64_t* size = nullptr);

// Removes the temporary files ("~bvw*.TMP") that atomic writers of the
// folder left when they died: a file no writer holds locked and older than
// a writer needs between making its file and locking it. A living writer's
// file, in this process or another one, stays. The number removed.
int RemoveAbandonedWriterTemps(const std::string& folderSystemPath);

// Flushes a folder's entries (after a create or rename that must survive).
int SyncFolder(const std::string& systemPath);

// Creates a new file holding bytes in one step: other programs see either no
// file or the whole of it, never an empty or half-written one. EEXIST, with
// nothing changed, when a file of that name is already there (whatever its
// letter case); else 0 or the system error.
int CreateFileAtomically(const std::string& systemPath, std::string_view bytes);

// True when a new file can be made in the folder. Leaves nothing behind, and
// never touches a file that happens to be there.
bool CanCreateFileIn(const std::string& folderSystemPath);

// Bytes per sector of the disk that holds the path (an existing file or
// folder), or 512 when the system does not tell or tells something outside
// 8..8192.
int SectorSize(const std::string& systemPath);

// Last write time of a file in local time; false when missing.
bool GetModifiedTime(const std::string& systemPath, LocalTime& out);
int SetModifiedTime(const std::string& systemPath, const LocalTime& local);

// Names (not paths) of the entries of a folder that match a pattern with '*'
// and '?', without regard to letter case, in Windows-1252 and sorted.
std::vector<std::string> FindFiles(const std::string& folderSystemPath, std::string_view pattern,
                                   bool foldersToo = false);
bool MatchesPattern(std::string_view name, std::string_view pattern);

// A new empty file with a unique name "<prefix>XXXX.TMP" in the folder; its
// system path, or empty on failure.
std::string MakeTempFile(const std::string& folderSystemPath, std::string_view prefix);

// The folder part of a system path, without the last separator ("" for none).
std::string FolderOf(std::string_view systemPath);

}  // namespace platform
