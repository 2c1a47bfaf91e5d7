#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <vector>

#include "concurrency/aligned_buffer.h"

namespace varn {

// A fixed ring of slots between the threads that fill them and the thread that takes them, in
// one sequence order: slot k of the pass is the (k mod N)-th of N, its buffer and payload reused
// once the taker releases it, so memory stays constant however long the pass. Fillers may
// finish out of order (several claim at once); the taker always gets them in order.
template <typename Payload>
class SlotRing {
  public:
    struct Slot {
        std::uint64_t sequence = 0;  // which piece of the pass this is
        AlignedBuffer buffer;
        Payload payload{};
        bool filled = false;
    };

    static constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max();

    // `slots` slots of `bufferBytes` each (0: no buffers); at most `limit` are ever claimed.
    SlotRing(std::size_t slots, std::size_t bufferBytes, std::uint64_t limit = kUnlimited)
        : slots_(slots < 1 ? 1 : slots), limit_(limit) {
        for (Slot& slot : slots_) slot.buffer = AlignedBuffer(bufferBytes);
    }
    SlotRing(const SlotRing&) = delete;
    SlotRing& operator=(const SlotRing&) = delete;

    // The next slot to fill, waiting while every slot is still in use (`wait` unset: nullptr
    // instead of waiting). Nullptr once stopped, closed or `limit` slots were claimed.
    Slot* Claim(bool wait = true) {
        std::unique_lock lock(mutex_);
        const auto ready = [&] {
            return stopped_ || claimed_ >= limit_ || claimed_ - taken_ < slots_.size();
        };
        if (wait) {
            released_.wait(lock, ready);
        } else if (!ready()) {
            return nullptr;
        }
        if (stopped_ || claimed_ >= limit_) return nullptr;
        Slot& slot = slots_[claimed_ % slots_.size()];
        slot.sequence = claimed_++;
        slot.filled = false;
        return &slot;
    }

    // Hands a claimed slot over to the taker.
    void Publish(Slot& slot) {
        {
            const std::lock_guard lock(mutex_);
            slot.filled = true;
        }
        filled_.notify_all();
    }

    // The next slot in sequence order once published (`wait` unset: nullptr if it is not yet).
    // Nullptr when the ring is stopped, or closed (or at its limit) with every claimed slot taken.
    Slot* Take(bool wait = true) {
        std::unique_lock lock(mutex_);
        Slot& slot = slots_[taken_ % slots_.size()];
        const auto ready = [&] {
            return stopped_ || (taken_ < claimed_ && slot.filled) ||
                   (taken_ == claimed_ && (closed_ || claimed_ >= limit_));
        };
        if (wait) {
            filled_.wait(lock, ready);
        } else if (!ready()) {
            return nullptr;
        }
        if (stopped_ || taken_ == claimed_) return nullptr;
        return &slot;
    }

    // Gives the slot from Take back for filling.
    void Release(Slot& slot) {
        {
            const std::lock_guard lock(mutex_);
            slot.filled = false;
            ++taken_;
        }
        released_.notify_all();
    }

    // No slot is claimed after this; the taker still gets the ones claimed before.
    void Close() {
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
            if (limit_ > claimed_) limit_ = claimed_;
        }
        filled_.notify_all();
        released_.notify_all();
    }

    // Ends the pass at once: every wait returns, every later call gets nullptr.
    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        filled_.notify_all();
        released_.notify_all();
    }

    std::size_t Slots() const { return slots_.size(); }

  private:
    std::vector<Slot> slots_;
    std::uint64_t limit_;
    std::mutex mutex_;
    std::condition_variable released_;
    std::condition_variable filled_;
    std::uint64_t claimed_ = 0;
    std::uint64_t taken_ = 0;
    bool closed_ = false;
    bool stopped_ = false;
};

}  // namespace varn
