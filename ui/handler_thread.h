#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "ui/window_handoff.h"

namespace ui {

// Runs one handler at a time on a thread of its own, so that the window keeps painting while a
// long pass runs. A handler that ends within the patience given looks to the window as if it had
// run on its own thread: the window's thread waits for it, running what it hands over.
class HandlerThread {
  public:
    explicit HandlerThread(WindowHandoff& handoff) : handoff_(handoff) {}
    // Waits for a handler still running.
    ~HandlerThread();
    HandlerThread(const HandlerThread&) = delete;
    HandlerThread& operator=(const HandlerThread&) = delete;

    // On the window's thread, when not Busy(): starts `handler` and waits up to `patience`.
    // True when it has finished by then; otherwise `finished` runs on the window's thread once
    // it has (the handler's thread then joined).
    bool Start(std::function<void()> handler, std::chrono::milliseconds patience,
               std::function<void()> finished);
    bool Busy() const { return worker_.joinable(); }

  private:
    WindowHandoff& handoff_;
    std::thread worker_;
    std::mutex mutex_;
    bool done_ = false;
    bool waitedFor_ = true;  // false once the window's thread has stopped waiting
};

}  // namespace ui
