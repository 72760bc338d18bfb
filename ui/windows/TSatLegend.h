#pragma once

#include <QRect>
#include <QWidget>

#include "core/SatelliteClass.h"
#include "ui/charts/TPointSeries.h"

namespace zz {

// How the six classes are laid out: GPS and SBAS side by side in two columns of three lines,
// or one above the other in two rows of three entries.
enum class TLegendArrangement
{
    KindPerColumn,
    KindPerRow,
};

// The legend of the satellite classes on the dark panel: a shape in the class colour and the
// class's text for each of the six classes. SBAS classes are always squares.
class TSatLegend : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kLineHeight = 14;
    static constexpr int kShapeSize = 11;

    TSatLegend(TMarkShape gpsShape, TLegendArrangement arrangement, QWidget* parent = nullptr);

    // Height that shows every line.
    int NeededHeight() const;
    // Where the shape of a class is drawn.
    QRect ShapeRect(TSatClass satClass) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect EntryRect(TSatClass satClass) const;

    TMarkShape GpsShape;
    TLegendArrangement Arrangement;
};

} // namespace zz
