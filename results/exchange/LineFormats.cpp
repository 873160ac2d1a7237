#include "results/exchange/LineFormats.h"

#include <algorithm>
#include <cstddef>

namespace results {
namespace {

constexpr size_t kFirstShot = 4;
constexpr size_t kGroupSize = 5;
constexpr int kLastSeriesType = 10;  // the hit layout carries the last series' value for this type

// The text of one shot character. The range control writes '?' for a shot
// position without a shot; like a blank and a position past the end of the
// line, it enters no shot rather than a miss.
std::string ShotText(std::string_view line, size_t at)
{
    if (at >= line.size() || line[at] == '?' || line[at] == ' ')
        return {};
    return std::string(1, line[at]);
}

}  // namespace

std::vector<std::string_view> SplitQnetLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
            if (i > start)
                lines.push_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}

bool ReadQnetLine(std::string_view line, const QnetLayout& layout, QnetLine& out)
{
    out = {};
    if (line.size() <= kFirstShot)
        return false;
    // The target: two characters, a blank allowed in front of a one-digit number.
    int target = 0;
    bool digits = false;
    for (size_t i = 0; i < 2; ++i) {
        char c = line[i];
        if (c >= '0' && c <= '9') {
            target = target * 10 + (c - '0');
            digits = true;
        } else if (c != ' ' || digits) {
            return false;
        }
    }
    if (!digits)
        return false;
    out.target = target;

    const int series = static_cast<int>(layout.shots.size());
    if (!layout.hitSeries) {
        size_t at = kFirstShot;
        for (int s = 1; s <= series; ++s) {
            const int shots = layout.shots[static_cast<size_t>(s) - 1];
            if (shots <= 0)
                continue;
            // A series that would begin past the line is not in it; one that
            // begins inside has its missing characters as no shot.
            if (at < line.size()) {
                for (int m = 1; m <= shots; ++m)
                    out.shots.push_back({s, m, ShotText(line, at + static_cast<size_t>(m) - 1)});
                ++out.seriesRead;
            }
            at += static_cast<size_t>(shots);
        }
        return true;
    }

    // Hit series: a group of five per series but the last: the hit count
    // (shot 1), the inner hits (shot 3), then the last series' value when
    // that series takes whole numbers.
    const bool lastTakesValue = series >= 1 && layout.types.size() >= static_cast<size_t>(series) &&
                                layout.types[static_cast<size_t>(series) - 1] == kLastSeriesType;
    for (int s = 1; s < series; ++s) {
        if (layout.shots[static_cast<size_t>(s) - 1] <= 0)
            continue;
        const size_t group = kFirstShot + kGroupSize * static_cast<size_t>(s - 1);
        out.shots.push_back({s, 1, ShotText(line, group)});
        out.shots.push_back({s, 3, ShotText(line, group + 1)});
        ++out.seriesRead;
        if (lastTakesValue && group + 2 < line.size() && line[group + 2] != '?') {
            std::string value(1, line[group + 2]);
            if (group + 3 < line.size())
                value += line[group + 3];
            out.shots.push_back({series, 1, value});
        }
    }
    return true;
}

std::vector<std::vector<std::string>> SplitKmeLines(std::string_view bytes, bool* unfinished)
{
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> fields;
    std::string field;
    bool any = false;  // the line holds something worth keeping
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == ';') {
            fields.push_back(std::move(field));
            field.clear();
            any = true;
        } else if (c == '\r' || c == '\n') {
            const bool pair = i + 1 < bytes.size() && (bytes[i + 1] == '\r' || bytes[i + 1] == '\n');
            if (pair) {
                fields.push_back(std::move(field));
                field.clear();
                any = true;
            } else {
                field.clear();
                if (any)
                    lines.push_back(std::move(fields));
                fields.clear();
                any = false;
            }
        } else {
            field += c;
        }
    }
    // A last line without its end may be half written: it is not taken.
    if (unfinished)
        *unfinished = any || !field.empty();
    return lines;
}

int KmeShotValue(char c)
{
    if (c == 'B' || c == 'b')
        return 0;
    if (c == 'X' || c == 'x')
        return 100;
    if (c == '*')
        return 110;
    if (c >= '0' && c <= '9')
        return 10 * (c - '0');
    return 0;
}

bool KmeNumber(std::string_view field, long& value)
{
    size_t a = field.find_first_not_of(' ');
    size_t b = field.find_last_not_of(' ');
    if (a == std::string_view::npos)
        return false;
    field = field.substr(a, b - a + 1);
    size_t at = field[0] == '-' || field[0] == '+' ? 1 : 0;
    if (at == field.size() || field.size() - at > 9)
        return false;
    long n = 0;
    for (size_t i = at; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return false;
        n = n * 10 + (field[i] - '0');
    }
    value = field[0] == '-' ? -n : n;
    return true;
}

}  // namespace results
