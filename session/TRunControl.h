#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ReceiverSettings.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"
#include "io/TLogFiles.h"

namespace zz {

// What the windows ask of the run: a connection to a serial port or to the built-in
// simulated receiver, or the replay of a raw log, with the threads and the log files behind
// it. The main window drives it through this interface only, so its tests can stand in a
// recording fake. Every call comes from the window thread.
class TRunControl
{
public:
    virtual ~TRunControl() = default;

    // A live run. Opens the port the line settings name ("SIM" starts the simulated receiver on
    // a pseudo-terminal of its own) with the protocol thread of the protocol, and starts the
    // threads. False when the port could not be opened; OpenError then says why.
    virtual bool Connect(const COMSTATUS& line, TProtocol protocol) = 0;
    virtual TPortOpenError OpenError() const = 0;
    // Ends the live run or the replay: the protocol thread (and the simulated receiver) is
    // gone and the monitor thread suspended when this returns. Recording is left as it is.
    virtual void Disconnect() = 0;

    // Sends a command to the receiver, with the protocol's check characters or as typed. A
    // clear or restart command (or any command when restart is true) arms the time to first
    // fix. False when nothing was sent (no live run, or the protocol refused the text).
    struct TSendResult
    {
        bool Sent = false;
        bool TtffArmed = false;
    };
    virtual TSendResult Send(std::string_view text, bool withChecksum, bool restart) = 0;

    // Recording: both files are created, or neither is kept open.
    virtual bool StartRecording(const std::string& logPath, const std::string& rawPath) = 0;
    virtual void StopRecording() = 0;
    virtual bool Recording() const = 0;
    // A sent command as a line of the text log, while recording.
    virtual void WriteSentLine(std::string_view text) = 0;
    virtual TLogWriteFailure LogFailure() const = 0;
    virtual TLogWriteFailure RawFailure() const = 0;

    // The replay of a raw log. OpenReplay opens the file (false, with the error number, when
    // it cannot be opened); an empty file opens but has size 0. ReplayReference reads the
    // header marker at its head. StartReplay makes the protocol thread of the protocol for it,
    // paused at offset 0.
    virtual bool OpenReplay(const std::string& path, int& error) = 0;
    virtual int64_t ReplaySize() const = 0;
    virtual int32_t ReplayReference() = 0;
    virtual void StartReplay(TProtocol protocol) = 0;
    // Closes a replay file that was opened but not started (the user cancelled).
    virtual void CancelReplay() = 0;
    // Play resumes the threads; Pause suspends them. Seek pauses, moves the read position and
    // starts decoding again from an empty receiver state with a fresh framer.
    virtual void PlayReplay() = 0;
    virtual void PauseReplay() = 0;
    virtual void SeekReplay(int64_t offset) = 0;
    // Back to the start of the file after its end was reached; the cycle marks are cleared.
    virtual void RewindReplay() = 0;
    // 0 slow, 1 mid, 2 fast.
    virtual void SetReplaySpeed(int speed) = 0;
    virtual int64_t ReplayPosition() const = 0;

    // The counts of the display cycle kept between cycles start again (window resets).
    virtual void ResetCounts() = 0;
};

} // namespace zz
