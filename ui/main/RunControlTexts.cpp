#include "ui/main/RunControlTexts.h"

#include <cctype>
#include <cstring>

namespace zz {

std::string ConnectedStatusText(std::string_view portName, std::string_view protocolName)
{
    std::string text(portName);
    text += " : ";
    text += protocolName;
    return text;
}

std::string SentDataStatusText(std::string_view command)
{
    return std::string(kSentDataStatus) + std::string(command);
}

std::string PresetSentStatusText(std::string_view command)
{
    return "Sent Data:" + std::string(command);
}

std::string LogSavedStatusText(std::string_view fileName)
{
    return "Log[.log] : " + std::string(fileName);
}

std::string RawSavedStatusText(std::string_view fileName)
{
    return "Log[.bin] : " + std::string(fileName);
}

std::string CantConnectText(std::string_view portName)
{
    return "Can't connect " + std::string(portName) + ".";
}

std::string ConnectFailureText(std::string_view portName, const TPortOpenError& error)
{
    std::string text = CantConnectText(portName);
    const TPortOpenFailure reason = error.Reason;
    if (reason == TPortOpenFailure::PermissionDenied || reason == TPortOpenFailure::Busy ||
        reason == TPortOpenFailure::Missing) {
        std::string detail = DescribeOpenFailure(error);
        detail.front() =
            static_cast<char>(std::toupper(static_cast<unsigned char>(detail.front())));
        text += "\n" + detail + ".";
    }
    return text;
}

std::string ReceiverLostText(std::string_view portName, bool recordingClosed)
{
    std::string text = "The receiver on " + std::string(portName) +
                       " went away (unplugged, or the line hung up). Disconnected.";
    if (recordingClosed) {
        text += "\nThe log files were closed; what was recorded is kept.";
    }
    return text;
}

namespace {

std::string WriteFailedText(std::string_view prefix, std::string_view fileName, int errorNumber)
{
    const std::string reason = errorNumber != 0 ? std::strerror(errorNumber) : "short write";
    return std::string(prefix) + "WRITE FAILED (" + reason + ") " + std::string(fileName);
}

} // namespace

std::string LogWriteFailedStatusText(std::string_view fileName, int errorNumber)
{
    return WriteFailedText("Log[.log] : ", fileName, errorNumber);
}

std::string RawWriteFailedStatusText(std::string_view fileName, int errorNumber)
{
    return WriteFailedText("Log[.bin] : ", fileName, errorNumber);
}

std::string CantSendText(std::string_view command)
{
    return "Can't Send \n\"" + std::string(command) + "\"    ";
}

std::string_view ConnectQuestion(bool running, bool recording)
{
    if (!running) {
        return {};
    }
    return recording
               ? "Writing Log and connecting receiver.    \nChange receiver and Close Log File?"
               : "Connecting receiver.    \nChange receiver?";
}

std::string_view DisconnectQuestion(bool running, bool recording)
{
    if (!running) {
        return {};
    }
    return recording ? "Writing Log and connecting receiver.    \n\nDisconnect receiver and Close "
                       "Log File?"
                     : "Connecting receiver.    \n\nDisconnect receiver?";
}

std::string_view OpenReplayQuestion(bool running, bool recording)
{
    if (running && recording) {
        return "Writing Log and connecting receiver.    \n\nDisconnect receiver and Close Log "
               "File?";
    }
    if (running) {
        return "Connecting receiver.    \n\nDisconnect receiver?";
    }
    if (recording) {
        return "Writing Log.\n\nClose Log File?    ";
    }
    return {};
}

std::string ReplayReadFailureText(std::string_view fileName, int errorNumber)
{
    std::string text = "Can't read Log File.    \n\n";
    text += fileName;
    text += errorNumber > 0 ? std::string(": ") + std::strerror(errorNumber)
                            : std::string(": the file ended before its size");
    return text;
}

TClosingStep ClosingStep(bool running, bool recording, bool replaying)
{
    if (!running && recording) {
        return {"Writing Log.\n\nExit this program?    ", true, false};
    }
    if (running && !recording && !replaying) {
        return {"Connecting receiver.    \n\nExit this program?", false, true};
    }
    if (running && recording) {
        return {"Writing Log and connecting receiver.    \n\nExit this program?", true, true};
    }
    if (running && replaying) {
        return {"Replaying Log.    \n\nExit this program?", false, true};
    }
    return {};
}

TLogMenuState LogMenuState(bool recording, bool replaying)
{
    if (replaying) {
        return {};
    }
    return {!recording, recording};
}

} // namespace zz
