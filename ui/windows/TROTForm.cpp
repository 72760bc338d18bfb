#include "ui/windows/TROTForm.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>

#include "ui/windows/DarkScheme.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
constexpr int kLabelHeight = 13;
constexpr int kCaptionLeft = 10;
constexpr int kCaptionWidth = 98;
constexpr int kValueLeft = 114;
constexpr int kValueWidth = 73;

struct TRow
{
    int Top;
    const char* Caption; // trailing blanks belong to it
    TDrLabel Value;
};

constexpr std::array<TRow, kDrLabelCount> kRows = {{
    {8, "ROT status    ", TDrLabel::rotst},
    {24, "Rate of turn   ", TDrLabel::rot},
    {40, "Count DR only fix ", TDrLabel::rotcnt},
}};

} // namespace

TROTForm::TROTForm(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kClientSize);
    setFont(DisplayFont(kFontPixels));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, kClientSize.width(), kClientSize.height());
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    UseDarkScheme(*panel);

    for (const TRow& row : kRows) {
        auto* caption = new QLabel(QString::fromLatin1(row.Caption), panel);
        caption->setGeometry(kCaptionLeft, row.Top, kCaptionWidth, kLabelHeight);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        auto* value = new QLabel(panel);
        value->setObjectName(QString::fromLatin1(DrLabelName(row.Value)));
        value->setGeometry(kValueLeft, row.Top, kValueWidth, kLabelHeight);
        // A fixed size keeps a new text from asking the window for a new layout.
        value->setFixedSize(kValueWidth, kLabelHeight);
        value->setAlignment(Qt::AlignCenter);
        ValueLabels[static_cast<size_t>(row.Value)] = value;
    }
    ResetDisplay();
}

void TROTForm::SetText(TDrLabel label, std::string_view text)
{
    Label(label)->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

QString TROTForm::Text(TDrLabel label) const
{
    return Label(label)->text();
}

void TROTForm::ResetDisplay()
{
    for (int index = 0; index < kDrLabelCount; ++index) {
        SetText(static_cast<TDrLabel>(index), "--");
    }
}

void TROTForm::ClearDisplay()
{
    ResetDisplay();
}

} // namespace zz
