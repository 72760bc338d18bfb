#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "core/SkyPlot.h"
#include "core/TReceiverState.h"

class QLabel;

namespace zz {

class TChart;
class TPointSeries;
class TSatLegend;

// The sky plot window's content: a square polar chart (north up, horizon outside, zenith in
// the centre) with one mark per satellite of the latest table, the compass letters around it
// and the legend of the satellite classes below. Its height follows its width.
class TSky : public QWidget
{
    Q_OBJECT

public:
    // Limits of the window's outer width: the background image always covers the plot area.
    static constexpr int kMinOuterWidth = 210;
    static constexpr int kMaxOuterWidth = 768;
    // The window's outer height is the chart's side plus this.
    static constexpr int kHeightOverSide = 75;
    // The chart's side minus the plot area's side.
    static constexpr int kChartMargins = 33;
    static constexpr int kImageSide = 768;

    explicit TSky(QWidget* parent = nullptr);

    // The display cycle's satellite step on the merged table: both series emptied, then one
    // mark per drawable satellite.
    void UpdateSatellites(const TReceiverState& mergedSnapshot);
    // Both empty the two series; the SBAS memory and the GPS count are the caller's to reset.
    void ResetDisplay();
    void ClearDisplay();

    const TChart& Chart() const { return *SkyChart; }
    const TPointSeries& GpsSeries() const { return *Series2; }
    const TPointSeries& SbasSeries() const { return *Series3; }
    const QImage& SkyBackground() const { return BackgroundImage; }
    const TSatLegend& Legend() const { return *LegendPanel; }
    // Side of the plot area (D), in pixels.
    int PlotSide() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Lays the form out and pins the sub-window's height to the chart's side.
    void FormResize();
    // Squares the chart on the client area, places the letters and the legend and redraws the
    // background.
    void LayOut();
    // The smaller of the client width and height.
    int ChartSide() const;
    // The polar grid for the current plot side: black square, horizon disc, elevation rings
    // every 15 degrees and spokes every 30.
    void DrawSkyBackground();
    // Limits the width of the sub-window the form has been put in.
    void ApplyWindowLimits();

    TChart* SkyChart = nullptr;
    TPointSeries* Series2 = nullptr; // GPS: circles
    TPointSeries* Series3 = nullptr; // SBAS: squares
    TSatLegend* LegendPanel = nullptr;
    std::array<QLabel*, 4> Letters{}; // N, S, W, E
    QImage BackgroundImage;
    TSkyMarks Marks;
    bool HoldingHeight = false;
};

} // namespace zz
