#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zz {

// Field n of a sentence text starts just after its n-th comma (field 0 is the address) and runs
// to the next comma or to the end of the text, so the last field carries the *hh checksum.

// Offset just after the n-th comma of the text; text.size() when the text has fewer commas.
size_t FieldAt(std::string_view text, int n);

// Offset just after the first comma at or after offset; text.size() when there is none.
size_t NextField(std::string_view text, size_t offset);

// Offsets of fields 0 to N-1 found in one pass; fields beyond the last comma get text.size().
template <size_t N> std::array<size_t, N> FieldOffsets(std::string_view text)
{
    std::array<size_t, N> offsets{};
    size_t field = 1;
    for (size_t i = 0; i < text.size() && field < N; ++i) {
        if (text[i] == ',') {
            offsets[field++] = i + 1;
        }
    }
    for (; field < N; ++field) {
        offsets[field] = text.size();
    }
    return offsets;
}

// A field is empty when it starts with a comma or at the end of the text.
bool FieldIsEmpty(std::string_view text, size_t offset);

// First character of a field; a comma for an empty field, '\0' at the end of the text.
char FieldLetter(std::string_view text, size_t offset);

// The field up to the next comma (or '*' when stopAtStar), cut to at most maxLength characters.
std::string_view BoundedField(std::string_view text, size_t offset, size_t maxLength,
                              bool stopAtStar = false);

// The C decimal integer conversion (atoi) on a view: leading white space, an optional sign and
// digits, stopping at the first other character; no digits read 0. A number beyond the range of
// a 64-bit long is clamped to it, and the result is that long cut to 32 bits.
int32_t ParseInt(std::string_view text);

// ParseInt of the field at offset; offset then moves to the start of the next field.
int32_t ReadIntField(std::string_view text, size_t& offset);

// The C decimal real conversion (strtod) on a view, never reading past it: leading white space,
// an optional sign, a decimal number with optional exponent, the "0x" hexadecimal form, inf and
// nan. No number reads 0.0; overflow gives +-HUGE_VAL and underflow 0 or the denormal value.
double ParseReal(std::string_view text);

// Exclusive-or of count bytes.
uint8_t NmeaChecksum(const char* text, size_t count);

// The two upper-case hexadecimal digits of a byte, high nibble first.
std::array<char, 2> UpperHexDigits(uint8_t byte);

// '0'-'9' give 0-9 and 'A'-'F' give 10-15; every other character (lower case too) gives 128.
int32_t HexDigitValue(char c);

} // namespace zz
