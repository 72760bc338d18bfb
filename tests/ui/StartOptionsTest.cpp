// The application's command line, read without the toolkit.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/main/StartOptions.h"

namespace zz {
namespace {

TStartParse Parse(const std::vector<std::string_view>& arguments, TStartOptions& options)
{
    return ParseStartOptions(arguments, options);
}

TEST(StartOptions, ReadsEveryOptionInBothSpellingsAndPassesTheToolkitsOwnOver)
{
    const struct
    {
        const char* What;
        std::vector<std::string_view> Arguments;
        TStartOptions Expected;
    } cases[] = {
        {"nothing", {}, {}},
        {"port alone", {"--port", "SIM"}, {"SIM", {}, {}, {}, {}}},
        {"every connect option",
         {"--port", "/dev/ttyUSB0", "--baud", "115200", "--protocol", "binary", "--header", "ZDA"},
         {"/dev/ttyUSB0", 115200, TProtocol::Binary, THeader::ZDA, {}}},
        {"attached values",
         {"--port=/dev/ttyACM1", "--baud=4800", "--protocol=nmea", "--header=RMC"},
         {"/dev/ttyACM1", 4800, TProtocol::Nmea, THeader::RMC, {}}},
        {"the last of a repeated option",
         {"--port", "SIM", "--baud", "2400", "--baud", "57600"},
         {"SIM", 57600, {}, {}, {}}},
        {"replay", {"--replay", "drive.bin"}, {{}, {}, {}, {}, "drive.bin"}},
        {"replay with protocol and header",
         {"--replay=a=b.bin", "--protocol", "binary", "--header", "GSV"},
         {{}, {}, TProtocol::Binary, THeader::GSV, "a=b.bin"}},
        {"toolkit options around ours",
         {"-platform", "offscreen", "--port", "SIM", "-style=fusion", "--reverse", "-stylesheet",
          "my.qss", "-qwindowgeometry", "640x480", "--platformtheme", "gtk3", "-widgetcount"},
         {"SIM", {}, {}, {}, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TStartOptions options;
        const TStartParse parse = Parse(c.Arguments, options);
        ASSERT_EQ(parse.Outcome, TStartParse::Kind::Start) << parse.Message;
        EXPECT_EQ(options.Port, c.Expected.Port);
        EXPECT_EQ(options.BaudRate, c.Expected.BaudRate);
        EXPECT_EQ(options.Protocol, c.Expected.Protocol);
        EXPECT_EQ(options.Header, c.Expected.Header);
        EXPECT_EQ(options.ReplayPath, c.Expected.ReplayPath);
    }
}

TEST(StartOptions, HelpAndVersionWinOverEverythingButABadOption)
{
    const struct
    {
        std::vector<std::string_view> Arguments;
        TStartParse::Kind Outcome;
    } cases[] = {
        {{"--help"}, TStartParse::Kind::Help},
        {{"-h"}, TStartParse::Kind::Help},
        {{"--version"}, TStartParse::Kind::Version},
        {{"--port", "SIM", "--version"}, TStartParse::Kind::Version},
        {{"--version", "--help"}, TStartParse::Kind::Help},
        // Options that only do not fit together give way to help; a wrong value does not.
        {{"--baud", "4800", "--help"}, TStartParse::Kind::Help},
        {{"--help", "--baud", "300"}, TStartParse::Kind::Error},
    };
    for (const auto& c : cases) {
        TStartOptions options;
        EXPECT_EQ(Parse(c.Arguments, options).Outcome, c.Outcome) << c.Arguments.front();
    }
}

TEST(StartOptions, ABadOptionOrValueIsOneLineThatNamesIt)
{
    const struct
    {
        std::vector<std::string_view> Arguments;
        const char* Message;
    } cases[] = {
        {{"--prot", "nmea"}, "unknown option '--prot'"},
        {{"-x"}, "unknown option '-x'"},
        {{"/dev/ttyUSB0"},
         "unexpected argument '/dev/ttyUSB0' (a port goes after --port, a log after --replay)"},
        {{"--port"}, "--port needs a value"},
        {{"--port="}, "--port needs a value"},
        {{"--replay", ""}, "--replay needs a value"},
        {{"--port", "SIM", "--protocol", "NMEA"},
         "unknown value 'NMEA' for --protocol (expected nmea|binary)"},
        {{"--port", "SIM", "--header", "gga"},
         "unknown value 'gga' for --header (expected GGA|RMC|GLL|ROT|GSA|VTG|GSV|ZDA)"},
        {{"--port", "SIM", "--baud", "300"},
         "unknown value '300' for --baud (expected 2400|4800|9600|19200|38400|57600|115200)"},
        {{"--port", "SIM", "--baud", "9600.0"},
         "unknown value '9600.0' for --baud (expected 2400|4800|9600|19200|38400|57600|115200)"},
        {{"--version=2"}, "--version takes no value"},
        {{"--port", "SIM", "--replay", "a.bin"}, "--port and --replay exclude each other"},
        {{"--baud", "9600"}, "--baud needs --port"},
        {{"--replay", "a.bin", "--baud", "9600"}, "--baud needs --port"},
        {{"--protocol", "binary"}, "--protocol needs --port or --replay"},
        {{"--header", "RMC"}, "--header needs --port or --replay"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        TStartOptions options;
        const TStartParse parse = Parse(c.Arguments, options);
        EXPECT_EQ(parse.Outcome, TStartParse::Kind::Error);
        EXPECT_EQ(parse.Message, c.Message);
    }
}

TEST(StartOptions, TheSettingsToConnectWithKeepWhatTheOptionsLeaveOpen)
{
    TRunSettings base;
    base.Line.PortName = "/dev/ttyS0";
    base.Line.BaudRate = 19200;
    base.Line.Parity = TParity::Even;
    base.Receiver.Protocol = TProtocol::Binary;
    base.Receiver.Header = THeader::GSA;
    base.Receiver.References.LFref = TPositionRef::RMC;

    TStartOptions options;
    options.Port = "SIM";
    TRunSettings settings = StartRunSettings(options, base);
    TRunSettings expected = base;
    expected.Line.PortName = "SIM";
    EXPECT_EQ(settings.Line, expected.Line);
    EXPECT_EQ(settings.Receiver.Protocol, TProtocol::Binary);
    EXPECT_EQ(settings.Receiver.Header, THeader::GSA);
    EXPECT_EQ(settings.Receiver.References.LFref, TPositionRef::RMC);

    options.BaudRate = 4800;
    options.Protocol = TProtocol::Nmea;
    options.Header = THeader::VTG;
    settings = StartRunSettings(options, base);
    EXPECT_EQ(settings.Line.BaudRate, 4800);
    EXPECT_EQ(settings.Line.Parity, TParity::Even);
    EXPECT_EQ(settings.Receiver.Protocol, TProtocol::Nmea);
    EXPECT_EQ(settings.Receiver.Header, THeader::VTG);
    EXPECT_EQ(settings.Receiver.References.LFref, TPositionRef::RMC);
}

TEST(StartOptions, UsageNamesEveryOptionAndVersionTheProduct)
{
    const std::string usage(StartUsage());
    for (const char* option :
         {"--port", "--baud", "--protocol", "--header", "--replay", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(StartVersionText(), "zedezuze 2.0");
}

} // namespace
} // namespace zz
