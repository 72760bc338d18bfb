#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TProtocolHooks.h"
#include "io/COMSTATUS.h"
#include "session/TRunControl.h"
#include "session/TRunEvents.h"
#include "session/TRunSettings.h"
#include "ui/main/DefaultLayout.h"
#include "ui/main/TCommandHistory.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMdiArea;
class QPushButton;

namespace zz {

class TAboutBox;
class TAltiPlot;
class TChildWindow;
class TCN;
class TFormPort;
class TFormRC;
class TPosPlot;
class TSky;
class TTtrack;
class TVeloPlot;
class TDisplay;
class TQtDisplay;
class TWindowQueue;
class TInfoForm;
class TLogForm;
class TROTForm;
class TReplayPanel;
class TUserDialogs;
class TViewMenu;

// Makes the run the main window drives, for the control block, the kept choices, the
// display and the events the window hands it.
using TRunFactory = std::function<std::unique_ptr<TRunControl>(
    TControlFlags& flags, const TKeptValues& kept, TDisplay& display, TRunEvents& events)>;

// The application's main window: the work area with the display windows, the menus, the
// command line and the status bar. It holds the control block the other threads consult and
// the choices the receiver setting dialog keeps, connects and disconnects, resets the windows,
// sends typed commands, starts and stops recordings, replays logs and asks before closing.
//
// Everything behind the windows (threads, ports, files) is the run's; the window does
// everything a user sees around it and receives the run's events on its own thread.
class TFormMain : public QMainWindow, private TRunEvents
{
    Q_OBJECT

public:
    // Client area at start-up, below the menu bar.
    static constexpr QSize kClientSize{1016, 722};

    // dialogs answers the message boxes and file dialogs; the window's own are used without it.
    // makeRun makes the run; without it the real one (threads, ports, files) is made.
    explicit TFormMain(TUserDialogs* dialogs = nullptr, TRunFactory makeRun = {},
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    TControlFlags& ControlFlags() { return Flags; }
    TKeptValues& KeptValues() { return Kept; }
    bool IsRunning() const { return Flags.IsRunning(); }

    TFormPort& FormPort() const { return *PortDialog; }
    TFormRC& FormRC() const { return *PresetDialog; }
    TAboutBox& AboutBox() const { return *AboutDialog; }
    TLogForm& LogForm() const { return *LogContent; }
    TROTForm& ROTForm() const { return *RotContent; }
    TInfoForm& InfoForm() const { return *InfoContent; }
    TPosPlot& PosPlot() const { return *PosPlotContent; }
    TAltiPlot& AltiPlot() const { return *AltiPlotContent; }
    TVeloPlot& VeloPlot() const { return *VeloPlotContent; }
    TTtrack& Ttrack() const { return *TtrackContent; }
    TCN& CN() const { return *CNContent; }
    TSky& Sky() const { return *SkyContent; }
    TChildWindow* LogWindow() const { return LogChild; }
    TChildWindow* ROTWindow() const { return RotChild; }
    TChildWindow* InfoWindow() const { return InfoChild; }
    TChildWindow* ChildWindow(TChildWindowId id) const;
    QMdiArea* WorkArea() const { return MdiArea; }

    // Window layout: every window shown; the default bounds, with the main window back where
    // it started and at its start-up size.
    void ShowAllWindows();
    void ApplyDefaultLayout();
    QPoint InitialPosition() const { return {InitialLeft, InitialTop}; }

    // Start-up from the command line. ConnectAtStart puts the settings into the receiver
    // setting dialog's controls and presses Connect there, without showing the dialog.
    // OpenReplayAtStart opens the log for replay, paused, as the open dialog and the replay form
    // do; the form is answered without showing it: the protocol and header given, else the
    // log's own header of the cycle where its marker names one, as ticking the box would. False
    // when the log could not be opened (the user is told, as through the menu).
    void ConnectAtStart(const TRunSettings& settings);
    bool OpenReplayAtStart(const QString& path, std::optional<TProtocol> protocol = {},
                           std::optional<THeader> header = {});

    // Connection control.
    void OpenReceiverSetting();
    void ConnectReceiver();
    void DisconnectReceiver();
    // Empty the display windows; the full reset also puts their settings and the command line
    // back to their defaults.
    void ResetAllWindows();
    void ClearAllWindows();

    // Command entry.
    void ButtonSendClick();
    bool SendTypedCommand(std::string_view text);
    // The preset command window's sends: the check characters follow the selected protocol
    // (NMEA sends with them), not the "Add Checksum" box. A restart also arms the time to first
    // fix.
    void SendPresetRestart(std::string_view text);
    void SendPresetCommand(std::string_view text);
    // The preset command window (F6) and the about box (F11), shown modally.
    void RestartCommand1Click();
    void aboutA1Click();
    // A sent command into the Log window (and the text log while recording).
    void WriteSentLine(std::string_view text);
    const TCommandHistory& CommandHistory() const { return History; }

    // Recording.
    void MenuLogOpenClick();
    void MenuLogCloseClick();

    QString StatusText(int panel) const;

    bool IsRecording() const;

    // Log replay: open (asks, shows the open dialog and the dialog's replay form), close,
    // play and pause, seek to the byte offset the position bar was let go at.
    void PrevOpenClick();
    void PrevCloseClick();
    // Asks to stop an open replay and stops it on Yes; false when the user declined. True at
    // once when no replay is open.
    bool StopReplay();
    void SpeedButton1Click(bool down);
    void ScrollBar1Scroll(int64_t offset);
    TReplayPanel& ReplayPanel() const { return *PanelPrev; }

    // The settings in force as text, in a box captioned "Setting" (F12).
    void Showsetting1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Connects with what the receiver setting dialog kept at Connect.
    void ConnectKeptSettings();
    // Opens the chosen log for replay; answerReplayForm settles the replay form, true for OK.
    bool OpenReplayFile(const QString& path, const std::function<bool()>& answerReplayForm);
    void BuildMenus();
    void BuildViewMenu();
    void BuildHelpMenu();
    void CreateToolWindows();
    void CreateRun(const TRunFactory& makeRun);
    // The protocol the run speaks, which decides how commands are checked, sent and filtered.
    TProtocol ActiveProtocol() const;
    // The run's events, on the window thread.
    void ShowTtffText(TTtffText text) override;
    void ClearAltitudeVelocityPlots() override;
    void ReceiverLost() override;
    void ReplayEnded(int error) override;
    void LogWriteFailed() override;
    // Shows a failed write of a log file in its status panel, once per recording.
    void ShowLogWriteFailures();
    void BuildCommandLine(QWidget* parent);
    void BuildStatusBar();
    void CreateChildWindows();
    TChildWindow* AddChildWindow(QWidget* form, const char* caption, const char* name,
                                 TChildWindowId id);
    void ResetWindows(bool fullReset);
    void SetStatusText(int panel, std::string_view text);
    void ShowRecordingStopped();
    void BuildReplayPanel(QWidget* parent);
    // Reads the log's reference and shows the receiver setting dialog in its replay form;
    // true when the user confirmed with "OK".
    bool RunReplaySetting();
    // The two states of the replay panel, with the threads paused or running.
    void ShowReplayPaused();
    void ShowReplayPlaying();
    // While a replay is open: the command line and the status bar hidden, the replay panel
    // shown, and the menu items that do not apply disabled; and back.
    void ShowReplayControls(bool replaying);
    // The position bar follows the replay's read position.
    void ShowReplayPosition();
    void ShowSettingSummary(bool replayVariant);
    void SendPreset(std::string_view text, bool restart);
    void ApplyLogMenuState(bool recording);

    std::unique_ptr<TUserDialogs> OwnDialogs;
    TUserDialogs& Dialogs;
    TControlFlags Flags;
    TKeptValues Kept;
    TCommandHistory History;

    QMdiArea* MdiArea = nullptr;
    TFormPort* PortDialog = nullptr;
    TFormRC* PresetDialog = nullptr;
    TAboutBox* AboutDialog = nullptr;
    TLogForm* LogContent = nullptr;
    TROTForm* RotContent = nullptr;
    TInfoForm* InfoContent = nullptr;
    TPosPlot* PosPlotContent = nullptr;
    TAltiPlot* AltiPlotContent = nullptr;
    TVeloPlot* VeloPlotContent = nullptr;
    TTtrack* TtrackContent = nullptr;
    TCN* CNContent = nullptr;
    TSky* SkyContent = nullptr;
    TChildWindow* LogChild = nullptr;
    TChildWindow* RotChild = nullptr;
    TChildWindow* InfoChild = nullptr;
    // The main window's place at start-up, where the default layout puts it back.
    int InitialLeft = 0;
    int InitialTop = 0;

    QAction* MenuLogOpen = nullptr;
    QAction* MenuLogClose = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Comstate = nullptr;
    QAction* PrevOpen = nullptr;
    QAction* PrevClose = nullptr;
    QAction* Showsetting1 = nullptr;
    QAction* ClearAllWindow = nullptr;
    QAction* RestartCommand1 = nullptr;
    QAction* aboutA1 = nullptr;
    QAction* Showallwindow1 = nullptr;
    QAction* default1 = nullptr;
    TViewMenu* ViewMenu = nullptr;
    std::array<TChildWindow*, kChildWindowCount> Children{};

    QWidget* Panel1 = nullptr;
    QLineEdit* EditSend = nullptr;
    QPushButton* ButtonSend = nullptr;
    QCheckBox* CheckAddSum = nullptr;
    std::array<QLabel*, 5> StatusPanels{};
    TReplayPanel* PanelPrev = nullptr;
    // The replayed log's full path, in the file system's encoding.
    std::string ReplayPath;

    // The run behind the windows, made after the windows it shows in.
    TWindowQueue* WindowQueue = nullptr;
    std::unique_ptr<TQtDisplay> Display;
    std::unique_ptr<TRunControl> Run;
    std::string ConnectedPortName;
    // The recording's file names, and whether a failed write of each is already shown.
    std::string LogFileName;
    std::string RawFileName;
    bool LogFailureShown = false;
    bool RawFailureShown = false;
};

} // namespace zz
