// The one way a handler thread reaches the window: handed-over calls run on the window's thread,
// the handler waiting for each; without a display, the test's own thread is the window's.
#include "ui/window_handoff.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "ui/handler_thread.h"

namespace {

using namespace std::chrono_literals;

// A window's thread that counts the wake-ups its handoff asks for.
struct WindowThread {
    std::atomic<int> wakes{0};
    ui::WindowHandoff handoff{[this] { ++wakes; }};
};

TEST(WindowHandoff, HandedCallsRunOnTheWindowsThreadWhileTheWorkerWaits) {
    WindowThread window;
    const auto windowId = std::this_thread::get_id();
    std::vector<std::thread::id> ranOn;
    std::atomic<bool> workerDone{false};
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            window.handoff.Run([&] {
                ranOn.push_back(std::this_thread::get_id());
                EXPECT_TRUE(window.handoff.RunningHandedCall());
            });
        }
        EXPECT_THROW(window.handoff.Run([] { throw std::runtime_error("in the window"); }),
                     std::runtime_error);
        workerDone = true;
        window.handoff.Notify();
    });
    EXPECT_TRUE(window.handoff.RunPendingUntil([&] { return workerDone.load(); }, 10s));
    worker.join();
    EXPECT_EQ(ranOn, std::vector<std::thread::id>(3, windowId));
    EXPECT_GE(window.wakes, 4);
    EXPECT_FALSE(window.handoff.RunningHandedCall());

    // On the window's thread itself a call runs at once.
    bool ran = false;
    window.handoff.Run([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(WindowHandoff, PostedCallsRunInOrderWhenTheWindowComesToThem) {
    WindowThread window;
    std::vector<int> order;
    std::thread worker([&] {
        window.handoff.Post([&] { order.push_back(1); });
        window.handoff.Post([&] { order.push_back(2); });
    });
    worker.join();
    EXPECT_TRUE(order.empty());
    window.handoff.RunPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(HandlerThread, HandlerEndingWithinThePatienceLooksSynchronous) {
    WindowThread window;
    ui::HandlerThread handlers(window.handoff);
    int shown = 0;
    bool finishedCalled = false;
    const bool ended = handlers.Start([&] { window.handoff.Run([&] { ++shown; }); }, 10s,
                                      [&] { finishedCalled = true; });
    EXPECT_TRUE(ended);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(handlers.Busy());
    window.handoff.RunPending();
    EXPECT_FALSE(finishedCalled);
}

TEST(HandlerThread, HandlerPastThePatienceEndsLaterOnTheWindowsThread) {
    WindowThread window;
    ui::HandlerThread handlers(window.handoff);
    std::atomic<bool> release{false};
    int shown = 0;
    bool finished = false;
    const bool ended = handlers.Start(
        [&] {
            while (!release) std::this_thread::sleep_for(1ms);
            window.handoff.Run([&] { ++shown; });
        },
        0ms, [&] { finished = true; });
    EXPECT_FALSE(ended);
    EXPECT_TRUE(handlers.Busy());
    release = true;
    // The window's loop: its wake-ups run what the handler hands over, then its end.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!finished && std::chrono::steady_clock::now() < deadline) {
        window.handoff.RunPendingUntil([&] { return finished; }, 10ms);
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(handlers.Busy());
}

}  // namespace
