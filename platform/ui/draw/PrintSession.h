#pragma once
// What printing does to the program's windows. While a job prints, the main
// window takes no input, so that no second printout starts from it, and the
// job lets the waiting events through between its pages (windows repaint,
// timers run). A request to quit met meanwhile stops the printout; the
// program quits once the job has ended.
#include <QPointer>
#include <QWidget>

namespace platform {

class PrintSession {
public:
    PrintSession();   // disables the program's main window, if it has one
    ~PrintSession();  // enables it again and passes a quit request on
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    // Handles the events that wait; false when the program was asked to
    // quit, now or before.
    bool Pump();
    bool QuitRequested() const { return m_quit; }

private:
    QPointer<QWidget> m_main;
    bool m_quit = false;
};

}  // namespace platform
