#pragma once
// The software loader's settings in .\Admin.ini, section [Admin]: the USB
// adapter's name, the lane range, the port list index and the unit type
// list index. Values outside what the loader can use are not taken: a file
// edited by hand must not send the loader to lane 0 or to a port it lacks.
#include <string>

struct LoaderSettings {
    static constexpr char kPath[] = ".\\Admin.ini";
    static constexpr int kLastPort = 10;      // the port list: none, COM1..COM9, USB
    static constexpr int kLastUnitType = 14;  // fifteen unit types

    std::string usbNr;  // read only while empty
    int first = 1;      // read only when the file's value is not 0
    int last = 10;
    int com = 0;
    int sensor = 0;

    // Reads the file over these values; a lane range that is not 1..99 with
    // First <= Last keeps the one before, a port or unit type out of range
    // becomes 0.
    void Load(const std::string& path = kPath);
    // 0, or -1 when the file could not be written.
    int Save(const std::string& path = kPath) const;
};
