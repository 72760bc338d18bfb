#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include "core/TReceiverState.h"
#include "core/TSignalLevelModel.h"
#include "ui/charts/TTextCache.h"

class QPainter;

namespace zz {

class TChart;
class TBarSeries;
class TSatLegend;

// The signal level window's content: one C/N0 bar per slot of the satellite table, coloured by
// the satellite's class, the PRN, azimuth, elevation and accuracy grid under the bars, and the
// legend of the classes.
class TCN : public QWidget
{
    Q_OBJECT

public:
    // The window's outer width is fixed; its outer height has this minimum.
    static constexpr int kOuterWidth = 496;
    static constexpr int kMinOuterHeight = 230;
    static constexpr int kColumnWidth = 26;
    static constexpr int kRowHeight = 15;

    explicit TCN(QWidget* parent = nullptr);

    // Bars, colours and grid rows 0..2 from the merged satellite table; shows the bars.
    void UpdateSatellites(const TReceiverState& mergedSnapshot);
    // Grid row 3 from the accuracy classes, by the PRNs the grid shows now.
    void UpdateAccuracy(const TReceiverState& snapshot);
    // Both empty every slot cell and bar; the bar colours stay.
    void ResetDisplay();
    void ClearDisplay();

    QString CellText(int column, int row) const;
    const TChart& Chart() const { return *BarChart; }
    const TBarSeries& Bars() const { return *Series1; }
    const TSatLegend& Legend() const { return *LegendPanel; }
    // A grid cell's rectangle in the form's pixels.
    QRect CellRect(int column, int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Places the chart, the grid and the legend, and has the bars redrawn.
    void FormResize();
    void StringGrid1DrawCell(QPainter& painter, int column, int row, const QRect& rect) const;
    // Copies the model's bars into the chart's bar series.
    void ShowBars();
    // Fixes the width and the minimum height of the sub-window the form has been put in.
    void ApplyWindowLimits();

    TSignalLevelModel Model;
    TChart* BarChart = nullptr;
    TBarSeries* Series1 = nullptr;
    TSatLegend* LegendPanel = nullptr;
    QRect GridRect;
    // The cell texts, laid out once.
    mutable TTextCache CellTexts;
};

} // namespace zz
