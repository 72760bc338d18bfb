#pragma once

#include <termios.h>

#include "io/COMSTATUS.h"

namespace zz {

// The termios speed for a baud rate; false for a rate not in kLineBaudRates.
[[nodiscard]] bool BaudToSpeed(int baud, speed_t& speed);

// Puts the settings in raw mode and applies the line parameters of line (all but its port
// name). One and a half stop bits do not exist here and become two. False (settings unchanged)
// for a baud rate without a speed constant, or a data-bit, parity or stop-bit value outside its
// enumerators.
[[nodiscard]] bool ApplyLineSettings(termios& settings, const COMSTATUS& line);

} // namespace zz
