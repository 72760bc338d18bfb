#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// A raw log of the NMEA protocol starts with a marker line of this many bytes, CR LF included;
// its text without the CR LF is what a replay reads back.
inline constexpr size_t kMarkerLineSize = 33;
inline constexpr size_t kMarkerTextSize = 31;
// Reference read from a raw log whose head holds no marker.
inline constexpr int32_t kNoReplayReference = 10;

// Three-letter name of the sentence with the given header index ("GGA", "RMC", ...); null for
// an index outside 0..7.
const char* HeaderName(int index);

// The marker line "@@Header of NMEA cycle -> GGA@@\r\n" for a header index; empty for an
// index outside 0..7, for which no marker is written.
std::string_view MarkerLine(int headerIndex);

// Header index 0..7 named by the marker text at the head of a raw log (its first 31 bytes,
// compared exactly), or kNoReplayReference when the head holds no marker.
int32_t ReplayReferenceFromHead(const char* head, size_t count);

} // namespace zz
