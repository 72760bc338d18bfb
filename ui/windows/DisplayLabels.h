#pragma once

#include <string_view>

#include "monitor/TDisplay.h"

namespace zz {

inline constexpr int kInfoLabelCount = 16;
inline constexpr int kDrLabelCount = 3;

// The label's name ("utc", "MT", "rotcnt", ...), which is also its object name.
std::string_view InfoLabelName(TInfoLabel label);
std::string_view DrLabelName(TDrLabel label);

} // namespace zz
