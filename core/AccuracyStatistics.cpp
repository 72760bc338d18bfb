#include "core/AccuracyStatistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zz {

void TAccuracyStatistics::TMoments::Add(double value)
{
    ++Count;
    const double step = value - Mean;
    Mean += step / static_cast<double>(Count);
    SquaredDeviations += step * (value - Mean);
}

double TAccuracyStatistics::TMoments::Variance() const
{
    return Count == 0 ? 0.0 : std::max(0.0, SquaredDeviations / static_cast<double>(Count));
}

TAccuracyStatistics::TAccuracyStatistics(std::optional<TGeodetic> reference,
                                         bool referenceHasHeight, size_t sampleSize)
    : Reference(reference), ReferenceHasHeight(reference && referenceHasHeight), Sample(sampleSize)
{
    if (Reference) {
        Frame.emplace(*Reference);
    }
}

void TAccuracyStatistics::Add(double latitudeDeg, double longitudeDeg,
                              std::optional<double> heightM)
{
    if (!Frame) {
        Frame.emplace(TGeodetic{latitudeDeg, longitudeDeg, heightM.value_or(0.0)});
    }
    // A fix without a height is put at the origin's height: its horizontal place is the same
    // to far below a millimetre for any spread a receiver shows.
    const TEnu enu =
        Frame->ToEnu({latitudeDeg, longitudeDeg, heightM.value_or(Frame->Origin().HeightM)});
    East.Add(enu.East);
    North.Add(enu.North);
    if (heightM) {
        // Vertical errors along each fix's own vertical: its height, not the origin frame's up,
        // which the earth's curvature bends away over any horizontal spread.
        Up.Add(*heightM);
    }
    const TPlanePoint point{enu.East, enu.North};
    Sample.Add(point);
    if (Reference) {
        MaxFromReference = std::max(MaxFromReference, std::hypot(enu.East, enu.North));
    } else {
        Extremes.Add(point);
    }
}

TAccuracyReport TAccuracyStatistics::Report() const
{
    TAccuracyReport report;
    report.AroundReference = Reference.has_value();
    report.Fixes = East.Count;
    report.FixesWithHeight = Up.Count;
    if (East.Count == 0) {
        return report;
    }
    const bool withHeight = Up.Count > 0;
    TGeodetic mean = Frame->ToGeodetic({East.Mean, North.Mean, 0.0});
    mean.HeightM = withHeight ? Up.Mean : 0.0;
    report.Mean = mean;
    report.MeanHasHeight = withHeight;

    // The centre the errors are taken from, in the frame.
    const TPlanePoint centre =
        Reference ? TPlanePoint{0.0, 0.0} : TPlanePoint{East.Mean, North.Mean};
    if (Reference) {
        report.MeanOffset =
            TEnu{East.Mean, North.Mean,
                 withHeight && ReferenceHasHeight ? Up.Mean - Reference->HeightM : 0.0};
    }

    const double horizontalVariance = East.Variance() + North.Variance();
    report.HorizontalSdM = std::sqrt(horizontalVariance);
    if (withHeight) {
        report.VerticalSdM = std::sqrt(Up.Variance());
    }
    // Mean squared distance from the centre: the spread plus the mean's own offset from it.
    const double offsetEast = East.Mean - centre.East;
    const double offsetNorth = North.Mean - centre.North;
    report.TwoDrmsM =
        2.0 * std::sqrt(horizontalVariance + offsetEast * offsetEast + offsetNorth * offsetNorth);
    report.MaxHorizontalErrorM = Reference ? MaxFromReference : Extremes.FarthestFrom(centre);

    std::vector<double> distances;
    distances.reserve(Sample.Items().size());
    for (const TPlanePoint& point : Sample.Items()) {
        distances.push_back(std::hypot(point.East - centre.East, point.North - centre.North));
    }
    std::sort(distances.begin(), distances.end());
    report.Cep50M = SortedQuantile(distances, 0.5);
    report.Cep95M = SortedQuantile(distances, 0.95);
    report.PercentilesExact = Sample.Whole();
    report.SampleSize = distances.size();
    return report;
}

} // namespace zz
