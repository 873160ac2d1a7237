#include "line/loader/LoaderSettings.h"

#include "foundation/files/BVIniFile.h"

namespace {
constexpr char kSection[] = "Admin";
}

void LoaderSettings::Load(const std::string& path)
{
    CBVIniFile ini;
    ini.Open(path);
    if (usbNr.empty())
        usbNr = ini.GetString(kSection, "UsbNr", "");
    int f = ini.GetInt(kSection, "First", 0);
    int l = ini.GetInt(kSection, "Last", 0);
    f = f != 0 ? f : first;
    l = l != 0 ? l : last;
    if (f >= 1 && l <= 99 && f <= l) {
        first = f;
        last = l;
    }
    int c = ini.GetInt(kSection, "Com", com);
    com = c >= 0 && c <= kLastPort ? c : 0;
    int s = ini.GetInt(kSection, "Sensor", sensor);
    sensor = s >= 0 && s <= kLastUnitType ? s : 0;
}

int LoaderSettings::Save(const std::string& path) const
{
    CBVIniFile ini;
    ini.PutString(kSection, "UsbNr", usbNr);
    ini.PutInt(kSection, "First", first);
    ini.PutInt(kSection, "Last", last);
    ini.PutInt(kSection, "Com", com);
    ini.PutInt(kSection, "Sensor", sensor);
    return ini.Write(path);
}
