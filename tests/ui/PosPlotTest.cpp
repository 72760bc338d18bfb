#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPainter>
#include <QRadioButton>
#include <cmath>

#include "core/PositionPlot.h"
#include "core/TControlFlags.h"
#include "core/TReceiverState.h"
#include "tests/ui/RenderImage.h"
#include "ui/charts/TChart.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TPosPlot.h"
#include "ui/windows/TPosPlotLegend.h"

namespace zz {
namespace {

using test::RenderChart;

constexpr double kLatitude = 3530.5;
constexpr double kLongitude = 13930.25;
const QColor kSquare(0x48, 0x48, 0x48);
const QColor kGrid(0x80, 0x80, 0x80);

// Pixel where the chart puts a point of the plot.
QPoint PixelOf(const TChart& chart, double lonMin, double latMin)
{
    const QPointF pixel = PlotPixel(lonMin, latMin, chart.ShownBottomRange(),
                                    chart.ShownLeftRange(), QRectF(chart.PlotArea()));
    return {static_cast<int>(std::floor(pixel.x())), static_cast<int>(std::floor(pixel.y()))};
}

// A shown position plot, fed cycles as the display cycle feeds it after a full reset.
class PosPlotTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetReceiverState(State);
        State.FixQuality = 1;
        State.Latitude = kLatitude;
        State.Longitude = kLongitude;
        SetCycle(kLatitude, kLongitude);
        Form.resize(347, 330);
        Form.show();
        QApplication::processEvents();
        Form.ResetDisplay();
    }

    void SetCycle(double latitude, double longitude)
    {
        State.CycleLatitude = latitude;
        State.CycleLongitude = longitude;
        State.CycleFixQuality = 1;
        State.CycleFixMode = 3;
        State.CycleRotStatus = 0.0;
    }

    void Cycle()
    {
        Pending = true;
        Form.UpdatePosition(State, Pending);
    }

    template <typename T> T* Child(const char* name)
    {
        T* child = Form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QString LabelText(const char* name) { return Child<QLabel>(name)->text(); }

    QRadioButton* ModeButton(const char* text)
    {
        for (QRadioButton* button : Child<QGroupBox>("Modechk")->findChildren<QRadioButton*>()) {
            if (button->text() == QLatin1String(text)) {
                return button;
            }
        }
        ADD_FAILURE() << text;
        return nullptr;
    }

    TControlFlags Flags;
    TPosPlot Form{Flags};
    TReceiverState State{};
    bool Pending = false;
};

TEST_F(PosPlotTest, StartsWithTheDefaultLabelsAndSettings)
{
    TControlFlags flags;
    TPosPlot fresh(flags);
    EXPECT_EQ(flags.RecentreRequest.load(), 0) << "only the full reset asks to recentre";
    const struct
    {
        const char* Name;
        const char* Text;
    } labels[] = {
        {"LonCen", "--"},    {"LonMinM", "-10m"}, {"LonCenM", "0m"},
        {"LonMaxM", "+10m"}, {"LatMaxM", "+10m"}, {"LatCen", "Latitude          \n--\n0m"},
        {"LatMinM", "-10m"},
    };
    for (const auto& label : labels) {
        SCOPED_TRACE(label.Name);
        const auto* widget = fresh.findChild<QLabel*>(QString::fromLatin1(label.Name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->text(), QString::fromLatin1(label.Text));
    }
    const auto* autochk = fresh.findChild<QCheckBox*>(QStringLiteral("Autochk"));
    const auto* plotchk = fresh.findChild<QCheckBox*>(QStringLiteral("Plotchk"));
    const auto* lonR = fresh.findChild<QLineEdit*>(QStringLiteral("LonR"));
    const auto* modechk = fresh.findChild<QGroupBox*>(QStringLiteral("Modechk"));
    ASSERT_TRUE(autochk && plotchk && lonR && modechk);
    EXPECT_EQ(autochk->text(), QStringLiteral("Auto"));
    EXPECT_TRUE(autochk->isChecked());
    EXPECT_EQ(plotchk->text(), QStringLiteral("Plot No fix"));
    EXPECT_FALSE(plotchk->isChecked());
    EXPECT_EQ(lonR->text(), QStringLiteral("10"));
    EXPECT_EQ(lonR->maxLength(), 10);
    EXPECT_FALSE(lonR->isEnabled());
    EXPECT_EQ(modechk->title(), QStringLiteral("Plot Mode"));
    const auto modes = modechk->findChildren<QRadioButton*>();
    ASSERT_EQ(modes.size(), 2);
    EXPECT_EQ(modes[0]->text(), QStringLiteral("Run"));
    EXPECT_TRUE(modes[0]->isChecked());
    EXPECT_EQ(modes[1]->text(), QStringLiteral("Fix"));
    EXPECT_EQ(autochk->parentWidget()->property("title").toString(),
              QStringLiteral("Position Range"));
}

TEST_F(PosPlotTest, LegendCirclesCarryTheTrackColours)
{
    TPosPlotLegend& legend = Form.Legend();
    QImage image(legend.size(), QImage::Format_RGB32);
    legend.render(&image);
    const uint32_t expected[] = {0xFFFFFF, 0xFF3000, 0xB0FFB0, 0x00F020,
                                 0x90E0FF, 0x00B0FF, 0xFFE000, 0x000000};
    for (int line = 0; line < TPosPlotLegend::kLineCount; ++line) {
        SCOPED_TRACE(line);
        EXPECT_EQ(image.pixelColor(legend.CircleCentre(line)), QColor::fromRgb(expected[line]));
    }
    EXPECT_EQ(image.pixelColor(legend.width() - 1, 0), kSquare);
}

TEST_F(PosPlotTest, AutoLocksTheRangeEditAndRunAsksToRecentre)
{
    auto* autochk = Child<QCheckBox>("Autochk");
    auto* lonR = Child<QLineEdit>("LonR");
    autochk->click();
    EXPECT_TRUE(lonR->isEnabled());
    autochk->click();
    EXPECT_FALSE(lonR->isEnabled());

    Flags.RecentreRequest.store(0);
    ModeButton("Fix")->click();
    EXPECT_EQ(Flags.RecentreRequest.load(), 0);
    ModeButton("Run")->click();
    EXPECT_EQ(Flags.RecentreRequest.load(), 1);
}

TEST_F(PosPlotTest, ResetRestoresTheSettingsWhereClearKeepsThem)
{
    Child<QCheckBox>("Autochk")->click();
    Child<QLineEdit>("LonR")->setText(QStringLiteral("25"));
    Child<QCheckBox>("Plotchk")->click();
    ModeButton("Fix")->click();
    Cycle();
    Form.UpdateCourse(State);
    SetCycle(kLatitude + 0.001, kLongitude);
    Cycle();
    ASSERT_EQ(Form.TrackSeries().Count(), 1u);
    ASSERT_EQ(Form.TrackCount(), 2);
    ASSERT_EQ(Form.MarkerSeries().Count(), 1u);
    ASSERT_EQ(LabelText("LonMaxM"), QStringLiteral("+25m"));
    ASSERT_EQ(LabelText("LonCen"), QStringLiteral("E 139 30' 15.000\""));
    ASSERT_EQ(LabelText("LatCen"), QStringLiteral("Latitude          \nN 035 30' 30.000\"\n0m"));
    ASSERT_EQ(Flags.RecentreRequest.load(), 0);

    Form.ClearDisplay();
    EXPECT_EQ(Form.TrackSeries().Count(), 0u);
    EXPECT_EQ(Form.MarkerSeries().Count(), 0u);
    EXPECT_FALSE(Form.MarkerSeries().LabelsVisible);
    EXPECT_EQ(Form.TrackCount(), 0);
    EXPECT_EQ(Flags.RecentreRequest.load(), 0);
    EXPECT_EQ(LabelText("LonMaxM"), QStringLiteral("+25m"));
    EXPECT_EQ(LabelText("LatMinM"), QStringLiteral("-25m"));
    EXPECT_EQ(LabelText("LonCen"), QStringLiteral("E 139 30' 15.000\""));
    EXPECT_EQ(Child<QLineEdit>("LonR")->text(), QStringLiteral("25"));
    EXPECT_FALSE(Child<QCheckBox>("Autochk")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("Plotchk")->isChecked());
    EXPECT_TRUE(ModeButton("Fix")->isChecked());

    Cycle();
    Cycle();
    Form.ResetDisplay();
    EXPECT_EQ(Form.TrackSeries().Count(), 0u);
    EXPECT_EQ(Form.TrackCount(), 0);
    EXPECT_EQ(Flags.RecentreRequest.load(), 1);
    EXPECT_EQ(LabelText("LonMaxM"), QStringLiteral("+10m"));
    EXPECT_EQ(LabelText("LatMaxM"), QStringLiteral("+10m"));
    EXPECT_EQ(LabelText("LonMinM"), QStringLiteral("-10m"));
    EXPECT_EQ(LabelText("LatMinM"), QStringLiteral("-10m"));
    EXPECT_EQ(LabelText("LonCen"), QStringLiteral("--"));
    EXPECT_EQ(LabelText("LatCen"), QStringLiteral("Latitude          \n--\n0m"));
    EXPECT_EQ(Child<QLineEdit>("LonR")->text(), QStringLiteral("10"));
    EXPECT_FALSE(Child<QLineEdit>("LonR")->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>("Autochk")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>("Plotchk")->isChecked());
    EXPECT_TRUE(ModeButton("Run")->isChecked());
}

TEST_F(PosPlotTest, BackgroundIsADottedFrameAndCrossOnTheSquare)
{
    const TChart& chart = Form.Chart();
    const int width = chart.width();
    const int height = chart.height();
    ASSERT_GT(width, 100);
    ASSERT_GT(height, 100);
    const QImage image = RenderChart(chart);

    EXPECT_EQ(image.pixelColor(width / 4, height / 4), kSquare);
    EXPECT_EQ(image.pixelColor(3 * width / 4, 3 * height / 4), kSquare);
    // Dotted: along each line some pixels are grid grey and some are the square's.
    const auto countAlong = [](const QImage& picture, QPoint start, QPoint step,
                               const QColor& colour) {
        int count = 0;
        for (int index = 0; index < 30; ++index) {
            count += picture.pixelColor(start + index * step) == colour ? 1 : 0;
        }
        return count;
    };
    const int crossX = (width - 12) / 2;
    const int crossY = (height - 13) / 2;
    for (const auto& [start, step] :
         {std::pair{QPoint(crossX, 20), QPoint(0, 1)}, std::pair{QPoint(20, crossY), QPoint(1, 0)},
          std::pair{QPoint(2, 20), QPoint(0, 1)},
          std::pair{QPoint(20, height - 14), QPoint(1, 0)}}) {
        SCOPED_TRACE(testing::Message() << start.x() << "," << start.y());
        EXPECT_GE(countAlong(image, start, step, kGrid), 8);
        EXPECT_GE(countAlong(image, start, step, kSquare), 8);
    }
    // The square's centre is on the cross.
    const TAxisRange lon = chart.ShownBottomRange();
    const TAxisRange lat = chart.ShownLeftRange();
    const QPoint centre = PixelOf(chart, (lon.Min + lon.Max) / 2, (lat.Min + lat.Max) / 2);
    EXPECT_LE(std::abs(centre.x() - crossX), 1);
    EXPECT_LE(std::abs(centre.y() - crossY), 1);

    // A new size draws the background anew.
    Form.resize(Form.width() + 60, Form.height() + 60);
    QApplication::processEvents();
    ASSERT_EQ(Form.Chart().width(), width + 60);
    const QImage resized = RenderChart(Form.Chart());
    EXPECT_GE(countAlong(resized, QPoint((width + 60 - 12) / 2, 20), QPoint(0, 1), kGrid), 8);
    EXPECT_GE(countAlong(resized, QPoint(width + 60 - 14, 20), QPoint(0, 1), kGrid), 8)
        << "the frame follows the right edge";
}

TEST_F(PosPlotTest, TrackPointAndMarkerLandWhereTheScalePutsThem)
{
    const TChart& chart = Form.Chart();
    Cycle();
    // A 3D GPS cycle point 5 m north-east of the centre.
    const TMinuteScale scale = MinuteScaleAt(DdmmToMinutes(kLatitude));
    const double north = 5.0 / scale.MetresPerLatMin;
    const double east = 5.0 / scale.MetresPerLonMin;
    SetCycle(kLatitude + north, kLongitude + east);
    Cycle();
    ASSERT_EQ(Form.TrackSeries().Count(), 1u);
    EXPECT_EQ(chart.ShownBottomRange().Min,
              Form.PlotModel().State().CentreLonMin - Form.PlotModel().State().HalfLonMin);

    QImage image = RenderChart(chart);
    const QPoint point =
        PixelOf(chart, DdmmToMinutes(kLongitude) + east, DdmmToMinutes(kLatitude) + north);
    const QColor gps3D(0x00, 0xF0, 0x20);
    EXPECT_EQ(image.pixelColor(point), gps3D);
    EXPECT_EQ(image.pixelColor(point + QPoint(1, 0)), gps3D);
    EXPECT_EQ(image.pixelColor(point + QPoint(0, -1)), gps3D);
    EXPECT_NE(image.pixelColor(point + QPoint(1, 1)), gps3D) << "a diamond, not a square";

    // The marker: a 2-pixel white square at the current position, the centre of the plot.
    const QPoint marker = PixelOf(chart, DdmmToMinutes(kLongitude), DdmmToMinutes(kLatitude));
    for (const QPoint offset : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
        EXPECT_EQ(image.pixelColor(marker + offset), QColor(Qt::white));
    }
    const auto whiteAround = [&](const QImage& picture) {
        int count = 0;
        for (int dy = -15; dy <= 15; ++dy) {
            for (int dx = -15; dx <= 15; ++dx) {
                const QColor colour = picture.pixelColor(marker + QPoint(dx, dy));
                count += colour.lightness() > 0xC0 ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_EQ(whiteAround(image), 4) << "no heading mark before a course";

    // A valid course shows the outlined "v" around the marker, turned by the course.
    State.Course = 359.9;
    Form.UpdateCourse(State);
    EXPECT_TRUE(Form.MarkerSeries().LabelsVisible);
    EXPECT_EQ(Form.MarkerSeries().LabelAngle, -179.0);
    EXPECT_GT(whiteAround(RenderChart(chart)), 10);
    State.Course = 360.0;
    Form.UpdateCourse(State);
    EXPECT_FALSE(Form.MarkerSeries().LabelsVisible);
    EXPECT_EQ(whiteAround(RenderChart(chart)), 4);

    // Without a fix the marker goes; the new cycle's point still joins the track.
    State.FixQuality = 0;
    Cycle();
    EXPECT_EQ(Form.MarkerSeries().Count(), 0u);
    EXPECT_EQ(Form.TrackSeries().Count(), 2u);
}

TEST_F(PosPlotTest, AutoRangeWritesTheEditAndTheScaleLabels)
{
    Cycle();
    const TMinuteScale scale = MinuteScaleAt(DdmmToMinutes(kLatitude));
    SetCycle(kLatitude, kLongitude + 25.0 / scale.MetresPerLonMin);
    Cycle();
    EXPECT_EQ(Child<QLineEdit>("LonR")->text(), QStringLiteral("33"));
    for (const char* name : {"LonMaxM", "LatMaxM"}) {
        EXPECT_EQ(LabelText(name), QStringLiteral("+33m")) << name;
    }
    for (const char* name : {"LonMinM", "LatMinM"}) {
        EXPECT_EQ(LabelText(name), QStringLiteral("-33m")) << name;
    }

    // Typed ranges are read from the edit once Auto is off.
    Child<QCheckBox>("Autochk")->click();
    Child<QLineEdit>("LonR")->setText(QStringLiteral("abc"));
    Cycle();
    EXPECT_EQ(LabelText("LonMaxM"), QStringLiteral("+33m"));
    Child<QLineEdit>("LonR")->setText(QStringLiteral("120"));
    Cycle();
    EXPECT_EQ(LabelText("LonMaxM"), QStringLiteral("+120m"));
    EXPECT_EQ(Child<QLineEdit>("LonR")->text(), QStringLiteral("120"));
}

TEST(PosPlotWindow, StaysSquareInsideItsChildWindow)
{
    QMdiArea area;
    area.resize(1200, 1000);
    TControlFlags flags;
    auto* form = new TPosPlot(flags);
    auto* window = new TChildWindow(form, QStringLiteral("Position plot"));
    area.addSubWindow(window);
    area.show();
    window->Place(QRect(243, 0, 355, 355));
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->geometry(), QRect(243, 0, 355, 355));

    const struct
    {
        QSize Asked;
        QSize Given;
    } cases[] = {
        {{500, 355}, {500, 500}}, {{600, 200}, {600, 600}}, {{900, 900}, {768, 768}},
        {{200, 200}, {355, 355}}, {{400, 700}, {400, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Asked.width() << "x" << c.Asked.height());
        window->resize(c.Asked);
        QApplication::processEvents();
        EXPECT_EQ(window->size(), c.Given);
        // The background follows the chart's new size: the vertical line of the cross.
        const TChart& chart = form->Chart();
        const QImage image = RenderChart(chart);
        int grid = 0;
        for (int y = 10; y < 40; ++y) {
            grid += image.pixelColor((chart.width() - 12) / 2, y) == kGrid ? 1 : 0;
        }
        EXPECT_GE(grid, 8);
    }
}

} // namespace
} // namespace zz
