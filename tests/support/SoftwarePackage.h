#pragma once
// Target software images and the packages they come in, made for the
// loader's tests: an S-record image with its version bytes, packed by
// Python's zipfile into a .ZIP, or behind a program stub into a
// self-extracting .EXE.
#include "RunCommand.h"
#include "SRecordText.h"
#include "TempFolder.h"

#include <cstdint>
#include <string>

namespace bvtest {

// An image of firstPass records of 64 bytes from 0x0100, the six version
// bytes at 0xBFFA (major, minor, century, year, month, day: 14.03.2011)
// and secondPass records from 0x10000.
inline std::string VersionedImage(uint8_t major, uint8_t minor, int firstPass, int secondPass)
{
    std::string text = S0("2011");
    for (int k = 0; k < firstPass; ++k)
        text += S2(0x0100 + 64u * static_cast<uint32_t>(k), Counting(64, static_cast<uint8_t>(major + 3 * k)));
    text += S2(0xBFFA, {major, minor, 20, 11, 3, 14});
    for (int k = 0; k < secondPass; ++k)
        text += S2(0x10000 + 64u * static_cast<uint32_t>(k), Counting(64, static_cast<uint8_t>(minor + 5 * k)));
    return text + S8();
}

// Packs the bytes as the one entry `entry` of a package at `path`; with
// selfExtracting the archive follows a program stub. False when Python
// could not write the archive.
inline bool MakeSoftwarePackage(const std::string& path, const std::string& entry, const std::string& bytes,
                                bool selfExtracting)
{
    TempFolder::Write("package.content", bytes);
    int status = -1;
    RunPython("import sys, zipfile\n"
              "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
              "    z.write('package.content', sys.argv[2])\n",
              "package.zip " + entry, &status);
    if (status != 0)
        return false;
    std::string zip = TempFolder::Read("package.zip");
    std::string stub = selfExtracting ? std::string("MZ\x90\0\x03\0\0\0", 8) + std::string(4088, '\x4E') : "";
    TempFolder::Write(path, stub + zip);
    RunCommand("rm -f package.zip package.content");
    return true;
}

}  // namespace bvtest
