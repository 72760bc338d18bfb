#include "cli/DecodeCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/CliOptions.h"
#include "cli/LogPass.h"
#include "cli/SnapshotJson.h"
#include "core/DisplayTexts.h"

namespace zz::cli {
namespace {

constexpr size_t kFlushThreshold = 1 << 16; // output is written in blocks of about this size

// Takes a snapshot after every framed sentence or frame and prints it as a JSON line.
class DecodeHooks : public TLogPassHooks
{
public:
    DecodeHooks(const TCliOptions& options, std::FILE* out) : Options(options), Out(out) {}

    void ShowTtffText(TTtffText text) override
    {
        PendingTtffText = text == TTtffText::Counting ? "counting" : "--";
    }

    void LinePut(const char* text, size_t count) override
    {
        if (!Engine->TakeSnapshot(Snapshot)) {
            return;
        }
        Json.Begin(++Sequence, std::string_view(text, count), Snapshot);
        if (Options.Display) {
            ComputeDisplayTexts(Snapshot, Options.Protocol, DrOnlyCount, Texts);
            Json.AddDisplay(Texts, PendingTtffText);
        }
        PendingTtffText = {};
        Json.End();
        if (Json.Text().size() >= kFlushThreshold) {
            Flush();
        }
    }

    // Writes what is buffered; false once the output can no longer be written.
    bool Flush()
    {
        const std::string& text = Json.Text();
        const bool written = std::fwrite(text.data(), 1, text.size(), Out) == text.size();
        Json.Clear();
        return written && std::fflush(Out) == 0;
    }

private:
    const TCliOptions& Options;
    std::FILE* Out;
    TReceiverState Snapshot{};
    TDisplayTexts Texts;
    uint32_t DrOnlyCount = 0;
    std::string_view PendingTtffText;
    SnapshotJson Json;
    uint64_t Sequence = 0;
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli decode: %s\n", message.c_str());
    return 2;
}

} // namespace

int RunDecode(int argc, char** argv)
{
    TCliOptions options;
    const TParseResult parsed = ParseCliOptions(TCliCommand::Decode, argc, argv, options);
    if (parsed.Outcome == TParseResult::Kind::Help) {
        std::fputs(DecodeUsage(), stdout);
        return 0;
    }
    if (parsed.Outcome == TParseResult::Kind::Error) {
        return Fail(parsed.Message);
    }

    DecodeHooks hooks(options, stdout);
    std::string error;
    if (!RunLogPass(options, hooks, error)) {
        hooks.Flush();
        return Fail(error);
    }
    if (!hooks.Flush()) {
        return Fail(std::string("cannot write the output: ") + std::strerror(errno));
    }
    return 0;
}

} // namespace zz::cli
