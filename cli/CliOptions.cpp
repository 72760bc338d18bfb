#include "cli/CliOptions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/BaudRates.h"
#include "core/CompilerWarnings.h"
#include "core/RawLogMarker.h"

namespace zz::cli {
namespace {

constexpr std::array<std::string_view, 2> kProtocolNames = {"nmea", "binary"};
constexpr std::array<std::string_view, 3> kLFrefNames = {"GGA", "GLL", "RMC"};
constexpr std::array<std::string_view, 2> kSArefNames = {"GSV", "GSV+wav"};
constexpr std::array<std::string_view, 2> kVDrefNames = {"RMC", "VTG"};

template <size_t N>
std::optional<int32_t> IndexOf(const std::array<std::string_view, N>& names, std::string_view value)
{
    for (size_t i = 0; i < N; ++i) {
        if (names[i] == value) {
            return static_cast<int32_t>(i);
        }
    }
    return std::nullopt;
}

template <size_t N> std::string Choices(const std::array<std::string_view, N>& names)
{
    std::string text;
    for (size_t i = 0; i < N; ++i) {
        text += i == 0 ? "" : "|";
        text += names[i];
    }
    return text;
}

std::array<std::string_view, kHeaderCount> HeaderNames()
{
    std::array<std::string_view, kHeaderCount> names{};
    for (int i = 0; i < kHeaderCount; ++i) {
        names[static_cast<size_t>(i)] = HeaderName(i);
    }
    return names;
}

TParseResult Error(std::string message)
{
    return {TParseResult::Kind::Error, std::move(message)};
}

// The choice named by value, the names in the order of the choice's items.
template <size_t N, typename TChoice>
std::optional<std::string> ChooseIndex(const std::array<std::string_view, N>& names,
                                       std::string_view option, std::string_view value,
                                       TChoice& target)
{
    static_assert(N == kChoiceCount<TChoice>, "one name per item");
    if (const auto index = IndexOf(names, value)) {
        target = *ChoiceAt<TChoice>(*index);
        return std::nullopt;
    }
    return "unknown value '" + std::string(value) + "' for " + std::string(option) + " (expected " +
           Choices(names) + ")";
}

ZZ_GCC12_FALSE_RESTRICT_BEGIN
std::optional<std::string> ReadNumber(std::string_view option, std::string_view value,
                                      double& target)
{
    double number = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
    if (result.ec != std::errc() || result.ptr != value.data() + value.size() ||
        !std::isfinite(number) || number <= 0) {
        return "'" + std::string(value) + "' is not a positive number for " + std::string(option);
    }
    target = number;
    return std::nullopt;
}
ZZ_GCC12_FALSE_RESTRICT_END

} // namespace

const char* DecodeUsage()
{
    return "usage: zedezuze-cli decode [options] FILE\n"
           "\n"
           "Runs a raw receiver log (or any captured byte stream) through the decoders at full\n"
           "speed and prints one JSON object per state snapshot, one per line.\n"
           "\n"
           "  FILE                 the log to read; - reads standard input\n"
           "  --protocol P         nmea (default) or binary\n"
           "  --header S           sentence that opens an NMEA cycle: GGA (default), RMC, GLL,\n"
           "                       ROT, GSA, VTG, GSV, ZDA; without it the log's marker line\n"
           "                       decides, and GGA when there is none\n"
           "  --lf S               source of latitude, longitude and fix status: GGA (default),\n"
           "                       GLL, RMC\n"
           "  --sa S               source of the satellites in view: GSV (default), GSV+wav\n"
           "  --vd S               source of velocity and direction: RMC (default), VTG\n"
           "  --display            add the texts the windows would show for the changed groups\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 on success, 2 for a bad option or an unreadable file.\n";
}

const char* MonitorUsage()
{
    return "usage: zedezuze-cli monitor [options] PORT\n"
           "\n"
           "Connects to a receiver and prints one JSON object per display cycle, one per line,\n"
           "until the duration has passed, the receiver goes away, or SIGINT/SIGTERM arrives.\n"
           "\n"
           "  PORT                 a serial device path (/dev/ttyUSB0), or SIM for the built-in\n"
           "                       simulated receiver\n"
           "  --protocol P         nmea (default) or binary\n"
           "  --baud N             line speed (default 9600)\n"
           "  --header S           sentence that opens an NMEA cycle: GGA (default), RMC, GLL,\n"
           "                       ROT, GSA, VTG, GSV, ZDA\n"
           "  --lf S               source of latitude, longitude and fix status: GGA, GLL, RMC\n"
           "  --sa S               source of the satellites in view: GSV, GSV+wav\n"
           "  --vd S               source of velocity and direction: RMC, VTG\n"
           "  --display            add the texts the windows would show for the changed groups\n"
           "  --bin FILE           record every received byte to FILE (raw log)\n"
           "  --log FILE           record every line received or sent to FILE (text log);\n"
           "                       --bin and --log go together\n"
           "  --send CMD           send CMD once connected (a clear command arms the\n"
           "                       time-to-first-fix measurement)\n"
           "  --checksum           add the protocol's check characters to CMD\n"
           "  --duration S         stop after S seconds\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 on a normal end, 1 when the receiver was lost, 2 for a bad option or\n"
           "a port that cannot be opened.\n";
}

TParseResult ParseCliOptions(TCliCommand command, int argc, char** argv, TCliOptions& options)
{
    const bool monitor = command == TCliCommand::Monitor;
    bool havePath = false;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return {TParseResult::Kind::Help, {}};
        }
        if (arg == "--display") {
            options.Display = true;
            continue;
        }
        if (monitor && arg == "--checksum") {
            options.Checksum = true;
            continue;
        }
        const bool takesValue = arg == "--protocol" || arg == "--header" || arg == "--lf" ||
                                arg == "--sa" || arg == "--vd" ||
                                (monitor && (arg == "--bin" || arg == "--log" || arg == "--send" ||
                                             arg == "--duration" || arg == "--baud"));
        if (takesValue) {
            if (i + 1 >= argc) {
                return Error(std::string(arg) + " needs a value");
            }
            const std::string_view value = argv[++i];
            std::optional<std::string> problem;
            if (arg == "--protocol") {
                problem = ChooseIndex(kProtocolNames, arg, value, options.Protocol);
            } else if (arg == "--header") {
                THeader header = THeader::GGA;
                problem = ChooseIndex(HeaderNames(), arg, value, header);
                options.HeaderIndex = header;
            } else if (arg == "--lf") {
                problem = ChooseIndex(kLFrefNames, arg, value, options.LFref);
            } else if (arg == "--sa") {
                problem = ChooseIndex(kSArefNames, arg, value, options.SAref);
            } else if (arg == "--vd") {
                problem = ChooseIndex(kVDrefNames, arg, value, options.VDref);
            } else if (arg == "--bin") {
                options.BinPath = value;
            } else if (arg == "--log") {
                options.LogPath = value;
            } else if (arg == "--send") {
                options.Send = std::string(value);
            } else if (arg == "--duration") {
                double seconds = 0;
                problem = ReadNumber(arg, value, seconds);
                options.DurationSeconds = seconds;
            } else {
                double baud = 0;
                problem = ReadNumber(arg, value, baud);
                if (!problem && (baud != std::floor(baud) || baud > kMaxLineBaudRate)) {
                    problem = "'" + std::string(value) + "' is not a baud rate";
                }
                options.BaudRate = static_cast<int32_t>(baud);
            }
            if (problem) {
                return Error(*problem);
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            return Error("unknown option '" + std::string(arg) + "'");
        }
        if (havePath) {
            return Error("more than one " + std::string(monitor ? "port" : "file") + " given ('" +
                         options.Path + "' and '" + std::string(arg) + "')");
        }
        options.Path = arg;
        havePath = true;
    }
    if (!havePath) {
        return Error(monitor ? "no port given (a device path, or SIM)"
                             : "no file given (use - for standard input)");
    }
    if (monitor && options.BinPath.empty() != options.LogPath.empty()) {
        return Error("--bin and --log go together");
    }
    return {TParseResult::Kind::Run, {}};
}

} // namespace zz::cli
