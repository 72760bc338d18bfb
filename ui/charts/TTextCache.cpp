#include "ui/charts/TTextCache.h"

#include <QFontMetricsF>
#include <QPainter>

namespace zz {

const QStaticText& TTextCache::Text(const QString& text, const QFont& font)
{
    if (font != Font || Entries.size() >= kMaxEntries) {
        Entries.clear();
        Font = font;
        Ascent = QFontMetricsF(font).ascent();
    }
    auto found = Entries.find(text);
    if (found == Entries.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
        laidOut.prepare(QTransform(), font);
        found = Entries.insert(text, laidOut);
    }
    return *found;
}

void TTextCache::DrawAtBaseline(QPainter& painter, const QPointF& baseline, const QString& text,
                                const QFont& font)
{
    const QStaticText& laidOut = Text(text, font);
    painter.setFont(font);
    painter.drawStaticText(QPointF(baseline.x(), baseline.y() - Ascent), laidOut);
}

} // namespace zz
