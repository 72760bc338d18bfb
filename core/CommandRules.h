#pragma once

#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// Whether the command last sent (the LastCommand text) restarts the receiver, so that a
// time-to-first-fix measurement is to be armed: one of the five NMEA clear commands exactly,
// or, for the binary protocol, one of the four start commands at its head.
bool IsClearCommand(std::string_view lastCommand, TProtocol protocol);

} // namespace zz
