#include "ui/charts/ChartGeometry.h"

#include <cmath>

namespace zz {

double AxisPixel(double value, const TAxisRange& range, double pixelStart, double pixelEnd)
{
    const double span = range.Max - range.Min;
    if (!(span > 0.0) && !(span < 0.0)) {
        return pixelStart;
    }
    return pixelStart + (value - range.Min) / span * (pixelEnd - pixelStart);
}

QPointF PlotPixel(double x, double y, const TAxisRange& xRange, const TAxisRange& yRange,
                  const QRectF& area)
{
    return {AxisPixel(x, xRange, area.left(), area.right()),
            AxisPixel(y, yRange, area.bottom(), area.top())};
}

double LabelStep(const TAxisRange& range, double step, double axisPixels, double minPixels)
{
    const double span = std::abs(range.Max - range.Min);
    if (!(step > 0.0) || !(span > 0.0) || !(axisPixels > 0.0)) {
        return step;
    }
    // 1, 2, 5, 10, 20, 50, ... times the step, until the labels are far enough apart.
    static constexpr double kFactors[] = {1.0, 2.0, 5.0};
    for (double decade = 1.0; decade < 1e12; decade *= 10.0) {
        for (const double factor : kFactors) {
            const double candidate = step * factor * decade;
            if (candidate / span * axisPixels >= minPixels) {
                return candidate;
            }
        }
    }
    return span;
}

size_t AxisLabelValues(const TAxisRange& range, double step,
                       std::array<double, kMaxAxisLabels>& out)
{
    if (!(step > 0.0) || !(range.Max >= range.Min)) {
        return 0;
    }
    // A small tolerance keeps a bound that is itself a multiple from being lost to rounding.
    const double tolerance = step * 1e-9;
    double value = std::ceil((range.Min - tolerance) / step) * step;
    size_t count = 0;
    while (value <= range.Max + tolerance && count < out.size()) {
        // Avoid printing -0.
        out[count++] = value == 0.0 ? 0.0 : value;
        value += step;
    }
    return count;
}

} // namespace zz
