#include "platform/ui/PostBox.h"

#include "platform/ui/KitWindow.h"

#include <QSocketNotifier>

#include <deque>
#include <mutex>

#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

struct PostBox::Slot::State {
    KitWindow* window = nullptr;  // looked at on the user-interface thread only
    bool open = true;             // under the mail room's lock
};

namespace {

// The one queue of every box of the program. Letters go out one at a time,
// so a window that opens a modal box while it handles one (a nested event
// loop) still gets the rest in order.
class MailRoom {
public:
    using State = PostBox::Slot::State;

    // Made on the user-interface thread by the first box; lives as long as
    // the program.
    static MailRoom& Get()
    {
        static MailRoom* room = new MailRoom;
        return *room;
    }

    bool Post(const std::shared_ptr<State>& state, int message, intptr_t wParam, intptr_t lParam)
    {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            if (!state->open)
                return false;
            m_letters.push_back({state, message, wParam, lParam});
        }
        Wake();
        return true;
    }

    bool IsOpen(const State& state)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return state.open;
    }

    void Close(State& state)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        state.open = false;
    }

private:
    struct Letter {
        std::shared_ptr<State> state;
        int message;
        intptr_t wParam;
        intptr_t lParam;
    };

    MailRoom()
    {
        m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        m_notifier = new QSocketNotifier(m_wake, QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { Deliver(); });
    }

    void Wake()
    {
        uint64_t one = 1;
        // A full counter still wakes the loop; nothing else can go wrong here.
        [[maybe_unused]] ssize_t n = ::write(m_wake, &one, sizeof one);
    }

    void Deliver()
    {
        uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(m_wake, &count, sizeof count);
        // Only the letters already there: a worker posting without pause
        // must not keep the user-interface thread here for ever (its timers
        // and paint wait); the wake-up left for the rest brings us back.
        size_t budget = 0;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            budget = m_letters.size();
        }
        for (; budget > 0; --budget) {
            Letter letter;
            bool more = false;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                // A closed box's letters go unread.
                while (!m_letters.empty() && !m_letters.front().state->open)
                    m_letters.pop_front();
                if (m_letters.empty())
                    return;
                letter = std::move(m_letters.front());
                m_letters.pop_front();
                more = !m_letters.empty();
            }
            // Should the window run an event loop of its own while it
            // handles this one, that loop takes the next.
            if (more)
                Wake();
            letter.state->window->OnMessage(letter.message, letter.wParam, letter.lParam);
        }
    }

    std::mutex m_lock;
    std::deque<Letter> m_letters;
    int m_wake = -1;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace

PostBox::PostBox(KitWindow& window)
{
    MailRoom::Get();
    m_slot.m_state = std::make_shared<Slot::State>();
    m_slot.m_state->window = &window;
}

PostBox::~PostBox() { Close(); }

void PostBox::Close() { MailRoom::Get().Close(*m_slot.m_state); }

bool PostBox::Slot::Post(int message, intptr_t wParam, intptr_t lParam) const
{
    return m_state && MailRoom::Get().Post(m_state, message, wParam, lParam);
}

bool PostBox::Slot::Open() const { return m_state && MailRoom::Get().IsOpen(*m_state); }

}  // namespace platform
