#pragma once

#include <QSize>
#include <QWidget>
#include <array>
#include <string_view>

#include "core/DisplayCycle.h"

class QLabel;

namespace zz {

// The DR window's content: rate-of-turn status, rate of turn and the count of consecutive
// dead-reckoning-only fixes, on a dark lowered panel.
class TROTForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize kClientSize{199, 68};

    explicit TROTForm(QWidget* parent = nullptr);

    void SetText(TDrLabel label, std::string_view text);
    QString Text(TDrLabel label) const;
    QLabel* Label(TDrLabel label) const { return ValueLabels[static_cast<size_t>(label)]; }

    // Both show "--" in every row; the count itself is the monitor's to zero.
    void ResetDisplay();
    void ClearDisplay();

private:
    std::array<QLabel*, kDrLabelCount> ValueLabels{};
};

} // namespace zz
