#include "cli/LiveStats.h"

#include <chrono>
#include <cstdio>

#include "cli/DecoderChoices.h"
#include "cli/StopSignals.h"
#include "cli/TEvaluationDisplay.h"
#include "cli/TLiveEvents.h"
#include "cli/TRecordingTap.h"
#include "core/RawLogMarker.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"
#include "session/TRun.h"

namespace zz::cli {
namespace {

constexpr auto kWindowSlice = std::chrono::milliseconds(50);

} // namespace

TLiveOutcome EvaluateLive(const TCliOptions& options, TStatsSummary& summary, std::string& error)
{
    TControlFlags flags;
    TKeptValues kept;
    ApplyDecoderChoices(options, options.HeaderIndex.value_or(THeader::GGA), kept, flags);

    TReceiverEvaluation evaluation(
        options.Protocol,
        options.Reference ? std::optional<TGeodetic>(options.Reference->Place) : std::nullopt,
        options.Reference && options.Reference->HasAltitude);
    TEvaluationDisplay display(
        [&evaluation](const TReceiverState& snapshot) { evaluation.AddSnapshot(snapshot); });
    TLiveEvents events(display);
    const size_t markerBytes = options.Protocol == TProtocol::Nmea
                                   ? MarkerLine(ChoiceIndex(kept.HeaderIndex.load())).size()
                                   : 0;
    TLiveOutcome outcome = TLiveOutcome::Done;
    double seconds = 0.0;
    {
        TRun run(flags, kept, display, events);
        TRecordingTap tap(options.Protocol, markerBytes);
        if (!tap.Start(run, error)) {
            return TLiveOutcome::NotStarted;
        }
        COMSTATUS line;
        line.PortName = options.Path;
        line.BaudRate = options.BaudRate;
        if (!run.Connect(line, options.Protocol)) {
            error = "cannot open " + options.Path + ": " + DescribeOpenFailure(run.OpenError());
            static_cast<void>(tap.Stop(run));
            return TLiveOutcome::NotStarted;
        }
        WatchStopSignals();
        const auto start = std::chrono::steady_clock::now();
        if (options.Send) {
            const std::string& text = *options.Send;
            const TRunControl::TSendResult sent = run.Send(text, options.Checksum, false);
            if (sent.Sent) {
                run.WriteSentLine(text);
            } else {
                std::fprintf(stderr, "zedezuze-cli stats: can't send \"%s\"\n", text.c_str());
            }
            if (sent.TtffArmed) {
                evaluation.RestartSent(text);
            }
        }
        const auto duration = std::chrono::duration<double>(*options.DurationSeconds);
        while (!StopSignalled() && !events.Lost &&
               std::chrono::steady_clock::now() - start < duration) {
            display.RunFor(kWindowSlice);
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.Disconnect();
        summary.Link = tap.Stop(run);
        if (events.Lost) {
            outcome = TLiveOutcome::ReceiverLost;
        }
    }
    display.RunPending();
    evaluation.Finish();
    summary.Source = options.Path;
    summary.Live = true;
    summary.Protocol = options.Protocol;
    summary.BaudRate = options.BaudRate;
    summary.Reference = options.Reference;
    summary.Evaluation = evaluation.Report();
    summary.DurationSeconds = seconds;
    return outcome;
}

} // namespace zz::cli
