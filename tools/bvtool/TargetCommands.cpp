// bvtool score and bvtool target: a shot's value on a target type, and a
// type's data, as the range control and the card printer see them.
#include "Command.h"

#include "foundation/targets/TargetTypes.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace bvtool {
namespace {

bool ParseCode(const std::string& text, int& code)
{
    long value;
    if (!ParseInt(text, value) || value < INT16_MIN || value > INT16_MAX)
        return false;
    code = static_cast<int>(value);
    return true;
}

// A code that names a type; the failure's text otherwise.
bool KnownCode(const std::string& text, int& code, std::string& error)
{
    if (!ParseCode(text, code)) {
        error = "not a target type code: '" + text + "'";
        return false;
    }
    if (!CTargetTypes::IsKnownCode(code)) {
        error = "unknown target type code " + text;
        return false;
    }
    return true;
}

// The languages of the programs' language files.
bool KnownLanguage(const std::string& code)
{
    for (const char* known : {"NO", "DK", "SE", "UK", "DE"})
        if (code == known)
            return true;
    return false;
}

bool ParseMm(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end && *end == '\0' && std::isfinite(value);
}

int RunScore(const Args& args)
{
    Args rest;
    std::string language;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang") {
            if (i + 1 >= args.size())
                return Fail("--lang needs a language code");
            language = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 3)
        return Fail("usage: bvtool score CODE X Y [--lang CODE]");
    int code;
    double x, y;
    std::string error;
    if (!KnownCode(rest[0], code, error))
        return Fail(error);
    if (!language.empty() && !KnownLanguage(language))
        return Fail("unknown language '" + language + "' (NO, DK, SE, UK or DE)");
    if (!ParseMm(rest[1], x) || !ParseMm(rest[2], y))
        return Fail("X and Y must be numbers of millimetres");
    CTargetTypes types;
    if (!language.empty())
        types.SetLanguage(language.c_str());
    std::printf("%d\n", types.Score(x, y, code, types.GetBulletRadius(code)));
    return 0;
}

void PrintOutline(const FigureOutline& figure)
{
    static const char* const kNames[] = {"right outer", "left outer", "right inner", "left inner"};
    for (int o = 0; o < 4; ++o) {
        const OutlineItem* item = figure.items + figure.start[o];
        std::printf("outline %s: header %d %d;", kNames[o], item->x, item->y);
        for (++item;; ++item) {
            const char* kind = item->kind == kOutlineLine     ? "line"
                               : item->kind == kOutlineArc    ? "arc"
                               : item->kind == kOutlineCentre ? "centre"
                               : item->kind == kOutlineSkip   ? "skip"
                                                              : "last";
            std::printf(" %s %d %d", kind, item->x, item->y);
            if (item->kind != kOutlineLine && item->kind != kOutlineArc && item->kind != kOutlineCentre &&
                item->kind != kOutlineSkip)
                break;
            std::printf(",");
        }
        std::printf("\n");
    }
}

int RunTarget(const Args& args)
{
    int code;
    if (args.size() != 1)
        return Fail("usage: bvtool target CODE");
    std::string error;
    if (!KnownCode(args[0], code, error))
        return Fail(error);
    CTargetTypes t;
    std::printf("code: %d\n", code);
    for (const char* language : {"NO", "DK", "SE", "UK"}) {
        t.SetLanguage(language);
        std::printf("name %s: %s\n", language, ToScreen(t.GetName(code)).c_str());
    }
    t.SetLanguage("NO");
    std::printf("group: %d index %d\n", CTargetTypes::GetGroup(code), CTargetTypes::GetGroupIndex(code));
    std::printf("unit code: %d\n", CTargetTypes::ToTargetCode(code));
    std::printf("calibre: %.2f mm\n", t.GetCalibre(code) / 100.0);
    std::printf("bullet radius: %.3f mm\n", t.GetBulletRadius(code));
    std::printf("distance: %d m\n", t.GetDistance(code));
    std::printf("rings: %d to %d, top zone %d, max value %d\n", t.GetLowestRing(code), t.GetHighestRing(code),
                t.GetTopZone(code), t.GetMaxValue(code));
    std::printf("ring radii (mm):");
    for (int r = 0; r <= 11; ++r) {
        double radius = t.GetRingRadius(code, r);
        if (radius > -1000)
            std::printf(" %d=%.4g", r, radius);
        else
            std::printf(" %d=-", r);
    }
    std::printf("\n");
    std::printf("face radius: %.4g mm\n", t.GetFaceRadius(code));
    auto radiusText = [](double mm) {
        char text[32];
        if (mm > -1000)
            std::snprintf(text, sizeof text, "%.4g mm", mm);
        else
            std::snprintf(text, sizeof text, "none");
        return std::string(text);
    };
    std::printf("black: %s\n", radiusText(t.GetBlackRadius(code)).c_str());
    std::printf("white: %s\n", radiusText(t.GetWhiteRadius(code)).c_str());
    std::printf("figure box: %.4g x %.4g mm\n", t.GetFigureWidth(code), t.GetFigureHeight(code));
    std::printf("ring labels: %d to %d, sides %d, zoom to ring %d\n", t.GetFirstRingLabel(code),
                t.GetLastRingLabel(code), t.GetRingLabelSides(code), t.GetMaxZoomRing(code));
    int sensitivity = t.DefaultSensitivity(code);
    std::printf("lane defaults: sensitivity %d, band advance frequency %d length %d, value system %d\n",
                sensitivity, t.DefaultAdvanceFrequency(code, sensitivity), t.DefaultAdvanceLength(code, sensitivity),
                t.DefaultValueSystem(code));
    int entry = CTargetTypes::GetFigureEntry(code);
    if (entry < 0 && code == 34)
        entry = 0;  // the animal around the rings
    if (const FigureOutline* figure = CTargetTypes::GetOutline(entry)) {
        std::printf("figure outline: entry %d, reference size %d mm (points in 1/32 mm)\n", entry,
                    figure->referenceSize);
        PrintOutline(*figure);
    }
    return 0;
}

[[maybe_unused]] const bool registeredScore = Register(
    {"score", "bvtool score CODE X Y [--lang CODE]",
     "value of a shot X, Y mm from the centre of target type CODE, with the type's own bullet", &RunScore});
[[maybe_unused]] const bool registeredTarget =
    Register({"target", "bvtool target CODE", "prints the data of target type CODE", &RunTarget});

}  // namespace
}  // namespace bvtool
