#include "ui/windows/TUpDown.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QToolButton>

namespace zz {
namespace {

constexpr QSize kArrowSize{7, 4};

// A small filled triangle pointing up or down: the style's own arrows vanish on halves this
// small.
QIcon ArrowIcon(TUpDownButton button)
{
    QPixmap pixmap(kArrowSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int right = kArrowSize.width();
    const int bottom = kArrowSize.height();
    const QPolygon up(
        {QPoint(0, bottom), QPoint(right, bottom), QPoint(right / 2, 0), QPoint(right / 2 + 1, 0)});
    const QPolygon down(
        {QPoint(0, 0), QPoint(right, 0), QPoint(right / 2 + 1, bottom), QPoint(right / 2, bottom)});
    painter.drawPolygon(button == TUpDownButton::Up ? up : down);
    return QIcon(pixmap);
}

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), UpButton(new QToolButton(this)), DownButton(new QToolButton(this))
{
    UpButton->setIcon(ArrowIcon(TUpDownButton::Up));
    DownButton->setIcon(ArrowIcon(TUpDownButton::Down));
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setIconSize(kArrowSize);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { emit Clicked(TUpDownButton::Up); });
    connect(DownButton, &QToolButton::clicked, this, [this] { emit Clicked(TUpDownButton::Down); });
}

void TUpDown::resizeEvent(QResizeEvent*)
{
    const int upper = height() / 2;
    UpButton->setGeometry(0, 0, width(), upper);
    DownButton->setGeometry(0, upper, width(), height() - upper);
}

} // namespace zz
