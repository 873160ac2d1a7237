#pragma once
// The one application object of a test executable that shows screens. It is
// made on first use and lives until the process ends.
#include <QApplication>

namespace bvtest {

inline QApplication& QtApp()
{
    static int argc = 1;
    static char name[] = "bvtest";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace bvtest
