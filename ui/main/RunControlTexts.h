#pragma once

#include <string>
#include <string_view>

#include "io/PortOpenError.h"

namespace zz {

// The texts of the main window's status bar and of the questions and messages around
// connecting, sending, recording and closing. The blanks inside and at the ends of the texts
// belong to them.

inline constexpr std::string_view kNoticeCaption = "Notice";
inline constexpr std::string_view kErrorCaption = "Error";

inline constexpr std::string_view kDisconnectedStatus = "COM : Disconnect";
inline constexpr std::string_view kSentDataStatus = "Sent Data : ";
inline constexpr std::string_view kLogNotSavedStatus = "Log[.log] : Not Saved";
inline constexpr std::string_view kRawNotSavedStatus = "Log[.bin] : Not Saved";

inline constexpr std::string_view kCloseLogQuestion = "Writing Log.\n\nClose Log File?    ";
inline constexpr std::string_view kCantCreateLog = "Can't create Log File.    ";
inline constexpr std::string_view kSameFileCaption = "Error! Set same File.";
inline constexpr std::string_view kStopReplayQuestion = "Replaying Log.\n\nStop Replaying Log?    ";
inline constexpr std::string_view kCantOpenLogFile = "Can't open Log File.    ";

// Status panel 0 while connected: "<port> : <protocol>".
std::string ConnectedStatusText(std::string_view portName, std::string_view protocolName);
// Status panel 2 after a typed command was sent.
std::string SentDataStatusText(std::string_view command);
// Status panel 2 after a preset command was sent: "Sent Data:" and the command, no blank.
std::string PresetSentStatusText(std::string_view command);
// Status panels 3 and 4 while recording: the file's name without its folder.
std::string LogSavedStatusText(std::string_view fileName);
std::string RawSavedStatusText(std::string_view fileName);

std::string CantConnectText(std::string_view portName);
// The message of a failed connect: CantConnectText, and a second line where there is more to
// say: how to get the permission to open the port, who holds a busy port, which serial ports
// there are when the device is missing.
std::string ConnectFailureText(std::string_view portName, const TPortOpenError& error);
// The message after a receiver went away while connected.
std::string ReceiverLostText(std::string_view portName, bool recordingClosed);
// Status panels 3 and 4 after a write to that log failed; errorNumber 0 is a short write.
std::string LogWriteFailedStatusText(std::string_view fileName, int errorNumber);
std::string RawWriteFailedStatusText(std::string_view fileName, int errorNumber);
std::string CantSendText(std::string_view command);

// The receiver setting dialog's question before Connect or Disconnect, by whether a connection
// runs and whether the logs are being written; empty when there is nothing to ask.
std::string_view ConnectQuestion(bool running, bool recording);
std::string_view DisconnectQuestion(bool running, bool recording);

// What opening a replay asks first, by whether a connection runs and whether the logs are being
// written; empty when there is nothing to ask.
std::string_view OpenReplayQuestion(bool running, bool recording);
// The message when a replayed file could no longer be read; errorNumber -1 when it was cut
// short.
std::string ReplayReadFailureText(std::string_view fileName, int errorNumber);

// What closing the main window asks, and what a Yes then does before the window closes.
struct TClosingStep
{
    std::string_view Question; // empty: close without asking
    bool CloseLogs = false;
    bool Disconnect = false;
};
TClosingStep ClosingStep(bool running, bool recording, bool replaying);

// Which of "Save Log" and "Close Log" is offered: exactly one outside a replay, neither during
// one.
struct TLogMenuState
{
    bool SaveEnabled = false;
    bool CloseEnabled = false;
};
TLogMenuState LogMenuState(bool recording, bool replaying);

} // namespace zz
