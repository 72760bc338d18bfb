#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "core/NumberFormat.h"

namespace zz {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// The C library's own rendering, as the reference for the printf-style pieces. The test
// process keeps the "C" locale, so its decimal point is '.'.
std::string Printf(const char* format, auto... values)
{
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string ZeroPadded(int64_t value, int width)
{
    TShortText text;
    AppendZeroPadded(text, value, width);
    return std::string(text.View());
}

std::string ZeroPaddedFixed(double value, int width, int decimals)
{
    TShortText text;
    AppendZeroPaddedFixed(text, value, width, decimals);
    return std::string(text.View());
}

TEST(NumberFormat, ZeroPaddedIntegersFollowPrintf)
{
    const std::vector<int64_t> values = {
        0,     1,  7,  9,   10,   59,    99,         100,           2009,        9999,
        12345, -1, -5, -42, -999, -1000, 2147483647, -2147483648LL, 4294967295LL};
    for (const int64_t value : values) {
        for (int width = 0; width <= 6; ++width) {
            SCOPED_TRACE(testing::Message() << value << " width " << width);
            EXPECT_EQ(ZeroPadded(value, width),
                      Printf("%0*lld", width, static_cast<long long>(value)));
        }
    }
    // The sign counts towards the width and the zeros go after it.
    EXPECT_EQ(ZeroPadded(-5, 3), "-05");
    EXPECT_EQ(ZeroPadded(7, 2), "07");
    EXPECT_EQ(ZeroPadded(123, 2), "123");
}

TEST(NumberFormat, ZeroPaddedFixedFollowsPrintf)
{
    // Ties and near-ties of the binary values, values that round up into a new digit, signs,
    // zeros, large values and the non-finite ones.
    const std::vector<double> values = {
        0.0,     -0.0,     0.5,          1.5,     2.5,       0.125,      0.375,  2.675,
        1.005,   9.995,    59.995,       59.9951, 60.0,      7.404,      12.348, 12.3475,
        -3.25,   -0.004,   -0.0049,      1234.0,  1234.5,    9999.5,     1e10,   1e20,
        1.0 / 3, 123456.0, 9999999999.4, -1234.0, kInfinity, -kInfinity, kNan};
    const int widths[] = {0, 5, 6, 10};
    const int decimalCounts[] = {0, 2, 3};
    for (const double value : values) {
        for (const int width : widths) {
            for (const int decimals : decimalCounts) {
                SCOPED_TRACE(testing::Message()
                             << value << " width " << width << " decimals " << decimals);
                EXPECT_EQ(ZeroPaddedFixed(value, width, decimals),
                          Printf("%0*.*f", width, decimals, value));
            }
        }
    }
    EXPECT_EQ(ZeroPaddedFixed(9.5, 5, 2), "09.50");
    EXPECT_EQ(ZeroPaddedFixed(-1234.0, 6, 0), "-01234");
    EXPECT_EQ(ZeroPaddedFixed(1234.0, 10, 0), "0000001234");
}

TEST(NumberFormat, FixedTextRoundsOnceHalfAwayFromZero)
{
    struct Case
    {
        double Value;
        int Precision;
        int Digits;
        const char* Expected;
    };
    const Case cases[] = {
        {1.125, 6, 2, "1.13"}, // an exact tie goes away from zero
        {-1.125, 6, 2, "-1.13"},
        {2.675, 6, 2, "2.67"}, // the binary value lies below the tie
        {1.005, 6, 2, "1.00"},
        {0.1245, 6, 3, "0.125"}, // below the tie, but its 18 digits read ...4500000
        {2.5, 6, 0, "3"},
        {-999.9, 7, 1, "-999.9"},
        {40000.0, 7, 1, "40000.0"},
        {45.99, 4, 1, "46.0"},    // the significant digits limit first
        {999.96, 4, 1, "1000.0"}, // the carry opens a new place
        {9.96, 2, 1, "10.0"},
        {123456.789, 4, 1, "123500.0"},
        {12345678.9, 7, 1, "12345680.0"},
        {359.95, 4, 1, "359.9"},
        {1851.95, 5, 1, "1852.0"},
        {99.99, 6, 2, "99.99"},
        {99.995, 6, 2, "100.00"},
        {0.1 + 0.2, 6, 2, "0.30"},
        {0.000123, 2, 5, "0.00012"}, // precision limits small values too
        {0.000125, 2, 5, "0.00013"},
        {0.05, 6, 1, "0.1"}, // the first digit lies just below the last decimal
        {0.04, 6, 1, "0.0"},
        {0.004, 6, 1, "0.0"}, // further below: nothing left
        {-0.04, 7, 1, "0.0"}, // a zero result carries no sign
        {-0.0, 5, 1, "0.0"},
        {0.0, 6, 2, "0.00"},
        {1e-300, 6, 2, "0.00"},
        {kInfinity, 6, 2, "INF"},
        {-kInfinity, 6, 2, "-INF"},
        {kNan, 6, 2, "NAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.Value << " precision " << c.Precision << " digits " << c.Digits);
        EXPECT_EQ(FixedText(c.Value, c.Precision, c.Digits).View(), c.Expected);
    }
}

TEST(NumberFormat, GeneralTextIsTheShortestFormOfFifteenDigits)
{
    struct Case
    {
        double Value;
        const char* Expected;
    };
    const Case cases[] = {
        {3527 * 0.01, "35.27"},
        {3500 * 0.01, "35"},
        {12.5, "12.5"},
        {3.0, "3"},
        {-9999.9, "-9999.9"},
        {-0.5, "-0.5"},
        {100.0, "100"},
        {0.0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.6284056584830785, "0.628405658483079"}, // below the tie, but its 18 digits reach it
        {1e14, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},              // exponent 15 turns scientific
        {999999999999999.9, "1E15"}, // ... also when rounding reaches it
        {1234567890123465.0, "1.23456789012347E15"},
        {-1234567890123465.0, "-1.23456789012347E15"},
        {1e20, "1E20"},
        {0.00001, "0.00001"}, // the smallest plain magnitude
        {0.000012345, "0.000012345"},
        {0.0000099, "9.9E-6"},
        {1.5e-6, "1.5E-6"},
        {-1.5e-7, "-1.5E-7"},
        {kInfinity, "INF"},
        {-kInfinity, "-INF"},
        {kNan, "NAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Value);
        EXPECT_EQ(GeneralText(c.Value).View(), c.Expected);
    }
}

TEST(NumberFormat, ShortTextAppendsUpToItsCapacity)
{
    TShortText text("abc");
    text.Append('-');
    text.Append(std::string(TShortText::kCapacity, 'x'));
    EXPECT_EQ(text.Size(), TShortText::kCapacity);
    EXPECT_EQ(text.View(), "abc-" + std::string(TShortText::kCapacity - 4, 'x'));
    text.Append('y');
    EXPECT_EQ(text.Size(), TShortText::kCapacity);

    text.Clear();
    EXPECT_TRUE(text.Empty());
    text.Append("ok");
    EXPECT_EQ(text.View(), "ok");
}

} // namespace
} // namespace zz
