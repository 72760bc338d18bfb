#pragma once

#include <string>

#include "cli/CliOptions.h"
#include "cli/StatsReport.h"

namespace zz::cli {

// What became of a live evaluation.
enum class TLiveOutcome
{
    Done,         // ran its time (or was stopped by a signal)
    ReceiverLost, // the receiver went away; the summary covers the time until then
    NotStarted,   // the port could not be opened or the link not recorded (see error)
};

// Connects to options.Path (a port, or SIM) through the run the application uses, sends
// options.Send if given, and evaluates for options.DurationSeconds.
TLiveOutcome EvaluateLive(const TCliOptions& options, TStatsSummary& summary, std::string& error);

} // namespace zz::cli
