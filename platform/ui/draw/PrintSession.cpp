#include "platform/ui/draw/PrintSession.h"

#include "platform/ui/KitWindow.h"

#include <QCoreApplication>
#include <QEvent>

namespace platform {
namespace {

// Holds back the request to quit while the events flow inside a printout;
// the session passes it on when the job has ended.
class QuitCatcher : public QObject {
public:
    bool caught = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
            caught = true;
            return true;
        }
        return false;
    }
};

}  // namespace

PrintSession::PrintSession()
{
    if (KitWindow* main = MainWindow(); main != nullptr && main->Host() != nullptr && main->Host()->isEnabled()) {
        m_main = main->Host();
        m_main->setEnabled(false);
    }
}

PrintSession::~PrintSession()
{
    if (m_main)
        m_main->setEnabled(true);
    // Outside the program's event loop (a tool, a test) there is nobody to
    // tell, and quit() does nothing.
    if (m_quit)
        QCoreApplication::quit();
}

bool PrintSession::Pump()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || m_quit)
        return !m_quit;
    QuitCatcher catcher;
    app->installEventFilter(&catcher);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&catcher);
    m_quit = catcher.caught;
    return !m_quit;
}

}  // namespace platform
