#pragma once
// A pseudo-terminal pair: the slave side looks like a serial device to the
// program that opens it by path; the master side is the other end of its
// "cable". The target simulator sits on the master side.
//
// The pair is made raw at once, and the object keeps a descriptor of the
// slave open as long as it lives: the master then never sees a hang-up while
// the program closes and reopens its port.
#include <string>

namespace platform {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // 0, or the system error.
    int Open();
    void Close();

    int MasterFd() const { return m_master; }
    // Hands the master descriptor over to the caller, who closes it.
    int ReleaseMaster();
    const std::string& SlavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slaveHold = -1;
    std::string m_slavePath;
};

}  // namespace platform
