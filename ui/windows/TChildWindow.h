#pragma once

#include <QMdiSubWindow>
#include <QRect>

namespace zz {

// A display window inside the main window's work area: a title bar with a close button only
// (no minimise, maximise or window menu). Closing hides it and activates the next child window;
// it is created once and never destroyed while the program runs.
class TChildWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    TChildWindow(QWidget* form, const QString& caption, QWidget* parent = nullptr);

    // Moves the window to the outer rectangle, grown where the frame needs more room than the
    // form's fixed client size leaves.
    void Place(const QRect& outer);

    // Pins the window's outer height (its minimum and its maximum), for the windows whose height
    // follows their width.
    void HoldHeight(int outerHeight);

signals:
    // The user closed (hid) the window; the View menu unticks its item.
    void Hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace zz
