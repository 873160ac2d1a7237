#include "foundation/cards/PrintCard.h"

#include "foundation/text/FieldText.h"

#include <cstring>

void PrintCard::Clear()
{
    PrintCard* link = next;
    lane = 0;
    relay = 0;
    std::memset(name, 0, sizeof name);
    std::memset(club, 0, sizeof club);
    std::memset(cls, 0, sizeof cls);
    std::memset(category, 0, sizeof category);
    targetType = 0;
    bulletRadius = 0;
    scaleDenominator = -1;
    scaleNumerator = -1;
    reserved = 0;
    equipment = 0;
    startScore = 0;
    std::memset(valueSystem, 0, sizeof valueSystem);
    std::memset(shotCount, 0, sizeof shotCount);
    std::memset(seriesSum, 0, sizeof seriesSum);
    std::memset(runningTotal, 0, sizeof runningTotal);
    for (int32_t& t : seriesTarget)
        t = -1;
    std::memset(seriesName, 0, sizeof seriesName);
    std::memset(matchSeries, 0, sizeof matchSeries);
    totalSum = 0;
    totalShots = 0;
    for (PrintShot& shot : shots)
        shot = PrintShot();
    shotEntries = 0;
    showTimes = 0;
    resultState = 0;
    std::memset(comment, 0, sizeof comment);
    reserved2 = 0;
    // The list link belongs to the printer's list, not to the card's content.
    next = link;
}

void PrintCard::SetText(char (&field)[kTextSize], std::string_view text)
{
    SetFieldText(field, kTextSize, text);
}

void PrintCard::SetComment(std::string_view text) { SetFieldText(comment, kCommentSize, text); }

std::string PrintCard::Comment() const { return FieldText(comment, kCommentSize); }

int PrintCard::SeriesTargetType(int slot) const
{
    if (slot >= 0 && slot < kSeriesSlots && seriesTarget[slot] >= 0)
        return seriesTarget[slot];
    return targetType;
}

double PrintCard::Ratio() const
{
    if (scaleNumerator > 0 && scaleDenominator > 0)
        return static_cast<double>(scaleNumerator) / scaleDenominator;
    return 1.0;
}

int PrintCard::AddShot(int slot, int number, int value, double x, double y, int time)
{
    if (!IsSeries(slot) || shotEntries < 0 || shotEntries >= kShots)
        return -1;
    int index = shotEntries++;
    PrintShot& shot = shots[index];
    shot.series = static_cast<uint8_t>(slot);
    shot.number = static_cast<uint8_t>(number);
    shot.value = static_cast<int16_t>(value);
    shot.x = x;
    shot.y = y;
    shot.time = time;
    return index;
}

void PrintCard::SumUp()
{
    int32_t running = startScore;
    totalSum = 0;
    totalShots = 0;
    for (int s = kFirstSeries; s <= kLastSeries; ++s) {
        running += seriesSum[s];
        runningTotal[s] = running;
        totalSum += seriesSum[s];
        totalShots += shotCount[s];
    }
}

void PrintCard::SetStartScoreTenths(int tenths) { startScore = tenths * 10; }

bool PrintCard::SetSeriesTenths(int slot, int resultsValueSystem, int sumTenths)
{
    if (!IsSeries(slot))
        return false;
    valueSystem[slot] = ValueSystemOfResults(resultsValueSystem);
    seriesSum[slot] = sumTenths * 10;
    return true;
}

bool PrintCard::SetShotTenths(int k, int valueByte, int slot, int number, double x, double y, int time)
{
    if (k < 1 || k > kShots)
        return false;
    PrintShot& shot = shots[k - 1];
    shot = PrintShot();
    if (valueByte >= 130 || valueByte < 0) {
        shot.value = static_cast<int16_t>(valueByte >= 130 && valueByte <= 255 ? valueByte * 10 : kNoValue);
    } else {
        // A shot of another series than 1..39 is kept out of every series.
        shot.series = static_cast<uint8_t>(IsSeries(slot) ? slot : 0);
        shot.number = static_cast<uint8_t>(number);
        shot.value = static_cast<int16_t>(valueByte * 10);
        shot.x = x;
        shot.y = y;
        shot.time = time;
    }
    if (k > shotEntries)
        shotEntries = k;
    return true;
}

uint8_t PrintCard::ValueSystemOfResults(int resultsValueSystem)
{
    // The results program's 6 counts an inner ten as 11, like the range's 3.
    return resultsValueSystem == 6 ? 3 : 1;
}
