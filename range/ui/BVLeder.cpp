// BVLeder, the range control program.
#include "platform/ui/ProgramRun.h"
#include "range/ui/BVLederApp.h"

int main(int argc, char** argv)
{
    platform::ProgramRun run(argc, argv);
    // The objects every part of the program shares live as long as the program.
    static RangeObjects objects;
    CBVLederApp bvleder(objects);
    bvleder.InitInstance(run.CommandLine());

    // A stop asked by the system closes the range control the way its window
    // does, so the lines close and the computer name is cleared.
    run.OnStop([&] {
        if (CMainFrame* frame = bvleder.Frame())
            frame->CloseFrame(true);
    });
    if (bvleder.Frame()->Closed())
        return 0;
    int rc = run.Exec();
    // A start refused for a file that cannot be read is no clean end.
    return bvleder.Frame()->StartFailed() ? 1 : rc;
}
