#pragma once

#include <QKeyCombination>
#include <QObject>
#include <array>

#include "ui/main/DefaultLayout.h"

class QAction;
class QMdiArea;
class QMenu;

namespace zz {

class TChildWindow;

// The View menu: a ticked item per display window that shows or hides it, "Show all window"
// and "Default layout". The tick says whether the window is shown; the window's close box
// removes it.
class TViewMenu : public QObject
{
    Q_OBJECT

public:
    TViewMenu(QMenu& menu, QMdiArea& workArea);

    // Adds the window's item, ticked when the window is shown now.
    QAction* AddWindow(TChildWindowId id, TChildWindow& window, const char* caption,
                       const char* name, QKeyCombination shortcut);

    // The items' shared step: hides a shown window and removes the tick, or shows a hidden one,
    // ticks the item and makes the window the active child.
    void ToggleChildWindow(TChildWindow& window, QAction& item);
    // Shows every window in the fixed order, brings the Log and DR windows to the front and
    // ticks every item; bounds stay.
    void ShowAllWindows();
    // Gives every window its default bounds, shows the seven of the default layout and hides
    // the other two, with the ticks to match, then activates the next and the previous child.
    void ApplyDefaultBounds();

    TChildWindow* Window(TChildWindowId id) const { return Entries[Index(id)].Window; }

private:
    struct TEntry
    {
        TChildWindow* Window = nullptr;
        QAction* Item = nullptr;
    };
    static size_t Index(TChildWindowId id) { return static_cast<size_t>(id); }

    QMenu& Menu;
    QMdiArea& WorkArea;
    std::array<TEntry, kChildWindowCount> Entries{};
};

} // namespace zz
