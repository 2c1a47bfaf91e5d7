#include "concurrency/workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "concurrency/slot_ring.h"
#include "tests/support/thread_faults.h"

namespace varn {
namespace {

using test::FaultyLauncher;

TEST(WorkersTest, AFailedStartIsReportedAndTheCallerCanDoTheWorkItself) {
    const FaultyLauncher launcher(1);
    std::atomic<int> done{0};
    Workers workers({}, launcher);
    EXPECT_TRUE(workers.Start([&] { ++done; }));
    EXPECT_FALSE(workers.Start([&] { ++done; }));
    EXPECT_EQ(workers.Started(), 1u);
    workers.RunHere([&] { ++done; });
    EXPECT_NO_THROW(workers.Join());
    EXPECT_EQ(done.load(), 2);
    EXPECT_FALSE(workers.Failed());
}

TEST(WorkersTest, ATaskThrowingOnItsOwnThreadIsHandedBack) {
    const FaultyLauncher launcher(FaultyLauncher::kNever, 2);
    std::atomic<int> done{0};
    Workers workers({}, launcher);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(workers.Start([&] { ++done; }));
    EXPECT_THROW(workers.Join(), std::runtime_error);
    EXPECT_EQ(done.load(), 2);
}

TEST(WorkersTest, TheFirstErrorWinsAndStopsThePass) {
    std::atomic<int> stops{0};
    Workers workers([&] { ++stops; });
    std::atomic<bool> firstThrown{false};
    ASSERT_TRUE(workers.Start([&] {
        firstThrown = true;
        throw std::runtime_error("first");
    }));
    ASSERT_TRUE(workers.Start([&] {
        while (!workers.Failed()) std::this_thread::yield();
        throw std::logic_error("second");
    }));
    workers.RunHere([&] {
        while (!firstThrown) std::this_thread::yield();
        while (!workers.Failed()) std::this_thread::yield();
        throw std::out_of_range("third");
    });
    try {
        workers.Join();
        FAIL() << "no error handed back";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_EQ(stops.load(), 1);
}

// A worker blocked on a full ring while the caller leaves by an exception: the destructor must
// stop the ring and join, where a joinable std::thread would end the program.
TEST(WorkersTest, LeavingEarlyStopsAndJoinsAWaitingWorker) {
    SlotRing<int> ring(1, 0);
    std::atomic<int> claimed{0};
    EXPECT_THROW(
        {
            Workers workers([&] { ring.Stop(); });
            ASSERT_TRUE(workers.Start([&] {
                while (SlotRing<int>::Slot* slot = ring.Claim()) {
                    ++claimed;
                    ring.Publish(*slot);
                }
            }));
            while (claimed == 0) std::this_thread::yield();
            throw std::runtime_error("progress callback failed");
        },
        std::runtime_error);
    EXPECT_EQ(claimed.load(), 1);
}

// A throwing producer must not leave the taker waiting for a piece that never comes.
TEST(WorkersTest, AThrowingWorkerWakesTheTakerAndHandsItsErrorBack) {
    SlotRing<int> ring(1, 0);
    Workers workers([&] { ring.Stop(); });
    ASSERT_TRUE(workers.Start([&] {
        SlotRing<int>::Slot* slot = ring.Claim();
        slot->payload = 1;
        ring.Publish(*slot);
        ring.Claim();  // once the taker is through with the first
        throw std::runtime_error("write failed");
    }));
    SlotRing<int>::Slot* first = ring.Take();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->payload, 1);
    ring.Release(*first);
    EXPECT_EQ(ring.Take(), nullptr);
    EXPECT_THROW(workers.Join(), std::runtime_error);
}

}  // namespace
}  // namespace varn
