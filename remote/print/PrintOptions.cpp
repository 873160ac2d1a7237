#include "remote/print/PrintOptions.h"

#include <algorithm>

using namespace PrintItems;

namespace {

int ReadKey(RemoteSettings& settings, int e, int key, int defaultValue)
{
    return settings.Store().ReadInt(kSection, e, key, defaultValue);
}

}  // namespace

PrintOptions PrintOptions::Read(RemoteSettings& settings, int e)
{
    PrintOptions o;
    o.margin = ReadKey(settings, e, kMargin, o.margin);
    o.seriesPerPage = ReadKey(settings, e, kSeriesPerPage, o.seriesPerPage);
    o.black = ReadKey(settings, e, kBlack, 1) != 0;
    o.practice = ReadKey(settings, e, kPractice, 1) != 0;
    o.names = ReadKey(settings, e, kNames, 1) != 0;
    o.kind = std::clamp(ReadKey(settings, e, kKind, 0), 0, 2);
    o.startSum = ReadKey(settings, e, kStartSum, 1) != 0;
    o.firstLane = ReadKey(settings, e, kFirstLane, o.firstLane);
    o.lastLane = ReadKey(settings, e, kLastLane, o.lastLane);
    o.firstRelay = ReadKey(settings, e, kFirstRelay, o.firstRelay);
    o.lastRelay = ReadKey(settings, e, kLastRelay, o.lastRelay);
    char buffer[CBVConfig::kValueSize];
    o.flags = settings.Store().ReadString(kSection, e, kFlags, kDefaultFlags, buffer, sizeof buffer);
    return o;
}

PrintOptions PrintOptions::Unreadable()
{
    PrintOptions o;
    o.margin = o.seriesPerPage = 0;
    o.black = o.practice = o.names = false;
    o.kind = kCards;
    o.firstLane = o.lastLane = o.firstRelay = o.lastRelay = 0;
    o.flags = "000000000000";
    return o;
}

void PrintOptions::SetFlag(int i, bool on)
{
    if (i < 0 || i > 10)
        return;
    if (flags.size() < 11)
        flags.resize(11, '1');
    flags[static_cast<size_t>(i)] = on ? '1' : '0';
}

void PrintOptions::Store(RemoteSettings& settings, int e, Key key) const
{
    if (e <= 0)
        return;
    auto write = [&](int value) { settings.Write(ConfigIntItem{kSection, e, key, 0}, value); };
    switch (key) {
    case kBlack: write(black ? 1 : 0); break;
    case kPractice: write(practice ? 1 : 0); break;
    case kNames: write(names ? 1 : 0); break;
    case kKind: write(kind); break;
    case kStartSum: write(startSum ? 1 : 0); break;
    case kMargin: write(margin); break;
    case kSeriesPerPage: write(seriesPerPage); break;
    case kFirstLane: write(firstLane); break;
    case kLastLane: write(lastLane); break;
    case kFirstRelay: write(firstRelay); break;
    case kLastRelay: write(lastRelay); break;
    case kFlags: {
        // Only the eleven boxes change; what follows is kept as stored.
        char buffer[CBVConfig::kValueSize];
        std::string stored = settings.Store().ReadString(kSection, e, kFlags, kDefaultFlags, buffer, sizeof buffer);
        if (stored.size() < 11)
            stored.resize(11, '1');
        for (int i = 0; i <= 10; ++i)
            stored[static_cast<size_t>(i)] = Flag(i) ? '1' : '0';
        settings.Write(ConfigTextItem{kSection, e, kFlags, ""}, stored);
        break;
    }
    }
}

void PrintOptions::StoreAll(RemoteSettings& settings, int e) const
{
    for (Key key : {kBlack, kPractice, kNames, kKind, kStartSum, kMargin, kSeriesPerPage, kFirstLane, kLastLane,
                    kFirstRelay, kLastRelay, kFlags})
        Store(settings, e, key);
}

PrintOptions PrintOptions::Clamped() const
{
    PrintOptions o = *this;
    o.seriesPerPage = std::clamp(seriesPerPage, 1, 20);
    o.margin = std::clamp(margin, 0, 99);
    o.firstLane = std::clamp(firstLane, 1, kMaxLane);
    o.lastLane = std::clamp(lastLane, 1, kMaxLane);
    o.firstRelay = std::clamp(firstRelay, 0, 9999);
    o.lastRelay = std::clamp(lastRelay, 0, 9999);
    return o;
}

std::vector<std::pair<int, int>> PrintKeys(bool startNumbers, int firstRelay, int lastRelay, int firstLane, int lastLane)
{
    std::vector<std::pair<int, int>> keys;
    for (int relay = std::max(firstRelay, 1); relay <= lastRelay; ++relay) {
        if (startNumbers) {
            keys.emplace_back(relay, 0);
            continue;
        }
        for (int lane = std::max(firstLane, 1); lane <= std::min(lastLane, PrintOptions::kMaxLane); ++lane)
            keys.emplace_back(relay, lane);
    }
    return keys;
}
