#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/ReceiverSettings.h"
#include "core/TrackWriters.h"
#include "core/Wgs84.h"

namespace zz::cli {

enum class TCliCommand
{
    Decode,
    Monitor,
    Stats,
    Ttff,
    Export,
};

// A point errors are measured from: degrees, and metres when an altitude was given.
struct TReferencePoint
{
    TGeodetic Place;
    bool HasAltitude = false;
};

// The choices of a zedezuze-cli command; reference defaults as the receiver setting dialog's.
struct TCliOptions
{
    TProtocol Protocol = TProtocol::Nmea;
    std::optional<THeader> HeaderIndex; // logs: unset means the raw log's marker, else GGA
    TPositionRef LFref = TPositionRef::GGA;
    TSatellitesRef SAref = TSatellitesRef::GSV;
    TVelocityRef VDref = TVelocityRef::RMC;
    bool Display = false;
    // decode, export, stats of a log: the log, "-" for standard input; monitor, and stats and
    // ttff with --port: the port or "SIM"
    std::string Path;
    bool Live = false; // stats: --port was given
    // monitor only
    std::string BinPath;
    std::string LogPath;
    // monitor and stats: a command sent once connected; ttff: the restart command
    std::optional<std::string> Send;
    bool Checksum = false;
    std::optional<double> DurationSeconds;
    int32_t BaudRate = 9600;
    // stats and ttff
    bool Json = false;
    std::optional<TReferencePoint> Reference;
    std::optional<int32_t> RestartNumber; // ttff --restart
    int32_t Repeat = 1;
    double TimeoutSeconds = 60.0;
    // export
    std::optional<TTrackFormat> Format;
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
const char* StatsUsage();
const char* TtffUsage();
const char* ExportUsage();

} // namespace zz::cli
