#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/CompilerWarnings.h"
#include "tests/core/NmeaEngineFixture.h"

namespace zz::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kLongBody(9596, 'x');

struct FramerCase
{
    const char* What;
    std::string Bytes;
    Lines Expected;
    int Drops = 0; // sentences dropped for length
};

const FramerCase kFramerCases[] = {
    {"CR LF ends a sentence", "$GPGGA,1*00\r\n", {"$GPGGA,1*00"}},
    {"LF alone does not", "$GPGGA,1\n", {}},
    {"LF alone keeps the sentence open", "$GPGGA,1\nA\r\n", {"$GPGGA,1\nA"}},
    {"LF alone leaves the sentence to be cut", "$GPGGA,1\n$GPRMC,2\r\n", {"$GPRMC,2"}},
    {"CR without LF stays in the text", "$GPGGA,1\r\r\n", {"$GPGGA,1\r"}},
    {"$GNGGA is framed", "$GNGGA,1\r\n", {"$GNGGA,1"}},
    {"$BDGSV is not framed", "$BDGSV,1\r\n", {}},
    {"$P starts a sentence", "$PXYZ,1\r\n", {"$PXYZ,1"}},
    {"$DIRU is framed", "$DIRU,GPtst,OK,1.05*5C\r\n", {"$DIRU,GPtst,OK,1.05*5C"}},
    {"a sentence of its start alone", "$G\r\n", {"$G"}},
    {"a GGA cut by an RMC is lost", "$GPGGA,123,45$GPRMC,1,2\r\n", {"$GPRMC,1,2"}},
    {"$D restarts a sentence too", "$GPGGA,1$DIRU,GPacc,0\r\n", {"$DIRU,GPacc,0"}},
    {"a $ before another letter does not restart", "$GPGGA,$X,$$,1\r\n", {"$GPGGA,$X,$$,1"}},
    {"junk between sentences",
     "xx$\r\n$GPGGA,1\r\nabc$B\r\n$$GPRMC,2\r\n\r\n",
     {"$GPGGA,1", "$GPRMC,2"}},
    {"two sentences back to back", "$GPGGA,1\r\n$GPRMC,2\r\n", {"$GPGGA,1", "$GPRMC,2"}},
    {"exactly 9600 bytes are accepted", "$G" + kLongBody + "\r\n", {"$G" + kLongBody}},
    {"a 9600th byte that is no LF drops the sentence",
     "$G" + kLongBody + "x\r\n$GPGGA,1\r\n",
     {"$GPGGA,1"},
     1},
    {"a $ as 9600th byte drops the sentence, and its G starts the next",
     "$G" + kLongBody + "x$GPRMC,1\r\n",
     {"$GPRMC,1"},
     1},
    {"a restart resets the length", "$G" + kLongBody + "$GPRMC,1\r\n", {"$GPRMC,1"}},
};

class NmeaFramer : public NmeaEngineFixture
{
public:
    // Discards whatever the previous run left: the reset request drops a partial sentence and
    // the LF leaves no '$' behind as the previous byte.
    void StartAfresh()
    {
        Flags.FramerReset = 1;
        Feed("\n");
        Hooks.LogLines.clear();
        Hooks.LinesPut.clear();
        Hooks.RawChunks.clear();
        Hooks.Sleeps.clear();
        Engine->ClearCycleSeen();
    }

    // A dropped sentence pauses a replay for the slow period. No case repeats a decoded
    // sentence or holds the cycle header, so no other pause is made.
    int Drops() const
    {
        return static_cast<int>(std::count(Hooks.Sleeps.begin(), Hooks.Sleeps.end(), 930));
    }
};

TEST_F(NmeaFramer, CutsTheStreamIntoSentencesHoweverItIsChunked)
{
    Flags.Replaying = 1;
    Kept.HeaderIndex = THeader::ZDA;
    for (const FramerCase& c : kFramerCases) {
        SCOPED_TRACE(c.What);
        StartAfresh();
        Feed(c.Bytes);
        EXPECT_EQ(Hooks.LogLines, c.Expected);
        EXPECT_EQ(Hooks.LinesPut, c.Expected);
        EXPECT_EQ(Hooks.RawChunks, Lines{c.Bytes});
        EXPECT_EQ(Drops(), c.Drops);

        for (size_t split = 1; split < c.Bytes.size(); ++split) {
            StartAfresh();
            Feed(std::string_view(c.Bytes).substr(0, split));
            Feed(std::string_view(c.Bytes).substr(split));
            if (Hooks.LogLines != c.Expected || Drops() != c.Drops) {
                ADD_FAILURE() << "split after byte " << split;
                break;
            }
        }

        StartAfresh();
        for (const char byte : c.Bytes) {
            Feed(std::string_view(&byte, 1));
        }
        EXPECT_EQ(Hooks.LogLines, c.Expected) << "byte by byte";
        EXPECT_EQ(Drops(), c.Drops) << "byte by byte";
    }
}

TEST_F(NmeaFramer, PutsEachSentenceIntoTheRingInOrder)
{
    Feed("$GPGGA,1\r\n$GNGSA,2\r\n$BDGSV,3\r\n$PXYZ,4\r\n");
    char buffer[kLineSlotSize];
    Lines taken;
    int32_t count = 0;
    while (Engine->Ring().TakeLine(buffer, count) != TTakeResult::Nothing) {
        taken.emplace_back(buffer, static_cast<size_t>(count));
    }
    EXPECT_EQ(taken, (Lines{"$GPGGA,1", "$GNGSA,2", "$PXYZ,4"}));
}

TEST_F(NmeaFramer, FramerResetDiscardsThePartialSentence)
{
    Feed("$GPGGA,123519.00,3540");
    Flags.FramerReset = 1;
    Feed(".1234,N\r\n$GPRMC,1\r\n");
    EXPECT_EQ(Hooks.LogLines, Lines{"$GPRMC,1"});
    EXPECT_EQ(Flags.FramerReset.load(), 0);
}

// Hooks that note what the engine had done when the text log and the ring notice were reached.
class OrderHooks : public RecordingHooks
{
public:
    void SetDisplayPending() override { Events.push_back("decoded"); }
    void WriteLogLine(const char* text, size_t count) override
    {
        Events.push_back(Engine->Ring().IsEmpty() ? "log before ring" : "log");
        RecordingHooks::WriteLogLine(text, count);
    }
    void LinePut(const char*, size_t) override { Events.push_back("put"); }
    void WriteRawChunk(const uint8_t*, size_t) override { Events.push_back("raw"); }

    TNmeaEngine* Engine = nullptr;
    Lines Events;
};

TEST(NmeaFramerOrder, DecodesThenRingsThenLogsThenNotifies)
{
    TControlFlags flags;
    TKeptValues kept;
    OrderHooks hooks;
    auto engine = std::make_unique<TNmeaEngine>(flags, kept, hooks);
    hooks.Engine = engine.get();
    const std::string bytes = "$GPROT,-12.5,A*2A\r\n";
    engine->ReceiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(hooks.Events, (Lines{"raw", "decoded", "log", "put"}));
}

// The request to clear the plots is served at the first of three points it reaches: the
// received-bytes handler restarts the sample counters, the dispatcher also clears the plots,
// and so does the cycle start when a decoder is reached directly.
TEST_F(NmeaFramer, PlotClearRequestIsServedWhereItIsFirstSeen)
{
    const std::string gga = "$GPGGA,123519.00,3540.1234,N,13945.5000,E,1,08,0.9,545.4,M,,,,*00";
    const std::string rmc = "$GPRMC,123519.00,A,3540.1234,N,13945.5000,E,5.5,54.7,101226,,,A*6A";
    struct Case
    {
        const char* What;
        void (*Handle)(NmeaFramer&, const std::string&);
        const std::string& Sentence;
        int PlotClears;
        int32_t SampleCount;
    };
    const Case cases[] = {
        {"received bytes", [](NmeaFramer& f, const std::string& s) { f.Feed(s + "\r\n"); }, rmc, 0,
         0},
        {"dispatch", [](NmeaFramer& f, const std::string& s) { f.Engine->DispatchSentence(s); },
         rmc, 1, 0},
        {"cycle start", [](NmeaFramer& f, const std::string& s) { f.Engine->DecodeGGA(s); }, gga, 1,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Engine = std::make_unique<TNmeaEngine>(Flags, Kept, Hooks);
        Engine->DecodeGGA(gga); // the counters run on from 1
        Engine->DecodeGGA(gga);
        Hooks.PlotClears = 0;
        Flags.PlotClearRequest = 1;
        c.Handle(*this, c.Sentence);
        EXPECT_EQ(Flags.PlotClearRequest.load(), 0);
        EXPECT_EQ(Hooks.PlotClears, c.PlotClears);
        ASSERT_TRUE(Take());
        EXPECT_EQ(Snapshot->AltitudeSampleCount, c.SampleCount);
        EXPECT_EQ(Snapshot->VelocitySampleCount, c.SampleCount);
    }
}

TEST_F(NmeaFramer, DuringReplayYieldsOnceEvery501IdleBytes)
{
    Flags.Replaying = 1;
    Feed(std::string(500, 'x'));
    EXPECT_TRUE(Hooks.Sleeps.empty());
    // The '$' of a sentence is still an idle byte; the rest of the sentence is not.
    Feed("$GPXYZ," + std::string(600, 'y') + "\r\n");
    EXPECT_EQ(Hooks.Sleeps, std::vector<int>{1});
    Feed(std::string(500, 'x'));
    EXPECT_EQ(Hooks.Sleeps, std::vector<int>{1});

    Flags.Replaying = 0;
    Hooks.Sleeps.clear();
    Feed(std::string(2000, 'x'));
    EXPECT_TRUE(Hooks.Sleeps.empty());
}

ZZ_GCC12_FALSE_RESTRICT_BEGIN
// The framing rules applied one byte at a time, the plain way, to check the engine's
// run-at-a-time framing against.
class ReferenceFramer
{
public:
    void Feed(const std::string& bytes)
    {
        for (const char c : bytes) {
            Previous = Current;
            Current = c;
            const bool start = Previous == '$' && (c == 'G' || c == 'P' || c == 'D');
            if (!InSentence) {
                if (start) {
                    Buffer = "$";
                    Buffer += c;
                    InSentence = true;
                    continue;
                }
                if (++IdleCount > 500) {
                    Sleeps.push_back(1);
                    IdleCount = 0;
                }
                continue;
            }
            if (start) {
                Buffer = "$";
            }
            Buffer += c;
            if (Previous == '\r' && c == '\n') {
                Sentences.push_back(Buffer.substr(0, Buffer.size() - 2));
                InSentence = false;
            } else if (Buffer.size() == 9600) {
                Sleeps.push_back(930);
                InSentence = false;
            }
        }
    }

    Lines Sentences;
    std::vector<int> Sleeps;

private:
    std::string Buffer;
    bool InSentence = false;
    char Current = 0;
    char Previous = 0;
    int IdleCount = 0;
};

// Random streams of the bytes that matter to the framer, in random chunks, with the long runs
// that reach the size limit. None of them forms a decoded address, so every sleep comes from
// the framer: the 1 ms idle yields and the pause of a dropped sentence.
TEST_F(NmeaFramer, AgreesWithTheByteAtATimeRulesOnRandomStreams)
{
    const std::string tokens[] = {"$",    "$", "G", "P",  "D",  "B",  "\r", "\n",
                                  "\r\n", ",", "x", "yz", "$G", "$P", "$D", std::string(3000, 'w')};
    std::mt19937 random(20261210);
    std::uniform_int_distribution<size_t> pick(0, std::size(tokens) - 1);
    std::uniform_int_distribution<size_t> chunkSize(1, 5000);
    Flags.Replaying = 1;
    for (int stream = 0; stream < 60; ++stream) {
        SCOPED_TRACE(stream);
        Engine = std::make_unique<TNmeaEngine>(Flags, Kept, Hooks);
        Hooks.LogLines.clear();
        Hooks.Sleeps.clear();
        ReferenceFramer reference;
        std::string bytes;
        while (bytes.size() < 40000) {
            bytes += tokens[pick(random)];
        }
        reference.Feed(bytes);
        for (size_t offset = 0; offset < bytes.size();) {
            const size_t size = std::min(chunkSize(random), bytes.size() - offset);
            Feed(std::string_view(bytes).substr(offset, size));
            offset += size;
        }
        ASSERT_EQ(Hooks.LogLines, reference.Sentences);
        ASSERT_EQ(Hooks.Sleeps, reference.Sleeps);
    }
}
ZZ_GCC12_FALSE_RESTRICT_END

} // namespace
} // namespace zz::test
