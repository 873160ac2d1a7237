#pragma once
// The Nettcast export of a Nettcast picture: on every display tick, each
// target that is due is drawn off-screen at the export size and written to
// the local folder as a PNG picture and a shot file, and sent to the folder
// on the FTP server; the index, start page and program files follow when
// the targets were loaded, a connection was made or a shooter changed. The
// window shows one status line instead of the picture.
//
// The FTP calls run on the display loop: a dead server holds it for the
// session's limits (seconds), after which the export works locally and
// tries to connect again 10 s later.
#include <string>

#include "display/draw/PicturePainter.h"
#include "display/model/VisData.h"
#include "foundation/files/BVLog.h"
#include "platform/net/FtpSession.h"

class NettcastExport {
public:
    NettcastExport(CVisData& data, PicturePainter& painter);
    virtual ~NettcastExport() = default;
    NettcastExport(const NettcastExport&) = delete;
    NettcastExport& operator=(const NettcastExport&) = delete;

    // One export pass over the current picture.
    void ExportNettcast();

    // How long the server may hold a pass.
    platform::FtpLimits limits{5, 5, 10};

private:
    struct Pass;
    // Connects to the server; false (the wait begun) when that failed.
    bool Connect(const CVisPicture& pic, const platform::Rect& window);
    // Sends a local file to the FTP folder; false when the server did not take it.
    bool Put(const std::string& local, const std::string& remote);
    void ExportTarget(Pass& pass, CVisTarget& t, const std::string& stem);
    void WriteIndexFiles(Pass& pass, CVisPicture& pic);

    CVisData& m_data;
    PicturePainter& m_painter;
    CBVLog m_log;
    std::string m_lastWriteFailed;
};
