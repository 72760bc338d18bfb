#include "ui/tools/TFormRC.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>

#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 12;

// Two columns of the same size: NMEA on the left, RIRBinary on the right.
constexpr int kMargin = 8;
constexpr int kColumnWidth = 252;
constexpr int kColumnHeight = 282;
constexpr QSize kClientSize{3 * kMargin + 2 * kColumnWidth, 2 * kMargin + kColumnHeight};

constexpr int kButtonLeft = 10;
constexpr int kButtonTop = 20;
constexpr int kButtonStep = 30;
constexpr int kButtonWidth = kColumnWidth - 2 * kButtonLeft;
constexpr int kButtonHeight = 25;
constexpr int kPresetRows = 5;

// The output interval group, under the five NMEA buttons.
constexpr QRect kOutputGroup{kMargin, kButtonTop + kPresetRows* kButtonStep + 2,
                             kColumnWidth - 2 * kMargin, 104};
constexpr int kEditHeight = 21;
constexpr int kSentenceRow = 22;
constexpr int kCycleRow = 48;
constexpr int kSendRow = 74;

constexpr int kSentenceMaxLength = 7;
constexpr int kCycleMaxLength = 7;
constexpr int kKeywordMaxLength = 3;

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string TextOf(const QLineEdit& edit)
{
    return edit.text().toLatin1().toStdString();
}

QLabel* AddLabel(QWidget* parent, const char* name, const char* caption, const QRect& bounds)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(bounds);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLineEdit* AddEdit(QWidget* parent, const char* name, std::string_view text, int maxLength,
                   const QRect& bounds)
{
    auto* edit = new QLineEdit(Latin1(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setGeometry(bounds);
    return edit;
}

} // namespace

TFormRC::TFormRC(TPresetSends sends, QWidget* parent) : QDialog(parent), Sends(std::move(sends))
{
    setObjectName(QStringLiteral("FormRC"));
    setWindowTitle(QStringLiteral("Preset command"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(kClientSize);
    setFont(DisplayFont(kFontPixels));

    BuildNmeaHalf();
    BuildBinaryHalf();
    EditChange();
}

void TFormRC::BuildNmeaHalf()
{
    GroupNmea = new QGroupBox(QStringLiteral("NMEA"), this);
    GroupNmea->setObjectName(QStringLiteral("GroupNmea"));
    GroupNmea->setGeometry(kMargin, kMargin, kColumnWidth, kColumnHeight);
    for (int row = 0; row < kPresetRows; ++row) {
        AddPresetButton(GroupNmea, kPresetButtons[static_cast<size_t>(row)], row);
    }

    GroupOutput = new QGroupBox(QStringLiteral("Output data"), GroupNmea);
    GroupOutput->setObjectName(QStringLiteral("GroupOutput"));
    GroupOutput->setGeometry(kOutputGroup);
    Label1 = AddLabel(GroupOutput, "Label1", "NMEA", {10, kSentenceRow, 44, kEditHeight});
    Edit1 = AddEdit(GroupOutput, "Edit1", kIntervalSentence, kSentenceMaxLength,
                    {58, kSentenceRow, 64, kEditHeight});
    Label2 =
        AddLabel(GroupOutput, "Label2", "Cycle (00-60)[sec]", {10, kCycleRow, 120, kEditHeight});
    Edit2 = AddEdit(GroupOutput, "Edit2", kIntervalCycle, kCycleMaxLength,
                    {134, kCycleRow, 44, kEditHeight});
    // The command keyword is fixed for the user: kept, but neither shown nor editable.
    Label3 = AddLabel(GroupOutput, "Label3", "Order", {130, kSentenceRow, 40, kEditHeight});
    Label3->hide();
    Edit3 = AddEdit(GroupOutput, "Edit3", kIntervalKeyword, kKeywordMaxLength,
                    {174, kSentenceRow, 40, kEditHeight});
    Edit3->hide();
    Edit3->setEnabled(false);
    Button6n = new QPushButton(GroupOutput);
    Button6n->setObjectName(QStringLiteral("Button6n"));
    Button6n->setGeometry(10, kSendRow, kOutputGroup.width() - 20, kButtonHeight);

    for (QLineEdit* edit : {Edit1, Edit2, Edit3}) {
        connect(edit, &QLineEdit::textChanged, this, &TFormRC::EditChange);
    }
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(Button6n, &QPushButton::clicked, this, &TFormRC::Button6nClick);
}

void TFormRC::BuildBinaryHalf()
{
    GroupBinary = new QGroupBox(QStringLiteral("RIRBinary"), this);
    GroupBinary->setObjectName(QStringLiteral("GroupBinary"));
    GroupBinary->setGeometry(2 * kMargin + kColumnWidth, kMargin, kColumnWidth, kColumnHeight);
    for (int row = 0; row < kPresetRows; ++row) {
        AddPresetButton(GroupBinary, kPresetButtons[static_cast<size_t>(kPresetRows + row)], row);
    }
}

QPushButton* TFormRC::AddPresetButton(QWidget* parent, const TPresetButton& button, int row)
{
    auto* pushButton = new QPushButton(Latin1(button.Caption), parent);
    pushButton->setObjectName(Latin1(button.Name));
    pushButton->setGeometry(kButtonLeft, kButtonTop + row * kButtonStep, kButtonWidth,
                            kButtonHeight);
    connect(pushButton, &QPushButton::clicked, this,
            [this, &button] { PresetButtonClick(button); });
    PresetButtons[static_cast<size_t>(&button - kPresetButtons.data())] = pushButton;
    return pushButton;
}

void TFormRC::PresetButtonClick(const TPresetButton& button)
{
    if (Sends.SelectedProtocol() != button.Protocol) {
        return;
    }
    if (button.Send == TPresetSend::Restart) {
        Sends.SendRestart(button.Text);
    } else {
        Sends.SendCommand(button.Text);
    }
}

void TFormRC::Button6nClick()
{
    const std::string command = IntervalCommandShown();
    if (Sends.SelectedProtocol() == TProtocol::Nmea) {
        Sends.SendCommand(command);
    }
}

std::string TFormRC::IntervalCommandShown() const
{
    return IntervalCommand(TextOf(*Edit1), TextOf(*Edit2), TextOf(*Edit3));
}

void TFormRC::EditChange()
{
    QString caption = Latin1(IntervalCaption(TextOf(*Edit1), TextOf(*Edit2), TextOf(*Edit3)));
    // A typed "&" is shown as itself, not taken for a mnemonic.
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    Button6n->setText(caption);
}

void TFormRC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TFormRC::FormShow()
{
    EnableHalf(Sends.SelectedProtocol());
}

void TFormRC::EnableHalf(TProtocol protocol)
{
    if (protocol != TProtocol::Nmea && protocol != TProtocol::Binary) {
        return;
    }
    const bool nmea = protocol == TProtocol::Nmea;
    for (size_t index = 0; index < PresetButtons.size(); ++index) {
        PresetButtons[index]->setEnabled(kPresetButtons[index].Protocol == protocol);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{Button6n, Edit1, Edit2, Edit3, Label1, Label2, Label3}) {
        control->setEnabled(nmea);
    }
    // The group only frames the edits; its caption is greyed with them.
    QPalette palette = GroupNmea->palette();
    palette.setColor(QPalette::WindowText,
                     nmea ? QColor(Qt::black)
                          : palette.color(QPalette::Disabled, QPalette::WindowText));
    GroupOutput->setPalette(palette);
}

bool TFormRC::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // A second Enter, on the button, sends.
            Button6n->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zz
