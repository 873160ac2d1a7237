#include "foundation/settings/CompSettings.h"

#include "platform/system/Clock.h"
#include "platform/files/FileSystem.h"

#include <array>
#include <cstdio>

namespace CompSettings {
namespace {

// A value no program stores, to tell a missing item from one that holds its
// default.
constexpr const char* kMissing = "\x7F";

// The number items a new competition takes over from the open one, in the
// order they are copied.
constexpr std::array<ConfigIntItem, 9> kCopiedFirst = {
    kZoomLevel, kMarkingTempo, kDistance, kSimulatedDistance, kZoomMode,
    kSensitivity, kStartScore, kSeriesMeasure, kTwinLane,
};
constexpr std::array<ConfigIntItem, 4> kCopiedAfterOptions = {
    kOrganisation, kProgram, kSuperFinal, kDecimals,
};

}  // namespace

CompOptions ReadOptions(CBVConfig& store) { return CompOptions(ReadItem(store, kOptions)); }

int WriteOptions(CBVConfig& store, const CompOptions& options) { return WriteItem(store, kOptions, options.Text()); }

std::string ReadDescription(CBVConfig& store) { return ReadItem(store, kDescription1) + ReadItem(store, kDescription2); }

int WriteDescription(CBVConfig& store, const std::string& description)
{
    std::string text = description.substr(0, kMaxDescription);
    int rc = WriteItem(store, kDescription1, text.substr(0, 30));
    int rc2 = WriteItem(store, kDescription2, text.size() > 30 ? text.substr(30) : std::string());
    return rc != 0 ? rc : rc2;
}

std::string FolderOf(const std::string& base, int competition)
{
    char name[16];
    std::snprintf(name, sizeof name, "Comp%d", competition);
    return base + name;
}

std::string FileOf(const std::string& base, int competition) { return FolderOf(base, competition) + "\\Comp.BVC"; }

int CreateCompetition(const std::string& base, int competition, CBVConfig& current, const std::string& nameText)
{
    std::string folder = FolderOf(base, competition);
    if (!platform::FolderExists(folder))
        platform::CreateFolder(folder);
    if (!platform::FolderExists(folder))
        return -1;
    CBVConfig made;
    made.Open(FileOf(base, competition), 1);
    if (!made.IsOpen())
        return -2;

    char name[64];
    std::snprintf(name, sizeof name, "%s %d", nameText.c_str(), competition);
    WriteItem(made, kName, name);
    platform::LocalTime today = platform::Now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", today.day, today.month, today.year);
    WriteItem(made, kDate, date);

    // Beside no open competition the new one takes the defaults: a closed
    // file is not read (each read would log its failure).
    const bool copy = current.IsOpen();
    auto copied = [&](const auto& item) {
        using Value = decltype(ReadItem(current, item));
        return copy ? ReadItem(current, item) : Value(item.defaultValue);
    };
    WriteItem(made, kPrefix, copied(kPrefix));
    for (const ConfigIntItem& item : kCopiedFirst)
        WriteItem(made, item, copied(item));
    char value[CBVConfig::kValueSize];
    for (int lane = 1; copy && lane <= 100; ++lane) {
        ConfigIntItem item = LaneActive(lane);
        current.ReadString(item.section, item.index, item.key, kMissing, value, sizeof value);
        if (std::string(value) != kMissing)
            WriteItem(made, item, ReadItem(current, item));
    }
    WriteItem(made, kOptions, copied(kOptions));
    for (const ConfigIntItem& item : kCopiedAfterOptions)
        WriteItem(made, item, copied(item));
    WriteItem(made, kLaneText, copied(kLaneText));
    return 0;
}

}  // namespace CompSettings
