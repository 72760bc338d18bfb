// The View menu on the real main window: the nine items and their ticks, the close boxes, "Show
// all window" and "Default layout".
#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "FakeUserDialogs.h"
#include "ui/main/TFormMain.h"
#include <QCheckBox>
#include <QLineEdit>

#include "core/TReceiverState.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/TAltiPlot.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TPosPlot.h"
#include "ui/windows/TVeloPlot.h"

namespace zz {
namespace {

struct TItem
{
    const char* Name;
    const char* Caption;
    int Key;
    TChildWindowId Window;
    bool TickedAtStart;
};

constexpr TItem kItems[] = {
    {"InfVisible", "< Information > window(&I)", Qt::Key_1, TChildWindowId::Information, true},
    {"PosVisible", "< Position plot > window(&P)", Qt::Key_2, TChildWindowId::PositionPlot, true},
    {"AltVisible", "< Altitude plot > window(&A)", Qt::Key_3, TChildWindowId::AltitudePlot, true},
    {"VelVisible", "< Velocity plot > window(&V)", Qt::Key_4, TChildWindowId::VelocityPlot, true},
    {"SkyVisible", "< Sky plot > window(&K)", Qt::Key_5, TChildWindowId::SkyPlot, true},
    {"CnrVisible", "< Signal level > window(&G)", Qt::Key_6, TChildWindowId::SignalLevel, true},
    {"DirVisible", "< Direction > window(&T)", Qt::Key_7, TChildWindowId::Direction, true},
    {"LogVisible", "< Log > window(&L)", Qt::Key_8, TChildWindowId::Log, false},
    {"RotVisible", "< DR > window(&R)", Qt::Key_9, TChildWindowId::DR, false},
};

class WindowLayoutTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }

    QAction* Item(const char* name) { return Form.findChild<QAction*>(name); }
    TChildWindow* Window(TChildWindowId id) { return Form.ChildWindow(id); }

    test::TFakeUserDialogs Dialogs;
    TFormMain Form{&Dialogs};
};

TEST_F(WindowLayoutTest, TheViewMenuHoldsEveryWindowWithItsKeyAndTick)
{
    const QList<QAction*> view = Form.findChild<QMenu*>("MenuView")->actions();
    ASSERT_EQ(view.size(), 13);
    EXPECT_EQ(view[0]->text(), QStringLiteral("Show all window(&S)"));
    EXPECT_EQ(view[0]->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(view[1]->text(), QStringLiteral("Default layout(&D)"));
    EXPECT_EQ(view[1]->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_TRUE(view[2]->isSeparator());
    EXPECT_TRUE(view[12]->isSeparator());
    for (size_t index = 0; index < std::size(kItems); ++index) {
        const TItem& item = kItems[index];
        SCOPED_TRACE(item.Name);
        QAction* action = view[static_cast<qsizetype>(index) + 3];
        EXPECT_EQ(action, Item(item.Name));
        EXPECT_EQ(action->text(), QString::fromLatin1(item.Caption));
        EXPECT_EQ(action->shortcut(), QKeySequence(Qt::ALT | Qt::Key(item.Key)));
        EXPECT_TRUE(action->isCheckable());
        EXPECT_EQ(action->isChecked(), item.TickedAtStart);
        EXPECT_EQ(Window(item.Window)->isVisible(), item.TickedAtStart);
    }
}

TEST_F(WindowLayoutTest, EachItemTogglesItsWindowAndEachCloseBoxUnticksIt)
{
    for (const TItem& item : kItems) {
        SCOPED_TRACE(item.Name);
        QAction* action = Item(item.Name);
        TChildWindow* window = Window(item.Window);
        const bool shown = window->isVisible();
        // The shortcut, as the user presses it.
        QTest::keySequence(&Form, QKeySequence(Qt::ALT | Qt::Key(item.Key)));
        EXPECT_EQ(window->isVisible(), !shown);
        EXPECT_EQ(action->isChecked(), !shown);
        if (window->isVisible()) {
            EXPECT_EQ(Form.WorkArea()->activeSubWindow(), window);
        }
        // Closing a shown window hides it (it stays alive) and removes the tick.
        if (!window->isVisible()) {
            action->trigger();
        }
        window->close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(action->isChecked());
        EXPECT_EQ(Form.ChildWindow(item.Window), window);
    }
}

TEST_F(WindowLayoutTest, ShowAllShowsAndTicksEveryWindowWithoutMovingAny)
{
    Window(TChildWindowId::SkyPlot)->close();
    Window(TChildWindowId::Direction)->move(300, 200);
    Item("Showallwindow1")->trigger();
    for (const TItem& item : kItems) {
        SCOPED_TRACE(item.Name);
        EXPECT_TRUE(Window(item.Window)->isVisible());
        EXPECT_TRUE(Item(item.Name)->isChecked());
    }
    EXPECT_EQ(Window(TChildWindowId::Direction)->pos(), QPoint(300, 200));
    // The DR window comes to the front last.
    EXPECT_EQ(Form.WorkArea()->activeSubWindow(), Window(TChildWindowId::DR));
}

TEST_F(WindowLayoutTest, DefaultLayoutRestoresBoundsTicksAndTheMainWindow)
{
    const QSize startSize = Form.size();
    Item("Showallwindow1")->trigger();
    Window(TChildWindowId::Information)->close();
    Window(TChildWindowId::SkyPlot)->move(500, 400);
    Window(TChildWindowId::AltitudePlot)->resize(300, 300);
    Window(TChildWindowId::Log)->move(10, 10);
    Form.move(Form.InitialPosition() + QPoint(40, 30));
    Form.resize(600, 400);

    Item("default1")->trigger();

    for (const TDefaultBounds& row : kDefaultLayout) {
        const TChildWindow* window = Window(row.Window);
        SCOPED_TRACE(window->windowTitle().toStdString());
        EXPECT_EQ(window->pos(), row.Bounds.topLeft());
        EXPECT_EQ(window->width(), row.Bounds.width());
        // Heights that follow the width come within a few pixels of the table.
        EXPECT_NEAR(window->height(), row.Bounds.height(), 8);
        EXPECT_EQ(window->isVisible(), row.Shown);
    }
    EXPECT_EQ(Window(TChildWindowId::SignalLevel)->height(),
              Window(TChildWindowId::Direction)->height());
    for (const TItem& item : kItems) {
        SCOPED_TRACE(item.Name);
        EXPECT_EQ(Item(item.Name)->isChecked(), item.TickedAtStart);
    }
    EXPECT_EQ(Form.pos(), Form.InitialPosition());
    EXPECT_EQ(Form.size(), startSize);
    EXPECT_EQ(Form.size().height() - Form.menuBar()->sizeHint().height(), 722);
}

// A snapshot with a position, an altitude and a speed of the given sample count.
TReceiverState PlotSample(int32_t count, double altitude, double speed)
{
    TReceiverState state{};
    ResetReceiverState(state);
    state.FixQuality = 1;
    state.Latitude = 3540.0;
    state.Longitude = 13945.0;
    state.Altitude = altitude;
    state.AltitudeSampleCount = count;
    state.Speed = speed;
    state.VelocitySampleCount = count;
    return state;
}

TEST_F(WindowLayoutTest, ClearEmptiesThePicturesAndResetAlsoRestoresTheirSettings)
{
    TAltiPlot& altitude = Form.AltiPlot();
    TPosPlot& position = Form.PosPlot();
    for (int32_t count = 1; count <= 3; ++count) {
        altitude.UpdatePlot(PlotSample(count, 123.4, 10.0));
        Form.VeloPlot().UpdatePlot(PlotSample(count, 123.4, 10.0));
    }
    ASSERT_EQ(altitude.MaxEdit()->text(), QStringLiteral("124")); // grown by "Auto"
    ASSERT_EQ(altitude.Series1().Count(), 3u);
    position.findChild<QCheckBox*>("Autochk")->click();
    position.findChild<QLineEdit*>("LonR")->setText(QStringLiteral("25"));

    Form.ClearAllWindows();
    EXPECT_EQ(altitude.Series1().Count(), 0u);
    EXPECT_EQ(Form.VeloPlot().Series1().Count(), 0u);
    EXPECT_EQ(altitude.MaxEdit()->text(), QStringLiteral("124"));
    EXPECT_EQ(position.findChild<QLineEdit*>("LonR")->text(), QStringLiteral("25"));
    EXPECT_EQ(position.TrackCount(), 0);
    TControlFlags& flags = Form.ControlFlags();
    EXPECT_EQ(flags.AltClearPending.load(), 1);
    EXPECT_EQ(flags.VeloClearPending.load(), 1);
    EXPECT_EQ(flags.PlotClearRequest.load(), 1);
    EXPECT_EQ(flags.RecentreRequest.load(), 0);

    Form.ResetAllWindows();
    EXPECT_EQ(altitude.MaxEdit()->text(), QStringLiteral("10"));
    EXPECT_EQ(altitude.MinEdit()->text(), QStringLiteral("0"));
    EXPECT_TRUE(altitude.Autochk()->isChecked());
    EXPECT_EQ(position.findChild<QLineEdit*>("LonR")->text(), QStringLiteral("10"));
    EXPECT_TRUE(position.findChild<QCheckBox*>("Autochk")->isChecked());
    EXPECT_EQ(flags.RecentreRequest.load(), 1);
    EXPECT_EQ(flags.GpsSatCount.load(), 0);
}

} // namespace
} // namespace zz
