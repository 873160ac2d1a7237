#pragma once
// What the first tick does before the range runs: the working folder must be
// writable; a range configuration or competition file that cannot be read
// stops the start (named once, left as it is); a range that never chose its
// language chooses it, one without any line channel runs the interface
// dialog, one whose competition is missing or cannot be written runs the
// competition choice; then the competition opens, the computer name is
// written for the displays, the lines and the clock link open, every lane is
// read and the views show it.
#include "foundation/files/BVLog.h"

#include <string>

class CMainFrame;

class RangeStartup {
public:
    explicit RangeStartup(CMainFrame& frame) : m_frame(frame) {}

    // The competition opened, or -1.
    int Run();
    // Set when the start was refused (a file that cannot be read, or no
    // competition): the program ends with a failing status.
    bool failed = false;

    // The word after the program's name starts the workshop mode, in which
    // the program only loads software into target units.
    static bool IsProductionMode(const std::string& commandLine);

private:
    // Logs and shows the file that cannot be read, and marks the start failed.
    int Refuse(const std::string& fileAndFault);

    CMainFrame& m_frame;
    CBVLog m_log;
};
