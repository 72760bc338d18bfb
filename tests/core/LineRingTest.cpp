#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/TLineRing.h"

namespace zz {
namespace {

std::string Take(TLineRing& ring, TTakeResult& result)
{
    static char buffer[kLineSlotSize];
    int32_t count = -1;
    result = ring.TakeLine(buffer, count);
    return result == TTakeResult::Nothing ? std::string() : std::string(buffer, static_cast<size_t>(count));
}

void Put(TLineRing& ring, const std::string& line)
{
    ring.PutLine(line.data(), line.size());
}

TEST(LineRing, HandsOverLinesInOrderAndTellsWhenEmpty)
{
    auto ring = std::make_unique<TLineRing>();
    TTakeResult result{};
    EXPECT_EQ(Take(*ring, result), "");
    EXPECT_EQ(result, TTakeResult::Nothing);

    for (int i = 0; i < 199; ++i) {
        Put(*ring, "$GPGGA," + std::to_string(i));
    }
    for (int i = 0; i < 199; ++i) {
        EXPECT_EQ(Take(*ring, result), "$GPGGA," + std::to_string(i));
        EXPECT_EQ(result, i == 198 ? TTakeResult::TakenLast : TTakeResult::TakenMore);
    }
    EXPECT_TRUE(ring->IsEmpty());
}

TEST(LineRing, LappingTheReaderLosesTheUnreadLines)
{
    auto ring = std::make_unique<TLineRing>();
    for (int i = 0; i < kLineRingSlots; ++i) {
        Put(*ring, "line " + std::to_string(i));
    }
    TTakeResult result{};
    EXPECT_TRUE(ring->IsEmpty());
    EXPECT_EQ(Take(*ring, result), "");
    Put(*ring, "line 200");
    EXPECT_EQ(Take(*ring, result), "line 200");
    EXPECT_EQ(result, TTakeResult::TakenLast);
}

TEST(LineRing, KeepsAFullSlotAndCutsLongerLines)
{
    auto ring = std::make_unique<TLineRing>();
    const std::string full(kLineSlotSize, 'x');
    Put(*ring, full);
    Put(*ring, full + "yz");
    TTakeResult result{};
    EXPECT_EQ(Take(*ring, result), full);
    EXPECT_EQ(Take(*ring, result), full);
    Put(*ring, "");
    EXPECT_EQ(Take(*ring, result), "");
    EXPECT_EQ(result, TTakeResult::TakenLast);
}

} // namespace
} // namespace zz
