// BVLeder, the range control program.
#include "range/ui/BVLederApp.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <string>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// A stop asked by the system (the service manager, Ctrl+C) closes the range
// control the way its window does, so the lines close and the computer name
// is cleared.
int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int)
{
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_stopPipe[1], &c, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The objects every part of the program shares live as long as the program.
    static RangeObjects objects;
    CBVLederApp bvleder(objects);

    std::string commandLine;
    for (int i = 0; i < argc; ++i) {
        if (i > 0)
            commandLine += ' ';
        commandLine += argv[i];
    }
    bvleder.InitInstance(commandLine);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_stopPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_stopPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, [&] {
            char c;
            [[maybe_unused]] ssize_t n = ::read(g_stopPipe[0], &c, 1);
            if (CMainFrame* frame = bvleder.Frame())
                frame->CloseFrame(true);
        });
        std::signal(SIGTERM, OnStopSignal);
        std::signal(SIGINT, OnStopSignal);
    }
    if (bvleder.Frame()->Closed())
        return 0;
    return app.exec();
}
