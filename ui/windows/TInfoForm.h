#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <array>
#include <string_view>

#include "core/DisplayCycle.h"

class QLabel;

namespace zz {

// The Information window's content: a column of captions and value labels on a dark panel,
// showing the current solution as texts written from outside.
class TInfoForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize kClientSize{235, 328};

    explicit TInfoForm(QWidget* parent = nullptr);

    void SetText(TInfoLabel label, std::string_view text);
    QString Text(TInfoLabel label) const;
    QLabel* Label(TInfoLabel label) const { return ValueLabels[static_cast<size_t>(label)]; }

    // Both empty every value: "--" everywhere, the course reference mark empty. The window has
    // no settings, so the full reset and the clear are the same.
    void ResetDisplay();
    void ClearDisplay();

private:
    QLabel* AddLabel(const char* text, int left, int top, int width, int height,
                     Qt::Alignment alignment);
    void AddCaption(int row);
    void AddValue(TInfoLabel label, const QRect& rect);
    void AddUnit(int unit);

    std::array<QLabel*, kInfoLabelCount> ValueLabels{};
};

} // namespace zz
