#pragma once

#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// Longest command the command line takes.
inline constexpr int kCommandMaxLength = 100;

// A RIRBinary command is typed as hexadecimal text: every character one of 0-9, A-F, a-f and
// an even number of them. The empty text passes.
bool IsHexCommand(std::string_view text);

// Whether a typed character reaches the command line. With the RIRBinary protocol kept, only
// hexadecimal digits and the editing characters Backspace (8), Ctrl+C (3), Ctrl+V (22),
// Ctrl+X (24) and Ctrl+Z (26) do; with NMEA every character does. Pasted text is not typed and
// is checked when it is sent.
bool KeepsTypedCharacter(char16_t character, TProtocol keptProtocol);

} // namespace zz
