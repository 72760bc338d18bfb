#include "ui/charts/TChart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace zz {
namespace {

constexpr int kTickLength = 3;
constexpr int kLabelGap = 2;
constexpr double kMinLabelGapPixels = 6.0;
// Marks this small are written pixel by pixel into a layer image: a 3-pixel diamond is a plus.
constexpr int kPixelMarkLimit = 3;

QString LabelText(const TPointLabel& label)
{
    return QString::fromLatin1(label.Text.data(), label.Length);
}

QString StepText(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// Pixels of small marks, written straight into a layer image: thousands of track points cost
// a few microseconds instead of a painter call each.
class TPixelLayer
{
public:
    explicit TPixelLayer(QImage& image)
        : Bits(image.bits()), BytesPerLine(image.bytesPerLine()), Width(image.width()),
          Height(image.height())
    {
    }

    void Set(int x, int y, QRgb colour)
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height) {
            return;
        }
        reinterpret_cast<QRgb*>(Bits + static_cast<qsizetype>(y) * BytesPerLine)[x] =
            0xFF000000u | colour;
        Left = std::min(Left, x);
        Right = std::max(Right, x);
        Top = std::min(Top, y);
        Bottom = std::max(Bottom, y);
    }

    // The part of the layer that holds marks; empty when none was set.
    QRect Touched() const
    {
        return Left > Right ? QRect() : QRect(QPoint(Left, Top), QPoint(Right, Bottom));
    }

private:
    uchar* Bits;
    qsizetype BytesPerLine;
    int Width;
    int Height;
    int Left = std::numeric_limits<int>::max();
    int Right = std::numeric_limits<int>::min();
    int Top = std::numeric_limits<int>::max();
    int Bottom = std::numeric_limits<int>::min();
};

void AddPixelMark(TPixelLayer& layer, TMarkShape shape, int size, QRgb colour, QPoint centre)
{
    if (size == 2) {
        // An even size has no centre pixel: a 2 x 2 block whatever the shape.
        for (const QPoint offset : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
            layer.Set(centre.x() + offset.x(), centre.y() + offset.y(), colour);
        }
        return;
    }
    // Sizes 1 and 3: the mark's pixels around the centre pixel (a 3-pixel diamond is a plus).
    const int reach = size / 2;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (shape == TMarkShape::Diamond && std::abs(dx) + std::abs(dy) > reach) {
                continue;
            }
            layer.Set(centre.x() + dx, centre.y() + dy, colour);
        }
    }
}

void DrawMark(QPainter& painter, TMarkShape shape, int size, const QPointF& centre)
{
    const double half = size / 2.0;
    const QRectF box(centre.x() - half, centre.y() - half, size, size);
    switch (shape) {
    case TMarkShape::None:
        break;
    case TMarkShape::Circle:
        painter.drawEllipse(box);
        break;
    case TMarkShape::Square:
        painter.drawRect(box);
        break;
    case TMarkShape::Diamond: {
        const QPointF corners[4] = {{centre.x(), box.top()},
                                    {box.right(), centre.y()},
                                    {centre.x(), box.bottom()},
                                    {box.left(), centre.y()}};
        painter.drawPolygon(corners, 4);
        break;
    }
    }
}

void DrawLabel(QPainter& painter, const TPointSeries& series, const QString& text,
               const QPointF& point)
{
    painter.save();
    painter.translate(point);
    // Positive angles turn counter-clockwise on the screen; the painter turns clockwise.
    if (series.LabelAngle != 0.0) {
        painter.rotate(-series.LabelAngle);
    }
    const QFontMetricsF metrics(series.LabelFont);
    QPointF origin;
    if (series.LabelPlace == TLabelPlace::Centred) {
        const QRectF bounds = metrics.tightBoundingRect(text);
        origin = QPointF(-bounds.center().x(), -bounds.center().y());
    } else {
        const double half = series.MarkSize / 2.0;
        origin = QPointF(half + 1.0, -half - 1.0);
    }
    if (series.LabelOutlined) {
        QPainterPath path;
        path.addText(origin, series.LabelFont, text);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.strokePath(path, QPen(series.LabelColour, 1.0));
    } else {
        painter.setFont(series.LabelFont);
        painter.setPen(series.LabelColour);
        painter.drawText(origin, text);
    }
    painter.restore();
}

enum class TAlong
{
    Horizontal,
    Vertical,
};

// The range an axis shows: its own, or with AutomaticMaximum up to the largest value of the
// active point series along it, when that lies above the minimum.
TAxisRange ShownRange(const TChartAxis& axis, TAlong along,
                      const std::vector<std::unique_ptr<TPointSeries>>& series)
{
    TAxisRange range = axis.Range;
    if (!axis.AutomaticMaximum) {
        return range;
    }
    bool found = false;
    double maximum = 0.0;
    for (const auto& one : series) {
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
        if (one->Active && one->Bounds(minX, maxX, minY, maxY)) {
            const double largest = along == TAlong::Horizontal ? maxX : maxY;
            maximum = found ? std::max(maximum, largest) : largest;
            found = true;
        }
    }
    if (found && maximum > range.Min) {
        range.Max = maximum;
    }
    return range;
}

} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    Bottom.Range = {0.0, 1.0};
    Left.Range = {0.0, 1.0};
}

TChart::~TChart() = default;

QRect TChart::PlotArea() const
{
    return rect().marginsRemoved(Margins);
}

TAxisRange TChart::ShownBottomRange() const
{
    return ShownRange(Bottom, TAlong::Horizontal, Series);
}

TAxisRange TChart::ShownLeftRange() const
{
    return ShownRange(Left, TAlong::Vertical, Series);
}

void TChart::SetBackgroundImage(const QImage& image)
{
    // In the painter's own format the image is copied rather than converted at every paint.
    BackgroundImage = image.isNull() || image.format() == QImage::Format_RGB32
                          ? image
                          : image.convertToFormat(QImage::Format_RGB32);
}

TPointSeries& TChart::AddPointSeries(size_t capacity)
{
    Series.push_back(std::make_unique<TPointSeries>(capacity));
    Series.back()->LabelFont = font();
    return *Series.back();
}

TBarSeries& TChart::SetBarSeries(size_t bars)
{
    BarSeries = std::make_unique<TBarSeries>(bars);
    BarSeries->LabelFont = font();
    return *BarSeries;
}

void TChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void TChart::Paint(QPainter& painter) const
{
    painter.fillRect(rect(), Background);
    const QRect area = PlotArea();
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    const TAxisRange xRange = ShownBottomRange();
    const TAxisRange yRange = ShownLeftRange();

    if (!BackgroundImage.isNull()) {
        // Only the part over the plot area, copied as it is.
        painter.drawImage(area.topLeft(), BackgroundImage,
                          QRect(QPoint(0, 0), area.size()).intersected(BackgroundImage.rect()));
    }
    PaintAxes(painter, area, xRange, yRange);
    if (BarSeries && BarSeries->Visible) {
        PaintBars(painter, area, xRange, yRange);
    }
    for (const auto& series : Series) {
        if (series->Active && series->Count() > 0) {
            PaintSeries(painter, *series, area, xRange, yRange);
        }
    }
    if (FramePlotArea) {
        painter.setPen(QPen(FrameColour, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
}

void TChart::PaintAxes(QPainter& painter, const QRect& area, const TAxisRange& xRange,
                       const TAxisRange& yRange) const
{
    const QFontMetrics metrics(font());
    const QFont& textFont = font();
    painter.setFont(textFont);
    std::array<double, kMaxAxisLabels> values{};
    const QPen gridPen(GridColour, 1.0, Qt::DotLine);
    const QPen axisPen(AxisColour, 1.0);

    if (Bottom.Visible) {
        const double widest =
            std::max(AxisTexts.Width(StepText(xRange.Min, Bottom.Decimals), textFont),
                     AxisTexts.Width(StepText(xRange.Max, Bottom.Decimals), textFont));
        const double step =
            LabelStep(xRange, Bottom.Step, area.width(), widest + kMinLabelGapPixels);
        const size_t count = AxisLabelValues(xRange, step, values);
        for (size_t index = 0; index < count; ++index) {
            const double x = AxisPixel(values[index], xRange, area.left(), area.right());
            const int pixel = static_cast<int>(std::lround(x));
            if (Bottom.Grid) {
                painter.setPen(gridPen);
                painter.drawLine(pixel, area.top(), pixel, area.bottom());
            }
            painter.setPen(axisPen);
            painter.drawLine(pixel, area.bottom(), pixel, area.bottom() + kTickLength);
            painter.setPen(TextColour);
            const QString text = StepText(values[index], Bottom.Decimals);
            const double width = AxisTexts.Width(text, textFont);
            AxisTexts.DrawAtBaseline(painter,
                                     QPointF(pixel - std::floor(width / 2),
                                             area.bottom() + kTickLength + metrics.ascent()),
                                     text, textFont);
        }
        painter.setPen(axisPen);
        painter.drawLine(area.bottomLeft(), area.bottomRight());
        if (!Bottom.Title.isEmpty()) {
            painter.setPen(TextColour);
            const double width = AxisTexts.Width(Bottom.Title, textFont);
            AxisTexts.DrawAtBaseline(
                painter,
                QPointF(area.center().x() - std::floor(width / 2),
                        area.bottom() + kTickLength + metrics.height() + metrics.ascent()),
                Bottom.Title, textFont);
        }
    }

    if (Left.Visible) {
        const double step =
            LabelStep(yRange, Left.Step, area.height(), metrics.height() + kMinLabelGapPixels);
        const size_t count = AxisLabelValues(yRange, step, values);
        int widest = 0;
        for (size_t index = 0; index < count; ++index) {
            const double y = AxisPixel(values[index], yRange, area.bottom(), area.top());
            const int pixel = static_cast<int>(std::lround(y));
            if (Left.Grid) {
                painter.setPen(gridPen);
                painter.drawLine(area.left(), pixel, area.right(), pixel);
            }
            painter.setPen(axisPen);
            painter.drawLine(area.left() - kTickLength, pixel, area.left(), pixel);
            painter.setPen(TextColour);
            const QString text = StepText(values[index], Left.Decimals);
            const int width = static_cast<int>(std::ceil(AxisTexts.Width(text, textFont)));
            widest = std::max(widest, width);
            AxisTexts.DrawAtBaseline(painter,
                                     QPointF(area.left() - kTickLength - kLabelGap - width,
                                             pixel + metrics.ascent() / 2 - 1),
                                     text, textFont);
        }
        painter.setPen(axisPen);
        painter.drawLine(area.topLeft(), area.bottomLeft());
        if (!Left.Title.isEmpty()) {
            painter.save();
            painter.setPen(TextColour);
            const int width = metrics.horizontalAdvance(Left.Title);
            painter.translate(area.left() - kTickLength - kLabelGap - widest - kLabelGap -
                                  metrics.descent(),
                              area.center().y() + width / 2);
            painter.rotate(-90.0);
            painter.drawText(0, 0, Left.Title);
            painter.restore();
        }
    }
}

void TChart::PaintBars(QPainter& painter, const QRect& area, const TAxisRange& xRange,
                       const TAxisRange& yRange) const
{
    const TBarSeries& bars = *BarSeries;
    const double unit = std::abs(AxisPixel(1.0, xRange, area.left(), area.right()) -
                                 AxisPixel(0.0, xRange, area.left(), area.right()));
    const double width = std::max(1.0, unit * bars.WidthFraction);
    const double base = AxisPixel(std::max(0.0, yRange.Min), yRange, area.bottom(), area.top());
    const QFontMetricsF metrics(bars.LabelFont);
    for (size_t index = 0; index < bars.Bars.size(); ++index) {
        const TBar& bar = bars.Bars[index];
        const double centre =
            AxisPixel(static_cast<double>(index), xRange, area.left(), area.right());
        const double top = AxisPixel(bar.Value, yRange, area.bottom(), area.top());
        const QRectF box(centre - width / 2.0, std::min(top, base), width, std::abs(base - top));
        if (box.height() > 0.0) {
            painter.fillRect(box, bar.HasColour ? QColor::fromRgb(bar.Colour) : bars.DefaultColour);
        }
        if (!bar.Label.Empty()) {
            const QString text = LabelText(bar.Label);
            painter.setPen(bars.LabelColour);
            BarTexts.DrawAtBaseline(painter,
                                    QPointF(centre - BarTexts.Width(text, bars.LabelFont) / 2.0,
                                            std::min(top, base) - kLabelGap - metrics.descent()),
                                    text, bars.LabelFont);
        }
    }
}

void TChart::PaintSeries(QPainter& painter, const TPointSeries& series, const QRect& area,
                         const TAxisRange& xRange, const TAxisRange& yRange) const
{
    const size_t count = series.Count();
    if (series.JoinPoints && count > 1) {
        QPointF previous = PlotPixel(series.At(0).X, series.At(0).Y, xRange, yRange, area);
        for (size_t index = 1; index < count; ++index) {
            const TChartPoint& point = series.At(index);
            const QPointF pixel = PlotPixel(point.X, point.Y, xRange, yRange, area);
            painter.setPen(QPen(QColor::fromRgb(point.Colour), 1.0));
            painter.drawLine(previous, pixel);
            previous = pixel;
        }
    }

    if (series.Shape != TMarkShape::None) {
        if (series.MarkSize <= kPixelMarkLimit && !series.MarkOutline) {
            if (MarkLayer.size() != size()) {
                MarkLayer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
            }
            MarkLayer.fill(Qt::transparent);
            TPixelLayer layer(MarkLayer);
            for (size_t index = 0; index < count; ++index) {
                const TChartPoint& point = series.At(index);
                const QPointF pixel = PlotPixel(point.X, point.Y, xRange, yRange, area);
                AddPixelMark(layer, series.Shape, series.MarkSize, point.Colour,
                             QPoint(static_cast<int>(std::floor(pixel.x())),
                                    static_cast<int>(std::floor(pixel.y()))));
            }
            if (const QRect touched = layer.Touched(); !touched.isEmpty()) {
                painter.drawImage(touched.topLeft(), MarkLayer, touched);
            }
        } else {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, series.Shape == TMarkShape::Circle);
            for (size_t index = 0; index < count; ++index) {
                const TChartPoint& point = series.At(index);
                const QColor colour = QColor::fromRgb(point.Colour);
                painter.setPen(series.MarkOutline ? QPen(series.OutlineColour, 1.0)
                                                  : QPen(Qt::NoPen));
                painter.setBrush(colour);
                DrawMark(painter, series.Shape, series.MarkSize,
                         PlotPixel(point.X, point.Y, xRange, yRange, area));
            }
            painter.restore();
        }
    }

    if (series.LabelsVisible) {
        const bool plain = series.LabelAngle == 0.0 && !series.LabelOutlined &&
                           series.LabelPlace == TLabelPlace::Beside;
        const double half = series.MarkSize / 2.0;
        if (plain) {
            painter.setPen(series.LabelColour);
        }
        for (size_t index = 0; index < count; ++index) {
            const TChartPoint& point = series.At(index);
            if (point.Label.Empty()) {
                continue;
            }
            const QPointF pixel = PlotPixel(point.X, point.Y, xRange, yRange, area);
            if (plain) {
                SeriesTexts.DrawAtBaseline(painter, pixel + QPointF(half + 1.0, -half - 1.0),
                                           LabelText(point.Label), series.LabelFont);
            } else {
                DrawLabel(painter, series, LabelText(point.Label), pixel);
            }
        }
    }
}

} // namespace zz
