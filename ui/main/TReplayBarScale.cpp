#include "ui/main/TReplayBarScale.h"

#include <algorithm>

namespace zz {
namespace {

int64_t CeilDiv(int64_t numerator, int64_t denominator)
{
    return numerator / denominator + (numerator % denominator != 0 ? 1 : 0);
}

// The smallest divisor of the arrow step not below unit, or unit itself when the arrow step is
// smaller.
int64_t RoundToArrowDivisor(int64_t unit)
{
    for (int64_t divisor = unit; divisor <= TReplayBarScale::kArrowBytes; ++divisor) {
        if (TReplayBarScale::kArrowBytes % divisor == 0) {
            return divisor;
        }
    }
    return unit;
}

int StepsOf(int64_t bytes, int64_t unit)
{
    return static_cast<int>(std::max<int64_t>(1, bytes / unit));
}

} // namespace

TReplayBarScale::TReplayBarScale(int64_t size, int maxSteps) : FileSize(std::max<int64_t>(0, size))
{
    const int64_t steps = std::max(1, maxSteps);
    BytesPerStep = FileSize <= steps ? 1 : RoundToArrowDivisor(CeilDiv(FileSize, steps));
    MaximumValue = static_cast<int>(CeilDiv(FileSize, BytesPerStep));
}

int TReplayBarScale::SingleStep() const
{
    return StepsOf(kArrowBytes, BytesPerStep);
}

int TReplayBarScale::PageStep() const
{
    return StepsOf(kPageBytes, BytesPerStep);
}

int TReplayBarScale::ToValue(int64_t offset) const
{
    if (offset >= FileSize) {
        return MaximumValue;
    }
    if (offset <= 0) {
        return 0;
    }
    return static_cast<int>(offset / BytesPerStep);
}

int64_t TReplayBarScale::ToOffset(int value) const
{
    if (value >= MaximumValue) {
        return FileSize;
    }
    if (value <= 0) {
        return 0;
    }
    return static_cast<int64_t>(value) * BytesPerStep;
}

} // namespace zz
