#include "io/cancellation.h"

#include <atomic>
#include <cerrno>

#include "io/failure.h"

namespace varn::io {

namespace {

std::atomic<bool> requested{false};

}  // namespace

void RequestCancel() {
    requested.store(true, std::memory_order_relaxed);
}

void ClearCancel() {
    requested.store(false, std::memory_order_relaxed);
}

bool CancelRequested() {
    return requested.load(std::memory_order_relaxed);
}

bool RefuseCancelledRead() {
    if (!CancelRequested()) return false;
    errno = ECANCELED;
    return true;
}

void EndIfCancelled(const std::string& path) {
    if (CancelRequested()) throw FileError({FailureKind::Cancelled, path, ECANCELED});
}

}  // namespace varn::io
