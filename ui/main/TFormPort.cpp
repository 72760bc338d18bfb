#include "ui/main/TFormPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <optional>

#include "core/RawLogMarker.h"
#include "core/TControlFlags.h"
#include "ui/main/RunControlTexts.h"
#include "ui/main/TRadioGroup.h"
#include "ui/main/TUserDialogs.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 12;
constexpr QSize kClientSize{499, 386};

// Left column: the port group, the header group, ChkP and the buttons.
constexpr int kLeft = 8;
constexpr int kLeftWidth = 232;
constexpr int kPortRowTop = 22;
constexpr int kPortRowStep = 28;
constexpr int kPortLabelWidth = 84;
constexpr int kPortComboLeft = 96;
constexpr int kPortComboWidth = 126;
constexpr int kComboHeight = 22;
constexpr int kButtonTop = 352;
constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 26;
constexpr int kButtonStep = 80;
constexpr int kPortGroupTop = 4;
constexpr int kPortGroupHeight = 192;
constexpr int kProtocolRowTop = kPortRowTop + 5 * kPortRowStep;
constexpr int kHeaderTop = 200;
constexpr int kChkPTop = 272;
// The replay form: the group keeps only the protocol row; OK and Cancel move up and inwards.
constexpr int kReplayGroupTop = 41;
constexpr int kReplayGroupHeight = 85;
constexpr int kReplayButtonRise = 30;
constexpr int kReplayRunLeft = 40;
constexpr int kReplayEndLeft = 140;

// Right column: the reference group with its nine radio groups.
constexpr int kRightLeft = 248;
constexpr int kRightWidth = 243;
constexpr int kReferenceTop = 18;
constexpr int kReferenceStep = 39;
constexpr int kReferenceHeight = 38;

// The line values by the index of ComboBoxBitlength, ComboBoxStopbit and ComboBoxParity.
constexpr std::array<TDataBits, 2> kDataBits = {TDataBits::Seven, TDataBits::Eight};
constexpr std::array<TStopBits, 3> kStopBits = {TStopBits::One, TStopBits::OneAndHalf,
                                                TStopBits::Two};
constexpr std::array<TParity, 3> kParities = {TParity::None, TParity::Odd, TParity::Even};

const char* const kReplayRunCaption = "OK";
const char* const kLiveCaption = "Receiver setting";
const char* const kReplayCaption = "Log Replay Setting";
const char* const kLiveGroupCaption = "Port setting";
const char* const kReplayGroupCaption = "LogFile Protcol";
const char* const kConnectRunCaption = "Connect";
// Broken after the quotation to fit the left column.
const char* const kChkPCaption = "Refer to\"Header of NMEA cycle\"\non Replay Log";
const char* const kNoReferenceText = "Log has no reference!! \n\n Please select from setting  "
                                     "yourself.     ";
const char* const kReferenceLoadedText = "Reference has been loaded.     ";

QString Text(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QComboBox* AddComboBox(QWidget* parent, const char* name, const QStringList& items, int row)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    box->setGeometry(kPortComboLeft, kPortRowTop + row * kPortRowStep, kPortComboWidth,
                     kComboHeight);
    return box;
}

QLabel* AddPortLabel(QWidget* parent, const char* name, const char* caption, int row)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(10, kPortRowTop + row * kPortRowStep, kPortLabelWidth, kComboHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

TRadioGroup* AddRadioGroup(QWidget* parent, const char* name, const char* caption,
                           const QStringList& items, int columns)
{
    auto* group = new TRadioGroup(QString::fromLatin1(caption), items, columns, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->SetItemIndex(0);
    return group;
}

std::string SelectedText(const QComboBox& box)
{
    return box.currentText().toStdString();
}

std::string SelectedText(const TRadioGroup& group)
{
    const QRadioButton* button = group.Button(group.ItemIndex());
    return button != nullptr ? button->text().toStdString() : std::string();
}

// The value at a list control's index; fallback when the control shows none of the list.
template <typename T, size_t N> T ValueAt(const std::array<T, N>& values, int index, T fallback)
{
    return index >= 0 && index < static_cast<int>(N) ? values[static_cast<size_t>(index)]
                                                     : fallback;
}

// The index of a value in a list control; -1 (nothing selected) for a value not in the list.
template <typename T, size_t N> int IndexIn(const std::array<T, N>& values, T value)
{
    for (size_t index = 0; index < N; ++index) {
        if (values[index] == value) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

// The choice a radio group shows; fallback when it shows none.
template <typename TChoice> TChoice ChoiceShown(const TRadioGroup& group, TChoice fallback)
{
    return ChoiceAt<TChoice>(group.ItemIndex()).value_or(fallback);
}

} // namespace

TFormPort::TFormPort(TControlFlags& flags, TUserDialogs& dialogs, TFormPortQueries queries,
                     QWidget* parent)
    : QDialog(parent), Flags(flags), Dialogs(dialogs), Queries(std::move(queries))
{
    setObjectName(QStringLiteral("FormPort"));
    setWindowTitle(QString::fromLatin1(kLiveCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setFixedSize(kClientSize);
    setFont(DisplayFont(kFontPixels));

    BuildPortColumn();
    BuildReferenceColumn();

    connect(ComboBoxProtocol, &QComboBox::activated, this, &TFormPort::ComboBoxProtocolChange);
    connect(ComboBoxProtocol, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (const std::optional<TProtocol> protocol = ChoiceAt<TProtocol>(index)) {
            Flags.ProtocolSelection.store(*protocol);
        }
    });
    connect(HDref, &TRadioGroup::ItemIndexChanged, this, [this](int index) {
        if (const std::optional<THeader> header = ChoiceAt<THeader>(index)) {
            Flags.HeaderSelection.store(*header);
        }
    });
    connect(ChkP, &QCheckBox::clicked, this, &TFormPort::ChkPClick);
    connect(ButtonRun, &QPushButton::clicked, this, &TFormPort::ButtonRunClick);
    connect(ButtonClose, &QPushButton::clicked, this, &TFormPort::ButtonCloseClick);
    connect(ButtonEnd, &QPushButton::clicked, this, &TFormPort::ButtonEndClick);

    // The defaults: 9600 baud, 8 data bits, no parity, one stop bit, NMEA with GGA opening the
    // cycle and the first sentence of every reference.
    ComboBoxPortName->setCurrentIndex(0);
    RestoreKept();
    Flags.ProtocolSelection.store(SelectedProtocol());
    Flags.HeaderSelection.store(Kept.Receiver.Header);
}

void TFormPort::SetPortScanner(TPortScanner scanner)
{
    Queries.ScanPorts = std::move(scanner);
}

void TFormPort::BuildPortColumn()
{
    GroupBox2 = new QGroupBox(QString::fromLatin1(kLiveGroupCaption), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(kLeft, kPortGroupTop, kLeftWidth, kPortGroupHeight);

    LabelPortName = AddPortLabel(GroupBox2, "LabelPortName", "COM Port", 0);
    LabelBoudrate = AddPortLabel(GroupBox2, "LabelBoudrate", "Baud rate", 1);
    LabelBitlength = AddPortLabel(GroupBox2, "LabelBitlength", "Data bits", 2);
    LabelStopbit = AddPortLabel(GroupBox2, "LabelStopbit", "Stop bits", 3);
    LabelParity = AddPortLabel(GroupBox2, "LabelParity", "Parity", 4);
    Label1 = AddPortLabel(GroupBox2, "Label1", "Protocol", 5);
    // Clicking the port label scans the ports again.
    LabelPortName->installEventFilter(this);

    ComboBoxPortName = AddComboBox(GroupBox2, "ComboBoxPortName", {}, 0);
    // Editable, so that any device path can be typed; Enter in it still means Connect.
    ComboBoxPortName->setEditable(true);
    ComboBoxPortName->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxPortName->installEventFilter(this);
    ComboBoxPortName->lineEdit()->installEventFilter(this);
    ComboBoxBoudrate =
        AddComboBox(GroupBox2, "ComboBoxBoudrate",
                    {"2400", "4800", "9600", "19200", "38400", "57600", "115200"}, 1);
    ComboBoxBitlength = AddComboBox(GroupBox2, "ComboBoxBitlength", {"7", "8"}, 2);
    ComboBoxStopbit = AddComboBox(GroupBox2, "ComboBoxStopbit", {"1", "1.5", "2"}, 3);
    ComboBoxParity = AddComboBox(GroupBox2, "ComboBoxParity", {"None", "Odd", "Even"}, 4);
    ComboBoxProtocol = AddComboBox(GroupBox2, "ComboBoxProtocol", {"NMEA", "RIRBinary"}, 5);

    HDref = AddRadioGroup(this, "HDref", "Header of NMEA cycle",
                          {"GGA", "RMC", "GLL", "ROT", "GSA", "VTG", "GSV", "ZDA"}, 4);
    HDref->setGeometry(kLeft, kHeaderTop, kLeftWidth, 64);

    ChkP = new QCheckBox(QString::fromLatin1(kChkPCaption), this);
    ChkP->setObjectName(QStringLiteral("ChkP"));
    ChkP->setGeometry(kLeft, kChkPTop, kLeftWidth, 36);
    ChkP->hide();

    ButtonRun = new QPushButton(QString::fromLatin1(kConnectRunCaption), this);
    ButtonRun->setObjectName(QStringLiteral("ButtonRun"));
    ButtonRun->setDefault(true);
    ButtonClose = new QPushButton(QStringLiteral("Disconnect"), this);
    ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
    ButtonEnd = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonEnd->setObjectName(QStringLiteral("ButtonEnd"));
    int left = kLeft;
    for (QPushButton* button : {ButtonRun, ButtonClose, ButtonEnd}) {
        button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
        left += kButtonStep;
    }
}

void TFormPort::BuildReferenceColumn()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Reference NMEA"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(kRightLeft, 4, kRightWidth, 378);

    LFref = AddRadioGroup(GroupBox1, "LFref", "Latitude , Longitude , Fix status",
                          {"GGA", "GLL", "RMC"}, 3);
    ASref = AddRadioGroup(GroupBox1, "ASref", "Altitude , Using SVs(Total number)", {"GGA"}, 3);
    UTref = AddRadioGroup(GroupBox1, "UTref", "Date Time", {"ZDA"}, 3);
    DDref = AddRadioGroup(GroupBox1, "DDref", "2D/3D status , DOP , Using SVs(PRN)", {"GSA"}, 3);
    SAref = AddRadioGroup(GroupBox1, "SAref", "PRN , Elevation , Azimuth , C/N0",
                          {"GSV", "GSV+wav"}, 3);
    VDref = AddRadioGroup(GroupBox1, "VDref", "Velocity , Direction", {"RMC", "VTG"}, 3);
    ROref = AddRadioGroup(GroupBox1, "ROref", "Rate of turn", {"ROT"}, 3);
    ACref = AddRadioGroup(GroupBox1, "ACref", "SV accuracy", {"acc"}, 3);
    TSref = AddRadioGroup(GroupBox1, "TSref", "Program ver.", {"tst"}, 3);
    int top = kReferenceTop;
    for (TRadioGroup* group : References()) {
        group->setGeometry(6, top, kRightWidth - 12, kReferenceHeight);
        top += kReferenceStep;
    }
}

std::array<TRadioGroup*, 9> TFormPort::References() const
{
    return {LFref, ASref, UTref, DDref, SAref, VDref, ROref, ACref, TSref};
}

TRunSettings TFormPort::Settings() const
{
    TRunSettings settings;
    COMSTATUS& line = settings.Line;
    line.PortName = QFile::encodeName(ComboBoxPortName->currentText()).toStdString();
    line.BaudRate = ValueAt(kBaudRates, ComboBoxBoudrate->currentIndex(), line.BaudRate);
    line.DataBits = ValueAt(kDataBits, ComboBoxBitlength->currentIndex(), line.DataBits);
    line.Parity = ValueAt(kParities, ComboBoxParity->currentIndex(), line.Parity);
    line.StopBits = ValueAt(kStopBits, ComboBoxStopbit->currentIndex(), line.StopBits);

    TReceiverSettings& receiver = settings.Receiver;
    receiver.Protocol = SelectedProtocol();
    receiver.Header = ChoiceShown(*HDref, receiver.Header);
    TReferences& references = receiver.References;
    references.LFref = ChoiceShown(*LFref, references.LFref);
    references.ASref = ChoiceShown(*ASref, references.ASref);
    references.UTref = ChoiceShown(*UTref, references.UTref);
    references.DDref = ChoiceShown(*DDref, references.DDref);
    references.SAref = ChoiceShown(*SAref, references.SAref);
    references.VDref = ChoiceShown(*VDref, references.VDref);
    references.ROref = ChoiceShown(*ROref, references.ROref);
    references.ACref = ChoiceShown(*ACref, references.ACref);
    references.TSref = ChoiceShown(*TSref, references.TSref);
    return settings;
}

TProtocol TFormPort::SelectedProtocol() const
{
    return ChoiceAt<TProtocol>(ComboBoxProtocol->currentIndex()).value_or(TProtocol::Nmea);
}

void TFormPort::SetReplayForm(bool replay)
{
    // A replay has no port: its line settings and Disconnect go, the protocol row moves up into
    // a smaller group, and the check box that takes the log's own header appears.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ComboBoxBoudrate, ComboBoxBitlength, ComboBoxParity, ComboBoxStopbit, ComboBoxPortName,
             LabelBoudrate, LabelBitlength, LabelParity, LabelStopbit, LabelPortName,
             ButtonClose}) {
        widget->setEnabled(!replay);
        widget->setVisible(!replay);
    }
    setWindowTitle(QString::fromLatin1(replay ? kReplayCaption : kLiveCaption));
    GroupBox2->setTitle(QString::fromLatin1(replay ? kReplayGroupCaption : kLiveGroupCaption));
    ButtonRun->setText(QString::fromLatin1(replay ? kReplayRunCaption : kConnectRunCaption));
    ChkP->setChecked(false);
    ChkP->setVisible(replay);
    if (replay) {
        GroupBox2->setGeometry(kLeft, kReplayGroupTop, kLeftWidth, kReplayGroupHeight);
        const int row = (kReplayGroupHeight - kComboHeight) / 2 + 4;
        ComboBoxProtocol->move(kPortComboLeft, row);
        Label1->move(Label1->x(), row);
        HDref->move(kLeft, kReplayGroupTop + kReplayGroupHeight + 8);
        ChkP->move(kLeft, HDref->y() + HDref->height() + 8);
        ButtonRun->move(kReplayRunLeft, kButtonTop - kReplayButtonRise);
        ButtonEnd->move(kReplayEndLeft, kButtonTop - kReplayButtonRise);
        return;
    }
    GroupBox2->setGeometry(kLeft, kPortGroupTop, kLeftWidth, kPortGroupHeight);
    ComboBoxProtocol->move(kPortComboLeft, kProtocolRowTop);
    Label1->move(Label1->x(), kProtocolRowTop);
    ComboBoxProtocol->setEnabled(true);
    Label1->setEnabled(true);
    HDref->move(kLeft, kHeaderTop);
    HDref->setEnabled(SelectedProtocol() == TProtocol::Nmea);
    ChkP->move(kLeft, kChkPTop);
    ButtonRun->move(kLeft, kButtonTop);
    ButtonEnd->move(kLeft + 2 * kButtonStep, kButtonTop);
}

bool TFormPort::IsReplayForm() const
{
    return ButtonRun->text() == QLatin1String(kReplayRunCaption);
}

void TFormPort::ScanPorts()
{
    ComboBoxPortName->clear();
    if (Queries.ScanPorts) {
        for (const std::string& name : Queries.ScanPorts()) {
            ComboBoxPortName->addItem(QFile::decodeName(QByteArray::fromStdString(name)));
        }
    }
    ComboBoxPortName->setCurrentIndex(0);
}

void TFormPort::ComboBoxProtocolChange()
{
    EnableByProtocol(SelectedProtocol());
}

void TFormPort::ButtonRunClick()
{
    const bool running = Flags.IsRunning();
    const bool recording = Queries.IsRecording && Queries.IsRecording();
    if (!Confirm(ConnectQuestion(running, recording))) {
        return;
    }
    KeepSelections();
    done(kResultConnect);
}

void TFormPort::ButtonCloseClick()
{
    const bool running = Flags.IsRunning();
    const bool recording = Queries.IsRecording && Queries.IsRecording();
    if (!Confirm(DisconnectQuestion(running, recording))) {
        return;
    }
    RestoreKept();
    done(kResultDisconnect);
}

void TFormPort::ButtonEndClick()
{
    RestoreKept();
    done(kResultCancel);
}

void TFormPort::ChkPClick()
{
    if (!ChkP->isChecked()) {
        if (SelectedProtocol() == TProtocol::Nmea) {
            HDref->setEnabled(true);
        }
        ComboBoxProtocol->setEnabled(true);
        return;
    }
    const std::optional<THeader> reference = ChoiceAt<THeader>(Flags.ReplayReference.load());
    if (!reference) {
        Dialogs.Tell(this, TMessageIcon::Warning, Text(kErrorCaption),
                     QString::fromLatin1(kNoReferenceText));
        ChkP->setChecked(false);
        return;
    }
    HDref->SetItemIndex(ChoiceIndex(*reference));
    ComboBoxProtocol->setCurrentIndex(ChoiceIndex(TProtocol::Nmea));
    for (TRadioGroup* group : References()) {
        group->setEnabled(true);
    }
    HDref->setEnabled(false);
    ComboBoxProtocol->setEnabled(false);
    Dialogs.Tell(this, TMessageIcon::Information, QStringLiteral("Message"),
                 QString::fromLatin1(kReferenceLoadedText));
}

void TFormPort::done(int result)
{
    QDialog::done(result);
    FormClose(result);
}

void TFormPort::reject()
{
    // Escape and the window's close box answer as Cancel does.
    ButtonEndClick();
}

void TFormPort::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

bool TFormPort::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabelPortName && event->type() == QEvent::MouseButtonRelease) {
        ScanPorts();
        return true;
    }
    if ((watched == ComboBoxPortName || watched == ComboBoxPortName->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ButtonRun->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormPort::FormShow()
{
    ScanPorts();
    KeepSelections();
    if (!IsReplayForm()) {
        ComboBoxPortName->setFocus();
    }
}

void TFormPort::FormClose(int result)
{
    if (result != kResultConnect) {
        RestoreKept();
    }
    if (!IsReplayForm()) {
        ComboBoxPortName->setFocus();
    }
}

void TFormPort::KeepSelections()
{
    Kept = Settings();
}

void TFormPort::ShowSettings(const TRunSettings& settings)
{
    ComboBoxPortName->setEditText(
        QFile::decodeName(QByteArray::fromStdString(settings.Line.PortName)));
    ShowChoices(settings);
}

void TFormPort::RestoreKept()
{
    ShowChoices(Kept);
}

void TFormPort::ShowChoices(const TRunSettings& settings)
{
    const TReceiverSettings& receiver = settings.Receiver;
    const TReferences& references = receiver.References;
    HDref->SetItemIndex(ChoiceIndex(receiver.Header));
    LFref->SetItemIndex(ChoiceIndex(references.LFref));
    ASref->SetItemIndex(ChoiceIndex(references.ASref));
    UTref->SetItemIndex(ChoiceIndex(references.UTref));
    DDref->SetItemIndex(ChoiceIndex(references.DDref));
    SAref->SetItemIndex(ChoiceIndex(references.SAref));
    VDref->SetItemIndex(ChoiceIndex(references.VDref));
    ROref->SetItemIndex(ChoiceIndex(references.ROref));
    ACref->SetItemIndex(ChoiceIndex(references.ACref));
    TSref->SetItemIndex(ChoiceIndex(references.TSref));
    ComboBoxProtocol->setCurrentIndex(ChoiceIndex(receiver.Protocol));
    const COMSTATUS& line = settings.Line;
    ComboBoxBoudrate->setCurrentIndex(IndexIn(kBaudRates, line.BaudRate));
    ComboBoxBitlength->setCurrentIndex(IndexIn(kDataBits, line.DataBits));
    ComboBoxParity->setCurrentIndex(IndexIn(kParities, line.Parity));
    ComboBoxStopbit->setCurrentIndex(IndexIn(kStopBits, line.StopBits));
    EnableByProtocol(receiver.Protocol);
}

void TFormPort::EnableByProtocol(TProtocol protocol)
{
    const bool nmea = protocol == TProtocol::Nmea;
    HDref->setEnabled(nmea);
    for (TRadioGroup* group : References()) {
        group->setEnabled(nmea);
    }
    ChkP->setEnabled(nmea);
}

bool TFormPort::Confirm(std::string_view question)
{
    return question.empty() || Dialogs.Ask(this, Text(kNoticeCaption), Text(question));
}

TSummaryItems TFormPort::SummaryItems() const
{
    TSummaryItems items;
    items.BaudRate = SelectedText(*ComboBoxBoudrate);
    items.DataBits = SelectedText(*ComboBoxBitlength);
    items.StopBits = SelectedText(*ComboBoxStopbit);
    items.Parity = SelectedText(*ComboBoxParity);
    items.ProtocolIndex = ComboBoxProtocol->currentIndex();
    items.Protocol = SelectedText(*ComboBoxProtocol);
    items.Header = SelectedText(*HDref);
    items.LFref = SelectedText(*LFref);
    items.ASref = SelectedText(*ASref);
    items.UTref = SelectedText(*UTref);
    items.DDref = SelectedText(*DDref);
    items.SAref = SelectedText(*SAref);
    items.VDref = SelectedText(*VDref);
    items.ROref = SelectedText(*ROref);
    items.ACref = SelectedText(*ACref);
    items.TSref = SelectedText(*TSref);
    return items;
}

} // namespace zz
