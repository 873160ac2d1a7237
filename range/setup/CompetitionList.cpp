#include "range/setup/CompetitionList.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>

#include <unistd.h>

namespace CompetitionList {
namespace {

// Longer folder names are no competition's (the range control names its
// folders "Comp1" to "Comp99").
constexpr size_t kMaxFolderName = 14;

// The prefix as stored, without the "H1" every other reader puts in its place.
constexpr ConfigTextItem kStoredPrefix{CompSettings::kPrefix.section, CompSettings::kPrefix.index,
                                       CompSettings::kPrefix.key, ""};

CompetitionRow RowOf(const std::string& base, int n, int current, CProgramStore& programs)
{
    CompetitionRow row;
    row.number = n;
    char folder[16];
    std::snprintf(folder, sizeof folder, "%sComp%02d", n == current ? ">" : "", n);
    row.folder = folder;
    CBVConfig store;
    // Looking must not make a file in a folder that has none.
    if (!platform::FileExists(CompSettings::FileOf(base, n)) || store.Open(CompSettings::FileOf(base, n), 0) < 0 ||
        !store.IsOpen())
        return row;
    row.name = ReadItem(store, CompSettings::kName);
    row.date = ReadItem(store, CompSettings::kDate);
    int program = ReadItem(store, CompSettings::kProgram);
    if (program > 0) {
        char name[CProgramStore::kNameSize];
        row.program = programs.GetName(name, program);
    }
    row.prefix = ReadItem(store, kStoredPrefix);
    row.description = CompSettings::ReadDescription(store).substr(0, CompSettings::kMaxDescription);
    return row;
}

}  // namespace

int NumberOfFolder(std::string_view name)
{
    if (name.size() < 5 || name.size() > kMaxFolderName || !platform::SameNameNoCase(name.substr(0, 4), "Comp"))
        return 0;
    std::string_view digits = name.substr(4);
    if (digits.front() == '0' || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    if (digits.size() > 2)
        return 0;
    int n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    return n >= kFirst && n <= kLast ? n : 0;
}

std::vector<CompetitionRow> Read(const std::string& base, int current, CProgramStore& programs)
{
    std::string folder = base.empty() ? ".\\" : base;
    std::set<int> numbers;
    for (const std::string& name : platform::FindFiles(folder, "Comp*", true)) {
        int n = NumberOfFolder(name);
        // Two spellings of one folder name ("Comp5", "COMP5") are one competition.
        if (n != 0 && platform::FolderExists(platform::JoinSystemPath(folder, name)))
            numbers.insert(n);
    }
    std::vector<CompetitionRow> rows;
    for (int n : numbers)
        rows.push_back(RowOf(folder, n, current, programs));
    std::sort(rows.begin(), rows.end(),
              [](const CompetitionRow& a, const CompetitionRow& b) { return a.folder < b.folder; });
    return rows;
}

int NextFree(int lastComp, const std::vector<int>& used)
{
    auto inUse = [&](int n) { return std::find(used.begin(), used.end(), n) != used.end(); };
    int n = lastComp >= kLast ? kFirst : lastComp + 1;
    if (n < kFirst)
        n = kFirst;
    // Once round from the start, once more from 1: the numbers below the
    // start are the last to be tried.
    for (int round = 0; round < 2; ++round) {
        while (n <= kLast && inUse(n))
            ++n;
        if (n <= kLast)
            return n;
        n = kFirst;
    }
    return 0;
}

int Delete(const std::string& base, int competition)
{
    std::string folder = CompSettings::FolderOf(base.empty() ? ".\\" : base, competition);
    int first = 0;
    for (const std::string& name : platform::FindFiles(folder, "*")) {
        int rc = platform::RemoveFile(platform::JoinSystemPath(folder, name));
        if (rc != 0 && first == 0)
            first = rc;
    }
    if (::rmdir(platform::NativePath(folder).c_str()) != 0 && first == 0)
        first = errno;
    return first;
}

}  // namespace CompetitionList
