#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimOptions.h"
#include "sim/TSimReceiver.h"

namespace zz {
namespace {

bool Parse(const std::vector<std::string_view>& arguments, TSimOptions& options, std::string& error)
{
    return ParseSimOptions(arguments, options, error);
}

TEST(SimOptions, DefaultsAreThoseOfAPlainReceiver)
{
    TSimOptions options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error)) << error;
    EXPECT_EQ(options.Settings.Protocol, TSimProtocol::Nmea);
    EXPECT_EQ(options.Settings.BaudRate, 9600);
    EXPECT_EQ(options.Settings.RateHz, 1.0);
    EXPECT_TRUE(options.Device.empty());
    EXPECT_EQ(options.DurationSeconds, 0.0);
}

TEST(SimOptions, ReadsEveryOption)
{
    TSimOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--protocol", "binary", "--rate=5", "--baud", "19200", "--seed", "42",
                       "--device", "/dev/ttyUSB3", "--tee=/tmp/copy.bin", "--duration", "2.5",
                       "--start", "-33.87,151.21", "--speed", "12.5", "--fix-delay-scale", "0.25"},
                      options, error))
        << error;
    const TSimSettings& settings = options.Settings;
    EXPECT_EQ(settings.Protocol, TSimProtocol::Binary);
    EXPECT_EQ(settings.RateHz, 5.0);
    EXPECT_EQ(settings.BaudRate, 19200);
    EXPECT_EQ(settings.Seed, 42U);
    EXPECT_EQ(options.Device, "/dev/ttyUSB3");
    EXPECT_EQ(options.Tee, "/tmp/copy.bin");
    EXPECT_EQ(options.DurationSeconds, 2.5);
    EXPECT_EQ(settings.StartLatitudeDeg, -33.87);
    EXPECT_EQ(settings.StartLongitudeDeg, 151.21);
    EXPECT_EQ(settings.SpeedKmh, 12.5);
    EXPECT_EQ(settings.FixDelayScale, 0.25);
}

TEST(SimOptions, RefusesWhatMakesNoSense)
{
    struct Case
    {
        std::vector<std::string_view> Arguments;
        std::string_view Mentions; // the reason names what is wrong
    };
    const std::vector<Case> cases = {
        {{"--protocol", "ubx"}, "--protocol"},
        {{"--rate", "0"}, "--rate"},
        {{"--rate", "-1"}, "--rate"},
        {{"--rate", "1Hz"}, "--rate"},
        {{"--rate", "nan"}, "--rate"},
        {{"--baud", "9601"}, "--baud"},
        {{"--baud", "fast"}, "--baud"},
        {{"--seed", "-3"}, "--seed"},
        {{"--duration", "0"}, "--duration"},
        {{"--start", "47.3"}, "--start"},
        {{"--start", "91,8"}, "--start"},
        {{"--start", "47,181"}, "--start"},
        {{"--start", "47,8,3"}, "--start"},
        {{"--speed", "-5"}, "--speed"},
        {{"--speed"}, "--speed"},
        {{"--fix-delay-scale", "-1"}, "--fix-delay-scale"},
        {{"--fix-delay-scale", "inf"}, "--fix-delay-scale"},
        {{"--device", ""}, "--device"},
        {{"--verbose", "1"}, "--verbose"},
        {{"extra"}, "extra"},
        // A cycle that the line cannot carry in one period.
        {{"--rate", "10"}, "baud"},
        {{"--baud", "1200"}, "baud"},
        {{"--protocol", "binary", "--rate", "20", "--baud", "9600"}, "baud"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Arguments));
        TSimOptions options;
        std::string error;
        EXPECT_FALSE(Parse(c.Arguments, options, error));
        EXPECT_NE(error.find(c.Mentions), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(SimOptions, BaudTakesTheListedRatesOnly)
{
    // A slow enough cycle that every rate can carry it.
    for (const int baud : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400}) {
        SCOPED_TRACE(baud);
        for (const int offset : {0, -1, 1}) {
            const std::string value = std::to_string(baud + offset);
            TSimOptions options;
            std::string error;
            EXPECT_EQ(Parse({"--rate", "0.1", "--baud", value}, options, error), offset == 0)
                << value << ": " << error;
        }
    }
    TSimOptions options;
    std::string error;
    EXPECT_FALSE(Parse({"--baud", "9601"}, options, error));
    EXPECT_EQ(error, "--baud takes one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, "
                     "230400, not \"9601\"");
}

TEST(SimOptions, CycleFitMatchesTheLargestCycle)
{
    // Right at the edge: the line time of the largest cycle against the cycle period.
    for (TSimProtocol protocol : {TSimProtocol::Nmea, TSimProtocol::Binary}) {
        const size_t bytes = TSimReceiver::LargestCycleBytes(protocol);
        for (int baud : {4800, 9600, 38400, 115200}) {
            SCOPED_TRACE(baud);
            const double fastest = baud / 10.0 / static_cast<double>(bytes);
            TSimSettings settings;
            settings.Protocol = protocol;
            settings.BaudRate = baud;
            settings.RateHz = fastest * 0.99;
            EXPECT_TRUE(TSimReceiver::CycleFitsLine(settings));
            settings.RateHz = fastest * 1.01;
            EXPECT_FALSE(TSimReceiver::CycleFitsLine(settings));
        }
    }
    // What a real receiver does: NMEA once a second at 9600 baud, ten times at 115200.
    EXPECT_LE(TSimReceiver::LargestCycleBytes(TSimProtocol::Nmea), 960U);
    EXPECT_LE(TSimReceiver::LargestCycleBytes(TSimProtocol::Nmea) * 10U, 11520U);
}

TEST(SimOptions, LargestCycleIsNeverExceeded)
{
    // The sky with the most satellites, and every sentence at its widest.
    for (TSimProtocol protocol : {TSimProtocol::Nmea, TSimProtocol::Binary}) {
        TSimSettings settings;
        settings.Protocol = protocol;
        settings.BaudRate = 230400;
        settings.StartLatitudeDeg = -84.9;
        settings.StartLongitudeDeg = -179.9;
        settings.SpeedKmh = 500.0;
        TSimReceiver receiver(settings);
        // The first second also carries the version report; every later one just its cycle.
        std::string out;
        receiver.Step(1.0, out);
        const size_t limit = TSimReceiver::LargestCycleBytes(protocol);
        for (int cycle = 0; cycle < 600; ++cycle) {
            out.clear();
            receiver.Step(1.0, out);
            ASSERT_LE(out.size(), limit) << "cycle " << cycle;
        }
    }
}

TEST(SimOptions, HelpAndVersionStopBeforeTheRest)
{
    for (const auto& [argument, wantsHelp] :
         {std::pair{"--help", true}, std::pair{"-h", true}, std::pair{"--version", false}}) {
        TSimOptions options;
        std::string error;
        ASSERT_TRUE(Parse({argument, "--rate", "nonsense"}, options, error)) << error;
        EXPECT_EQ(options.Help, wantsHelp) << argument;
        EXPECT_EQ(options.Version, !wantsHelp) << argument;
    }
}

} // namespace
} // namespace zz
