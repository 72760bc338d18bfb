#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "core/AccuracyStatistics.h"

namespace zz {
namespace {

// Adds the point given in the tangent frame at origin.
void AddAt(TAccuracyStatistics& statistics, const TLocalFrame& frame, const TEnu& offset,
           bool withHeight = true)
{
    const TGeodetic place = frame.ToGeodetic(offset);
    statistics.Add(place.LatitudeDeg, place.LongitudeDeg,
                   withHeight ? std::optional<double>(place.HeightM) : std::nullopt);
}

// count points evenly on a circle of radius around the origin of frame.
void AddCircle(TAccuracyStatistics& statistics, const TLocalFrame& frame, double radius, int count,
               double up = 0.0)
{
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / count + 0.1;
        AddAt(statistics, frame, {radius * std::cos(angle), radius * std::sin(angle), up});
    }
}

// Every circular measure of a circle of fixes is its radius (2DRMS twice it), from its centre
// given as reference and from the mean alike, wherever on earth the circle lies.
TEST(AccuracyStatistics, CircleAroundItsCentreHasEveryErrorEqualToItsRadius)
{
    const struct
    {
        const char* Where;
        TGeodetic Centre;
    } places[] = {
        {"mid-latitude", {47.3769, 8.5417, 410.0}},
        {"on the antimeridian", {-10.0, 180.0, 20.0}},
        {"north pole", {90.0, 0.0, 0.0}},
        {"just off the south pole", {-89.99995, 77.0, 2800.0}},
    };
    const double radius = 10.0;
    for (const auto& place : places) {
        for (const bool withReference : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << place.Where << (withReference ? ", reference" : ", mean"));
            const TLocalFrame frame(place.Centre);
            TAccuracyStatistics statistics(
                withReference ? std::optional<TGeodetic>(place.Centre) : std::nullopt, true);
            AddCircle(statistics, frame, radius, 360);
            const TAccuracyReport report = statistics.Report();
            // From the mean the frame sits on the first fix, tilted by 10 m / 6400 km.
            const double tolerance = withReference ? 1e-6 : 1e-4;
            EXPECT_EQ(report.Fixes, 360u);
            EXPECT_EQ(report.AroundReference, withReference);
            EXPECT_NEAR(*report.Cep50M, radius, tolerance);
            EXPECT_NEAR(*report.Cep95M, radius, tolerance);
            EXPECT_NEAR(*report.MaxHorizontalErrorM, radius, tolerance);
            EXPECT_NEAR(*report.TwoDrmsM, 2.0 * radius, 2.0 * tolerance);
            EXPECT_NEAR(*report.HorizontalSdM, radius, tolerance);
            EXPECT_NEAR(*report.VerticalSdM, 0.0, tolerance);
            // The mean is the centre.
            const TEnu mean = frame.ToEnu(*report.Mean);
            EXPECT_NEAR(std::hypot(mean.East, mean.North), 0.0, tolerance);
            // Heights are averaged as heights: the tangent-plane circle stands r^2 / 2R = 8 um
            // above the ellipsoid at its rim.
            EXPECT_NEAR(mean.Up, 0.0, 1e-5);
            EXPECT_TRUE(report.PercentilesExact);
        }
    }
}

TEST(AccuracyStatistics, OffsetFromTheReferenceCountsInTheErrorsButNotInTheSpread)
{
    const TGeodetic reference{35.0, 139.0, 50.0};
    const TLocalFrame frame(reference);
    TAccuracyStatistics statistics(reference, true);
    for (int i = 0; i < 10; ++i) {
        AddAt(statistics, frame, {3.0, 4.0, 2.0});
    }
    const TAccuracyReport report = statistics.Report();
    EXPECT_NEAR(*report.Cep50M, 5.0, 1e-6);
    EXPECT_NEAR(*report.Cep95M, 5.0, 1e-6);
    EXPECT_NEAR(*report.MaxHorizontalErrorM, 5.0, 1e-6);
    EXPECT_NEAR(*report.TwoDrmsM, 10.0, 1e-6);
    EXPECT_NEAR(*report.HorizontalSdM, 0.0, 1e-6);
    ASSERT_TRUE(report.MeanOffset);
    EXPECT_NEAR(report.MeanOffset->East, 3.0, 1e-6);
    EXPECT_NEAR(report.MeanOffset->North, 4.0, 1e-6);
    EXPECT_NEAR(report.MeanOffset->Up, 2.0, 1e-5); // 5 m off in the plane: 2 um higher
}

// A Gaussian cloud of sigma per axis: the horizontal error is Rayleigh distributed, with median
// sigma sqrt(2 ln 2) = 1.1774 sigma and 95th percentile sigma sqrt(2 ln 20) = 2.4477 sigma;
// 2DRMS is 2 sqrt(2) sigma. With 20000 fixes the sample median's standard error is about 0.5 %,
// the 95th percentile's about 0.8 %: the tolerances are some four of those.
TEST(AccuracyStatistics, GaussianCloudMatchesTheRayleighPercentiles)
{
    const double sigma = 3.0;
    const double sigmaUp = 5.0;
    const TLocalFrame frame({-23.5, -46.6, 760.0});
    std::mt19937_64 random(7);
    std::normal_distribution<double> normal(0.0, 1.0);
    TAccuracyStatistics statistics;
    TAccuracyStatistics sampled(std::nullopt, false, 2000);
    for (int i = 0; i < 20000; ++i) {
        const TEnu offset{sigma * normal(random), sigma * normal(random), sigmaUp * normal(random)};
        AddAt(statistics, frame, offset);
        AddAt(sampled, frame, offset);
    }
    const TAccuracyReport report = statistics.Report();
    EXPECT_NEAR(*report.Cep50M / sigma, 1.1774, 0.025);
    EXPECT_NEAR(*report.Cep95M / sigma, 2.4477, 0.08);
    EXPECT_NEAR(*report.TwoDrmsM / sigma, 2.0 * std::sqrt(2.0), 0.06);
    EXPECT_NEAR(*report.HorizontalSdM / sigma, std::sqrt(2.0), 0.03);
    EXPECT_NEAR(*report.VerticalSdM / sigmaUp, 1.0, 0.03);
    EXPECT_TRUE(report.PercentilesExact);

    // A sample of 2000 gives the same median to within its own (larger) error, and says so.
    const TAccuracyReport fromSample = sampled.Report();
    EXPECT_FALSE(fromSample.PercentilesExact);
    EXPECT_EQ(fromSample.SampleSize, 2000u);
    EXPECT_EQ(fromSample.Fixes, 20000u);
    EXPECT_NEAR(*fromSample.Cep50M / sigma, 1.1774, 0.08);
    // Moments and the largest error use every fix.
    EXPECT_DOUBLE_EQ(*fromSample.HorizontalSdM, *report.HorizontalSdM);
    EXPECT_NEAR(*fromSample.MaxHorizontalErrorM, *report.MaxHorizontalErrorM,
                *report.MaxHorizontalErrorM * TExtremePoints::Tolerance());
}

// A straight track across the antimeridian, one fix a metre from 50 m west of it to 50 m east:
// around its mean (on the antimeridian) the errors are 0, 1, 1, 2, 2, ... 50, 50 metres.
TEST(AccuracyStatistics, TrackAcrossTheAntimeridianKeepsItsShape)
{
    const TLocalFrame frame({5.0, 180.0, 0.0});
    TAccuracyStatistics statistics;
    for (int east = -50; east <= 50; ++east) {
        AddAt(statistics, frame, {static_cast<double>(east), 0.0, 0.0}, false);
    }
    const TAccuracyReport report = statistics.Report();
    EXPECT_NEAR(*report.Cep50M, 25.0, 1e-3);
    EXPECT_NEAR(*report.Cep95M, 48.0, 1e-3);
    EXPECT_NEAR(*report.MaxHorizontalErrorM, 50.0, 1e-3);
    EXPECT_NEAR(std::remainder(report.Mean->LongitudeDeg - 180.0, 360.0), 0.0, 1e-9);
    EXPECT_NEAR(report.Mean->LatitudeDeg, 5.0, 1e-9);
    EXPECT_FALSE(report.VerticalSdM);
    EXPECT_FALSE(report.MeanHasHeight);
}

TEST(AccuracyStatistics, NoFixGivesNoFiguresAndOneFixGivesZeros)
{
    const TAccuracyReport none = TAccuracyStatistics().Report();
    EXPECT_EQ(none.Fixes, 0u);
    EXPECT_FALSE(none.Mean);
    EXPECT_FALSE(none.Cep50M);
    EXPECT_FALSE(none.TwoDrmsM);
    EXPECT_FALSE(none.MaxHorizontalErrorM);

    TAccuracyStatistics one;
    one.Add(47.5, 8.25, 400.0);
    const TAccuracyReport single = one.Report();
    EXPECT_EQ(single.Fixes, 1u);
    EXPECT_DOUBLE_EQ(*single.Cep50M, 0.0);
    EXPECT_DOUBLE_EQ(*single.Cep95M, 0.0);
    EXPECT_DOUBLE_EQ(*single.HorizontalSdM, 0.0);
    EXPECT_DOUBLE_EQ(*single.VerticalSdM, 0.0);
    EXPECT_DOUBLE_EQ(*single.MaxHorizontalErrorM, 0.0);
    EXPECT_NEAR(single.Mean->LatitudeDeg, 47.5, 1e-12);
    EXPECT_NEAR(single.Mean->LongitudeDeg, 8.25, 1e-12);
    EXPECT_NEAR(single.Mean->HeightM, 400.0, 1e-6);
}

TEST(OrderStatistics, QuantilesInterpolateAndHistogramStepsAreHundredths)
{
    const double values[] = {1.0, 2.0, 3.0, 4.0};
    EXPECT_DOUBLE_EQ(*SortedQuantile(values, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(*SortedQuantile(values, 0.5), 2.5);
    EXPECT_DOUBLE_EQ(*SortedQuantile(values, 1.0), 4.0);
    EXPECT_FALSE(SortedQuantile({}, 0.5));

    TCentiHistogram histogram;
    EXPECT_FALSE(histogram.Quantile(0.5));
    for (int i = 1; i <= 20; ++i) {
        histogram.Add(i * 0.1); // 0.1 .. 2.0
    }
    histogram.Add(-1.0);  // not counted
    histogram.Add(150.0); // counts as 99.99
    EXPECT_EQ(histogram.Count(), 21u);
    EXPECT_DOUBLE_EQ(*histogram.Quantile(0.5), 1.1);
    EXPECT_DOUBLE_EQ(*histogram.Quantile(20.0 / 21.0), 2.0);
    EXPECT_DOUBLE_EQ(*histogram.Max(), 99.99);
}

} // namespace
} // namespace zz
