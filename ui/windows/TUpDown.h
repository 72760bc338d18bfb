#pragma once

#include <QWidget>

#include "core/TTimePlotModel.h"

class QToolButton;

namespace zz {

// An up/down control: two small arrow buttons stacked, the upper half stepping up and the lower
// half stepping down. Holding a half repeats its click.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit TUpDown(QWidget* parent = nullptr);

    QToolButton* Button(TUpDownButton button) const
    {
        return button == TUpDownButton::Up ? UpButton : DownButton;
    }

signals:
    void Clicked(zz::TUpDownButton button);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* UpButton;
    QToolButton* DownButton;
};

} // namespace zz
