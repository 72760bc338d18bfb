#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TSentLineFinder.h"

namespace zz {
namespace {

struct Found
{
    std::string Command;
    size_t LineBytes = 0;
    size_t HandedOn = 0; // bytes of the stream handed on when it was reported
};

// Writes the stream back and notes each command found.
class Transcript : public TSentLineSink
{
public:
    void Bytes(const uint8_t* bytes, size_t count) override
    {
        Stream.append(reinterpret_cast<const char*>(bytes), count);
    }
    void SentLine(std::string_view command, size_t lineBytes) override
    {
        Commands.push_back({std::string(command), lineBytes, Stream.size()});
    }
    std::string Stream;
    std::vector<Found> Commands;
};

TEST(SentLineFinder, FindsCommandLinesInPlaceWhateverTheChunks)
{
    const std::string log = "/$DIRU,GPclr,1\r\n"
                            "$GPGGA,1*00\r\n"
                            "$GPRMC,a/b\r\n"   // a '/' inside a sentence is no command
                            "/C18080C1CA\r\n"  // two commands in a row
                            "/$DIRU,GPclr,3\n" // LF only
                            "$GPZDA,2*00\r\n"
                            "/unfinished";
    // The received bytes alone, and each command with the number of them before its line.
    const std::string received = "$GPGGA,1*00\r\n"
                                 "$GPRMC,a/b\r\n"
                                 "$GPZDA,2*00\r\n";
    const struct
    {
        const char* Command;
        size_t LineBytes;
        size_t ReceivedBefore;
    } expected[] = {{"$DIRU,GPclr,1", 16, 0}, {"C18080C1CA", 13, 25}, {"$DIRU,GPclr,3", 15, 25}};
    for (size_t chunk = 1; chunk <= log.size(); ++chunk) {
        SCOPED_TRACE(chunk);
        TSentLineFinder finder;
        Transcript transcript;
        for (size_t at = 0; at < log.size(); at += chunk) {
            const size_t count = std::min(chunk, log.size() - at);
            finder.Scan(reinterpret_cast<const uint8_t*>(log.data() + at), count, transcript);
        }
        EXPECT_EQ(transcript.Stream, received);
        ASSERT_EQ(transcript.Commands.size(), std::size(expected));
        for (size_t i = 0; i < std::size(expected); ++i) {
            const Found& found = transcript.Commands[i];
            EXPECT_EQ(found.Command, expected[i].Command);
            EXPECT_EQ(found.LineBytes, expected[i].LineBytes);
            EXPECT_EQ(found.HandedOn, expected[i].ReceivedBefore);
        }
    }
}

} // namespace
} // namespace zz
