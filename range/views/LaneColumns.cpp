#include "range/views/LaneColumns.h"

#include "foundation/settings/LanguageTable.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/system/Codepage.h"

#include <algorithm>
#include <array>

namespace LaneColumns {
namespace {

// The further columns of views 1 to 6, from position 4 on.
const std::array<std::vector<uint8_t>, kLastView> kViewCodes = {{
    {kName, kClub, kClass, kCategory, kTotal, kStatusText},
    {kClass, kCategory, kProgram, kSensitivity, kTargetType, kBand},
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kSeriesSum, kTotal},
    {kName, kSeriesSum, kTotal, kPlace},
    {kSeriesSum, kTotal, kClass, kLiftProne, kLiftKneel, kLiftStand},
    {},
}};

struct Known {
    uint8_t code;
    const char* key;
    const char* sample;  // UTF-8
    bool right;
};

const Known kKnown[] = {
    {kName, "IDS_LIST_NAME_H4", "Kristine Aleksandersen", false},
    {kClub, "IDS_LIST_NAME_H5", "Gjøvik og Toten Skl", false},
    {kClass, "IDS_LIST_NAME_H6", "Women", false},
    {kCategory, "IDS_LIST_NAME_H7", "KNL", false},
    {kSeriesSum, "IDS_LIST_SHOT_H4", "444.44", true},
    {kTotal, "IDS_LIST_SUM_H5", "1444.44", true},
    {kPlace, "IDS_LIST_SUM_H6", "44", true},
    {kProgram, "IDS_LIST_PROG_H4", "DFS 200/200m", false},
    {kTargetType, "IDS_LIST_PROG_H6", nullptr, false},
    {kSensitivity, "IDS_LIST_PROG_H5", "Egendefinert", false},
    {kBand, "IDS_LIST_PROG_H7", "44/44", false},
    {kLiftProne, "IDS_LIST_HEIS_H6", "X", false},
    {kLiftKneel, "IDS_LIST_HEIS_H7", "X", false},
    {kLiftStand, "IDS_LIST_HEIS_H8", "X", false},
    {kStatusText, "IDS_LIST_NAME_H8", "FINISHED", false},
    {kLane, "IDS_LIST_H0", "X 44", true},
    {kRelay, "IDS_LIST_H1", "4444", true},
    {kShots, "IDS_LIST_H3", "44", true},
    {kSeriesName, "IDS_LIST_H2", "Prøveskudd Nr.1", false},
};

}  // namespace

std::vector<uint8_t> ViewCodes(int view, uint8_t previousAtFour)
{
    std::vector<uint8_t> codes = {kLane, kRelay, kSeriesName, kShots};
    if (view < kFirstView || view > kLastView)
        return codes;
    const std::vector<uint8_t>& more = kViewCodes[static_cast<size_t>(view - 1)];
    codes.insert(codes.end(), more.begin(), more.end());
    // The custom view has no columns of its own; it keeps the one it found.
    if (view == 6 && previousAtFour != 0)
        codes.push_back(previousAtFour);
    return codes;
}

bool ShowsPlace(const std::vector<uint8_t>& codes)
{
    for (size_t i = kFixedColumns; i < codes.size(); ++i)
        if (codes[i] == kPlace)
            return true;
    return false;
}

Column ColumnOf(uint8_t code, const ColumnContext& context)
{
    Column c;
    c.code = code;
    auto text = [&](const char* key) { return context.language ? context.language->GetText(key) : std::string(); };
    if (IsShot(code)) {
        c.header = std::to_string(code);
        c.sample = "10,44*";
        c.right = true;
        return c;
    }
    for (const Known& k : kKnown) {
        if (k.code != code)
            continue;
        const char* key = k.key;
        if (code == kRelay && context.startNumbers)
            key = "IDS_LIST_H1B";
        c.header = text(key);
        c.sample = k.sample ? platform::Ansi(k.sample) : std::string();
        c.right = k.right;
        break;
    }
    if (code == kTargetType && context.types)
        c.sample = context.types->GetName(255);
    // Without band motors the band settings mean nothing: the column goes.
    if (code == kBand && !context.motor) {
        c.header.clear();
        c.sample.clear();
    }
    return c;
}

int ColumnWidth(const Column& column, const std::function<int(std::string_view)>& textWidth)
{
    if (column.code == kLane)
        return kLaneWidth;
    if (column.header.empty())
        return 0;
    return std::max(textWidth(column.header) + 12, textWidth(column.sample) + 3);
}

}  // namespace LaneColumns
