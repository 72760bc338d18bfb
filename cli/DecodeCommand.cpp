#include "cli/DecodeCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/SnapshotJson.h"
#include "core/DisplayTexts.h"
#include "core/RawLogMarker.h"
#include "core/TBinaryEngine.h"
#include "core/TNmeaEngine.h"

namespace zz::cli {
namespace {

constexpr size_t kChunkSize = 9600;         // the most a serial read hands over at once
constexpr size_t kFlushThreshold = 1 << 16; // output is written in blocks of about this size
constexpr size_t kMarkerTextLength = 31;

// Takes a snapshot after every framed sentence or frame and prints it as a JSON line.
class DecodeHooks : public TProtocolHooks
{
public:
    DecodeHooks(const TCliOptions& options, std::FILE* out) : Options(options), Out(out) {}

    void Attach(TProtocolEngine* engine) { Engine = engine; }

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
    TProtocolEngine* Engine = nullptr;
    TReceiverState Snapshot{};
    TDisplayTexts Texts;
    uint32_t DrOnlyCount = 0;
    std::string_view PendingTtffText;
    SnapshotJson Json;
    uint64_t Sequence = 0;
};

struct FileCloser
{
    void operator()(std::FILE* file) const
    {
        if (file != stdin) {
            std::fclose(file);
        }
    }
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "zedezuze-cli decode: %s\n", message.c_str());
    return 2;
}

// Reads until the buffer is full or the input ends; false on a read error.
bool ReadChunk(std::FILE* in, std::vector<uint8_t>& buffer, size_t& length)
{
    length = 0;
    while (length < buffer.size()) {
        const size_t got = std::fread(buffer.data() + length, 1, buffer.size() - length, in);
        length += got;
        if (got == 0) {
            return std::ferror(in) == 0;
        }
    }
    return true;
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

    std::unique_ptr<std::FILE, FileCloser> in(
        options.Path == "-" ? stdin : std::fopen(options.Path.c_str(), "rb"));
    if (!in) {
        return Fail("cannot open '" + options.Path + "': " + std::strerror(errno));
    }

    std::vector<uint8_t> chunk(kChunkSize);
    size_t length = 0;
    if (!ReadChunk(in.get(), chunk, length)) {
        return Fail("cannot read '" + options.Path + "': " + std::strerror(errno));
    }

    TControlFlags flags;
    TKeptValues kept;
    THeader header = THeader::GGA;
    if (options.HeaderIndex) {
        header = *options.HeaderIndex;
    } else if (options.Protocol == TProtocol::Nmea) {
        const int32_t reference =
            ReplayReferenceFromHead(reinterpret_cast<const char*>(chunk.data()), length);
        if (const std::optional<THeader> marked = ChoiceAt<THeader>(reference)) {
            header = *marked;
        }
    }
    kept.HeaderIndex = header;
    kept.LFref = options.LFref;
    kept.SAref = options.SAref;
    kept.VDref = options.VDref;
    kept.ProtocolIndex = options.Protocol;

    DecodeHooks hooks(options, stdout);
    std::unique_ptr<TProtocolEngine> engine;
    if (options.Protocol == TProtocol::Binary) {
        engine = std::make_unique<TBinaryEngine>(flags, kept, hooks);
    } else {
        engine = std::make_unique<TNmeaEngine>(flags, kept, hooks);
    }
    hooks.Attach(engine.get());

    while (length > 0) {
        engine->ReceiveBytes(chunk.data(), length);
        if (!ReadChunk(in.get(), chunk, length)) {
            hooks.Flush();
            return Fail("cannot read '" + options.Path + "': " + std::strerror(errno));
        }
    }
    if (!hooks.Flush()) {
        return Fail(std::string("cannot write the output: ") + std::strerror(errno));
    }
    return 0;
}

} // namespace zz::cli
