// Throughput of the protocol engines against two baselines: the cheapest possible NMEA line
// split with checksum, and a plain copy of the stream.
//
// The NMEA corpus comes from the file named by ZZ_BENCH_CORPUS (bench/gen_nmea_corpus.py makes
// one); the binary stream is built here.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/TBinaryEngine.h"
#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TNmeaEngine.h"
#include "core/TProtocolHooks.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The size of one read from the port.
constexpr size_t kChunkSize = 4096;
constexpr size_t kBinaryStreamSize = 16 * 1024 * 1024;

struct Corpus
{
    Bytes Data;
    int64_t Lines = 0;
    std::string Error;
};

// Loads the NMEA corpus once, on first use.
const Corpus& NmeaCorpus()
{
    static const Corpus corpus = [] {
        Corpus loaded;
        const char* path = std::getenv("ZZ_BENCH_CORPUS");
        if (path == nullptr || *path == '\0') {
            loaded.Error = "ZZ_BENCH_CORPUS is not set (see bench/run.sh)";
            return loaded;
        }
        std::ifstream file(path, std::ios::binary);
        if (file) {
            loaded.Data.assign(std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>());
        }
        if (loaded.Data.empty()) {
            loaded.Error = std::string("cannot read the corpus ") + path;
            return loaded;
        }
        loaded.Lines = std::count(loaded.Data.begin(), loaded.Data.end(), uint8_t{'\n'});
        return loaded;
    }();
    return corpus;
}

// Appends one frame: identifier, 7-bit payload, check byte (exclusive-or of everything before
// it, so bit 7 is set) and end byte.
void AppendFrame(Bytes& stream, uint8_t identifier, const Bytes& payload)
{
    uint8_t check = identifier;
    stream.push_back(identifier);
    for (const uint8_t byte : payload) {
        stream.push_back(static_cast<uint8_t>(byte & 0x7F));
        check = static_cast<uint8_t>(check ^ (byte & 0x7F));
    }
    stream.push_back(check);
    stream.push_back((identifier & 0xF0) == 0xE0 ? 0xEA : 0xDA);
}

// Appends a number as big-endian groups of 7 bits.
void AppendField(Bytes& payload, uint32_t value, int size)
{
    for (int shift = 7 * (size - 1); shift >= 0; shift -= 7) {
        payload.push_back(static_cast<uint8_t>((value >> shift) & 0x7F));
    }
}

// One second of binary traffic from a moving receiver: position, date-time, satellites and DOP,
// and now and then a version report.
void AppendBinaryEpoch(Bytes& stream, uint32_t second)
{
    Bytes payload;
    payload = {0x03, 0};
    AppendField(payload, 21460741u + second * 3u, 4);                // latitude
    AppendField(payload, (1u << 28) - (83880000u + second * 5u), 4); // longitude, west
    AppendField(payload, 4086u + second % 17u, 4);                   // altitude
    AppendField(payload, 480u + second % 40u, 3);                    // speed
    AppendField(payload, (720u + second) % 3600u, 2);                // course
    payload.push_back(9);
    AppendFrame(stream, 0xE0, payload);

    const auto hour = static_cast<uint8_t>(second / 3600 % 24);
    const auto minute = static_cast<uint8_t>(second / 60 % 60);
    const auto wholeSecond = static_cast<uint8_t>(second % 60);
    payload = {0, 25, 3, 14, hour, minute, wholeSecond};
    AppendFrame(stream, 0xE1, payload);

    payload = {0};
    for (uint32_t slot = 0; slot < 12; ++slot) {
        payload.push_back(static_cast<uint8_t>(slot * 2 + 1));
        AppendField(payload, (slot * 30u + second / 10u) % 360u, 2);
        payload.push_back(static_cast<uint8_t>(10 + slot * 6));
        payload.push_back(static_cast<uint8_t>(((slot % 16) << 3) | (slot < 9 ? 2 : 1)));
        payload.push_back(static_cast<uint8_t>(30 + (slot + second) % 18));
    }
    AppendFrame(stream, 0xE2, payload);

    payload = {};
    AppendField(payload, 9u + second % 4u, 2);
    AppendField(payload, 13u + second % 5u, 2);
    payload.resize(12, 0);
    AppendFrame(stream, 0xE3, payload);

    if (second % 60 == 0) {
        AppendFrame(stream, 0xD3, {0, '0', '1', '0', '2', '0', '3', 0, 0});
    }
}

struct BinaryStream
{
    Bytes Data;
    int64_t Frames = 0;
};

const BinaryStream& SyntheticBinaryStream()
{
    static const BinaryStream stream = [] {
        BinaryStream made;
        made.Data.reserve(kBinaryStreamSize + 1024);
        for (uint32_t second = 0; made.Data.size() < kBinaryStreamSize; ++second) {
            made.Frames += second % 60 == 0 ? 5 : 4;
            AppendBinaryEpoch(made.Data, second);
        }
        return made;
    }();
    return stream;
}

// Feeds the whole stream to an engine in port-sized chunks.
void FeedInChunks(zz::TProtocolEngine& engine, const Bytes& stream)
{
    for (size_t offset = 0; offset < stream.size(); offset += kChunkSize) {
        engine.ReceiveBytes(stream.data() + offset, std::min(kChunkSize, stream.size() - offset));
    }
}

void ReportRates(benchmark::State& state, size_t bytes, int64_t units, const char* unitName)
{
    const auto iterations = static_cast<int64_t>(state.iterations());
    state.SetBytesProcessed(iterations * static_cast<int64_t>(bytes));
    state.counters[unitName] =
        benchmark::Counter(static_cast<double>(iterations * units), benchmark::Counter::kIsRate);
}

// Framing, dispatch, decoders and line ring over the NMEA corpus.
void NmeaEngineReceiveBytes(benchmark::State& state)
{
    const Corpus& corpus = NmeaCorpus();
    if (!corpus.Error.empty()) {
        state.SkipWithError(corpus.Error.c_str());
        return;
    }
    zz::TControlFlags flags;
    zz::TKeptValues kept;
    zz::TProtocolHooks hooks;
    // The engine holds the line ring and the record (about 2 MB): keep it off the stack.
    auto engine = std::make_unique<zz::TNmeaEngine>(flags, kept, hooks);
    for (auto _ : state) {
        FeedInChunks(*engine, corpus.Data);
    }
    ReportRates(state, corpus.Data.size(), corpus.Lines, "sentences");
}
BENCHMARK(NmeaEngineReceiveBytes)->Unit(benchmark::kMillisecond);

// Framing, dispatch, decoders and line ring over a stream of the five decoded frame types.
void BinaryEngineReceiveBytes(benchmark::State& state)
{
    const BinaryStream& stream = SyntheticBinaryStream();
    zz::TControlFlags flags;
    zz::TKeptValues kept;
    kept.ProtocolIndex = zz::TProtocol::Binary;
    zz::TProtocolHooks hooks;
    auto engine = std::make_unique<zz::TBinaryEngine>(flags, kept, hooks);
    for (auto _ : state) {
        FeedInChunks(*engine, stream.Data);
    }
    ReportRates(state, stream.Data.size(), stream.Frames, "frames");
}
BENCHMARK(BinaryEngineReceiveBytes)->Unit(benchmark::kMillisecond);

// Baseline: find each line with memchr for '$' and '\n' and take the exclusive-or of its
// characters up to the '*', the least any NMEA reader must do.
void BaselineLineSplit(benchmark::State& state)
{
    const Corpus& corpus = NmeaCorpus();
    if (!corpus.Error.empty()) {
        state.SkipWithError(corpus.Error.c_str());
        return;
    }
    const uint8_t* const begin = corpus.Data.data();
    const uint8_t* const end = begin + corpus.Data.size();
    for (auto _ : state) {
        uint32_t checksums = 0;
        int64_t lines = 0;
        const uint8_t* position = begin;
        while (position < end) {
            const auto* start = static_cast<const uint8_t*>(
                std::memchr(position, '$', static_cast<size_t>(end - position)));
            if (start == nullptr) {
                break;
            }
            const auto* lineEnd = static_cast<const uint8_t*>(
                std::memchr(start, '\n', static_cast<size_t>(end - start)));
            if (lineEnd == nullptr) {
                lineEnd = end;
            }
            uint8_t checksum = 0;
            for (const uint8_t* p = start + 1; p < lineEnd && *p != '*'; ++p) {
                checksum = static_cast<uint8_t>(checksum ^ *p);
            }
            checksums += checksum;
            ++lines;
            position = lineEnd + 1;
        }
        benchmark::DoNotOptimize(checksums);
        benchmark::DoNotOptimize(lines);
    }
    ReportRates(state, corpus.Data.size(), corpus.Lines, "sentences");
}
BENCHMARK(BaselineLineSplit)->Unit(benchmark::kMillisecond);

// Baseline: copy the stream, the bound of any reader that touches every byte once.
void BaselineMemcpy(benchmark::State& state)
{
    const Corpus& corpus = NmeaCorpus();
    if (!corpus.Error.empty()) {
        state.SkipWithError(corpus.Error.c_str());
        return;
    }
    Bytes copy(corpus.Data.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), corpus.Data.data(), corpus.Data.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(corpus.Data.size()));
}
BENCHMARK(BaselineMemcpy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
