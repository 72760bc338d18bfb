#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QSignalSpy>
#include <algorithm>
#include <cstdlib>

#include "core/DisplayCycle.h"
#include "core/DisplayTexts.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TROTForm.h"

namespace zz {
namespace {

// Position of a widget among its siblings: later ones are drawn over earlier ones.
int StackIndex(const QWidget* widget)
{
    return static_cast<int>(widget->parentWidget()->children().indexOf(widget));
}

TEST(InfoForm, ValueLabelsSitWhereTheLayoutPutsThem)
{
    TInfoForm form;
    EXPECT_EQ(form.size(), QSize(235, 328));
    const struct
    {
        TInfoLabel Label;
        QRect Rect;
    } cases[] = {
        {TInfoLabel::utc, {78, 3, 150, 19}},    {TInfoLabel::fix, {88, 24, 130, 19}},
        {TInfoLabel::dim, {98, 45, 110, 19}},   {TInfoLabel::rot, {98, 66, 110, 19}},
        {TInfoLabel::usat, {98, 84, 110, 25}},  {TInfoLabel::lat, {93, 92, 120, 51}},
        {TInfoLabel::lon, {93, 124, 120, 27}},  {TInfoLabel::alt, {110, 150, 86, 19}},
        {TInfoLabel::vel, {121, 171, 64, 19}},  {TInfoLabel::MT, {99, 192, 21, 19}},
        {TInfoLabel::dir, {121, 192, 64, 19}},  {TInfoLabel::pdop, {98, 213, 110, 19}},
        {TInfoLabel::hdop, {98, 234, 110, 19}}, {TInfoLabel::vdop, {98, 255, 110, 19}},
        {TInfoLabel::ttff, {115, 276, 76, 19}}, {TInfoLabel::fver, {98, 297, 110, 19}},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(InfoLabelName(c.Label));
        SCOPED_TRACE(name.toStdString());
        const auto* label = form.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label, form.Label(c.Label));
        EXPECT_EQ(label->geometry(), c.Rect);
        EXPECT_EQ(label->alignment(), Qt::AlignCenter);
        EXPECT_EQ(label->font().pixelSize(), 11);
    }
}

TEST(InfoForm, LatitudeShowsOnlyItsMiddleLine)
{
    TInfoForm form;
    const QLabel* lat = form.Label(TInfoLabel::lat);
    const QLabel* usat = form.Label(TInfoLabel::usat);
    const QLabel* lon = form.Label(TInfoLabel::lon);
    // The satellites label covers the top of the latitude label, the longitude label its
    // bottom; both lie over it, and the longitude caption lies under the value labels.
    EXPECT_GT(StackIndex(usat), StackIndex(lat));
    EXPECT_GT(StackIndex(lon), StackIndex(lat));
    EXPECT_TRUE(usat->geometry().intersects(lat->geometry()));
    EXPECT_TRUE(lon->geometry().intersects(lat->geometry()));
    EXPECT_TRUE(usat->autoFillBackground());
    EXPECT_TRUE(lon->autoFillBackground());
    const QRect visible(lat->x(), usat->geometry().bottom() + 1, lat->width(),
                        lon->y() - usat->geometry().bottom() - 1);
    EXPECT_GE(visible.height(), 13) << "room for one line of text";
    EXPECT_LE(std::abs(visible.center().y() - lat->geometry().center().y()), 1);

    form.SetText(TInfoLabel::lat, LatitudeText(3540.2058).View());
    EXPECT_EQ(form.Text(TInfoLabel::lat), QStringLiteral("\nN 035 40' 12.348\"\n0m"));

    const auto captions = form.findChildren<QLabel*>();
    const auto longitudeCaption =
        std::find_if(captions.begin(), captions.end(),
                     [](const QLabel* label) { return label->text().startsWith("Longitude"); });
    ASSERT_NE(longitudeCaption, captions.end());
    EXPECT_LT(StackIndex(*longitudeCaption), StackIndex(lat));
    EXPECT_GT(StackIndex(*longitudeCaption), StackIndex(form.Label(TInfoLabel::MT)));
}

TEST(InfoForm, ResetAndClearShowDashesAndAnEmptyReferenceMark)
{
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TInfoForm form;
        for (int index = 0; index < kInfoLabelCount; ++index) {
            const auto label = static_cast<TInfoLabel>(index);
            EXPECT_EQ(form.Text(label), label == TInfoLabel::MT ? "" : "--") << index;
            form.SetText(label, "value");
        }
        fullReset ? form.ResetDisplay() : form.ClearDisplay();
        for (int index = 0; index < kInfoLabelCount; ++index) {
            const auto label = static_cast<TInfoLabel>(index);
            EXPECT_EQ(form.Text(label), label == TInfoLabel::MT ? "" : "--") << index;
        }
    }
}

TEST(ROTForm, ThreeRowsOfDashesAfterResetAndClear)
{
    const struct
    {
        TDrLabel Label;
        int Top;
    } rows[] = {{TDrLabel::rotst, 8}, {TDrLabel::rot, 24}, {TDrLabel::rotcnt, 40}};
    for (const bool fullReset : {true, false}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TROTForm form;
        EXPECT_EQ(form.size(), QSize(199, 68));
        for (const auto& row : rows) {
            const QLabel* label =
                form.findChild<QLabel*>(QString::fromLatin1(DrLabelName(row.Label)));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->geometry(), QRect(114, row.Top, 73, 13));
            EXPECT_EQ(label->text(), QStringLiteral("--"));
            form.SetText(row.Label, "7");
        }
        fullReset ? form.ResetDisplay() : form.ClearDisplay();
        for (const auto& row : rows) {
            EXPECT_EQ(form.Text(row.Label), QStringLiteral("--"));
        }
    }
}

TEST(ChildWindow, ClosingHidesActivatesTheNextAndTellsTheViewMenu)
{
    QMdiArea area;
    area.resize(800, 600);
    auto* first = new TChildWindow(new TROTForm, QStringLiteral("DR"));
    auto* second = new TChildWindow(new TInfoForm, QStringLiteral("Information"));
    area.addSubWindow(first);
    area.addSubWindow(second);
    area.show();
    first->show();
    second->show();
    area.setActiveSubWindow(second);

    const Qt::WindowFlags flags = second->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(second->systemMenu(), nullptr);

    QSignalSpy hidden(second, &TChildWindow::Hidden);
    QPointer<TChildWindow> guard(second);
    EXPECT_FALSE(second->close());
    ASSERT_FALSE(guard.isNull()) << "a display window is never destroyed";
    EXPECT_TRUE(second->isHidden());
    EXPECT_EQ(hidden.count(), 1);
    EXPECT_EQ(area.activeSubWindow(), first);
    EXPECT_EQ(area.subWindowList().size(), 2);
}

TEST(ChildWindow, PlacedAtItsRectangleWithRoomForAFixedForm)
{
    QMdiArea area;
    auto* window = new TChildWindow(new TInfoForm, QStringLiteral("Information"));
    area.addSubWindow(window);
    window->Place(QRect(0, 0, 243, 355));
    area.resize(800, 600);
    area.show();
    window->show();
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    EXPECT_GE(window->width(), 243);
    EXPECT_GE(window->height(), 355);
    EXPECT_EQ(window->widget()->size(), TInfoForm::kClientSize);
}

} // namespace
} // namespace zz
