#pragma once
// The shooting programs of a range folder: programs 1 to 100 in
// "<base>Program.BVC", 101 to 200 in "<base>Program2.BVC" (index n - 100),
// both configuration files (CBVConfig). A program says how many series a
// competition has and how many shots each, how series are named and laid out
// on cards, which classes and sub-sums exist and which series count for
// each, and for turning targets how each series is timed. The range control,
// display, remote and results programs all read them; only the program
// editor writes.
//
// Program number 0 in any call means the store's current program. No call
// fails towards the caller: a file that is not open gives the "not open"
// value of each getter, a missing item its default.
//
// Class and sub-sum definitions ("Def" texts) are 20 characters, one per
// series: the character at position p (1..20, so index p - 1) holds the value
// for series p plus 32, a blank being 0.
#include <string>

#include "foundation/files/BVConfig.h"

// Where a program's items lie in its file: a section and a key, the index
// being the program's number within its file (1..100). Tests and tools that
// lay out programs use these names too.
namespace ProgramItems {

// Sections of a program's items (index = the program's number in its file).
inline constexpr int kProgramSection = 29;   // keys below
inline constexpr int kKeyEquipment = 1;
inline constexpr int kKeyName = 500;
inline constexpr int kKeyCommand = 520;
inline constexpr int kKeySlotsUsed = 530;     // index 1 only: slots used in the file
inline constexpr int kKeySerieCount = 531;
inline constexpr int kKeyClassCount = 532;
inline constexpr int kKeySubCount = 533;
inline constexpr int kKeySize = 550;
inline constexpr int kKeyOrganisation = 690;
// Per series s, key s + 1:
inline constexpr int kSerieName = 8;
inline constexpr int kSerieExch = 12;
inline constexpr int kSerieShots = 25;
inline constexpr int kSerieTiming = 26;
inline constexpr int kSerieMark = 28;
inline constexpr int kSerieTarget = 33;
// Per class c and sub-sum k, key c + 1 and k + 1:
inline constexpr int kClassName = 6;
inline constexpr int kClassDef = 500;
inline constexpr int kSubSumName = 9;
inline constexpr int kSubSumDef = 34;

}  // namespace ProgramItems

class CProgramStore {
public:
    static constexpr int kProgramsPerFile = 100;
    static constexpr int kMaxProgram = 200;
    static constexpr int kMaxSeries = 28;
    static constexpr int kDefLength = 20;
    static constexpr int kDefaultSize = 10;
    static constexpr int kNameSize = CBVConfig::kValueSize;

    // The timing of a series on a turning-target range.
    struct SerieTiming {
        bool noTimer = false;  // the series runs without the timer
        int timer = 0;         // series time in seconds
        int delay = 0;
        int green = 0;
        int red = 0;
        int rep = 0;
    };

    CProgramStore() = default;
    virtual ~CProgramStore() = default;
    CProgramStore(const CProgramStore&) = delete;
    CProgramStore& operator=(const CProgramStore&) = delete;

    // The folder of the two files; an empty text is ".\", a missing trailing
    // backslash is added. Takes effect at the next OpenFiles.
    void SetBasePath(const std::string& folder);
    const std::string& GetBasePath() const { return m_base; }
    // Opens both files on first use, or again when forced; they are created
    // only after AllowCreate.
    void OpenFiles(bool force = false);
    // The program editor may create the files.
    void AllowCreate() { m_create = true; }
    // 1 when a file changed since the last look (Program.BVC's answer, or
    // Program2.BVC's when only that one changed), 0, or negative on failure.
    int Refresh();

    void SetCurrentProgram(int n) { m_current = n; }
    int GetCurrentProgram() const { return m_current; }

    // which != 0: the slots used in Program.BVC; which == 0: 100 + the slots
    // used in Program2.BVC. 0 when that file is not open.
    int GetProgCount(int which);
    int GetOrganisation(int n);
    // The name (at most 31 characters) in the buffer (the store's own when
    // null); "Prog <n mod 100>" when the file is not open.
    char* GetName(char* buffer, int n);
    int GetCommand(int n);
    // The next program after n with a name, in n's own file only; 0 when none.
    int NextProgram(int n);
    // Shots per printed line; an empty or nonsensical size is taken as 10.
    int GetSize(int n);
    int GetSerieSize(int serie, int n) { return GetSize(n); }
    int GetSerieCount(int n);
    // Series s is 1..28. A negative program gives the default name.
    char* GetSerieName(int serie, char* buffer, int n);
    int GetSerieShots(int serie, int n);
    // Fills the timing of series s; returns the program's equipment.
    int GetSerieTiming(SerieTiming& timing, int serie, int n);
    void SetSerieTiming(const SerieTiming& timing, int serie, int n);
    // The printed lines of the series before `count`: 1 + for each series
    // 1..count-1 that has shots, the lines its shots fill.
    int GetLineCount(int count, int n);
    int GetClassCount(int n);
    char* GetClassName(int cls, char* buffer, int n);
    // The first class whose name equals the text (blanks around not counted,
    // national letters compared as names are); else the last class with an
    // empty name; else 0.
    int FindClass(const std::string& text, int n);
    char* GetClassDef(int cls, char* buffer, int n);
    // The value for series p (1..20) of a class; 0 for any other p.
    int GetClassFlag(int cls, int p, int n);
    // Sets the value for series p (1..20, value 0..223); other p do nothing.
    void SetClassFlag(int cls, int p, int n, int value);
    int GetSubCount(int n);
    char* GetSubSumName(int sub, char* buffer, int n);
    char* GetSubSumDef(int sub, char* buffer, int n);
    int GetSubSumFlag(int sub, int p, int n);
    void SetSubSumFlag(int sub, int p, int n, int value);
    int GetSerieMark(int serie, int n);
    // 1 and 129 mark programs for turning targets (129 also orders shots by
    // their time).
    int GetEquipment(int n);
    int GetSerieTarget(int serie, int n);  // target type of the series, -1 the lane's own
    int GetSerieExch(int serie, int n);    // series number in exchange files

    // Where program n's items are: its file and index, or null when n is not
    // a program number or its file is not open.
    CBVConfig* FileOf(int n, int& index);

private:
    int Program(int n) const { return n == 0 ? m_current : n; }
    char* Buffer(char* buffer) { return buffer ? buffer : m_name; }
    int ReadInt(int section, int key, int n, int defaultValue, int notOpen);
    char* ReadText(int section, int key, int n, const char* defaultValue, char* buffer);
    int GetFlag(int section, int item, int p, int n);
    void SetFlag(int section, int item, int p, int n, int value);

    std::string m_base = ".\\";
    CBVConfig m_files[2];
    bool m_tried = false;
    bool m_create = false;
    int m_current = 1;
    char m_name[kNameSize] = {};
};
