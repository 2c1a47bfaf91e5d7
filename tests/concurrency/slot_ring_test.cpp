#include "concurrency/slot_ring.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "concurrency/workers.h"

namespace varn {
namespace {

struct Piece {
    std::uint64_t value = 0;
};
using Ring = SlotRing<Piece>;

// Several fillers finishing in any order; the taker must see every piece once, in order, in one
// of the ring's own buffers, and the fillers never more than the ring's slots ahead.
TEST(SlotRingTest, TakerGetsPiecesInOrderFromFillersFinishingOutOfOrder) {
    constexpr std::uint64_t kPieces = 2000;
    Ring ring(3, 64, kPieces);
    std::set<const unsigned char*> buffers;
    std::atomic<std::int64_t> ahead{0};
    std::atomic<std::int64_t> mostAhead{0};
    {
        Workers workers([&] { ring.Stop(); });
        for (int f = 0; f < 3; ++f) {
            ASSERT_TRUE(workers.Start([&, f] {
                std::mt19937 random(f);
                while (Ring::Slot* slot = ring.Claim()) {
                    const std::int64_t now = ++ahead;
                    std::int64_t seen = mostAhead.load();
                    while (now > seen && !mostAhead.compare_exchange_weak(seen, now)) {
                    }
                    if (random() % 8 == 0)
                        std::this_thread::sleep_for(std::chrono::microseconds(50));
                    slot->payload.value = slot->sequence * 7;
                    std::memcpy(slot->buffer.Data(), &slot->sequence, sizeof slot->sequence);
                    ring.Publish(*slot);
                }
            }));
        }
        for (std::uint64_t expected = 0;; ++expected) {
            Ring::Slot* slot = ring.Take();
            if (slot == nullptr) {
                EXPECT_EQ(expected, kPieces);
                break;
            }
            EXPECT_EQ(slot->sequence, expected);
            EXPECT_EQ(slot->payload.value, expected * 7);
            std::uint64_t stored = 0;
            std::memcpy(&stored, slot->buffer.Data(), sizeof stored);
            EXPECT_EQ(stored, expected);
            EXPECT_EQ(
                reinterpret_cast<std::uintptr_t>(slot->buffer.Data()) % AlignedBuffer::kAlignment,
                0u);
            buffers.insert(slot->buffer.Data());
            --ahead;
            ring.Release(*slot);
        }
        workers.Join();
    }
    EXPECT_EQ(buffers.size(), 3u);
    EXPECT_LE(mostAhead.load(), 3);
}

TEST(SlotRingTest, ClaimWithoutWaitingRefusesAFullRingAndCloseEndsAfterTheClaimedOnes) {
    Ring ring(2, 0);
    Ring::Slot* a = ring.Claim(false);
    Ring::Slot* b = ring.Claim(false);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(ring.Claim(false), nullptr);
    EXPECT_EQ(ring.Take(false), nullptr);  // nothing published yet

    ring.Publish(*b);
    EXPECT_EQ(ring.Take(false), nullptr);  // b waits for a: order holds
    ring.Publish(*a);
    ring.Close();
    EXPECT_EQ(ring.Claim(false), nullptr);
    for (std::uint64_t expected : {0u, 1u}) {
        Ring::Slot* slot = ring.Take(false);
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot->sequence, expected);
        ring.Release(*slot);
    }
    EXPECT_EQ(ring.Take(), nullptr);  // closed and drained: no wait
    EXPECT_EQ(ring.Claim(), nullptr);
}

TEST(SlotRingTest, StopWakesAWaitingFillerAndAWaitingTaker) {
    Ring full(1, 0);
    ASSERT_NE(full.Claim(), nullptr);
    Ring empty(1, 0);
    Ring::Slot sentinel;
    Ring::Slot* fillerGot = &sentinel;
    Ring::Slot* takerGot = &sentinel;
    std::thread filler([&] { fillerGot = full.Claim(); });
    std::thread taker([&] { takerGot = empty.Take(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    full.Stop();
    empty.Stop();
    filler.join();
    taker.join();
    EXPECT_EQ(fillerGot, nullptr);
    EXPECT_EQ(takerGot, nullptr);
}

}  // namespace
}  // namespace varn
