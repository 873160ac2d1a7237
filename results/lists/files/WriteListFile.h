#pragma once
// The list file of the list object's report as it stands, in the format
// the request's file options ask for: an HTML page (HTML option, the web's
// font size), a text file (textFile) or an RTF document (compact as the
// options say). Written whole with platform::WriteFileAtomically: a reader
// never finds half a list, and a file that cannot be written leaves the one
// before it in place.
#include <string>

namespace results {

class CDataList;

std::string ListFileBytes(CDataList& list, bool textFile, bool header, bool footer, bool pressList);
// Writes the file, then empties the report. 0; or -1 when the file cannot
// be written, which is reported and leaves the report as it is.
int WriteListFile(CDataList& list, bool textFile, bool header, bool footer, const std::string& path, bool pressList);

}  // namespace results
