#include "cli/StatsCommand.h"

#include <cstdio>
#include <string>

#include "cli/CliOptions.h"
#include "cli/LiveStats.h"
#include "cli/LogStats.h"
#include "cli/StatsReport.h"

namespace zz::cli {
namespace {

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli stats: %s\n", message.c_str());
    return status;
}

} // namespace

int RunStats(int argc, char** argv)
{
    TCliOptions options;
    const TParseResult parsed = ParseCliOptions(TCliCommand::Stats, argc, argv, options);
    if (parsed.Outcome == TParseResult::Kind::Help) {
        std::fputs(StatsUsage(), stdout);
        return 0;
    }
    if (parsed.Outcome == TParseResult::Kind::Error) {
        return Fail(2, parsed.Message);
    }

    TStatsSummary summary;
    std::string error;
    int status = 0;
    if (options.Live) {
        const TLiveOutcome outcome = EvaluateLive(options, summary, error);
        if (outcome == TLiveOutcome::NotStarted) {
            return Fail(2, error);
        }
        if (outcome == TLiveOutcome::ReceiverLost) {
            status = 1;
        }
    } else if (!EvaluateLog(options, summary, error)) {
        return Fail(2, error);
    }
    const std::string report = options.Json ? StatsJson(summary) : StatsText(summary);
    if (std::fwrite(report.data(), 1, report.size(), stdout) != report.size() ||
        std::fflush(stdout) != 0) {
        return Fail(2, "cannot write the report");
    }
    if (status == 1) {
        Fail(1,
             "the receiver on " + options.Path + " went away; the report covers the time before");
    }
    return status;
}

} // namespace zz::cli
