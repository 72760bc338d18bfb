#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TProtocolHooks.h"
#include "io/COMSTATUS.h"
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

class TAltiPlot;
class TChildWindow;
class TCN;
class TFormPort;
class TPosPlot;
class TSky;
class TTtrack;
class TVeloPlot;
class TQtDisplay;
class TReceiverConnection;
class TWindowListener;
class TWindowQueue;
class TInfoForm;
class TLogForm;
class TROTForm;
class TUserDialogs;
class TViewMenu;

// The application's main window: the work area with the display windows, the menus, the
// command line and the status bar. It holds the control block the other threads consult and
// the choices the receiver setting dialog keeps, connects and disconnects, resets the windows,
// sends typed commands, starts and stops recordings and asks before closing.
//
// Each step that reaches another thread is a protected virtual method of its own; the window
// does everything a user sees around it.
class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    // Client area at start-up, below the menu bar.
    static constexpr QSize kClientSize{1016, 722};

    // dialogs answers the message boxes and file dialogs; the window's own are used without it.
    explicit TFormMain(TUserDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~TFormMain() override;

    TControlFlags& ControlFlags() { return Flags; }
    TKeptValues& KeptValues() { return Kept; }
    bool IsRunning() const { return Flags.IsRunning(); }

    TFormPort& FormPort() const { return *PortDialog; }
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
    void ArmTtffOnClear();
    // The preset command window's sends: the check characters follow the selected protocol
    // (NMEA sends with them), not the "Add Checksum" box. A restart also arms the time to first
    // fix.
    void SendPresetRestart(std::string_view text);
    void SendPresetCommand(std::string_view text);
    // A sent command into the Log window (and the text log while recording).
    void WriteSentLine(std::string_view text);
    const TCommandHistory& CommandHistory() const { return History; }

    // Recording.
    void MenuLogOpenClick();
    void MenuLogCloseClick();

    QString StatusText(int panel) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Shows the receiver setting dialog modally; its result.
    virtual int RunReceiverSetting();
    // Creates the protocol thread for the protocol, suspended, opens its port (which starts it)
    // and resumes the monitor thread; false when the port could not be opened.
    virtual bool StartProtocolThread(const COMSTATUS& status, TProtocol protocol);
    // Suspends the protocol and monitor threads.
    virtual void SuspendThreads();
    virtual void DestroyProtocolThread();
    virtual void SendToReceiver(std::string_view text, bool withChecksum);
    // The protocol thread's LastCommand.
    virtual std::string LastCommand() const;
    // Sets the receiver state's time-to-first-fix command time and arms the measurement.
    virtual void ArmTtff();
    virtual bool IsRecording() const;
    // Creates both log files; true when both were created, which starts the recording.
    virtual bool OpenLogFiles(const std::string& logPath, const std::string& rawPath);
    virtual void CloseLogFiles();
    // Asks to stop an open replay and stops it on Yes; false when the user declined.
    virtual bool StopReplay();
    // The sent command as a line of the text log while recording.
    virtual void WriteSentLogLine(std::string_view text);
    // Zeroes the monitor thread's plot point counts and its count of dead-reckoning fixes.
    virtual void ResetMonitorCounts();

private:
    void BuildMenus();
    void BuildViewMenu();
    void CreateConnection();
    // The protocol thread's events, on the window thread.
    void ShowTtffText(TTtffText text);
    void ClearAltitudeVelocityPlots();
    void ReceiverLost(uint32_t connection);
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
    void SendPreset(std::string_view text, bool restart);
    void ApplyLogMenuState(bool recording);

    std::unique_ptr<TUserDialogs> OwnDialogs;
    TUserDialogs& Dialogs;
    TControlFlags Flags;
    TKeptValues Kept;
    TCommandHistory History;

    QMdiArea* MdiArea = nullptr;
    TFormPort* PortDialog = nullptr;
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
    QAction* ClearAllWindow = nullptr;
    QAction* Showallwindow1 = nullptr;
    QAction* default1 = nullptr;
    TViewMenu* ViewMenu = nullptr;
    std::array<TChildWindow*, kChildWindowCount> Children{};

    QWidget* Panel1 = nullptr;
    QLineEdit* EditSend = nullptr;
    QPushButton* ButtonSend = nullptr;
    QCheckBox* CheckAddSum = nullptr;
    std::array<QLabel*, 5> StatusPanels{};

    // The threads behind the windows, made after the windows they show in.
    TWindowQueue* WindowQueue = nullptr;
    std::unique_ptr<TQtDisplay> Display;
    std::unique_ptr<TWindowListener> Listener;
    std::unique_ptr<TReceiverConnection> Connection;
    // Counts connect attempts, so that an event of an ended connection is recognised.
    uint32_t ConnectionNumber = 0;
    std::string ConnectedPortName;
    // The recording's file names, and whether a failed write of each is already shown.
    std::string LogFileName;
    std::string RawFileName;
    bool LogFailureShown = false;
    bool RawFailureShown = false;
};

} // namespace zz
