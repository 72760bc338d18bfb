#include "sim/SimUnits.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zz {

int64_t MinuteTenThousandths(double degrees)
{
    return std::llround(degrees * 600'000.0);
}

void AppendInteger(std::string& out, int64_t value, int width)
{
    std::array<char, 24> digits{};
    const uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const int length = static_cast<int>(result.ptr - digits.data());
    if (value < 0) {
        out.push_back('-');
    }
    for (int pad = length; pad < width; ++pad) {
        out.push_back('0');
    }
    out.append(digits.data(), result.ptr);
}

void AppendFixedPoint(std::string& out, double value, int decimals)
{
    std::array<char, 64> text{};
    // Rounding can turn a tiny negative value into "-0.0"; a receiver writes "0.0".
    const double scale = std::pow(10.0, decimals);
    if (std::fabs(value) * scale < 0.5) {
        value = 0.0;
    }
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    out.append(text.data(), result.ptr);
}

} // namespace zz
