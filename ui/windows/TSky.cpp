#include "ui/windows/TSky.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "ui/charts/TChart.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/DarkScheme.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TSatLegend.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr double kAxisMax = 180.0;
constexpr int kGpsMarkSize = 13;
constexpr int kSbasMarkSize = 12;
constexpr int kFontPixels = 11;
constexpr int kLabelPixels = 10;
// Enough passes for the side to grow from the smallest window to the largest.
constexpr int kMaxHeightPasses = 64;
// Margins of the plot area inside the chart; the compass letters sit in them.
constexpr QMargins kPlotMargins(16, 16, 17, 17);
static_assert(kPlotMargins.left() + kPlotMargins.right() == TSky::kChartMargins);
static_assert(kPlotMargins.top() + kPlotMargins.bottom() == TSky::kChartMargins);
constexpr size_t kSeriesCapacity = kMaxSkyMarks;
const QColor kGridColour(0x80, 0x80, 0x80);

constexpr const char* kLetters[4] = {"N", "S", "W", "E"};

// The box given by its corners (x1, y1)-(x2, y2), right and bottom edges excluded, as a
// rectangle that QPainter strokes onto exactly those pixels.
QRect EdgeBox(int x1, int y1, int x2, int y2)
{
    return {x1, y1, x2 - x1 - 1, y2 - y1 - 1};
}

QRgb Opaque(uint32_t colour)
{
    return 0xFF000000u | colour;
}

} // namespace

TSky::TSky(QWidget* parent)
    : QWidget(parent), BackgroundImage(kImageSide, kImageSide, QImage::Format_RGB32)
{
    setFont(DisplayFont(kFontPixels));
    UseDarkScheme(*this);

    SkyChart = new TChart(this);
    SkyChart->setObjectName(QStringLiteral("SkyChart"));
    SkyChart->setFont(DisplayFont(kFontPixels));
    SkyChart->SetBackgroundColour(kDarkBackground);
    SkyChart->SetMargins(kPlotMargins);
    for (TChartAxis* axis : {&SkyChart->BottomAxis(), &SkyChart->LeftAxis()}) {
        axis->Range = {0.0, kAxisMax};
        axis->AutomaticMaximum = false;
        axis->Visible = false;
        axis->Grid = false;
    }
    SkyChart->setAttribute(Qt::WA_TransparentForMouseEvents);

    Series2 = &SkyChart->AddPointSeries(kSeriesCapacity);
    Series2->Shape = TMarkShape::Circle;
    Series2->MarkSize = kGpsMarkSize;
    Series3 = &SkyChart->AddPointSeries(kSeriesCapacity);
    Series3->Shape = TMarkShape::Square;
    Series3->MarkSize = kSbasMarkSize;
    for (TPointSeries* series : {Series2, Series3}) {
        series->LabelFont = DisplayFont(kLabelPixels);
        series->LabelColour = Qt::white;
        series->LabelPlace = TLabelPlace::Beside;
    }

    for (size_t index = 0; index < Letters.size(); ++index) {
        auto* letter = new QLabel(QString::fromLatin1(kLetters[index]), SkyChart);
        letter->setAlignment(Qt::AlignCenter);
        letter->setPalette(palette());
        letter->setFont(DisplayFont(kFontPixels));
        Letters[index] = letter;
    }

    LegendPanel = new TSatLegend(TMarkShape::Circle, TLegendArrangement::KindPerColumn, this);
    LegendPanel->setObjectName(QStringLiteral("LegendPanel"));

    BackgroundImage.fill(Qt::black);
    resize(kMinOuterWidth, kMinOuterWidth + LegendPanel->NeededHeight());
    FormResize();
}

int TSky::PlotSide() const
{
    return SkyChart->width() - kChartMargins;
}

void TSky::UpdateSatellites(const TReceiverState& mergedSnapshot)
{
    Series2->Clear();
    Series3->Clear();
    ComputeSkyMarks(mergedSnapshot, Marks);
    for (const TSkyMark& mark : Marks) {
        TPointSeries& series = mark.Kind == TSatKind::Gps ? *Series2 : *Series3;
        series.Add(mark.X, mark.Y, Opaque(mark.Colour), mark.Label.View());
    }
    SkyChart->Changed();
}

void TSky::ResetDisplay()
{
    Series3->Clear();
    Series2->Clear();
    SkyChart->Changed();
}

void TSky::ClearDisplay()
{
    ResetDisplay();
}

void TSky::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

bool TSky::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        ApplyWindowLimits();
    }
    return QWidget::event(event);
}

void TSky::ApplyWindowLimits()
{
    if (auto* window = qobject_cast<TChildWindow*>(parentWidget())) {
        window->setMinimumWidth(kMinOuterWidth);
        window->setMaximumWidth(kMaxOuterWidth);
    }
}

void TSky::FormResize()
{
    LayOut();
    auto* window = qobject_cast<TChildWindow*>(parentWidget());
    if (!window || HoldingHeight) {
        return;
    }
    // Pinning the height resizes the form, which may allow a larger side: repeat until the
    // held height matches the side. The resizes in between only lay the form out.
    HoldingHeight = true;
    for (int pass = 0; pass < kMaxHeightPasses; ++pass) {
        const int outerHeight = ChartSide() + kHeightOverSide;
        if (window->minimumHeight() == outerHeight && window->maximumHeight() == outerHeight) {
            break;
        }
        window->HoldHeight(outerHeight);
    }
    HoldingHeight = false;
}

int TSky::ChartSide() const
{
    return std::max(std::min(width(), height()), kChartMargins + 1);
}

void TSky::LayOut()
{
    const int side = ChartSide();
    SkyChart->setGeometry((width() - side) / 2, 0, side, side);
    LegendPanel->setGeometry(0, side, width(), std::max(0, height() - side));

    const QRect area = SkyChart->PlotArea();
    const int letterSide = kPlotMargins.left();
    const int centreX = area.left() + area.width() / 2;
    const int centreY = area.top() + area.height() / 2;
    Letters[0]->setGeometry(centreX - letterSide / 2, 0, letterSide, kPlotMargins.top());
    Letters[1]->setGeometry(centreX - letterSide / 2, area.bottom() + 1, letterSide,
                            kPlotMargins.bottom());
    Letters[2]->setGeometry(0, centreY - letterSide / 2, kPlotMargins.left(), letterSide);
    Letters[3]->setGeometry(area.right() + 1, centreY - letterSide / 2, kPlotMargins.right(),
                            letterSide);

    // The chart lets go of its copy first, so that drawing does not copy the whole image.
    SkyChart->SetBackgroundImage(QImage());
    DrawSkyBackground();
    SkyChart->SetBackgroundImage(BackgroundImage);
    SkyChart->Changed();
}

void TSky::DrawSkyBackground()
{
    const int d = std::clamp(PlotSide(), 1, kImageSide);
    const int h = d / 2;
    QPainter painter(&BackgroundImage);

    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::black);
    painter.drawRect(EdgeBox(0, 0, d, d));

    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(kDarkBackground);
    painter.drawEllipse(EdgeBox(0, 0, d, d));

    painter.setPen(QPen(kGridColour, 1.0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    const int rings[5][2] = {{d / 12, 11 * d / 12},
                             {d / 6, 5 * d / 6},
                             {d / 4, 3 * d / 4},
                             {d / 3, 2 * d / 3},
                             {5 * d / 12, 7 * d / 12}};
    for (const auto& ring : rings) {
        painter.drawEllipse(EdgeBox(ring[0], ring[0], ring[1], ring[1]));
    }

    const int nearEdge = static_cast<int>(h * 0.15);
    const int farEdge = static_cast<int>(d * 0.925);
    painter.drawLine(d / 4, nearEdge, 3 * d / 4, farEdge);
    painter.drawLine(d / 4, farEdge, 3 * d / 4, nearEdge);
    painter.drawLine(nearEdge, d / 4, farEdge, 3 * d / 4);
    painter.drawLine(farEdge, d / 4, nearEdge, 3 * d / 4);
    painter.drawLine(0, h, d, h);
    painter.drawLine(h, 0, h, d);
}

} // namespace zz
