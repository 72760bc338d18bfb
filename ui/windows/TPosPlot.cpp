#include "ui/windows/TPosPlot.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <string_view>

#include "core/NumberFormat.h"
#include "core/PositionPlot.h"
#include "ui/charts/TChart.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/DarkScheme.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TPosPlotLegend.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
constexpr int kHeadingFontPixels = 19;
constexpr int kRangeEditLength = 10;
constexpr int kRangeEditWidth = 56;
constexpr int32_t kDefaultRangeMetres = 10;
constexpr int kRunItem = 0;
constexpr int kFixItem = 1;

const QColor kWindowColour(0x40, 0x40, 0x40);
const QColor kSquareColour(0x48, 0x48, 0x48);
const QColor kGridColour(0x80, 0x80, 0x80);

constexpr const char* kNoLongitude = "--";
constexpr const char* kNoLatitude = "Latitude          \n--\n0m";
constexpr const char* kHeadingMark = "v";

// The plot square is the dotted frame of the background, whose lines run 2 pixels in from the
// chart's top and left and 14 in from its right and bottom: the square's edges lie on the frame
// and its centre on the dotted cross (to a pixel).
const QMargins kSquareMargins(2, 2, 13, 13);

QString ToQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A colour of the core (0xRRGGBB) as the chart's opaque QRgb.
QRgb Opaque(uint32_t colour)
{
    return 0xFF000000u | colour;
}

} // namespace

TPosPlot::TPosPlot(TControlFlags& flags, QWidget* parent) : QWidget(parent), Flags(flags)
{
    setFont(DisplayFont(kFontPixels));
    UseDarkScheme(*this, kWindowColour);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);

    // Top rows over the chart: title, centre longitude, and the scale from -range to +range.
    grid->addWidget(AddLabel("", "Longitude", Qt::AlignCenter), 0, 1, Qt::AlignHCenter);
    LonCen = AddLabel("LonCen", kNoLongitude, Qt::AlignCenter);
    grid->addWidget(LonCen, 1, 1, Qt::AlignHCenter);
    LonMinM = AddLabel("LonMinM", "-10m", Qt::AlignLeft);
    LonCenM = AddLabel("LonCenM", "0m", Qt::AlignCenter);
    LonMaxM = AddLabel("LonMaxM", "+10m", Qt::AlignRight);
    grid->addWidget(LonMinM, 2, 1, Qt::AlignLeft);
    grid->addWidget(LonCenM, 2, 1, Qt::AlignHCenter);
    grid->addWidget(LonMaxM, 2, 1, Qt::AlignRight);

    // Left column beside the chart: the latitude scale around the centre text and the legend.
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    LatMaxM = AddLabel("LatMaxM", "+10m", Qt::AlignRight | Qt::AlignTop);
    LatCen = AddLabel("LatCen", kNoLatitude, Qt::AlignCenter);
    LatMinM = AddLabel("LatMinM", "-10m", Qt::AlignRight | Qt::AlignBottom);
    LegendPanel = new TPosPlotLegend(this);
    LegendPanel->setObjectName(QStringLiteral("Legend"));
    column->addWidget(LatMaxM);
    column->addStretch(1);
    column->addWidget(LatCen);
    column->addWidget(LegendPanel, 0, Qt::AlignHCenter);
    column->addStretch(1);
    column->addWidget(LatMinM);
    grid->addLayout(column, 3, 0);
    // The centre texts change with every position in "Run": at a fixed size, wide enough for
    // any coordinate, they neither ask for a new layout nor move the chart.
    for (QLabel* label : {LonCen, LatCen}) {
        const QRect widest = label->fontMetrics().boundingRect(
            QRect(), Qt::AlignCenter,
            QString::fromLatin1(label == LonCen ? "W 000 00' 00.000\""
                                                : "Latitude          \nN 000 00' 00.000\"\n0m"));
        label->setFixedSize(widest.size() + QSize(4, 2));
        // Opaque, so that a new text repaints the label alone and not the window beneath it.
        UseDarkScheme(*label, kWindowColour);
    }

    PlotChart = new TChart(this);
    PlotChart->setObjectName(QStringLiteral("Chart1"));
    PlotChart->setMinimumSize(64, 64);
    PlotChart->SetMargins(kSquareMargins);
    PlotChart->SetBackgroundColour(kWindowColour);
    PlotChart->BottomAxis().Visible = false;
    PlotChart->BottomAxis().Grid = false;
    PlotChart->LeftAxis().Visible = false;
    PlotChart->LeftAxis().Grid = false;
    PlotChart->installEventFilter(this);
    grid->addWidget(PlotChart, 3, 1);

    Track = &PlotChart->AddPointSeries(TPosPlotModel::kTrackCapacity);
    Track->Shape = TMarkShape::Diamond;
    Track->MarkSize = 3;
    Track->MarkOutline = false;
    Track->LabelsVisible = false;

    Marker = &PlotChart->AddPointSeries(1);
    Marker->Shape = TMarkShape::Diamond;
    Marker->MarkSize = 2;
    Marker->MarkOutline = false;
    Marker->LabelFont = DisplayFont(kHeadingFontPixels);
    Marker->LabelColour = Qt::white;
    Marker->LabelOutlined = true;
    Marker->LabelPlace = TLabelPlace::Centred;
    Marker->LabelsVisible = false;

    grid->addWidget(BuildRangeGroup(), 4, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    AutochkClick();
    KeepRangeText(LonR->text());
    RedrawBackground();
}

TPosPlot::~TPosPlot() = default;

QLabel* TPosPlot::AddLabel(const char* name, const char* text, Qt::Alignment alignment)
{
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    return label;
}

QWidget* TPosPlot::BuildRangeGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Position Range"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    Autochk = new QCheckBox(QStringLiteral("Auto"), group);
    Autochk->setObjectName(QStringLiteral("Autochk"));
    Autochk->setChecked(true);
    connect(Autochk, &QCheckBox::toggled, this, &TPosPlot::AutochkClick);
    row->addWidget(Autochk);

    LonR = new QLineEdit(QString::number(kDefaultRangeMetres), group);
    LonR->setObjectName(QStringLiteral("LonR"));
    LonR->setMaxLength(kRangeEditLength);
    LonR->setFixedWidth(kRangeEditWidth);
    LonR->setAlignment(Qt::AlignRight);
    connect(LonR, &QLineEdit::textChanged, this, &TPosPlot::KeepRangeText);
    row->addWidget(LonR);
    row->addWidget(new QLabel(QStringLiteral("[m]"), group));

    Modechk = new QGroupBox(QStringLiteral("Plot Mode"), group);
    Modechk->setObjectName(QStringLiteral("Modechk"));
    auto* modeRow = new QHBoxLayout(Modechk);
    modeRow->setContentsMargins(4, 0, 4, 0);
    ModeButtons = new QButtonGroup(Modechk);
    auto* run = new QRadioButton(QStringLiteral("Run"), Modechk);
    auto* fix = new QRadioButton(QStringLiteral("Fix"), Modechk);
    ModeButtons->addButton(run, kRunItem);
    ModeButtons->addButton(fix, kFixItem);
    run->setChecked(true);
    modeRow->addWidget(run);
    modeRow->addWidget(fix);
    connect(ModeButtons, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
        if (checked) {
            ModechkClick(item);
        }
    });
    row->addWidget(Modechk);

    Plotchk = new QCheckBox(QStringLiteral("Plot No fix"), group);
    Plotchk->setObjectName(QStringLiteral("Plotchk"));
    row->addWidget(Plotchk);
    row->addStretch(1);
    return group;
}

void TPosPlot::AutochkClick()
{
    LonR->setEnabled(!Autochk->isChecked());
}

void TPosPlot::ModechkClick(int item)
{
    if (item == kRunItem) {
        Flags.RecentreRequest.store(1);
    }
}

void TPosPlot::KeepRangeText(const QString& text)
{
    // Characters beyond Latin-1 cannot be digits; '?' keeps such a text from parsing.
    RangeLength = std::min(static_cast<size_t>(text.size()), RangeText.size());
    for (size_t index = 0; index < RangeLength; ++index) {
        const char16_t unit = text[static_cast<qsizetype>(index)].unicode();
        RangeText[index] = unit < 0x80 ? static_cast<char>(unit) : '?';
    }
}

void TPosPlot::UpdatePosition(const TReceiverState& snapshot, bool& cyclePointPending)
{
    TPosPlotControls controls;
    controls.LonR = std::string_view(RangeText.data(), RangeLength);
    controls.Autochk = Autochk->isChecked();
    controls.Plotchk = Plotchk->isChecked();
    controls.Mode = ModeButtons->checkedId() == kRunItem ? TPlotMode::Run : TPlotMode::Fix;
    const TPosPlotChange change =
        Model.UpdatePosition(snapshot, controls, Flags.RecentreRequest, cyclePointPending);

    if (change.OldestRemoved) {
        Track->RemoveOldest();
    }
    if (change.PointAdded) {
        const TTrackPoint& point = Model.NewestTrackPoint();
        Track->Add(point.LonMin, point.LatMin, Opaque(point.Colour));
    }
    Marker->Clear();
    if (const auto& marker = Model.Marker()) {
        Marker->Add(marker->LonMin, marker->LatMin, Opaque(marker->Colour), kHeadingMark);
    }
    if (change.Recentred) {
        LonCen->setText(ToQString(change.LonCen.View()));
        LatCen->setText(ToQString(change.LatCen.View()));
    }
    if (change.LonR) {
        // Written only when it differs, so that an unchanged range costs no string.
        std::array<char, 16> digits{};
        const auto written =
            std::to_chars(digits.data(), digits.data() + digits.size(), *change.LonR);
        const std::string_view text(digits.data(),
                                    static_cast<size_t>(written.ptr - digits.data()));
        if (text != std::string_view(RangeText.data(), RangeLength)) {
            LonR->setText(ToQString(text));
        }
    }
    if (change.Rescaled) {
        if (Model.State().RangeMetres != ShownRangeMetres) {
            ShowRangeLabels(change.MaxLabel.View(), change.MinLabel.View());
            ShownRangeMetres = Model.State().RangeMetres;
        }
        PlotChart->BottomAxis().Range = {change.LonAxisMin, change.LonAxisMax};
        PlotChart->LeftAxis().Range = {change.LatAxisMin, change.LatAxisMax};
    }
    PlotChart->Changed();
}

void TPosPlot::ShowRangeLabels(std::string_view maxText, std::string_view minText)
{
    LonMaxM->setText(ToQString(maxText));
    LatMaxM->setText(ToQString(maxText));
    LonMinM->setText(ToQString(minText));
    LatMinM->setText(ToQString(minText));
}

void TPosPlot::UpdateCourse(const TReceiverState& snapshot)
{
    Model.UpdateCourse(snapshot.Course);
    ShowHeading();
    PlotChart->Changed();
}

void TPosPlot::ShowHeading()
{
    const std::optional<int> angle = Model.HeadingAngle();
    Marker->LabelsVisible = angle.has_value();
    Marker->LabelAngle = angle.value_or(0);
}

void TPosPlot::ResetDisplay()
{
    LonR->setText(QString::number(kDefaultRangeMetres));
    Autochk->setChecked(true);
    Plotchk->setChecked(false);
    ModeButtons->button(kRunItem)->setChecked(true);
    ShowRangeLabels(RangeMaxText(kDefaultRangeMetres).View(),
                    RangeMinText(kDefaultRangeMetres).View());
    ShownRangeMetres = kDefaultRangeMetres;
    LonCen->setText(QString::fromLatin1(kNoLongitude));
    LatCen->setText(QString::fromLatin1(kNoLatitude));
    Model.ResetDisplay(Flags.RecentreRequest);
    Track->Clear();
    Marker->Clear();
    ShowHeading();
    PlotChart->Changed();
}

void TPosPlot::ClearDisplay()
{
    Model.ClearDisplay();
    Track->Clear();
    Marker->Clear();
    ShowHeading();
    PlotChart->Changed();
}

void TPosPlot::RedrawBackground()
{
    const int width = PlotChart->width();
    const int height = PlotChart->height();
    const QRect square = PlotChart->PlotArea();

    Background = QImage(kBackgroundSize, kBackgroundSize, QImage::Format_RGB32);
    Background.fill(kWindowColour);
    QPainter painter(&Background);
    // The chart shows the image from the plot square's top left; drawing in the chart's own
    // pixels keeps the frame and the cross where the square is.
    painter.translate(-square.left(), -square.top());
    painter.fillRect(QRect(0, 0, width, height), kSquareColour);
    painter.setPen(QPen(kGridColour, 1.0, Qt::DotLine));
    painter.drawLine(0, (height - 13) / 2, width - 13, (height - 13) / 2);
    painter.drawLine((width - 12) / 2, 0, (width - 12) / 2, height - 13);
    const QPoint frame[5] = {
        {2, 2}, {width - 14, 2}, {width - 14, height - 14}, {2, height - 14}, {2, 2}};
    painter.drawPolyline(frame, 5);
    painter.end();

    PlotChart->SetBackgroundImage(Background);
    PlotChart->Changed();
}

bool TPosPlot::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PlotChart && event->type() == QEvent::Resize) {
        RedrawBackground();
    }
    return QWidget::eventFilter(watched, event);
}

void TPosPlot::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The window stays square: its height follows its width.
    if (auto* window = qobject_cast<TChildWindow*>(parentWidget())) {
        window->setMinimumWidth(kMinWidth);
        window->setMaximumWidth(kMaxWidth);
        window->HoldHeight(std::max(window->width(), kMinHeight));
    }
}

} // namespace zz
