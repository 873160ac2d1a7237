#pragma once
// One shooting program carried to another range in a text file: Export
// writes the program into the ini file (the file then holds only it), Import
// makes it a new program of the editor's organisation filter and empties the
// file, so the same program is not taken in twice.
//
//   [Prog]       Name, Size, Command, Equipment, SubCount, ClassCount, SerieCount
//   [SubSum<k>]  Name, Def        (Def: "1 0 1 " - membership of series 1, 2, 3)
//   [Class<c>]   Name, Def        (Def: the class value of each series)
//   [Serie<s>]   Name, Shots, Mark, Exch, and for turning targets
//                Timer (empty: none), Delay, Green, Red, Rep, Target
//
// What a file says is taken within the editor's limits: 28 series, 10
// sub-sums, 20 classes, values 0..1 and 0..7.
#include <string>

class CProgramStore;

namespace ProgramExchange {

// The file beside the program files.
inline constexpr const char* kFileName = "ProgExport.ini";

// Writes program n into the file, replacing what it held; 0, or -1 when the
// file could not be written.
int Export(CProgramStore& store, int n, const std::string& path);

// The name of the program the file holds; empty when it holds none.
std::string ProgramName(const std::string& path);

enum ImportResult : int {
    kNoProgram = -1,  // the file holds no program
    kFull = -2,       // the filter's program file has no free slot
};
// Makes the file's program a new program of the filter and empties the
// file; the new program's number, or one of the results above (the file is
// then left as it was).
int Import(CProgramStore& store, int filter, const std::string& path);

}  // namespace ProgramExchange
