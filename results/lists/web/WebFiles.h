#pragma once
// The web folders of BVRes and the names in them, and the fingerprints the
// upload tells files apart by.
#include "results/lists/ListRows.h"

#include <cstdint>
#include <string>

namespace results {

// The slide show (AWeb) and the framed site (PWeb), each with its data folder.
inline const std::string kAWebFolder = ".\\AWeb\\";
inline const std::string kAWebDataFolder = ".\\AWeb\\data\\";
inline const std::string kPWebFolder = ".\\PWeb\\";
inline const std::string kPWebDataFolder = ".\\PWeb\\data\\";
// The framed site's start file, the one file of the site outside its data folder.
inline const std::string kStartFrameName = "StartFrame.htm";

// The 8-bit sum of a file's bytes by the old rule: in blocks of 200 bytes,
// byte i of a block weighs i. 0 when the file cannot be read.
uint8_t FileChecksum(const std::string& path);
// The sum, size and SHA-256 of a file; false when it cannot be read.
bool UploadMarkOf(const std::string& path, UploadMark& mark);

}  // namespace results
