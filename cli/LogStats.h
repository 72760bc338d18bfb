#pragma once

#include <string>

#include "cli/CliOptions.h"
#include "cli/StatsReport.h"

namespace zz::cli {

// Evaluates the log options.Path in one pass: false, with the reason in error, when it cannot
// be read.
[[nodiscard]] bool EvaluateLog(const TCliOptions& options, TStatsSummary& summary,
                               std::string& error);

} // namespace zz::cli
