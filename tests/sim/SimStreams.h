#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/TBinaryEngine.h"
#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TNmeaEngine.h"
#include "core/TReceiverState.h"
#include "sim/TSimReceiver.h"
#include "tests/core/RecordingHooks.h"

namespace zz::test {

// One sentence or frame as it left the simulator, with the receiver's clock when its last
// byte was out.
struct SimMessage
{
    std::string Bytes;
    double Clock = 0.0;
};

// Runs the receiver for seconds in steps of step seconds and returns everything it sent.
inline std::string RunFor(TSimReceiver& receiver, double seconds, double step = 0.05)
{
    std::string out;
    const double end = receiver.Clock() + seconds;
    while (receiver.Clock() < end - 1e-9) {
        receiver.Step(std::min(step, end - receiver.Clock()), out);
    }
    return out;
}

// Cuts NMEA output into sentences, each with its CR LF. Bytes after the last CR LF stay in
// rest.
inline std::vector<std::string> SplitSentences(std::string_view stream, std::string* rest = nullptr)
{
    std::vector<std::string> sentences;
    size_t start = 0;
    for (size_t end = stream.find("\r\n"); end != std::string_view::npos;
         end = stream.find("\r\n", start)) {
        sentences.emplace_back(stream.substr(start, end + 2 - start));
        start = end + 2;
    }
    if (rest != nullptr) {
        *rest = stream.substr(start);
    }
    return sentences;
}

// Cuts binary output into frames: an identifier with bit 7 set, 7-bit payload bytes, a check
// byte with bit 7 set and an end byte. A byte that fits nowhere is returned as a frame of its
// own, which no well-formed stream has.
inline std::vector<std::string> SplitFrames(std::string_view stream)
{
    std::vector<std::string> frames;
    size_t start = 0;
    while (start < stream.size()) {
        size_t end = start + 1;
        while (end < stream.size() && (static_cast<uint8_t>(stream[end]) & 0x80) == 0) {
            ++end;
        }
        // end is the check byte; the end byte follows it.
        const size_t stop = std::min(end + 2, stream.size());
        frames.emplace_back(stream.substr(start, stop - start));
        start = stop;
    }
    return frames;
}

// Number of frames with the given identifier.
inline int CountFrames(std::string_view stream, uint8_t identifier)
{
    int count = 0;
    for (const std::string& frame : SplitFrames(stream)) {
        count += static_cast<uint8_t>(frame[0]) == identifier;
    }
    return count;
}

// Address of a sentence: "GPGGA", "DIRU,GPacc", ...
inline std::string Address(std::string_view sentence)
{
    const size_t comma = sentence.find(',');
    if (sentence.starts_with("$DIRU,")) {
        return std::string(sentence.substr(1, 10));
    }
    return std::string(sentence.substr(1, comma == std::string_view::npos ? 0 : comma - 1));
}

// Number of complete sentences with the given address.
inline int CountSentences(std::string_view stream, std::string_view address)
{
    int count = 0;
    for (const std::string& sentence : SplitSentences(stream)) {
        count += Address(sentence) == address;
    }
    return count;
}

// The protocol engine of the application, on recording hooks, reading what the simulator sent
// one message at a time so that every state in between can be looked at.
class SimDecoder
{
public:
    explicit SimDecoder(TSimProtocol protocol)
    {
        if (protocol == TSimProtocol::Nmea) {
            Engine = std::make_unique<TNmeaEngine>(Flags, Kept, Hooks);
        } else {
            Kept.ProtocolIndex = TProtocol::Binary;
            Engine = std::make_unique<TBinaryEngine>(Flags, Kept, Hooks);
        }
    }

    void Feed(std::string_view bytes)
    {
        Engine->ReceiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    // Takes a snapshot into State; false when nothing changed since the last one.
    bool Take() { return Engine->TakeSnapshot(*State); }

    TControlFlags Flags;
    TKeptValues Kept;
    RecordingHooks Hooks;
    std::unique_ptr<TProtocolEngine> Engine;
    std::unique_ptr<TReceiverState> State = std::make_unique<TReceiverState>();
};

// ddmm.mmmm (negative south or west) to degrees.
inline double DegreesFromReceiver(double value)
{
    const double magnitude = value < 0 ? -value : value;
    const double degrees = static_cast<double>(static_cast<int64_t>(magnitude / 100.0));
    const double result = degrees + (magnitude - degrees * 100.0) / 60.0;
    return value < 0 ? -result : result;
}

} // namespace zz::test
