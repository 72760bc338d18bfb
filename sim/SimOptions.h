#pragma once

#include <span>
#include <string>
#include <string_view>

#include "sim/TSimSettings.h"

namespace zz {

// What the command line of the simulator asks for.
struct TSimOptions
{
    TSimSettings Settings;
    std::string Device;           // empty: create a pseudo-terminal
    std::string Tee;              // empty: no copy
    double DurationSeconds = 0.0; // 0: run until interrupted
    bool Help = false;
    bool Version = false;
};

// Reads the arguments (without the program's name) into options, checking each value and that
// one output cycle fits the line at the chosen baud and update rates. False, with a one-line
// reason in error, when they do not make sense.
[[nodiscard]] bool ParseSimOptions(std::span<const std::string_view> arguments,
                                   TSimOptions& options, std::string& error);

// The usage text.
std::string_view SimUsage();

} // namespace zz
