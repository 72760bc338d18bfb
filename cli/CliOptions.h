#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/ReceiverSettings.h"

namespace zz::cli {

enum class TCliCommand
{
    Decode,
    Monitor,
};

// The choices of a zedezuze-cli command; reference defaults as the receiver setting dialog's.
struct TCliOptions
{
    TProtocol Protocol = TProtocol::Nmea;
    std::optional<THeader> HeaderIndex; // decode: unset means the raw log's marker, else GGA
    TPositionRef LFref = TPositionRef::GGA;
    TSatellitesRef SAref = TSatellitesRef::GSV;
    TVelocityRef VDref = TVelocityRef::RMC;
    bool Display = false;
    std::string Path; // decode: the log, "-" for standard input; monitor: the port or "SIM"
    // monitor only
    std::string BinPath;
    std::string LogPath;
    std::optional<std::string> Send;
    bool Checksum = false;
    std::optional<double> DurationSeconds;
    int32_t BaudRate = 9600;
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

// Reads the arguments after the command word.
[[nodiscard]] TParseResult ParseCliOptions(TCliCommand command, int argc, char** argv,
                                           TCliOptions& options);

const char* DecodeUsage();
const char* MonitorUsage();

} // namespace zz::cli
