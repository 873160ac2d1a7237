#pragma once
// The wait cursor while the range control works through something longer:
// shown for the life of the object.
#include <QApplication>
#include <QCursor>

class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
