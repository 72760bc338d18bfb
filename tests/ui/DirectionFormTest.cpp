#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "core/DisplayTexts.h"
#include "ui/charts/TChart.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TTtrack.h"

namespace zz {
namespace {

constexpr QSize kClientSize{254, 290};

TDirectionView ViewOf(double course, int32_t reference)
{
    return {CourseText(course), MTLabelText(course, reference), ArrowAngle(course)};
}

bool IsBright(QRgb pixel)
{
    return qRed(pixel) > 160 && qGreen(pixel) > 160 && qBlue(pixel) > 160;
}

// The bright pixels of the dial inside its letter strips: the arrow alone.
struct TArrowPixels
{
    QImage Image;
    QRect Interior;
    QRect Bounds; // of the bright pixels; null when there are none

    // Distance between the outermost bright pixels of one row or column of the image.
    int RowSpread(int y) const { return Spread(y, true); }
    int ColumnSpread(int x) const { return Spread(x, false); }

private:
    int Spread(int line, bool row) const
    {
        int first = -1;
        int last = -1;
        const int length = row ? Interior.width() : Interior.height();
        for (int step = 0; step < length; ++step) {
            const QPoint pixel =
                row ? QPoint(Interior.left() + step, line) : QPoint(line, Interior.top() + step);
            if (IsBright(Image.pixel(pixel))) {
                first = first < 0 ? step : first;
                last = step;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    }
};

TArrowPixels RenderArrow(const TTtrack& form)
{
    const TChart& dial = *form.Chart1();
    TArrowPixels arrow;
    arrow.Image = QImage(dial.size(), QImage::Format_RGB32);
    QPainter painter(&arrow.Image);
    dial.Paint(painter);
    arrow.Interior = QRect(
        QPoint(TTtrack::kSideStrip, TTtrack::kNorthStrip),
        QPoint(dial.width() - 1 - TTtrack::kSideStrip, dial.height() - 1 - TTtrack::kSouthStrip));
    for (int y = arrow.Interior.top(); y <= arrow.Interior.bottom(); ++y) {
        for (int x = arrow.Interior.left(); x <= arrow.Interior.right(); ++x) {
            if (IsBright(arrow.Image.pixel(x, y))) {
                arrow.Bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return arrow;
}

TEST(DirectionForm, ShowsTheCourseAndItsKindOfTrack)
{
    TTtrack form;
    EXPECT_EQ(form.Chart1()->objectName(), "Chart1");
    EXPECT_EQ(form.Panel1()->objectName(), "Panel1");
    EXPECT_EQ(form.findChild<QLabel*>("DirLabel"), form.DirLabel());
    EXPECT_EQ(form.findChild<QLabel*>("MTLabel"), form.MTLabel());
    EXPECT_EQ(form.findChild<QGroupBox*>()->title(), "Direction");
    EXPECT_EQ(form.DirLabel()->geometry().left(), 125);
    EXPECT_EQ(form.DirLabel()->width(), 39);
    EXPECT_EQ(form.MTLabel()->geometry().left(), 47);
    EXPECT_EQ(form.MTLabel()->width(), 83);
    EXPECT_TRUE(form.DirLabel()->alignment() & Qt::AlignRight);
    EXPECT_TRUE(form.MTLabel()->alignment() & Qt::AlignRight);
    EXPECT_EQ(form.DirLabel()->text(), "--");
    EXPECT_FALSE(form.Series1().Active);

    const struct
    {
        double Course;
        int32_t Reference;
        const char* Dir;
        const char* Track;
        std::optional<int> Angle;
    } cases[] = {
        {359.9, 0, "359.9", "True Track", -179},
        {45.99, 1, "46.0", "Magnetic Track", 135},
        {12.0, 2, "12.0", "", 168},
        {359.95, 0, "--", "", std::nullopt},
        {-1.0, 0, "--", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Course);
        form.SetDirection(ViewOf(c.Course, c.Reference));
        EXPECT_EQ(form.DirLabel()->text(), c.Dir);
        EXPECT_EQ(form.MTLabel()->text(), c.Track);
        EXPECT_EQ(form.Series1().Active, c.Angle.has_value());
        if (c.Angle) {
            EXPECT_EQ(form.Series1().LabelAngle, *c.Angle);
        }
    }

    for (const bool fullReset : {true, false}) {
        form.SetDirection(ViewOf(90.0, 0));
        if (fullReset) {
            form.ResetDisplay();
        } else {
            form.ClearDisplay();
        }
        EXPECT_FALSE(form.Series1().Active);
        EXPECT_EQ(form.DirLabel()->text(), "--");
        EXPECT_EQ(form.MTLabel()->text(), "");
    }
}

TEST(DirectionForm, ArrowPointsAlongTheCourse)
{
    TTtrack form;
    form.resize(kClientSize);
    form.show();
    ASSERT_EQ(form.Chart1()->geometry(), QRect(0, 0, 254, 256));
    const QPoint centre = form.Chart1()->PlotArea().center();

    EXPECT_TRUE(RenderArrow(form).Bounds.isNull()) << "no arrow before a valid course";

    const struct
    {
        double Course;
        const char* Points;
    } cases[] = {{180.0, "down"}, {0.0, "up"}, {90.0, "right"}, {270.0, "left"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Course);
        form.SetDirection(ViewOf(c.Course, 0));
        const TArrowPixels arrow = RenderArrow(form);
        const QRect bounds = arrow.Bounds;
        ASSERT_FALSE(bounds.isNull());
        EXPECT_GT(bounds.width(), 40);
        EXPECT_GT(bounds.height(), 40);
        EXPECT_LE(std::abs(bounds.center().x() - centre.x()), 4);
        EXPECT_LE(std::abs(bounds.center().y() - centre.y()), 4);
        // The V is wide at its open end and narrow at its point.
        const int nearTop = arrow.RowSpread(bounds.top() + bounds.height() / 6);
        const int nearBottom = arrow.RowSpread(bounds.bottom() - bounds.height() / 6);
        const int nearLeft = arrow.ColumnSpread(bounds.left() + bounds.width() / 6);
        const int nearRight = arrow.ColumnSpread(bounds.right() - bounds.width() / 6);
        const std::string points = c.Points;
        if (points == "down") {
            EXPECT_GT(nearTop, 2 * nearBottom);
        } else if (points == "up") {
            EXPECT_GT(nearBottom, 2 * nearTop);
        } else if (points == "right") {
            EXPECT_GT(nearLeft, 2 * nearRight);
        } else {
            EXPECT_GT(nearRight, 2 * nearLeft);
        }
    }

    form.SetDirection(ViewOf(400.0, 0));
    EXPECT_TRUE(RenderArrow(form).Bounds.isNull()) << "an invalid course hides the arrow";
}

TEST(DirectionForm, CompassLettersStandInTheirStrips)
{
    TTtrack form;
    form.resize(kClientSize);
    form.show();
    const QRect dial = form.Chart1()->geometry();
    const struct
    {
        const char* Letter;
        QRect Strip;
    } cases[] = {
        {"N", {0, 0, dial.width(), TTtrack::kNorthStrip}},
        {"S", {0, dial.height() - TTtrack::kSouthStrip, dial.width(), TTtrack::kSouthStrip}},
        {"W", {0, 0, TTtrack::kSideStrip, dial.height()}},
        {"E", {dial.width() - TTtrack::kSideStrip, 0, TTtrack::kSideStrip, dial.height()}},
    };
    QImage image(form.size(), QImage::Format_RGB32);
    form.render(&image);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Letter);
        const QLabel* letter = nullptr;
        for (const QLabel* label : form.Chart1()->findChildren<QLabel*>()) {
            letter = label->text() == c.Letter ? label : letter;
        }
        ASSERT_NE(letter, nullptr);
        EXPECT_EQ(letter->geometry(), c.Strip);
        EXPECT_EQ(letter->font().pixelSize(), 31);
        EXPECT_TRUE(letter->alignment() & Qt::AlignCenter);
        // Some white near the strip's centre, away from the frame lines at 20 pixels.
        const QPoint middle = c.Strip.center();
        bool white = false;
        for (int dy = -8; dy <= 8; ++dy) {
            for (int dx = -8; dx <= 8; ++dx) {
                white = white || IsBright(image.pixel(middle + QPoint(dx, dy)));
            }
        }
        EXPECT_TRUE(white);
    }
}

TEST(DirectionForm, HeightFollowsTheDialsWidth)
{
    QMdiArea area;
    area.resize(1200, 1000);
    auto* form = new TTtrack;
    auto* window = new TChildWindow(form, QStringLiteral("Direction"));
    area.addSubWindow(window);
    window->Place(QRect(750, 355, 262, 321));
    area.show();
    window->show();
    EXPECT_EQ(window->width(), 262);
    EXPECT_EQ(window->height(), form->Chart1()->width() + TTtrack::kHeightOverDial);
    EXPECT_EQ(form->Panel1()->height(), TTtrack::kPanelHeight);
    EXPECT_EQ(form->Panel1()->geometry().bottom(), form->height() - 1);

    const int height = window->height();
    window->resize(window->width() + 50, height);
    EXPECT_EQ(window->width(), 312);
    EXPECT_EQ(window->height(), height + 50);

    window->resize(100, 100);
    EXPECT_EQ(window->width(), TTtrack::kMinimumOuterWidth);
    EXPECT_EQ(window->height(), form->Chart1()->width() + TTtrack::kHeightOverDial);
    window->resize(1000, 100);
    EXPECT_EQ(window->width(), TTtrack::kMaximumOuterWidth);
    EXPECT_EQ(window->height(), form->Chart1()->width() + TTtrack::kHeightOverDial);
}

} // namespace
} // namespace zz
