#pragma once

#include <QColor>
#include <QFont>
#include <QRgb>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zz {

// How a point of a series is marked.
enum class TMarkShape
{
    None, // the point itself is not drawn (only its label)
    Circle,
    Square,
    Diamond,
};

// Where a point's label stands: beside the mark (up and to the right) or centred on the point.
enum class TLabelPlace
{
    Beside,
    Centred,
};

// A short label of a point, held in place so that adding a point never allocates.
struct TPointLabel
{
    static constexpr size_t kCapacity = 11;
    std::array<char, kCapacity> Text{};
    uint8_t Length = 0;

    TPointLabel() = default;
    explicit TPointLabel(std::string_view text);
    std::string_view View() const { return {Text.data(), Length}; }
    bool Empty() const { return Length == 0; }
};

// One point: its values, its own colour and its label.
struct TChartPoint
{
    double X = 0.0;
    double Y = 0.0;
    QRgb Colour = 0;
    TPointLabel Label;
};

// A series of points in the order added, in a fixed-size ring: adding beyond the capacity is
// refused (the owner deletes the oldest first, as its rules say), deleting the oldest point
// costs nothing. The style fields are read by the chart at paint time.
class TPointSeries
{
public:
    explicit TPointSeries(size_t capacity);

    void Clear();
    // False (and nothing added) when the series is full.
    bool Add(double x, double y, QRgb colour, std::string_view label = {});
    void RemoveOldest();

    size_t Count() const { return Size; }
    size_t Capacity() const { return Points.size(); }
    // Point i, 0 being the oldest.
    const TChartPoint& At(size_t index) const;
    TChartPoint& At(size_t index);

    // Smallest and largest values; false when the series is empty.
    bool Bounds(double& minX, double& maxX, double& minY, double& maxY) const;

    // Style. An inactive series draws nothing.
    bool Active = true;
    TMarkShape Shape = TMarkShape::Circle;
    int MarkSize = 3; // width and height of a mark in pixels
    bool MarkOutline = false;
    QColor OutlineColour = QColor(0, 0, 0);
    // Lines joining consecutive points, in the points' colours.
    bool JoinPoints = false;
    // Labels: drawn where not empty, in this font and colour, rotated counter-clockwise by
    // LabelAngle degrees about the point.
    bool LabelsVisible = true;
    QFont LabelFont;
    QColor LabelColour = QColor(255, 255, 255);
    TLabelPlace LabelPlace = TLabelPlace::Beside;
    double LabelAngle = 0.0;
    // Draw the label's glyphs as outlines (a pen of LabelColour, no fill).
    bool LabelOutlined = false;

private:
    size_t Slot(size_t index) const { return (First + index) % Points.size(); }

    std::vector<TChartPoint> Points;
    size_t First = 0;
    size_t Size = 0;
};

// One bar: its height, its label shown above it and its colour.
struct TBar
{
    double Value = 0.0;
    TPointLabel Label;
    QRgb Colour = 0;
    bool HasColour = false; // without a colour of its own the series' DefaultColour is used
};

// Bars standing at x = 0, 1, 2, ... on the horizontal axis.
class TBarSeries
{
public:
    explicit TBarSeries(size_t count = 0) : Bars(count) {}

    std::vector<TBar> Bars;
    bool Visible = true;
    double WidthFraction = 0.55; // share of the distance between bars that a bar takes
    QColor DefaultColour = QColor(0xFF, 0xE0, 0x00);
    QFont LabelFont;
    QColor LabelColour = QColor(255, 255, 255);
};

} // namespace zz
