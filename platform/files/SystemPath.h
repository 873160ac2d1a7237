#pragma once
// The system spells its files the Windows way: ".\Comp1\Card.BVD", in
// Windows-1252, and one file may be spelled "Comp.BVC", "Comp.Bvc" or
// "Comp.bvc" by different modules. Every path the core hands to the platform
// goes through NativePath, which finds the file on this machine.
#include <string>
#include <string_view>

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

// Case-insensitive comparison of two Windows-1252 names, as the file systems
// of the system's home treat them.
bool SameNameNoCase(std::string_view a, std::string_view b);

}  // namespace platform
