#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/SatelliteClass.h"
#include "core/SkyPlot.h"
#include "core/TReceiverState.h"
#include "tests/core/SatelliteTable.h"
#include "tests/ui/RenderImage.h"
#include "ui/charts/ChartGeometry.h"
#include "ui/charts/TChart.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TSatLegend.h"
#include "ui/windows/TSky.h"

namespace zz {
namespace {

using test::RenderWidget;

using test::EmptyState;
using test::SetSlot;

constexpr QRgb kDisc = 0xFF404040;
constexpr QRgb kGrey = 0xFF808080;

// Pixel of a sky position in the form: the chart sits at the form's top left.
QPoint FormPixel(const TSky& sky, double x, double y)
{
    const TChart& chart = sky.Chart();
    const QPointF pixel =
        PlotPixel(x, y, chart.ShownBottomRange(), chart.ShownLeftRange(), QRectF(chart.PlotArea()));
    return chart.geometry().topLeft() +
           QPoint(static_cast<int>(std::floor(pixel.x())), static_cast<int>(std::floor(pixel.y())));
}

TEST(SkyForm, BackgroundIsTheHorizonDiscWithDottedRingsOnBlack)
{
    TSky sky;
    sky.resize(246, 291);
    sky.show();
    ASSERT_EQ(sky.Chart().width(), 246);
    const int d = sky.PlotSide();
    ASSERT_EQ(d, 213);
    const int h = d / 2;
    const QImage& image = sky.SkyBackground();
    ASSERT_EQ(image.size(), QSize(768, 768));

    // Between the first two rings, between two spokes: the disc.
    const double angle = 15.0 * std::numbers::pi / 180.0;
    const double radius = d / 8.0;
    EXPECT_EQ(image.pixel(h + static_cast<int>(radius * std::sin(angle)),
                          h - static_cast<int>(radius * std::cos(angle))),
              kDisc);
    EXPECT_EQ(image.pixel(h + 20, h + 60), kDisc);
    // Outside the disc, in the corners of the square.
    for (const QPoint corner : {QPoint(1, 1), QPoint(d / 10, d / 10), QPoint(d - 2, 1),
                                QPoint(1, d - 2), QPoint(d - 2, d - 2)}) {
        SCOPED_TRACE(testing::Message() << corner.x() << "," << corner.y());
        EXPECT_EQ(image.pixel(corner), 0xFF000000);
    }
    // The horizon is drawn white at the top of the disc.
    bool whiteAtTop = false;
    for (int x = h - 3; x <= h + 3; ++x) {
        whiteAtTop = whiteAtTop || image.pixel(x, 0) == 0xFFFFFFFF;
    }
    EXPECT_TRUE(whiteAtTop);

    // The 45-degree ring: grey dots with disc between them.
    const double ringRadius = (3 * d / 4 - d / 4 - 1) / 2.0;
    const double centre = d / 4 + ringRadius;
    int grey = 0;
    int disc = 0;
    for (int step = 0; step < 720; ++step) {
        const double a = step * std::numbers::pi / 360.0;
        // Keep away from the spokes and the axes, which are grey too.
        const double degrees = std::fmod(step / 2.0, 30.0);
        if (degrees < 6.0 || degrees > 24.0) {
            continue;
        }
        const QRgb pixel =
            image.pixel(static_cast<int>(std::lround(centre + ringRadius * std::cos(a))),
                        static_cast<int>(std::lround(centre + ringRadius * std::sin(a))));
        grey += pixel == kGrey;
        disc += pixel == kDisc;
    }
    EXPECT_GT(grey, 10);
    EXPECT_GT(disc, 10) << "the ring is dotted";
}

TEST(SkyForm, BackgroundFollowsTheChartSide)
{
    TSky sky;
    sky.resize(400, 460);
    sky.show();
    EXPECT_EQ(sky.Chart().width(), 400);
    const int d = sky.PlotSide();
    EXPECT_EQ(d, 367);
    EXPECT_EQ(sky.SkyBackground().pixel(d / 2 + 20, d / 2 + 60), kDisc);
    EXPECT_EQ(sky.SkyBackground().pixel(d - 2, d - 2), 0xFF000000);

    // The chart shows the image at the plot area's top left.
    const QImage shown = RenderWidget(sky);
    const QPoint plotTopLeft = sky.Chart().geometry().topLeft() + sky.Chart().PlotArea().topLeft();
    EXPECT_EQ(shown.pixel(plotTopLeft + QPoint(1, 1)), 0xFF000000);
    EXPECT_EQ(shown.pixel(plotTopLeft + QPoint(d / 2 + 20, d / 2 + 60)), kDisc);
    EXPECT_EQ(shown.pixel(plotTopLeft - QPoint(3, 3)), kDisc) << "margin outside the plot";
}

TEST(SkyForm, MarksStandAtTheirSkyPositionsInTheirClassColours)
{
    TSky sky;
    sky.resize(300, 345);
    sky.show();
    auto state = EmptyState();
    SetSlot(*state, 0, 5, 45, 90, 40);   // used GPS: circle
    SetSlot(*state, 1, 40, 30, 180, 35); // heard SBAS 127: square
    SetSlot(*state, 2, 9, 20, 300, 0);   // silent GPS
    SetSlot(*state, 3, 7, 91, 10, 30);   // below nothing: no mark
    state->UsedPrn[4] = 5;
    sky.UpdateSatellites(*state);

    ASSERT_EQ(sky.GpsSeries().Count(), 2u);
    ASSERT_EQ(sky.SbasSeries().Count(), 1u);
    EXPECT_EQ(sky.GpsSeries().At(0).Label.View(), "5");
    EXPECT_EQ(sky.GpsSeries().At(1).Label.View(), "9");
    EXPECT_EQ(sky.SbasSeries().At(0).Label.View(), "127");

    const QImage image = RenderWidget(sky);
    const QPoint used = FormPixel(sky, 135.0, 90.0);
    EXPECT_EQ(image.pixel(used), 0xFF000000u | kGpsUsedColour);
    EXPECT_NE(image.pixel(used + QPoint(-5, 5)), 0xFF000000u | kGpsUsedColour)
        << "a circle leaves the corners of its box free";
    const TSkyPosition silentAt = SkyPosition(20, 300);
    EXPECT_EQ(image.pixel(FormPixel(sky, silentAt.X, silentAt.Y)),
              0xFF000000u | kGpsNoSignalColour);
    const QPoint sbas = FormPixel(sky, 90.0, 30.0);
    EXPECT_EQ(image.pixel(sbas), 0xFF000000u | kSbasNotUsedColour);
    EXPECT_EQ(image.pixel(sbas + QPoint(-5, 5)), 0xFF000000u | kSbasNotUsedColour)
        << "a square fills its corners";

    // The next table replaces the marks.
    SetSlot(*state, 0, 0, 45, 90, 40);
    sky.UpdateSatellites(*state);
    EXPECT_EQ(sky.GpsSeries().Count(), 1u);
    EXPECT_NE(RenderWidget(sky).pixel(used), 0xFF000000u | kGpsUsedColour);
}

TEST(SkyForm, ResetAndClearLeaveTheGridOnly)
{
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TSky sky;
        sky.resize(246, 291);
        sky.show();
        const QImage empty = RenderWidget(sky);
        auto state = EmptyState();
        SetSlot(*state, 0, 5, 45, 90, 40);
        SetSlot(*state, 1, 40, 30, 180, 35);
        sky.UpdateSatellites(*state);
        EXPECT_NE(RenderWidget(sky), empty);
        fullReset ? sky.ResetDisplay() : sky.ClearDisplay();
        EXPECT_EQ(sky.GpsSeries().Count(), 0u);
        EXPECT_EQ(sky.SbasSeries().Count(), 0u);
        EXPECT_EQ(RenderWidget(sky), empty);
    }
}

TEST(SkyForm, LegendShowsTheSixClassColoursUnderTheChart)
{
    TSky sky;
    sky.resize(254, 300);
    sky.show();
    const TSatLegend& legend = sky.Legend();
    EXPECT_EQ(legend.geometry().top(), sky.Chart().geometry().bottom() + 1);
    const QImage image = RenderWidget(sky);
    for (const TSatKind kind : {TSatKind::Gps, TSatKind::Sbas}) {
        for (const TSatState state : {TSatState::Used, TSatState::NotUsed, TSatState::NoSignal}) {
            const TSatClass satClass{kind, state};
            SCOPED_TRACE(SatClassLegendText(satClass).data());
            const QRect shape = legend.ShapeRect(satClass).translated(legend.pos());
            EXPECT_EQ(image.pixel(shape.center()), 0xFF000000u | SatClassColour(satClass));
            const QRgb corner = image.pixel(shape.topLeft());
            EXPECT_EQ(corner == (0xFF000000u | SatClassColour(satClass)), kind == TSatKind::Sbas)
                << "circles for GPS, squares for SBAS";
        }
    }
}

TEST(SkyForm, HeightFollowsWidthInAChildWindow)
{
    QMdiArea area;
    area.resize(1200, 1200);
    auto* sky = new TSky;
    auto* window = new TChildWindow(sky, QStringLiteral("Sky plot"));
    area.addSubWindow(window);
    window->Place(QRect(0, 355, 254, 321));
    area.show();
    window->show();
    QApplication::processEvents();

    const auto expectHeldHeight = [&] {
        const int side = sky->Chart().width();
        EXPECT_EQ(side, std::min(sky->width(), sky->height()));
        EXPECT_EQ(window->height(), side + TSky::kHeightOverSide);
        EXPECT_EQ(window->minimumHeight(), window->maximumHeight());
        EXPECT_LE(sky->PlotSide(), TSky::kImageSide);
    };
    EXPECT_EQ(window->width(), 254);
    EXPECT_EQ(window->height(), 321);
    EXPECT_EQ(sky->Chart().width(), sky->width()) << "the window is as tall as its width needs";
    expectHeldHeight();

    for (const int width : {400, 230, 100, 1100}) {
        SCOPED_TRACE(width);
        window->resize(width, window->height());
        QApplication::processEvents();
        EXPECT_GE(window->width(), TSky::kMinOuterWidth);
        EXPECT_LE(window->width(), TSky::kMaxOuterWidth);
        EXPECT_EQ(sky->Chart().width(), sky->width());
        expectHeldHeight();
    }
}

} // namespace
} // namespace zz
