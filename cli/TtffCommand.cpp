#include "cli/TtffCommand.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/DecoderChoices.h"
#include "cli/JsonWriter.h"
#include "cli/StopSignals.h"
#include "cli/TEvaluationDisplay.h"
#include "cli/TLiveEvents.h"
#include "core/CommandRules.h"
#include "core/TTtffSeries.h"
#include "io/COMSTATUS.h"
#include "io/PortOpenError.h"
#include "session/TRun.h"

namespace zz::cli {
namespace {

constexpr auto kWindowSlice = std::chrono::milliseconds(50);

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli ttff: %s\n", message.c_str());
    return status;
}

// One restart of the series: its time to first fix, as the Information window shows it, or
// nothing when the timeout passed first.
struct TRestartResult
{
    std::optional<double> Seconds;
    std::string WindowText; // the TTFF label's text at the end of the wait
};

std::string ReportText(const std::string& command, const std::vector<TRestartResult>& results,
                       const TTtffReport& summary, double timeout)
{
    std::string text;
    char line[256];
    for (size_t i = 0; i < results.size(); ++i) {
        if (results[i].Seconds) {
            std::snprintf(line, sizeof line, "restart %zu  %s  %.2f s\n", i + 1, command.c_str(),
                          *results[i].Seconds);
        } else {
            std::snprintf(line, sizeof line, "restart %zu  %s  timeout: no fix within %g s\n",
                          i + 1, command.c_str(), timeout);
        }
        text += line;
    }
    std::snprintf(line, sizeof line, "%llu restarts, %llu fixed, %llu timed out\n",
                  static_cast<unsigned long long>(summary.Restarts),
                  static_cast<unsigned long long>(summary.Fixed),
                  static_cast<unsigned long long>(summary.NotFixed));
    text += line;
    if (summary.Min) {
        std::snprintf(line, sizeof line,
                      "TTFF min %.2f s, median %.2f s, 95 %% %.2f s, max %.2f s\n", *summary.Min,
                      *summary.Median, *summary.P95, *summary.Max);
        text += line;
    }
    return text;
}

std::string ReportJson(const TCliOptions& options, const std::string& command,
                       const std::vector<TRestartResult>& results, const TTtffReport& summary)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("port");
    json.String(options.Path);
    json.Key("protocol");
    json.String(options.Protocol == TProtocol::Binary ? "binary" : "nmea");
    json.Key("command");
    json.String(command);
    json.Key("timeout_s");
    json.Number(options.TimeoutSeconds, 3);
    json.Key("restarts");
    json.Integer(summary.Restarts);
    json.Key("fixed");
    json.Integer(summary.Fixed);
    json.Key("timeouts");
    json.Integer(summary.NotFixed);
    json.Key("each");
    json.BeginArray();
    for (const TRestartResult& result : results) {
        json.BeginObject();
        json.Key("outcome");
        json.String(result.Seconds ? "fixed" : "timeout");
        json.Key("ttff_s");
        json.Number(result.Seconds, 2);
        json.Key("window_text");
        json.String(result.WindowText);
        json.EndObject();
    }
    json.EndArray();
    json.Key("min_s");
    json.Number(summary.Min, 2);
    json.Key("median_s");
    json.Number(summary.Median, 2);
    json.Key("p95_s");
    json.Number(summary.P95, 2);
    json.Key("max_s");
    json.Number(summary.Max, 2);
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace

int RunTtff(int argc, char** argv)
{
    TCliOptions options;
    const TParseResult parsed = ParseCliOptions(TCliCommand::Ttff, argc, argv, options);
    if (parsed.Outcome == TParseResult::Kind::Help) {
        std::fputs(TtffUsage(), stdout);
        return 0;
    }
    if (parsed.Outcome == TParseResult::Kind::Error) {
        return Fail(2, parsed.Message);
    }
    // A preset goes out as the preset command window sends it: NMEA with its checksum.
    const std::string command =
        options.RestartNumber
            ? std::string(*PresetRestartCommand(options.Protocol, *options.RestartNumber))
            : *options.Send;
    const bool withChecksum =
        options.RestartNumber ? options.Protocol == TProtocol::Nmea : options.Checksum;

    TControlFlags flags;
    TKeptValues kept;
    ApplyDecoderChoices(options, options.HeaderIndex.value_or(THeader::GGA), kept, flags);

    // The engine's measurement arrives with the display cycle that shows it.
    std::optional<int32_t> measured;
    TEvaluationDisplay display([&measured](const TReceiverState& snapshot) {
        if (snapshot.TtffUpdated) {
            measured = snapshot.Ttff;
        }
    });
    TLiveEvents events(display);
    std::vector<TRestartResult> results;
    int status = 0;
    {
        TRun run(flags, kept, display, events);
        COMSTATUS line;
        line.PortName = options.Path;
        line.BaudRate = options.BaudRate;
        if (!run.Connect(line, options.Protocol)) {
            return Fail(2, "cannot open " + options.Path + ": " +
                               DescribeOpenFailure(run.OpenError()));
        }
        WatchStopSignals();
        const auto timeout = std::chrono::duration<double>(options.TimeoutSeconds);
        for (int32_t i = 0; i < options.Repeat && !StopSignalled() && !events.Lost; ++i) {
            measured.reset();
            // Any command given arms the measurement, as a preset restart does.
            if (!run.Send(command, withChecksum, true).Sent) {
                status = Fail(2, "can't send \"" + command + "\"");
                break;
            }
            const auto sent = std::chrono::steady_clock::now();
            while (!measured && !StopSignalled() && !events.Lost &&
                   std::chrono::steady_clock::now() - sent < timeout) {
                display.RunFor(kWindowSlice);
            }
            if (StopSignalled() || events.Lost) {
                break;
            }
            TRestartResult result;
            if (measured) {
                result.Seconds = *measured / 100.0;
            }
            result.WindowText = display.TtffText();
            std::fprintf(stderr, "zedezuze-cli ttff: restart %d of %d: %s\n", i + 1, options.Repeat,
                         result.Seconds ? (display.TtffText() + " s").c_str() : "timeout");
            results.push_back(result);
        }
        run.Disconnect();
    }
    display.RunPending();
    if (status != 0) {
        return status;
    }

    std::vector<double> seconds;
    TTtffReport summary;
    for (const TRestartResult& result : results) {
        ++summary.Restarts;
        if (result.Seconds) {
            ++summary.Fixed;
            seconds.push_back(*result.Seconds);
        } else {
            ++summary.NotFixed;
        }
    }
    SummariseTtffs(seconds, summary);
    const std::string report = options.Json
                                   ? ReportJson(options, command, results, summary)
                                   : ReportText(command, results, summary, options.TimeoutSeconds);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    if (events.Lost) {
        return Fail(1, "the receiver on " + options.Path + " went away");
    }
    if (StopSignalled()) {
        return Fail(1, "stopped before the series was complete");
    }
    return summary.NotFixed > 0 ? 1 : 0;
}

} // namespace zz::cli
