#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/OrderStatistics.h"
#include "core/TExtremePoints.h"
#include "core/Wgs84.h"

namespace zz {

// Fixes kept for the circular error percentiles; beyond this many the percentiles come from a
// uniform sample of this size.
inline constexpr size_t kAccuracySampleSize = 100000;

// How closely a set of fixes hold a position, in metres, in the local east-north-up frame.
struct TAccuracyReport
{
    uint64_t Fixes = 0;           // fixes counted horizontally
    uint64_t FixesWithHeight = 0; // of those, fixes that reported an altitude
    bool AroundReference = false; // errors are from the reference, else from the mean
    // Mean position; its height only when some fix reported one.
    std::optional<TGeodetic> Mean;
    bool MeanHasHeight = false;
    // With a reference: the mean's offset from it (up only when both have heights).
    std::optional<TEnu> MeanOffset;
    std::optional<double> Cep50M;
    std::optional<double> Cep95M;
    std::optional<double> TwoDrmsM;
    std::optional<double> HorizontalSdM;
    std::optional<double> VerticalSdM;
    std::optional<double> MaxHorizontalErrorM;
    // The percentiles came from every fix (else from a sample of SampleSize).
    bool PercentilesExact = true;
    uint64_t SampleSize = 0;
};

// Accumulates fixes in one pass with memory that does not grow with their number:
// - positions go into the tangent frame at the reference, or at the first fix (any fix will do as
//   origin: the statistics below do not depend on it while the spread is small against the
//   earth's radius);
// - means and (population) variances of east and north, and of the heights, by Welford's
//   updates (vertical errors are taken along each fix's own vertical, as height differences);
// - the horizontal error of a fix is its distance in the east-north plane from the centre (the
//   reference, or the mean); CEP50 and CEP95 are the 50th and 95th percentiles of those
//   distances, 2DRMS is twice their root mean square, the largest error their maximum;
// - horizontal standard deviation sqrt(var E + var N), vertical sqrt(var h), both around the mean.
class TAccuracyStatistics
{
public:
    explicit TAccuracyStatistics(std::optional<TGeodetic> reference = std::nullopt,
                                 bool referenceHasHeight = false,
                                 size_t sampleSize = kAccuracySampleSize);

    void Add(double latitudeDeg, double longitudeDeg, std::optional<double> heightM);
    TAccuracyReport Report() const;

private:
    // Running mean and sum of squared deviations of one coordinate.
    struct TMoments
    {
        uint64_t Count = 0;
        double Mean = 0.0;
        double SquaredDeviations = 0.0;
        void Add(double value);
        double Variance() const;
    };

    std::optional<TGeodetic> Reference;
    bool ReferenceHasHeight;
    std::optional<TLocalFrame> Frame;
    TMoments East;
    TMoments North;
    TMoments Up; // of the heights
    TReservoirSample<TPlanePoint> Sample;
    TExtremePoints Extremes;
    double MaxFromReference = 0.0;
};

} // namespace zz
