#include "ui/window_handoff.h"

#include <memory>

namespace ui {

WindowHandoff::WindowHandoff(std::function<void()> wake)
    : wake_(std::move(wake)), window_(std::this_thread::get_id()) {}

WindowHandoff::~WindowHandoff() {
    for (Pending* pending : queue_) {
        if (!pending->waited) delete pending;
    }
}

void WindowHandoff::Run(const std::function<void()>& call) {
    if (OnWindowThread()) {
        call();
        return;
    }
    Pending pending;
    pending.call = call;
    {
        std::unique_lock lock(mutex_);
        queue_.push_back(&pending);
        changed_.notify_all();
    }
    if (wake_) wake_();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return pending.done; });
    if (pending.error) std::rethrow_exception(pending.error);
}

void WindowHandoff::Post(std::function<void()> call) {
    {
        std::unique_lock lock(mutex_);
        auto* posted = new Pending;
        posted->call = std::move(call);
        posted->waited = false;
        queue_.push_back(posted);
        changed_.notify_all();
    }
    if (wake_) wake_();
}

void WindowHandoff::RunQueued(std::unique_lock<std::mutex>& lock) {
    while (!queue_.empty()) {
        Pending* pending = queue_.front();
        queue_.pop_front();
        lock.unlock();
        ++runningHandedCall_;
        std::exception_ptr error;
        try {
            pending->call();
        } catch (...) {
            error = std::current_exception();
        }
        --runningHandedCall_;
        lock.lock();
        if (pending->waited) {
            pending->error = error;
            pending->done = true;
            changed_.notify_all();
        } else {
            // Nobody waits for a posted call: what it threw has no one to go to.
            delete pending;
        }
    }
}

void WindowHandoff::RunPending() {
    std::unique_lock lock(mutex_);
    RunQueued(lock);
}

bool WindowHandoff::RunPendingUntil(const std::function<bool()>& finished,
                                    std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(mutex_);
    for (;;) {
        RunQueued(lock);
        if (finished()) return true;
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
            RunQueued(lock);
            return finished();
        }
    }
}

void WindowHandoff::Notify() {
    std::unique_lock lock(mutex_);
    changed_.notify_all();
}

}  // namespace ui
