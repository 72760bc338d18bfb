#include "ui/windows/TTtrack.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <algorithm>

#include "ui/charts/TChart.h"
#include "ui/windows/DarkScheme.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
constexpr int kLetterPixels = 31;
constexpr int kArrowPixels = 113;
constexpr int kDialMargin = 20;
const QRgb kArrowColour = qRgb(255, 255, 255);

// The texts of the bottom strip, in the group box's pixels.
constexpr int kTextTop = 15;
constexpr int kTextHeight = 15;
constexpr QRect kTrackRect{47, kTextTop, 83, kTextHeight};
constexpr QRect kDirectionRect{125, kTextTop, 39, kTextHeight};
constexpr QRect kUnitRect{170, kTextTop, 30, kTextHeight};

QLabel* AddLetter(const char* letter, QWidget* dial)
{
    auto* label = new QLabel(QString::fromLatin1(letter), dial);
    label->setFont(DisplayFont(kLetterPixels));
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    return label;
}

} // namespace

TTtrack::TTtrack(QWidget* parent) : QWidget(parent)
{
    setFont(DisplayFont(kFontPixels));
    UseDarkScheme(*this);

    Dial = new TChart(this);
    Dial->setObjectName(QStringLiteral("Chart1"));
    Dial->SetBackgroundColour(kDarkBackground);
    Dial->SetMargins(QMargins(kDialMargin, kDialMargin, kDialMargin, kDialMargin));
    Dial->FramePlotArea = true;
    Dial->FrameColour = Qt::white;
    for (TChartAxis* axis : {&Dial->BottomAxis(), &Dial->LeftAxis()}) {
        axis->Range = TAxisRange{-1.0, 1.0};
        axis->AutomaticMaximum = false;
        axis->Visible = false;
        axis->Grid = false;
    }
    North = AddLetter("N", Dial);
    South = AddLetter("S", Dial);
    West = AddLetter("W", Dial);
    East = AddLetter("E", Dial);

    // The arrow is the label "V" of a point at the centre, turned about it.
    Arrow = &Dial->AddPointSeries(1);
    Arrow->Shape = TMarkShape::None;
    Arrow->JoinPoints = false;
    Arrow->LabelsVisible = true;
    Arrow->LabelPlace = TLabelPlace::Centred;
    Arrow->LabelFont = DisplayFont(kArrowPixels);
    Arrow->LabelColour = Qt::white;
    Arrow->Add(0.0, 0.0, kArrowColour, "V");
    Arrow->Active = false;

    Panel = new QFrame(this);
    Panel->setObjectName(QStringLiteral("Panel1"));
    UseDarkScheme(*Panel);
    DirectionBox = new QGroupBox(QStringLiteral("Direction"), Panel);
    TrackLabel = new QLabel(DirectionBox);
    TrackLabel->setObjectName(QStringLiteral("MTLabel"));
    TrackLabel->setGeometry(kTrackRect);
    // Fixed sizes keep a new text from asking the window for a new layout.
    TrackLabel->setFixedSize(kTrackRect.size());
    TrackLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DirectionLabel = new QLabel(DirectionBox);
    DirectionLabel->setObjectName(QStringLiteral("DirLabel"));
    DirectionLabel->setGeometry(kDirectionRect);
    DirectionLabel->setFixedSize(kDirectionRect.size());
    DirectionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Opaque, so that a new text repaints the label alone and not the group box beneath it.
    UseDarkScheme(*TrackLabel);
    UseDarkScheme(*DirectionLabel);
    auto* unit = new QLabel(QStringLiteral("[deg]"), DirectionBox);
    unit->setGeometry(kUnitRect);
    unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    ResetDisplay();
}

TTtrack::~TTtrack() = default;

void TTtrack::SetDirection(const TDirectionView& view)
{
    DirectionLabel->setText(QString::fromLatin1(
        view.DirLabel.View().data(), static_cast<qsizetype>(view.DirLabel.View().size())));
    TrackLabel->setText(
        QString::fromLatin1(view.MTLabel.data(), static_cast<qsizetype>(view.MTLabel.size())));
    if (view.ArrowAngle) {
        Arrow->LabelAngle = *view.ArrowAngle;
        Arrow->Active = true;
    } else {
        // The arrow keeps its last angle, hidden.
        Arrow->Active = false;
    }
    Dial->Changed();
}

void TTtrack::ResetDisplay()
{
    Arrow->Active = false;
    DirectionLabel->setText(QStringLiteral("--"));
    TrackLabel->clear();
    Dial->Changed();
}

void TTtrack::ClearDisplay()
{
    ResetDisplay();
}

bool TTtrack::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        if (auto* window = qobject_cast<TChildWindow*>(parentWidget())) {
            window->setMinimumWidth(kMinimumOuterWidth);
            window->setMaximumWidth(kMaximumOuterWidth);
        }
    }
    return QWidget::event(event);
}

void TTtrack::resizeEvent(QResizeEvent*)
{
    // The height follows the dial's width (the form's), which keeps the dial about square. The
    // window may resize the form again right here, and while the form is still being shown
    // that resize sends no event of its own: the layout below takes the size as it is now.
    if (auto* window = qobject_cast<TChildWindow*>(parentWidget())) {
        window->HoldHeight(width() + kHeightOverDial);
    }
    const int dialHeight = std::max(0, height() - kPanelHeight);
    Dial->setGeometry(0, 0, width(), dialHeight);
    Panel->setGeometry(0, dialHeight, width(), kPanelHeight);
    DirectionBox->setGeometry(0, 0, width(), kPanelHeight);

    North->setGeometry(0, 0, width(), kNorthStrip);
    South->setGeometry(0, dialHeight - kSouthStrip, width(), kSouthStrip);
    West->setGeometry(0, 0, kSideStrip, dialHeight);
    East->setGeometry(width() - kSideStrip, 0, kSideStrip, dialHeight);
}

} // namespace zz
