#pragma once
// The upload of the framed site to the organiser's FTP server (User.bvc's
// server, user, password and folder): the start file and every file of the
// data folder that differs from what the list object last sent, over one
// connection per run. When the start file changed every data file goes
// too: the pages link to one another, and a new start may come with a new
// server.
//
// A file counts as sent only once the server took it, so a file that failed
// (one cut off by a server that died or froze half-way among them) goes
// again on the next run, whole; a server that stopped answering or went away
// ends the run at once; and files are told apart by size and SHA-256
// (WebFiles.h), since the old 8-bit sum misses most changes of a page (a
// digit that moves from one column to the next keeps it).
#include "results/lists/ListProducer.h"
#include "results/lists/web/WebFiles.h"

#include <memory>

namespace platform {
class FtpSession;
}

namespace results {

class WebUpload : ListProducer {
public:
    // sent: what was sent in earlier runs, and is recorded as this one sends.
    WebUpload(CDataList& list, UploadTable& sent);
    ~WebUpload();

    WebUploadOutcome Run();

private:
    bool Connect();
    void Close();
    void LogTransferFailure(const std::string& name);

    UploadTable& m_sent;
    std::unique_ptr<platform::FtpSession> m_ftp;  // during the run
};

}  // namespace results
