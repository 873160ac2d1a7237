#pragma once
// Messages to a window from another thread. PostMessage finds its window
// through the widget, which only the user-interface thread may look at; a
// worker instead drops its messages into the window's post box, and the
// user-interface thread hands them to the window's OnMessage in the order
// they came. A box that its window closed (or that went with its window)
// takes nothing more, and what it still held is dropped, so a late message
// never reaches a window that has ended or is gone.
//
// The worker never calls into Qt: a message crosses the threads under a
// mutex of our own and wakes the event loop through a descriptor, which
// both the loop and the sanitizers understand.
#include <cstdint>
#include <memory>

namespace platform {

class KitWindow;

class PostBox {
public:
    // Made on the user-interface thread for a window that outlives it (a
    // member of the window, typically).
    explicit PostBox(KitWindow& window);
    // Closes the box.
    ~PostBox();
    PostBox(const PostBox&) = delete;
    PostBox& operator=(const PostBox&) = delete;

    // What a worker holds: it may post as long as it likes, and stops
    // reaching the window once the box is closed.
    class Slot {
    public:
        // Any thread. false when the box is closed (nothing was queued).
        bool Post(int message, intptr_t wParam = 0, intptr_t lParam = 0) const;
        bool Open() const;

        struct State;  // the post box's own

    private:
        friend class PostBox;
        std::shared_ptr<State> m_state;
    };
    Slot GetSlot() const { return m_slot; }

    // User-interface thread: nothing waiting or posted later reaches the window.
    void Close();
    bool Open() const { return m_slot.Open(); }

private:
    Slot m_slot;
};

}  // namespace platform
