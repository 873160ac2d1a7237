// Any bytes as a record file. The first byte chooses how it is opened and
// used; the rest is the file. Whatever the bytes, opening, reading, writing
// and converting keep to the layout: the record count follows the file's
// length, every record read is the bytes at its place, appends and rewrites
// land whole where they belong, and no journal is left behind.
#include "foundation/files/BVFileEx.h"
#include "fuzz/FuzzScratch.h"
#include "platform/files/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using fuzz::Check;

std::string g_folder;
std::string g_path;  // the record file

std::string Contents()
{
    std::string bytes;
    platform::ReadWholeFile(g_path, bytes);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every write is flushed: the files lie in memory when possible.
    static const fuzz::ScratchFolder folder("fuzz-record");
    g_folder = folder.Path();
    g_path = folder.File("f.bvd");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t control = data[0];
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    unlink("BVLog.txt");
    if (!fuzz::WriteWholeFile(g_path, file.data(), file.size()))
        return 0;

    RecordFileHeader header{};
    if (file.size() >= sizeof header)
        std::memcpy(&header, file.data(), sizeof header);
    // Mostly what the header says, so that the file opens and its records are
    // walked; otherwise a fixed layout, so that wrong headers are met too.
    bool trustHeader = (control & 0x01) && header.recordSize >= 4;
    int16_t recSize = trustHeader ? header.recordSize : 36;
    int16_t version = trustHeader ? header.version : 1;
    uint8_t options = CBVFileEx::kUpdated | (control & 0x0E);
    bool writes = control & 0x10;
    if (writes)
        options |= CBVFileEx::kWritable;

    CBVFileEx f;
    int rc = f.Open(g_path, recSize, version, 0, options);
    if (rc == -99 && (control & 0x20) && writes && header.recordSize >= 4 && header.recordSize < 32000) {
        int16_t newSize = static_cast<int16_t>(header.recordSize + 4);
        int16_t newVersion = static_cast<int16_t>(header.version + 1);
        int64_t count = (static_cast<int64_t>(file.size()) - 8) / header.recordSize;
        if (f.Convert(g_folder, newSize, newVersion) == 0) {
            std::string now = Contents();
            Check(static_cast<int64_t>(now.size()) == 8 + count * newSize);
            for (int64_t n = 0; n < count && n < 64; ++n) {
                Check(now.compare(8 + n * newSize, header.recordSize, file, 8 + n * header.recordSize,
                                  header.recordSize) == 0);
                Check(now.compare(8 + n * newSize + header.recordSize, 4, std::string(4, '\0')) == 0);
            }
        }
        for (const std::string& backup : platform::FindFiles(g_folder, "BVD*.TMP"))
            platform::RemoveFile(g_folder + "/" + backup);
        return 0;
    }
    if (rc != 0)
        return 0;

    const int64_t fileCount = (static_cast<int64_t>(file.size()) - 8) / recSize;
    const int count = f.GetRecCount();
    Check(count == fileCount);
    std::vector<char> record(static_cast<size_t>(recSize));
    for (int n = 1; n <= count && n <= 64; ++n) {
        Check(f.ReadRec(n, record.data()) == 0);
        Check(std::memcmp(record.data(), file.data() + 8 + static_cast<size_t>(n - 1) * recSize, record.size()) == 0);
        Check(f.ReadRecDirect(n, record.data()) == 0);
        if (options & CBVFileEx::kCached) {
            std::vector<char> keyed(record);
            Check(f.ReadRecKey(keyed.data()) == 0);
            Check(f.LastKeyHit() >= 1 && f.LastKeyHit() <= n);
        }
    }
    Check(f.ReadRec(count + 1, record.data()) != 0);
    f.CacheVerify(1);

    if (writes) {
        std::vector<char> fresh(static_cast<size_t>(recSize), static_cast<char>(control));
        int32_t key = 0x7A7A7A7A;
        std::memcpy(fresh.data(), &key, 4);
        int n = 0;
        Check(f.AddRec(n, fresh.data()) == 0);
        Check(n == count + 1);
        std::string now = Contents();
        Check(static_cast<int64_t>(now.size()) == 8 + static_cast<int64_t>(n) * recSize);
        Check(now.compare(8 + static_cast<size_t>(n - 1) * recSize, fresh.size(), fresh.data(), fresh.size()) == 0);
        Check(f.WriteRec(1, fresh.data()) == 0);
        if (options & CBVFileEx::kCached) {
            std::vector<char> update(fresh);
            if (recSize > 4)
                update[recSize - 1] = 'k';
            Check(f.WriteRecKey(update.data()) == 0);  // record 1 has this key now: an update
            Check(f.GetRecCount() == n);
        }
        const size_t last = 8 + static_cast<size_t>(n) * recSize - 1;
        uint8_t expected = static_cast<uint8_t>(Contents()[last] + 1);
        Check(f.IncrementField(n, recSize - 1, 1) == expected);
        Check(static_cast<uint8_t>(Contents()[last]) == expected);
        if (control & 0x40) {
            Check(f.CutToHeader() == 0);
            Check(Contents().size() == 8);
        }
    }
    f.Close();
    Check(!CRecordJournal::PendingAt(g_path + ".undo"));
    return 0;
}
