#include "ui/windows/TChildWindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QPixmap>

namespace zz {

TChildWindow::TChildWindow(QWidget* form, const QString& caption, QWidget* parent)
    : QMdiSubWindow(parent)
{
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setSystemMenu(nullptr);
    // No window menu, so no icon that would open one.
    QPixmap noIcon(1, 1);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));
    setWidget(form);
    setWindowTitle(caption);
}

void TChildWindow::Place(const QRect& outer)
{
    setGeometry(QRect(outer.topLeft(), outer.size().expandedTo(minimumSizeHint())));
}

void TChildWindow::HoldHeight(int outerHeight)
{
    setMinimumHeight(outerHeight);
    setMaximumHeight(outerHeight);
}

void TChildWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
    if (QMdiArea* area = mdiArea()) {
        area->activateNextSubWindow();
    }
    emit Hidden();
}

} // namespace zz
