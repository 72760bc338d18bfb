#pragma once

#include <string_view>

namespace zz {

// The version the programs report (--version, the About box). The build reads it from here
// for the package it makes.
inline constexpr std::string_view kProductVersion = "2.0";

} // namespace zz
