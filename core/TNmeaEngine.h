#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/TProtocolEngine.h"

namespace zz {

// Longest sentence the framer assembles, counting the $ and the CR LF.
inline constexpr int32_t kSentenceBufferSize = 9600;

// The NMEA protocol: cuts the received byte stream into sentences ($G, $P or $D up to CR LF),
// routes each to its decoder, hands it on to the line ring and the text log, and sends typed
// commands with or without their checksum.
class TNmeaEngine : public TProtocolEngine
{
public:
    TNmeaEngine(TControlFlags& flags, const TKeptValues& kept, TProtocolHooks& hooks);

    void ReceiveBytes(const uint8_t* bytes, size_t count) override;
    bool SendText(const char* text, size_t count) override;
    bool SendWithChecksum(const char* text, size_t count) override;

    // Routes one sentence text (without CR LF) to its decoder and sets its cycle-seen mark.
    void DispatchSentence(std::string_view text);

    // Standard sentences.
    void DecodeGGA(std::string_view text);
    void DecodeZDA(std::string_view text);
    void DecodeGLL(std::string_view text);
    void DecodeGSA(std::string_view text);
    void DecodeGSV(std::string_view text);
    void DecodeVTG(std::string_view text);
    void DecodeRMC(std::string_view text);
    void DecodeROT(std::string_view text);

    // The maker's proprietary sentences.
    void DecodeGPacc(std::string_view text);
    void DecodeGPtst(std::string_view text);
    void DecodeGPwav(std::string_view text);

private:
    // The byte-level framing step, for the bytes that can start, end or overflow a sentence.
    void StepByte(uint8_t byte);
    // Consumes bytes inside a sentence up to and including the next one that needs StepByte.
    const uint8_t* AssembleRun(const uint8_t* next, const uint8_t* end);
    // Consumes bytes outside a sentence up to and including the next '$' (or a sentence start).
    const uint8_t* SkipIdleRun(const uint8_t* next, const uint8_t* end, bool countIdle);
    void CompleteSentence();
    void DropSentence();
    // Latitude and longitude with their hemispheres, then the first-fix test (lock held).
    void WritePosition(std::string_view text, size_t latitude, size_t latitudeHemisphere,
                       size_t longitude, size_t longitudeHemisphere, int32_t fixQuality);

    std::array<char, kSentenceBufferSize> SentenceBuffer;
    int32_t SentenceLength = 0;
    bool InSentence = false;
    uint8_t CurrentByte = 0;
    uint8_t PreviousByte = 0;
    bool FirstCall = true;

    int32_t GsvTotal = 0;
    int32_t GsvSentenceCount = 0;
    int32_t SatSlot = 0;
};

} // namespace zz
