// Any bytes as one of the small ini files the programs keep beside them
// (BVLog.ini and the like) or as the user's profile: reading never fails
// badly, a key that is there reads the same through both readers, and a value
// written through the profile reads back while the file's other keys keep
// theirs.
#include "platform/files/PrivateProfile.h"
#include "platform/files/ProfileStore.h"
#include "platform/files/SystemPath.h"
#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::ScratchFolder folder("fuzz_ProfileFile");
    const std::string path = folder.File("Profile.ini");
    if (!fuzz::WriteWholeFile(path, data, size))
        return 0;

    // Names from the input itself, so that the readers meet sections and keys
    // that are there; blanks and line ends make no names.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string section = "Context", key = "Level";
    if (size > 2) {
        size_t at = static_cast<size_t>(data[0]) % size;
        size_t end = text.find_first_of("\r\n=[]", at);
        std::string word = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!word.empty() && word.size() < 40 && word.find('\0') == std::string::npos &&
            word.find_first_not_of(" \t") != std::string::npos && word.front() != ' ' && word.back() != ' ' &&
            word.front() != '\t' && word.back() != '\t')
            key = word;
    }

    const std::string system = path;  // a native path reads as a system path too
    std::string viaProfile = platform::GetPrivateProfileString(section, key, "\x01", system);
    (void)platform::GetPrivateProfileInt(section, key, 7, system);
    platform::IniProfileStore store(path);
    std::string viaStore = store.GetString(section, key, "\x01");
    (void)store.GetInt(section, key, 7);

    // A value written reads back, and another key that read before reads the
    // same after.
    const std::string other = platform::SameNameNoCase(key, "Other") ? "Another" : "Other";
    std::string otherBefore = store.GetString(section, other, "\x01");
    if (!store.WriteString(section, key, "fuzz value"))
        return 0;  // a profile that cannot be rewritten is left alone
    fuzz::Check(store.GetString(section, key, "") == "fuzz value");
    fuzz::Check(store.GetString(section, other, "\x01") == otherBefore);
    fuzz::Check(platform::GetPrivateProfileString(section, key, "", system) == "fuzz value");
    (void)viaProfile;
    (void)viaStore;
    return 0;
}
