#include <gtest/gtest.h>

#include "StressScale.h"
#include "dsp/MpscQueue.h"
#include "dsp/SpanRing.h"
#include "dsp/SpscQueue.h"

#include <algorithm>
#include <random>
#include <thread>
#include <vector>

namespace {

TEST(SpscQueue, HoldsItsCapacityAndKeepsOrderAcrossTheWrap)
{
    Atomic::SpscQueue<uint32_t> queue(3); // rounded up to 4
    ASSERT_EQ(queue.Capacity(), 4u);
    uint32_t next = 0, expected = 0;
    for (int round = 0; round < 5; ++round) {
        while (queue.TryPush(next))
            ++next;
        EXPECT_EQ(next - expected, 4u) << "a full queue holds every slot";
        EXPECT_EQ(queue.FreeSlots(), 0u);
        ASSERT_NE(queue.Peek(3), nullptr);
        EXPECT_EQ(queue.Peek(4), nullptr);
        EXPECT_EQ(*queue.Peek(1), expected + 1);
        queue.Pop(3);
        expected += 3;
        EXPECT_EQ(*queue.Peek(), expected);
    }
    EXPECT_EQ(queue.Pushed() - queue.Popped(), 1u);
}

TEST(SpanRing, ASpanThatWouldCrossTheEndStartsAtTheBeginning)
{
    Atomic::SpanRing<float> ring(16);
    auto first = ring.Reserve(10);
    ASSERT_EQ(first, 0u);
    ring.Commit(*first, 10);
    EXPECT_FALSE(ring.Reserve(7)) << "6 free elements in all";
    ring.Release(10);
    auto second = ring.Reserve(8);
    ASSERT_EQ(second, 16u) << "skips the 6 elements left at the end";
    EXPECT_EQ(ring.At(*second), ring.At(0));
    ring.Commit(*second, 8);
    EXPECT_EQ(ring.Held(), 14u) << "the skipped tail stays used until released";
    EXPECT_FALSE(ring.Reserve(3));
    ring.Release(24);
    EXPECT_EQ(ring.Reserve(8), 24u);
}

// The records of the shuttle's streams: a span of the ring named in a record
// of the queue. Random span sizes, many wraps; every element arrives once, in
// order, and no span ever overlaps one the consumer still holds. A ring whose
// storage comes later gets it from the producer while the consumer already
// looks for records, as the playback ring does.
class SpanRingStress : public ::testing::TestWithParam<Atomic::SpanRing<uint32_t>::Storage> {};

TEST_P(SpanRingStress, SpansNamedByRecordsArriveIntactBetweenTwoThreads)
{
    struct Record {
        uint64_t start;
        uint32_t count;
    };
    Atomic::SpscQueue<Record> records(8);
    Atomic::SpanRing<uint32_t> ring(64, GetParam());
    const uint32_t total = 20000 * DspTest::kStressScale;

    std::thread producer([&] {
        std::mt19937 random(7);
        uint32_t value = 0;
        ring.MakeStorage();
        while (value < total) {
            const uint32_t count = std::min<uint32_t>(random() % ring.MaxSpan() + 1, total - value);
            std::optional<uint64_t> start;
            while (records.FreeSlots() == 0 || !(start = ring.Reserve(count)))
                std::this_thread::yield();
            for (uint32_t i = 0; i < count; ++i)
                *ring.At(*start + i) = value + i;
            ring.Commit(*start, count);
            ASSERT_TRUE(records.TryPush({*start, count}));
            value += count;
        }
    });
    uint32_t expected = 0;
    while (expected < total) {
        const Record* record = records.Peek();
        if (!record) {
            std::this_thread::yield();
            continue;
        }
        for (uint32_t i = 0; i < record->count; ++i)
            ASSERT_EQ(*ring.At(record->start + i), expected++);
        ring.Release(record->start + record->count);
        records.Pop();
    }
    producer.join();
    EXPECT_EQ(records.Popped(), records.Pushed());
}

INSTANTIATE_TEST_SUITE_P(Storage, SpanRingStress,
                         ::testing::Values(Atomic::SpanRing<uint32_t>::Storage::Now,
                                           Atomic::SpanRing<uint32_t>::Storage::Later),
                         [](const auto& info) {
                             return info.param == Atomic::SpanRing<uint32_t>::Storage::Now ? "MadeWithTheRing"
                                                                                            : "MadeByTheProducer";
                         });

// Pushers on several threads, one popper: every item arrives exactly once and
// each pusher's items arrive in the order it pushed them.
TEST(MpscQueueStress, EveryPushersItemsArriveOnceAndInOrder)
{
    struct Item {
        uint32_t pusher;
        uint32_t sequence;
    };
    constexpr uint32_t kPushers = 3;
    const uint32_t perPusher = 5000 * DspTest::kStressScale;
    Atomic::MpscQueue<Item> queue(8);
    std::vector<std::thread> pushers;
    for (uint32_t p = 0; p < kPushers; ++p)
        pushers.emplace_back([&, p] {
            for (uint32_t i = 0; i < perPusher; ++i)
                while (!queue.TryPush({p, i}))
                    std::this_thread::yield();
        });
    std::vector<uint32_t> next(kPushers, 0);
    for (uint32_t received = 0; received < kPushers * perPusher;) {
        Item item;
        if (!queue.TryPop(item)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_LT(item.pusher, kPushers);
        ASSERT_EQ(item.sequence, next[item.pusher]++) << "pusher " << item.pusher;
        ++received;
    }
    for (auto& thread : pushers)
        thread.join();
    Item extra;
    EXPECT_FALSE(queue.TryPop(extra));
}

TEST(MpscQueue, AFullQueueRefusesThePushUntilAPop)
{
    Atomic::MpscQueue<int> queue(2);
    EXPECT_TRUE(queue.TryPush(1));
    EXPECT_TRUE(queue.TryPush(2));
    EXPECT_FALSE(queue.TryPush(3));
    int item = 0;
    ASSERT_TRUE(queue.TryPop(item));
    EXPECT_EQ(item, 1);
    EXPECT_TRUE(queue.TryPush(3));
    ASSERT_TRUE(queue.TryPop(item));
    ASSERT_TRUE(queue.TryPop(item));
    EXPECT_EQ(item, 3);
    EXPECT_FALSE(queue.TryPop(item));
}

} // namespace
