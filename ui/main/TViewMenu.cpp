#include "ui/main/TViewMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>

#include "ui/windows/TChildWindow.h"

namespace zz {

TViewMenu::TViewMenu(QMenu& menu, QMdiArea& workArea)
    : QObject(&menu), Menu(menu), WorkArea(workArea)
{
}

QAction* TViewMenu::AddWindow(TChildWindow& window, const char* caption, const char* name,
                              QKeyCombination shortcut)
{
    QAction* item = Menu.addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(QKeySequence(shortcut));
    item->setCheckable(true);
    item->setChecked(!window.isHidden());
    connect(item, &QAction::triggered, this, [this, &window, item] {
        // Qt has already flipped the tick; ToggleChildWindow decides from the tick as it was.
        item->setChecked(!item->isChecked());
        ToggleChildWindow(window, *item);
    });
    connect(&window, &TChildWindow::Hidden, item, [item] { item->setChecked(false); });
    return item;
}

void TViewMenu::ToggleChildWindow(TChildWindow& window, QAction& item)
{
    if (item.isChecked()) {
        window.hide();
        item.setChecked(false);
        return;
    }
    window.show();
    item.setChecked(true);
    WorkArea.setActiveSubWindow(&window);
    window.raise();
}

} // namespace zz
