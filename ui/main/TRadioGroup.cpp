#include "ui/main/TRadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace zz {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent), Buttons(new QButtonGroup(this))
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(0);
    const int count = static_cast<int>(items.size());
    const int perColumn = (count + columns - 1) / columns;
    for (int index = 0; index < count; ++index) {
        auto* button = new QRadioButton(items[index], this);
        Buttons->addButton(button, index);
        layout->addWidget(button, index % perColumn, index / perColumn);
    }
    for (int column = 0; column < columns; ++column) {
        layout->setColumnStretch(column, 1);
    }
    connect(Buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            emit ItemIndexChanged(id);
        }
    });
}

int TRadioGroup::ItemIndex() const
{
    return Buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* button = Buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its button.
    if (QAbstractButton* checked = Buttons->checkedButton()) {
        Buttons->setExclusive(false);
        checked->setChecked(false);
        Buttons->setExclusive(true);
    }
}

int TRadioGroup::Count() const
{
    return static_cast<int>(Buttons->buttons().size());
}

QRadioButton* TRadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(Buttons->button(index));
}

} // namespace zz
