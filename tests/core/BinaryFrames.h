#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "RecordingHooks.h"
#include "core/TBinaryEngine.h"

namespace zz::test {

using Bytes = std::vector<uint8_t>;

// A frame as the receiver sends it: identifier, payload, check byte (exclusive-or of all the
// bytes before it, so bit 7 set for a 7-bit payload) and end byte (0xDA after a 0xDx
// identifier, 0xEA after a 0xEx one).
inline Bytes Frame(uint8_t identifier, const Bytes& payload)
{
    Bytes frame;
    frame.reserve(payload.size() + 3);
    frame.push_back(identifier);
    for (uint8_t byte : payload) {
        frame.push_back(byte);
    }
    uint8_t check = 0;
    for (uint8_t byte : frame) {
        check = static_cast<uint8_t>(check ^ byte);
    }
    frame.push_back(check);
    frame.push_back(static_cast<uint8_t>((identifier & 0xF0) | 0x0A));
    return frame;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Upper-case hexadecimal text of bytes, as a line of the text log shows a frame.
inline std::string Hex(const Bytes& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

// A binary engine on recording hooks. The engine holds the line ring, so it lives on the heap.
class BinaryEngineTest : public ::testing::Test
{
protected:
    void Feed(const Bytes& bytes) { Engine->ReceiveBytes(bytes.data(), bytes.size()); }

    // The state as the monitor would copy it; fails the test when no group changed.
    TReceiverState Snapshot()
    {
        TReceiverState copy{};
        EXPECT_TRUE(Engine->TakeSnapshot(copy));
        return copy;
    }

    void Recreate() { Engine = std::make_unique<TBinaryEngine>(Flags, Kept, Hooks); }

    TControlFlags Flags;
    TKeptValues Kept;
    RecordingHooks Hooks;
    std::unique_ptr<TBinaryEngine> Engine = std::make_unique<TBinaryEngine>(Flags, Kept, Hooks);
};

} // namespace zz::test
