#include "range/setup/ProgramExchange.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/BVIniFile.h"
#include "foundation/settings/ProgramDefList.h"
#include "foundation/settings/ProgramStore.h"
#include "range/setup/ProgramEdits.h"

#include <algorithm>

using namespace ProgramItems;
namespace PE = ProgramEdits;

namespace ProgramExchange {
namespace {

std::string Section(const char* kind, int number) { return kind + std::to_string(number); }

}  // namespace

int Export(CProgramStore& store, int n, const std::string& path)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    if (!file)
        return -1;
    char text[CProgramStore::kNameSize];
    CBVIniFile ini;
    ini.Reset();
    const int subs = std::clamp(store.GetSubCount(n), 0, PE::kMaxSubSums);
    const int classes = std::clamp(store.GetClassCount(n), 0, PE::kMaxClasses);
    const int series = PE::SerieRows(store, n);
    ini.PutString("Prog", "Name", store.GetName(text, n));
    ini.PutInt("Prog", "Size", store.GetSize(n));
    ini.PutInt("Prog", "Command", store.GetCommand(n));
    ini.PutInt("Prog", "Equipment", file->ReadInt(kProgramSection, index, kKeyEquipment, 0));
    ini.PutInt("Prog", "SubCount", subs);
    ini.PutInt("Prog", "ClassCount", classes);
    ini.PutInt("Prog", "SerieCount", series);
    for (int k = 1; k <= subs; ++k) {
        std::string section = Section("SubSum", k);
        ini.PutString(section, "Name", store.GetSubSumName(k, text, n));
        ini.PutString(section, "Def", ProgramDef::ToList(store.GetSubSumDef(k, text, n), CProgramStore::kDefLength));
    }
    for (int c = 1; c <= classes; ++c) {
        std::string section = Section("Class", c);
        ini.PutString(section, "Name", store.GetClassName(c, text, n));
        ini.PutString(section, "Def", ProgramDef::ToList(store.GetClassDef(c, text, n), PE::kMaxSeries));
    }
    const bool turning = PE::IsTurning(store.GetEquipment(n));
    for (int s = 1; s <= series; ++s) {
        std::string section = Section("Serie", s);
        ini.PutString(section, "Name", store.GetSerieName(s, text, n));
        ini.PutInt(section, "Shots", store.GetSerieShots(s, n));
        ini.PutInt(section, "Mark", store.GetSerieMark(s, n));
        ini.PutInt(section, "Exch", store.GetSerieExch(s, n));
        if (!turning)
            continue;
        CProgramStore::SerieTiming t;
        store.GetSerieTiming(t, s, n);
        ini.PutString(section, "Timer", t.noTimer ? std::string() : std::to_string(t.timer));
        ini.PutInt(section, "Delay", t.delay);
        ini.PutInt(section, "Green", t.green);
        ini.PutInt(section, "Red", t.red);
        ini.PutInt(section, "Rep", t.rep);
        ini.PutInt(section, "Target", store.GetSerieTarget(s, n));
    }
    return ini.Write(path, true) == 0 ? 0 : -1;
}

std::string ProgramName(const std::string& path)
{
    CBVIniFile ini;
    ini.OpenRead(path);
    return ini.GetString("Prog", "Name");
}

int Import(CProgramStore& store, int filter, const std::string& path)
{
    CBVIniFile ini;
    ini.OpenRead(path);
    // A damaged file may hold a name of NUL bytes: the store keeps C texts, so
    // the name is what comes before the first NUL, and no text is no program.
    std::string name = ini.GetString("Prog", "Name").c_str();
    if (name.empty())
        return kNoProgram;
    const int n = PE::NewProgramNumber(store, filter);
    int index = 0;
    CBVConfig* file = n ? store.FileOf(n, index) : nullptr;
    if (!file)
        return kFull;

    const int equipment = ini.GetInt("Prog", "Equipment", 0);
    const int subs = std::clamp(ini.GetInt("Prog", "SubCount", 0), 0, PE::kMaxSubSums);
    const int classes = std::clamp(ini.GetInt("Prog", "ClassCount", 0), 0, PE::kMaxClasses);
    const int series = std::clamp(ini.GetInt("Prog", "SerieCount", 0), 0, PE::kMaxSeries);
    file->WriteInt(kProgramSection, 1, kKeySlotsUsed, index);
    file->WriteString(kProgramSection, index, kKeyName, name.c_str());
    file->WriteInt(kProgramSection, index, kKeyOrganisation, filter);
    file->WriteInt(kProgramSection, index, kKeySize, ini.GetInt("Prog", "Size", CProgramStore::kDefaultSize));
    file->WriteInt(kProgramSection, index, kKeyCommand, ini.GetInt("Prog", "Command", 0));
    file->WriteInt(kProgramSection, index, kKeyEquipment, equipment);
    file->WriteInt(kProgramSection, index, kKeySubCount, subs);
    file->WriteInt(kProgramSection, index, kKeyClassCount, classes);
    file->WriteInt(kProgramSection, index, kKeySerieCount, series);

    for (int s = 1; s <= series; ++s) {
        const std::string section = Section("Serie", s);
        const int key = s + 1;
        file->WriteString(kSerieName, index, key, ini.GetString(section, "Name").c_str());
        file->WriteInt(kSerieShots, index, key, ini.GetInt(section, "Shots", 0));
        file->WriteInt(kSerieMark, index, key, ini.GetInt(section, "Mark", 0));
        file->WriteInt(kSerieExch, index, key, ini.GetInt(section, "Exch", 0));
        if (!PE::IsTurning(equipment))
            continue;
        CProgramStore::SerieTiming t;
        std::string timer = ini.GetString(section, "Timer");
        t.noTimer = timer.empty();
        t.timer = t.noTimer ? 0 : ini.GetInt(section, "Timer", 0);
        t.delay = ini.GetInt(section, "Delay", 0);
        t.green = ini.GetInt(section, "Green", 0);
        t.red = ini.GetInt(section, "Red", 0);
        t.rep = ini.GetInt(section, "Rep", 0);
        store.SetSerieTiming(t, s, n);
        file->WriteInt(kSerieTarget, index, key, ini.GetInt(section, "Target", 0));
    }
    for (int k = 1; k <= subs; ++k) {
        const std::string section = Section("SubSum", k);
        file->WriteString(kSubSumName, index, k + 1, ini.GetString(section, "Name").c_str());
        file->WriteString(kSubSumDef, index, k + 1,
                          ProgramDef::FromList(ini.GetString(section, "Def"), PE::kMaxSubSumValue).c_str());
    }
    for (int c = 1; c <= classes; ++c) {
        const std::string section = Section("Class", c);
        file->WriteString(kClassName, index, c + 1, ini.GetString(section, "Name").c_str());
        file->WriteString(kClassDef, index, c + 1,
                          ProgramDef::FromList(ini.GetString(section, "Def"), PE::kMaxClassValue).c_str());
    }

    // Taken once: the file is left empty.
    ini.Reset();
    ini.Write(path, true);
    return n;
}

}  // namespace ProgramExchange
