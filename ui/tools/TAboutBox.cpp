#include "ui/tools/TAboutBox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>

#include "core/ProductVersion.h"
#include "ui/windows/WindowFonts.h"

#ifndef ZZ_PROJECT_PAGE
#define ZZ_PROJECT_PAGE ""
#endif
#ifndef ZZ_INSTALLED_PAGE
#define ZZ_INSTALLED_PAGE ""
#endif

namespace zz {
namespace {

constexpr int kFontPixels = 12;
constexpr QSize kClientSize{381, 236};
constexpr QRect kPanel{8, 8, 365, 186};
// Inside the panel.
constexpr QPoint kPicture{8, 8};
constexpr int kCaptionLeft = 10;
constexpr int kValueLeft = 110;
constexpr int kRowHeight = 18;
constexpr int kProductRow = 104;
constexpr int kVersionRow = 124;
constexpr int kNoticeRow = 146;
constexpr QRect kOkButton{153, 203, 75, 25};

const char* const kProductTitle = "VUVEZUV Zedezuze";
const char* const kRightsNotice = "Copyright (C) the Zedezuze authors. All rights reserved.";
const char* const kPictureResource = ":/zedezuze/about.svg";

// The picture drawn at the screen's pixel density.
QPixmap RenderPicture(QSize size)
{
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QString::fromLatin1(kPictureResource));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

bool OpenInBrowser(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent, TPageOpener openPage)
    : QDialog(parent), OpenPage(openPage ? std::move(openPage) : TPageOpener(OpenInBrowser))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About this software"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(kClientSize);
    setFont(DisplayFont(kFontPixels));

    BuildPanel();

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(kOkButton);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::BuildPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(kPanel);

    ProgramIcon = AddLabel(panel, "ProgramIcon", {}, {kPicture, kPictureSize});
    ProgramIcon->setPixmap(RenderPicture(kPictureSize));

    // A textless, see-through spot over the picture's lower left corner.
    Label1 = AddLabel(panel, "Label1", {},
                      {kPicture.x(), kPicture.y() + kPictureSize.height() - kSpotSize.height(),
                       kSpotSize.width(), kSpotSize.height()});
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->raise();
    Label1->installEventFilter(this);

    AddLabel(panel, "ProductName", QStringLiteral("Product name"),
             {kCaptionLeft, kProductRow, kValueLeft - kCaptionLeft, kRowHeight});
    AddLabel(panel, "Label3", QString::fromLatin1(kProductTitle),
             {kValueLeft, kProductRow, kPanel.width() - kValueLeft - 8, kRowHeight});
    AddLabel(panel, "Version", QStringLiteral("Version"),
             {kCaptionLeft, kVersionRow, kValueLeft - kCaptionLeft, kRowHeight});
    const QString version =
        QString::fromLatin1(kProductVersion.data(), static_cast<qsizetype>(kProductVersion.size()));
    AddLabel(panel, "Label2", version,
             {kValueLeft, kVersionRow, kPanel.width() - kValueLeft - 8, kRowHeight});
    QLabel* notice =
        AddLabel(panel, "Copyright", QString::fromLatin1(kRightsNotice),
                 {kCaptionLeft, kNoticeRow, kPanel.width() - 2 * kCaptionLeft, 2 * kRowHeight});
    notice->setWordWrap(true);
    AddLabel(panel, "Label4", QStringLiteral(" "),
             {kCaptionLeft, kNoticeRow + 2 * kRowHeight, kRowHeight, kRowHeight});
}

QLabel* TAboutBox::AddLabel(QWidget* parent, const char* name, const QString& text,
                            const QRect& bounds)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(bounds);
    return label;
}

QUrl TAboutBox::PageAddress()
{
    const QUrl chosen = QUrl::fromUserInput(QString::fromUtf8(ZZ_PROJECT_PAGE));
    // A file chosen when building that this machine does not have (the program was installed
    // from a package): the README installed with the program, found from the program's folder.
    if (chosen.isLocalFile() && !QFileInfo::exists(chosen.toLocalFile()) &&
        *ZZ_INSTALLED_PAGE != '\0') {
        const QFileInfo installed(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                  QString::fromUtf8(ZZ_INSTALLED_PAGE));
        if (installed.exists()) {
            return QUrl::fromLocalFile(installed.canonicalFilePath());
        }
    }
    return chosen;
}

void TAboutBox::Label1Click()
{
    (void)OpenPage(PageAddress());
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::reject()
{
    accept();
}

} // namespace zz
