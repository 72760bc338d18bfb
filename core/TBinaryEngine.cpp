#include "core/TBinaryEngine.h"

#include <span>
#include <string_view>

#include "core/HexText.h"

namespace zz {
namespace {

constexpr uint8_t kPositionFrameId = 0xE0;
constexpr uint8_t kDateTimeFrameId = 0xE1;
constexpr uint8_t kSatelliteFrameId = 0xE2;
constexpr uint8_t kDopFrameId = 0xE3;
constexpr uint8_t kVersionFrameId = 0xD3;

// Cycle-seen marks of the binary frames (the NMEA sentences use the lower ones).
constexpr int kDateTimeMark = 12;
constexpr int kSatelliteMark = 13;
constexpr int kDopMark = 14;
constexpr int kVersionMark = 15;

constexpr uint8_t kBit7 = 0x80;

// A command's bytes are kept as text in LastCommand, two digits each.
constexpr size_t kMaxCommandBytes = kLastCommandSize / 2;
// Check byte and end byte as they are appended to LastCommand.
constexpr size_t kTrailerDigits = 4;

bool IsFrameIdentifier(uint8_t byte)
{
    switch (byte) {
    case 0xD0:
    case 0xD3:
    case 0xD4:
    case 0xD5:
    case 0xD9:
    case 0xE0:
    case 0xE1:
    case 0xE2:
    case 0xE3:
        return true;
    default:
        return false;
    }
}

bool IsEndByte(uint8_t byte)
{
    return byte == 0xEA || byte == 0xDA;
}

} // namespace

TBinaryEngine::TBinaryEngine(TControlFlags& flags, const TKeptValues& kept, TProtocolHooks& hooks)
    : TProtocolEngine(flags, kept, hooks)
{
}

// The frame buffer starts zeroed with the object and nothing reads it beyond FrameLength, so
// neither the first chunk nor the end of a frame has to clear it.
void TBinaryEngine::ReceiveBytes(const uint8_t* bytes, size_t count)
{
    if (TControlFlags::TakeRequest(Flags.FramerReset)) {
        InFrame = false;
        FrameLength = 0;
    }
    Hooks.WriteRawChunk(bytes, count);
    ServePlotClearInReceive();
    for (size_t i = 0; i < count; ++i) {
        ByteBeforePrevious = PreviousByte;
        PreviousByte = CurrentByte;
        CurrentByte = bytes[i];
        FrameByte(CurrentByte);
    }
}

void TBinaryEngine::FrameByte(uint8_t byte)
{
    if (!InFrame) {
        if (IsFrameIdentifier(byte)) {
            FrameBuffer[0] = byte;
            FrameLength = 1;
            InFrame = true;
        } else {
            CountIdleByte();
        }
        return;
    }
    // Payload bytes are 7-bit and the check byte has bit 7 set: an end byte closes the frame only
    // right after a check byte that follows a 7-bit byte, never inside the payload.
    const bool endsFrame = IsEndByte(byte) && (PreviousByte & kBit7) != 0 &&
                           (ByteBeforePrevious & kBit7) == 0 && FrameLength < kMaxFrameLength;
    if (endsFrame) {
        FrameBuffer[static_cast<size_t>(FrameLength++)] = byte;
        CompleteFrame();
    } else if (FrameLength < kMaxFrameLength) {
        FrameBuffer[static_cast<size_t>(FrameLength++)] = byte;
    } else {
        // Too long for any frame: lost, together with the byte that showed it.
        InFrame = false;
        FrameLength = 0;
        ReplayPause();
        ClearCycleSeen();
    }
}

void TBinaryEngine::CompleteFrame()
{
    const int n = FrameLength;
    // A thread that is being stopped skips the text; the empty line still goes its way.
    const int textLength =
        Hooks.TerminationRequested() ? 0 : FrameToHex(FrameBuffer.data(), n, FrameText.data());
    const auto length = static_cast<size_t>(textLength);
    DispatchFrame(FrameBuffer.data(), n);
    Ring().PutLine(FrameText.data(), length);
    Hooks.WriteLogLine(FrameText.data(), length);
    Hooks.LinePut(FrameText.data(), length);
    InFrame = false;
    FrameLength = 0;
}

void TBinaryEngine::DispatchFrame(const uint8_t* frame, int n)
{
    ServePlotClearInDispatch();
    if (n < 1) {
        return;
    }
    using Decoder = void (TBinaryEngine::*)(const uint8_t*, int);
    // A repeated frame type stands for a new cycle during a replay; the mark is set even when
    // the decoder ignored the frame for its length.
    auto decodeMarked = [&](int mark, Decoder decode) {
        PaceOnRepeat(mark);
        (this->*decode)(frame, n);
        CycleSeen[static_cast<size_t>(mark)] = 1;
    };
    switch (frame[0]) {
    case kVersionFrameId:
        decodeMarked(kVersionMark, &TBinaryEngine::DecodeVersionFrame);
        break;
    case kPositionFrameId:
        // The cycle start inside the decoder paces this one.
        DecodePositionFrame(frame, n);
        break;
    case kDateTimeFrameId:
        decodeMarked(kDateTimeMark, &TBinaryEngine::DecodeDateTimeFrame);
        break;
    case kSatelliteFrameId:
        decodeMarked(kSatelliteMark, &TBinaryEngine::DecodeSatelliteFrame);
        break;
    case kDopFrameId:
        decodeMarked(kDopMark, &TBinaryEngine::DecodeDopFrame);
        break;
    default:
        break;
    }
}

uint8_t TBinaryEngine::WriteCommandBytes(const uint8_t* bytes, size_t count)
{
    uint8_t check = 0;
    for (size_t i = 0; i < count; ++i) {
        WritePortByte(bytes[i]);
        check = static_cast<uint8_t>(check ^ bytes[i]);
    }
    return check;
}

bool TBinaryEngine::SendText(const char* text, size_t count)
{
    if (count == 0) {
        StoreLastCommand("", 0);
        return true;
    }
    const std::string_view command(text, count);
    std::array<uint8_t, kMaxCommandBytes> bytes;
    // A text that is not whole bytes of hexadecimal digits has no encoding: refuse it unsent.
    if (!ParseHexCommand(command, bytes)) {
        return false;
    }
    WriteCommandBytes(bytes.data(), count / 2);
    std::array<char, kLastCommandSize> kept;
    StoreLastCommand(kept.data(), CapitaliseCommand(command, kept));
    return true;
}

bool TBinaryEngine::SendWithChecksum(const char* text, size_t count)
{
    // The end byte comes from the first character; an empty text has none, so nothing is sent.
    if (count == 0) {
        return false;
    }
    const std::string_view command(text, count);
    std::array<uint8_t, kMaxCommandBytes> bytes;
    // A text that is not whole bytes of hexadecimal digits has no encoding: refuse it unsent.
    if (!ParseHexCommand(command, bytes)) {
        return false;
    }
    const uint8_t check = WriteCommandBytes(bytes.data(), count / 2);
    // A text starting with C ends with 0xCA, D with 0xDA, E with 0xEA.
    const unsigned first = static_cast<unsigned char>(text[0]);
    const auto endByte = static_cast<uint8_t>((first * 16u - 102u) & 0xFFu);
    WritePortByte(check);
    WritePortByte(endByte);

    std::array<char, kLastCommandSize + kTrailerDigits + 1> kept;
    size_t length = CapitaliseCommand(command, std::span(kept).first(kLastCommandSize));
    const uint8_t trailer[2] = {check, endByte};
    length += static_cast<size_t>(FrameToHex(trailer, 2, kept.data() + length));
    StoreLastCommand(kept.data(), length);
    return true;
}

} // namespace zz
