#include "cli/ExportCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/CliOptions.h"
#include "cli/LogPass.h"
#include "core/TCycleAssembler.h"
#include "core/TrackWriters.h"

namespace zz::cli {
namespace {

constexpr size_t kFlushThreshold = 1 << 16;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli export: %s\n", message.c_str());
    return 2;
}

// Puts the snapshots of the log together into cycles and writes each fixed one as a track point;
// a run of cycles without a valid position breaks the track.
class ExportHooks final : public TLogPassHooks
{
public:
    ExportHooks(const TCliOptions& options, std::FILE* out)
        : Protocol(options.Protocol), Out(out),
          Writer(MakeTrackWriter(*options.Format, TrackName(options.Path)))
    {
        Writer->Begin(Text);
    }

    void LinePut(const char*, size_t) override
    {
        if (!Engine->TakeSnapshot(*Snapshot)) {
            return;
        }
        PositionSeen = PositionSeen || Snapshot->PositionUpdated;
        TFixCycle cycle;
        if (Cycles.Add(*Snapshot, cycle)) {
            Take(cycle);
        }
    }

    // Writes the last cycle and the end of the document; false when the output failed.
    bool Finish()
    {
        TFixCycle cycle;
        if (Cycles.Finish(cycle)) {
            Take(cycle);
        }
        Writer->End(Text);
        return Flush();
    }

    bool Flush()
    {
        const bool written = std::fwrite(Text.data(), 1, Text.size(), Out) == Text.size();
        Text.clear();
        Failed = Failed || !written;
        return !Failed && std::fflush(Out) == 0;
    }

    uint64_t Written = 0;
    uint64_t Skipped = 0;
    bool PositionSeen = false;

private:
    static std::string TrackName(const std::string& path)
    {
        return path == "-" ? std::string("standard input")
                           : std::filesystem::path(path).filename().string();
    }

    void Take(const TFixCycle& cycle)
    {
        if (!HasFixPosition(cycle, Protocol)) {
            ++Skipped;
            Writer->Break(Text);
        } else {
            ++Written;
            Writer->Point(MapPointOf(cycle), Text);
        }
        if (Text.size() >= kFlushThreshold) {
            Flush();
        }
    }

    TProtocol Protocol;
    std::FILE* Out;
    std::unique_ptr<TTrackWriter> Writer;
    std::string Text;
    TCycleAssembler Cycles;
    std::unique_ptr<TReceiverState> Snapshot = std::make_unique<TReceiverState>();
    bool Failed = false;
};

} // namespace

int RunExport(int argc, char** argv)
{
    TCliOptions options;
    const TParseResult parsed = ParseCliOptions(TCliCommand::Export, argc, argv, options);
    if (parsed.Outcome == TParseResult::Kind::Help) {
        std::fputs(ExportUsage(), stdout);
        return 0;
    }
    if (parsed.Outcome == TParseResult::Kind::Error) {
        return Fail(parsed.Message);
    }

    ExportHooks hooks(options, stdout);
    std::string error;
    if (!RunLogPass(options, hooks, error)) {
        hooks.Flush();
        return Fail(error);
    }
    if (!hooks.Finish()) {
        return Fail(std::string("cannot write the output: ") + std::strerror(errno));
    }
    std::fprintf(stderr,
                 "zedezuze-cli export: %llu fixes written, %llu cycles without a valid position "
                 "left out\n",
                 static_cast<unsigned long long>(hooks.Written),
                 static_cast<unsigned long long>(hooks.Skipped));
    if (hooks.PositionSeen && hooks.Written + hooks.Skipped == 0) {
        std::fprintf(stderr, "zedezuze-cli export: positions came, but never the sentence that "
                             "opens a cycle (choose it with --header)\n");
    }
    return 0;
}

} // namespace zz::cli
