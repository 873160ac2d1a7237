#pragma once
// Answers the modal dialogs that a program opens by itself (a start-up that
// asks for set-up first, a dialog that opens another): each action queued
// runs on the next modal dialog of its template once that shows, in the
// order queued, from inside the dialog's own event loop.
#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace bvtest {

class ModalDriver {
public:
    using Action = std::function<void(platform::Dialog&)>;

    ModalDriver()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
        m_timer.start();
    }

    // The next modal dialog with this template gets the action.
    ModalDriver& Next(int templateId, Action action)
    {
        m_actions.push_back({templateId, std::move(action)});
        return *this;
    }
    // Cancels the next modal dialog of this template.
    ModalDriver& Cancel(int templateId)
    {
        return Next(templateId, [](platform::Dialog& d) { d.OnCancel(); });
    }

    // Every action ran.
    bool Done() const { return m_actions.empty(); }
    // The templates of the dialogs acted on, in order.
    const std::vector<int>& Seen() const { return m_seen; }

private:
    struct Entry {
        int templateId;
        Action action;
    };

    void Look()
    {
        if (m_actions.empty())
            return;
        auto* dialog = dynamic_cast<platform::Dialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->TemplateId() != m_actions.front().templateId)
            return;
        for (const QPointer<QWidget>& done : m_handled)
            if (done == dialog)
                return;
        Entry entry = std::move(m_actions.front());
        m_actions.pop_front();
        m_handled.emplace_back(dialog);
        m_seen.push_back(entry.templateId);
        // An action that opens a dialog of its own waits in it while the
        // timer looks on and answers that one.
        entry.action(*dialog);
    }

    QTimer m_timer;
    std::deque<Entry> m_actions;
    std::vector<int> m_seen;
    std::vector<QPointer<QWidget>> m_handled;
};

}  // namespace bvtest
