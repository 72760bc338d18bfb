#include "ui/windows/DarkScheme.h"

#include <QPalette>
#include <QWidget>

namespace zz {

void UseDarkScheme(QWidget& widget, const QColor& background)
{
    widget.setAutoFillBackground(true);
    QPalette colours = widget.palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, Qt::white);
    widget.setPalette(colours);
}

} // namespace zz
