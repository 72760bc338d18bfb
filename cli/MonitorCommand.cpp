#include "cli/MonitorCommand.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/CliOptions.h"
#include "cli/DecoderChoices.h"
#include "cli/StopSignals.h"
#include "cli/TConsoleDisplay.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"
#include "session/TRun.h"

namespace zz::cli {
namespace {

constexpr auto kWindowSlice = std::chrono::milliseconds(50);

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli monitor: %s\n", message.c_str());
    return status;
}

// The run's events for the console, on the thread that plays the window thread.
class ConsoleEvents final : public TRunEvents
{
public:
    explicit ConsoleEvents(TConsoleDisplay& display) : Display(display) {}

    void ShowTtffText(TTtffText text) override
    {
        Display.SetPendingTtffText(text == TTtffText::Counting ? "counting" : "--");
    }
    // The console draws no plots, so there are no series to empty.
    void ClearAltitudeVelocityPlots() override {}
    void ReceiverLost() override { Lost = true; }
    void ReplayEnded(int) override {}
    // Reported once, at the end.
    void LogWriteFailed() override {}

    bool Lost = false;

private:
    TConsoleDisplay& Display;
};

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
    ApplyDecoderChoices(options, options.HeaderIndex.value_or(THeader::GGA), kept, flags);

    TConsoleDisplay display(options.Display, stdout);
    ConsoleEvents events(display);
    int status = 0;
    {
        TRun run(flags, kept, display, events);
        if (!options.BinPath.empty() && !run.StartRecording(options.LogPath, options.BinPath)) {
            return Fail(2, "cannot create '" + run.RecordingFailedPath() +
                               "': " + std::strerror(run.RecordingOpenError()));
        }

        COMSTATUS line;
        line.PortName = options.Path;
        line.BaudRate = options.BaudRate;
        if (!run.Connect(line, options.Protocol)) {
            run.StopRecording();
            return Fail(2, "cannot open " + options.Path + ": " +
                               DescribeOpenFailure(run.OpenError()));
        }

        WatchStopSignals();

        if (options.Send) {
            const std::string& text = *options.Send;
            if (run.Send(text, options.Checksum, false).Sent) {
                run.WriteSentLine(text);
            } else {
                std::fprintf(stderr, "zedezuze-cli monitor: can't send \"%s\"\n", text.c_str());
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
        while (!StopSignalled() && !events.Lost && !ended()) {
            display.RunFor(kWindowSlice);
        }

        run.Disconnect();
        run.StopRecording();
        const TLogWriteFailure rawFailure = run.RawFailure();
        const TLogWriteFailure logFailure = run.LogFailure();
        if (events.Lost) {
            status = Fail(1, "the receiver on " + options.Path + " went away");
        } else if (rawFailure.Failed || logFailure.Failed) {
            const int error = rawFailure.Failed ? rawFailure.Errno : logFailure.Errno;
            status = Fail(1, std::string("recording failed: ") +
                                 (error != 0 ? std::strerror(error) : "short write"));
        }
    }
    display.RunPending();
    return status;
}

} // namespace zz::cli
