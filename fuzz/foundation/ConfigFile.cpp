// Any bytes as a configuration file, read the way every program reads one:
// each item found reads back as the text in its field, never longer than 31
// characters; a writable store takes a new item and reads it back.
#include "foundation/files/BVConfig.h"
#include "foundation/text/FieldText.h"
#include "fuzz/FuzzScratch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

using fuzz::Check;

std::string g_folder;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every write is flushed: the files lie in memory when possible.
    static const fuzz::ScratchFolder folder("fuzz-config");
    g_folder = folder.Path();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool writable = data[0] & 1;
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    unlink("BVLog.txt");
    if (!fuzz::WriteWholeFile(g_folder + "/c.bvc", file.data(), file.size()))
        return 0;

    CBVConfig cfg;
    cfg.Open(g_folder + "/c.bvc", writable ? 1 : 0);
    char buffer[32];
    char big[300];
    if (cfg.IsOpen()) {
        // Every record whose key is a valid address reads as its field, or
        // as the text of the first record of that key.
        for (size_t at = 8; at + 36 <= file.size() && at < 8 + 36 * 64; at += 36) {
            ConfigRecord rec;
            std::memcpy(&rec, file.data() + at, sizeof rec);
            int k = rec.key % 1000, section = rec.key / 1000 % 1000, index = rec.key / 1000000;
            if (rec.key <= 0 || CBVConfig::MakeKey(section, index, k) != rec.key)
                continue;
            char* text = cfg.ReadString(section, index, k, "default", buffer, sizeof buffer);
            Check(std::strlen(text) <= 31);
            std::string first;
            for (size_t p = 8; p + 36 <= file.size(); p += 36) {
                ConfigRecord other;
                std::memcpy(&other, file.data() + p, sizeof other);
                if (other.key == rec.key) {
                    first = FieldText(other.value, sizeof other.value);
                    break;
                }
            }
            Check(first.size() >= 32 ? text[0] == '\0' : first == text);
            cfg.ReadInt(section, index, k, 7);
            Check(cfg.ReadLong(section, index, k, big, sizeof big) < static_cast<int>(sizeof big));
        }
        cfg.Refresh();
    }
    Check(std::strlen(cfg.ReadString(999, 999, 999, "default", nullptr, 5000)) <= 299);
    if (writable && cfg.IsOpen()) {
        Check(cfg.WriteString(999, 999, 999, "fuzz value") == 0);
        Check(std::strcmp(cfg.ReadString(999, 999, 999, "", buffer, sizeof buffer), "fuzz value") == 0);
    }
    return 0;
}
