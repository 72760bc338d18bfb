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

const char* StatsUsage()
{
    return "usage: zedezuze-cli stats [options] FILE\n"
           "       zedezuze-cli stats --port PATH|SIM --duration S [options]\n"
           "\n"
           "Evaluates a receiver from a raw or text log (- reads standard input) or from a live\n"
           "run: position accuracy, fix availability, satellites, link health and the time to\n"
           "first fix of each restart. One pass, fixed memory.\n"
           "\n"
           "  --json               one JSON object instead of the text report\n"
           "  --reference LAT,LON[,ALT]\n"
           "                       measure position errors from this point (degrees, metres)\n"
           "                       instead of from the mean of the fixes\n"
           "  --protocol P         nmea (default) or binary\n"
           "  --header S           sentence that opens an NMEA cycle: GGA (default), RMC, GLL,\n"
           "                       ROT, GSA, VTG, GSV, ZDA; for a log without it, its marker line\n"
           "  --lf S               source of latitude, longitude and fix status: GGA, GLL, RMC\n"
           "  --sa S               source of the satellites in view: GSV, GSV+wav\n"
           "  --vd S               source of velocity and direction: RMC, VTG\n"
           "  --baud N             line speed (default 9600); for a log, the speed its share of\n"
           "                       the line is reckoned at\n"
           "  --port PATH|SIM      a live receiver instead of a log (with --duration)\n"
           "  --duration S         live: stop after S seconds\n"
           "  --send CMD           live: send CMD once connected (a clear command is timed)\n"
           "  --checksum           live: add the protocol's check characters to CMD\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 on success (also without any fix), 1 when a live receiver was\n"
           "lost, 2 for a bad option, an unreadable file or a port that cannot be opened.\n";
}

const char* TtffUsage()
{
    return "usage: zedezuze-cli ttff --port PATH|SIM (--restart N | --command CMD) [options]\n"
           "\n"
           "Restarts the receiver N times through the same run as the application and times\n"
           "each restart to its first fix, as the Information window does; prints each time and\n"
           "their minimum, median, 95th percentile and maximum.\n"
           "\n"
           "  --port PATH|SIM      the receiver: a serial device path, or SIM\n"
           "  --restart N          the preset restart: NMEA $DIRU,GPclr,N (1 to 5); binary 1\n"
           "                       restart, 2 warm, 3 cold, 4 all clear\n"
           "  --command CMD        any other restart command, as typed\n"
           "  --checksum           add the protocol's check characters to CMD\n"
           "  --repeat N           restarts in the series (default 1)\n"
           "  --timeout S          longest wait for a fix after a restart (default 60)\n"
           "  --protocol P         nmea (default) or binary\n"
           "  --baud N             line speed (default 9600)\n"
           "  --header, --lf, --sa, --vd  as for monitor\n"
           "  --json               one JSON object instead of the text report\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 when every restart got its fix, 1 when some timed out (they are\n"
           "reported) or the receiver was lost, 2 for a bad option or a port that cannot be\n"
           "opened.\n";
}

const char* ExportUsage()
{
    return "usage: zedezuze-cli export --format gpx|kml|csv [options] FILE\n"
           "\n"
           "Writes the track of the fixes in a raw log (- reads standard input) to standard\n"
           "output: a GPX 1.1 track, a KML document with the line and a placemark per fix, or\n"
           "CSV with a header line. Cycles without a valid position are left out and counted on\n"
           "standard error.\n"
           "\n"
           "  --format F           gpx, kml or csv\n"
           "  --protocol P         nmea (default) or binary\n"
           "  --header S           sentence that opens an NMEA cycle (default: the log's marker\n"
           "                       line, else GGA)\n"
           "  --lf S               source of latitude, longitude and fix status: GGA, GLL, RMC\n"
           "  --sa S               source of the satellites in view: GSV, GSV+wav\n"
           "  --vd S               source of velocity and direction: RMC, VTG\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 on success, 2 for a bad option or an unreadable file.\n";
}

namespace {

// Which commands take an option; the command's bit.
constexpr unsigned Bit(TCliCommand command)
{
    return 1u << static_cast<unsigned>(command);
}
constexpr unsigned kLogCommands =
    Bit(TCliCommand::Decode) | Bit(TCliCommand::Stats) | Bit(TCliCommand::Export);
constexpr unsigned kLiveCommands =
    Bit(TCliCommand::Monitor) | Bit(TCliCommand::Stats) | Bit(TCliCommand::Ttff);
constexpr unsigned kEveryCommand = kLogCommands | kLiveCommands;

struct TOptionRule
{
    std::string_view Name;
    bool TakesValue;
    unsigned Commands;
};

constexpr TOptionRule kOptionRules[] = {
    {"--display", false, Bit(TCliCommand::Decode) | Bit(TCliCommand::Monitor)},
    {"--checksum", false, kLiveCommands},
    {"--json", false, Bit(TCliCommand::Stats) | Bit(TCliCommand::Ttff)},
    {"--protocol", true, kEveryCommand},
    {"--header", true, kEveryCommand},
    {"--lf", true, kEveryCommand},
    {"--sa", true, kEveryCommand},
    {"--vd", true, kEveryCommand},
    {"--baud", true, kLiveCommands},
    {"--bin", true, Bit(TCliCommand::Monitor)},
    {"--log", true, Bit(TCliCommand::Monitor)},
    {"--send", true, Bit(TCliCommand::Monitor) | Bit(TCliCommand::Stats)},
    {"--duration", true, Bit(TCliCommand::Monitor) | Bit(TCliCommand::Stats)},
    {"--port", true, Bit(TCliCommand::Stats) | Bit(TCliCommand::Ttff)},
    {"--reference", true, Bit(TCliCommand::Stats)},
    {"--command", true, Bit(TCliCommand::Ttff)},
    {"--restart", true, Bit(TCliCommand::Ttff)},
    {"--repeat", true, Bit(TCliCommand::Ttff)},
    {"--timeout", true, Bit(TCliCommand::Ttff)},
    {"--format", true, Bit(TCliCommand::Export)},
};

const TOptionRule* FindRule(std::string_view name, TCliCommand command)
{
    for (const TOptionRule& rule : kOptionRules) {
        if (rule.Name == name && (rule.Commands & Bit(command)) != 0) {
            return &rule;
        }
    }
    return nullptr;
}

constexpr std::array<std::string_view, 3> kFormatNames = {"gpx", "kml", "csv"};

ZZ_GCC12_FALSE_RESTRICT_BEGIN
// A whole number from low to high.
std::optional<std::string> ReadCount(std::string_view option, std::string_view value, int32_t low,
                                     int32_t high, int32_t& target)
{
    int32_t number = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
    if (result.ec != std::errc() || result.ptr != value.data() + value.size() || number < low ||
        number > high) {
        return "'" + std::string(value) + "' is not a whole number from " + std::to_string(low) +
               " to " + std::to_string(high) + " for " + std::string(option);
    }
    target = number;
    return std::nullopt;
}
ZZ_GCC12_FALSE_RESTRICT_END

// LAT,LON[,ALT] in degrees and metres.
std::optional<std::string> ReadReference(std::string_view value, TReferencePoint& target)
{
    double parts[3] = {};
    size_t count = 0;
    std::string_view rest = value;
    while (count < 3) {
        const size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        const auto result = std::from_chars(part.data(), part.data() + part.size(), parts[count]);
        if (part.empty() || result.ec != std::errc() || result.ptr != part.data() + part.size() ||
            !std::isfinite(parts[count])) {
            break;
        }
        ++count;
        if (comma == std::string_view::npos) {
            rest = {};
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    if (count < 2 || !rest.empty() || std::fabs(parts[0]) > 90.0 || std::fabs(parts[1]) > 180.0) {
        return "'" + std::string(value) +
               "' is not LAT,LON[,ALT] (degrees within 90 and 180, metres) for --reference";
    }
    target.Place = {parts[0], parts[1], count == 3 ? parts[2] : 0.0};
    target.HasAltitude = count == 3;
    return std::nullopt;
}

// Applies one option with its value.
std::optional<std::string> ApplyValue(std::string_view arg, std::string_view value,
                                      TCliOptions& options)
{
    if (arg == "--protocol") {
        return ChooseIndex(kProtocolNames, arg, value, options.Protocol);
    }
    if (arg == "--header") {
        THeader header = THeader::GGA;
        auto problem = ChooseIndex(HeaderNames(), arg, value, header);
        options.HeaderIndex = header;
        return problem;
    }
    if (arg == "--lf") {
        return ChooseIndex(kLFrefNames, arg, value, options.LFref);
    }
    if (arg == "--sa") {
        return ChooseIndex(kSArefNames, arg, value, options.SAref);
    }
    if (arg == "--vd") {
        return ChooseIndex(kVDrefNames, arg, value, options.VDref);
    }
    if (arg == "--bin") {
        options.BinPath = value;
    } else if (arg == "--log") {
        options.LogPath = value;
    } else if (arg == "--send" || arg == "--command") {
        options.Send = std::string(value);
    } else if (arg == "--duration" || arg == "--timeout") {
        double seconds = 0;
        auto problem = ReadNumber(arg, value, seconds);
        if (arg == "--duration") {
            options.DurationSeconds = seconds;
        } else {
            options.TimeoutSeconds = seconds;
        }
        return problem;
    } else if (arg == "--port") {
        options.Path = value;
        options.Live = true;
    } else if (arg == "--reference") {
        TReferencePoint point;
        auto problem = ReadReference(value, point);
        options.Reference = point;
        return problem;
    } else if (arg == "--restart") {
        int32_t number = 0;
        auto problem = ReadCount(arg, value, 1, 5, number);
        options.RestartNumber = number;
        return problem;
    } else if (arg == "--repeat") {
        return ReadCount(arg, value, 1, 10000, options.Repeat);
    } else if (arg == "--format") {
        if (const auto index = IndexOf(kFormatNames, value)) {
            options.Format = static_cast<TTrackFormat>(*index);
            return std::nullopt;
        }
        return "unknown value '" + std::string(value) + "' for --format (expected " +
               Choices(kFormatNames) + ")";
    } else if (arg == "--baud") {
        double baud = 0;
        auto problem = ReadNumber(arg, value, baud);
        if (!problem && (baud != std::floor(baud) || baud > kMaxLineBaudRate)) {
            problem = "'" + std::string(value) + "' is not a baud rate";
        }
        options.BaudRate = static_cast<int32_t>(baud);
        return problem;
    }
    return std::nullopt;
}

// What a command needs beyond single options.
std::optional<std::string> CheckTogether(TCliCommand command, bool havePath,
                                         const TCliOptions& options)
{
    const bool livePort = command == TCliCommand::Monitor || command == TCliCommand::Ttff ||
                          (command == TCliCommand::Stats && options.Live);
    if (!havePath) {
        if (command == TCliCommand::Monitor) {
            return "no port given (a device path, or SIM)";
        }
        if (command == TCliCommand::Ttff) {
            return "no port given (--port PATH or --port SIM)";
        }
        return "no file given (use - for standard input)";
    }
    if (command == TCliCommand::Monitor && options.BinPath.empty() != options.LogPath.empty()) {
        return "--bin and --log go together";
    }
    if (command == TCliCommand::Stats && options.Live && !options.DurationSeconds) {
        return "--port needs --duration S";
    }
    if (command == TCliCommand::Stats && !livePort &&
        (options.DurationSeconds || options.Send || options.Checksum)) {
        return "--duration, --send and --checksum need --port";
    }
    if (command == TCliCommand::Ttff) {
        if (options.Send.has_value() == options.RestartNumber.has_value()) {
            return "give one of --command CMD and --restart N";
        }
        if (options.RestartNumber && options.Checksum) {
            return "--checksum goes with --command (a preset restart has its check already)";
        }
        if (options.RestartNumber && options.Protocol == TProtocol::Binary &&
            *options.RestartNumber > 4) {
            return "the binary protocol has the restarts 1 to 4 (restart, warm, cold, all clear)";
        }
    }
    if (command == TCliCommand::Export && !options.Format) {
        return "no --format given (gpx, kml or csv)";
    }
    return std::nullopt;
}

} // namespace

TParseResult ParseCliOptions(TCliCommand command, int argc, char** argv, TCliOptions& options)
{
    bool havePath = false;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return {TParseResult::Kind::Help, {}};
        }
        const TOptionRule* rule = FindRule(arg, command);
        if (rule != nullptr && !rule->TakesValue) {
            if (arg == "--display") {
                options.Display = true;
            } else if (arg == "--checksum") {
                options.Checksum = true;
            } else {
                options.Json = true;
            }
            continue;
        }
        if (rule != nullptr) {
            if (i + 1 >= argc) {
                return Error(std::string(arg) + " needs a value");
            }
            if (arg == "--port" && havePath) {
                return Error("give either --port or a file, not both");
            }
            const std::string_view value = argv[++i];
            if (const auto problem = ApplyValue(arg, value, options)) {
                return Error(*problem);
            }
            havePath = havePath || arg == "--port";
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            return Error("unknown option '" + std::string(arg) + "'");
        }
        if (command == TCliCommand::Ttff || (havePath && options.Live)) {
            return Error("unexpected argument '" + std::string(arg) + "'");
        }
        if (havePath) {
            return Error("more than one " +
                         std::string(command == TCliCommand::Monitor ? "port" : "file") +
                         " given ('" + options.Path + "' and '" + std::string(arg) + "')");
        }
        options.Path = arg;
        havePath = true;
    }
    if (const auto problem = CheckTogether(command, havePath, options)) {
        return Error(*problem);
    }
    return {TParseResult::Kind::Run, {}};
}

} // namespace zz::cli
