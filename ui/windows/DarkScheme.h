#pragma once

#include <QColor>

class QWidget;

namespace zz {

// The display windows' background.
inline const QColor kDarkBackground(0x40, 0x40, 0x40);

// Gives a widget the windows' dark scheme: its own background filled with the colour, white
// text.
void UseDarkScheme(QWidget& widget, const QColor& background = kDarkBackground);

} // namespace zz
