#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/TKeptValues.h"

namespace zz::cli {

// The choices of `zedezuze-cli decode`, defaults as the receiver setting dialog's.
struct TDecodeOptions
{
    int32_t Protocol = ProtocolNmea;
    std::optional<int32_t> HeaderIndex; // unset: from the raw log's marker line, else GGA
    int32_t LFref = 0;
    int32_t SAref = 0;
    int32_t VDref = 0;
    bool Display = false;
    std::string Path; // "-" for standard input
};

// Outcome of reading the command line.
struct TParseResult
{
    enum class Kind
    {
        Run,
        Help,
        Error,
    };
    Kind Outcome = Kind::Error;
    std::string Message; // the one-line reason of an error
};

// Reads the arguments after "decode".
TParseResult ParseDecodeOptions(int argc, char** argv, TDecodeOptions& options);

const char* DecodeUsage();

} // namespace zz::cli
