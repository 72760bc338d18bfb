#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/HexText.h"

namespace zz {
namespace {

TEST(FrameToHex, WritesTwoUpperCaseDigitsPerByteAndATerminator)
{
    struct Case
    {
        std::vector<uint8_t> frame;
        std::string_view text;
    };
    const Case cases[] = {
        {{0xE0, 0x03, 0x00, 0x0A, 0x7F, 0xEA}, "E003000A7FEA"},
        {{0x00, 0x0F, 0xF0, 0xFF, 0x9A, 0x5C}, "000FF0FF9A5C"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::array<char, 32> text;
        text.fill('#');
        const int count = FrameToHex(c.frame.data(), static_cast<int>(c.frame.size()), text.data());
        EXPECT_EQ(count, static_cast<int>(c.text.size()));
        EXPECT_EQ(std::string_view(text.data(), c.text.size()), c.text);
        EXPECT_EQ(text[c.text.size()], '\0');
        EXPECT_EQ(text[c.text.size() + 1], '#');
    }
}

TEST(FrameToHex, StopsAtItsLongestText)
{
    const std::vector<uint8_t> frame(kMaxFrameHexChars / 2 + 5, 0xAB);
    std::vector<char> text(kMaxFrameHexChars + 8, '#');
    EXPECT_EQ(FrameToHex(frame.data(), static_cast<int>(frame.size()), text.data()),
              kMaxFrameHexChars);
    EXPECT_EQ(text[kMaxFrameHexChars - 1], 'B');
    EXPECT_EQ(text[kMaxFrameHexChars], '\0');
    EXPECT_EQ(text[kMaxFrameHexChars + 1], '#');
}

TEST(ParseHexCommand, AcceptsWholeBytesOfHexDigitsInEitherCase)
{
    struct Case
    {
        std::string_view text;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"C18080C1CA", {0xC1, 0x80, 0x80, 0xC1, 0xCA}},
        {"c18080c1ca", {0xC1, 0x80, 0x80, 0xC1, 0xCA}},
        {"09afAF", {0x09, 0xAF, 0xAF}},
        {"00", {0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::array<uint8_t, 8> bytes{};
        ASSERT_TRUE(ParseHexCommand(c.text, bytes));
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.bytes.size()), c.bytes);
    }
}

TEST(ParseHexCommand, RefusesAnythingElseWithoutTouchingTheBytes)
{
    // Each neighbour of a digit range, odd lengths, the empty text.
    const std::string_view texts[] = {"",   "C",  "C18", "/0", ":0",   "@0",
                                      "G0", "`0", "g0",  "0x", "C1 8", "C1\2000"};
    for (std::string_view text : texts) {
        SCOPED_TRACE(std::string(text));
        std::array<uint8_t, 8> bytes;
        bytes.fill(0x5A);
        EXPECT_FALSE(ParseHexCommand(text, bytes));
        for (uint8_t byte : bytes) {
            EXPECT_EQ(byte, 0x5A);
        }
    }
}

TEST(ParseHexCommand, RefusesATextLongerThanTheRoomForItsBytes)
{
    std::array<uint8_t, 2> bytes{};
    EXPECT_TRUE(ParseHexCommand("C180", bytes));
    EXPECT_FALSE(ParseHexCommand("C18080", bytes));
}

TEST(CapitaliseCommand, LowersEveryCharacterThatIsNeitherDigitNorCapitalBy32)
{
    struct Case
    {
        std::string_view text;
        std::string_view kept;
    };
    const Case cases[] = {
        {"c18080c1ca", "C18080C1CA"},
        {"09AZaz", "09AZAZ"},
        // Not a letter: the same shift applies ('@' - 32 is a space, '{' - 32 is '[').
        {"@{", " ["},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::array<char, 16> out{};
        const size_t count = CapitaliseCommand(c.text, out);
        EXPECT_EQ(std::string_view(out.data(), count), c.kept);
    }
    std::array<char, 3> small{};
    EXPECT_EQ(CapitaliseCommand("abcdef", small), 3u);
    EXPECT_EQ(std::string_view(small.data(), 3), "ABC");
}

} // namespace
} // namespace zz
