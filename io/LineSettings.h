#pragma once

#include <termios.h>

namespace zz {

// Parity codes and stop-bit codes as the receiver setting dialog hands them over.
inline constexpr int kParityNone = 0;
inline constexpr int kParityOdd = 1;
inline constexpr int kParityEven = 2;
inline constexpr int kStopBitsOne = 0;
inline constexpr int kStopBitsOneAndHalf = 1;
inline constexpr int kStopBitsTwo = 2;

// The termios speed for a baud rate; false for a rate not in kLineBaudRates.
[[nodiscard]] bool BaudToSpeed(int baud, speed_t& speed);

// Puts the settings in raw mode and applies the line parameters. One and a half stop bits do
// not exist here and become two. False (settings unchanged) for a baud rate without a speed
// constant, a byte size outside 5..8, or an unknown parity or stop-bit code.
[[nodiscard]] bool ApplyLineSettings(termios& settings, int baud, bool xonXoffIn, bool xonXoffOut,
                                     int parity, int stopBits, int byteSize);

} // namespace zz
