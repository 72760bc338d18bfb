#include "sim/SimOptions.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/BaudRates.h"
#include "core/CompilerWarnings.h"
#include "sim/SimUnits.h"
#include "sim/TSimReceiver.h"

namespace zz {
namespace {

constexpr double kMaxRateHz = 20.0;
constexpr double kMaxLatitude = 85.0;
constexpr double kMaxSpeedKmh = 500.0;
constexpr double kMaxFixDelayScale = 100000.0;

constexpr std::string_view kUsage =
    "usage: zedezuze-sim [--protocol nmea|binary] [--rate HZ] [--baud N] [--seed N]\n"
    "                    [--device PATH] [--tee FILE] [--duration S] [--start LAT,LON]\n"
    "                    [--speed KMH] [--fix-delay-scale F]\n"
    "Simulates a GPS receiver. Without --device it creates a pseudo-terminal and prints the\n"
    "path of its slave side on the first line.\n";

// The whole text as a number, nothing before or after it.
template <typename T> bool ReadNumber(std::string_view text, T& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ReadReal(std::string_view text, double& value)
{
    return ReadNumber(text, value) && std::isfinite(value);
}

ZZ_GCC12_FALSE_RESTRICT_BEGIN
std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}
ZZ_GCC12_FALSE_RESTRICT_END

// Applies one option with its value.
bool ApplyOption(std::string_view name, std::string_view value, TSimOptions& options,
                 std::string& error)
{
    TSimSettings& settings = options.Settings;
    if (name == "--protocol") {
        if (value == "nmea") {
            settings.Protocol = TSimProtocol::Nmea;
        } else if (value == "binary") {
            settings.Protocol = TSimProtocol::Binary;
        } else {
            error = "--protocol takes nmea or binary, not " + Quoted(value);
            return false;
        }
    } else if (name == "--rate") {
        if (!ReadReal(value, settings.RateHz) || settings.RateHz <= 0.0 ||
            settings.RateHz > kMaxRateHz) {
            error = "--rate takes a number of cycles per second above 0 and up to 20, not " +
                    Quoted(value);
            return false;
        }
    } else if (name == "--baud") {
        if (!ReadNumber(value, settings.BaudRate) ||
            !IsListedBaudRate(kSimulatorBaudRates, settings.BaudRate)) {
            error = "--baud takes one of " + BaudRateListText(kSimulatorBaudRates) + ", not " +
                    Quoted(value);
            return false;
        }
    } else if (name == "--seed") {
        if (!ReadNumber(value, settings.Seed)) {
            error = "--seed takes a whole number, not " + Quoted(value);
            return false;
        }
    } else if (name == "--device") {
        if (value.empty()) {
            error = "--device takes a path";
            return false;
        }
        options.Device = value;
    } else if (name == "--tee") {
        if (value.empty()) {
            error = "--tee takes a file name";
            return false;
        }
        options.Tee = value;
    } else if (name == "--duration") {
        if (!ReadReal(value, options.DurationSeconds) || options.DurationSeconds <= 0.0) {
            error = "--duration takes a number of seconds above 0, not " + Quoted(value);
            return false;
        }
    } else if (name == "--start") {
        const size_t comma = value.find(',');
        double latitude = 0.0;
        double longitude = 0.0;
        if (comma == std::string_view::npos || !ReadReal(value.substr(0, comma), latitude) ||
            !ReadReal(value.substr(comma + 1), longitude) || std::fabs(latitude) > kMaxLatitude ||
            std::fabs(longitude) > 180.0) {
            error = "--start takes LAT,LON in degrees (latitude within 85 of the equator), not " +
                    Quoted(value);
            return false;
        }
        settings.StartLatitudeDeg = latitude;
        settings.StartLongitudeDeg = longitude;
    } else if (name == "--speed") {
        if (!ReadReal(value, settings.SpeedKmh) || settings.SpeedKmh < 0.0 ||
            settings.SpeedKmh > kMaxSpeedKmh) {
            error = "--speed takes km/h from 0 to 500, not " + Quoted(value);
            return false;
        }
    } else if (name == "--fix-delay-scale") {
        if (!ReadReal(value, settings.FixDelayScale) || settings.FixDelayScale < 0.0 ||
            settings.FixDelayScale > kMaxFixDelayScale) {
            error = "--fix-delay-scale takes a factor from 0 to 100000, not " + Quoted(value);
            return false;
        }
    } else {
        error = "unknown option " + Quoted(name);
        return false;
    }
    return true;
}

} // namespace

bool ParseSimOptions(std::span<const std::string_view> arguments, TSimOptions& options,
                     std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string_view name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.Help = true;
            return true;
        }
        if (name == "--version") {
            options.Version = true;
            return true;
        }
        std::string_view value;
        const size_t equals = name.find('=');
        if (name.starts_with("--") && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error = name.starts_with("--") ? Quoted(name) + " needs a value"
                                           : "unknown option " + Quoted(name);
            return false;
        }
        if (!ApplyOption(name, value, options, error)) {
            return false;
        }
    }

    const TSimSettings& settings = options.Settings;
    if (!TSimReceiver::CycleFitsLine(settings)) {
        const size_t bytes = TSimReceiver::LargestCycleBytes(settings.Protocol);
        error = "a cycle of up to ";
        AppendInteger(error, static_cast<int64_t>(bytes), 1);
        error += " bytes does not fit in ";
        AppendFixedPoint(error, 1.0 / settings.RateHz, 3);
        error += " s at ";
        AppendInteger(error, settings.BaudRate, 1);
        error += " baud: lower --rate or raise --baud";
        return false;
    }
    return true;
}

std::string_view SimUsage()
{
    return kUsage;
}

} // namespace zz
