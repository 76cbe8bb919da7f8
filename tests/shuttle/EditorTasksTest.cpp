#include <gtest/gtest.h>

#include "shuttle/EditorTasks.h"

#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

// The worker starts with the first task, whichever thread posts it. Posters
// on several threads at once, on queues that never ran, start one worker
// between them; every task runs once, each poster's in the order posted, and
// drain waits for all of them.
TEST(EditorTasks, PostersOnSeveralThreadsStartOneWorkerAndEachKeepsItsOrder)
{
    constexpr int Posters = 4;
    constexpr int PerPoster = 50;
    std::vector<int> expected(PerPoster);
    std::iota(expected.begin(), expected.end(), 0);
    for (int round = 0; round < 20; ++round) {
        Shuttle::EditorTasks tasks;
        std::vector<std::vector<int>> ran(Posters); // written by the worker only
        std::atomic<bool> go{false};
        std::vector<std::thread> posters;
        for (int p = 0; p < Posters; ++p)
            posters.emplace_back([&, p] {
                while (!go.load())
                    std::this_thread::yield();
                for (int i = 0; i < PerPoster; ++i)
                    tasks.post([&ran, p, i] { ran[p].push_back(i); });
            });
        go = true;
        for (auto& poster : posters)
            poster.join();
        tasks.drain();
        for (int p = 0; p < Posters; ++p)
            ASSERT_EQ(ran[p], expected) << "poster " << p << ", round " << round;
    }
}
