// The main window's log replay and settings summary.
#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <chrono>
#include <thread>

#include "core/TKeptValues.h"
#include "ui/main/LogFileNames.h"
#include "ui/main/QtTexts.h"
#include "ui/main/RunControlTexts.h"
#include "ui/main/SettingsSummary.h"
#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TReplayPanel.h"
#include "ui/main/TUserDialogs.h"

namespace zz {
namespace {

// The pause before the windows are cleared for a replay that starts again from its first byte.
constexpr auto kRestartPause = std::chrono::milliseconds(10);

constexpr std::string_view kSettingCaption = "Setting";

} // namespace

void TFormMain::BuildReplayPanel(QWidget* parent)
{
    PanelPrev = new TReplayPanel(parent);
    PanelPrev->hide();
    connect(PanelPrev, &TReplayPanel::PlayClicked, this, &TFormMain::SpeedButton1Click);
    connect(PanelPrev, &TReplayPanel::SeekRequested, this, &TFormMain::ScrollBar1Scroll);
    connect(PanelPrev, &TReplayPanel::SpeedChanged, this,
            [this](int speed) { Run->SetReplaySpeed(speed); });
}

void TFormMain::PrevOpenClick()
{
    const std::string_view question = OpenReplayQuestion(IsRunning(), IsRecording());
    if (!question.empty() && !Dialogs.Ask(this, Latin1(kNoticeCaption), Latin1(question))) {
        return;
    }
    if (IsRunning()) {
        DisconnectReceiver();
    }
    if (IsRecording()) {
        Run->StopRecording();
    }
    ShowRecordingStopped();
    MenuLogOpen->setEnabled(false);
    MenuLogClose->setEnabled(false);

    const QString path = Dialogs.OpenFileName(
        this, {QStringLiteral("Open"),
               {QStringLiteral("Log File(*.bin)"), QStringLiteral("All File(*.*)")},
               QStringLiteral("bin")});
    if (path.isEmpty()) {
        MenuLogOpen->setEnabled(true);
        return;
    }
    OpenReplayFile(path, [this] { return RunReplaySetting(); });
}

bool TFormMain::OpenReplayAtStart(const QString& path, std::optional<TProtocol> protocol,
                                  std::optional<THeader> header)
{
    return OpenReplayFile(path, [this, protocol, header] {
        const int32_t reference = Run->ReplayReference();
        Flags.ReplayReference.store(reference);
        TRunSettings settings = PortDialog->KeptSettings();
        TReceiverSettings& receiver = settings.Receiver;
        receiver.Protocol = protocol.value_or(receiver.Protocol);
        receiver.Header = header.value_or(receiver.Header);
        const std::optional<THeader> marked = ChoiceAt<THeader>(reference);
        if (marked && !header && protocol != TProtocol::Binary) {
            receiver.Protocol = TProtocol::Nmea;
            receiver.Header = *marked;
        }
        PortDialog->SetReplayForm(true);
        PortDialog->ShowSettings(settings);
        PortDialog->ButtonRunClick();
        const bool confirmed = PortDialog->result() == TFormPort::kResultConnect;
        if (confirmed) {
            Kept.Apply(PortDialog->KeptSettings().Receiver);
        }
        PortDialog->SetReplayForm(false);
        return confirmed;
    });
}

bool TFormMain::OpenReplayFile(const QString& path, const std::function<bool()>& answerReplayForm)
{
    int error = 0;
    const std::string file = PathBytes(path);
    if (!Run->OpenReplay(file, error) || Run->ReplaySize() == 0) {
        Run->CancelReplay();
        MenuLogOpen->setEnabled(true);
        Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kErrorCaption), Latin1(kCantOpenLogFile));
        return false;
    }
    PanelPrev->SetFileSize(Run->ReplaySize());
    if (!answerReplayForm()) {
        MenuLogOpen->setEnabled(true);
        Run->CancelReplay();
        return false;
    }

    Run->StartReplay(ActiveProtocol());
    ResetAllWindows();
    ReplayPath = file;
    PanelPrev->ShowFile(path);
    ShowReplayControls(true);
    ShowReplayPaused();
    PanelPrev->SetSpeedIndex(0);
    Run->SetReplaySpeed(0);
    return true;
}

bool TFormMain::RunReplaySetting()
{
    Flags.ReplayReference.store(Run->ReplayReference());
    PortDialog->SetReplayForm(true);
    const int result = Dialogs.RunModal(*PortDialog);
    const bool confirmed = result == TFormPort::kResultConnect;
    if (confirmed) {
        // The replay's decoders follow what the dialog kept at OK.
        Kept.Apply(PortDialog->KeptSettings().Receiver);
        ShowSettingSummary(true);
    }
    PortDialog->SetReplayForm(false);
    return confirmed;
}

void TFormMain::PrevCloseClick()
{
    StopReplay();
}

bool TFormMain::StopReplay()
{
    if (Flags.Replaying.load() != 1) {
        return true;
    }
    if (!Dialogs.Ask(this, Latin1(kNoticeCaption), Latin1(kStopReplayQuestion))) {
        return false;
    }
    // The windows keep what they show last.
    Run->Disconnect();
    ReplayPath.clear();
    ShowReplayControls(false);
    return true;
}

void TFormMain::ShowReplayControls(bool replaying)
{
    Panel1->setVisible(!replaying);
    statusBar()->setVisible(!replaying);
    PanelPrev->SetPlayButtonDown(false);
    if (!replaying) {
        PanelPrev->SetPosition(0);
    }
    PanelPrev->setVisible(replaying);
    PrevOpen->setEnabled(!replaying);
    PrevClose->setEnabled(replaying);
    RestartCommand1->setEnabled(!replaying);
    ApplyLogMenuState(IsRecording());
}

void TFormMain::SpeedButton1Click(bool down)
{
    if (!down) {
        ShowReplayPaused();
        return;
    }
    if (Flags.ClearBeforePlay.load() == 1) {
        ClearAllWindows();
        Flags.ClearBeforePlay.store(0);
    }
    if (PanelPrev->AtEnd()) {
        PanelPrev->SetPosition(0);
        std::this_thread::sleep_for(kRestartPause);
        ClearAllWindows();
        Run->RewindReplay();
    }
    ShowReplayPlaying();
}

void TFormMain::ScrollBar1Scroll(int64_t offset)
{
    if (Flags.Replaying.load() != 1) {
        return;
    }
    // The run starts decoding again from an empty receiver state at the offset; the next play
    // clears the windows.
    Run->SeekReplay(offset);
    Flags.ClearBeforePlay.store(1);
    ShowReplayPaused();
    PanelPrev->SetPlayButtonDown(false);
}

void TFormMain::ShowReplayPaused()
{
    Run->PauseReplay();
    PanelPrev->DrawPlayPicture();
}

void TFormMain::ShowReplayPlaying()
{
    PanelPrev->DrawPausePicture();
    Run->PlayReplay();
}

void TFormMain::ShowReplayPosition()
{
    if (Flags.Replaying.load() == 1) {
        PanelPrev->SetPosition(Run->ReplayPosition());
    }
}

void TFormMain::ReplayEnded(int error)
{
    PanelPrev->SetPosition(Run->ReplayPosition());
    PanelPrev->SetPlayButtonDown(false);
    PanelPrev->DrawPlayPicture();
    if (error != 0) {
        Dialogs.Beep();
        Dialogs.Tell(this, TMessageIcon::Warning, Latin1(kErrorCaption),
                     PathText(ReplayReadFailureText(FileNameOnly(ReplayPath), error)));
    }
}

void TFormMain::Showsetting1Click()
{
    ShowSettingSummary(Flags.Replaying.load() == 1);
}

void TFormMain::ShowSettingSummary(bool replayVariant)
{
    TSummaryConnection connection;
    if (IsRunning() && !replayVariant) {
        connection.Connected = true;
        connection.Port = ConnectedPortName;
        connection.Protocol = ProtocolName(ActiveProtocol());
    }
    const std::optional<std::string> text =
        SettingsSummaryText(replayVariant ? TSummaryVariant::Replay : TSummaryVariant::Live,
                            PortDialog->SummaryItems(), connection);
    if (text) {
        Dialogs.Tell(this, TMessageIcon::NoIcon, Latin1(kSettingCaption), Latin1(*text));
    }
}

} // namespace zz
