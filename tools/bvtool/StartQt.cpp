// Qt for the commands that print, draw pictures or measure list columns: the
// window kit's fonts on the off-screen platform, started once per run.
#include "Command.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace bvtool {
namespace {

// Qt's notes about its surroundings (no runtime folder, no screen) are no
// business of the tool's output; only its failures are.
void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "bvtool: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

bool StartQt()
{
    if (QCoreApplication::instance() != nullptr)
        return false;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qInstallMessageHandler(QtMessages);
    static int argc = 1;
    static char name[] = "bvtool";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
    return true;
}

}  // namespace bvtool
