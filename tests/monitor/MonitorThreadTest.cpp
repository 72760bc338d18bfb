// The monitor thread on a real protocol thread reading a pseudo-terminal, with a window thread
// of its own that runs the hand-offs, as the application's event loop does.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/TKeptValues.h"
#include "io/COMSTATUS.h"
#include "io/TNmea.h"
#include "monitor/TMonitorThread.h"
#include "tests/io/IoTestSupport.h"

namespace zz::test {
namespace {

const char* InfoName(TInfoLabel label)
{
    static const char* const kNames[] = {"utc",  "fix",  "dim",  "rot", "usat", "lat",
                                         "lon",  "alt",  "vel",  "dir", "MT",   "pdop",
                                         "hdop", "vdop", "ttff", "fver"};
    return kNames[static_cast<int>(label)];
}

const char* DrName(TDrLabel label)
{
    static const char* const kNames[] = {"DR rot", "DR rotst", "DR rotcnt"};
    return kNames[static_cast<int>(label)];
}

// A display whose posted work runs on a window thread of its own, or stays queued while the
// test holds that thread (as when the real window thread is busy elsewhere). Records every
// call as one text, in order.
class TThreadedDisplay final : public TDisplay
{
public:
    TThreadedDisplay() : Window([this] { RunWindowThread(); }) {}
    ~TThreadedDisplay() override
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Quit = true;
        }
        Changed.notify_all();
        Window.join();
    }

    void Post(std::function<void()> work) override
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Queue.push_back(std::move(work));
        }
        Changed.notify_all();
    }

    void AppendLogLine(std::string_view line) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(LineDelayMs.load()));
        Record("log " + std::string(line));
    }
    void SetInfoText(TInfoLabel label, std::string_view text) override
    {
        Record(std::string(InfoName(label)) + "=" + std::string(text));
    }
    void SetDrText(TDrLabel label, std::string_view text) override
    {
        Record(std::string(DrName(label)) + "=" + std::string(text));
    }
    void SetDirection(const TDirectionView& view) override
    {
        Record("direction " + std::string(view.DirLabel.View()) + " " + std::string(view.MTLabel) +
               " " + (view.ArrowAngle ? std::to_string(*view.ArrowAngle) : "hidden"));
    }
    void BeginUpdate(const TReceiverState&) override { Record("begin"); }
    void EndUpdate() override { Record("end"); }

    // Holds the window thread: posted work queues up until Release.
    void Hold()
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Held = true;
    }
    void Release()
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Held = false;
        }
        Changed.notify_all();
    }
    size_t Queued()
    {
        std::lock_guard<std::mutex> lock(Mutex);
        return Queue.size();
    }

    std::vector<std::string> Calls()
    {
        std::lock_guard<std::mutex> lock(Mutex);
        return Recorded;
    }

    std::atomic<int> LineDelayMs{0};

private:
    void Record(std::string call)
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Recorded.push_back(std::move(call));
    }

    void RunWindowThread()
    {
        std::unique_lock<std::mutex> lock(Mutex);
        while (true) {
            Changed.wait(lock, [this] { return Quit || (!Held && !Queue.empty()); });
            if (Quit) {
                return;
            }
            auto work = std::move(Queue.front());
            Queue.pop_front();
            lock.unlock();
            work();
            lock.lock();
        }
    }

    std::mutex Mutex;
    std::condition_variable Changed;
    std::deque<std::function<void()>> Queue;
    std::vector<std::string> Recorded;
    bool Held = false;
    bool Quit = false;
    std::thread Window;
};

class MonitorThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Pty.Ok());
        Monitor = std::make_unique<TMonitorThread>(Flags, Display);
        Protocol =
            std::make_unique<TNmea>(true, Flags, Kept, Monitor->DisplayPending, nullptr, nullptr);
        COMSTATUS status;
        status.PortName = Pty.SlavePath;
        status.BaudRate = 115200;
        ASSERT_TRUE(Protocol->OpenReceiverPort(status));
        Monitor->SetProtocolThread(Protocol.get());
        Flags.Running = 1;
        Monitor->Resume();
    }

    void TearDown() override
    {
        Flags.Running = 0;
        if (Monitor) {
            Monitor->Suspend();
            Monitor->SetProtocolThread(nullptr);
        }
        Protocol.reset();
        Monitor.reset();
    }

    bool WaitForCall(const std::string& call)
    {
        return WaitUntil([&] {
            const auto calls = Display.Calls();
            return std::find(calls.begin(), calls.end(), call) != calls.end();
        });
    }

    TPtyPair Pty;
    TControlFlags Flags;
    TKeptValues Kept;
    TThreadedDisplay Display;
    std::unique_ptr<TMonitorThread> Monitor;
    std::unique_ptr<TNmea> Protocol;
};

TEST_F(MonitorThreadTest, EachLineReachesTheLogBeforeTheSnapshotItProduced)
{
    // The decoder may run ahead of a pass; so the sentence is decoded and put while no run is
    // active, and the next pass then finds both the line and the changed groups.
    Flags.Running = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // Both events are created set; nothing has set or consumed them yet. Consume that first
    // set, so that the checks at the end see only what the hand-offs set.
    ASSERT_TRUE(Protocol->DisplayDone.WaitFor(0));
    ASSERT_TRUE(Protocol->LineConsumed.WaitFor(0));
    const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
    ASSERT_TRUE(Pty.WriteMaster(gga + "\r\n"));
    ASSERT_TRUE(WaitUntil([&] { return !Protocol->ProtocolEngine().Ring().IsEmpty(); }));
    Flags.Running = 1;
    ASSERT_TRUE(WaitForCall("end"));

    const std::vector<std::string> expected = {"log " + gga,
                                               "begin",
                                               "fix=GPS",
                                               "DR rotcnt=0",
                                               "lat=\nN 048 07' 02.280\"\n0m",
                                               "lon=E 011 31' 00.000\"",
                                               "usat=8",
                                               "alt=545.4",
                                               "end"};
    EXPECT_EQ(Display.Calls(), expected);
    // The monitor clears it once the hand-off has returned, just after the window ran "end".
    EXPECT_TRUE(WaitUntil([&] { return Monitor->DisplayPending.load() == 0; }));
    // Each event is set after its hand-off has returned: LineConsumed after the log line,
    // DisplayDone just after DisplayPending was cleared (so it may still be on its way).
    const int bound = static_cast<int>(kEventBound.count());
    EXPECT_TRUE(Protocol->LineConsumed.WaitFor(bound));
    EXPECT_TRUE(Protocol->DisplayDone.WaitFor(bound));
}

TEST_F(MonitorThreadTest, ABacklogIsShownOneLinePerPassInOrder)
{
    std::string burst;
    for (int i = 0; i < 20; ++i) {
        burst += "$GPTXT,01,01,02,line " + std::to_string(i) + "*00\r\n";
    }
    ASSERT_TRUE(Pty.WriteMaster(burst));
    ASSERT_TRUE(WaitForCall("log $GPTXT,01,01,02,line 19*00"));
    std::vector<std::string> lines;
    for (const auto& call : Display.Calls()) {
        lines.push_back(call);
    }
    ASSERT_EQ(lines.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(lines[static_cast<size_t>(i)],
                  "log $GPTXT,01,01,02,line " + std::to_string(i) + "*00");
    }
}

TEST_F(MonitorThreadTest, DisplayCycleWritesTheChangedGroupsInItsFixedOrder)
{
    Monitor->Suspend();
    TReceiverState state{};
    ResetReceiverState(state);
    state.FixQuality = 6;
    state.Latitude = 3540.2058;
    state.Longitude = -13945.1234;
    state.Course = 45.99;
    state.CourseReference = 1;
    state.Speed = 12.34;
    state.Pdop = 99.995;
    state.Hdop = 1.0;
    state.Vdop = 0.0;
    state.RotStatus = 1;
    state.RateOfTurn = 10000;
    state.ProgramVersion = 1234;
    state.Ttff = 3527;
    for (bool* flag : {&state.TtffUpdated, &state.PositionUpdated, &state.DopUpdated,
                       &state.VelocityUpdated, &state.RotUpdated, &state.VersionUpdated}) {
        *flag = true;
    }
    Monitor->RunDisplayCycle(state);

    const std::vector<std::string> expected = {
        "begin",
        "ttff=35.27",
        "fix=DR only",
        "DR rotcnt=1",
        "lat=\nN 035 40' 12.348\"\n0m",
        "lon=W 139 45' 07.404\"",
        "pdop=--",
        "hdop=1.00",
        "vdop=0.00",
        "vel=12.3",
        "dir=46.0",
        "MT=[M]",
        "direction 46.0 Magnetic Track 135",
        "rot=Active",
        "DR rotst=Active",
        "DR rot=--",
        "fver=0000001234",
        "end",
    };
    EXPECT_EQ(Display.Calls(), expected);

    Flags.ProtocolSelection = TProtocol::Binary;
    state = {};
    state.VersionUpdated = true;
    state.ProgramVersion = 1234;
    Monitor->RunDisplayCycle(state);
    EXPECT_EQ(Display.Calls()[expected.size() + 1], "fver=001234");
}

TEST_F(MonitorThreadTest, DestroyingWithAHandOffInFlightNeitherDeadlocksNorRunsItLater)
{
    Display.Hold(); // the window thread is busy: the hand-off waits in its queue
    ASSERT_TRUE(Pty.WriteMaster("$GPTXT,held*00\r\n"));
    ASSERT_TRUE(WaitUntil([&] { return Display.Queued() > 0; }));

    Flags.Running = 0;
    Monitor->Suspend();
    Monitor->SetProtocolThread(nullptr);
    Protocol.reset();
    Monitor.reset(); // must return although the monitor waits for the held window thread

    Display.Release();
    ASSERT_TRUE(WaitUntil([&] { return Display.Queued() == 0; }));
    EXPECT_TRUE(Display.Calls().empty()); // the abandoned hand-off touched nothing
}

TEST_F(MonitorThreadTest, SuspendAndResumeWithASlowDisplayLoseNothing)
{
    Display.LineDelayMs = 30;
    std::string burst;
    for (int i = 0; i < 10; ++i) {
        burst += "$GPTXT,slow " + std::to_string(i) + "*00\r\n";
    }
    ASSERT_TRUE(Pty.WriteMaster(burst));
    for (int round = 0; round < 5; ++round) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Monitor->Suspend();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Monitor->Resume();
    }
    ASSERT_TRUE(WaitForCall("log $GPTXT,slow 9*00"));
    EXPECT_EQ(Display.Calls().size(), 10u);
}

TEST_F(MonitorThreadTest, NothingIsShownOnceTheRunHasStopped)
{
    Flags.Running = 0;
    ASSERT_TRUE(Pty.WriteMaster("$GPTXT,late*00\r\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(Display.Calls().empty());
}

// Voluntary context switches of this process's threads that carry the name: each is one wake-up
// after a wait.
long WakeUps(const std::string& threadName)
{
    long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name != threadName) {
            continue;
        }
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
                total += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return total;
}

TEST_F(MonitorThreadTest, AnIdleLinkWakesNeitherTheMonitorNorTheSerialThread)
{
    ASSERT_TRUE(Pty.WriteMaster("$GPTXT,first*00\r\n"));
    ASSERT_TRUE(WaitForCall("log $GPTXT,first*00"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    const long monitorBefore = WakeUps("zz-monitor");
    const long serialBefore = WakeUps("zz-serial");
    ASSERT_GT(monitorBefore, 0); // the threads are found by their names
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    // A timed wait of the line hand-off would wake the monitor several times meanwhile.
    EXPECT_EQ(WakeUps("zz-monitor") - monitorBefore, 0);
    EXPECT_EQ(WakeUps("zz-serial") - serialBefore, 0);

    // The next line still arrives, and letting go of the protocol thread does not wait for one.
    ASSERT_TRUE(Pty.WriteMaster("$GPTXT,second*00\r\n"));
    ASSERT_TRUE(WaitForCall("log $GPTXT,second*00"));
    Monitor->SetProtocolThread(nullptr);
    Monitor->SetProtocolThread(Protocol.get());
    ASSERT_TRUE(Pty.WriteMaster("$GPTXT,third*00\r\n"));
    EXPECT_TRUE(WaitForCall("log $GPTXT,third*00"));
}

} // namespace
} // namespace zz::test
