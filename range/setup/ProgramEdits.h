#pragma once
// What the shooting program editor writes and shows, without its window:
// who may edit, the new program's slot, every button's keys, and each cell
// of the program list and the series grid as text and as the keys an edit
// writes. Every change goes to the program files at once, key by key,
// through the editor's own CProgramStore.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CBVConfig;
class CProgramStore;

namespace ProgramEdits {

// The editor's limits: series of a program, sub-sums, classes.
inline constexpr int kMaxSeries = 28;
inline constexpr int kMaxSubSums = 10;
inline constexpr int kMaxClasses = 20;
// A class value is 0..7, a sub-sum membership 0 or 1.
inline constexpr int kMaxClassValue = 7;
inline constexpr int kMaxSubSumValue = 1;

// The organisation filter's codes: 0 the range's private programs (in
// Program2.BVC), 1..7 the built-in organisations.
inline constexpr int kPrivate = 0;

// Tabs of the series grid.
enum Tab { kTabBasic = 0, kTabSubSums = 1, kTabClasses = 2, kTabExchange = 3, kTabs = 4 };
// Columns of the program list.
enum ProgramColumn { kColName = 0, kColSize = 1, kColCommand = 2, kColEquipment = 3 };
// The series grid's fixed columns; the tab's own start at kColFirstTab.
enum SerieColumn {
    kColSerie = 0,
    kColSerieName = 1,
    kColShots = 2,
    kColMark = 3,
    kColFirstTab = 4,
    // Tab 0 of a turning-target program.
    kColTimer = 4,
    kColDelay = 5,
    kColGreen = 6,
    kColRed = 7,
    kColRepeat = 8,
    kColTarget = 9,
};

// Whether the officer may change programs under the filter: with the admin
// code, on the maker's own range, and always for the private programs.
bool EditRight(const std::string& adminCode, CBVConfig& range, int filter);

// Programs for turning targets have the series timing.
bool IsTurning(int equipment);

// The number a new program of the filter gets: after the last slot used in
// its file (Program2.BVC for the private filter, Program.BVC for the
// others); 0 when that file already holds 100 programs or is not open.
int NewProgramNumber(CProgramStore& store, int filter);
// The programs the filter lists, in their file's order: named slots of
// Program2.BVC of the range's own organisation 0 for the private filter,
// named slots of Program.BVC of that organisation for the others.
std::vector<int> ListPrograms(CProgramStore& store, int filter);
// Takes that slot as "Program <index>" of the filter; its number, or 0.
int AddProgram(CProgramStore& store, int filter);
// An empty name frees the slot.
void DeleteProgram(CProgramStore& store, int n);

// The series rows the grid shows: the program's series count within 0..28.
int SerieRows(CProgramStore& store, int n);
// A series more ("Serie <s>" afresh, its other keys as they were); false at 28.
bool AddSerie(CProgramStore& store, int n);
// The last series goes; its keys stay in the file. False when none is left.
bool DeleteSerie(CProgramStore& store, int n);
// A sub-sum or class column more on tab 1 or 2; false at the limit or on
// another tab.
bool AddColumn(CProgramStore& store, int n, int tab);
bool DeleteColumn(CProgramStore& store, int n, int tab);
// The tab's own columns: timing (6 or 1), sub-sums, classes, exchange number (1).
int TabColumns(CProgramStore& store, int n, int tab);
// A header of tab 1 or 2 names its sub-sum or class: renames it.
void RenameColumn(CProgramStore& store, int n, int tab, int column, const std::string& name);
// The name a sub-sum or class column shows in its header.
std::string ColumnName(CProgramStore& store, int n, int tab, int column);

// A text key for a code; nullptr when the code has no text.
const char* EquipmentKey(int equipment);
const char* MarkKey(int mark);
const char* TargetKey(int target);
const char* ClassValueKey(int value);
// The codes a choice column offers, in order, with their keys.
struct Choice {
    int code;
    const char* key;
};
std::span<const Choice> EquipmentChoices();
std::span<const Choice> MarkChoices();
std::span<const Choice> TargetChoices();
std::span<const Choice> ClassValueChoices();

// Tenths as "12.5".
std::string TenthsText(int tenths);

using TextOf = std::function<std::string(const char* key)>;

// A cell's text as the grids show it.
std::string ProgramCellText(CProgramStore& store, int n, int column, const TextOf& textOf);
std::string SerieCellText(CProgramStore& store, int n, int tab, int serie, int column, const TextOf& textOf);
// The code a choice cell stands for (-1 for a cell that is no choice).
int SerieCellCode(CProgramStore& store, int n, int tab, int serie, int column);

// An edit of a cell written: the text typed, or the code chosen in a choice
// cell (negative: nothing chosen, nothing written).
void StoreProgramCell(CProgramStore& store, int n, int column, std::string_view text, int code);
void StoreSerieCell(CProgramStore& store, int n, int tab, int serie, int column, std::string_view text, int code);

}  // namespace ProgramEdits
