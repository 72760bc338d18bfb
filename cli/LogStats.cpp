#include "cli/LogStats.h"

#include <algorithm>
#include <memory>

#include "cli/LogPass.h"
#include "core/CommandRules.h"
#include "core/TSentLineFinder.h"

namespace zz::cli {
namespace {

// Takes a snapshot after every framed sentence or frame, as decode does, for the evaluation,
// and counts the link; in an NMEA text log the sent-command lines are found in place.
class StatsHooks final : public TLogPassHooks, private TSentLineSink
{
public:
    explicit StatsHooks(const TCliOptions& options)
        : Protocol(options.Protocol), Link(options.Protocol),
          Evaluation(options.Protocol,
                     options.Reference ? std::optional<TGeodetic>(options.Reference->Place)
                                       : std::nullopt,
                     options.Reference && options.Reference->HasAltitude)
    {
    }

    void Feed(const uint8_t* bytes, size_t count) override
    {
        Link.AddBytes(count);
        if (Protocol == TProtocol::Nmea) {
            Finder.Scan(bytes, count, *this);
        } else {
            Engine->ReceiveBytes(bytes, count);
        }
    }

    void MarkerLine(size_t bytes) override { MarkerBytes = bytes; }

    void LinePut(const char* text, size_t count) override
    {
        Link.AddFramed(std::string_view(text, count));
        if (Engine->TakeSnapshot(*Snapshot)) {
            Evaluation.AddSnapshot(*Snapshot);
        }
    }

    void Finish(TStatsSummary& summary)
    {
        Evaluation.Finish();
        summary.Evaluation = Evaluation.Report();
        summary.Link = Link.Counts();
        summary.Link.Bytes -= std::min<uint64_t>(summary.Link.Bytes, MarkerBytes);
        summary.DurationSeconds = summary.Evaluation.Availability.CoveredSeconds;
    }

private:
    void Bytes(const uint8_t* bytes, size_t count) override
    {
        if (count > 0) {
            Engine->ReceiveBytes(bytes, count);
        }
    }

    void SentLine(std::string_view command, size_t lineBytes) override
    {
        Link.AddCommandLine(lineBytes);
        if (IsClearCommand(command, Protocol)) {
            Evaluation.RestartInLog(command);
        }
    }

    TProtocol Protocol;
    TLinkHealth Link;
    TReceiverEvaluation Evaluation;
    TSentLineFinder Finder;
    std::unique_ptr<TReceiverState> Snapshot = std::make_unique<TReceiverState>();
    uint64_t MarkerBytes = 0;
};

} // namespace

bool EvaluateLog(const TCliOptions& options, TStatsSummary& summary, std::string& error)
{
    StatsHooks hooks(options);
    if (!RunLogPass(options, hooks, error)) {
        return false;
    }
    summary.Source = options.Path;
    summary.Live = false;
    summary.Protocol = options.Protocol;
    summary.BaudRate = options.BaudRate;
    summary.Reference = options.Reference;
    hooks.Finish(summary);
    return true;
}

} // namespace zz::cli
