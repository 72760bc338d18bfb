#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zz {

// A short text held in place: up to kCapacity characters, no heap. Appending past the
// capacity drops the excess, which no text of the windows comes near.
class TShortText
{
public:
    static constexpr size_t kCapacity = 63;

    TShortText() = default;
    explicit TShortText(std::string_view text);

    void Append(char c);
    void Append(std::string_view text);
    void Clear() { Length = 0; }

    std::string_view View() const { return {Chars.data(), Length}; }
    size_t Size() const { return Length; }
    bool Empty() const { return Length == 0; }

private:
    std::array<char, kCapacity + 1> Chars{};
    size_t Length = 0;
};

// All conversions below are independent of the C locale: the point is always '.'.

// "%0Wd": the decimal integer, zero-padded after the sign to at least width characters.
void AppendZeroPadded(TShortText& out, int64_t value, int width);

// "%0W.Pf": value with decimals digits after the point (printf's correctly rounded digits),
// zero-padded after the sign to at least width characters. Infinities and NaN are padded
// with blanks instead, as printf does.
void AppendZeroPaddedFixed(TShortText& out, double value, int width, int decimals);

// Fixed notation of the windows: the value is reduced to precision significant digits and
// shown with digits decimals. Both limits are applied as one rounding, half away from zero,
// at whichever position comes first, on the value's 18-significant-digit decimal expansion.
// A result whose shown digits are all zero carries no sign. Infinities and NaN read "INF",
// "-INF" and "NAN".
void AppendFixed(TShortText& out, double value, int precision, int digits);
TShortText FixedText(double value, int precision, int digits);

// Shortest general decimal form: 15 significant digits (rounded as for AppendFixed), without
// trailing zeros or a trailing point; scientific ("1.5E-6", "1E20") when the decimal exponent
// is 15 or more or the magnitude is below 0.00001.
void AppendGeneral(TShortText& out, double value);
TShortText GeneralText(double value);

} // namespace zz
