#include "io/cancellation.h"

#include <atomic>
#include <cerrno>

namespace varn::io {

namespace {

std::atomic<bool> requested{false};
std::atomic<bool> tookEffect{false};

}  // namespace

void RequestCancel() {
    requested.store(true, std::memory_order_relaxed);
}

void ClearCancel() {
    requested.store(false, std::memory_order_relaxed);
    tookEffect.store(false, std::memory_order_relaxed);
}

bool CancelRequested() {
    return requested.load(std::memory_order_relaxed);
}

bool CancelTookEffect() {
    return tookEffect.load(std::memory_order_relaxed);
}

bool RefuseCancelledRead() {
    if (!requested.load(std::memory_order_relaxed)) return false;
    tookEffect.store(true, std::memory_order_relaxed);
    errno = ECANCELED;
    return true;
}

}  // namespace varn::io
