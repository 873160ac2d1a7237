#include "platform/ports/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

PseudoTerminal::~PseudoTerminal() { Close(); }

int PseudoTerminal::Open()
{
    Close();
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return errno;
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        int e = errno;
        ::close(master);
        return e;
    }
    int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        int e = errno;
        ::close(master);
        return e;
    }
    // A fresh terminal echoes and edits lines; the simulator's bytes must
    // pass untouched from the first one on.
    termios t;
    if (tcgetattr(slave, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        tcsetattr(slave, TCSANOW, &t);
    }
    m_master = master;
    m_slaveHold = slave;
    m_slavePath = name;
    return 0;
}

int PseudoTerminal::ReleaseMaster()
{
    int fd = m_master;
    m_master = -1;
    return fd;
}

void PseudoTerminal::Close()
{
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveHold = m_master = -1;
    m_slavePath.clear();
}

}  // namespace platform
