#pragma once
// A subcommand of bvtool. Each one registers itself from its own file:
//
//   static const bool registered = bvtool::Register({"dump", "dump FILE", "...", &RunDump});
//
// Arguments and output are UTF-8; texts stored in the system's files are
// Windows-1252 and are converted on the way in and out.
#include <string>
#include <vector>

namespace bvtool {

using Args = std::vector<std::string>;

struct Command {
    const char* name;      // first word on the command line
    const char* usage;     // one or more lines, each a full call
    const char* summary;   // what it does, one line
    int (*run)(const Args& args);  // args after the name; returns the exit status
};

bool Register(const Command& command);
// The registered command of that name; null when there is none.
const Command* FindCommand(const std::string& name);

// Writes "bvtool: <message>" on standard error and returns 1, so that a
// command can end with `return Fail("...")`.
int Fail(const std::string& message);

// Text conversions between the command line (UTF-8) and the files (1252).
std::string ToFile(const std::string& utf8);
std::string ToScreen(const std::string& cp1252);

// Parses a whole decimal number; false when the text is not one.
bool ParseInt(const std::string& text, long& value);

// Starts Qt on the off-screen platform for the commands that draw or measure
// with the window kit's fonts; only Qt's failures reach standard error. True
// when this call started it, false when it was running already.
bool StartQt();

}  // namespace bvtool
