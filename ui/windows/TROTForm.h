#pragma once

#include <QSize>
#include <QWidget>
#include <array>
#include <string_view>

#include "ui/windows/DisplayLabels.h"

class QLabel;

namespace zz {

struct TDisplayTexts;

// The DR window's content: rate-of-turn status, rate of turn and the count of consecutive
// dead-reckoning-only fixes, on a dark lowered panel.
class TROTForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize kClientSize{199, 68};

    explicit TROTForm(QWidget* parent = nullptr);

    void SetText(TRotLabel label, std::string_view text);
    QString Text(TRotLabel label) const;
    QLabel* Label(TRotLabel label) const { return ValueLabels[static_cast<size_t>(label)]; }

    // Writes the texts of one display cycle that belong to this window.
    void ApplyDisplayTexts(const TDisplayTexts& texts);

    // Both show "--" in every row; the count itself is the monitor's to zero.
    void ResetDisplay();
    void ClearDisplay();

private:
    std::array<QLabel*, kRotLabelCount> ValueLabels{};
};

} // namespace zz
