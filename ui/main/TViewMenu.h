#pragma once

#include <QKeyCombination>
#include <QObject>

class QAction;
class QMdiArea;
class QMenu;

namespace zz {

class TChildWindow;

// The View menu: a ticked item per display window that shows or hides it. The tick says
// whether the window is shown; the window's close box removes it.
class TViewMenu : public QObject
{
    Q_OBJECT

public:
    TViewMenu(QMenu& menu, QMdiArea& workArea);

    // Adds the window's item, ticked when the window is shown now.
    QAction* AddWindow(TChildWindow& window, const char* caption, const char* name,
                       QKeyCombination shortcut);

    // The items' shared step: hides a shown window and removes the tick, or shows a hidden one,
    // ticks the item and makes the window the active child.
    void ToggleChildWindow(TChildWindow& window, QAction& item);

private:
    QMenu& Menu;
    QMdiArea& WorkArea;
};

} // namespace zz
