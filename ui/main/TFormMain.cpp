#include "ui/main/TFormMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <chrono>
#include <optional>
#include <thread>

#include "core/CommandRules.h"
#include "core/DisplayCycle.h"
#include "io/PortScan.h"
#include "monitor/TMonitorThread.h"
#include "session/TRun.h"
#include "ui/main/CommandEntry.h"
#include "ui/main/LogFileNames.h"
#include "ui/main/QtTexts.h"
#include "ui/main/RunControlTexts.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TQtDisplay.h"
#include "ui/main/TReplayPanel.h"
#include "ui/main/TUserDialogs.h"
#include "ui/main/TViewMenu.h"
#include "ui/main/TWindowQueue.h"
#include "ui/tools/TAboutBox.h"
#include "ui/tools/TFormRC.h"
#include "ui/windows/TAltiPlot.h"
#include "ui/windows/TCN.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TLogForm.h"
#include "ui/windows/TPosPlot.h"
#include "ui/windows/TROTForm.h"
#include "ui/windows/TSky.h"
#include "ui/windows/TTtrack.h"
#include "ui/windows/TVeloPlot.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 12;
constexpr int kCommandFontPixels = 12;
constexpr QSize kMinimumSize{290, 45};
constexpr int kCommandPanelHeight = 25;
constexpr auto kReconnectPause = std::chrono::milliseconds(200);

constexpr int kLogWindowMaximumHeight = 500;

enum TStatusPanel
{
    ConnectionPanel = 0,
    SentDataPanel = 2,
    LogPanel = 3,
    RawPanel = 4,
};
constexpr std::array<int, 5> kStatusPanelWidths = {105, 0, 380, 270, 270};

const char* const kLogDialogTitle = "Save received Data (Only regular sentence) + Sent Data [.log]";
const char* const kRawDialogTitle = "Save all received Data [.bin]";

// The character a key press types, as the command line's filter judges it: Ctrl with a letter
// types the control character of that letter; keys that move or delete type none.
std::optional<char16_t> TypedCharacter(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete) {
        return std::nullopt;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z) {
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    }
    const QString text = event.text();
    if (text.size() != 1) {
        return std::nullopt;
    }
    return text.at(0).unicode();
}

} // namespace

TFormMain::TFormMain(TUserDialogs* dialogs, TRunFactory makeRun, QWidget* parent)
    : QMainWindow(parent), OwnDialogs(dialogs ? nullptr : std::make_unique<TUserDialogs>()),
      Dialogs(dialogs ? *dialogs : *OwnDialogs)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("VUVEZUV Zedezuze"));
    setFont(DisplayFont(kFontPixels));
    setMinimumSize(kMinimumSize);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MdiArea = new QMdiArea(central);
    layout->addWidget(MdiArea, 1);
    BuildCommandLine(central);
    layout->addWidget(Panel1);
    BuildReplayPanel(central);
    layout->addWidget(PanelPrev);
    setCentralWidget(central);

    BuildMenus();
    BuildStatusBar();
    CreateChildWindows();
    CreateToolWindows();
    BuildViewMenu();
    BuildHelpMenu();
    CreateRun(makeRun);

    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    InitialLeft = x();
    InitialTop = y();
}

TFormMain::~TFormMain()
{
    // The run goes first: its threads post work to this window and read its control block.
    Run.reset();
}

void TFormMain::CreateRun(const TRunFactory& makeRun)
{
    WindowQueue = new TWindowQueue(this);
    Display = std::make_unique<TQtDisplay>(
        *WindowQueue, TQtDisplay::TWindows{*InfoContent, *LogContent, *RotContent, *PosPlotContent,
                                           *AltiPlotContent, *VeloPlotContent, *TtrackContent,
                                           *CNContent, *SkyContent});
    Display->SetAfterUpdate([this] { ShowReplayPosition(); });
    TRunEvents& events = *this;
    Run = makeRun ? makeRun(Flags, Kept, *Display, events)
                  : std::make_unique<TRun>(Flags, Kept, *Display, events);
}

TProtocol TFormMain::ActiveProtocol() const
{
    // The protocol kept at the last Connect (or OK of the replay form) is the one the protocol
    // thread was made for; the dialog's live selection is only a choice until it is confirmed,
    // and the dialog puts the kept one back when it closes without confirming.
    return Kept.ProtocolIndex.load();
}

void TFormMain::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    QMenu* receiverLog = file->addMenu(QStringLiteral("Receiver Log(&R)"));
    receiverLog->setObjectName(QStringLiteral("MenuReceiverLog"));
    MenuLogOpen = receiverLog->addAction(QStringLiteral("Save Log(&S)"));
    MenuLogOpen->setObjectName(QStringLiteral("MenuLogOpen"));
    MenuLogOpen->setShortcut(QKeySequence(Qt::Key_F2));
    connect(MenuLogOpen, &QAction::triggered, this, &TFormMain::MenuLogOpenClick);
    MenuLogClose = receiverLog->addAction(QStringLiteral("Close Log(&C)"));
    MenuLogClose->setObjectName(QStringLiteral("MenuLogClose"));
    MenuLogClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    MenuLogClose->setEnabled(false);
    connect(MenuLogClose, &QAction::triggered, this, &TFormMain::MenuLogCloseClick);
    file->addSeparator();
    Exit1 = file->addAction(QStringLiteral("Exit(&X)"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    QMenu* config = menuBar()->addMenu(QStringLiteral("Config(&C)"));
    config->setObjectName(QStringLiteral("MenuConfig"));
    Comstate = config->addAction(QStringLiteral("Receiver setting(&R)"));
    Comstate->setObjectName(QStringLiteral("Comstate"));
    Comstate->setShortcut(QKeySequence(Qt::Key_F4));
    connect(Comstate, &QAction::triggered, this, &TFormMain::OpenReceiverSetting);
    QMenu* replay = config->addMenu(QStringLiteral("Log Replay setting(&L)"));
    replay->setObjectName(QStringLiteral("MenuLogReplay"));
    PrevOpen = replay->addAction(QStringLiteral("Open Replay Log(&O)"));
    PrevOpen->setObjectName(QStringLiteral("PrevOpen"));
    PrevOpen->setShortcut(QKeySequence(Qt::Key_F3));
    connect(PrevOpen, &QAction::triggered, this, &TFormMain::PrevOpenClick);
    PrevClose = replay->addAction(QStringLiteral("Close Replay Log(&C)"));
    PrevClose->setObjectName(QStringLiteral("PrevClose"));
    PrevClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F3));
    PrevClose->setEnabled(false);
    connect(PrevClose, &QAction::triggered, this, &TFormMain::PrevCloseClick);
    config->addSeparator();
    Showsetting1 = config->addAction(QStringLiteral("Show setting(&S)"));
    Showsetting1->setObjectName(QStringLiteral("Showsetting1"));
    Showsetting1->setShortcut(QKeySequence(Qt::Key_F12));
    connect(Showsetting1, &QAction::triggered, this, &TFormMain::Showsetting1Click);

    QMenu* tool = menuBar()->addMenu(QStringLiteral("Tool(&T)"));
    tool->setObjectName(QStringLiteral("MenuTool"));
    ClearAllWindow = tool->addAction(QStringLiteral("Clear all window(&L)"));
    ClearAllWindow->setObjectName(QStringLiteral("ClearAllWindow"));
    ClearAllWindow->setShortcut(QKeySequence(Qt::Key_F5));
    connect(ClearAllWindow, &QAction::triggered, this, &TFormMain::ClearAllWindows);
    RestartCommand1 = tool->addAction(QStringLiteral("Preset command(&P)"));
    RestartCommand1->setObjectName(QStringLiteral("RestartCommand1"));
    RestartCommand1->setShortcut(QKeySequence(Qt::Key_F6));
    connect(RestartCommand1, &QAction::triggered, this, &TFormMain::RestartCommand1Click);
    tool->addSeparator();
}

void TFormMain::BuildHelpMenu()
{
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help(&H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    aboutA1 = help->addAction(QStringLiteral("About(&A)"));
    aboutA1->setObjectName(QStringLiteral("aboutA1"));
    aboutA1->setShortcut(QKeySequence(Qt::Key_F11));
    connect(aboutA1, &QAction::triggered, this, &TFormMain::aboutA1Click);
    help->addSeparator();
}

void TFormMain::BuildViewMenu()
{
    QMenu* view = menuBar()->addMenu(QStringLiteral("View(&V)"));
    view->setObjectName(QStringLiteral("MenuView"));
    Showallwindow1 = view->addAction(QStringLiteral("Show all window(&S)"));
    Showallwindow1->setObjectName(QStringLiteral("Showallwindow1"));
    Showallwindow1->setShortcut(QKeySequence(Qt::Key_F7));
    connect(Showallwindow1, &QAction::triggered, this, &TFormMain::ShowAllWindows);
    default1 = view->addAction(QStringLiteral("Default layout(&D)"));
    default1->setObjectName(QStringLiteral("default1"));
    default1->setShortcut(QKeySequence(Qt::Key_F8));
    connect(default1, &QAction::triggered, this, &TFormMain::ApplyDefaultLayout);
    view->addSeparator();

    struct TItem
    {
        TChildWindowId Window;
        const char* Caption;
        const char* Name;
        Qt::Key Key;
    };
    static constexpr TItem kItems[] = {
        {TChildWindowId::Information, "< Information > window(&I)", "InfVisible", Qt::Key_1},
        {TChildWindowId::PositionPlot, "< Position plot > window(&P)", "PosVisible", Qt::Key_2},
        {TChildWindowId::AltitudePlot, "< Altitude plot > window(&A)", "AltVisible", Qt::Key_3},
        {TChildWindowId::VelocityPlot, "< Velocity plot > window(&V)", "VelVisible", Qt::Key_4},
        {TChildWindowId::SkyPlot, "< Sky plot > window(&K)", "SkyVisible", Qt::Key_5},
        {TChildWindowId::SignalLevel, "< Signal level > window(&G)", "CnrVisible", Qt::Key_6},
        {TChildWindowId::Direction, "< Direction > window(&T)", "DirVisible", Qt::Key_7},
        {TChildWindowId::Log, "< Log > window(&L)", "LogVisible", Qt::Key_8},
        {TChildWindowId::DR, "< DR > window(&R)", "RotVisible", Qt::Key_9},
    };
    ViewMenu = new TViewMenu(*view, *MdiArea);
    for (const TItem& item : kItems) {
        ViewMenu->AddWindow(item.Window, *ChildWindow(item.Window), item.Caption, item.Name,
                            Qt::ALT | item.Key);
    }
    view->addSeparator();
}

TChildWindow* TFormMain::ChildWindow(TChildWindowId id) const
{
    return Children[static_cast<size_t>(id)];
}

void TFormMain::ShowAllWindows()
{
    ViewMenu->ShowAllWindows();
}

void TFormMain::ApplyDefaultLayout()
{
    ViewMenu->ApplyDefaultBounds();
    showNormal();
    move(InitialLeft, InitialTop);
    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
}

void TFormMain::BuildCommandLine(QWidget* parent)
{
    Panel1 = new QWidget(parent);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kCommandPanelHeight);

    EditSend = new QLineEdit(Panel1);
    EditSend->setObjectName(QStringLiteral("EditSend"));
    EditSend->setGeometry(3, 2, 640, 21);
    EditSend->setFont(FixedPitchFont(kCommandFontPixels));
    EditSend->setMaxLength(kCommandMaxLength);
    EditSend->setAttribute(Qt::WA_InputMethodEnabled, false);
    EditSend->installEventFilter(this);

    ButtonSend = new QPushButton(QStringLiteral("Send"), Panel1);
    ButtonSend->setObjectName(QStringLiteral("ButtonSend"));
    ButtonSend->setGeometry(645, 1, 61, 23);
    connect(ButtonSend, &QPushButton::clicked, this, &TFormMain::ButtonSendClick);

    CheckAddSum = new QCheckBox(QStringLiteral("Add Checksum"), Panel1);
    CheckAddSum->setObjectName(QStringLiteral("CheckAddSum"));
    CheckAddSum->setGeometry(718, 2, 130, 21);
    CheckAddSum->setChecked(true);
}

void TFormMain::BuildStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBarCom"));
    const std::array<std::string_view, 5> startTexts = {
        kDisconnectedStatus, {}, kSentDataStatus, kLogNotSavedStatus, kRawNotSavedStatus};
    for (size_t panel = 0; panel < StatusPanels.size(); ++panel) {
        auto* label = new QLabel(bar);
        label->setFixedWidth(kStatusPanelWidths[panel]);
        bar->addWidget(label);
        StatusPanels[panel] = label;
        SetStatusText(static_cast<int>(panel), startTexts[panel]);
    }
    setStatusBar(bar);
}

void TFormMain::CreateChildWindows()
{
    // The order in which the program's windows come into being: the dialog, then the display
    // windows, the Information window last.
    TFormPortQueries queries;
    queries.IsRecording = [this] { return IsRecording(); };
    queries.ScanPorts = [] { return ScanPorts(); };
    PortDialog = new TFormPort(Flags, Dialogs, std::move(queries), this);

    PosPlotContent = new TPosPlot(Flags);
    AddChildWindow(PosPlotContent, "Position plot", "PosPlot", TChildWindowId::PositionPlot);
    AltiPlotContent = new TAltiPlot(Flags);
    AddChildWindow(AltiPlotContent, "Altitude plot", "AltiPlot", TChildWindowId::AltitudePlot);
    VeloPlotContent = new TVeloPlot(Flags);
    AddChildWindow(VeloPlotContent, "Velocity plot", "VeloPlot", TChildWindowId::VelocityPlot);
    TtrackContent = new TTtrack;
    AddChildWindow(TtrackContent, "Direction", "Ttrack", TChildWindowId::Direction);
    CNContent = new TCN;
    AddChildWindow(CNContent, "Signal level", "CN", TChildWindowId::SignalLevel);
    SkyContent = new TSky;
    AddChildWindow(SkyContent, "Sky plot", "Sky", TChildWindowId::SkyPlot);
    LogContent = new TLogForm;
    LogChild = AddChildWindow(LogContent, "Log", "LogForm", TChildWindowId::Log);
    LogChild->setMaximumHeight(kLogWindowMaximumHeight);
    RotContent = new TROTForm;
    RotChild = AddChildWindow(RotContent, "DR", "ROTForm", TChildWindowId::DR);
    InfoContent = new TInfoForm;
    InfoChild = AddChildWindow(InfoContent, "Information", "InfoForm", TChildWindowId::Information);
}

void TFormMain::CreateToolWindows()
{
    // Made after the display windows, hidden until their menu items show them.
    TPresetSends sends;
    sends.SelectedProtocol = [this] { return PortDialog->SelectedProtocol(); };
    sends.SendRestart = [this](std::string_view text) { SendPresetRestart(text); };
    sends.SendCommand = [this](std::string_view text) { SendPresetCommand(text); };
    PresetDialog = new TFormRC(std::move(sends), this);
    AboutDialog = new TAboutBox(this);
}

TChildWindow* TFormMain::AddChildWindow(QWidget* form, const char* caption, const char* name,
                                        TChildWindowId id)
{
    auto* child = new TChildWindow(form, QString::fromLatin1(caption));
    child->setObjectName(QString::fromLatin1(name));
    MdiArea->addSubWindow(child);
    const TDefaultBounds& bounds = DefaultBounds(id);
    // The direction window is made before the signal level window, which takes its height.
    const TChildWindow* direction = ChildWindow(TChildWindowId::Direction);
    child->Place(PlacedBounds(bounds, direction ? direction->height() : bounds.Bounds.height()));
    child->setVisible(bounds.Shown);
    Children[static_cast<size_t>(id)] = child;
    return child;
}

QString TFormMain::StatusText(int panel) const
{
    return StatusPanels[static_cast<size_t>(panel)]->text();
}

void TFormMain::SetStatusText(int panel, std::string_view text)
{
    QLabel* label = StatusPanels[static_cast<size_t>(panel)];
    label->setText(panel == SentDataPanel ? Latin1(text) : PathText(text));
    if (panel == ConnectionPanel) {
        // A device path is longer than the panel was made for: the panel grows to show it.
        const int needed =
            label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 8;
        label->setFixedWidth(std::max(kStatusPanelWidths[ConnectionPanel], needed));
    }
}

void TFormMain::OpenReceiverSetting()
{
    if (Flags.Replaying.load() != 0 && !StopReplay()) {
        return;
    }
    const int result = Dialogs.RunModal(*PortDialog);
    if (result == TFormPort::kResultConnect) {
        ConnectKeptSettings();
    } else if (result == TFormPort::kResultDisconnect) {
        DisconnectReceiver();
    }
}

void TFormMain::ConnectAtStart(const TRunSettings& settings)
{
    PortDialog->ShowSettings(settings);
    PortDialog->ButtonRunClick();
    if (PortDialog->result() == TFormPort::kResultConnect) {
        ConnectKeptSettings();
    }
}

void TFormMain::ConnectKeptSettings()
{
    // From here on the decoders follow what the dialog kept at Connect.
    Kept.Apply(PortDialog->KeptSettings().Receiver);
    if (IsRunning()) {
        DisconnectReceiver();
        std::this_thread::sleep_for(kReconnectPause);
    }
    ConnectReceiver();
    ResetAllWindows();
}

void TFormMain::ConnectReceiver()
{
    const TRunSettings settings = PortDialog->Settings();
    const COMSTATUS& status = settings.Line;
    const TProtocol protocol = settings.Receiver.Protocol;
    if (Run->Connect(status, protocol)) {
        ConnectedPortName = status.PortName;
        SetStatusText(ConnectionPanel,
                      ConnectedStatusText(status.PortName, ProtocolName(protocol)));
        return;
    }
    Dialogs.Beep();
    Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kErrorCaption),
                 PathText(ConnectFailureText(status.PortName, Run->OpenError())));
    SetStatusText(ConnectionPanel, kDisconnectedStatus);
}

void TFormMain::DisconnectReceiver()
{
    if (!IsRunning()) {
        return;
    }
    Run->Disconnect();
    SetStatusText(ConnectionPanel, kDisconnectedStatus);
    if (IsRecording()) {
        Run->StopRecording();
        ShowRecordingStopped();
    }
}

void TFormMain::ResetAllWindows()
{
    ResetWindows(true);
}

void TFormMain::ClearAllWindows()
{
    ResetWindows(false);
}

void TFormMain::ResetWindows(bool fullReset)
{
    // Each window's full reset or clear, in the fixed order of the windows.
    const auto reset = [fullReset](auto& window) {
        if (fullReset) {
            window.ResetDisplay();
        } else {
            window.ClearDisplay();
        }
    };
    reset(*InfoContent);
    reset(*RotContent);
    reset(*VeloPlotContent);
    reset(*AltiPlotContent);
    LogContent->Clear();
    reset(*PosPlotContent);
    reset(*TtrackContent);
    reset(*CNContent);
    reset(*SkyContent);

    Flags.GpsSatCount.store(0);
    Run->ResetCounts();
    if (fullReset) {
        CheckAddSum->setChecked(true);
        History.ResetIndex();
        EditSend->clear();
    }
    Flags.PlotClearRequest.store(1);
    Flags.AltClearPending.store(1);
    Flags.VeloClearPending.store(1);
    Flags.UsedPrnResetRequest.store(1);
    Flags.SbasResetRequest.store(1);
    if (fullReset) {
        Flags.RecentreRequest.store(1);
    }
}

void TFormMain::ButtonSendClick()
{
    const QByteArray typed = EditSend->text().toLatin1();
    if (typed.isEmpty()) {
        return;
    }
    const std::string_view text(typed.constData(), static_cast<size_t>(typed.size()));
    SendTypedCommand(text);
    History.PushHistory(text);
    History.ResetIndex();
    EditSend->clear();
}

bool TFormMain::SendTypedCommand(std::string_view text)
{
    if (!IsRunning()) {
        return false;
    }
    if (ActiveProtocol() == TProtocol::Binary && !IsHexCommand(text)) {
        Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kErrorCaption),
                     Latin1(CantSendText(text)));
        return false;
    }
    // A clear command arms the time to first fix; the run shows "--" for it.
    (void)Run->Send(text, CheckAddSum->isChecked(), false);
    WriteSentLine(text);
    SetStatusText(SentDataPanel, SentDataStatusText(text));
    return true;
}

void TFormMain::SendPresetRestart(std::string_view text)
{
    SendPreset(text, true);
}

void TFormMain::SendPresetCommand(std::string_view text)
{
    SendPreset(text, false);
}

void TFormMain::SendPreset(std::string_view text, bool restart)
{
    if (!IsRunning()) {
        return;
    }
    (void)Run->Send(text, ActiveProtocol() == TProtocol::Nmea, restart);
    WriteSentLine(text);
    History.PushHistory(text);
    SetStatusText(SentDataPanel, PresetSentStatusText(text));
}

void TFormMain::RestartCommand1Click()
{
    Dialogs.RunModal(*PresetDialog);
}

void TFormMain::aboutA1Click()
{
    Dialogs.RunModal(*AboutDialog);
}

void TFormMain::WriteSentLine(std::string_view text)
{
    LogContent->AppendSentLine(text);
    Run->WriteSentLine(text);
    ShowLogWriteFailures();
}

void TFormMain::MenuLogOpenClick()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    const TLogFileNames names = DefaultLogFileNames(LogTimeStamp(
        date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()));

    const QString logPath = Dialogs.SaveFileName(
        this, {QString::fromLatin1(kLogDialogTitle), QStringLiteral("Log File(*.log)"),
               QStringLiteral("log"), PathText(names.Log)});
    if (logPath.isEmpty()) {
        return;
    }
    const QString rawPath = Dialogs.SaveFileName(
        this, {QString::fromLatin1(kRawDialogTitle), QStringLiteral("Log File(*.bin)"),
               QStringLiteral("bin"), PathText(names.Raw)});
    if (rawPath.isEmpty()) {
        return;
    }
    const std::string logFile = PathBytes(logPath);
    const std::string rawFile = PathBytes(rawPath);
    if (IsSameFile(logFile, rawFile)) {
        Dialogs.Beep();
        Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kSameFileCaption), Latin1(kCantCreateLog));
        return;
    }
    if (!Run->StartRecording(logFile, rawFile)) {
        Dialogs.Beep();
        Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kErrorCaption), Latin1(kCantCreateLog));
        return;
    }
    LogFileName = FileNameOnly(logFile);
    RawFileName = FileNameOnly(rawFile);
    LogFailureShown = false;
    RawFailureShown = false;
    SetStatusText(LogPanel, LogSavedStatusText(FileNameOnly(logFile)));
    SetStatusText(RawPanel, RawSavedStatusText(FileNameOnly(rawFile)));
    ApplyLogMenuState(true);
}

void TFormMain::MenuLogCloseClick()
{
    if (!Dialogs.Ask(this, Latin1(kNoticeCaption), Latin1(kCloseLogQuestion))) {
        return;
    }
    Run->StopRecording();
    ShowRecordingStopped();
}

void TFormMain::ShowRecordingStopped()
{
    SetStatusText(LogPanel, kLogNotSavedStatus);
    SetStatusText(RawPanel, kRawNotSavedStatus);
    ApplyLogMenuState(false);
}

void TFormMain::ApplyLogMenuState(bool recording)
{
    const TLogMenuState state = LogMenuState(recording, Flags.Replaying.load() != 0);
    MenuLogOpen->setEnabled(state.SaveEnabled);
    MenuLogClose->setEnabled(state.CloseEnabled);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    const TClosingStep step = ClosingStep(IsRunning(), IsRecording(), Flags.Replaying.load() != 0);
    if (!step.Question.empty() &&
        !Dialogs.Ask(this, Latin1(kNoticeCaption), Latin1(step.Question))) {
        event->ignore();
        return;
    }
    if (step.CloseLogs) {
        Run->StopRecording();
    }
    if (step.Disconnect) {
        DisconnectReceiver();
    }
    event->accept();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != EditSend || event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto& keyEvent = *static_cast<QKeyEvent*>(event);
    std::optional<std::string> shown;
    switch (keyEvent.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Sent, and the key still reaches the command line.
        ButtonSendClick();
        return false;
    case Qt::Key_Up:
        shown = History.BrowseOlder(EditSend->text().toLatin1().toStdString());
        break;
    case Qt::Key_Down:
        shown = History.BrowseNewer();
        break;
    default: {
        const std::optional<char16_t> character = TypedCharacter(keyEvent);
        return character && !KeepsTypedCharacter(*character, Kept.ProtocolIndex.load());
    }
    }
    if (shown) {
        EditSend->setText(Latin1(*shown));
        EditSend->end(false);
    }
    return true;
}

bool TFormMain::IsRecording() const
{
    return Run->Recording();
}

void TFormMain::ShowTtffText(TTtffText text)
{
    InfoContent->SetText(TInfoLabel::ttff, text == TTtffText::Counting ? "counting" : "--");
}

void TFormMain::ClearAltitudeVelocityPlots()
{
    AltiPlotContent->ClearSeries();
    VeloPlotContent->ClearSeries();
}

void TFormMain::ReceiverLost()
{
    if (!IsRunning()) {
        return;
    }
    const bool recording = IsRecording();
    DisconnectReceiver();
    Dialogs.Beep();
    Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kErrorCaption),
                 PathText(ReceiverLostText(ConnectedPortName, recording)));
}

void TFormMain::LogWriteFailed()
{
    ShowLogWriteFailures();
}

void TFormMain::ShowLogWriteFailures()
{
    if (!Run->Recording()) {
        return;
    }
    if (const TLogWriteFailure failure = Run->LogFailure(); failure.Failed && !LogFailureShown) {
        LogFailureShown = true;
        SetStatusText(LogPanel, LogWriteFailedStatusText(LogFileName, failure.Errno));
    }
    if (const TLogWriteFailure failure = Run->RawFailure(); failure.Failed && !RawFailureShown) {
        RawFailureShown = true;
        SetStatusText(RawPanel, RawWriteFailedStatusText(RawFileName, failure.Errno));
    }
}

} // namespace zz
