// BVRemote, the remote program: the main dialog, or `--print` from the
// command line on the off-screen platform.
#include "remote/ui/BVRemoteApp.h"
#include "remote/ui/PrintCommand.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Qt's notes about its surroundings (no runtime folder, no screen) are no
// business of --print's output; only its failures are.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "BVRemote: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("%s\n", RemoteCommand::kUsage);
        return 0;
    }
    bool print = !args.empty() && args[0] == "--print";
    if (print) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        qInstallMessageHandler(QuietMessages);
    }
    QApplication app(argc, argv);
    if (print)
        return RemoteCommand::Print(std::vector<std::string>(args.begin() + 1, args.end()));
    CBVRemoteApp remote;
    return remote.InitInstance();
}
