#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/PositionPlot.h"
#include "core/TPosPlotModel.h"
#include "core/TReceiverState.h"

namespace zz {
namespace {

constexpr double kLatitude = 3530.5;    // 35 30.5' N
constexpr double kLongitude = 13930.25; // 139 30.25' E

// A model after a full reset, fed position updates as the display cycle feeds it.
class PosPlotModelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetReceiverState(State);
        SetPosition(kLatitude, kLongitude, 1);
        SetCycle(kLatitude, kLongitude, 1, 3, 0.0);
        Model.ResetDisplay(RecentreRequest);
    }

    void SetPosition(double latitude, double longitude, int32_t quality)
    {
        State.Latitude = latitude;
        State.Longitude = longitude;
        State.FixQuality = quality;
    }

    void SetCycle(double latitude, double longitude, int32_t quality, int32_t mode, double rot)
    {
        State.CycleLatitude = latitude;
        State.CycleLongitude = longitude;
        State.CycleFixQuality = quality;
        State.CycleFixMode = mode;
        State.CycleRotStatus = rot;
    }

    // One cycle: a new cycle summary (pending) and a position report.
    TPosPlotChange Cycle()
    {
        Pending = true;
        return Update();
    }

    TPosPlotChange Update()
    {
        return Model.UpdatePosition(State, Controls, RecentreRequest, Pending);
    }

    TReceiverState State{};
    TPosPlotControls Controls{"10", true, false, TPlotMode::Run};
    std::atomic<int32_t> RecentreRequest{0};
    bool Pending = false;
    TPosPlotModel Model;
};

TEST_F(PosPlotModelTest, FirstUpdateAfterResetCentresAndOnlyCountsOne)
{
    EXPECT_EQ(RecentreRequest.load(), 1);
    const TPosPlotChange change = Cycle();

    EXPECT_EQ(Model.TrackCount(), 1);
    EXPECT_EQ(Model.TrackSize(), 0u);
    EXPECT_FALSE(change.PointAdded);
    EXPECT_FALSE(Pending);
    EXPECT_FALSE(change.LonR.has_value());

    const TPosPlotState& plot = Model.State();
    EXPECT_DOUBLE_EQ(plot.CurLatMin, 2130.5);
    EXPECT_DOUBLE_EQ(plot.CurLonMin, 8370.25);
    EXPECT_DOUBLE_EQ(plot.CentreLatMin, 2130.5);
    EXPECT_DOUBLE_EQ(plot.CentreLonMin, 8370.25);
    ASSERT_TRUE(Model.Marker().has_value());
    EXPECT_EQ(*Model.Marker(), (TTrackPoint{8370.25, 2130.5, 0xFFFFFF}));

    EXPECT_TRUE(change.Recentred);
    EXPECT_EQ(change.LatCen.View(), "Latitude          \nN 035 30' 30.000\"\n0m");
    EXPECT_EQ(change.LonCen.View(), "E 139 30' 15.000\"");
    EXPECT_TRUE(change.Rescaled);
    EXPECT_EQ(change.MaxLabel.View(), "+10m");
    EXPECT_EQ(change.MinLabel.View(), "-10m");
    EXPECT_EQ(plot.RangeMetres, 10);
    EXPECT_EQ(plot.PrevRangeMetres, 10);

    const TMinuteScale scale = MinuteScaleAt(2130.5);
    EXPECT_DOUBLE_EQ(plot.HalfLonMin, 10.0 / scale.MetresPerLonMin);
    EXPECT_DOUBLE_EQ(plot.HalfLatMin, 10.0 / scale.MetresPerLatMin);
    EXPECT_DOUBLE_EQ(change.LonAxisMin, 8370.25 - plot.HalfLonMin);
    EXPECT_DOUBLE_EQ(change.LonAxisMax, 8370.25 + plot.HalfLonMin);
    EXPECT_DOUBLE_EQ(change.LatAxisMin, 2130.5 - plot.HalfLatMin);
    EXPECT_DOUBLE_EQ(change.LatAxisMax, 2130.5 + plot.HalfLatMin);
    // Run keeps the request, so the centre follows the next position too.
    EXPECT_EQ(RecentreRequest.load(), 1);
}

TEST_F(PosPlotModelTest, PendingCyclePointIsColouredByItsFix)
{
    constexpr double kCycleLatitude = 3530.501;
    constexpr double kCycleLongitude = 13930.251;
    const struct
    {
        int32_t Quality;
        int32_t Mode;
        double Rot;
        bool PlotNoFix;
        bool AtCyclePoint;
        uint32_t Colour;
    } cases[] = {
        {1, 3, 0.0, false, true, 0x00F020},       {2, 2, 0.0, false, true, 0xB0FFB0},
        {1, 3, 1.0, false, true, 0x00B0FF},       {2, 2, 1.0, false, true, 0x90E0FF},
        {1, 1, 0.0, false, true, 0x000000},       {6, 3, 1.0, false, true, 0xFFE000},
        {0, 1, 0.0, true, true, 0xFF3000},        {3, 3, 0.0, false, false, 0x000000},
        {NoCode, 3, 0.0, false, false, 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "quality " << c.Quality << " mode " << c.Mode << " rot " << c.Rot);
        SetUp();
        Controls.Plotchk = c.PlotNoFix;
        Cycle();
        SetCycle(kCycleLatitude, kCycleLongitude, c.Quality, c.Mode, c.Rot);
        const TPosPlotChange change = Cycle();

        ASSERT_TRUE(change.PointAdded);
        EXPECT_FALSE(Pending);
        EXPECT_EQ(Model.TrackCount(), 2);
        ASSERT_EQ(Model.TrackSize(), 1u);
        const TTrackPoint expected = c.AtCyclePoint
                                         ? TTrackPoint{DdmmToMinutes(kCycleLongitude),
                                                       DdmmToMinutes(kCycleLatitude), c.Colour}
                                         : TTrackPoint{8370.25, 2130.5, c.Colour};
        EXPECT_EQ(Model.NewestTrackPoint(), expected);
    }
}

TEST_F(PosPlotModelTest, WithoutFixTheScaleStaysAndOnlyTheTrackMoves)
{
    Cycle();
    Cycle();
    const TPosPlotState before = Model.State();
    ASSERT_EQ(Model.TrackSize(), 1u);

    // Current position without a fix, "Plot No fix" not ticked; the pending cycle point has no
    // fix either: nothing drawn, the point stays pending for a later update.
    SetPosition(3531.0, 13931.0, 0);
    SetCycle(3531.0, 13931.0, 0, 1, 0.0);
    TPosPlotChange change = Cycle();
    EXPECT_FALSE(Model.Marker().has_value());
    EXPECT_FALSE(change.PointAdded);
    EXPECT_FALSE(change.Rescaled);
    EXPECT_FALSE(change.Recentred);
    EXPECT_TRUE(Pending);
    EXPECT_EQ(Model.TrackSize(), 1u);
    EXPECT_EQ(Model.State().CentreLonMin, before.CentreLonMin);
    EXPECT_EQ(Model.State().CentreLatMin, before.CentreLatMin);
    EXPECT_EQ(Model.State().CurLonMin, before.CurLonMin);

    // No cycle point pending: a black point at the previous current position.
    Pending = false;
    change = Update();
    ASSERT_TRUE(change.PointAdded);
    EXPECT_EQ(Model.NewestTrackPoint(), (TTrackPoint{8370.25, 2130.5, 0x000000}));
    EXPECT_EQ(Model.TrackCount(), 3);

    // With an unusable cycle point nothing is added and the pending flag is dropped.
    SetCycle(NoPosition, NoPosition, 1, 3, 0.0);
    change = Cycle();
    EXPECT_FALSE(change.PointAdded);
    EXPECT_FALSE(Pending);
    EXPECT_EQ(Model.TrackSize(), 2u);
}

TEST_F(PosPlotModelTest, PlotNoFixPlacesPositionsWithoutFix)
{
    Controls.Plotchk = true;
    SetPosition(kLatitude, kLongitude, 0);
    SetCycle(kLatitude, kLongitude, 0, 1, 0.0);
    Cycle();
    const TPosPlotChange change = Cycle();
    EXPECT_TRUE(Model.Marker().has_value());
    EXPECT_TRUE(change.Rescaled);
    ASSERT_TRUE(change.PointAdded);
    EXPECT_EQ(Model.NewestTrackPoint().Colour, 0xFF3000u);
}

TEST_F(PosPlotModelTest, UnusableRangeTextFallsBackToThePreviousRange)
{
    Controls.Autochk = false;
    for (const char* text : {"abc", "", "0", "-5"}) {
        SCOPED_TRACE(text);
        TPosPlotModel fresh;
        Controls.LonR = text;
        bool pending = true;
        const TPosPlotChange change =
            fresh.UpdatePosition(State, Controls, RecentreRequest, pending);
        EXPECT_EQ(fresh.State().RangeMetres, 10);
        EXPECT_EQ(change.MaxLabel.View(), "+10m");

        Controls.LonR = "25";
        fresh.UpdatePosition(State, Controls, RecentreRequest, pending);
        Controls.LonR = text;
        EXPECT_EQ(fresh.UpdatePosition(State, Controls, RecentreRequest, pending).MinLabel.View(),
                  "-25m");
        EXPECT_EQ(fresh.State().RangeMetres, 25);
    }
}

TEST_F(PosPlotModelTest, AutoRangeGrowsToTakeInAPointEastOfTheCentre)
{
    Cycle();
    // A cycle point 25 m east of the centre.
    const double eastMin = 25.0 / MinuteScaleAt(2130.5).MetresPerLonMin;
    SetCycle(kLatitude, kLongitude + eastMin, 1, 3, 0.0);
    const TPosPlotChange change = Cycle();

    ASSERT_TRUE(change.LonR.has_value());
    EXPECT_EQ(*change.LonR, 33);
    EXPECT_EQ(Model.State().RangeMetres, 33);
    EXPECT_EQ(change.MaxLabel.View(), "+33m");
    EXPECT_EQ(change.MinLabel.View(), "-33m");
    EXPECT_DOUBLE_EQ(Model.State().HalfLonMin, 33.0 / Model.State().MetresPerLonMin);
    EXPECT_DOUBLE_EQ(Model.State().HalfLatMin, 33.0 / Model.State().MetresPerLatMin);
    EXPECT_DOUBLE_EQ(change.LonAxisMax, 8370.25 + 33.0 / Model.State().MetresPerLonMin);

    // Without Auto the typed range stands and the edit is left alone.
    SetUp();
    Controls.Autochk = false;
    Cycle();
    EXPECT_FALSE(Cycle().LonR.has_value());
    EXPECT_EQ(Model.State().RangeMetres, 10);
}

TEST_F(PosPlotModelTest, AutoRangeChecksEachSideAgainstTheGrownSquare)
{
    Cycle();
    const TMinuteScale scale = MinuteScaleAt(2130.5);
    // 21 m north grows the range to trunc(1.3 x 21) + 1 = 28.
    SetCycle(kLatitude + 21.0 / scale.MetresPerLatMin, kLongitude, 1, 3, 0.0);
    TPosPlotChange change = Cycle();
    ASSERT_TRUE(change.LonR.has_value());
    EXPECT_EQ(*change.LonR, 28);
    // 31 m west grows it to 41; the same point's 35 m south then lies inside the grown square,
    // though outside the square of 28 m the update started with.
    Controls.LonR = "28";
    SetCycle(kLatitude - 35.0 / scale.MetresPerLatMin, kLongitude - 31.0 / scale.MetresPerLonMin, 1,
             3, 0.0);
    change = Cycle();
    ASSERT_TRUE(change.LonR.has_value());
    EXPECT_EQ(*change.LonR, 41);
    EXPECT_EQ(change.MaxLabel.View(), "+41m");
}

TEST_F(PosPlotModelTest, TrackKeepsAtMost3599Points)
{
    Cycle();
    for (int index = 0; index < 3700; ++index) {
        SetCycle(kLatitude + index * 1e-4, kLongitude, 1, 3, 0.0);
        const TPosPlotChange change = Cycle();
        ASSERT_TRUE(change.PointAdded);
        ASSERT_EQ(change.OldestRemoved, index >= 3599) << index;
        ASSERT_LE(Model.TrackCount(), 3600);
        ASSERT_EQ(Model.TrackSize(), static_cast<size_t>(Model.TrackCount() - 1));
    }
    EXPECT_EQ(Model.TrackCount(), 3600);
    EXPECT_EQ(Model.TrackSize(), 3599u);
    // The oldest left is the point added 3599 updates before the last.
    EXPECT_DOUBLE_EQ(Model.TrackPoint(0).LatMin, DdmmToMinutes(kLatitude + 101 * 1e-4));
    EXPECT_DOUBLE_EQ(Model.NewestTrackPoint().LatMin, DdmmToMinutes(kLatitude + 3699 * 1e-4));
}

TEST_F(PosPlotModelTest, FixModeKeepsTheCentre)
{
    Controls.Mode = TPlotMode::Fix;
    EXPECT_TRUE(Cycle().Recentred);
    EXPECT_EQ(RecentreRequest.load(), 0);

    SetPosition(3531.0, 13931.0, 1);
    const TPosPlotChange change = Cycle();
    EXPECT_FALSE(change.Recentred);
    EXPECT_DOUBLE_EQ(Model.State().CentreLatMin, 2130.5);
    EXPECT_DOUBLE_EQ(Model.State().CentreLonMin, 8370.25);
    EXPECT_DOUBLE_EQ(Model.State().CurLatMin, 2131.0);

    // Back in Run (the window sets the request on that choice) the centre follows again.
    Controls.Mode = TPlotMode::Run;
    RecentreRequest.store(1);
    EXPECT_TRUE(Cycle().Recentred);
    EXPECT_DOUBLE_EQ(Model.State().CentreLatMin, 2131.0);
    SetPosition(3532.0, 13932.0, 1);
    EXPECT_TRUE(Cycle().Recentred);
    EXPECT_DOUBLE_EQ(Model.State().CentreLatMin, 2132.0);
    EXPECT_EQ(RecentreRequest.load(), 1);
}

TEST_F(PosPlotModelTest, ResetAndClearEmptyThePlotButKeepTheScale)
{
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        SetUp();
        Controls.Mode = TPlotMode::Fix;
        Cycle();
        Cycle();
        Model.UpdateCourse(90.0);
        ASSERT_EQ(Model.TrackSize(), 1u);
        ASSERT_EQ(RecentreRequest.load(), 0);

        if (fullReset) {
            Model.ResetDisplay(RecentreRequest);
        } else {
            Model.ClearDisplay();
        }
        EXPECT_EQ(RecentreRequest.load(), fullReset ? 1 : 0);
        EXPECT_EQ(Model.TrackCount(), 0);
        EXPECT_EQ(Model.TrackSize(), 0u);
        EXPECT_FALSE(Model.Marker().has_value());
        EXPECT_FALSE(Model.HeadingAngle().has_value());
        EXPECT_EQ(Model.State().RangeMetres, 10);
        EXPECT_DOUBLE_EQ(Model.State().CentreLatMin, 2130.5);

        // The first update afterwards only counts again.
        EXPECT_FALSE(Cycle().PointAdded);
        EXPECT_EQ(Model.TrackCount(), 1);
    }
}

TEST_F(PosPlotModelTest, HeadingMarkTurnsWithAValidCourse)
{
    const struct
    {
        double Course;
        std::optional<int> Angle;
    } cases[] = {
        {0.0, 180},
        {90.0, 90},
        {45.99, 135},
        {359.9, -179},
        {360.0, std::nullopt},
        {359.95, std::nullopt},
        {99999.0, std::nullopt},
        {-0.1, std::nullopt},
        {NoValue, std::nullopt},
        {std::nan(""), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Course);
        Model.UpdateCourse(c.Course);
        EXPECT_EQ(Model.HeadingAngle(), c.Angle);
    }
}

} // namespace
} // namespace zz
