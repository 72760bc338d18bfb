#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "core/TReceiverState.h"
#include "tests/ui/RenderImage.h"
#include "ui/charts/ChartGeometry.h"
#include "ui/charts/TChart.h"
#include "ui/windows/TAltiPlot.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TUpDown.h"
#include "ui/windows/TVeloPlot.h"

namespace zz {
namespace {

using test::RenderChart;

constexpr QSize kClientSize{199, 320};

TReceiverState Sample(int32_t altitudeCount, double altitude, int32_t velocityCount, double speed)
{
    TReceiverState state{};
    ResetReceiverState(state);
    state.AltitudeSampleCount = altitudeCount;
    state.Altitude = altitude;
    state.VelocitySampleCount = velocityCount;
    state.Speed = speed;
    return state;
}

bool IsWhite(const QImage& image, QPoint pixel)
{
    return image.pixel(pixel) == qRgb(255, 255, 255);
}

void ClickUpDown(TUpDown* upDown, TUpDownButton button)
{
    QTest::mouseClick(upDown->Button(button), Qt::LeftButton);
}

TEST(TimePlotForms, ControlsCarryTheirNamesAndCaptions)
{
    TControlFlags flags;
    TAltiPlot altitude(flags);
    TVeloPlot velocity(flags);
    const struct
    {
        TTimePlotForm* Form;
        const char* Chart;
        const char* Scale;
        const char* LeftTitle;
        QString Max;
        QString Min;
    } cases[] = {
        {&altitude, "AltiChart", "Altitude Scale", "Altitude  [m]", QStringLiteral("Max[m]："),
         QStringLiteral("Min[m]：")},
        {&velocity, "VeloChart", "Velocity Scale", "Velocity  [km/h]",
         QStringLiteral("Max[km/h]："), QStringLiteral("Min[km/h]：")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Chart);
        TTimePlotForm& form = *c.Form;
        EXPECT_EQ(form.Chart()->objectName(), c.Chart);
        EXPECT_EQ(form.Chart()->LeftAxis().Title, c.LeftTitle);
        EXPECT_EQ(form.Chart()->BottomAxis().Title, QStringLiteral("Time"));
        EXPECT_EQ(form.Chart()->BottomAxis().Decimals, 0);
        EXPECT_EQ(form.Series1().Capacity(), 600u);
        EXPECT_EQ(form.Series1().Shape, TMarkShape::Diamond);
        EXPECT_EQ(form.Series1().MarkSize, 3);
        EXPECT_FALSE(form.Series1().JoinPoints);
        ASSERT_NE(form.findChild<QGroupBox*>(), nullptr);
        EXPECT_EQ(form.findChild<QGroupBox*>()->title(), c.Scale);

        QStringList captions;
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            captions << label->text();
        }
        EXPECT_TRUE(captions.contains(c.Max)) << captions.join('|').toStdString();
        EXPECT_TRUE(captions.contains(c.Min)) << captions.join('|').toStdString();

        for (const char* name : {"MinEdit", "MaxEdit"}) {
            const auto* edit = form.findChild<QLineEdit*>(name);
            ASSERT_NE(edit, nullptr) << name;
            EXPECT_EQ(edit->maxLength(), 7);
        }
        EXPECT_EQ(form.MinEdit()->text(), "0");
        EXPECT_EQ(form.MaxEdit()->text(), "10");
        EXPECT_EQ(form.findChild<TUpDown*>("UpDown1"), form.UpDown1());
        EXPECT_EQ(form.findChild<TUpDown*>("UpDown2"), form.UpDown2());
        ASSERT_NE(form.findChild<QCheckBox*>("Autochk"), nullptr);
        EXPECT_TRUE(form.Autochk()->isChecked());
        EXPECT_EQ(form.Autochk()->text(), "Auto");
    }

    EXPECT_EQ(altitude.CheckBox1(), nullptr);
    QCheckBox* join = velocity.findChild<QCheckBox*>("CheckBox1");
    ASSERT_NE(join, nullptr);
    EXPECT_EQ(join->text(), "   ");
    EXPECT_TRUE(join->isHidden());
    EXPECT_FALSE(join->isEnabled());
    join->setChecked(true);
    velocity.CheckBox1Click();
    EXPECT_TRUE(velocity.Series1().JoinPoints);
}

TEST(TimePlotForms, PointIsWhiteAtItsPixelInsideTheScrollingWindow)
{
    TControlFlags flags;
    TAltiPlot form(flags);
    form.resize(kClientSize);
    form.show();
    for (int32_t x = 1; x <= 1000; ++x) {
        form.UpdatePlot(Sample(x, x == 700 ? 8.0 : 2.0, 0, 0.0));
    }
    const TChart& chart = *form.Chart();
    EXPECT_EQ(chart.ShownBottomRange(), (TAxisRange{401, 1000}));
    EXPECT_EQ(chart.ShownLeftRange(), (TAxisRange{0, 10}));
    ASSERT_EQ(form.Series1().Count(), 600u);
    EXPECT_EQ(form.Series1().At(0).X, 401);

    const QImage image = RenderChart(chart);
    const QRect area = chart.PlotArea();
    ASSERT_GT(area.width(), 100);
    ASSERT_GT(area.height(), 100);
    const auto pixelOf = [&](double x, double y) {
        const QPointF point = PlotPixel(x, y, {401, 1000}, {0, 10}, area);
        return QPoint(static_cast<int>(std::floor(point.x())),
                      static_cast<int>(std::floor(point.y())));
    };
    const QPoint tall = pixelOf(700, 8.0);
    EXPECT_TRUE(IsWhite(image, tall));
    EXPECT_TRUE(IsWhite(image, tall + QPoint(1, 0)));
    EXPECT_TRUE(IsWhite(image, tall + QPoint(0, -1)));
    // Nothing at x = 700 between the tall point and the row of low ones.
    EXPECT_FALSE(IsWhite(image, pixelOf(700, 5.5)));
    EXPECT_TRUE(IsWhite(image, pixelOf(550, 2.0)));
    EXPECT_FALSE(IsWhite(image, pixelOf(550, 8.0)));
}

TEST(TimePlotForms, UpdateReadsItsOwnSampleAndClearFlag)
{
    TControlFlags flags;
    TAltiPlot altitude(flags);
    TVeloPlot velocity(flags);
    altitude.UpdatePlot(Sample(3, 120.0, 4, 55.0));
    velocity.UpdatePlot(Sample(3, 120.0, 4, 55.0));
    ASSERT_EQ(altitude.Series1().Count(), 1u);
    EXPECT_EQ(altitude.Series1().At(0).X, 3);
    EXPECT_EQ(altitude.Series1().At(0).Y, 120.0);
    EXPECT_EQ(altitude.MaxEdit()->text(), "121");
    ASSERT_EQ(velocity.Series1().Count(), 1u);
    EXPECT_EQ(velocity.Series1().At(0).X, 4);
    EXPECT_EQ(velocity.Series1().At(0).Y, 55.0);
    EXPECT_EQ(velocity.MaxEdit()->text(), "56");
    EXPECT_EQ(velocity.Chart()->ShownLeftRange(), (TAxisRange{0, 56}));

    // Counters restarted at 0: each plot serves only its own pending clear.
    flags.AltClearPending = 1;
    flags.VeloClearPending = 1;
    altitude.UpdatePlot(Sample(0, 7.0, 5, 9.0));
    EXPECT_EQ(flags.AltClearPending.load(), 0);
    EXPECT_EQ(flags.VeloClearPending.load(), 1);
    EXPECT_EQ(altitude.Series1().Count(), 1u);
    EXPECT_TRUE(altitude.Chart()->BottomAxis().AutomaticMaximum);

    // A stale point after a reset, while the clear request is still open, is dropped.
    flags.PlotClearRequest = 1;
    velocity.ResetDisplay();
    velocity.UpdatePlot(Sample(0, 7.0, 5, 9.0));
    EXPECT_EQ(velocity.Series1().Count(), 0u);
    EXPECT_EQ(velocity.Model().PointCount(), 0);
    EXPECT_EQ(flags.VeloClearPending.load(), 0);

    altitude.ClearSeries();
    EXPECT_EQ(altitude.Series1().Count(), 0u);
    EXPECT_EQ(altitude.Model().PointCount(), 0);
}

TEST(TimePlotForms, AutoDisablesTheEditsAndTheirButtons)
{
    TControlFlags flags;
    TVeloPlot form(flags);
    form.resize(kClientSize);
    form.show();
    const QWidget* controls[] = {form.MinEdit(), form.MaxEdit(), form.UpDown1(), form.UpDown2()};
    for (const QWidget* control : controls) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    QTest::mouseClick(form.Autochk(), Qt::LeftButton);
    EXPECT_FALSE(form.Autochk()->isChecked());
    EXPECT_FALSE(form.Model().Autochk());
    for (const QWidget* control : controls) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    QTest::mouseClick(form.Autochk(), Qt::LeftButton);
    for (const QWidget* control : controls) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
}

TEST(TimePlotForms, StepButtonsWriteTheEditsAndTheAxisFollowsAtTheNextSample)
{
    TControlFlags flags;
    TAltiPlot form(flags);
    form.resize(kClientSize);
    form.show();
    QTest::mouseClick(form.Autochk(), Qt::LeftButton);

    ClickUpDown(form.UpDown2(), TUpDownButton::Up);
    EXPECT_EQ(form.MaxEdit()->text(), "11");
    ClickUpDown(form.UpDown1(), TUpDownButton::Down);
    EXPECT_EQ(form.MinEdit()->text(), "-1");
    EXPECT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{0, 10}));
    form.UpdatePlot(Sample(1, 3.0, 0, 0.0));
    EXPECT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{-1, 11}));

    // Typed texts: min 9, max 10 leave no room to step towards each other.
    form.MinEdit()->selectAll();
    QTest::keyClicks(form.MinEdit(), "9");
    form.MaxEdit()->selectAll();
    QTest::keyClicks(form.MaxEdit(), "10");
    ClickUpDown(form.UpDown1(), TUpDownButton::Up);
    ClickUpDown(form.UpDown2(), TUpDownButton::Down);
    EXPECT_EQ(form.MinEdit()->text(), "9");
    EXPECT_EQ(form.MaxEdit()->text(), "10");

    // A lone minus sign is no number: neither button does anything.
    form.MinEdit()->selectAll();
    QTest::keyClicks(form.MinEdit(), "-");
    for (TUpDown* upDown : {form.UpDown1(), form.UpDown2()}) {
        for (const TUpDownButton button : {TUpDownButton::Up, TUpDownButton::Down}) {
            ClickUpDown(upDown, button);
        }
    }
    EXPECT_EQ(form.MinEdit()->text(), "-");
    EXPECT_EQ(form.MaxEdit()->text(), "10");
    form.UpdatePlot(Sample(2, 3.0, 0, 0.0));
    EXPECT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{-1, 11}));

    // Typing a usable minimum and ticking "Auto" again keeps the typed pair.
    form.MinEdit()->selectAll();
    QTest::keyClicks(form.MinEdit(), "-5");
    QTest::mouseClick(form.Autochk(), Qt::LeftButton);
    form.UpdatePlot(Sample(3, 3.0, 0, 0.0));
    EXPECT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{-5, 10}));
    EXPECT_EQ(form.MinEdit()->text(), "-5");
}

TEST(TimePlotForms, ResetRestoresTheScaleAndClearKeepsIt)
{
    TControlFlags flags;
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TVeloPlot form(flags);
        form.resize(kClientSize);
        form.UpdatePlot(Sample(0, 0.0, 650, 77.0));
        QTest::mouseClick(form.Autochk(), Qt::LeftButton);
        ClickUpDown(form.UpDown1(), TUpDownButton::Up);
        form.UpdatePlot(Sample(0, 0.0, 651, 7.0));
        ASSERT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{1, 78}));
        ASSERT_EQ(form.Chart()->ShownBottomRange(), (TAxisRange{52, 651}));

        if (fullReset) {
            form.ResetDisplay();
        } else {
            form.ClearDisplay();
        }
        EXPECT_EQ(form.Series1().Count(), 0u);
        EXPECT_EQ(form.Model().PointCount(), 0);
        EXPECT_EQ(form.Chart()->BottomAxis().Range.Min, 0.0);
        EXPECT_TRUE(form.Chart()->BottomAxis().AutomaticMaximum);
        if (fullReset) {
            EXPECT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{0, 10}));
            EXPECT_EQ(form.MinEdit()->text(), "0");
            EXPECT_EQ(form.MaxEdit()->text(), "10");
            EXPECT_TRUE(form.Autochk()->isChecked());
            EXPECT_FALSE(form.MinEdit()->isEnabled());
            EXPECT_FALSE(form.UpDown2()->isEnabled());
        } else {
            EXPECT_EQ(form.Chart()->LeftAxis().Range, (TAxisRange{1, 78}));
            EXPECT_EQ(form.MinEdit()->text(), "1");
            EXPECT_EQ(form.MaxEdit()->text(), "78");
            EXPECT_FALSE(form.Autochk()->isChecked());
            EXPECT_TRUE(form.MinEdit()->isEnabled());
        }
        // The next sample starts the new numbering.
        form.UpdatePlot(Sample(0, 0.0, 1, 5.0));
        EXPECT_EQ(form.Series1().Count(), 1u);
        EXPECT_EQ(form.Chart()->ShownBottomRange(), (TAxisRange{0, 1}));
    }
}

TEST(TimePlotForms, ChildWindowKeepsItsMinimumSize)
{
    TControlFlags flags;
    QMdiArea area;
    area.resize(800, 600);
    auto* window = new TChildWindow(new TAltiPlot(flags), QStringLiteral("Altitude plot"));
    area.addSubWindow(window);
    window->Place(QRect(598, 0, 207, 355));
    area.show();
    window->show();
    EXPECT_EQ(window->minimumSize(), TTimePlotForm::kMinimumOuterSize);
    EXPECT_EQ(window->size(), QSize(207, 355));
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(207, 250));
}

} // namespace
} // namespace zz
