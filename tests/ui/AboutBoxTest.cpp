// The about box: its texts, its picture, the spot that opens the project's page, its keys, and
// the main window's F11.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <vector>

#include "FakeRun.h"
#include "FakeUserDialogs.h"
#include "ui/main/TFormMain.h"
#include "ui/tools/TAboutBox.h"
#include "ui/tools/TFormRC.h"

namespace zz {
namespace {

template <typename T> T* Find(const QObject& parent, const char* name)
{
    T* object = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(object, nullptr) << name;
    return object;
}

class AboutBoxTest : public testing::Test
{
protected:
    QLabel* Label(const char* name) { return Find<QLabel>(Box, name); }

    std::vector<QUrl> Opened;
    bool OpenSucceeds = true;
    TAboutBox Box{nullptr, [this](const QUrl& address) {
                      Opened.push_back(address);
                      return OpenSucceeds;
                  }};
};

TEST_F(AboutBoxTest, ShowsTheTitleVersionAndRightsNotice)
{
    EXPECT_EQ(Box.windowTitle(), QStringLiteral("About this software"));
    EXPECT_TRUE(Box.isModal());
    EXPECT_EQ(Box.minimumSize(), Box.maximumSize());
    const struct
    {
        const char* Name;
        const char* Text;
    } labels[] = {
        {"ProductName", "Product name"},
        {"Label3", "VUVEZUV Zedezuze"},
        {"Version", "Version"},
        {"Label2", "2.0"},
        {"Label4", " "},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.Name);
        EXPECT_EQ(Label(l.Name)->text(), QString::fromLatin1(l.Text));
    }
    const QString notice = Label("Copyright")->text();
    EXPECT_TRUE(notice.contains(QStringLiteral("Zedezuze")) &&
                notice.contains(QStringLiteral("All rights reserved.")))
        << notice.toStdString();
    EXPECT_EQ(Find<QPushButton>(Box, "OKButton")->text(), QStringLiteral("OK"));
}

TEST_F(AboutBoxTest, ThePictureIsDrawnAtItsSize)
{
    QLabel* icon = Label("ProgramIcon");
    EXPECT_EQ(icon->size(), QSize(349, 89));
    const QPixmap pixmap = icon->pixmap();
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(349, 89));
    // Drawn, not blank: opaque everywhere and of many colours, a dark sky over the ground.
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    bool opaque = true;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            opaque = opaque && qAlpha(pixel) == 255;
            colours.insert(pixel);
        }
    }
    EXPECT_TRUE(opaque);
    EXPECT_GT(colours.size(), 50);
    const QColor sky = image.pixelColor(2, 2);
    EXPECT_GT(sky.blue(), sky.red());
    EXPECT_LT(sky.lightness(), 80);
}

TEST_F(AboutBoxTest, TheSpotOverTheLowerLeftCornerOpensTheProjectPage)
{
    QLabel* spot = Label("Label1");
    const QRect picture = Label("ProgramIcon")->geometry();
    EXPECT_EQ(spot->size(), QSize(89, 13));
    EXPECT_EQ(spot->geometry().bottomLeft(), picture.bottomLeft());
    EXPECT_TRUE(spot->text().isEmpty());
    EXPECT_EQ(spot->cursor().shape(), Qt::PointingHandCursor);

    const QUrl page = TAboutBox::PageAddress();
    ASSERT_TRUE(page.isValid()) << page.toString().toStdString();
    if (page.isLocalFile()) {
        EXPECT_TRUE(QFileInfo::exists(page.toLocalFile())) << page.toString().toStdString();
    }

    Box.show();
    // Elsewhere on the picture: nothing.
    QTest::mouseClick(Label("ProgramIcon"), Qt::LeftButton, {}, {200, 20});
    EXPECT_TRUE(Opened.empty());
    QTest::mouseClick(spot, Qt::LeftButton);
    EXPECT_EQ(Opened, std::vector<QUrl>{page});

    // A page that cannot be opened is not reported, and the box stays.
    OpenSucceeds = false;
    QTest::mouseClick(spot, Qt::LeftButton);
    EXPECT_EQ(Opened.size(), 2u);
    EXPECT_TRUE(Box.isVisible());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<QMessageBox*>(window) && window->isVisible());
    }
}

TEST_F(AboutBoxTest, OkAndEscapeCloseWithOk)
{
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "OK");
        QTimer::singleShot(0, &Box, [this, escape] {
            if (escape) {
                QTest::keyClick(&Box, Qt::Key_Escape);
            } else {
                QTest::mouseClick(Find<QPushButton>(Box, "OKButton"), Qt::LeftButton);
            }
        });
        EXPECT_EQ(Box.exec(), QDialog::Accepted);
        EXPECT_FALSE(Box.isVisible());
    }
}

TEST(AboutBoxInMainWindowTest, F11ShowsTheBoxModallyCentredOnTheMainWindow)
{
    test::TFakeUserDialogs dialogs;
    TFormMain form{&dialogs,
                   [](TControlFlags& flags, const TKeptValues&, TDisplay&, TRunEvents& events) {
                       return std::make_unique<test::TFakeRun>(flags, events);
                   }};
    form.show();
    for (QDialog* expected : std::vector<QDialog*>{&form.AboutBox(), &form.FormRC()}) {
        SCOPED_TRACE(expected->windowTitle().toStdString());
        QDialog* shown = nullptr;
        QPoint centre;
        dialogs.OnModal = [&](QDialog& dialog) {
            shown = &dialog;
            QTimer::singleShot(0, &dialog, [&] {
                centre = dialog.geometry().center();
                dialog.done(0);
            });
            return dialog.exec();
        };
        form.findChild<QAction*>(expected == &form.AboutBox() ? "aboutA1" : "RestartCommand1")
            ->trigger();
        EXPECT_EQ(shown, expected);
        EXPECT_LE((centre - form.geometry().center()).manhattanLength(), 4);
    }
}

} // namespace
} // namespace zz
