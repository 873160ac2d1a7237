#pragma once
// Exchange files carried on a memory stick (or any folder) between a range
// control and a results office that are not connected: the files the name
// import reads are copied from the medium into the exchange folder, and the
// name and result files on the medium can be deleted. Which files the name
// import reads depends on the results program:
//
//   3, 4, 5           the column files <pp>-XX-s.<relay> and <pp>-~?.<relay>
//   0, 1, 2, 6, 7     result files <pp>R<relay><lane>.TXT, name files
//                     N<start number>.TXT and Sponsor.TXT
//
// Names are matched without regard to letter case.
#include <string>
#include <vector>

namespace MediaTransfer {

// The patterns of the files taken from the medium, in the order copied.
std::vector<std::string> NamePatterns(int resultsProgram, const std::string& prefix);
// The patterns of the files Delete removes: result files of the prefix and
// every name file.
std::vector<std::string> DeletePatterns(const std::string& prefix);

// Copies every file of the patterns from the medium into the exchange
// folder, replacing a file of that name there in one step; files that
// cannot be read or written are passed over. The names copied.
std::vector<std::string> CopyNames(const std::string& medium, const std::string& exchange, int resultsProgram,
                                   const std::string& prefix);
// Deletes the result and name files on the medium, passing over failures;
// the names deleted.
std::vector<std::string> DeleteFiles(const std::string& medium, const std::string& prefix);

// Whether two folders (system paths) are one folder on this machine.
bool SameFolder(const std::string& a, const std::string& b);

// A known results program (0..7); others are taken as 0 by the callers.
bool KnownResultsProgram(int resultsProgram);

}  // namespace MediaTransfer
