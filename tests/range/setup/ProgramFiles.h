#pragma once
// Shooting programs laid out key by key in the range folder's program files,
// as a range that has used them for years would have them: a turning-target
// program among the private ones and a plain one of an organisation.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bvtest {

struct SerieKeys {
    const char* name = nullptr;  // nullptr: not stored (the default name)
    int shots = 0;
    int mark = -1;               // -1: not stored
    int exch = -1;
    const char* timing = nullptr;
    int target = -99;            // -99: not stored
};
struct ColumnKeys {
    const char* name;
    const char* def;  // stored as it stands
};
struct ProgramKeys {
    int number = 1;
    const char* name = "Program";
    int organisation = 0;
    int equipment = 0;
    int size = 10;
    int command = 0;
    std::vector<SerieKeys> series;
    std::vector<ColumnKeys> subSums;
    std::vector<ColumnKeys> classes;
};

inline void WriteProgram(const ProgramKeys& p)
{
    using namespace ProgramItems;
    CBVConfig file;
    const bool second = p.number > CProgramStore::kProgramsPerFile;
    file.Open(second ? ".\\Program2.BVC" : ".\\Program.BVC", 1);
    ASSERT_TRUE(file.IsOpen());
    const int i = second ? p.number - CProgramStore::kProgramsPerFile : p.number;
    if (file.ReadInt(kProgramSection, 1, kKeySlotsUsed, 0) < i)
        file.WriteInt(kProgramSection, 1, kKeySlotsUsed, i);
    file.WriteString(kProgramSection, i, kKeyName, p.name);
    file.WriteInt(kProgramSection, i, kKeyOrganisation, p.organisation);
    file.WriteInt(kProgramSection, i, kKeyEquipment, p.equipment);
    file.WriteInt(kProgramSection, i, kKeySize, p.size);
    file.WriteInt(kProgramSection, i, kKeyCommand, p.command);
    file.WriteInt(kProgramSection, i, kKeySerieCount, static_cast<int>(p.series.size()));
    file.WriteInt(kProgramSection, i, kKeySubCount, static_cast<int>(p.subSums.size()));
    file.WriteInt(kProgramSection, i, kKeyClassCount, static_cast<int>(p.classes.size()));
    for (size_t k = 0; k < p.series.size(); ++k) {
        const SerieKeys& s = p.series[k];
        const int key = static_cast<int>(k) + 2;
        if (s.name)
            file.WriteString(kSerieName, i, key, s.name);
        file.WriteInt(kSerieShots, i, key, s.shots);
        if (s.mark >= 0)
            file.WriteInt(kSerieMark, i, key, s.mark);
        if (s.exch >= 0)
            file.WriteInt(kSerieExch, i, key, s.exch);
        if (s.timing)
            file.WriteString(kSerieTiming, i, key, s.timing);
        if (s.target != -99)
            file.WriteInt(kSerieTarget, i, key, s.target);
    }
    for (size_t k = 0; k < p.subSums.size(); ++k) {
        file.WriteString(kSubSumName, i, static_cast<int>(k) + 2, p.subSums[k].name);
        file.WriteString(kSubSumDef, i, static_cast<int>(k) + 2, p.subSums[k].def);
    }
    for (size_t k = 0; k < p.classes.size(); ++k) {
        file.WriteString(kClassName, i, static_cast<int>(k) + 2, p.classes[k].name);
        file.WriteString(kClassDef, i, static_cast<int>(k) + 2, p.classes[k].def);
    }
}

// Program 101: the range's own turning-target program, with sub-sums and a
// class. Series 1 runs without the timer; series 3 keeps every default.
inline ProgramKeys TurningProgram()
{
    ProgramKeys p;
    p.number = 101;
    p.name = "Felt 25m";
    p.organisation = 0;
    p.equipment = 1;
    p.size = 5;
    p.command = 125;
    p.series = {{"Pr\xF8ve", 5, 0, 0, "X;30;35;70;1;", 0},
                {"Presisjon", 10, 1, 2, "150;35;30;70;2;", 1},
                {nullptr, 5, -1, -1, nullptr, -99}};
    p.subSums = {{"Grunn", "!! "}, {"Finale", "  !"}};
    p.classes = {{"Senior", "# '"}};
    return p;
}

// Program 5: a 15 m program of organisation 2 (NSF); the timing its
// first series keeps from a time it was a turning-target program is not
// its to carry.
inline ProgramKeys PlainProgram()
{
    ProgramKeys p;
    p.number = 5;
    p.name = "Bane 15m";
    p.organisation = 2;
    p.equipment = 0;
    p.size = 10;
    p.command = 30;
    p.series = {{"Liggende", 10, 1, 1, "600;0;0;0;0;", -99}, {"St\xE5\x65nde", 10, 2, 5, nullptr, -99}};
    return p;
}

}  // namespace bvtest
