#pragma once

#include <QSize>
#include <QWidget>

namespace zz {

// The position plot's legend: one line per kind of point, the current-position marker first,
// each with a small circle in the point's colour, on a panel a shade lighter than the window.
class TPosPlotLegend : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kLineCount = 8;

    explicit TPosPlotLegend(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Centre of line i's circle in the widget's pixels, and its colour as 0xRRGGBB.
    QPoint CircleCentre(int line) const;
    static uint32_t CircleColour(int line);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int LineHeight() const;
};

} // namespace zz
