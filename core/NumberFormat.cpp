#include "core/NumberFormat.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>

namespace zz {
namespace {

// Significant digits of a double's decimal expansion that the window formats round on.
constexpr int kExpansionDigits = 18;
// Significant digits of the general form.
constexpr int kGeneralDigits = 15;
// Decimal exponents at which the general form turns scientific.
constexpr int kGeneralLargestExponent = 14;
constexpr int kGeneralSmallestExponent = -5;
// The largest double has 309 integer digits; the fixed pieces never ask for many decimals.
constexpr int kMostDecimals = 40;
constexpr size_t kFixedBufferSize = 320 + kMostDecimals;

// A finite value as its sign and significant digits, Digits[0] standing at the place
// 10^Exponent. Count == 0 means the value is zero.
struct TDecimalDigits
{
    bool Negative = false;
    std::array<uint8_t, kExpansionDigits> Digits{};
    int Count = 0;
    int Exponent = 0;

    // The digit that stands at the place 10^place.
    int DigitAt(int place) const
    {
        const int index = Exponent - place;
        return index >= 0 && index < Count ? Digits[static_cast<size_t>(index)] : 0;
    }
};

void StripTrailingZeros(TDecimalDigits& number)
{
    while (number.Count > 0 && number.Digits[static_cast<size_t>(number.Count - 1)] == 0) {
        --number.Count;
    }
}

// The 18 significant digits that to_chars gives in scientific form with 17 decimals.
TDecimalDigits Expand(double value)
{
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::scientific, kExpansionDigits - 1);
    TDecimalDigits number;
    const char* position = text.data();
    if (*position == '-') {
        number.Negative = true;
        ++position;
    }
    while (position < result.ptr && *position != 'e') {
        if (*position != '.') {
            number.Digits[static_cast<size_t>(number.Count)] =
                static_cast<uint8_t>(*position - '0');
            ++number.Count;
        }
        ++position;
    }
    ++position; // 'e'
    if (position < result.ptr && *position == '+') {
        ++position;
    }
    std::from_chars(position, result.ptr, number.Exponent);
    StripTrailingZeros(number);
    return number;
}

// Keeps the first keep significant digits, rounding half away from zero on the next one.
// keep may be zero or negative: the rounding position then lies above the first digit.
void RoundToDigits(TDecimalDigits& number, int keep)
{
    if (keep >= number.Count) {
        return;
    }
    if (keep < 0) {
        number.Count = 0;
        return;
    }
    const bool roundUp = number.Digits[static_cast<size_t>(keep)] >= 5;
    number.Count = keep;
    if (roundUp) {
        int index = keep - 1;
        while (index >= 0 && number.Digits[static_cast<size_t>(index)] == 9) {
            number.Digits[static_cast<size_t>(index)] = 0;
            --index;
        }
        if (index >= 0) {
            ++number.Digits[static_cast<size_t>(index)];
        } else {
            // All kept digits were nines (or none was kept): the carry opens a new place.
            number.Digits[0] = 1;
            number.Count = 1;
            ++number.Exponent;
        }
    }
    StripTrailingZeros(number);
}

char DigitChar(int digit)
{
    return static_cast<char>('0' + digit);
}

// "INF", "-INF" or "NAN"; false for a finite value.
bool AppendNonFinite(TShortText& out, double value)
{
    if (std::isnan(value)) {
        out.Append("NAN");
        return true;
    }
    if (std::isinf(value)) {
        out.Append(value < 0 ? "-INF" : "INF");
        return true;
    }
    return false;
}

// Appends text, inserting zeros after its sign (or blanks before it) up to width characters.
void AppendPadded(TShortText& out, std::string_view text, int width, bool padWithZeros)
{
    const int missing = width - static_cast<int>(text.size());
    if (missing <= 0) {
        out.Append(text);
        return;
    }
    if (!padWithZeros) {
        for (int i = 0; i < missing; ++i) {
            out.Append(' ');
        }
        out.Append(text);
        return;
    }
    if (!text.empty() && text.front() == '-') {
        out.Append('-');
        text.remove_prefix(1);
    }
    for (int i = 0; i < missing; ++i) {
        out.Append('0');
    }
    out.Append(text);
}

} // namespace

TShortText::TShortText(std::string_view text)
{
    Append(text);
}

void TShortText::Append(char c)
{
    if (Length < kCapacity) {
        Chars[Length] = c;
        ++Length;
    }
}

void TShortText::Append(std::string_view text)
{
    const size_t count = std::min(text.size(), kCapacity - Length);
    std::copy_n(text.data(), count, Chars.data() + Length);
    Length += count;
}

void AppendZeroPadded(TShortText& out, int64_t value, int width)
{
    std::array<char, 24> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    AppendPadded(out, std::string_view(text.data(), static_cast<size_t>(result.ptr - text.data())),
                 width, true);
}

void AppendZeroPaddedFixed(TShortText& out, double value, int width, int decimals)
{
    assert(decimals >= 0 && decimals <= kMostDecimals);
    std::array<char, kFixedBufferSize> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    AppendPadded(out, std::string_view(text.data(), static_cast<size_t>(result.ptr - text.data())),
                 width, std::isfinite(value));
}

void AppendFixed(TShortText& out, double value, int precision, int digits)
{
    if (AppendNonFinite(out, value)) {
        return;
    }
    TDecimalDigits number = Expand(value);
    // The place 10^-digits is the last one shown; its index is Exponent + digits.
    RoundToDigits(number, std::min(precision, number.Exponent + digits + 1));
    if (number.Count > 0 && number.Negative) {
        out.Append('-');
    }
    const int highestPlace = number.Count > 0 ? std::max(number.Exponent, 0) : 0;
    for (int place = highestPlace; place >= 0; --place) {
        out.Append(DigitChar(number.DigitAt(place)));
    }
    if (digits > 0) {
        out.Append('.');
        for (int place = -1; place >= -digits; --place) {
            out.Append(DigitChar(number.DigitAt(place)));
        }
    }
}

TShortText FixedText(double value, int precision, int digits)
{
    TShortText text;
    AppendFixed(text, value, precision, digits);
    return text;
}

void AppendGeneral(TShortText& out, double value)
{
    if (AppendNonFinite(out, value)) {
        return;
    }
    TDecimalDigits number = Expand(value);
    RoundToDigits(number, kGeneralDigits);
    if (number.Count == 0) {
        out.Append('0');
        return;
    }
    if (number.Negative) {
        out.Append('-');
    }
    const int lowestPlace = number.Exponent - number.Count + 1;
    if (number.Exponent > kGeneralLargestExponent || number.Exponent < kGeneralSmallestExponent) {
        out.Append(DigitChar(number.Digits[0]));
        if (number.Count > 1) {
            out.Append('.');
            for (int index = 1; index < number.Count; ++index) {
                out.Append(DigitChar(number.Digits[static_cast<size_t>(index)]));
            }
        }
        out.Append('E');
        AppendZeroPadded(out, number.Exponent, 0);
        return;
    }
    for (int place = std::max(number.Exponent, 0); place >= 0; --place) {
        out.Append(DigitChar(number.DigitAt(place)));
    }
    if (lowestPlace < 0) {
        out.Append('.');
        for (int place = -1; place >= lowestPlace; --place) {
            out.Append(DigitChar(number.DigitAt(place)));
        }
    }
}

TShortText GeneralText(double value)
{
    TShortText text;
    AppendGeneral(text, value);
    return text;
}

} // namespace zz
