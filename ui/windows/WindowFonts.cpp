#include "ui/windows/WindowFonts.h"

#include <QFontDatabase>

namespace zz {

QFont DisplayFont(int pixelSize)
{
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(pixelSize);
        return font;
    }
    // The platform's sans-serif usually runs wider than the fixed label widths allow for, so
    // its semi-condensed face is asked for (the plain face serves where there is none).
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QFont FixedPitchFont(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace zz
