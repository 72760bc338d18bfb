#pragma once

#include <climits>
#include <cstdint>

namespace zz {

// Maps byte offsets of a replayed file onto the int range of a scroll bar. A file that fits the
// range takes one step per byte; a larger one takes steps of Unit() bytes, and the last step
// ends exactly at the file size, so the end of the bar is the end of the file. The unit is
// rounded up to a divisor of the arrow step where it can be, so that an arrow click still
// moves exactly 960 bytes.
class TReplayBarScale
{
public:
    static constexpr int64_t kArrowBytes = 960;
    static constexpr int64_t kPageBytes = 4800;

    // A negative size counts as 0; maxSteps (at least 1) is the largest value the bar takes.
    explicit TReplayBarScale(int64_t size = 0, int maxSteps = INT_MAX);

    int64_t Size() const { return FileSize; }
    // Bytes per step of the bar.
    int64_t Unit() const { return BytesPerStep; }
    // The bar's maximum; it stands for the file size.
    int Maximum() const { return MaximumValue; }
    // An arrow click and a click beside the thumb, in steps of the bar, at least 1.
    int SingleStep() const;
    int PageStep() const;

    // The bar value that shows offset, clamped to the file: the step the offset falls in, and
    // the maximum only at the size itself.
    int ToValue(int64_t offset) const;
    // The offset a bar value stands for, clamped to the bar: the start of its step, and the
    // file size at the maximum.
    int64_t ToOffset(int value) const;

private:
    int64_t FileSize = 0;
    int64_t BytesPerStep = 1;
    int MaximumValue = 0;
};

} // namespace zz
