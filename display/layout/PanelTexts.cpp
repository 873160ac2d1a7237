#include "display/layout/PanelTexts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "display/model/VisEvent.h"
#include "foundation/comp/RunNumber.h"
#include "platform/system/StringFormat.h"
#include "platform/system/TextTable.h"

namespace PanelTexts {

namespace {

}  // namespace

std::string Text(const char* key) { return platform::TextOfKey(key); }

ValueFormat FormatValue(int hundredths, int valueSystem)
{
    if (valueSystem == 6)
        return {hundredths, 100};
    if (valueSystem == 2)
        return {hundredths / 10, 10};
    return {hundredths / 100, 1};
}

ValueFormat FormatWithDecimals(int hundredths, int valueSystem)
{
    if (valueSystem == 6)
        return {hundredths, 100};
    return {hundredths / 10, 10};
}

ShotValue ShotListValue(const ShotRecord& s, bool turningRange, int valueSystem, int highestRing)
{
    ShotValue v;
    const int value = s.value;
    if ((s.flags & CDataComp::kFlagMarked) && turningRange) {
        v.value = 0;
    } else if (value < 1100) {
        v.value = value;
    } else if (value < 1200) {
        v.star = true;
        v.value = valueSystem == 3 ? value : highestRing * 100 + value % 100;
    } else {
        v.star = true;
        v.value = value % 100;
    }
    return v;
}

std::string ShotTimeText(int hundredths)
{
    const double seconds = hundredths / 100.0;
    if (hundredths <= 9998)
        return platform::StringFormat("%5.2fs", seconds);
    if (hundredths <= 99998)
        return platform::StringFormat("%5.1fs", seconds);
    return platform::StringFormat("%5.0fs", seconds);
}

ShotListShape ListShape(const CVisTarget& t, int width, int height)
{
    ShotListShape shape;
    const CVisEvent* ev = t.event;
    int n = 10;
    if (t.seriesShots > 0) {
        if (ev && ev->oneShotWindow != 0)
            n = 1;
        else
            n = std::min(t.seriesShots, ev && ev->shotsPerLine > 0 ? ev->shotsPerLine : t.seriesShots);
    }
    n = std::max(n, 1);
    shape.perPage = n;
    const int64_t W = width, H = height;
    int b;
    if (t.viewFlags & ViewBits::kFace) {
        if (n < 6)
            b = n * H * 5 < W ? n : 1;
        else
            b = H * 10 < W ? 5 : (H < W ? 2 : 1);
    } else {
        if (n < 6)
            b = n * H / 5 < W ? n : 1;
        else
            b = H * 10 < W ? 10 : (H * 3 < W * 2 ? 5 : 2);
    }
    shape.columns = b;
    shape.rows = (std::min(n, 10) + b - 1) / b;
    shape.byColumns = shape.columns < shape.rows;
    shape.numbered = (t.viewFlags & ViewBits::kFace) && shape.columns * shape.rows > 1;
    const int system = t.card.valueSystem;
    if (shape.numbered)
        shape.chars = ev && ev->timedShots ? 11 : 7;
    else
        shape.chars = system == 6 ? 6 : (system == 2 ? 5 : 3);
    return shape;
}

ShotCell ListCell(const CVisTarget& t, int n, const ShotListShape& shape, int highestRing)
{
    ShotCell cell;
    const int slot = n >= 1 && n <= 100 ? t.shownShotMap[n] : -1;
    if (slot < 0 || slot >= CDataComp::kSlots)
        return cell;
    const ShotRecord& s = t.shots.shots[slot];
    const CVisEvent* ev = t.event;
    const bool timed = ev && ev->timedShots, runs = ev && ev->runNumbers;
    const bool turning = ev && ev->rangeEquipment == 1;
    cell.value = ShotListValue(s, turning, t.card.valueSystem, highestRing);
    if (timed)
        cell.marked = s.flags & CDataComp::kFlagMarked;
    else if (!runs)
        cell.marked = t.verification != 0 && (s.flags & CDataComp::kFlagFlagged);
    if (!shape.numbered)
        return cell;
    if (timed) {
        cell.label = ShotTimeText(s.shotAt);
        cell.labelAt = 50;
    } else if (runs) {
        const int first = t.firstCountedShot;
        const int reference = first >= 0 && first < CDataComp::kSlots ? t.shots.shots[first].data44 : s.data44;
        cell.label = platform::StringFormat("%2d:", RunNumber(s.data44, reference));
    } else {
        cell.label = platform::StringFormat("%2d:", n);
    }
    return cell;
}

SeriesTable SeriesTableCells(const CVisTarget& t, int width, int height)
{
    SeriesTable table;
    const CVisEvent* ev = t.event;
    if (!ev || ev->superMode != 0)
        return table;
    const int perLine = std::max(ev->shotsPerLine, 1);
    const int longest = ev->longestSeries;
    if (longest <= perLine && ev->seriesWithShots <= 1)
        return table;
    const int lines = std::min((longest + perLine - 1) / perLine, CVisTarget::kSeriesRows - 1);
    std::vector<int> series;
    for (int s = 1; s < CVisTarget::kSeriesRows; ++s)
        if (t.seriesSums[s][1] != -1)
            series.push_back(s);
    const int system = t.card.valueSystem;
    table.chars = (longest < 10 ? 2 : (longest < 100 ? 3 : 4)) + (system == 2 || system == 6 ? 1 : 0) +
                  (system == 6 ? 1 : 0);
    if (longest > perLine && ev->seriesWithShots > 1) {
        // One row per series: its line sums, then "=" and their sum.
        table.matrix = true;
        table.columns = lines + 1;
        table.rows = static_cast<int>(series.size());
        for (int s : series) {
            int sum = 0;
            for (int c = 1; c <= lines; ++c) {
                int v = t.seriesSums[s][c];
                table.values.push_back(v);
                table.sums.push_back(false);
                if (v != -1)
                    sum += v;
            }
            table.values.push_back(sum);
            table.sums.push_back(true);
        }
        return table;
    }
    if (longest > perLine) {
        if (!series.empty())
            for (int c = 1; c <= lines; ++c)
                table.values.push_back(t.seriesSums[series.front()][c]);
    } else {
        for (int s : series)
            table.values.push_back(t.seriesSums[s][1]);
    }
    table.sums.assign(table.values.size(), false);
    // Cells in one row unless they would be narrow.
    const int64_t n = static_cast<int64_t>(table.values.size()), W = width, H = height;
    int rows = 1;
    if (n >= 13)
        rows = 2 * W < n * H ? 4 : (3 * W < 2 * n * H ? 3 : (W < n * H ? 2 : 1));
    else if (n >= 4)
        rows = 2 * W < n * H ? 3 : (W < n * H ? 2 : 1);
    else if (n >= 2)
        rows = 3 * W < 2 * n * H ? 2 : 1;
    table.rows = rows;
    table.columns = n == 0 ? 0 : static_cast<int>((n + rows - 1) / rows);
    table.byColumns = table.columns < table.rows;
    return table;
}

std::vector<SumLine> SumLines(const CVisTarget& t)
{
    std::vector<SumLine> lines;
    CVisEvent* ev = t.event;
    if (!ev)
        return lines;
    if (ev->startScore)
        lines.push_back({Text("IDS_SUB_START"), t.startScore, 0});
    const int K = std::clamp(ev->subCount, 0, CVisTarget::kSeriesRows - 1);
    const int program = ev->competition == 0 ? -1 : ev->program;
    for (int k = 1; k <= K; ++k) {
        char name[64] = {};
        ev->programs.GetSubSumName(k, name, program);
        lines.push_back({name, t.subSums[k], t.subKinds[k]});
    }
    if (K == 0)
        lines.push_back({Text("IDS_SUB_TOTAL"), t.values[CVisTarget::kValTotal].number, 0});
    if (lines.size() == 1 && lines[0].kind == 2)
        lines[0].name = Text("IDS_SUB_AVERAGE");
    else if (lines.size() == 1 && lines[0].kind == 3)
        lines[0].name = Text("IDS_SUB_EST");
    return lines;
}

std::string HeaderEventText(const CVisPicture& pic)
{
    if (pic.targets.empty() || !pic.targets.front()->event)
        return {};
    const CVisEvent& ev = *pic.targets.front()->event;
    // The relay stands in the header only when every panel shows the same
    // one; cards by start number have no relay to show.
    bool one = !ev.startNumbers;
    int relay = 0;
    bool first = true;
    for (const auto& t : pic.targets) {
        if (t->slot <= 0)
            continue;
        if (!t->event || t->event->startNumbers)
            one = false;
        else if (first)
            relay = t->active.relay;
        else if (t->active.relay != relay)
            one = false;
        first = false;
    }
    if (!one || first)
        return ev.name;
    return platform::StringFormat("%s - %s %d", ev.name, Text("IDS_HEAD_PART1").c_str(), relay);
}

bool HeaderSeriesText(const CVisPicture& pic, std::string& text)
{
    const CVisTarget* first = nullptr;
    for (const auto& t : pic.targets) {
        if (t->slot <= 0)
            continue;
        if (!first)
            first = t.get();
        else if (std::strcmp(t->values[CVisTarget::kValSeriesName].text,
                             first->values[CVisTarget::kValSeriesName].text) != 0)
            return false;
    }
    if (!first)
        return false;
    const char* name = first->values[CVisTarget::kValSeriesName].text;
    if (pic.oneShot)
        text = platform::StringFormat("%s : %s %d", name, Text("IDS_HEAD_PART3").c_str(), pic.targets.front()->firstListShot);
    else
        text = name;
    return true;
}

namespace {

std::string WithPictureName(const std::string& text, const CVisPicture* pic)
{
    if (!pic)
        return text;
    if (pic->name[0])
        return text + " " + pic->name;
    return text + platform::StringFormat(" (Pict nr. %d)", pic->number);
}

}  // namespace

std::string MessageScreenText(const CVisData& data)
{
    if (data.HasError())
        return Text(data.errorKey) + " " + data.profileName;
    if (data.current && data.current->HasError())
        return WithPictureName(Text(data.current->errorKey), data.current);
    return {};
}

std::string PanelMessageText(const CVisPicture* pic, const CVisTarget& t)
{
    return WithPictureName(Text(t.errorKey), pic);
}

}  // namespace PanelTexts
