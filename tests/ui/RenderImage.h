#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "ui/charts/TChart.h"

namespace zz::test {

// The chart as it paints itself, in an image of its size.
inline QImage RenderChart(const TChart& chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    chart.Paint(painter);
    return image;
}

// The widget with its children, over magenta so that an unpainted pixel stands out.
inline QImage RenderWidget(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

} // namespace zz::test
