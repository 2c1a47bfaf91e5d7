#pragma once

#include <atomic>
#include <functional>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "concurrency/workers.h"

namespace varn::test {

// Thread starts that fail as on a system out of threads, and tasks that throw, on demand.
class FaultyLauncher : public ThreadLauncher {
  public:
    static constexpr int kNever = std::numeric_limits<int>::max();

    // Starts the first `starts` threads and fails every later start; the task of start number
    // `throwing` (counted from 1) throws std::runtime_error("injected") instead of running.
    explicit FaultyLauncher(int starts, int throwing = kNever)
        : starts_(starts), throwing_(throwing) {}

    std::function<void()> Prepare(std::function<void()> task) const override {
        if (++prepared_ == throwing_) return [] { throw std::runtime_error("injected"); };
        return task;
    }
    std::thread Launch(std::function<void()> body) const override {
        if (launched_++ >= starts_) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return ThreadLauncher::Launch(std::move(body));
    }
    int Attempts() const { return launched_; }

  private:
    int starts_;
    int throwing_;
    mutable std::atomic<int> prepared_{0};
    mutable std::atomic<int> launched_{0};
};

}  // namespace varn::test
