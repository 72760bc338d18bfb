#include "core/NmeaFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace zz {
namespace {

constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// White space as the C locale's isspace sees it; the application's locale must not matter.
bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}

// Rough power of the leading significant digit of a number that from_chars found out of range
// (decimal exponent, or binary one for the hexadecimal form): positive means it overflowed,
// negative that it underflowed. Such numbers sit hundreds of powers away from zero.
int64_t OutOfRangeExponent(const char* first, const char* last, bool hexadecimal)
{
    const auto isDigit = hexadecimal ? IsHexDigit : IsDigit;
    const char exponentLetter = hexadecimal ? 'p' : 'e';
    const int64_t digitWeight = hexadecimal ? 4 : 1;
    constexpr int64_t kSaturation = int64_t{1} << 40;

    const char* p = first;
    while (p != last && *p == '0') {
        ++p;
    }
    int64_t integerDigits = 0;
    for (; p != last && isDigit(*p); ++p) {
        ++integerDigits;
    }
    int64_t fractionZeros = 0;
    if (p != last && *p == '.') {
        for (++p; p != last && *p == '0'; ++p) {
            ++fractionZeros;
        }
        while (p != last && isDigit(*p)) {
            ++p;
        }
    }
    int64_t exponent = 0;
    if (p != last && (*p | 0x20) == exponentLetter) {
        ++p;
        const bool negative = p != last && *p == '-';
        if (p != last && (*p == '-' || *p == '+')) {
            ++p;
        }
        for (; p != last && IsDigit(*p); ++p) {
            exponent = std::min(exponent * 10 + (*p - '0'), kSaturation);
        }
        exponent = negative ? -exponent : exponent;
    }
    return exponent + digitWeight * (integerDigits > 0 ? integerDigits : -fractionZeros);
}

// from_chars on an unsigned number; out-of-range results become what strtod gives for them.
double UnsignedReal(const char* first, const char* last, bool hexadecimal)
{
    double value = 0.0;
    const auto format = hexadecimal ? std::chars_format::hex : std::chars_format::general;
    const auto [end, error] = std::from_chars(first, last, value, format);
    if (error == std::errc::invalid_argument) {
        return 0.0;
    }
    if (error == std::errc::result_out_of_range) {
        return OutOfRangeExponent(first, end, hexadecimal) > 0 ? HUGE_VAL : 0.0;
    }
    return value;
}

// The common field ("4807.038", "-12.5"): an optional minus, at most 15 digits with at most one
// point, and no exponent or hexadecimal prefix after them. Its digits fit a double exactly and
// so does the power of ten, so one division gives the correctly rounded value, as strtod would.
bool SimpleDecimal(std::string_view text, double& value)
{
    constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int kMaxDigits = 15;
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) {
        ++p;
    }
    if (p == end || !IsDigit(*p)) {
        return false;
    }
    uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; p != end; ++p) {
        if (IsDigit(*p)) {
            if (++digits > kMaxDigits) {
                return false;
            }
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
            fractionDigits += point ? 1 : 0;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (p != end && ((*p | 0x20) == 'e' || (*p | 0x20) == 'x')) {
        return false;
    }
    const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
}

// ParseInt on [p, end); stop receives where the number ended.
int32_t ParseIntPrefix(const char* p, const char* const end, const char*& stop)
{
    while (p != end && IsCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    // Eighteen digits always fit; only a longer number needs the saturating steps.
    constexpr std::ptrdiff_t kSafeDigits = 18;
    const char* const safeEnd = end - p > kSafeDigits ? p + kSafeDigits : end;
    uint64_t magnitude = 0;
    for (; p != safeEnd && IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    }
    // The magnitude saturates just past the largest long so the clamp below can tell.
    constexpr uint64_t kCap = uint64_t{1} << 63;
    for (; p != end && IsDigit(*p); ++p) {
        const auto digit = static_cast<uint64_t>(*p - '0');
        magnitude = magnitude > (kCap - digit) / 10 ? kCap : magnitude * 10 + digit;
    }
    int64_t value = 0;
    if (negative) {
        value = magnitude >= kCap ? std::numeric_limits<int64_t>::min()
                                  : -static_cast<int64_t>(magnitude);
    } else {
        value = magnitude >= kCap ? std::numeric_limits<int64_t>::max()
                                  : static_cast<int64_t>(magnitude);
    }
    stop = p;
    return static_cast<int32_t>(value);
}

} // namespace

size_t FieldAt(std::string_view text, int n)
{
    size_t offset = 0;
    for (int field = 0; field < n && offset < text.size(); ++field) {
        offset = NextField(text, offset);
    }
    return n > 0 ? offset : 0;
}

size_t NextField(std::string_view text, size_t offset)
{
    // Fields are short: a plain loop beats a library search here.
    for (; offset < text.size(); ++offset) {
        if (text[offset] == ',') {
            return offset + 1;
        }
    }
    return text.size();
}

bool FieldIsEmpty(std::string_view text, size_t offset)
{
    return offset >= text.size() || text[offset] == ',';
}

char FieldLetter(std::string_view text, size_t offset)
{
    return offset < text.size() ? text[offset] : '\0';
}

std::string_view BoundedField(std::string_view text, size_t offset, size_t maxLength,
                              bool stopAtStar)
{
    if (offset >= text.size()) {
        return {};
    }
    const size_t limit = std::min(maxLength, text.size() - offset);
    size_t length = 0;
    while (length < limit && text[offset + length] != ',' &&
           !(stopAtStar && text[offset + length] == '*')) {
        ++length;
    }
    return text.substr(offset, length);
}

int32_t ParseInt(std::string_view text)
{
    const char* stop = nullptr;
    return ParseIntPrefix(text.data(), text.data() + text.size(), stop);
}

int32_t ReadIntField(std::string_view text, size_t& offset)
{
    if (offset >= text.size()) {
        offset = text.size();
        return 0;
    }
    const char* const end = text.data() + text.size();
    // The common field: at most nine digits, then its comma.
    constexpr std::ptrdiff_t kShortDigits = 9;
    const char* const start = text.data() + offset;
    const char* digit = start;
    int32_t shortValue = 0;
    for (; digit != end && digit - start < kShortDigits && IsDigit(*digit); ++digit) {
        shortValue = shortValue * 10 + (*digit - '0');
    }
    if (digit != end && *digit == ',') {
        offset = static_cast<size_t>(digit - text.data()) + 1;
        return shortValue;
    }
    const char* stop = nullptr;
    const int32_t value = ParseIntPrefix(start, end, stop);
    offset = NextField(text, static_cast<size_t>(stop - text.data()));
    return value;
}

double ParseReal(std::string_view text)
{
    double value = 0.0;
    if (SimpleDecimal(text, value)) {
        return value;
    }
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && IsCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || *p == '-' || *p == '+') {
        return 0.0;
    }
    const bool hexPrefix = end - p >= 2 && p[0] == '0' && (p[1] | 0x20) == 'x';
    if (hexPrefix && end - p >= 3 && (IsHexDigit(p[2]) || p[2] == '.')) {
        // "0x" followed by something that is no hexadecimal number reads as the "0" alone.
        value = UnsignedReal(p + 2, end, true);
    } else {
        value = UnsignedReal(p, end, false);
    }
    return negative ? -value : value;
}

uint8_t NmeaChecksum(const char* text, size_t count)
{
    uint8_t checksum = 0;
    for (size_t i = 0; i < count; ++i) {
        checksum = static_cast<uint8_t>(checksum ^ static_cast<uint8_t>(text[i]));
    }
    return checksum;
}

std::array<char, 2> UpperHexDigits(uint8_t byte)
{
    return {kUpperHexDigits[byte >> 4], kUpperHexDigits[byte & 0x0F]};
}

int32_t HexDigitValue(char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 128;
}

} // namespace zz
