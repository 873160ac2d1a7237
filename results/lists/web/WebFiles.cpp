#include "results/lists/web/WebFiles.h"

#include "foundation/files/BVLog.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"

#include <openssl/evp.h>

#include <cstdio>

namespace results {
namespace {

// The old sum weighs the bytes of blocks this long.
constexpr int kChecksumBlock = 200;

}  // namespace

std::string WebTitleLine() { return std::string("<title>BVRes - ") + kMakerWebAddress + "</title>\r\n"; }

bool WriteWebFile(CDataList& list, const std::string& path, const std::string& bytes, const char* failure)
{
    if (platform::WriteFileAtomically(path, bytes) != 0) {
        BV_LOG(list.Log(), 80, "Cannot write %s", path.c_str());
        list.Report(failure ? std::string(failure) : ResString(IDS_WEB_WRITE_ERROR), CDataList::Message::Error);
        return false;
    }
    if (list.onPageWritten)
        list.onPageWritten(path);
    return true;
}

bool WriteEmptyPage(CDataList& list, const std::string& path, const std::string& title, const std::string& message)
{
    const std::string page = "<html>\r\n<head>\r\n<basefont face=\"arial\">\r\n" + WebTitleLine() +
                             "</head><body bgcolor=\"#FFFFDF\">\r\n" +
                             "<center><font color=\"red\"><H2><u><b>" + title + "</b></u></H2></font></center>\r\n" +
                             "<center><font color=\"red\"><H3><u><b>" + message +
                             "</b></u></H3></font></center>\r\n</HTML>\r\n";
    return WriteWebFile(list, path, page, nullptr);
}

uint8_t FileChecksum(const std::string& path)
{
    std::FILE* f = std::fopen(platform::NativePath(path).c_str(), "rb");
    if (!f)
        return 0;
    uint8_t sum = 0;
    unsigned char block[kChecksumBlock];
    for (;;) {
        const size_t n = std::fread(block, 1, sizeof block, f);
        // The weight starts again in every block, so its first byte never counts.
        for (size_t i = 0; i < n; ++i)
            sum = static_cast<uint8_t>(sum + block[i] * i);
        if (n < sizeof block)
            break;
    }
    std::fclose(f);
    return sum;
}

bool UploadMarkOf(const std::string& path, UploadMark& mark)
{
    mark = UploadMark{};
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes))
        return false;
    uint8_t sum = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        sum = static_cast<uint8_t>(sum + static_cast<unsigned char>(bytes[i]) * (i % kChecksumBlock));
    mark.checksum = sum;
    mark.size = static_cast<int64_t>(bytes.size());
    unsigned int length = 0;
    return EVP_Digest(bytes.data(), bytes.size(), mark.digest.data(), &length, EVP_sha256(), nullptr) == 1 &&
           length == mark.digest.size();
}

bool UploadTable::IsChanged(const std::string& name, const UploadMark& mark) const
{
    for (const Entry& entry : m_files)
        if (entry.name == name)
            return !(entry.mark == mark);
    return true;
}

bool UploadTable::Record(const std::string& name, const UploadMark& mark)
{
    if (name.empty())
        return false;
    for (Entry& entry : m_files) {
        if (entry.name == name) {
            entry.mark = mark;
            return true;
        }
    }
    m_files.push_back({name, mark});
    return true;
}

}  // namespace results
