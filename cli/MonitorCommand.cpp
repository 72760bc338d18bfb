#include "cli/MonitorCommand.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "cli/CliOptions.h"
#include "cli/TConsoleDisplay.h"
#include "core/CommandRules.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"
#include "io/TBinary.h"
#include "io/TNmea.h"
#include "monitor/TMonitorThread.h"
#include "sim/TSimPty.h"

namespace zz::cli {
namespace {

constexpr auto kWindowSlice = std::chrono::milliseconds(50);
constexpr const char* kSimPort = "SIM";

std::atomic<bool> StopRequested{false};

void RequestStop(int)
{
    StopRequested.store(true);
}

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli monitor: %s\n", message.c_str());
    return status;
}

// The protocol thread's events for the windows, brought onto the console's window thread.
class ConsoleListener final : public TProtocolListener
{
public:
    explicit ConsoleListener(TConsoleDisplay& display) : Display(display) {}

    void ShowTtffText(TTtffText text) override
    {
        Display.Post([this, text] {
            Display.SetPendingTtffText(text == TTtffText::Counting ? "counting" : "--");
        });
    }
    // The console draws no plots, so there are no series to empty.
    void ClearAltitudeVelocityPlots() override {}
    void ReceiverLost() override { Lost.store(true); }

    std::atomic<bool> Lost{false};

private:
    TConsoleDisplay& Display;
};

COMSTATUS PortSettings(const std::string& port, int32_t baud)
{
    COMSTATUS status;
    status.PortName = port;
    status.BaudRate = baud;
    return status;
}

} // namespace

int RunMonitor(int argc, char** argv)
{
    TCliOptions options;
    const TParseResult parsed = ParseCliOptions(TCliCommand::Monitor, argc, argv, options);
    if (parsed.Outcome == TParseResult::Kind::Help) {
        std::fputs(MonitorUsage(), stdout);
        return 0;
    }
    if (parsed.Outcome == TParseResult::Kind::Error) {
        return Fail(2, parsed.Message);
    }

    TControlFlags flags;
    TKeptValues kept;
    kept.HeaderIndex = options.HeaderIndex.value_or(THeader::GGA);
    kept.LFref = options.LFref;
    kept.SAref = options.SAref;
    kept.VDref = options.VDref;
    kept.ProtocolIndex = options.Protocol;
    flags.ProtocolSelection = options.Protocol;
    flags.HeaderSelection = kept.HeaderIndex.load();

    // The built-in simulated receiver speaks on a pseudo-terminal of its own, so the serial
    // path below runs exactly as for a real receiver.
    std::unique_ptr<TSimPty> simulator;
    std::string port = options.Path;
    if (port == kSimPort) {
        TSimSettings settings;
        settings.Protocol =
            options.Protocol == TProtocol::Binary ? TSimProtocol::Binary : TSimProtocol::Nmea;
        settings.BaudRate = 115200;
        simulator = std::make_unique<TSimPty>(settings);
        std::string error;
        if (!simulator->OpenPty(error) || !simulator->Start(error)) {
            return Fail(2, "cannot start the simulated receiver: " + error);
        }
        port = simulator->SlavePath();
    }

    TConsoleDisplay display(options.Display, stdout);
    ConsoleListener listener(display);
    auto monitor = std::make_unique<TMonitorThread>(flags, display);

    if (!options.BinPath.empty()) {
        TLogFiles& logs = monitor->LogFiles();
        if (!logs.OpenRawFile(options.BinPath)) {
            return Fail(2, "cannot create '" + options.BinPath +
                               "': " + std::strerror(logs.LastOpenErrno()));
        }
        if (!logs.OpenLogFile(options.LogPath)) {
            const int error = logs.LastOpenErrno();
            logs.CloseLogFiles();
            return Fail(2, "cannot create '" + options.LogPath + "': " + std::strerror(error));
        }
    }

    std::unique_ptr<TGpsioThread> protocol;
    if (options.Protocol == TProtocol::Binary) {
        protocol = std::make_unique<TBinary>(true, flags, kept, monitor->DisplayPending,
                                             &monitor->LogFiles(), &listener);
    } else {
        protocol = std::make_unique<TNmea>(true, flags, kept, monitor->DisplayPending,
                                           &monitor->LogFiles(), &listener);
    }
    if (!protocol->OpenReceiverPort(PortSettings(port, options.BaudRate))) {
        const std::string reason = DescribeOpenFailure(protocol->LastOpenError());
        protocol.reset();
        monitor->LogFiles().CloseLogFiles();
        return Fail(2, "cannot open " + options.Path + ": " + reason);
    }
    monitor->SetProtocolThread(protocol.get());
    flags.Running = 1;
    monitor->Resume();

    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);

    if (options.Send) {
        const std::string& text = *options.Send;
        const bool sent = options.Checksum ? protocol->SendWithChecksum(text.data(), text.size())
                                           : protocol->SendText(text.data(), text.size());
        if (!sent) {
            std::fprintf(stderr, "zedezuze-cli monitor: can't send \"%s\"\n", text.c_str());
        } else {
            monitor->LogFiles().WriteSentLine(text.data(), text.size());
            char lastCommand[kLastCommandSize];
            protocol->ProtocolEngine().CopyLastCommand(lastCommand);
            if (IsClearCommand(lastCommand, options.Protocol)) {
                protocol->ProtocolEngine().ArmTtff();
                display.SetPendingTtffText("--");
            }
        }
    }

    const auto start = std::chrono::steady_clock::now();
    const auto ended = [&] {
        if (!options.DurationSeconds) {
            return false;
        }
        return std::chrono::steady_clock::now() - start >=
               std::chrono::duration<double>(*options.DurationSeconds);
    };
    while (!StopRequested.load() && !listener.Lost.load() && !ended()) {
        display.RunFor(kWindowSlice);
    }

    flags.Running = 0;
    monitor->Suspend();
    monitor->SetProtocolThread(nullptr);
    protocol.reset();
    monitor->LogFiles().CloseLogFiles();
    const TLogWriteFailure rawFailure = monitor->LogFiles().RawFailure();
    const TLogWriteFailure logFailure = monitor->LogFiles().LogFailure();
    monitor.reset();
    display.RunPending();
    if (simulator) {
        simulator->Stop();
    }

    if (listener.Lost.load()) {
        return Fail(1, "the receiver on " + options.Path + " went away");
    }
    if (rawFailure.Failed || logFailure.Failed) {
        const int error = rawFailure.Failed ? rawFailure.Errno : logFailure.Errno;
        return Fail(1, std::string("recording failed: ") +
                           (error != 0 ? std::strerror(error) : "short write"));
    }
    return 0;
}

} // namespace zz::cli
