#include <gtest/gtest.h>

#include <QTest>
#include <QThread>
#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "ui/main/TWindowQueue.h"

namespace zz {
namespace {

// Work posted from several threads at once all runs on the window thread, each thread's work in
// the order posted, and sees what its poster wrote before posting (a payload written by the
// poster and read by the work, which the thread checker would flag without ordering).
TEST(WindowQueue, RunsEveryPostedWorkInOrderOnTheWindowThread)
{
    constexpr int kThreads = 4;
    constexpr int kPostsPerThread = 500;
    TWindowQueue queue;
    std::array<std::vector<int>, kThreads> seen;
    int ranElsewhere = 0;
    const QThread* windowThread = QThread::currentThread();

    std::vector<std::thread> posters;
    for (int thread = 0; thread < kThreads; ++thread) {
        posters.emplace_back([&, thread] {
            for (int index = 0; index < kPostsPerThread; ++index) {
                auto payload = std::make_shared<std::vector<int>>(8, index);
                queue.Post([&, thread, payload] {
                    ranElsewhere += QThread::currentThread() != windowThread ? 1 : 0;
                    seen[static_cast<size_t>(thread)].push_back(payload->back());
                });
            }
        });
    }
    for (std::thread& poster : posters) {
        poster.join();
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            size_t total = 0;
            for (const auto& values : seen) {
                total += values.size();
            }
            return total == kThreads * kPostsPerThread;
        },
        10000));
    EXPECT_EQ(ranElsewhere, 0);
    for (const auto& values : seen) {
        for (int index = 0; index < kPostsPerThread; ++index) {
            ASSERT_EQ(values[static_cast<size_t>(index)], index);
        }
    }
}

TEST(WindowQueue, WorkStillQueuedWhenTheQueueGoesAwayNeverRuns)
{
    bool ran = false;
    {
        TWindowQueue queue;
        std::thread([&] { queue.Post([&] { ran = true; }); }).join();
    }
    QTest::qWait(50);
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace zz
