#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "sim/TSimReceiver.h"
#include "tests/sim/SimStreams.h"

namespace zz::test {
namespace {

std::string WithChecksum(std::string_view body, bool lowerCase = false)
{
    uint8_t sum = 0;
    for (char c : body.substr(1)) {
        sum ^= static_cast<uint8_t>(c);
    }
    const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
    return std::string(body) + "*" + digits[sum >> 4] + digits[sum & 0x0F];
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

void Input(TSimReceiver& receiver, std::string_view bytes)
{
    receiver.HandleInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TSimSettings Settings(TSimProtocol protocol, int baudRate, double rateHz)
{
    TSimSettings settings;
    settings.Protocol = protocol;
    settings.BaudRate = baudRate;
    settings.RateHz = rateHz;
    return settings;
}

TEST(SimReceiver, LineNeverCarriesMoreThanTheBaudRateAllows)
{
    struct Case
    {
        TSimProtocol Protocol;
        int BaudRate;
        double RateHz;
    };
    const Case cases[] = {{TSimProtocol::Nmea, 9600, 1.0},   {TSimProtocol::Nmea, 115200, 10.0},
                          {TSimProtocol::Nmea, 38400, 4.0},  {TSimProtocol::Binary, 4800, 1.0},
                          {TSimProtocol::Binary, 9600, 5.0}, {TSimProtocol::Nmea, 19200, 2.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.BaudRate << " baud, " << c.RateHz << " Hz");
        const TSimSettings settings = Settings(c.Protocol, c.BaudRate, c.RateHz);
        ASSERT_TRUE(TSimReceiver::CycleFitsLine(settings));
        TSimReceiver receiver(settings);
        const double bytesPerSecond = c.BaudRate / 10.0;

        // Bytes per 10 ms step, on the receiver's own clock.
        constexpr int kStepsPerSecond = 100;
        std::vector<size_t> perStep;
        std::string all;
        for (int i = 0; i < 20 * kStepsPerSecond; ++i) {
            std::string out;
            receiver.Step(1.0 / kStepsPerSecond, out);
            perStep.push_back(out.size());
            all += out;
        }
        for (int window : {1, 10, kStepsPerSecond}) {
            SCOPED_TRACE(window);
            const double limit = bytesPerSecond * window / kStepsPerSecond + 1.0;
            size_t sum = 0;
            for (size_t i = 0; i < perStep.size(); ++i) {
                sum += perStep[i];
                if (i >= static_cast<size_t>(window)) {
                    sum -= perStep[i - static_cast<size_t>(window)];
                }
                ASSERT_LE(static_cast<double>(sum), limit) << "step " << i;
            }
        }

        // Nothing is held back either: every cycle goes out, and a cycle takes the line only as
        // long as its bytes need.
        const auto cycles = static_cast<size_t>(20 * c.RateHz);
        if (c.Protocol == TSimProtocol::Nmea) {
            const auto sentences = SplitSentences(all);
            EXPECT_EQ(std::count_if(sentences.begin(), sentences.end(),
                                    [](const std::string& s) { return Address(s) == "GPRMC"; }),
                      static_cast<std::ptrdiff_t>(cycles));
        } else {
            const auto frames = SplitFrames(all);
            EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                                    [](const std::string& f) { return f[0] == '\xE3'; }),
                      static_cast<std::ptrdiff_t>(cycles));
        }
        // While it has something to send the line runs at full speed: the version report and
        // the first cycle leave in one burst.
        size_t step = 0;
        while (step + 1 < perStep.size() && perStep[step + 1] > 0) {
            EXPECT_GE(static_cast<double>(perStep[step]), bytesPerSecond / kStepsPerSecond - 1.0)
                << "step " << step;
            ++step;
        }
        EXPECT_GT(step, 0U);
    }
}

TEST(SimReceiver, OneLongStepStillKeepsToTheLineSpeed)
{
    TSimReceiver receiver(Settings(TSimProtocol::Nmea, 9600, 1.0));
    std::string out;
    receiver.Step(5.0, out);
    EXPECT_LE(out.size(), 5U * 960U + 1U);
    // Five cycles went out whole; the sixth falls due at the end of the step.
    EXPECT_GT(SplitSentences(out).size(), 5U * 12U);
    EXPECT_EQ(receiver.PendingBytes(), 0U);
}

// Sends command at second 10.3 and follows the engine's time-to-first-fix measurement, as the
// application does after sending a restart command.
struct RestartTrace
{
    double VersionAfter = -1.0; // seconds from the command to the version report
    double FixAfter = -1.0;     // seconds from the command to the timed fix
    int32_t Ttff = 0;           // as the engine measured it, hundredths
    int NoFixPositions = 0;     // positions without fix in between
};

RestartTrace Restart(TSimProtocol protocol, std::string_view command, double rateHz,
                     double fixDelayScale = 1.0)
{
    // The slowest standard line that carries the cycles.
    int baudRate = 4800;
    while (!TSimReceiver::CycleFitsLine(Settings(protocol, baudRate, rateHz))) {
        baudRate *= 2;
    }
    TSimSettings settings = Settings(protocol, baudRate, rateHz);
    settings.FixDelayScale = fixDelayScale;
    TSimReceiver receiver(settings);
    SimDecoder decoder(protocol);
    const auto advance = [&](double seconds) {
        std::string out;
        receiver.Step(seconds, out);
        decoder.Hooks.AdvanceSeconds(seconds);
        decoder.Feed(out);
    };
    for (int i = 0; i < 206; ++i) {
        advance(0.05);
    }
    while (decoder.Take()) {
    }
    decoder.Engine->ArmTtff();
    Input(receiver, command);
    const double commandClock = receiver.Clock();

    RestartTrace trace;
    while (receiver.Clock() < commandClock + 20.0 && trace.FixAfter < 0.0) {
        advance(0.01);
        if (!decoder.Take()) {
            continue;
        }
        const TReceiverState& state = *decoder.State;
        const double since = receiver.Clock() - commandClock;
        if (state.VersionUpdated && trace.VersionAfter < 0.0) {
            trace.VersionAfter = since;
        }
        if (state.PositionUpdated && state.FixQuality == 0) {
            ++trace.NoFixPositions;
        }
        if (state.TtffUpdated) {
            trace.FixAfter = since;
            trace.Ttff = state.Ttff;
        }
    }
    return trace;
}

TEST(SimReceiver, RestartCommandsGiveAVersionReportThenNoFixThenAFix)
{
    struct Case
    {
        std::string Command;
        int Level;
    };
    const std::vector<Case> cases = {
        {"$DIRU,GPclr,1\r\n", 1},
        {WithChecksum("$DIRU,GPclr,2") + "\r\n", 2},
        {WithChecksum("$DIRU,GPclr,3", true) + "\r\n", 3},
        {"$DIRU,GPclr,4\n", 4},
        {"noise\r\n$DIR$DIRU,GPclr,5\r\n", 5},
        {Bytes({0xC1, 0x80, 0x80, 0xC1, 0xCA}), 1},
        {Bytes({0xC1, 0x81, 0x80, 0xC0, 0xCA}), 2},
        {Bytes({0x00, 0xC1, 0xC1, 0x82, 0x80, 0xC3, 0xCA}), 4},
        {Bytes({0xC1, 0x83, 0x80, 0xC2, 0xCA}), 5},
    };
    for (TSimProtocol protocol : {TSimProtocol::Nmea, TSimProtocol::Binary}) {
        for (double rateHz : {1.0, 5.0}) {
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message()
                             << (protocol == TSimProtocol::Nmea ? "nmea " : "binary ") << rateHz
                             << " Hz, level " << c.Level << " command "
                             << testing::PrintToString(c.Command));
                const RestartTrace trace = Restart(protocol, c.Command, rateHz);
                const double delay = TSimReceiver::FixDelay(c.Level);
                // The report comes at once: after at most the message already on the line.
                ASSERT_GE(trace.VersionAfter, 0.0);
                EXPECT_LE(trace.VersionAfter, 0.25);
                // Then cycles without a fix, then the fix after the level's delay.
                EXPECT_GE(trace.NoFixPositions, static_cast<int>(delay * rateHz) - 1);
                ASSERT_GT(trace.FixAfter, 0.0);
                EXPECT_GE(trace.FixAfter, delay);
                EXPECT_LE(trace.FixAfter, delay + 1.0 / rateHz + 0.5);
                EXPECT_NEAR(trace.Ttff / 100.0, trace.FixAfter, 0.02);
            }
        }
    }
}

TEST(SimReceiver, FixDelayScaleShortensOrPostponesTheFix)
{
    for (TSimProtocol protocol : {TSimProtocol::Nmea, TSimProtocol::Binary}) {
        SCOPED_TRACE(protocol == TSimProtocol::Nmea ? "nmea" : "binary");
        // A cold start in a tenth of its time, at 10 Hz.
        const std::string cold = protocol == TSimProtocol::Nmea
                                     ? std::string("$DIRU,GPclr,4\r\n")
                                     : Bytes({0xC1, 0x82, 0x80, 0xC3, 0xCA});
        const RestartTrace quick = Restart(protocol, cold, 10.0, 0.1);
        const double delay = TSimReceiver::FixDelay(4) * 0.1;
        ASSERT_GT(quick.FixAfter, 0.0);
        EXPECT_GE(quick.FixAfter, delay);
        EXPECT_LE(quick.FixAfter, delay + 0.1 + 0.5);
        // Stretched far beyond the 20 s the trace waits: no fix at all.
        const RestartTrace never = Restart(protocol, cold, 1.0, 1000.0);
        EXPECT_GE(never.VersionAfter, 0.0);
        EXPECT_LT(never.FixAfter, 0.0);
        EXPECT_GT(never.NoFixPositions, 15);
    }
}

TEST(SimReceiver, WhatItDoesNotUnderstandChangesNothing)
{
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage.push_back(static_cast<char>(random() & 0xFF));
    }
    const std::vector<std::string> inputs = {
        "$DIRU,GPclr,1*00\r\n",
        "$DIRU,GPclr,1*4\r\n",
        "$DIRU,GPclr,1*4G\r\n",
        "$DIRU,GPclr,6\r\n",
        "$DIRU,GPclr,0\r\n",
        "$DIRU,GPclr,\r\n",
        "$DIRU,GPclr,11\r\n",
        "$DIRU,GPclr,1",
        "$DIRU,GPclr,1\r$DIRU,GPxyz\r\n",
        "$diru,gpclr,1\r\n",
        "$DIRU,GPint,XYZ05\r\n",
        "$DIRU,GPint,GGA61\r\n",
        "$DIRU,GPint,GGA\r\n",
        "$DIRU,GPint,GGA5x\r\n",
        "$DIRU,GPint,gga05\r\n",
        "$PXYZ,1,2,3*00\r\n",
        "$DIRU,GPclr,1" + std::string(200, 'x') + "\r\n",
        Bytes({0xC1, 0x80, 0x80, 0xC0, 0xCA}),
        Bytes({0xC1, 0x84, 0x80, 0xC5, 0xCA}),
        Bytes({0xC1, 0x80, 0x81, 0xC0, 0xCA}),
        Bytes({0xC1, 0x80, 0x80, 0xC1, 0xDA}),
        Bytes({0xC1, 0x80, 0x80, 0xC1}),
        std::string("\0\0\0", 3),
        garbage,
    };
    for (TSimProtocol protocol : {TSimProtocol::Nmea, TSimProtocol::Binary}) {
        TSimReceiver quiet(Settings(protocol, 9600, 1.0));
        const std::string reference = RunFor(quiet, 12.0);
        for (size_t i = 0; i < inputs.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "input " << i << " "
                                            << testing::PrintToString(inputs[i].substr(0, 40)));
            for (bool byteByByte : {false, true}) {
                TSimReceiver receiver(Settings(protocol, 9600, 1.0));
                std::string out = RunFor(receiver, 3.5);
                if (byteByByte) {
                    for (char c : inputs[i]) {
                        Input(receiver, std::string_view(&c, 1));
                    }
                } else {
                    Input(receiver, inputs[i]);
                }
                out += RunFor(receiver, 8.5);
                EXPECT_EQ(out, reference);
            }
        }
    }
}

// Counts the sentences of each address in a stream.
std::map<std::string, int> CountAddresses(const std::string& stream)
{
    std::map<std::string, int> counts;
    for (const std::string& sentence : SplitSentences(stream)) {
        ++counts[Address(sentence)];
    }
    return counts;
}

int Digits(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Seconds of the day in the time field (field 1, hhmmss.ss) of each sentence of an address.
std::vector<double> Times(const std::string& stream, const std::string& address)
{
    std::vector<double> times;
    for (const std::string& sentence : SplitSentences(stream)) {
        if (Address(sentence) == address) {
            const std::string_view field =
                std::string_view(sentence).substr(sentence.find(',') + 1, 9);
            times.push_back(Digits(field.substr(0, 2)) * 3600.0 +
                            Digits(field.substr(2, 2)) * 60.0 + Digits(field.substr(4, 2)) +
                            Digits(field.substr(7, 2)) / 100.0);
        }
    }
    return times;
}

TEST(SimReceiver, IntervalCommandSetsHowOftenASentenceIsSent)
{
    struct Case
    {
        std::string Command;
        std::string Address;
        int Expected; // in 30 cycles
    };
    const std::vector<Case> cases = {
        {"$DIRU,GPint,GGA05\r\n", "GPGGA", 6},
        {WithChecksum("$DIRU,GPint,RMC03") + "\r\n", "GPRMC", 10},
        {"$DIRU,GPint,GSV00\r\n", "GPGSV", 0},
        {"$DIRU,GPint,ZDA1\r\n", "GPZDA", 30},
        {"$DIRU,GPint,ROT30\r\n", "GPROT", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Command);
        TSimReceiver receiver(Settings(TSimProtocol::Nmea, 9600, 1.0));
        RunFor(receiver, 2.5);
        Input(receiver, c.Command);
        // Thirty whole cycles, from the first after the command.
        RunFor(receiver, 0.5);
        std::string stream = RunFor(receiver, 30.0);
        const std::map<std::string, int> counts = CountAddresses(stream);
        EXPECT_EQ(counts.contains(c.Address) ? counts.at(c.Address) : 0, c.Expected);
        if (c.Address != "GPGSV" && c.Address != "GPROT") {
            // Evenly spread: one every Interval cycles (by the time each carries).
            const std::vector<double> times = Times(stream, c.Address);
            for (size_t i = 1; i < times.size(); ++i) {
                EXPECT_DOUBLE_EQ(times[i] - times[i - 1], 30.0 / c.Expected);
            }
        }
        for (const char* other : {"GPGGA", "GPGLL", "GPGSA", "GPRMC", "GPVTG", "GPZDA", "GPROT"}) {
            if (c.Address != other) {
                EXPECT_EQ(counts.at(other), 30) << other;
            }
        }
    }

    // Back to every cycle.
    TSimReceiver receiver(Settings(TSimProtocol::Nmea, 9600, 1.0));
    Input(receiver, "$DIRU,GPint,GGA05\r\n");
    RunFor(receiver, 10.5);
    Input(receiver, "$DIRU,GPint,GGA01\r\n");
    RunFor(receiver, 0.5);
    EXPECT_EQ(CountAddresses(RunFor(receiver, 10.0)).at("GPGGA"), 10);
}

} // namespace
} // namespace zz::test
