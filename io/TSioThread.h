#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "core/TControlFlags.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"
#include "io/TEvent.h"
#include "io/TReplayFile.h"
#include "io/TReplayWindow.h"
#include "io/TThread.h"

namespace zz {

// Bytes taken from the port by one read: the size of one line-ring slot.
inline constexpr size_t kReceiveBufferSize = 9600;
// Bytes taken from a replayed log by one step.
inline constexpr size_t kReplayStepSize = 10;
// Longest wait on DisplayDone or LineConsumed while the replay waits for the display.
inline constexpr int kDisplayWaitMs = 80;
// Pause of a pass that had nothing to wait on (no port open, hung up, or the replay at its
// end with the play button up).
inline constexpr int kIdleWaitMs = 80;
// A write that makes no progress for this long (the receiver holds XOFF, or nobody reads the
// line) is given up, so that the sending thread is never stuck.
inline constexpr int kWriteStallMs = 3000;

// A worker thread bound to one serial port: it opens and configures the port, sleeps until
// bytes arrive, reads them and hands each chunk to ReceiveBytes; it also writes the bytes of
// commands. During a replay it reads the log file instead, ten bytes at a time, paced by the
// display. The wait for the port is poll on the port and on an eventfd that ClosePort and
// Terminate signal, so both release the thread at once.
class TSioThread : public TThread
{
public:
    TSioThread(bool createSuspended, TControlFlags& flags, std::atomic<uint8_t>& displayPending);
    ~TSioThread() override;

    // Opens the line's port, a device path (a bare name is taken under /dev), takes it
    // exclusively, applies raw mode and the line settings, flushes both directions and resumes
    // the thread. True at once, and nothing changed, when a port is already open. On failure
    // LastOpenError says why.
    [[nodiscard]] bool OpenPort(const COMSTATUS& line);
    TPortOpenError LastOpenError() const { return OpenError; }
    // Resumes the thread, releases its wait, flushes and closes the port.
    void ClosePort();
    bool IsPortOpen() const { return PortOpen.load(); }

    // Reads what has arrived (protocol thread). Bytes of a read during which the driver counted
    // a line error are discarded. 0 when nothing came, on an error, or when the receiver is gone.
    [[nodiscard]] size_t ReadAvailable(uint8_t* buffer, size_t size);
    // Writes the bytes (any thread); the count written, 0 when no port is open or on an error.
    size_t WritePort(const uint8_t* bytes, size_t count);

    // The replay file and window of a replay; set while the thread is suspended.
    void SetReplay(TReplayFile* file, TReplayWindow* window);

    // Set by the monitor thread after each display cycle and after each line taken; the replay
    // waits on them while the display catches up.
    TEvent DisplayDone{true};
    TEvent LineConsumed{true};

protected:
    void Execute() override;
    void WakeForTermination() override;

    // The thread body: the port part and the replay part, pass after pass.
    void SerialLoop();
    virtual void ReceiveBytes(const uint8_t* bytes, size_t count);
    // The receiver went away (hang-up, unplugged); reported once per open port, on this thread.
    virtual void ReceiverLost();

    // Requests termination, resumes, closes the port unless replaying, waits for the body.
    void StopSerialThread();

    TControlFlags& Flags;
    std::atomic<uint8_t>& DisplayPending;

private:
    // One wait for the port and what follows it; false when there was nothing to wait on.
    bool PortPart();
    // One replay step or wait; false when there was nothing to do.
    bool ReplayPart();
    // Closes fd, records why the open failed and what the user needs to know about it.
    bool FailOpen(const std::string& path, TPortOpenFailure reason, int error, int fd);
    void CloseDescriptor();
    void SignalWake();
    void ResetWake();
    // A wait that a suspension extends until the thread is resumed.
    void WaitEvent(TEvent& event, int milliseconds);

    std::mutex PortMutex;
    int PortFd = -1;               // guarded by PortMutex
    bool HasErrorCounters = false; // guarded by PortMutex
    long long LineErrorCount = 0;  // guarded by PortMutex
    std::atomic<bool> PortOpen{false};
    std::atomic<bool> PortLost{false};
    std::mutex WakeMutex;
    int WakeFd = -1;
    int WakeError = 0;
    TPortOpenError OpenError;
    std::atomic<TReplayFile*> ReplayFile{nullptr};
    std::atomic<TReplayWindow*> ReplayWindow{nullptr};
    std::array<uint8_t, kReceiveBufferSize> ReceiveBuffer{};
    std::array<uint8_t, kReplayStepSize> ReplayBuffer{};
};

} // namespace zz
