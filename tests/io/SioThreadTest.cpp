#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/TControlFlags.h"
#include "io/TSioThread.h"
#include "tests/io/IoTestSupport.h"
#include "tests/io/RecordingSioThread.h"

namespace zz::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr milliseconds kReleaseBound{2000};

class SioThreadTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Pty.Ok()); }

    // Opens the pty's slave at 9600 8N1 with no flow control.
    bool OpenDefault(TSioThread& thread) { return thread.OpenPort(Line(Pty.SlavePath)); }

    // True when the master sees the slave side fully closed within the bound: that happens only
    // once no thread of ours still waits on the slave.
    bool MasterSeesHangUp()
    {
        pollfd wait{Pty.Master, POLLIN, 0};
        const auto deadline = steady_clock::now() + kReleaseBound;
        while (steady_clock::now() < deadline) {
            wait.revents = 0;
            if (::poll(&wait, 1, 10) > 0 && (wait.revents & POLLHUP) != 0) {
                return true;
            }
        }
        return false;
    }

    TControlFlags Flags;
    std::atomic<uint8_t> DisplayPending{0};
    TPtyPair Pty;
};

TEST_F(SioThreadTest, OpenPortAppliesRawModeAndTheLineSettings)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    COMSTATUS line = Line(Pty.SlavePath);
    line.BaudRate = 115200;
    line.DataBits = TDataBits::Seven;
    line.Parity = TParity::Even;
    line.StopBits = TStopBits::OneAndHalf;
    line.XonXoffIn = true;
    line.XonXoffOut = true;
    ASSERT_TRUE(thread.OpenPort(line));
    EXPECT_TRUE(thread.IsPortOpen());
    EXPECT_FALSE(thread.Suspended());

    termios settings{};
    ASSERT_EQ(::tcgetattr(Pty.Slave, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B115200));
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_NE(settings.c_cflag & CSTOPB, 0u); // one and a half stop bits become two
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    // A pty keeps 8 data bits without parity whatever it is told; the data-bit and parity
    // mapping is covered by LineSettingsTest.

    // Open again with other settings: true, nothing changed.
    EXPECT_TRUE(OpenDefault(thread));
    ASSERT_EQ(::tcgetattr(Pty.Slave, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B115200));
}

TEST_F(SioThreadTest, OpenFailuresSayWhy)
{
    TTempDir dir;
    {
        std::ofstream(dir.File("plain-file")) << "not a terminal";
    }

    TRecordingSioThread holder(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(holder));

    struct TCase
    {
        const char* What;
        std::string Path;
        TPortOpenFailure Reason;
    };
    const TCase cases[] = {
        {"held by another thread", Pty.SlavePath, TPortOpenFailure::Busy},
        {"missing device", dir.File("ttyUSB99"), TPortOpenFailure::Missing},
        {"missing bare name", "ttyZZ-no-such-port", TPortOpenFailure::Missing},
        {"not a terminal", dir.File("plain-file"), TPortOpenFailure::NotConfigurable},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        TRecordingSioThread thread(Flags, DisplayPending);
        EXPECT_FALSE(thread.OpenPort(Line(item.Path)));
        EXPECT_FALSE(thread.IsPortOpen());
        EXPECT_EQ(thread.LastOpenError().Reason, item.Reason);
        EXPECT_NE(thread.LastOpenError().Errno, 0);
    }

    // Once the holder lets go, the port can be opened.
    holder.ClosePort();
    TRecordingSioThread next(Flags, DisplayPending);
    EXPECT_TRUE(OpenDefault(next));
    EXPECT_EQ(next.LastOpenError().Reason, TPortOpenFailure::None);
}

TEST_F(SioThreadTest, OpenFailureWithoutPermissionSaysSo)
{
    TTempDir dir;
    const std::string path = dir.File("ttyS0");
    {
        std::ofstream(path) << "";
    }
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    const int probe = ::open(path.c_str(), O_RDWR);
    if (probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this user (root) opens files whatever their mode; a pty slave would not "
                        "refuse it either";
    }
    TRecordingSioThread thread(Flags, DisplayPending);
    EXPECT_FALSE(thread.OpenPort(Line(path)));
    EXPECT_EQ(thread.LastOpenError().Reason, TPortOpenFailure::PermissionDenied);
    EXPECT_EQ(thread.LastOpenError().Errno, EACCES);
}

TEST_F(SioThreadTest, ChunksAreHandedOnAsTheyArrive)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(thread));

    ASSERT_TRUE(Pty.WriteMaster("$GPGGA,1"));
    EXPECT_TRUE(WaitUntil([&] { return thread.Received() == "$GPGGA,1"; }));
    // Bytes that a cooked terminal would translate or swallow pass unchanged.
    const std::string awkward("\r\n\x03\x04\x11\x13\x7f\xff\0end", 12);
    ASSERT_TRUE(Pty.WriteMaster(awkward));
    EXPECT_TRUE(WaitUntil([&] { return thread.Received() == "$GPGGA,1" + awkward; }));
    EXPECT_GE(thread.Chunks().size(), 2u);
}

TEST_F(SioThreadTest, WrittenBytesReachTheOtherEnd)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    const uint8_t command[] = {'$', 'P', '\r', '\n', 0x00, 0xA5};
    EXPECT_EQ(thread.WritePort(command, sizeof command), 0u); // no port yet

    ASSERT_TRUE(OpenDefault(thread));
    EXPECT_EQ(thread.WritePort(command, sizeof command), sizeof command);
    EXPECT_EQ(Pty.ReadMaster(sizeof command),
              std::string(reinterpret_cast<const char*>(command), sizeof command));

    thread.ClosePort();
    EXPECT_EQ(thread.WritePort(command, sizeof command), 0u);
}

TEST_F(SioThreadTest, ClosePortReleasesTheWaitingThreadAtOnce)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(thread));
    Pty.CloseSlave(); // only the thread holds the slave now
    ASSERT_TRUE(Pty.WriteMaster("x"));
    ASSERT_TRUE(WaitUntil([&] { return thread.Received() == "x"; }));

    thread.ClosePort();
    EXPECT_FALSE(thread.IsPortOpen());
    EXPECT_TRUE(MasterSeesHangUp());
    EXPECT_EQ(thread.LostCount.load(), 0); // our own close is not a lost receiver
}

TEST_F(SioThreadTest, DestructionReleasesTheWaitingThreadAtOnce)
{
    auto thread = std::make_unique<TRecordingSioThread>(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(*thread));
    ASSERT_TRUE(Pty.WriteMaster("x"));
    ASSERT_TRUE(WaitUntil([&] { return thread->Received() == "x"; }));

    const auto start = steady_clock::now();
    thread.reset();
    EXPECT_LT(steady_clock::now() - start, kReleaseBound);
}

TEST_F(SioThreadTest, WriteBlockedOnAFullLineIsReleasedByClosePort)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(thread));
    // Nobody reads the master: far more than the pty can buffer blocks the write.
    const std::vector<uint8_t> flood(1 << 20, 'A');
    std::atomic<bool> returned{false};
    std::atomic<size_t> written{1};
    std::thread writer([&] {
        written.store(thread.WritePort(flood.data(), flood.size()));
        returned.store(true);
    });
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_FALSE(returned.load());

    const auto start = steady_clock::now();
    thread.ClosePort();
    writer.join();
    EXPECT_LT(steady_clock::now() - start, kReleaseBound);
    EXPECT_EQ(written.load(), 0u);
}

TEST_F(SioThreadTest, IdleThreadUsesNoProcessorTime)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(thread));
    ASSERT_TRUE(Pty.WriteMaster("x"));
    ASSERT_TRUE(WaitUntil([&] { return thread.Received() == "x"; }));

    const double before = ThreadCpuMs(thread.NativeHandle());
    ASSERT_GE(before, 0.0);
    std::this_thread::sleep_for(milliseconds(1000));
    EXPECT_LT(ThreadCpuMs(thread.NativeHandle()) - before, 50.0);
}

TEST_F(SioThreadTest, HangUpIsReportedOnceAndTheThreadDoesNotSpin)
{
    TRecordingSioThread thread(Flags, DisplayPending);
    ASSERT_TRUE(OpenDefault(thread));
    Pty.CloseSlave();
    ASSERT_TRUE(Pty.WriteMaster("last"));
    ASSERT_TRUE(WaitUntil([&] { return thread.Received() == "last"; }));

    Pty.CloseMaster(); // the receiver is unplugged
    ASSERT_TRUE(WaitUntil([&] { return thread.LostCount.load() > 0; }));
    const double before = ThreadCpuMs(thread.NativeHandle());
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_LT(ThreadCpuMs(thread.NativeHandle()) - before, 50.0);
    EXPECT_EQ(thread.LostCount.load(), 1);
    EXPECT_EQ(thread.Received(), "last");

    // The port is still ours to close, and closing it reports nothing more.
    EXPECT_TRUE(thread.IsPortOpen());
    thread.ClosePort();
    EXPECT_EQ(thread.LostCount.load(), 1);
}

} // namespace
} // namespace zz::test
