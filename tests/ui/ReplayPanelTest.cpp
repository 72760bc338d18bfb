#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>
#include <climits>
#include <cstdint>

#include "RenderImage.h"
#include "ui/main/TRadioGroup.h"
#include "ui/main/TReplayBarScale.h"
#include "ui/main/TReplayPanel.h"

namespace zz {
namespace {

constexpr int64_t kTenGigabytes = int64_t{10} << 30;

// The panel as the main window shows it, with a bar wide enough to aim at its parts.
class ReplayPanelRig
{
public:
    ReplayPanelRig()
    {
        Panel.resize(800, TReplayPanel::kHeight);
        Panel.show();
        QApplication::processEvents();
    }

    template <typename T> T* Find(const char* name)
    {
        T* widget = Panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QScrollBar* Bar() { return Find<QScrollBar>("ScrollBar1"); }

    // Where a part of the bar is drawn now, in the bar's coordinates.
    QRect BarPart(QStyle::SubControl part)
    {
        QScrollBar* bar = Bar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.subControls = QStyle::SC_All;
        option.orientation = Qt::Horizontal;
        option.state |= QStyle::State_Horizontal;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), QPointF(Bar()->mapToGlobal(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(Bar(), &event);
    }
    void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void Move(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::LeftButton); }
    void Release(QPoint at) { Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton); }

    TReplayPanel Panel;
};

TEST(ReplayPanel, ControlsStandWhereTheyBelong)
{
    ReplayPanelRig rig;
    EXPECT_EQ(rig.Panel.objectName(), QStringLiteral("PanelPrev"));
    EXPECT_EQ(rig.Panel.height(), 42);
    EXPECT_EQ(rig.Panel.minimumHeight(), 42);
    EXPECT_EQ(rig.Panel.maximumHeight(), 42);

    auto* group = rig.Find<QGroupBox>("GroupBox1");
    EXPECT_EQ(group->geometry(), QRect(9, 2, 220, 32));
    EXPECT_EQ(group->title(), QStringLiteral("Replaying Log File"));
    EXPECT_EQ(group->palette().color(QPalette::WindowText), QColor(Qt::white));
    auto* label = rig.Find<QLabel>("Label1");
    EXPECT_EQ(label->parentWidget(), group);
    EXPECT_EQ(label->geometry(), QRect(4, 13, 212, 17));

    auto* speed = rig.Find<TRadioGroup>("TrackBar1");
    EXPECT_EQ(speed->geometry(), QRect(235, 2, 148, 32));
    EXPECT_EQ(speed->title(), QStringLiteral("Replay Speed"));
    ASSERT_EQ(speed->Count(), 3);
    const char* const items[] = {"slow", "mid", "fast"};
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(speed->Button(index)->text(), QString::fromLatin1(items[index]));
        EXPECT_EQ(speed->Button(index)->y(), speed->Button(0)->y()) << "one row of three";
    }
    EXPECT_EQ(rig.Panel.SpeedIndex(), TReplayPanel::kSpeedSlow);

    auto* button = rig.Find<QToolButton>("SpeedButton1");
    EXPECT_EQ(button->geometry(), QRect(390, 8, 27, 27));
    EXPECT_TRUE(button->isCheckable());
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

    QScrollBar* bar = rig.Bar();
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->geometry(), QRect(420, 6, 800 - 420 - 6, 42 - 12));
    rig.Panel.resize(1000, TReplayPanel::kHeight);
    EXPECT_EQ(bar->geometry(), QRect(420, 6, 1000 - 420 - 6, 42 - 12));

    // Between the bevel and the first group the panel's own colour shows.
    const QImage picture = test::RenderWidget(rig.Panel);
    EXPECT_EQ(QColor(picture.pixel(5, 20)), QColor(0x40, 0x40, 0x40));
    EXPECT_NE(QColor(picture.pixel(0, 20)), QColor(0x40, 0x40, 0x40)) << "bevel";
}

TEST(ReplayPanel, ShowsTheFileNameAndThePathAsHint)
{
    ReplayPanelRig rig;
    auto* label = rig.Find<QLabel>("Label1");
    const struct
    {
        const char* What;
        QString Path;
        QString Name;
        bool Cut; // too wide for the label
    } files[] = {
        {"short", QStringLiteral("/home/user/logs/gps.bin"), QStringLiteral("gps.bin"), false},
        {"long",
         QStringLiteral("/var/tmp/Receiver-log-of-the-whole-test-drive-around-the-lake-"
                        "on-a-rainy-day.bin"),
         QStringLiteral("Receiver-log-of-the-whole-test-drive-around-the-lake-on-a-rainy-day.bin"),
         true},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.What);
        rig.Panel.ShowFile(file.Path);
        EXPECT_EQ(label->toolTip(), file.Path);
        EXPECT_EQ(rig.Find<QGroupBox>("GroupBox1")->toolTip(), file.Path);
        const QFontMetrics metrics = label->fontMetrics();
        const QString shown = label->text();
        EXPECT_LE(metrics.horizontalAdvance(shown), label->width());
        ASSERT_EQ(metrics.horizontalAdvance(file.Name) > label->width(), file.Cut);
        if (!file.Cut) {
            EXPECT_EQ(shown, file.Name);
            continue;
        }
        ASSERT_TRUE(shown.endsWith(QStringLiteral("...")));
        const QString kept = shown.chopped(3);
        EXPECT_FALSE(kept.isEmpty());
        EXPECT_TRUE(file.Name.startsWith(kept));
        // Not cut shorter than it has to be.
        const QString longer = file.Name.left(kept.size() + 1) + QStringLiteral("...");
        EXPECT_GT(metrics.horizontalAdvance(longer), label->width());
    }
}

// Pixels of the button pictures, by what they show.
struct TPixel
{
    const char* What;
    QPoint At;
    QColor Colour;
};

void ExpectPixels(const QImage& picture, std::initializer_list<TPixel> pixels)
{
    ASSERT_EQ(picture.size(), QSize(24, 24));
    for (const TPixel& pixel : pixels) {
        SCOPED_TRACE(::testing::Message()
                     << pixel.What << " at " << pixel.At.x() << "," << pixel.At.y());
        EXPECT_EQ(QColor(picture.pixel(pixel.At)), pixel.Colour);
    }
}

TEST(ReplayPanel, PlayPictureIsALitGreenTriangle)
{
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor fill(0, 240, 32);
    const QColor upperEdge(160, 253, 160);
    const QColor leftEdge(0, 210, 32);
    const QColor lowerEdge(0, 144, 0);
    ExpectPixels(TReplayPanel::PlayPicture(),
                 {
                     {"background", {0, 0}, white},
                     {"background", {23, 23}, white},
                     {"background", {23, 0}, white},
                     {"background", {0, 23}, white},
                     {"left of the outline", {4, 12}, white},
                     {"right of the tip", {20, 12}, white},
                     {"above the upper edge", {12, 4}, white},
                     {"outline corner", {5, 3}, black},
                     {"outline corner", {5, 21}, black},
                     {"outline tip", {19, 12}, black},
                     {"outline left side", {5, 12}, black},
                     {"inside", {11, 12}, fill},
                     {"inside", {9, 10}, fill},
                     {"top vertex, left edge drawn after the upper one", {7, 5}, leftEdge},
                     {"left edge", {7, 12}, leftEdge},
                     {"left edge, second pixel of the pen", {6, 12}, leftEdge},
                     {"upper edge", {12, 8}, upperEdge},
                     {"upper edge", {13, 9}, upperEdge},
                     {"lower edge", {12, 15}, lowerEdge},
                     {"lower edge over the tip", {17, 12}, lowerEdge},
                     {"lower edge over the left edge at the bottom vertex", {7, 18}, lowerEdge},
                 });
}

TEST(ReplayPanel, PausePictureIsTwoLitBlueBars)
{
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor outline(0, 32, 255);
    const QColor fill(0, 80, 255);
    const QColor lit(0, 128, 255);
    ExpectPixels(TReplayPanel::PausePicture(), {
                                                   {"background", {0, 0}, white},
                                                   {"background", {23, 23}, white},
                                                   {"left of the bars", {4, 13}, white},
                                                   {"between the bars", {11, 13}, white},
                                                   {"between the bars", {12, 13}, white},
                                                   {"right of the bars", {19, 13}, white},
                                                   {"above a bar", {7, 5}, white},
                                                   {"black ring corner", {5, 6}, black},
                                                   {"black ring corner", {10, 20}, black},
                                                   {"black ring left", {5, 13}, black},
                                                   {"black ring right", {10, 13}, black},
                                                   {"black ring top", {7, 6}, black},
                                                   {"black ring bottom", {7, 20}, black},
                                                   {"second ring corner", {13, 6}, black},
                                                   {"second ring corner", {18, 20}, black},
                                                   {"top left corner", {6, 7}, lit},
                                                   {"left edge bottom", {6, 19}, lit},
                                                   {"top edge right end", {9, 7}, lit},
                                                   {"second bar top left", {14, 7}, lit},
                                                   {"second bar left edge", {14, 19}, lit},
                                                   {"second bar top edge", {17, 7}, lit},
                                                   {"bottom right corner", {9, 19}, outline},
                                                   {"right edge", {9, 8}, outline},
                                                   {"bottom edge", {7, 19}, outline},
                                                   {"second bar bottom right", {17, 19}, outline},
                                                   {"second bar right edge", {17, 10}, outline},
                                                   {"inside", {7, 8}, fill},
                                                   {"inside", {8, 18}, fill},
                                                   {"second bar inside", {15, 13}, fill},
                                                   {"second bar inside", {16, 8}, fill},
                                               });
}

TEST(ReplayPanel, ButtonShowsThePictureDrawnLast)
{
    ReplayPanelRig rig;
    auto* button = rig.Find<QToolButton>("SpeedButton1");
    const auto shown = [&] {
        return button->icon()
            .pixmap(button->iconSize())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QRect visible(0, 0, 23, 23);
    EXPECT_EQ(button->iconSize(), QSize(23, 23));
    EXPECT_EQ(shown(), TReplayPanel::PlayPicture().copy(visible)) << "at start";
    rig.Panel.DrawPausePicture();
    EXPECT_EQ(shown(), TReplayPanel::PausePicture().copy(visible));
    rig.Panel.DrawPlayPicture();
    EXPECT_EQ(shown(), TReplayPanel::PlayPicture().copy(visible));
}

TEST(ReplayBarScale, MapsEveryOffsetIntoItsStep)
{
    const struct
    {
        int64_t Size;
        int MaxSteps;
        int64_t Unit;
    } cases[] = {
        {0, 100, 1},     {1, 100, 1},   {100, 100, 1},  {101, 100, 2},
        {300, 100, 3},   {301, 100, 4}, {1000, 7, 160}, // rounded up to a divisor of 960
        {5000, 4, 1250},                                // no divisor of 960 is large enough
        {4799, 1, 4799},
    };
    for (const auto& scale : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "size " << scale.Size << ", " << scale.MaxSteps << " steps");
        const TReplayBarScale bar(scale.Size, scale.MaxSteps);
        EXPECT_EQ(bar.Unit(), scale.Unit);
        EXPECT_LE(bar.Maximum(), scale.MaxSteps);
        EXPECT_EQ(bar.ToValue(scale.Size), bar.Maximum());
        EXPECT_EQ(bar.ToOffset(bar.Maximum()), scale.Size);
        int previous = 0;
        for (int64_t offset = 0; offset <= scale.Size; ++offset) {
            const int value = bar.ToValue(offset);
            ASSERT_GE(value, previous) << offset;
            previous = value;
            if (offset == scale.Size) {
                continue;
            }
            ASSERT_LT(value, bar.Maximum()) << offset;
            const int64_t start = bar.ToOffset(value);
            ASSERT_LE(start, offset);
            ASSERT_GT(start + bar.Unit(), offset);
        }
        // Out of range on either side.
        EXPECT_EQ(bar.ToValue(-5), 0);
        EXPECT_EQ(bar.ToValue(scale.Size + 5), bar.Maximum());
        EXPECT_EQ(bar.ToOffset(-5), 0);
        EXPECT_EQ(bar.ToOffset(bar.Maximum() + 1), scale.Size);
    }
}

TEST(ReplayBarScale, StepsOfArrowAndPageByFileSize)
{
    const struct
    {
        int64_t Size;
        int64_t Unit;
        int Single;
        int Page;
    } cases[] = {
        {0, 1, 960, 4800},
        {1'000'000, 1, 960, 4800},
        {INT_MAX, 1, 960, 4800},
        {int64_t{INT_MAX} + 1, 2, 480, 2400},
        {kTenGigabytes, 6, 160, 800},
        {int64_t{1} << 50, 524'289, 1, 1},
    };
    for (const auto& scale : cases) {
        SCOPED_TRACE(scale.Size);
        const TReplayBarScale bar(scale.Size);
        EXPECT_EQ(bar.Unit(), scale.Unit);
        EXPECT_EQ(bar.SingleStep(), scale.Single);
        EXPECT_EQ(bar.PageStep(), scale.Page);
        EXPECT_GE(bar.Maximum(), 0);
        EXPECT_EQ(bar.ToOffset(bar.Maximum()), scale.Size);
        // Just before the end is not the end.
        if (scale.Size > 0) {
            EXPECT_LT(bar.ToOffset(bar.ToValue(scale.Size - 1)), scale.Size);
            EXPECT_GT(bar.ToOffset(bar.ToValue(scale.Size - 1)) + bar.Unit(), scale.Size - 1);
        }
    }
}

TEST(ReplayPanel, BarFollowsTheReaderOverLargeFiles)
{
    ReplayPanelRig rig;
    QScrollBar* bar = rig.Bar();
    rig.Panel.SetFileSize(kTenGigabytes);
    EXPECT_EQ(rig.Panel.FileSize(), kTenGigabytes);
    EXPECT_EQ(bar->maximum(), 1'789'569'707);
    EXPECT_EQ(bar->singleStep(), 160);
    EXPECT_EQ(bar->pageStep(), 800);
    EXPECT_EQ(rig.Panel.Position(), 0);

    const int64_t middle = kTenGigabytes / 2 + 3;
    rig.Panel.SetPosition(middle);
    EXPECT_EQ(rig.Panel.Position(), middle);
    EXPECT_EQ(bar->value(), middle / 6);
    EXPECT_FALSE(rig.Panel.AtEnd());
    rig.Panel.SetPosition(kTenGigabytes);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(rig.Panel.AtEnd());
    rig.Panel.SetPosition(kTenGigabytes + 100);
    EXPECT_EQ(rig.Panel.Position(), kTenGigabytes);
    rig.Panel.SetPosition(-1);
    EXPECT_EQ(rig.Panel.Position(), 0);

    // A new file starts at its beginning.
    rig.Panel.SetPosition(kTenGigabytes);
    rig.Panel.SetFileSize(2000);
    EXPECT_EQ(rig.Panel.Position(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->maximum(), 2000);
    EXPECT_FALSE(rig.Panel.AtEnd());
    rig.Panel.SetPosition(2000);
    EXPECT_TRUE(rig.Panel.AtEnd());
}

TEST(ReplayPanel, ClicksBesideTheThumbSeekWhenLetGo)
{
    const struct
    {
        const char* What;
        QStyle::SubControl Part;
        int64_t Offset;
    } clicks[] = {
        {"right arrow", QStyle::SC_ScrollBarAddLine, 960},
        {"right of the thumb", QStyle::SC_ScrollBarAddPage, 4800},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.What);
        ReplayPanelRig rig;
        rig.Panel.SetFileSize(100'000);
        QSignalSpy seeks(&rig.Panel, &TReplayPanel::SeekRequested);
        const QPoint at = rig.BarPart(click.Part).center();
        rig.Press(at);
        EXPECT_EQ(seeks.count(), 0) << "not before the mouse is let go";
        EXPECT_TRUE(rig.Panel.UserScrolling());
        rig.Panel.SetPosition(50'000);
        EXPECT_EQ(rig.Panel.Position(), click.Offset) << "the reader waits for the user";
        rig.Release(at);
        ASSERT_EQ(seeks.count(), 1);
        EXPECT_EQ(seeks.at(0).at(0).value<int64_t>(), click.Offset);
        EXPECT_FALSE(rig.Panel.UserScrolling());
        rig.Panel.SetPosition(50'000);
        EXPECT_EQ(rig.Panel.Position(), 50'000);
    }
}

TEST(ReplayPanel, DraggingTheThumbSeeksOnlyWhenLetGo)
{
    ReplayPanelRig rig;
    rig.Panel.SetFileSize(kTenGigabytes);
    QSignalSpy seeks(&rig.Panel, &TReplayPanel::SeekRequested);
    const QRect groove = rig.BarPart(QStyle::SC_ScrollBarGroove);
    const QPoint grip = rig.BarPart(QStyle::SC_ScrollBarSlider).center();

    rig.Press(grip);
    EXPECT_TRUE(rig.Bar()->isSliderDown());
    rig.Move(grip + QPoint(groove.width() / 3, 0));
    rig.Move(grip + QPoint(groove.width() / 2, 0));
    QApplication::processEvents();
    const int64_t dragged = rig.Panel.Position();
    EXPECT_GT(dragged, 0);
    EXPECT_EQ(seeks.count(), 0) << "dragging does nothing";
    rig.Panel.SetPosition(1000);
    EXPECT_EQ(rig.Panel.Position(), dragged) << "the reader does not move a held thumb";
    rig.Release(grip + QPoint(groove.width() / 2, 0));
    ASSERT_EQ(seeks.count(), 1);
    EXPECT_EQ(seeks.at(0).at(0).value<int64_t>(), dragged);

    // Let go past the end of the groove: exactly the end of the file.
    const QPoint again = rig.BarPart(QStyle::SC_ScrollBarSlider).center();
    rig.Press(again);
    rig.Move(QPoint(rig.Bar()->width() + 50, again.y()));
    rig.Release(QPoint(rig.Bar()->width() + 50, again.y()));
    ASSERT_EQ(seeks.count(), 2);
    EXPECT_EQ(seeks.at(1).at(0).value<int64_t>(), kTenGigabytes);
    EXPECT_TRUE(rig.Panel.AtEnd());

    // A step back from the end lands on the start of a step, one arrow click before the end.
    const QPoint left = rig.BarPart(QStyle::SC_ScrollBarSubLine).center();
    rig.Press(left);
    rig.Release(left);
    ASSERT_EQ(seeks.count(), 3);
    const int64_t back = seeks.at(2).at(0).value<int64_t>();
    EXPECT_EQ(back % 6, 0);
    EXPECT_LE(kTenGigabytes - back, 960);
    EXPECT_GT(kTenGigabytes - back, 960 - 6);
}

TEST(ReplayPanel, WheelLeavesTheBarAlone)
{
    ReplayPanelRig rig;
    rig.Panel.SetFileSize(100'000);
    rig.Panel.SetPosition(20'000);
    QSignalSpy seeks(&rig.Panel, &TReplayPanel::SeekRequested);
    const QPoint at = rig.BarPart(QStyle::SC_ScrollBarGroove).center();
    QWheelEvent wheel(QPointF(at), QPointF(rig.Bar()->mapToGlobal(at)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(rig.Bar(), &wheel);
    EXPECT_EQ(rig.Panel.Position(), 20'000);
    EXPECT_EQ(seeks.count(), 0);
    EXPECT_FALSE(rig.Panel.UserScrolling());
}

TEST(ReplayPanel, PlayButtonReportsOnlyTheUsersToggle)
{
    ReplayPanelRig rig;
    auto* button = rig.Find<QToolButton>("SpeedButton1");
    QSignalSpy clicks(&rig.Panel, &TReplayPanel::PlayClicked);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_TRUE(clicks.at(0).at(0).toBool());
    EXPECT_TRUE(rig.Panel.PlayButtonDown());
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_FALSE(clicks.at(1).at(0).toBool());
    EXPECT_FALSE(rig.Panel.PlayButtonDown());

    rig.Panel.SetPlayButtonDown(true);
    EXPECT_TRUE(rig.Panel.PlayButtonDown());
    rig.Panel.SetPlayButtonDown(false);
    EXPECT_FALSE(rig.Panel.PlayButtonDown());
    EXPECT_EQ(clicks.count(), 2);
}

TEST(ReplayPanel, SpeedChoiceIsReported)
{
    ReplayPanelRig rig;
    QSignalSpy speeds(&rig.Panel, &TReplayPanel::SpeedChanged);
    QTest::mouseClick(rig.Find<TRadioGroup>("TrackBar1")->Button(1), Qt::LeftButton);
    EXPECT_EQ(rig.Panel.SpeedIndex(), TReplayPanel::kSpeedMid);
    rig.Panel.SetSpeedIndex(TReplayPanel::kSpeedFast);
    EXPECT_EQ(rig.Panel.SpeedIndex(), TReplayPanel::kSpeedFast);
    rig.Panel.SetSpeedIndex(TReplayPanel::kSpeedFast);
    ASSERT_EQ(speeds.count(), 2) << "a choice made again is no change";
    EXPECT_EQ(speeds.at(0).at(0).toInt(), TReplayPanel::kSpeedMid);
    EXPECT_EQ(speeds.at(1).at(0).toInt(), TReplayPanel::kSpeedFast);
}

} // namespace
} // namespace zz
