#include "core/TLineRing.h"

#include <algorithm>
#include <cstring>

namespace zz {
namespace {

int32_t NextSlot(int32_t index)
{
    return index + 1 == kLineRingSlots ? 0 : index + 1;
}

} // namespace

bool TLineRing::PutLine(const char* bytes, size_t count)
{
    const int32_t write = WriteIndex.load(std::memory_order_relaxed);
    const int32_t next = NextSlot(write);
    if (next == ReadIndex.load(std::memory_order_acquire)) {
        return false;
    }
    const size_t length = std::min(count, static_cast<size_t>(kLineSlotSize));
    const auto slot = static_cast<size_t>(write);
    std::memcpy(Slots[slot].data(), bytes, length);
    Lengths[slot].store(static_cast<int32_t>(length), std::memory_order_relaxed);
    WriteIndex.store(next, std::memory_order_release);
    Lengths[static_cast<size_t>(next)].store(0, std::memory_order_relaxed);
    return true;
}

TTakeResult TLineRing::TakeLine(char* buffer, int32_t& count)
{
    const int32_t read = ReadIndex.load(std::memory_order_relaxed);
    if (read == WriteIndex.load(std::memory_order_acquire)) {
        return TTakeResult::Nothing;
    }
    const auto slot = static_cast<size_t>(read);
    count = Lengths[slot].load(std::memory_order_relaxed);
    std::memcpy(buffer, Slots[slot].data(), static_cast<size_t>(count));
    const int32_t next = NextSlot(read);
    ReadIndex.store(next, std::memory_order_release);
    return next == WriteIndex.load(std::memory_order_acquire) ? TTakeResult::TakenLast
                                                              : TTakeResult::TakenMore;
}

bool TLineRing::IsEmpty() const
{
    return ReadIndex.load(std::memory_order_relaxed) == WriteIndex.load(std::memory_order_acquire);
}

} // namespace zz
