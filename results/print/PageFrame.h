#pragma once
// The page frame every printed list of BVRes shares: the margins of
// .\BVRes.ini, a page header of competition, organiser, date and the list's
// two titles (with, for a table of results, a line of framed column
// captions), and a page footer of the two sponsor lines, the print time and
// the maker's web address.
//
// A producer gives each definition its frame in this order: ReadMargins,
// SetupHeader, SetupFooter, SetupBody; then changes what its list needs
// (columns, lines, fonts); then BuildPageHeader fills in the texts; then it
// adds its rows (Report.h).
#include <string>
#include <vector>

namespace results {

class CCompetition;
class CReport;
struct ListDef;

class CPageFrame {
public:
    // The page margins of every list, millimetres, 0 when missing; read
    // anew every time, so a changed ini file counts from the next list.
    static constexpr const char* kIniFile = ".\\BVRes.ini";
    static void ReadMargins(CReport& report);

    // captions: 0 (a three-line header) or 7 and more (five lines, the last
    // the caption line); 7 and 9 captions have a layout of their own, other
    // counts are laid out by their producer.
    static void SetupHeader(ListDef& def, int captions);
    static void SetupFooter(ListDef& def);
    // columns alike, of the list's font size; at least one.
    static void SetupBody(ListDef& def, int columns, int pointSize);

    explicit CPageFrame(CCompetition& competition) : m_comp(competition) {}

    // Adds header row 1 and footer row 1 of definition d with the texts of
    // the competition's settings.
    void BuildPageHeader(CReport& report, const std::string& title1, const std::string& title2, int d, int captions);

    // The caption texts of cells 7 on for the competition's rules: they name
    // the result table's columns in English (organisation type 6) or
    // Norwegian (type 2); empty for the other types.
    static std::vector<std::string> CaptionTexts(int orgType, int represent, int captions);
    // The footer's print time, "%H:%M - %d.%m", from the program's clock.
    static std::string PrintTime();

private:
    CCompetition& m_comp;
};

}  // namespace results
