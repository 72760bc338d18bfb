#include <gtest/gtest.h>

#include <vector>

#include "BinaryFrames.h"

namespace zz::test {
namespace {

const Bytes kPosition = Frame(0xE0, Bytes(20, 0x00));
const Bytes kDateTime = Frame(0xE1, Bytes(7, 0x00));
const Bytes kSatellite = Frame(0xE2, Bytes(73, 0x00));
const Bytes kDop = Frame(0xE3, Bytes(12, 0x00));
const Bytes kShortDop = Frame(0xE3, Bytes(5, 0x00));
const Bytes kVersion = Frame(0xD3, Bytes(9, 0x00));
const Bytes kUndecoded = Frame(0xD0, Bytes(9, 0x00));
const Bytes kOverlong = Frame(0xD0, Bytes(74, 0x01));

constexpr int kMidPause = 185;

using BinaryPacing = BinaryEngineTest;

TEST_F(BinaryPacing, RepeatedFrameTypeOrPositionFramePausesAReplay)
{
    struct Case
    {
        const char* what;
        Bytes stream;
        std::vector<int> sleeps;
    };
    const Case cases[] = {
        {"version twice", Concat({kVersion, kVersion}), {kMidPause}},
        {"date-time twice", Concat({kDateTime, kDateTime}), {kMidPause}},
        {"satellites twice", Concat({kSatellite, kSatellite}), {kMidPause}},
        {"DOP twice", Concat({kDop, kDop}), {kMidPause}},
        {"a DOP frame of the wrong length still marks its type",
         Concat({kShortDop, kDop}),
         {kMidPause}},
        {"each position frame starts a cycle",
         Concat({kPosition, kPosition}),
         {kMidPause, kMidPause}},
        {"a cycle start clears the marks", Concat({kDop, kPosition, kDop}), {kMidPause}},
        {"a pause clears the marks", Concat({kDop, kDateTime, kDop, kDateTime}), {kMidPause}},
        {"different types in one cycle", Concat({kVersion, kDateTime, kSatellite, kDop}), {}},
        {"undecoded frames are not paced", Concat({kUndecoded, kUndecoded}), {}},
        {"an overlong frame pauses and clears the marks",
         Concat({kDop, kOverlong, kDop}),
         {kMidPause}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Flags.ReplaySpeed = 1;
        Flags.Replaying = 1;
        Hooks.Sleeps.clear();
        Recreate();
        Feed(c.stream);
        EXPECT_EQ(Hooks.Sleeps, c.sleeps);

        // The same stream from a receiver never sleeps.
        Flags.Replaying = 0;
        Hooks.Sleeps.clear();
        Recreate();
        Feed(c.stream);
        EXPECT_TRUE(Hooks.Sleeps.empty());
    }
}

TEST_F(BinaryPacing, ReplayYieldsAfterEvery500BytesOutsideFrames)
{
    Flags.Replaying = 1;
    // Bytes inside a frame, its identifier among them, are not idle.
    Feed(Concat({Bytes(400, 0x00), kSatellite, Bytes(100, 0x7F)}));
    EXPECT_TRUE(Hooks.Sleeps.empty());
    Feed({0x00});
    EXPECT_EQ(Hooks.Sleeps, std::vector<int>{1});
    Feed(Bytes(500, 0x00));
    EXPECT_EQ(Hooks.Sleeps, std::vector<int>{1});
    Feed({0x00});
    EXPECT_EQ(Hooks.Sleeps, (std::vector<int>{1, 1}));

    Flags.Replaying = 0;
    Feed(Bytes(2000, 0x00));
    EXPECT_EQ(Hooks.Sleeps.size(), 2u);
}

} // namespace
} // namespace zz::test
