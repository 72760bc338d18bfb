#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "io/TLogFiles.h"
#include "io/TProtocolListener.h"
#include "io/TReplayFile.h"
#include "io/TReplayWindow.h"
#include "session/TRunControl.h"
#include "session/TRunEvents.h"

namespace zz {

class TDisplay;
class TGpsioThread;
class TMonitorThread;
class TSimPty;

// The run behind the windows: the monitor thread (made suspended at once and kept to the
// end), the log files of a recording, and per connection or replay the protocol thread, the
// simulated receiver of the port "SIM" and the replayed file. It steers the threads through
// the control block, which it shares with the windows: it sets Running, Replaying and
// ReplayPlaying as runs open, play and end; the windows set the requests they serve.
//
// The protocol thread's events and the replay's end reach the windows through the display's
// Post, stamped with the run's number, and are dropped there when the run has ended since.
class TRun final : public TRunControl, private TProtocolListener, private TReplayWindow
{
public:
    TRun(TControlFlags& flags, const TKeptValues& kept, TDisplay& display, TRunEvents& events);
    ~TRun() override;
    TRun(const TRun&) = delete;
    TRun& operator=(const TRun&) = delete;

    bool Connect(const COMSTATUS& line, TProtocol protocol) override;
    TPortOpenError OpenError() const override { return LastOpenError; }
    void Disconnect() override;

    TSendResult Send(std::string_view text, bool withChecksum, bool restart) override;

    bool StartRecording(const std::string& logPath, const std::string& rawPath) override;
    void StopRecording() override;
    bool Recording() const override { return Logs.Recording(); }
    void WriteSentLine(std::string_view text) override;
    TLogWriteFailure LogFailure() const override { return Logs.LogFailure(); }
    TLogWriteFailure RawFailure() const override { return Logs.RawFailure(); }
    // The file StartRecording could not create, and the error number.
    const std::string& RecordingFailedPath() const { return FailedRecordingPath; }
    int RecordingOpenError() const { return Logs.LastOpenErrno(); }

    bool OpenReplay(const std::string& path, int& error) override;
    int64_t ReplaySize() const override { return Replay.Size(); }
    int32_t ReplayReference() override;
    void StartReplay(TProtocol protocol) override;
    void CancelReplay() override;
    void PlayReplay() override;
    void PauseReplay() override;
    void SeekReplay(int64_t offset) override;
    void RewindReplay() override;
    void SetReplaySpeed(int speed) override;
    int64_t ReplayPosition() const override { return Replay.Position(); }

    void ResetCounts() override;

    // The protocol of the run in force (the last one opened).
    TProtocol Protocol() const { return RunProtocol; }

private:
    // TProtocolListener, on the protocol thread.
    void ShowTtffText(TTtffText text) override;
    void ClearAltitudeVelocityPlots() override;
    void ReceiverLost() override;
    // TReplayWindow, on the protocol thread.
    // The play button is down exactly while the replay plays.
    bool PlayButtonDown() override { return Flags.ReplayPlaying.load() == 1; }
    void ReleasePlayButton() override { Flags.ReplayPlaying.store(0); }
    void ShowReplayPaused() override;

    // A new run number: events posted by the previous runs are dropped from now on.
    void BeginRun();
    // Queues the event onto the window thread, to run only while this run is current.
    template <typename Event> void PostEvent(Event event);
    std::unique_ptr<TGpsioThread> MakeProtocolThread(TProtocol protocol);
    bool StartSimulator(const COMSTATUS& line, TProtocol protocol, std::string& portName);
    // Stops the protocol thread and the simulated receiver and suspends the monitor thread.
    void EndProtocolThread();
    // Suspends both threads of a replay (window thread).
    void SuspendThreads();

    // Shared with the posted events, which may outlive the run in the window thread's queue.
    struct TEventGate
    {
        std::atomic<uint32_t> Number{0};
        std::atomic<bool> Ended{false};
    };

    TControlFlags& Flags;
    const TKeptValues& Kept;
    TDisplay& Display;
    TRunEvents& Events;
    TLogFiles Logs;
    std::shared_ptr<TEventGate> Gate;
    std::unique_ptr<TMonitorThread> MonitorThread;
    std::unique_ptr<TSimPty> Simulator;
    std::unique_ptr<TGpsioThread> ProtocolThread;
    TReplayFile Replay;
    TProtocol RunProtocol = TProtocol::Nmea;
    TPortOpenError LastOpenError;
    std::string FailedRecordingPath;
};

} // namespace zz
