#include "io/TSioThread.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "io/LineSettings.h"
#include "io/PortDiagnosis.h"

namespace zz {
namespace {

// Line errors the driver has counted so far; false where the driver keeps no counters.
bool ReadLineErrorCount(int fd, long long& count)
{
    serial_icounter_struct counters{};
    if (::ioctl(fd, TIOCGICOUNT, &counters) != 0) {
        return false;
    }
    count = static_cast<long long>(counters.frame) + counters.parity + counters.overrun +
            counters.buf_overrun + counters.brk;
    return true;
}

std::string DevicePath(const std::string& name)
{
    return name.find('/') == std::string::npos ? "/dev/" + name : name;
}

} // namespace

TSioThread::TSioThread(bool createSuspended, TControlFlags& flags,
                       std::atomic<uint8_t>& displayPending)
    : TThread(createSuspended), Flags(flags), DisplayPending(displayPending)
{
    SetThreadName("zz-serial");
    WakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (WakeFd < 0) {
        WakeError = errno;
    }
}

TSioThread::~TSioThread()
{
    StopSerialThread();
    if (WakeFd >= 0) {
        ::close(WakeFd);
    }
}

void TSioThread::StopSerialThread()
{
    Terminate();
    Resume();
    // During a replay the port is left alone, as the replay owns no port; the body's waits end
    // within one display wait.
    if (Flags.Replaying.load() != 1) {
        ClosePort();
    }
    WaitFor();
    PortOpen.store(false);
    CloseDescriptor();
}

bool TSioThread::OpenPort(const COMSTATUS& line)
{
    if (PortOpen.load()) {
        return true;
    }
    OpenError = {};
    const std::string path = DevicePath(line.PortName);
    if (WakeFd < 0) {
        return FailOpen(path, TPortOpenFailure::Other, WakeError, -1);
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return FailOpen(path, ClassifyOpenErrno(errno), errno, -1);
    }
    // The advisory lock first: a port held elsewhere must not be touched, not even marked
    // exclusive. The exclusive mark then keeps programs that do not lock from opening it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return FailOpen(path, ClassifyOpenErrno(errno), errno, fd);
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return FailOpen(path, TPortOpenFailure::NotConfigurable, errno, fd);
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        return FailOpen(path, ClassifyOpenErrno(errno), errno, fd);
    }
    if (!ApplyLineSettings(settings, line)) {
        return FailOpen(path, TPortOpenFailure::NotConfigurable, EINVAL, fd);
    }
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        return FailOpen(path, TPortOpenFailure::NotConfigurable, errno, fd);
    }
    ::tcflush(fd, TCIOFLUSH);
    {
        std::lock_guard<std::mutex> lock(PortMutex);
        PortFd = fd;
        HasErrorCounters = ReadLineErrorCount(fd, LineErrorCount);
    }
    ResetWake();
    PortLost.store(false);
    PortOpen.store(true);
    Resume();
    return true;
}

bool TSioThread::FailOpen(const std::string& path, TPortOpenFailure reason, int error, int fd)
{
    if (fd >= 0) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
    OpenError.Reason = reason;
    OpenError.Errno = error;
    // Looked for once the descriptor is closed, so that the failed attempt is not counted as a
    // holder.
    AddOpenFailureDetails(path, OpenError);
    return false;
}

void TSioThread::ClosePort()
{
    if (!PortOpen.load()) {
        return;
    }
    Resume();
    PortOpen.store(false);
    SignalWake();
    CloseDescriptor();
}

void TSioThread::CloseDescriptor()
{
    std::lock_guard<std::mutex> lock(PortMutex);
    if (PortFd >= 0) {
        ::tcflush(PortFd, TCIOFLUSH);
        // Both claims are let go explicitly. The exclusive mark belongs to the terminal and
        // would outlive the close while anyone else has the device open; the lock would last
        // until the body's poll has let go of the file, so a quick reopen would find it busy.
        ::ioctl(PortFd, TIOCNXCL);
        ::flock(PortFd, LOCK_UN);
        ::close(PortFd);
        PortFd = -1;
    }
}

void TSioThread::SignalWake()
{
    std::lock_guard<std::mutex> lock(WakeMutex);
    if (WakeFd >= 0) {
        const uint64_t one = 1;
        // Only fails when the counter is already huge, which still wakes every waiter.
        [[maybe_unused]] const ssize_t written = ::write(WakeFd, &one, sizeof one);
    }
}

void TSioThread::ResetWake()
{
    // Under the same lock as SignalWake: a termination requested meanwhile keeps its signal.
    std::lock_guard<std::mutex> lock(WakeMutex);
    if (WakeFd >= 0 && !Terminated()) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = ::read(WakeFd, &count, sizeof count);
    }
}

void TSioThread::WakeForTermination()
{
    SignalWake();
}

void TSioThread::SetReplay(TReplayFile* file, TReplayWindow* window)
{
    ReplayFile.store(file);
    ReplayWindow.store(window);
}

size_t TSioThread::ReadAvailable(uint8_t* buffer, size_t size)
{
    std::lock_guard<std::mutex> lock(PortMutex);
    if (PortFd < 0) {
        return 0;
    }
    if (HasErrorCounters) {
        long long count = LineErrorCount;
        if (ReadLineErrorCount(PortFd, count) && count != LineErrorCount) {
            // A framing, parity, overrun or break error arrived with the queued bytes: drop them.
            LineErrorCount = count;
            ::tcflush(PortFd, TCIFLUSH);
            return 0;
        }
    }
    ssize_t got = 0;
    do {
        got = ::read(PortFd, buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        return static_cast<size_t>(got);
    }
    // End of file on a terminal, or EIO, is a hang-up: the device or the other side is gone.
    if (got == 0 || errno == EIO || errno == ENXIO || errno == ENODEV) {
        PortLost.store(true);
    }
    return 0;
}

size_t TSioThread::WritePort(const uint8_t* bytes, size_t count)
{
    size_t done = 0;
    auto lastProgress = std::chrono::steady_clock::now();
    while (done < count) {
        if (!PortOpen.load()) {
            return 0;
        }
        int fd = -1;
        {
            std::lock_guard<std::mutex> lock(PortMutex);
            if (PortFd < 0) {
                return 0;
            }
            fd = PortFd;
            const ssize_t written = ::write(fd, bytes + done, count - done);
            if (written > 0) {
                done += static_cast<size_t>(written);
                lastProgress = std::chrono::steady_clock::now();
                continue;
            }
            if (written < 0 && errno != EAGAIN && errno != EINTR) {
                ::tcflush(fd, TCOFLUSH);
                return 0;
            }
        }
        // The output queue is full: wait for room, for ClosePort or Terminate, or give up after
        // a stall.
        const auto waited = std::chrono::steady_clock::now() - lastProgress;
        const auto left = std::chrono::milliseconds(kWriteStallMs) -
                          std::chrono::duration_cast<std::chrono::milliseconds>(waited);
        if (left.count() <= 0) {
            std::lock_guard<std::mutex> lock(PortMutex);
            if (PortFd >= 0) {
                ::tcflush(PortFd, TCOFLUSH);
            }
            return 0;
        }
        pollfd waits[2] = {{fd, POLLOUT, 0}, {WakeFd, POLLIN, 0}};
        const int ready = ::poll(waits, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            return 0;
        }
        if ((waits[1].revents & POLLIN) != 0 || (waits[0].revents & (POLLERR | POLLHUP)) != 0) {
            return 0;
        }
    }
    return done;
}

void TSioThread::Execute()
{
    SerialLoop();
}

void TSioThread::SerialLoop()
{
    while (PassGate()) {
        bool waited = false;
        if (PortOpen.load()) {
            waited = PortPart();
        }
        if (Terminated()) {
            break;
        }
        if (Flags.Replaying.load() == 1) {
            waited = ReplayPart() || waited;
        }
        if (!waited && !SleepFor(kIdleWaitMs)) {
            break;
        }
    }
}

bool TSioThread::PortPart()
{
    if (PortLost.load()) {
        return false;
    }
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(PortMutex);
        fd = PortFd;
    }
    if (fd < 0) {
        return false;
    }
    pollfd waits[2] = {{fd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
    if (::poll(waits, 2, -1) < 0) {
        return errno == EINTR;
    }
    // Closing or terminating: leave without reading, even if bytes are waiting.
    if ((waits[1].revents & POLLIN) != 0 || !PassGate() || !PortOpen.load()) {
        return true;
    }
    if ((waits[0].revents & POLLIN) != 0) {
        const size_t count = ReadAvailable(ReceiveBuffer.data(), ReceiveBuffer.size());
        if (count > 0) {
            ReceiveBytes(ReceiveBuffer.data(), count);
        }
    } else if ((waits[0].revents & (POLLHUP | POLLERR)) != 0) {
        PortLost.store(true);
    } else if ((waits[0].revents & POLLNVAL) != 0) {
        return false;
    }
    if (PortLost.load()) {
        ReceiverLost();
        return false;
    }
    return true;
}

bool TSioThread::ReplayPart()
{
    TReplayFile* file = ReplayFile.load();
    TReplayWindow* window = ReplayWindow.load();
    if (file == nullptr || window == nullptr) {
        return false;
    }
    if (!file->AtEnd()) {
        if (Flags.ReplayPlaying.load() == 1 && DisplayPending.load() == 0) {
            const size_t count = file->Read(ReplayBuffer.data(), ReplayBuffer.size());
            if (count > 0) {
                ReceiveBytes(ReplayBuffer.data(), count);
            }
            ReplayBuffer.fill(0);
        } else {
            WaitEvent(DisplayDone, kDisplayWaitMs);
        }
        return true;
    }
    if (!window->PlayButtonDown()) {
        return false;
    }
    window->ReleasePlayButton();
    // Let the display show what the last bytes produced before the framer is reset.
    WaitEvent(DisplayDone, kDisplayWaitMs);
    WaitEvent(LineConsumed, kDisplayWaitMs);
    WaitEvent(DisplayDone, kDisplayWaitMs);
    WaitEvent(LineConsumed, kDisplayWaitMs);
    Flags.FramerReset.store(1);
    window->ShowReplayPaused();
    return true;
}

void TSioThread::WaitEvent(TEvent& event, int milliseconds)
{
    if (Terminated()) {
        return;
    }
    // The display may not catch up within the limit; the replay goes on either way.
    static_cast<void>(event.WaitFor(milliseconds));
    // Holds here while suspended; a termination ends the loop at its next gate.
    static_cast<void>(PassGate());
}

void TSioThread::ReceiveBytes(const uint8_t*, size_t)
{
}

void TSioThread::ReceiverLost()
{
}

} // namespace zz
