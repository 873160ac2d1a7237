#include "foundation/cards/ShotListLayout.h"
#include "foundation/comp/RunNumber.h"

#include "foundation/text/TextUtil.h"
#include "platform/system/Codepage.h"
#include "platform/system/StringFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// ShotRecord flags the log reads beyond those CDataComp names.
constexpr uint16_t kFlagHardware = 0x0020;    // hardware data in the target data byte
constexpr uint16_t kFlagBandMarker = 0x0100;
constexpr uint16_t kFlagShortAdvance = 0x0200;

constexpr int kRowStep = 35;       // 3.5 mm
constexpr int kHeadingGap = 17;    // 1.7 mm before a series heading
constexpr int kFirstRow = 275;     // 27.5 mm: below the head

}  // namespace

ShotListSettings::ShotListSettings()
{
    documentName = "Log";
    valueCaption = "Val";
    xCaption = "X";
    yCaption = "Y";
    temperatureCaption = platform::Ansi("°C");
    sensorCaption = "A:B:C:D";
    timeCaption = "Time";
    commentCaption = "Comment";
    hardwareCaption = "HW";
    bandCaption = "Band";
    turnCaption = "Turn";
    turnedText = "Turned";
    shotAtCaption = "Shot at";
    dateCaption = "Date";
    relayCaption = "Relay";
    laneCaption = "Lane";
    manualText = "Gen";
    simulatedText = "Sim";
    frameText = "Frameshot";
    smallAdvanceText = "Small advance";
    pressureTexts = {"Wrong pressure", "Suspicius pressure", "Not optimal pressure"};
    resultTexts = {"DNF", "DNS", "DSQ", "NOE"};
    decimalSign = ".";
    for (int s = 1; s <= 20; ++s)
        seriesNames[s - 1] = platform::StringFormat("Serie %d", s);
}

void ShotListSettings::SetTitles(std::string_view competition, std::string_view date, std::string_view owner,
                                 std::string_view rangeName, std::string_view target)
{
    headText1 = competition;
    headText2 = date;
    headText3 = owner;
    headText4 = rangeName;
    headText5 = target;
}

std::string ShotListSettings::SeriesName(int series) const
{
    if (series < 1 || series > kSeriesNames)
        return platform::StringFormat("%d", series);
    if (seriesNames[series - 1].empty())
        return platform::StringFormat("%d", series);
    return seriesNames[series - 1];
}

namespace ShotListLayout {

Page PageOf(int width, int height, int ox, int oy)
{
    Page page;
    page.W = width - 10;
    page.H = height - 10;
    page.m = ox < 156 ? 150 - ox : 5;
    page.t = oy < 151 ? 150 - oy : 0;
    page.F = page.m + 10;
    page.landscape = page.H < page.W;
    page.rowsPerPage = page.landscape ? 45 : 68;
    double k = static_cast<double>(page.W - page.F) / (page.F + 935);
    double x = page.F + kWidths[0] * k;
    page.x[0] = static_cast<int>(x);
    for (int i = 1; i <= 13; ++i) {
        x += kWidths[i] * k;
        page.x[i] = static_cast<int>(x);
    }
    return page;
}

std::vector<Heading> Headings(const ShotListSettings& settings, const Page& page)
{
    constexpr int kGap = 10;  // 1 mm between two headings
    const auto& x = page.x;
    const int dateLeft = x[5] + 20;
    const int commentLeft = x[12] + 20;
    // The value has the number column beside it, which has no heading.
    return {
        {settings.valueCaption, x[2], true, x[2] - x[0]},
        {settings.xCaption, x[3], true, x[3] - x[2] - kGap},
        {settings.yCaption, x[4], true, x[4] - x[3] - kGap},
        {"R", x[5], true, x[5] - x[4] - kGap},
        // The date and time columns share one heading.
        {settings.dateCaption, dateLeft, false, x[7] - dateLeft - kGap},
        {settings.turnCaption, x[8], true, x[8] - x[7] - kGap},
        {settings.temperatureCaption, x[9], true, x[9] - x[8] - kGap},
        {settings.sensorCaption, x[10], true, x[10] - x[9] - kGap},
        {settings.hardwareCaption, x[11], true, x[11] - x[10] - kGap},
        {settings.bandCaption, x[12], true, x[12] - x[11] - kGap},
        {settings.commentCaption, commentLeft, false, page.W - commentLeft},
    };
}

std::string Millimetres(int micrometres, double scale, std::string_view sign)
{
    long v = std::lround(micrometres * scale);
    std::string s(sign);
    if (v < 0)
        return platform::StringFormat("-%ld%s%03ld", -v / 1000, s.c_str(), -v % 1000);
    return platform::StringFormat("%ld%s%03ld", v / 1000, s.c_str(), v % 1000);
}

int ListedSeries(const ShotRecord& shot)
{
    int counting = shot.countingSeries & 0x7F;
    return counting != 0 ? counting : shot.series & 0x7F;
}

RowTexts Row(const ShotListSettings& settings, const CDataComp& values, const CardRecord& card,
             const ShotListRecord& list, int slot, int n, int r, int first)
{
    const ShotRecord& shot = list.shots[slot];
    const std::string sign = settings.decimalSign;
    RowTexts row;
    row.mark = shot.countingSeries != 0 ? "[X]" : "[  ]";
    row.number = platform::StringFormat("%2d", r);
    int fired = shot.series & 0x7F;
    if (fired != n)
        row.number += " " + settings.SeriesName(fired).substr(0, 8);

    std::string value;
    values.ValueText(shot.value, card.valueSystem, value);
    bool marked = (shot.flags & CDataComp::kFlagMarked) != 0;
    row.value = settings.mode == 1 && marked ? "[" + value + "]" : value;

    row.coordinates = (shot.flags & CDataComp::kFlagNoCoordinates) == 0;
    row.date = platform::StringFormat("%d%02d.%02d.%02d", shot.century, shot.year, shot.month, shot.day);
    row.time = platform::StringFormat("%02d:%02d:%02d%s%02d", shot.hour, shot.minute, shot.second, sign.c_str(), shot.hundredths);
    if (!row.coordinates) {
        if (shot.flags & CDataComp::kFlagCopied)
            row.remarks += platform::StringFormat("%s (%d) ", settings.copiedText.c_str(), shot.data41);
        row.remarks += settings.manualText + " ";
        return row;
    }
    row.x = Millimetres(shot.x, settings.distanceScale, sign);
    row.y = Millimetres(shot.y, settings.distanceScale, sign);
    row.radius = Millimetres(shot.radius, settings.distanceScale, sign);

    int v = shot.shotAt;
    std::string time;
    CTextUtil::FormatTime(time, std::abs(v), 100, sign);
    bool turned = false;
    switch (settings.mode) {
    case 1:
        row.turn = "-" + time;
        turned = marked;
        break;
    case 2: {
        int a = shot.data44, b = first >= 0 ? list.shots[first].data44 : a;
        row.turn = platform::StringFormat("%d", RunNumber(a, b));
        break;
    }
    case 129:
        row.turn = platform::StringFormat("%02d: %s%s", shot.data44 & 127, v < 0 ? "-" : "", time.c_str());
        turned = marked;
        break;
    default:
        row.turn = (v < 0 ? "-" : "") + time;
        break;
    }
    bool hardware = (shot.flags & kFlagHardware) != 0;
    if (!hardware && shot.temperature < 12700)
        row.temperature = platform::StringFormat("%d", shot.temperature / 100) + platform::Ansi("°C");
    if (shot.sensorA != 255) {
        if (shot.sensorB == 255 && shot.sensorC == 255 && shot.sensorD == 255)
            row.sensors = platform::StringFormat("%3d", shot.sensorA);
        else if (shot.sensorD == 255)
            row.sensors = platform::StringFormat("%3d:%3d:%3d", shot.sensorA, shot.sensorB, shot.sensorC);
        else
            row.sensors = platform::StringFormat("%3d:%3d:%3d:%3d", shot.sensorA, shot.sensorB, shot.sensorC, shot.sensorD);
    }
    row.hardware = hardware ? platform::StringFormat("%d", shot.data17 & 15) : platform::StringFormat("%d:%02d", shot.data42, shot.data43);
    int band = shot.data45 & 0x7FFF;
    row.band = (shot.flags & kFlagBandMarker) ? platform::StringFormat(">%d", band) : platform::StringFormat("%d", band);

    if (shot.flags & CDataComp::kFlagCopied)
        row.remarks += platform::StringFormat("%s (%d) ", settings.copiedText.c_str(), shot.data41);
    if ((shot.flags & CDataComp::kFlagFromTarget) == 0)
        row.remarks += settings.simulatedText + " ";
    if (turned)
        row.remarks += settings.turnedText + " ";
    if (shot.flags & CDataComp::kFlagFrame)
        row.remarks += settings.frameText + " ";
    if (shot.flags & kFlagShortAdvance)
        row.remarks += settings.smallAdvanceText + " ";
    if (!hardware) {
        switch (values.RateSensors(list, slot, card.targetType, card.sensitivity)) {
        case 75:
            row.remarks += settings.pressureTexts[0];
            break;
        case 50:
            row.remarks += settings.pressureTexts[1];
            break;
        case 25:
            row.remarks += settings.pressureTexts[2];
            break;
        default:
            break;
        }
    }
    return row;
}

Plan PlanOf(const ShotListRecord& list, const uint8_t order[CDataComp::kSlots], int rowsPerPage)
{
    Plan plan;
    int count = 0, y = 0, page = 1, previous = -1;
    bool started = false;
    for (int n = 1; n <= CDataComp::kMaxSeries; ++n) {
        int r = 0, first = -1;
        for (int i = 0; i < CDataComp::kSlots && order[i] != CDataComp::kOrderEnd; ++i) {
            int slot = order[i];
            if (slot >= CDataComp::kSlots || ListedSeries(list.shots[slot]) != n)
                continue;
            int c = count;
            count = c + 1;
            if (c > rowsPerPage) {
                ++page;
                count = 0;
                plan.lines.push_back({Line::kHead, page, 0, n, -1, 0, -1});
                y = kFirstRow;
            }
            if (!started) {
                plan.lines.push_back({Line::kHead, page, 0, n, -1, 0, -1});
                y = kFirstRow;
                started = true;
            }
            if (n != previous) {
                y += kHeadingGap;
                plan.lines.push_back({Line::kHeading, page, y, n, -1, 0, -1});
                y += kRowStep;
                count += 2;
            }
            if (first < 0)
                first = slot;
            plan.lines.push_back({Line::kRow, page, y, n, slot, ++r, first});
            plan.lastBottom = y;
            y += kRowStep;
            previous = n;
        }
    }
    plan.pages = page;
    return plan;
}

}  // namespace ShotListLayout
