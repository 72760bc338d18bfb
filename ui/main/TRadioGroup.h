#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace zz {

// A titled group of radio buttons of which one is selected, known by its index. Items fill
// the columns from top to bottom, one column after the other.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns,
                QWidget* parent = nullptr);

    // The selected item, -1 when none is.
    int ItemIndex() const;
    // Selects an item; an index out of range selects none.
    void SetItemIndex(int index);
    int Count() const;
    QRadioButton* Button(int index) const;

signals:
    // The selection changed, by the user or by SetItemIndex.
    void ItemIndexChanged(int index);

private:
    QButtonGroup* Buttons = nullptr;
};

} // namespace zz
