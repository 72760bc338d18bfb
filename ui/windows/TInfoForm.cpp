#include "ui/windows/TInfoForm.h"

#include <QLabel>
#include <QPalette>

#include "ui/windows/DarkScheme.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
constexpr int kRowHeight = 19;
constexpr int kCaptionLeft = 11;
constexpr int kCaptionWidth = 70;
constexpr int kWideCaptionWidth = 94;

struct TCaptionRow
{
    const char* Text;
    int Top;
    int Width;
};

// The trailing blanks are part of the captions.
constexpr std::array<TCaptionRow, 15> kCaptionRows = {{
    {"Date Time", 3, kCaptionWidth},
    {"Fix status      ", 24, kCaptionWidth},
    {"2D/3D status  ", 45, kCaptionWidth},
    {"ROT status   ", 66, kCaptionWidth},
    {"Using SVs(Total)      ", 87, kWideCaptionWidth},
    {"Latitude       ", 108, kCaptionWidth},
    {"Longitude       ", 129, kCaptionWidth},
    {"Altitude      ", 150, kCaptionWidth},
    {"Velocity      ", 171, kCaptionWidth},
    {"Direction      ", 192, kCaptionWidth},
    {"PDOP         ", 213, kCaptionWidth},
    {"HDOP", 234, kCaptionWidth},
    {"VDOP        ", 255, kCaptionWidth},
    {"TTFF        ", 276, kCaptionWidth},
    {"Program ver.", 297, kCaptionWidth},
}};
constexpr int kLongitudeRow = 6;

struct TValueLabel
{
    TInfoLabel Label;
    QRect Rect;
};

// The value labels in the order they are painted, in three runs around the unit labels and the
// longitude caption. The latitude label is three lines high; the satellites label above it and
// the longitude label below it, painted later, cover all but its middle line, where the
// coordinate is.
constexpr std::array<TValueLabel, 10> kFirstValues = {{
    {TInfoLabel::vel, {121, 171, 64, 19}},
    {TInfoLabel::alt, {110, 150, 86, 19}},
    {TInfoLabel::fix, {88, 24, 130, 19}},
    {TInfoLabel::fver, {98, 297, 110, 19}},
    {TInfoLabel::ttff, {115, 276, 76, 19}},
    {TInfoLabel::vdop, {98, 255, 110, 19}},
    {TInfoLabel::hdop, {98, 234, 110, 19}},
    {TInfoLabel::pdop, {98, 213, 110, 19}},
    {TInfoLabel::dir, {121, 192, 64, 19}},
    {TInfoLabel::utc, {78, 3, 150, 19}},
}};
constexpr TValueLabel kReferenceMark = {TInfoLabel::MT, {99, 192, 21, 19}};
constexpr std::array<TValueLabel, 5> kLastValues = {{
    {TInfoLabel::lat, {93, 92, 120, 51}},
    {TInfoLabel::lon, {93, 124, 120, 27}},
    {TInfoLabel::usat, {98, 84, 110, 25}},
    {TInfoLabel::rot, {98, 66, 110, 19}},
    {TInfoLabel::dim, {98, 45, 110, 19}},
}};

struct TUnit
{
    const char* Text;
    int Left;
    int Top;
};

constexpr std::array<TUnit, 4> kUnits = {{
    {"[m]", 208, 150},
    {"[km/h]", 190, 171},
    {"[deg]", 198, 192},
    {"[sec]", 199, 276},
}};

constexpr std::string_view kNoText = "--";

} // namespace

TInfoForm::TInfoForm(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kClientSize);
    UseDarkScheme(*this);
    setFont(DisplayFont(kFontPixels));

    // Creation order is stacking order: later labels lie over earlier ones, which is what
    // narrows the latitude label to its middle line.
    for (int row = 0; row < static_cast<int>(kCaptionRows.size()); ++row) {
        if (row != kLongitudeRow) {
            AddCaption(row);
        }
    }
    for (const TValueLabel& value : kFirstValues) {
        AddValue(value.Label, value.Rect);
    }
    for (int unit = 0; unit < static_cast<int>(kUnits.size()); ++unit) {
        AddUnit(unit);
    }
    AddValue(kReferenceMark.Label, kReferenceMark.Rect);
    AddCaption(kLongitudeRow);
    for (const TValueLabel& value : kLastValues) {
        AddValue(value.Label, value.Rect);
    }
    ResetDisplay();
}

QLabel* TInfoForm::AddLabel(const char* text, int left, int top, int width, int height,
                            Qt::Alignment alignment)
{
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setGeometry(left, top, width, height);
    // A fixed size keeps a new text from asking the window for a new layout.
    label->setFixedSize(width, height);
    label->setAlignment(alignment);
    // Opaque, so that a label covers the ones beneath it.
    label->setAutoFillBackground(true);
    return label;
}

void TInfoForm::AddCaption(int row)
{
    const TCaptionRow& caption = kCaptionRows[static_cast<size_t>(row)];
    AddLabel(caption.Text, kCaptionLeft, caption.Top, caption.Width, kRowHeight,
             Qt::AlignLeft | Qt::AlignVCenter);
}

void TInfoForm::AddValue(TInfoLabel label, const QRect& rect)
{
    QLabel* value =
        AddLabel("", rect.left(), rect.top(), rect.width(), rect.height(), Qt::AlignCenter);
    value->setObjectName(QString::fromLatin1(InfoLabelName(label)));
    ValueLabels[static_cast<size_t>(label)] = value;
}

void TInfoForm::AddUnit(int unit)
{
    const TUnit& unitLabel = kUnits[static_cast<size_t>(unit)];
    AddLabel(unitLabel.Text, unitLabel.Left, unitLabel.Top, kClientSize.width() - unitLabel.Left,
             kRowHeight, Qt::AlignLeft | Qt::AlignVCenter);
}

void TInfoForm::SetText(TInfoLabel label, std::string_view text)
{
    Label(label)->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

QString TInfoForm::Text(TInfoLabel label) const
{
    return Label(label)->text();
}

void TInfoForm::ResetDisplay()
{
    for (int index = 0; index < kInfoLabelCount; ++index) {
        const auto label = static_cast<TInfoLabel>(index);
        SetText(label, label == TInfoLabel::MT ? std::string_view() : kNoText);
    }
}

void TInfoForm::ClearDisplay()
{
    ResetDisplay();
}

} // namespace zz
