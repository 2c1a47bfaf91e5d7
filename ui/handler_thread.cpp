#include "ui/handler_thread.h"

namespace ui {

HandlerThread::~HandlerThread() {
    if (worker_.joinable()) worker_.join();
}

bool HandlerThread::Start(std::function<void()> handler, std::chrono::milliseconds patience,
                          std::function<void()> finished) {
    done_ = false;
    waitedFor_ = true;
    worker_ = std::thread([this, handler = std::move(handler), finished]() mutable {
        handler();
        std::unique_lock lock(mutex_);
        done_ = true;
        if (waitedFor_) {
            lock.unlock();
            handoff_.Notify();
            return;
        }
        lock.unlock();
        handoff_.Post([this, finished] {
            worker_.join();
            if (finished) finished();
        });
    });
    const bool ended = handoff_.RunPendingUntil(
        [this] {
            std::unique_lock lock(mutex_);
            if (!done_) return false;
            return true;
        },
        patience);
    std::unique_lock lock(mutex_);
    if (ended || done_) {
        lock.unlock();
        worker_.join();
        return true;
    }
    waitedFor_ = false;
    return false;
}

}  // namespace ui
