#pragma once

#include <QPointF>
#include <QRectF>
#include <array>
#include <cstddef>

namespace zz {

// The values an axis spans, from Min at its start to Max at its end.
struct TAxisRange
{
    double Min = 0.0;
    double Max = 1.0;

    bool operator==(const TAxisRange&) const = default;
};

// Pixel coordinate of a value on an axis drawn from pixelStart (where Min lies) to pixelEnd
// (where Max lies). An empty range puts every value at pixelStart.
double AxisPixel(double value, const TAxisRange& range, double pixelStart, double pixelEnd);

// Pixel of the value pair (x, y) in a plot area: x grows to the right, y upward, the ranges
// spanning the area's edges exactly.
QPointF PlotPixel(double x, double y, const TAxisRange& xRange, const TAxisRange& yRange,
                  const QRectF& area);

// The step at which an axis labels its values: the given step, or the smallest of its multiples
// by 2, 5, 10, 20, 50, ... that leaves at least minPixels between neighbouring labels.
double LabelStep(const TAxisRange& range, double step, double axisPixels, double minPixels);

// The labelled values of an axis: multiples of step from the first at or above Min up to Max.
// At most out.size() are written; the count written is returned.
inline constexpr size_t kMaxAxisLabels = 64;
size_t AxisLabelValues(const TAxisRange& range, double step,
                       std::array<double, kMaxAxisLabels>& out);

} // namespace zz
