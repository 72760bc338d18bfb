#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "core/TLinkHealth.h"
#include "core/TReceiverEvaluation.h"

namespace zz::cli {

// Everything `stats` reports about one log or live run.
struct TStatsSummary
{
    std::string Source; // the log's path, or the port
    bool Live = false;
    TProtocol Protocol = TProtocol::Nmea;
    int32_t BaudRate = 9600;
    std::optional<TReferencePoint> Reference;
    TEvaluationReport Evaluation;
    TLinkReport Link;
    // The time the report covers: a live run's wall time, or the receiver time a log spans.
    std::optional<double> DurationSeconds;
};

// The report for a person, in aligned lines.
std::string StatsText(const TStatsSummary& summary);
// The report as one JSON object on one line.
std::string StatsJson(const TStatsSummary& summary);

} // namespace zz::cli
