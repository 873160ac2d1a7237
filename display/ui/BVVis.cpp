// BVVis, the display program. Its window comes later; until then it draws
// a picture from the command line with --render on the off-screen platform.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/ui/RenderCommand.h"

namespace {

// Qt's notes about its surroundings (no runtime folder, no screen) are no
// business of --render's output; only its failures are.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "BVVis: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("%s\n", RenderCommand::kUsage);
        return 0;
    }
    if (args.empty() || args[0] != "--render") {
        std::fprintf(stderr, "BVVis: the display's window is not there yet; only --render draws a picture\n%s\n",
                     RenderCommand::kUsage);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    return RenderCommand::Render(std::vector<std::string>(args.begin() + 1, args.end()));
}
