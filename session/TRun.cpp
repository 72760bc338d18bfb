#include "session/TRun.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>

#include "core/CommandRules.h"
#include "core/RawLogMarker.h"
#include "io/PortScan.h"
#include "io/TBinary.h"
#include "io/TNmea.h"
#include "monitor/TDisplay.h"
#include "monitor/TMonitorThread.h"
#include "sim/TSimPty.h"

namespace zz {

TRun::TRun(TControlFlags& flags, const TKeptValues& kept, TDisplay& display, TRunEvents& events)
    : Flags(flags), Kept(kept), Display(display), Events(events),
      Logs(flags.ProtocolSelection, flags.HeaderSelection), Gate(std::make_shared<TEventGate>()),
      MonitorThread(std::make_unique<TMonitorThread>(flags, display))
{
    // A failed write is news whatever run is current: recording outlives runs.
    Logs.SetFailureHook([this] {
        Display.Post([gate = Gate, &events = Events] {
            if (!gate->Ended.load()) {
                events.LogWriteFailed();
            }
        });
    });
}

TRun::~TRun()
{
    Gate->Ended.store(true);
    Flags.Running.store(0);
    EndProtocolThread();
    MonitorThread.reset();
    Logs.CloseLogFiles();
}

void TRun::BeginRun()
{
    Gate->Number.fetch_add(1);
}

template <typename Event> void TRun::PostEvent(Event event)
{
    Display.Post([gate = Gate, number = Gate->Number.load(), event = std::move(event)] {
        if (!gate->Ended.load() && gate->Number.load() == number) {
            event();
        }
    });
}

std::unique_ptr<TGpsioThread> TRun::MakeProtocolThread(TProtocol protocol)
{
    TProtocolListener* listener = this;
    if (protocol == TProtocol::Binary) {
        return std::make_unique<TBinary>(true, Flags, Kept, MonitorThread->DisplayPending, &Logs,
                                         listener);
    }
    return std::make_unique<TNmea>(true, Flags, Kept, MonitorThread->DisplayPending, &Logs,
                                   listener);
}

bool TRun::Connect(const COMSTATUS& line, TProtocol protocol)
{
    Disconnect();
    BeginRun();
    LastOpenError = {};
    RunProtocol = protocol;

    COMSTATUS portLine = line;
    if (line.PortName == kSimulatedPortName && !StartSimulator(line, protocol, portLine.PortName)) {
        return false;
    }
    ProtocolThread = MakeProtocolThread(protocol);
    if (!ProtocolThread->OpenReceiverPort(portLine)) {
        LastOpenError = ProtocolThread->LastOpenError();
        EndProtocolThread();
        return false;
    }
    MonitorThread->SetProtocolThread(ProtocolThread.get());
    Flags.Running.store(1);
    MonitorThread->Resume();
    return true;
}

bool TRun::StartSimulator(const COMSTATUS& line, TProtocol protocol, std::string& portName)
{
    TSimSettings settings;
    settings.Protocol = protocol == TProtocol::Binary ? TSimProtocol::Binary : TSimProtocol::Nmea;
    settings.BaudRate = line.BaudRate;
    settings.StartUnixSeconds = static_cast<int64_t>(std::time(nullptr));
    Simulator = std::make_unique<TSimPty>(settings);
    std::string error;
    if (!Simulator->OpenPty(error) || !Simulator->Start(error)) {
        const int failure = errno;
        LastOpenError = {};
        LastOpenError.Reason = TPortOpenFailure::Other;
        LastOpenError.Errno = failure;
        Simulator.reset();
        return false;
    }
    portName = Simulator->SlavePath();
    return true;
}

void TRun::Disconnect()
{
    Flags.Running.store(0);
    Flags.Replaying.store(0);
    Flags.ReplayPlaying.store(0);
    EndProtocolThread();
    Flags.FramerReset.store(1);
    Replay.Close();
    BeginRun();
}

void TRun::EndProtocolThread()
{
    if (ProtocolThread) {
        ProtocolThread->Suspend();
    }
    MonitorThread->Suspend();
    MonitorThread->SetProtocolThread(nullptr);
    ProtocolThread.reset();
    if (Simulator) {
        Simulator->Stop();
        Simulator.reset();
    }
}

TRunControl::TSendResult TRun::Send(std::string_view text, bool withChecksum, bool restart)
{
    TSendResult result;
    if (!ProtocolThread || Flags.Replaying.load() != 0) {
        return result;
    }
    result.Sent = withChecksum ? ProtocolThread->SendWithChecksum(text.data(), text.size())
                               : ProtocolThread->SendText(text.data(), text.size());
    if (!result.Sent) {
        return result;
    }
    std::array<char, kLastCommandSize> lastCommand{};
    ProtocolThread->ProtocolEngine().CopyLastCommand(lastCommand.data());
    if (restart || IsClearCommand(lastCommand.data(), RunProtocol)) {
        Events.ShowTtffText(TTtffText::Dashes);
        ProtocolThread->ProtocolEngine().ArmTtff();
        result.TtffArmed = true;
    }
    return result;
}

bool TRun::StartRecording(const std::string& logPath, const std::string& rawPath)
{
    if (!Logs.OpenLogFile(logPath)) {
        FailedRecordingPath = logPath;
        return false;
    }
    if (!Logs.OpenRawFile(rawPath)) {
        FailedRecordingPath = rawPath;
        Logs.CloseLogFiles();
        return false;
    }
    FailedRecordingPath.clear();
    return true;
}

void TRun::StopRecording()
{
    Logs.CloseLogFiles();
}

void TRun::WriteSentLine(std::string_view text)
{
    Logs.WriteSentLine(text.data(), text.size());
}

bool TRun::OpenReplay(const std::string& path, int& error)
{
    Disconnect();
    if (!Replay.Open(path)) {
        error = Replay.LastError();
        return false;
    }
    error = 0;
    return true;
}

int32_t TRun::ReplayReference()
{
    std::array<uint8_t, kMarkerTextSize> head{};
    Replay.Seek(0);
    const size_t count = Replay.Read(head.data(), head.size());
    Replay.Seek(0);
    return ReplayReferenceFromHead(reinterpret_cast<const char*>(head.data()), count);
}

void TRun::StartReplay(TProtocol protocol)
{
    BeginRun();
    RunProtocol = protocol;
    Replay.Seek(0);
    Flags.ReplaySpeed.store(0);
    Flags.ReplayPlaying.store(0);
    ProtocolThread = MakeProtocolThread(protocol);
    ProtocolThread->SetReplay(&Replay, static_cast<TReplayWindow*>(this));
    MonitorThread->SetProtocolThread(ProtocolThread.get());
    Flags.Running.store(1);
    Flags.Replaying.store(1);
}

void TRun::CancelReplay()
{
    Replay.Close();
}

void TRun::PlayReplay()
{
    if (!ProtocolThread || Flags.Replaying.load() == 0) {
        return;
    }
    Flags.ReplayPlaying.store(1);
    MonitorThread->Resume();
    ProtocolThread->Resume();
    MonitorThread->DisplayPending.store(0);
}

void TRun::PauseReplay()
{
    Flags.ReplayPlaying.store(0);
    SuspendThreads();
}

void TRun::SuspendThreads()
{
    if (ProtocolThread) {
        ProtocolThread->Suspend();
    }
    MonitorThread->Suspend();
}

void TRun::SeekReplay(int64_t offset)
{
    if (!ProtocolThread || Flags.Replaying.load() == 0) {
        return;
    }
    PauseReplay();
    Replay.Seek(offset);
    // A fresh protocol thread decodes from an empty receiver state; the old one may have been
    // inside a sentence or frame.
    MonitorThread->SetProtocolThread(nullptr);
    ProtocolThread.reset();
    BeginRun();
    ProtocolThread = MakeProtocolThread(RunProtocol);
    ProtocolThread->SetReplay(&Replay, static_cast<TReplayWindow*>(this));
    MonitorThread->SetProtocolThread(ProtocolThread.get());
    Flags.FramerReset.store(1);
    ProtocolThread->ProtocolEngine().ClearCycleSeen();
}

void TRun::RewindReplay()
{
    if (!ProtocolThread) {
        return;
    }
    Replay.Seek(0);
    ProtocolThread->ProtocolEngine().ClearCycleSeen();
}

void TRun::SetReplaySpeed(int speed)
{
    Flags.ReplaySpeed.store(std::clamp(speed, 0, 2));
}

void TRun::ResetCounts()
{
    MonitorThread->ResetCounts();
}

void TRun::ShowTtffText(TTtffText text)
{
    PostEvent([this, text] { Events.ShowTtffText(text); });
}

void TRun::ClearAltitudeVelocityPlots()
{
    PostEvent([this] { Events.ClearAltitudeVelocityPlots(); });
}

void TRun::ReceiverLost()
{
    PostEvent([this] { Events.ReceiverLost(); });
}

void TRun::ShowReplayPaused()
{
    // At the end of the file, or where it could no longer be read. The loop goes on idling
    // until the window thread has paused the threads.
    Flags.ReplayPlaying.store(0);
    const int readError = Replay.LastError();
    const int error = readError != 0 ? readError : (Replay.Position() < Replay.Size() ? -1 : 0);
    PostEvent([this, error] {
        SuspendThreads();
        Events.ReplayEnded(error);
    });
}

} // namespace zz
