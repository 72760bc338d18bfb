#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/TProtocolEngine.h"

namespace zz {

// Longest frame of the binary protocol, identifier, check byte and end byte included.
inline constexpr int kMaxFrameLength = 76;

// The protocol engine of the receiver's binary protocol: cuts the byte stream into frames,
// hands the hexadecimal text of each frame to the line ring and the text log, decodes the five
// frame types into the receiver state, and sends commands given as hexadecimal text.
class TBinaryEngine : public TProtocolEngine
{
public:
    TBinaryEngine(TControlFlags& flags, const TKeptValues& kept, TProtocolHooks& hooks);

    void ReceiveBytes(const uint8_t* bytes, size_t count) override;
    bool SendText(const char* text, size_t count) override;
    bool SendWithChecksum(const char* text, size_t count) override;

    // Routes one complete frame (n bytes, identifier first) to its decoder, pacing a replay.
    void DispatchFrame(const uint8_t* frame, int n);

    void DecodePositionFrame(const uint8_t* frame, int n);
    void DecodeDateTimeFrame(const uint8_t* frame, int n);
    void DecodeSatelliteFrame(const uint8_t* frame, int n);
    void DecodeDopFrame(const uint8_t* frame, int n);
    void DecodeVersionFrame(const uint8_t* frame, int n);

private:
    // Handles one received byte; the last-three-bytes window has already been shifted.
    void FrameByte(uint8_t byte);
    void CompleteFrame();
    // Writes a valid command's bytes; the exclusive-or of them is returned.
    uint8_t WriteCommandBytes(const uint8_t* bytes, size_t count);

    std::array<uint8_t, kMaxFrameLength> FrameBuffer{};
    int32_t FrameLength = 0;
    bool InFrame = false;
    uint8_t CurrentByte = 0;
    uint8_t PreviousByte = 0;
    uint8_t ByteBeforePrevious = 0;
    // Hexadecimal text of the frame just completed, zero-terminated.
    std::array<char, 2 * kMaxFrameLength + 1> FrameText{};
};

} // namespace zz
