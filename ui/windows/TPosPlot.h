#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstddef>
#include <string_view>

#include "core/TControlFlags.h"
#include "core/TPosPlotModel.h"
#include "core/TReceiverState.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zz {

class TChart;
class TPointSeries;
class TPosPlotLegend;

// The position plot window's content: the track of the receiver in a square of a whole number
// of metres around a centre, one point per navigation cycle coloured by its fix, the current
// position with a heading mark, the scale labels around the square, a legend and the range and
// mode settings.
class TPosPlot : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMinWidth = 355;
    static constexpr int kMaxWidth = 768;
    static constexpr int kMinHeight = 355;
    static constexpr int kBackgroundSize = 768;

    explicit TPosPlot(TControlFlags& flags, QWidget* parent = nullptr);
    ~TPosPlot() override;

    // The plot part of the position step of the display cycle; cyclePointPending is the
    // monitor's flag that a cycle summary waits to be plotted.
    void UpdatePosition(const TReceiverState& snapshot, bool& cyclePointPending);
    // The heading mark part of the course step.
    void UpdateCourse(const TReceiverState& snapshot);
    // Full reset (connect, replay start): settings and labels back to their defaults, plot
    // emptied, the next usable position becomes the centre.
    void ResetDisplay();
    // Clear all windows: plot emptied; labels, settings, centre and range stay.
    void ClearDisplay();

    // Auto ticked: the range is grown automatically and cannot be typed.
    void AutochkClick();
    // Choosing "Run" makes the centre follow the current position again.
    void ModechkClick(int item);

    int32_t TrackCount() const { return Model.TrackCount(); }
    const TPosPlotModel& PlotModel() const { return Model; }
    TChart& Chart() const { return *PlotChart; }
    TPointSeries& TrackSeries() const { return *Track; }
    TPointSeries& MarkerSeries() const { return *Marker; }
    TPosPlotLegend& Legend() const { return *LegendPanel; }
    // The background image as the chart shows it, from the plot square's top left.
    const QImage& BackgroundImage() const { return Background; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const char* text, Qt::Alignment alignment);
    QWidget* BuildRangeGroup();
    void RedrawBackground();
    void KeepRangeText(const QString& text);
    void ShowHeading();
    void ShowRangeLabels(std::string_view maxText, std::string_view minText);

    TControlFlags& Flags;
    TPosPlotModel Model;

    TChart* PlotChart = nullptr;
    TPointSeries* Track = nullptr;
    TPointSeries* Marker = nullptr;
    TPosPlotLegend* LegendPanel = nullptr;
    QImage Background;

    QLabel* LonCen = nullptr;
    QLabel* LonMinM = nullptr;
    QLabel* LonCenM = nullptr;
    QLabel* LonMaxM = nullptr;
    QLabel* LatMaxM = nullptr;
    QLabel* LatCen = nullptr;
    QLabel* LatMinM = nullptr;
    QCheckBox* Autochk = nullptr;
    QLineEdit* LonR = nullptr;
    QGroupBox* Modechk = nullptr;
    QButtonGroup* ModeButtons = nullptr;
    QCheckBox* Plotchk = nullptr;

    // The range edit's text as the model reads it, kept whenever the edit changes so that an
    // update allocates nothing.
    std::array<char, 16> RangeText{};
    size_t RangeLength = 0;
    // The range the scale labels show, so that an unchanged range rewrites no label.
    int32_t ShownRangeMetres = 10;
};

} // namespace zz
