#pragma once

#include <string>

#include "io/PortOpenError.h"

namespace zz {

// Adds what the user needs to act on a failed open of the device at devicePath: for a busy
// port the processes that hold it, for a missing device the serial ports there are instead
// (under deviceDirectory). Other failures are left as they are.
void AddOpenFailureDetails(const std::string& devicePath, TPortOpenError& error,
                           const std::string& deviceDirectory = "/dev");

} // namespace zz
