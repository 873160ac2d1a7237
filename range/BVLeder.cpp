// BVLeder, the range control program.
#include "range/MainFrm.h"
#include "platform/ui/FrameWnd.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The objects every part of the program shares live as long as the program.
    static RangeObjects objects;
    CMainFrame frame(objects);
    frame.CreateWindowFrame()->show();
    return app.exec();
}
