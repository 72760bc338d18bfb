#include "cli/DecodeOptions.h"

#include <array>
#include <string_view>

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

template <size_t N>
std::string Choices(const std::array<std::string_view, N>& names)
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

TParseResult ParseDecodeOptions(int argc, char** argv, TDecodeOptions& options)
{
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
        const bool takesValue =
            arg == "--protocol" || arg == "--header" || arg == "--lf" || arg == "--sa" || arg == "--vd";
        if (takesValue) {
            if (i + 1 >= argc) {
                return Error(std::string(arg) + " needs a value");
            }
            const std::string_view value = argv[++i];
            std::optional<int32_t> index;
            std::string choices;
            if (arg == "--protocol") {
                index = IndexOf(kProtocolNames, value);
                choices = Choices(kProtocolNames);
                options.Protocol = index.value_or(options.Protocol);
            } else if (arg == "--header") {
                const auto names = HeaderNames();
                index = IndexOf(names, value);
                choices = Choices(names);
                if (index) {
                    options.HeaderIndex = index;
                }
            } else if (arg == "--lf") {
                index = IndexOf(kLFrefNames, value);
                choices = Choices(kLFrefNames);
                options.LFref = index.value_or(options.LFref);
            } else if (arg == "--sa") {
                index = IndexOf(kSArefNames, value);
                choices = Choices(kSArefNames);
                options.SAref = index.value_or(options.SAref);
            } else {
                index = IndexOf(kVDrefNames, value);
                choices = Choices(kVDrefNames);
                options.VDref = index.value_or(options.VDref);
            }
            if (!index) {
                return Error("unknown value '" + std::string(value) + "' for " + std::string(arg) +
                             " (expected " + choices + ")");
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            return Error("unknown option '" + std::string(arg) + "'");
        }
        if (havePath) {
            return Error("more than one file given ('" + options.Path + "' and '" + std::string(arg) +
                         "')");
        }
        options.Path = arg;
        havePath = true;
    }
    if (!havePath) {
        return Error("no file given (use - for standard input)");
    }
    return {TParseResult::Kind::Run, {}};
}

} // namespace zz::cli
