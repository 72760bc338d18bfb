#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zz {

inline constexpr int kLineRingSlots = 200;
inline constexpr int kLineSlotSize = 9600;

// Result of taking a line from the ring.
enum class TTakeResult
{
    Nothing = 0,   // the ring was empty
    TakenLast = 1, // a line was taken and the ring is now empty
    TakenMore = 2, // a line was taken and more lines wait
};

// Single-producer single-consumer ring of text lines between the protocol thread and the
// monitor thread. Each index has one writer, and the writer never waits. When the reader has
// fallen a whole ring behind, the new line is dropped: the writer never laps the reader, so it
// never overwrites a slot that the reader may be copying (which would hand over a torn line).
class TLineRing
{
public:
    // Protocol thread only. A line longer than a slot is cut to the slot size. False when the
    // ring was full and the line was dropped.
    bool PutLine(const char* bytes, size_t count);
    // Monitor thread only. Copies one line into buffer (kLineSlotSize bytes) and its length.
    [[nodiscard]] TTakeResult TakeLine(char* buffer, int32_t& count);
    bool IsEmpty() const;

private:
    std::array<std::array<char, kLineSlotSize>, kLineRingSlots> Slots{};
    std::array<std::atomic<int32_t>, kLineRingSlots> Lengths{};
    std::atomic<int32_t> WriteIndex{0};
    std::atomic<int32_t> ReadIndex{0};
};

} // namespace zz
