#include "tools/bvsim/lib/UnitFrame.h"

#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace bvsim {

uint8_t WeightedSum(const Bytes& payload)
{
    unsigned sum = 0;
    for (size_t k = 0; k < payload.size(); ++k)
        sum += payload[k] * static_cast<unsigned>(k + 2);
    return static_cast<uint8_t>(sum & 0xFF);
}

Bytes MessageFrame(uint8_t addressByte, const Bytes& payload, bool checksumError)
{
    Bytes frame{addressByte};
    auto put = [&](uint8_t b) {
        if (b < 0x10) {
            frame.push_back(0x0F);
            frame.push_back(static_cast<uint8_t>(0x10 + b));
        } else {
            frame.push_back(b);
        }
    };
    for (uint8_t b : payload)
        put(b);
    put(static_cast<uint8_t>(WeightedSum(payload) + (checksumError ? 1 : 0)));
    frame.push_back(0x0D);
    return frame;
}

HeardFrame Hear(const Bytes& frame)
{
    HeardFrame h;
    if (frame.size() < 2 || frame.back() != 0x0D)
        return h;
    uint8_t first = frame[0];
    if (frame.size() == 2) {
        if (first == 0x02)
            h.kind = HeardFrame::Acknowledge;
        else if (first >= 0x40 && first < 0x80) {
            h.kind = HeardFrame::Poll;
            h.slot = first - 0x40;
        }
        return h;
    }
    if (first < 0x80 || first >= 0xC0)
        return h;
    Bytes data;
    for (size_t k = 1; k + 1 < frame.size(); ++k) {
        uint8_t b = frame[k];
        if (b == 0x0F && k + 2 < frame.size())
            b = static_cast<uint8_t>(frame[++k] - 0x10);
        data.push_back(b);
    }
    if (data.size() < 2)
        return h;
    uint8_t checksum = data.back();
    data.pop_back();
    h.payload = data;
    h.checksumOk = WeightedSum(data) == checksum;
    h.slot = first - 0x80;
    h.kind = first == 0xBC ? HeardFrame::Broadcast : HeardFrame::Message;
    return h;
}

void Put24(Bytes& payload, int position, int v)
{
    for (int k = 0; k < 3; ++k)
        payload[static_cast<size_t>(position - 2 + k)] = static_cast<uint8_t>(v >> (8 * k));
}

Bytes ShotPayload(const ShotFields& shot)
{
    Bytes p(49, 0);
    auto at = [&](int position) -> uint8_t& { return p[static_cast<size_t>(position - 2)]; };
    at(2) = 0x40;
    at(3) = 'C';
    at(4) = static_cast<uint8_t>(shot.lane);
    at(5) = 0x20;
    at(6) = static_cast<uint8_t>(shot.competition);
    at(7) = static_cast<uint8_t>(shot.relay);
    at(8) = static_cast<uint8_t>(shot.relay >> 8);
    at(9) = static_cast<uint8_t>(shot.series);
    at(10) = static_cast<uint8_t>(shot.shotNumber);
    at(11) = static_cast<uint8_t>(shot.shotNumber);
    at(12) = static_cast<uint8_t>(shot.series);
    at(17) = static_cast<uint8_t>(shot.value);
    at(18) = static_cast<uint8_t>(shot.value >> 8);
    at(26) = 0x80;  // the slot state of a shot with its position
    Put24(p, 28, shot.x);
    Put24(p, 31, shot.y);
    for (int k = 0; k < 4; ++k)
        at(35 + k) = shot.sensors[k];
    Put24(p, 39, shot.hundredths);
    return p;
}

namespace {

// A decimal number with at most `decimals` digits after the point, scaled
// to a whole number of them.
bool ParseScaled(const std::string& text, int decimals, int& out)
{
    size_t i = 0;
    bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    long long whole = 0, fraction = 0;
    int digits = 0, fractionDigits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits)
        whole = whole * 10 + (text[i] - '0');
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++fractionDigits)
            if (fractionDigits < decimals)
                fraction = fraction * 10 + (text[i] - '0');
            else
                return false;
    }
    if (i != text.size() || digits + fractionDigits == 0 || digits > 7)
        return false;
    for (int k = fractionDigits; k < decimals; ++k)
        fraction *= 10;
    long long scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    long long v = whole * scale + fraction;
    out = static_cast<int>(negative ? -v : v);
    return true;
}

bool ParseWhole(const std::string& text, int& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    out = std::stoi(text);
    return true;
}

}  // namespace

bool ParseCardLine(const std::string& line, CardShot& shot)
{
    std::istringstream in(line);
    std::vector<std::string> f;
    for (std::string word; in >> word;)
        f.push_back(word);
    if (f.size() < 6 || f.size() > 7)
        return false;
    CardShot s;
    if (!ParseWhole(f[0], s.relay) || !ParseWhole(f[1], s.lane) || !ParseWhole(f[2], s.series) ||
        !ParseScaled(f[3], 2, s.value) || !ParseScaled(f[4], 3, s.x) || !ParseScaled(f[5], 3, s.y) ||
        (f.size() == 7 && !ParseWhole(f[6], s.shotNumber)))
        return false;
    if (s.relay < 1 || s.relay > 65535 || s.lane < 1 || s.lane > 255 || s.series < 1 || s.series > 28 ||
        s.value < 0 || s.value > 1399 || s.shotNumber > 250)
        return false;
    shot = s;
    return true;
}

std::string Hex(const Bytes& bytes)
{
    std::string s;
    char two[4];
    for (size_t k = 0; k < bytes.size(); ++k) {
        std::snprintf(two, sizeof two, k ? " %02X" : "%02X", bytes[k]);
        s += two;
    }
    return s;
}

bool ParseHex(const std::string& text, Bytes& out)
{
    out.clear();
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == '\t') {
            if (high >= 0)
                return false;
            continue;
        }
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return high < 0;
}

}  // namespace bvsim
