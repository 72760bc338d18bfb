#pragma once

#include <QWidget>

#include "core/DisplayCycle.h"

class QGroupBox;
class QLabel;
class QFrame;

namespace zz {

class TChart;
class TPointSeries;

// The Direction window's content: a compass dial with a large "V" at its centre whose point
// shows the course over ground, and below it the course in degrees with the kind of track.
class TTtrack : public QWidget
{
    Q_OBJECT

public:
    // The strip below the dial.
    static constexpr int kPanelHeight = 34;
    // The window's outer height is the dial's width plus this.
    static constexpr int kHeightOverDial = 67;
    // Limits of the window's outer width.
    static constexpr int kMinimumOuterWidth = 210;
    static constexpr int kMaximumOuterWidth = 768;
    // Compass letter strips inside the dial.
    static constexpr int kNorthStrip = 33;
    static constexpr int kSouthStrip = 44;
    static constexpr int kSideStrip = 36;

    explicit TTtrack(QWidget* parent = nullptr);
    ~TTtrack() override;

    // One course update: the texts, and the arrow turned by the angle or hidden without one.
    void SetDirection(const TDirectionView& view);
    // Both hide the arrow and show "--" without a kind of track.
    void ResetDisplay();
    void ClearDisplay();

    TChart* Chart1() const { return Dial; }
    QFrame* Panel1() const { return Panel; }
    const TPointSeries& Series1() const { return *Arrow; }
    QLabel* DirLabel() const { return DirectionLabel; }
    QLabel* MTLabel() const { return TrackLabel; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TChart* Dial = nullptr;
    TPointSeries* Arrow = nullptr;
    QLabel* North = nullptr;
    QLabel* South = nullptr;
    QLabel* West = nullptr;
    QLabel* East = nullptr;
    QFrame* Panel = nullptr;
    QGroupBox* DirectionBox = nullptr;
    QLabel* DirectionLabel = nullptr;
    QLabel* TrackLabel = nullptr;
};

} // namespace zz
