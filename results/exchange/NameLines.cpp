#include "results/exchange/NameLines.h"

#include <cstdio>
#include <cstdlib>

namespace results {
namespace {

// Cut to width, then filled with blanks to it.
std::string Column(const std::string& text, size_t width)
{
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

}  // namespace

std::string ExchangeValue(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string KmeValue(std::string text)
{
    text = ExchangeValue(std::move(text));
    for (char& c : text)
        if (c == ';')
            c = ',';
    return text;
}

std::string StartScoreText(int tenths)
{
    char text[24];
    std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", std::abs(tenths / 10), std::abs(tenths % 10));
    return text;
}

std::string NameColumnLine(int target, const std::string& className, const std::string& name,
                           const std::string& club, int startScoreTenths)
{
    char head[8];
    std::snprintf(head, sizeof head, "%2d", target);
    char tail[16];
    std::snprintf(tail, sizeof tail, "%3d\r\n", startScoreTenths);
    return std::string(head) + " " + std::string(8, ' ') + " " + Column(ExchangeValue(className), 3) + " " +
           Column(ExchangeValue(name), 20) + " " + Column(ExchangeValue(club), 20) + " " + tail;
}

std::string KmeFreeLine(const std::string& kmeId, int relay, int target)
{
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, ";%d;%d;;;;0;0\r\n", relay, target);
    return KmeValue(kmeId) + numbers;
}

std::string KmeShooterLine(const std::string& kmeId, int relay, int target, const std::string& name,
                           const std::string& club, const std::string& className, int startScoreTenths,
                           int startNr)
{
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, ";%d;%d;", relay, target);
    char tail[32];
    std::snprintf(tail, sizeof tail, ";%d;%d\r\n", startScoreTenths / 10, startNr);
    return KmeValue(kmeId) + numbers + KmeValue(name) + ";" + KmeValue(club) + ";" + KmeValue(className) + tail;
}

}  // namespace results
