#pragma once
// The per-club files: the entry list and the settlement sheets written as
// one file per club, with a link page that leads to them all. Everything
// here is made in memory from the model's definitions; ClubFileWriter.h
// names and writes the files.
#include "results/print/ReportModel.h"

#include <string>
#include <vector>

namespace results {

// A club's file name (without extension) from its name: leading blanks
// dropped; blank and "/" become "_"; "." and "\" end the name; Å and å
// become "a", Æ and æ "e", Ø and ø "o"; every other byte stays.
std::string ClubFileName(const std::string& clubName);

// The names one run of club files hands out. A name that came out empty, or
// that is taken already (by an earlier club of the run or by one of the
// run's fixed files, whatever the letter case, as the file systems of the
// system's home compare names), gets "_" and the definition's number, so no
// club's file overwrites another's.
class ClubFileNames {
public:
    // Names the run's other files use (with extension): they are taken.
    void Reserve(const std::string& fileName);
    // The name of definition d's file, taken from now on.
    std::string Take(const std::string& baseName, const std::string& extension, int d);

private:
    bool Taken(const std::string& fileName) const;
    std::vector<std::string> m_taken;
};

// The club of definition `def`: for the entry list the club row (cell 1 of
// body row 2), otherwise title 2 of the page header, or title 1 when that
// is empty. Leading blanks are dropped.
std::string ClubNameOf(const ListDef& def, bool entryList);

// Both list kinds leave their first body rows out of the club files: the
// entry list's club heading and address (eight rows), which the file's
// own title and name tell.
int FirstClubFileRow(bool entryList);

// The link page's head and heading ("Linker til deltagerlister" for the
// entry list, "Linker til oppgjørsark" for the settlement); its links follow
// on one line, and the page gets no closing tags.
std::string LinkPageHead(bool entryList);
// One link of the link page: " <a href="./NAME.EXT">CLUB</a> ".
std::string LinkPageLink(const std::string& fileName, const std::string& clubName);

// A club's file, HTML or RTF, of one definition. title2 stands in for an
// empty title 2 in the HTML heading (the entry list's HTML form names its
// club in a row the club file leaves out).
std::string HtmlClubFile(const ListDef& def, bool header, int webFontSize, int firstRow,
                         const std::string& title2);
std::string RtfClubFile(ListDef& def, int firstRow);

// A file name as a relative URL path: its UTF-8 bytes, every one that is
// not unreserved percent-encoded.
std::string FileNameUrl(const std::string& fileName);

}  // namespace results
