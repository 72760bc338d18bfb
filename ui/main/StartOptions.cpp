#include "ui/main/StartOptions.h"

#include <vector>

#include "core/BaudRates.h"
#include "core/OptionValues.h"
#include "core/ProductVersion.h"

namespace zz {
namespace {

constexpr std::string_view kUsage =
    "usage: zedezuze [--port PATH|SIM] [--baud N] [--protocol nmea|binary] [--header S]\n"
    "       zedezuze --replay FILE [--protocol nmea|binary] [--header S]\n"
    "\n"
    "Monitors a GPS receiver on a serial port: position, time, satellites, signal levels,\n"
    "speed, course and the time to first fix, in nine windows. Without options it starts\n"
    "disconnected; F4 then chooses the port.\n"
    "\n"
    "  --port PATH          connect at start-up to this serial device (/dev/ttyUSB0), or to\n"
    "                       SIM, the built-in simulated receiver\n"
    "  --baud N             line speed: 2400, 4800, 9600 (default), 19200, 38400, 57600,\n"
    "                       115200\n"
    "  --protocol P         nmea (default) or binary\n"
    "  --header S           sentence that opens an NMEA cycle: GGA (default), RMC, GLL, ROT,\n"
    "                       GSA, VTG, GSV, ZDA\n"
    "  --replay FILE        open a raw log (.bin) for replay, paused; without --header the\n"
    "                       log's marker line decides the header of the cycle\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "The toolkit's own options, such as -platform NAME and -style NAME, are passed on.\n"
    "\n"
    "Exit status: 0 when the window was closed, 2 for a bad option or an unreadable log.\n";

// The toolkit's command-line options: those that take the next argument as their value, and
// those that stand alone. Each is also accepted with two dashes, as the toolkit does.
constexpr std::string_view kToolkitValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "icon",   "name",
    "visual",      "qmljsdebugger",
};
constexpr std::string_view kToolkitFlags[] = {"reverse", "widgetcount", "nograb",
                                              "dograb",  "sync",        "testability"};

enum class TToolkitOption
{
    None,
    Flag,
    WithValue,
    WithAttachedValue,
};

// Whether the argument is one of the toolkit's options, and how it takes its value.
TToolkitOption ToolkitOption(std::string_view argument)
{
    if (!argument.starts_with('-')) {
        return TToolkitOption::None;
    }
    std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
    const size_t equals = name.find('=');
    const bool attached = equals != std::string_view::npos;
    name = name.substr(0, equals);
    for (const std::string_view option : kToolkitValueOptions) {
        if (name == option) {
            return attached ? TToolkitOption::WithAttachedValue : TToolkitOption::WithValue;
        }
    }
    for (const std::string_view flag : kToolkitFlags) {
        if (name == flag && !attached) {
            return TToolkitOption::Flag;
        }
    }
    return TToolkitOption::None;
}

// One of the rates the receiver setting dialog offers.
std::optional<std::string> ReadDialogBaudRate(std::string_view option, std::string_view value,
                                              int32_t& rate)
{
    std::vector<std::string> texts;
    for (const int32_t listed : kDialogBaudRates) {
        texts.push_back(std::to_string(listed));
    }
    const std::vector<std::string_view> names(texts.begin(), texts.end());
    const std::optional<int32_t> index = OptionValueIndex(names, value);
    if (!index) {
        return UnknownOptionValueText(option, value, names);
    }
    rate = kDialogBaudRates[static_cast<size_t>(*index)];
    return std::nullopt;
}

TStartParse Error(std::string message)
{
    return {TStartParse::Kind::Error, std::move(message)};
}

} // namespace

TStartParse ParseStartOptions(std::span<const std::string_view> arguments, TStartOptions& options)
{
    bool wantsHelp = false;
    bool wantsVersion = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        switch (ToolkitOption(arguments[i])) {
        case TToolkitOption::WithValue:
            ++i;
            continue;
        case TToolkitOption::Flag:
        case TToolkitOption::WithAttachedValue:
            continue;
        case TToolkitOption::None:
            break;
        }
        const auto [name, attached] = SplitOptionWord(arguments[i]);
        const bool isFlag = name == "--help" || name == "-h" || name == "--version";
        if (isFlag) {
            if (attached) {
                return Error(std::string(name) + " takes no value");
            }
            wantsHelp = wantsHelp || name != "--version";
            wantsVersion = wantsVersion || name == "--version";
            continue;
        }
        const bool takesValue = name == "--port" || name == "--baud" || name == "--protocol" ||
                                name == "--header" || name == "--replay";
        if (!takesValue) {
            if (name.starts_with('-')) {
                return Error("unknown option '" + std::string(name) + "'");
            }
            return Error("unexpected argument '" + std::string(name) +
                         "' (a port goes after --port, a log after --replay)");
        }
        if (!attached && i + 1 >= arguments.size()) {
            return Error(std::string(name) + " needs a value");
        }
        const std::string_view value = attached ? *attached : arguments[++i];
        std::optional<std::string> problem;
        if (name == "--port" || name == "--replay") {
            if (value.empty()) {
                problem = std::string(name) + " needs a value";
            }
            (name == "--port" ? options.Port : options.ReplayPath) = value;
        } else if (name == "--baud") {
            int32_t rate = 0;
            problem = ReadDialogBaudRate(name, value, rate);
            options.BaudRate = rate;
        } else if (name == "--protocol") {
            TProtocol protocol = TProtocol::Nmea;
            problem = ReadProtocolOption(name, value, protocol);
            options.Protocol = protocol;
        } else {
            THeader header = THeader::GGA;
            problem = ReadHeaderOption(name, value, header);
            options.Header = header;
        }
        if (problem) {
            return Error(*problem);
        }
    }
    if (wantsHelp) {
        return {TStartParse::Kind::Help, {}};
    }
    if (wantsVersion) {
        return {TStartParse::Kind::Version, {}};
    }
    if (!options.Port.empty() && !options.ReplayPath.empty()) {
        return Error("--port and --replay exclude each other");
    }
    if (options.BaudRate && options.Port.empty()) {
        return Error("--baud needs --port");
    }
    if ((options.Protocol || options.Header) && options.Port.empty() &&
        options.ReplayPath.empty()) {
        return Error(std::string(options.Protocol ? "--protocol" : "--header") +
                     " needs --port or --replay");
    }
    return {TStartParse::Kind::Start, {}};
}

TRunSettings StartRunSettings(const TStartOptions& options, TRunSettings base)
{
    base.Line.PortName = options.Port;
    base.Line.BaudRate = options.BaudRate.value_or(base.Line.BaudRate);
    base.Receiver.Protocol = options.Protocol.value_or(base.Receiver.Protocol);
    base.Receiver.Header = options.Header.value_or(base.Receiver.Header);
    return base;
}

std::string_view StartUsage()
{
    return kUsage;
}

std::string StartVersionText()
{
    return "zedezuze " + std::string(kProductVersion);
}

} // namespace zz
