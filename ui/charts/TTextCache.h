#pragma once

#include <QFont>
#include <QHash>
#include <QPointF>
#include <QStaticText>
#include <QString>

class QPainter;

namespace zz {

// Texts laid out once and kept between paints, in one font: a plot repaints the same axis
// labels, PRNs and grid cells many times a second, and shaping them anew each time would be
// most of its cost. The cache forgets everything when the font changes or it grows past a bound.
class TTextCache
{
public:
    // The laid-out text in the font.
    const QStaticText& Text(const QString& text, const QFont& font);
    // Width of the text in pixels.
    double Width(const QString& text, const QFont& font) { return Text(text, font).size().width(); }
    // Draws the text with its baseline starting at the point, in the painter's pen.
    void DrawAtBaseline(QPainter& painter, const QPointF& baseline, const QString& text,
                        const QFont& font);

private:
    static constexpr qsizetype kMaxEntries = 1024;

    QFont Font;
    double Ascent = 0.0;
    QHash<QString, QStaticText> Entries;
};

} // namespace zz
