#pragma once
// Lets a test's event loop run until a condition holds, as a program would
// between its events: timers, sockets and posted messages all get their turn.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace bvtest {

// True as soon as the test holds; false when ms passed without it.
inline bool RunEventsUntil(const std::function<bool()>& test, int ms, int stepMs = 5)
{
    QElapsedTimer t;
    t.start();
    while (!test()) {
        if (t.elapsed() > ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(stepMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace bvtest
