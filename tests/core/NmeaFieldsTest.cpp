#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/NmeaFields.h"

namespace zz {
namespace {

constexpr std::string_view kGga =
    "$GPGGA,123519.00,3540.1234,N,13945.5000,E,1,08,0.9,545.4,M,46.9,M,,*62";

TEST(NmeaFields, FieldAtFindsTheTextAfterTheNthComma)
{
    struct Case
    {
        std::string_view Text;
        int Field;
        std::string_view Expected; // text from the returned offset on
    };
    const Case cases[] = {
        {kGga, 0, kGga},
        {kGga, 1, "123519.00,3540.1234,N,13945.5000,E,1,08,0.9,545.4,M,46.9,M,,*62"},
        {kGga, 9, "545.4,M,46.9,M,,*62"},
        {kGga, 13, ",*62"},
        {kGga, 14, "*62"},
        {kGga, 15, ""}, // fewer commas than asked for: the end of the text
        {"$GPROT,", 1, ""},
        {"$GPROT", 1, ""},
        {",,", 2, ""},
        {"", 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " field " + std::to_string(c.Field));
        const size_t offset = FieldAt(c.Text, c.Field);
        ASSERT_LE(offset, c.Text.size());
        EXPECT_EQ(c.Text.substr(offset), c.Expected);
        const auto offsets = FieldOffsets<16>(c.Text);
        if (c.Field < 16) {
            EXPECT_EQ(offsets[static_cast<size_t>(c.Field)], offset);
        }
    }
}

TEST(NmeaFields, FieldEmptinessLetterAndBoundedText)
{
    struct Case
    {
        std::string_view Text;
        int Field;
        bool Empty;
        char Letter;
        size_t MaxLength;
        bool StopAtStar;
        std::string_view Bounded;
    };
    const Case cases[] = {
        {"$GPGGA,,N", 1, true, ',', 9, false, ""},
        {"$GPGGA,,N", 2, false, 'N', 9, false, "N"},
        {"$GPGGA,,N", 3, true, '\0', 9, false, ""},
        {"$GPGGA,3540.12345,N", 1, false, '3', 9, false, "3540.1234"},
        {"$GPGGA,3540.1,N", 1, false, '3', 9, false, "3540.1"},
        {"$GPGSA,1.5*3F", 1, false, '1', 5, true, "1.5"},
        {"$GPGSA,1.5*3F", 1, false, '1', 5, false, "1.5*3"},
        {"$GPGSA,*3F", 1, false, '*', 5, true, ""},
        {"$GPROT,", 1, true, '\0', 7, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " field " + std::to_string(c.Field));
        const size_t offset = FieldAt(c.Text, c.Field);
        EXPECT_EQ(FieldIsEmpty(c.Text, offset), c.Empty);
        EXPECT_EQ(FieldLetter(c.Text, offset), c.Letter);
        EXPECT_EQ(BoundedField(c.Text, offset, c.MaxLength, c.StopAtStar), c.Bounded);
    }
}

// The C library's own conversions are the reference: the decoders must read numbers exactly as
// they would.
TEST(NmeaFields, ParseIntReadsLikeTheCDecimalConversion)
{
    const char* const texts[] = {
        "",
        "0",
        "08",
        "  -17xyz",
        "+8",
        "--3",
        "+-3",
        "-",
        " +",
        "\n\t\v\f\r 12",
        "12,5",
        "12*3F",
        "2147483647",
        "2147483648",
        "-2147483649",
        "99999999999",
        "-99999999999",
        "9223372036854775807",
        "9223372036854775808",
        "-9223372036854775808",
        "-9223372036854775809",
        "123456789012345678901234567890",
        "-123456789012345678901234567890",
        "abc",
        "0x1F",
        "1e5",
        "4807.038",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(std::string("\"") + text + "\"");
        EXPECT_EQ(ParseInt(text), static_cast<int32_t>(std::strtol(text, nullptr, 10)));
    }
}

bool SameReal(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    }
    return a == b && std::signbit(a) == std::signbit(b);
}

TEST(NmeaFields, ParseRealReadsLikeTheCDecimalConversion)
{
    const char* const texts[] = {
        "",
        "4807.038",
        "01131.000",
        "-12.5",
        "+3.25",
        "  \t545.4",
        ".5",
        "5.",
        ".",
        "-",
        "+",
        "--1",
        "+-1",
        "-+1",
        "abc",
        "1.5*3F",
        "2.1,1",
        "1e5",
        "1E-3",
        "1e",
        "1e+",
        "2.5e-2x",
        "0",
        "-0",
        "-0.0",
        "0x1p3",
        "0X1P-2",
        "0x1.8",
        "-0x10",
        "0x.8p1",
        "0x",
        "0xg",
        "0x.",
        "0x.p1",
        "0x-1",
        "0x1p",
        "inf",
        "-INF",
        "infinity",
        "infinit",
        "nan",
        "-nan",
        "NaN(12ab)",
        "1e400",
        "-1e400",
        "1e-400",
        "-1e-400",
        "4e-320",
        "2.5e-324",
        "1.8e308",
        "1.7976931348623157e308",
        "0.0000000000000000000000000000000000000000001e-300",
        "100000000000000000000000000000000000000000000e300",
        "1e99999999999999999999999999",
        "1e-99999999999999999999999999",
        "0x1p99999",
        "0x1p-99999",
        "0x1p-1074",
        "123456789012345678901234567890",
        "3540.12345678901234567890",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(std::string("\"") + text + "\"");
        const double expected = std::strtod(text, nullptr);
        const double actual = ParseReal(text);
        EXPECT_TRUE(SameReal(actual, expected)) << actual << " vs " << expected;
    }
}

// A field inside a longer text: reading must stop at the end of the view, as the C
// conversions stop at the terminating zero.
TEST(NmeaFields, NumbersNeverReadPastTheView)
{
    struct Case
    {
        std::string_view Text;
        size_t Length;
    };
    const Case cases[] = {
        {"12345", 2}, {"1.5e3", 4}, {"1.5e3", 3}, {"0x1p4", 4}, {"0x1p4", 2},
        {"-7", 1},    {"  9", 2},   {"inf", 2},   {"1e400", 4}, {"45.25", 0},
    };
    for (const Case& c : cases) {
        const std::string_view view = c.Text.substr(0, c.Length);
        SCOPED_TRACE(std::string(view));
        const std::string terminated(view);
        EXPECT_TRUE(SameReal(ParseReal(view), std::strtod(terminated.c_str(), nullptr)));
        EXPECT_EQ(ParseInt(view),
                  static_cast<int32_t>(std::strtol(terminated.c_str(), nullptr, 10)));
    }
}

// Reading fields one after the other gives what reading each field on its own gives.
TEST(NmeaFields, ReadIntFieldWalksTheFieldsInOrder)
{
    const std::string_view texts[] = {
        "$GPGSV,3,1,12,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7F",
        "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
        "$X,123456789,1234567890,-5,+6, 7,8 ,x9,99999999999,,",
        "$X,",
        "$X",
        "",
    };
    for (const std::string_view text : texts) {
        SCOPED_TRACE(std::string(text));
        size_t offset = 0;
        for (int field = 0; field < 22; ++field) {
            SCOPED_TRACE(field);
            ASSERT_EQ(offset, FieldAt(text, field));
            EXPECT_EQ(ReadIntField(text, offset), ParseInt(text.substr(FieldAt(text, field))));
        }
    }
}

TEST(NmeaFields, ChecksumMatchesTheDigitsOfWellFormedSentences)
{
    // Sentences as receivers send them, checksum digits included.
    const std::string_view sentences[] = {
        kGga,
        "$GPRMC,123519.00,A,3540.1234,N,13945.5000,E,5.5,54.7,101226,,,A*6A",
        "$GPGSV,3,1,12,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7F",
        "$DIRU,GPclr,1*51",
        "$GPROT,-12.5,A*2A",
    };
    for (const std::string_view sentence : sentences) {
        SCOPED_TRACE(std::string(sentence));
        const size_t star = sentence.find('*');
        const uint8_t checksum = NmeaChecksum(sentence.data() + 1, star - 1);
        const auto digits = UpperHexDigits(checksum);
        EXPECT_EQ(std::string(digits.begin(), digits.end()), sentence.substr(star + 1));
        EXPECT_EQ(HexDigitValue(digits[0]) * 16 + HexDigitValue(digits[1]), checksum);
    }
    EXPECT_EQ(NmeaChecksum("", 0), 0);
}

TEST(NmeaFields, HexDigitValueKnowsOnlyDigitsAndCapitals)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    for (int code = CHAR_MIN; code <= CHAR_MAX; ++code) {
        const char c = static_cast<char>(code);
        SCOPED_TRACE(code);
        const size_t position = c == '\0' ? std::string_view::npos : kDigits.find(c);
        EXPECT_EQ(HexDigitValue(c),
                  position == std::string_view::npos ? 128 : static_cast<int32_t>(position));
    }
    EXPECT_EQ(HexDigitValue('a'), 128);
    EXPECT_EQ(HexDigitValue('X'), 128);
}

} // namespace
} // namespace zz
