#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMargins>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "ui/charts/ChartGeometry.h"
#include "ui/charts/TPointSeries.h"
#include "ui/charts/TTextCache.h"

class QPainter;

namespace zz {

// One axis of a chart: a fixed range, or (Automatic) one that follows the data of the series,
// with step labels, a title and optional dotted grid lines.
struct TChartAxis
{
    TAxisRange Range;
    // The range's maximum follows the largest value of the series (the minimum stays); with no
    // points the fixed range is shown.
    bool AutomaticMaximum = false;
    bool Visible = true; // the axis line, its step labels and its title
    double Step = 1.0;   // labels at multiples of this (thinned so that they never overlap)
    int Decimals = 0;    // decimals of the step labels
    QString Title;
    bool Grid = true; // dotted grid lines at the labelled values
};

// A small chart drawn with QPainter: a plot area inside fixed margins, two axes, an optional
// background image drawn unscaled at the plot area's top left, point series and one optional
// bar series. Setters only store; the owner calls Changed() once it has changed what it
// wanted, which schedules one repaint. Paint() draws the whole chart with any painter, so the
// same picture can be made offscreen.
class TChart : public QWidget
{
    Q_OBJECT

public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // Space between the widget's edges and the plot area, for the axes' labels and titles.
    void SetMargins(const QMargins& margins) { Margins = margins; }
    const QMargins& PlotMargins() const { return Margins; }
    // The plot area in the widget's pixels.
    QRect PlotArea() const;

    TChartAxis& BottomAxis() { return Bottom; }
    TChartAxis& LeftAxis() { return Left; }
    const TChartAxis& BottomAxis() const { return Bottom; }
    const TChartAxis& LeftAxis() const { return Left; }
    // The ranges as drawn: the fixed ones, or the automatic maximum from the data.
    TAxisRange ShownBottomRange() const;
    TAxisRange ShownLeftRange() const;

    void SetBackgroundColour(const QColor& colour) { Background = colour; }
    QColor AxisColour = QColor(255, 255, 255);
    QColor GridColour = QColor(0x80, 0x80, 0x80);
    QColor TextColour = QColor(255, 255, 255);
    // A frame line around the plot area.
    bool FramePlotArea = false;
    QColor FrameColour = QColor(255, 255, 255);

    // Drawn unscaled at the plot area's top left, clipped to the widget; null: none. The chart
    // keeps a shallow copy, so the owner redraws it only when the size changes.
    void SetBackgroundImage(const QImage& image);

    // Series are drawn in the order added; the chart owns them.
    TPointSeries& AddPointSeries(size_t capacity);
    TBarSeries& SetBarSeries(size_t bars);
    TBarSeries* Bars() { return BarSeries.get(); }

    // Schedules one repaint.
    void Changed() { update(); }
    void Paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintAxes(QPainter& painter, const QRect& area, const TAxisRange& xRange,
                   const TAxisRange& yRange) const;
    void PaintBars(QPainter& painter, const QRect& area, const TAxisRange& xRange,
                   const TAxisRange& yRange) const;
    void PaintSeries(QPainter& painter, const TPointSeries& series, const QRect& area,
                     const TAxisRange& xRange, const TAxisRange& yRange) const;

    QMargins Margins{0, 0, 0, 0};
    TChartAxis Bottom;
    TChartAxis Left;
    QColor Background = QColor(0x40, 0x40, 0x40);
    QImage BackgroundImage;
    // Scratch image for the small marks of a series, kept between paints.
    mutable QImage MarkLayer;
    // Laid-out texts of the axes, the bar labels and the point labels.
    mutable TTextCache AxisTexts;
    mutable TTextCache BarTexts;
    mutable TTextCache SeriesTexts;
    std::vector<std::unique_ptr<TPointSeries>> Series;
    std::unique_ptr<TBarSeries> BarSeries;
};

} // namespace zz
