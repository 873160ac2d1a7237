// The upload of the framed site to the organiser's FTP server: the start
// file and every file of the data folder that differs from what this list
// object last sent, over one connection per run.
//
// A file counts as sent only once the server took it, so a file that failed
// (one cut off by a server that died or froze half-way among them) goes
// again on the next run, whole; a server that stopped answering or went away
// ends the run at once; and files are told apart by size and SHA-256,
// since the old 8-bit sum misses most changes of a page (a digit that moves
// from one column to the next keeps it).
#include "results/lists/web/WebUpload.h"

#include "platform/files/FileSystem.h"
#include "platform/net/FtpSession.h"
#include "platform/system/Codepage.h"
#include "results/data/CompetitionItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"

namespace results {
namespace {

// The messages of a failed upload send the user to BVLog.txt: its lines must
// be there at the log's default threshold, as errors.
constexpr int kFailureLevel = 90;

std::string Server(CBVConfig& user) { return ReadItem(user, UserItems::kFtpServer); }

}  // namespace

WebUpload::WebUpload(CDataList& list, UploadTable& sent) : ListProducer(list), m_sent(sent) {}

WebUpload::~WebUpload() = default;

bool WebUpload::Connect()
{
    CBVConfig& user = m_comp.User();
    const std::string server = Server(user);
    if (server.empty())
        return false;
    m_ftp = std::make_unique<platform::FtpSession>();
    // The user and password go only into the login; the log gets the server.
    const platform::FtpStatus status = m_ftp->Connect(server, ReadItem(user, UserItems::kFtpUser),
                                                    ReadItem(user, UserItems::kFtpPassword), platform::FtpMode::Passive);
    if (status != platform::kFtpOk) {
        BV_LOG(m_list.Log(), kFailureLevel, "Error with connecting to ftp server %s - %s (%d)", server.c_str(), m_ftp->Error().c_str(),
               m_ftp->Reply());
        m_ftp.reset();
        return false;
    }
    return true;
}

// The file, and on a line of its own what the server or the connection did.
void WebUpload::LogTransferFailure(const std::string& name)
{
    BV_LOG(m_list.Log(), kFailureLevel, "Error with transfering file %s", name.c_str());
    BV_LOG(m_list.Log(), kFailureLevel, "%s (%d)", m_ftp->Error().c_str(), m_ftp->Reply());
}

void WebUpload::Close()
{
    if (m_ftp)
        m_ftp->Close();
    m_ftp.reset();
}

WebUploadOutcome WebUpload::Run()
{
    WebUploadOutcome outcome;
    if (!m_comp.User().IsOpen())
        m_list.PrepareRows();
    m_comp.User().Refresh();
    if (Server(m_comp.User()).empty()) {
        outcome.noServer = true;  // nothing to do, and nothing to say
        return outcome;
    }
    if (!Connect()) {
        m_list.Report(TextFtpConnectFailed(), CDataList::Message::Error);
        return outcome;
    }
    outcome.connected = true;
    // Whatever ends the run, the connection ends with it.
    struct Closer {
        WebUpload& upload;
        ~Closer() { upload.Close(); }
    } closer{*this};

    const std::string folder = ReadItem(m_comp.User(), UserItems::kFtpFolder) + "/";
    if (m_ftp->ChangeFolder(folder) != platform::kFtpOk) {
        BV_LOG(m_list.Log(), kFailureLevel, "Error with folder on ftp server %s - error nr %d", folder.c_str(),
               static_cast<int16_t>(m_ftp->Reply()));
        m_list.Report(ResString(IDS_FTP_FOLDER_ERROR), CDataList::Message::Error);
        return outcome;
    }

    // The start file. When it changed every data file goes too: the pages
    // link to one another, and a new start may come with a new server.
    const std::string startPath = kPWebFolder + kStartFrameName;
    UploadMark startMark;
    bool startChanged = false;
    if (UploadMarkOf(startPath, startMark) && m_sent.StartChanged(startMark)) {
        startChanged = true;
        if (m_ftp->PutFile(startPath, kStartFrameName) == platform::kFtpOk) {
            m_sent.RecordStart(startMark);
            ++outcome.sent;
            if (m_list.onFileSent)
                m_list.onFileSent(kStartFrameName);
        } else {
            LogTransferFailure(kStartFrameName);
            ++outcome.failed;
            m_list.Report(ResString(IDS_FTP_TRANSFER_ERROR), CDataList::Message::Error);
            if (!m_ftp->IsConnected())
                return outcome;  // the server stopped answering: the rest waits for the next run
        }
    }

    if (m_ftp->ChangeFolder("data") != platform::kFtpOk) {
        if (m_ftp->MakeFolder("data") != platform::kFtpOk) {
            BV_LOG(m_list.Log(), kFailureLevel, "Error with creating folder %s", (folder + "data").c_str());
            m_list.Report(ResString(IDS_FTP_MAKE_FOLDER_ERROR), CDataList::Message::Error);
            return outcome;
        }
        if (m_ftp->ChangeFolder("data") != platform::kFtpOk) {
            BV_LOG(m_list.Log(), kFailureLevel, "Error with changing to folder %s", (folder + "data").c_str());
            m_list.Report(ResString(IDS_FTP_MAKE_FOLDER_ERROR), CDataList::Message::Error);
            return outcome;
        }
    }

    int failedData = 0;
    for (const std::string& name : platform::FindFiles(kPWebDataFolder, "*")) {
        if (m_list.StopRequested())
            return outcome;
        const std::string path = kPWebDataFolder + name;
        UploadMark mark;
        if (!UploadMarkOf(path, mark))
            continue;  // gone since the listing: the writer replaced it
        if (!startChanged && !m_sent.IsChanged(name, mark))
            continue;
        // The server keeps its names as a Linux web server serves them, in UTF-8.
        if (m_ftp->PutFile(path, platform::Cp1252ToUtf8(name)) == platform::kFtpOk) {
            m_sent.Record(name, mark);
            ++outcome.sent;
            if (m_list.onFileSent)
                m_list.onFileSent("data/" + name);
        } else {
            LogTransferFailure(name);
            ++failedData;
            if (!m_ftp->IsConnected())
                break;  // the server stopped answering: the rest waits for the next run
        }
    }
    outcome.failed += failedData;
    if (failedData > 0)
        m_list.Report(ResString(IDS_FTP_TRANSFER_ERROR), CDataList::Message::Error);
    outcome.completed = true;
    return outcome;
}

}  // namespace results
