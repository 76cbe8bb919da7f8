#include <gtest/gtest.h>

#include "StressScale.h"
#include "dsp/CommandPipe.h"
#include "support/FakeClock.h"
#include "platform/ThreadId.h"
#include "util/Thread.h"

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

using Atomic::Command;
using Atomic::CommandPipe;

// What happened to the probe commands of one test.
struct Journal {
    std::atomic<int> high{0};
    std::atomic<int> low{0};
    std::atomic<int> postedToHigh{0};
    std::atomic<int> postedToLow{0};
    std::atomic<int> destroyed{0};
    std::atomic<uint32_t> highThread{0};
    std::atomic<uint32_t> lowThread{0};
};

// A command that stays active for `rounds` round trips. Its memory comes from a
// fixed arena and is never given back to the heap, so a test can read the life
// mark of a deleted command.
class Probe : public Command {
public:
    explicit Probe(Journal& journal, int rounds = 1) : journal_(journal), rounds_(rounds) {}
    ~Probe() override { journal_.destroyed.fetch_add(1); }

    void OnPostToHigh() override { journal_.postedToHigh.fetch_add(1); }
    void OnPostToLow() override { journal_.postedToLow.fetch_add(1); }
    bool ExecuteHigh() override
    {
        journal_.high.fetch_add(1);
        journal_.highThread.store(Platform::currentThreadId());
        return true;
    }
    bool ExecuteLow() override
    {
        journal_.low.fetch_add(1);
        journal_.lowThread.store(Platform::currentThreadId());
        return --rounds_ > 0;
    }

    static void* operator new(std::size_t size)
    {
        std::lock_guard<std::mutex> lock(arenaMutex);
        if (size > kSlotSize || used >= kSlots)
            throw std::bad_alloc();
        return arena[used++].data();
    }
    static void operator delete(void*) {}

    // The offset of the life mark inside a Probe, to read it after deletion.
    std::ptrdiff_t LifeMarkOffset() const
    {
        const uint32_t mark = GetLifeMark();
        const auto* bytes = reinterpret_cast<const unsigned char*>(this);
        for (std::size_t i = 0; i + sizeof mark <= sizeof(Probe); i += alignof(uint32_t))
            if (std::memcmp(bytes + i, &mark, sizeof mark) == 0)
                return std::ptrdiff_t(i);
        return -1;
    }
    static uint32_t ReadMark(const void* probe, std::ptrdiff_t offset)
    {
        uint32_t mark = 0;
        std::memcpy(&mark, static_cast<const unsigned char*>(probe) + offset, sizeof mark);
        return mark;
    }

private:
    static constexpr std::size_t kSlotSize = 128;
    static constexpr std::size_t kSlots = 64;
    alignas(std::max_align_t) static inline std::array<std::array<unsigned char, kSlotSize>, kSlots> arena{};
    static inline std::size_t used = 0;
    static inline std::mutex arenaMutex;

    Journal& journal_;
    int rounds_;
};

struct PipeFixture : ::testing::Test {
    Platform::FakeClock clock{10000};
    Platform::CriticalSection processing{"Pipe Test Processing Lock"};
    Journal journal;
    int owner = 0;
};

TEST_F(PipeFixture, QueuesAreNamedAfterThePipe)
{
    CommandPipe pipe({0, "Shuttle Command Pipe"}, &owner, 2000, {1024, true}, &processing);
    EXPECT_EQ(pipe.GetHighQueue().GetName().text, "Shuttle Command Pipe High-Priority Queue");
    EXPECT_EQ(pipe.GetLowQueue().GetName().text, "Shuttle Command Pipe Low-Priority Queue");
    EXPECT_EQ(pipe.GetHighQueue().GetCapacity(), 2000u);
    EXPECT_TRUE(pipe.GetHighQueue().IsGrowable());
    EXPECT_FALSE(pipe.IsHighRunning()); // the timeout is enabled: the low side acts until the high side calls
}

TEST_F(PipeFixture, ACommandRunsOnceOnEachSideAndTheLowSideDeletesIt)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing);
    EXPECT_TRUE(pipe.IsHighRunning());
    auto* probe = new Probe(journal);
    pipe.PostToHigh(probe);
    EXPECT_EQ(probe->GetOwner(), &owner);
    EXPECT_EQ(journal.postedToHigh.load(), 1);
    pipe.ProcessHigh();
    EXPECT_EQ(journal.high.load(), 1);
    EXPECT_EQ(journal.low.load(), 0);
    pipe.ProcessLow();
    EXPECT_EQ(journal.low.load(), 1);
    EXPECT_EQ(journal.destroyed.load(), 1);
    pipe.ProcessHigh();
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 1);
}

TEST_F(PipeFixture, AnActiveCommandGoesRoundAgain)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing);
    pipe.PostToHigh(new Probe(journal, 3));
    for (int i = 0; i < 3; ++i) {
        pipe.ProcessHigh();
        pipe.ProcessLow();
    }
    EXPECT_EQ(journal.high.load(), 3);
    EXPECT_EQ(journal.low.load(), 3);
    EXPECT_EQ(journal.destroyed.load(), 1);
}

TEST_F(PipeFixture, ACommandPostedFromTheHighSideStartsOnTheLowSide)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing);
    auto* probe = new Probe(journal);
    pipe.PostToLow(probe);
    EXPECT_EQ(journal.postedToLow.load(), 1);
    EXPECT_EQ(probe->GetOwner(), &owner);
    pipe.ProcessLow();
    EXPECT_EQ(journal.low.load(), 1);
    EXPECT_EQ(journal.high.load(), 0);
    EXPECT_EQ(journal.destroyed.load(), 1);
}

// With the timeout enabled and a high side that never calls, the low side runs
// ExecuteHigh in one ProcessLow and ExecuteLow in the next, on its own thread.
TEST_F(PipeFixture, TheLowSideActsForAHighSideThatNeverRan)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {1024, true}, &processing);
    pipe.PostToHigh(new Probe(journal));
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 1);
    EXPECT_EQ(journal.low.load(), 0);
    EXPECT_EQ(journal.highThread.load(), Platform::currentThreadId());
    pipe.ProcessLow();
    EXPECT_EQ(journal.low.load(), 1);
    EXPECT_EQ(journal.destroyed.load(), 1);
}

TEST_F(PipeFixture, TheLowSideTakesOverOnlyOnceTheHighSideWasSilentForTheTimeout)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {1024, true}, &processing);
    pipe.ProcessHigh();
    EXPECT_TRUE(pipe.IsHighRunning());
    pipe.PostToHigh(new Probe(journal));
    clock.advance(1023);
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 0);
    EXPECT_TRUE(pipe.IsHighRunning());
    clock.advance(1);
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 1);
    EXPECT_FALSE(pipe.IsHighRunning());
}

TEST_F(PipeFixture, TheLowSideDoesNotTakeOverWhileTheProcessingLockIsHeld)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {1024, true}, &processing);
    pipe.PostToHigh(new Probe(journal));
    std::atomic<bool> held{false}, release{false};
    std::thread audio([&] {
        Platform::ScopedLock lock(processing);
        held = true;
        while (!release)
            std::this_thread::yield();
    });
    while (!held)
        std::this_thread::yield();
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 0);
    release = true;
    audio.join();
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 1);
}

TEST_F(PipeFixture, WithoutTimeoutTheLowSideWaitsUntilStopHigh)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing);
    pipe.PostToHigh(new Probe(journal));
    clock.advance(1000000);
    pipe.ProcessLow();
    EXPECT_EQ(journal.high.load(), 0);
    pipe.StopHigh(); // drains the high side once
    EXPECT_FALSE(pipe.IsHighRunning());
    EXPECT_EQ(journal.high.load(), 1);
    pipe.PostToHigh(new Probe(journal));
    pipe.ProcessLow(); // ExecuteLow of the first, then acts for the stopped high side
    EXPECT_EQ(journal.low.load(), 1);
    EXPECT_EQ(journal.high.load(), 2);
}

TEST_F(PipeFixture, DestroyingThePipeDeletesQueuedCommandsWithoutRunningThem)
{
    std::vector<Probe*> probes;
    std::ptrdiff_t markOffset = -1;
    {
        CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing);
        for (int i = 0; i < 3; ++i) {
            probes.push_back(new Probe(journal));
            pipe.PostToHigh(probes.back());
            probes.push_back(new Probe(journal));
            pipe.PostToLow(probes.back());
        }
        markOffset = probes.front()->LifeMarkOffset();
        ASSERT_GE(markOffset, 0);
        EXPECT_EQ(Probe::ReadMark(probes.front(), markOffset), Command::kLiveMark);
    }
    EXPECT_EQ(journal.destroyed.load(), 6);
    EXPECT_EQ(journal.high.load(), 0);
    EXPECT_EQ(journal.low.load(), 0);
    for (const Probe* probe : probes)
        EXPECT_EQ(Probe::ReadMark(probe, markOffset), Command::kDeadMark);
}

TEST_F(PipeFixture, EachSideMarksItsThreadRecordWhileItProcesses)
{
    Atomic::ThreadRecord high{7, false}, low{9, false};
    Atomic::ThreadRecord seenHigh, seenLow;
    struct Recorder : Command {
        Atomic::ThreadRecord* record;
        Atomic::ThreadRecord* seen;
        Atomic::ThreadRecord* lowRecord;
        Atomic::ThreadRecord* lowSeen;
        bool ExecuteHigh() override { *seen = *record; return true; }
        bool ExecuteLow() override { *lowSeen = *lowRecord; return false; }
    };
    CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing, &high, &low);
    auto* recorder = new Recorder;
    recorder->record = &high;
    recorder->seen = &seenHigh;
    recorder->lowRecord = &low;
    recorder->lowSeen = &seenLow;
    pipe.PostToHigh(recorder);
    pipe.ProcessHigh();
    pipe.ProcessLow();
    for (const auto& seen : {seenHigh, seenLow}) {
        EXPECT_EQ(seen.threadId, Platform::currentThreadId());
        EXPECT_TRUE(seen.valid);
    }
    EXPECT_EQ(high.threadId, 7u); // restored afterwards
    EXPECT_FALSE(high.valid);
    EXPECT_EQ(low.threadId, 9u);
    EXPECT_FALSE(low.valid);
}

TEST_F(PipeFixture, APushTowardsTheLowSideWakesItsRunningWorker)
{
    CommandPipe pipe({0, "p"}, &owner, 4, {0, false}, &processing);
    Util::Thread worker("Low Worker");
    worker.Start([&](Util::Thread& self) {
        while (!self.StopRequested()) {
            self.WaitForEvent();
            pipe.ProcessLow();
        }
    });
    pipe.SetLowWorker(&worker);
    pipe.PostToLow(new Probe(journal));
    while (journal.destroyed.load() == 0) // the worker ran ExecuteLow and deleted it
        std::this_thread::yield();
    EXPECT_EQ(journal.low.load(), 1);
    EXPECT_NE(journal.lowThread.load(), Platform::currentThreadId());
    worker.Stop();
    pipe.SetLowWorker(nullptr);
}

// Several posting threads, one high-side thread and one low-side thread: every
// command runs each half as many times as it asked, is deleted once, and the
// high side first sees each poster's commands in posting order.
class Tracked : public Command {
public:
    struct Log {
        std::vector<std::vector<int>> highRuns;
        std::vector<std::vector<int>> lowRuns;
        std::vector<std::vector<int>> deletions;
        std::vector<std::vector<uint32_t>> firstHighOrder;
        std::atomic<int> lowTotal{0};
    };
    Tracked(Log& log, uint32_t poster, uint32_t sequence, int rounds)
        : log_(log), poster_(poster), sequence_(sequence), rounds_(rounds)
    {
    }
    ~Tracked() override { ++log_.deletions[poster_][sequence_]; }
    bool ExecuteHigh() override
    {
        if (log_.highRuns[poster_][sequence_]++ == 0)
            log_.firstHighOrder[poster_].push_back(sequence_);
        return true;
    }
    bool ExecuteLow() override
    {
        ++log_.lowRuns[poster_][sequence_];
        log_.lowTotal.fetch_add(1);
        return --rounds_ > 0;
    }

private:
    Log& log_;
    uint32_t poster_;
    uint32_t sequence_;
    int rounds_;
};

TEST(CommandPipeStress, PostersHighAndLowThreadsSeeEveryCommandExactlyAsOftenAsItAsked)
{
    constexpr uint32_t kPosters = 3;
    const uint32_t perPoster = 1500 * DspTest::kStressScale;
    Platform::CriticalSection processing("Stress Processing Lock");
    Tracked::Log log;
    log.highRuns.assign(kPosters, std::vector<int>(perPoster, 0));
    log.lowRuns = log.deletions = log.highRuns;
    log.firstHighOrder.resize(kPosters);
    std::vector<std::vector<int>> rounds(kPosters, std::vector<int>(perPoster));
    std::mt19937 random(42);
    for (auto& poster : rounds)
        for (int& r : poster)
            r = int(random() % 3) + 1;
    int total = 0;
    for (const auto& poster : rounds)
        for (int r : poster)
            total += r;

    CommandPipe pipe({0, "stress"}, nullptr, 4, {0, false}, &processing);
    std::thread high([&] {
        while (log.lowTotal.load() < total) {
            {
                Platform::ScopedLock lock(processing);
                pipe.ProcessHigh();
            }
            std::this_thread::yield();
        }
    });
    std::thread low([&] {
        while (log.lowTotal.load() < total) {
            pipe.ProcessLow();
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> posters;
    for (uint32_t p = 0; p < kPosters; ++p) {
        posters.emplace_back([&, p] {
            std::mt19937 burst(p + 7);
            for (uint32_t s = 0; s < perPoster;) {
                for (uint32_t n = burst() % 9 + 1; n > 0 && s < perPoster; --n, ++s)
                    pipe.PostToHigh(new Tracked(log, p, s, rounds[p][s]));
                std::this_thread::yield();
            }
        });
    }
    for (auto& poster : posters)
        poster.join();
    high.join();
    low.join();

    for (uint32_t p = 0; p < kPosters; ++p) {
        for (uint32_t s = 0; s < perPoster; ++s) {
            ASSERT_EQ(log.highRuns[p][s], rounds[p][s]) << p << "/" << s;
            ASSERT_EQ(log.lowRuns[p][s], rounds[p][s]) << p << "/" << s;
            ASSERT_EQ(log.deletions[p][s], 1) << p << "/" << s;
        }
        ASSERT_EQ(log.firstHighOrder[p].size(), perPoster);
        EXPECT_TRUE(std::is_sorted(log.firstHighOrder[p].begin(), log.firstHighOrder[p].end()));
    }
}

} // namespace
