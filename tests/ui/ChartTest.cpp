#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "tests/ui/RenderImage.h"
#include "ui/charts/ChartGeometry.h"
#include "ui/charts/TChart.h"

namespace zz {
namespace {

using test::RenderChart;

TEST(ChartGeometry, MapsValuesOntoPixels)
{
    const struct
    {
        double Value;
        TAxisRange Range;
        double Start, End, Expected;
    } cases[] = {
        {0.0, {0.0, 180.0}, 0.0, 180.0, 0.0},
        {90.0, {0.0, 180.0}, 10.0, 190.0, 100.0},
        {180.0, {0.0, 180.0}, 0.0, 360.0, 360.0},
        // A vertical axis runs from the bottom pixel up.
        {10.0, {0.0, 10.0}, 100.0, 0.0, 0.0},
        {-1.0, {-1.0, 1.0}, 20.0, 220.0, 20.0},
        // Values outside the range land outside the span: points are not clipped.
        {20.0, {0.0, 10.0}, 0.0, 100.0, 200.0},
        // An empty range puts everything at its start instead of dividing by zero.
        {5.0, {3.0, 3.0}, 7.0, 70.0, 7.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_DOUBLE_EQ(AxisPixel(c.Value, c.Range, c.Start, c.End), c.Expected);
    }
    const QPointF pixel = PlotPixel(1.0, 1.0, {0.0, 2.0}, {0.0, 4.0}, QRectF(10, 20, 100, 200));
    EXPECT_DOUBLE_EQ(pixel.x(), 60.0);
    EXPECT_DOUBLE_EQ(pixel.y(), 170.0);
}

TEST(ChartGeometry, ThinsStepLabelsUntilTheyFit)
{
    const struct
    {
        TAxisRange Range;
        double Step, Pixels, MinPixels, Expected;
    } cases[] = {
        {{0, 10}, 1, 200, 15, 1},   // 20 px apart: every step
        {{0, 600}, 1, 200, 15, 50}, // 1, 2, 5, 10, 20 are too close
        {{0, 51}, 5, 150, 15, 10},  // the step is a multiple of the given one
        {{401, 1000}, 1, 180, 30, 100}, {{0, 0}, 1, 100, 15, 1}, // nothing to thin
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Range.Max);
        EXPECT_DOUBLE_EQ(LabelStep(c.Range, c.Step, c.Pixels, c.MinPixels), c.Expected);
    }

    std::array<double, kMaxAxisLabels> values{};
    ASSERT_EQ(AxisLabelValues({401, 1000}, 100, values), 6u);
    EXPECT_DOUBLE_EQ(values[0], 500);
    EXPECT_DOUBLE_EQ(values[5], 1000);
    ASSERT_EQ(AxisLabelValues({-1.5, 1.5}, 1, values), 3u);
    EXPECT_DOUBLE_EQ(values[0], -1);
    // Never more labels than the buffer holds, whatever the step.
    EXPECT_EQ(AxisLabelValues({0, 1e6}, 1, values), kMaxAxisLabels);
    EXPECT_EQ(AxisLabelValues({0, 10}, 0, values), 0u);
}

TEST(PointSeries, KeepsItsPointsInARingOfFixedSize)
{
    TPointSeries series(3);
    EXPECT_TRUE(series.Add(1, 10, 0x111111, "12"));
    EXPECT_TRUE(series.Add(2, 20, 0x222222));
    EXPECT_TRUE(series.Add(3, 30, 0x333333));
    EXPECT_FALSE(series.Add(4, 40, 0x444444));
    series.RemoveOldest();
    EXPECT_TRUE(series.Add(4, 40, 0x444444, "a label longer than it holds"));
    ASSERT_EQ(series.Count(), 3u);
    EXPECT_DOUBLE_EQ(series.At(0).X, 2);
    EXPECT_DOUBLE_EQ(series.At(2).Y, 40);
    EXPECT_EQ(series.At(2).Label.View(), "a label lon");
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    ASSERT_TRUE(series.Bounds(minX, maxX, minY, maxY));
    EXPECT_DOUBLE_EQ(minX, 2);
    EXPECT_DOUBLE_EQ(maxY, 40);
    series.Clear();
    EXPECT_EQ(series.Count(), 0u);
    EXPECT_FALSE(series.Bounds(minX, maxX, minY, maxY));
    series.RemoveOldest(); // harmless when empty
    EXPECT_EQ(series.Count(), 0u);
}

TEST(Chart, DrawsMarksBarsAndTheBackgroundImageWhereTheAxesPutThem)
{
    TChart chart;
    chart.resize(220, 220);
    chart.SetMargins(QMargins(10, 10, 10, 10));
    chart.BottomAxis().Range = {0, 200};
    chart.BottomAxis().Visible = false;
    chart.LeftAxis().Range = {0, 200};
    chart.LeftAxis().Visible = false;

    QImage background(50, 50, QImage::Format_RGB32);
    background.fill(QColor(0x12, 0x34, 0x56));
    chart.SetBackgroundImage(background);

    TPointSeries& circles = chart.AddPointSeries(4);
    circles.Shape = TMarkShape::Circle;
    circles.MarkSize = 13;
    circles.Add(100, 100, 0x00F020);
    TPointSeries& diamonds = chart.AddPointSeries(4);
    diamonds.Shape = TMarkShape::Diamond;
    diamonds.MarkSize = 3;
    diamonds.Add(150, 50, 0xFF3000);

    const QImage image = RenderChart(chart);
    // The image sits unscaled at the plot area's top left.
    EXPECT_EQ(image.pixelColor(10, 10), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(image.pixelColor(59, 59), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(image.pixelColor(60, 60), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(0x40, 0x40, 0x40));
    // (100, 100) is the centre of the 200 x 200 area; (150, 50) is right and below it.
    EXPECT_EQ(image.pixelColor(110, 110), QColor(0x00, 0xF0, 0x20));
    EXPECT_EQ(image.pixelColor(160, 160), QColor(0xFF, 0x30, 0x00));
    EXPECT_EQ(image.pixelColor(159, 160), QColor(0xFF, 0x30, 0x00));
    EXPECT_EQ(image.pixelColor(160, 161), QColor(0xFF, 0x30, 0x00));
    EXPECT_NE(image.pixelColor(159, 159), QColor(0xFF, 0x30, 0x00)); // a diamond, not a square
    // An inactive series draws nothing.
    circles.Active = false;
    EXPECT_NE(RenderChart(chart).pixelColor(110, 110), QColor(0x00, 0xF0, 0x20));
}

TEST(Chart, BarsStandOnTheirSlotsInTheirOwnOrTheDefaultColour)
{
    TChart chart;
    chart.resize(201, 101);
    chart.BottomAxis().Range = {-0.5, 1.5};
    chart.BottomAxis().Visible = false;
    chart.LeftAxis().Range = {0, 100};
    chart.LeftAxis().Visible = false;
    TBarSeries& bars = chart.SetBarSeries(2);
    bars.Bars[0].Value = 100;
    bars.Bars[1].Value = 50;
    bars.Bars[1].Colour = 0x00B0FF;
    bars.Bars[1].HasColour = true;

    const QImage image = RenderChart(chart);
    // Bar 0 is centred on x = 50, bar 1 on x = 150; each 55 % of the 100 pixels between them.
    EXPECT_EQ(image.pixelColor(50, 5), QColor(0xFF, 0xE0, 0x00));
    EXPECT_EQ(image.pixelColor(25, 50), QColor(0xFF, 0xE0, 0x00));
    EXPECT_EQ(image.pixelColor(20, 50), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(image.pixelColor(150, 55), QColor(0x00, 0xB0, 0xFF));
    EXPECT_EQ(image.pixelColor(150, 99), QColor(0x00, 0xB0, 0xFF));
    EXPECT_EQ(image.pixelColor(150, 45), QColor(0x40, 0x40, 0x40));
    bars.Visible = false;
    EXPECT_EQ(RenderChart(chart).pixelColor(150, 99), QColor(0x40, 0x40, 0x40));
}

TEST(Chart, AnAutomaticMaximumFollowsTheData)
{
    TChart chart;
    chart.resize(100, 100);
    chart.BottomAxis().Range = {0, 10};
    chart.BottomAxis().AutomaticMaximum = true;
    EXPECT_EQ(chart.ShownBottomRange(), (TAxisRange{0, 10}));
    TPointSeries& series = chart.AddPointSeries(10);
    series.Add(0, 5, 0xFFFFFF);
    EXPECT_EQ(chart.ShownBottomRange(), (TAxisRange{0, 10})); // one point at the minimum
    series.Add(37, 5, 0xFFFFFF);
    EXPECT_EQ(chart.ShownBottomRange(), (TAxisRange{0, 37}));
    EXPECT_EQ(chart.ShownLeftRange(), (TAxisRange{0, 1}));
}

} // namespace
} // namespace zz
