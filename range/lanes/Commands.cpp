#include "range/lanes/Commands.h"

#include "foundation/comp/RunNumber.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void Start(LineMessage& m, uint8_t command, int length, int lane)
{
    std::memset(&m, 0, sizeof m);
    m.data[0] = static_cast<uint8_t>(length);
    m.data[2] = 0x40;
    m.data[3] = command;
    m.data[4] = static_cast<uint8_t>(lane);
}

void Put16BE(LineMessage& m, int at, int value)
{
    m.data[at] = static_cast<uint8_t>(value >> 8);
    m.data[at + 1] = static_cast<uint8_t>(value);
}

void Put16LE(LineMessage& m, int at, int value)
{
    m.data[at] = static_cast<uint8_t>(value);
    m.data[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put24LE(LineMessage& m, int at, int value)
{
    m.data[at] = static_cast<uint8_t>(value);
    m.data[at + 1] = static_cast<uint8_t>(value >> 8);
    m.data[at + 2] = static_cast<uint8_t>(value >> 16);
}

void Put32LE(LineMessage& m, int at, int value)
{
    Put16LE(m, at, value);
    Put16LE(m, at + 2, value >> 16);
}

uint8_t Capped(int value, int cap) { return static_cast<uint8_t>(std::min(value, cap)); }

bool On(const std::string& options, size_t position)
{
    return position < options.size() && options[position] == '1';
}

}  // namespace

void ModeCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kMode, kLength, lane);
    // Bit 3 turns the monitors' clock on; only a competition with the
    // shooter clock wants it.
    m.data[5] = static_cast<uint8_t>(shooterClock ? mode : mode & ~0x08);
    // The units run their clock from the moment the command was made (or the
    // clock started), not from when the bus got round to sending it.
    m.tick = (mode & 0x08) ? clockStartTick : builtTick;
    m.agePosition = 6;
    m.ageMode = Cmd::kAgeHundredths2;
    m.data[8] = static_cast<uint8_t>(hour);
    m.data[9] = static_cast<uint8_t>(minute);
    m.data[10] = static_cast<uint8_t>(second);
    if (clockRunning) {
        m.data[12] = !shooterClock ? 0x40 : clockMode == 2 ? 0x21 : 0x11;
        Put16LE(m, 13, periodSeconds * 100);
        Put32LE(m, 15, extraSeconds * 100);
        m.data[19] = Capped(periodSeconds, 250);
        m.data[20] = Capped(delay / 10, 250);
        Put16LE(m, 21, green);
        m.data[23] = 3;
        Put16LE(m, 24, red);
        m.data[27] = rep > 250 ? 255 : static_cast<uint8_t>(rep);
    } else {
        m.data[12] = shooterClock ? 0x41 : 0x40;
    }
    m.data[26] = 20;
}

void LaneSetupCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kLaneSetup, kLength, lane);
    m.data[1] = Cmd::kAddressAll;
    m.data[5] = static_cast<uint8_t>(takingPart ? flags : flags & 0x90);
    if (sensitivity > 0) {
        m.data[6] = 0x85;
        m.data[7] = static_cast<uint8_t>(sensitivity - 1);
    } else {
        m.data[6] = 0x84;
        m.data[7] = 3;
    }
    m.data[8] = 0x0D;
    m.data[9] = static_cast<uint8_t>(bandLength);
    m.data[10] = static_cast<uint8_t>(bandFrequency);
    m.data[11] = static_cast<uint8_t>(sensitivity);
    m.data[13] = takingPart ? 1 : 0;
    Put16BE(m, 14, relay);
    m.data[16] = takingPart && markKind > 1 ? 1 : 0;
    m.data[17] = static_cast<uint8_t>(zoomMode + 1);
    m.data[18] = static_cast<uint8_t>(competition);
    m.data[19] = static_cast<uint8_t>(day);
    m.data[20] = static_cast<uint8_t>(month);
    m.data[21] = static_cast<uint8_t>(year % 100);
    m.data[22] = static_cast<uint8_t>(targetCode);
    Put16LE(m, 23, bulletRadius200);
    Put16LE(m, 25, distance);
    Put16LE(m, 27, simulatedDistance);
    m.data[29] = static_cast<uint8_t>(seriesMeasure);
    m.data[30] = static_cast<uint8_t>(tempo);
    // A taking-part lane of a turning-target range shooting a program that
    // orders its shots by time is told so by equipment 9.
    m.data[31] = static_cast<uint8_t>(externalEquipment == 1 && takingPart && programEquipment == 129 ? 9 : externalEquipment);
    m.data[32] = static_cast<uint8_t>(zoomLevel);
    m.data[33] = static_cast<uint8_t>(decimals * 16 + (On(options, 0) ? 1 : 0) + (On(options, 1) ? 2 : 0) +
                                      (On(options, 2) ? 8 : 0) + (On(options, 3) ? 4 : 0));
    m.data[34] = On(options, 9) ? 1 : 0;
    m.data[35] = static_cast<uint8_t>(valueSystem);
    int b36 = takingPart ? (On(options, 12) ? 1 : 0) + (On(options, 14) ? 4 : 0) : 5;
    if (programEquipment == 131 && externalEquipment == 3)
        b36 += 0x10;
    m.data[36] = static_cast<uint8_t>(b36);
    m.data[37] = practice ? 1 : 0;
    m.data[38] = static_cast<uint8_t>(series & 0x7F);
    m.data[39] = static_cast<uint8_t>(series & 0x7F);
}

void LaneResetCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kLaneSetup, kLength, 0);
    m.data[5] = 0xA0;
    m.data[6] = 0x80;
}

uint8_t ProgramCmd::SeriesBits(int externalEquipment, int programEquipment, int seriesTarget, int classFlag)
{
    if (externalEquipment == 1 && (programEquipment == 1 || programEquipment == 129))
        return seriesTarget == 1 ? 1 : seriesTarget == 2 ? 2 : 0;
    if ((programEquipment == 3 || programEquipment == 131) && (externalEquipment == 3 || externalEquipment == 4))
        return static_cast<uint8_t>(classFlag & 0x7F);
    return 1;
}

void ProgramCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kProgram, kLength, lane);
    m.data[5] = 3;
    m.data[6] = practice ? 1 : 0;
    for (int s = 1; s <= 28; ++s) {
        m.data[6 + s] = static_cast<uint8_t>((shots[s] ? 0x80 : 0) | bits[s]);
        m.data[34 + s] = static_cast<uint8_t>(0x80 + (shots[s] & 0xFF));
    }
}

void ShotRequestCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kShotRequest, kLength, lane);
    m.data[5] = static_cast<uint8_t>(lane);
    m.data[7] = static_cast<uint8_t>(first);
    m.data[8] = static_cast<uint8_t>(last);
    m.data[9] = fetching ? 3 : 2;
}

void CardSummaryCmd::Build(LineMessage& m) const
{
    if (kind == 7) {
        // A card holds at most 250 shots, so at most 25 check bytes.
        size_t count = std::min<size_t>(checks.size(), 25);
        Start(m, Cmd::kCardSummary, 12 + static_cast<int>(count), lane);
        m.data[5] = 7;
        Put16BE(m, 6, relay);
        m.data[8] = static_cast<uint8_t>(competition);
        m.data[9] = static_cast<uint8_t>(shots);
        Put24LE(m, 10, shotsSum);
        std::copy_n(checks.begin(), count, m.data + 13);
        return;
    }
    Start(m, Cmd::kCardSummary, 12, lane);
    m.data[5] = 1;
    if (fetching) {
        Put16BE(m, 6, relay);
        m.data[8] = static_cast<uint8_t>(printSeries);
    }
}

int SumsCmd::RunByte(int externalEquipment, int shotByte44, int firstByte44, int shotNumber)
{
    if (externalEquipment == 1)
        return shotByte44 & 0xFF;
    if (externalEquipment == 2)
        return RunNumber(shotByte44, firstByte44) & 0xFF;
    return shotNumber & 0xFF;
}

int16_t SumsCmd::Scaled(int micrometres)
{
    int v = micrometres / 10 * 32 / 100;
    // 32000 tells the monitor the shot has no coordinates; a shot far out
    // must not wrap round into that, or onto the other side of the target.
    return static_cast<int16_t>(std::clamp(v, -(kNoCoordinates - 1), kNoCoordinates - 1));
}

void SumsCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kSums, kLength, 0);
    m.data[5] = static_cast<uint8_t>(kind);
    m.data[6] = static_cast<uint8_t>(laneShown);
    m.data[7] = static_cast<uint8_t>(seriesShown);
    m.data[8] = static_cast<uint8_t>(zoomMode + 1);
    if (kind == kClear)
        return;
    Put16BE(m, 9, seriesTenths);
    Put16BE(m, 11, totalTenths);
    m.data[13] = static_cast<uint8_t>(shotIndex + 1);
    m.data[14] = static_cast<uint8_t>(valueTenths);
    m.data[15] = static_cast<uint8_t>(runByte);
    Put16BE(m, 16, Scaled(xMicrometres));
    Put16BE(m, 18, Scaled(yMicrometres));
}

void TextCmd::Build(LineMessage& m) const
{
    int length = static_cast<int>(std::min<size_t>(text.size(), kMaxText));
    Start(m, Cmd::kText, 12 + length, lane);
    m.data[5] = 0x40;
    m.data[8] = 2;
    if (length > 0) {
        // Centred on a 50-column line; a longer text starts at the left edge.
        m.data[6] = static_cast<uint8_t>(std::max(0, 25 - length / 2));
        m.data[7] = 22;
        m.data[9] = ' ';
    }
    std::memcpy(m.data + 10, text.data(), length);
    m.data[10 + length] = ' ';
}

void MarkCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kMark, kLength, Cmd::kAllLanes);
    m.data[5] = 1;
    m.data[6] = static_cast<uint8_t>(series);
    m.data[7] = static_cast<uint8_t>(series);
    m.data[9] = static_cast<uint8_t>(tempo);
    m.data[10] = static_cast<uint8_t>(zoomMode + 1);
    if (form == kShoot) {
        m.data[8] = seriesMarking ? 1 : 0;
        m.data[11] = seriesMarking ? 0x25 : 0x07;
        return;
    }
    m.data[8] = seriesMarking ? 0x81 : 0x80;
    m.data[11] = static_cast<uint8_t>((form == kMark ? 0x0F : 0x0D) | (shooterClock ? 0x80 : 0));
}

void TwinMarkCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kSums, kLength, 0);
    m.data[5] = 1;
    m.data[6] = 2;
    m.data[7] = static_cast<uint8_t>(series);
    m.data[8] = static_cast<uint8_t>(zoomMode + 1);
}

void ScreenLineCmd::Build(LineMessage& m) const
{
    int length = static_cast<int>(std::min<size_t>(text.size(), kMaxText));
    Start(m, Cmd::kText, length + 9, lane ? lane : Cmd::kAllLanes);
    m.data[6] = static_cast<uint8_t>(column);
    m.data[7] = static_cast<uint8_t>(row);
    m.data[8] = static_cast<uint8_t>(size);
    std::memcpy(m.data + 9, text.data(), static_cast<size_t>(length));
    m.data[9 + length] = 0;
}

void ClearScreenCmd::Build(LineMessage& m) const { Start(m, Cmd::kClearScreen, kLength, Cmd::kAllLanes); }

int FinalMarkCmd::Scaled(int micrometres, int simulatedDistance, int actualDistance)
{
    if (actualDistance <= 0)
        actualDistance = 100;
    double scaled = micrometres * 0.032 * simulatedDistance / actualDistance;
    constexpr double kMost = SumsCmd::kNoCoordinates - 1;
    if (scaled > kMost)
        return static_cast<int>(kMost);
    if (scaled < -kMost)
        return -static_cast<int>(kMost);
    return static_cast<int>(scaled);
}

void FinalMarkCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kSums, kLength, 0);
    m.data[5] = static_cast<uint8_t>(kind);
    m.data[6] = static_cast<uint8_t>(lane);
    m.data[7] = static_cast<uint8_t>(series);
    if (kind == kEnd) {
        m.data[8] = 2;
        return;
    }
    m.data[8] = static_cast<uint8_t>(zoom);
    Put16BE(m, 9, markedSum / 10);
    Put16BE(m, 11, startValue / 10 + markedSum / 10);
    if (kind != kShot)
        return;
    m.data[13] = static_cast<uint8_t>(shotIndex);
    m.data[14] = static_cast<uint8_t>(valueHundredths / 10);
    m.data[15] = static_cast<uint8_t>(runByte);
    Put16BE(m, 16, x);
    Put16BE(m, 18, y);
}

void FinalNameCmd::Build(LineMessage& m) const
{
    char line[64];
    std::snprintf(line, sizeof line, "%2d: %s", lane, name.c_str());
    const size_t length = std::strlen(line);
    Start(m, Cmd::kText, static_cast<int>(length) + 9, 0);
    m.data[5] = 0x80;
    m.data[6] = 2;
    m.data[7] = 46;
    m.data[8] = 2;
    std::memcpy(m.data + 9, line, length);
    m.data[9 + length] = 0;
}

void CardOverviewCmd::FirstLines(int first[29]) const
{
    int below = 0;
    for (int s = 1; s <= 28; ++s) {
        first[s] = seriesShots[s] ? below + 1 : 0;
        if (seriesShots[s])
            below += 1 + seriesShots[s] / 10;
    }
    first[0] = 0;
}

std::vector<LineMessage> CardOverviewCmd::Build() const
{
    auto shotsOf = [this](int s) { return s >= 1 && s <= 28 ? seriesShots[s] : 0; };
    int first[29];
    FirstLines(first);

    // The card line of every shot that the target delivered, was entered
    // without coordinates or was copied in: ten to a line within its series.
    std::vector<int> lineOf(shots.size(), -1);
    int nth[29] = {};
    for (size_t i = 0; i < shots.size(); ++i) {
        const Shot& shot = shots[i];
        int t = shot.countingSeries;
        if ((shot.flags & 0x0803) && t >= 1 && t <= 28)
            lineOf[i] = first[t] + nth[t]++ / 10;
    }

    uint8_t bitmap[32] = {};
    int count[kLines] = {};
    int sum[kLines] = {};
    for (size_t i = 0; i < shots.size(); ++i) {
        const Shot& shot = shots[i];
        int t = shot.countingSeries;
        int s = shot.series & 0x7F;
        int p = (shot.flags & 0x0001) ? shot.position : 0;
        bool inBitmap = false;
        bool counts = false;
        if (shot.flags & 0x0802) {
            counts = t != 0 && shotsOf(t) != 0;
        } else if (t == 0 || t == 128) {
            inBitmap = shotsOf(s) != 0;
        } else if (t != s) {
            inBitmap = shotsOf(s) != 0;
            counts = shotsOf(t) != 0;
        }
        if (inBitmap)
            bitmap[p / 8] |= static_cast<uint8_t>(1 << (p % 8));
        if (counts && lineOf[i] >= 0 && lineOf[i] < kLines) {
            ++count[lineOf[i]];
            sum[lineOf[i]] += shot.countedValue;
        }
    }

    std::vector<LineMessage> parts;
    LineMessage part;
    Start(part, Cmd::kCardOverview, 0, lane);
    part.data[5] = 1;
    Put24LE(part, 6, startScore);
    int pos = 9;
    int low = 0;
    while (low < 32 && !bitmap[low])
        ++low;
    if (low == 32) {
        part.data[pos++] = 255;
    } else {
        int high = 31;
        while (!bitmap[high])
            --high;
        part.data[pos++] = static_cast<uint8_t>(low);
        part.data[pos++] = static_cast<uint8_t>(high);
        for (int b = low; b <= high; ++b)
            part.data[pos++] = static_cast<uint8_t>(~bitmap[b]);
    }

    int lowLine = 0;
    while (lowLine < kLines && !count[lowLine])
        ++lowLine;
    if (lowLine == kLines) {
        part.data[pos++] = 255;
    } else {
        int highLine = kLines - 1;
        while (!count[highLine])
            --highLine;
        part.data[pos++] = static_cast<uint8_t>(lowLine);
        int highAt = pos;
        part.data[pos++] = static_cast<uint8_t>(highLine);
        for (int line = lowLine; line <= highLine; ++line) {
            if (pos > kPartEnd) {
                part.data[highAt] = static_cast<uint8_t>(line - 1);
                part.data[0] = static_cast<uint8_t>(pos - 1);
                parts.push_back(part);
                Start(part, Cmd::kCardOverview, 0, lane);
                part.data[5] = 2;
                part.data[6] = 255;
                part.data[7] = static_cast<uint8_t>(line);
                part.data[8] = static_cast<uint8_t>(highLine);
                highAt = 8;
                pos = 9;
            }
            part.data[pos++] = static_cast<uint8_t>(count[line] | 0x80);
            if (count[line]) {
                part.data[pos++] = static_cast<uint8_t>(sum[line]);
                part.data[pos++] = static_cast<uint8_t>((sum[line] >> 8) | 0x80);
            }
        }
    }
    part.data[0] = static_cast<uint8_t>(pos - 1);
    parts.push_back(part);
    return parts;
}

void ZoomCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kMark, kLength, lane ? lane : Cmd::kAllLanes);
    m.data[5] = static_cast<uint8_t>(lane ? lane : Cmd::kAllLanes);
    m.data[6] = static_cast<uint8_t>(series);
    m.data[7] = static_cast<uint8_t>(series);
    m.data[9] = static_cast<uint8_t>(tempo);
    m.data[10] = static_cast<uint8_t>(level);
    m.data[11] = 0x12;
    m.targetAddress = 1;
}

int LaneValueCmd::LiftCode(int position)
{
    return position >= '3' && position <= '6' ? position + 3 : ':';
}

void LaneValueCmd::Build(LineMessage& m) const
{
    Start(m, command, length, lane);
    if (address)
        m.data[1] = Cmd::kAddressAll;
    if (length >= 5)
        m.data[5] = static_cast<uint8_t>(value);
}

void LightCmd::Build(LineMessage& m) const
{
    Start(m, Cmd::kLight, kLength, lane);
    m.data[1] = Cmd::kAddressAll;
    // Lamps hang in groups of five lanes; byte 6 picks the lane's lamp in its group.
    int index = std::max(lane, 1) - 1;
    m.data[5] = static_cast<uint8_t>(index / 5 + 1);
    m.data[6] = static_cast<uint8_t>(0x80 | (1 << (index % 5)));
    m.data[10] = 0x15;
    for (int i = 0; i < 3; ++i)
        m.data[11 + i] = static_cast<uint8_t>(intensity[i]);
}
