// BVVis, the display program: the audience screens of a range. Its option
// --render draws a picture of a profile to a PNG file on the off-screen
// platform; --window keeps the pictures in a window when the select
// dialog's countdown starts them.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/ui/BVVisApp.h"
#include "display/ui/RenderCommand.h"
#include "platform/ui/ProgramRun.h"
#ifdef BV_WEBENGINE
#include "platform/ui/web/WebEnginePane.h"
#endif

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
    if (!args.empty() && args[0] == "--render") {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        qInstallMessageHandler(QuietMessages);
        QApplication app(argc, argv);
        return RenderCommand::Render(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    const bool inWindow = !args.empty() && args[0] == "--window";
    if (args.size() > (inWindow ? 1u : 0u)) {
        std::fprintf(stderr, "BVVis: unknown option %s\n%s\n", args.back().c_str(), RenderCommand::kUsage);
        return 2;
    }

#ifdef BV_WEBENGINE
    platform::PrepareWebEngine();
#endif
    platform::ProgramRun run(argc, argv);
#ifdef BV_WEBENGINE
    platform::UseWebEnginePanes();
#endif
    CBVVisApp bvvis;
    if (!bvvis.InitInstance(inWindow))
        return 1;
    // A stop asked by the system ends the program as its select dialog's exit does.
    run.OnStop([&] {
        if (CMainFrame* frame = bvvis.Frame())
            frame->Stop();
    });
    return run.Exec();
}
