#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/ReceiverSettings.h"
#include "io/TLogFiles.h"
#include "tests/io/IoTestSupport.h"

namespace zz::test {
namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteChunk(TLogFiles& logs, const std::string& bytes)
{
    logs.WriteRawChunk(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

class LogFilesTest : public ::testing::Test
{
protected:
    bool OpenBoth() { return Logs.OpenLogFile(LogPath) && Logs.OpenRawFile(RawPath); }

    TTempDir Dir;
    std::string LogPath = Dir.File("20240101_120000.log");
    std::string RawPath = Dir.File("20240101_120000.bin");
    std::atomic<TProtocol> Protocol{TProtocol::Nmea};
    std::atomic<THeader> Header{THeader::GGA};
    TLogFiles Logs{Protocol, Header};
};

TEST_F(LogFilesTest, RawLogHoldsTheMarkerOfTheHeaderAtTheFirstChunkThenTheBytes)
{
    struct TCase
    {
        const char* What;
        TProtocol Protocol;
        THeader HeaderAtOpen;
        THeader HeaderAtFirstChunk;
        std::string Marker;
    };
    const TCase cases[] = {
        {"NMEA, GGA", TProtocol::Nmea, THeader::GGA, THeader::GGA,
         "@@Header of NMEA cycle -> GGA@@\r\n"},
        {"NMEA, header changed before the first chunk", TProtocol::Nmea, THeader::GGA, THeader::ZDA,
         "@@Header of NMEA cycle -> ZDA@@\r\n"},
        {"NMEA, header index out of range", TProtocol::Nmea, THeader::GGA, static_cast<THeader>(8),
         ""},
        {"binary protocol", TProtocol::Binary, THeader::GSV, THeader::GSV, ""},
    };
    const std::string first("$GPGGA,1\r\n\0\xff", 12);
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        Protocol.store(item.Protocol);
        Header.store(item.HeaderAtOpen);
        ASSERT_TRUE(OpenBoth());
        EXPECT_TRUE(Logs.Recording());
        Header.store(item.HeaderAtFirstChunk);
        WriteChunk(Logs, first);
        Header.store(THeader::RMC); // later chunks never add a marker
        WriteChunk(Logs, "$GPRMC");
        WriteChunk(Logs, "");
        Logs.CloseLogFiles();
        EXPECT_EQ(ReadFile(RawPath), item.Marker + first + "$GPRMC");
    }
}

TEST_F(LogFilesTest, TextLogHoldsReceivedAndSentLinesEndedByCrLf)
{
    ASSERT_TRUE(OpenBoth());
    const char sentence[] = "$GPGGA,123519,4807.038,N*47";
    Logs.WriteLogLine(sentence, sizeof sentence - 1);
    Logs.WriteSentLine("$PDIRU,GPclr", 12);
    Logs.WriteLogLine("A0A2", 4);
    Logs.WriteSentLine("", 0);
    Logs.CloseLogFiles();
    EXPECT_EQ(ReadFile(LogPath), "$GPGGA,123519,4807.038,N*47\r\n/$PDIRU,GPclr\r\nA0A2\r\n/\r\n");
    EXPECT_EQ(ReadFile(RawPath), "");
}

TEST_F(LogFilesTest, NothingIsWrittenUnlessBothFilesAreOpen)
{
    ASSERT_TRUE(Logs.OpenLogFile(LogPath));
    EXPECT_FALSE(Logs.Recording());
    Logs.WriteLogLine("$GPGGA", 6);
    Logs.WriteSentLine("cmd", 3);
    EXPECT_EQ(ReadFile(LogPath), "");

    EXPECT_FALSE(Logs.OpenRawFile(Dir.File("no-such-dir/x.bin")));
    EXPECT_EQ(Logs.LastOpenErrno(), ENOENT);
    EXPECT_FALSE(Logs.Recording());

    ASSERT_TRUE(Logs.OpenRawFile(RawPath));
    EXPECT_TRUE(Logs.Recording());
    Logs.CloseLogFiles();
    EXPECT_FALSE(Logs.Recording());
    Logs.WriteLogLine("$GPGGA", 6);
    WriteChunk(Logs, "bytes");
    EXPECT_EQ(ReadFile(LogPath), "");
    EXPECT_EQ(ReadFile(RawPath), "");
}

TEST_F(LogFilesTest, AFailingWriteIsRecordedAndRecordingGoesOn)
{
    ASSERT_TRUE(Logs.OpenLogFile(LogPath));
    ASSERT_TRUE(Logs.OpenRawFile("/dev/full"));
    EXPECT_FALSE(Logs.RawFailure().Failed);

    WriteChunk(Logs, "lost");
    Logs.WriteLogLine("$GPGGA", 6);
    EXPECT_TRUE(Logs.RawFailure().Failed);
    EXPECT_EQ(Logs.RawFailure().Errno, ENOSPC);
    EXPECT_FALSE(Logs.LogFailure().Failed);
    EXPECT_TRUE(Logs.Recording());

    Logs.WriteSentLine("cmd", 3);
    Logs.CloseLogFiles();
    EXPECT_EQ(ReadFile(LogPath), "$GPGGA\r\n/cmd\r\n");

    // A new recording starts with no failure on record.
    ASSERT_TRUE(OpenBoth());
    EXPECT_FALSE(Logs.RawFailure().Failed);
}

TEST_F(LogFilesTest, LinesFromTwoThreadsNeverInterleaveAndCloseNeverRacesAWrite)
{
    const std::string received(300, 'R');
    const std::string sent(300, 'S');
    std::atomic<bool> stop{false};
    ASSERT_TRUE(OpenBoth());
    std::thread protocol([&] {
        while (!stop.load()) {
            Logs.WriteLogLine(received.data(), received.size());
            WriteChunk(Logs, received);
        }
    });
    for (int round = 0; round < 200; ++round) {
        Logs.WriteSentLine(sent.data(), sent.size());
        if (round % 50 == 49 && round < 150) {
            Logs.CloseLogFiles();
            ASSERT_TRUE(OpenBoth());
        }
    }
    stop.store(true);
    protocol.join();
    Logs.CloseLogFiles();

    std::istringstream lines(ReadFile(LogPath));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(line == received + "\r" || line == "/" + sent + "\r") << line.substr(0, 40);
    }
    EXPECT_GE(count, 50);
    const std::string raw = ReadFile(RawPath);
    if (!raw.empty()) {
        EXPECT_EQ(raw.substr(0, 33), "@@Header of NMEA cycle -> GGA@@\r\n");
        EXPECT_EQ(raw.find_first_not_of('R', 33), std::string::npos);
    }
}

} // namespace
} // namespace zz::test
