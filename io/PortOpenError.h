#pragma once

#include <string>
#include <vector>

#include "io/PortHolders.h"

namespace zz {

// Why a port could not be opened, in the terms the user can act on.
enum class TPortOpenFailure
{
    None,             // the port is open
    PermissionDenied, // the device exists but this user may not open it
    Missing,          // no such device (or it went away)
    Busy,             // another program, or this one, holds the port
    NotConfigurable,  // opened, but it is not a terminal or refused the line settings
    Other,
};

struct TPortOpenError
{
    TPortOpenFailure Reason = TPortOpenFailure::None;
    int Errno = 0; // the system's error number behind Reason
    // Busy: the processes seen holding the port.
    std::vector<TPortHolder> Holders;
    // Missing: the serial ports that can be opened instead.
    std::vector<std::string> PresentPorts;
};

// The failure named by the error number of a failed open, lock or exclusive claim.
TPortOpenFailure ClassifyOpenErrno(int error);

// One line that tells the user what went wrong and, where there is one, what to do about it:
// who holds a busy port, which ports there are when the device is missing.
std::string DescribeOpenFailure(const TPortOpenError& error);

} // namespace zz
