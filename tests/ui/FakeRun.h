#pragma once

#include <string>
#include <vector>

#include "core/TControlFlags.h"
#include "session/TRunControl.h"
#include "session/TRunEvents.h"

namespace zz::test {

// A run without threads, ports or files: it records what the main window asked of it, keeps
// the control block as the real run does, and lets a test raise the run's events.
class TFakeRun final : public TRunControl
{
public:
    TFakeRun(TControlFlags& flags, TRunEvents& events) : Flags(flags), Events(events) {}

    bool Connect(const COMSTATUS& line, TProtocol protocol) override
    {
        Calls.push_back("connect " + line.PortName + " " +
                        std::to_string(static_cast<int>(protocol)));
        Flags.Running.store(PortOpens ? 1 : 0);
        return PortOpens;
    }
    TPortOpenError OpenError() const override { return Error; }
    void Disconnect() override
    {
        Calls.push_back("disconnect");
        Flags.Running.store(0);
        Flags.Replaying.store(0);
        Flags.ReplayPlaying.store(0);
        Flags.FramerReset.store(1);
    }

    TSendResult Send(std::string_view text, bool withChecksum, bool restart) override
    {
        Calls.push_back((withChecksum ? "send with checksum " : "send ") + std::string(text));
        if (restart) {
            Calls.push_back("arm");
            Events.ShowTtffText(TTtffText::Dashes);
        }
        return {true, restart};
    }

    bool StartRecording(const std::string& logPath, const std::string& rawPath) override
    {
        Calls.push_back("open " + logPath + " " + rawPath);
        RecordingNow = LogFilesOpen;
        return LogFilesOpen;
    }
    void StopRecording() override
    {
        Calls.push_back("close logs");
        RecordingNow = false;
    }
    bool Recording() const override { return RecordingNow; }
    void WriteSentLine(std::string_view text) override
    {
        Calls.push_back("log line " + std::string(text));
    }
    TLogWriteFailure LogFailure() const override { return {}; }
    TLogWriteFailure RawFailure() const override { return {}; }

    bool OpenReplay(const std::string& path, int& error) override
    {
        Calls.push_back("open replay " + path);
        error = ReplayOpenError;
        return ReplayOpenError == 0;
    }
    int64_t ReplaySize() const override { return ReplayFileSize; }
    int32_t ReplayReference() override { return Reference; }
    void StartReplay(TProtocol protocol) override
    {
        Calls.push_back("start replay " + std::to_string(static_cast<int>(protocol)));
        Flags.Running.store(1);
        Flags.Replaying.store(1);
        Position = 0;
    }
    void CancelReplay() override { Calls.push_back("cancel replay"); }
    void PlayReplay() override
    {
        Calls.push_back("play");
        Flags.ReplayPlaying.store(1);
    }
    void PauseReplay() override
    {
        Calls.push_back("pause");
        Flags.ReplayPlaying.store(0);
    }
    void SeekReplay(int64_t offset) override
    {
        Calls.push_back("seek " + std::to_string(offset));
        Flags.ReplayPlaying.store(0);
        Position = offset;
    }
    void RewindReplay() override
    {
        Calls.push_back("rewind");
        Position = 0;
    }
    void SetReplaySpeed(int speed) override { Calls.push_back("speed " + std::to_string(speed)); }
    int64_t ReplayPosition() const override { return Position; }

    void ResetCounts() override { ++CountResets; }

    TControlFlags& Flags;
    TRunEvents& Events;
    std::vector<std::string> Calls;
    bool PortOpens = true;
    TPortOpenError Error;
    bool LogFilesOpen = true;
    bool RecordingNow = false;
    int ReplayOpenError = 0;
    int64_t ReplayFileSize = 0;
    int32_t Reference = 10;
    int64_t Position = 0;
    int CountResets = 0;
};

} // namespace zz::test
