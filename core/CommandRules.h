#pragma once

#include <optional>
#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// Whether the command last sent (the LastCommand text) restarts the receiver, so that a
// time-to-first-fix measurement is to be armed: one of the five NMEA clear commands exactly,
// or, for the binary protocol, one of the four start commands at its head.
bool IsClearCommand(std::string_view lastCommand, TProtocol protocol);

// The preset restart command of the given number, as the preset command window sends it: NMEA
// "$DIRU,GPclr,1" to "$DIRU,GPclr,5" (sent with its checksum), binary 1 restart, 2 warm start,
// 3 cold start, 4 all-clear start (complete messages in hexadecimal). Nothing for another number.
std::optional<std::string_view> PresetRestartCommand(TProtocol protocol, int number);

} // namespace zz
