#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "sim/TSimEpoch.h"

namespace zz {

// Frame identifiers of the binary protocol.
inline constexpr uint8_t kPositionFrame = 0xE0;
inline constexpr uint8_t kDateTimeFrame = 0xE1;
inline constexpr uint8_t kSatelliteFrame = 0xE2;
inline constexpr uint8_t kDopFrame = 0xE3;
inline constexpr uint8_t kVersionFrame = 0xD3;
// Frames the receiver also sends that carry nothing a monitor reads.
inline constexpr uint8_t kUndecodedFrames[] = {0xD0, 0xD4, 0xD5, 0xD9};
inline constexpr size_t kMaxFrameBytes = 76;

// Appends identifier, payload (7-bit bytes), the check byte (exclusive-or of identifier and
// payload) and the end byte (0xEA after an 0xEn identifier, 0xDA after an 0xDn one).
void AppendFrame(uint8_t identifier, std::span<const uint8_t> payload, std::string& out);

// Each appends the frame the receiver sends for the epoch.
void AppendPositionFrame(const TSimEpoch& epoch, std::string& out);
void AppendDateTimeFrame(const TSimEpoch& epoch, std::string& out);
void AppendSatelliteFrame(const TSimEpoch& epoch, std::string& out);
void AppendDopFrame(const TSimEpoch& epoch, std::string& out);
// The version report the receiver sends when it restarts.
void AppendVersionFrame(std::string& out);
// An undecoded frame of the given identifier carrying payload (each byte cut to 7 bits).
void AppendUndecodedFrame(uint8_t identifier, std::span<const uint8_t> payload, std::string& out);

} // namespace zz
