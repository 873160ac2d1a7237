#pragma once
// What the files of a folder hold, to show that a run changed none of them
// but those it should: a checksum per file (for a file too large to read in
// a test, its size, identity and time instead).
#include "TempFolder.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace bvtest {

inline std::map<std::string, std::string> FolderSums(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> sums;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file()) {
            sums[name] = e.is_fifo() ? "fifo" : "other";
            continue;
        }
        const auto size = e.file_size();
        if (size > (16u << 20)) {
            sums[name] = std::to_string(size) + " bytes, written " +
                         std::to_string(e.last_write_time().time_since_epoch().count());
            continue;
        }
        sums[name] = std::to_string(size) + " bytes, sum " +
                     std::to_string(std::hash<std::string>{}(TempFolder::Read(e.path().string())));
    }
    return sums;
}

}  // namespace bvtest
