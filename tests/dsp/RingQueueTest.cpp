#include <gtest/gtest.h>

#include "StressScale.h"
#include "dsp/RingQueue.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <map>
#include <random>
#include <thread>
#include <vector>

namespace {

struct Item {
    uint32_t producer = 0;
    uint32_t sequence = 0;
};

using Queue = Atomic::RingQueue<Item>;

// A queue of 4 slots holds 3; the fourth push doubles it, wherever the oldest
// command sits in the slots, and the commands still pop in posting order.
TEST(RingQueue, FourSlotsHoldThreeAndTheFourthPushDoublesKeepingOrder)
{
    for (int rotation = 0; rotation < 4; ++rotation) {
        SCOPED_TRACE(rotation);
        Queue queue({0, "q"}, 4, true);
        Item spare;
        for (int i = 0; i < rotation; ++i) { // move the indices round the ring first
            ASSERT_TRUE(queue.Push(&spare));
            ASSERT_EQ(queue.Pop(), &spare);
        }
        Item items[5];
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(queue.Push(&items[i]));
        EXPECT_EQ(queue.GetCapacity(), 4u);
        ASSERT_TRUE(queue.Push(&items[3]));
        EXPECT_EQ(queue.GetCapacity(), 8u);
        ASSERT_TRUE(queue.Push(&items[4]));
        for (auto& item : items)
            EXPECT_EQ(queue.Pop(), &item);
        EXPECT_EQ(queue.Pop(), nullptr);
        EXPECT_TRUE(queue.IsEmpty());
    }
}

TEST(RingQueue, FixedQueueRejectsThePushWhenFullAndTakesItAfterAPop)
{
    Queue queue({0, "q"}, 4, false);
    Item items[4];
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(queue.Push(&items[i]));
    EXPECT_FALSE(queue.Push(&items[3]));
    EXPECT_EQ(queue.GetCapacity(), 4u);
    EXPECT_EQ(queue.Pop(), &items[0]);
    EXPECT_TRUE(queue.Push(&items[3]));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(queue.Pop(), &items[i]);
}

// A push that grows the queue copies the slots under the read lock. The audio
// side's pop only tries that lock: it answers at once, empty-handed, and takes
// the item once the lock is free. (A waiting pop would hang here.)
TEST(RingQueue, TryPopNeverWaitsForTheReadLock)
{
    Queue queue({0, "q"}, 4, true);
    Item item;
    ASSERT_TRUE(queue.Push(&item));
    auto& readLock = const_cast<Platform::CriticalSection&>(queue.GetReadLock());
    std::promise<void> held, release;
    std::thread holder([&] {
        Platform::ScopedLock hold(readLock);
        held.set_value();
        release.get_future().wait();
    });
    held.get_future().wait();
    auto popped = std::async(std::launch::async, [&] { return queue.TryPop(); });
    const bool returned = popped.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    release.set_value();
    holder.join();
    ASSERT_TRUE(returned) << "TryPop waited for the read lock";
    EXPECT_EQ(popped.get(), nullptr);
    EXPECT_EQ(queue.TryPop(), &item);
}

TEST(RingQueue, TooFewSlotsAreRefused)
{
    EXPECT_THROW(Queue({0, "q"}, 1, true), std::invalid_argument);
}

// Producers push bursts of random sizes while consumers pop: every item arrives
// exactly once, and each consumer sees each producer's items in posting order.
void runStress(uint32_t capacity, bool growable)
{
    constexpr uint32_t kProducers = 3;
    constexpr uint32_t kConsumers = 3;
    const uint32_t perProducer = 4000 * DspTest::kStressScale;
    std::vector<std::vector<Item>> items(kProducers, std::vector<Item>(perProducer));
    Queue queue({0, "stress"}, capacity, growable);
    std::atomic<uint32_t> consumed{0};
    std::vector<std::vector<Item>> seen(kConsumers);

    std::vector<std::thread> threads;
    for (uint32_t p = 0; p < kProducers; ++p) {
        threads.emplace_back([&, p] {
            std::mt19937 random(p + 1);
            uint32_t next = 0;
            while (next < perProducer) {
                const uint32_t burst = std::min<uint32_t>(random() % 17 + 1, perProducer - next);
                for (uint32_t i = 0; i < burst; ++i, ++next) {
                    items[p][next] = {p, next};
                    while (!queue.Push(&items[p][next]))
                        std::this_thread::yield();
                }
                std::this_thread::yield();
            }
        });
    }
    for (uint32_t c = 0; c < kConsumers; ++c) {
        threads.emplace_back([&, c] {
            while (consumed.load() < kProducers * perProducer) {
                if (Item* item = queue.Pop()) {
                    seen[c].push_back(*item);
                    consumed.fetch_add(1);
                } else {
                    std::this_thread::yield();
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();

    std::vector<std::vector<uint32_t>> count(kProducers, std::vector<uint32_t>(perProducer, 0));
    for (const auto& consumer : seen) {
        std::vector<int64_t> last(kProducers, -1);
        for (const Item& item : consumer) {
            ASSERT_LT(item.producer, kProducers);
            ASSERT_GT(int64_t(item.sequence), last[item.producer]) << "out of order";
            last[item.producer] = item.sequence;
            ++count[item.producer][item.sequence];
        }
    }
    for (const auto& producer : count)
        ASSERT_TRUE(std::all_of(producer.begin(), producer.end(), [](uint32_t n) { return n == 1; }));
    EXPECT_TRUE(queue.IsEmpty());
}

TEST(RingQueueStress, SmallFixedQueueUnderManyProducersAndConsumers) { runStress(8, false); }

TEST(RingQueueStress, GrowableQueueStartingAtFourSlots) { runStress(4, true); }

} // namespace
