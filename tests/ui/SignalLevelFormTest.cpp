#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <cmath>
#include <memory>

#include "core/SatelliteClass.h"
#include "core/TReceiverState.h"
#include "tests/core/SatelliteTable.h"
#include "tests/ui/RenderImage.h"
#include "ui/charts/ChartGeometry.h"
#include "ui/charts/TChart.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/TCN.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TSatLegend.h"

namespace zz {
namespace {

using test::RenderWidget;

using test::EmptyState;
using test::SetSlot;

// Horizontal pixel of bar slot's centre in the form (the chart sits at the top left).
int BarCentre(const TCN& form, int slot)
{
    const TChart& chart = form.Chart();
    const QRect area = chart.PlotArea();
    return static_cast<int>(
        std::lround(AxisPixel(slot, chart.ShownBottomRange(), area.left(), area.right())));
}

double BarTop(const TCN& form, double value)
{
    const TChart& chart = form.Chart();
    const QRect area = chart.PlotArea();
    return AxisPixel(value, chart.ShownLeftRange(), area.bottom(), area.top());
}

TEST(SignalLevelForm, StartsWithEmptyBarsAndPlaceholderCells)
{
    TCN form;
    EXPECT_TRUE(form.Bars().Visible);
    ASSERT_EQ(form.Bars().Bars.size(), 16u);
    for (const TBar& bar : form.Bars().Bars) {
        EXPECT_EQ(bar.Value, 0.0);
        EXPECT_EQ(bar.Label.View(), "--");
        EXPECT_FALSE(bar.HasColour);
    }
    EXPECT_EQ(form.Bars().DefaultColour, QColor(0xFF, 0xE0, 0x00));
    EXPECT_EQ(form.CellText(0, 0), QStringLiteral("PRN "));
    EXPECT_EQ(form.CellText(0, 3), QStringLiteral("acc  "));
    EXPECT_EQ(form.CellText(16, 2), QStringLiteral("--   "));
    const TChart& chart = form.Chart();
    EXPECT_EQ(chart.LeftAxis().Range, (TAxisRange{0.0, 51.0}));
    EXPECT_EQ(chart.LeftAxis().Title, QStringLiteral("CN  [dB-Hz]"));
    EXPECT_EQ(form.Bars().WidthFraction, 0.55);
}

TEST(SignalLevelForm, GridColumnsStandUnderTheirBars)
{
    TCN form;
    for (int slot = 0; slot < 16; ++slot) {
        SCOPED_TRACE(slot);
        const QRect cell = form.CellRect(slot + 1, 0);
        EXPECT_EQ(cell.size(), QSize(26, 15));
        EXPECT_LE(std::abs(cell.center().x() - BarCentre(form, slot)), 1);
    }
    EXPECT_GE(form.CellRect(0, 0).left(), 0);
    EXPECT_LE(form.CellRect(0, 3).bottom(), form.Legend().geometry().top());
    EXPECT_GE(form.CellRect(0, 0).top(), form.Chart().geometry().bottom());
}

TEST(SignalLevelForm, BarsStandAsHighAsTheirValueInTheirClassColour)
{
    TCN form;
    auto state = EmptyState();
    SetSlot(*state, 0, 5, 45, 123, 40);  // used GPS
    SetSlot(*state, 3, 36, 20, 360, 99); // heard SBAS, cut at the top
    SetSlot(*state, 15, 12, 10, 10, 0);  // silent GPS: no bar, but its colour
    state->UsedPrn[2] = 5;
    form.UpdateSatellites(*state);

    const QImage image = RenderWidget(form);
    const struct
    {
        int Slot;
        double Value;
        uint32_t Colour;
    } bars[] = {{0, 40, kGpsUsedColour}, {3, 51, kSbasNotUsedColour}};
    for (const auto& bar : bars) {
        SCOPED_TRACE(bar.Slot);
        const int x = BarCentre(form, bar.Slot);
        const int top = static_cast<int>(std::ceil(BarTop(form, bar.Value)));
        const int base = static_cast<int>(std::floor(BarTop(form, 0.0)));
        EXPECT_EQ(image.pixel(x, top + 1), 0xFF000000u | bar.Colour);
        EXPECT_EQ(image.pixel(x, base - 1), 0xFF000000u | bar.Colour);
        EXPECT_NE(image.pixel(x, top - 2), 0xFF000000u | bar.Colour) << "no higher";
        EXPECT_NE(image.pixel(x + 10, (top + base) / 2), 0xFF000000u | bar.Colour)
            << "narrower than its slot";
    }
    EXPECT_EQ(form.Bars().Bars[0].Label.View(), "40");
    EXPECT_EQ(form.Bars().Bars[3].Label.View(), "99");
    EXPECT_EQ(form.Bars().Bars[15].Value, 0.0);
    EXPECT_EQ(form.Bars().Bars[15].Colour, 0xFF000000u | kGpsNoSignalColour);

    EXPECT_EQ(form.CellText(1, 0), QStringLiteral("5"));
    EXPECT_EQ(form.CellText(1, 1), QStringLiteral("123"));
    EXPECT_EQ(form.CellText(1, 2), QStringLiteral("45"));
    EXPECT_EQ(form.CellText(4, 0), QStringLiteral("123"));
    EXPECT_EQ(form.CellText(4, 1), QStringLiteral("--"));
    EXPECT_EQ(form.CellText(2, 0), QStringLiteral("--   "));
}

TEST(SignalLevelForm, AccuracyRowFollowsTheShownPrns)
{
    TCN form;
    auto state = EmptyState();
    for (int i = 0; i < kAccuracySlots; ++i) {
        state->SatAccuracy[i] = NoCode;
    }
    state->SatAccuracy[4] = 7;
    SetSlot(*state, 2, 5, 45, 123, 40);
    SetSlot(*state, 3, 35, 45, 123, 40);
    form.UpdateSatellites(*state);
    form.UpdateAccuracy(*state);
    EXPECT_EQ(form.CellText(3, 3), QStringLiteral("7"));
    EXPECT_EQ(form.CellText(4, 0), QStringLiteral("122"));
    EXPECT_EQ(form.CellText(4, 3), QStringLiteral("--   "));
}

TEST(SignalLevelForm, ResetAndClearEmptyCellsAndBarsButKeepColours)
{
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TCN form;
        auto state = EmptyState();
        SetSlot(*state, 0, 5, 45, 123, 40);
        state->SatAccuracy[4] = 2;
        form.UpdateSatellites(*state);
        form.UpdateAccuracy(*state);
        fullReset ? form.ResetDisplay() : form.ClearDisplay();
        for (int column = 1; column <= 16; ++column) {
            for (int row = 0; row < 4; ++row) {
                EXPECT_EQ(form.CellText(column, row), QStringLiteral("--   "))
                    << column << "," << row;
            }
        }
        EXPECT_EQ(form.CellText(0, 1), QStringLiteral("Azi  "));
        EXPECT_EQ(form.Bars().Bars[0].Value, 0.0);
        EXPECT_EQ(form.Bars().Bars[0].Label.View(), "--");
        EXPECT_TRUE(form.Bars().Bars[0].HasColour);
        EXPECT_EQ(form.Bars().Bars[0].Colour, 0xFF000000u | kGpsNotUsedColour);
    }
}

TEST(SignalLevelForm, LegendSquaresInTheClassColours)
{
    TCN form;
    const QImage image = RenderWidget(form);
    const TSatLegend& legend = form.Legend();
    for (const TSatKind kind : {TSatKind::Gps, TSatKind::Sbas}) {
        for (const TSatState state : {TSatState::Used, TSatState::NotUsed, TSatState::NoSignal}) {
            const TSatClass satClass{kind, state};
            SCOPED_TRACE(SatClassLegendText(satClass).data());
            const QRect shape = legend.ShapeRect(satClass).translated(legend.pos());
            EXPECT_TRUE(form.rect().contains(shape));
            EXPECT_EQ(image.pixel(shape.topLeft()), 0xFF000000u | SatClassColour(satClass));
            EXPECT_EQ(image.pixel(shape.center()), 0xFF000000u | SatClassColour(satClass));
        }
    }
}

TEST(SignalLevelForm, FixedWidthAndMinimumHeightInAChildWindow)
{
    QMdiArea area;
    area.resize(1000, 800);
    auto* form = new TCN;
    auto* window = new TChildWindow(form, QStringLiteral("Signal level"));
    area.addSubWindow(window);
    window->Place(QRect(254, 355, 496, 321));
    area.show();
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->geometry(), QRect(254, 355, 496, 321));
    window->resize(700, 100);
    QApplication::processEvents();
    EXPECT_EQ(window->width(), TCN::kOuterWidth);
    EXPECT_EQ(window->height(), TCN::kMinOuterHeight);
    // Still room for the grid and the legend.
    EXPECT_LE(form->Legend().geometry().bottom(), form->height());
    EXPECT_GT(form->Chart().PlotArea().height(), 0);
}

} // namespace
} // namespace zz
