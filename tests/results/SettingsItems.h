#pragma once
// The items of settings files (.bvc) read straight from their bytes, and
// shown as lines a test can keep as its expected list:
//
//   Event1.bvc 8,2: 500=Serie 2 530=10 650=0
//
// one line per file, section and index, the keys in order; texts in UTF-8,
// code bytes (below 32, and 0x7F..0x9F) as \xHH.
#include "TempFolder.h"
#include "platform/system/Codepage.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>

namespace restest {

using ItemKey = std::tuple<int, int, int>;  // section, index, key
using Items = std::map<ItemKey, std::string>;
using FolderItems = std::map<std::string, Items>;  // by file name

inline Items ReadItems(const std::string& path)
{
    std::string bytes = bvtest::TempFolder::Read(path);
    Items items;
    for (size_t at = 8; at + 36 <= bytes.size(); at += 36) {
        int32_t key;
        std::memcpy(&key, &bytes[at], 4);
        std::string value(bytes.data() + at + 4, 32);
        value.resize(std::strlen(value.c_str()));
        items[{key / 1000 % 1000, key / 1000000, key % 1000}] = value;
    }
    return items;
}

// Every settings file of the folder.
inline FolderItems ReadFolder(const std::string& folder)
{
    FolderItems files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".bvc")
            files[entry.path().filename().string()] = ReadItems(entry.path().string());
    return files;
}

inline std::string Shown(const std::string& value)
{
    std::string shown;
    for (unsigned char c : value) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        } else {
            shown += platform::Cp1252ToUtf8(std::string(1, static_cast<char>(c)));
        }
    }
    return shown;
}

inline std::string Listing(const std::string& file, const Items& items)
{
    std::string text;
    std::pair<int, int> group{-1, -1};
    for (const auto& [key, value] : items) {
        auto [section, index, k] = key;
        if (group != std::make_pair(section, index)) {
            group = {section, index};
            text += (text.empty() ? "" : "\n") + file + " " + std::to_string(section) + "," + std::to_string(index) + ":";
        }
        text += " " + std::to_string(k) + "=" + Shown(value);
    }
    return text.empty() ? text : text + "\n";
}

// What the files of the folder hold now that they did not hold before: new
// and changed items; a new file without items shows as "FILE -".
inline std::string Changes(const FolderItems& before, const FolderItems& after)
{
    std::string text;
    for (const auto& [file, items] : after) {
        auto old = before.find(file);
        if (old == before.end() && items.empty()) {
            text += file + " -\n";
            continue;
        }
        Items changed;
        for (const auto& [key, value] : items)
            if (old == before.end() || !old->second.count(key) || old->second.at(key) != value)
                changed[key] = value;
        text += Listing(file, changed);
    }
    return text;
}

}  // namespace restest
