#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/BaudRates.h"
#include "core/ReceiverSettings.h"
#include "io/COMSTATUS.h"
#include "session/TRunSettings.h"
#include "ui/main/SettingsSummary.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zz {

struct TControlFlags;
class TRadioGroup;
class TUserDialogs;

// The ports that can be opened now, in the order to list them.
using TPortScanner = std::function<std::vector<std::string>()>;

// What the receiver setting dialog asks of the rest of the program beyond the control flags.
struct TFormPortQueries
{
    std::function<bool()> IsRecording; // the log files are being written
    TPortScanner ScanPorts;
};

// The "Receiver setting" dialog: serial port and line settings, protocol, the sentence that
// opens an NMEA cycle and the sentence that supplies each group of values. Its answer is a
// settings value: the one the controls show, and the one kept at the last showing or Connect,
// which the main window hands to the decoders after Connect; Cancel, Disconnect and closing
// put the kept settings back into the controls. The live protocol and header selections are
// mirrored into the control flags for the threads that read them. From the flags it also
// learns whether a run is active and the header found at the head of a replayed log. The main
// window reshapes it for a log replay.
class TFormPort : public QDialog
{
    Q_OBJECT

public:
    // Modal results.
    static constexpr int kResultConnect = 1;
    static constexpr int kResultCancel = 2;
    static constexpr int kResultDisconnect = 3;

    // Baud rates by the index of ComboBoxBoudrate.
    static constexpr auto kBaudRates = kDialogBaudRates;

    TFormPort(TControlFlags& flags, TUserDialogs& dialogs, TFormPortQueries queries,
              QWidget* parent = nullptr);

    void SetPortScanner(TPortScanner scanner);

    // The settings the controls show now.
    TRunSettings Settings() const;
    // The settings kept at the last showing or Connect.
    const TRunSettings& KeptSettings() const { return Kept; }
    // The controls show these settings, the port name included, as if chosen by hand; nothing
    // is kept until Connect.
    void ShowSettings(const TRunSettings& settings);

    // The protocol selected now (not the kept one).
    TProtocol SelectedProtocol() const;

    // The replay form: "OK" in place of "Connect", and the check box that loads the log's own
    // header of the cycle.
    void SetReplayForm(bool replay);
    bool IsReplayForm() const;

    // Handlers, public so that the main window and tests can run them as the user would.
    void ScanPorts();
    void ComboBoxProtocolChange();
    void ButtonRunClick();
    void ButtonCloseClick();
    void ButtonEndClick();
    void ChkPClick();

    void done(int result) override;
    void reject() override;

    // The texts of the items selected in the live controls, for the settings summary.
    TSummaryItems SummaryItems() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPortColumn();
    void BuildReferenceColumn();
    void FormShow();
    void FormClose(int result);
    void KeepSelections();
    // Puts the kept settings back into the controls, all but the port name.
    void RestoreKept();
    // The controls show the settings, all but the port name.
    void ShowChoices(const TRunSettings& settings);
    // Enables the header, the reference groups and ChkP for NMEA, disables them otherwise.
    void EnableByProtocol(TProtocol protocol);
    // False when the user answered No to a non-empty question.
    bool Confirm(std::string_view question);
    std::array<TRadioGroup*, 9> References() const;

    TControlFlags& Flags;
    TUserDialogs& Dialogs;
    TFormPortQueries Queries;
    TRunSettings Kept;

    QGroupBox* GroupBox2 = nullptr;
    QLabel* LabelPortName = nullptr;
    QLabel* LabelBoudrate = nullptr;
    QLabel* LabelBitlength = nullptr;
    QLabel* LabelStopbit = nullptr;
    QLabel* LabelParity = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBoxPortName = nullptr;
    QComboBox* ComboBoxBoudrate = nullptr;
    QComboBox* ComboBoxBitlength = nullptr;
    QComboBox* ComboBoxStopbit = nullptr;
    QComboBox* ComboBoxParity = nullptr;
    QComboBox* ComboBoxProtocol = nullptr;
    TRadioGroup* HDref = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    TRadioGroup* LFref = nullptr;
    TRadioGroup* ASref = nullptr;
    TRadioGroup* UTref = nullptr;
    TRadioGroup* DDref = nullptr;
    TRadioGroup* SAref = nullptr;
    TRadioGroup* VDref = nullptr;
    TRadioGroup* ROref = nullptr;
    TRadioGroup* ACref = nullptr;
    TRadioGroup* TSref = nullptr;
    QCheckBox* ChkP = nullptr;
    QPushButton* ButtonRun = nullptr;
    QPushButton* ButtonClose = nullptr;
    QPushButton* ButtonEnd = nullptr;
};

} // namespace zz
