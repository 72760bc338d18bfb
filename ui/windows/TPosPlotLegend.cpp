#include "ui/windows/TPosPlotLegend.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <string_view>

#include "core/PositionPlot.h"

namespace zz {
namespace {

const QColor kPanelColour(0x48, 0x48, 0x48);
constexpr int kPadding = 2;
constexpr int kCircleLeft = 5;
constexpr int kCircleDiameter = 7;

// The line after the current position: the track classes in the order of the legend.
constexpr TTrackClass kTrackLines[TPosPlotLegend::kLineCount - 1] = {
    TTrackClass::NoFix,   TTrackClass::Gps2D,  TTrackClass::Gps3D, TTrackClass::DrGps2D,
    TTrackClass::DrGps3D, TTrackClass::DrOnly, TTrackClass::Other,
};

std::string_view LineText(int line)
{
    return line == 0 ? kCurrentPositionLegend : TrackLegendText(kTrackLines[line - 1]);
}

QString ToQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TPosPlotLegend::TPosPlotLegend(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int TPosPlotLegend::LineHeight() const
{
    return fontMetrics().height();
}

QSize TPosPlotLegend::sizeHint() const
{
    int widest = 0;
    for (int line = 0; line < kLineCount; ++line) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(ToQString(LineText(line))));
    }
    return {widest + 2 * kPadding, kLineCount * LineHeight() + 2 * kPadding};
}

QPoint TPosPlotLegend::CircleCentre(int line) const
{
    return {kPadding + kCircleLeft + kCircleDiameter / 2,
            kPadding + line * LineHeight() + LineHeight() / 2};
}

uint32_t TPosPlotLegend::CircleColour(int line)
{
    return line == 0 ? kCurrentPositionColour : TrackColour(kTrackLines[line - 1]);
}

void TPosPlotLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPanelColour);
    const QFontMetrics metrics = fontMetrics();
    for (int line = 0; line < kLineCount; ++line) {
        const QPoint centre = CircleCentre(line);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(CircleColour(line)));
        painter.drawEllipse(QPointF(centre) + QPointF(0.5, 0.5), kCircleDiameter / 2.0,
                            kCircleDiameter / 2.0);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::white);
        painter.drawText(kPadding, kPadding + line * LineHeight() + metrics.ascent(),
                         ToQString(LineText(line)));
    }
}

} // namespace zz
