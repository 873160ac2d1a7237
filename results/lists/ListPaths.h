#pragma once
// Where the list object's files go. Every folder of a competition's lists
// and pages is named here, and a name the user typed for a list file is
// taken only when it is a plain file name.
#include <string>
#include <string_view>

namespace results {

enum class ListFileFormat { Rtf, Html, Text };

// ".\Comp<n>\Print", the list files of competition n.
std::string PrintFolder(int competition);

// True for a name that stays in the folder it is put in: not empty, no
// path separator, no drive, no "..".
bool IsPlainFileName(std::string_view name);

// ".\Comp<n>\Print\<name>.rtf" (".htm", ".txt") for the name the user
// typed, with the Print folder made when it is missing. False, with nothing
// made, for a name that is not a plain file name.
bool ListFilePath(int competition, const std::string& typedName, ListFileFormat format, std::string& path);

}  // namespace results
