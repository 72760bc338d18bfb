#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zz {

// The value of a hexadecimal digit of either case (0-9, A-F, a-f); -1 for any other character.
int HexDigitAnyCase(char c);

// Longest hexadecimal text FrameToHex produces (two digits for each of 9599 bytes).
inline constexpr int kMaxFrameHexChars = 19198;

// Writes the frame as two upper-case hexadecimal digits per byte, high nibble first, without
// separators, and a terminating zero. text holds at least 2 * n + 1 characters (never more than
// kMaxFrameHexChars + 1: a longer frame is cut there). Returns the number of digits written.
int FrameToHex(const uint8_t* frame, int n, char* text);

// Reads a command given as hexadecimal text, two digits per byte, high nibble first, digits
// 0-9, A-F and a-f. False, with bytes left untouched, when the text is empty, has an odd
// number of characters, holds anything but those digits, or encodes more bytes than bytes holds.
[[nodiscard]] bool ParseHexCommand(std::string_view text, std::span<uint8_t> bytes);

// Copies text into out the way a sent command is kept: every character that is neither a digit
// nor a capital letter is lowered by 32 in code, which turns lower-case letters into capitals.
// Copies at most out.size() characters (no terminator) and returns how many.
size_t CapitaliseCommand(std::string_view text, std::span<char> out);

} // namespace zz
