#include "ui/windows/TCN.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/SignalLevel.h"
#include "ui/charts/TChart.h"
#include "ui/charts/TPointSeries.h"
#include "ui/windows/DarkScheme.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TSatLegend.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
// The plot area starts one grid column to the right of the grid, so that grid column s + 1
// stands under bar s; each bar slot is one grid column wide.
constexpr int kGridLeft = 14;
constexpr int kPlotLeft = kGridLeft + TCN::kColumnWidth;
constexpr int kPlotWidth = kSatSlots * TCN::kColumnWidth;
constexpr int kPlotTop = 16;    // room for the label of a full bar
constexpr int kPlotBottom = 16; // room for the slot numbers
constexpr int kGridGap = 2;
// Client size when the form stands alone (a sub-window gives it its own).
constexpr QSize kDefaultSize(488, 290);

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TCN::TCN(QWidget* parent) : QWidget(parent)
{
    setFont(DisplayFont(kFontPixels));
    UseDarkScheme(*this);

    BarChart = new TChart(this);
    BarChart->setObjectName(QStringLiteral("CNChart"));
    BarChart->setFont(DisplayFont(kFontPixels));
    BarChart->SetBackgroundColour(kDarkBackground);
    BarChart->setAttribute(Qt::WA_TransparentForMouseEvents);
    TChartAxis& left = BarChart->LeftAxis();
    left.Range = {0.0, static_cast<double>(kBarTop)};
    left.Step = 5.0;
    left.Title = QStringLiteral("CN  [dB-Hz]");
    left.Grid = true;
    // Half a slot beyond the first and the last bar, so that both stand whole.
    TChartAxis& bottom = BarChart->BottomAxis();
    bottom.Range = {-0.5, kSatSlots - 0.5};
    bottom.Step = 1.0;
    bottom.Grid = false;

    Series1 = &BarChart->SetBarSeries(kSatSlots);
    Series1->WidthFraction = 0.55;
    Series1->DefaultColour = QColor::fromRgb(kDefaultBarColour);
    Series1->LabelColour = Qt::white;
    Series1->LabelFont = DisplayFont(kFontPixels);

    LegendPanel = new TSatLegend(TMarkShape::Square, TLegendArrangement::KindPerRow, this);
    LegendPanel->setObjectName(QStringLiteral("LegendPanel"));

    ShowBars();
    resize(kDefaultSize);
    FormResize();
}

void TCN::UpdateSatellites(const TReceiverState& mergedSnapshot)
{
    Series1->Visible = true;
    Model.UpdateSatellites(mergedSnapshot);
    ShowBars();
    update(GridRect);
}

void TCN::UpdateAccuracy(const TReceiverState& snapshot)
{
    Model.UpdateAccuracy(snapshot);
    update(GridRect);
}

void TCN::ResetDisplay()
{
    Model.Clear();
    ShowBars();
    update(GridRect);
}

void TCN::ClearDisplay()
{
    ResetDisplay();
}

QString TCN::CellText(int column, int row) const
{
    return Latin1(Model.CellText(column, row));
}

QRect TCN::CellRect(int column, int row) const
{
    return {GridRect.left() + column * kColumnWidth, GridRect.top() + row * kRowHeight,
            kColumnWidth, kRowHeight};
}

void TCN::ShowBars()
{
    for (int slot = 0; slot < kSatSlots; ++slot) {
        const TSignalBar& bar = Model.Bar(slot);
        TBar& shown = Series1->Bars[static_cast<size_t>(slot)];
        shown.Value = bar.Value;
        shown.Label = TPointLabel(bar.Label.View());
        shown.Colour = 0xFF000000u | bar.Colour;
        shown.HasColour = bar.HasColour;
    }
    BarChart->Changed();
}

void TCN::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

bool TCN::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        ApplyWindowLimits();
    }
    return QWidget::event(event);
}

void TCN::ApplyWindowLimits()
{
    if (auto* window = qobject_cast<TChildWindow*>(parentWidget())) {
        window->setFixedWidth(kOuterWidth);
        window->setMinimumHeight(kMinOuterHeight);
    }
}

void TCN::FormResize()
{
    const int legendHeight = LegendPanel->NeededHeight();
    const int gridHeight = kSignalGridRows * kRowHeight;
    const int chartHeight = std::max(0, height() - legendHeight - gridHeight - kGridGap);
    BarChart->setGeometry(0, 0, width(), chartHeight);
    BarChart->SetMargins(
        QMargins(kPlotLeft, kPlotTop, std::max(0, width() - kPlotLeft - kPlotWidth), kPlotBottom));
    GridRect =
        QRect(kGridLeft, chartHeight + kGridGap, kSignalGridColumns * kColumnWidth, gridHeight);
    LegendPanel->setGeometry(0, GridRect.bottom() + 1, width(), legendHeight);
    BarChart->Changed();
    update();
}

void TCN::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    for (int row = 0; row < kSignalGridRows; ++row) {
        for (int column = 0; column < kSignalGridColumns; ++column) {
            StringGrid1DrawCell(painter, column, row, CellRect(column, row));
        }
    }
}

void TCN::StringGrid1DrawCell(QPainter& painter, int column, int row, const QRect& rect) const
{
    painter.fillRect(rect, kDarkBackground);
    const std::string_view text = Model.CellText(column, row);
    const QString shown = Latin1(text);
    const QFontMetrics metrics(painter.font());
    // Measured with its trailing blanks, which keep "--   " and the headers off the right edge.
    const int width = static_cast<int>(std::lround(CellTexts.Width(shown, painter.font())));
    const int x = CellAlignment(column, text) == TCellAlign::Centred
                      ? rect.left() + (rect.width() - width) / 2
                      : rect.right() + 1 - width;
    const int baseline = rect.top() + (rect.height() + metrics.ascent() - metrics.descent()) / 2;
    painter.setPen(Qt::white);
    CellTexts.DrawAtBaseline(painter, QPointF(x, baseline), shown, painter.font());
}

} // namespace zz
