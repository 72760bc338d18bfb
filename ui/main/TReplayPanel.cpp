#include "ui/main/TReplayPanel.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <qdrawutil.h>

#include "ui/main/TRadioGroup.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

// A colour given as a 0x00BBGGRR value, blue in the high byte.
QColor ColourFromBgr(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

const QColor kPanelColour = ColourFromBgr(4210752);

constexpr QRect kGroupBoxGeometry{9, 2, 220, 32};
constexpr QRect kLabelGeometry{4, 13, 212, 17};
constexpr QRect kTrackBarGeometry{235, 2, 148, 32};
constexpr QRect kButtonGeometry{390, 8, 27, 27};
constexpr int kBarLeft = 420;
constexpr int kBarMargin = 6;

constexpr int kPictureSize = 24;
// The part of the picture the button shows.
constexpr QSize kButtonPictureSize{23, 23};

// Small enough for the three speed items to fit their 148 pixels.
constexpr int kFontPixels = 11;

const char* const kEllipsis = "...";

// The position bar. A scroll action of the user (a press on an arrow, beside the thumb or on
// the thumb) ends when the mouse is let go; only then is it reported. The wheel and the context
// menu, which move the bar without such an end, are switched off.
class TPositionBar : public QScrollBar
{
public:
    TPositionBar(QWidget* parent, std::function<void()> scrollEnded)
        : QScrollBar(Qt::Horizontal, parent), ScrollEnded(std::move(scrollEnded))
    {
        setFocusPolicy(Qt::NoFocus);
        setContextMenuPolicy(Qt::NoContextMenu);
        connect(this, &QAbstractSlider::sliderPressed, this, [this] { InAction = true; });
        connect(this, &QAbstractSlider::actionTriggered, this, [this] { InAction = true; });
    }

    bool Scrolling() const { return InAction || isSliderDown(); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QScrollBar::mouseReleaseEvent(event);
        if (InAction && event->buttons() == Qt::NoButton) {
            InAction = false;
            ScrollEnded();
        }
    }

    void wheelEvent(QWheelEvent* event) override { event->ignore(); }

    void hideEvent(QHideEvent* event) override
    {
        // A release that comes after the bar was hidden never reaches it.
        InAction = false;
        QScrollBar::hideEvent(event);
    }

private:
    std::function<void()> ScrollEnded;
    bool InAction = false;
};

// The text cut at the end, with "..." after it, so that it fits the width.
QString ElidedAtEnd(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const QString ellipsis = QString::fromLatin1(kEllipsis);
    qsizetype length = text.size();
    while (length > 0) {
        --length;
        if (length > 0 && text[length].isLowSurrogate()) {
            --length;
        }
        const QString cut = text.left(length) + ellipsis;
        if (metrics.horizontalAdvance(cut) <= width) {
            return cut;
        }
    }
    return ellipsis;
}

QImage WhiteSquare()
{
    QImage picture(kPictureSize, kPictureSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// A pen like the drawing pens of the pictures: round ends and joins, no smoothing.
QPen PicturePen(const QColor& colour, int width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A one-pixel ring just inside rect.
void FillRing(QPainter& painter, const QRect& rect, const QColor& colour)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), colour);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}

} // namespace

TReplayPanel::TReplayPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PanelPrev"));
    setFixedHeight(kHeight);
    setFrameShape(QFrame::NoFrame);
    setFont(DisplayFont(kFontPixels));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kPanelColour);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);

    GroupBox1 = new QGroupBox(QStringLiteral("Replaying Log File"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(kGroupBoxGeometry);
    QPalette captionColours = GroupBox1->palette();
    captionColours.setColor(QPalette::WindowText, Qt::white);
    captionColours.setColor(QPalette::Text, Qt::white);
    GroupBox1->setPalette(captionColours);

    Label1 = new QLabel(GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kLabelGeometry);

    TrackBar1 = new TRadioGroup(
        QStringLiteral("Replay Speed"),
        {QStringLiteral("slow"), QStringLiteral("mid"), QStringLiteral("fast")}, 3, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(kTrackBarGeometry);
    TrackBar1->layout()->setContentsMargins(2, 0, 2, 0);
    TrackBar1->SetItemIndex(kSpeedSlow);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(kButtonGeometry);
    SpeedButton1->setCheckable(true);
    // The button shows only a picture; assistive tools (and the end-to-end test) read this.
    SpeedButton1->setAccessibleName(QStringLiteral("Play"));
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    SpeedButton1->setIconSize(kButtonPictureSize);

    ScrollBar1 = new TPositionBar(this, [this] { ScrollEnded(); });
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));

    connect(SpeedButton1, &QToolButton::clicked, this, &TReplayPanel::PlayClicked);
    connect(TrackBar1, &TRadioGroup::ItemIndexChanged, this, &TReplayPanel::SpeedChanged);
    connect(ScrollBar1, &QScrollBar::valueChanged, this,
            [this](int value) { ShownOffset = Scale.ToOffset(value); });

    SetFileSize(0);
    DrawPlayPicture();
}

void TReplayPanel::ShowFile(const QString& fullPath)
{
    const QString name = QFileInfo(fullPath).fileName();
    Label1->setText(ElidedAtEnd(name, Label1->fontMetrics(), Label1->width()));
    Label1->setToolTip(fullPath);
    GroupBox1->setToolTip(fullPath);
}

void TReplayPanel::SetFileSize(int64_t bytes)
{
    Scale = TReplayBarScale(bytes);
    const QSignalBlocker blocker(ScrollBar1);
    ScrollBar1->setRange(0, Scale.Maximum());
    ScrollBar1->setSingleStep(Scale.SingleStep());
    ScrollBar1->setPageStep(Scale.PageStep());
    ScrollBar1->setValue(0);
    ShownOffset = 0;
}

int64_t TReplayPanel::FileSize() const
{
    return Scale.Size();
}

void TReplayPanel::SetPosition(int64_t offset)
{
    if (UserScrolling()) {
        return;
    }
    const QSignalBlocker blocker(ScrollBar1);
    ScrollBar1->setValue(Scale.ToValue(offset));
    ShownOffset = std::clamp<int64_t>(offset, 0, Scale.Size());
}

int64_t TReplayPanel::Position() const
{
    return ShownOffset;
}

bool TReplayPanel::AtEnd() const
{
    return ShownOffset == Scale.Size();
}

bool TReplayPanel::UserScrolling() const
{
    return static_cast<const TPositionBar*>(ScrollBar1)->Scrolling();
}

void TReplayPanel::SetSpeedIndex(int index)
{
    TrackBar1->SetItemIndex(index);
}

int TReplayPanel::SpeedIndex() const
{
    return TrackBar1->ItemIndex();
}

void TReplayPanel::SetPlayButtonDown(bool down)
{
    const QSignalBlocker blocker(SpeedButton1);
    SpeedButton1->setChecked(down);
}

bool TReplayPanel::PlayButtonDown() const
{
    return SpeedButton1->isChecked();
}

void TReplayPanel::DrawPlayPicture()
{
    ShowPicture(PlayPicture());
}

void TReplayPanel::DrawPausePicture()
{
    ShowPicture(PausePicture());
}

// A green triangle pointing right, lit on its upper edge, with a black outline around it.
QImage TReplayPanel::PlayPicture()
{
    QImage picture = WhiteSquare();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPoint top(7, 5);
    const QPoint bottom(7, 19);
    const QPoint tip(18, 12);
    painter.setPen(PicturePen(QColor(0, 144, 0), 2));
    painter.setBrush(QColor(0, 240, 32));
    const QPoint triangle[] = {top, bottom, tip};
    painter.drawPolygon(triangle, 3);
    painter.setPen(PicturePen(QColor(160, 253, 160), 2));
    painter.drawLine(tip, top);
    painter.setPen(PicturePen(QColor(0, 210, 32), 2));
    painter.drawLine(bottom, top);
    painter.setPen(PicturePen(QColor(0, 144, 0), 2));
    painter.drawLine(tip, bottom);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    const QPoint outline[] = {{5, 3}, {5, 21}, {19, 12}, {5, 3}};
    painter.drawPolyline(outline, 4);
    return picture;
}

// Two blue bars, lit on their left and top edges, each with a black outline one pixel outside.
QImage TReplayPanel::PausePicture()
{
    QImage picture = WhiteSquare();
    QPainter painter(&picture);
    const QColor lit(0, 128, 255);
    for (const QRect& bar :
         {QRect(QPoint(6, 7), QPoint(9, 19)), QRect(QPoint(14, 7), QPoint(17, 19))}) {
        FillRing(painter, bar, QColor(0, 32, 255));
        painter.fillRect(bar.adjusted(1, 1, -1, -1), QColor(0, 80, 255));
        painter.fillRect(QRect(bar.left(), bar.top(), 1, bar.height()), lit);
        painter.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), lit);
        FillRing(painter, bar.adjusted(-1, -1, 1, 1), Qt::black);
    }
    return picture;
}

void TReplayPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Lowered outside, raised inside.
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
}

void TReplayPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    ScrollBar1->setGeometry(kBarLeft, kBarMargin, std::max(0, width() - kBarLeft - kBarMargin),
                            std::max(0, height() - 2 * kBarMargin));
}

void TReplayPanel::ShowPicture(const QImage& picture)
{
    SpeedButton1->setIcon(
        QIcon(QPixmap::fromImage(picture.copy(QRect(QPoint(0, 0), kButtonPictureSize)))));
}

void TReplayPanel::ScrollEnded()
{
    emit SeekRequested(ShownOffset);
}

} // namespace zz
