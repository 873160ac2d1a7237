#include "range/setup/ProgramEdits.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/text/TextUtil.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace ProgramItems;

namespace ProgramEdits {
namespace {

constexpr const char* kAdminCode = "qiv408";
// The maker's own range may always edit the built-in programs.
constexpr const char* kMakerName = "Brevandi a.s";
constexpr const char* kMakerStreet = "Kontrollveien";

// A Def text of 20 blanks: no series counts.
constexpr const char* kEmptyDef = "                    ";

constexpr Choice kEquipment[] = {
    {0, "IDS_INTERFACE_S_EXTERNAL0"}, {1, "IDS_INTERFACE_S_EXTERNAL1"}, {2, "IDS_INTERFACE_S_EXTERNAL2"},
    {3, "IDS_INTERFACE_S_EXTERNAL3"}, {131, "IDS_INTERFACE_S_EXTERN10"}, {129, "IDS_INTERFACE_S_EXTERNAL9"},
};
constexpr Choice kMarks[] = {{0, "IDS_PANEL_MARK0"}, {1, "IDS_PANEL_MARK1"}, {2, "IDS_PANEL_MARK2"}};
constexpr Choice kTargets[] = {
    {0, "IDS_PROG_TARGET_ITEM0"}, {1, "IDS_PROG_TARGET_ITEM1"}, {2, "IDS_PROG_TARGET_ITEM2"}};
constexpr Choice kClassValues[] = {
    {0, "IDS_PROG_LIFT_ITEM0"}, {1, "IDS_PROG_LIFT_ITEM1"}, {2, "IDS_PROG_LIFT_ITEM2"}, {3, "IDS_PROG_LIFT_ITEM3"},
    {4, "IDS_PROG_LIFT_ITEM4"}, {5, "IDS_PROG_LIFT_ITEM5"}, {6, "IDS_PROG_LIFT_ITEM6"}, {7, "IDS_PROG_LIFT_ITEM7"},
};

const char* KeyOf(std::span<const Choice> choices, int code)
{
    for (const Choice& c : choices)
        if (c.code == code)
            return c.key;
    return nullptr;
}

std::string Text(const TextOf& textOf, const char* key) { return key ? textOf(key) : std::string(); }

// The typed text as the editor takes it: its first 30 characters without
// the blanks around.
std::string Typed(std::string_view text)
{
    std::string cut(text.substr(0, 30));
    CTextUtil::Trim(cut, " ", 30);
    return cut;
}

int Number(std::string_view text, int decimals) { return CTextUtil::ParseScaled(Typed(text), decimals); }

}  // namespace

bool EditRight(const std::string& adminCode, CBVConfig& range, int filter)
{
    if (adminCode == kAdminCode)
        return true;
    if (range.IsOpen() && ReadItem(range, RangeItems::kUserName) == kMakerName &&
        ReadItem(range, RangeItems::kSponsor1) == kMakerStreet)
        return true;
    return filter == kPrivate;
}

bool IsTurning(int equipment) { return equipment == 1 || equipment == 129; }

int NewProgramNumber(CProgramStore& store, int filter)
{
    // The file of the filter's programs: index 1 tells its slots used.
    int first = filter == kPrivate ? CProgramStore::kProgramsPerFile + 1 : 1;
    int index = 0;
    CBVConfig* file = store.FileOf(first, index);
    if (!file)
        return 0;
    int used = std::max(0, file->ReadInt(kProgramSection, 1, kKeySlotsUsed, 0));
    // A full file has no slot left: the next number would be another file's.
    if (used >= CProgramStore::kProgramsPerFile)
        return 0;
    return first + used;
}

std::vector<int> ListPrograms(CProgramStore& store, int filter)
{
    std::vector<int> programs;
    int first = filter == kPrivate ? CProgramStore::kProgramsPerFile + 1 : 1;
    int index = 0;
    CBVConfig* file = store.FileOf(first, index);
    if (!file)
        return programs;
    int used = std::min(file->ReadInt(kProgramSection, 1, kKeySlotsUsed, 0), CProgramStore::kProgramsPerFile);
    char name[CProgramStore::kNameSize];
    for (int i = 1; i <= used; ++i) {
        int n = first - 1 + i;
        if (store.GetName(name, n)[0] != '\0' && store.GetOrganisation(n) == filter)
            programs.push_back(n);
    }
    return programs;
}

int AddProgram(CProgramStore& store, int filter)
{
    int n = NewProgramNumber(store, filter);
    int index = 0;
    CBVConfig* file = n ? store.FileOf(n, index) : nullptr;
    if (!file)
        return 0;
    file->WriteInt(kProgramSection, 1, kKeySlotsUsed, index);
    char name[32];
    std::snprintf(name, sizeof name, "Program %d", index);
    file->WriteString(kProgramSection, index, kKeyName, name);
    file->WriteInt(kProgramSection, index, kKeyOrganisation, filter);
    return n;
}

void DeleteProgram(CProgramStore& store, int n)
{
    int index = 0;
    if (CBVConfig* file = store.FileOf(n, index))
        file->WriteString(kProgramSection, index, kKeyName, "");
}

int SerieRows(CProgramStore& store, int n) { return std::clamp(store.GetSerieCount(n), 0, kMaxSeries); }

bool AddSerie(CProgramStore& store, int n)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    int rows = SerieRows(store, n);
    if (!file || rows >= kMaxSeries)
        return false;
    file->WriteInt(kProgramSection, index, kKeySerieCount, rows + 1);
    char name[32];
    std::snprintf(name, sizeof name, "Serie %d", rows + 1);
    file->WriteString(kSerieName, index, rows + 2, name);
    return true;
}

bool DeleteSerie(CProgramStore& store, int n)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    int rows = SerieRows(store, n);
    if (!file || rows <= 0)
        return false;
    file->WriteInt(kProgramSection, index, kKeySerieCount, rows - 1);
    return true;
}

bool AddColumn(CProgramStore& store, int n, int tab)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    if (!file)
        return false;
    char name[32];
    if (tab == kTabSubSums) {
        int d = std::max(0, store.GetSubCount(n));
        if (d >= kMaxSubSums)
            return false;
        file->WriteInt(kProgramSection, index, kKeySubCount, d + 1);
        std::snprintf(name, sizeof name, "Sum%d", d + 1);
        file->WriteString(kSubSumName, index, d + 2, name);
        file->WriteString(kSubSumDef, index, d + 2, kEmptyDef);
        return true;
    }
    if (tab == kTabClasses) {
        int d = std::max(0, store.GetClassCount(n));
        if (d >= kMaxClasses)
            return false;
        file->WriteInt(kProgramSection, index, kKeyClassCount, d + 1);
        std::snprintf(name, sizeof name, "%d", d + 1);
        file->WriteString(kClassName, index, d + 2, name);
        // The class's text per series starts empty; its value list is left
        // as it was (a class added again keeps its values).
        for (int section = kClassDef + 1; section <= kClassDef + kMaxSeries; ++section)
            file->WriteString(section, index, d + 2, "");
        return true;
    }
    return false;
}

bool DeleteColumn(CProgramStore& store, int n, int tab)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    if (!file)
        return false;
    int key = tab == kTabSubSums ? kKeySubCount : tab == kTabClasses ? kKeyClassCount : 0;
    if (key == 0)
        return false;
    int d = file->ReadInt(kProgramSection, index, key, 0);
    if (d <= 0)
        return false;
    file->WriteInt(kProgramSection, index, key, std::min(d, tab == kTabSubSums ? kMaxSubSums : kMaxClasses) - 1);
    return true;
}

int TabColumns(CProgramStore& store, int n, int tab)
{
    switch (tab) {
    case kTabBasic:
        return IsTurning(store.GetEquipment(n)) ? kColTarget - kColFirstTab + 1 : 1;
    case kTabSubSums:
        return std::clamp(store.GetSubCount(n), 0, kMaxSubSums);
    case kTabClasses:
        return std::clamp(store.GetClassCount(n), 0, kMaxClasses);
    default:
        return 1;
    }
}

void RenameColumn(CProgramStore& store, int n, int tab, int column, const std::string& name)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    int item = column - kColFirstTab + 1;  // sub-sum or class k
    if (!file || item < 1 || (tab != kTabSubSums && tab != kTabClasses))
        return;
    file->WriteString(tab == kTabSubSums ? kSubSumName : kClassName, index, item + 1, name.c_str());
}

std::string ColumnName(CProgramStore& store, int n, int tab, int column)
{
    char text[CProgramStore::kNameSize];
    int item = column - kColFirstTab + 1;
    if (tab == kTabSubSums)
        return store.GetSubSumName(item, text, n);
    if (tab == kTabClasses)
        return store.GetClassName(item, text, n);
    return {};
}

const char* EquipmentKey(int equipment)
{
    // The cell names every equipment the interface knows; the list offers fewer.
    static const char* const kShown[] = {"IDS_INTERFACE_S_EXTERNAL1", "IDS_INTERFACE_S_EXTERNAL2",
                                         "IDS_INTERFACE_S_EXTERNAL3", "IDS_INTERFACE_S_EXTERNAL4",
                                         "IDS_INTERFACE_S_EXTERNAL5"};
    if (equipment >= 1 && equipment <= 5)
        return kShown[equipment - 1];
    if (equipment == 129)
        return "IDS_INTERFACE_S_EXTERNAL9";
    if (equipment == 131)
        return "IDS_INTERFACE_S_EXTERN10";
    return nullptr;
}
const char* MarkKey(int mark) { return KeyOf(kMarks, mark); }
const char* TargetKey(int target) { return KeyOf(kTargets, target); }
const char* ClassValueKey(int value) { return KeyOf(kClassValues, value); }
std::span<const Choice> EquipmentChoices() { return kEquipment; }
std::span<const Choice> MarkChoices() { return kMarks; }
std::span<const Choice> TargetChoices() { return kTargets; }
std::span<const Choice> ClassValueChoices() { return kClassValues; }

std::string TenthsText(int tenths)
{
    char text[32];
    int whole = std::abs(tenths / 10), tenth = std::abs(tenths % 10);
    std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", whole, tenth);
    return text;
}

std::string ProgramCellText(CProgramStore& store, int n, int column, const TextOf& textOf)
{
    char text[CProgramStore::kNameSize];
    switch (column) {
    case kColName:
        return store.GetName(text, n);
    case kColSize:
        return std::to_string(store.GetSize(n));
    case kColCommand:
        return TenthsText(store.GetCommand(n));
    case kColEquipment:
        return Text(textOf, EquipmentKey(store.GetEquipment(n)));
    default:
        return {};
    }
}

std::string SerieCellText(CProgramStore& store, int n, int tab, int serie, int column, const TextOf& textOf)
{
    char text[CProgramStore::kNameSize];
    switch (column) {
    case kColSerie:
        return std::to_string(serie);
    case kColSerieName:
        return store.GetSerieName(serie, text, n);
    case kColShots:
        return std::to_string(store.GetSerieShots(serie, n));
    case kColMark:
        return Text(textOf, MarkKey(store.GetSerieMark(serie, n)));
    default:
        break;
    }
    switch (tab) {
    case kTabBasic: {
        CProgramStore::SerieTiming t;
        store.GetSerieTiming(t, serie, n);
        switch (column) {
        case kColTimer:
            return t.noTimer ? std::string() : TenthsText(t.timer);
        case kColDelay:
            return std::to_string(t.delay / 10);
        case kColGreen:
            return TenthsText(t.green);
        case kColRed:
            return TenthsText(t.red);
        case kColRepeat:
            return std::to_string(t.rep);
        case kColTarget:
            return Text(textOf, TargetKey(store.GetSerieTarget(serie, n)));
        default:
            return {};
        }
    }
    case kTabSubSums: {
        int flag = store.GetSubSumFlag(column - kColFirstTab + 1, serie, n);
        return flag > 0 ? std::to_string(flag) : std::string();
    }
    case kTabClasses:
        return Text(textOf, ClassValueKey(store.GetClassFlag(column - kColFirstTab + 1, serie, n)));
    case kTabExchange:
        return column == kColFirstTab ? std::to_string(store.GetSerieExch(serie, n)) : std::string();
    default:
        return {};
    }
}

int SerieCellCode(CProgramStore& store, int n, int tab, int serie, int column)
{
    if (column == kColMark)
        return store.GetSerieMark(serie, n);
    if (tab == kTabBasic && column == kColTarget)
        return store.GetSerieTarget(serie, n);
    if (tab == kTabClasses && column >= kColFirstTab)
        return store.GetClassFlag(column - kColFirstTab + 1, serie, n);
    return -1;
}

void StoreProgramCell(CProgramStore& store, int n, int column, std::string_view text, int code)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    if (!file)
        return;
    switch (column) {
    case kColName:
        file->WriteString(kProgramSection, index, kKeyName, Typed(text).c_str());
        break;
    case kColSize:
        file->WriteInt(kProgramSection, index, kKeySize, Number(text, 0));
        break;
    case kColCommand:
        file->WriteInt(kProgramSection, index, kKeyCommand, Number(text, 1));
        break;
    case kColEquipment:
        if (code >= 0)
            file->WriteInt(kProgramSection, index, kKeyEquipment, code);
        break;
    default:
        break;
    }
}

void StoreSerieCell(CProgramStore& store, int n, int tab, int serie, int column, std::string_view text, int code)
{
    int index = 0;
    CBVConfig* file = store.FileOf(n, index);
    if (!file || serie < 1 || serie > kMaxSeries)
        return;
    const int key = serie + 1;
    switch (column) {
    case kColSerieName:
        file->WriteString(kSerieName, index, key, Typed(text).c_str());
        return;
    case kColShots:
        file->WriteInt(kSerieShots, index, key, Number(text, 0));
        return;
    case kColMark:
        if (code >= 0)
            file->WriteInt(kSerieMark, index, key, code);
        return;
    default:
        break;
    }
    switch (tab) {
    case kTabBasic: {
        if (column == kColTarget) {
            if (code >= 0)
                file->WriteInt(kSerieTarget, index, key, code);
            return;
        }
        CProgramStore::SerieTiming t;
        store.GetSerieTiming(t, serie, n);
        switch (column) {
        case kColTimer: {
            // Blanks, commas and points alone clear the timer.
            std::string bare(text);
            CTextUtil::RemoveChars(bare, " ,.");
            t.noTimer = bare.empty();
            t.timer = Number(text, 1);
            break;
        }
        case kColDelay:
            t.delay = Number(text, 1);
            break;
        case kColGreen:
            t.green = Number(text, 1);
            break;
        case kColRed:
            t.red = Number(text, 1);
            break;
        case kColRepeat:
            t.rep = Number(text, 0);
            break;
        default:
            return;
        }
        store.SetSerieTiming(t, serie, n);
        return;
    }
    case kTabSubSums:
        store.SetSubSumFlag(column - kColFirstTab + 1, serie, n, static_cast<int16_t>(Number(text, 0)));
        return;
    case kTabClasses:
        if (code >= 0)
            store.SetClassFlag(column - kColFirstTab + 1, serie, n, code);
        return;
    case kTabExchange:
        if (column == kColFirstTab)
            file->WriteInt(kSerieExch, index, key, static_cast<int16_t>(Number(text, 0)));
        return;
    default:
        return;
    }
}

}  // namespace ProgramEdits
