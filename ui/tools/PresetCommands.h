#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/ReceiverSettings.h"

namespace zz {

// Which of the main window's sends a preset command goes through: a restart also arms the
// time-to-first-fix measurement, a plain command does not.
enum class TPresetSend
{
    Restart,
    Command,
};

// One of the preset command window's fixed buttons.
struct TPresetButton
{
    std::string_view Name;    // the button's object name
    std::string_view Caption; // what the button shows
    std::string_view Text;    // the command as handed to the send, without check characters
    TProtocol Protocol; // the protocol it is meant for; with the other selected it sends nothing
    TPresetSend Send;
};

// The five NMEA clear commands, then the RIRBinary messages. The RIRBinary texts are whole
// messages in hexadecimal: start byte, command bytes, the exclusive-or of the bytes before it,
// end byte CA.
inline constexpr std::array<TPresetButton, 10> kPresetButtons = {{
    {"Button1n", "Send Clear 1 ($DIRU,GPclr,1)", "$DIRU,GPclr,1", TProtocol::Nmea,
     TPresetSend::Restart},
    {"Button2n", "Send Clear 2 ($DIRU,GPclr,2)", "$DIRU,GPclr,2", TProtocol::Nmea,
     TPresetSend::Restart},
    {"Button3n", "Send Clear 3 ($DIRU,GPclr,3)", "$DIRU,GPclr,3", TProtocol::Nmea,
     TPresetSend::Restart},
    {"Button4n", "Send Clear 4 ($DIRU,GPclr,4)", "$DIRU,GPclr,4", TProtocol::Nmea,
     TPresetSend::Restart},
    {"Button5n", "Send Clear 5 ($DIRU,GPclr,5)", "$DIRU,GPclr,5", TProtocol::Nmea,
     TPresetSend::Restart},
    {"Button1b", "Send Restart (C18080C1CA)", "C18080C1CA", TProtocol::Binary,
     TPresetSend::Restart},
    {"Button2b", "Send Warm start (C18180C0CA)", "C18180C0CA", TProtocol::Binary,
     TPresetSend::Restart},
    {"Button3b", "Send Cold start (C18280C3CA)", "C18280C3CA", TProtocol::Binary,
     TPresetSend::Restart},
    {"Button4b", "Send All clear start (C18380C2CA)", "C18380C2CA", TProtocol::Binary,
     TPresetSend::Restart},
    {"Button5b", "Send Output all data (C0A38FECCA)", "C0A38FECCA", TProtocol::Binary,
     TPresetSend::Command},
}};

// The texts the output interval edits start with: sentence name, interval in seconds, and the
// command keyword.
inline constexpr std::string_view kIntervalSentence = "GGA";
inline constexpr std::string_view kIntervalCycle = "01";
inline constexpr std::string_view kIntervalKeyword = "int";

// $DIRU,GPint,GGA01
// The NMEA output interval command built from the three edits as typed: "$DIRU,GP", the
// keyword, a comma, the sentence name and the interval. Either may be empty; nothing checks
// the characters or the range of the interval.
std::string IntervalCommand(std::string_view sentence, std::string_view cycle,
                            std::string_view keyword);

// The caption of the button that sends it: "Send (" + the command + ")".
std::string IntervalCaption(std::string_view sentence, std::string_view cycle,
                            std::string_view keyword);

} // namespace zz
