#pragma once
// The competitions of a range folder as the competition choice shows them:
// one row per folder "Comp<n>" (n 1 to 99) with the name, date, program,
// file prefix and description of its Comp.BVC, the number of a new one, and
// the removal of one. The practice competition (Comp0) is never listed.
#include <string>
#include <string_view>
#include <vector>

class CProgramStore;

struct CompetitionRow {
    int number = 0;
    std::string folder;       // "Comp05", ">Comp05" for the competition open now
    std::string name;
    std::string date;
    std::string program;      // the shooting program's name
    std::string prefix;
    std::string description;  // at most 60 characters
};

namespace CompetitionList {

inline constexpr int kFirst = 1;
inline constexpr int kLast = 99;

// The competition a folder name stands for: "Comp<n>" (any letter case of
// "Comp") with n 1 to 99 written as the range control writes it, without
// leading zeros; 0 for any other name. "Comp01" is no competition: the range
// control would open Comp1 for it.
int NumberOfFolder(std::string_view name);

// The rows of the competitions below base (".\" for the working folder),
// sorted by their folder text, so the competition open now (current) comes
// first. Each Comp.BVC is read without being made or changed; a competition
// whose file is missing shows its folder alone.
std::vector<CompetitionRow> Read(const std::string& base, int current, CProgramStore& programs);

// The number of a new competition: the one after lastComp (1 after 99 or
// more), passing over the numbers in use and starting again at 1 once past
// 99; 0 when all 99 are in use.
int NextFree(int lastComp, const std::vector<int>& used);

// Removes every file of the competition's folder (the record files, their
// side files, anything else) and then the folder. A folder that holds a
// folder of its own stays, as do files that cannot be removed. 0 when the
// folder is gone, else the system error of the first thing that stayed.
int Delete(const std::string& base, int competition);

}  // namespace CompetitionList
