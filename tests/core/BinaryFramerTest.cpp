#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BinaryFrames.h"

namespace zz::test {
namespace {

const Bytes kDateTime = Frame(0xE1, {0x00, 0x18, 0x07, 0x1F, 0x17, 0x3B, 0x3A});
const Bytes kDop = Frame(0xE3, {0x00, 0x0C, 0x00, 0x10, 0, 0, 0, 0, 0, 0, 0, 0});
const Bytes kVersion = Frame(0xD3, {0x00, '0', '1', '0', '2', '0', '3', 0x00, 0x00});

struct FramerCase
{
    const char* what;
    Bytes stream;
    std::vector<Bytes> frames;
};

std::vector<FramerCase> FramerCases()
{
    return {
        {"one frame", kDateTime, {kDateTime}},
        {"frames back to back, ended by 0xEA and 0xDA",
         Concat({kDop, kVersion, kDateTime}),
         {kDop, kVersion, kDateTime}},
        {"noise before, between and after frames is ignored",
         Concat({{0x00, 0x41, 0x7F, 0xEA, 0x80, 0xDA, 0xFF},
                 kDop,
                 {0x13, 0x99, 0xEA},
                 kVersion,
                 {0x55}}),
         {kDop, kVersion}},
        {"an end byte after a 7-bit byte stays in the frame",
         {0xE1, 0x01, 0xEA, 0x02, 0x85, 0xEA},
         {{0xE1, 0x01, 0xEA, 0x02, 0x85, 0xEA}}},
        {"an end byte after two bytes with bit 7 set stays in the frame",
         {0xE1, 0x01, 0x85, 0x86, 0xEA, 0x03, 0x87, 0xDA},
         {{0xE1, 0x01, 0x85, 0x86, 0xEA, 0x03, 0x87, 0xDA}}},
        {"a byte other than 0xEA or 0xDA after the check byte does not end the frame",
         {0xE3, 0x01, 0x85, 0xEB, 0x02, 0x86, 0xEA},
         {{0xE3, 0x01, 0x85, 0xEB, 0x02, 0x86, 0xEA}}},
        {"0xE0 in noise starts a frame; an identifier inside it does not restart it",
         Concat({{0x12, 0xE0, 0x34, 0x56}, kDateTime}),
         {Concat({{0xE0, 0x34, 0x56}, kDateTime})}},
        {"a frame of 76 bytes is the longest taken",
         Frame(0xD0, Bytes(73, 0x01)),
         {Frame(0xD0, Bytes(73, 0x01))}},
        {"a frame of 77 bytes is dropped with its end byte",
         Concat({Frame(0xD0, Bytes(74, 0x01)), kDop}),
         {kDop}},
        // The check byte of this one, 0xD1, is no identifier: after the drop it is noise.
        {"the rest of an overlong frame is noise",
         Concat({Frame(0xD0, Bytes(79, 0x01)), kDop}),
         {kDop}},
        {"a frame cut off by the end of the stream is not put",
         Concat({kDop, {0xE1, 0x00, 0x18}}),
         {kDop}},
    };
}

// Runs the stream through a fresh engine in the given chunks and checks the lines it puts.
class BinaryFramer : public BinaryEngineTest
{
protected:
    void ExpectFrames(const std::vector<Bytes>& chunks, const std::vector<Bytes>& frames)
    {
        Hooks = RecordingHooks{};
        Recreate();
        for (const Bytes& chunk : chunks) {
            Feed(chunk);
        }
        std::vector<std::string> expected;
        for (const Bytes& frame : frames) {
            expected.push_back(Hex(frame));
        }
        EXPECT_EQ(Hooks.LinesPut, expected);
        EXPECT_EQ(Hooks.LogLines, expected);
        EXPECT_EQ(RingLines(), expected);

        std::string raw;
        for (const Bytes& chunk : chunks) {
            raw.append(chunk.begin(), chunk.end());
        }
        std::string rawSeen;
        for (const std::string& chunk : Hooks.RawChunks) {
            rawSeen += chunk;
        }
        EXPECT_EQ(Hooks.RawChunks.size(), chunks.size());
        EXPECT_EQ(rawSeen, raw);
    }

    std::vector<std::string> RingLines()
    {
        std::vector<std::string> lines;
        static char buffer[kLineSlotSize];
        int32_t count = 0;
        while (Engine->Ring().TakeLine(buffer, count) != TTakeResult::Nothing) {
            lines.emplace_back(buffer, static_cast<size_t>(count));
        }
        return lines;
    }
};

TEST_F(BinaryFramer, CutsFramesWhereverTheChunksEnd)
{
    for (const FramerCase& c : FramerCases()) {
        SCOPED_TRACE(c.what);
        ExpectFrames({c.stream}, c.frames);
        // Every split point, among them the one between a check byte and its end byte.
        for (size_t split = 1; split < c.stream.size(); ++split) {
            SCOPED_TRACE("split at " + std::to_string(split));
            const Bytes head(c.stream.begin(), c.stream.begin() + static_cast<long>(split));
            const Bytes tail(c.stream.begin() + static_cast<long>(split), c.stream.end());
            ExpectFrames({head, tail}, c.frames);
        }
        std::vector<Bytes> single;
        for (uint8_t byte : c.stream) {
            single.push_back({byte});
        }
        SCOPED_TRACE("one byte per chunk");
        ExpectFrames(single, c.frames);
    }
}

TEST_F(BinaryFramer, FramerResetAbandonsTheFrameInProgress)
{
    Feed({0xE1, 0x00, 0x18, 0x07});
    Flags.FramerReset = 1;
    // The rest of the abandoned frame is noise; the next identifier starts afresh.
    Feed(Concat({{0x1F, 0x17, 0x3B, 0x3A, 0xF7, 0xEA}, kDop}));
    EXPECT_EQ(Flags.FramerReset.load(), 0);
    EXPECT_EQ(Hooks.LinesPut, std::vector<std::string>{Hex(kDop)});
}

TEST_F(BinaryFramer, FrameIsDecodedBeforeItsLineIsPut)
{
    // The monitor may take a snapshot as soon as a line arrives; the state must be there.
    struct SnapshotOnLine : RecordingHooks
    {
        TBinaryEngine* Engine = nullptr;
        double HdopSeen = -1.0;
        void LinePut(const char* text, size_t count) override
        {
            RecordingHooks::LinePut(text, count);
            TReceiverState copy{};
            if (Engine->TakeSnapshot(copy)) {
                HdopSeen = copy.Hdop;
            }
        }
    } hooks;
    auto engine = std::make_unique<TBinaryEngine>(Flags, Kept, hooks);
    hooks.Engine = engine.get();
    engine->ReceiveBytes(kDop.data(), kDop.size());
    EXPECT_DOUBLE_EQ(hooks.HdopSeen, 1.2);
}

TEST_F(BinaryFramer, StoppingThreadPutsAnEmptyLineButStillDecodes)
{
    Hooks.Terminating = true;
    Feed(kDop);
    EXPECT_EQ(Hooks.LinesPut, std::vector<std::string>{""});
    EXPECT_EQ(Hooks.LogLines, std::vector<std::string>{""});
    EXPECT_DOUBLE_EQ(Snapshot().Hdop, 1.2);
}

} // namespace
} // namespace zz::test
