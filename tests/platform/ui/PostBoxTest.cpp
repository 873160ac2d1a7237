// Messages from other threads through a window's post box: they arrive on
// the user-interface thread in the order posted, also while the window
// handles one of them in a nested event loop, and nothing reaches a window
// once its box is closed or the window is gone.
#include "tests/support/EventLoop.h"
#include "QtApp.h"

#include "platform/ui/Dialog.h"
#include "platform/ui/PostBox.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const platform::DialogTemplate kEmpty{.id = 900};

// A window that notes what reaches it, and on whose thread.
class Receiver : public platform::Dialog {
public:
    Receiver() : Dialog(kEmpty) {}
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t) override
    {
        EXPECT_EQ(std::this_thread::get_id(), uiThread);
        got.emplace_back(message, static_cast<int>(wParam));
        if (nested && got.size() == 1) {
            // A modal box of the window's own: the rest arrives meanwhile.
            QEventLoop loop;
            QTimer::singleShot(50, &loop, &QEventLoop::quit);
            loop.exec();
            got.emplace_back(-1, 0);
        }
        return 0;
    }
    std::thread::id uiThread = std::this_thread::get_id();
    std::vector<std::pair<int, int>> got;
    bool nested = false;
    platform::PostBox box{*this};
};

bool Within(int ms, const std::function<bool()>& done)
{
    return bvtest::RunEventsUntil(done, ms);
}

class PostBoxTest : public testing::Test {
protected:
    void SetUp() override { bvtest::QtApp(); }
};

TEST_F(PostBoxTest, MessagesFromWorkersArriveInOrderOnTheWindowsThread)
{
    Receiver window;
    platform::PostBox::Slot slot = window.box.GetSlot();
    std::thread worker([slot] {
        for (int i = 0; i < 200; ++i)
            EXPECT_TRUE(slot.Post(platform::WM_APP + 1, i));
    });
    worker.join();
    ASSERT_TRUE(Within(10000, [&] { return window.got.size() == 200; }));
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(window.got[static_cast<size_t>(i)], std::make_pair(platform::WM_APP + 1, i));
}

TEST_F(PostBoxTest, ANestedLoopTakesTheRestInOrder)
{
    Receiver window;
    window.nested = true;
    platform::PostBox::Slot slot = window.box.GetSlot();
    std::thread worker([slot] {
        for (int i = 0; i < 3; ++i)
            slot.Post(platform::WM_APP + 2, i);
    });
    worker.join();
    ASSERT_TRUE(Within(10000, [&] { return window.got.size() == 4; }));
    const std::vector<std::pair<int, int>> expected = {
        {platform::WM_APP + 2, 0}, {platform::WM_APP + 2, 1}, {platform::WM_APP + 2, 2}, {-1, 0}};
    EXPECT_EQ(window.got, expected);
}

TEST_F(PostBoxTest, AClosedBoxOrAGoneWindowGetsNothing)
{
    auto window = std::make_unique<Receiver>();
    platform::PostBox::Slot slot = window->box.GetSlot();
    ASSERT_TRUE(slot.Post(platform::WM_APP + 3, 1));  // still waiting when the box closes
    window->box.Close();
    EXPECT_FALSE(slot.Open());
    EXPECT_FALSE(slot.Post(platform::WM_APP + 3, 2));
    Within(100, [] { return false; });
    EXPECT_TRUE(window->got.empty());

    // A worker still posting while its window goes away.
    auto other = std::make_unique<Receiver>();
    platform::PostBox::Slot late = other->box.GetSlot();
    std::atomic<bool> stop{false};
    std::atomic<int> refused{0};
    std::thread worker([&] {
        while (!stop.load())
            if (!late.Post(platform::WM_APP + 4, 0))
                refused.fetch_add(1);
    });
    Within(20, [] { return false; });
    other.reset();
    Within(50, [] { return false; });
    stop.store(true);
    worker.join();
    EXPECT_GT(refused.load(), 0);
    Within(50, [] { return false; });  // letters left for the gone window are dropped
}

}  // namespace
