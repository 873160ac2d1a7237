// The upload of the framed site to the organiser's FTP server: the start
// file and every file of the data folder that differs from what this list
// object last sent, over one connection per run.
//
// A file counts as sent only once the server took it, so a file that failed
// goes again on the next run; and files are told apart by size and SHA-256,
// since the old 8-bit sum misses most changes of a page (a digit that moves
// from one column to the next keeps it).
#include "results/lists/DataList.h"
#include "results/lists/web/WebFiles.h"

#include "foundation/files/BVLog.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/net/FtpSession.h"
#include "platform/system/Codepage.h"
#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>

namespace results {
namespace {

constexpr int kBlock = 200;

std::string Server(CBVConfig& user) { return ReadItem(user, UserItems::kFtpServer); }

}  // namespace

uint8_t FileChecksum(const std::string& path)
{
    std::FILE* f = std::fopen(platform::NativePath(path).c_str(), "rb");
    if (!f)
        return 0;
    uint8_t sum = 0;
    unsigned char block[kBlock];
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
        sum = static_cast<uint8_t>(sum + static_cast<unsigned char>(bytes[i]) * (i % kBlock));
    mark.checksum = sum;
    mark.size = static_cast<int64_t>(bytes.size());
    unsigned int length = 0;
    return EVP_Digest(bytes.data(), bytes.size(), mark.digest.data(), &length, EVP_sha256(), nullptr) == 1 &&
           length == mark.digest.size();
}

bool CDataList::ConnectFtp()
{
    CBVConfig& user = m_comp.User();
    const std::string server = Server(user);
    if (server.empty())
        return false;
    ftp = std::make_unique<platform::FtpSession>();
    // The user and password go only into the login; the log gets the server.
    const platform::FtpStatus status = ftp->Connect(server, ReadItem(user, UserItems::kFtpUser),
                                                    ReadItem(user, UserItems::kFtpPassword), platform::FtpMode::Passive);
    if (status != platform::kFtpOk) {
        BV_LOG(m_log, 30, "Error with connecting to ftp server %s - %s (%d)", server.c_str(), ftp->Error().c_str(),
               ftp->Reply());
        ftp.reset();
        return false;
    }
    return true;
}

void CDataList::CloseFtp()
{
    if (ftp)
        ftp->Close();
    ftp.reset();
}

bool CDataList::IsUploadChanged(const std::string& name, const UploadMark& mark) const
{
    const auto& entries = upload->entries;
    for (size_t i = 1; i < entries.size(); ++i)
        if (entries[i].name == name)
            return !(entries[i].mark == mark);
    return true;
}

bool CDataList::SetUploaded(const std::string& name, const UploadMark& mark)
{
    if (name.empty())
        return false;
    auto& entries = upload->entries;
    for (size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].name == name) {
            entries[i].mark = mark;
            return true;
        }
    }
    entries.push_back({name, mark});
    return true;
}

CDataList::UploadOutcome CDataList::UploadWeb()
{
    UploadOutcome outcome;
    if (!m_comp.User().IsOpen())
        PrepareRows();
    m_comp.User().Refresh();
    if (Server(m_comp.User()).empty()) {
        outcome.noServer = true;  // nothing to do, and nothing to say
        return outcome;
    }
    if (!ConnectFtp()) {
        Report(TextFtpConnectFailed(), Message::Error);
        return outcome;
    }
    outcome.connected = true;
    // Whatever ends the run, the connection ends with it.
    struct Closer {
        CDataList& list;
        ~Closer() { list.CloseFtp(); }
    } closer{*this};

    const std::string folder = ReadItem(m_comp.User(), UserItems::kFtpFolder) + "/";
    if (ftp->ChangeFolder(folder) != platform::kFtpOk) {
        BV_LOG(m_log, 30, "Error with folder on ftp server %s - error nr %d", folder.c_str(),
               static_cast<int16_t>(ftp->Reply()));
        Report(ResString(IDS_FTP_FOLDER_ERROR), Message::Error);
        return outcome;
    }

    // The start file. When it changed every data file goes too: the pages
    // link to one another, and a new start may come with a new server.
    const std::string startPath = kPWebFolder + kStartFrameName;
    UploadMark startMark;
    bool startChanged = false;
    if (UploadMarkOf(startPath, startMark) && !(upload->entries[0].name == kStartFrameName &&
                                                upload->entries[0].mark == startMark)) {
        startChanged = true;
        if (ftp->PutFile(startPath, kStartFrameName) == platform::kFtpOk) {
            upload->entries[0] = {kStartFrameName, startMark};
            ++outcome.sent;
            if (onFileSent)
                onFileSent(kStartFrameName);
        } else {
            BV_LOG(m_log, 30, "Error with transfering file %s", kStartFrameName.c_str());
            ++outcome.failed;
            Report(ResString(IDS_FTP_TRANSFER_ERROR), Message::Error);
        }
    }

    if (ftp->ChangeFolder("data") != platform::kFtpOk) {
        if (ftp->MakeFolder("data") != platform::kFtpOk) {
            BV_LOG(m_log, 30, "Error with creating folder %s", (folder + "data").c_str());
            Report(ResString(IDS_FTP_MAKE_FOLDER_ERROR), Message::Error);
            return outcome;
        }
        if (ftp->ChangeFolder("data") != platform::kFtpOk) {
            BV_LOG(m_log, 30, "Error with changing to folder %s", (folder + "data").c_str());
            Report(ResString(IDS_FTP_MAKE_FOLDER_ERROR), Message::Error);
            return outcome;
        }
    }

    int failedData = 0;
    for (const std::string& name : platform::FindFiles(kPWebDataFolder, "*")) {
        if (StopRequested())
            return outcome;
        const std::string path = kPWebDataFolder + name;
        UploadMark mark;
        if (!UploadMarkOf(path, mark))
            continue;  // gone since the listing: the writer replaced it
        if (!startChanged && !IsUploadChanged(name, mark))
            continue;
        // The server keeps its names as a Linux web server serves them, in UTF-8.
        if (ftp->PutFile(path, platform::Cp1252ToUtf8(name)) == platform::kFtpOk) {
            SetUploaded(name, mark);
            ++outcome.sent;
            if (onFileSent)
                onFileSent("data/" + name);
        } else {
            BV_LOG(m_log, 30, "Error with transfering file %s", name.c_str());
            ++failedData;
        }
    }
    outcome.failed += failedData;
    if (failedData > 0)
        Report(ResString(IDS_FTP_TRANSFER_ERROR), Message::Error);
    outcome.completed = true;
    return outcome;
}

}  // namespace results
