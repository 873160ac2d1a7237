#pragma once
// The run of a windowed program from main() to its end: the application
// object, the command line as typed, and a stop asked by the system (the
// service manager's SIGTERM, Ctrl+C) brought onto the user-interface thread,
// where the program closes the way its window does. Every program starts
// with one:
//
//     platform::ProgramRun run(argc, argv);
//     ... make the program's objects and window from run.CommandLine() ...
//     run.OnStop([&] { frame.CloseFrame(true); });
//     return run.Exec();
#include <QApplication>

#include <functional>
#include <memory>
#include <string>

namespace platform {

class ProgramRun {
public:
    ProgramRun(int& argc, char** argv);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // The program's name and its arguments, one blank apart.
    const std::string& CommandLine() const { return m_commandLine; }

    // What a stop signal does, called on the user-interface thread; the
    // signals are caught from this call on.
    void OnStop(std::function<void()> stop);

    // Runs the event loop until the program quits; its exit code.
    int Exec();

private:
    class StopPipe;

    QApplication m_app;
    std::string m_commandLine;
    std::unique_ptr<StopPipe> m_stop;
};

}  // namespace platform
