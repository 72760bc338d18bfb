#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/TTimePlotModel.h"

namespace zz {
namespace {

constexpr auto kAltitude = TTimePlotKind::Altitude;
constexpr auto kVelocity = TTimePlotKind::Velocity;
constexpr auto kUp = TUpDownButton::Up;
constexpr auto kDown = TUpDownButton::Down;

// A plot with the control flags the steps read and clear.
struct TPlotFixture
{
    explicit TPlotFixture(TTimePlotKind kind) : Model(kind) {}

    void Plot(int32_t x, double y) { Model.Plot(x, y, ClearPending, PlotClearRequest); }

    std::vector<TTimePoint> Points() const
    {
        std::vector<TTimePoint> points;
        for (int32_t index = 0; index < Model.PointCount(); ++index) {
            points.push_back(Model.Point(index));
        }
        return points;
    }

    TTimePlotModel Model;
    std::atomic<uint8_t> ClearPending{0};
    std::atomic<int32_t> PlotClearRequest{0};
};

TEST(TimePlotModel, TimeAxisShowsTheLastSixHundredSampleNumbers)
{
    const struct
    {
        int32_t X;
        TTimeAxis Expected;
    } cases[] = {
        {1, {0, 1, false}},
        {599, {0, 599, false}},
        {600, {1, 600, false}},
        {1000, {401, 1000, false}},
        {INT32_MAX, {INT32_MAX - 599, INT32_MAX, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.X);
        TPlotFixture plot(kAltitude);
        plot.Plot(c.X, 5.0);
        EXPECT_EQ(plot.Model.TimeAxis(), c.Expected);
    }

    // Sample 0 (counters restarted) lets the maximum follow the data again from 0.
    TPlotFixture plot(kAltitude);
    plot.Plot(450, 5.0);
    plot.Plot(0, 5.0);
    EXPECT_EQ(plot.Model.TimeAxis(), (TTimeAxis{0, 0, true}));
}

TEST(TimePlotModel, OnlyValuesInTheKindsRangeArePlotted)
{
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct
    {
        TTimePlotKind Kind;
        double Y;
        bool Plotted;
    } cases[] = {
        {kAltitude, -999.9, true},   {kAltitude, 40000.0, true},       {kAltitude, 0.0, true},
        {kAltitude, -1000.0, false}, {kAltitude, 40000.5, false},      {kAltitude, kNan, false},
        {kAltitude, kInf, false},    {kAltitude, 2147483648.0, false}, {kVelocity, 0.0, true},
        {kVelocity, 1851.9, true},   {kVelocity, 1852.0, false},       {kVelocity, 99999.0, false},
        {kVelocity, -0.1, false},    {kVelocity, kNan, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.Kind == kAltitude ? "altitude " : "velocity ") << c.Y);
        TPlotFixture plot(c.Kind);
        plot.Plot(7, c.Y);
        ASSERT_EQ(plot.Model.PointCount(), c.Plotted ? 1 : 0);
        if (c.Plotted) {
            EXPECT_EQ(plot.Model.Point(0).X, 7);
            EXPECT_EQ(plot.Model.Point(0).Y, c.Y);
        }
    }
}

TEST(TimePlotModel, SeriesKeepsTheLastSixHundredPoints)
{
    TPlotFixture plot(kAltitude);
    for (int32_t x = 1; x <= 1000; ++x) {
        plot.Plot(x, x * 0.5);
    }
    ASSERT_EQ(plot.Model.PointCount(), 600);
    EXPECT_EQ(plot.Model.Point(0).X, 401);
    EXPECT_EQ(plot.Model.Point(599).X, 1000);
    EXPECT_EQ(plot.Model.Point(599).Y, 500.0);

    // A refused value still scrolls the oldest point out: the series shrinks.
    plot.Plot(1001, -5000.0);
    EXPECT_EQ(plot.Model.PointCount(), 599);
    EXPECT_EQ(plot.Model.Point(0).X, 402);
    plot.Plot(1002, 1.0);
    EXPECT_EQ(plot.Model.PointCount(), 600);
    EXPECT_EQ(plot.Model.Point(599).X, 1002);
}

TEST(TimePlotModel, AutoWidensTheScaleToEveryPoint)
{
    const struct
    {
        const char* What;
        TTimePlotKind Kind;
        std::vector<double> Values;
        const char* Min;
        const char* Max;
        TValueAxis Axis;
    } cases[] = {
        {"altitude above and below", kAltitude, {12.7, -3.2}, "-4", "13", {-4, 13}},
        {"altitude inside", kAltitude, {0.0, 9.9, 3.0}, "0", "10", {0, 10}},
        {"altitude exactly at the maximum", kAltitude, {10.0}, "0", "10", {0, 10}},
        {"altitude whole negative", kAltitude, {-3.0}, "-4", "10", {-4, 10}},
        {"altitude extremes", kAltitude, {-999.9, 40000.0}, "-1000", "40001", {-1000, 40001}},
        {"speed from zero", kVelocity, {0.0, 12.0, 55.4}, "0", "56", {0, 56}},
        {"speed extreme", kVelocity, {1851.9}, "0", "1852", {0, 1852}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TPlotFixture plot(c.Kind);
        int32_t x = 1;
        for (const double y : c.Values) {
            plot.Plot(x++, y);
        }
        EXPECT_EQ(plot.Model.MinEdit(), c.Min);
        EXPECT_EQ(plot.Model.MaxEdit(), c.Max);
        EXPECT_EQ(plot.Model.ValueAxis(), c.Axis);
        EXPECT_EQ(plot.Model.LastValidMin(), c.Axis.Min);
        EXPECT_EQ(plot.Model.LastValidMax(), c.Axis.Max);
    }
}

TEST(TimePlotModel, AutoNeverNarrowsTheScale)
{
    TPlotFixture plot(kAltitude);
    plot.Plot(1, 500.0);
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{0, 501}));
    // The tall point scrolls out; the scale stays.
    for (int32_t x = 2; x <= 700; ++x) {
        plot.Plot(x, 5.0);
    }
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{0, 501}));
    EXPECT_EQ(plot.Model.MaxEdit(), "501");
}

TEST(TimePlotModel, AutoSpeedScaleWithMinimumAboveTheSpeedsDropsToTheSmallest)
{
    TPlotFixture plot(kVelocity);
    plot.Model.SetAutochk(false);
    plot.Model.SetMinEdit("20");
    plot.Model.SetMaxEdit("30");
    plot.Plot(1, 25.0);
    ASSERT_EQ(plot.Model.ValueAxis(), (TValueAxis{20, 30}));
    plot.Model.SetAutochk(true);
    plot.Plot(2, 5.8);
    EXPECT_EQ(plot.Model.MinEdit(), "5");
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{5, 30}));
}

TEST(TimePlotModel, ManualScaleTakesOnlyAUsablePair)
{
    TPlotFixture plot(kAltitude);
    plot.Model.SetAutochk(false);
    plot.Plot(1, 5.0);
    ASSERT_EQ(plot.Model.ValueAxis(), (TValueAxis{0, 10}));

    plot.Model.SetMinEdit("20");
    plot.Model.SetMaxEdit("10");
    plot.Plot(2, 5.0);
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{0, 10}));
    // Without "Auto" the edits keep what the user typed.
    EXPECT_EQ(plot.Model.MinEdit(), "20");
    EXPECT_EQ(plot.Model.MaxEdit(), "10");

    plot.Model.SetMaxEdit("30");
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{0, 10})) << "the axis follows at the next sample";
    plot.Plot(3, 5.0);
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{20, 30}));
    EXPECT_EQ(plot.Model.LastValidMin(), 20);
    EXPECT_EQ(plot.Model.LastValidMax(), 30);

    // A point outside the manual scale does not widen it.
    plot.Plot(4, 100.0);
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{20, 30}));
    EXPECT_EQ(plot.Model.MaxEdit(), "30");

    // Texts that are not integers, and equal limits, leave the axis alone.
    const struct
    {
        const char* Min;
        const char* Max;
    } unusable[] = {{"-", "30"},   {"", "30"},   {"1.5", "30"},
                    {"20", "12a"}, {"25", "25"}, {" 1", "30"}};
    for (const auto& c : unusable) {
        SCOPED_TRACE(testing::Message() << '"' << c.Min << "\" \"" << c.Max << '"');
        plot.Model.SetMinEdit(c.Min);
        plot.Model.SetMaxEdit(c.Max);
        plot.Plot(5, 5.0);
        EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{20, 30}));
    }

    // The speed scale refuses a negative minimum; the altitude scale takes it.
    TPlotFixture speed(kVelocity);
    speed.Model.SetAutochk(false);
    speed.Model.SetMinEdit("-5");
    speed.Model.SetMaxEdit("30");
    speed.Plot(1, 5.0);
    EXPECT_EQ(speed.Model.ValueAxis(), (TValueAxis{0, 10}));
    plot.Model.SetMinEdit("-5");
    plot.Model.SetMaxEdit("+30");
    plot.Plot(6, 5.0);
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{-5, 30}));
}

TEST(TimePlotModel, AutoReplacesAnUnusablePairWithTheLastUsableOne)
{
    TPlotFixture plot(kAltitude);
    plot.Model.SetAutochk(false);
    plot.Model.SetMinEdit("-20");
    plot.Model.SetMaxEdit("80");
    plot.Plot(1, 5.0);
    plot.Model.SetMinEdit("abc");
    plot.Model.SetMaxEdit("");
    plot.Model.SetAutochk(true);
    plot.Plot(2, 5.0);
    EXPECT_EQ(plot.Model.MinEdit(), "-20");
    EXPECT_EQ(plot.Model.MaxEdit(), "80");
    EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{-20, 80}));
}

TEST(TimePlotModel, ScaleEditsParseOnlyWholeIntegers)
{
    const struct
    {
        const char* Text;
        std::optional<int32_t> Expected;
    } cases[] = {
        {"0", 0},
        {"10", 10},
        {"-4", -4},
        {"+7", 7},
        {"9999999", 9999999},
        {"-999999", -999999},
        {"007", 7},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"", std::nullopt},
        {"1.5", std::nullopt},
        {"12a", std::nullopt},
        {" 12", std::nullopt},
        {"12 ", std::nullopt},
        {"--1", std::nullopt},
        {"2147483647", INT32_MAX},
        {"2147483648", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ParseScaleEdit(c.Text), c.Expected);
    }
}

TEST(TimePlotModel, StepButtonsFollowTheirTable)
{
    enum class TControl
    {
        UpDown1,
        UpDown2,
    };
    const struct
    {
        TControl Control;
        TUpDownButton Button;
        TTimePlotKind Kind;
        const char* Min;
        const char* Max;
        const char* Expected; // nullptr: nothing changes
    } cases[] = {
        // UpDown1 steps the minimum.
        {TControl::UpDown1, kUp, kAltitude, "9999999", "9999999", nullptr},
        {TControl::UpDown1, kUp, kAltitude, "-999999", "-999999", "-999998"},
        {TControl::UpDown1, kUp, kAltitude, "3", "10", "4"},
        {TControl::UpDown1, kUp, kAltitude, "8", "10", "9"},
        {TControl::UpDown1, kUp, kAltitude, "9", "10", nullptr},
        {TControl::UpDown1, kUp, kAltitude, "12", "10", nullptr},
        {TControl::UpDown1, kDown, kAltitude, "9999999", "9999999", "9999998"},
        {TControl::UpDown1, kDown, kAltitude, "9999999", "10", nullptr},
        {TControl::UpDown1, kDown, kAltitude, "-999999", "10", nullptr},
        {TControl::UpDown1, kDown, kAltitude, "0", "10", "-1"},
        {TControl::UpDown1, kDown, kAltitude, "-99999", "10", "-100000"},
        {TControl::UpDown1, kDown, kAltitude, "30", "10", "29"},
        {TControl::UpDown1, kDown, kVelocity, "0", "10", nullptr},
        {TControl::UpDown1, kDown, kVelocity, "1", "10", "0"},
        {TControl::UpDown1, kDown, kVelocity, "-3", "10", nullptr},
        {TControl::UpDown1, kUp, kVelocity, "9", "10", nullptr},
        {TControl::UpDown1, kUp, kVelocity, "3", "10", "4"},
        // UpDown2 steps the maximum.
        {TControl::UpDown2, kUp, kAltitude, "0", "9999999", nullptr},
        {TControl::UpDown2, kUp, kAltitude, "0", "10", "11"},
        {TControl::UpDown2, kUp, kAltitude, "50", "10", "11"},
        {TControl::UpDown2, kUp, kVelocity, "0", "-999999", "-999998"},
        {TControl::UpDown2, kDown, kAltitude, "-999999", "-999999", nullptr},
        {TControl::UpDown2, kDown, kAltitude, "0", "10", "9"},
        {TControl::UpDown2, kDown, kAltitude, "8", "10", "9"},
        {TControl::UpDown2, kDown, kAltitude, "9", "10", nullptr},
        {TControl::UpDown2, kDown, kVelocity, "9", "10", nullptr},
        {TControl::UpDown2, kDown, kVelocity, "0", "10", "9"},
        // Either edit not an integer: nothing, whichever button.
        {TControl::UpDown1, kUp, kAltitude, "-", "10", nullptr},
        {TControl::UpDown1, kDown, kAltitude, "", "10", nullptr},
        {TControl::UpDown1, kUp, kAltitude, "3", "-", nullptr},
        {TControl::UpDown1, kDown, kAltitude, "3", "", nullptr},
        {TControl::UpDown2, kUp, kAltitude, "-", "10", nullptr},
        {TControl::UpDown2, kDown, kAltitude, "", "10", nullptr},
        {TControl::UpDown2, kUp, kAltitude, "0", "", nullptr},
        {TControl::UpDown2, kDown, kVelocity, "0", "1.5", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.Control == TControl::UpDown1 ? "UpDown1 " : "UpDown2 ")
                     << (c.Button == kUp ? "up " : "down ")
                     << (c.Kind == kAltitude ? "altitude" : "velocity") << " min \"" << c.Min
                     << "\" max \"" << c.Max << '"');
        const std::optional<TShortText> result = c.Control == TControl::UpDown1
                                                     ? UpDown1Click(c.Kind, c.Button, c.Min, c.Max)
                                                     : UpDown2Click(c.Kind, c.Button, c.Min, c.Max);
        if (c.Expected == nullptr) {
            EXPECT_FALSE(result.has_value()) << std::string(result->View());
        } else {
            ASSERT_TRUE(result.has_value());
            EXPECT_EQ(result->View(), c.Expected);
        }
    }
}

TEST(TimePlotModel, ResetRestoresTheScaleAndClearKeepsIt)
{
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TPlotFixture plot(kAltitude);
        plot.Plot(700, 50.5);
        plot.Model.SetAutochk(false);
        plot.Model.SetMinEdit("-7");
        plot.Plot(701, 5.0);
        ASSERT_EQ(plot.Model.ValueAxis(), (TValueAxis{-7, 51}));

        if (fullReset) {
            plot.Model.ResetDisplay();
        } else {
            plot.Model.ClearDisplay();
        }
        EXPECT_EQ(plot.Model.PointCount(), 0);
        EXPECT_EQ(plot.Model.TimeAxis(), (TTimeAxis{0, 0, true}));
        if (fullReset) {
            EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{0, 10}));
            EXPECT_EQ(plot.Model.MinEdit(), "0");
            EXPECT_EQ(plot.Model.MaxEdit(), "10");
            EXPECT_TRUE(plot.Model.Autochk());
        } else {
            EXPECT_EQ(plot.Model.ValueAxis(), (TValueAxis{-7, 51}));
            EXPECT_EQ(plot.Model.MinEdit(), "-7");
            EXPECT_EQ(plot.Model.MaxEdit(), "51");
            EXPECT_FALSE(plot.Model.Autochk());
        }
    }

    TPlotFixture plot(kVelocity);
    plot.Plot(3, 5.0);
    plot.Plot(4, 6.0);
    plot.Model.ClearSeries();
    EXPECT_EQ(plot.Model.PointCount(), 0);
    plot.Plot(1, 7.0);
    ASSERT_EQ(plot.Model.PointCount(), 1);
    EXPECT_EQ(plot.Model.Point(0).X, 1);
}

// After a reset the main window raises the clear request and the pending flag; the steps drop
// what still carries the old numbering.
TEST(TimePlotModel, PointsFromBeforeAResetAreDropped)
{
    // The counters restart at 0 (served while bytes arrived): sample 0 empties the series.
    {
        TPlotFixture plot(kAltitude);
        for (int32_t x = 1; x <= 5; ++x) {
            plot.Plot(x, 1.0);
        }
        plot.ClearPending = 1;
        plot.Plot(0, 2.0);
        EXPECT_EQ(plot.ClearPending.load(), 0);
        ASSERT_EQ(plot.Model.PointCount(), 1);
        EXPECT_EQ(plot.Model.Point(0).X, 0);
        plot.Plot(0, 3.0);
        EXPECT_EQ(plot.Model.PointCount(), 2) << "served once";
    }
    // Sample 0 without a pending clear keeps the series.
    {
        TPlotFixture plot(kAltitude);
        plot.Plot(4, 1.0);
        plot.Plot(0, 2.0);
        EXPECT_EQ(plot.Model.PointCount(), 2);
    }
    // One stale point arrives after the reset, before the protocol thread restarts at 1.
    {
        TPlotFixture plot(kVelocity);
        for (int32_t x = 1; x <= 40; ++x) {
            plot.Plot(x, 1.0);
        }
        plot.Model.ResetDisplay();
        plot.ClearPending = 1;
        plot.PlotClearRequest = 1;
        plot.Plot(41, 2.0);
        EXPECT_EQ(plot.Model.PointCount(), 0);
        EXPECT_EQ(plot.ClearPending.load(), 0);
        EXPECT_EQ(plot.PlotClearRequest.load(), 1) << "the protocol thread serves the request";
        // The restarted numbering is kept.
        plot.PlotClearRequest = 0;
        plot.Plot(1, 3.0);
        EXPECT_EQ(plot.Model.PointCount(), 1);
    }
    // A first point numbered 1 is the new numbering: kept, and the clear stays pending.
    {
        TPlotFixture plot(kAltitude);
        plot.ClearPending = 1;
        plot.PlotClearRequest = 1;
        plot.Plot(1, 2.0);
        EXPECT_EQ(plot.Model.PointCount(), 1);
        EXPECT_EQ(plot.ClearPending.load(), 1);
    }
    // Without the request (the counters already restarted) a lone point is kept.
    {
        TPlotFixture plot(kAltitude);
        plot.ClearPending = 1;
        plot.Plot(9, 2.0);
        EXPECT_EQ(plot.Model.PointCount(), 1);
        EXPECT_EQ(plot.ClearPending.load(), 1);
    }
    // More than one point (the reset did not empty the series) is not this case.
    {
        TPlotFixture plot(kAltitude);
        plot.Plot(8, 1.0);
        plot.ClearPending = 1;
        plot.PlotClearRequest = 1;
        plot.Plot(9, 2.0);
        EXPECT_EQ(plot.Model.PointCount(), 2);
    }
}

} // namespace
} // namespace zz
