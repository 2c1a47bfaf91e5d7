#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace varn {

// How worker threads come to be. Tests replace it to make a start fail or a task throw.
class ThreadLauncher {
  public:
    virtual ~ThreadLauncher() = default;
    // The task as the new thread will run it (inside the worker's error capture).
    virtual std::function<void()> Prepare(std::function<void()> task) const { return task; }
    // Throws (std::system_error) when no thread can be started.
    virtual std::thread Launch(std::function<void()> body) const;
};
const ThreadLauncher& DefaultThreadLauncher();

// A few long-lived threads of one pass and the first error any of them (or the caller) met.
// A throwing task never escapes its thread: its exception is kept, the pass's `stop` is called
// so that nobody keeps waiting on a ring, and Join() hands it to the caller. The destructor
// stops and joins whatever still runs, so an early return or an exception on the calling thread
// never destroys a joinable thread.
class Workers {
  public:
    explicit Workers(std::function<void()> stop = {},
                     const ThreadLauncher& launcher = DefaultThreadLauncher());
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    ~Workers();

    // Runs `task` on a thread of its own. False when no thread could be started: nothing runs
    // and nothing is recorded, so the caller may do the work itself or call Fail.
    bool Start(std::function<void()> task);

    // Runs `task` here, keeping its exception like a worker's.
    void RunHere(const std::function<void()>& task);

    // Keeps `error` unless an earlier one is kept (the first error wins), then stops the pass.
    void Fail(std::exception_ptr error);
    bool Failed() const { return failed_.load(std::memory_order_acquire); }

    // Waits for every started thread, then rethrows the first error, if any.
    void Join();

    std::size_t Started() const { return threads_.size(); }

  private:
    void JoinAll();

    std::function<void()> stop_;
    const ThreadLauncher& launcher_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::exception_ptr error_;
    std::atomic<bool> failed_{false};
};

}  // namespace varn
