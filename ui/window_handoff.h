#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace ui {

// Hands calls from a worker thread to the window's thread, so that controls, their widgets and
// dialogs are only ever touched there. A worker that hands over a call waits until it has run;
// meanwhile it holds no control, so the window's thread may read every control the call changes.
// On the window's thread itself a call runs at once.
class WindowHandoff {
  public:
    // `wake` asks the window's thread to call RunPending() soon; it is called from the worker.
    explicit WindowHandoff(std::function<void()> wake);
    ~WindowHandoff();
    WindowHandoff(const WindowHandoff&) = delete;
    WindowHandoff& operator=(const WindowHandoff&) = delete;

    // Runs `call` on the window's thread and returns when it has; rethrows what it threw.
    void Run(const std::function<void()>& call);
    // Runs `call` on the window's thread later, without waiting.
    void Post(std::function<void()> call);

    // On the window's thread: runs the calls handed over so far.
    void RunPending();
    // On the window's thread: runs handed-over calls as they come until `finished` holds or
    // `limit` has passed; true when it holds. `finished` is checked whenever Notify is called.
    bool RunPendingUntil(const std::function<bool()>& finished, std::chrono::milliseconds limit);
    // Wakes RunPendingUntil to check its condition again; from any thread.
    void Notify();

    bool OnWindowThread() const { return std::this_thread::get_id() == window_; }
    // True on the window's thread while it runs a handed-over call: the worker is waiting.
    bool RunningHandedCall() const { return runningHandedCall_ > 0; }

  private:
    struct Pending {
        std::function<void()> call;
        bool waited = true;
        bool done = false;
        std::exception_ptr error;
    };
    // Runs the calls queued now; the lock is held on entry and on return.
    void RunQueued(std::unique_lock<std::mutex>& lock);

    std::function<void()> wake_;
    std::thread::id window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pending*> queue_;
    int runningHandedCall_ = 0;
};

}  // namespace ui
