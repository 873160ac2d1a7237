#include "display/settings/LoopIntervals.h"

#include "platform/files/PrivateProfile.h"

LoopIntervals LoopIntervals::Read(const std::string& iniPath)
{
    auto ticks = [&](const char* key, int defaultMs) {
        return Ticks(platform::GetPrivateProfileInt("BVVis", key, defaultMs, iniPath));
    };
    LoopIntervals l;
    l.config = ticks("Config", 15000);
    l.name = ticks("Name", 15000);
    l.shot = ticks("Shot", 500);
    l.pict = ticks("Pict", 1000);
    return l;
}
