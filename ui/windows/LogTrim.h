#pragma once

#include <cstddef>
#include <string_view>

namespace zz {

// The Log window holds a running view of the traffic, not a record: once its text reaches
// kLogTrimThreshold characters, the oldest kLogTrimCut characters go, and with them the rest of
// the line the cut fell into and the line after it, so that the text again starts with a whole
// line.
inline constexpr size_t kLogTrimThreshold = 8000;
inline constexpr size_t kLogTrimCut = 5000;

// How many characters to remove from the front of text (0 while it is below the threshold).
// The count always ends just after a line break, or takes the whole text when fewer than two
// line breaks follow the cut.
size_t LogTrimLength(std::string_view text);

} // namespace zz
