#include "concurrency/workers.h"

#include <utility>

namespace varn {

std::thread ThreadLauncher::Launch(std::function<void()> body) const {
    return std::thread(std::move(body));
}

const ThreadLauncher& DefaultThreadLauncher() {
    static const ThreadLauncher launcher;
    return launcher;
}

Workers::Workers(std::function<void()> stop, const ThreadLauncher& launcher)
    : stop_(std::move(stop)), launcher_(launcher) {}

Workers::~Workers() {
    if (threads_.empty()) return;
    // Still running here means the caller left early: they must not wait for a consumer that
    // is gone.
    if (stop_) stop_();
    JoinAll();
}

bool Workers::Start(std::function<void()> task) {
    try {
        threads_.reserve(threads_.size() + 1);  // so that a started thread is always kept
        threads_.push_back(
            launcher_.Launch([this, task = launcher_.Prepare(std::move(task))] { RunHere(task); }));
    } catch (...) {
        return false;
    }
    return true;
}

void Workers::RunHere(const std::function<void()>& task) {
    try {
        task();
    } catch (...) {
        Fail(std::current_exception());
    }
}

void Workers::Fail(std::exception_ptr error) {
    {
        const std::lock_guard lock(mutex_);
        if (error_) return;
        error_ = std::move(error);
        failed_.store(true, std::memory_order_release);
    }
    if (stop_) stop_();
}

void Workers::JoinAll() {
    for (std::thread& t : threads_) {
        if (t.joinable()) t.join();
    }
    threads_.clear();
}

void Workers::Join() {
    JoinAll();
    std::exception_ptr error;
    {
        const std::lock_guard lock(mutex_);
        error = error_;
    }
    if (error) std::rethrow_exception(error);
}

}  // namespace varn
