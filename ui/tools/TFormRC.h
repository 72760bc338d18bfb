#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "core/ReceiverSettings.h"
#include "ui/tools/PresetCommands.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zz {

// What the preset command window needs of the program: the protocol selected in the receiver
// setting dialog, and the main window's two sends. The sends add the protocol's check
// characters, do nothing unless a receiver is connected or a replay runs, and a restart also
// arms the time-to-first-fix measurement.
struct TPresetSends
{
    std::function<TProtocol()> SelectedProtocol;
    std::function<void(std::string_view)> SendRestart;
    std::function<void(std::string_view)> SendCommand;
};

// The "Preset command" window: one-click restarts of the receiver in either protocol, the
// RIRBinary "output all data" message and an NMEA output interval command put together from
// three edits. Only the half of the protocol selected in the receiver setting dialog is
// usable; it is chosen again at every showing. The window stays open after sending.
class TFormRC : public QDialog
{
    Q_OBJECT

public:
    explicit TFormRC(TPresetSends sends, QWidget* parent = nullptr);

    // Handlers, public so that tests can run them as the user would. A fixed button sends its
    // text when its protocol is the selected one; Button6n sends the interval command the
    // edits make, for NMEA only.
    void PresetButtonClick(const TPresetButton& button);
    void Button6nClick();
    // The three edits' change handler: Button6n's caption shows the command they make.
    void EditChange();

    // The interval command the edits make now.
    std::string IntervalCommandShown() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildNmeaHalf();
    void BuildBinaryHalf();
    QPushButton* AddPresetButton(QWidget* parent, const TPresetButton& button, int row);
    void FormShow();
    void EnableHalf(TProtocol protocol);

    TPresetSends Sends;

    QGroupBox* GroupNmea = nullptr;
    QGroupBox* GroupBinary = nullptr;
    QGroupBox* GroupOutput = nullptr;
    // The fixed buttons, in the order of kPresetButtons.
    std::array<QPushButton*, kPresetButtons.size()> PresetButtons{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button6n = nullptr;
};

} // namespace zz
