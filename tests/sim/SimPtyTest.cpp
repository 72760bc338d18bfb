#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "sim/TSimPty.h"
#include "tests/sim/SimLine.h"
#include "tests/sim/SimStreams.h"

namespace zz::test {
namespace {

TSimSettings FastSettings()
{
    TSimSettings settings;
    settings.RateHz = 10.0;
    settings.BaudRate = 115200;
    return settings;
}

// True once the stream holds count complete sentences of the address.
auto HasSentences(const std::string& address, int count)
{
    return [address, count](const std::string& stream) {
        return CountSentences(stream, address) >= count;
    };
}

TEST(SimPty, ServesTheReceiverOnAPseudoTerminalAndListens)
{
    TSimPty pty(FastSettings());
    std::string error;
    ASSERT_TRUE(pty.OpenPty(error)) << error;
    ASSERT_TRUE(pty.Start(error)) << error;

    const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << pty.SlavePath();
    // The slave side is raw: a command written to it is not echoed back.
    termios settings{};
    ASSERT_EQ(tcgetattr(fd, &settings), 0);
    EXPECT_EQ(settings.c_lflag & (ECHO | ICANON), 0U);

    std::string stream;
    ASSERT_TRUE(ReadUntil(fd, stream, HasSentences("GPGGA", 10)));
    SimDecoder decoder(TSimProtocol::Nmea);
    for (const std::string& sentence : SplitSentences(stream)) {
        decoder.Feed(sentence);
    }
    ASSERT_TRUE(decoder.Take());
    EXPECT_EQ(decoder.State->FixQuality, 1);
    EXPECT_GE(decoder.State->SatellitesUsed, 4);

    const std::string command = "$DIRU,GPclr,3\r\n";
    ASSERT_EQ(write(fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    std::string after;
    ASSERT_TRUE(ReadUntil(fd, after, HasSentences("DIRU,GPtst", 1)));
    // The restarted receiver has no fix.
    ASSERT_TRUE(ReadUntil(fd, after, [](const std::string& s) {
        const size_t report = s.find("$DIRU,GPtst");
        return report != std::string::npos && CountSentences(s.substr(report), "GPGGA") >= 1;
    }));
    const size_t gga = after.find("$GPGGA", after.find("$DIRU,GPtst"));
    EXPECT_NE(after.find(",0,00,", gga), std::string::npos) << after.substr(gga, 80);
    EXPECT_EQ(after.find("DIRU,GPclr"), std::string::npos);

    close(fd);
    pty.Stop();
    pty.Stop();
    EXPECT_GE(pty.BytesSent(), stream.size() + after.size());
}

TEST(SimPty, StopsWhileNobodyReadsTheLine)
{
    // Stopping must not wait for a reader: the line is full and nobody drains it.
    TSimSettings settings = FastSettings();
    settings.BaudRate = 230400;
    for (bool withReaderGone : {false, true}) {
        SCOPED_TRACE(withReaderGone);
        TSimPty pty(settings);
        std::string error;
        ASSERT_TRUE(pty.OpenPty(error)) << error;
        ASSERT_TRUE(pty.Start(error)) << error;
        if (withReaderGone) {
            const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            std::string some;
            ASSERT_TRUE(ReadUntil(fd, some, HasSentences("GPGGA", 2)));
            close(fd);
        }
        // Wait until the line has been written to for a while.
        while (pty.BytesSent() < 3000) {
            usleep(10'000);
        }
        pty.Stop();
        EXPECT_FALSE(pty.LineLost());
    }
    // Destroyed while running, without Stop.
    TSimPty running(settings);
    std::string error;
    ASSERT_TRUE(running.OpenPty(error));
    ASSERT_TRUE(running.Start(error));
}

TEST(SimPty, TeeHoldsExactlyTheBytesOnTheLine)
{
    char teePath[] = "/tmp/zz-sim-tee-XXXXXX";
    const int teeFd = mkstemp(teePath);
    ASSERT_GE(teeFd, 0);
    close(teeFd);

    TSimSettings settings = FastSettings();
    settings.Protocol = TSimProtocol::Binary;
    std::string stream;
    {
        TSimPty pty(settings);
        std::string error;
        ASSERT_TRUE(pty.OpenPty(error)) << error;
        ASSERT_TRUE(pty.OpenTee(teePath, error)) << error;
        ASSERT_TRUE(pty.Start(error)) << error;
        const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(
            ReadUntil(fd, stream, [](const std::string& s) { return CountFrames(s, 0xE3) >= 5; }));
        pty.Stop();
        // Whatever was still on its way.
        char buffer[4096];
        for (ssize_t count; (count = read(fd, buffer, sizeof buffer)) > 0;) {
            stream.append(buffer, static_cast<size_t>(count));
        }
        close(fd);
        EXPECT_EQ(pty.BytesSent(), stream.size());
    }
    std::ifstream tee(teePath, std::ios::binary);
    std::stringstream copy;
    copy << tee.rdbuf();
    EXPECT_EQ(copy.str(), stream);
    std::remove(teePath);
}

TEST(SimPty, ServesAGivenDevice)
{
    // Another pseudo-terminal stands in for a serial port.
    int master = -1;
    int slave = -1;
    std::array<char, 128> name{};
    ASSERT_EQ(openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
    close(slave);

    TSimSettings settings = FastSettings();
    settings.Protocol = TSimProtocol::Binary;
    TSimPty pty(settings);
    std::string error;
    ASSERT_TRUE(pty.OpenDevice(name.data(), error)) << error;
    EXPECT_EQ(pty.SlavePath(), name.data());
    ASSERT_TRUE(pty.Start(error)) << error;

    std::string stream;
    ASSERT_TRUE(ReadUntil(master, stream, [](const std::string& s) { return s.size() > 300; }));
    EXPECT_EQ(static_cast<uint8_t>(stream[0]), 0xD3);
    // The restart command reaches the receiver from the device: a second version report.
    const std::string command = "\xC1\x83\x80\xC2\xCA";
    ASSERT_EQ(write(master, command.data(), command.size()), 5);
    ASSERT_TRUE(
        ReadUntil(master, stream, [](const std::string& s) { return CountFrames(s, 0xD3) >= 2; }));
    pty.Stop();
    close(master);

    ASSERT_FALSE(pty.OpenDevice("/nonexistent/ttyUSB9", error));
    EXPECT_NE(error.find("/nonexistent/ttyUSB9"), std::string::npos);
}

} // namespace
} // namespace zz::test
