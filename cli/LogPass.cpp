#include "cli/LogPass.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "core/RawLogMarker.h"
#include "core/TBinaryEngine.h"
#include "core/TNmeaEngine.h"

namespace zz::cli {
namespace {

constexpr size_t kChunkSize = 9600; // the most a serial read hands over at once

struct FileCloser
{
    void operator()(std::FILE* file) const
    {
        if (file != stdin) {
            std::fclose(file);
        }
    }
};

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

bool RunLogPass(const TCliOptions& options, TLogPassHooks& hooks, std::string& error)
{
    std::unique_ptr<std::FILE, FileCloser> in(
        options.Path == "-" ? stdin : std::fopen(options.Path.c_str(), "rb"));
    if (!in) {
        error = "cannot open '" + options.Path + "': " + std::strerror(errno);
        return false;
    }

    std::vector<uint8_t> chunk(kChunkSize);
    size_t length = 0;
    if (!ReadChunk(in.get(), chunk, length)) {
        error = "cannot read '" + options.Path + "': " + std::strerror(errno);
        return false;
    }

    TControlFlags flags;
    TKeptValues kept;
    THeader header = THeader::GGA;
    const int32_t reference =
        options.Protocol == TProtocol::Nmea
            ? ReplayReferenceFromHead(reinterpret_cast<const char*>(chunk.data()), length)
            : kNoReplayReference;
    if (options.HeaderIndex) {
        header = *options.HeaderIndex;
    } else if (const std::optional<THeader> marked = ChoiceAt<THeader>(reference)) {
        header = *marked;
    }
    kept.HeaderIndex = header;
    kept.LFref = options.LFref;
    kept.SAref = options.SAref;
    kept.VDref = options.VDref;
    kept.ProtocolIndex = options.Protocol;

    std::unique_ptr<TProtocolEngine> engine;
    if (options.Protocol == TProtocol::Binary) {
        engine = std::make_unique<TBinaryEngine>(flags, kept, hooks);
    } else {
        engine = std::make_unique<TNmeaEngine>(flags, kept, hooks);
    }
    hooks.Attach(*engine);
    if (reference != kNoReplayReference) {
        hooks.MarkerLine(kMarkerLineSize);
    }

    while (length > 0) {
        hooks.Feed(chunk.data(), length);
        if (!ReadChunk(in.get(), chunk, length)) {
            error = "cannot read '" + options.Path + "': " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace zz::cli
