#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "io/TEvent.h"
#include "io/TThread.h"
#include "tests/io/IoTestSupport.h"

namespace zz::test {
namespace {

// A body that counts its passes; each pass is one gate and one short sleep.
class TCountingThread final : public TThread
{
public:
    explicit TCountingThread(bool createSuspended) : TThread(createSuspended)
    {
        FinishConstruction();
    }
    ~TCountingThread() override { StopThread(); }

    std::atomic<int> Passes{0};
    std::atomic<bool> Returned{false};

protected:
    void Execute() override
    {
        while (PassGate()) {
            Passes.fetch_add(1);
            if (!SleepFor(1)) {
                break;
            }
        }
        Returned.store(true);
    }
};

TEST(EventTest, AutoResetsAfterOneWaitAndStartsAsCreated)
{
    TEvent created(true);
    EXPECT_TRUE(created.IsSet());
    EXPECT_TRUE(created.WaitFor(0));
    EXPECT_FALSE(created.IsSet());
    EXPECT_FALSE(created.WaitFor(1));

    TEvent event;
    EXPECT_FALSE(event.WaitFor(0));
    event.Set();
    event.Set(); // setting twice still releases only one wait
    EXPECT_TRUE(event.WaitFor(0));
    EXPECT_FALSE(event.WaitFor(0));
}

TEST(EventTest, SetFromAnotherThreadEndsAWaitLongBeforeItsLimit)
{
    TEvent event;
    std::atomic<bool> released{false};
    std::thread waiter([&] { released.store(event.WaitFor(60000)); });
    event.Set();
    waiter.join();
    EXPECT_TRUE(released.load());
}

TEST(ThreadTest, CreatedSuspendedDoesNothingUntilResumed)
{
    TCountingThread thread(true);
    EXPECT_TRUE(thread.Suspended());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(thread.Passes.load(), 0);

    thread.Resume();
    EXPECT_TRUE(WaitUntil([&] { return thread.Passes.load() > 3; }));
}

TEST(ThreadTest, CreatedRunningStartsOnItsOwn)
{
    TCountingThread thread(false);
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(WaitUntil([&] { return thread.Passes.load() > 3; }));
}

TEST(ThreadTest, SuspendStopsWorkAtTheGateAndResumeGoesOn)
{
    TCountingThread thread(false);
    ASSERT_TRUE(WaitUntil([&] { return thread.Passes.load() > 3; }));

    thread.Suspend();
    // The pass in progress may end; after that the body stays at the gate.
    const int atSuspend = thread.Passes.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(thread.Passes.load(), atSuspend + 1);

    thread.Resume();
    const int atResume = thread.Passes.load();
    EXPECT_TRUE(WaitUntil([&] { return thread.Passes.load() > atResume + 3; }));
}

TEST(ThreadTest, TerminateEndsASuspendedOrSleepingBody)
{
    struct TCase
    {
        const char* What;
        bool SuspendFirst;
    };
    for (const TCase& item : {TCase{"running", false}, TCase{"suspended", true}}) {
        SCOPED_TRACE(item.What);
        TCountingThread thread(false);
        ASSERT_TRUE(WaitUntil([&] { return thread.Passes.load() > 0; }));
        if (item.SuspendFirst) {
            thread.Suspend();
        }
        // No Resume: a termination request alone lets a suspended body go.
        thread.Terminate();
        EXPECT_TRUE(thread.Terminated());
        thread.WaitFor();
        EXPECT_TRUE(thread.Returned.load());
    }
}

TEST(ThreadTest, SleepIsCutShortByTerminate)
{
    class TSleeper final : public TThread
    {
    public:
        TSleeper() : TThread(true) { FinishConstruction(); }
        ~TSleeper() override { StopThread(); }
        std::atomic<bool> Sleeping{false};
        std::atomic<bool> Finished{false};

    protected:
        void Execute() override
        {
            Sleeping.store(true);
            Finished.store(!SleepFor(600000));
        }
    };
    TSleeper thread;
    thread.Resume();
    ASSERT_TRUE(WaitUntil([&] { return thread.Sleeping.load(); }));
    thread.Terminate();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished.load());
}

TEST(ThreadTest, ResumeAfterTerminateDoesNotStartTheBody)
{
    TCountingThread thread(true);
    thread.Terminate();
    thread.Resume();
    thread.WaitFor();
    EXPECT_EQ(thread.Passes.load(), 0);
    EXPECT_FALSE(thread.Returned.load());
}

} // namespace
} // namespace zz::test
