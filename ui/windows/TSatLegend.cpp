#include "ui/windows/TSatLegend.h"
#include "ui/windows/DarkScheme.h"

#include <QPainter>
#include <algorithm>
#include <array>

#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
constexpr int kSmallestFontPixels = 8;
constexpr int kPadding = 3;
constexpr int kTextGap = 4;

constexpr std::array<TSatState, 3> kStates = {TSatState::Used, TSatState::NotUsed,
                                              TSatState::NoSignal};

int StateIndex(TSatState state)
{
    return state == TSatState::Used ? 0 : state == TSatState::NotUsed ? 1 : 2;
}

} // namespace

TSatLegend::TSatLegend(TMarkShape gpsShape, TLegendArrangement arrangement, QWidget* parent)
    : QWidget(parent), GpsShape(gpsShape), Arrangement(arrangement)
{
    setFont(DisplayFont(kFontPixels));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TSatLegend::NeededHeight() const
{
    const int lines = Arrangement == TLegendArrangement::KindPerColumn ? 3 : 2;
    return 2 * kPadding + lines * kLineHeight;
}

QRect TSatLegend::EntryRect(TSatClass satClass) const
{
    const int kind = satClass.Kind == TSatKind::Gps ? 0 : 1;
    const int state = StateIndex(satClass.State);
    const int inner = width() - 2 * kPadding;
    if (Arrangement == TLegendArrangement::KindPerColumn) {
        const int columnWidth = inner / 2;
        return {kPadding + kind * columnWidth, kPadding + state * kLineHeight, columnWidth,
                kLineHeight};
    }
    const int columnWidth = inner / 3;
    return {kPadding + state * columnWidth, kPadding + kind * kLineHeight, columnWidth,
            kLineHeight};
}

QRect TSatLegend::ShapeRect(TSatClass satClass) const
{
    const QRect entry = EntryRect(satClass);
    return {entry.left() + 2, entry.top() + (kLineHeight - kShapeSize) / 2, kShapeSize, kShapeSize};
}

void TSatLegend::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A narrow window gets a smaller font rather than cut texts.
    const int room =
        EntryRect({TSatKind::Sbas, TSatState::NotUsed}).width() - kShapeSize - 2 - kTextGap;
    int pixels = kFontPixels;
    for (; pixels > kSmallestFontPixels; --pixels) {
        const QFontMetrics metrics(DisplayFont(pixels));
        int widest = 0;
        for (const TSatKind kind : {TSatKind::Gps, TSatKind::Sbas}) {
            for (const TSatState state : kStates) {
                const std::string_view text = SatClassLegendText({kind, state});
                widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(
                                              text.data(), static_cast<qsizetype>(text.size()))));
            }
        }
        if (widest <= room) {
            break;
        }
    }
    setFont(DisplayFont(pixels));
}

void TSatLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kDarkBackground);
    for (const TSatKind kind : {TSatKind::Gps, TSatKind::Sbas}) {
        for (const TSatState state : kStates) {
            const TSatClass satClass{kind, state};
            const QRect shape = ShapeRect(satClass);
            const QColor colour = QColor::fromRgb(SatClassColour(satClass));
            if (kind == TSatKind::Gps && GpsShape == TMarkShape::Circle) {
                painter.setRenderHint(QPainter::Antialiasing, true);
                painter.setPen(Qt::NoPen);
                painter.setBrush(colour);
                painter.drawEllipse(QRectF(shape));
                painter.setRenderHint(QPainter::Antialiasing, false);
            } else {
                painter.fillRect(shape, colour);
            }
            const std::string_view text = SatClassLegendText(satClass);
            const QRect entry = EntryRect(satClass);
            painter.setPen(Qt::white);
            painter.drawText(QRect(shape.right() + 1 + kTextGap, entry.top(),
                                   entry.right() - shape.right() - kTextGap, entry.height()),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        }
    }
}

} // namespace zz
