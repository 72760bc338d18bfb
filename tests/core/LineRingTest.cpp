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
    return result == TTakeResult::Nothing ? std::string()
                                          : std::string(buffer, static_cast<size_t>(count));
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

TEST(LineRing, AFullRingDropsNewLinesInsteadOfOverwritingUnreadOnes)
{
    auto ring = std::make_unique<TLineRing>();
    for (int i = 0; i < kLineRingSlots + 1; ++i) {
        EXPECT_EQ(ring->PutLine("x", 1), i < kLineRingSlots - 1) << i;
    }
    TTakeResult result{};
    EXPECT_EQ(Take(*ring, result), "x");
    EXPECT_EQ(result, TTakeResult::TakenMore);
    // One slot freed: the next line fits and comes out after the 198 older ones.
    EXPECT_TRUE(ring->PutLine("new", 3));
    for (int i = 0; i < kLineRingSlots - 2; ++i) {
        EXPECT_EQ(Take(*ring, result), "x");
    }
    EXPECT_EQ(Take(*ring, result), "new");
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
