#pragma once
// What the Nettcast export keeps from one pass to the next, for the whole
// program: the FTP connection and its state, whether the index files are
// due, how many target exports were written, and the status line shown.
#include <memory>
#include <string>

#include "platform/net/FtpSession.h"

struct NettcastState {
    // 1 connected; 0 ready to connect; below 0 a wait in ticks, counted up
    // by every pass (-300 after an incomplete set-up, -100 after a failure).
    int ftpState = 0;
    std::unique_ptr<platform::FtpSession> ftp;
    // The index, start page and program files are written at the next pass.
    bool indexDue = true;
    // The index as last written: a change of a shooter's names or relay
    // makes it due again.
    std::string indexWritten;
    // Target exports written so far.
    int exportCount = 0;
    // The status line of the last pass.
    std::string status;

    // Says goodbye to the server when a connection is held.
    void Close()
    {
        if (ftp)
            ftp->Close();
        ftp.reset();
        if (ftpState > 0)
            ftpState = 0;
    }
};
