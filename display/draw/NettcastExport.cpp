#include "display/draw/NettcastExport.h"

#include <set>

#include "display/nettcast/NettcastFiles.h"
#include "display/settings/VisSettings.h"

struct NettcastExport::Pass {
    bool pictures = true;
    bool binary = false;
    std::string local;   // ends in a separator, or empty
    std::string remote;  // the same
    std::string writeFailed;
    bool transferFailed = false;
};

NettcastExport::NettcastExport(CVisData& data, PicturePainter& painter) : m_data(data), m_painter(painter) {}

void NettcastExport::ExportNettcast()
{
    CVisPicture* pic = m_data.current;
    if (!pic)
        return;
    NettcastState& state = m_data.nettcast;
    Pass pass;
    const int format = ReadItem(pic->store, VisItems::kNettcastFormat);
    pass.pictures = Nettcast::ExportsPictures(format);
    pass.binary = Nettcast::ExportsBinary(format);
    pass.local = Nettcast::LocalFolder(pic->nettcastFolder);
    pass.remote = Nettcast::RemoteFolder(pic->ftpFolder);

    // The targets are drawn off-screen at the export size; the window keeps its own.
    const platform::Rect window = m_data.drawRect;
    m_data.drawRect = {0, 0, pic->exportWidth, pic->exportHeight};
    const bool drawing = m_painter.BeginDraw(false) == 0;
    if (state.ftpState < 0)
        ++state.ftpState;
    m_painter.LayoutPicture(false);

    for (auto& tp : pic->targets) {
        CVisTarget& t = *tp;
        if (!Nettcast::StepCountdown(t))
            continue;
        const std::string stem = Nettcast::Stem(t.event ? t.event->name : "");
        t.redrawMask = -1;
        if (t.lane <= 0)
            continue;
        if (state.ftpState == 0 && !Connect(*pic, window)) {
            // The others are written at the next pass; this one waits until
            // the connection may be tried again, and tries it.
            t.exportCountdown = Nettcast::kRetryCountdown;
            t.exportNeeded = 0;
            break;
        }
        // Without a picture to draw on (no memory) the targets stay due.
        if (!drawing)
            continue;
        ExportTarget(pass, t, stem);
        t.redrawMask = 0;
        t.exportNeeded = 0;
        t.exportCountdown = Nettcast::CountdownAfterExport(pic->exportTime);
        t.exportShotCount = t.currentShotCount;
    }

    // A shooter's names or relay changed since the index was written: it is
    // due again, or the new relay's shooters would never reach it.
    if (!pass.local.empty() && !state.indexDue && Nettcast::IndexText(*pic) != state.indexWritten)
        state.indexDue = true;
    if (!pass.local.empty() && state.indexDue)
        WriteIndexFiles(pass, *pic);

    m_painter.EndDraw(false);
    m_data.drawRect = window;
    Nettcast::StatusFacts facts;
    facts.writeFailed = pass.writeFailed;
    facts.transferFailed = pass.transferFailed;
    facts.ftpState = state.ftpState;
    facts.exportCount = state.exportCount;
    facts.server = pic->ftpServer;
    facts.ftpFolder = pic->ftpFolder;
    facts.localFolder = pass.local;
    state.status = Nettcast::StatusText(facts);
    // A folder that cannot be written to is logged once, not every tick.
    if (!pass.writeFailed.empty() && pass.writeFailed != m_lastWriteFailed)
        BV_LOG(m_log, 80, "Nettcast: not written %s", pass.writeFailed.c_str());
    m_lastWriteFailed = pass.writeFailed;
    m_painter.DrawStatusLine(window, state.status);
}

bool NettcastExport::Connect(const CVisPicture& pic, const platform::Rect& window)
{
    NettcastState& state = m_data.nettcast;
    if (pic.ftpServer.empty() || pic.ftpFolder.empty() || pic.nettcastFolder.empty()) {
        state.ftpState = Nettcast::kWaitAfterSetup;
        return true;  // the target is still written locally
    }
    m_painter.DrawStatusLine(window, "FTP Connecting to " + pic.ftpServer);
    // A session still held from before a failure goes first.
    state.Close();
    state.indexDue = true;
    state.ftp = std::make_unique<platform::FtpSession>();
    const platform::FtpStatus status =
        state.ftp->Connect(pic.ftpServer, pic.ftpUser, pic.ftpPassword, platform::FtpMode::Active, limits);
    if (status == platform::kFtpOk) {
        state.ftpState = 1;
        return true;
    }
    BV_LOG(m_log, 90, "Nettcast: %s", state.ftp->Error().c_str());
    state.Close();
    state.ftpState = Nettcast::kWaitAfterFailure;
    state.indexDue = false;
    return false;
}

bool NettcastExport::Put(const std::string& local, const std::string& remote)
{
    NettcastState& state = m_data.nettcast;
    if (!state.ftp)
        return false;
    if (state.ftp->PutFile(local, remote) == platform::kFtpOk)
        return true;
    BV_LOG(m_log, 80, "Nettcast: %s", state.ftp->Error().c_str());
    return false;
}

void NettcastExport::ExportTarget(Pass& pass, CVisTarget& t, const std::string& stem)
{
    NettcastState& state = m_data.nettcast;
    bool pictureWritten = false, shotsWritten = false;
    const std::string png = Nettcast::TargetFile(stem, t.lane, ".png");
    const std::string bvd = Nettcast::TargetFile(stem, t.lane, ".BVD");
    if (!pass.local.empty()) {
        m_painter.LayoutPanel(t, false);
        m_painter.DrawPanel(t, false);
        bool written = true;
        if (pass.pictures) {
            pictureWritten = Nettcast::ReplaceWhole(pass.local + png,
                                                    [this](std::FILE* file) { return m_painter.WritePicture(file); });
            if (!pictureWritten)
                pass.writeFailed = pass.local + png;
            written = pictureWritten;
        }
        if (pass.binary) {
            shotsWritten = Nettcast::WriteNettcastShotFile(pass.local, t, stem);
            if (!shotsWritten)
                pass.writeFailed = pass.local + bvd;
            written = written && shotsWritten;
        }
        if (written)
            ++state.exportCount;
    }
    if (state.ftpState > 0) {
        bool pictureSent = false;
        if (pass.pictures && pictureWritten) {
            pictureSent = Put(pass.local + png, pass.remote + png);
            if (!pictureSent) {
                pass.transferFailed = true;
                state.ftpState = Nettcast::kWaitAfterFailure;
            }
        }
        if (pass.binary && shotsWritten) {
            if (Put(pass.local + bvd, pass.remote + bvd)) {
                state.ftpState = 1;
            } else if (!pictureSent) {
                pass.transferFailed = true;
                state.ftpState = Nettcast::kWaitAfterFailure;
            }
        }
    }
    // Every target is drawn on the same picture: the next one starts white.
    m_painter.ClearPicture();
}

void NettcastExport::WriteIndexFiles(Pass& pass, CVisPicture& pic)
{
    NettcastState& state = m_data.nettcast;
    const std::string index = Nettcast::IndexText(pic);
    bool indexWritten = Nettcast::WriteFile(pass.local + "index.txt", index);
    if (!indexWritten)
        pass.writeFailed = pass.local + "index.txt";
    bool pageWritten = false;
    if (pass.pictures) {
        pageWritten = Nettcast::WriteFile(pass.local + "default.htm", Nettcast::StartPage(pic));
        if (!pageWritten)
            pass.writeFailed = pass.local + "default.htm";
    }
    // One program file per event, each sent.
    std::vector<std::string> programs;
    if (pass.binary) {
        std::set<const CVisEvent*> done;
        for (auto& tp : pic.targets) {
            CVisTarget& t = *tp;
            if (t.lane <= 0 || !t.event || !done.insert(t.event).second)
                continue;
            const std::string stem = Nettcast::Stem(t.event->name);
            if (Nettcast::WriteNettcastProgramFile(pass.local, *t.event, stem))
                programs.push_back(stem);
            else
                pass.writeFailed = pass.local + stem + ".TXT";
        }
    }
    if (state.ftpState > 0) {
        bool sent = true;
        if (indexWritten)
            sent = Put(pass.local + "index.txt", pass.remote + "index.txt") && sent;
        if (pageWritten)
            sent = Put(pass.local + "default.htm", pass.remote + "default.htm") && sent;
        for (const std::string& stem : programs)
            sent = Put(pass.local + stem + ".TXT", pass.remote + stem + ".txt") && sent;
        if (!sent)
            pass.transferFailed = true;
    }
    if (indexWritten)
        state.indexWritten = index;
    state.indexDue = false;
}
