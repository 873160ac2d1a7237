#pragma once
// What is wrong with a record file that the programs cannot read, named for
// a log line or a box ("Card.BVD: wrong record size 50"): missing,
// truncated, unreadable, a newer or older version, or a wrong record size.
#include <cstdint>
#include <string>

struct RecordLayout {
    const char* name;
    int16_t size;
    int16_t version;
    int16_t oldestConverted;  // the oldest version opening for writing converts; 0 none
};

// The fault of the record file at path, or an empty text when it reads. With
// writing, the older versions that opening for writing converts read.
std::string RecordFileFault(const std::string& path, const RecordLayout& layout, bool writing);

// The fault of a configuration file (BVLeder.bvc, Program.BVC, Comp.BVC).
std::string ConfigFileFault(const std::string& path);

// The first file of competition comp in the range folder that the programs
// could not read, named with its fault; empty when every file reads. With
// madeWhenMissing, a missing file is no fault: the range control makes it.
std::string CompetitionFault(const std::string& rangeFolder, int comp, bool writing, bool madeWhenMissing = false);
