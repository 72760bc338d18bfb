#include "ui/charts/TPointSeries.h"

#include <algorithm>
#include <cassert>

namespace zz {

TPointLabel::TPointLabel(std::string_view text)
{
    Length = static_cast<uint8_t>(std::min(text.size(), kCapacity));
    std::copy_n(text.data(), Length, Text.data());
}

TPointSeries::TPointSeries(size_t capacity) : Points(std::max<size_t>(capacity, 1))
{
}

void TPointSeries::Clear()
{
    First = 0;
    Size = 0;
}

bool TPointSeries::Add(double x, double y, QRgb colour, std::string_view label)
{
    if (Size == Points.size()) {
        return false;
    }
    TChartPoint& point = Points[Slot(Size)];
    point.X = x;
    point.Y = y;
    point.Colour = colour;
    point.Label = TPointLabel(label);
    ++Size;
    return true;
}

void TPointSeries::RemoveOldest()
{
    if (Size == 0) {
        return;
    }
    First = Slot(1);
    --Size;
}

const TChartPoint& TPointSeries::At(size_t index) const
{
    assert(index < Size);
    return Points[Slot(index)];
}

TChartPoint& TPointSeries::At(size_t index)
{
    assert(index < Size);
    return Points[Slot(index)];
}

bool TPointSeries::Bounds(double& minX, double& maxX, double& minY, double& maxY) const
{
    if (Size == 0) {
        return false;
    }
    const TChartPoint& first = At(0);
    minX = maxX = first.X;
    minY = maxY = first.Y;
    for (size_t index = 1; index < Size; ++index) {
        const TChartPoint& point = At(index);
        minX = std::min(minX, point.X);
        maxX = std::max(maxX, point.X);
        minY = std::min(minY, point.Y);
        maxY = std::max(maxY, point.Y);
    }
    return true;
}

} // namespace zz
