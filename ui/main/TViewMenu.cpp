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

QAction* TViewMenu::AddWindow(TChildWindowId id, TChildWindow& window, const char* caption,
                              const char* name, QKeyCombination shortcut)
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
    Entries[Index(id)] = {&window, item};
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

void TViewMenu::ShowAllWindows()
{
    for (const TChildWindowId id : kShowAllOrder) {
        if (TChildWindow* window = Window(id)) {
            window->show();
        }
    }
    for (const TChildWindowId id : {TChildWindowId::Log, TChildWindowId::DR}) {
        if (TChildWindow* window = Window(id)) {
            window->raise();
            WorkArea.setActiveSubWindow(window);
        }
    }
    for (const TEntry& entry : Entries) {
        if (entry.Item != nullptr) {
            entry.Item->setChecked(true);
        }
    }
}

void TViewMenu::ApplyDefaultBounds()
{
    for (const TDefaultBounds& row : kDefaultLayout) {
        TChildWindow* window = Window(row.Window);
        if (window == nullptr) {
            continue;
        }
        const TChildWindow* direction = Window(TChildWindowId::Direction);
        window->Place(PlacedBounds(row, direction ? direction->height() : row.Bounds.height()));
    }
    for (const TDefaultBounds& row : kDefaultLayout) {
        const TEntry& entry = Entries[Index(row.Window)];
        if (entry.Window == nullptr) {
            continue;
        }
        entry.Window->setVisible(row.Shown);
        entry.Item->setChecked(row.Shown);
    }
    WorkArea.activateNextSubWindow();
    WorkArea.activatePreviousSubWindow();
}

} // namespace zz
